#!/usr/bin/env bash
# Wake-ups of the main thread: how often Kivo231's main thread wakes (its
# voluntary context switches, from /proc) over a span with a cut list open
# and nothing playing, against the same for a Qt program that shows an
# empty main window, in the same run; then while the list plays, against the
# 20 position reports a second that the bars show.
#
# Usage: idle-wakeups.sh KIVO231 EMPTY_MAIN_WINDOW KVOTOOL MEDIA_DIR [SECONDS]
set -euo pipefail
kivo=$(realpath "$1")
empty=$(realpath "$2")
kvotool=$(realpath "$3")
media=$(realpath "$4")
seconds=${5:-30}

if [ -z "${KIVO_WAKEUPS_ON_XVFB:-}" ]; then
  exec env KIVO_WAKEUPS_ON_XVFB=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$kivo" "$empty" "$kvotool" "$media" "$seconds"
fi

home=$(mktemp -d)
openbox >/dev/null 2>&1 &
wm=$!
pid=
trap '{ [ -n "$pid" ] && kill "$pid" && wait "$pid"; kill "$wm"; } 2>/dev/null; rm -rf "$home"' EXIT
until xdotool get_desktop >/dev/null 2>&1; do sleep 0.05; done
export HOME=$home XDG_CONFIG_HOME=$home/.config KIVO_AUDIO_SINK="fakesink sync=true"

# The main thread's voluntary context switches so far.
switches() { sed -n 's/^voluntary_ctxt_switches:[[:space:]]*//p' "/proc/$1/task/$1/status"; }

# Waits (at most 30 s) for a visible window whose name matches.
await_window() {
  local tries=300
  until xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; do
    (( --tries > 0 )) || { echo "idle-wakeups: no window '$1'" >&2; exit 1; }
    sleep 0.1
  done
}

# Wake-ups a second of the running program's main thread over the span.
rate() {
  local before after
  before=$(switches "$pid")
  sleep "$seconds"
  after=$(switches "$pid")
  echo "scale=1; ($after - $before) / $seconds" | bc
}

"$empty" >/dev/null 2>&1 &
pid=$!
await_window '^Empty main window$'
empty_rate=$(rate)
kill "$pid"
wait "$pid" 2>/dev/null || true

# A clip that plays longer than the span.
long=$home/long.mkv
ffmpeg -loglevel error -f lavfi -i "testsrc=size=320x240:rate=25:duration=$((seconds + 10))" \
  -f lavfi -i "sine=duration=$((seconds + 10))" -c:v libx264 -preset ultrafast -c:a aac "$long"
list=$home/list.kvo
"$kvotool" create "$list" "$long" "$media/video.avi" "$media/audio.wav" >/dev/null
"$kivo" "$list" >/dev/null 2>&1 &
pid=$!
await_window '^list.kvo - Kivo$'
# At rest once the list has loaded and the first object is cued: a second
# in which the main thread hardly woke (the loading window may come and go
# between two looks, so it is not what is waited for).
settled() {
  local before
  before=$(switches "$pid")
  sleep 1
  (( $(switches "$pid") - before <= 2 ))
}
for _ in $(seq 1 30); do settled && break; done
idle_rate=$(rate)

# Playing the long clip.
xdotool search --onlyvisible --name '^list.kvo - Kivo$' windowactivate --sync >/dev/null 2>&1 || true
xdotool key --clearmodifiers --delay 60 alt+p p
await_window '^Kivo ﾌﾟﾚｲﾔ$'
playing_rate=$(rate)

echo "idle wake-ups a second (main thread, ${seconds} s, a list open, nothing playing): Kivo231 ${idle_rate}, empty Qt main window ${empty_rate} (goal: at most 1 above)"
echo "wake-ups a second while playing: Kivo231 ${playing_rate}, the position reports 20 (goal: at most the reports)"
