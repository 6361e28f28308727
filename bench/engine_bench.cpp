// SPDX-License-Identifier: GPL-3.0-or-later
// Times one engine operation on one file, for bench/run_engine_bench.sh:
//   engine_bench <operation> <file> [key]
// operation: sifrovat fastsifrovat desifrovat fastdesifrovat hash kdf
//            keyed-encrypt (prepareKey, hash, flag, encrypt)
//            keyed-decrypt (passcheck, decrypt, unflag, hash, compare)
// Prints "<operation> <seconds> <peak RSS in KiB>".
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "bench/NullControls.h"
#include "engine/VQ201.h"
#include "engine/VQ203.h"
#include "engine/core/Header.h"
#include "engine/core/Keys.h"

namespace {

using bench::Bar;
using bench::Field;
using bench::NoWindow;

void keyedEncrypt(const std::string& path, const std::string& key, bool fast) {
    Field buffer;
    Bar pb;
    NoWindow window;
    VQ203::prepareKey(path, key);  // as the window does: the derivation runs while the fingerprint is taken
    VQ201::hash(path, buffer);
    VQ203::priznak_pridat(buffer.text(), path, pb);
    (fast ? VQ203::fastsifrovat : VQ203::sifrovat)(path, key, pb, window);
}

void keyedDecrypt(const std::string& path, const std::string& key, bool fast) {
    Field buffer, buffer0;
    Bar pb;
    NoWindow window;
    if (VQ203::passcheck(path, key) != 1) throw engine::Error("wrong key");
    (fast ? VQ203::fastdesifrovat : VQ203::desifrovat)(path, key, pb, window);
    VQ203::priznak_odebrat(buffer, path, pb);
    VQ201::hash(path, buffer0);
    if (buffer.text() != buffer0.text()) throw engine::Error("fingerprints differ");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s operation file [key]\n", argv[0]);
        return 2;
    }
    const std::string op = argv[1], path = argv[2], key = argc > 3 ? argv[3] : "benchmark key";
    Field field;
    Bar pb;
    NoWindow window;
    const auto start = std::chrono::steady_clock::now();
    try {
        if (op == "sifrovat") VQ203::sifrovat(path, key, pb, window);
        else if (op == "fastsifrovat") VQ203::fastsifrovat(path, key, pb, window);
        else if (op == "desifrovat") VQ203::desifrovat(path, key, pb, window);
        else if (op == "fastdesifrovat") VQ203::fastdesifrovat(path, key, pb, window);
        else if (op == "hash") VQ201::hash(path, field);
        else if (op == "keyed-encrypt") keyedEncrypt(path, key, false);
        else if (op == "keyed-decrypt") keyedDecrypt(path, key, false);
        else if (op == "fast-keyed-encrypt") keyedEncrypt(path, key, true);
        else if (op == "fast-keyed-decrypt") keyedDecrypt(path, key, true);
        else if (op == "kdf") {
            const auto header = engine::core::newHeader(engine::core::kMagicNormal, engine::core::kDefaultChunkSize);
            engine::core::passwordKey(key, header);
        } else {
            std::fprintf(stderr, "unknown operation %s\n", op.c_str());
            return 2;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", op.c_str(), error.what());
        return 1;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("%s %.3f %ld\n", op.c_str(), seconds, usage.ru_maxrss);
    return 0;
}
