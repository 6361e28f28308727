#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# One side-by-side run of the folder library against the usual tools and a durable copy, on a folder of
# 1000 files of 4 KiB and 4 files of 256 MiB that sits in the page cache. Prints a table with ratios;
# nothing here is asserted anywhere.
#   bench/run_folder_bench.sh [work folder]      (MIVEX_BENCH_BIG_MIB=256 sets the size of the big files)
# The peers need: MIVEX_BENCH_PEERS=1 scripts/deps.sh (age 7zip time).
# With MIVEX_BENCH_FILES="1000 10000 50000 …" it prints the scale table of small files instead
# (bench/run_folder_scale.sh).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
if [[ -n "${MIVEX_BENCH_FILES:-}" ]]; then exec "$root/bench/run_folder_scale.sh" "$@"; fi
build="${MIVEX_BUILD_DIR:-$root/build}"
big_mib="${MIVEX_BENCH_BIG_MIB:-256}"
work="${1:-${TMPDIR:-/tmp}/mivex-folder-bench}"
pass="bench-passphrase"

cmake --build "$build" --target folder_bench engine_bench -j "$(nproc)" >/dev/null
bench="$build/bench/folder_bench"
mkdir -p "$work"
work="$(cd "$work" && pwd)"
trap 'rm -rf "$work"' EXIT
src="$work/slozka"
mkdir -p "$src"
for i in $(seq -w 1 1000); do head -c 4096 /dev/urandom > "$src/maly-$i.bin"; done
for i in 1 2 3 4; do head -c "$((big_mib * 1024 * 1024))" /dev/urandom > "$src/velky-$i.bin"; done
cat "$src"/* > /dev/null  # into the page cache
total_mib=$(du -sm --apparent-size "$src" | cut -f1)
before=$(cd "$src" && sha256sum -- * | sha256sum)

# The file system here may be mounted with discard: blocks freed by an earlier step are trimmed in the
# background and would slow the next step down, so every step starts on a settled disk.
export MIVEX_BENCH_SETTLE="${MIVEX_BENCH_SETTLE:-3}"
source "$root/bench/measure.sh"
# The peak of the processes of a pipeline: each stage under its own /usr/bin/time.
pipe_peak() {
  local name="$1"
  rss[$name]=$(cat "$work"/rss.* | sort -n | tail -1)
  rm -f "$work"/rss.*
}
t() { /usr/bin/time -f '%M' -o "$work/rss.$1" "${@:2}"; }
export -f t
export work

# The limit: the same data made durable once, as one file.
measure "durable copy: tar, dd conv=fsync" bash -c "t 1 tar -cf - -C '$src' . | t 2 dd of='$work/copy.tar' bs=1M conv=fsync status=none"
pipe_peak "durable copy: tar, dd conv=fsync"
# What the disk itself takes for the same bytes (no page cache), and for freeing them again: a restore
# cannot finish before its key, these writes and the removal of its package, one after the other.
measure "disk alone: dd oflag=direct conv=fsync" dd if=/dev/zero of="$work/direct.bin" bs=4M count="$(( (total_mib + 3) / 4 ))" oflag=direct conv=fsync status=none
measure "removal of a package-sized file" rm -f "$work/direct.bin"

# Peers (none makes its output durable).
age-keygen -o "$work/age.key" 2>/dev/null
recipient=$(grep -o 'age1[0-9a-z]*' "$work/age.key")
measure "tar, age" bash -c "t 1 tar -cf - -C '$src' . | t 2 age -r '$recipient' -o '$work/pkg.age'"
pipe_peak "tar, age"
mkdir -p "$work/out"
measure "age -d, tar x" bash -c "t 1 age -d -i '$work/age.key' '$work/pkg.age' | t 2 tar -xf - -C '$work/out'"
pipe_peak "age -d, tar x"
# age with a passphrase pays a key derivation (scrypt) as we do; it asks on its terminal.
ask="$root/bench/tty_passphrase.py"
measure "tar, age -p" bash -c "t 1 tar -cf - -C '$src' . | t 2 '$ask' '$pass' age -p -o '$work/pkg-p.age'"
pipe_peak "tar, age -p"
mkdir -p "$work/out-p"
measure "age -d (passphrase), tar x" bash -c "t 1 '$ask' '$pass' age -d -o '$work/pkg-p.tar' '$work/pkg-p.age' && t 2 tar -xf '$work/pkg-p.tar' -C '$work/out-p'"
pipe_peak "age -d (passphrase), tar x"
rm -rf "$work/out-p" "$work/pkg-p.tar"
# The same work as ours: the result made durable and the input removed. On a copy of the folder.
cp -a "$src" "$work/peer"
measure "tar, age, sync, rm originals" bash -c "t 1 tar -cf - -C '$work/peer' . | t 2 age -r '$recipient' -o '$work/peer.age' && sync '$work/peer.age' && rm -f '$work/peer'/*"
pipe_peak "tar, age, sync, rm originals"
measure "age -d, tar x, sync, rm package" bash -c "t 1 age -d -i '$work/age.key' '$work/peer.age' | t 2 tar -xf - -C '$work/peer' && sync -f '$work/peer' && rm -f '$work/peer.age'"
pipe_peak "age -d, tar x, sync, rm package"
measure "7zz a -p -mhe=on -mx=0" 7zz a -p"$pass" -mhe=on -mx=0 "$work/a.7z" "$src/"
measure "7zz x" 7zz x -p"$pass" -y -o"$work/x" "$work/a.7z"

# The peers' results stay until the end: removing them now would trim gigabytes under our feet.
# Ours, in place and durable, the KDF at its production cost included (measured alone first: each call
# runs it once, and no peer here runs one).
measure "KDF alone (scrypt N=2^17)" "$build/bench/engine_bench" kdf "$src/maly-0001.bin" "$pass"
measure "sifrdir" "$bench" sifrdir "$src" "$pass"
[[ "$(ls -A "$src")" == "directory.cff" ]] || { echo "sifrdir left other files" >&2; exit 1; }
measure "desifrdir" "$bench" desifrdir "$src/directory.cff" "$pass"
after=$(cd "$src" && sha256sum -- * | sha256sum)
[[ "$before" == "$after" ]] || { echo "the round trip changed the files" >&2; exit 1; }

ratio() { awk -v a="$1" -v b="$2" 'BEGIN{printf "%.2f", a/b}'; }
durable=${secs["durable copy: tar, dd conv=fsync"]}
printf '\n%s MiB in %s files, %s cores (shared), %s\n\n' "$total_mib" 1004 "$(nproc)" "$(date -u '+%F %R UTC')"
printf '| operation | s | MB/s | peak MiB |\n|---|---:|---:|---:|\n'
for name in "${order[@]}"; do
  s=${secs[$name]}
  printf '| %s | %s | %s | %s |\n' "$name" "$s" "$(awk -v m="$total_mib" -v b="$s" 'BEGIN{printf "%.0f", m*1.048576/b}')" \
    "$(awk -v k="${rss[$name]}" 'BEGIN{printf "%.0f", k/1024}')"
done
printf '\n| ratio | value | goal |\n|---|---:|---|\n'
printf '| sifrdir speed / tar, age speed | %s | >= 1.0 |\n' "$(ratio "${secs["tar, age"]}" "${secs[sifrdir]}")"
printf '| sifrdir speed / tar, age, sync, rm originals speed | %s | >= 1.2 |\n' "$(ratio "${secs["tar, age, sync, rm originals"]}" "${secs[sifrdir]}")"
printf '| sifrdir speed / tar, age -p speed | %s | (beside) |\n' "$(ratio "${secs["tar, age -p"]}" "${secs[sifrdir]}")"
printf '| desifrdir speed / age -d, tar x speed | %s | >= 1.5 |\n' "$(ratio "${secs["age -d, tar x"]}" "${secs[desifrdir]}")"
printf '| desifrdir speed / age -d, tar x, sync, rm package speed | %s | >= 1.2 |\n' "$(ratio "${secs["age -d, tar x, sync, rm package"]}" "${secs[desifrdir]}")"
printf '| desifrdir speed / age -d (passphrase), tar x speed | %s | (beside) |\n' "$(ratio "${secs["age -d (passphrase), tar x"]}" "${secs[desifrdir]}")"
printf '| sifrdir speed / durable copy speed | %s | >= 0.80 |\n' "$(ratio "$durable" "${secs[sifrdir]}")"
printf '| desifrdir speed / durable copy speed | %s | >= 0.80 |\n' "$(ratio "$durable" "${secs[desifrdir]}")"
kdf=${secs["KDF alone (scrypt N=2^17)"]}
less_kdf() { awk -v a="$1" -v b="$2" -v k="$kdf" 'BEGIN{printf "%.2f", a/(b-k)}'; }
printf '| sifrdir speed / durable copy speed, KDF left out | %s | (context) |\n' "$(less_kdf "$durable" "${secs[sifrdir]}")"
printf '| desifrdir speed / durable copy speed, KDF left out | %s | (context) |\n' "$(less_kdf "$durable" "${secs[desifrdir]}")"
floor=$(awk -v k="$kdf" -v d="${secs["disk alone: dd oflag=direct conv=fsync"]}" -v r="${secs["removal of a package-sized file"]}" 'BEGIN{printf "%.3f", k+d+r}')
printf '| desifrdir floor (KDF + disk alone + removal) s | %s | (context) |\n' "$floor"
printf '| desifrdir floor speed / age -d, tar x speed | %s | (context: no restore on this disk can beat it) |\n' "$(ratio "${secs["age -d, tar x"]}" "$floor")"
printf '| sifrdir speed / 7zz a speed | %s | (beside) |\n' "$(ratio "${secs["7zz a -p -mhe=on -mx=0"]}" "${secs[sifrdir]}")"
printf '| desifrdir speed / 7zz x speed | %s | (beside) |\n' "$(ratio "${secs["7zz x"]}" "${secs[desifrdir]}")"
