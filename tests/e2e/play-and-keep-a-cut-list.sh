#!/usr/bin/env bash
# The whole road in the real program on a real X server with a window
# manager: add media through the open-media-files dialog, play the cut list
# to its end, pause partway through a second run, save, quit, start again on
# the saved file and find the same list, current object and position; and
# a scenario on the command line that cannot be read ends the program.
#
# Usage (under xvfb-run): play-and-keep-a-cut-list.sh KIVO231 KVOTOOL MEDIA_DIR
set -euo pipefail
program=$1
kvotool=$2
media=$3

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

# A profile of its own, sinks that need no devices, the X server's platform.
export HOME=$work/home XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb
export KIVO_AUDIO_SINK="fakesink sync=true" KIVO_VIDEO_SINK="fakesink sync=true"
mkdir -p "$HOME" "$XDG_CONFIG_HOME"

openbox >/dev/null 2>&1 &
openbox_pid=$!
sleep 1

# Waits for a visible window whose title matches, and gives it the focus.
focus_window() {
  local window
  window=$(timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1) ||
    fail "no window titled '$1'"
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

quit_kivo() {
  keys alt+f x
  for _ in $(seq 1 100); do
    kill -0 "$kivo_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$kivo_pid" 2>/dev/null && fail "the program did not end"
  wait "$kivo_pid" || fail "the program ended with status $?"
  kivo_pid=
}

# The object paths, the current object or the playing position of a saved
# cut list.
objects() { "$kvotool" dump "$1" | sed -n '/^objects:/,/^current object:/p' | sed '1d;$d'; }
field() { "$kvotool" dump "$1" | sed -n "s/^$2: \([0-9-]*\).*/\1/p"; }

list=$work/list.kvo

# A scenario named on the command line that cannot be read ends the program
# once its message has been read, without a main window.
start_kivo "$work/missing.kvo"
focus_window '^Kivo231$'
xdotool search --onlyvisible --name ' - Kivo$' >/dev/null 2>&1 && fail "a main window came up"
keys Return
for _ in $(seq 1 100); do
  kill -0 "$kivo_pid" 2>/dev/null || break
  sleep 0.1
done
if wait "$kivo_pid"; then fail "the program reported success"; fi
kivo_pid=

# First run: add three files, play them to the end, pause partway, save.
start_kivo
focus_window ' - Kivo$'
sleep 2.5  # the splash goes
focus_window '^無題 - Kivo$'
keys alt+f i
focus_window 'ﾒﾃﾞｨｱﾌｧｲﾙを開く'
xdotool type --delay 5 "\"$media/video.avi\" \"$media/audio.wav\" \"$media/video.mpg\""
keys Return
wait_until_gone 'ﾒﾃﾞｨｱﾌｧｲﾙを開く'
wait_until_gone '読み込み中'
focus_window '^無題 - Kivo$'

keys alt+p p
sleep 13  # three clips of three seconds each
focus_window '^無題 - Kivo$'
keys alt+p p
sleep 1.5
# The player window comes up on top of the main window with the focus.
focus_window '^無題 - Kivo$'
keys alt+p p
keys ctrl+s
focus_window '名前を付けて保存'
xdotool type --delay 5 "$list"
keys Return
focus_window '^list.kvo - Kivo$'
quit_kivo

expected=$(printf '  0: %s\n  1: %s\n  2: %s' "$media/video.avi" "$media/audio.wav" "$media/video.mpg")
[ "$(objects "$list")" = "$expected" ] || fail "saved list: $(objects "$list")"
current=$(field "$list" 'current object')
position=$(field "$list" 'playing position')
[ "$current" = 0 ] || fail "the end of the list cues the first object, not $current"
(( position >= 50 && position <= 300 )) || fail "paused at $position"

# Second run on the saved file: the same list, object and position.
cp "$list" "$work/first.kvo"
start_kivo "$list"
focus_window '^list.kvo - Kivo$'
wait_until_gone '読み込み中'
sleep 2.5
focus_window '^list.kvo - Kivo$'
keys ctrl+s
quit_kivo

[ "$(objects "$list")" = "$expected" ] || fail "the list changed: $(objects "$list")"
[ "$(field "$list" 'current object')" = "$current" ] || fail "the current object changed"
again=$(field "$list" 'playing position')
(( again - position <= 10 && position - again <= 10 )) || fail "position $position came back as $again"
echo "ok: list of 3, object $current at $position/100 s kept"
