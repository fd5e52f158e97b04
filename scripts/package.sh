#!/usr/bin/env bash
# Builds the shipped i686 exe and writes the portable package dist/toolbox-<version>-win32.zip
# (toolbox.exe and the user guide).
set -euo pipefail
# shellcheck source=scripts/common.sh
. "$(dirname "$0")/common.sh"
build_i686 toolbox
version=$(sed -n 's/^project(toolbox VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/toolbox-$version"
cp "$build/toolbox.exe" "$stage/toolbox-$version/"
i686-w64-mingw32-strip "$stage/toolbox-$version/toolbox.exe"
cp docs/user-guide.txt "$stage/toolbox-$version/readme.txt"
mkdir -p dist
rm -f "dist/toolbox-$version-win32.zip"
(cd "$stage" && zip -q -r -X "$root/dist/toolbox-$version-win32.zip" "toolbox-$version")
echo "dist/toolbox-$version-win32.zip"
