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
# Two first objects, from two demuxers.
"$kvotool" create "$work/list.kvo" "$media/video.avi" "$media/video.mkv" "$media/audio.wav" >/dev/null
"$kvotool" create "$work/other.kvo" "$media/late-key.mkv" "$media/video.mov" "$media/video.avi" >/dev/null
delays=(0.5 1 2 3 4)

# quits_cleanly PID NAME SETTINGS: the program ends within 3 seconds, with
# status 0 and its settings written; one that does not is killed and named.
quits_cleanly() {
  local status=0
  within 30 eval "! kill -0 $1" || { kill -9 "$1" 2>/dev/null || true; echo "$2: still running 3 s after the request to quit" >&2; }
  wait "$1" || status=$?
  [ "$status" = 0 ] || { echo "$2: ended with status $status" >&2; return 1; }
  grep -q '^VolumePos=' "$3" 2>/dev/null || { echo "$2: no settings written" >&2; return 1; }
}

# Whether the program has reached the point where it takes quit signals
# (it holds them back, or handles them): before that, while the system
# still loads its libraries, no program can.
takes_quit_signals() {
  local held caught quit=$(((1 << 0) | (1 << 1) | (1 << 14)))  # SIGHUP, SIGINT and SIGTERM
  held=$(sed -n 's/^SigBlk:[[:space:]]*//p' "/proc/$1/status") && [ -n "$held" ] || return 1
  caught=$(sed -n 's/^SigCgt:[[:space:]]*//p' "/proc/$1/status") || return 1
  (( ((0x$held | 0x$caught) & quit) == quit ))
}

# quit_by_signal NAME SIGNAL DELAY FILE: a run with a profile of its own,
# sent the signal after the delay, or as soon after as it takes signals;
# what a run that went wrong said is shown.
quit_by_signal() {
  local run=$work/$1
  mkdir -p "$run/config"
  XDG_CONFIG_HOME=$run/config XDG_CACHE_HOME=$run/cache "$program" "$4" >"$run.log" 2>&1 &
  local pid=$!
  sleep "$3"
  within 100 takes_quit_signals "$pid" || true
  kill "-$2" "$pid"
  quits_cleanly "$pid" "$1" "$run/config/KivoProject/Kivo231.ini" || { tail -n 20 "$run.log" | sed "s/^/  $1: /" >&2; return 1; }
}

# Every signal at every delay, three times, on each scenario in turn: 45
# runs, started one after another a few tenths of a second apart, so that
# several live at once but their starts do not all fall together (a start
# is the busiest moment, and a machine of two cores that starts fifteen
# programs at the same instant makes each take seconds).
pids=()
for round in 1 2 3; do
  file=$work/list.kvo
  [ $((round % 2)) = 0 ] && file=$work/other.kvo
  for signal in TERM INT HUP; do
    for delay in "${delays[@]}"; do
      quit_by_signal "r$round-$signal-$delay" "$signal" "$delay" "$file" &
      pids+=($!)
      sleep 0.4
    done
  done
done
failed=0
for pid in "${pids[@]}"; do wait "$pid" || failed=$((failed + 1)); done
[ "$failed" = 0 ] || fail "$failed of ${#pids[@]} runs did not quit cleanly"

# File > Exit, by keys, once the window has the focus.
for delay in "${delays[@]}"; do
  rm -f "$settings"
  start_kivo "$work/list.kvo"
  focus_window '^list.kvo - Kivo$'
  sleep "$delay"
  keys alt+f x
  quits_cleanly "$kivo_pid" "File > Exit after $delay s" "$settings" || { kivo_pid=; fail "File > Exit did not quit cleanly"; }
  kivo_pid=
done
echo "quitting: $((${#pids[@]} + ${#delays[@]})) quits, each within 3 s"
