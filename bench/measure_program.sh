#!/usr/bin/env bash
# Measures the real program under Xvfb on a generated 32,767-line library:
#   - time from process start to the bar's window showing the first word (hold mode draws the
#     first word during the bar's load, before the window is first mapped),
#   - CPU time used over 30 idle seconds with a 5-second word interval,
#   - resident memory at the end.
# Usage: bench/measure_program.sh [build-dir]   (default: build)
set -euo pipefail
build=${1:-build}
cd "$(dirname "$0")/.."
app="$PWD/$build/app/Corvel'sLexorn2"
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

python3 - "$work/Big.abc" <<'PY'
import sys
lines = ["{AC}"] + [f"word{i:05d}@[wɜːd]n. 单词；字" for i in range(1, 32767)]
with open(sys.argv[1], "wb") as f:
    f.write(b"\xff\xfe" + "\r\n".join(lines).encode("utf-16-le") + b"\r\n")
PY
mkdir -p "$work/profile" "$work/program"
cp "$build"/app/Corvel\'sLexorn2 "$build"/app/*.dat "$work/program/"
program="$work/program/Corvel'sLexorn2"
export USERPROFILE="$work/profile"

Xvfb :97 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
sleep 1
export DISPLAY=:97

settings() { printf '[Normal]\nWordShowMain=X\nWordShowStatus=X\nWordShowCounter=X\nWordSpeak=0\n%s' "$1" > "$work/Big.ini"; }

# 1. Start-up to the first word, median of five starts.
settings $'WordWait=X\n'
times=()
for run in 1 2 3 4 5; do
  start=$(date +%s%N)
  "$program" "\"$work/Big.abc\"" >/dev/null 2>&1 &
  pid=$!
  deadline=$(( $(date +%s) + 20 ))
  until xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; do
    if [ "$(date +%s)" -gt "$deadline" ] || ! kill -0 "$pid" 2>/dev/null; then
      echo "the program showed no window within 20 s" >&2
      exit 1
    fi
    sleep 0.002
  done
  end=$(date +%s%N)
  times+=($(( (end - start) / 1000000 )))
  kill "$pid"; wait "$pid" 2>/dev/null || true
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "start-up to first word: ${sorted[2]} ms (median of ${times[*]})"

# 2. Idle CPU over 30 seconds with a 5-second interval, and resident memory.
settings $'WordSpeed=5\n'
"$program" "\"$work/Big.abc\"" >/dev/null 2>&1 &
pid=$!
sleep 3
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
before=$(ticks)
sleep 30
after=$(ticks)
hz=$(getconf CLK_TCK)
echo "CPU over 30 idle seconds: $(awk -v t=$((after - before)) -v hz="$hz" 'BEGIN { printf "%.2f%% of one core", 100 * t / hz / 30 }')"
echo "resident memory: $(awk '/VmRSS/ {printf "%.1f MB", $2 / 1024}' "/proc/$pid/status")"
kill "$pid"; wait "$pid" 2>/dev/null || true
