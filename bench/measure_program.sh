#!/usr/bin/env bash
# Measures the real program under Xvfb on generated libraries:
#   - time from process start to the bar's window being mapped, with 1,000 and with 30,000 lines,
#     in hold mode (the first word is drawn during the bar's load, before the window is mapped)
#     and in normal mode (the window shows the loading text until the first tick), median of five,
#   - CPU time used over 30 idle seconds with a 5-second word interval on 32,767 lines,
#   - resident memory at the end.
# Usage: bench/measure_program.sh [build-dir]   (default: build)
set -euo pipefail
build=${1:-build}
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

# write_library <path> <word lines>
write_library() {
  python3 - "$1" "$2" <<'PY'
import sys
lines = ["{AC}"] + [f"word{i:05d}@[wɜːd]n. 单词；字" for i in range(1, int(sys.argv[2]) + 1)]
with open(sys.argv[1], "wb") as f:
    f.write(b"\xff\xfe" + "\r\n".join(lines).encode("utf-16-le") + b"\r\n")
PY
}
write_library "$work/Small.abc" 1000
write_library "$work/Large.abc" 30000
write_library "$work/Big.abc" 32766

mkdir -p "$work/profile" "$work/program"
cp "$build"/app/Corvel\'sLexorn2 "$build"/app/*.dat "$work/program/"
program="$work/program/Corvel'sLexorn2"
export USERPROFILE="$work/profile"

Xvfb :97 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
sleep 1
export DISPLAY=:97

# settings <library name> <extra lines>
settings() { printf '[Normal]\nWordShowMain=X\nWordShowStatus=X\nWordShowCounter=X\nWordShowProgress=X\nWordSpeak=0\n%s' "$2" > "$work/$1.ini"; }

# startup <library name>: median time to the mapped bar over five starts, in ms.
startup() {
  local times=() attempts=0 start end pid deadline
  while [ "${#times[@]}" -lt 5 ]; do
    start=$(date +%s%N)
    "$program" "\"$work/$1.abc\"" >/dev/null 2>&1 &
    pid=$!
    deadline=$(( $(date +%s) + 20 ))
    until xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; do
      if [ "$(date +%s)" -gt "$deadline" ]; then
        echo "the program showed no window within 20 s" >&2
        exit 1
      fi
      # The polling xdotool connections can briefly exhaust the server's clients, so that the
      # program cannot connect and ends at once: that start is tried again.
      if ! kill -0 "$pid" 2>/dev/null; then
        attempts=$((attempts + 1))
        [ "$attempts" -lt 5 ] || { echo "the program ended before showing its window" >&2; exit 1; }
        continue 2
      fi
      sleep 0.005
    done
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000000 )))
    kill "$pid"; wait "$pid" 2>/dev/null || true
    sleep 0.2
  done
  local sorted=($(printf '%s\n' "${times[@]}" | sort -n))
  echo "${sorted[2]} ms (of ${times[*]})"
}

# 1. Start-up to the mapped bar.
for mode in hold normal; do
  extra=$([ "$mode" = hold ] && echo $'WordWait=X\n' || echo $'WordSpeed=5\n')
  for library in Small Large; do
    settings "$library" "$extra"
    lines=$([ "$library" = Small ] && echo 1,000 || echo 30,000)
    echo "start-up, $mode mode, $lines lines: $(startup "$library")"
  done
done

# 2. Idle CPU over 30 seconds with a 5-second interval, and resident memory.
settings Big $'WordSpeed=5\n'
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
