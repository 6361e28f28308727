// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/vq202/FolderProgress.h"

#include "engine/vq202/Messages.h"

namespace VQ202::detail {
namespace {

std::uint64_t percentOf(std::uint64_t done, std::uint64_t total) { return total == 0 ? 100 : done * 100 / total; }

}  // namespace

FolderProgress::FolderProgress(const FolderControls& controls, const char* verb) : controls_(controls), verb_(verb) {}

void FolderProgress::showStatus(const std::string& text) {
    controls_.status.setText(text);
    controls_.window.repaint();
}

void FolderProgress::begin(std::uint64_t fileCount, std::uint64_t totalBytes) {
    fileCount_ = fileCount;
    totalBytes_ = totalBytes;
    files_.emplace(controls_.pb1, fileCount);
    bytes_.emplace(controls_.pb2, totalBytes);
    controls_.pbf.setPosition(0);
    controls_.window.repaint();
}

void FolderProgress::startFile(const std::string& name, std::uint64_t size) {
    fileDone_ = 0;
    file_.emplace(controls_.pbf, size);
    controls_.soubor.setText(name);
    controls_.status.setText(verb_ + std::to_string(filesDone_ + 1) + msg::kStatusOf + std::to_string(fileCount_) +
                             msg::kStatusRunning);
}

void FolderProgress::advance(std::uint64_t bytes) {
    fileDone_ += bytes;
    bytesDone_ += bytes;
    file_->advanceTo(fileDone_);
    bytes_->advanceTo(bytesDone_);
    repaintIfMoved();
}

void FolderProgress::endFile() {
    file_->finish();
    files_->advanceTo(++filesDone_);
    repaintIfMoved();
}

void FolderProgress::finish() {
    if (files_) files_->finish();
    if (bytes_) bytes_->finish();
    controls_.status.setText(msg::kStatusDone);
    controls_.window.repaint();
}

void FolderProgress::repaintIfMoved() {
    const auto filesPercent = percentOf(filesDone_, fileCount_);
    const auto bytesPercent = percentOf(bytesDone_, totalBytes_);
    if (filesPercent == lastFilesPercent_ && bytesPercent == lastBytesPercent_) return;
    lastFilesPercent_ = filesPercent;
    lastBytesPercent_ = bytesPercent;
    controls_.window.repaint();
}

}  // namespace VQ202::detail
