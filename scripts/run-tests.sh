#!/usr/bin/env bash
# Runs every test of one build preset. Window tests use Qt's offscreen platform; the
# end-to-end tests start their own Xvfb, so no display is needed.
set -euo pipefail
preset=${1:-default}
cd "$(dirname "$0")/.."
unset DISPLAY
ctest --preset "$preset"
