#!/usr/bin/env bash
# The windows of the real program under a window manager: the main window
# comes back where it was left, also after a quit signal; the floating bars
# and the player window stay above it and go with it when Space minimises
# the program; play gives the player window the keys; a drop from another
# program brings the main window to the front. (No drag in the list mode,
# and the settings a close keeps, are the widget tests'.)
#
# Usage (under xvfb-run): windows.sh KIVO231 KVOTOOL MEDIA_DIR DRAG_SOURCE
source "$(dirname "$0")/x-session.sh"
drag_source=$4
export KIVO_VIDEO_SINK="fakesink sync=true"

# The X windows stacked from bottom to top, as the window manager keeps them.
stacking() { xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g'; }
# Whether window $1 lies above window $2 (ids in any base).
is_above() {
  local order above below
  order=" $(for each in $(stacking); do printf '%d ' "$each"; done)"
  above=" $(printf '%d' "$1") "
  below=" $(printf '%d' "$2") "
  [[ $order == *"$below"* ]] && order=${order#*"$below"} && [[ " $order" == *"$above"* ]]
}
# The top left corner of a window's frame, or of its inside, as "x y".
frame_origin() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
                           /Relative upper-left X/ {rx = $NF} /Relative upper-left Y/ {ry = $NF}
                           END {print x - rx, y - ry}'
}
inner_origin() { xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF} END {print x, y}'; }
has_state() { xprop -id "$1" WM_STATE | grep -q "$2"; }
# The window's frame within a pixel of "x y".
is_at() {
  local a b
  read -r -a a <<<"$(frame_origin "$1")"
  read -r -a b <<<"$2"
  (( (a[0] - b[0]) ** 2 <= 1 && (a[1] - b[1]) ** 2 <= 1 ))
}
# Clicks at a point of the window's inside.
click_in() {
  read -r x y <<<"$(inner_origin "$1")"
  xdotool mousemove $((x + $2)) $((y + $3)) click 1
}

# First run: the sound bars float above the main window, also after a click
# on it; moved, the window comes back there on the next start, and on the
# one after a quit signal, which keeps the place too.
start_kivo
focus_window '^無題 - Kivo$'
main=$window
volume=$(window_of '^音量$') || fail "no floating volume bar"
speed=$(window_of '^速度$') || fail "no floating speed bar"
click_in "$main" 20 120
wait_for "the main window did not take the focus" is_active "$main"
is_above "$volume" "$main" && is_above "$speed" "$main" || fail "the bars fell behind the main window: $(stacking)"
before=$(frame_origin "$main")
xdotool windowmove "$main" 180 140
wait_for "the window did not move" eval '[ "$(frame_origin "$main")" != "$before" ]'
left=$(frame_origin "$main")
quit_kivo
start_kivo
focus_window '^無題 - Kivo$'
is_at "$window" "$left" || fail "the next start put the frame at $(frame_origin "$window"), not $left"
sed -i '/^x=/d' "$settings"
term_kivo
grep -q "^x=${left% *}$" "$settings" || fail "the quit signal did not keep the place"

# The player window belongs to the main window: above it, at the list's top
# left corner, with the keys as soon as play starts.
"$kvotool" create "$work/list.kvo" "$media/video.avi" "$media/video.mov" "$media/video.mpg" >/dev/null
start_kivo "$work/list.kvo"
focus_window '^list.kvo - Kivo$'
is_at "$window" "$left" || fail "a start on a file put the frame at $(frame_origin "$window"), not $left"
main=$window
volume=$(window_of '^音量$') || fail "no floating volume bar"
speed=$(window_of '^速度$') || fail "no floating speed bar"
xdotool windowsize "$main" 900 600
wait_for "the window kept its size" eval 'xwininfo -id "$main" | grep -q "Width: 900"'
press_until '^Kivo ﾌﾟﾚｲﾔ$' alt+p p
player=$(window_of '^Kivo ﾌﾟﾚｲﾔ$') || fail "no player window"
wait_for "play did not give the player window the keys" is_active "$player"
xprop -id "$player" WM_TRANSIENT_FOR | grep -qi "$(printf '0x%x' "$main")" || fail "the player window has no owner"
read -r px py <<<"$(inner_origin "$player")"
read -r mx my <<<"$(inner_origin "$main")"
(( px - mx >= 0 && px - mx <= 4 && py > my && py - my < 120 )) || fail "player at $px,$py, main window at $mx,$my"
keys Down  # the next object, right after the start
click_in "$main" 700 450  # empty list space
wait_for "the main window did not take the focus" is_active "$main"
is_above "$player" "$main" || fail "the player window fell behind the main window: $(stacking)"

# Space minimises the whole program; the main window brings it all back.
xdotool windowactivate --sync "$player"
wait_for "the player window did not take the focus" is_active "$player"
keys space
for each in "$main" "$player" "$volume" "$speed"; do
  wait_for "window $each stayed after Space" has_state "$each" Iconic
done
xdotool windowactivate "$main"
for each in "$main" "$player" "$volume" "$speed"; do
  wait_for "window $each did not come back with the main window" has_state "$each" Normal
done

# Down went to the player: the second object is the current one.
focus_window '^list.kvo - Kivo$'
keys ctrl+s
wait_for "Ctrl+S did not save" has_field "$work/list.kvo" "current object" 1
# A drop from another program brings the main window to the front and adds
# the file.
"$drag_source" "$media/audio.wav" >"$work/drag" &
source_pid=$!
source=$(window_of '^drag source$') || fail "no drag source"
xdotool windowactivate --sync "$source"
wait_for "the drag source did not take the focus" is_active "$source"
read -r sx sy <<<"$(inner_origin "$source")"
read -r mx my <<<"$(inner_origin "$main")"
xdotool mousemove $((sx + 50)) $((sy + 50)) mousedown 1
for step in 1 2 3 4 5 6 7 8 9 10; do
  xdotool mousemove $((sx + 50 + (mx + 500 - sx - 50) * step / 10)) $((sy + 50 + (my + 450 - sy - 50) * step / 10))
done
wait_for "the list did not take the dragged file" grep -q accepted "$work/drag"
xdotool mouseup 1
wait_for "a drop left the main window behind" is_active "$main"
is_above "$main" "$source" || fail "a drop left the main window behind the drag source"
# Saved once the file is in: keys that come while it is examined go to the
# loading dialog.
saved_with_four() { keys ctrl+s; has_field "$work/list.kvo" objects 4; }
wait_for "the dropped file was not added" saved_with_four
kill "$source_pid"
term_kivo
echo "ok: frame kept at $left; player and bars above the main window and minimised with it"
