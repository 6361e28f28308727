// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/crash/Steps.h"

#include <stdexcept>

#include "engine/VQ201.h"
#include "engine/VQ203.h"
#include "tests/crash/Operation.h"
#include "tests/engine/Fakes.h"

namespace crash {
namespace {

using Keyed = void (*)(const std::string&, const std::string&, engine::ProgressBar&, engine::Window&);

Step keyedCall(std::string name, Keyed call) {
    return {std::move(name), [call](const std::string& path) {
                testutil::FakeBar bar;
                testutil::FakeWindow window;
                call(path, kKey, bar, window);
            }};
}

}  // namespace

Step sifrovatStep() { return keyedCall("sifrovat", VQ203::sifrovat); }
Step fastsifrovatStep() { return keyedCall("fastsifrovat", VQ203::fastsifrovat); }
Step desifrovatStep() { return keyedCall("desifrovat", VQ203::desifrovat); }
Step fastdesifrovatStep() { return keyedCall("fastdesifrovat", VQ203::fastdesifrovat); }

Step sifrovat0Step() {
    return {"sifrovat0", [](const std::string& path) {
                testutil::FakeBar bar;
                testutil::FakeWindow window;
                VQ203::sifrovat0(path, bar, window);
            }};
}

Step keyedEncryptionStep(bool fast) {
    return {fast ? "hash, priznak_pridat, fastsifrovat" : "hash, priznak_pridat, sifrovat", [fast](const std::string& path) {
                testutil::FakeField fingerprint;
                testutil::FakeBar bar;
                testutil::FakeWindow window;
                VQ201::hash(path, fingerprint);
                VQ203::priznak_pridat(fingerprint.text(), path, bar);
                (fast ? VQ203::fastsifrovat : VQ203::sifrovat)(path, kKey, bar, window);
            }};
}

Step keyedDecryptionStep(bool fast) {
    return {fast ? "passcheck, fastdesifrovat, priznak_odebrat, hash" : "passcheck, desifrovat, priznak_odebrat, hash",
            [fast](const std::string& path) {
                testutil::FakeField carried, fresh;
                testutil::FakeBar bar;
                testutil::FakeWindow window;
                if (VQ203::passcheck(path, kKey) != 1) throw std::runtime_error("passcheck: the key does not fit");
                (fast ? VQ203::fastdesifrovat : VQ203::desifrovat)(path, kKey, bar, window);
                VQ203::priznak_odebrat(carried, path, bar);
                VQ201::hash(path, fresh);
                if (carried.text() != fresh.text())
                    throw std::runtime_error("fingerprints differ: carried \"" + carried.text() + "\", now \"" +
                                             fresh.text() + "\"");
            }};
}

}  // namespace crash
