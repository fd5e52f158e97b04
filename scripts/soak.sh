#!/usr/bin/env bash
# Builds the soak program and runs it twice under Wine in Xvfb: first with Wine's heap checks on
# (WINEDEBUG=warn+heap), so that a write to freed memory is reported, then without them, so that
# private memory is judged too (the checks hold freed blocks back). Fails when either run fails or
# the heap checks reported anything. Usage: scripts/soak.sh [divisor]  (10 runs a tenth of each cycle)
set -euo pipefail
# shellcheck source=scripts/common.sh
. "$(dirname "$0")/common.sh"
build_i686 soak

start_wine_session test
heap_log=$(mktemp)
status=0
echo "== soak with Wine's heap checks"
WINEDEBUG=warn+heap wine "$build/soak.exe" "$@" 2> >(tee "$heap_log" >&2) || status=1
if grep -a -q ':heap:' "$heap_log"; then
  echo "soak: Wine's heap checks reported problems:"
  grep -a ':heap:' "$heap_log" | head -20
  status=1
fi
rm -f "$heap_log"
echo "== soak without heap checks (memory judged)"
WINEDEBUG=-all wine "$build/soak.exe" "$@" || status=1
exit "$status"
