#!/usr/bin/env bash
# Makes the word bar's pictures in data/program/ with ImageMagick (and the DejaVu fonts):
#   SkolvaneBar.png            64 x 64  the tray icon and the bar's window icon: a teal tile holding
#                                       a small white word bar with "Ab" on it and a red progress
#                                       marker beneath, as the bar itself looks
#   SkolvaneBar_Hourglass.png  16 x 16  the hourglass the bar shows while it holds a word: two
#                                       glass bulbs in a dark frame, sand running into the lower one
#   SkolvaneBar_Logo.png       16 x 13  the logo at the left end of the bar's status row: the tray
#                                       icon's teal tile in small, its white bar and red marker, on
#                                       a clear ground that takes the status row's colour
set -euo pipefail
cd "$(dirname "$0")/.."
convert -size 64x64 xc:none \
  -fill '#1f6f8b' -draw 'roundrectangle 1,1 62,62 12,12' \
  -fill white -draw 'roundrectangle 7,17 56,43 5,5' \
  -fill '#1f6f8b' -font DejaVu-Sans-Bold -pointsize 21 -gravity center -annotate +0-2 'Ab' \
  -gravity northwest -fill '#e8e8e8' -draw 'rectangle 10,50 53,53' \
  -fill '#e02020' -draw 'rectangle 22,48 27,55' \
  -strip -define png:exclude-chunks=date,time \
  data/program/SkolvaneBar.png

convert -size 16x16 xc:none \
  -fill '#5a3a1a' -draw 'rectangle 2,0 13,1' -draw 'rectangle 2,14 13,15' \
  -fill '#dcecf5' -stroke '#5a3a1a' -strokewidth 1 \
  -draw 'polygon 3,2 12,2 12,3 8,7 8,8 12,12 12,13 3,13 3,12 7,8 7,7 3,3' \
  -stroke none -fill '#e0a030' -draw 'polygon 5,5 10,5 8,7 7,7' \
  -draw 'line 7,8 7,11' -draw 'polygon 4,12 11,12 8,10 7,10' \
  -strip -define png:exclude-chunks=date,time \
  data/program/SkolvaneBar_Hourglass.png

convert -size 16x13 xc:none \
  -fill '#1f6f8b' -draw 'roundrectangle 1,0 14,12 3,3' \
  -fill white -draw 'rectangle 3,3 12,7' \
  -fill '#e02020' -draw 'rectangle 6,9 7,10' \
  -strip -define png:exclude-chunks=date,time \
  data/program/SkolvaneBar_Logo.png
