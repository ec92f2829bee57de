#!/usr/bin/env bash
# Figures of the hook path under Wine (not a test): per keystroke and per
# mouse move, with and without Corvane's three receivers registered, and the
# time from a synthesised key to the keyboard component's OnKeyAction.
#   CORVANE_BIN=build/win/bin tests/wine/tools/hooks_figures.sh [rounds]
# CPU per event counts the bench, the wineserver, Xvfb and Corvane; rounds
# alternate without/with so that drifting machine load hits both alike.
set -uo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
export CORVANE_ROOT=$root
export CORVANE_BIN=${CORVANE_BIN:-$root/build/win/bin}
rounds=${1:-6}
. "$root/tests/wine/lib.sh"
wine_session_start >/dev/null || exit 1
trap wine_session_end EXIT
scenario_begin hooks_figures
. "$root/tests/wine/tools/hooks_scenario.sh"
hooks_install_tools
cd "$PROGRAM_DIR" || exit 1

wine hooks_bench.exe keys 1000 >/dev/null   # warm-up; the wineserver runs from here on
want=$(printf 'server-%x-%x' "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
server=""
for p in $(pgrep -x wineserver64; pgrep -x wineserver); do
  [ "$(basename "$(readlink "/proc/$p/cwd")")" = "$want" ] && server=$p
done
echo "wineserver $server, Xvfb $XVFB_PID"
ticks() { local t=0 p; for p in "$@"; do [ -r "/proc/$p/stat" ] && t=$((t + $(awk '{print $14+$15}' "/proc/$p/stat"))); done; echo $t; }
hz=$(getconf CLK_TCK)
measure() {  # label mode pids...
  local label=$1 mode=$2 before after out cpu
  shift 2
  before=$(ticks "$@")
  out=$(wine hooks_bench.exe "$mode" 10000 | tr -d '\r')
  after=$(ticks "$@")
  if [ "$mode" = latency ]; then
    echo "$label $out"
    return
  fi
  cpu=$(sed -n 's/.*cpu_ms=\([0-9]*\).*/\1/p' <<<"$out")
  echo "$label $mode wall_us=$(sed -n 's/.*per_event_us=\([0-9.]*\).*/\1/p' <<<"$out")" \
       "cpu_us=$(( (cpu * 1000 + (after - before) * 1000000 / hz) / 10000 ))"
}
for round in $(seq 1 "$rounds"); do
  for mode in keys moves latency; do measure without $mode $server $XVFB_PID; done
  wine Corvane.exe >"$SCENARIO_DIR/corvane.out" 2>&1 &
  corvane=$!
  wait_for_main_window 40 || fail "Corvane did not start"
  for mode in keys moves latency; do measure with $mode $server $XVFB_PID $corvane; done
  kill -9 "$corvane"; wait "$corvane" 2>/dev/null
  sleep 1
done
scenario_end
