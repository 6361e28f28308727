// 
#pragma once

#include "platform/ToolWindow.h"

class TForm2 : public platform::ToolWindow {
public:
    TForm2();

    platform::Picture* Image1 = nullptr;
};
