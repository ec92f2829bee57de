# Setup as a user meets it: a silent install into a fresh account starts
# from the installed folder and shows the library; a second install over the
# running program replaces the pair of files and leaves it running once; a
# silent uninstall removes the program and keeps the user's replies and
# settings.
release_artefacts || fail "scripts/release.sh did not make the installer and the zip"
# The tip of the day stays open: Setup must end a Corvane that shows a dialog.
set_setting ShowTips 1
install_dir="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Programs/Corvane"
install_win="C:\\users\\$(id -un)\\AppData\\Local\\Programs\\Corvane"
shortcut="$APPDATA_DIR/Microsoft/Windows/Start Menu/Programs/Corvane.lnk"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvane'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'

# ---- A silent install into a fresh account.
wine "$SETUP_EXE" /S || fail "silent install ended with $?"
for f in Corvane.exe Tolvar.dll Tolvar32.dll Tolvar32Host.exe Uninstall.exe Replies/index.sub Replies/2/1/2.rep; do
  [ -f "$install_dir/$f" ] || fail "$f was not installed"
done
for chm in "$CORVANE_BIN"/*.chm; do
  [ -e "$chm" ] || continue
  cmp -s "$chm" "$install_dir/$(basename "$chm")" || fail "$(basename "$chm") was not installed"
done
[ -f "$shortcut" ] || fail "no Start menu shortcut"
[ "$(registry_value "$uninstall_key" DisplayName)" = "REG_SZ    Corvane" ] || fail "no uninstall entry"
[ "$(registry_value "$uninstall_key" DisplayVersion)" = "REG_SZ    $RELEASE_VERSION" ] || fail "uninstall entry has another version"
[ "$(registry_value "$uninstall_key" Publisher)" = "REG_SZ    Tarnwick" ] || fail "uninstall entry has no publisher"
[ "$(registry_value "$uninstall_key" DisplayIcon)" = "REG_SZ    $install_win\\Corvane.exe,0" ] || fail "uninstall entry has no icon"
size=$(registry_value "$uninstall_key" EstimatedSize | sed -E 's/^REG_DWORD +//')
echo "estimated size: $size"
[ $((size)) -gt 100 ] || fail "uninstall entry's size is '$size'"
[ -z "$(registry_value "$run_key" 'Corvane 2')" ] || fail "a silent install switched autorun on"

# Started from the Start menu's target, it moves the starter library into the
# data folder and shows it.
PROGRAM_WIN="$install_win\\Corvane.exe"
corvane_start
first=$CORVANE_PID
wait_for_main_window 40 || fail "the installed Corvane did not start"
wait_for_visibility 1 40 || fail "the installed Corvane is not shown"
[ -f "$DATA_DIR/Replies/index.sub" ] || fail "the starter library did not reach the data folder"
[ -e "$install_dir/Replies" ] && fail "the starter library is still beside the installed program"
[ "$(probe tree | head -1)" = "Greetings and sign-offs" ] || fail "the tree does not show the library"
wait_for_dialog 'Tip of the Day' 1 || fail "no tip of the day"

# ---- Setup again while it runs, switching autorun on.
old_exe=$(stat -c %i "$install_dir/Corvane.exe")
old_dll=$(stat -c %i "$install_dir/Tolvar.dll")
wine "$SETUP_EXE" /S /AUTORUN=1 || fail "the second install ended with $?"
wait_exit "$first" 20 || fail "the running Corvane was not ended"
[ "$(stat -c %i "$install_dir/Corvane.exe")" != "$old_exe" ] || fail "Corvane.exe was not replaced"
[ "$(stat -c %i "$install_dir/Tolvar.dll")" != "$old_dll" ] || fail "Tolvar.dll was not replaced"
cmp -s "$install_dir/Corvane.exe" "$CORVANE_BIN/Corvane.exe" || fail "Corvane.exe is not the new one"
cmp -s "$install_dir/Tolvar.dll" "$CORVANE_BIN/Tolvar.dll" || fail "Tolvar.dll is not the new one"
for f in Tolvar32.dll Tolvar32Host.exe; do
  cmp -s "$install_dir/$f" "$CORVANE_BIN/$f" || fail "$f is not the new one"
done
ls "$install_dir" | grep -E '\.(old|new)$' && fail "set-aside files were left"
[ -e "$install_dir/Replies" ] && fail "the starter library came back beside an existing library"
wait_for_main_window 40 || fail "Corvane was not started again"
wait_for_visibility 1 40 || fail "Corvane came back hidden though it was shown"
sleep 1
running=$(corvane_processes | wc -l)
[ "$running" = 1 ] || fail "$running Corvane processes after the update"
[ "$(registry_value "$run_key" 'Corvane 2')" = "REG_SZ    \"$install_win\\Corvane.exe\" -hidden" ] ||
  fail "the autorun value is '$(registry_value "$run_key" 'Corvane 2')'"
settings_before=$(program_settings)

# ---- A silent uninstall while it runs, as "Apps & features" calls it.
wine "$install_win\\Uninstall.exe" /S || fail "silent uninstall ended with $?"
for i in $(seq 1 100); do
  [ ! -e "$install_dir" ] && [ -z "$(registry_value "$uninstall_key" DisplayName)" ] && break
  sleep 0.2
done
[ -e "$install_dir" ] && fail "program files are left: $(ls "$install_dir")"
[ -e "$shortcut" ] && fail "the shortcut is left"
[ -z "$(registry_value "$uninstall_key" DisplayName)" ] || fail "the uninstall entry is left"
[ -z "$(registry_value "$run_key" 'Corvane 2')" ] || fail "the autorun value is left"
[ -z "$(corvane_processes)" ] || fail "Corvane still runs"
[ -f "$DATA_DIR/Replies/2/1/2.rep" ] || fail "the uninstall removed the library"
[ "$(program_settings)" = "$settings_before" ] || fail "the uninstall changed the settings"
program_settings | grep -q '^ShowTips REG_DWORD 0x1$' || fail "the settings are gone"

# ---- Only the uninstaller's box removes them: installed again, then
# uninstalled by hand with the box ticked.
wine "$SETUP_EXE" /S || fail "the third install ended with $?"
wine "$install_win\\Uninstall.exe" >/dev/null 2>&1 &
# The wizard's caption is the uninstaller's name and the page's, a blank.
uninstaller='Corvane Uninstall '
wait_for_dialog "$uninstaller" 1 30 || fail "the uninstaller did not open"
uninstaller_keys() {
  local wid
  wid=$(visible_windows "$uninstaller" | head -1)
  [ -n "$wid" ] || return 1
  xdotool windowfocus --sync "$wid" 2>/dev/null || xdotool windowfocus "$wid"
  xdotool key --delay 200 "$@"
}
# Focused once; the pages keep the keyboard focus as they change.
sleep 1
uninstaller_keys Return # the confirmation page
sleep 1
xdotool key alt+a # the box
sleep 0.5
xdotool key Return # Uninstall
settings_key_exists() { wine reg query 'HKCU\SOFTWARE\Tarnwick\Corvane 2' >/dev/null 2>&1; }
for i in $(seq 1 100); do
  [ ! -e "$DATA_DIR" ] && [ ! -e "$install_dir" ] && ! settings_key_exists && break
  sleep 0.2
done
[ -e "$install_dir" ] && fail "program files are left after the second uninstall"
[ -e "$DATA_DIR" ] && fail "the ticked box did not remove the library"
settings_key_exists && fail "the ticked box did not remove the settings"
wine reg query 'HKCU\SOFTWARE\Tarnwick' >/dev/null 2>&1 && fail "an empty Tarnwick key is left"
xdotool key Return # Close
