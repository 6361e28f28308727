# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced: the Windows program's windows under Wine, driven with xdotool as scripts/test-package drives the
# Linux ones. Every step waits for the window it needs by its name; the sourcing script's fail() is called
# with that name when it does not come. Needs DISPLAY with a window manager (openbox).

window() {  # name pattern: prints the id of a visible window whose name matches
  for _ in $(seq 300); do
    xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 && return 0
    sleep 0.2
  done
  fail "no window \"$1\""
}
gone() {
  for _ in $(seq 300); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.2
  done
  fail "the window \"$1\" stays"
}
# A click at a point of a window's client area. Wine draws the frame of the tool windows (login, user manager)
# itself, inside their X window: 4 pixels beside, 20 above.
click() { xdotool mousemove --window "$1" $(($2 + 4)) $(($3 + 20)) click 1; sleep 0.5; }
typeInto() { xdotool windowactivate --sync "$1" 2>/dev/null || true; xdotool type --delay 30 "$2"; }
# A key pressed in a window, once it has the keyboard.
keyInto() { xdotool windowactivate --sync "$1" 2>/dev/null || true; xdotool key "$2"; }
# An entry of the main window's menu by the mnemonics of its path: Alt and the menu bar's letter, then each
# popup, waited for by its title (Qt gives it the menu's caption), and the letter of its entry.
menu() {  # main window, menu bar letter, then title and letter of each popup in turn
  local main="$1"; shift
  keyInto "$main" "alt+$1"; shift
  while [ $# -gt 0 ]; do
    window "^$1\$" >/dev/null
    xdotool key "$2"; shift 2
  done
}

login_window='do programu Mivex 2$'
main_window='^Mivex 2 '
# A new user added through the user manager from the login window; the user manager's question for the
# password comes twice. The caller waits for the user's data.adb before logging in: until it is written, the
# login window still shows the old list.
add_user() {  # name, password
  local login manager asked
  login="$(window "$login_window")"
  click "$login" 268 22
  manager="$(window '^Manažer uživatelů$')"
  click "$manager" 26 14
  asked="$(window '^Zadejte jméno uživatele$')"
  typeInto "$asked" "$1"; xdotool key Return
  asked="$(window '^Zadejte heslo$')"
  typeInto "$asked" "$2"; xdotool key Return
  asked="$(window '^Zadejte heslo znovu$')"
  typeInto "$asked" "$2"; xdotool key Return
  gone '^Zadejte heslo znovu$'
}
log_in() {  # name, password: at the login window each start opens with
  local login; login="$(window "$login_window")"
  click "$login" 150 22; typeInto "$login" "$1"
  click "$login" 150 56; typeInto "$login" "$2"
  click "$login" 268 56
  gone "$login_window"
}
# The file a user's data.adb appears in, waited for (making the user's key takes a while).
wait_for_file() {  # Unix path
  for _ in $(seq 600); do
    [ -f "$1" ] && return 0
    sleep 0.2
  done
  fail "no $1"
}
