// SPDX-License-Identifier: GPL-3.0-or-later
// What the folder windows show while a package is written or restored:
//   pbf     the current file's bytes,        soubor  the current file's name,
//   pb1     the share of files done,         status  "Šifruje se soubor 3 z 1000.." and the like,
//   pb2     the share of package bytes done.
// The window is repainted whenever one of the overall bars moves (at most about 200 times a run).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/Ports.h"
#include "engine/core/Progress.h"

namespace VQ202::detail {

struct FolderControls {
    engine::ProgressBar& pb1;
    engine::ProgressBar& pb2;
    engine::ProgressBar& pbf;
    engine::Label& soubor;
    engine::Label& status;
    engine::Window& window;
};

class FolderProgress {
public:
    // `verb` is the status text's beginning for each file ("Šifruje se soubor ").
    FolderProgress(const FolderControls& controls, const char* verb);

    void showStatus(const std::string& text);
    void begin(std::uint64_t fileCount, std::uint64_t totalBytes);
    void startFile(const std::string& name, std::uint64_t size);
    void advance(std::uint64_t bytes);  // bytes of the current file just done
    void endFile();
    void finish();

private:
    void repaintIfMoved();
    FolderControls controls_;
    const char* verb_;
    std::optional<engine::core::Progress> files_, bytes_, file_;
    std::uint64_t fileCount_ = 0, filesDone_ = 0, bytesDone_ = 0, fileDone_ = 0;
    std::uint64_t lastFilesPercent_ = 0, lastBytesPercent_ = 0;
    std::uint64_t totalBytes_ = 0;
};

}  // namespace VQ202::detail
