#!/usr/bin/env bash
# Draws the picture folder of the sample library English-Chinese.abc with ImageMagick: its cover
# "00.Cover.jpg" and the pictures of a few words, each 432 x 48 pixels (the bar's default width),
# a simple drawing on the left and the word beside it.
# Usage: scripts/make-sample-pictures.sh   (writes data/samples/English-Chinese.JPG/)
set -euo pipefail
cd "$(dirname "$0")/.."
out=data/samples/English-Chinese.JPG
mkdir -p "$out"
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
size=432x48

# word, background, drawing (ImageMagick -draw primitives in the left 48 x 48 square)
pictures=(
  "apple|#fdecea|fill #d62828 circle 24,27 24,12 fill #2a9d3f ellipse 30,10 6,3 0,360"
  "banana|#fff8dc|fill none stroke #e9c400 stroke-width 6 ellipse 24,8 17,26 30,150"
  "orange|#fff1e0|fill #f77f00 circle 24,24 24,9 fill #ffb347 circle 19,19 19,16"
  "water|#e6f3ff|fill #1d78d6 path 'M 24,6 C 34,20 38,26 38,31 A 14,14 0 0 1 10,31 C 10,26 14,20 24,6 Z'"
  "book|#f3ece2|fill #8b4513 rectangle 8,8 40,40 fill #f5f5dc rectangle 12,11 38,37 stroke #8b4513 line 25,11 25,37"
  "tea|#eef7ee|fill #6b8e23 rectangle 10,16 34,38 fill none stroke #6b8e23 stroke-width 3 ellipse 36,26 5,6 -90,90"
)

for entry in "${pictures[@]}"; do
  IFS='|' read -r word background drawing <<<"$entry"
  convert -size "$size" "xc:$background" -draw "$drawing" \
    -font "$font" -pointsize 24 -fill '#333333' -stroke none -annotate +64+33 "$word" \
    -strip -quality 85 "$out/$word.jpg"
done

convert -size "$size" gradient:'#1e3c72-#3a7bd5' -rotate 90 -resize "$size!" \
  -font "$font" -pointsize 22 -fill white -gravity center -annotate +0+0 'English - Chinese' \
  -strip -quality 85 "$out/00.Cover.jpg"
echo "Pictures written to $out"
