// SPDX-License-Identifier: GPL-3.0-or-later
// A file system of a few kilobytes, for tests of a full disk that must not fill the real one nor lower a
// limit of the whole process: a tmpfs of the given size, mounted in a mount namespace of the calling thread's
// own (the threads it starts from then on share it), so that nothing stays mounted should the test die.
// It takes root; elsewhere `mount` says why it cannot, for the test to skip.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace testutil {

class SmallFileSystem {
public:
    // On the existing empty folder `at`; null, with the reason in `why`, where the system does not allow it.
    static std::unique_ptr<SmallFileSystem> mount(const std::string& at, std::size_t bytes, std::string& why);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

private:
    explicit SmallFileSystem(std::string at) : at_(std::move(at)) {}
    std::string at_;
};

}  // namespace testutil
