# A process killed while it saves or moves replies leaves nothing that needs
# a repair by hand: each reply file is whole (the old or the new text, never
# a torn one), and Corvane started afterwards shows the whole tree with no
# message box and leaves no temporary file behind.
. "$CORVANE_ROOT/tests/wine/tools/hooks_scenario.sh"
no_startup_tip
cp "$CORVANE_BIN/tests/library_writer.exe" "$PROGRAM_DIR/"
folder="$DATA_DIR/Replies"
mkdir -p "$folder"
winfolder=$(winepath -w "$folder" 2>/dev/null | tr -d '\r')

# Whole: the generation at the start equals the one at the end, and every
# filler line is there.
reply_whole() {  # file
  local first last lines
  first=$(sed -n '3s/^{\\rtf1 gen \([0-9]*\).*/\1/p' "$1" | tr -d '\r')
  last=$(tail -n 1 "$1" | sed -n 's/^end \([0-9]*\)}.*/\1/p' | tr -d '\r')
  lines=$(wc -l <"$1")
  [ -n "$first" ] && [ "$first" = "$last" ] && [ "$lines" -eq 2004 ]
}

temporaries() {
  find "$folder" -iname 'cvn*.tmp' | wc -l
}

# Starts the writer with its arguments, lets it get under way until its
# output has a line matching $1, then kills it somewhere inside its work.
kill_writer_inside() {  # pattern round writer-arguments...
  local pattern=$1 round=$2 out="$SCENARIO_DIR/writer.$2.out" writer
  shift 2
  wine "$PROGRAM_DIR/library_writer.exe" "$@" >"$out" 2>&1 &
  writer=$!
  wait_line "$out" "$pattern" 60 || fail "the writer did not get under way (round $round): $(cat "$out")"
  sleep "0.$((RANDOM % 9 + 1))"
  kill -9 "$writer"
  wait "$writer" 2>/dev/null
  WRITER_LINES=$(grep -c "$pattern" "$out")
}

# Starts Corvane on the library as it is: the tree must come up with every
# entry exactly once (labels sorted, one per line) and no message box.
corvane_shows_whole_tree() {  # expected-labels
  local tree="" i
  corvane_start
  wait_for_main_window 60 || fail "$1: main window did not appear"
  for i in $(seq 1 60); do
    tree=$(probe tree | sed 's/^ *//' | sort | tr '\n' ' ')
    [ "$tree" = "$2" ] && break
    [ "$(probe window Error)" = 1 ] || [ "$(probe window Warning)" = 1 ] && break
    sleep 0.5
  done
  [ "$(probe window Error)" != 1 ] || { screenshot "$SCENARIO_DIR/$1.png"; fail "$1: an error box appeared"; }
  [ "$(probe window Warning)" != 1 ] || { screenshot "$SCENARIO_DIR/$1.png"; fail "$1: a notice appeared"; }
  [ "$tree" = "$2" ] || fail "$1: the tree shows '$tree' instead of '$2'"
  probe command 1001 >/dev/null  # File, Exit
  wait_exit "$CORVANE_PID" 30 || fail "$1: Corvane did not exit"
}

# Saves killed at random moments.
replies=8
: >"$folder/index.sub"
for n in $(seq 1 "$replies"); do printf 'REPLY_%s?S%s\r\n' "$n" "$n" >>"$folder/index.sub"; done
for round in $(seq 1 5); do
  kill_writer_inside '^saved' "$round" "$winfolder" "$replies"
  for n in $(seq 1 "$replies"); do
    [ -f "$folder/$n.rep" ] || fail "round $round: reply $n lost"
    reply_whole "$folder/$n.rep" || fail "round $round: reply $n torn"
  done
  echo "round $round: killed after $WRITER_LINES saves, all $replies replies whole"
done
left=$(temporaries)
corvane_shows_whole_tree "after the saves" "S1 S2 S3 S4 S5 S6 S7 S8 "
echo "temporary files left by the killed saves: $left; after Corvane started: $(temporaries)"
[ "$(temporaries)" -eq 0 ] || fail "Corvane left temporary files: $(find "$folder" -iname 'cvn*.tmp')"

# Moves across folders and saves killed at random moments; Corvane started
# after each kill, and the next writer carries on from what it left.
rm -rf "$folder" && mkdir -p "$folder/1/1"
printf 'REPLY_1?R1\r\nREPLY_2?R2\r\nFOLDER_1?Box\r\n' >"$folder/index.sub"
printf 'REPLY_1?B1\r\nFOLDER_1?Inner\r\n' >"$folder/1/index.sub"
printf 'REPLY_1?I1\r\n' >"$folder/1/1/index.sub"
for f in 1.rep 2.rep 1/1.rep 1/1/1.rep; do printf '\r\n\r\n{\\rtf1 x}\r\n' >"$folder/$f"; done
tree="B1 Box I1 Inner R1 R2 "
corvane_shows_whole_tree "before the moves" "$tree"
for round in $(seq 1 3); do
  kill_writer_inside '^round' "move-$round" moves "$winfolder"
  left=$(temporaries)
  inside=$([ -f "$folder/cvnmove.tmp" ] && echo "inside a move" || echo "between moves")
  corvane_shows_whole_tree "move round $round" "$tree"
  [ "$(temporaries)" -eq 0 ] || fail "move round $round: temporary files left"
  echo "move round $round: killed $inside after $WRITER_LINES rounds, $left temporaries left; the tree whole"
done

# A listed reply whose file was deleted by hand is dropped with one notice
# naming it; the next start says nothing.
rm "$folder/2.rep"
corvane_start
wait_for_dialog Warning 1 60 || fail "no notice about the missing reply"
notice=$(probe text Warning)
echo "$notice" | grep -qF '"R2"' || fail "the notice does not name R2: $notice"
screenshot "$SCENARIO_DIR/missing-reply-notice.png"
[ "$(probe window Error)" != 1 ] || fail "an error box came with the notice"
probe click Warning OK >/dev/null || fail "the notice has no OK button"
wait_for_dialog Warning 0 10 || fail "the notice did not close"
probe command 1001 >/dev/null
wait_exit "$CORVANE_PID" 30 || fail "Corvane did not exit after the notice"
grep -q 'R2' "$folder/index.sub" && fail "the missing reply is still listed"
corvane_shows_whole_tree "after the notice" "B1 Box I1 Inner R1 "
echo "a missing reply: one notice naming it, then none"
