#!/usr/bin/env bash
# The windows of the real program under a window manager: the main window
# comes back where it was left, the floating bars and the player window stay
# above it and go with it when Space minimises the program, play gives the
# player window the keys, no drag starts in the list mode, a drop from
# another program brings it to the front, and a quit signal
# closes quietly, keeping the settings.
#
# Usage (under xvfb-run): windows.sh KIVO231 KVOTOOL MEDIA_DIR DRAG_SOURCE
source "$(dirname "$0")/x-session.sh"
drag_source=$4
export KIVO_VIDEO_SINK="fakesink sync=true"

# The top left corner of a window's frame, as "x y".
frame_origin() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
                           /Relative upper-left X/ {rx = $NF} /Relative upper-left Y/ {ry = $NF}
                           END {print x - rx, y - ry}'
}
inner_size() { xwininfo -id "$1" | awk '/Width:/ {w = $NF} /Height:/ {h = $NF} END {print w "x" h}'; }
inner_origin() { xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF} END {print x, y}'; }
has_size() { [ "$(inner_size "$1")" = "$2" ]; }
has_moved() { [ "$(frame_origin "$1")" != "$2" ]; }
has_objects() { "$kvotool" dump "$1" | grep -q "^objects: $2$"; }
has_current_object() { "$kvotool" dump "$1" | grep -q "^current object: $2\b"; }
is_iconic() { xprop -id "$1" WM_STATE | grep -q Iconic; }
is_normal() { xprop -id "$1" WM_STATE | grep -q Normal; }
same_place() {
  local a b
  read -r -a a <<<"$1"
  read -r -a b <<<"$2"
  (( ${a[0]} - ${b[0]} <= 1 && ${b[0]} - ${a[0]} <= 1 && ${a[1]} - ${b[1]} <= 1 && ${b[1]} - ${a[1]} <= 1 ))
}

# First run: the default size, the sound bars floating above the main window,
# also after a click on it.
start_kivo
focus_window '^無題 - Kivo$'
main=$window
[ "$(inner_size "$main")" = 400x250 ] || fail "first window of $(inner_size "$main")"
volume=$(window_of '^音量$') || fail "no floating volume bar"
speed=$(window_of '^速度$') || fail "no floating speed bar"
read -r x y <<<"$(inner_origin "$main")"
xdotool mousemove $((x + 20)) $((y + 120)) click 1
wait_for "the main window did not take the focus" is_active "$main"
is_above "$volume" "$main" && is_above "$speed" "$main" || fail "the bars $volume $speed fell behind the main window $main: $(stacking)"

# The main window comes back where it was left, start after start.
before=$(frame_origin "$main")
xdotool windowmove "$main" 180 140
wait_for "the window did not move" has_moved "$main" "$before"
left=$(frame_origin "$main")
quit_kivo
for run in 1 2 3; do
  start_kivo
  focus_window '^無題 - Kivo$'
  same_place "$(frame_origin "$window")" "$left" || fail "start $run put the frame at $(frame_origin "$window"), not $left"
  if [ "$run" = 3 ]; then
    # A quit signal closes quietly: status 0, the place kept.
    sed -i '/^x=/d' "$settings"
    kill -TERM "$kivo_pid"
    wait_for_kivo || fail "a quit signal ended the program with a failure status"
    grep -q "^x=${left% *}$" "$settings" || fail "the quit signal did not keep the place"
  else
    quit_kivo
  fi
done

# The player window belongs to the main window: above it, at the list's top
# left corner, with the keys as soon as play starts.
"$kvotool" create "$work/list.kvo" "$media/video.avi" "$media/video.mov" "$media/video.mpg" >/dev/null
start_kivo "$work/list.kvo"
focus_window '^list.kvo - Kivo$'
main=$window
volume=$(window_of '^音量$') || fail "no floating volume bar"
speed=$(window_of '^速度$') || fail "no floating speed bar"
xdotool windowsize "$main" 900 600
wait_for "the window kept its size" has_size "$main" 900x600
press_until '^Kivo ﾌﾟﾚｲﾔ$' alt+p p
player=$(window_of '^Kivo ﾌﾟﾚｲﾔ$') || fail "no player window"
wait_for "play did not give the player window the keys" is_active "$player"
xprop -id "$player" WM_TRANSIENT_FOR | grep -qi "$(printf '0x%x' "$main")" || fail "the player window has no owner"
read -r px py <<<"$(inner_origin "$player")"
read -r mx my <<<"$(inner_origin "$main")"
(( px - mx >= 0 && px - mx <= 4 && py > my && py - my < 120 )) || fail "player at $px,$py, main window at $mx,$my"
keys Down  # the next object, right after the start
xdotool mousemove $((mx + 700)) $((my + 450)) click 1  # empty list space
wait_for "the main window did not take the focus" is_active "$main"
is_above "$player" "$main" || fail "the player window fell behind the main window: $(stacking)"

# Space minimises the whole program; the main window brings it all back.
xdotool windowactivate --sync "$player"
wait_for "the player window did not take the focus" is_active "$player"
keys space
for each in "$main" "$player" "$volume" "$speed"; do
  wait_for "window $each stayed after Space" is_iconic "$each"
done
xdotool windowactivate "$main"
for each in "$main" "$player" "$volume" "$speed"; do
  wait_for "window $each did not come back with the main window" is_normal "$each"
done

# No drag starts in the list mode: no picture of the object follows the
# pointer (a window of the program's that was not there before).
focus_window '^list.kvo - Kivo$'
keys alt+v l
read -r mx my <<<"$(inner_origin "$main")"
program_windows() { xdotool search --onlyvisible --class Kivo231 2>/dev/null | sort; }
before=$(program_windows)
xdotool mousemove $((mx + 30)) $((my + 75)) mousedown 1
for step in 1 2 3 4 5 6; do xdotool mousemove $((mx + 30 + step * 15)) $((my + 75 + step * 10)); done
dragged=$(comm -13 <(echo "$before") <(program_windows))
xdotool mouseup 1
[ -z "$dragged" ] || fail "a drag started in the list mode"

# Down went to the player: the second object is the current one.
focus_window '^list.kvo - Kivo$'
keys ctrl+s
wait_for "Ctrl+S did not save" has_current_object "$work/list.kvo" 1
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
saved_with_four() { keys ctrl+s; has_objects "$work/list.kvo" 4; }
wait_for "the dropped file was not added" saved_with_four
kill "$source_pid"

kill -TERM "$kivo_pid"
wait_for_kivo || fail "a quit signal ended the program with a failure status"
grep -q '^type=3$' "$settings" || fail "the list mode was not kept"
echo "ok: frame kept at $left over three starts; player and bars above the main window and minimised with it"
