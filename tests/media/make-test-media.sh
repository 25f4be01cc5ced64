#!/bin/bash
# Writes the short synthetic clips that Kivo's tests and benchmarks play
# (made at test time instead of being kept in the repository).
#
# Usage: make-test-media.sh DIR [SECONDS [WIDTHxHEIGHT]]
#   SECONDS a whole number (default 3); WxH multiples of 4, at least 16
#   (default 320x240).
#
# Files that already exist and are non-empty are left alone. On failure the
# script names the file it could not make, shows the tool's output and exits
# non-zero. Needs gst-launch-1.0 with the base, good, bad, ugly and libav
# plugins; video.rm is only written when ffmpeg is installed (GStreamer has
# no working RealMedia writer).

# The pipeline descriptions are split into words on purpose, as gst-launch-1.0
# expects, and with globbing off nothing else happens to them.
# shellcheck disable=SC2086
set -euo pipefail
set -f

die() { echo "make-test-media: $*" >&2; exit 1; }

(( $# >= 1 && $# <= 3 )) || die "usage: make-test-media.sh DIR [SECONDS [WIDTHxHEIGHT]]"
DIR=$1
LENGTH=${2:-3}
SIZE=${3:-320x240}
[[ $LENGTH =~ ^[1-9][0-9]*$ ]] || die "length must be a whole number of seconds, not '$LENGTH'"
[[ $SIZE =~ ^([1-9][0-9]*)x([1-9][0-9]*)$ ]] || die "size must look like 640x480, not '$SIZE'"
WIDTH=${BASH_REMATCH[1]}
HEIGHT=${BASH_REMATCH[2]}
# 4:2:0 encoders need even sizes, the RealVideo encoder multiples of 4, and
# mpeg2enc at least 16 pixels.
(( WIDTH % 4 == 0 && HEIGHT % 4 == 0 && WIDTH >= 16 && HEIGHT >= 16 )) ||
    die "width and height must be multiples of 4 and at least 16, not '$SIZE'"
mkdir -p -- "$DIR" || die "cannot create folder '$DIR'"

# 25 fps is one of the few rates mpeg2enc accepts, and whole-second clips
# then have a whole number of frames. Audio comes in 10 ms buffers (441
# samples at 44.1 kHz) so that the sample count matches the length exactly.
FPS=25
PLAIN="video/x-raw,format=I420,width=$WIDTH,height=$HEIGHT,framerate=$FPS/1"
VIDEO="videotestsrc num-buffers=$(( LENGTH * FPS )) horizontal-speed=4 ! $PLAIN"
TONE="audiotestsrc num-buffers=$(( LENGTH * 100 )) samplesperbuffer=441"
TONE_CAPS="audio/x-raw,rate=44100,channels=2 ! audioconvert"
AUDIO="$TONE ! $TONE_CAPS"

have() { [[ -s $DIR/$1 ]]; }

# fail FILE LOG: reports that FILE could not be made, with the tool's output.
fail() {
    rm -f -- "$DIR/.$1.part"
    { echo "make-test-media: cannot make $DIR/$1"; [[ -z $2 ]] || printf '%s\n' "$2" | tail -n 15; } >&2
    exit 1
}

# Each file is written under a temporary name first and then moved into
# place, so that an interrupted run never leaves a partial clip that a later
# run would skip.
finish() {
    [[ -s $DIR/.$1.part ]] || fail "$1" "the result is empty"
    mv -f -- "$DIR/.$1.part" "$DIR/$1"
}

# gst FILE PIPELINE...: runs PIPELINE (ending in a muxer or encoder) into FILE.
# Now and then mplex never finishes a clip, its threads waiting on one
# another: a run that has not ended within a minute is tried again, three
# times in all.
gst() {
    local file=$1 log attempt status
    shift
    have "$file" && return 0
    for attempt in 1 2 3; do
        status=0
        log=$(timeout 60 gst-launch-1.0 -q "$@" ! filesink location="$DIR/.$file.part" 2>&1) || status=$?
        (( status == 124 )) || break
        log="gst-launch-1.0 did not end within 60 s, $attempt times"
    done
    (( status == 0 )) || fail "$file" "$log"
    finish "$file"
}

# write FILE COMMAND...: FILE gets what COMMAND writes to its standard output.
write() {
    local file=$1
    shift
    have "$file" && return 0
    "$@" >"$DIR/.$file.part" || fail "$file" ""
    finish "$file"
}

# ffmpeg_write FILE ARGUMENTS...: FILE as ffmpeg writes it from ARGUMENTS.
ffmpeg_write() {
    local file=$1 log
    shift
    have "$file" && return 0
    log=$(ffmpeg -nostdin -hide_banner -loglevel error "$@" -y "$DIR/.$file.part" 2>&1) || fail "$file" "$log"
    finish "$file"
}

# The given hexadecimal byte values as raw bytes.
bytes() { printf '%b' "$(printf '\\x%s' "$@")"; }
# A number as four bytes, least significant first (le) or last (be).
uint32() {
    local h
    printf -v h '%08x' "$2"
    if [[ $1 == le ]]; then bytes "${h:6:2}" "${h:4:2}" "${h:2:2}" "${h:0:2}"; else bytes "${h:0:2}" "${h:2:2}" "${h:4:2}" "${h:6:2}"; fi
}

# A Standard MIDI File (format 0, one track, 480 ticks per quarter note, a
# tempo of 500,000 us per quarter note, piano) playing a C major scale as
# quarter notes, two a second, for the clip length; GStreamer cannot write
# MIDI.
midi() {
    local scale=(3c 3e 40 41 43 45 47 48) notes=$(( LENGTH * 2 )) i note
    bytes 4d 54 68 64 00 00 00 06 00 00 00 01 01 e0 4d 54 72 6b
    uint32 be $(( 14 + 9 * notes ))  # tempo 7 + program 3 + 9 a note + end 4
    bytes 00 ff 51 03 07 a1 20 00 c0 00
    for (( i = 0; i < notes; i++ )); do
        note=${scale[i % ${#scale[@]}]}
        bytes 00 90 "$note" 64 83 60 80 "$note" 40  # on, and off 480 ticks later
    done
    bytes 00 ff 2f 00
}

# A WAV header for 8-bit mono sound at one sample a second: its 22 MiB of
# silence (a sparse file, taking no room) last 23,068,628 s, longer than a
# media time in 1/100 s holds.
SLOW_SAMPLES=23068628
slow_wav() {
    bytes 52 49 46 46
    uint32 le $(( 36 + SLOW_SAMPLES ))
    bytes 57 41 56 45 66 6d 74 20 10 00 00 00 01 00 01 00 01 00 00 00 01 00 00 00 01 00 08 00 64 61 74 61
    uint32 le "$SLOW_SAMPLES"
    truncate -s $(( 44 + SLOW_SAMPLES )) -- "$DIR/.slow.wav.part"
}

# MPEG video with MPEG-1 layer 2 audio from mjpegtools (avenc_mpeg1video fails
# to negotiate a frame rate with GStreamer 1.22): format 0 is MPEG-1 as on a
# Video CD, 3 generic MPEG-2 in a program stream. mplex needs a mux rate that
# grows with the frame size (its own guess under-runs on large frames); a
# constant, padded rate keeps the time stamps even, so the duration read from
# the stream matches the clip length.
MUX_KBPS=$(( 1000 + WIDTH * HEIGHT / 100 ))
for format in 0 3; do
    file=video.mpg
    [[ $format == 0 ]] || file=video-mpeg2.mpg
    gst $file $VIDEO ! mpeg2enc format=$format ! mux. $AUDIO ! twolamemp2enc ! mux. \
        mplex name=mux format=$format mux-bitrate=$MUX_KBPS
done
# Muxed far faster than its streams need, the stream's clock runs ahead of
# its pictures: a seek by the clock into the last second lands after the
# last group of pictures begins.
gst video-fast-mux.mpg $VIDEO ! mpeg2enc format=3 ! mux. $AUDIO ! twolamemp2enc ! mux. \
    mplex name=mux format=3 mux-bitrate=$(( MUX_KBPS * 2 ))
# GStreamer's own program stream muxer writes a few large packs: the first
# time stamp after a pack header lies about half a second into the clip and
# the last one well before its end.
gst video-large-packs.mpg $VIDEO ! mpeg2enc format=0 ! mux. $AUDIO ! twolamemp2enc ! mux. mpegpsmux name=mux
# A Video CD keeps its MPEG-1 system stream in a .dat file.
write vcd.dat cat -- "$DIR/video.mpg"
# MPEG-4 part 2 and MP3 in AVI (the common "DivX" file); Motion JPEG in AVI
# without any audio track.
gst video.avi $VIDEO ! avenc_mpeg4 ! mux. $AUDIO ! lamemp3enc ! mux. avimux name=mux
gst video-only.avi $VIDEO ! jpegenc ! avimux
# H.264 (B-frames, a keyframe every second) and AAC in QuickTime, MPEG-4 part
# 2 where x264 is missing; VP8 and Vorbis in Matroska.
encoder="avenc_mpeg4"
gst-inspect-1.0 --exists x264enc && encoder="x264enc speed-preset=veryfast key-int-max=$FPS"
gst video.mov $VIDEO ! $encoder ! mux. $AUDIO ! avenc_aac ! mux. qtmux name=mux
gst video.mkv $VIDEO ! vp8enc deadline=1 ! mux. $AUDIO ! vorbisenc ! mux. matroskamux name=mux
# Today's files: H.264 and AAC in MPEG-4, H.264 and Opus in Matroska, VP9
# and Opus in WebM; FLAC, Opus in Ogg, and AAC in MPEG-4 for sound.
if gst-inspect-1.0 --exists x264enc; then
    gst today.mp4 $VIDEO ! $encoder ! h264parse ! mux. $AUDIO ! avenc_aac ! mux. mp4mux name=mux
    gst today.mkv $VIDEO ! $encoder ! h264parse ! mux. $AUDIO ! audioresample ! opusenc ! mux. matroskamux name=mux
fi
gst today.webm $VIDEO ! vp9enc deadline=1 cpu-used=8 ! mux. $AUDIO ! audioresample ! opusenc ! mux. webmmux name=mux
gst audio.flac $AUDIO ! flacenc
gst audio.opus $AUDIO ! audioresample ! opusenc ! oggmux
gst audio.m4a $AUDIO ! avenc_aac ! mp4mux
# Under a second of plain red, its picture its first frame.
gst red-moment.mpg videotestsrc num-buffers=$(( FPS * 4 / 5 )) pattern=red ! $PLAIN ! mpeg2enc format=3 ! mplex format=3
# Red for half a second, green for a second, then blue, with key frames
# five seconds apart: the frame nearest one second is green, and neither of
# the key frames around it.
gst late-key.mkv videotestsrc num-buffers=$(( FPS / 2 )) pattern=red ! $PLAIN ! c. \
    videotestsrc num-buffers=$FPS pattern=green ! $PLAIN ! c. \
    videotestsrc num-buffers=$(( FPS * 9 / 2 )) pattern=blue ! $PLAIN ! c. \
    concat name=c ! vp8enc deadline=1 keyframe-max-dist=$(( FPS * 5 )) ! matroskamux
gst audio.wav $AUDIO ! audio/x-raw,format=S16LE ! wavenc
gst audio.au $AUDIO ! audio/x-raw,format=S16BE ! avmux_au
gst audio.aiff $AUDIO ! aiffmux
# The Xing header carries the frame count: the duration without reading the
# whole file.
gst audio.mp3 $AUDIO ! lamemp3enc ! xingmux ! id3v2mux
write music.mid midi
write slow.wav slow_wav
# RealVideo 2 and AC-3: GStreamer's avmux_rm refuses every video stream.
SINE="sine=frequency=440:sample_rate=44100:duration=$LENGTH"
if command -v ffmpeg >/dev/null; then
    ffmpeg_write video.rm -f lavfi -i "testsrc=size=${WIDTH}x$HEIGHT:rate=$FPS:duration=$LENGTH" -f lavfi -i "$SINE" \
        -c:v rv20 -b:v 1M -c:a ac3 -ac 2 -f rm
fi

# FLAC with a title, an artist, an album, a track number and a blue cover
# picture in its tags, as a ripped track has them (ffmpeg writes the picture
# block GStreamer's muxers cannot).
ffmpeg_write tagged.flac -f lavfi -i "$SINE" -f lavfi -i "color=c=blue:s=32x32:d=1" \
    -map 0 -map 1 -frames:v 1 -c:a flac -c:v png -disposition:v attached_pic -metadata "title=Kivo Song" \
    -metadata "artist=Kivo Singer" -metadata "album=Kivo Album" -metadata track=7 -f flac

# Files that are not, or not wholly, what their names promise: plain text, an
# empty file, an MPEG file cut after 4 KiB as an aborted download would be,
# and an AVI file named as a WAV file.
write text.txt echo 'This is a plain text file, not a media file.'
[[ -e $DIR/empty.mpg && ! -s $DIR/empty.mpg ]] || : >"$DIR/empty.mpg" || fail empty.mpg ""
write truncated.mpg head -c 4096 -- "$DIR/video.mpg"
write wrong-extension.wav cat -- "$DIR/video.avi"

# Subtitles and audio tracks: a video with a subtitle file of the same name
# beside it whose one cue lasts the whole clip, and a Matroska file with two
# tagged audio streams of different tones (440 Hz English, 1760 Hz Japanese)
# and a French subtitle stream of its own. GStreamer recognises subtitles
# from their first 129 bytes: cues far after the clip's end make them up.
write subtitled.srt printf '%s\n' 1 '00:00:00,000 --> 09:00:00,000' KIVO '' \
    2 '09:00:00,000 --> 09:00:01,000' 'The clip ends long before this cue.' '' \
    3 '09:00:01,000 --> 09:00:02,000' 'Nor this one.'
gst subtitled.mkv $VIDEO ! vp8enc deadline=1 ! matroskamux
gst tracks.mkv $VIDEO ! vp8enc deadline=1 ! mux. \
    $TONE freq=440 ! $TONE_CAPS ! taginject tags=language-code=eng ! vorbisenc ! mux. \
    $TONE freq=1760 ! $TONE_CAPS ! taginject tags=language-code=jpn,title=high ! vorbisenc ! mux. \
    filesrc location="$DIR/subtitled.srt" ! subparse ! taginject tags=language-code=fra ! mux. \
    matroskamux name=mux
