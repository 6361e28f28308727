// SPDX-License-Identifier: GPL-3.0-or-later
// desifrdir: key check first; then the index is read and checked (names, files in the way, space) before
// anything is written. Every file is restored into an unnamed file; once the stream has authenticated they
// are made durable (one syncfs for many), given their names (never over an existing file), the folder is
// made durable, and the package removed. Until that last step the package holds everything, and a restore
// killed at any moment is finished by running it again: a file already in the folder that is ours alone
// (our user's, one link) and byte for byte the package's copy (left by an earlier, interrupted run) is not
// in the way; it gets the package's permissions and time. Everything happens relative to the package's
// folder, opened once, and every name is given or taken only while that folder is still where it was.
#include <array>
#include <cstring>
#include <future>
#include <memory>
#include <set>

#include "engine/core/Cancel.h"
#include "engine/core/Envelope.h"
#include "engine/core/FileAccess.h"
#include "engine/core/FileIO.h"
#include "engine/core/Keys.h"
#include "engine/core/Layout.h"
#include "engine/core/Stream.h"
#include "engine/core/TestHooks.h"
#include "engine/vq202/FolderFiles.h"
#include "engine/vq202/FolderTree.h"
#include "engine/vq202/Messages.h"
#include "engine/vq202/Package.h"
#include "engine/vq202/WriteBatch.h"
#include "engine/vq202/WriteBehind.h"

namespace VQ202::detail {
namespace {

using namespace engine::core;
using engine::Error;

constexpr std::uint64_t kBlockSlack = 4096;  // a file's last block, counted when checking free space

[[noreturn]] void refuse(HeaderStatus status) {
    switch (status) {
        case HeaderStatus::WrongMagic: throw Error(msg::kNotAPackage);
        case HeaderStatus::KdfTooCostly: throw Error(msg::kKdfTooCostly);
        default: throw Error(msg::kDamaged);
    }
}

// What opening a package needs once its header has been read and the key checked.
struct OpenedPackage {
    std::size_t headerSize = 0;
    std::uint32_t chunkSize = 0;
    std::vector<unsigned char> bound;  // the chunks' associated data
    SecretKey streamKey;
    IndexLayout layout = IndexLayout::Flat;
};

// Reads the header of either version, checks the key (the KDF bounded first) and gives the stream key.
OpenedPackage openPackage(const InputFile& in, const std::string& key, FolderProgress& progress) {
    std::array<unsigned char, kEnvelopeHeaderSize> bytes{};
    const std::size_t got = in.readAt(bytes.data(), bytes.size(), 0);
    const bool version1 = startsWith(bytes.data(), got, kMagicPackageV1);
    const bool tree = startsWith(bytes.data(), got, kMagicPackageTree);
    EnvelopeHeader header;
    const HeaderStatus status =
        version1 ? parseHeader(bytes.data(), got, {kMagicPackageV1}, header.fields)
                 : parseEnvelopeHeader(bytes.data(), got, tree ? kMagicPackageTree : kMagicPackage, header);
    if (status != HeaderStatus::Ok) refuse(status);
    const std::size_t headerSize = version1 ? kHeaderSize : kEnvelopeHeaderSize;
    const std::uint32_t chunkSize = header.fields.chunkSize;
    if (!ChunkLayout{chunkSize}.plainSizeOf(in.size() - headerSize)) throw Error(msg::kDamaged);
    if (key.empty()) throw Error(msg::kWrongKey);  // sifrdir never writes a package with an empty key

    progress.showStatus(msg::kStatusKey);
    // The disk brings the package in while the key is derived.
    adviseWillRead(in.descriptor());
    const SecretKey master = passwordKey(key, header.fields);
    if (version1) {
        const FileKeys keys = fileKeys(master, header.fields);
        if (!headerMacMatches(header.fields, keys)) throw Error(msg::kWrongKey);
        const Header::Bytes serialized = header.fields.serialize();
        return OpenedPackage{headerSize, chunkSize, {serialized.begin(), serialized.end()}, keys.stream};
    }
    const auto dataKey = unwrapDataKey(header, master);
    if (!dataKey) throw Error(msg::kWrongKey);
    const auto bound = header.boundBytes();
    return OpenedPackage{headerSize, chunkSize, {bound.begin(), bound.end()}, streamKeyOf(*dataKey, header),
                         tree ? IndexLayout::Tree : IndexLayout::Flat};
}

// A restore holds at most half the descriptors the process may have: restored files wait unnamed, each
// holding one and keeping its folder open, and a share of the tree's folders stays open besides. Most
// folders fit in one batch of files, so that a damaged package never gives any file a name; a folder of
// more files is named in batches, and a failure later takes the names back.
struct DescriptorBudget {
    std::size_t filesPerBatch;
    std::size_t openFolders;  // besides those that waiting files keep open
};
DescriptorBudget descriptorBudget() {
    const std::size_t half = openFileLimit() / 2;
    const std::size_t share = half > 96 ? (half - 64) / 2 : 16;  // 64 for the package, the reader, the rest
    return {share, share};
}

// A file of the index that is already in the folder with the same size: compared with the package's copy as
// that streams by, instead of being restored. Equal, it stays as it is; different, it is in the way.
struct ExistingCopy {
    bool active = false;
    std::unique_ptr<InputFile> file;  // none when it cannot be read: then it is in the way
    FileState seen;
    bool differs = false;
};

// A file of the index restored into the folder: being written, waiting for its name, or named (then only
// which file it is stays, for taking the name back).
struct Restored {
    const Entry* entry;
    std::unique_ptr<RestoredFile> file;  // until named
    std::optional<FileState> named;      // the file that got the name
};

// Takes the authenticated plaintext as it comes: the index, then each file's content into its RestoredFile.
class Restore {
public:
    Restore(const Folder& folder, std::string packageName, std::uint64_t plainSize, const InputFile& package,
            IndexLayout layout, FolderProgress& progress)
        : folder_(folder), tree_(folder, budget_.openFolders), packageName_(std::move(packageName)), plainSize_(plainSize),
          package_(package), progress_(progress), layout_(layout), parser_(layout) {}

    void take(const unsigned char* data, std::size_t size) {
        if (!parser_.complete()) {
            const std::size_t used = parser_.feed(data, size);
            data += used;
            size -= used;
            if (!parser_.complete()) return;
            checkIndex();
        }
        while (size > 0) {
            openNext();
            if (!started_) throw Error(msg::kDamaged);  // more bytes than the index announced
            const Entry& entry = entries()[next_];
            const std::size_t part = static_cast<std::size_t>(std::min<std::uint64_t>(size, entry.size - currentDone_));
            if (existing_.active) compareWithExisting(data, part);
            else writeBehind(data, part);
            currentDone_ += part;
            progress_.advance(part);
            data += part;
            size -= part;
            if (currentDone_ == entry.size) closeCurrent();
        }
    }

    // After the stream authenticated to its end: every announced file must be complete.
    void finishAll() {
        if (!parser_.complete()) throw Error(msg::kDamaged);
        openNext();
        if (started_ || next_ != entries().size()) throw Error(msg::kDamaged);
        handOver();
        writer_.drain();
    }

    // A restore that fails at any step, also after a batch of files got their names, takes those names back:
    // the package still holds every file, and the folder is as it was, as the error says. The folders it
    // made go too, the deepest first, once their files are gone.
    ~Restore() {
        if (done_) return;
        // Only these have names; the others may still be written meanwhile.
        for (std::size_t i = 0; i < named_; ++i) withdraw(files_[i]);
        if (createdFolders_.empty()) return;
        try {
            writer_.drain();
        } catch (const std::exception&) {  // the run failed already; its writes no longer matter
        }
        current_.reset();
        carriedPackage_ = nullptr;
        files_.clear();
        for (auto made = createdFolders_.rbegin(); made != createdFolders_.rend(); ++made) {
            try {
                if (const Folder* parent = parentOf(made->entry->name))
                    parent->removeFolderIfStill(leafOf(*made->entry), made->state);
            } catch (const Error&) {  // its parent cannot be opened again: it stays, as after a kill
            }
        }
    }

    void commit() {
        // The package goes away at the end: it must still be the one read, not a newer one saved meanwhile.
        requirePackageUnchanged();
        nameWaitingFiles();
        if (inTheWay_.empty()) finishAdoptedCopies();
        if (!inTheWay_.empty()) throw Error(msg::kFilesInTheWay + nameList(inTheWay_));
        finishFolders();
        requirePackageUnchanged();
        folder_.requireStillInPlace();
        if (carriedPackage_) carriedPackage_->commitReplacing(packageName_);
        done_ = true;
        if (!carriedPackage_ && !folder_.removeIfStill(packageName_, package_.state()))
            throw Error(msg::kPackageLeft + packageName_);
        reachMoment(Moment::PackageRemoved);
        // Every file has its name and the package is gone: a crash could at worst bring the package back
        // beside the restored files, and running the restore again then finishes it.
        if (!folder_.sync(package_.descriptor())) throw Error(engine::msg::kNotDurable);
    }

private:
    std::vector<Entry>& entries() { return parser_.entries(); }

    // The folder an entry lies in, if it is there (opened) already.
    // Valid until the tree is asked again, unless pinned.
    const Folder* parentOf(const Entry& entry) { return parentOf(entry.name); }
    const Folder* parentOf(const std::string& path) { return tree_.find(splitPath(path).first); }
    static std::string leafOf(const Entry& entry) { return std::string(splitPath(entry.name).second); }

    // Version 3: a relative path whose folders are entries listed before it; earlier versions: a bare name.
    bool staysInside(const Entry& entry, const std::set<std::string, std::less<>>& foldersBefore) const {
        if (layout_ == IndexLayout::Flat) return !entry.folder && isSafeName(entry.name);
        const std::string_view parent = splitPath(entry.name).first;
        return isSafePath(entry.name) && (parent.empty() || foldersBefore.contains(parent));
    }

    // The tree's folders that are there already (a rerun, or a folder the user made) are opened, without
    // following a link; anything else of such a name is in the way.
    void openExistingFolders(std::vector<std::string>& inTheWay) {
        for (const Entry& entry : entries()) {
            if (!entry.folder) continue;
            const Folder* parent = parentOf(entry);
            const auto there = parent ? parent->entry(leafOf(entry)) : std::nullopt;
            if (!there) {
                missingFolders_.push_back(&entry);
            } else if (there->isFolder()) {
                sweepAbandonedTemporaries(tree_.open(entry.name));
            } else {
                inTheWay.push_back(entry.name);
            }
        }
    }

    // The others are made (mode 0700 until they get their own), once nothing is in the way and all fits.
    void makeMissingFolders() {
        for (const Entry* entry : missingFolders_) {
            tree_.open(entry->name, true);
            const auto made = parentOf(*entry)->entry(leafOf(*entry));
            if (made) createdFolders_.push_back(CreatedFolder{entry, *made});
        }
    }

    // After every file has its name: the folders get their permissions and times, the deepest first (a
    // folder's time moves with every name given in it), and are made durable. A folder made here that
    // refuses them fails the restore, which then takes everything back.
    // Each is synced right after: a folder above it may lose its permission to be searched a moment later.
    void finishFolders() {
        std::set<const Entry*> made;
        for (const CreatedFolder& created : createdFolders_) made.insert(created.entry);
        for (auto entry = entries().rbegin(); entry != entries().rend(); ++entry) {
            if (!entry->folder) continue;
            const Folder& folder = *tree_.find(entry->name);
            if (!folder.setModeAndTime(entry->mode, entry->mtimeSeconds, entry->mtimeNanoseconds) && made.contains(&*entry))
                throw Error(msg::kCannotWrite);
            if (!folder.sync(package_.descriptor())) throw Error(engine::msg::kNotDurable);
        }
        // The top holds the names of the folders made in it, and may have got no file of its own.
        if (!folder_.sync(package_.descriptor())) throw Error(engine::msg::kNotDurable);
    }

    void requirePackageUnchanged() const {
        if (!package_.unchangedIn(folder_, packageName_)) throw Error(msg::kPackageChangedMeanwhile);
    }

    // Nothing has been written yet: refuse here what would leave the folder, be swept away, overwrite a file
    // or not fit.
    void checkIndex() {
        const std::uint32_t mask = processUmask();
        std::set<std::string, std::less<>> seen;
        std::set<std::string, std::less<>> folders;
        std::vector<std::string> inTheWay;
        std::uint64_t content = 0;
        std::uint64_t toWrite = 0;
        std::size_t fileCount = 0;
        std::size_t folderCount = 0;
        for (Entry& entry : entries()) {
            if (!staysInside(entry, folders) || !seen.insert(entry.name).second) throw Error(msg::kHostileName);
            entry.mode &= ~mask;  // as any program that creates files for the user
            if (entry.folder) {
                folders.insert(entry.name);
                ++folderCount;
                continue;
            }
            ++fileCount;
            if (entry.size > plainSize_ - content) throw Error(msg::kDamaged);
            content += entry.size;
            toWrite += entry.size;
        }
        if (parser_.bytesRead() + content != plainSize_) throw Error(msg::kDamaged);
        refuseUnrestorableNames(entries());
        // Only names known to stay inside are looked up, and folders opened.
        openExistingFolders(inTheWay);
        for (const Entry& entry : entries()) {
            if (entry.folder || entry.name == packageName_) continue;
            const Folder* parent = parentOf(entry);
            const auto there = parent ? parent->entry(leafOf(entry)) : std::nullopt;
            if (!there) continue;
            foundAtCheck_.insert(&entry);
            if (couldBeOurEarlierCopy(*there, entry))
                toWrite -= entry.size;  // perhaps restored by an interrupted run: compared when it comes
            else
                inTheWay.push_back(entry.name);
        }
        if (!inTheWay.empty()) throw Error(msg::kFilesInTheWay + nameList(inTheWay));
        const auto free = folder_.freeSpace();
        if (free && *free < toWrite + kBlockSlack * entries().size()) throw Error(msg::kDiskFull);
        makeMissingFolders();
        // Folders all open at once leave the rest of their share to the files.
        if (folderCount < budget_.openFolders) budget_.filesPerBatch += budget_.openFolders - folderCount;
        progress_.begin(fileCount, content);
    }

    // Makes the next file current; empty files are complete at once.
    void openNext() {
        while (!started_ && next_ < entries().size()) {
            const Entry& entry = entries()[next_];
            if (entry.folder) {  // made before the first file
                ++next_;
                continue;
            }
            started_ = true;
            currentDone_ = 0;
            if (!startComparing(entry)) {
                if (waiting_ >= budget_.filesPerBatch) nameWaitingFiles();
                // Its folder stays open until the file has its name.
                current_ = std::make_unique<RestoredFile>(*parentOf(entry), entry);
                tree_.pin(splitPath(entry.name).first);
            }
            progress_.startFile(entry.name, entry.size);
            if (entry.size > 0) return;
            closeCurrent();
        }
    }

    bool startComparing(const Entry& entry) {
        existing_ = ExistingCopy{};
        // A name free when the index was checked is not looked up again: a file saved there since makes
        // the restored file's naming fail, which counts it in the way just the same.
        if (entry.name == packageName_ || !foundAtCheck_.contains(&entry)) return false;
        const Folder& parent = *parentOf(entry);
        const auto there = parent.entry(leafOf(entry));
        if (!there) return false;  // checkIndex saw the name free
        existing_.active = true;
        existing_.seen = *there;
        existing_.differs = !couldBeOurEarlierCopy(*there, entry);
        try {
            if (!existing_.differs) existing_.file = std::make_unique<InputFile>(parent, leafOf(entry));
        } catch (const Error&) {
            existing_.differs = true;
        }
        return true;
    }

    void compareWithExisting(const unsigned char* data, std::size_t size) {
        if (existing_.differs) return;
        std::vector<unsigned char>& copy = compareBuffer_;
        copy.resize(size);
        if (!existing_.file->readExactAt(copy.data(), size, currentDone_) ||
            std::memcmp(copy.data(), data, size) != 0)
            existing_.differs = true;
    }

    // The file's bytes go to the helper thread in batches (many small files to one); its finish follows
    // them there.
    void writeBehind(const unsigned char* data, std::size_t size) {
        batch_->add(*current_, data, size);
        if (batch_->full()) handOver();
    }
    void handOver() {
        if (batch_->empty()) return;
        const std::size_t bytes = batch_->bytes();
        writer_.post([batch = std::shared_ptr<const WriteBatch>(std::move(batch_))] { batch->run(); }, bytes);
        batch_ = std::make_unique<WriteBatch>();
    }

    void closeCurrent() {
        const Entry& entry = entries()[next_];
        if (existing_.active) {
            if (!adoptExistingCopy(entry)) inTheWay_.push_back(entry.name);
            existing_ = ExistingCopy{};
        } else {
            batch_->finish(*current_);
            if (batch_->full()) handOver();
            if (entry.name == packageName_) carriedPackage_ = current_.get();
            else ++waiting_;
            files_.push_back(Restored{&entry, std::move(current_), {}});
        }
        started_ = false;
        ++next_;
        progress_.endFile();
    }

    // A file of the index's size that is a regular file of our user's with no other name: only such a file
    // can be what an earlier run of ours restored. Another user's file, even with the same bytes, stays his
    // to change later, and a file with other names could be changed through them.
    static bool couldBeOurEarlierCopy(const FileState& there, const Entry& entry) {
        return there.isRegular() && ownedByThisUser(there) && there.links == 1 && there.size == entry.size;
    }

    // The existing file had the same bytes, and nobody wrote to it or gave it another name while it was
    // compared: it is taken for the restored file, and gets the package's permissions and time once the
    // restore is sure to succeed.
    bool adoptExistingCopy(const Entry& entry) {
        if (existing_.differs) return false;
        const auto now = stateOf(existing_.file->descriptor());
        if (!now || !unchangedSince(existing_.seen, *now) || now->links != 1)
            return false;
        adopted_.push_back(Adopted{entry, *now});
        return true;
    }

    // Gives the adopted copies what a restored file gets, each only while its name still leads to it; one
    // that was replaced meanwhile is in the way.
    void finishAdoptedCopies() {
        for (const auto& [entry, seen] : adopted_) {
            bool finished = false;
            try {
                const InputFile copy(*parentOf(entry), leafOf(entry));
                int error = 0;
                finished = sameFile(copy.state(), seen) && copy.state().links == 1 &&
                           setPermissionsAndTime(copy.descriptor(), entry.mode, {entry.mtimeSeconds, entry.mtimeNanoseconds}, error);
            } catch (const Error&) {
            }
            if (!finished) inTheWay_.push_back(entry.name);
        }
    }

    // Makes the files restored so far durable and gives them their names; a name taken meanwhile is in the way.
    // Only the folders that get names are checked and synced: with many folders and many batches, each
    // batch touches a few.
    // A named file lets go of its descriptor and its folder; what it was stays, for taking the name back.
    void nameWaitingFiles() {
        handOver();
        writer_.drain();
        if (int error = 0; !flushFileSystemOf(package_.descriptor(), error)) throwWriteError(error);
        const std::size_t from = named_;
        std::set<const Folder*> touched;  // pinned by their waiting files
        for (std::size_t i = from; i < files_.size(); ++i)
            if (files_[i].file.get() != carriedPackage_) touched.insert(parentOf(*files_[i].entry));
        for (const Folder* folder : touched) folder->requireStillInPlace();
        for (std::size_t i = named_; i < files_.size(); ++i) {
            Restored& restored = files_[i];
            if (restored.file.get() == carriedPackage_) continue;
            if (restored.file->commitAs(leafOf(*restored.entry))) restored.named = restored.file->identity();
            else inTheWay_.push_back(restored.entry->name);
        }
        named_ = files_.size();
        waiting_ = 0;
        reachMoment(Moment::FilesNamed);
        for (const Folder* folder : touched)
            if (!folder->sync(package_.descriptor())) throw Error(engine::msg::kNotDurable);
        for (std::size_t i = from; i < named_; ++i) {
            Restored& restored = files_[i];
            if (restored.file.get() == carriedPackage_) continue;
            restored.file.reset();
            tree_.unpin(splitPath(restored.entry->name).first);
        }
    }

    // Takes a name given by nameWaitingFiles back, if it still leads to the restored file.
    void withdraw(const Restored& restored) {
        if (!restored.named) return;
        try {
            if (const Folder* parent = parentOf(*restored.entry)) parent->removeIfStill(leafOf(*restored.entry), *restored.named);
        } catch (const Error&) {  // its folder cannot be opened again: the file stays, as after a kill
        }
    }

    const Folder& folder_;
    DescriptorBudget budget_ = descriptorBudget();
    FolderTree tree_;  // folder_ and the folders below it that the package holds
    std::string packageName_;
    std::uint64_t plainSize_;
    const InputFile& package_;  // on the folder's file system: syncfs goes through it
    FolderProgress& progress_;
    IndexLayout layout_;
    IndexParser parser_;
    std::size_t next_ = 0;          // index of the current (or next) entry
    bool started_ = false;          // the entry next_ has been opened
    std::uint64_t currentDone_ = 0;
    std::unique_ptr<RestoredFile> current_;
    ExistingCopy existing_;
    std::vector<unsigned char> compareBuffer_;
    std::vector<std::string> inTheWay_;
    struct Adopted {
        Entry entry;
        FileState seen;
    };
    std::vector<Adopted> adopted_;  // files already there that are taken for restored ones
    std::vector<Restored> files_;  // restored, in index order
    std::size_t named_ = 0;                             // files_ before this have their names
    std::size_t waiting_ = 0;
    std::vector<const Entry*> missingFolders_;  // the tree's folders not there yet
    struct CreatedFolder {
        const Entry* entry;
        FileState state;
    };
    std::vector<CreatedFolder> createdFolders_;  // made by this restore, parents first
    RestoredFile* carriedPackage_ = nullptr;  // an earlier package of this folder, carried inside this one
    bool done_ = false;                       // every file has its name: nothing is taken back any more
    std::unique_ptr<WriteBatch> batch_ = std::make_unique<WriteBatch>();  // filled here, run by writer_
    std::set<const Entry*> foundAtCheck_;  // files of the index that were in the folder already
    WriteBehind writer_{kWriteBehindBytes};  // last: joined before the files it writes go away
};

}  // namespace

void unpackFolder(const std::string& packagePath, const std::string& key, FolderProgress& progress) {
    const PlacedFile package = placeRegularFile(packagePath);
    const InputFile in(package.folder, package.name);
    const OpenedPackage opened = openPackage(in, key, progress);
    const std::uint64_t plainSize = *ChunkLayout{opened.chunkSize}.plainSizeOf(in.size() - opened.headerSize);

    sweepAbandonedTemporaries(package.folder);
    Restore restore(package.folder, package.name, plainSize, in, opened.layout, progress);
    StreamOpener opener(opened.streamKey, opened.bound, opened.chunkSize,
                        [&](const unsigned char* data, std::size_t size) { restore.take(data, size); });
    // The next block is read on a helper thread while this one is opened and handed to the files.
    std::vector<unsigned char> buffers[2] = {std::vector<unsigned char>(kReadBlock), std::vector<unsigned char>(kReadBlock)};
    const auto readInto = [&](int which, std::uint64_t offset) {
        return in.readAt(buffers[which].data(), kReadBlock, offset);
    };
    std::uint64_t offset = opened.headerSize;
    std::future<std::size_t> reading = std::async(std::launch::async, readInto, 0, offset);
    for (int which = 0; offset < in.size(); which ^= 1) {
        const std::size_t got = reading.get();
        if (got == 0) throw Error(msg::kDamaged);  // the package shrank while being read
        const std::uint64_t next = offset + got;
        if (next < in.size()) reading = std::async(std::launch::async, readInto, which ^ 1, next);
        opener.write(buffers[which].data(), got);
        offset = next;
    }
    opener.finish();
    restore.finishAll();

    stopIfCancelled();
    progress.showStatus(msg::kStatusSaving);
    restore.commit();
    progress.finish();
}

}  // namespace VQ202::detail
