#!/usr/bin/env bash
# Typing soak: many deliveries into another program at typing speed, by every
# typed route (a plain macro, a macro with parameters in parentheses) and by a
# reply's hot key, each checked in the target's edit box. Counts deliveries
# that arrived exactly, arrived wrong or went missing, and reads Corvane's
# working set and handle counts at the start and the end. Not part of the CI
# run; prints figures and exits 1 when any delivery was wrong or missing.
#   bench/wine-typing-soak.sh [deliveries]   (default 3000; needs scripts/build.sh win)
#   CORVANE_SOAK_DELAY  milliseconds between typed keys (default 60)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deliveries=${1:-3000}
delay=${CORVANE_SOAK_DELAY:-60}
export CORVANE_ROOT=$root
export CORVANE_BIN=${CORVANE_BIN:-$root/build/win/bin}
. "$root/tests/wine/lib.sh"
wine_session_start >/dev/null || exit 1
trap wine_session_end EXIT
scenario_begin typing-soak
. "$root/tests/wine/tools/engine_scenario.sh"
engine_start

# The last text of the target's edit box (the output grows, so only its end is read).
last_text() {
  tail -n 1 "$TARGET_OUT" | sed -n 's/^text://p' | tr -d '\r'
}

# 0 exact, 1 wrong, 2 missing: waits up to 5 s for $1 in the edit box.
await() {  # expected typed
  local i now
  for i in $(seq 1 100); do
    now=$(last_text)
    [ "$now" = "$1" ] && return 0
    sleep 0.05
  done
  echo "delivery $n: expected '$1', target holds '$now'" >&2
  # Untouched (still what was typed, or empty for a hot key) is missing.
  [ "$now" = "$2" ] && return 2
  return 1
}

clear_target() {
  xdotool key End shift+Home BackSpace
  local i
  for i in $(seq 1 40); do
    [ -z "$(last_text)" ] && return 0
    sleep 0.05
  done
}

figures() {
  printf '%s %s' "$(probe memory)" "$(probe handles)"
}

sleep 2
start_figures=$(figures)
exact=0 wrong=0 missing=0
declare -A by_route_exact=() by_route_total=()
started=$(date +%s)
for n in $(seq 1 "$deliveries"); do
  case $((n % 3)) in
    0)
      route=macro
      typed="sig "
      expected="Best regards, Ann"
      xdotool type --delay "$delay" "$typed"
      ;;
    1)
      route=parameters
      typed="meet(Mon$n,noon) "
      expected="See you on Mon$n at noon."
      xdotool type --delay "$delay" "$typed"
      ;;
    2)
      route=hotkey
      typed=""
      expected="Best regards, Ann"
      press_chord ctrl alt k
      ;;
  esac
  await "$expected" "$typed"
  case $? in
    0) exact=$((exact + 1)); by_route_exact[$route]=$((${by_route_exact[$route]:-0} + 1)) ;;
    1) wrong=$((wrong + 1)) ;;
    2) missing=$((missing + 1)) ;;
  esac
  by_route_total[$route]=$((${by_route_total[$route]:-0} + 1))
  clear_target
  if [ $((n % 250)) -eq 0 ]; then
    echo "after $n: $exact exact, $wrong wrong, $missing missing; working set KiB, peak, handles, GDI, USER: $(figures)"
  fi
done
elapsed=$(($(date +%s) - started))
sleep 2
end_figures=$(figures)
engine_library_unchanged || echo "the reply files changed" >&2

echo "deliveries: $deliveries in ${elapsed}s ($(awk -v n="$deliveries" -v s="$elapsed" 'BEGIN { printf "%.2f", n / (s ? s : 1) }')/s)"
for route in "${!by_route_total[@]}"; do
  echo "  $route: ${by_route_exact[$route]:-0} of ${by_route_total[$route]} exact"
done
echo "arrived exactly: $exact, arrived wrong: $wrong, missing: $missing"
echo "working set KiB, peak KiB, handles, GDI objects, USER objects"
echo "  start: $start_figures"
echo "  end:   $end_figures"
scenario_end
[ "$wrong" -eq 0 ] && [ "$missing" -eq 0 ]
