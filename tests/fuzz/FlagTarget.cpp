// SPDX-License-Identifier: GPL-3.0-or-later
// The file flag reader: arbitrary plaintext, its trailer whatever the input makes it, sealed under the
// fuzz key, then decrypted and the flag taken off. Whatever the trailer holds, the content that comes back
// is the plaintext or a prefix of it, and the fingerprint is the bytes the trailer says it is.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "engine/VQ203.h"
#include "engine/core/Magic.h"
#include "tests/engine/Fakes.h"
#include "tests/engine/Sealed.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::useCheapKdf();
    const fuzz::Bytes plain(data, data + size);
    const std::string folder = fuzz::scratch() + "/flag";
    fuzz::resetFolder(folder);
    const std::string path = folder + "/input";
    const fuzz::Bytes sealed = testutil::sealedWith(engine::core::kMagicNormalV1, plain, fuzz::kKey);
    fuzz::writeBytes(path, sealed.data(), sealed.size());

    testutil::FakeBar bar;
    testutil::FakeWindow window;
    VQ203::desifrovat(path, fuzz::kKey, bar, window);  // a sealed file must open: a throw is a finding
    testutil::FakeField fingerprint;
    VQ203::priznak_odebrat(fingerprint, path, bar);

    const fuzz::Bytes content = fuzz::readBytes(path);
    fuzz::require(content.size() <= plain.size() && std::equal(content.begin(), content.end(), plain.begin()),
                  "the decrypted content is not the plaintext or a prefix of it");
    const std::string found = fingerprint.text();
    if (content.size() < plain.size()) {
        fuzz::require(plain.size() == content.size() + found.size() + 10,
                      "the trailer taken off is not fingerprint, length and magic");
        const std::string trailerStart(plain.begin() + static_cast<std::ptrdiff_t>(content.size()), plain.end());
        fuzz::require(trailerStart.starts_with(found),
                      "the fingerprint is not the trailer's bytes");
    } else {
        fuzz::require(found.empty(), "a fingerprint came from a file without a trailer");
    }
    fuzz::require(!fuzz::holdsTemporaryFile(folder), "a decryption left a temporary file");
    return 0;
}
