#!/usr/bin/env bash
# Makes the library manager's pictures in data/program/ with ImageMagick, all simple designs of
# our own:
#   _<letter>.bmp / _<letter>.ico  the twelve category flags, 32 x 32: a flag-like design on a
#                                  magenta ground (the corner colour is the transparent colour
#                                  when two flags are composed into one); colours from the
#                                  standard 16, so a 4-bit icon keeps them exactly
#   _XO.ico, _XW.ico, _XX.ico      the list's Add, Web and Delete items
#   WordLexornFlag.ico             the all-libraries picture
#   frmManager_*.png               title strip, close box, Play and Search with their hover images
set -euo pipefail
cd "$(dirname "$0")/../data/program"

BODY="rectangle 2,6 29,25"          # the flag's body on the 32 x 32 ground
OUTLINE=(-fill none -stroke black -strokewidth 1 -draw "$BODY")

# flag <letter> <draw arguments...>: the body is drawn by the arguments, then outlined.
flag() {
  local letter=$1
  shift
  convert -size 32x32 xc:magenta +antialias "$@" "${OUTLINE[@]}" -type TrueColor "BMP3:_${letter}.bmp"
  convert "_${letter}.bmp" -transparent magenta "_${letter}.ico"
}
# A flag of three bands across (bands_h) or down (bands_v) the body: bands_h <letter> <colours...>.
bands_h() { flag "$1" -fill "$2" -draw "rectangle 2,6 29,12" -fill "$3" -draw "rectangle 2,13 29,18" -fill "$4" -draw "rectangle 2,19 29,25"; }
bands_v() { flag "$1" -fill "$2" -draw "rectangle 2,6 10,25" -fill "$3" -draw "rectangle 11,6 20,25" -fill "$4" -draw "rectangle 21,6 29,25"; }

flag A -fill red -draw "$BODY" -fill white \
  -draw "rectangle 2,9 29,11" -draw "rectangle 2,15 29,17" -draw "rectangle 2,21 29,23" \
  -fill navy -draw "rectangle 2,6 14,15" -fill white -draw "point 5,8" -draw "point 9,8" -draw "point 13,8" \
  -draw "point 7,11" -draw "point 11,11" -draw "point 5,14" -draw "point 9,14" -draw "point 13,14"
flag B -fill navy -draw "$BODY" -stroke white -strokewidth 3 -draw "line 4,7 27,24" -draw "line 4,24 27,7" \
  -stroke none -fill white -draw "rectangle 12,6 19,25" -draw "rectangle 2,12 29,19" \
  -fill red -draw "rectangle 14,6 17,25" -draw "rectangle 2,14 29,17"
flag C -fill red -draw "$BODY" -fill yellow -draw "polygon 8,8 9,11 12,11 10,13 11,16 8,14 5,16 6,13 4,11 7,11" \
  -draw "point 14,8" -draw "point 16,10" -draw "point 16,13" -draw "point 14,15"
bands_h D red white blue
bands_v F blue white red
bands_h G black red yellow
bands_v I green white red
flag J -fill white -draw "$BODY" -fill red -draw "circle 15,15 15,20"
flag K -fill white -draw "$BODY" -fill blue -draw "circle 15,15 15,20" -fill red -draw "ellipse 15,15 5,5 180,360" \
  -stroke black -draw "line 5,8 8,11" -draw "line 23,20 26,23" -draw "line 23,11 26,8" -draw "line 5,23 8,20"
flag P -fill green -draw "$BODY" -fill yellow -draw "polygon 15,8 27,15 15,23 4,15" -fill blue -draw "circle 15,15 15,19"
bands_h R white blue red
flag S -fill red -draw "$BODY" -fill yellow -draw "rectangle 2,11 29,20"

# The command items and the all-libraries picture: 32 x 32 on a transparent ground.
icon() {
  local name=$1
  shift
  convert -size 32x32 xc:none "$@" "$name"
}
icon _XO.ico -fill white -stroke black -draw "rectangle 6,3 25,28" -stroke none -fill green \
  -draw "rectangle 13,8 18,23" -draw "rectangle 8,13 23,18"
icon _XW.ico -fill "#1E6FD9" -stroke navy -strokewidth 1 -draw "circle 16,16 16,2" -fill none -stroke white \
  -draw "ellipse 16,16 6,14 0,360" -draw "line 2,16 30,16" -draw "line 16,2 16,30" -draw "line 5,9 27,9" -draw "line 5,23 27,23"
icon _XX.ico -stroke red -strokewidth 6 -draw "line 6,6 26,26" -draw "line 26,6 6,26"
# The all-libraries picture: three small flags fanned out, one behind the other, all within the
# body of a category flag, so that it keeps the same margins in the manager's corner as the flags
# beside it.
icon WordLexornFlag.ico +antialias -stroke black -strokewidth 1 \
  -fill "#2E9D3A" -draw "rectangle 2,6 18,15" -stroke none -fill white -draw "rectangle 3,9 17,11" -stroke black \
  -fill "#1E6FD9" -draw "rectangle 7,11 23,20" -stroke none -fill white -draw "rectangle 13,12 15,19" -stroke black \
  -fill white -draw "rectangle 12,16 29,25" -stroke none -fill red -draw "rectangle 13,17 28,18" \
  -draw "rectangle 13,23 28,24" -draw "rectangle 19,20 22,21"

# The title strip: the program's name on a blue gradient, 420 x 31.
convert -size 31x420 gradient:"#0B2E6B"-"#3C7BD4" -rotate -90 \
  -font DejaVu-Sans-Bold -pointsize 15 -fill white -draw "text 10,21 \"Corvel's Lexorn 2\"" frmManager_Title.png
# The close box, 18 x 18.
convert -size 18x18 xc:"#3C7BD4" -fill "#C62828" -stroke white -strokewidth 1 -draw "roundrectangle 0,0 17,17 3,3" \
  -stroke white -strokewidth 2 -draw "line 5,5 12,12" -draw "line 12,5 5,12" frmManager_Close.png
# Play and Search, 48 x 48, each with a lighter hover image.
round() { convert -size 48x48 xc:none -fill "$1" -stroke "$2" -strokewidth 2 -draw "circle 24,24 24,3" "${@:3}"; }
round "#2E9D3A" "#1B5E20" -fill white -stroke none -draw "polygon 18,13 36,24 18,35" frmManager_Play.png
round "#5FD068" "#2E9D3A" -fill white -stroke none -draw "polygon 18,13 36,24 18,35" frmManager_PlayHover.png
round "#1E6FD9" "#0B2E6B" -fill none -stroke white -strokewidth 4 -draw "circle 21,21 21,12" -draw "line 28,28 35,35" \
  frmManager_Search.png
round "#5CA0F0" "#1E6FD9" -fill none -stroke white -strokewidth 4 -draw "circle 21,21 21,12" -draw "line 28,28 35,35" \
  frmManager_SearchHover.png
