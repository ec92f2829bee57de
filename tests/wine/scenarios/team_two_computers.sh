# Two computers (two Wine prefixes, each its own registry and wineserver),
# each with its own team folder, the two joined by a copying loop that stands
# in for a sync client (new and changed files copied each way every 0.5 s;
# paused for "offline"). A team folder in the older layout is taken in; a
# reply added and given a macro on B shows on A and delivers there; two adds
# at the same moment are both kept; an add made offline arrives once back;
# one reply edited on both while offline shows both versions everywhere; the
# personal libraries stay as they were; with its folder gone, A delivers from
# its copy and keeps an add, which reaches B once the folder is back.
. "$CORVANE_ROOT/tests/wine/tools/engine_scenario.sh"

team_a="$SCENARIO_DIR/team-a"
team_b="$SCENARIO_DIR/team-b"
mkdir -p "$team_a" "$team_b"
printf 'REPLY_1?Team hello\r\n' >"$team_a/index.sub"
printf 'thello\r\n\r\n{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n\\pard\\f0\\fs20 Hello from the team\\par\r\n}\r\n' >"$team_a/1.rep"
win_path() { printf 'Z:%s' "$1" | tr / '\\'; }

# The sync stand-in: a file new or newer on one side is copied to the other
# (through a temporary name, as sync clients do).
sync_pass() {  # from to
  local f rel
  (cd "$1" && find . -type f ! -name '*.part') | while read -r f; do
    rel=${f#./}
    if [ ! -e "$2/$rel" ] || { [ "$1/$rel" -nt "$2/$rel" ] && ! cmp -s "$1/$rel" "$2/$rel"; }; then
      mkdir -p "$(dirname "$2/$rel")"
      cp -p "$1/$rel" "$2/$rel.part" 2>/dev/null && mv "$2/$rel.part" "$2/$rel"
    fi
  done
}
# While $offline exists nothing is copied; $offline.seen says a pass saw it.
offline="$SCENARIO_DIR/offline"
( while [ ! -e "$SCENARIO_DIR/stop-sync" ]; do
    if [ -e "$offline" ]; then
      touch "$offline.seen"
    elif [ -d "$team_a" ] && [ -d "$team_b" ]; then
      rm -f "$offline.seen"
      sync_pass "$team_a" "$team_b"; sync_pass "$team_b" "$team_a"
    fi
    sleep 0.5
  done ) &

prefix_b="$SCENARIO_DIR/prefix-b"
copy_template_prefix "$prefix_b"
mkdir -p "$prefix_b/drive_c/Program Files"
cp -a "$PROGRAM_DIR" "$prefix_b/drive_c/Program Files/"
on_b() { WINEPREFIX=$prefix_b "$@"; }
team_settings() {  # folder
  wine reg add 'HKCU\SOFTWARE\Tarnwick\Corvane 2' /v SharedLibrary /t REG_SZ /d "$(win_path "$1")" /f >/dev/null 2>&1
  set_setting ShowTips 0
}
cleanup_b() { touch "$SCENARIO_DIR/stop-sync"; on_b wineserver -k 2>/dev/null; on_b wineserver -w 2>/dev/null; }
trap cleanup_b EXIT

team_settings "$team_a"
engine_library
hooks_install_tools
corvane_start
on_b team_settings "$team_b"
on_b wine "$PROGRAM_WIN" >>"$SCENARIO_DIR/corvane-b.out" 2>&1 &
wait_for_main_window 40 || fail "A: main window did not appear"
probe move 0 0 740 450
b_up=""
for i in $(seq 1 80); do on_b probe exists >/dev/null && b_up=1 && break; sleep 0.5; done
[ -n "$b_up" ] || fail "B: main window did not appear"
on_b probe move 0 470 740 450
data_b="$prefix_b/drive_c/users/$(id -un)/AppData/Roaming/Corvane 2/Replies"
(cd "$data_b" && find . -type f | sort | xargs md5sum) >"$SCENARIO_DIR/library-b.md5"

# Gives the computer's window the keyboard by a click on its "Name" label,
# which does nothing else.
activate() {  # computer
  local p
  p=$($1 probe control-point 2008) || fail "no Name label"
  xdotool mousemove $p click 1
  sleep 0.2
}
# Stops the sync stand-in until $offline goes.
stop_sync() {
  local i
  touch "$offline"
  for i in $(seq 1 50); do [ -e "$offline.seen" ] && return 0; sleep 0.1; done
  fail "the sync stand-in did not stop"
}
# Clicks a node until it is selected: a click that ends a label edit selects
# nothing under Wine. A node already selected is not clicked: that would
# start editing its label.
click_item() {  # computer label
  local p i try
  if [ "$($1 probe selected)" = "$2" ]; then
    activate "$1"
    return 0
  fi
  for try in 1 2 3; do
    p=$($1 probe item-point "$2") || fail "no node '$2' on screen: $($1 probe tree)"
    xdotool mousemove $p click 1
    for i in $(seq 1 10); do
      [ "$($1 probe selected)" = "$2" ] && return 0
      sleep 0.1
    done
  done
  fail "'$2' not selected: $($1 probe selected)"
}
# Clicks a control and waits until it has the keyboard.
click_control() {  # computer id
  local p i
  p=$($1 probe control-point "$2") || fail "no control $2"
  xdotool mousemove $p click 1
  for i in $(seq 1 50); do
    [ "$($1 probe focus)" = "$2" ] && return 0
    sleep 0.1
  done
  fail "control $2 did not take the keyboard"
}
# Waits until the new node's label is being edited.
wait_label_edit() {  # computer
  local i
  for i in $(seq 1 50); do
    $1 probe selected | grep -qx editing && return 0
    sleep 0.1
  done
  fail "no label edit: $($1 probe selected)"
}
wait_for_count() {  # computer pattern count seconds
  local i
  for i in $(seq 1 $(($4 * 10))); do
    [ "$($1 probe tree | grep -c -E "$2")" = "$3" ] && return 0
    sleep 0.1
  done
  return 1
}
# Waits until a file under the folders holds a line starting with the text.
wait_for_record() {  # text seconds folder...
  local text=$1 limit=$2 i
  shift 2
  for i in $(seq 1 $((limit * 20))); do
    grep -rqs "^$text" "$@" && return 0
    sleep 0.05
  done
  return 1
}
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# The older layout taken in on A, and on B through the sync stand-in.
wait_for_count "" "Team hello" 1 15 || fail "A: the team folder was not taken in: $(probe tree)"
wait_for_count on_b "Team hello" 1 15 || fail "B: no team library: $(on_b probe tree)"
for computer in "" on_b; do
  click_item "$computer" "Team"
  xdotool key Right
  wait_for_count "$computer" "^  Team hello" 1 5 || fail "the team folder did not open: $($computer probe tree)"
done

# 1. B adds "Welcome" with the macro welc; A shows it and takes the macro. The
# figure is split at the moment the stand-in put B's record in A's folder.
click_item on_b "Team hello"
on_b probe command 1003
wait_label_edit on_b
xdotool type --delay 80 "Welcome"
xdotool key Return
named=$(now_ms)
( wait_for_record "name Welcome" 15 "$team_a/Corvane Team" && now_ms >"$SCENARIO_DIR/arrived" ) &
copied=$!
wait_for_count "" "Welcome" 1 15 || fail "A did not show B's reply: $(probe tree)"
shown=$(now_ms)
wait $copied
arrived=$(cat "$SCENARIO_DIR/arrived" 2>/dev/null) || fail "B's record never reached A's folder"
echo "figure: B's new name in A's tree $((shown - named)) ms after B named it; baseline, the stand-in copying B's record to A's folder (every 0.5 s): $((arrived - named)) ms; A's own part: $((shown - arrived)) ms"
click_control on_b 2016
xdotool type --delay 60 "Welcome to the team"
click_control on_b 2007
xdotool type --delay 80 "welc"
xdotool key Return
for i in $(seq 1 150); do probe list macros | grep -qx welc && break; sleep 0.1; done
probe list macros | grep -qx welc || fail "A did not take B's macro: $(probe list macros)"

# 2. Both add a reply at the same moment: both are kept on both.
click_item "" "Welcome"
click_item on_b "Welcome"
probe command 1003 &
adding=$!
on_b probe command 1003
wait $adding
wait_label_edit ""
wait_label_edit on_b
click_item "" "Team hello"
click_item on_b "Team hello"
wait_for_count "" "New Reply" 2 15 || fail "A shows: $(probe tree)"
wait_for_count on_b "New Reply" 2 15 || fail "B shows: $(on_b probe tree)"

# 3. Offline: A adds a reply, and both edit "Team hello"; each change is in
# its computer's own copy before the stand-in copies again.
copy_a="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Corvane 2/TeamCopies"
copy_b="$prefix_b/drive_c/users/$(id -un)/AppData/Local/Corvane 2/TeamCopies"
stop_sync
click_item "" "Team hello"
probe command 1003
wait_label_edit ""
xdotool type --delay 80 "Made offline"
xdotool key Return
click_item "" "Team hello"
click_control "" 2016
xdotool key ctrl+End
xdotool type --delay 60 " from A"
click_item "" "Welcome"
click_item on_b "Team hello"
click_control on_b 2016
xdotool key ctrl+End
xdotool type --delay 60 " from B"
click_item on_b "Welcome"
wait_for_record "name Made offline" 10 "$copy_a" || fail "A's offline add is not in its copy"
wait_for_record ".*from A" 10 "$copy_a" || fail "A's offline edit is not in its copy"
wait_for_record ".*from B" 10 "$copy_b" || fail "B's offline edit is not in its copy"
rm -f "$offline"
wait_for_count on_b "Made offline" 1 15 || fail "B did not get A's offline add: $(on_b probe tree)"
wait_for_count "" "Team hello \\(.*'s version\\)" 2 15 || fail "A does not show both versions: $(probe tree)"
wait_for_count on_b "Team hello \\(.*'s version\\)" 2 15 || fail "B does not show both versions: $(on_b probe tree)"
screenshot "$SCENARIO_DIR/two-computers.png"

# 4. The personal libraries are as they were.
engine_library_unchanged || fail "A's own library changed"
(cd "$data_b" && md5sum -c --quiet "$SCENARIO_DIR/library-b.md5") || fail "B's own library changed"

# 5. A's folder goes away: A greys it, delivers from its copy and keeps an
# add, which reaches B once the folder is back.
stop_sync
mv "$team_a" "$team_a-away"
rm -f "$offline"
for i in $(seq 1 100); do probe tree-images | grep -qx "Team 5 5" && break; sleep 0.1; done
probe tree-images | grep -qx "Team 5 5" || fail "A does not show its team folder as away: $(probe tree-images | head -3)"
target_start "Team Target" 800
target_focus
xdotool type --delay 60 "welc "
wait_target_text "Welcome to the team" || fail "A did not deliver B's reply from its copy while the folder was away"
target_clear
click_item "" "Welcome"
probe command 1003
wait_label_edit ""
xdotool type --delay 80 "Kept while away"
xdotool key Return
wait_for_record "name Kept while away" 10 "$copy_a" || fail "A's add while away is not in its copy"
probe window Error >/dev/null && fail "an error box while the folder was away: $(probe text Error)"
[ ! -e "$team_a" ] || fail "something was written where the team folder was"
mv "$team_a-away" "$team_a"
wait_for_count on_b "Kept while away" 1 20 || fail "B did not get the add made while A's folder was away: $(on_b probe tree)"
