#!/usr/bin/env bash
# Draws the built-in pictures again: builds picture_gen (i686) and runs it under Wine from the
# repository root, which rewrites resources/{element_sheet.png,control_sheet.bmp,document.ico,
# default_skin.jpg,toolbox.ico} and docs/pictures.png. Uses the test prefix of scripts/test.sh (or
# TOOLBOX_PREFIX), whose font replacements give the logo its Chinese face.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/setup.sh"

build=${TOOLBOX_BUILD_DIR:-$root/build}
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build "$build" -j 2 --target picture_gen

PREFIX_KIND=test
# shellcheck source=scripts/wine-env.sh
. "$root/scripts/wine-env.sh"
trap stop_wine_and_x EXIT
start_xvfb
prepare_prefix
mkdir -p docs
wine "$build/picture_gen.exe"
