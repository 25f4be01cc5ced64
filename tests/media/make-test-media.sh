#!/bin/bash
# Writes the short synthetic clips that Kivo's tests and benchmarks play.
# Media is made at test time instead of being kept in the repository.
#
# Usage: make-test-media.sh DIR [SECONDS [WIDTHxHEIGHT]]
#   DIR      folder to write into (created if missing)
#   SECONDS  clip length, a whole number (default 3)
#   WxH      video frame size, multiples of 4 (default 320x240)
#
# Files that already exist and are non-empty are left alone, so running it
# again is cheap. Prints nothing on success; on failure names the file that
# could not be made, shows the tool's output and exits non-zero.
#
# Needs gst-launch-1.0 with the base, good, bad, ugly and libav plugin sets.
# video.rm is only written when ffmpeg is installed (GStreamer has no working
# RealMedia writer).

# The pipeline descriptions in $VIDEO, $AUDIO and $encoder are split into
# words on purpose, which is what gst-launch-1.0 expects.
# shellcheck disable=SC2086

set -euo pipefail
set -f  # ... and with globbing off nothing else happens to them

die() {
    echo "make-test-media: $*" >&2
    exit 1
}

usage() {
    die "usage: make-test-media.sh DIR [SECONDS [WIDTHxHEIGHT]]"
}

(( $# >= 1 && $# <= 3 )) || usage
DIR=$1
LENGTH=${2:-3}
SIZE=${3:-320x240}

[[ $LENGTH =~ ^[1-9][0-9]*$ ]] ||
    die "length must be a whole number of seconds, not '$LENGTH'"
[[ $SIZE =~ ^([1-9][0-9]*)x([1-9][0-9]*)$ ]] ||
    die "size must look like 640x480, not '$SIZE'"
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
VIDEO="videotestsrc num-buffers=$(( LENGTH * FPS )) horizontal-speed=4
       ! video/x-raw,format=I420,width=$WIDTH,height=$HEIGHT,framerate=$FPS/1"
AUDIO="audiotestsrc num-buffers=$(( LENGTH * 100 )) samplesperbuffer=441
       ! audio/x-raw,rate=44100,channels=2 ! audioconvert"

# True when FILE is already there with content.
have() {
    [[ -s $DIR/$1 ]]
}

# Reports that FILE could not be made, with the tool output LOG, and stops.
fail() {
    local file=$1 log=$2
    rm -f -- "$DIR/.$file.part"
    {
        echo "make-test-media: cannot make $DIR/$file"
        [[ -z $log ]] || printf '%s\n' "$log" | tail -n 15
    } >&2
    exit 1
}

# Moves a finished temporary file into place. Writing to a temporary name
# first means an interrupted run never leaves a partial clip that a later
# run would skip.
finish() {
    local file=$1
    [[ -s $DIR/.$file.part ]] || fail "$file" "the result is empty"
    mv -f -- "$DIR/.$file.part" "$DIR/$file"
}

# gst FILE PIPELINE...: runs PIPELINE (whose last element is a muxer or
# encoder) into a filesink that writes FILE.
gst() {
    local file=$1 log
    shift
    have "$file" && return 0
    log=$(gst-launch-1.0 -q "$@" ! filesink location="$DIR/.$file.part" 2>&1) ||
        fail "$file" "$log"
    finish "$file"
}

# copy FILE SOURCE [BYTES]: FILE becomes SOURCE, or its first BYTES bytes.
copy() {
    local file=$1 source=$2 bytes=${3:-}
    have "$file" && return 0
    if [[ -n $bytes ]]; then
        head -c "$bytes" -- "$DIR/$source" >"$DIR/.$file.part" || fail "$file" ""
    else
        cp -- "$DIR/$source" "$DIR/.$file.part" || fail "$file" ""
    fi
    finish "$file"
}

# make_mpeg FILE FORMAT: MPEG video with MPEG-1 layer 2 audio in a system
# stream; mjpegtools format 0 is MPEG-1, as on a Video CD, and 3 is generic
# MPEG-2 in a program stream. avenc_mpeg1video cannot be used (with GStreamer
# 1.22 it fails to negotiate a frame rate), so this takes mpeg2enc and mplex
# from mjpegtools. mplex needs an explicit mux rate that grows with the frame
# size: the rate it guesses is too low for large frames, and it then reports
# buffer under-runs and fails. A constant (padded) mux rate keeps the time
# stamps even, so the duration read from the stream matches the clip length.
make_mpeg() {
    local file=$1 format=$2 mux_kbps=$(( 1000 + WIDTH * HEIGHT / 100 ))
    gst "$file" \
        $VIDEO ! mpeg2enc format="$format" ! mux. \
        $AUDIO ! twolamemp2enc ! mux. \
        mplex name=mux format="$format" mux-bitrate=$mux_kbps
}

# The same streams in the program stream GStreamer's own muxer writes: a
# few large packs, so that the first time stamp found after a pack header
# lies about half a second into the clip and the last one well before its end.
make_mpeg_large_packs() {
    gst video-large-packs.mpg \
        $VIDEO ! mpeg2enc format=0 ! mux. \
        $AUDIO ! twolamemp2enc ! mux. \
        mpegpsmux name=mux
}

# MPEG-4 part 2 video and MP3 audio in AVI, the common "DivX" kind of file.
make_avi() {
    gst video.avi \
        $VIDEO ! avenc_mpeg4 ! mux. \
        $AUDIO ! lamemp3enc ! mux. \
        avimux name=mux
}

# Motion JPEG in AVI with no audio track at all.
make_video_only() {
    gst video-only.avi $VIDEO ! jpegenc ! avimux
}

# H.264 (with B-frames, a keyframe every second) and AAC in QuickTime.
# Falls back to MPEG-4 part 2 where x264 is missing.
make_mov() {
    local encoder="avenc_mpeg4"
    if gst-inspect-1.0 --exists x264enc; then
        encoder="x264enc speed-preset=veryfast key-int-max=$FPS"
    fi
    gst video.mov \
        $VIDEO ! $encoder ! mux. \
        $AUDIO ! avenc_aac ! mux. \
        qtmux name=mux
}

# VP8 and Vorbis in Matroska.
make_matroska() {
    gst video.mkv \
        $VIDEO ! vp8enc deadline=1 ! mux. \
        $AUDIO ! vorbisenc ! mux. \
        matroskamux name=mux
}

make_audio() {
    gst audio.wav $AUDIO ! audio/x-raw,format=S16LE ! wavenc
    gst audio.au $AUDIO ! audio/x-raw,format=S16BE ! avmux_au
    gst audio.aiff $AUDIO ! aiffmux
    # The Xing header carries the frame count, so players know the
    # duration without reading the whole file.
    gst audio.mp3 $AUDIO ! lamemp3enc ! xingmux ! id3v2mux
}

# Writes the given hexadecimal byte values as raw bytes.
bytes() {
    local b
    for b in "$@"; do
        printf '%b' "\\x$b"
    done
}

# Writes a number as four bytes, most significant first.
uint32() {
    local hex
    printf -v hex '%08x' "$1"
    bytes "${hex:0:2}" "${hex:2:2}" "${hex:4:2}" "${hex:6:2}"
}

# Writes a number as four bytes, least significant first.
uint32le() {
    local hex
    printf -v hex '%08x' "$1"
    bytes "${hex:6:2}" "${hex:4:2}" "${hex:2:2}" "${hex:0:2}"
}

# A Standard MIDI File (format 0, one track) playing a C major scale as
# quarter notes at 120 beats per minute, two notes a second, for the clip
# length. GStreamer cannot write MIDI, so the bytes are written here.
make_midi() {
    local file=music.mid
    have "$file" && return 0
    local scale=(3c 3e 40 41 43 45 47 48)
    local notes=$(( LENGTH * 2 )) i note
    # tempo 7 + program change 3 + 9 per note + end of track 4
    local track_length=$(( 14 + 9 * notes ))
    {
        # Header: format 0, one track, 480 ticks per quarter note.
        bytes 4d 54 68 64  00 00 00 06  00 00  00 01  01 e0
        bytes 4d 54 72 6b
        uint32 "$track_length"
        # Tempo: 500000 microseconds per quarter note.
        bytes 00 ff 51 03 07 a1 20
        # Channel 1 plays instrument 1 (acoustic grand piano).
        bytes 00 c0 00
        for (( i = 0; i < notes; i++ )); do
            note=${scale[i % ${#scale[@]}]}
            # Note on at once, note off 480 ticks (0x83 0x60) later.
            bytes 00 90 "$note" 64  83 60 80 "$note" 40
        done
        bytes 00 ff 2f 00
    } >"$DIR/.$file.part" || fail "$file" ""
    finish "$file"
}

# RealMedia (RealVideo 2 and AC-3 audio). GStreamer's avmux_rm refuses every
# video stream, so this needs ffmpeg and is skipped without it.
make_realmedia() {
    local file=video.rm log
    have "$file" && return 0
    command -v ffmpeg >/dev/null || return 0
    log=$(ffmpeg -nostdin -hide_banner -loglevel error \
        -f lavfi -i "testsrc=size=${WIDTH}x$HEIGHT:rate=$FPS:duration=$LENGTH" \
        -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$LENGTH" \
        -c:v rv20 -b:v 1M -c:a ac3 -ac 2 \
        -f rm -y "$DIR/.$file.part" 2>&1) || fail "$file" "$log"
    finish "$file"
}

# A WAV file of 8-bit mono sound at one sample a second, whose 22 MiB of
# silence (a sparse file, taking no room) last 23,068,628 s: longer than a
# media time in 1/100 s holds.
make_slow_wav() {
    local file=slow.wav data=23068628
    have "$file" && return 0
    {
        bytes 52 49 46 46
        uint32le $(( 36 + data ))
        # "WAVE", a 16-byte "fmt " chunk: PCM, one channel, 1 sample/s,
        # 1 byte/s, 1-byte blocks, 8 bits.
        bytes 57 41 56 45  66 6d 74 20  10 00 00 00  01 00 01 00
        bytes 01 00 00 00  01 00 00 00  01 00 08 00
        bytes 64 61 74 61
        uint32le "$data"
    } >"$DIR/.$file.part" || fail "$file" ""
    truncate -s $(( 44 + data )) -- "$DIR/.$file.part" || fail "$file" ""
    finish "$file"
}

# Files that are not, or not wholly, what their names promise.
make_odd_files() {
    if ! have text.txt; then
        printf 'This is a plain text file, not a media file.\n' \
            >"$DIR/.text.txt.part" || fail text.txt ""
        finish text.txt
    fi
    if [[ ! -e $DIR/empty.mpg || -s $DIR/empty.mpg ]]; then
        : >"$DIR/empty.mpg" || fail empty.mpg ""
    fi
    # Stops after 4 KiB, as an aborted download would.
    copy truncated.mpg video.mpg 4096
    # An AVI file with a name that claims it is a WAV file.
    copy wrong-extension.wav video.avi
}

make_mpeg video.mpg 0
make_mpeg video-mpeg2.mpg 3
make_mpeg_large_packs
# A Video CD keeps its MPEG-1 system stream in a .dat file.
copy vcd.dat video.mpg
make_avi
make_video_only
make_mov
make_matroska
make_audio
make_midi
make_slow_wav
make_realmedia
make_odd_files
