#!/usr/bin/env bash
# Runs every libFuzzer target of the fuzz build for the given number of seconds each.
set -euo pipefail
seconds=${1:-30}
cd "$(dirname "$0")/.."
shopt -s nullglob
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for target in build-fuzz/fuzz/*_fuzz; do
  name=$(basename "$target")
  mkdir -p "$work/$name"
  corpus=()
  [ -d "fuzz/corpus/$name" ] && corpus=("fuzz/corpus/$name")
  echo "== $name ($seconds s)"
  "$target" -max_total_time="$seconds" -rss_limit_mb=4096 -artifact_prefix="$work/" "$work/$name" "${corpus[@]}" 2>&1 | tail -3
done
