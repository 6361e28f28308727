// SPDX-License-Identifier: GPL-3.0-or-later
// The current base's header as desifrovatelnost and passcheck read it, on arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "engine/VQ203.h"
#include "tests/fuzz/CheapKdf.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::useCheapKdf();
    const std::string path = fuzz::scratch() + "/input";
    fuzz::writeBytes(path, data, size);
    const int kind = VQ203::desifrovatelnost(path);
    fuzz::require(kind <= VQ203::Base2010, "desifrovatelnost answered an unknown kind");
    if (fuzz::asksCheapScrypt(data, size)) {
        const unsigned char opens = VQ203::passcheck(path, fuzz::kKey);
        fuzz::require(opens <= 1, "passcheck answered neither 0 nor 1");
        fuzz::require(!opens || kind == VQ203::Normal || kind == VQ203::Fast,
                      "passcheck opened a file desifrovatelnost does not take for ours");
    }
    fuzz::requireUntouched(path, data, size);
    return 0;
}
