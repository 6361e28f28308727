// 
#pragma once

#include "platform/ToolWindow.h"

class TForm4 : public platform::ToolWindow {
public:
    TForm4();

    platform::Picture* Image1 = nullptr;
};
