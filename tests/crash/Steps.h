// SPDX-License-Identifier: GPL-3.0-or-later
// The engine calls of a single file, as the program's window makes them; each runs in a child and throws
// when the engine (or the window's own check) refuses.
#pragma once

#include <functional>
#include <string>

namespace crash {

struct Step {
    std::string name;
    std::function<void(const std::string& path)> work;
};

Step sifrovatStep();
Step fastsifrovatStep();
Step desifrovatStep();
Step fastdesifrovatStep();
Step sifrovat0Step();

// The key-encryption handler: hash of the file into a field, priznak_pridat of that fingerprint, then
// sifrovat (or fastsifrovat).
Step keyedEncryptionStep(bool fast);
// The key-decryption handler: passcheck, desifrovat (or fastdesifrovat), priznak_odebrat into one field,
// hash into a second; the two fields must be equal.
Step keyedDecryptionStep(bool fast);

}  // namespace crash
