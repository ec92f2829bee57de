# A program named in "ExcludedPrograms" keeps what is typed into it and its
# hot keys, while another program still expands; "Pause Corvane" in the
# tray menu stops every expansion until it is chosen again.
. "$CORVANE_ROOT/tests/wine/tools/engine_scenario.sh"
wine reg add 'HKCU\SOFTWARE\Tarnwick\Corvane 2' /v ExcludedPrograms /t REG_SZ /d 'keepass.exe; HOOKS_TARGET.EXE' /f \
  >/dev/null 2>&1
engine_start
select_reply "Signature"

TARGET_PROGRAM=mail_target.exe target_start "Mail Target" 560
mail_out=$TARGET_OUT mail_xid=$TARGET_XID
target_start "Engine Target" 100
excluded_out=$TARGET_OUT excluded_xid=$TARGET_XID
use_target() {  # out xid
  TARGET_OUT=$1 TARGET_XID=$2
  target_focus
}

use_target "$excluded_out" "$excluded_xid"
sleep 1.5 # Wine tells the program late that it is no longer active
xdotool type --delay 60 "sig "
press_chord ctrl alt k
press_chord ctrl shift v
sleep 1.5
[ "$(target_text)" = "sig " ] || fail "the excluded program got '$(target_text)'"

use_target "$mail_out" "$mail_xid"
xdotool type --delay 60 "sig "
wait_target_text "Best regards, Ann" || fail "another program did not expand"

# The tray menu opens with its bottom at the pointer: "Exit", a separator
# and "Pause Corvane" above it, about 16 pixels each.
tray_pause_item() {
  eval "$(xdotool getmouselocation --shell)"
  probe tray right >/dev/null
  sleep 1
  xdotool mousemove $((X + 40)) $((Y - 36))
  sleep 0.3
  xdotool click 1
  sleep 1
}

tray_pause_item
use_target "$mail_out" "$mail_xid"
target_clear
xdotool type --delay 60 "sig "
sleep 1.5
[ "$(target_text)" = "sig " ] || fail "expanded while paused: '$(target_text)'"

tray_pause_item
use_target "$mail_out" "$mail_xid"
target_clear
xdotool type --delay 60 "sig "
wait_target_text "Best regards, Ann" || fail "did not expand again after resuming"

engine_library_unchanged || fail "reply files changed"
