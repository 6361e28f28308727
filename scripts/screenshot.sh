#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the program under a virtual X display and saves a PNG of the screen.
#   scripts/screenshot.sh [output.png] [program arguments...]
# MIVEX_SHOT_MENU=1 also opens the "Šifrování" menu before the picture is taken (needs xdotool).
# MIVEX_SHOT_CLICKS="x,y x,y": screen points clicked in turn first (needs xdotool), e.g. "726,286" for the
#   about button and "697,286" for the forum button of the main window at its own place.
# MIVEX_SHOT_DELAY: seconds to wait for the windows (default 3).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MIVEX_BUILD_DIR:-$root/build}"
out="$(realpath -m "${1:-$root/screenshot.png}")"
shift || true
[ -x "$build/app/mivex2" ] || { echo "build the program first: scripts/build.sh" >&2; exit 1; }

data="$(mktemp -d)"; trap 'rm -rf "$data"' EXIT
export XDG_DATA_HOME="$data/share" XDG_RUNTIME_DIR="$data/run"
mkdir -m 0700 "$XDG_RUNTIME_DIR"
export QTWEBENGINE_DISABLE_SANDBOX=1 QT_LOGGING_RULES="qt.webenginecontext.info=false" QT_QPA_PLATFORM=xcb

xvfb-run -a -s "-screen 0 1024x640x24" bash -c '
  "$0" "${@:2}" & app=$!
  sleep "${MIVEX_SHOT_DELAY:-3}"
  for point in ${MIVEX_SHOT_CLICKS:-}; do
    xdotool mousemove "${point%,*}" "${point#*,}" click 1; sleep "${MIVEX_SHOT_DELAY:-3}"
  done
  if [ "${MIVEX_SHOT_MENU:-0}" = 1 ] && command -v xdotool >/dev/null; then
    # Without a window manager the main window sits at its own place (229, 250) with no title bar.
    xdotool mousemove 392 258 click 1; sleep 0.6
    xdotool mousemove 410 283; sleep 0.6
    xdotool mousemove 520 283; sleep 0.8
  fi
  import -window root "$1"
  kill "$app"; wait "$app" 2>/dev/null || true
' "$build/app/mivex2" "$out" "$@"
echo "$out"
