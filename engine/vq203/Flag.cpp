// The file flag: the fingerprint appended to the plain file as a small trailer (docs/FORMAT.md, "File flag"),
// so that it travels through encryption and decryption with the content. Adding and removing it touch
// only the end of the file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "engine/VQ203.h"
#include "engine/core/FileIO.h"
#include "engine/core/Messages.h"
#include "engine/vq203/Method.h"

namespace VQ203 {
namespace {

using engine::Error;
namespace msg = engine::msg;

constexpr std::array<unsigned char, 8> kFlagMagic{'M', 'V', 'X', 'F', 'L', 'A', 'G', 1};
constexpr std::size_t kFlagTail = 2 + kFlagMagic.size();  // length field and magic
constexpr std::size_t kMaxFingerprint = 4096;

// The flag's fingerprint and the size of the file without the flag, if the file ends with one.
struct FoundFlag {
    std::string fingerprint;
    std::uint64_t contentSize = 0;
};

std::optional<FoundFlag> findFlag(const engine::core::InputFile& in) {
    const std::uint64_t size = in.size();
    std::array<unsigned char, kFlagTail> tail{};
    if (size < kFlagTail || !in.readExactAt(tail.data(), tail.size(), size - kFlagTail)) return std::nullopt;
    if (std::memcmp(tail.data() + 2, kFlagMagic.data(), kFlagMagic.size()) != 0) return std::nullopt;
    const std::size_t length = (std::size_t{tail[0]} << 8) | tail[1];
    if (length > kMaxFingerprint || size < kFlagTail + length) return std::nullopt;
    FoundFlag flag;
    flag.contentSize = size - kFlagTail - length;
    flag.fingerprint.resize(length);
    if (!in.readExactAt(flag.fingerprint.data(), length, flag.contentSize)) return std::nullopt;
    return flag;
}

void truncateDurably(const std::string& path, std::uint64_t size) {
    engine::core::OpenFile file(path, O_WRONLY);
    if (::ftruncate(file.descriptor(), static_cast<off_t>(size)) != 0) engine::core::throwWriteError(errno);
    if (::fsync(file.descriptor()) != 0) engine::core::throwWriteError(errno);
}

std::mutex gAddedMutex;
std::map<std::string, std::uint64_t> gAdded;  // resolved path -> file size right after the flag was added

}  // namespace

namespace detail {

void rememberAddedFlag(const std::string& resolvedPath, std::uint64_t sizeWithFlag) {
    std::lock_guard lock(gAddedMutex);
    gAdded[resolvedPath] = sizeWithFlag;
}

void forgetAddedFlag(const std::string& resolvedPath) {
    std::lock_guard lock(gAddedMutex);
    gAdded.erase(resolvedPath);
}

void undoAddedFlag(const std::string& resolvedPath) noexcept {
    try {
        std::uint64_t expected = 0;
        {
            std::lock_guard lock(gAddedMutex);
            const auto it = gAdded.find(resolvedPath);
            if (it == gAdded.end()) return;
            expected = it->second;
            gAdded.erase(it);
        }
        engine::core::InputFile in(resolvedPath);
        const auto flag = findFlag(in);
        // Only the flag we added, on a file nobody has changed since.
        if (flag && in.size() == expected) truncateDurably(resolvedPath, flag->contentSize);
    } catch (...) {
        // The encryption's own error is the one the user must see.
    }
}

}  // namespace detail

void priznak_pridat(const std::string& fingerprint, const std::string& path, engine::ProgressBar& pb) {
    pb.setPosition(0);
    if (fingerprint.size() > kMaxFingerprint) throw Error(msg::kDamaged);
    const std::string target = engine::core::resolveRegularFile(path);
    std::vector<unsigned char> trailer(fingerprint.begin(), fingerprint.end());
    trailer.push_back(static_cast<unsigned char>(fingerprint.size() >> 8));
    trailer.push_back(static_cast<unsigned char>(fingerprint.size() & 0xff));
    trailer.insert(trailer.end(), kFlagMagic.begin(), kFlagMagic.end());

    engine::core::OpenFile file(target, O_WRONLY);
    const std::uint64_t size = file.size();
    const ssize_t put = ::pwrite(file.descriptor(), trailer.data(), trailer.size(), static_cast<off_t>(size));
    if (put != static_cast<ssize_t>(trailer.size()) || ::fsync(file.descriptor()) != 0) {
        const int error = put < 0 ? errno : ENOSPC;
        // Leave the plain file exactly as it was.
        if (::ftruncate(file.descriptor(), static_cast<off_t>(size)) == 0) ::fsync(file.descriptor());
        engine::core::throwWriteError(error);
    }
    detail::rememberAddedFlag(target, size + trailer.size());
    pb.setPosition(100);
}

void priznak_odebrat(engine::TextField& buffer, const std::string& path, engine::ProgressBar& pb) {
    pb.setPosition(0);
    const std::string target = engine::core::resolveRegularFile(path);
    std::optional<FoundFlag> flag;
    {
        engine::core::InputFile in(target);
        flag = findFlag(in);
    }
    if (flag) truncateDurably(target, flag->contentSize);
    detail::forgetAddedFlag(target);
    pb.setPosition(100);
    buffer.setText(flag ? flag->fingerprint : std::string());
}

}  // namespace VQ203
