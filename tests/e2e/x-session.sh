# Sourced by the end-to-end scripts: a session of the real program on the
# X server of xvfb-run under openbox, with a profile of its own and sinks
# that need no devices, and the helpers that drive it with xdotool, read its
# saved cut lists and talk to its remote control. Every wait is for a
# condition (a window, a title, a file), never for a time.
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
  echo "active window: '$(xdotool getactivewindow getwindowname 2>&1)'; visible windows:" >&2
  for each in $(xdotool search --onlyvisible --name . 2>/dev/null); do echo "  '$(xdotool getwindowname "$each")'"; done >&2
  if [ -n "$openbox_pid" ] && ! kill -0 "$openbox_pid" 2>/dev/null; then
    echo "openbox has ended; it said:" >&2
    cat "$work/openbox.log" >&2
  fi
  if [ -s "${KIVO_X_SERVER_LOG:-}" ]; then
    echo "the X server's last words (DISPLAY=${DISPLAY:-}):" >&2
    tail -n 20 "$KIVO_X_SERVER_LOG" >&2
  fi
  exit 1
}

export HOME=$work/home XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb KIVO_AUDIO_SINK="fakesink sync=true"
mkdir -p "$HOME" "$XDG_CONFIG_HOME"
settings=$XDG_CONFIG_HOME/KivoProject/Kivo231.ini

# within TENTHS COMMAND...: runs the command every tenth of a second until
# it succeeds, at most that many times.
within() {
  for _ in $(seq 1 "$1"); do
    "${@:2}" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}
# wait_for DESCRIPTION COMMAND...: the command succeeds within 30 seconds.
wait_for() { within 300 "${@:2}" || fail "$1"; }
openbox >"$work/openbox.log" 2>&1 &
openbox_pid=$!
wait_for "no window manager" eval 'xprop -root _NET_SUPPORTED | grep -q _NET_ACTIVE_WINDOW'

# Whether a visible window's title matches, or none does. (A window that
# goes while xdotool looks makes it fail with an X error: that is no answer.)
is_shown() { [ -n "$(xdotool search --onlyvisible --name "$1" 2>/dev/null)" ]; }
is_gone() { [ -z "$(xdotool search --onlyvisible --name "$1" 2>&1)" ]; }
wait_until_gone() { wait_for "window '$1' stayed" is_gone "$1"; }
# The first visible window whose title matches, once there is one.
window_of() {
  local title=$1 found
  within 300 eval 'found=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n 1); [ -n "$found" ]' && echo "$found"
}
# Whether a window (by id) is on the screen.
is_viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }

# The window manager's active window, which also has the keyboard.
is_active() {
  [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ] && [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]
}

# Waits for a visible window whose title matches and gives it the focus;
# its id goes to $window.
focus_window() {
  window=$(window_of "$1") || fail "no window titled '$1'"
  xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
  # A window the manager already takes for active may still have lost the
  # keyboard to one that went (a dialog just closed): it gets it back.
  is_active "$window" || xdotool windowfocus --sync "$window" >/dev/null 2>&1 || true
  wait_for "window '$1' did not take the focus" is_active "$window"
}

# Keys through the window manager to the focused window, as a user types them.
keys() { xdotool key --clearmodifiers --delay 60 "$@"; }

# press_until TITLE KEYS...: presses the keys until a window whose title
# matches shows. Keys that come while the program is not ready for them (a
# dialog closing, a window manager still busy) are lost, not queued; they
# are pressed again after five seconds without the window, three times at
# the most.
press_until() {
  for _ in 1 2 3; do
    keys "${@:2}"
    within 50 is_shown "$1" && return 0
  done
  fail "'${*:2}' brought no window titled '$1'"
}
# Types a path into the file dialog of that title and takes it.
choose_file() {
  focus_window "$1"
  xdotool type --delay 5 "$2"
  keys Return
}
# Reads the program's message box and closes it.
answer_message() {
  focus_window '^Kivo231$'
  keys Return
  wait_until_gone '^Kivo231$'
}

start_kivo() { "$program" "$@" & kivo_pid=$!; }
# Waits for the program to end; false when it ended with a failure status.
wait_for_kivo() {
  wait_for "the program did not end" eval '! kill -0 "$kivo_pid"'
  local status=0
  wait "$kivo_pid" || status=$?
  kivo_pid=
  return "$status"
}
quit_kivo() {
  keys alt+f x
  wait_for_kivo || fail "the program ended with a failure status"
}
# Ends the program by a quit signal, which keeps its settings.
term_kivo() {
  kill -TERM "$kivo_pid"
  wait_for_kivo || fail "a quit signal ended the program with a failure status"
}

# field FILE NAME: a field of a saved cut list as kvotool dumps it ("objects",
# "current object", "playing position"), up to its first space.
field() { "$kvotool" dump "$1" | sed -n "s/^$2: \([^ ]*\).*/\1/p"; }
has_field() { [ "$(field "$1" "$2")" = "$3" ]; }

# The remote control (MPRIS) of the program.
service=org.mpris.MediaPlayer2.kivo
call() { gdbus call --session -d "$service" -o /org/mpris/MediaPlayer2 -m "$@"; }
property() { call org.freedesktop.DBus.Properties.Get org.mpris.MediaPlayer2.Player "$1"; }
shows() { property "$1" | grep -q -- "$2"; }
is_named() {
  gdbus call --session -d org.freedesktop.DBus -o /org/freedesktop/DBus -m org.freedesktop.DBus.ListNames |
    grep -q "'$service'"
}
position() { property Position | sed -n 's/.*int64 \([0-9]*\).*/\1/p'; }
track() { property Metadata | sed -n "s/.*objectpath '\([^']*\)'.*/\1/p"; }
playing() { shows PlaybackStatus Playing && property Metadata | grep -q "xesam:url.*$1"; }
