#!/usr/bin/env bash
# The gestures of every day in the real program, driven by the keyboard, the
# window manager and the desktop's remote control (MPRIS):
#  - Play asked for as soon as the program is on the bus plays the cued
#    object, even while it still opens;
#  - holding Right plays at twice the speed for as long as it is held, with
#    the keyboard's auto-repeat on;
#  - the window manager's close (Alt+F4) hides the player window, and the
#    next play shows the video in it again, with no window of its own;
#  - files removed or damaged after they were added are given up with one
#    message, and the list plays on;
#  - without GStreamer's plugins, one box says so at start-up and one for
#    each object asked for;
#  - the volume kept from the last run is the one the remote control reads.
# (Files the remote control opens while others are examined are the
# document tests'.)
#
# Usage (under xvfb-run and dbus-run-session): everyday-gestures.sh KIVO231 KVOTOOL MEDIA_DIR
source "$(dirname "$0")/x-session.sh"
[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || fail "no session bus"

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# A clip long enough to be held through, and two that will go wrong.
long=$work/long.avi
gst-launch-1.0 -q videotestsrc num-buffers=500 ! video/x-raw,width=320,height=240,framerate=25/1 \
  ! avenc_mjpeg ! avimux name=mux ! filesink location="$long" \
  audiotestsrc num-buffers=870 ! audioconvert ! mux. >/dev/null
cp "$media/video.avi" "$work/gone.avi"
cp "$media/video.avi" "$work/damaged.avi"
list=$work/list.kvo
"$kvotool" create "$list" "$long" "$work/gone.avi" "$work/damaged.avi" "$media/video.mpg" >/dev/null

start_kivo "$list"
wait_for "the program took no bus name" is_named
call org.mpris.MediaPlayer2.Player.Play >/dev/null
wait_for "Play while the first object opened did not play it" playing long.avi

# Fast forward while Right is held.
focus_window '^Kivo ﾌﾟﾚｲﾔ$'
before=$(position)
held_from=$(now_ms)
xdotool keydown Right
sleep 3
xdotool keyup Right
held_ms=$(($(now_ms) - held_from))
moved_ms=$((($(position) - before) / 1000))
[ $((moved_ms * 10)) -ge $((held_ms * 18)) ] || fail "a hold of $held_ms ms moved $moved_ms ms"

# The window manager's close, then play again.
keys alt+F4
wait_until_gone '^Kivo ﾌﾟﾚｲﾔ$'
call org.mpris.MediaPlayer2.Player.Pause >/dev/null
wait_for "Pause did not pause" shows PlaybackStatus Paused
call org.mpris.MediaPlayer2.Player.Play >/dev/null
wait_for "Play after the close showed no player window" is_shown '^Kivo ﾌﾟﾚｲﾔ$'
player=$(window_of '^Kivo ﾌﾟﾚｲﾔ$')
xdotool getwindowgeometry "$player" | grep -q 'Geometry: 352x240$' || fail "a player window of another size"
for client in $(xprop -root _NET_CLIENT_LIST | sed 's/.*# //; s/,//g'); do
  name=$(xdotool getwindowname "$client" 2>/dev/null) || continue
  [[ "$name" =~ ^(list\.kvo\ -\ Kivo|音量|速度|Kivo\ ﾌﾟﾚｲﾔ)$ ]] || fail "a window of its own: '$name'"
done

# Two files that went wrong since they were added: given up with one
# message, and the list plays on to the next one that plays.
rm "$work/gone.avi"
dd if=/dev/zero of="$work/damaged.avi" bs=4096 count=1 conv=notrunc 2>/dev/null
call org.mpris.MediaPlayer2.Player.SetPosition "$(track)" 19000000 >/dev/null
answer_message
wait_for "the list did not play on" playing video.mpg
# Asked after the box went: a second box would be up by the time it answers.
shows PlaybackStatus Playing
is_gone '^Kivo231$' || fail "a second message about the same play-through"

# Saved, the list holds every object, the failed ones too. (The last object
# may have ended by the time the save comes: which one is current is not.)
unsaved=$(stat -c %y "$list")
saved() { [ "$(stat -c %y "$list")" != "$unsaved" ]; }
focus_window '^list.kvo - Kivo$'
keys ctrl+s
wait_for "the list was not saved" saved
has_field "$list" objects 4 || fail "the saved list lost objects"
term_kivo

# Without GStreamer's plugins nothing plays: the user hears so in one box at
# start-up, and in one for each object asked for.
mkdir "$work/no-plugins"
export GST_PLUGIN_SYSTEM_PATH_1_0=$work/no-plugins GST_PLUGIN_PATH_1_0=$work/no-plugins GST_REGISTRY_1_0=$work/registry.bin
# The volume bar kept at its bottom: silence, as the remote control says.
sed -i 's/^VolumePos=.*/VolumePos=100/' "$settings"
start_kivo "$list"
for request in start-up Previous; do
  [ "$request" = start-up ] || call "org.mpris.MediaPlayer2.Player.$request" >/dev/null
  answer_message
  wait_for "the program took no bus name" is_named
  # Answered once the box has gone: a second box would be up by then.
  shows CanPlay false || fail "something plays without GStreamer"
  is_gone '^Kivo231$' || fail "a second box after $request"
done
shows Volume 0.0 || fail "a volume of $(property Volume) with the bar at silence"
term_kivo
echo "everyday-gestures: a hold of $held_ms ms moved $moved_ms ms; passed"
