#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fuzzes for a long time with a corpus kept between runs: fuzz-long.sh [hours per target] [corpus folder].
# Builds the fuzz targets of the sanitizer build (MIVEX_SANITIZE_BUILD_DIR, default build-sanitize/); the
# corpus defaults to ~/.cache/mivex2-fuzz-corpus. Findings land in <build>/fuzz-findings/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MIVEX_SANITIZE_BUILD_DIR:-$root/build-sanitize}"
hours="${1:-1}"
corpus="${2:-$HOME/.cache/mivex2-fuzz-corpus}"
"$root/scripts/sanitize-configure.sh" "$build"
targets=()
for seeds in "$root"/tests/fuzz/*/; do targets+=(--target "fuzz_$(basename "$seeds")"); done
cmake --build "$build" -j "$(nproc)" "${targets[@]}"
mkdir -p "$corpus"
"$root/scripts/fuzz.sh" "$build" "$(awk "BEGIN { print int($hours * 3600) }")" "$corpus"
