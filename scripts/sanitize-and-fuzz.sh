#!/usr/bin/env bash
# A second build with clang under AddressSanitizer and UndefinedBehaviorSanitizer: the whole test suite runs
# in it, then every fuzz target runs from its corpus for a bounded time. Any finding fails.
#   MIVEX_SANITIZE_BUILD_DIR  build folder (default build-sanitize/)
#   MIVEX_FUZZ_SECONDS        seconds per fuzz target (default 20)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MIVEX_SANITIZE_BUILD_DIR:-$root/build-sanitize}"
"$root/scripts/sanitize-configure.sh" "$build"
cmake --build "$build" -j "$(nproc)"

source "$root/scripts/sanitizer-env.sh"
(cd "$build" && ctest --output-on-failure -j "$(nproc)" --timeout 900)

"$root/scripts/fuzz.sh" "$build" "${MIVEX_FUZZ_SECONDS:-20}"
