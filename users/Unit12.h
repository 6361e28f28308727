// 
#pragma once

#include "platform/ToolWindow.h"

class TForm12 : public platform::ToolWindow {
public:
    TForm12();

    platform::Picture* Image1 = nullptr;
};
