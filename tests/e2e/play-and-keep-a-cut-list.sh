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

# The object paths, the current object or the playing position of a saved
# cut list.
objects() { "$kvotool" dump "$1" | sed -n '/^objects:/,/^current object:/p' | sed '1d;$d'; }
field() { "$kvotool" dump "$1" | sed -n "s/^$2: \([0-9-]*\).*/\1/p"; }
# Saves with Ctrl+S until the saved playing position has reached $2.
saved_at_least() {
  focus_window '^list.kvo - Kivo$'
  keys ctrl+s
  [ "$(field "$1" 'playing position')" -ge "$2" ]
}

list=$work/list.kvo

# A scenario named on the command line that cannot be read ends the program
# once its message has been read, without a main window.
start_kivo "$work/missing.kvo"
focus_window '^Kivo231$'
xdotool search --onlyvisible --name ' - Kivo$' >/dev/null 2>&1 && fail "a main window came up"
keys Return
if wait_for_kivo; then fail "the program reported success"; fi

# First run: add three files, play them to the end, save, play partway and
# pause.
start_kivo
focus_window '^無題 - Kivo$'
press_until 'ﾒﾃﾞｨｱﾌｧｲﾙを開く' alt+f i
focus_window 'ﾒﾃﾞｨｱﾌｧｲﾙを開く'
xdotool type --delay 5 "\"$media/video.avi\" \"$media/audio.wav\" \"$media/video.mpg\""
keys Return
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
is_hidden() { ! is_viewable "$player"; }
wait_for "the player window stayed for the sound" is_hidden
wait_for "the player window did not come back" is_viewable "$player"
wait_for "the player window stayed at the end" is_hidden
focus_window '^無題 - Kivo$'
keys ctrl+s
focus_window '名前を付けて保存'
xdotool type --delay 5 "$list"
keys Return
focus_window '^list.kvo - Kivo$'
[ "$(field "$list" "current object")" = 0 ] || fail "the end of the list cues the first object, not $(field "$list" "current object")"
keys alt+p p
wait_for "the player window did not come up" is_viewable "$player"
wait_for "playing did not go on" saved_at_least "$list" 50
focus_window '^list.kvo - Kivo$'
keys alt+p p ctrl+s
wait_for "the paused position was not saved" saved_at_least "$list" 50
quit_kivo

expected=$(printf '  0: %s\n  1: %s\n  2: %s' "$media/video.avi" "$media/audio.wav" "$media/video.mpg")
[ "$(objects "$list")" = "$expected" ] || fail "saved list: $(objects "$list")"
current=$(field "$list" 'current object')
position=$(field "$list" 'playing position')
[ "$current" = 0 ] || fail "the paused object is $current, not the first"
(( position >= 50 && position <= 300 )) || fail "paused at $position"

# Second run on the saved file: the same list, object and position.
start_kivo "$list"
focus_window '^list.kvo - Kivo$'
keys ctrl+s
quit_kivo

[ "$(objects "$list")" = "$expected" ] || fail "the list changed: $(objects "$list")"
[ "$(field "$list" 'current object')" = "$current" ] || fail "the current object changed"
again=$(field "$list" 'playing position')
(( again - position <= 10 && position - again <= 10 )) || fail "position $position came back as $again"
echo "ok: list of 3, object $current at $position/100 s kept"
