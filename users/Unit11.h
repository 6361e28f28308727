// 
#pragma once

#include "platform/ToolWindow.h"

class TForm11 : public platform::ToolWindow {
public:
    TForm11();

    platform::Picture* Image1 = nullptr;
};
