#!/usr/bin/env bash
# Opens the word bar on the bundled sample library. Without a display the program runs under
# Xvfb for a few seconds and a screenshot is saved as build/screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/.."
app="build/app/Corvel'sLexorn2"
library="$PWD/build/app/data/samples/English-Chinese.abc"

if [ -n "${DISPLAY:-}" ]; then
  exec "$app" "\"$library\""
fi

# A fresh profile: the first start writes CORVELSETUP.ini there (the interface language follows the
# locale), puts the shipped library list beside it and writes the defaults into Settings.ini.
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
export USERPROFILE="$profile"
# A tray host and a compositing manager, as a desktop has them: the bar docks its icon and can be
# translucent.
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  trayer --edge bottom --align right --widthtype request --height 24 &
  tray=$!
  xcompmgr &
  compositor=$!
  sleep 1
  # The pointer starts in the middle of the screen, where the first bar opens; resting on the bar
  # pauses it, so it is put in a corner as a learner working in another program would have it.
  xdotool mousemove 0 0
  "$1" "\"$2\"" &
  pid=$!
  sleep 5
  import -window root build/screenshot.png
  kill $pid $tray $compositor 2>/dev/null || true
  wait 2>/dev/null || true
' _ "$app" "$library"
echo "Screenshot saved as build/screenshot.png"
