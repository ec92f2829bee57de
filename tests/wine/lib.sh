# Shared functions of the Wine test level. Sourced by scripts/test-wine.sh and
# by every scenario. A session owns one private Xvfb display and one template
# Wine prefix; every scenario gets a fresh copy of that prefix, so it starts on
# a clean registry and data folder. Only processes started here are ended.

: "${CORVANE_ROOT:?}" "${CORVANE_BIN:?}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

wine_session_start() {
  SESSION_DIR=$(mktemp -d /tmp/corvane-wine.XXXXXX)
  export SESSION_DIR
  local n from=${CORVANE_DISPLAY_FROM:-80}
  for n in $(seq "$from" $((from + 60))); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then break; fi
  done
  export DISPLAY=":$n"
  Xvfb "$DISPLAY" -screen 0 "${CORVANE_SCREEN:-1280x1024x24}" -nolisten tcp >"$SESSION_DIR/xvfb.log" 2>&1 &
  XVFB_PID=$!
  local i
  for i in $(seq 1 50); do
    xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && break
    sleep 0.1
  done
  echo "wine session: display $DISPLAY, $(wine --version)"
  export WINEPREFIX="$SESSION_DIR/template"
  wineboot -i >"$SESSION_DIR/wineboot.log" 2>&1
  wineserver -w
  [ -f "$WINEPREFIX/system.reg" ]
}

wine_session_end() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
  [ -z "${CORVANE_KEEP_WINE:-}" ] && rm -rf "$SESSION_DIR"
  return 0
}

# Fresh prefix with the program installed in "C:\Program Files\Corvane".
scenario_begin() {
  SCENARIO_NAME=$1
  SCENARIO_DIR="$SESSION_DIR/$1"
  mkdir -p "$SCENARIO_DIR"
  export WINEPREFIX="$SCENARIO_DIR/prefix"
  copy_template_prefix "$WINEPREFIX"
  PROGRAM_DIR="$WINEPREFIX/drive_c/Program Files/Corvane"
  PROGRAM_WIN='C:\Program Files\Corvane\Corvane.exe'
  mkdir -p "$PROGRAM_DIR"
  cp "$CORVANE_BIN"/Corvane.exe "$PROGRAM_DIR/"
  cp "$CORVANE_BIN"/Tolvar32Host.exe "$PROGRAM_DIR/" 2>/dev/null || true
  cp "$CORVANE_BIN"/*.dll "$CORVANE_BIN"/*.chm "$PROGRAM_DIR/" 2>/dev/null || true
  cp -r "$CORVANE_ROOT/data/Replies" "$PROGRAM_DIR/Replies"
  APPDATA_DIR="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming"
  DATA_DIR="$APPDATA_DIR/Corvane 2"
  export SCENARIO_DIR PROGRAM_DIR PROGRAM_WIN APPDATA_DIR DATA_DIR
}

# The system's DLLs are nearly all of a prefix's 700 MB and are never
# written: they are linked, everything else (registry, user folders) copied.
copy_template_prefix() {  # destination
  local dlls=drive_c/windows/system32
  mkdir -p "$1"
  tar -C "$SESSION_DIR/template" --exclude="./$dlls" -cf - . | tar -C "$1" -xf -
  cp -al "$SESSION_DIR/template/$dlls" "$1/$dlls"
}

scenario_end() {
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
  [ -z "${CORVANE_KEEP_WINE:-}" ] && rm -rf "$WINEPREFIX"
  return 0
}

fail() {
  echo "FAILED: $*" >&2
  describe_desktop >&2
  exit 1
}

# What the screen held when a step failed: the visible windows by title (a
# message box, a dialog left open) and the program's last complaints.
describe_desktop() {
  local wid
  echo "visible windows:"
  for wid in $(xdotool search --onlyvisible --name '.' 2>/dev/null | head -20); do
    echo "  $(xdotool getwindowname "$wid" 2>/dev/null)"
  done
  [ -f "${SCENARIO_DIR:-}/corvane.out" ] && grep -v '^fixme:' "$SCENARIO_DIR/corvane.out" | tail -5
  return 0
}

# Starts Corvane in the background; CORVANE_PID is the process to wait for.
corvane_start() {
  wine "$PROGRAM_WIN" "$@" >>"$SCENARIO_DIR/corvane.out" 2>&1 &
  CORVANE_PID=$!
}

# Waits until the process ends and sets EXIT_CODE; fails after $2 s. Must run
# in the shell that started the process (not inside $(...)).
wait_exit() {
  local pid=$1 limit=${2:-20} i
  EXIT_CODE=""
  for i in $(seq 1 $((limit * 10))); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      EXIT_CODE=$?
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# X window ids of visible top-level windows whose title is exactly $1.
visible_windows() {
  xdotool search --onlyvisible --name "^$1\$" 2>/dev/null
}

wait_for_window() {  # title [seconds]
  local limit=${2:-30} i
  for i in $(seq 1 $((limit * 5))); do
    visible_windows "$1" | head -1 | grep -q . && return 0
    sleep 0.2
  done
  return 1
}

# Runs the probe program (Win32 look from outside at our windows).
probe() {
  wine "$CORVANE_BIN/tests/probe.exe" "$@" 2>/dev/null | tr -d '\r'
  return "${PIPESTATUS[0]}"
}

# Waits until the probe reports the main window ready (its tree exists).
wait_for_main_window() {  # [seconds]
  local limit=${1:-30} i
  for i in $(seq 1 $((limit * 2))); do
    probe exists >/dev/null && return 0
    sleep 0.5
  done
  return 1
}

# The tree's outline once the library is in it: the tree exists before the
# library is loaded, so a first reading may find it empty. Empty after $1 s.
loaded_tree() {  # [seconds]
  local limit=${1:-20} i tree=
  for i in $(seq 1 $((limit * 2))); do
    tree=$(probe tree)
    [ -n "$tree" ] && break
    sleep 0.5
  done
  printf '%s\n' "$tree"
}

# A picture for whoever reads a failure; never a check of its own, so a
# machine without ImageMagick's import only goes without it.
screenshot() {  # file.png
  command -v import >/dev/null 2>&1 || return 0
  import -window root -display "$DISPLAY" "$1" 2>/dev/null || true
}

# Polls the main window's visibility until it is $1 (1 or 0); fails after $2 s.
wait_for_visibility() {  # 1|0 [seconds]
  local want=$1 limit=${2:-10} i
  for i in $(seq 1 $((limit * 4))); do
    [ "$(probe visible)" = "$want" ] && return 0
    sleep 0.25
  done
  return 1
}

# Writes a DWORD setting of the program before it starts.
set_setting() {  # name value
  wine reg add 'HKCU\SOFTWARE\Tarnwick\Corvane 2' /v "$1" /t REG_DWORD /d "$2" /f >/dev/null 2>&1
}

# Most scenarios are not about the tip of the day; it would only cover windows.
no_startup_tip() {
  set_setting ShowTips 0
}

# Types keys into the main window, as a user at the keyboard would.
main_window_keys() {  # xdotool key names...
  local wid
  wid=$(visible_windows Corvane | head -1)
  [ -n "$wid" ] || return 1
  xdotool windowfocus --sync "$wid" 2>/dev/null || xdotool windowfocus "$wid"
  xdotool key --delay 150 "$@"
}

# Ends the program the way a user does: tray icon, right click, "Exit".
exit_from_tray() {
  probe tray right >/dev/null
  local i p=""
  for i in $(seq 1 20); do
    p=$(probe menu-last-item-point) && break
    sleep 0.25
  done
  [ -n "$p" ] || return 1
  xdotool mousemove $p click 1
  wait_exit "$CORVANE_PID" 20
}

# Values of the program key, one "name kind data" per line, sorted.
program_settings() {
  wine reg query 'HKCU\SOFTWARE\Tarnwick\Corvane 2' 2>/dev/null | tr -d '\r' |
    awk 'NF >= 3 && $1 != "HKEY_CURRENT_USER\\SOFTWARE\\Tarnwick\\Corvane" { print $1, $2, $3 }' | sort
}

# Waits until a top-level window with this title is visible (1) or gone (0).
wait_for_dialog() {  # title 1|0 [seconds]
  local limit=${3:-10} i
  for i in $(seq 1 $((limit * 4))); do
    [ "$(probe window "$1")" = "$2" ] && return 0
    sleep 0.25
  done
  return 1
}

# The installer and the portable zip of the tree under test, made once per
# session by scripts/release.sh. Sets SETUP_EXE, PORTABLE_ZIP, RELEASE_VERSION.
release_artefacts() {
  local dist="$SESSION_DIR/dist"
  if [ ! -d "$dist" ]; then
    CORVANE_DIST="$dist" "$CORVANE_ROOT/scripts/release.sh" >"$SESSION_DIR/release.log" 2>&1 ||
      { rm -rf "$dist"; cat "$SESSION_DIR/release.log"; return 1; }
  fi
  SETUP_EXE=$(ls "$dist"/Corvane-*-setup.exe 2>/dev/null | head -1)
  PORTABLE_ZIP=$(ls "$dist"/Corvane-*-portable.zip 2>/dev/null | head -1)
  RELEASE_VERSION=$(tr -d '[:space:]' <"$CORVANE_ROOT/build/win/generated/version.txt")
  [ "$SETUP_EXE" = "$dist/Corvane-$RELEASE_VERSION-setup.exe" ] &&
    [ "$PORTABLE_ZIP" = "$dist/Corvane-$RELEASE_VERSION-portable.zip" ]
}

# Unix ids of the Corvane.exe processes of this scenario's prefix.
corvane_processes() {
  local p
  for p in $(pgrep -f 'Corvane\.exe'); do
    { tr '\0' '\n' <"/proc/$p/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "$p"
  done
}

# A registry value's data as "kind data", empty when the value is missing.
registry_value() {  # key name
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | grep -F "    $2    " |
    sed -E "s/^ *$(printf '%s' "$2" | sed 's/[][\.*^$]/\\&/g') +//"
}

# Unix ids of the hosts of the 32-bit hook library of this scenario's prefix
# (other sessions may run their own).
host32_processes() {
  local pid
  for pid in $(pgrep -f 'Tolvar32Host.exe'); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "$pid"
  done
  return 0
}

# Waits until a host runs (1) or none does (0); fails after $2 s.
wait_host32() {  # 1|0 seconds
  local want=$1 limit=$2 i
  for i in $(seq 1 $((limit * 10))); do
    if [ -n "$(host32_processes)" ]; then [ "$want" = 1 ] && return 0; else [ "$want" = 0 ] && return 0; fi
    sleep 0.1
  done
  return 1
}
