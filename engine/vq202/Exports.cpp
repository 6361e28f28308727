// SPDX-License-Identifier: GPL-3.0-or-later
// The two exports: the work of Pack.cpp / Unpack.cpp, with every failure turned into the text of ErrorMsg.
#include <cstring>

#include "engine/VQ202.h"
#include "engine/core/Messages.h"
#include "engine/vq202/Messages.h"
#include "engine/vq202/Package.h"

namespace VQ202 {
namespace {

// The core speaks of one file; here the user's concern is the whole folder.
std::string folderText(const char* coreText) {
    namespace core = engine::msg;
    static const std::pair<const char*, const char*> kFolderTexts[] = {
        {core::kFileMissing, msg::kPackageMissing},   {core::kNotARegularFile, msg::kNotAPackage},
        {core::kCannotRead, msg::kPackageUnreadable}, {core::kCannotWrite, msg::kCannotWrite},
        {core::kDiskFull, msg::kDiskFull},            {core::kWriteFailed, msg::kWriteFailed},
        {core::kWrongKey, msg::kWrongKey},            {core::kDamaged, msg::kDamaged},
        {core::kNotOurFile, msg::kNotAPackage},       {core::kKdfTooCostly, msg::kKdfTooCostly},
        {core::kCryptoFailure, msg::kCryptoFailure},  {core::kHardLinks, msg::kPackageHasHardLinks},
        {core::kFolderMovedMeanwhile, msg::kFolderMovedMeanwhile}, {core::kChangedMeanwhile, msg::kPackageChangedMeanwhile},
        {core::kCancelled, msg::kCancelled},
    };
    for (const auto& [from, to] : kFolderTexts)
        if (std::strcmp(coreText, from) == 0) return to;
    return coreText;
}

template <typename Work>
void reportingTo(engine::TextField& errorMsg, detail::FolderProgress& progress, Work work) {
    std::string failure;
    try {
        work();
    } catch (const engine::Error& error) {
        failure = folderText(error.what());
    } catch (const std::exception&) {  // out of memory and the like: reported, never taken for success
        failure = msg::kWriteFailed;
    }
    if (!failure.empty()) progress.showStatus(msg::kStatusFailed);
    if (errorMsg.text() != failure) errorMsg.setText(failure);
}

}  // namespace

void sifrdir(const std::string& packagePath, engine::TextField& /*hashEdit*/, engine::FileList& files,
             engine::TextField& errorMsg, engine::ProgressBar& pb1, engine::ProgressBar& pb2,
             engine::ProgressBar& pbf, engine::Label& soubor, engine::Label& status, engine::Window& window,
             const std::string& key) {
    detail::FolderProgress progress({pb1, pb2, pbf, soubor, status, window}, msg::kStatusEncrypting);
    reportingTo(errorMsg, progress, [&] { detail::packFolder(packagePath, files, key, progress); });
}

void desifrdir(const std::string& packagePath, engine::TextField& /*hashEdit*/, engine::FileList& /*files*/,
               engine::TextField& errorMsg, engine::ProgressBar& pb1, engine::ProgressBar& pb2,
               engine::ProgressBar& pbf, engine::Label& soubor, engine::Label& status, engine::Window& window,
               const std::string& key) {
    detail::FolderProgress progress({pb1, pb2, pbf, soubor, status, window}, msg::kStatusDecrypting);
    reportingTo(errorMsg, progress, [&] { detail::unpackFolder(packagePath, key, progress); });
}

}  // namespace VQ202
