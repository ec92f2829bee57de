#!/usr/bin/env bash
# How long a key waits in another program while Corvane's window is busy:
# starting on a library of 10,000 replies (as autorun does at logon) and
# afterwards, beside the same typing with no Corvane running, in one run.
# Keys are typed into a window of a second program (hooks_peer) and timed
# there, on that program's own clock; then a typed macro must still expand.
# Not a test; prints figures.
#   bench/wine-typing-while-busy.sh [replies]   (default 10000; needs scripts/build.sh win)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
replies=${1:-10000}
export CORVANE_ROOT=$root
export CORVANE_BIN=${CORVANE_BIN:-$root/build/win/bin}
. "$root/tests/wine/lib.sh"
. "$root/tests/wine/tools/engine_scenario.sh"
wine_session_start >/dev/null || exit 1
trap wine_session_end EXIT
scenario_begin busy
no_startup_tip
python3 "$root/bench/generate_library.py" "$DATA_DIR/Replies" "$replies" >/dev/null
hooks_install_tools

coproc PEER { wine "$CORVANE_BIN/tests/hooks_peer.exe" 2>/dev/null; }
ask_peer() {  # command
  local line
  echo "$1" >&"${PEER[1]}"
  read -r line <&"${PEER[0]}"
  echo "$line" | tr -d '\r'
}
# Until Corvane's keyboard receiver is in the hook library's table.
wait_for_receiver() {
  local i
  for i in $(seq 1 600); do
    [[ "$(ask_peer "block 1")" =~ count=[1-9] ]] && return 0
    sleep 0.1
  done
  return 1
}
# 400 key events, 20 ms apart, into the peer's own window: "seen max_ms median_ms".
type_into_peer() {
  local line
  echo "keys 124 400 20 10000" >&"${PEER[1]}"
  read -r line <&"${PEER[0]}"
  echo "$line" | tr -d '\r' | sed -E 's/.*seen=([0-9]+) max_ms=([0-9.]+) median_ms=([0-9.]+).*/\1 \2 \3/'
}

baseline=$(type_into_peer)
start=$(date +%s%3N)
corvane_start
wait_for_receiver || echo "the keyboard receiver did not appear"
hooked_ms=$(($(date +%s%3N) - start))
starting=$(type_into_peer)
typed_ms=$(($(date +%s%3N) - start))
out=$(wine "$CORVANE_BIN/tests/probe.exe" ready "$replies" 300000 2>/dev/null | tr -d '\r')
ready_ms=$(($(echo "$out" | awk '{print $4}') - start))
idle=$(type_into_peer)
echo exit >&"${PEER[1]}"

target_start "Busy Target" 100
target_focus
xdotool type --delay 60 "m5 "
if wait_target_text "Reply number 5, kind regards." 20; then expands=yes; else expands="no: '$(target_text)'"; fi
scenario_end

row() {  # label "seen max median"
  read -r seen max median <<<"$2"
  printf '%-34s %5s keys  longest %8s ms  median %6s ms  (longest %s x baseline)\n' "$1" "$seen" "$max" "$median" \
    "$(awk -v a="$max" -v b="$(echo "$baseline" | awk '{print $2}')" 'BEGIN { printf "%.1f", a / (b > 0 ? b : 0.1) }')"
}
row "no Corvane (baseline)" "$baseline"
row "Corvane starting, $replies replies" "$starting"
row "Corvane started, idle" "$idle"
echo "typing while starting: from ${hooked_ms} ms (receiver in the table) to ${typed_ms} ms after launch; tree and macros ready ${ready_ms} ms after launch"
echo "a typed macro afterwards expands: $expands"
