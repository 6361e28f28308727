#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures the sanitizer build with clang: sanitize-configure.sh <build folder>.
# One build serves both the test suite and the fuzzers: everything is instrumented for AddressSanitizer,
# UndefinedBehaviorSanitizer (a finding stops the program) and libFuzzer's coverage; only the fuzz targets
# link libFuzzer itself. Line tables are all the debugging information a sanitizer's report needs.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fsanitize=fuzzer-no-link -fno-omit-frame-pointer"
"$root/scripts/cmake-configure.sh" "$1" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_CXX_FLAGS="$flags" \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -gline-tables-only -DNDEBUG" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DMIVEX_LIBFUZZER=ON -DMIVEX_BUILD_BENCH=OFF
