#!/usr/bin/env bash
# Opening scenarios in the real program never costs a saved cut list: a file
# that ends early leaves an untitled document, so Ctrl+S asks for a name and
# the file that was open stays as it was; a file that cannot be opened (a
# named pipe, gone since it was opened last) changes nothing. Saving onto a
# named pipe is refused and leaves the pipe. (Which files are refused, and
# with what message, is the document tests'.)
#
# Usage (under xvfb-run): open-a-scenario.sh KIVO231 KVOTOOL MEDIA_DIR
source "$(dirname "$0")/x-session.sh"
export KIVO_VIDEO_SINK="fakesink sync=true"

good=$work/good.kvo
"$kvotool" create "$good" "$media/video.avi" "$media/audio.wav" >/dev/null
cp "$good" "$work/good.orig"
cp "$good" "$work/gone.kvo"
head -c 60 "$good" >"$work/broken.kvo"
mkfifo "$work/pipe.kvo"
open_through_dialog() {
  press_until '^開く$' ctrl+o
  choose_file '^開く$' "$1"
  wait_until_gone '^開く$'
}

start_kivo "$good"
focus_window '^good.kvo - Kivo$'
wait_until_gone '読み込み中'
# A file that ends early: an untitled document; Ctrl+S asks for a name.
open_through_dialog "$work/broken.kvo"
answer_message
focus_window '^無題 - Kivo$'
keys ctrl+s
focus_window '^名前を付けて保存$'
keys Escape
wait_until_gone '^名前を付けて保存$'

# A file gone since it was opened, from the recent files, and a named pipe:
# a message, and the document and its list stay.
open_through_dialog "$work/gone.kvo"
focus_window '^gone.kvo - Kivo$'
wait_until_gone '読み込み中'
rm "$work/gone.kvo"
press_until '^Kivo231$' alt+f 1  # the first recent file
answer_message
open_through_dialog "$work/pipe.kvo"
answer_message
focus_window '^gone.kvo - Kivo$'
keys ctrl+s
wait_for "the list did not stay" has_field "$work/gone.kvo" objects 2

# Saving onto a named pipe is refused; the pipe stays a pipe.
press_until '^名前を付けて保存$' alt+f a
choose_file '^名前を付けて保存$' "$work/pipe.kvo"
keys alt+y  # replace it
answer_message
focus_window '^gone.kvo - Kivo$'
[ -p "$work/pipe.kvo" ] || fail "the named pipe was replaced"
quit_kivo
cmp -s "$good" "$work/good.orig" || fail "good.kvo changed"
echo "ok: good.kvo unchanged; broken, piped and gone files lost nothing"
