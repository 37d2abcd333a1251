#!/usr/bin/env bash
# Makes the kill key's event sound, data/program/Windows Recycle.wav: a 0.4 s paper-crumple
# rustle (band-passed pink noise, fluttered, quick fade out), 16-bit mono 22050 Hz.
# sox -R -n -r 22050 -c 1 -b 16 "data/program/Windows Recycle.wav" synth 0.4 pinknoise band 2500 1500 tremolo 17 85 fade q 0.01 0.4 0.25 gain -n -9
set -euo pipefail
cd "$(dirname "$0")/.."
sox -R -n -r 22050 -c 1 -b 16 "data/program/Windows Recycle.wav" \
  synth 0.4 pinknoise band 2500 1500 tremolo 17 85 fade q 0.01 0.4 0.25 gain -n -9
