#!/usr/bin/env bash
# Builds the toolbox and its tests (i686, and an x86_64 compile check) and runs every test under
# Wine in Xvfb. Usage: scripts/test.sh [ctest arguments...]. With CI=true it then runs the fuzz
# targets for 60 s each and the soak.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/setup.sh"

build=${TOOLBOX_BUILD_DIR:-$root/build}
jobs=$(nproc)
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build "$build" -j "$jobs"
if [ "${TOOLBOX_SKIP_X64:-0}" != 1 ]; then
  cmake -S . -B "$build-x64" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DTOOLBOX_TESTS=OFF >/dev/null
  cmake --build "$build-x64" -j "$jobs"
fi

PREFIX_KIND=test
# shellcheck source=scripts/wine-env.sh
. "$root/scripts/wine-env.sh"
trap stop_wine_and_x EXIT
start_xvfb
prepare_prefix
start_keeper
cd "$build"
ctest --output-on-failure -j "${TOOLBOX_TEST_JOBS:-1}" "$@"
stop_wine_and_x
trap - EXIT
# CI also runs each fuzz target for a minute and the full soak (with its own Wine session).
if [ "${CI:-}" = true ]; then
  "$root/scripts/fuzz.sh" 60
  "$root/scripts/soak.sh"
fi
