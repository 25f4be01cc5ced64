# Sourced by the end-to-end scripts: a session of the real program on the
# X server of xvfb-run under openbox, with a profile of its own and sinks
# that need no devices, and the helpers that drive it with xdotool. Every
# wait is for a condition (a window, a title, a file), never for a time.
# Takes the script's arguments: KIVO231 KVOTOOL MEDIA_DIR, as $program,
# $kvotool and $media.

set -euo pipefail
program=$1
kvotool=$2
media=$3
work=$(mktemp -d)
openbox_pid=
kivo_pid=
trap '{ [ -n "$kivo_pid" ] && kill -9 "$kivo_pid"; [ -n "$openbox_pid" ] && kill "$openbox_pid"; } 2>/dev/null || true; rm -rf "$work"' EXIT

fail() {
  echo "FAILED: $* (script lines ${BASH_LINENO[*]})" >&2
  echo "active window: $(xdotool getactivewindow 2>&1) '$(xdotool getactivewindow getwindowname 2>&1)'" >&2
  echo "visible windows:" >&2
  for each in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    echo "  $each '$(xdotool getwindowname "$each")'" >&2
  done
  exit 1
}

export HOME=$work/home XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb
export KIVO_AUDIO_SINK="fakesink sync=true"
mkdir -p "$HOME" "$XDG_CONFIG_HOME"
settings=$XDG_CONFIG_HOME/KivoProject/Kivo231.ini

# wait_for DESCRIPTION COMMAND...: runs the command every tenth of a second
# until it succeeds, for at most 30 seconds.
wait_for() {
  local description=$1
  shift
  for _ in $(seq 1 300); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  fail "$description"
}
wm_is_ready() { xprop -root _NET_SUPPORTED | grep -q _NET_ACTIVE_WINDOW; }
openbox >/dev/null 2>&1 &
openbox_pid=$!
wait_for "no window manager" wm_is_ready

# The first visible window whose title matches, once there is one. (A
# window that goes while xdotool looks makes it fail: it looks again.)
window_of() {
  local found
  for _ in $(seq 1 300); do
    found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
    [ -n "$found" ] && echo "$found" && return 0
    sleep 0.1
  done
  return 1
}

# The window manager's active window, which also has the keyboard.
is_active() {
  [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ] && [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]
}

# Waits for a visible window whose title matches and gives it the focus;
# its id goes to $window.
focus_window() {
  window=$(window_of "$1") || fail "no window titled '$1'"
  [ -n "$window" ] || fail "no window titled '$1'"
  xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
  # A window the manager already takes for active may still have lost the
  # keyboard to one that went (a dialog just closed): it gets it back.
  is_active "$window" || xdotool windowfocus --sync "$window" >/dev/null 2>&1 || true
  wait_for "window '$1' did not take the focus" is_active "$window"
}

# No visible window's title matches. (A window that goes while xdotool
# looks makes it fail with an X error: that is no answer, so not gone.)
is_gone() { [ -z "$(xdotool search --onlyvisible --name "$1" 2>&1)" ]; }
# Whether a window (by id) is on the screen.
is_viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }

wait_until_gone() { wait_for "window '$1' stayed" is_gone "$1"; }
# Keys through the window manager to the focused window, as a user types them.
keys() { xdotool key --clearmodifiers --delay 60 "$@"; }
is_shown() { [ -n "$(xdotool search --onlyvisible --name "$1" 2>/dev/null)" ]; }

# press_until TITLE KEYS...: presses the keys until a window whose title
# matches shows. Keys that come while the program is not ready for them (a
# dialog closing, a window manager still busy) are lost, not queued; they
# are pressed again after five seconds without the window, three times at
# the most.
press_until() {
  local title=$1
  shift
  for _ in 1 2 3; do
    keys "$@"
    for _ in $(seq 1 50); do
      is_shown "$title" && return 0
      sleep 0.1
    done
  done
  fail "'$*' brought no window titled '$title'"
}

start_kivo() { "$program" "$@" & kivo_pid=$!; }
has_ended() { ! kill -0 "$kivo_pid"; }

# Waits for the program to end; false when it ended with a failure status.
wait_for_kivo() {
  wait_for "the program did not end" has_ended
  local status=0
  wait "$kivo_pid" || status=$?
  kivo_pid=
  return "$status"
}
quit_kivo() {
  keys alt+f x
  wait_for_kivo || fail "the program ended with a failure status"
}

# The X windows stacked from bottom to top, as the window manager keeps them.
stacking() { xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g'; }

# Whether window $1 lies above window $2 (ids in any base).
is_above() {
  local above below each below_seen=
  above=$(printf '%d' "$1")
  below=$(printf '%d' "$2")
  for each in $(stacking); do
    each=$(printf '%d' "$each")
    [ "$each" = "$below" ] && below_seen=1
    [ "$each" = "$above" ] && [ -n "$below_seen" ] && return 0
  done
  return 1
}
