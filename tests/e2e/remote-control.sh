#!/usr/bin/env bash
# The desktop's remote control (MPRIS) drives the real program on a session
# bus: a second instance takes a name of its own; the status, the object's
# metadata and the loop setting follow the program; Play, Next and Seek play
# and move it; a request about an object no longer played is ignored; Quit
# closes the window as File → Exit does, question included.
#
# Usage (under xvfb-run and dbus-run-session): remote-control.sh KIVO231 KVOTOOL MEDIA_DIR
source "$(dirname "$0")/x-session.sh"
export KIVO_VIDEO_SINK="fakesink sync=true"
[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || fail "no session bus"

list=$work/list.kvo
"$kvotool" create "$list" "$media/video.avi" "$media/video.mpg" "$media/audio.wav" >/dev/null

service=org.mpris.MediaPlayer2.kivo
call() { gdbus call --session -d "${to:-$service}" -o /org/mpris/MediaPlayer2 -m "$@"; }
property() { call org.freedesktop.DBus.Properties.Get org.mpris.MediaPlayer2.Player "$1"; }
set_property() { call org.freedesktop.DBus.Properties.Set org.mpris.MediaPlayer2.Player "$1" "$2" >/dev/null; }
names() { gdbus call --session -d org.freedesktop.DBus -o /org/freedesktop/DBus -m org.freedesktop.DBus.ListNames; }
is_named() { names | grep -q "'$1'"; }
shows() { property "$1" | grep -q -- "$2"; }
track() { property Metadata | sed -n "s/.*objectpath '\([^']*\)'.*/\1/p"; }

start_kivo "$list"
focus_window '^list.kvo - Kivo$'
wait_for "the program took no bus name" is_named "$service"
wait_for "the first object was not cued" shows CanPlay true

# A second instance beside the first.
"$program" >/dev/null 2>&1 &
second=$!
wait_for "the second instance took no name of its own" is_named "$service.instance$second"
to=$service.instance$second call org.mpris.MediaPlayer2.Quit >/dev/null
wait_for "the second instance stayed" eval "! kill -0 $second"

shows PlaybackStatus Stopped || fail "a cued list is not stopped"
# Each object repeats, so that none ends while it is looked at.
set_property LoopStatus "<'Track'>"
wait_for "the loop setting did not follow" shows LoopStatus Track
property Metadata | grep -q "xesam:url.*file://$media/video.avi" || fail "no metadata of the first object"
call org.mpris.MediaPlayer2.Player.Play >/dev/null
wait_for "Play did not play" shows PlaybackStatus Playing
first=$(track)

call org.mpris.MediaPlayer2.Player.Next >/dev/null
wait_for "Next did not move on" eval '[ "$(track)" != "$first" ] && shows PlaybackStatus Playing && shows CanPause true'
property Metadata | grep -q "xesam:url.*video.mpg" || fail "Next played another object"

# A stale object's position changes nothing; the current one's does.
call org.mpris.MediaPlayer2.Player.Pause >/dev/null
wait_for "Pause did not pause" shows PlaybackStatus Paused
call org.mpris.MediaPlayer2.Player.SetPosition "$first" 1500000 >/dev/null
position() { property Position | sed -n 's/.*int64 \([0-9]*\).*/\1/p'; }
[ "$(position)" -lt 1000000 ] || fail "a stale object id moved the player"
call org.mpris.MediaPlayer2.Player.SetPosition "$(track)" 1500000 >/dev/null
wait_for "SetPosition did not seek" eval '[ "$(position)" -ge 1400000 ]'

set_property Volume "<0.5>"
wait_for "the volume did not follow" shows Volume 0.5

# Quit asks about the changed cut list as File → Exit does.
call org.mpris.MediaPlayer2.Quit >/dev/null
focus_window '^Kivo231$'
keys n
wait_for_kivo || fail "the program ended with a failure status"
is_named "$service" && fail "the bus name outlived the program"
echo "remote-control: passed"
