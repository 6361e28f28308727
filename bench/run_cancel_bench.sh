#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What the stop request costs and how fast a stop leaves the file as it was, on one file in the page cache.
# Prints a table; nothing here is asserted anywhere.
#   bench/run_cancel_bench.sh [folder]      (MIVEX_BENCH_MIB=1024 sets the file size, MIVEX_BENCH_REPS=3 the rounds)
# The cost: a run under a live stop request (as the windows make every call) against one without, alternated,
# beside the nanoseconds one check takes times the checks such a run makes (one a 4 MiB batch, a few more).
# The stop: asked for as the bar reaches 50 %; the time until the call has returned with its temporary gone.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MIVEX_BUILD_DIR:-$root/build}"
mib="${MIVEX_BENCH_MIB:-1024}"
reps="${MIVEX_BENCH_REPS:-3}"
work="${1:-${TMPDIR:-/tmp}/mivex-cancel-bench}"

cmake --build "$build" --target engine_bench cancel_bench -j "$(nproc)" >/dev/null
engine="$build/bench/engine_bench"
cancel="$build/bench/cancel_bench"
mkdir -p "$work"
work="$(cd "$work" && pwd)"
trap 'rm -rf "$work"' EXIT
f="$work/data.bin"
head -c "$((mib * 1024 * 1024))" /dev/urandom > "$f"
before=$(sha256sum "$f" | cut -d' ' -f1)

median() { tr ' ' '\n' <<<"$1" | sed '/^$/d' | sort -n | awk '{v[NR]=$1} END{print v[int((NR+1)/2)]}'; }
spread() { tr ' ' '\n' <<<"$1" | sed '/^$/d' | sort -n | awk '{v[NR]=$1} END{printf "%.1f", (v[NR]-v[1])*100/v[int((NR+1)/2)]}'; }
# The file must be exactly as it was, and alone in its folder.
unchanged() {
  [[ "$(ls -A "$work")" == "data.bin" ]] || { echo "left behind: $(ls -A "$work")" >&2; exit 1; }
  [[ "$(sha256sum "$f" | cut -d' ' -f1)" == "$1" ]] || { echo "the file changed" >&2; exit 1; }
}

plain="" scoped=""
for ((i = 1; i <= reps; i++)); do
  sync; plain+=" $("$engine" sifrovat "$f" "benchmark key" | cut -d' ' -f2)"
  "$engine" desifrovat "$f" "benchmark key" >/dev/null
  sync; scoped+=" $("$cancel" run sifrovat "$f")"
  "$engine" desifrovat "$f" "benchmark key" >/dev/null
done
unchanged "$before"
ns=$("$cancel" check)
checks=$(( mib / 4 + 4 ))

declare -A stopped
for op in sifrovat fastsifrovat; do
  sync; stopped[$op]=$("$cancel" stop "$op" "$f" 50)
  unchanged "$before"
done
"$engine" sifrovat "$f" "benchmark key" >/dev/null
sealed=$(sha256sum "$f" | cut -d' ' -f1)
sync; stopped[desifrovat]=$("$cancel" stop desifrovat "$f" 50)
unchanged "$sealed"

p=$(median "$plain"); s=$(median "$scoped")
printf '\n%s MiB file in the page cache, median of %s rounds, %s cores shared with other work, %s\n\n' \
  "$mib" "$reps" "$(nproc)" "$(date -u '+%F %R UTC')"
printf '| measure | value | goal |\n|---|---:|---|\n'
printf '| sifrovat without a stop request, s (spread %%) | %s (%s) | |\n' "$p" "$(spread "$plain")"
printf '| sifrovat under a live stop request, s (spread %%) | %s (%s) | |\n' "$s" "$(spread "$scoped")"
printf '| ratio under / without | %s | below the spread, < 1.01 |\n' "$(awk -v a="$s" -v b="$p" 'BEGIN{printf "%.3f", a/b}')"
printf '| one check, ns x %s checks, share of the run | %s ns, %s %% | < 1 %% |\n' "$checks" "$ns" \
  "$(awk -v n="$ns" -v c="$checks" -v t="$s" 'BEGIN{printf "%.6f", n*c/1e9/t*100}')"
for op in sifrovat fastsifrovat desifrovat; do
  printf '| stop at 50 %% of %s until the file is as it was, s | %s | < 0.5 |\n' "$op" "${stopped[$op]}"
done
