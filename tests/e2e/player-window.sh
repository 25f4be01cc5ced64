#!/usr/bin/env bash
# The player window in the real program on a real X server with a window
# manager: play a video and pause it, double-click the picture into full
# screen and back, and save a snapshot whose header and size match the frame.
#
# Usage (under xvfb-run): player-window.sh KIVO231 KVOTOOL MEDIA_DIR
source "$(dirname "$0")/x-session.sh"

size_of() { xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: //p'; }
has_size() { [ "$(size_of "$1")" = "$2" ]; }
screen=$(xdotool getdisplaygeometry | tr ' ' x)

"$kvotool" create "$work/list.kvo" "$media/video.avi" >/dev/null
start_kivo "$work/list.kvo"
focus_window '^list.kvo - Kivo$'
press_until '^Kivo ﾌﾟﾚｲﾔ$' alt+p p
player=$(window_of '^Kivo ﾌﾟﾚｲﾔ$') || fail "no player window"
# Paused, so that the three-second clip does not end meanwhile: Ctrl in the
# player window, which play gave the keys.
wait_for "the player window did not take the keys" is_active "$player"
keys ctrl
[ "$(size_of "$player")" = 352x240 ] || fail "player window of $(size_of "$player")"
# The splash, up for its two seconds, would take the clicks.
wait_until_gone '^Kivo$'

xdotool mousemove --window "$player" 100 100 click --repeat 2 --delay 100 1
wait_for "no full screen of $screen" has_size "$player" "$screen"
xdotool mousemove --window "$player" 100 100 click --repeat 2 --delay 100 1
wait_for "not back from full screen" has_size "$player" 352x240

focus_window '^list.kvo - Kivo$'
press_until '名前を付けて保存' alt+p x
focus_window '名前を付けて保存'
xdotool type --delay 5 "$work/frame"
keys Return
# A 320 x 240 frame in 24 bits (the header's fields are the bitmap test's).
is_frame() { [ "$(head -c 2 "$1")" = BM ] && [ "$(stat -c %s "$1")" = 230454 ]; }
wait_for "no bitmap file of a 320 x 240 frame" is_frame "$work/frame.bmp"

focus_window '^list.kvo - Kivo$'
keys alt+f x
# The played list is modified: leave without saving.
focus_window '^Kivo231$'
keys n
wait_for_kivo || fail "the program ended with a failure status"
echo "ok: full screen $screen and back, snapshot of 320 x 240"
