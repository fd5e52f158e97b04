#!/usr/bin/env bash
# Builds the toolbox and starts it under Wine: on your display when there is one, otherwise in
# Xvfb, where it writes build/screenshot.png after a few seconds and ends.
set -euo pipefail
# shellcheck source=scripts/common.sh
. "$(dirname "$0")/common.sh"
build_i686 toolbox

use_wine_prefix run
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
