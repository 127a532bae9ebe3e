# Shared by the checks that drive the real program on a virtual screen with
# xdotool: a private program folder and settings, the virtual screen, the
# program started on a file, its main window found, killed and its unsaved
# text restored, and the program quit through File > Exit. Sourced, not run.
#
# A check waits on what it checks: a window coming or going, the keyboard
# reaching a window, a file, the program's end; never for a fixed time. Each
# wait has a deadline that can only fail the check, long enough for a
# sanitized build on a loaded machine; XVFB_CHECK_PATIENCE (a whole factor, 1
# by default) stretches every deadline, and the time limits of the steps, for
# a slower one.

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

# The seconds given, stretched by the patience factor.
xvfb_seconds() { echo $(($1 * ${XVFB_CHECK_PATIENCE:-1})); }

# Whether the command (the words after the seconds) succeeds within that many
# seconds; it is asked again every tenth of a second.
xvfb_poll() {
  local end
  end=$((SECONDS + $(xvfb_seconds "$1")))
  shift
  until "$@"; do
    ((SECONDS < end)) || return 1
    sleep 0.1
  done
}

# The checks run their steps as the script again under timeout: the limit is
# stretched like the deadlines, and a step stopped at it is said to be.
timeout() {
  local limit status=0
  limit=$(xvfb_seconds "$1")
  shift
  command timeout "$limit" "$@" || status=$?
  if ((status == 124)); then
    echo "$(basename "$0"): the step ${2:-$1} did not end within $limit s$(xvfb_screen_fault | sed 's/^/; /')" >&2
  fi
  return "$status"
}

# A fresh program folder, settings and data under $work (removed on exit), the
# environment that points the program at them, and the virtual screen. $1 is
# the executable.
xvfb_sandbox() {
  work=$(mktemp -d)
  screen_pid=""
  trap xvfb_clean_up EXIT
  xvfb_require_tools xprop xwininfo
  mkdir -p "$work/home/data" "$work/config" "$work/data"
  cp -r "$(dirname "$1")/data/." "$work/home/data/" 2>/dev/null || true
  export VELLUMIX_HOME="$work/home" VELLUMIX_CONFIG="$work/config" VELLUMIX_DATA="$work/data" HOME="$work"
  export XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=xcb
  # The steps keep each run's stderr and end status under it.
  export work
  xvfb_screen
}

# One virtual screen for the whole check, on a display number the server picks
# itself. A server per step raced: one being stopped (xvfb-run does not wait
# for it) could take the next one's socket with it as it went. Without
# -noreset the server resets whenever its last client leaves, as when one run
# of the program has ended and the next has not connected yet, or xmodmap is
# done: the reset drops the keys xmodmap gave, and a client that connects
# meanwhile is turned away ("could not connect to display").
xvfb_screen() {
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
  screen_pid=$!
  export screen_pid screen_log="$work/xvfb.log"
  xvfb_poll 60 xvfb_screen_up || fail "the virtual screen did not start"
  export DISPLAY=":$(cat "$work/display")"
}

xvfb_screen_up() {
  [[ -s "$work/display" ]] && return 0
  kill -0 "$screen_pid" 2>/dev/null || fail "the virtual screen did not start"
  return 1
}

xvfb_clean_up() {
  if [[ -n "$screen_pid" ]]; then
    kill "$screen_pid" 2>/dev/null || true
    wait "$screen_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}

# What is wrong with the virtual screen, nothing when it is fine: a fault of
# the check's own set-up, not of the program.
xvfb_screen_fault() {
  [[ -n "${screen_pid:-}" ]] || return 0
  if ! kill -0 "$screen_pid" 2>/dev/null; then
    echo "the virtual screen went away"
  elif ! command timeout 20 xdotool getdisplaygeometry >/dev/null 2>&1; then
    echo "the virtual screen does not answer"
  fi
}

# Says why the check fails, and ends the step. A screen that went away comes
# first, with its log; then how the program ended, and what it wrote last.
fail() {
  local fault
  fault=$(xvfb_screen_fault)
  # Said once a step: its shell ends too when a shell within it fails.
  [[ -z "${work:-}" ]] || : >"$work/told.$$"
  {
    if [[ -n "$fault" ]]; then
      echo "$(basename "$0"): $fault ($*)"
      if [[ -s "${screen_log:-}" ]]; then
        sed 's/^/  Xvfb: /' "$screen_log"
      else
        echo "  Xvfb wrote nothing to its log"
      fi
    else
      echo "$(basename "$0"): $*"
    fi
    xvfb_program_state
  } >&2
  if [[ -n "${pid:-}" ]] && kill "$pid" 2>/dev/null; then
    # Its end is written down before the check's folder goes.
    xvfb_poll 10 test -e "$xvfb_run/status" || true
  fi
  exit 1
}

# A shell that stops at a failing command (xdotool once the screen has gone,
# say) says so, the screen first; an exit of its own has said why.
xvfb_step_end() {
  local status=$? command=$BASH_COMMAND
  if ((status != 0)) && [[ "$command" != exit* && ! -e "${work:-}/told.$$" ]]; then
    fail "stopped at a failing command (status $status): $command"
  fi
}
trap xvfb_step_end EXIT

alive() { kill -0 "$pid" 2>/dev/null || fail "the program ended early"; }
xvfb_ended() { ! kill -0 "$pid" 2>/dev/null; }

# Starts the program with the arguments after "--", under the words before it
# (a tool such as strace, or none). Sets $pid to the program's own pid; its
# stderr and the status it ends with go to files of this run, which any
# shell of the step can read.
xvfb_launch() {
  local -a tool=()
  while [[ "$1" != -- ]]; do
    tool+=("$1")
    shift
  done
  shift
  pid=""
  xvfb_run=$(mktemp -d "$work/run.XXXXXX")
  (
    status=0
    # The shell tells its pid, then becomes the program.
    "${tool[@]}" sh -c 'echo $$ >"$0.new" && mv "$0.new" "$0" && exec "$@"' "$xvfb_run/pid" "$@" \
      2>"$xvfb_run/stderr" || status=$?
    echo "$status" >"$xvfb_run/status"
  ) 2>/dev/null &
  xvfb_poll 60 xvfb_launched || fail "the program did not start${tool[0]:+ under ${tool[0]}}"
  pid=$(<"$xvfb_run/pid")
}

xvfb_launched() {
  [[ -s "$xvfb_run/pid" ]] && return 0
  [[ ! -e "$xvfb_run/status" ]] || fail "the program could not be started"
  return 1
}

# The status the program ended with, once it is written down; none when it
# is not.
xvfb_status() {
  xvfb_poll 10 test -s "$xvfb_run/status" && cat "$xvfb_run/status"
}

# How the program ended: its status, or the signal that ended it.
xvfb_end() {
  local status
  status=$(xvfb_status) || true
  if [[ -z "$status" ]]; then
    echo "ended"
  elif ((status > 128)); then
    echo "was ended by SIG$(kill -l "$((status - 128))")"
  else
    echo "ended with status $status"
  fi
}

# For a failure: how the program ended, and the end of what it wrote to stderr.
xvfb_program_state() {
  [[ -n "${xvfb_run:-}" && -n "${pid:-}" ]] || return 0
  xvfb_ended && echo "  the program $(xvfb_end)"
  if [[ -s "$xvfb_run/stderr" ]]; then
    echo "  the end of the program's stderr:"
    tail -n 40 "$xvfb_run/stderr" | sed 's/^/    /'
  fi
}

# Starts the program on the document and waits until its main window is up and
# its first activation has shown the assistant; sets $pid and $win. The
# unsaved text is offered and the document opened later in that activation:
# what is sent from here on is handled once they are done. Words after the
# document name a tool the program runs under (strace and its options); $pid
# is still the program's own.
xvfb_start() {
  xvfb_launch "${@:3}" -- "$1" "$2"
  xvfb_wait_main
  [[ -n "$(wait_window '^Assistance$')" ]] || fail "the first activation did not show the assistant"
}

# Waits for the main window and sets $win.
xvfb_wait_main() {
  win=""
  xvfb_poll 120 xvfb_main_up || fail "no main window appeared"
}

xvfb_main_up() {
  local found X Y WIDTH=0 HEIGHT
  alive
  found=$(main_window)
  [[ -n "$found" ]] && eval "$(xdotool getwindowgeometry --shell "$found" 2>/dev/null || true)"
  ((WIDTH >= 800)) || return 1
  win=$found
}

# xdotool, but windowfocus asks again until X gives the window the focus (it
# refuses it to a window mapped a moment ago, or between an unmap and a map),
# and with --sync until the window has the keyboard: xdotool's own --sync
# would wait for ever.
xdotool() {
  if [[ "$1" == windowfocus ]]; then
    local window=${!#} sync=""
    [[ "$2" != --sync ]] || sync=1
    xvfb_poll 30 xvfb_focus "$window" "$sync" || fail "the window $window did not get the keyboard ($(xvfb_keyboard))"
    return 0
  fi
  command xdotool "$@"
}

xvfb_focus() {
  command xdotool windowfocus "$1" 2>/dev/null || return 1
  [[ -z "$2" ]] || xvfb_has_keyboard "$1"
}

xvfb_has_keyboard() {
  alive
  [[ "$(command xdotool getwindowfocus 2>/dev/null)" == "$1" ]]
}

# Waits until the window has the keyboard; fails with the words given.
xvfb_wait_keyboard() {
  xvfb_poll 30 xvfb_has_keyboard "$1" || fail "${2:-the window $1 did not get the keyboard} ($(xvfb_keyboard))"
}

# Which window has the keyboard, for a failure.
xvfb_keyboard() {
  local focus
  focus=$(command xdotool getwindowfocus 2>/dev/null || true)
  echo "the keyboard is at ${focus:-no window} \"$(command xdotool getwindowname "$focus" 2>/dev/null || true)\""
}

# The program's largest visible window is the main window.
main_window() {
  local best="" area=0 w
  for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    # A window may close between the search and the question (the splash).
    WIDTH=0 HEIGHT=0
    eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null || true)"
    if ((WIDTH * HEIGHT > area)); then
      area=$((WIDTH * HEIGHT))
      best=$w
    fi
  done
  echo "$best"
}

# The titles of the program's visible windows, for a failure.
xvfb_titles() {
  local w titles=""
  for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    titles+="${titles:+, }\"$(xdotool getwindowname "$w" 2>/dev/null || true)\""
  done
  echo "${titles:-none}"
}

# The first visible window whose title matches the pattern, waited for (60 s
# or the seconds given); none when it did not come. A third word names a
# test the window must pass as well.
wait_window() {
  local end w
  end=$((SECONDS + $(xvfb_seconds "${2:-60}")))
  while :; do
    alive
    for w in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
      if [[ -z "${3:-}" ]] || "$3" "$w"; then
        echo "$w"
        return 0
      fi
    done
    ((SECONDS < end)) || return 0
    sleep 0.1
  done
}

# The same for a window made for the first time (a file dialog), which takes
# its while.
xvfb_wait_long() { wait_window "$1" 120; }

# Waits until no visible window's title matches the pattern; fails with the
# words given.
xvfb_wait_gone() {
  xvfb_poll 60 xvfb_no_window "$1" || fail "${2:-the window \"$1\" did not go} (shown: $(xvfb_titles))"
}

xvfb_no_window() {
  alive
  ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1
}

# Whether the window waits modally for an answer.
xvfb_is_modal() { xprop -id "$1" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_MODAL; }

# The title of a visible window of the program that waits modally for an
# answer; none when there is none.
xvfb_modal() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    if xvfb_is_modal "$w"; then
      xdotool getwindowname "$w" 2>/dev/null || true
      return 0
    fi
  done
}

# The first visible window whose title matches the pattern once it waits
# modally for an answer (the assistant asks the quit question so), waited
# for; none when it did not come.
xvfb_wait_modal() { wait_window "$1" 60 xvfb_is_modal; }

# The menu that drops down from the menu bar's first title: a window of the
# program that the window system does not manage, at the main window's top
# left.
xvfb_menu() {
  local w info x y X=0 Y=0 WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$win" 2>/dev/null || true)"
  for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    info=$(xwininfo -id "$w" 2>/dev/null) || continue
    [[ "$info" == *"Override Redirect State: yes"* ]] || continue
    x=$(awk '/Absolute upper-left X/ {print $NF}' <<<"$info")
    y=$(awk '/Absolute upper-left Y/ {print $NF}' <<<"$info")
    if ((x >= X && x < X + 60 && y >= Y && y < Y + 60)); then
      echo "$w"
      return 0
    fi
  done
  return 1
}

xvfb_menu_or_modal() {
  alive
  xvfb_menu >/dev/null || [[ -n "$(xvfb_modal)" ]]
}

# Opens the File menu, the menu bar's first, with a click at the main window's
# top left, and waits for it. The program opens it only once it has handled
# everything sent before, and not while a window of its own waits modally for
# an answer: then it fails with the words given, or naming that window.
xvfb_open_menu() {
  local modal
  xdotool mousemove --window "$win" 15 8 click 1
  xvfb_poll 60 xvfb_menu_or_modal || fail "the File menu did not open (shown: $(xvfb_titles))"
  xvfb_menu >/dev/null && return 0
  modal=$(xvfb_modal)
  fail "${1:-the window \"$modal\" was in the way of the File menu} (it waits for an answer: \"$modal\")"
}

# Waits until the menu has closed.
xvfb_wait_menu_closed() {
  xvfb_poll 60 xvfb_no_menu || fail "the menu did not close"
}

xvfb_no_menu() {
  alive
  ! xvfb_menu >/dev/null
}

# Closes the File menu with a second click on its title: Escape would leave
# the menu bar holding the keyboard.
xvfb_close_menu() {
  xdotool mousemove --window "$win" 15 8 click 1
  xvfb_wait_menu_closed
}

# Waits up to a minute for at least that many recovery copies in the data
# folder: they follow once the typing has paused.
xvfb_wait_copies() {
  xvfb_poll 60 xvfb_has_copies "$1" || fail "fewer than $1 recovery copies were written"
}

xvfb_has_copies() {
  alive
  (($(find "$VELLUMIX_DATA/recovery" -name '*.vxr' 2>/dev/null | wc -l) >= $1))
}

# Ends the program as a crash would, with no chance to tidy up.
xvfb_kill() {
  kill -9 "$pid"
  xvfb_poll 30 xvfb_ended || fail "the program did not end after kill -9"
}

# Starts the program without files and answers its offer of the unsaved text
# with Yes: the question comes during the first activation. Sets $pid.
xvfb_accept_offer() {
  local ask
  xvfb_launch -- "$1"
  ask=$(xvfb_wait_long '^Confirm$')
  [[ -n "$ask" ]] || fail "the program did not offer the unsaved text"
  xdotool windowfocus --sync "$ask"
  xdotool key alt+y
  xvfb_wait_gone '^Confirm$' "the offer of the unsaved text was not answered"
}

# Starts the program on the document: nothing is offered over what was saved.
xvfb_reopen() {
  xvfb_start "$1" "$2"
  # The menu opens once the first activation, where anything would have been
  # offered, is over.
  xvfb_open_menu "${3:-a copy older than the saved document} was offered"
  xvfb_close_menu
  xvfb_save_and_quit
}

# Saves with Ctrl+S in the main window, quits through File > Exit and the
# assistant's "Yes", and waits for the program to end cleanly. In another
# language: the assistant's title as a pattern and the keys of its "Yes".
xvfb_save_and_quit() {
  local title=${1:-^Assistance$} yes=${2:-alt+y} ask
  xdotool windowfocus --sync "$win"
  xdotool key ctrl+s
  # The menu opens once the save is done, unless it asked or warned.
  xvfb_open_menu
  # Exit is the menu's last item: Up from the open menu lands on it.
  xdotool key Up Return
  ask=$(xvfb_wait_modal "$title")
  [[ -n "$ask" ]] || fail "the quit question did not appear (shown: $(xvfb_titles))"
  xdotool windowfocus --sync "$ask"
  xdotool key "$yes"
  xvfb_poll 120 xvfb_ended || fail "the program did not end after the quit (shown: $(xvfb_titles))"
  [[ "$(xvfb_status)" == 0 ]] || fail "the program $(xvfb_end) after the quit"
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
