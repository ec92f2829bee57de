#!/usr/bin/env bash
# Memory figures of Corvane under Wine (not a test):
#  1. each candidate of a delivery's memory run alone in one process as many
#     times as the typing soak delivers (bench/wine/memory_candidates.cpp);
#  2. Corvane's working set on its starter library beside a bare window that
#     loads the same system libraries (bench/wine/bare_window.cpp), in the
#     same Wine session, each read after it has settled.
#   bench/wine-memory.sh [cycles]   (default 3000; needs scripts/build.sh win)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cycles=${1:-3000}
export CORVANE_ROOT=$root
export CORVANE_BIN=${CORVANE_BIN:-$root/build/win/bin}
. "$root/tests/wine/lib.sh"
wine_session_start >/dev/null || exit 1
trap wine_session_end EXIT

echo "== Candidates, $cycles cycles each after 300 of warm-up"
scenario_begin candidates
wine "$CORVANE_BIN/bench/memory_candidates.exe" "$cycles" 2>&1 | tr -d '\r'
scenario_end

echo "== Resident memory, KiB (working set as Wine reports it)"
scenario_begin side-by-side
no_startup_tip
corvane_start
wait_for_main_window 40 || fail "Corvane did not start"
cp "$CORVANE_BIN/bench/bare_window.exe" "$PROGRAM_DIR/"
wine "$PROGRAM_DIR/bare_window.exe" >"$SCENARIO_DIR/bare.out" 2>&1 &
wait_for_window "Bare Window" 30 || fail "the bare window did not appear"
sleep 5
corvane_ws=$(probe memory | cut -d' ' -f1)
bare_ws=$(tr -d '\r' <"$SCENARIO_DIR/bare.out" | sed -n 's/^working set KiB //p' | tail -1)
echo "Corvane:     $corvane_ws"
echo "bare window: $bare_ws"
echo "Corvane's own cost: $((corvane_ws - bare_ws))"
scenario_end
