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

xdotool mousemove --window "$player" 100 100 click --repeat 2 --delay 100 1
wait_for "no full screen of $screen" has_size "$player" "$screen"
xdotool mousemove --window "$player" 100 100 click --repeat 2 --delay 100 1
wait_for "not back from full screen" has_size "$player" 352x240

focus_window '^list.kvo - Kivo$'
press_until '名前を付けて保存' alt+p x
focus_window '名前を付けて保存'
xdotool type --delay 5 "$work/frame"
keys Return
wait_for "no snapshot file" test -s "$work/frame.bmp"

# A 320 x 240 frame in 24 bits: "BM", 54 + 230,400 bytes, pixels at 54.
header=$(od -An -tu4 -j2 -N4 "$work/frame.bmp" | tr -d ' ')
offset=$(od -An -tu4 -j10 -N4 "$work/frame.bmp" | tr -d ' ')
width=$(od -An -tu4 -j18 -N4 "$work/frame.bmp" | tr -d ' ')
height=$(od -An -tu4 -j22 -N4 "$work/frame.bmp" | tr -d ' ')
[ "$(head -c 2 "$work/frame.bmp")" = BM ] || fail "not a bitmap file"
[ "$header" = 230454 ] && [ "$(stat -c %s "$work/frame.bmp")" = 230454 ] || fail "file size $header"
[ "$offset" = 54 ] && [ "$width" = 320 ] && [ "$height" = 240 ] || fail "header: $offset $width x $height"

focus_window '^list.kvo - Kivo$'
keys alt+f x
# The played list is modified: leave without saving.
focus_window '^Kivo231$'
keys n
wait_for_kivo || fail "the program ended with a failure status"
echo "ok: full screen $screen and back, snapshot of 320 x 240"
