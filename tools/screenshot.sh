#!/usr/bin/env bash
# Takes a screenshot of Kivo's main window on the demo cut list, under Xvfb
# with the openbox window manager: docs/screenshots/main-window.png.
# Run it after ./kivo run has built the program and the demo list once.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshots/main-window.png}
mkdir -p "$(dirname "$out")"
export KIVO_AUDIO_SINK=${KIVO_AUDIO_SINK:-fakesink}
export XDG_CONFIG_HOME=${XDG_CONFIG_HOME:-$(mktemp -d)}

xvfb-run -a -s "-screen 0 1024x700x24" bash -c '
  openbox >/dev/null 2>&1 &
  sleep 1
  build/src/app/Kivo231 build/demo.kvo >/dev/null 2>&1 &
  program=$!
  sleep 6
  ffmpeg -loglevel error -y -f x11grab -video_size 1024x700 -i "$DISPLAY" -frames:v 1 "$1"
  kill $program
' screenshot "$out"
