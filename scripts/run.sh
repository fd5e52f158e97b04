#!/usr/bin/env bash
# Builds the toolbox and starts it under Wine: on your display when there is one, otherwise in
# Xvfb, where it writes build/screenshot.png after a few seconds and ends.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/setup.sh"

build=${TOOLBOX_BUILD_DIR:-$root/build}
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build "$build" -j "$(nproc)" --target toolbox

PREFIX_KIND=run
# shellcheck source=scripts/wine-env.sh
. "$root/scripts/wine-env.sh"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  prepare_prefix
  exec wine "$build/toolbox.exe"
fi
trap stop_wine_and_x EXIT
start_xvfb
prepare_prefix
wine "$build/toolbox.exe" &
sleep "${TOOLBOX_SHOT_DELAY:-6}"
/usr/bin/import -window root "$build/screenshot.png"
echo "The toolbox is running in Xvfb; its screen is in $build/screenshot.png"
