// 
#pragma once

#include "platform/ToolWindow.h"

class TForm5 : public platform::ToolWindow {
public:
    TForm5();

    platform::Picture* Image1 = nullptr;
};
