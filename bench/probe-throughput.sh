#!/usr/bin/env bash
# Examination throughput: kvotool probe on 20 ten-second 640 x 480 clips of
# mixed formats, against gst-discoverer-1.0 on the same files in the same
# run (it reads durations and streams only, no picture). Goal: at most 2x.
#
# Usage: probe-throughput.sh KVOTOOL WORK_DIR
set -euo pipefail
kvotool=$1
work=$2
here=$(cd "$(dirname "$0")" && pwd)

"$here/../tests/media/make-test-media.sh" "$work/source" 10 640x480
mkdir -p "$work/clips"
formats=(video.mpg vcd.dat video.avi video.mov video-only.avi audio.wav audio.au audio.aiff audio.mp3 music.mid)
[ -e "$work/source/video.rm" ] && formats+=(video.rm)
files=()
for i in $(seq 0 19); do
  format=${formats[$((i % ${#formats[@]}))]}
  clip="$work/clips/$i-$format"
  [ -e "$clip" ] || cp "$work/source/$format" "$clip"
  files+=("$clip")
done

# The best of three runs of a command, in seconds.
best_of_three() {
  local best=""
  for _ in 1 2 3; do
    local start end took
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    took=$(echo "$end - $start" | bc)
    if [ -z "$best" ] || [ "$(echo "$took < $best" | bc)" = 1 ]; then best=$took; fi
  done
  echo "$best"
}

probe=$(KIVO_AUDIO_SINK=fakesink best_of_three "$kvotool" probe --json "${files[@]}")
discoverer=$(best_of_three gst-discoverer-1.0 "${files[@]}")
printf '%-44s %11.2f s  %18s %8.2f s  %7.2fx %s\n' "kvotool probe, 20 clips of 10 s 640x480" "$probe" \
  "gst-discoverer-1.0" "$discoverer" "$(echo "$probe / $discoverer" | bc -l)" "<= 2x"
