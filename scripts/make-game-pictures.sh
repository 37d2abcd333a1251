#!/usr/bin/env bash
# Makes the card game's pictures in data/program/ (the build copies them into the program folder):
#   GameCardBack.png    209 x 186  the card back: a colourful diagonal gradient with a lattice and a frame
#   GameCardFace.png    209 x 186  the card face under the text: a pale pastel gradient with a thin frame
#   GameStartButton.png 180 x 40   the start / new-game button under its caption
#   GameBanner.png      420 x 31   the banner at the top of the game windows
#   GameCloseBox.png     21 x 21   the close box on the game window's banner
set -euo pipefail
cd "$(dirname "$0")/.."
out=data/program

# Card back: orange-to-violet gradient, a white diamond lattice, a rounded white frame.
convert -size 209x186 -define gradient:angle=135 gradient:'#ff9a3c-#7b2ff7' \
  \( -size 209x186 xc:none -stroke 'rgba(255,255,255,0.35)' -strokewidth 2 \
     -draw "path 'M 0,0 L 209,186 M 209,0 L 0,186'" \
     -draw "path 'M -93,0 L 116,186 M 93,0 L 302,186 M 116,0 L -93,186 M 302,0 L 93,186'" \) -composite \
  -fill none -stroke white -strokewidth 5 -draw "roundrectangle 6,6 202,179 14,14" \
  -fill 'rgba(255,255,255,0.85)' -stroke none -draw "circle 104,93 104,71" \
  -fill '#7b2ff7' -draw "circle 104,93 104,80" \
  -strip "$out/GameCardBack.png"

# Card face: pale cream to pale blue, a soft grey frame; the word is drawn over it.
convert -size 209x186 -define gradient:angle=160 gradient:'#fff8e7-#e3f0ff' \
  -fill none -stroke '#b8c4d6' -strokewidth 3 -draw "roundrectangle 3,3 205,182 12,12" \
  -strip "$out/GameCardFace.png"

# Start button: a green rounded pill with a light top edge.
convert -size 180x40 gradient:'#b9f6ca-#2e9d57' -colorspace sRGB -type TrueColorAlpha \
  \( -size 180x40 xc:black -fill white -draw "roundrectangle 0,0 179,39 18,18" \) \
  -alpha off -compose CopyOpacity -composite -compose Over \
  -fill none -stroke 'rgba(255,255,255,0.7)' -strokewidth 2 -draw "roundrectangle 2,2 177,37 16,16" \
  -strip "PNG32:$out/GameStartButton.png"

# Banner: deep blue to teal with two small card shapes at its left end (the game window puts
# its close box on the right end).
convert -size 420x31 -define gradient:angle=90 gradient:'#1e3c72-#2a9d8f' \
  -fill 'rgba(255,255,255,0.8)' -stroke none \
  -draw "roundrectangle 8,6 22,25 2,2" -draw "roundrectangle 26,6 40,25 2,2" \
  -strip "$out/GameBanner.png"

# Close box: a red square with a white cross.
convert -size 21x21 xc:'#d64541' -stroke white -strokewidth 3 \
  -draw "line 5,5 15,15" -draw "line 15,5 5,15" \
  -fill none -stroke '#8e2b28' -strokewidth 1 -draw "rectangle 0,0 20,20" \
  -strip "$out/GameCloseBox.png"
