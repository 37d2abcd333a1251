#!/usr/bin/env bash
# Measures the real updater Tolbrand2 over an update list of 50 items that are all current
# (nothing due): wall time from process start to exit, median of five runs, under the offscreen
# platform against a loopback web server. The window runs the update on its timer's first tick,
# one second after it loads, so the figure includes that second.
# Usage: bench/measure_updater.sh [build-dir]   (default: build)
set -euo pipefail
build=${1:-build}
cd "$(dirname "$0")/.."
work=$(mktemp -d)
server_pid=
cleanup() { [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

mkdir -p "$work/web" "$work/program" "$work/profile"
cp "$build/app/Tolbrand2" "$work/program/"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 - "$work" <<'PY'
import os, sys
work = sys.argv[1]
lines = ["[SERVER_LEATEST_2]"]
for n in range(1, 51):
    name = f"File{n:02d}.dat"
    lines += [f"FROM_FILENAME{n:02d}={name}", f"TO_FILENAME{n:02d}={name}",
              f"FILENAME{n:02d}_BUILD_TIME=20000101_00:00:00", f"DESC_A{n:02d}=File {n}"]
    with open(os.path.join(work, "program", name), "w") as f:
        f.write("current\n")
with open(os.path.join(work, "web", "list.ini"), "w") as f:
    f.write("\n".join(lines) + "\n")
PY
printf '[DOWNLOADFROM]\nNewPath=http://127.0.0.1:%s/\nNewFileName=list.ini\n' "$port" > "$work/program/ServerLocation.ini"
printf '[GLOBAL]\nLANGUAGE=A\n' > "$work/profile/CORVELSETUP.ini"
(cd "$work/web" && exec python3 -m http.server "$port" --bind 127.0.0.1 >/dev/null 2>&1) &
server_pid=$!
for _ in $(seq 50); do curl -s -o /dev/null "http://127.0.0.1:$port/list.ini" && break; sleep 0.1; done

export QT_QPA_PLATFORM=offscreen USERPROFILE="$work/profile" no_proxy=127.0.0.1
times=()
for _ in 1 2 3 4 5; do
  start=$(date +%s%N)
  "$work/program/Tolbrand2" 2>/dev/null
  times+=($(( ($(date +%s%N) - start) / 1000000 )))
done
result=$(grep -a '^RESULT=' "$work/profile/CORVELSETUP.ini" || true)
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p)
echo "Tolbrand2, 50 current items: runs ${times[*]} ms, median ${median} ms (${result})"
[ ! -e "$work/program/Updatelog2.ini" ] || { echo "unexpected download" >&2; exit 1; }
