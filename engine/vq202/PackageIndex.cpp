// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/vq202/PackageIndex.h"

#include "engine/Ports.h"
#include "engine/core/EntryNames.h"
#include "engine/vq202/Messages.h"
#include "engine/vq202/Package.h"  // nameList

namespace VQ202::detail {
namespace {

constexpr std::size_t kEntryBodyFixed = 8 + 8 + 4 + 4;  // size, seconds, nanoseconds, mode
constexpr unsigned char kKindFile = 0;
constexpr unsigned char kKindFolder = 1;

void putBigEndian(std::vector<unsigned char>& out, std::uint64_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

std::uint64_t getBigEndian(const unsigned char* at, int bytes) {
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) value = (value << 8) | at[i];
    return value;
}

[[noreturn]] void damaged() { throw engine::Error(msg::kDamaged); }

}  // namespace

bool isSafeName(std::string_view name) {
    if (name.empty() || name == "." || name == ".." || name.size() > kMaxNameLength) return false;
    return name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

bool isSafePath(std::string_view path) {
    if (path.size() > kMaxPathLength) return false;
    for (std::size_t from = 0;;) {
        const std::size_t slash = path.find('/', from);
        if (!isSafeName(path.substr(from, slash - from))) return false;
        if (slash == std::string_view::npos) return true;
        from = slash + 1;
    }
}

std::pair<std::string_view, std::string_view> splitPath(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) return {{}, path};
    return {path.substr(0, slash), path.substr(slash + 1)};
}

namespace {

// Every name on the path: a folder of a temporary's shape would be swept as well as a file.
bool isRestorablePath(std::string_view path) {
    for (std::size_t from = 0;;) {
        const std::size_t slash = path.find('/', from);
        if (!engine::core::isRestorableName(path.substr(from, slash - from))) return false;
        if (slash == std::string_view::npos) return true;
        from = slash + 1;
    }
}

}  // namespace

void refuseUnrestorableNames(const std::vector<Entry>& entries) {
    std::vector<std::string> refused;
    for (const Entry& entry : entries)
        if (!isRestorablePath(entry.name)) refused.push_back(engine::core::printableName(entry.name));
    if (!refused.empty()) throw engine::Error(msg::kUnrestorableNames + nameList(refused));
}

std::vector<unsigned char> serializeIndex(const std::vector<Entry>& entries, IndexLayout layout) {
    std::vector<unsigned char> out;
    putBigEndian(out, entries.size(), 4);
    for (const Entry& entry : entries) {
        if (layout == IndexLayout::Tree) out.push_back(entry.folder ? kKindFolder : kKindFile);
        putBigEndian(out, entry.name.size(), 2);
        out.insert(out.end(), entry.name.begin(), entry.name.end());
        putBigEndian(out, entry.size, 8);
        putBigEndian(out, static_cast<std::uint64_t>(entry.mtimeSeconds), 8);
        putBigEndian(out, entry.mtimeNanoseconds, 4);
        putBigEndian(out, entry.mode, 4);
    }
    return out;
}

std::size_t IndexParser::feed(const unsigned char* data, std::size_t size) {
    std::size_t taken = 0;
    while (state_ != State::Complete && taken < size) {
        const std::size_t take = std::min(need_ - field_.size(), size - taken);
        field_.insert(field_.end(), data + taken, data + taken + take);
        taken += take;
        if (field_.size() == need_) fieldReady();
    }
    bytesRead_ += taken;
    return taken;
}

// One whole field has arrived in field_: check it and say what comes next.
void IndexParser::fieldReady() {
    const unsigned char* at = field_.data();
    switch (state_) {
        case State::Count:
            remaining_ = static_cast<std::uint32_t>(getBigEndian(at, 4));
            if (remaining_ > kMaxEntries) damaged();
            nextEntry();
            break;
        case State::Kind:
            if (at[0] != kKindFile && at[0] != kKindFolder) damaged();
            folder_ = at[0] == kKindFolder;
            state_ = State::NameLength;
            need_ = 2;
            break;
        case State::NameLength:
            nameLength_ = static_cast<std::uint16_t>(getBigEndian(at, 2));
            // Any length is read; an unfit name (empty, too long) is refused with the other unsafe ones.
            state_ = State::EntryBody;
            need_ = nameLength_ + kEntryBodyFixed;
            break;
        case State::EntryBody: {
            Entry entry;
            entry.name.assign(reinterpret_cast<const char*>(at), nameLength_);
            at += nameLength_;
            entry.size = getBigEndian(at, 8);
            entry.mtimeSeconds = static_cast<std::int64_t>(getBigEndian(at + 8, 8));
            entry.mtimeNanoseconds = static_cast<std::uint32_t>(getBigEndian(at + 16, 4));
            entry.mode = static_cast<std::uint32_t>(getBigEndian(at + 20, 4));
            entry.folder = folder_;
            if (entry.mtimeNanoseconds >= 1'000'000'000u || (entry.mode & ~kPermissionBits) != 0) damaged();
            if (entry.folder && entry.size != 0) damaged();
            entries_.push_back(std::move(entry));
            --remaining_;
            nextEntry();
            break;
        }
        case State::Complete:
            break;
    }
    field_.clear();
}

void IndexParser::nextEntry() {
    if (remaining_ == 0) {
        state_ = State::Complete;
        return;
    }
    state_ = layout_ == IndexLayout::Tree ? State::Kind : State::NameLength;
    need_ = layout_ == IndexLayout::Tree ? 1 : 2;
}

}  // namespace VQ202::detail
