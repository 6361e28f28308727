// 
#pragma once

#include "platform/ToolWindow.h"

class TForm6 : public platform::ToolWindow {
public:
    TForm6();

    platform::Picture* Image1 = nullptr;
};
