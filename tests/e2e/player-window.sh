#!/usr/bin/env bash
# The player window in the real program on a real X server with a window
# manager: play a video and pause it, double-click the picture into full
# screen and back, and save a snapshot through its dialog as a bitmap of
# the frame's size.
#
# Usage (under xvfb-run): player-window.sh KIVO231 KVOTOOL MEDIA_DIR
source "$(dirname "$0")/x-session.sh"

has_size() { xdotool getwindowgeometry "$1" | grep -q "Geometry: $2$"; }
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
has_size "$player" 352x240 || fail "player window of $(xdotool getwindowgeometry "$player")"
# The splash, up for its two seconds, would take the clicks.
wait_until_gone '^Kivo$'
for size in "$screen" 352x240; do
  xdotool mousemove --window "$player" 100 100 click --repeat 2 --delay 100 1
  wait_for "a double click did not bring a size of $size" has_size "$player" "$size"
done

focus_window '^list.kvo - Kivo$'
press_until '名前を付けて保存' alt+p x
choose_file '名前を付けて保存' "$work/frame"
# A 320 x 240 frame in 24 bits (the header's fields are the bitmap test's).
is_frame() { [ "$(head -c 2 "$1")" = BM ] && [ "$(stat -c %s "$1")" = 230454 ]; }
wait_for "no bitmap file of a 320 x 240 frame" is_frame "$work/frame.bmp"
# The played list is modified: leave without saving.
focus_window '^list.kvo - Kivo$'
keys alt+f x
focus_window '^Kivo231$'
keys n
wait_for_kivo || fail "the program ended with a failure status"
echo "ok: full screen $screen and back, snapshot of 320 x 240"
