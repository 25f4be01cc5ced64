#!/usr/bin/env bash
# Opening scenarios in the real program never costs a saved cut list: a file
# that ends early leaves an untitled document, so Ctrl+S asks for a name and
# the file that was open stays as it was; a file that cannot be opened (gone,
# a named pipe) or is no scenario changes nothing; an empty file only gives
# its name. Saving onto a named pipe is refused and leaves the pipe.
#
# Usage (under xvfb-run): open-a-scenario.sh KIVO231 KVOTOOL MEDIA_DIR
source "$(dirname "$0")/x-session.sh"
export KIVO_VIDEO_SINK="fakesink sync=true"

good=$work/good.kvo
"$kvotool" create "$good" "$media/video.avi" "$media/audio.wav" >/dev/null
cp "$good" "$work/good.orig"
head -c 60 "$good" >"$work/broken.kvo"
printf '\005hello' >"$work/notes.kvo"
: >"$work/empty.kvo"
mkfifo "$work/pipe.kvo"
cp "$good" "$work/gone.kvo"

objects_in() { "$kvotool" dump "$1" | sed -n 's/^objects: //p'; }
has_objects() { [ "$(objects_in "$1")" = "$2" ]; }

open_through_dialog() {
  press_until '^開く$' ctrl+o
  focus_window '^開く$'
  xdotool type --delay 5 "$1"
  keys Return
  wait_until_gone '^開く$'
}
# Reads the program's message and closes it.
answer_message() {
  focus_window '^Kivo231$'
  keys Return
  wait_until_gone '^Kivo231$'
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
cmp -s "$good" "$work/good.orig" || fail "good.kvo changed"

# No scenario, or a named pipe: a message, and the document stays.
focus_window '^無題 - Kivo$'
open_through_dialog "$good"
focus_window '^good.kvo - Kivo$'
wait_until_gone '読み込み中'
for refused in notes.kvo pipe.kvo; do
  open_through_dialog "$work/$refused"
  answer_message
  focus_window '^good.kvo - Kivo$'
done

# A file gone since it was last opened: the document and its list stay.
open_through_dialog "$work/gone.kvo"
focus_window '^gone.kvo - Kivo$'
wait_until_gone '読み込み中'
rm "$work/gone.kvo"
press_until '^Kivo231$' alt+f 1  # the first recent file
answer_message
focus_window '^gone.kvo - Kivo$'
keys ctrl+s
wait_for "the list did not stay" has_objects "$work/gone.kvo" 2

# An empty file: no message; the list stays and takes the file's name.
open_through_dialog "$work/empty.kvo"
focus_window '^empty.kvo - Kivo$'
is_gone '^Kivo231$' || fail "an empty file gave a message"
keys ctrl+s
wait_for "the list was not saved into the empty file" has_objects "$work/empty.kvo" 2

# Saving onto a named pipe is refused; the pipe stays a pipe.
press_until '^名前を付けて保存$' alt+f a
focus_window '^名前を付けて保存$'
xdotool type --delay 5 "$work/pipe.kvo"
keys Return
keys alt+y  # replace it
answer_message
focus_window '^empty.kvo - Kivo$'
[ -p "$work/pipe.kvo" ] || fail "the named pipe was replaced"

quit_kivo
cmp -s "$good" "$work/good.orig" || fail "good.kvo changed"
echo "ok: good.kvo unchanged; broken, foreign, piped, gone and empty files lost nothing"
