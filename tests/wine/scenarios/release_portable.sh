# The portable zip unpacked into a folder of its own (here one with blanks in
# its path, as on a USB stick's "My Tools") runs from there, and its README
# says where the data then lives.
release_artefacts || fail "scripts/release.sh did not make the installer and the zip"
no_startup_tip
stick="$WINEPREFIX/drive_c/My Tools"
mkdir -p "$stick"
unzip -q "$PORTABLE_ZIP" -d "$stick" || fail "the zip does not unpack"
folder="$stick/Corvane-$RELEASE_VERSION"
for f in Corvane.exe Tolvar.dll Tolvar32.dll Tolvar32Host.exe README.txt Replies/index.sub; do
  [ -f "$folder/$f" ] || fail "$f is not in the zip"
done
cmp -s "$folder/Corvane.exe" "$CORVANE_BIN/Corvane.exe" || fail "the zip holds another Corvane.exe"
grep -q 'Corvane 2\\Replies' "$folder/README.txt" || fail "the README does not say where the library lives"
grep -q "Corvane $RELEASE_VERSION" "$folder/README.txt" || fail "the README does not name the version"

PROGRAM_WIN="C:\\My Tools\\Corvane-$RELEASE_VERSION\\Corvane.exe"
corvane_start
wait_for_main_window 40 || fail "the unpacked Corvane did not start"
wait_for_visibility 1 40 || fail "the unpacked Corvane is not shown"
[ -f "$DATA_DIR/Replies/index.sub" ] || fail "the starter library did not reach the data folder"
[ -e "$folder/Replies" ] && fail "the starter library is still in the unpacked folder"
[ "$(probe tree | head -1)" = "Greetings and sign-offs" ] || fail "the tree does not show the library"
[ "$(corvane_processes | wc -l)" = 1 ] || fail "not exactly one Corvane runs"
