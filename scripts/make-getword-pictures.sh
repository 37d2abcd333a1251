#!/usr/bin/env bash
# Makes the dictionary pop-up's pictures in data/program/ with ImageMagick, simple designs of our
# own:
#   frmGetWord.png        the window's and the tray's icon, 32 x 32: a magnifying glass over a page
#   frmGetWord_Close.png  the close button, 18 x 18: a white cross on red
set -euo pipefail
cd "$(dirname "$0")/../data/program"

convert -size 32x32 xc:none \
  -fill white -stroke '#404040' -strokewidth 1 -draw "rectangle 3,2 22,28" \
  -stroke '#8090a0' -draw "line 7,8 18,8" -draw "line 7,12 18,12" -draw "line 7,16 14,16" \
  -fill '#e8f2ff' -stroke '#1f4e8c' -strokewidth 3 -draw "circle 19,17 19,25" \
  -stroke '#1f4e8c' -strokewidth 4 -draw "line 24,23 29,29" \
  PNG32:frmGetWord.png

convert -size 18x18 xc:'#c0392b' \
  -stroke white -strokewidth 2 -draw "line 5,5 12,12" -draw "line 5,12 12,5" \
  PNG32:frmGetWord_Close.png
