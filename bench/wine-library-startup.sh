#!/usr/bin/env bash
# Start-up of the real Corvane.exe under Wine on generated libraries of 1,000
# and 10,000 replies (folders of 100, each reply with a macro), beside the
# starter library, in one run: time from launch until the window first
# answers, until its tree and every macro are in, and the working set then.
# Each library is started first with no reply cache (as after an install),
# and then twice more; the third start is reported as "again", as on every
# later day (a reply written within seconds before a start is read from its
# file, not kept in the cache, at the next start too).
# Every start is made in a Wine session that is up and settled, as Windows is
# when a user starts a program: booting Wine's own session (its server and
# services, about half a second on two cores) is not counted. Beside the
# figures, in the same session: how soon a bare Win32 window that loads the
# same system libraries (bench/wine/bare_window.exe) shows, and how long a
# plain program takes to open and read every file of the library
# (bench/wine/read_tree.exe): the floor of a start with no reply cache.
# Not a test; prints figures.
#   bench/wine-library-startup.sh [sizes...]   (default 1000 10000; needs scripts/build.sh win)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sizes=("$@")
[ ${#sizes[@]} -eq 0 ] && sizes=(1000 10000)
export CORVANE_ROOT=$root
export CORVANE_BIN=${CORVANE_BIN:-$root/build/win/bin}
. "$root/tests/wine/lib.sh"
wine_session_start >/dev/null || exit 1
trap wine_session_end EXIT

# Writes a library of $2 replies in folders of 100 into $1; prints the macros.
generate() {  # folder replies
  python3 "$root/bench/generate_library.py" "$1" "$2"
}

# Macros of the starter library: replies whose first line is not empty.
starter_macros() {
  local n=0 f
  for f in $(find "$root/data/Replies" -name '*.rep'); do
    [ -n "$(head -1 "$f" | tr -d '\r')" ] && n=$((n + 1))
  done
  echo "$n"
}

declare -A answered ready memory steps
# Corvane stamps its steps on the performance counter, which Wine reads from
# the raw monotonic clock: this is how far the wall clock runs ahead of it.
counter_offset=$(python3 -c 'import time; print(time.time() * 1000 - time.clock_gettime(time.CLOCK_MONOTONIC_RAW) * 1000)')
# Corvane's own stamps of its start, in ms from launch.
start_steps() {  # trace-file launch-ms
  tr -d '\r' <"$1" | awk -v launch="$2" -v offset="$counter_offset" '/ start: / { step = $0
       sub(/^[0-9.]+ start: /, "", step); printf "%s%s @%d ms", sep, step, $1 + offset - launch; sep = ", " }'
}
run() {  # label macros
  local label=$1 macros=$2 start out
  no_startup_tip
  rm -f "$SCENARIO_DIR/trace.txt"
  export CORVANE_TRACE="Z:$(echo "$SCENARIO_DIR/trace.txt" | tr / '\\')"
  start=$(date +%s%3N)
  corvane_start
  out=$(wine "$CORVANE_BIN/tests/probe.exe" ready "$macros" 180000 2>/dev/null | tr -d '\r')
  if [[ "$out" != answered* ]]; then
    echo "$label: no start seen (probe: ${out:-nothing}; Corvane's processes: $(corvane_processes | wc -l))"
    answered[$label]=none ready[$label]=none memory[$label]=none
    return
  fi
  answered[$label]=$(($(echo "$out" | awk '{print $2}') - start))
  ready[$label]=$(($(echo "$out" | awk '{print $4}') - start))
  sleep 2
  memory[$label]=$(probe memory | awk '{print $1}')
  steps[$label]=$(start_steps "$SCENARIO_DIR/trace.txt" "$start")
}

# Ends the running Corvane once it has had time to write its reply cache.
stop_corvane() {
  sleep 3
  kill -9 $(corvane_processes) 2>/dev/null
  wait "$CORVANE_PID" 2>/dev/null
  while [ -n "$(corvane_processes)" ]; do sleep 0.1; done
  sleep 1
}
# Wine's session kept up for the whole library, and let settle.
session_up() {
  wineserver -p
  wine cmd /c exit >/dev/null 2>&1
  sleep 3
}
session_down() {
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
}
# Launch until a bare window is visible, in ms; polled, so to about 10 ms.
bare_window_ms() {
  local start shown
  start=$(date +%s%3N)
  wine "$CORVANE_BIN/bench/bare_window.exe" >/dev/null 2>&1 &
  local pid=$!
  until visible_windows "Bare Window" | grep -q .; do sleep 0.005; done
  shown=$(date +%s%3N)
  kill "$pid" 2>/dev/null
  pkill -f bare_window.exe 2>/dev/null
  wait "$pid" 2>/dev/null
  sleep 1
  echo $((shown - start))
}
# Listing and reading every file of $1 (a Windows path) from a plain
# program, in ms by its own clock.
read_tree_ms() {  # folder
  wine "$CORVANE_BIN/bench/read_tree.exe" "$1" 2>/dev/null | tr -d '\r' | awk '{print $6}'
}
declare -A read_floor
labels=()
run_twice() {  # label macros
  run "$1 first" "$2"
  stop_corvane
  run "$1 second" "$2"
  stop_corvane
  run "$1 again" "$2"
  stop_corvane
  labels+=("$1 first" "$1 again")
}
scenario_begin starter
session_up
bare=("$(bare_window_ms)" "$(bare_window_ms)" "$(bare_window_ms)")
run_twice starter "$(starter_macros)"
session_down
scenario_end
for size in "${sizes[@]}"; do
  scenario_begin "lib$size"
  generate "$DATA_DIR/Replies" "$size" >/dev/null
  # A library in use was written before the day it is started on.
  find "$DATA_DIR/Replies" -exec touch -d '1 hour ago' {} +
  session_up
  read_floor[$size]="$(read_tree_ms "$(winepath -w "$DATA_DIR/Replies")") $(read_tree_ms "$(winepath -w "$DATA_DIR/Replies")")"
  run_twice "$size" "$size"
  session_down
  scenario_end
done

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a ~ /^[0-9]+$/ && b ~ /^[0-9]+$/ && b > 0) printf "%.1fx", a / b; else print "-" }'; }
printf '%-13s %14s %24s %26s\n' library "window answers" "tree + macros ready" "working set"
for label in "${labels[@]}"; do
  base="starter ${label##* }"
  printf '%-13s %11s ms %14s ms (%6s) %13s KiB (%+d MiB)\n' "$label" "${answered[$label]}" "${ready[$label]}" \
    "$(ratio "${ready[$label]}" "${ready[$base]}")" "${memory[$label]}" \
    $(( (${memory[$label]//none/0} - ${memory[$base]//none/0}) / 1024 ))
done
echo "(starter = the library shipped in data/Replies; ratios against its start of the same kind, same run)"
echo "a bare Win32 window (system libraries only) visible after: ${bare[*]} ms (launch to visible, polled)"
for size in "${sizes[@]}"; do
  echo "a plain program opening and reading the $size replies' files: ${read_floor[$size]} ms (its own clock, twice)"
done
for label in "${labels[@]}"; do
  echo "$label: ${steps[$label]}"
done
