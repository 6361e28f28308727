// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/vq202/PackageIndex.h"

#include "engine/Ports.h"
#include "engine/core/EntryNames.h"
#include "engine/vq202/Messages.h"
#include "engine/vq202/Package.h"  // nameList

namespace VQ202::detail {
namespace {

constexpr std::size_t kEntryBodyFixed = 8 + 8 + 4 + 4;  // size, seconds, nanoseconds, mode

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

void refuseUnrestorableNames(const std::vector<Entry>& entries) {
    std::vector<std::string> refused;
    for (const Entry& entry : entries)
        if (!engine::core::isRestorableName(entry.name)) refused.push_back(engine::core::printableName(entry.name));
    if (!refused.empty()) throw engine::Error(msg::kUnrestorableNames + nameList(refused));
}

std::vector<unsigned char> serializeIndex(const std::vector<Entry>& entries) {
    std::vector<unsigned char> out;
    putBigEndian(out, entries.size(), 4);
    for (const Entry& entry : entries) {
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
            if (entry.mtimeNanoseconds >= 1'000'000'000u || (entry.mode & ~kPermissionBits) != 0) damaged();
            entries_.push_back(std::move(entry));
            --remaining_;
            state_ = State::NameLength;
            need_ = 2;
            break;
        }
        case State::Complete:
            break;
    }
    if (state_ == State::NameLength && remaining_ == 0) state_ = State::Complete;
    field_.clear();
}

}  // namespace VQ202::detail
