#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds into build/ (or $MIVEX_BUILD_DIR): everything, or the targets given.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MIVEX_BUILD_DIR:-$root/build}"
"$root/scripts/deps.sh"
"$root/scripts/cmake-configure.sh" "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$build" -j "$(nproc)" "${targets[@]}"
