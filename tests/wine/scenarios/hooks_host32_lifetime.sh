# Corvane starts the host of its 32-bit hook library, from its own folder,
# and the host ends with Corvane: when Corvane exits, and when it is killed.
# Wine here runs no 32-bit program, so the host and its library in the
# program folder are their 64-bit builds (tests/twin); no key is typed
# (with two 64-bit libraries every key would be told twice).
cp "$CORVANE_BIN"/tests/twin/Tolvar32Host.exe "$CORVANE_BIN"/tests/twin/Tolvar32.dll "$PROGRAM_DIR/"
# The host of this scenario's prefix (other sessions may run their own).
host_pid() {
  local pid
  for pid in $(pgrep -f 'Tolvar32Host.exe'); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "$pid"
  done
}
wait_host() {  # 1 = running, 0 = gone; seconds
  local want=$1 limit=$2 i
  for i in $(seq 1 $((limit * 10))); do
    if [ -n "$(host_pid)" ]; then [ "$want" = 1 ] && return 0; else [ "$want" = 0 ] && return 0; fi
    sleep 0.1
  done
  return 1
}
no_startup_tip
corvane_start
wait_for_main_window 40 || fail "main window did not appear"
wait_host 1 20 || fail "Corvane did not start the host beside it"
[ "$(host_pid | wc -l)" = 1 ] || fail "more than one host"
tr '\0' ' ' <"/proc/$(host_pid)/cmdline" | grep -q -- "--owner [0-9]" || fail "the host was not told whom it serves"
main_window_keys alt+F4
wait_exit "$CORVANE_PID" 20 || fail "Alt+F4 did not end the program"
wait_host 0 5 || fail "the host outlived Corvane's exit"

corvane_start
wait_for_main_window 40 || fail "main window did not appear the second time"
wait_host 1 20 || fail "the host was not started the second time"
kill -9 "$CORVANE_PID"
wait "$CORVANE_PID" 2>/dev/null
wait_host 0 10 || fail "the host outlived a killed Corvane"
