#!/usr/bin/env bash
# Figures of Corvane.exe under Wine: time from launch to the main window being
# ready (visible with its library loaded), and the working set with the
# starter library. Not a test; prints figures.
#   bench/wine-startup.sh [runs]    (default 5; needs scripts/build.sh win)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-5}
export CORVANE_ROOT=$root
export CORVANE_BIN=${CORVANE_BIN:-$root/build/win/bin}
. "$root/tests/wine/lib.sh"
wine_session_start >/dev/null || exit 1
trap wine_session_end EXIT

times=()
for run in $(seq 1 "$runs"); do
  scenario_begin "run$run"
  no_startup_tip
  # A warm wineserver, as on a desktop where Wine already runs.
  wine cmd /c exit >/dev/null 2>&1
  start=$(date +%s.%N)
  corvane_start
  until visible_windows Corvane | grep -q .; do sleep 0.01; done
  ready=$(date +%s.%N)
  times+=("$(awk -v a="$start" -v b="$ready" 'BEGIN { printf "%.0f", (b - a) * 1000 }')")
  sleep 2
  [ "$run" = 1 ] && memory=$(probe memory) && tree=$(probe tree | wc -l)
  scenario_end
done
printf 'launch to visible main window (ms): %s\n' "${times[*]}"
printf 'median: %s ms\n' "$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')"
printf 'working set with the starter library (%s tree nodes): %s KiB, peak %s KiB\n' "$tree" ${memory}
