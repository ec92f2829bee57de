#!/usr/bin/env bash
# Runs the Windows-side test programs and the end-to-end scenarios under
# Wine on a private virtual display, each scenario in a fresh Wine prefix.
#   scripts/test-wine.sh [scenario-name-filter]
# Ends with "wine: N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
filter=${1:-}
export CORVANE_ROOT=$root
export CORVANE_BIN=${CORVANE_BIN:-$root/build/win/bin}
# shellcheck source=../tests/wine/lib.sh
. "$root/tests/wine/lib.sh"

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

# Windows-side GoogleTest programs: each test case counts.
for exe in "$CORVANE_BIN"/tests/*_test.exe; do
  [ -e "$exe" ] || continue
  name=$(basename "$exe" .exe)
  [ -n "$filter" ] && [[ "$name" != *"$filter"* ]] && continue
  began=$SECONDS
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
done

# End-to-end scenarios: each script is one test, exit 0 = pass.
for script in "$root"/tests/wine/scenarios/*.sh; do
  [ -e "$script" ] || continue
  name=$(basename "$script" .sh)
  [ -n "$filter" ] && [[ "$name" != *"$filter"* ]] && continue
  began=$SECONDS
  scenario_begin "$name"
  ( . "$script" ) >"$SCENARIO_DIR/scenario.log" 2>&1
  rc=$?
  if [ "$rc" -eq 77 ]; then tail -1 "$SCENARIO_DIR/scenario.log"; elif [ "$rc" -ne 0 ]; then tail -30 "$SCENARIO_DIR/scenario.log"; fi
  scenario_end
  record "$name" "$rc" $((SECONDS - began))
done

[ ${#failures[@]} -gt 0 ] && echo "failed: ${failures[*]}"
[ ${#skipped[@]} -gt 0 ] && echo "skipped (not counted): ${skipped[*]}"
echo "wine: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
