#!/usr/bin/env bash
# Takes the screenshots in docs/screenshots of Kivo under Xvfb with the
# openbox window manager: the loading dialog while clips are examined, the
# main window in each of its four view modes on the demo cut list, the
# list's object and view menus, the media search dialog, the main
# window playing, the player window at its normal and double size with its
# context menu, the three pages of the property sheet, and the main window
# with its View menu open in Japanese and in English.
#
# Usage: screenshot.sh KIVO231 KVOTOOL DEMO_KVO DEMO_MEDIA_DIR [OUT_DIR]
set -euo pipefail
program=$1
kvotool=$2
demo=$3
media=$4
out=${5:-docs/screenshots}
mkdir -p "$out"
out=$(cd "$out" && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config KIVO_AUDIO_SINK="fakesink sync=true"
mkdir -p "$XDG_CONFIG_HOME/KivoProject"
# A roomy main window with the bars docked where a user would put them.
printf '[System]\nx=24\ny=24\ncx=820\ncy=520\n' >"$XDG_CONFIG_HOME/KivoProject/Kivo231.ini"
# A cut list of clips changed since it was saved, so that opening it
# examines every clip again and the loading dialog has work.
mkdir -p "$work/clips"
for i in $(seq 1 40); do
  for clip in video.mpg video.avi video.mov audio.wav; do
    cp "$media/$clip" "$work/clips/$i-$clip"
  done
done
"$kvotool" create "$work/changed.kvo" "$work"/clips/* >/dev/null
touch -d tomorrow "$work"/clips/*

export program demo out work
xvfb-run -a -s "-screen 0 1024x700x24" bash -euo pipefail -c '
  shoot() {
    ffmpeg -loglevel error -y -f x11grab -video_size 1024x700 -i "$DISPLAY" -frames:v 1 "$out/$1.png"
  }
  focus() {
    local window
    window=$(timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1)
    xdotool windowactivate --sync "$window" 2>/dev/null || true
    sleep 0.5
  }
  keys() { xdotool key --clearmodifiers "$@"; sleep 0.5; }

  openbox >/dev/null 2>&1 &
  sleep 1

  "$program" "$work/changed.kvo" >/dev/null 2>&1 &
  until xdotool search --onlyvisible --name "読み込み中" >/dev/null 2>&1; do sleep 0.05; done
  sleep 2.2  # the splash goes
  shoot loading-dialog
  kill %2

  "$program" "$demo" >/dev/null 2>&1 &
  sleep 6
  focus " - Kivo$"
  for mode in g:view-large-icons m:view-small-icons l:view-list d:view-details; do
    keys alt+v "${mode%%:*}"
    sleep 0.5
    shoot "${mode#*:}"
  done
  # The list'"'"'s menus: on an object, and on empty space.
  main=$(xdotool search --onlyvisible --name " - Kivo$" | head -n 1)
  xdotool mousemove --window "$main" 300 76 click 3
  sleep 0.5
  shoot list-object-menu
  keys Escape
  xdotool mousemove --window "$main" 400 330 click 3
  sleep 0.5
  shoot list-view-menu
  keys Escape
  keys alt+t f
  focus "ﾒﾃﾞｨｱﾌｧｲﾙの検索"
  shoot media-search
  keys Escape
  keys alt+p p
  sleep 2.2
  shoot main-window

  # The player window paused at its normal and double size, its context
  # menu, and the property sheet of the playing object.
  focus " - Kivo$"
  keys alt+p p
  keys alt+p w s
  shoot player-normal-size
  keys alt+p w d
  shoot player-double-size
  player=$(xdotool search --onlyvisible --name "^Kivo ﾌﾟﾚｲﾔ$" | head -n 1)
  xdotool mousemove --window "$player" 60 60 click 3
  sleep 0.5
  shoot player-context-menu
  keys Escape
  focus " - Kivo$"
  keys alt+p w s
  keys alt+p r
  focus "^ﾌﾟﾛﾊﾟﾃｨ$"
  shoot properties-playback
  keys ctrl+shift+Tab
  shoot properties-player
  keys ctrl+shift+Tab
  shoot properties-media
  keys Escape
  kill %3

  # The main window in Japanese and in English, its View menu open.
  for language in ja:japanese-window en:english-window; do
    LANGUAGE=${language%%:*} "$program" "$demo" >/dev/null 2>&1 &
    sleep 6
    focus " - Kivo$"
    keys alt+v
    shoot "${language#*:}"
    keys Escape
    kill $!
  done
'
