# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by bench/run_folder_bench.sh. measure NAME COMMAND...: wall time and peak resident memory of
# one run, into secs[NAME] and rss[NAME] (KiB), NAME appended to order. Needs $work (a scratch folder).
# MIVEX_BENCH_SETTLE=<seconds> waits after the sync before each run (for a disk that trims freed blocks).
declare -A secs rss
order=()
measure() {
  local name="$1"; shift
  sync
  sleep "${MIVEX_BENCH_SETTLE:-0}"
  local t0 t1
  t0=$(date +%s%N)
  /usr/bin/time -f '%M' -o "$work/rss" "$@" >/dev/null 2>"$work/err" || { cat "$work/err" >&2; echo "$name failed" >&2; exit 1; }
  t1=$(date +%s%N)
  secs[$name]=$(awk -v a="$t0" -v b="$t1" 'BEGIN{printf "%.3f", (b-a)/1e9}')
  rss[$name]=$(tail -1 "$work/rss")
  order+=("$name")
}
