#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the program's own pictures with ImageMagick: toolbar buttons and window backgrounds; renders the
# application and package icons from their SVG drawings (resources/icons/*.svg) with rsvg-convert.
# The results are committed under resources/; run this again only to change a picture.
set -euo pipefail
out="$(cd "$(dirname "$0")/.." && pwd)/resources"
mkdir -p "$out/toolbar"

paper='fill #ffffff stroke #4a5a6a stroke-width 1 path "M 4,2 L 13,2 L 18,7 L 18,21 L 4,21 Z"'
fold='fill #d8e0e8 stroke #4a5a6a stroke-width 1 path "M 13,2 L 13,7 L 18,7"'
folder='fill #f2c14e stroke #8a6a1a stroke-width 1 path "M 2,6 L 8,6 L 10,8 L 21,8 L 21,20 L 2,20 Z"'
lock_closed='fill none stroke #6a4a00 stroke-width 2 path "M 14,15 L 14,12 A 3,3 0 0 1 20,12 L 20,15" fill #e8a800 stroke #6a4a00 stroke-width 1 rectangle 12,15 22,22'
lock_open='fill none stroke #1a5a1a stroke-width 2 path "M 14,15 L 14,11 A 3,3 0 0 1 20,11" fill #3aa83a stroke #1a5a1a stroke-width 1 rectangle 12,15 22,22'
badge() { echo "fill $2 stroke none font DejaVu-Sans-Bold font-size 9 text $3 \"$1\""; }

icon() {  # name, draw primitives...
  local name="$1"; shift
  local args=()
  for d in "$@"; do args+=(-draw "$d"); done
  convert -size 24x24 xc:none "${args[@]}" "$out/toolbar/$name.png"
}

icon open-file "$paper" "$fold"
icon open-folder "$folder"
icon open-package "$folder" "$lock_closed"
icon users 'fill #3a7ab8 stroke #1a3a5a circle 8,8 8,4 circle 16,8 16,4' \
  'fill #3a7ab8 stroke #1a3a5a path "M 1,21 Q 8,10 15,21 Z" path "M 9,21 Q 16,10 23,21 Z"'
person='fill #3a7ab8 stroke #1a3a5a circle 10,7 10,3 path "M 2,21 Q 10,8 18,21 Z"'
icon user-add "$person" 'fill #2a9a2a stroke none rectangle 15,14 23,17 rectangle 17,12 20,19'
icon user-remove "$person" 'fill #c01010 stroke none rectangle 15,14 23,17'
icon login 'fill #e8a800 stroke #6a4a00 stroke-width 1 circle 7,12 7,7 rectangle 11,11 22,14 rectangle 18,14 20,18' \
  'fill #ffffff stroke #6a4a00 circle 6,12 6,10' 'fill #2a9a2a stroke none path "M 13,3 L 21,3 L 21,1 L 24,5 L 21,9 L 21,7 L 13,7 Z"'
icon encrypt "$paper" "$fold" "$lock_closed"
icon encrypt-static "$paper" "$fold" "$lock_closed" "$(badge S '#005a9a' '3,13')"
icon destroy "$paper" "$fold" 'stroke #c01010 stroke-width 3 line 6,6 18,18 line 18,6 6,18'
icon decrypt "$paper" "$fold" "$lock_open"
icon decrypt-static "$paper" "$fold" "$lock_open" "$(badge S '#005a9a' '3,13')"
icon encrypt-folder "$folder" "$lock_closed"
icon decrypt-folder "$folder" "$lock_open"
for base in 104 105 106 201; do
  icon "base-$base" "$paper" "$fold" "$lock_open" "fill #7a2a8a stroke none font DejaVu-Sans-Bold font-size 7 text 3,11 \"$base\""
done
icon fingerprint "$paper" "$fold" 'fill #008080 stroke none font DejaVu-Sans-Bold font-size 13 text 5,18 "#"'
icon key 'fill #e8a800 stroke #6a4a00 stroke-width 1 circle 7,12 7,7 rectangle 11,11 22,14 rectangle 18,14 20,18 rectangle 14,14 16,17' \
  'fill #ffffff stroke #6a4a00 circle 6,12 6,10'
icon support 'fill #008080 stroke #004a4a circle 12,12 12,2' 'fill #ffffff stroke none font DejaVu-Sans-Bold font-size 15 text 7,18 "?"'
icon about 'fill #3a7ab8 stroke #1a3a5a circle 12,12 12,2' 'fill #ffffff stroke none font DejaVu-Serif-Bold font-size 15 text 9,18 "i"'

# The icon theme's sizes of the application icon (also compiled into the program) and of the package icon.
for name in mivex2 package; do
  for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" "$out/icons/$name.svg" -o "$out/icons/$name-$size.png"
  done
done

# Window backgrounds: a calm teal wash with a faint diagonal grain, so the bold teal labels stay readable.
wash() {  # width height output [extra draw]
  convert -size "$1x$2" gradient:'#f4fbfb'-'#c6e4e4' \
    \( -size "$1x$2" xc:none -fill '#ffffff30' -draw "path 'M 0,$2 L $1,0 L $1,$(( $2 / 3 )) L $(( $1 / 3 )),$2 Z'" \) \
    -composite "${@:4}" -quality 88 "$3"
}
wash 540 243 "$out/main-background.jpg"
wash 640 480 "$out/window-background.jpg"
# The about window writes the version under the name itself (TForm10), so the picture holds no version.
wash 425 218 "$out/about-background.jpg" \
  -fill '#008080' -font DejaVu-Sans-Bold -pointsize 34 -annotate +18+64 'Mivex 2' \
  -draw "image over 28,110 96,96 '$out/icons/package-128.png'"

# The package icon the shell association names.
convert "$out/icons/package-16.png" "$out/icons/package-32.png" "$out/icons/package-48.png" \
  "$out/icons/package-256.png" "$out/slozkamivex2.ico"
# The application icon of the Windows program file, its Start menu entry and its setup program.
convert "$out/icons/mivex2-16.png" "$out/icons/mivex2-24.png" "$out/icons/mivex2-32.png" "$out/icons/mivex2-48.png" \
  "$out/icons/mivex2-256.png" "$out/mivex2.ico"
