# Sourced by the project's scripts: installs what is missing (scripts/setup.sh), then offers the
# i686 build and a Wine session in Xvfb with one of the project's own prefixes.
# shellcheck shell=bash
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
"$root/scripts/setup.sh"
build=${TOOLBOX_BUILD_DIR:-$root/build}

# Configures the i686 build and builds the given targets (all of them when none is given).
build_i686() {
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
  if [ $# -gt 0 ]; then
    cmake --build "$build" -j "$(nproc)" --target "$@"
  else
    cmake --build "$build" -j "$(nproc)"
  fi
}

# Wine's environment for the project's prefix of kind $1: run or test.
use_wine_prefix() {
  PREFIX_KIND=$1
  # shellcheck source=scripts/wine-env.sh
  . "$root/scripts/wine-env.sh"
}

# A Wine session with the prefix of kind $1 on a new Xvfb display, wineserver kept warm; all of it
# is stopped when the script ends.
start_wine_session() {
  use_wine_prefix "$1"
  trap stop_wine_and_x EXIT
  start_xvfb
  prepare_prefix
  start_keeper
}
