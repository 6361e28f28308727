// SPDX-License-Identifier: GPL-3.0-or-later
// sifrdir: the listed files go, index first, through one chunk stream into a temporary file beside the
// package; it is fsynced and renamed to the package's name, and only then are the originals removed. The
// key derivation runs beside the sealing (core/Envelope.h).

#include <algorithm>
#include <chrono>
#include <future>
#include <map>
#include <memory>

#include "engine/core/Cancel.h"
#include "engine/core/EntryNames.h"
#include "engine/core/Envelope.h"
#include "engine/core/FileIO.h"
#include "engine/core/Keys.h"
#include "engine/core/Layout.h"
#include "engine/core/Stream.h"
#include "engine/core/TestHooks.h"
#include "engine/vq202/FolderFiles.h"
#include "engine/vq202/FolderTree.h"
#include "engine/vq202/Messages.h"
#include "engine/vq202/Package.h"
#include "engine/vq202/WriteBehind.h"

namespace VQ202::detail {
namespace {

using namespace engine::core;
using engine::Error;

struct ListedFile {
    Entry entry;     // its name is the path relative to the top folder
    FileState seen;  // as listed: the file must still be this one, unchanged, when read and when removed
    const Folder* folder = nullptr;  // the folder it lies in
    std::string leaf;                // its name there
};

Entry entryOf(std::string path, const FileState& info) {
    return Entry{std::move(path), info.isFolder() ? 0 : info.size, info.modified.seconds, info.modified.nanoseconds,
                 info.mode & kPermissionBits, info.isFolder()};
}

// What a package of the whole tree takes: the list's rule at every depth (visible entries with names a
// package can give back), plain files and folders only, and no folder of another file system (its files
// could not be made durable with this one). Folders come first, each after its parent; then the files.
struct Tree {
    std::vector<ListedFile> folders;
    std::vector<ListedFile> files;
};

void walkTree(FolderTree& tree, const Folder& here, const std::string& prefix, std::uint64_t volume, Tree& found) {
    std::vector<std::string> names = here.names();
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        if (name.front() == '.' || !isRestorableName(name)) continue;
        const auto info = here.entry(name);
        if (!info) continue;  // gone meanwhile
        std::string path = prefix.empty() ? name : prefix + "/" + name;
        if (info->isRegular()) {
            found.files.push_back(ListedFile{entryOf(path, *info), *info, &here, name});
        } else if (info->isFolder() && info->volume == volume) {
            if (found.folders.size() + found.files.size() >= kMaxEntries) throw Error(msg::kTooManyFiles);
            const Folder& below = tree.open(path);
            found.folders.push_back(ListedFile{entryOf(path, *info), *info, &here, name});
            walkTree(tree, below, path, volume, found);
        }
    }
}

std::vector<ListedFile> lookAtListedFiles(const Folder& folder, const std::vector<std::string>& names) {
    std::vector<ListedFile> listed;
    listed.reserve(names.size());
    for (const std::string& name : names) {
        if (!isSafeName(name)) throw Error(msg::kNotARegularFile + name);
        // The file list leaves these out; a package holding one could not be restored.
        if (!isRestorableName(name)) throw Error(msg::kUnpackableName + printableName(name));
        ListedFile file;
        const auto info = folder.entry(name);
        if (!info) throw Error(msg::kCannotReadFile + name);
        if (!info->isRegular()) throw Error(msg::kNotARegularFile + name);  // links and folders stay out
        file.seen = *info;
        file.entry = entryOf(name, *info);
        file.folder = &folder;
        file.leaf = name;
        listed.push_back(std::move(file));
    }
    return listed;
}

// The listed names of each file, as positions in `listed`: hard links inside the folder share one file.
std::vector<std::vector<std::size_t>> namesOfEachFile(const std::vector<ListedFile>& listed) {
    std::map<std::pair<std::uint64_t, std::uint64_t>, std::vector<std::size_t>> byFile;
    for (std::size_t i = 0; i < listed.size(); ++i) byFile[{listed[i].seen.volume, listed[i].seen.index}].push_back(i);
    std::vector<std::vector<std::size_t>> files;
    files.reserve(byFile.size());
    for (auto& [file, names] : byFile) files.push_back(std::move(names));
    return files;
}

// A file with names outside the folder would keep its plaintext there once its names here are removed.
void refuseNamesOutside(const std::vector<ListedFile>& listed, const std::vector<std::vector<std::size_t>>& files) {
    std::vector<char> hasNamesOutside(listed.size(), 0);
    for (const auto& names : files)
        if (listed[names.front()].seen.links > names.size())
            for (const std::size_t i : names) hasNamesOutside[i] = 1;
    std::vector<std::string> outside;
    for (std::size_t i = 0; i < listed.size(); ++i)
        if (hasNamesOutside[i]) outside.push_back(listed[i].entry.name);
    if (!outside.empty()) throw Error(msg::kNamesOutside + nameList(outside));
}

// The package may replace only a file that goes into it (the package of an earlier run). Returns that file's
// position in `listed`, or listed.size() when the package's name is free.
std::size_t packageToReplace(const std::string& packageName, const std::vector<ListedFile>& listed,
                             const std::optional<FileState>& existing) {
    if (!existing) return listed.size();
    for (std::size_t i = 0; i < listed.size(); ++i)
        if (sameFile(*existing, listed[i].seen)) return i;
    throw Error(msg::kPackageInTheWay + packageName);
}

void sealFile(const ListedFile& file, StreamSealer& sealer, std::vector<unsigned char>& buffer,
              FolderProgress& progress) {
    const std::string& name = file.entry.name;
    std::optional<InputFile> in;
    try {
        in.emplace(*file.folder, file.leaf);
    } catch (const Error&) {
        throw Error(msg::kCannotReadFile + name);
    }
    const auto stillTheSame = [&] {
        const auto now = stateOf(in->descriptor());
        return now && unchangedSince(file.seen, *now);
    };
    if (!stillTheSame()) throw Error(msg::kChangedWhileReading + name);
    progress.startFile(name, file.entry.size);
    for (std::uint64_t offset = 0; offset < file.entry.size;) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), file.entry.size - offset));
        std::size_t got = 0;
        try {
            got = in->readAt(buffer.data(), want, offset);
        } catch (const Error&) {
            throw Error(msg::kCannotReadFile + name);
        }
        if (got != want) throw Error(msg::kChangedWhileReading + name);
        sealer.write(buffer.data(), got);
        offset += got;
        progress.advance(got);
    }
    if (!stillTheSame()) throw Error(msg::kChangedWhileReading + name);
    progress.endFile();
}

// The package holds every file now and its name is durable (the commit saw to it); a file that changed since
// it was read stays, and so does one that cannot be removed. Either is reported, since it still lies
// unencrypted in the folder. Then the tree's folders that this leaves empty go, the deepest first (one that
// keeps a file left out, or one saved meanwhile, stays). `package` is any descriptor on the folder's file
// system, for its sync.
void removeOriginals(FolderTree& tree, int package, const std::vector<ListedFile>& listed,
                     const std::vector<std::vector<std::size_t>>& files, std::size_t replaced,
                     const std::vector<ListedFile>& folders) {
    // The names of one file go together: removing one moves the change time of the others, so the file is
    // checked once, before any of its names goes; each name is removed only while it still leads to it.
    std::vector<char> left(listed.size(), 0);
    inParallel(files.size(), [&](std::size_t f) {
        std::vector<std::size_t> names = files[f];
        std::erase(names, replaced);  // the earlier package: the new one took its name
        if (names.empty()) return;
        const ListedFile& firstName = listed[names.front()];
        const auto first = firstName.folder->entry(firstName.leaf);
        const bool unchanged = first && unchangedSince(firstName.seen, *first);
        for (const std::size_t i : names) {
            const ListedFile& file = listed[i];
            if (file.folder->entry(file.leaf) && (!unchanged || !file.folder->removeIfStill(file.leaf, file.seen)))
                left[i] = 1;
        }
    });
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder)
        folder->folder->removeFolderIfStill(folder->leaf, folder->seen);
    reachMoment(Moment::OriginalsRemoved);
    // A crash that undid some removals brings back originals beside the package: running the encryption (or
    // the decryption) again finishes the job, so a folder that cannot be synced is no failure of the run.
    tree.forEach([package](const Folder& folder) { folder.sync(package); });
    std::vector<std::string> names;
    for (std::size_t i = 0; i < listed.size(); ++i)
        if (left[i]) names.push_back(listed[i].entry.name);
    if (!names.empty()) throw Error(msg::kOriginalsLeft + nameList(names));
}

}  // namespace

void packFolder(const std::string& packagePath, const engine::FileList& files, const std::string& key,
                FolderProgress& progress) {
    if (key.empty()) throw Error(msg::kEmptyKey);
    const auto folderInfo = stateAt(files.folder());
    if (!folderInfo || !folderInfo->isFolder()) throw Error(msg::kFolderMissing);
    const Folder folder(files.folder());
    // The package goes beside the files as a rule; elsewhere, that folder is opened once too.
    std::optional<Folder> elsewhere;
    const std::string packageName = baseNameOf(packagePath);
    if (Folder given(folderOf(packagePath)); given.path() != folder.path()) elsewhere.emplace(std::move(given));
    const Folder& packageFolder = elsewhere ? *elsewhere : folder;
    FolderTree tree(folder);
    const bool wholeTree = files.wholeTree();
    Tree walked;
    if (wholeTree) {
        walkTree(tree, folder, "", folderInfo->volume, walked);
    } else {
        const std::vector<std::string> names = files.fileNames();
        if (names.size() > kMaxEntries) throw Error(msg::kTooManyFiles);
        walked.files = lookAtListedFiles(folder, names);
    }
    if (walked.folders.size() + walked.files.size() > kMaxEntries) throw Error(msg::kTooManyFiles);
    const std::vector<ListedFile>& listed = walked.files;
    const std::vector<std::vector<std::size_t>> namesOfFiles = namesOfEachFile(listed);
    refuseNamesOutside(listed, namesOfFiles);
    const auto packageAsSeen = packageFolder.entry(packageName);
    const std::size_t replaced = packageToReplace(packageName, listed, packageAsSeen);

    std::vector<Entry> entries;
    for (const ListedFile& folderBelow : walked.folders) entries.push_back(folderBelow.entry);
    std::uint64_t contentBytes = 0;
    for (const ListedFile& file : listed) {
        entries.push_back(file.entry);
        contentBytes += file.entry.size;
    }
    // A package of the top alone keeps version 2, which every earlier reader restores.
    const std::vector<unsigned char> index =
        serializeIndex(entries, wholeTree ? IndexLayout::Tree : IndexLayout::Flat);

    // The space first: a full disk is told before any work.
    ReplacementFile out(packageFolder, packageName,
                        kEnvelopeHeaderSize + ChunkLayout{kPackageChunkSize}.sealedSize(index.size() + contentBytes));
    // The package is sealed under a random data key at once; only the wrapping of that key under the
    // password waits for the key derivation, which runs on another core meanwhile.
    EnvelopeHeader header;
    header.fields = newHeader(wholeTree ? kMagicPackageTree : kMagicPackage, kPackageChunkSize);
    std::future<SecretKey> master =
        std::async(std::launch::async, [&key, fields = header.fields] { return passwordKey(key, fields); });
    const SecretKey dataKey = newDataKey();
    const auto bound = header.boundBytes();
    std::uint64_t written = kEnvelopeHeaderSize;
    WriteBehind writer(kWriteBehindBytes);  // declared after `out`: gone (joined) before `out` is
    WriteBlock block = newWriteBlock();
    const auto handOver = [&] {
        if (block->empty()) return;
        writer.post([&out, block, at = written] { out.writeAt(block->data(), block->size(), at); }, block->size());
        written += block->size();
        block = newWriteBlock();
    };
    StreamSealer sealer(streamKeyOf(dataKey, header), bound, kPackageChunkSize,
                        [&](const unsigned char* data, std::size_t size) {
                            block->insert(block->end(), data, data + size);
                            if (block->size() >= kWriteBlock) handOver();
                        });
    sealer.write(index.data(), index.size());
    progress.begin(listed.size(), contentBytes);
    std::vector<unsigned char> buffer(kReadBlock);
    for (const ListedFile& file : listed) sealFile(file, sealer, buffer, progress);
    sealer.finish();
    handOver();
    writer.drain();

    if (master.wait_for(std::chrono::seconds(0)) != std::future_status::ready) progress.showStatus(msg::kStatusKey);
    wrapDataKey(header, master.get(), dataKey);
    const EnvelopeHeader::Bytes headerBytes = header.serialize();
    out.writeAt(headerBytes.data(), headerBytes.size(), 0);

    stopIfCancelled();
    progress.showStatus(msg::kStatusSaving);
    // A file another program saved under the package's name meanwhile is not the one packed: it stays.
    out.commit(written, [&] {
        const auto now = packageFolder.entry(packageName);
        if (packageAsSeen ? !now || !unchangedSince(*packageAsSeen, *now) : now.has_value())
            throw Error(msg::kPackageInTheWay + packageName);
    });
    removeOriginals(tree, out.descriptor(), listed, namesOfFiles, replaced, walked.folders);
    progress.finish();
}

std::string nameList(const std::vector<std::string>& names) {
    constexpr std::size_t kShown = 10;
    std::string text;
    for (std::size_t i = 0; i < names.size() && i < kShown; ++i) text += (i ? ", " : "") + names[i];
    if (names.size() > kShown) text += ", … (celkem " + std::to_string(names.size()) + ")";
    return text;
}

}  // namespace VQ202::detail
