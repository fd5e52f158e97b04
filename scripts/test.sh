#!/usr/bin/env bash
# Builds the toolbox and its tests (i686, and an x86_64 compile check) and runs every test under
# Wine in Xvfb. Usage: scripts/test.sh [ctest arguments...]. With CI=true it then runs the fuzz
# targets for 60 s each and the soak.
set -euo pipefail
# shellcheck source=scripts/common.sh
. "$(dirname "$0")/common.sh"
build_i686
if [ "${TOOLBOX_SKIP_X64:-0}" != 1 ]; then
  cmake -S . -B "$build-x64" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DTOOLBOX_TESTS=OFF >/dev/null
  cmake --build "$build-x64" -j "$(nproc)"
fi

start_wine_session test
cd "$build"
ctest --output-on-failure -j "${TOOLBOX_TEST_JOBS:-1}" "$@"
stop_wine_and_x
trap - EXIT
# CI also runs each fuzz target for a minute and the full soak (with its own Wine session).
if [ "${CI:-}" = true ]; then
  "$root/scripts/fuzz.sh" 60
  "$root/scripts/soak.sh"
fi
