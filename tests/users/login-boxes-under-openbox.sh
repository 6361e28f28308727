#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Looks at the login and its boxes as a user meets them on a desktop with a window manager (Xvfb and
# openbox), where the offscreen platform of the window tests cannot tell stacking, minimising or where the
# keyboard goes. Not run by ctest: it waits for real windows. Prints which window has the keyboard after
# each step and saves screenshots to the folder given (default: a new temporary folder).
#   tests/users/login-boxes-under-openbox.sh [screenshot-folder]
# Needs xvfb, openbox, xdotool, x11-utils and imagemagick; the program built in build/ (or $MIVEX_BUILD_DIR).
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${MIVEX_BUILD_DIR:-$root/build}"
[ -x "$build/app/mivex2" ] || { echo "build the program first: scripts/build.sh mivex2" >&2; exit 1; }
out="$(realpath -m "${1:-$(mktemp -d)}")"; mkdir -p "$out"
work="$(mktemp -d)"; trap 'rm -rf "$work"' EXIT
# The program keeps data.adb beside itself: a copy of it gets a database of its own.
cp "$build/app/mivex2" "$work/"
export XDG_DATA_HOME="$work/share" XDG_RUNTIME_DIR="$work/run"
mkdir -m 0700 "$XDG_RUNTIME_DIR"
export QTWEBENGINE_DISABLE_SANDBOX=1 QT_LOGGING_RULES="qt.webenginecontext.info=false" QT_QPA_PLATFORM=xcb

xvfb-run -a -s "-screen 0 1024x640x24" bash -c '
  set -u
  program=$0 out=$1
  openbox 2>/dev/null & wm=$!; sleep 1
  "$program" & app=$!; sleep 4
  logIn() { xdotool key ctrl+a; xdotool type --delay 30 "$1"; xdotool key Tab ctrl+a; xdotool type "$2"; xdotool key Return; }
  step() { sleep 1.5; echo "$1: keyboard in \"$(xdotool getwindowfocus getwindowname)\""; import -window root "$out/$1.png"; }
  login=$(xdotool search --name "programu Mivex" | head -1)
  main=$(xdotool search --name "^Mivex 2 \(" | head -1)

  logIn nikdo nic
  step 01-failed-login-box
  xdotool key Return; xdotool type --delay 30 "Eva"; step 02-after-ok-typed-into-login

  xdotool windowminimize "$login"; step 03-login-minimised
  xdotool windowminimize "$main"; sleep 1; xdotool windowactivate "$main"; step 04-main-restored
  xdotool mousemove 500 450 click 1; step 05-click-on-disabled-main

  xdotool mousemove 632 321 click 1; sleep 1.5          # the user manager, from the login window
  xdotool mousemove 29 34 click 1; step 06-name-box     # its add button
  xdotool type --delay 30 "a#b"; xdotool key Return; step 07-name-refused
  xdotool key Return; step 08-after-refusal
  xdotool mousemove 29 34 click 1; sleep 1.5
  xdotool type --delay 30 "Eva"; xdotool key Return; step 09-password-box
  xdotool type --delay 30 "heslo"; xdotool key Return; sleep 1.5
  xdotool type --delay 30 "heslo"; xdotool key Return; step 10-user-added
  chmod 444 "$(dirname "$program")/data.adb"
  xdotool mousemove 29 34 click 1; sleep 1.5
  xdotool type --delay 30 "Petr"; xdotool key Return; sleep 1.5; xdotool type "p"; xdotool key Return
  sleep 1.5; xdotool type "p"; xdotool key Return
  step 11-unable-to-write
  xdotool key Return; step 12-after-error
  chmod 644 "$(dirname "$program")/data.adb"

  logIn Eva heslo
  step 13-logged-in
  xdotool mousemove 670 303 click 1; step 14-key-generator-open
  xdotool mousemove 321 303 click 1; sleep 1.5           # the user manager, from the main window
  xdotool mousemove 29 34 click 1; sleep 1.5
  xdotool type --delay 30 "Jan"; xdotool key Return; sleep 1.5; xdotool type "j"; xdotool key Return
  sleep 1.5; xdotool type "j"; xdotool key Return
  step 15-logged-out-again
  logIn Jan j
  step 16-logged-in-again
  kill $app $wm
' "$work/mivex2" "$out"
echo "screenshots in $out"
