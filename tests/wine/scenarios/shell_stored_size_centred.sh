# A stored Full-mode size is applied centred on the screen at that size.
no_startup_tip
# 14 bytes: min height 450, min width 740, 900 x 600, upper panel 300, lists 260 and 119.
wine reg add 'HKCU\SOFTWARE\Tarnwick\Corvane 2' /v MainFormSettings /t REG_BINARY \
  /d c201e402840358022c0104017700 /f >/dev/null 2>&1
corvane_start
wait_for_main_window 40 || fail "main window did not appear"
wait_for_visibility 1 40 || fail "main window was not shown"
[ "$(probe size)" = "900 600" ] || fail "size '$(probe size)'"
read -r left top width height <<<"$(probe workarea)"
expected="$((left + (width - 900) / 2)) $((top + (height - 600) / 2))"
[ "$(probe position)" = "$expected" ] || fail "at '$(probe position)', centred is '$expected'"
