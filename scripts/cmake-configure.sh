#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures a build folder the way every script does: cmake-configure.sh <build folder> [cmake arguments].
# Ninja (a fresh folder; an existing one keeps its generator), ccache for the compilers when it is there,
# and whatever $MIVEX_CMAKE_ARGS adds (CI: warnings as errors, no debugging information).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$1"
shift
args=(-S "$root" -B "$build")
[ -f "$build/CMakeCache.txt" ] || args+=(-G Ninja)
if command -v ccache >/dev/null; then
  args+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
read -r -a extra <<<"${MIVEX_CMAKE_ARGS:-}"
cmake "${args[@]}" "$@" "${extra[@]}" >/dev/null
