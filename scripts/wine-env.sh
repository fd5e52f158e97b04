# Sourced by run.sh and test.sh: a Wine prefix of the project's own, an X display and a process
# that keeps wineserver warm. Callers set PREFIX_KIND (run or test) before sourcing.
# shellcheck shell=bash

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win32
export WINEPREFIX=${TOOLBOX_PREFIX:-$root/.wine-prefix/$PREFIX_KIND}
xvfb_pid=""

# Starts Xvfb on the first free display from 90 on and exports DISPLAY.
start_xvfb() {
  local n=90
  while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  for _ in $(seq 100); do [ -e /tmp/.X11-unix/X$n ] && return 0; sleep 0.05; done
  echo "wine-env: Xvfb did not start on :$n" >&2
  return 1
}

# Creates the prefix once: an antialiased CJK font (Noto Sans CJK SC) mapped for the Chinese
# family names, no crash dialog and, for the
# test prefix, Wine's virtual desktop (fast hides, hotkeys always delivered).
prefix_version=3
prepare_prefix() {
  if [ -f "$WINEPREFIX/.toolbox-ready" ]; then
    [ "$(cat "$WINEPREFIX/.toolbox-ready")" = "$prefix_version" ] && return 0
    configure_prefix
    return 0
  fi
  echo "wine-env: preparing $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  wineboot -i >/dev/null 2>&1
  wineserver -w
  configure_prefix
}

configure_prefix() {
  local n
  for n in 宋体 SimSun 新宋体 NSimSun 微软雅黑 "Microsoft YaHei"; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$n" /d "Noto Sans CJK SC" /f >/dev/null 2>&1
  done
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  if [ "$PREFIX_KIND" = test ]; then
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1
  fi
  # Grey-scale font smoothing, as Windows has by default: text is drawn antialiased.
  wine reg add 'HKCU\Control Panel\Desktop' /v FontSmoothing /d 2 /f >/dev/null 2>&1
  wine reg add 'HKCU\Control Panel\Desktop' /v FontSmoothingType /t REG_DWORD /d 1 /f >/dev/null 2>&1
  wineserver -w
  echo "$prefix_version" > "$WINEPREFIX/.toolbox-ready"
}

# cmd.exe waits on a pipe that this shell holds open, so wineserver stays up (each Wine start then
# costs 20-30 ms instead of 0.4 s) and the keeper ends with the shell.
start_keeper() {
  exec {keeper_fd}> >(wine cmd.exe >/dev/null 2>&1)
  # Wait until the server and the desktop are up, so that the first test does not race them.
  timeout 120 wine cmd.exe /c exit >/dev/null 2>&1 || true
}

stop_wine_and_x() {
  wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
