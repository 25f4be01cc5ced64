# Sourced by the end-to-end scripts: a session of the real program on the
# X server of xvfb-run under openbox, with a profile of its own and sinks
# that need no devices, and the helpers that drive it with xdotool.
# Expects $program (the Kivo231 executable).

work=$(mktemp -d)
openbox_pid=
kivo_pid=
cleanup() {
  [ -n "$kivo_pid" ] && kill "$kivo_pid" 2>/dev/null || true
  [ -n "$openbox_pid" ] && kill "$openbox_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*" >&2
  echo "visible windows:" >&2
  for window in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    echo "  '$(xdotool getwindowname "$window")'" >&2
  done
  exit 1
}

export HOME=$work/home XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb
export KIVO_AUDIO_SINK="fakesink sync=true"
mkdir -p "$HOME" "$XDG_CONFIG_HOME"

openbox >/dev/null 2>&1 &
openbox_pid=$!
sleep 1

# The first visible window whose title matches.
window_of() {
  timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1
}

# Waits for a visible window whose title matches, and gives it the focus.
focus_window() {
  local window
  window=$(window_of "$1") || fail "no window titled '$1'"
  xdotool windowactivate --sync "$window" 2>/dev/null || true
  sleep 0.5
}

# Waits until no visible window's title matches.
wait_until_gone() {
  for _ in $(seq 1 300); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.2
  done
  fail "window '$1' stayed"
}

keys() {
  xdotool key --clearmodifiers "$@"
  sleep 0.4
}

start_kivo() {
  "$program" "$@" &
  kivo_pid=$!
}

# Waits for the program to end; false when it ended with a failure status.
wait_for_kivo() {
  for _ in $(seq 1 100); do
    kill -0 "$kivo_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$kivo_pid" 2>/dev/null && fail "the program did not end"
  local status=0
  wait "$kivo_pid" || status=$?
  kivo_pid=
  return "$status"
}
