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
#  - files the remote control opens while others are examined are all added,
#    and the last one asked for plays;
#  - without GStreamer's plugins, one box says so at start-up and one for
#    each object asked for;
#  - the volume kept from the last run is the one the remote control reads.
#
# Usage (under xvfb-run and dbus-run-session): everyday-gestures.sh KIVO231 KVOTOOL MEDIA_DIR
source "$(dirname "$0")/x-session.sh"
[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || fail "no session bus"

service=org.mpris.MediaPlayer2.kivo
call() { gdbus call --session -d "$service" -o /org/mpris/MediaPlayer2 -m "$@"; }
property() { call org.freedesktop.DBus.Properties.Get org.mpris.MediaPlayer2.Player "$1"; }
names() { gdbus call --session -d org.freedesktop.DBus -o /org/freedesktop/DBus -m org.freedesktop.DBus.ListNames; }
is_named() { names | grep -q "'$service'"; }
shows() { property "$1" | grep -q -- "$2"; }
playing() { shows PlaybackStatus Playing && property Metadata | grep -q "xesam:url.*$1"; }
position() { property Position | sed -n 's/.*int64 \([0-9]*\).*/\1/p'; }
track() { property Metadata | sed -n "s/.*objectpath '\([^']*\)'.*/\1/p"; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# A clip long enough to be held through, and two that will go wrong.
long=$work/long.avi
gst-launch-1.0 -q videotestsrc num-buffers=500 ! video/x-raw,width=320,height=240,framerate=25/1 \
  ! avenc_mjpeg ! avimux name=mux ! filesink location="$long" \
  audiotestsrc num-buffers=870 ! audioconvert ! mux. >/dev/null
gone=$work/gone.avi
damaged=$work/damaged.avi
cp "$media/video.avi" "$gone"
cp "$media/video.avi" "$damaged"
list=$work/list.kvo
"$kvotool" create "$list" "$long" "$gone" "$damaged" "$media/video.mpg" >/dev/null

start_kivo "$list"
wait_for "the program took no bus name" is_named
call org.mpris.MediaPlayer2.Player.Play >/dev/null
wait_for "Play while the first object opened did not play it" playing long.avi
player=$(window_of '^Kivo ﾌﾟﾚｲﾔ$') || fail "no player window"

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
size=$(xdotool getwindowgeometry "$player" | sed -n 's/.*Geometry: //p')
[ "$size" = 352x240 ] || fail "a player window of $size"
for client in $(xprop -root _NET_CLIENT_LIST | sed 's/.*# //; s/,//g'); do
  name=$(xdotool getwindowname "$client" 2>/dev/null) || continue
  [[ "$name" =~ ^(list\.kvo\ -\ Kivo|音量|速度|Kivo\ ﾌﾟﾚｲﾔ)$ ]] || fail "a window of its own: '$name'"
done

# Two files that went wrong since they were added: given up with one
# message, and the list plays on to the next one that plays.
rm "$gone"
dd if=/dev/zero of="$damaged" bs=4096 count=1 conv=notrunc 2>/dev/null
call org.mpris.MediaPlayer2.Player.SetPosition "$(track)" 19000000 >/dev/null
focus_window '^Kivo231$'
keys Return
wait_until_gone '^Kivo231$'
wait_for "the list did not play on" playing video.mpg
# Asked after the box went: a second box would be up by the time it answers.
shows PlaybackStatus Playing
is_gone '^Kivo231$' || fail "a second message about the same play-through"

# Two files opened by the remote control, the second while the first is
# examined.
call org.mpris.MediaPlayer2.Player.OpenUri "file://$media/video.mkv" >/dev/null
call org.mpris.MediaPlayer2.Player.OpenUri "file://$media/video.mov" >/dev/null
wait_for "the last file opened did not play" playing video.mov

# Saved, the list holds every object, the failed ones too.
focus_window '^list.kvo - Kivo$'
keys ctrl+s
wait_for "the list was not saved" eval '"$kvotool" dump "$list" | grep -q video.mov'
dump=$("$kvotool" dump "$list")
for file in long.avi gone.avi damaged.avi video.mpg video.mkv video.mov; do
  grep -q "$file" <<<"$dump" || fail "$file is not in the saved list"
done
kill -TERM "$kivo_pid"
wait_for_kivo || fail "the program ended with a failure status"

# Without GStreamer's plugins nothing plays: the user hears so in one box at
# start-up, and in one for each object asked for.
no_plugins=$work/no-plugins
mkdir "$no_plugins"
export GST_PLUGIN_SYSTEM_PATH_1_0=$no_plugins GST_PLUGIN_PATH_1_0=$no_plugins GST_REGISTRY_1_0=$work/registry.bin
# The volume bar kept at its bottom: silence, as the remote control says.
sed -i 's/^VolumePos=.*/VolumePos=100/' "$settings"
start_kivo "$list"
for request in start-up Previous; do
  [ "$request" = start-up ] || call "org.mpris.MediaPlayer2.Player.$request" >/dev/null
  focus_window '^Kivo231$'
  keys Return
  wait_until_gone '^Kivo231$'
  wait_for "the program took no bus name" is_named
  # Answered once the box has gone: a second box would be up by then.
  shows CanPlay false || fail "something plays without GStreamer"
  is_gone '^Kivo231$' || fail "a second box after $request"
done
shows Volume 0.0 || fail "a volume of $(property Volume) with the bar at silence"
kill -TERM "$kivo_pid"
wait_for_kivo || fail "the program ended with a failure status"
echo "everyday-gestures: a hold of $held_ms ms moved $moved_ms ms; passed"
