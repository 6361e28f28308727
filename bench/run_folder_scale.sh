#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The scale table: folders of small files at growing counts, sifrdir and desifrdir beside the usual tools
# doing the same work, all in one run. Prints a table with ratios; nothing here is asserted anywhere.
#   MIVEX_BENCH_FILES="1000 10000 50000 200000 10000/100" bench/run_folder_bench.sh [work folder]
# A count N/F is a tree of N files in F folders (packed whole). MIVEX_BENCH_FILE_BYTES (1024) sets the
# size of each file. Ours run with the key derivation at its production cost; no peer runs one.
# MIVEX_BENCH_BIN=<folder> takes folder_bench and engine_bench from there, as they are (an earlier build
# saved for a before/after comparison); else they are built first. MIVEX_BENCH_BIN_BEFORE=<folder> runs
# that folder's folder_bench too, on the same folder right after ours, in columns of its own.
# Every creating step follows the removal of as many files (tar x, sync follows the peer's removal of its
# originals, the second tar x the removal of the first one's files, desifrdir follows sifrdir): on an ext4
# without a journal, files made in the minutes after many were removed cost far more.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MIVEX_BUILD_DIR:-$root/build}"
counts="${MIVEX_BENCH_FILES:-1000 10000 50000 200000 10000/100}"
bytes="${MIVEX_BENCH_FILE_BYTES:-1024}"
work="${1:-${TMPDIR:-/tmp}/mivex-folder-scale}"
pass="bench-passphrase"

bin="${MIVEX_BENCH_BIN:-}"
if [[ -z "$bin" ]]; then
  cmake --build "$build" --target folder_bench engine_bench -j "$(nproc)" >/dev/null
  bin="$build/bench"
fi
bench="$bin/folder_bench"
mkdir -p "$work"
work="$(cd "$work" && pwd)"
trap 'rm -rf "$work"' EXIT
export MIVEX_BENCH_SETTLE="${MIVEX_BENCH_SETTLE:-3}"
source "$root/bench/measure.sh"

age-keygen -o "$work/age.key" 2>/dev/null
recipient=$(grep -o 'age1[0-9a-z]*' "$work/age.key")
head -c 1024 /dev/urandom >"$work/kdf-input"
measure "KDF alone" "$bin/engine_bench" kdf "$work/kdf-input" "$pass"

# Everything under the folder, names, modes, times and bytes: what a round trip must give back.
snapshot() { (cd "$1" && find . -mindepth 1 -printf '%y %m %T@ %p\n' | sort && find . -type f -print0 | sort -z | xargs -0 -r sha256sum) | sha256sum; }

for count in $counts; do
  files="${count%%/*}"
  folders=0
  [[ "$count" == */* ]] && folders="${count#*/}"
  src="$work/src" peer="$work/peer"
  rm -rf "$src" "$peer" "$work/out" "$work"/*.tar "$work"/*.age
  "$root/bench/make_folder.py" "$src" "$files" "$folders" "$bytes"
  cp -a "$src" "$peer"
  tar -cf "$work/plain.tar" -C "$src" .
  cp "$work/plain.tar" "$work/plain2.tar"
  before=$(snapshot "$src")

  measure "$count tar c | age" bash -c "tar -cf - -C '$src' . | age -r '$recipient' -o '$work/x.age'"
  measure "$count tar c | age, sync, rm originals" bash -c \
    "tar -cf - -C '$peer' . | age -r '$recipient' -o '$work/peer.age' && sync -f '$work/peer.age' && find '$peer' -mindepth 1 -delete && sync -f '$work'"
  mkdir "$work/out" "$work/out2"
  measure "$count tar x, sync" bash -c "tar -xf '$work/plain.tar' -C '$work/out' && sync -f '$work/out'"
  find "$work/out" -mindepth 1 -delete
  measure "$count tar x, sync, rm archive, sync" bash -c \
    "tar -xf '$work/plain2.tar' -C '$work/out2' && sync -f '$work/out2' && rm '$work/plain2.tar' && sync -f '$work'"
  rm -rf "$work/out" "$work/out2" "$peer" "$work"/*.age "$work/plain.tar"
  if [[ "$folders" -gt 0 ]]; then pack=sifrdirTree; else pack=sifrdir; fi
  measure "$count sifrdir" "$bench" "$pack" "$src" "$pass"
  peak_pack=${rss["$count sifrdir"]}
  [[ "$(ls -A "$src")" == "directory.cff" ]] || { echo "sifrdir left other files" >&2; exit 1; }
  measure "$count desifrdir" "$bench" desifrdir "$src/directory.cff" "$pass"
  [[ "$(snapshot "$src")" == "$before" ]] || { echo "the round trip of $count changed the files" >&2; exit 1; }
  rss["$count sifrdir"]=$peak_pack
  if [[ -n "${MIVEX_BENCH_BIN_BEFORE:-}" ]]; then
    measure "$count sifrdir before" "$MIVEX_BENCH_BIN_BEFORE/folder_bench" "$pack" "$src" "$pass"
    measure "$count desifrdir before" "$MIVEX_BENCH_BIN_BEFORE/folder_bench" desifrdir "$src/directory.cff" "$pass"
    [[ "$(snapshot "$src")" == "$before" ]] || { echo "the earlier build's round trip of $count changed the files" >&2; exit 1; }
  fi
  rm -rf "$src"
done

ratio() { awk -v a="$1" -v b="$2" 'BEGIN{printf "%.2f", a/b}'; }
per_file() { awk -v s="$1" -v n="$2" 'BEGIN{printf "%.0f", s*1e6/n}'; }
printf '\n1 KiB files (%s bytes each), %s cores (shared), KDF alone %s s, %s\n\n' "$bytes" "$(nproc)" \
  "${secs["KDF alone"]}" "$(date -u '+%F %R UTC')"
printf '| files | sifrdir s | desifrdir s | tar c \\| age | tar c \\| age, sync, rm originals | tar x, sync | tar x, sync, rm archive, sync |'
printf ' desifrdir / tar x, sync, rm (goal <= 1.0) | desifrdir / tar x, sync (goal <= 2.0) | sifrdir / tar c \\| age, sync, rm (goal <= 0.5) |'
printf ' sifrdir us/file | desifrdir us/file | sifrdir peak MiB | desifrdir peak MiB |\n'
printf '|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n'
for count in $counts; do
  files="${count%%/*}"
  s() { echo "${secs["$count $1"]}"; }
  printf '| %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n' "$count" "$(s sifrdir)" "$(s desifrdir)" \
    "$(s "tar c | age")" "$(s "tar c | age, sync, rm originals")" "$(s "tar x, sync")" "$(s "tar x, sync, rm archive, sync")" \
    "$(ratio "$(s desifrdir)" "$(s "tar x, sync, rm archive, sync")")" "$(ratio "$(s desifrdir)" "$(s "tar x, sync")")" \
    "$(ratio "$(s sifrdir)" "$(s "tar c | age, sync, rm originals")")" \
    "$(per_file "$(s sifrdir)" "$files")" "$(per_file "$(s desifrdir)" "$files")" \
    "$(awk -v k="${rss["$count sifrdir"]}" 'BEGIN{printf "%.0f", k/1024}')" \
    "$(awk -v k="${rss["$count desifrdir"]}" 'BEGIN{printf "%.0f", k/1024}')"
done
if [[ -n "${MIVEX_BENCH_BIN_BEFORE:-}" ]]; then
  printf '\n| files | sifrdir before s | sifrdir s | desifrdir before s | desifrdir s | desifrdir before / tar x, sync | desifrdir / tar x, sync |\n'
  printf '|---|---:|---:|---:|---:|---:|---:|\n'
  for count in $counts; do
    s() { echo "${secs["$count $1"]}"; }
    printf '| %s | %s | %s | %s | %s | %s | %s |\n' "$count" "$(s "sifrdir before")" "$(s sifrdir)" "$(s "desifrdir before")" \
      "$(s desifrdir)" "$(ratio "$(s "desifrdir before")" "$(s "tar x, sync")")" "$(ratio "$(s desifrdir)" "$(s "tar x, sync")")"
  done
fi
# Linear: the cost per file at each count against that at 10 000 (goal at 200 000: at most 1.2).
if [[ -n "${secs["10000 desifrdir"]:-}" ]]; then
  printf '\n| files | sifrdir per file / at 10 000 | desifrdir per file / at 10 000 |\n|---|---:|---:|\n'
  for count in $counts; do
    [[ "$count" == */* ]] && continue
    printf '| %s | %s | %s |\n' "$count" \
      "$(awk -v a="${secs["$count sifrdir"]}" -v n="$count" -v b="${secs["10000 sifrdir"]}" 'BEGIN{printf "%.2f", (a/n)/(b/10000)}')" \
      "$(awk -v a="${secs["$count desifrdir"]}" -v n="$count" -v b="${secs["10000 desifrdir"]}" 'BEGIN{printf "%.2f", (a/n)/(b/10000)}')"
  done
fi
