// 
#pragma once

#include "platform/ToolWindow.h"

class TForm3 : public platform::ToolWindow {
public:
    TForm3();

    platform::Picture* Image1 = nullptr;
};
