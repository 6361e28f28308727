#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plays a scene with the program under a virtual X display with a window manager (openbox) and saves a PNG
# of the screen. The program runs from a private copy, where a throwaway user "eva" is added through the
# user manager and logs in; everything is driven by keyboard and mouse (xdotool).
#   scripts/scenes.sh long out.png BIG_FILE   a keyed encryption of BIG_FILE (a few GiB), taken while it runs
#   scripts/scenes.sh stop out.png BIG_FILE   a keyed encryption of BIG_FILE (a few GiB) taken while it runs (step,
#                                             bar, time left, Zrušit), then stopped with Esc (out-cancelled.png)
#   scripts/scenes.sh manager out.png         the user manager minimised (out-gone.png), then brought back
#   scripts/scenes.sh above out.png           the key generator, still above the main window after a click into it
#   MIVEX_DARK=1 scripts/scenes.sh dark out.png FILE   the key group and the key generator under a dark desktop palette
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MIVEX_BUILD_DIR:-$root/build}"
scene="$1"; out="$(realpath -m "$2")"; shift 2
[ -x "$build/app/mivex2" ] || { echo "build the program first: scripts/build.sh mivex2" >&2; exit 1; }

work="$(mktemp -d)"; trap 'rm -rf "$work"' EXIT
cp "$build/app/mivex2" "$build/app/slozkamivex2.ico" "$work/"
export XDG_DATA_HOME="$work/share" XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config"
mkdir -m 0700 "$XDG_RUNTIME_DIR"; mkdir -p "$XDG_CONFIG_HOME"
export QTWEBENGINE_DISABLE_SANDBOX=1 QT_LOGGING_RULES="qt.webenginecontext.info=false" QT_QPA_PLATFORM=xcb
if [ "${MIVEX_DARK:-0}" = 1 ]; then
  # Qt's own KDE theme reads the desktop's colours from kdeglobals.
  export XDG_CURRENT_DESKTOP=KDE KDE_SESSION_VERSION=5
  printf '%s\n' '[Colors:Window]' 'BackgroundNormal=42,46,50' 'ForegroundNormal=230,230,230' \
    '[Colors:View]' 'BackgroundNormal=30,32,35' 'ForegroundNormal=235,235,235' \
    '[Colors:Button]' 'BackgroundNormal=55,60,65' 'ForegroundNormal=235,235,235' \
    '[Colors:Selection]' 'BackgroundNormal=61,174,233' 'ForegroundNormal=255,255,255' > "$XDG_CONFIG_HOME/kdeglobals"
fi

xvfb-run -a -s "-screen 0 1024x640x24" bash -s "$work/mivex2" "$scene" "$out" "$@" <<'PLAY'
program="$1"; scene="$2"; out="$3"; shift 3
openbox >/dev/null 2>&1 & wm=$!
sleep 1
"$program" "$@" >/dev/null 2>&1 & app=$!
sleep 3
win() { xdotool search --sync --onlyvisible --name "$1" | head -1; }
shot() { import -window root "$1"; }
# The user manager's button on the login window, its "add" button, name and password in the input boxes.
login=$(win "Příhlášení"); xdotool mousemove --window "$login" 268 22 click 1; sleep 1
mgr=$(win "Manažer uživatelů"); xdotool windowactivate --sync "$mgr"; sleep 0.5
xdotool mousemove --window "$mgr" 20 14 click 1; sleep 1
xdotool type --delay 50 "eva"; xdotool key Return; sleep 0.7
xdotool type --delay 50 "heslo"; xdotool key Return; sleep 0.7
xdotool type --delay 50 "heslo"; xdotool key Return; sleep 1.5  # typed again
login=$(win "Příhlášení"); xdotool windowactivate --sync "$login"; sleep 0.3
xdotool mousemove --window "$login" 150 22 click 1
xdotool type --delay 50 "eva"; xdotool key Tab; xdotool type --delay 50 "heslo"; xdotool key Return; sleep 1.5
mgr=$(win "Manažer uživatelů"); xdotool windowactivate --sync "$mgr"; xdotool key alt+F4; sleep 0.7
main=$(win "Mivex 2"); xdotool windowactivate --sync "$main"; sleep 0.5
keyedEncryption() {  # Šifrování > Šifrovat > Šifrování se zadáním klíče > Soubor, by the mnemonics
  xdotool key alt+f; sleep 0.5; xdotool key f; sleep 0.4; xdotool key z; sleep 0.4; xdotool key s; sleep 0.5
}
keyGenerator() { xdotool key alt+t; sleep 0.4; xdotool key g; sleep 1; }
case "$scene" in
  long)
    keyedEncryption
    xdotool type --delay 30 "klic"; xdotool key Return; sleep 1
    # The whole file's fingerprint comes first, then the fast question, answered No.
    question=$(win "Otázka"); xdotool windowactivate --sync "$question"; sleep 0.3; xdotool key Escape
    sleep "${MIVEX_SHOT_AFTER:-4}"
    xdotool mousemove --window "$main" 12 40 click 1; sleep 1  # "Otevřít soubor": dropped while it runs
    shot "$out" ;;
  stop)
    keyedEncryption
    xdotool type --delay 30 "klic"; xdotool key Return; sleep 1
    question=$(win "Otázka"); xdotool windowactivate --sync "$question"; sleep 0.3; xdotool key Escape
    sleep "${MIVEX_SHOT_AFTER:-6}"  # past the 3 s after which the time left shows
    shot "$out"
    xdotool windowactivate --sync "$main"; xdotool key Escape; sleep 2
    shot "${out%.png}-cancelled.png" ;;
  manager)
    xdotool key alt+u; sleep 0.4; xdotool key m; sleep 1
    mgr=$(win "Manažer uživatelů"); xdotool windowminimize "$mgr"; sleep 1
    shot "${out%.png}-gone.png"
    xdotool windowactivate --sync "$main"; sleep 0.3
    xdotool key alt+u; sleep 0.4; xdotool key m; sleep 1
    shot "$out" ;;
  above)
    keyGenerator
    xdotool mousemove --window "$main" 100 200 click 1; sleep 1
    shot "$out" ;;
  dark)
    keyedEncryption; xdotool type --delay 30 "klic"; sleep 0.3
    keyGenerator; xdotool key Return; sleep 0.5
    shot "$out" ;;
esac
kill "$app" "$wm" 2>/dev/null; wait 2>/dev/null; true
PLAY
echo "$out"
