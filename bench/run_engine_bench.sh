#!/usr/bin/env bash
# One side-by-side run of the engine against the durable-rewrite limit and the usual tools, on one file that
# sits in the page cache. Prints a table with ratios; nothing here is asserted anywhere.
#   bench/run_engine_bench.sh [folder]      (MIVEX_BENCH_MIB=1024 sets the file size)
# The peers need: MIVEX_BENCH_PEERS=1 scripts/deps.sh (age 7zip gpg openssl time).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MIVEX_BUILD_DIR:-$root/build}"
mib="${MIVEX_BENCH_MIB:-1024}"
work="${1:-${TMPDIR:-/tmp}/mivex-bench}"
pass="bench-passphrase"

cmake --build "$build" --target engine_bench -j "$(nproc)" >/dev/null
bench="$build/bench/engine_bench"
mkdir -p "$work"
work="$(cd "$work" && pwd)"
trap 'rm -rf "$work"' EXIT
cd "$work"
f="$work/data.bin"
head -c "$((mib * 1024 * 1024))" /dev/urandom > "$f"
cat "$f" > /dev/null  # into the page cache

source "$root/bench/measure.sh"

# The limit of a durable in-place rewrite, and a plain copy.
measure "dd conv=fsync + mv" sh -c "dd if='$f' of='$f.tmp' bs=1M conv=fsync status=none && mv '$f.tmp' '$f'"
measure "cp (no fsync)" cp "$f" "$f.copy"; rm -f "$f.copy"

# Peers (none of them makes its output durable).
export GNUPGHOME="$work/gnupg"; mkdir -p -m 700 "$GNUPGHOME"
age-keygen -o "$work/age.key" 2>/dev/null
recipient=$(grep -o 'age1[0-9a-z]*' "$work/age.key")
measure "age encrypt (X25519)" age -r "$recipient" -o "$f.age" "$f"
measure "age decrypt" age -d -i "$work/age.key" -o "$f.out" "$f.age"; rm -f "$f.age" "$f.out"
measure "7zz a -mhe=on -mx=0" 7zz a -p"$pass" -mhe=on -mx=0 "$work/a.7z" "$f"
measure "7zz x" 7zz x -p"$pass" -y -o"$work/x" "$work/a.7z"; rm -rf "$work/a.7z" "$work/x"
measure "gpg --symmetric AES256" gpg --batch --yes --pinentry-mode loopback --passphrase "$pass" --symmetric \
  --cipher-algo AES256 --compress-algo none -o "$f.gpg" "$f"
measure "gpg --decrypt" gpg --batch --yes --pinentry-mode loopback --passphrase "$pass" -d -o "$f.out" "$f.gpg"
rm -f "$f.gpg" "$f.out"
measure "openssl enc -aes-256-ctr" openssl enc -aes-256-ctr -pbkdf2 -pass pass:"$pass" -in "$f" -out "$f.enc"
measure "openssl enc -d" openssl enc -d -aes-256-ctr -pbkdf2 -pass pass:"$pass" -in "$f.enc" -out "$f.out"
rm -f "$f.enc" "$f.out"
measure "openssl dgst -sha256" openssl dgst -sha256 "$f"
measure "sha256sum" sha256sum "$f"

# Ours (each in place, with fsync, the KDF at its production cost included).
measure "KDF (scrypt N=2^17, r=8, p=1)" "$bench" kdf "$f" "$pass"
measure "hash" "$bench" hash "$f"
measure "sifrovat" "$bench" sifrovat "$f" "$pass"
measure "desifrovat" "$bench" desifrovat "$f" "$pass"
measure "fastsifrovat" "$bench" fastsifrovat "$f" "$pass"
measure "fastdesifrovat" "$bench" fastdesifrovat "$f" "$pass"
measure "keyed: hash, flag, sifrovat" "$bench" keyed-encrypt "$f" "$pass"
measure "keyed: passcheck, desifrovat, unflag, hash" "$bench" keyed-decrypt "$f" "$pass"
measure "keyed: hash, flag, fastsifrovat" "$bench" fast-keyed-encrypt "$f" "$pass"
measure "keyed: passcheck, fastdesifrovat, unflag, hash" "$bench" fast-keyed-decrypt "$f" "$pass"

limit=${secs["dd conv=fsync + mv"]}
dgst=${secs["openssl dgst -sha256"]}
age=${secs["age encrypt (X25519)"]}
printf '\n%s MiB file, %s cores (shared), %s\n\n' "$mib" "$(nproc)" "$(date -u '+%F %R UTC')"
printf '| operation | s | MB/s | peak MiB | ratio | against |\n|---|---:|---:|---:|---:|---|\n'
for name in "${order[@]}"; do
  s=${secs[$name]}
  case "$name" in
    KDF*) ratio="-"; against="" ;;
    hash|sha256sum|"openssl dgst -sha256") ratio=$(awk -v a="$dgst" -v b="$s" 'BEGIN{printf "%.2f", a/b}'); against="openssl dgst speed (goal for hash >= 0.90)" ;;
    keyed:*) ratio=$(awk -v a="$age" -v b="$s" 'BEGIN{printf "%.2f", b/a}'); against="time / age encrypt (goal <= 1.5)" ;;
    fast*) ratio=$(awk -v a="$limit" -v b="$s" 'BEGIN{printf "%.2f", a/b}'); against="durable-rewrite speed (goal >= 0.85)" ;;
    sifrovat|desifrovat) ratio=$(awk -v a="$limit" -v b="$s" 'BEGIN{printf "%.2f", a/b}'); against="durable-rewrite speed (goal >= 0.70)" ;;
    *) ratio=$(awk -v a="$limit" -v b="$s" 'BEGIN{printf "%.2f", a/b}'); against="durable-rewrite speed" ;;
  esac
  mbs=$(awk -v m="$mib" -v b="$s" 'BEGIN{ if (b > 0) printf "%.0f", m*1.048576/b; else print "-" }')
  [[ "$name" == KDF* ]] && mbs="-"
  printf '| %s | %s | %s | %s | %s | %s |\n' "$name" "$s" "$mbs" "$(awk -v k="${rss[$name]}" 'BEGIN{printf "%.0f", k/1024}')" "$ratio" "$against"
done
