#!/usr/bin/env bash
# Runs the Windows-side test programs and the end-to-end scenarios under
# Wine, each in a fresh Wine prefix. The tests mostly wait for windows and
# keys, so CORVANE_WINE_LANES (2 by default) lanes run them side by side,
# each lane on a private virtual display of its own, taking the next test
# from one queue as it finishes one (the longest first). A scenario that
# fails there runs once more alone and is named if it passes then.
#   scripts/test-wine.sh [scenario-name-filter]
# Ends with "wine: N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
filter=${1:-}
export CORVANE_ROOT=$root
export CORVANE_BIN=${CORVANE_BIN:-$root/build/win/bin}
# shellcheck source=../tests/wine/lib.sh
. "$root/tests/wine/lib.sh"

# The longest tests (seconds on a loaded machine) go first, so that no lane
# is left with a long one at the end.
longest_first=(shell_display_scale library_killed_while_saving engine_clipboard_kept release_installer
  editing_reply_lifecycle team_two_computers engine_picker shell_minimised_exit_geometry)

# Every test this run takes, one a line: "gtest PATH" or "scenario PATH".
test_queue() {
  local exe script name first
  for first in "${longest_first[@]}"; do
    script=$root/tests/wine/scenarios/$first.sh
    [ -e "$script" ] && echo "scenario $script"
  done
  for exe in "$CORVANE_BIN"/tests/*_test.exe; do
    [ -e "$exe" ] && echo "gtest $exe"
  done
  for script in "$root"/tests/wine/scenarios/*.sh; do
    [ -e "$script" ] || continue
    name=$(basename "$script" .sh)
    [[ " ${longest_first[*]} " == *" $name "* ]] || echo "scenario $script"
  done
}

if [ -z "${CORVANE_WINE_QUEUE:-}" ]; then
  lanes=${CORVANE_WINE_LANES:-2}
  work=$(mktemp -d /tmp/corvane-lanes.XXXXXX)
  test_queue | while read -r kind path; do
    name=$(basename "$path"); name=${name%.exe}; name=${name%.sh}
    [ -n "$filter" ] && [[ "$name" != *"$filter"* ]] && continue
    echo "$kind $path"
  done >"$work/queue"
  echo 1 >"$work/next"
  # Each lane looks for a free display from its own base, so two never take the same.
  base=${CORVANE_DISPLAY_FROM:-80}
  for lane in $(seq 1 "$lanes"); do
    CORVANE_WINE_QUEUE=$work CORVANE_DISPLAY_FROM=$((base + (lane - 1) * 70)) "$0" >"$work/lane$lane.log" 2>&1 &
  done
  wait
  passed=0 failed=0 failures="" skipped=""
  for lane in $(seq 1 "$lanes"); do
    grep -v -E '^(wine: |failed: |skipped \(not counted\): )' "$work/lane$lane.log"
    sum=$(grep -E '^wine: [0-9]+ passed, [0-9]+ failed' "$work/lane$lane.log" | tail -1)
    if [ -z "$sum" ]; then
      echo "lane $lane: no summary"; failed=$((failed + 1)); continue
    fi
    passed=$((passed + $(echo "$sum" | sed -E 's/wine: ([0-9]+) passed.*/\1/')))
    failed=$((failed + $(echo "$sum" | sed -E 's/.* ([0-9]+) failed/\1/')))
    failures+=$(sed -n 's/^failed: / /p' "$work/lane$lane.log")
    skipped+=$(sed -n 's/^skipped (not counted): / /p' "$work/lane$lane.log")
  done
  # A scenario that failed while the other lane ran runs once more alone;
  # it counts as passed only then, and is named below.
  still="" retried=""
  for name in $failures; do
    line=$(grep -E "^scenario .*/$name\.sh$" "$work/queue")
    if [ -z "$line" ]; then
      still+=" $name"; continue
    fi
    mkdir -p "$work/retry"
    echo "$line" >"$work/retry/queue"
    echo 1 >"$work/retry/next"
    if CORVANE_WINE_QUEUE=$work/retry CORVANE_DISPLAY_FROM=$base "$0" >"$work/retry.log" 2>&1; then
      passed=$((passed + 1)); failed=$((failed - 1)); retried+=" $name"
    else
      still+=" $name"
      grep -v -E '^(wine: |failed: |skipped \(not counted\): )' "$work/retry.log"
    fi
  done
  failures=$still
  rm -rf "$work"
  [ -n "$retried" ] && echo "passed alone after failing beside the other lane:$retried"
  [ -n "$failures" ] && echo "failed:$failures"
  [ -n "$skipped" ] && echo "skipped (not counted):$skipped"
  echo "wine: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit
fi

# A lane: takes the next line of the queue until none is left.
next_test() {
  flock "$CORVANE_WINE_QUEUE/next" sh -c 'n=$(cat "$1"); echo $((n + 1)) >"$1"; sed -n "${n}p" "$2"' \
    sh "$CORVANE_WINE_QUEUE/next" "$CORVANE_WINE_QUEUE/queue"
}

wine_session_start || { echo "wine: 0 passed, 1 failed"; exit 1; }
trap wine_session_end EXIT

passed=0
failed=0
failures=()
skipped=()
# A scenario exits 77 when this machine lacks what it needs to show anything
# (it says what); it is neither passed nor failed, and named at the end.
record() {  # name status seconds
  if [ "$2" -eq 77 ]; then
    skipped+=("$1"); echo "SKIP $1 ($3 s)"
  elif [ "$2" -eq 0 ]; then
    passed=$((passed + 1)); echo "PASS $1 ($3 s)"
  else
    failed=$((failed + 1)); failures+=("$1"); echo "FAIL $1 ($3 s)"
  fi
}

run_gtest() {  # exe
  local exe=$1 name log rc ok bad began=$SECONDS
  name=$(basename "$exe" .exe)
  scenario_begin "$name"
  log="$SCENARIO_DIR/gtest.log"
  ( cd "$SCENARIO_DIR" && timeout 600 wine "$exe" >"$log" 2>&1 )
  rc=$?
  ok=$(grep -c -E '^\[       OK \]' "$log" || true)
  bad=$(grep -c -E '^\[  FAILED  \] [A-Za-z_0-9]+\.[A-Za-z_0-9/]+( |$)' "$log" || true)
  if [ "$rc" -ne 0 ] && [ "$bad" -eq 0 ]; then bad=1; fi
  passed=$((passed + ok)); failed=$((failed + bad))
  echo "$name: $ok passed, $bad failed ($((SECONDS - began)) s)"
  grep -E '^figure ' "$log" | tr -d '\r'
  if [ "$bad" -ne 0 ]; then failures+=("$name"); tail -40 "$log"; fi
  scenario_end
}

# A scenario is one test, exit 0 = pass.
run_scenario() {  # script
  local script=$1 name rc began=$SECONDS
  name=$(basename "$script" .sh)
  scenario_begin "$name"
  ( . "$script" ) >"$SCENARIO_DIR/scenario.log" 2>&1
  rc=$?
  if [ "$rc" -eq 77 ]; then tail -1 "$SCENARIO_DIR/scenario.log"; elif [ "$rc" -ne 0 ]; then tail -30 "$SCENARIO_DIR/scenario.log"; fi
  scenario_end
  record "$name" "$rc" $((SECONDS - began))
}

while read -r kind path < <(next_test) && [ -n "$kind" ]; do
  if [ "$kind" = gtest ]; then run_gtest "$path"; else run_scenario "$path"; fi
done

[ ${#failures[@]} -gt 0 ] && echo "failed: ${failures[*]}"
[ ${#skipped[@]} -gt 0 ] && echo "skipped (not counted): ${skipped[*]}"
echo "wine: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
