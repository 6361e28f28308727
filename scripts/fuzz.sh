#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every fuzz target of a libFuzzer build: fuzz.sh <build folder> <seconds per target> [corpus folder].
# The committed seeds (tests/fuzz/<name>/) are read; new inputs go to <corpus folder>/<name>/ (a fresh
# temporary folder unless one is given, so that a long run can keep its corpus). A crash, a broken property,
# a sanitizer report, an allocation above the limit or a slow input fails, and the input is kept in
# <build folder>/fuzz-findings/. $MIVEX_FUZZ_JOBS targets run at a time (default 2: each fuzzer is one
# process on one core, so two fill a 2-core machine and every target still gets its seconds).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$1"
seconds="$2"
corpus="${3:-$(mktemp -d)}"
jobs="${MIVEX_FUZZ_JOBS:-2}"
source "$root/scripts/sanitizer-env.sh"
# The targets write and replace files with fsync for every input: on a memory file system that costs nothing.
[ -w /dev/shm ] && export TMPDIR=/dev/shm
findings="$build/fuzz-findings"
mkdir -p "$findings"

# One target; its summary (or its failure's log) is printed when it ends, so that parallel runs do not mix.
fuzz_one() {
  local seeds="$1" name target
  name="$(basename "$seeds")"
  target="$build/tests/fuzz/fuzz_$name"
  [ -x "$target" ] || { echo "missing fuzz target $target"; return 1; }
  mkdir -p "$corpus/$name"
  # -malloc_limit_mb: no single allocation may follow a length field the input sets before it is bounded.
  if ! "$target" "$corpus/$name" "$seeds" -max_total_time="$seconds" -dict="$root/tests/fuzz/magics.dict" \
      -rss_limit_mb=2048 -malloc_limit_mb=256 -timeout=20 -print_final_stats=1 \
      -artifact_prefix="$findings/$name-" >"$findings/$name.log" 2>&1; then
    { echo "== fuzz_$name: FAILED"; tail -n 60 "$findings/$name.log"; }
    return 1
  fi
  echo "== fuzz_$name: $seconds s"
  grep -E "^#[0-9]+[[:space:]]+DONE|stat::average_exec_per_sec" "$findings/$name.log" | tail -n 3 || true
}

status=0
running=0
for seeds in "$root"/tests/fuzz/*/; do
  if [ "$running" -ge "$jobs" ]; then
    wait -n || status=1
    running=$((running - 1))
  fi
  fuzz_one "$seeds" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
  wait -n || status=1
  running=$((running - 1))
done
exit $status
