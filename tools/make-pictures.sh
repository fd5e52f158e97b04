#!/usr/bin/env bash
# Draws the built-in pictures again: builds picture_gen (i686) and runs it under Wine from the
# repository root, which rewrites resources/{element_sheet.png,control_sheet.bmp,document.ico,
# default_skin.jpg,toolbox.ico} and docs/pictures.png. Uses the test prefix of scripts/test.sh (or
# TOOLBOX_PREFIX), whose font replacements give the logo its Chinese face.
set -euo pipefail
# shellcheck source=scripts/common.sh
. "$(dirname "$0")/../scripts/common.sh"
build_i686 picture_gen
use_wine_prefix test
trap stop_wine_and_x EXIT
start_xvfb
prepare_prefix
mkdir -p docs
wine "$build/picture_gen.exe"
