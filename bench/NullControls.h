// SPDX-License-Identifier: GPL-3.0-or-later
// Controls for the benchmark programs: they take what the engine tells them and show nothing.
#pragma once

#include <string>

#include "engine/Ports.h"

namespace bench {

struct Field : engine::TextField {
    std::string value;
    void setText(const std::string& utf8) override { value = utf8; }
    std::string text() const override { return value; }
};
struct Bar : engine::ProgressBar {
    void setPosition(int) override {}
};
struct Text : engine::Label {
    void setText(const std::string&) override {}
};
struct NoWindow : engine::Window {
    void repaint() override {}
};

}  // namespace bench
