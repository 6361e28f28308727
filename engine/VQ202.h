// SPDX-License-Identifier: GPL-3.0-or-later
// Folder packages: all listed files of a folder packed into one encrypted package, and back.
#pragma once

#include <string>

#include "engine/Ports.h"

namespace VQ202 {

// Both report failure only through errorMsg: empty exactly on success.
void sifrdir(const std::string& packagePath, engine::TextField& hashEdit, engine::FileList& files,
             engine::TextField& errorMsg, engine::ProgressBar& pb1, engine::ProgressBar& pb2,
             engine::ProgressBar& pbf, engine::Label& soubor, engine::Label& status, engine::Window& window,
             const std::string& key);

void desifrdir(const std::string& packagePath, engine::TextField& hashEdit, engine::FileList& files,
               engine::TextField& errorMsg, engine::ProgressBar& pb1, engine::ProgressBar& pb2,
               engine::ProgressBar& pbf, engine::Label& soubor, engine::Label& status, engine::Window& window,
               const std::string& key);

}  // namespace VQ202
