// desifrdir: key check first; then the index is read and checked (names, files in the way, space) before
// anything is written; every file is restored into a temporary name; only when the whole stream has
// authenticated are they made durable (one syncfs for all), renamed to their names (never over an existing
// file), the folder fsynced, and the package removed. Until that last step the package holds everything.
#include <unistd.h>

#include <memory>
#include <set>

#include "engine/core/FileIO.h"
#include "engine/core/Keys.h"
#include "engine/core/Layout.h"
#include "engine/core/Stream.h"
#include "engine/vq202/FolderFiles.h"
#include "engine/vq202/Messages.h"
#include "engine/vq202/Package.h"
#include "engine/vq202/WriteBehind.h"

namespace VQ202::detail {
namespace {

using namespace engine::core;
using engine::Error;

constexpr std::uint64_t kBlockSlack = 4096;  // a file's last block, counted when checking free space

Header readPackageHeader(const InputFile& in) {
    Header::Bytes bytes{};
    const std::size_t got = in.readAt(bytes.data(), bytes.size(), 0);
    Header header;
    switch (parseHeader(bytes.data(), got, {kMagicPackage}, header)) {
        case HeaderStatus::Ok: return header;
        case HeaderStatus::WrongMagic: throw Error(msg::kNotAPackage);
        case HeaderStatus::Malformed: throw Error(msg::kDamaged);
        case HeaderStatus::KdfTooCostly: throw Error(msg::kKdfTooCostly);
    }
    throw Error(msg::kDamaged);
}

// Takes the authenticated plaintext as it comes: the index, then each file's content into its RestoredFile.
class Restore {
public:
    Restore(std::string folder, std::string packageName, std::uint64_t plainSize, FolderProgress& progress)
        : folder_(std::move(folder)), packageName_(std::move(packageName)), plainSize_(plainSize),
          progress_(progress) {}

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
            if (!current_) throw Error(msg::kDamaged);  // more bytes than the index announced
            const Entry& entry = entries()[files_.size()];
            const std::size_t part = static_cast<std::size_t>(std::min<std::uint64_t>(size, entry.size - currentDone_));
            writeBehind(data, part);
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
        if (current_ || files_.size() != entries().size()) throw Error(msg::kDamaged);
        writer_.drain();
    }

    void commit(const std::string& packagePath, const InputFile& package) {
        folderHandle_.syncEverythingWritten();
        RestoredFile* carriedPackage = nullptr;  // an earlier package of this folder, carried inside this one
        std::vector<std::string> inTheWay;
        try {
            // The package goes away at the end: it must still be the one read, not a newer one saved meanwhile.
            if (!package.unchangedAt(packagePath)) throw Error(msg::kPackageChangedMeanwhile);
            for (std::size_t i = 0; i < files_.size(); ++i) {
                const std::string& name = entries()[i].name;
                if (name == packageName_) carriedPackage = files_[i].get();
                else if (!files_[i]->commitAs(joinPath(folder_, name))) inTheWay.push_back(name);
            }
            if (!inTheWay.empty()) throw Error(msg::kFilesInTheWay + nameList(inTheWay));
            folderHandle_.fsync();
            // Inside the try: when the carried package cannot take the outer one's name, the files already
            // renamed go back too, so that the folder is as it was, as the error says.
            if (carriedPackage) carriedPackage->commitReplacing(packagePath);
        } catch (...) {
            for (auto& file : files_) file->withdraw();
            throw;
        }
        if (!carriedPackage && ::unlink(packagePath.c_str()) != 0) throw Error(msg::kPackageLeft + packageName_);
        // Every file has its name and the package is gone: a failed fsync now cannot make the folder "as it
        // was", and a crash could at worst bring the package back beside the restored files.
        try {
            folderHandle_.fsync();
        } catch (const Error&) {
        }
    }

private:
    std::vector<Entry>& entries() { return parser_.entries(); }

    // Nothing has been written yet: refuse here what would leave the folder, overwrite a file or not fit.
    void checkIndex() {
        std::set<std::string> seen;
        std::vector<std::string> inTheWay;
        std::uint64_t content = 0;
        for (const Entry& entry : entries()) {
            if (!isSafeName(entry.name) || !seen.insert(entry.name).second) throw Error(msg::kHostileName);
            if (entry.size > plainSize_ - content) throw Error(msg::kDamaged);
            content += entry.size;
            if (entry.name != packageName_ && entryAt(joinPath(folder_, entry.name))) inTheWay.push_back(entry.name);
        }
        if (parser_.bytesRead() + content != plainSize_) throw Error(msg::kDamaged);
        if (!inTheWay.empty()) throw Error(msg::kFilesInTheWay + nameList(inTheWay));
        const auto free = freeSpaceIn(folder_);
        if (free && *free < content + kBlockSlack * entries().size()) throw Error(msg::kDiskFull);
        files_.reserve(entries().size());
        progress_.begin(entries().size(), content);
    }

    // Makes the next file current; empty files are complete at once.
    void openNext() {
        while (!current_ && files_.size() < entries().size()) {
            const Entry& entry = entries()[files_.size()];
            current_ = std::make_unique<RestoredFile>(folder_, entry.size);
            currentDone_ = 0;
            progress_.startFile(entry.name, entry.size);
            if (entry.size > 0) return;
            closeCurrent();
        }
    }

    // The file's bytes go to the helper thread in blocks; its finish follows them there.
    void writeBehind(const unsigned char* data, std::size_t size) {
        pending_->insert(pending_->end(), data, data + size);
        if (pending_->size() >= kWriteBlock) handOver();
    }
    void handOver() {
        if (pending_->empty()) return;
        writer_.post([file = current_.get(), block = pending_] { file->write(block->data(), block->size()); },
                     pending_->size());
        pending_ = std::make_shared<std::vector<unsigned char>>();
    }

    void closeCurrent() {
        handOver();
        writer_.post([file = current_.get(), entry = entries()[files_.size()]] { file->finish(entry); }, 0);
        files_.push_back(std::move(current_));
        progress_.endFile();
    }

    std::string folder_;
    OpenFolder folderHandle_{folder_};  // opened before the first file is written
    std::string packageName_;
    std::uint64_t plainSize_;
    FolderProgress& progress_;
    IndexParser parser_;
    std::unique_ptr<RestoredFile> current_;
    std::uint64_t currentDone_ = 0;
    std::vector<std::unique_ptr<RestoredFile>> files_;  // finished, in index order
    std::shared_ptr<std::vector<unsigned char>> pending_ = std::make_shared<std::vector<unsigned char>>();
    WriteBehind writer_{kWriteBehindBytes};  // last: joined before the files it writes go away
};

}  // namespace

void unpackFolder(const std::string& packagePath, const std::string& key, FolderProgress& progress) {
    const std::string package = resolveRegularFile(packagePath);
    const InputFile in(package);
    const Header header = readPackageHeader(in);
    const std::uint64_t sealedSize = in.size() - kHeaderSize;  // readPackageHeader saw all 80 bytes
    const auto plainSize = ChunkLayout{header.chunkSize}.plainSizeOf(sealedSize);
    if (!plainSize) throw Error(msg::kDamaged);
    if (key.empty()) throw Error(msg::kWrongKey);  // sifrdir never writes a package with an empty key

    progress.showStatus(msg::kStatusKey);
    const FileKeys keys = deriveFileKeys(key, header);
    if (!headerMacMatches(header, keys)) throw Error(msg::kWrongKey);
    const Header::Bytes headerBytes = header.serialize();

    Restore restore(folderOf(package), baseNameOf(package), *plainSize, progress);
    StreamOpener opener(keys.stream, headerBytes, header.chunkSize,
                        [&](const unsigned char* data, std::size_t size) { restore.take(data, size); });
    std::vector<unsigned char> buffer(kReadBlock);
    for (std::uint64_t offset = kHeaderSize; offset < in.size();) {
        const std::size_t got = in.readAt(buffer.data(), buffer.size(), offset);
        if (got == 0) throw Error(msg::kDamaged);  // the package shrank while being read
        opener.write(buffer.data(), got);
        offset += got;
    }
    opener.finish();
    restore.finishAll();

    progress.showStatus(msg::kStatusSaving);
    restore.commit(package, in);
    progress.finish();
}

}  // namespace VQ202::detail
