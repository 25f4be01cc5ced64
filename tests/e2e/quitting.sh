#!/usr/bin/env bash
# Quitting never hangs, whenever it comes: the program started on a scenario
# (its list loading, then its first object cued into the player window) is
# asked to quit 0.5 to 4 seconds after its start, by SIGTERM, SIGINT and
# SIGHUP (several programs at a time, each with a profile of its own) and by
# File > Exit. Every run ends within 3 seconds of the request, with status 0
# and its settings written.
#
# Usage (under xvfb-run): quitting.sh KIVO231 KVOTOOL MEDIA_DIR
source "$(dirname "$0")/x-session.sh"

# One GStreamer registry for all, made by the first tool that needs it: a
# profile's first start would otherwise spend seconds making its own.
export GST_REGISTRY=$work/gstreamer-registry.bin
scenario=$work/list.kvo
"$kvotool" create "$scenario" "$media/video.avi" "$media/video.mkv" "$media/audio.wav" >/dev/null
# Another first object, from another demuxer.
other=$work/other.kvo
"$kvotool" create "$other" "$media/late-key.mkv" "$media/video.mov" "$media/video.avi" >/dev/null
delays=(0.5 1 2 3 4)
quits=0

# ends_in_time PID NAME: waits at most 3 seconds for the program to end;
# one that does not is killed and reported.
ends_in_time() {
  local pid=$1 status=0
  for _ in $(seq 1 30); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    kill -9 "$pid" 2>/dev/null || true
    echo "$2: still running 3 s after the request to quit" >&2
    return 1
  fi
  wait "$pid" || status=$?
  [ "$status" = 0 ] || { echo "$2: ended with status $status" >&2; return 1; }
}

# Whether the program has reached the point where it takes quit signals
# (it holds them back, or handles them): before that, while the system
# still loads its libraries, no program can.
takes_quit_signals() {
  local held caught
  held=$(sed -n 's/^SigBlk:[[:space:]]*//p' "/proc/$1/status" 2>/dev/null) || return 1
  caught=$(sed -n 's/^SigCgt:[[:space:]]*//p' "/proc/$1/status" 2>/dev/null) || return 1
  # SIGHUP, SIGINT and SIGTERM.
  local quit=$(( (1 << 0) | (1 << 1) | (1 << 14) ))
  [ -n "$held" ] && (( ((0x$held | 0x$caught) & quit) == quit ))
}

# quit_by_signal NAME SIGNAL DELAY FILE: a run with a profile of its own,
# sent the signal after the delay, or as soon after as it takes signals.
quit_by_signal() {
  local run=$work/$1
  mkdir -p "$run/config" "$run/cache"
  XDG_CONFIG_HOME=$run/config XDG_CACHE_HOME=$run/cache "$program" "$4" >"$run/log" 2>&1 &
  local pid=$!
  sleep "$3"
  for _ in $(seq 1 100); do
    takes_quit_signals "$pid" && break
    sleep 0.1
  done
  kill "-$2" "$pid"
  local quit=0
  ends_in_time "$pid" "$1" || quit=1
  [ "$quit" = 1 ] || grep -q '^VolumePos=' "$run/config/KivoProject/Kivo231.ini" 2>/dev/null ||
    { echo "$1: no settings written" >&2; quit=1; }
  # What the program said, for a run that went wrong.
  [ "$quit" = 0 ] || sed "s/^/  $1: /" "$run/log" | tail -n 20 >&2
  return "$quit"
}

# Every signal at every delay, three times, on each scenario in turn: 45
# runs, started one after another a few tenths of a second apart, so that
# several live at once but their starts do not all fall together (a start
# is the busiest moment, and a machine of two cores that starts fifteen
# programs at the same instant makes each take seconds).
pids=()
for round in 1 2 3; do
  file=$scenario
  [ $((round % 2)) = 0 ] && file=$other
  for signal in TERM INT HUP; do
    for delay in "${delays[@]}"; do
      quit_by_signal "r$round-$signal-$delay" "$signal" "$delay" "$file" &
      pids+=($!)
      sleep 0.4
    done
  done
done
failed=0
for pid in "${pids[@]}"; do
  wait "$pid" || failed=$((failed + 1))
done
[ "$failed" = 0 ] || fail "$failed of ${#pids[@]} runs did not quit cleanly"
quits=$((quits + ${#pids[@]}))

# File > Exit, by keys, once the window has the focus.
for delay in "${delays[@]}"; do
  rm -f "$settings"
  start_kivo "$scenario"
  focus_window '^list.kvo - Kivo$'
  sleep "$delay"
  keys alt+f x
  ends_in_time "$kivo_pid" "File > Exit after $delay s" || { kivo_pid=; fail "File > Exit did not quit cleanly"; }
  kivo_pid=
  grep -q '^VolumePos=' "$settings" || fail "File > Exit after $delay s: no settings written"
  quits=$((quits + 1))
done
echo "quitting: $quits quits, each within 3 s"
