# A process killed while it saves every reply of the library leaves each
# reply file whole: the old or the new text, never a torn one.
. "$CORVANE_ROOT/tests/wine/tools/hooks_scenario.sh"
cp "$CORVANE_BIN/tests/library_writer.exe" "$PROGRAM_DIR/"
replies=8
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

for round in $(seq 1 12); do
  out="$SCENARIO_DIR/writer.$round.out"
  wine "$PROGRAM_DIR/library_writer.exe" "$winfolder" "$replies" >"$out" 2>&1 &
  writer=$!
  # Until it has saved everything once, then a moment somewhere inside a save.
  wait_line "$out" '^saved' 30 || fail "the writer did not save (round $round)"
  sleep "0.$((RANDOM % 9 + 1))"
  kill -9 "$writer"
  wait "$writer" 2>/dev/null
  for n in $(seq 1 "$replies"); do
    [ -f "$folder/$n.rep" ] || fail "round $round: reply $n lost"
    reply_whole "$folder/$n.rep" || fail "round $round: reply $n torn"
  done
  echo "round $round: killed after $(grep -c '^saved' "$out") saves, all $replies replies whole"
done
# A save cut off leaves its temporary file beside the replies; the loader
# reads only the files the index names.
echo "temporary files left by the killed saves: $(find "$folder" -name '*.tmp' | wc -l)"
