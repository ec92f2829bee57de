#!/usr/bin/env bash
# Figures of the expansion engine under Wine (not a test), each beside a
# baseline of the same run:
#  - the target's own floor, before Corvane starts: a plain program sends
#    "sig", space, the Backspaces and Ctrl+V at once, the reply already on
#    the clipboard, and the target times space -> reply as below;
#  - typed "sig" + space: from the space key event to Corvane's synthesised
#    Ctrl+V, and to the reply standing in the target; beside it a plain key
#    from its key event to standing in the target; then the same rounds with
#    the clipboard kept switched off, and with it on, from the space to the
#    user's clipboard given back, the user's clipboard a plain program's copy
#    and then an OLE program's object; the target also times when it took
#    the first and the last Backspace;
#  - one delivery step by step: Corvane's trace of the first rounds beside the
#    target's times (tests/wine/tools/delivery_trace.py);
#  - CPU time of Corvane while another program is active (FixTimer polling)
#    against the same time with Corvane active (timer off).
#   CORVANE_BIN=build/win/bin tests/wine/tools/engine_figures.sh [rounds] [cpu seconds]
set -uo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
export CORVANE_ROOT=$root
export CORVANE_BIN=${CORVANE_BIN:-$root/build/win/bin}
rounds=${1:-20}
seconds=${2:-20}
. "$root/tests/wine/lib.sh"
wine_session_start >/dev/null || exit 1
trap wine_session_end EXIT
scenario_begin engine_figures
. "$root/tests/wine/tools/engine_scenario.sh"
no_startup_tip
set_setting ShowMacroIns 0
set_setting KeepClipboard 1
engine_library
hooks_install_tools
cp "$CORVANE_BIN"/tests/engine_bench.exe "$PROGRAM_DIR/"
# Corvane stamps each step of a delivery into this file, on the clock the target times with.
trace="$SCENARIO_DIR/trace.txt"
export CORVANE_TRACE="Z:$(echo "$trace" | tr / '\\')"
median() { sort -n | awk '{a[NR]=$1} END {if (NR) print a[int((NR+1)/2)]; else print "none"}'; }
from=1 # the first line of the rounds reported
col() { tr -d '\r' <"$out" | tail -n +"$from" | sed -n "s/.*$1=\([0-9.]*\).*/\1/p"; }
out="$SCENARIO_DIR/bench.out"
wine "$PROGRAM_DIR/engine_bench.exe" "Best regards, Ann" >"$out" 2>&1 &
wait_line "$out" '^ready' 30 || fail "bench did not start"
wait_for_window "Engine Bench" 20 || fail "bench window not visible"
bench=$(visible_windows "Engine Bench" | head -1)
xdotool mousemove --window "$bench" 200 60 click 1
sleep 2
# The target's own floor, before Corvane runs: a plain program sends what a
# delivery sends ("sig", space, the Backspaces, Ctrl+V) in one go, the reply
# already on the clipboard.
for i in $(seq 1 "$rounds"); do
  probe set-clipboard "Best regards, Ann"; probe type-and-paste sig; sleep 0.4
done
probe set-clipboard USERCLIP; sleep 0.2 # the target's report of a copy after its last reply stays here
echo "the target alone (no Corvane; every key sent at once, the reply already on the clipboard):"
echo "median space -> reply in target:    $(col space_to_text_ms | median) ms (max $(col space_to_text_ms | sort -n | tail -1), $(col space_to_text_ms | wc -l) rounds)"
from=$(($(wc -l <"$out") + 1))
corvane_start
wait_for_main_window 40 || fail "Corvane did not start"
xdotool mousemove --window "$bench" 200 60 click 1
sleep 2
rounds_of_typing() {
  for i in $(seq 1 "$rounds"); do
    xdotool type "x"; sleep 0.4; xdotool key Escape  # Escape: no macro begins with the x
    xdotool type --delay 40 "sig "; sleep 0.8
  done
}
report() {  # heading
  echo "$1"
  echo "rounds: $(col space_to_text_ms | wc -l) macros, $(col key_to_text_ms | wc -l) plain keys"
  echo "median space -> synthesised Ctrl+V: $(col space_to_ctrlv_ms | median) ms (max $(col space_to_ctrlv_ms | sort -n | tail -1))"
  echo "median space -> reply in target:    $(col space_to_text_ms | median) ms (max $(col space_to_text_ms | sort -n | tail -1))"
  echo "median plain key -> in target:      $(col key_to_text_ms | median) ms"
  [ "$(col space_to_given_back_ms | wc -l)" -gt 0 ] &&
    echo "space -> clipboard given back:      median $(col space_to_given_back_ms | median) ms, max $(col space_to_given_back_ms | sort -n | tail -1) ms ($(col space_to_given_back_ms | wc -l) rounds)"
}
probe set-clipboard USERCLIP
rounds_of_typing
report "clipboard kept (KeepClipboard 1):"
python3 "$root/tests/wine/tools/delivery_trace.py" "$out" "$trace" "$from"
# The same rounds with the user's clipboard an OLE program's object, given
# back with OleSetClipboard; the program prints each format it is asked for.
cp "$CORVANE_BIN"/tests/ole_clipboard_peer.exe "$PROGRAM_DIR/"
mkfifo "$SCENARIO_DIR/ole.in"
wine "$PROGRAM_DIR/ole_clipboard_peer.exe" source USERCLIP <"$SCENARIO_DIR/ole.in" >"$SCENARIO_DIR/ole.out" 2>&1 &
exec 9>"$SCENARIO_DIR/ole.in"
wait_line "$SCENARIO_DIR/ole.out" '^ready' 30 || fail "the OLE program did not copy"
from=$(($(wc -l <"$out") + 1))
rounds_of_typing
report "clipboard kept, an OLE program's copy (KeepClipboard 1):"
echo "the clipboard after those rounds: $(probe clipboard)"
echo "the OLE program was asked for: text $(grep -c 'rendered text' "$SCENARIO_DIR/ole.out") times, its stream $(grep -c 'rendered embed' "$SCENARIO_DIR/ole.out") times"
echo end >&9
exec 9>&-
probe set-clipboard USERCLIP # the rounds below start from a plain program's copy
# The engine reads its settings at start (and after Options): a restart takes the new one.
set_setting KeepClipboard 0
kill "$CORVANE_PID" 2>/dev/null
wait_exit "$CORVANE_PID" 20
corvane_start
wait_for_main_window 40 || fail "Corvane did not start again"
xdotool mousemove --window "$bench" 200 60 click 1
sleep 2
from=$(($(wc -l <"$out") + 1))
rounds_of_typing
report "clipboard not kept (KeepClipboard 0):"
set_setting KeepClipboard 1

ticks() { awk '{print $14+$15}' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
cpu_over() {  # seconds -> CPU ms of Corvane
  local before after
  before=$(ticks "$CORVANE_PID"); sleep "$1"; after=$(ticks "$CORVANE_PID")
  echo $(( (after - before) * 1000 / hz ))
}
on=$(cpu_over "$seconds")             # the bench is active: FixTimer polls
main_window_keys Home; sleep 1         # Corvane active: the timer is off
off=$(cpu_over "$seconds")
xdotool mousemove --window "$bench" 200 60 click 1; sleep 1
on2=$(cpu_over "$seconds")
echo "Corvane CPU per minute: FixTimer polling $(( (on + on2) * 30 / seconds )) ms, timer off (program active) $(( off * 60 / seconds )) ms"
scenario_end
