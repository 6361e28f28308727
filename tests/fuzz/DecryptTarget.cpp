// SPDX-License-Identifier: GPL-3.0-or-later
// A whole desifrovat and fastdesifrovat of arbitrary bytes with a fixed key; on success the file flag is
// taken off as the program does after a decryption.
#include <cstddef>
#include <cstdint>

#include "engine/Ports.h"
#include "engine/VQ203.h"
#include "tests/engine/Fakes.h"
#include "tests/fuzz/CheapKdf.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

// Decrypts the file with `decrypt`; a refusal must leave the file and its folder as they were.
bool decryptOrRefuse(void (*decrypt)(const std::string&, const std::string&, engine::ProgressBar&, engine::Window&),
                     const std::string& path, const std::uint8_t* data, std::size_t size) {
    testutil::FakeBar bar;
    testutil::FakeWindow window;
    try {
        decrypt(path, fuzz::kKey, bar, window);
        return true;
    } catch (const engine::Error&) {
        fuzz::requireUntouched(path, data, size);
        return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!fuzz::asksCheapScrypt(data, size)) return -1;
    fuzz::useCheapKdf();
    const std::string folder = fuzz::scratch() + "/decrypt";
    fuzz::resetFolder(folder);
    const std::string path = folder + "/input";
    fuzz::writeBytes(path, data, size);
    if (!decryptOrRefuse(VQ203::desifrovat, path, data, size) && !decryptOrRefuse(VQ203::fastdesifrovat, path, data, size))
        return 0;
    testutil::FakeField fingerprint;
    testutil::FakeBar bar;
    VQ203::priznak_odebrat(fingerprint, path, bar);
    fuzz::require(!fuzz::holdsTemporaryFile(folder), "a decryption left a temporary file");
    return 0;
}
