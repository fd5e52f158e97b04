#!/usr/bin/env bash
# Builds the bench and runs it under Wine in Xvfb, as scripts/test.sh runs the tests: the frame, the
# list fill, start-up and idle cost of the toolbox, each against its goal.
# Usage: scripts/bench.sh [--quick]   (--quick leaves out the 60-second idle measurement)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/setup.sh"

build=${TOOLBOX_BUILD_DIR:-$root/build}
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build "$build" -j "$(nproc)" --target bench toolbox bare_window

PREFIX_KIND=test
# shellcheck source=scripts/wine-env.sh
. "$root/scripts/wine-env.sh"
trap stop_wine_and_x EXIT
start_xvfb
prepare_prefix
start_keeper
cd "$build"
wine "$build/bench.exe" "$@"
