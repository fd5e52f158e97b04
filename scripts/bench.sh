#!/usr/bin/env bash
# Builds the bench and runs it under Wine in Xvfb, as scripts/test.sh runs the tests: hover redraw,
# list fill, start-up and idle cost of the toolbox, each against its goal.
# Usage: scripts/bench.sh [--quick] [frame] [list] [startup] [idle]
#   --quick leaves out the 60-second idle measurement.
set -euo pipefail
# shellcheck source=scripts/common.sh
. "$(dirname "$0")/common.sh"
build_i686 bench toolbox bare_window

start_wine_session test

# CPU time (utime + stime, in clock ticks) of a Unix process, summed over its threads: under Wine
# the first thread of a program may end while the others run on.
cpu_ticks() {
  cat /proc/"$1"/task/*/stat 2>/dev/null | awk '{ sum += $14 + $15 } END { print sum + 0 }'
}

# The Unix process of the idle toolbox: the newest toolbox.exe that this shell's bench started.
toolbox_pid() {
  local pid
  for pid in $(pgrep -x toolbox.exe || true); do
    [ "$(awk '{ print $22 }' /proc/"$pid"/stat 2>/dev/null || echo 0)" -ge "$bench_start" ] || continue
    [ -d /proc/"$pid"/task ] && grep -q '^State:.*[RS]' /proc/"$pid"/status 2>/dev/null && echo "$pid"
  done | tail -n 1
}

# The wineserver of this prefix: its working folder is named after the prefix's device and inode.
wineserver_pid() {
  local dir pid
  dir=$(printf '/tmp/.wine-%s/server-%x-%x' "$(id -u)" "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
  for pid in $(pgrep -x wineserver || true); do
    [ "$(readlink "/proc/$pid/cwd" 2>/dev/null)" = "$dir" ] && { echo "$pid"; return; }
  done
}

hz=$(getconf CLK_TCK)
cd "$build"
# Start time, in clock ticks since boot, as /proc/PID/stat field 22 counts it.
bench_start=$(awk -v hz="$(getconf CLK_TCK)" '{ printf "%d", $1 * hz }' /proc/uptime)
set +e  # a process that is gone between two reads must not end the loop
wine "$build/bench.exe" "$@" | while IFS= read -r line; do
  line=${line%$'\r'}
  case "$line" in
    "@idle-start "*)
      tb=$(toolbox_pid)
      ws=$(wineserver_pid)
      tb0=$(cpu_ticks "${tb:-0}"); ws0=$(cpu_ticks "${ws:-0}"); t0=$(date +%s.%N) ;;
    "@idle-end")
      tb1=$(cpu_ticks "${tb:-0}"); ws1=$(cpu_ticks "${ws:-0}"); t1=$(date +%s.%N)
      awk -v tb="$((tb1 - tb0))" -v ws="$((ws1 - ws0))" -v hz="$hz" -v t0="$t0" -v t1="$t1" -v found="${tb:-}" -v wsfound="${ws:-}" 'BEGIN {
        wall = t1 - t0
        if (found == "") { print "idle (/proc): MISS: the toolbox process was not found"; exit }
        share = 100 * tb / hz / wall
        printf "idle (/proc): %.0f s of wall time\n", wall
        printf "  CPU time of the toolbox process          %9.1f ms\n", 1000 * tb / hz
        if (wsfound != "") printf "  CPU time of the wineserver meanwhile     %9.1f ms\n", 1000 * ws / hz
        printf "  %-44s %8.2f%%  (goal <= 0.20%%)  %s\n", "idle CPU time / wall time", share,
               share <= 0.2 ? "PASS" : "MISS"
      }' ;;
    *) echo "$line" ;;
  esac
done
