#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Time from process start to the main window shown (mapped on the X display), median of N runs, under Xvfb.
#   scripts/startup-time.sh [runs] [program arguments...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MIVEX_BUILD_DIR:-$root/build}"
runs="${1:-7}"; shift || true
data="$(mktemp -d)"; trap 'rm -rf "$data"' EXIT
export XDG_DATA_HOME="$data/share" XDG_RUNTIME_DIR="$data/run"
mkdir -m 0700 "$XDG_RUNTIME_DIR"
export QTWEBENGINE_DISABLE_SANDBOX=1 QT_LOGGING_RULES="qt.webenginecontext.info=false" QT_QPA_PLATFORM=xcb

xvfb-run -a -s "-screen 0 1024x640x24" bash -c '
  program="$1"; runs="$2"; shift 2
  for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    "$program" "$@" & app=$!
    # xdotool --sync polls only twice a second; a tight loop of single queries is finer.
    until xdotool search --onlyvisible --name "^Mivex 2 \(2\.0\.1BETA\)$" >/dev/null 2>&1; do
      kill -0 "$app" 2>/dev/null || { echo "the program ended before its window showed" >&2; exit 1; }
    done
    end=$(date +%s%N)
    kill "$app"; wait "$app" 2>/dev/null || true
    echo $(( (end - start) / 1000000 ))
  done | sort -n | awk "{ t[NR] = \$1 } END { printf \"runs %d, median %d ms, min %d ms, max %d ms\n\", NR, t[int((NR + 1) / 2)], t[1], t[NR] }"
' _ "$build/app/mivex2" "$runs" "$@"
