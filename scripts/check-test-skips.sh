#!/usr/bin/env bash
# Lists the tests that skipped, with their reasons, from the log the test binaries append to when
# LEXORN_TEST_SKIP_LOG names it (one line per skip: the test, a tab, the reason). Fails when a test
# skipped for anything but the machine lacking a device or a mount the test names: those skips,
# and only those, say "the machine lacks ..." (SKIP_AS_THE_MACHINE_LACKS in tests/support/skip_log.h).
set -euo pipefail
log=${1:?usage: check-test-skips.sh SKIP_LOG}
[[ -f "$log" ]] || { echo "No skip log at $log" >&2; exit 1; }
[[ -s "$log" ]] || { echo "No test skipped."; exit 0; }
awk -F '\t' '
  {
    allowed = index($2, "the machine lacks ") == 1
    printf "%s %s: %s\n", allowed ? "Skipped" : "SKIPPED WITHOUT A MISSING DEVICE OR MOUNT:", $1, $2
    if (!allowed) ++refused
  }
  END {
    if (refused) {
      printf "%d test(s) skipped for a reason other than the machine lacking a device or a mount\n", refused
      exit 1
    }
  }
' "$log"
