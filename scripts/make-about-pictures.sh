#!/usr/bin/env bash
# Makes the about box's pictures in data/program/ (the build copies them into the program folder):
#   frmAbout_Picture1.jpg  400 x 90  the banner: the program's name and a line on what it does on
#                                    a dusk-blue to teal gradient, beside a small word bar showing
#                                    a word with its phonetics, meaning and progress; a thin light
#                                    rule along its foot
#   frmAbout_Picture2.jpg   80 x 80  the emblem: an open book under a small star on a warm ground
set -euo pipefail
cd "$(dirname "$0")/.."
out=data/program

convert -size 400x90 -define gradient:angle=90 gradient:'#23395d-#2a9d8f' \
  -font DejaVu-Sans-Bold -pointsize 24 -fill white -draw "text 18,38 \"Corvel's Lexorn 2\"" \
  -font DejaVu-Sans -pointsize 12 -fill '#d8f3ee' -draw "text 19,60 'a word at a time, above your work'" \
  -fill white -stroke '#1b2f4d' -strokewidth 1 -draw "roundrectangle 262,14 384,52 4,4" \
  -stroke none -fill '#23395d' -font DejaVu-Sans-Bold -pointsize 13 -draw "text 270,39 'apple'" \
  -fill '#2a9d8f' -font DejaVu-Sans -pointsize 10 -draw "text 318,30 '[ˈæpəl]'" -draw "text 318,45 'n. fruit'" \
  -fill '#e8e8e8' -draw "rectangle 262,56 384,59" -fill '#e02020' -draw "rectangle 262,56 300,59" \
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
