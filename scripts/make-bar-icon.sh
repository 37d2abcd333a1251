#!/usr/bin/env bash
# Makes the word bar's icon, data/program/SkolvaneBar.png (the tray icon and the bar's window
# icon): a 64 x 64 teal tile holding a small white word bar with "Ab" on it and a red progress
# marker beneath, as the bar itself looks. Needs ImageMagick and the DejaVu fonts.
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
