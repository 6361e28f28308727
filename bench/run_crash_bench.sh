#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The long run of the crash test: every engine operation killed many times at moments spread over its run,
# then one table of what the kills left. Nothing is timed here; the counts are the result.
#   bench/run_crash_bench.sh
# MIVEX_CRASH_KILLS (50), MIVEX_CRASH_FILE_MIB (64), MIVEX_CRASH_FOLDER_FILES (200), MIVEX_CRASH_SCRYPT_LOG2N (13)
# and MIVEX_CRASH_SEED (random) change the run. Every kill that went wrong is described in the log named at
# the end; the script exits with the test program's status, so non-zero means some kill went wrong.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MIVEX_BUILD_DIR:-$root/build}"
export MIVEX_CRASH_KILLS="${MIVEX_CRASH_KILLS:-50}"
export MIVEX_CRASH_FILE_MIB="${MIVEX_CRASH_FILE_MIB:-64}"
export MIVEX_CRASH_FOLDER_FILES="${MIVEX_CRASH_FOLDER_FILES:-200}"
export MIVEX_CRASH_SCRYPT_LOG2N="${MIVEX_CRASH_SCRYPT_LOG2N:-13}"
export MIVEX_CRASH_SEED="${MIVEX_CRASH_SEED:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}"

MIVEX_BUILD_DIR="$build" "$root/scripts/build.sh" test_crash_safety >/dev/null
table="$(mktemp)"
trap 'rm -f "$table"' EXIT
log="$build/crash-bench.log"
status=0
MIVEX_CRASH_TABLE="$table" "$build/tests/crash/test_crash_safety" --gtest_filter='*KilledOperation*' >"$log" 2>&1 ||
  status=$?

printf '\n%s kills per operation at random moments and one at each named step; a %s MiB file, a folder of %s files (%s MiB together); scrypt N = 2^%s; seed %s; %s\n\n' \
  "$MIVEX_CRASH_KILLS" "$MIVEX_CRASH_FILE_MIB" "$MIVEX_CRASH_FOLDER_FILES" "$MIVEX_CRASH_FILE_MIB" \
  "$MIVEX_CRASH_SCRYPT_LOG2N" "$MIVEX_CRASH_SEED" "$(date -u '+%F %R UTC')"
printf '| operation | kills | originals | complete results | plaintext leftovers | other leftovers | swept temporaries | reruns blocked | losses | ended before the kill | run ms |\n'
printf '|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n'
awk -F'\t' '{ printf "| %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", $1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11 }' "$table"
cat <<'LEGEND'

originals / complete results / losses: what each kill left, one of the three. Leftover columns: kills after
which at least one extra file lay in the folder, with plaintext in it or without. Swept temporaries: kills
in the moment between naming a finished result and renaming it, which left the engine's hidden temporary
(with the result's permissions) that the next operation on the folder removed. Reruns blocked: kills after
which running the operation again (or its opposite, once it had committed) failed or did not give the
original back. Ended before the kill: runs that were over when their kill came.
LEGEND
if [[ $status -ne 0 ]]; then
  printf '\nSome kills went wrong; each is described in %s\n' "$log"
fi
exit "$status"
