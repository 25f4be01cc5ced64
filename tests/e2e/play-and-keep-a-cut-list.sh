#!/usr/bin/env bash
# The whole road in the real program on a real X server with a window
# manager: add media through the open-media-files dialog, play the cut list
# to its end, pause partway through a second run, save, quit, start again on
# the saved file and find the same list, current object and position; and
# a scenario on the command line that cannot be read ends the program.
#
# Usage (under xvfb-run): play-and-keep-a-cut-list.sh KIVO231 KVOTOOL MEDIA_DIR
source "$(dirname "$0")/x-session.sh"
# No picture is needed here.
export KIVO_VIDEO_SINK="fakesink sync=true"
list=$work/list.kvo
objects() { "$kvotool" dump "$list" | sed -n '/^objects:/,/^current object:/p' | sed '1d;$d'; }
# Saves with Ctrl+S; true once the saved playing position has reached 0.5 s.
saved_past_half_a_second() {
  focus_window '^list.kvo - Kivo$'
  keys ctrl+s
  [ "$(field "$list" 'playing position')" -ge 50 ]
}

# A scenario named on the command line that cannot be read ends the program
# once its message has been read, without a main window.
start_kivo "$work/missing.kvo"
focus_window '^Kivo231$'
is_gone ' - Kivo$' || fail "a main window came up"
keys Return
if wait_for_kivo; then fail "the program reported success"; fi

# First run: add three files, play them to the end, save, play partway and
# pause.
start_kivo
focus_window '^無題 - Kivo$'
press_until 'ﾒﾃﾞｨｱﾌｧｲﾙを開く' alt+f i
choose_file 'ﾒﾃﾞｨｱﾌｧｲﾙを開く' "\"$media/video.avi\" \"$media/audio.wav\" \"$media/video.mpg\""
# Three short files are examined in a moment: the loading window may come
# and go between two looks, so it is not waited for. The player coming up
# and the saved list below show that the files were added.
wait_until_gone 'ﾒﾃﾞｨｱﾌｧｲﾙを開く'
wait_until_gone '読み込み中'
focus_window '^無題 - Kivo$'
# The player shows for the two videos and hides for the sound between them
# and at the end of the list.
press_until '^Kivo ﾌﾟﾚｲﾔ$' alt+p p
player=$(window_of '^Kivo ﾌﾟﾚｲﾔ$') || fail "the player window did not come up"
wait_for "the player window stayed for the sound" eval '! is_viewable "$player"'
wait_for "the player window did not come back" is_viewable "$player"
wait_for "the player window stayed at the end" eval '! is_viewable "$player"'
focus_window '^無題 - Kivo$'
keys ctrl+s
choose_file '名前を付けて保存' "$list"
focus_window '^list.kvo - Kivo$'
has_field "$list" "current object" 0 || fail "the end of the list cues object $(field "$list" "current object")"
keys alt+p p
wait_for "the player window did not come up" is_viewable "$player"
wait_for "playing did not go on" saved_past_half_a_second
focus_window '^list.kvo - Kivo$'
keys alt+p p ctrl+s
wait_for "the paused position was not saved" saved_past_half_a_second
quit_kivo

expected=$(printf '  0: %s\n  1: %s\n  2: %s' "$media/video.avi" "$media/audio.wav" "$media/video.mpg")
[ "$(objects)" = "$expected" ] || fail "saved list: $(objects)"
has_field "$list" 'current object' 0 || fail "the paused object is not the first"
position=$(field "$list" 'playing position')
(( position <= 300 )) || fail "paused at $position"

# Second run on the saved file: the same list, object and position.
start_kivo "$list"
focus_window '^list.kvo - Kivo$'
keys ctrl+s
quit_kivo
[ "$(objects)" = "$expected" ] || fail "the list changed: $(objects)"
has_field "$list" 'current object' 0 || fail "the current object changed"
again=$(field "$list" 'playing position')
(( again - position <= 10 && position - again <= 10 )) || fail "position $position came back as $again"
echo "ok: list of 3, object 0 at $position/100 s kept"
