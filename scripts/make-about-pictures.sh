#!/usr/bin/env bash
# Makes the about box's pictures in data/program/ (the build copies them into the program folder):
#   frmAbout_Picture1.jpg  400 x 90  the banner: a dusk-blue to teal gradient with a row of
#                                    stylised word cards and a thin light rule along its foot
#   frmAbout_Picture2.jpg   80 x 80  the emblem: an open book under a small star on a warm ground
set -euo pipefail
cd "$(dirname "$0")/.."
out=data/program

convert -size 400x90 -define gradient:angle=90 gradient:'#23395d-#2a9d8f' \
  -fill 'rgba(255,255,255,0.85)' -stroke none \
  -draw "roundrectangle 24,22 70,68 6,6" -draw "roundrectangle 80,22 126,68 6,6" \
  -draw "roundrectangle 136,22 182,68 6,6" \
  -fill '#23395d' -draw "rectangle 34,40 60,44" -draw "rectangle 90,36 116,40" -draw "rectangle 90,46 110,50" \
  -draw "rectangle 146,40 172,44" \
  -fill 'rgba(255,255,255,0.6)' -draw "rectangle 0,84 399,85" \
  -quality 92 -strip "$out/frmAbout_Picture1.jpg"

convert -size 80x80 radial-gradient:'#ffe3a3-#f4a259' \
  -fill white -stroke '#8c4a12' -strokewidth 2 \
  -draw "polygon 12,34 40,42 40,68 12,60" -draw "polygon 68,34 40,42 40,68 68,60" \
  -stroke '#c98a4b' -strokewidth 1 \
  -draw "line 18,42 34,46" -draw "line 18,48 34,52" -draw "line 46,46 62,42" -draw "line 46,52 62,48" \
  -fill '#8c4a12' -stroke none \
  -draw "polygon 40,8 43,17 52,17 45,22 48,31 40,26 32,31 35,22 28,17 37,17" \
  -quality 92 -strip "$out/frmAbout_Picture2.jpg"
