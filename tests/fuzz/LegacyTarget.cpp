// SPDX-License-Identifier: GPL-3.0-or-later
// The older bases' decryptors, header and body. The first input byte chooses the base (its low two bits)
// and what the rest is: the file itself, or (bit 2) a plaintext that the fixture writer of that base
// encrypts under the fuzz key, so that the body is read past the key check too.
#include <cstddef>
#include <cstdint>

#include "engine/Ports.h"
#include "engine/VQ104.h"
#include "engine/VQ105.h"
#include "engine/VQ106.h"
#include "engine/VQ201.h"
#include "tests/engine/legacy/LegacyWriters.h"
#include "tests/fuzz/CheapKdf.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

struct Base {
    int number;
    void (*decrypt)(const std::string&, const std::string&);
    legacytest::Bytes (*write)(const legacytest::Bytes&, const std::string&, const legacytest::WriteOptions&);
};

constexpr Base kBases[] = {
    {104, VQ104::desifrovat, legacytest::write104},
    {105, VQ105::desifrovat, legacytest::write105},
    {106, VQ106::desifrovat, legacytest::write106},
    {201, VQ201::desifrovat, legacytest::write2010},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const Base& base = kBases[data[0] & 3];
    const bool encryptPlaintext = data[0] & 4;
    ++data, --size;
    if (!encryptPlaintext && !fuzz::asksCheapLegacyKdf(base.number, data, size)) return -1;

    const std::string folder = fuzz::scratch() + "/legacy";
    fuzz::resetFolder(folder);
    const std::string path = folder + "/input";
    const fuzz::Bytes plain(data, data + size);
    const fuzz::Bytes file = encryptPlaintext ? base.write(plain, fuzz::kKey, {}) : plain;
    fuzz::writeBytes(path, file.data(), file.size());
    try {
        base.decrypt(path, fuzz::kKey);
    } catch (const engine::Error&) {
        fuzz::require(!encryptPlaintext, "a file its own base wrote was refused");
        fuzz::requireUntouched(path, file.data(), file.size());
        return 0;
    }
    if (encryptPlaintext) fuzz::require(fuzz::readBytes(path) == plain, "decryption did not give the plaintext back");
    fuzz::require(!fuzz::holdsTemporaryFile(folder), "a decryption left a temporary file");
    return 0;
}
