#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A second build with clang under AddressSanitizer and UndefinedBehaviorSanitizer: the whole test suite runs
# in it, then every fuzz target runs from its corpus for a bounded time. Any finding fails.
#   sanitize-and-fuzz.sh [build] [test] [fuzz]   the steps to run, in this order (default: all three)
#   MIVEX_SANITIZE_BUILD_DIR  build folder (default build-sanitize/)
#   MIVEX_FUZZ_SECONDS        seconds per fuzz target (default 20)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MIVEX_SANITIZE_BUILD_DIR:-$root/build-sanitize}"
steps=("$@")
[ ${#steps[@]} -gt 0 ] || steps=(build test fuzz)
for step in "${steps[@]}"; do
  case "$step" in
    build)
      "$root/scripts/sanitize-configure.sh" "$build"
      cmake --build "$build" -j "$(nproc)" ;;
    test)
      (source "$root/scripts/sanitizer-env.sh" && cd "$build" && ctest --output-on-failure -j "$(nproc)" --timeout 900) ;;
    fuzz)
      "$root/scripts/fuzz.sh" "$build" "${MIVEX_FUZZ_SECONDS:-20}" ;;
    *) echo "unknown step $step (build, test or fuzz)" >&2; exit 2 ;;
  esac
done
