#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# One side-by-side run of the engine against the durable-rewrite limit and the usual tools, on one file that
# sits in the page cache. Prints a table with ratios; nothing here is asserted anywhere.
#   bench/run_engine_bench.sh [folder]      (MIVEX_BENCH_MIB=1024 sets the file size)
# MIVEX_ENGINE_BENCH=<engine_bench binary> measures that program instead of building one (an earlier version).
# Every figure is the median of MIVEX_BENCH_REPS (3) rounds, because the disk is shared and fsync times vary.
# The peers need: MIVEX_BENCH_PEERS=1 scripts/deps.sh (age 7zip gpg openssl time).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MIVEX_BUILD_DIR:-$root/build}"
mib="${MIVEX_BENCH_MIB:-1024}"
reps="${MIVEX_BENCH_REPS:-3}"
work="${1:-${TMPDIR:-/tmp}/mivex-bench}"
pass="bench-passphrase"

bench="${MIVEX_ENGINE_BENCH:-}"
if [[ -z "$bench" ]]; then
  cmake --build "$build" --target engine_bench -j "$(nproc)" >/dev/null
  bench="$build/bench/engine_bench"
fi
mkdir -p "$work"
work="$(cd "$work" && pwd)"
trap 'rm -rf "$work"' EXIT
cd "$work"
f="$work/data.bin"
head -c "$((mib * 1024 * 1024))" /dev/urandom > "$f"
cat "$f" > /dev/null  # into the page cache

declare -A times rss
order=()
# measure NAME COMMAND...: wall time and peak resident memory of one run.
measure() {
  local name="$1"; shift
  sync
  local t0 t1
  t0=$(date +%s%N)
  /usr/bin/time -f '%M' -o "$work/rss" "$@" >/dev/null 2>"$work/err" || { cat "$work/err" >&2; echo "$name failed" >&2; exit 1; }
  t1=$(date +%s%N)
  [[ -v "times[$name]" ]] || order+=("$name")
  times[$name]+=" $(awk -v a="$t0" -v b="$t1" 'BEGIN{printf "%.3f", (b-a)/1e9}')"
  local kib; kib=$(tail -1 "$work/rss")
  if [[ ! -v "rss[$name]" ]] || (( kib > ${rss[$name]} )); then rss[$name]=$kib; fi
}

export GNUPGHOME="$work/gnupg"; mkdir -p -m 700 "$GNUPGHOME"
age-keygen -o "$work/age.key" 2>/dev/null
recipient=$(grep -o 'age1[0-9a-z]*' "$work/age.key")

round() {
  # The limit of a durable in-place rewrite, and a plain copy.
  measure "dd conv=fsync + mv" sh -c "dd if='$f' of='$f.tmp' bs=1M conv=fsync status=none && mv '$f.tmp' '$f'"
  measure "cp (no fsync)" cp "$f" "$f.copy"; rm -f "$f.copy"

  # Peers (none of them makes its output durable).
  measure "age encrypt (X25519)" age -r "$recipient" -o "$f.age" "$f"
  measure "age decrypt" age -d -i "$work/age.key" -o "$f.out" "$f.age"; rm -f "$f.age" "$f.out"
  # age with a passphrase pays a key derivation (scrypt) as we do; it asks on its terminal.
  measure "age -p encrypt (scrypt)" "$root/bench/tty_passphrase.py" "$pass" age -p -o "$f.age" "$f"
  measure "age -p decrypt" "$root/bench/tty_passphrase.py" "$pass" age -d -o "$f.out" "$f.age"; rm -f "$f.age" "$f.out"
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
  measure "keyed: prepareKey, hash, flag, sifrovat" "$bench" keyed-encrypt "$f" "$pass"
  measure "keyed: passcheck, desifrovat, unflag, hash" "$bench" keyed-decrypt "$f" "$pass"
  measure "keyed: prepareKey, hash, flag, fastsifrovat" "$bench" fast-keyed-encrypt "$f" "$pass"
  measure "keyed: passcheck, fastdesifrovat, unflag, hash" "$bench" fast-keyed-decrypt "$f" "$pass"
}

for ((i = 1; i <= reps; i++)); do round; done

declare -A secs
for name in "${order[@]}"; do
  secs[$name]=$(tr ' ' '\n' <<<"${times[$name]}" | sed '/^$/d' | sort -n | awk '{v[NR]=$1} END{print v[int((NR+1)/2)]}')
done

# The whole keyed sequence: both halves together.
for method in sifrovat fastsifrovat; do
  dec=${method/sifrovat/desifrovat}
  enc_name="keyed: prepareKey, hash, flag, $method"
  dec_name="keyed: passcheck, $dec, unflag, hash"
  total="keyed total: $method + $dec"
  secs[$total]=$(awk -v a="${secs[$enc_name]}" -v b="${secs[$dec_name]}" 'BEGIN{printf "%.3f", a+b}')
  rss[$total]=$(( ${rss[$enc_name]} > ${rss[$dec_name]} ? ${rss[$enc_name]} : ${rss[$dec_name]} ))
  order+=("$total")
done

limit=${secs["dd conv=fsync + mv"]}
dgst=${secs["openssl dgst -sha256"]}
age=${secs["age encrypt (X25519)"]}
printf '\n%s MiB file in the page cache, median of %s rounds, %s cores shared with other work, %s\n\n' \
  "$mib" "$reps" "$(nproc)" "$(date -u '+%F %R UTC')"
kdf=${secs["KDF (scrypt N=2^17, r=8, p=1)"]}
printf '| operation | s | MB/s | peak MiB | ratio | against | ratio without the KDF |\n|---|---:|---:|---:|---:|---|---:|\n'
for name in "${order[@]}"; do
  s=${secs[$name]}
  case "$name" in
    KDF*) ratio="-"; against="" ;;
    hash|sha256sum|"openssl dgst -sha256") ratio=$(awk -v a="$dgst" -v b="$s" 'BEGIN{printf "%.2f", a/b}'); against="openssl dgst speed (goal for hash >= 0.90)" ;;
    keyed*) ratio=$(awk -v a="$age" -v b="$s" 'BEGIN{printf "%.2f", b/a}'); against="time / age encrypt (goal <= 1.5)" ;;
    fast*) ratio=$(awk -v a="$limit" -v b="$s" 'BEGIN{printf "%.2f", a/b}'); against="durable-rewrite speed (goal >= 0.90)" ;;
    sifrovat|desifrovat) ratio=$(awk -v a="$limit" -v b="$s" 'BEGIN{printf "%.2f", a/b}'); against="durable-rewrite speed (goal >= 0.70)" ;;
    *) ratio=$(awk -v a="$limit" -v b="$s" 'BEGIN{printf "%.2f", a/b}'); against="durable-rewrite speed" ;;
  esac
  mbs=$(awk -v m="$mib" -v b="$s" 'BEGIN{ if (b > 0) printf "%.0f", m*1.048576/b; else print "-" }')
  [[ "$name" == KDF* ]] && mbs="-"
  # Our encryptions and decryptions include one scrypt run; this column shows the data path alone.
  plain_ratio=""
  case "$name" in
    sifrovat|desifrovat|fast*) plain_ratio=$(awk -v a="$limit" -v b="$s" -v k="$kdf" 'BEGIN{printf "%.2f", a/(b-k)}') ;;
    keyed:*) plain_ratio=$(awk -v a="$age" -v b="$s" -v k="$kdf" 'BEGIN{printf "%.2f", (b-k)/a}') ;;
    "keyed total"*) plain_ratio=$(awk -v a="$age" -v b="$s" -v k="$kdf" 'BEGIN{printf "%.2f", (b-2*k)/a}') ;;
  esac
  printf '| %s | %s | %s | %s | %s | %s | %s |\n' "$name" "$s" "$mbs" "$(awk -v k="${rss[$name]}" 'BEGIN{printf "%.0f", k/1024}')" \
    "$ratio" "$against" "$plain_ratio"
done

# The pipelines against their limits, measured in this same run (goal: at most 1.05 times the limit).
#   encryption: the longer of the fingerprint alone and one key derivation, then the encryption less its KDF
#   decryption: one key derivation (the key check), then the encryption's own work on the same file: the
#               encryption less its KDF. Decrypting writes no more than encrypting, so it should cost no more.
less() { awk -v a="$1" -v b="$2" 'BEGIN{printf "%.3f", a-b}'; }
longer() { awk -v a="$1" -v b="$2" 'BEGIN{printf "%.3f", (a>b)?a:b}'; }
# The disk's fsync time moves from round to round; a pipeline and its limit measured in the same round are
# closer than medians taken apart, so the median of the per-round ratios is shown beside.
#   round_ratio PIPELINE DIRECTION METHOD: DIRECTION enc or dec, METHOD the single operation of the limit.
round_ratio() {
  awk -v p="${times[$1]}" -v dir="$2" -v m="${times[$3]}" -v k="${times["KDF (scrypt N=2^17, r=8, p=1)"]}" \
      -v d="${times["openssl dgst -sha256"]}" 'BEGIN {
    n = split(p, pv, " "); split(m, mv, " "); split(k, kv, " "); split(d, dv, " ")
    for (i = 1; i <= n; i++) {
      if (dir == "enc") limit = (dv[i] > kv[i] ? dv[i] : kv[i]) + mv[i] - kv[i]
      else limit = kv[i] + mv[i] - kv[i]
      r[i] = pv[i] / limit
    }
    for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (r[j] < r[i]) { t = r[i]; r[i] = r[j]; r[j] = t }
    printf "%.2f", r[int((n + 1) / 2)]
  }'
}
printf '\n| pipeline | s | limit s | time / limit (goal <= 1.05) | median of per-round ratios | / age (X25519) | / age -p (scrypt) | / dd conv=fsync + mv |\n|---|---:|---:|---:|---:|---:|---:|---:|\n'
for method in sifrovat fastsifrovat; do
  dec=${method/sifrovat/desifrovat}
  enc_name="keyed: prepareKey, hash, flag, $method"
  dec_name="keyed: passcheck, $dec, unflag, hash"
  enc_limit=$(awk -v d="$(longer "$dgst" "$kdf")" -v e="$(less "${secs[$method]}" "$kdf")" 'BEGIN{printf "%.3f", d+e}')
  dec_limit=$(awk -v k="$kdf" -v e="$(less "${secs[$method]}" "$kdf")" 'BEGIN{printf "%.3f", k+e}')
  for row in "$enc_name|$enc_limit|age encrypt (X25519)|age -p encrypt (scrypt)|enc|$method" \
             "$dec_name|$dec_limit|age decrypt|age -p decrypt|dec|$method"; do
    IFS='|' read -r name lim peer ppeer direction single <<<"$row"
    s=${secs[$name]}
    printf '| %s | %s | %s | %s | %s | %s | %s | %s |\n' "$name" "$s" "$lim" "$(awk -v a="$s" -v b="$lim" 'BEGIN{printf "%.2f", a/b}')" \
      "$(round_ratio "$name" "$direction" "$single")" \
      "$(awk -v a="$s" -v b="${secs[$peer]}" 'BEGIN{printf "%.2f", a/b}')" "$(awk -v a="$s" -v b="${secs[$ppeer]}" 'BEGIN{printf "%.2f", a/b}')" \
      "$(awk -v a="$s" -v b="$limit" 'BEGIN{printf "%.2f", a/b}')"
  done
done

# Decryption against encryption of the same file, each with its own key derivation as the engine runs it
# (goal: at most 1.1). Both ratios: of the medians, and the median of the ratios within each round.
#   round_pair A B: median over the rounds of A's time / B's time.
round_pair() {
  awk -v a="${times[$1]}" -v b="${times[$2]}" 'BEGIN {
    n = split(a, av, " "); split(b, bv, " ")
    for (i = 1; i <= n; i++) r[i] = av[i] / bv[i]
    for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (r[j] < r[i]) { t = r[i]; r[i] = r[j]; r[j] = t }
    printf "%.2f", r[int((n + 1) / 2)]
  }'
}
printf '\n| decryption / encryption | s | s | ratio of medians (goal <= 1.1) | median of per-round ratios |\n|---|---:|---:|---:|---:|\n'
for pair in "desifrovat|sifrovat" "fastdesifrovat|fastsifrovat"; do
  IFS='|' read -r dec enc <<<"$pair"
  printf '| %s / %s | %s | %s | %s | %s |\n' "$dec" "$enc" "${secs[$dec]}" "${secs[$enc]}" \
    "$(awk -v a="${secs[$dec]}" -v b="${secs[$enc]}" 'BEGIN{printf "%.2f", a/b}')" "$(round_pair "$dec" "$enc")"
done
