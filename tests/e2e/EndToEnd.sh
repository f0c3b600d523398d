#!/usr/bin/env bash
# The test between processes: runs the real quorvane on a private X server (Xvfb, no window
# manager) with a HOME of its own whose Dropbox is a link to a folder on another disk, and plays a
# user at it with xdotool: dismisses the start box, checks the logo window, drags a folder from
# our drag source onto the strip beside the logo (refused), onto the logo as a move alone
# (refused), the home folder onto the logo (refused with a message) and a folder onto the logo
# (linked), clicks the logo, and quits with Ctrl+Q.
#
#   tests/e2e/EndToEnd.sh QUORVANE-BINARY DRAG-SOURCE-BINARY
#
# Pictures and logs go to $QUORVANE_E2E_ARTIFACTS, by default tests/artifacts/EndToEnd beside the
# quorvane binary. $QUORVANE_E2E_STEP_TIMEOUT (seconds, 20 by default) bounds every wait.
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 QUORVANE-BINARY DRAG-SOURCE-BINARY" >&2
  exit 2
fi
QUORVANE=$(realpath -- "$1")
HELPER=$(realpath -- "$2")
STEP_TIMEOUT=${QUORVANE_E2E_STEP_TIMEOUT:-20}
ARTIFACTS=${QUORVANE_E2E_ARTIFACTS:-$(dirname -- "$QUORVANE")/tests/artifacts/EndToEnd}

# What the program shows.
readonly BOX_TITLE="Quorvane"
readonly MAIN_TITLE="Quorvane V. ${QUORVANE_E2E_VERSION:-1.0.0}"
readonly START_TEXT="Trascina la cartella da aggiungere sul Logo DropBox"
readonly SUCCESS_TEXT="Collegamento alla cartella creato correttamente in DropBox"
readonly FAIL_TEXT="Collegamento non creato"
readonly PATH_TEXT="Il percorso per la cartella di DropBox è  "
# The logo window's content, below the menu bar, and the canvas's place in it.
readonly CONTENT_WIDTH=300 CONTENT_HEIGHT=101 CANVAS_LEFT=4

STEP="setting up"
REPORTED=0
FAILURES=()
XVFB_PID="" QUORVANE_PID="" SOURCE_PID="" WORK=""
POLL_OUT=""

# ---------------------------------------------------------------------------------------------
# Reporting.

# Starts a named step; failures name the step they happened in.
step() {
  STEP=$1
  echo "== $STEP"
}

# Runs our helper program on the test's display, in the environment of the test's programs, for
# at most the given seconds.
helper() {
  local limit=$1
  shift
  timeout "$limit" env "${CHILD_ENVIRONMENT[@]}" "$HELPER" "$@"
}

# Saves a picture of the whole screen under the given name, when the X server is still there;
# prints its path.
screen_picture() {
  local file=$ARTIFACTS/$1
  if [ -n "$XVFB_PID" ] && running "$XVFB_PID" &&
     helper 10 --grab root "$file" >/dev/null 2>&1; then
    echo "   screenshot: $file"
  fi
}

# Stops the test: says which step failed and why, and where to look.
fail() {
  trap - ERR
  REPORTED=1
  echo "FAIL in step \"$STEP\": $*" >&2
  screen_picture failure-screen.png >&2
  echo "   logs: $ARTIFACTS" >&2
  exit 1
}

# Records a failed check that does not keep the later steps from running.
fail_later() {
  echo "FAIL in step \"$STEP\": $* (going on with the other steps)" >&2
  FAILURES+=("$STEP: $*")
  screen_picture "failure-${#FAILURES[@]}-screen.png" >&2
}

# Reports a command that failed where none should have (in the script's own lines; inside a
# function, the exit's report below tells the step).
on_error() {
  fail "the command \"$2\" failed (line $1, status $3)"
}
trap 'on_error $LINENO "$BASH_COMMAND" $?' ERR

# ---------------------------------------------------------------------------------------------
# Processes.

# Tells whether a process of ours is still running (not gone and not a zombie).
running() {
  local stat
  [ -n "$1" ] && stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  stat=${stat##*) }
  [ "${stat%% *}" != Z ]
}

# Succeeds once a process of ours has ended.
ended() {
  ! running "$1"
}

# Succeeds when no process of the run is left.
nothing_left() {
  [ -z "$(marked_processes)" ]
}

# The names in a folder, one a line.
entries() {
  find "$1" -mindepth 1 -maxdepth 1 -printf '%f\n'
}

# Ends one process of ours: asks first, then forces it.
stop_process() {
  local pid=$1
  running "$pid" || return 0
  kill -TERM "$pid" 2>/dev/null || true
  for _ in $(seq 20); do
    running "$pid" || return 0
    sleep 0.1
  done
  kill -KILL "$pid" 2>/dev/null || true
}

# The processes started with this run's mark in their environment, and all that they started.
marked_processes() {
  local file pid
  for file in $(grep -lsaF -- "QUORVANE_E2E_RUN=$RUN_MARK" /proc/[0-9]*/environ || true); do
    pid=${file#/proc/}
    pid=${pid%/environ}
    running "$pid" && echo "$pid"
  done
  return 0
}

# Describes processes for a failure message.
describe_processes() {
  local pid
  for pid in "$@"; do
    echo "   $pid: $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null)"
  done
}

# Ends whatever this run started and removes its temporary folders.
cleanup() {
  local status=$? pid
  trap - ERR
  set +e
  if [ "$status" -ne 0 ] && [ "$REPORTED" -eq 0 ]; then
    echo "FAIL in step \"$STEP\": a command failed unexpectedly (status $status)" >&2
    screen_picture failure-screen.png >&2
    echo "   logs: $ARTIFACTS" >&2
  fi
  stop_process "$SOURCE_PID"
  stop_process "$QUORVANE_PID"
  if [ -n "${RUN_MARK:-}" ]; then
    for pid in $(marked_processes); do stop_process "$pid"; done
  fi
  stop_process "$XVFB_PID"
  if [ -n "$WORK" ] && [ -d "$WORK" ]; then
    cp -f "$WORK"/*.out "$ARTIFACTS/" 2>/dev/null
    rm -rf -- "$WORK"
  fi
  exit "$status"
}
trap cleanup EXIT

# Runs a command until it succeeds, for at most the given seconds; keeps its output in POLL_OUT.
poll() {
  local limit=$1 started
  shift
  started=$(date +%s%N)
  while :; do
    if POLL_OUT=$("$@" 2>/dev/null); then
      return 0
    fi
    if (( ($(date +%s%N) - started) / 1000000000 >= limit )); then
      return 1
    fi
    sleep 0.1
  done
}

# Runs a command that looks for something of quorvane's; says "ended" if quorvane has ended.
or_ended() {
  if running "$QUORVANE_PID"; then
    "$@"
  else
    echo ended
  fi
}

# Starts a program of the test with this run's environment, in the background; sets STARTED_PID.
start_marked() {
  local output=$1
  shift
  (
    cd "$WORK"
    exec env "${CHILD_ENVIRONMENT[@]}" "$@"
  ) >"$output" 2>&1 &
  STARTED_PID=$!
}

# ---------------------------------------------------------------------------------------------
# Windows.

# The visible windows of a process whose _NET_WM_WINDOW_TYPE is first of all the given type (a
# dialog names the normal type after its own, for window managers that know no dialogs).
windows_of_type() {
  local pid=$1 type=$2 window types found=1
  for window in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    types=$(xprop -notype -id "$window" _NET_WM_WINDOW_TYPE 2>/dev/null) || continue
    types=${types#*= }
    if [ "${types%%,*}" = "_NET_WM_WINDOW_TYPE_$type" ]; then
      echo "$window"
      found=0
    fi
  done
  return $found
}

# The program's one message box on screen; fails while there is none (or more than one).
message_box() {
  local boxes
  boxes=$(windows_of_type "$QUORVANE_PID" DIALOG) || return 1
  [ "$(wc -l <<<"$boxes")" -eq 1 ] && echo "$boxes"
}

# Succeeds while the program shows no message box.
no_message_box() {
  ! windows_of_type "$QUORVANE_PID" DIALOG >/dev/null
}

# One text property of a window (WM_NAME, _NET_WM_NAME) as its value, without xprop's quotes.
window_text() {
  local line
  line=$(LC_ALL=C.UTF-8 xprop -notype -id "$1" "$2" 2>/dev/null) || return 1
  [[ $line == *' = "'*'"' ]] || return 1
  line=${line#*' = "'}
  echo "${line%'"'}"
}

# Checks both names of a window against the expected title.
check_title() {
  local window=$1 expected=$2 what=$3 atom value
  for atom in WM_NAME _NET_WM_NAME; do
    value=$(window_text "$window" "$atom") || value="(none)"
    if [ "$value" != "$expected" ]; then
      fail_later "$what's $atom is \"$value\", not \"$expected\""
    fi
  done
}

# Gives a window the keyboard focus; without a window manager nobody else does.
focus() {
  timeout 5 xdotool windowfocus --sync "$1" >/dev/null 2>&1 || true
  poll "$STEP_TIMEOUT" test_focus "$1" || fail "window $1 did not take the keyboard focus"
}

# Succeeds when the window has the keyboard focus.
test_focus() {
  [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]
}

# Saves a picture of a window among the artefacts.
keep_picture() {
  helper 30 --grab "$1" "$ARTIFACTS/$2" >/dev/null 2>&1 ||
    echo "   (could not save the picture $2)"
}

# Waits for the program's message box and checks its title and text; sets BOX.
expect_box() {
  local text=$1 name=$2 result
  poll "$STEP_TIMEOUT" or_ended message_box || fail "no message box appeared within $STEP_TIMEOUT s"
  [ "$POLL_OUT" != ended ] || fail "quorvane ended before its message box appeared (see quorvane.log)"
  BOX=$POLL_OUT
  echo "   message box: window $BOX"
  check_title "$BOX" "$BOX_TITLE" "the message box"
  result=$(helper 60 --match-box "$BOX" "$text" "$ARTIFACTS/$name" 2>/dev/null) || true
  if [ "$result" = "box-text matches" ]; then
    echo "   it says: $text"
  else
    fail_later "the message box does not say \"$text\": ${result:-the comparison did not run}"
  fi
  keep_picture "$BOX" "$name.png"
}

# Dismisses the program's message box with the keyboard and waits until it is gone.
dismiss_box() {
  focus "$BOX"
  xdotool key Return
  poll "$STEP_TIMEOUT" no_message_box || fail "the message box did not go away on Return"
}

# ---------------------------------------------------------------------------------------------
# Dragging.

# The last line of the drag source's output that starts with the given word.
source_line() {
  local line
  line=$(grep -a "^$1" "$SOURCE_OUT" | tail -n 1) || return 1
  echo "$line"
}

# Succeeds once the target under the pointer has taken the drag.
drag_taken() {
  local line
  line=$(source_line drag-action) || return 1
  [ "$line" = "drag-action link" ] || [ "$line" = "drag-action copy" ]
}

# Moves the pointer from one point to another in small steps, pausing between them so that the
# drag and its target follow every move.
glide() {
  local x0=$1 y0=$2 x1=$3 y1=$4 i steps=12 moves=()
  for i in $(seq 1 "$steps"); do
    moves+=(mousemove $((x0 + (x1 - x0) * i / steps)) $((y0 + (y1 - y0) * i / steps)) sleep 0.04)
  done
  xdotool "${moves[@]}"
}

# Drags the given folder from the drag source to a point of the screen and lets go there;
# "taken" waits until the target takes the drag first, "refused" makes sure it never does. A
# sixth argument, --move-only, offers the drag as a move alone. Sets DROP_ACTION to the action the
# drag source reports.
drag_folder() {
  local folder=$1 x=$2 y=$3 expect=$4 name=$5 offer=${6:-} sx sy sw sh i under status=0
  SOURCE_OUT=$WORK/drag-$name.out
  start_marked "$SOURCE_OUT" "$HELPER" ${offer:+"$offer"} "$folder"
  SOURCE_PID=$STARTED_PID
  poll "$STEP_TIMEOUT" source_line geometry || fail "the drag source did not show its window"
  read -r _ sx sy sw sh <<<"$POLL_OUT"
  poll "$STEP_TIMEOUT" xdotool search --onlyvisible --pid "$SOURCE_PID" --name '^quorvane-drag-source$' ||
    fail "the drag source's window is not on screen"
  # The drag source carries this run's mark: the search for left-over processes must see it.
  # (grep reads the whole list: with -q it would stop early, and pipefail would count that.)
  marked_processes | grep -x "$SOURCE_PID" >/dev/null ||
    fail "the search for this run's processes does not find the drag source"

  sx=$((sx + sw / 2)) sy=$((sy + sh / 2))
  xdotool mousemove "$sx" "$sy" sleep 0.1 mousedown 1
  poll "$STEP_TIMEOUT" source_line dragging || fail "the press on the drag source started no drag"
  sleep 0.1
  glide "$sx" "$sy" "$x" $((y + 40))
  glide "$x" $((y + 40)) "$x" "$y"
  # Whatever the answer, it must come from the logo window.
  under=$(xdotool getmouselocation --shell | sed -n 's/^WINDOW=//p')
  [ "$under" = "$MAIN" ] || fail "the pointer at $x,$y is over window $under, not over the logo window $MAIN"
  if [ "$expect" = taken ]; then
    # Small moves on the spot until the target's answer has come back to the source.
    for i in $(seq 1 $((STEP_TIMEOUT * 5))); do
      drag_taken && break
      xdotool mousemove "$x" $((y + i % 2)) sleep 0.1
    done
    drag_taken || fail "the logo did not take the drag (source says: $(source_line drag-action || echo nothing))"
    xdotool mousemove "$x" "$y" sleep 0.2
  else
    for i in $(seq 1 10); do
      xdotool mousemove "$x" $((y + i % 2)) sleep 0.1
    done
    if drag_taken; then
      fail_later "the window took the drag at $x,$y, beside the logo"
    fi
  fi
  xdotool mouseup 1
  poll "$STEP_TIMEOUT" source_line drop-action || fail "the drag source did not see the drag end"
  DROP_ACTION=${POLL_OUT#drop-action }
  echo "   the drag source says the drop was taken as: $DROP_ACTION"
  poll "$STEP_TIMEOUT" source_line drop-finished ||
    fail "the drag source did not hear that the drop was over"
  poll "$STEP_TIMEOUT" ended "$SOURCE_PID" || fail "the drag source did not end"
  wait "$SOURCE_PID" || status=$?
  SOURCE_PID=""
  [ "$status" -eq 0 ] || fail "the drag source ended with status $status"
  [ "$(source_line drop-finished)" = drop-finished ] ||
    fail_later "the drop target never told the drag source it had finished"
}

# Checks what a refused drag leaves: the drag source heard "ignore", no message box appeared, and
# the Dropbox folder is still empty.
expect_refused() {
  local what=$1 name=$2
  [ "$DROP_ACTION" = ignore ] || fail_later "$what was taken as \"$DROP_ACTION\""
  if poll 3 message_box; then
    BOX=$POLL_OUT
    keep_picture "$BOX" "$name-box.png"
    fail_later "a message box appeared after $what ($name-box.png)"
    dismiss_box
  fi
  [ -z "$(entries "$SYNC_DATA")" ] || fail_later "the Dropbox folder is not empty: $(entries "$SYNC_DATA")"
}

# ---------------------------------------------------------------------------------------------
# The run.

step "checking the tools"
for tool in Xvfb xdotool xprop realpath timeout; do
  command -v "$tool" >/dev/null || fail "the tool $tool is not installed"
done
[ -x "$QUORVANE" ] || fail "$QUORVANE is not a program"
[ -x "$HELPER" ] || fail "$HELPER is not a program"
mkdir -p "$ARTIFACTS"
rm -f "$ARTIFACTS"/*.png "$ARTIFACTS"/*.out "$ARTIFACTS"/*.log

step "making a home whose Dropbox folder is a link to another disk"
TEMPORARY=${TMPDIR:-/tmp}
# The sync folder's path shows in a message box as the shell writes it; a plain path reads the
# same both ways.
[[ $TEMPORARY =~ ^[A-Za-z0-9/._-]+$ ]] || TEMPORARY=/tmp
WORK=$(mktemp -d "$TEMPORARY/quorvane-e2e.XXXXXX")
TEST_HOME=$WORK/home
SYNC=$TEST_HOME/Dropbox
# The folder that the link ~/Dropbox leads to, as when the sync folder is kept on a second disk.
SYNC_DATA=$WORK/data/Dropbox
FOLDER="$WORK/folders/My Project's"
REFUSED_FOLDER="$WORK/folders/Beside the Logo"
mkdir -p "$TEST_HOME" "$SYNC_DATA" "$FOLDER" "$REFUSED_FOLDER" "$WORK/runtime"
ln -s "$SYNC_DATA" "$SYNC"
chmod 700 "$WORK/runtime"
RUN_MARK="quorvane-e2e-$$-$RANDOM$RANDOM"
CHILD_ENVIRONMENT=(-u WAYLAND_DISPLAY -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_CACHE_HOME
                   -u XDG_DATA_DIRS -u LANGUAGE -u LC_MESSAGES)
for variable in $(compgen -e); do
  [[ $variable == QT_* ]] && CHILD_ENVIRONMENT+=(-u "$variable")
done
# libxkbcommon-x11, which Qt's X11 support uses, hands strndup names that are not NUL-terminated;
# AddressSanitizer's strict string checks, when asked for, report that in the system library.
if [ -n "${ASAN_OPTIONS:-}" ]; then
  CHILD_ENVIRONMENT+=("ASAN_OPTIONS=$ASAN_OPTIONS:strict_string_checks=0")
fi
# No session bus: the programs under test talk to nothing of the desktop they were started from.
# Qt 6.8's services (unlike 6.4's) still open a bus connection at start to ask the desktop portal
# what it offers, and that connection's allocations outlive the program.
CHILD_ENVIRONMENT+=(HOME="$TEST_HOME" XDG_RUNTIME_DIR="$WORK/runtime" LC_ALL=C.UTF-8 LANG=C.UTF-8
                    DBUS_SESSION_BUS_ADDRESS=disabled: QT_NO_XDG_DESKTOP_PORTAL=1 QT_QPA_PLATFORM=xcb
                    "QUORVANE_E2E_RUN=$RUN_MARK")

step "starting Xvfb"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
  3>"$WORK/display" >"$ARTIFACTS/xvfb.log" 2>&1 &
XVFB_PID=$!
poll "$STEP_TIMEOUT" grep -E '^[0-9]+$' "$WORK/display" || fail "Xvfb did not start (see xvfb.log)"
export DISPLAY=":$POLL_OUT"
unset XAUTHORITY
CHILD_ENVIRONMENT+=(DISPLAY="$DISPLAY")
poll "$STEP_TIMEOUT" xdotool getdisplaygeometry || fail "Xvfb on $DISPLAY does not answer"
echo "   display $DISPLAY, screen $POLL_OUT"

step "starting quorvane"
start_marked "$ARTIFACTS/quorvane.log" "$QUORVANE"
QUORVANE_PID=$STARTED_PID
echo "   process $QUORVANE_PID"

step "the start message box"
expect_box "$START_TEXT" start-box
windows_of_type "$QUORVANE_PID" NORMAL >/dev/null &&
  fail_later "the logo window is on screen before the start box is dismissed"
dismiss_box

step "the logo window"
poll "$STEP_TIMEOUT" or_ended windows_of_type "$QUORVANE_PID" NORMAL ||
  fail "the logo window did not appear"
[ "$POLL_OUT" != ended ] || fail "quorvane ended before its window appeared (see quorvane.log)"
MAIN=$POLL_OUT
[ "$(wc -l <<<"$MAIN")" -eq 1 ] || fail "more than one window: $MAIN"
echo "   window $MAIN"
check_title "$MAIN" "$MAIN_TITLE" "the logo window"
eval "$(xdotool getwindowgeometry --shell "$MAIN")"
echo "   at $X,$Y, $WIDTH x $HEIGHT"
if [ "$WIDTH" -ne "$CONTENT_WIDTH" ] || [ "$HEIGHT" -le "$CONTENT_HEIGHT" ]; then
  fail_later "the window is $WIDTH x $HEIGHT; its content should be $CONTENT_WIDTH x $CONTENT_HEIGHT under a menu bar"
fi
keep_picture "$MAIN" main-window.png
# The content fills the window's lower part, below the menu bar.
CONTENT_TOP=$((Y + HEIGHT - CONTENT_HEIGHT))
LOGO_X=$((X + WIDTH / 2))
LOGO_Y=$((CONTENT_TOP + CONTENT_HEIGHT / 2))
# The strip's column next to the canvas: the drop must be refused right up to the logo's edge.
STRIP_X=$((X + CANVAS_LEFT - 1))

step "a drop beside the logo is refused"
drag_folder "$REFUSED_FOLDER" "$STRIP_X" "$LOGO_Y" refused beside
expect_refused "the drop beside the logo" beside

step "a drag that offers a move alone is refused"
drag_folder "$FOLDER" "$LOGO_X" "$LOGO_Y" refused move --move-only
expect_refused "the move-only drag" move
[ -d "$FOLDER" ] || fail_later "the dragged folder is gone"

step "the home folder, which holds the sync folder through its link, is refused"
drag_folder "$TEST_HOME" "$LOGO_X" "$LOGO_Y" taken home
expect_box "$FAIL_TEXT" home-box
dismiss_box
[ -z "$(entries "$SYNC_DATA")" ] || fail_later "the Dropbox folder is not empty: $(entries "$SYNC_DATA")"

step "a drop on the logo makes the link"
drag_folder "$FOLDER" "$LOGO_X" "$LOGO_Y" taken logo
[ "$DROP_ACTION" = link ] || fail_later "the drop on the logo was taken as \"$DROP_ACTION\", not as a link"
expect_box "$SUCCESS_TEXT" success-box
LINK="$SYNC/My Project's"
if [ ! -L "$LINK" ]; then
  fail_later "there is no symbolic link \"$LINK\" (the folder holds: $(entries "$SYNC_DATA"))"
elif [ "$(readlink -- "$LINK")" != "$FOLDER" ]; then
  fail_later "the link points at \"$(readlink -- "$LINK")\", not at \"$FOLDER\""
else
  echo "   $LINK -> $(readlink -- "$LINK")"
fi
[ "$(entries "$SYNC_DATA" | wc -l)" -eq 1 ] || fail_later "the Dropbox folder holds: $(entries "$SYNC_DATA")"
dismiss_box

step "a click on the logo tells the sync folder"
xdotool mousemove "$LOGO_X" "$LOGO_Y" sleep 0.1 click 1
expect_box "$PATH_TEXT$SYNC" path-box
dismiss_box

step "Ctrl+Q quits"
focus "$MAIN"
xdotool key ctrl+q
poll "$STEP_TIMEOUT" ended "$QUORVANE_PID" || fail "quorvane is still running after Ctrl+Q"
STATUS=0
wait "$QUORVANE_PID" || STATUS=$?
QUORVANE_PID=""
[ "$STATUS" -eq 0 ] || fail_later "quorvane ended with status $STATUS"
echo "   quorvane ended with status $STATUS"

step "nothing is left behind"
if ! poll 5 nothing_left; then
  mapfile -t LEFT < <(marked_processes)
  fail_later "processes of the run are still there:
$(describe_processes "${LEFT[@]}")"
fi

if [ ${#FAILURES[@]} -gt 0 ]; then
  echo "FAILED: ${#FAILURES[@]} check(s):" >&2
  printf '   %s\n' "${FAILURES[@]}" >&2
  echo "   pictures and logs: $ARTIFACTS" >&2
  REPORTED=1
  exit 1
fi
echo "PASSED (pictures and logs: $ARTIFACTS)"
