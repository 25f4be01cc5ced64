#!/usr/bin/env bash
# The desktop's remote control (MPRIS) drives the real program on a session
# bus: the status, the object's metadata, the loop setting and the volume
# follow the program; Play, Next, Pause and SetPosition play and move it;
# Quit closes the window as File → Exit does, question included; a media
# file named on the command line plays, and its tags name it. (What the
# service makes of each request, a second instance's name and requests
# that mislead are the service's own tests'.)
#
# Usage (under xvfb-run and dbus-run-session): remote-control.sh KIVO231 KVOTOOL MEDIA_DIR
source "$(dirname "$0")/x-session.sh"
export KIVO_VIDEO_SINK="fakesink sync=true"
[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || fail "no session bus"

list=$work/list.kvo
"$kvotool" create "$list" "$media/video.avi" "$media/video.mpg" "$media/audio.wav" >/dev/null

set_property() { call org.freedesktop.DBus.Properties.Set org.mpris.MediaPlayer2.Player "$1" "$2" >/dev/null; }

start_kivo "$list"
focus_window '^list.kvo - Kivo$'
wait_for "the program took no bus name" is_named
wait_for "the first object was not cued" shows CanPlay true

shows PlaybackStatus Stopped || fail "a cued list is not stopped"
# Each object repeats, so that none ends while it is looked at.
set_property LoopStatus "<'Track'>"
wait_for "the loop setting did not follow" shows LoopStatus Track
call org.mpris.MediaPlayer2.Player.Play >/dev/null
wait_for "Play did not play" playing video.avi

call org.mpris.MediaPlayer2.Player.Next >/dev/null
wait_for "Next did not play the next object" eval 'playing video.mpg && shows CanPause true'

call org.mpris.MediaPlayer2.Player.Pause >/dev/null
wait_for "Pause did not pause" shows PlaybackStatus Paused
call org.mpris.MediaPlayer2.Player.SetPosition "$(track)" 1500000 >/dev/null
wait_for "SetPosition did not seek" eval '[ "$(position)" -ge 1400000 ]'

set_property Volume "<0.5>"
wait_for "the volume did not follow" shows Volume 0.5

# Quit asks about the changed cut list as File → Exit does.
call org.mpris.MediaPlayer2.Quit >/dev/null
focus_window '^Kivo231$'
keys n
wait_for_kivo || fail "the program ended with a failure status"
is_named && fail "the bus name outlived the program"

# A media file named on the command line, as a desktop opens one with the
# program: added and played, shown by its tags.
start_kivo "$media/tagged.flac"
wait_for "the program took no bus name" is_named
wait_for "a media file named on the command line did not play" playing tagged.flac
wait_for "the tags did not show" eval "property Metadata | grep -q \"xesam:title.*Kivo Song\" &&
  property Metadata | grep -q \"xesam:artist.*Kivo Singer\""
term_kivo
echo "remote-control: passed"
