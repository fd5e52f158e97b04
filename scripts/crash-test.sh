#!/usr/bin/env bash
# Measures the crash safety of the store: starts build/store_writer.exe under Wine on a scratch
# store, kills it with SIGKILL at a random moment during its adds, renames, deletes and skin
# changes, and checks what the kill left: the store must be byte-for-byte one of the states an
# uninterrupted run passes through (each holds every category and is the old or the new file of
# the write that was cut off). The same kills against the platform's WritePrivateProfileStringA, for
# comparison. Then a full disk: a 64 KB tmpfs (mounting it needs root) holding the store, filled up,
# where the toolbox's own add and delete commands (build/full_disk_probe.exe) must leave the store
# byte-for-byte as it was and tell the person so.
# Usage: scripts/crash-test.sh [kills per writer, default 1000] [store|platform|full-disk ...]
# Needs a build (scripts/test.sh makes one). Exits non-zero when the store was ever damaged.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
kills=${1:-1000}
shift $(( $# > 0 ? 1 : 0 ))
modes=("$@")
[ ${#modes[@]} -gt 0 ] || modes=(store platform full-disk)
build=${TOOLBOX_BUILD_DIR:-$root/build}
writer="$build/store_writer.exe"
[ -f "$writer" ] || { echo "crash-test: $writer is missing; run scripts/test.sh first" >&2; exit 2; }

PREFIX_KIND=test
# shellcheck source=scripts/wine-env.sh
. "$root/scripts/wine-env.sh"
work=$(mktemp -d /tmp/toolbox-crash.XXXXXX)
trap 'stop_wine_and_x; umount "$work/disk" 2>/dev/null || true; rm -rf "$work"' EXIT
start_xvfb  # before the first Wine process, so that its desktop has a display for the probe's window
prepare_prefix
start_keeper

ops=1500
# The store at the start, in code page 936: two entries in each category and a skin picture.
initial_store() {
  printf '[常用工具]\r\n文件名=C:\\a@&@[a]&@&C:\\b@&@[b]\r\n[编程工具]\r\n文件名=C:\\c@&@[c]&@&C:\\d@&@[d]\r\n'
  printf '[文件夹]\r\n文件名=C:\\e@&@[e]&@&C:\\f@&@[f]\r\n[常用网站]\r\n文件名=C:\\g@&@[g]&@&C:\\h@&@[h]\r\n'
  printf '[皮肤]\r\n文件名=C:\\s.png\r\n'
}

winpath() { echo "Z:${1//\//\\}"; }

# Wine's start until the writer's first write, measured once, so that the kills land in the writes.
startup_ms() {
  local store=$1 mode=$2 t0 t1
  initial_store | iconv -f UTF-8 -t GBK > "$store"
  t0=$(date +%s%N)
  wine "$writer" "$(winpath "$store")" "$mode" 1 run - >/dev/null 2>&1
  t1=$(date +%s%N)
  echo $(( (t1 - t0) / 1000000 ))
}

# The toolbox's add and delete on a store whose disk is full, and the platform's write for comparison.
full_disk() {
  local disk="$work/disk" out="$work/probe.out"
  mkdir -p "$disk"
  if ! mount -t tmpfs -o size=64k tmpfs "$disk" 2>/dev/null; then
    echo "crash-test: full disk: cannot mount a tmpfs here (needs root); skipped"
    return 0
  fi
  initial_store | iconv -f UTF-8 -t GBK > "$disk/petrez.alss"
  cp "$disk/petrez.alss" "$disk/platform.alss"
  cp "$disk/petrez.alss" "$work/before.alss"
  dd if=/dev/zero of="$disk/filler" bs=1k >/dev/null 2>&1 || true  # until no byte is left
  wine "$build/full_disk_probe.exe" "$(winpath "$disk/petrez.alss")" 'D:\tools\new.exe' > "$out" 2>/dev/null \
    || echo "crash-test: full disk: the probe failed" >&2
  local said kept=no platform_kept=no
  said=$(iconv -f GBK -t UTF-8 "$out" | sed -n 's/^message: //p' | sort | uniq -c | sed 's/^ *//' | paste -sd ';' -)
  cmp -s "$disk/petrez.alss" "$work/before.alss" && kept=yes
  wine "$writer" "$(winpath "$disk/platform.alss")" platform 1 run - >/dev/null 2>&1 || true
  cmp -s "$disk/platform.alss" "$work/before.alss" && platform_kept=yes
  umount "$disk"
  echo "crash-test: full disk: add and delete left the store unchanged: $kept; the person was told: ${said:-nothing}"
  echo "crash-test: full disk: the platform's write left its file unchanged: $platform_kept"
  if [ "$kept" != yes ] || [ -z "$said" ]; then failed=1; fi
}

for mode in "${modes[@]}"; do
  if [ "$mode" = full-disk ]; then full_disk; continue; fi
  dir="$work/$mode"
  mkdir -p "$dir/states" "$dir/damaged"
  initial_store | iconv -f UTF-8 -t GBK > "$dir/initial.alss"
  cp "$dir/initial.alss" "$dir/recorded.alss"
  # Every state of an uninterrupted run (the writer checks that each holds every category).
  wine "$writer" "$(winpath "$dir/recorded.alss")" "$mode" "$ops" record "$(winpath "$dir/states")" >/dev/null 2>&1 \
    || { echo "crash-test: the $mode record run failed" >&2; exit 2; }
  { sha256sum "$dir/initial.alss"; sha256sum "$dir"/states/*; } | cut -d' ' -f1 | sort -u > "$dir/good"
  start=$(startup_ms "$dir/probe.alss" "$mode")
  store="$dir/petrez.alss"
  damaged=0 strays=0
  : > "$dir/seen"
  for ((k = 1; k <= kills; k++)); do
    cp "$dir/initial.alss" "$store"
    rm -f "$store.tmp"
    wine "$writer" "$(winpath "$store")" "$mode" "$ops" run - >/dev/null 2>&1 &
    pid=$!
    # A random moment from the first write to some 400 ms into the script.
    delay=$(( start + RANDOM % 400 ))
    sleep "$((delay / 1000)).$(printf %03d $((delay % 1000)))"
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    hash=$(sha256sum "$store" | cut -d' ' -f1)
    if grep -qx "$hash" "$dir/good"; then
      echo "$hash" >> "$dir/seen"
    else
      damaged=$((damaged + 1))
      cp "$store" "$dir/damaged/$k.alss"
    fi
    [ ! -e "$store.tmp" ] || strays=$((strays + 1))
  done
  seen=$(sort -u "$dir/seen" | wc -l)
  echo "crash-test: $mode: $kills kills, $damaged damaged, $seen different states left, $strays stray temporary files"
  if [ "$mode" = store ] && [ "$damaged" -gt 0 ]; then failed=1; fi
done
exit "${failed:-0}"
