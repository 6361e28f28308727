// SPDX-License-Identifier: GPL-3.0-or-later
// Stand-ins for the calling window's controls, recording what the engine did with them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/Ports.h"

namespace testutil {

class FakeField : public engine::TextField {
public:
    explicit FakeField(std::string initial = "") : text_(std::move(initial)) {}
    void setText(const std::string& utf8) override {
        text_ = utf8;
        ++changes;
    }
    std::string text() const override { return text_; }
    int changes = 0;

private:
    std::string text_;
};

class FakeBar : public engine::ProgressBar {
public:
    void setPosition(int percent) override {
        positions.push_back(percent);
        if (onPosition) onPosition(percent);
    }
    void beginStep(const std::string& utf8) override { steps.push_back(utf8); }
    void bytesDone(std::uint64_t done, std::uint64_t) override { bytes.push_back(done); }
    std::vector<int> positions;
    std::vector<std::string> steps;
    std::vector<std::uint64_t> bytes;
    std::function<void(int percent)> onPosition;  // runs on the engine's thread, as the bar moves
};

class FakeWindow : public engine::Window {
public:
    void repaint() override { ++repaints; }
    int repaints = 0;
};

}  // namespace testutil
