#!/usr/bin/env bash
# Builds the soak program and runs it under Wine in Xvfb with Wine's heap checks on, so that a
# write to freed memory is reported on stderr. Exit code: the soak's own (0 when every figure ended
# where it began). Usage: scripts/soak.sh [divisor]  (10 runs a tenth of every cycle)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/setup.sh"

build=${TOOLBOX_BUILD_DIR:-$root/build}
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build "$build" --target soak -j "$(nproc)"

PREFIX_KIND=test
# shellcheck source=scripts/wine-env.sh
. "$root/scripts/wine-env.sh"
trap stop_wine_and_x EXIT
start_xvfb
prepare_prefix
start_keeper
export WINEDEBUG=warn+heap
status=0
wine "$build/soak.exe" "$@" || status=$?
exit "$status"
