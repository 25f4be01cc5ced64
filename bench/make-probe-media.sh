#!/usr/bin/env bash
# Writes the 200 clips of the examination benchmark into DIR: MPEG-1,
# MPEG-2, AVI (Motion JPEG), QuickTime (H.264), Matroska (VP8), WAV, MP3 and
# AIFF in turn, 5 to 10 s long, each with a picture and a sound of its own
# so that no two are the same file. Clips already there are kept.
#
# Usage: make-probe-media.sh DIR [COUNT]
# shellcheck disable=SC2086  # pipeline descriptions are split on purpose
set -euo pipefail
set -f
dir=$1
count=${2:-200}
mkdir -p -- "$dir"

patterns=(smpte ball pinwheel spokes gradient colors checkers-8 circular zone-plate bar)
waves=(sine square saw triangle)
formats=(mpeg1.mpg mpeg2.mpg mjpeg.avi h264.mov vp8.mkv pcm.wav mp3.mp3 pcm.aiff)

# clip INDEX: writes the INDEX-th clip unless it is there.
clip() {
  local i=$1
  local format=${formats[$((i % ${#formats[@]}))]}
  local file
  printf -v file '%s/%03d-%s' "$dir" "$i" "$format"
  [[ -s $file ]] && return 0
  local seconds=$((5 + i * 7 % 6))
  # MPEG at the sizes of a Video CD and a Super Video CD (mpeg2enc is slow
  # on larger frames), everything else at 640 x 480.
  local size="width=640,height=480"
  [[ $format == mpeg1.mpg ]] && size="width=352,height=240"
  [[ $format == mpeg2.mpg ]] && size="width=480,height=480"
  local video="videotestsrc num-buffers=$((seconds * 25)) pattern=${patterns[$((i % ${#patterns[@]}))]}
    horizontal-speed=$((i % 7)) ! video/x-raw,format=I420,$size,framerate=25/1"
  local audio="audiotestsrc num-buffers=$((seconds * 100)) samplesperbuffer=441 freq=$((220 + i * 5))
    wave=${waves[$((i % ${#waves[@]}))]} ! audio/x-raw,rate=44100,channels=2 ! audioconvert"
  local pipeline
  case $format in
    mpeg1.mpg | mpeg2.mpg)
      local mode=0
      [[ $format == mpeg2.mpg ]] && mode=3
      pipeline="$video ! mpeg2enc format=$mode reduction-2x2=4 reduction-4x4=4 motion-search-radius=8 ! mux.
        $audio ! twolamemp2enc ! mux. mplex name=mux format=$mode mux-bitrate=3400" ;;
    mjpeg.avi) pipeline="$video ! jpegenc ! mux. $audio ! audio/x-raw,format=S16LE ! mux. avimux name=mux" ;;
    h264.mov) pipeline="$video ! x264enc speed-preset=veryfast key-int-max=25 ! mux. $audio ! avenc_aac ! mux.
        qtmux name=mux" ;;
    vp8.mkv) pipeline="$video ! vp8enc deadline=1 ! mux. $audio ! vorbisenc ! mux. matroskamux name=mux" ;;
    pcm.wav) pipeline="$audio ! audio/x-raw,format=S16LE ! wavenc" ;;
    mp3.mp3) pipeline="$audio ! lamemp3enc ! xingmux ! id3v2mux" ;;
    pcm.aiff) pipeline="$audio ! aiffmux" ;;
  esac
  gst-launch-1.0 -q $pipeline ! filesink location="$file.part" >/dev/null
  mv -f -- "$file.part" "$file"
}

for ((i = 0; i < count; i++)); do
  clip "$i"
done
