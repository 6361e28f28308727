// 
#pragma once

#include "platform/ToolWindow.h"

class TForm7 : public platform::ToolWindow {
public:
    TForm7();

    platform::Picture* Image1 = nullptr;
};
