#!/usr/bin/env bash
# Builds the native fuzz targets (clang, libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) and
# runs each for the given number of seconds. Usage: scripts/fuzz.sh [seconds] [target...]
#   TOOLBOX_FUZZ_RUNS=N   stops each target after N executions instead (the time is then a bound)
# The seeds in fuzz/corpus/<target> are read, never written; new inputs go to build-fuzz/corpus/.
# A finding stops the script with the target's output and the input under build-fuzz/findings/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift $(( $# > 0 ? 1 : 0 ))
out=${TOOLBOX_FUZZ_DIR:-$root/build-fuzz}
"$root/scripts/setup.sh"
make -s -C "$root/fuzz" -j2 OUT="$out"

# Longest input per target: the text routines work on store lines, the picture checks on whole files.
declare -A max_len=([text]=256 [ini_text]=512 [item_list]=512 [store_cut]=1024 [image_bounds]=40000
                    [picture_header]=16384)

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(text ini_text item_list store_cut image_bounds picture_header)
fi
runs=()
if [ -n "${TOOLBOX_FUZZ_RUNS:-}" ]; then runs=(-runs="$TOOLBOX_FUZZ_RUNS"); fi

mkdir -p "$out/findings"
for t in "${targets[@]}"; do
  mkdir -p "$out/corpus/$t"
  log="$out/fuzz_$t.log"
  if ! "$out/fuzz_$t" -max_total_time="$seconds" "${runs[@]}" -max_len="${max_len[$t]}" -timeout=10 \
       -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$out/findings/$t-" \
       "$out/corpus/$t" "$root/fuzz/corpus/$t" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz: $t found a fault (input under $out/findings/)" >&2
    exit 1
  fi
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  echo "fuzz: $t: $execs executions ($rate a second), no finding"
done
