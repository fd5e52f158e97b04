#!/bin/sh
# ctest's emulator: runs a cross-built test exe under the Wine prefix that scripts/test.sh prepared.
exec wine "$@"
