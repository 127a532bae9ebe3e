# Shared by the checks that drive the real program on a virtual screen with
# xdotool: a private program folder and settings, the program started on a
# file, its main window found, killed and its unsaved text restored, and the
# program quit through File > Exit. Sourced, not run.

# Skips the check (exit 77) when one of the tools named is missing.
xvfb_require_tools() {
  local tool
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null; then
      echo "$(basename "$0"): skipped: $tool is missing (scripts/install-deps installs it)" >&2
      exit 77
    fi
  done
}

# A fresh program folder, settings and data under $work (removed on exit), the
# environment that points the program at them, and the virtual screen. $1 is
# the executable.
xvfb_sandbox() {
  work=$(mktemp -d)
  screen_pid=""
  trap xvfb_clean_up EXIT
  mkdir -p "$work/home/data" "$work/config" "$work/data"
  cp -r "$(dirname "$1")/data/." "$work/home/data/" 2>/dev/null || true
  export VELLUMIX_HOME="$work/home" VELLUMIX_CONFIG="$work/config" VELLUMIX_DATA="$work/data" HOME="$work"
  export XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=xcb
  xvfb_screen
}

# One virtual screen for the whole check, on a display number the server picks
# itself. A server per step raced: one being stopped (xvfb-run does not wait
# for it) could take the next one's socket with it as it went.
xvfb_screen() {
  local i
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  screen_pid=$!
  for i in $(seq 1 300); do
    [[ -s "$work/display" ]] && break
    kill -0 "$screen_pid" 2>/dev/null || break
    sleep 0.1
  done
  [[ -s "$work/display" ]] || { cat "$work/xvfb.log" >&2; fail "the virtual screen did not start"; }
  export DISPLAY=":$(cat "$work/display")"
}

xvfb_clean_up() {
  if [[ -n "$screen_pid" ]]; then
    kill "$screen_pid" 2>/dev/null || true
    wait "$screen_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}

# Starts the program on the document and waits until its main window is up and
# has done its first activation; sets $pid and $win. Words after the document
# name a tool the program runs under (strace and its options); $pid is then
# the program's, a child of the tool's.
xvfb_start() {
  local program=$1 doc=$2 i started
  pid=""
  if (( $# > 2 )); then
    started=$(mktemp)
    # The shell the tool runs tells its pid, then becomes the program; the
    # subshell keeps the tool's end by a signal from being reported.
    ("${@:3}" sh -c 'echo $$ >"$0"; exec "$@"' "$started" "$program" "$doc") &
    for i in $(seq 1 100); do
      [[ -s "$started" ]] && break
      sleep 0.1
    done
    pid=$(cat "$started")
    rm -f "$started"
    [[ -n "$pid" ]] || fail "the program did not start under $3"
  else
    "$program" "$doc" &
    pid=$!
  fi
  win=""
  for i in $(seq 1 300); do
    alive
    win=$(main_window)
    WIDTH=0
    [[ -n "$win" ]] && eval "$(xdotool getwindowgeometry --shell "$win" 2>/dev/null || true)" && (( WIDTH >= 800 )) && break
    win=""
    sleep 0.1
  done
  [[ -n "$win" ]] || fail "no main window appeared"
  sleep 4 # the first activation's set-up
  alive
}

# xdotool, but a window that cannot take the focus yet (mapped a moment ago,
# or between an unmap and a map) is asked again for up to two seconds: X
# refuses the focus to a window that is not viewable.
xdotool() {
  local i
  if [[ "$1" == windowfocus ]]; then
    for i in $(seq 1 10); do
      command xdotool "$@" 2>/dev/null && return 0
      sleep 0.2
    done
  fi
  command xdotool "$@"
}

fail() { echo "$(basename "$0"): $*" >&2; kill "${pid:-}" 2>/dev/null || true; exit 1; }
alive() { kill -0 "$pid" 2>/dev/null || fail "the program ended early"; }

# The program's largest visible window is the main window.
main_window() {
  local best="" area=0 w
  for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    # A window may close between the search and the question (the splash).
    WIDTH=0 HEIGHT=0
    eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null || true)"
    if (( WIDTH * HEIGHT > area )); then area=$((WIDTH * HEIGHT)); best=$w; fi
  done
  echo "$best"
}

# The first visible window whose title matches the pattern, waited for up to 5 s.
wait_window() {
  local pattern=$1 found="" i
  for i in $(seq 1 50); do
    alive
    found=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n1 || true)
    [[ -n "$found" ]] && break
    sleep 0.1
  done
  echo "$found"
}

# The first visible window whose title matches, waited for up to 30 s: a
# window made for the first time (a file dialog) takes its while.
xvfb_wait_long() {
  local found="" i
  for i in $(seq 1 6); do
    found=$(wait_window "$1")
    [[ -n "$found" ]] && break
  done
  echo "$found"
}

# Waits up to 10 s for at least that many recovery copies in the data folder:
# they follow once the typing has paused.
xvfb_wait_copies() {
  local i
  for i in $(seq 1 100); do
    [[ $(find "$VELLUMIX_DATA/recovery" -name '*.vxr' 2>/dev/null | wc -l) -ge $1 ]] && break
    sleep 0.1
  done
}

# Ends the program as a crash would, with no chance to tidy up.
xvfb_kill() {
  kill -9 "$pid"
  wait "$pid" 2>/dev/null || true
}

# Starts the program without files and answers its offer of the unsaved text
# with Yes: the question comes during the first activation. Sets $pid.
xvfb_accept_offer() {
  local ask i
  "$1" &
  pid=$!
  ask=$(xvfb_wait_long '^Confirm$')
  [[ -n "$ask" ]] || fail "the program did not offer the unsaved text"
  xdotool windowfocus --sync "$ask"
  xdotool key alt+y
  for i in $(seq 1 50); do
    xdotool search --onlyvisible --name '^Confirm$' >/dev/null 2>&1 || break
    sleep 0.1
  done
}

# Starts the program on the document: nothing is offered over what was saved.
xvfb_reopen() {
  xvfb_start "$1" "$2"
  [[ -z "$(xdotool search --onlyvisible --name '^Confirm$' 2>/dev/null || true)" ]] ||
    fail "${3:-a copy older than the saved document} was offered"
  xvfb_save_and_quit
}

# Saves with Ctrl+S in the main window, quits through File > Exit and the
# assistant's "Yes", and waits for the program to end cleanly. In another
# language: the assistant's title as a pattern and the keys of its "Yes".
xvfb_save_and_quit() {
  local title=${1:-^Assistance$} yes=${2:-alt+y} i ask
  xdotool windowfocus --sync "$win"
  xdotool key ctrl+s
  sleep 1
  alive
  # File is the first menu of the menu bar, at the window's top left.
  xdotool mousemove --window "$win" 15 8 click 1
  sleep 0.5
  # Exit is the menu's last item: Up from the open menu lands on it.
  xdotool key Up Return
  ask=$(wait_window "$title")
  [[ -n "$ask" ]] || fail "the quit question did not appear"
  xdotool windowfocus --sync "$ask"
  xdotool key "$yes"
  for i in $(seq 1 200); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && fail "the program did not end after the quit"
  wait "$pid" || fail "the program ended with status $?"
}

# Fails unless the file holds exactly the expected bytes.
xvfb_expect_file() {
  local path=$1 expected=$2 actual
  actual=$(cat "$path"; printf x)
  actual=${actual%x}
  if [[ "$actual" != "$expected" ]]; then
    echo "$(basename "$0"): the file holds $(printf %q "$actual"), expected $(printf %q "$expected")" >&2
    exit 1
  fi
}
