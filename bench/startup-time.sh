#!/usr/bin/env bash
# Start-up time: from launching Kivo231 on an empty cut list until its main
# window (titled "... - Kivo") is mapped, against the same for a Qt program
# that shows an empty main window, built with the same flags, in the same
# run. Both run on a virtual X server under openbox, with a settings folder
# of their own; each figure is the median of eleven launches, taken in turns
# after one launch of each that is not counted (it fills the caches).
#
# Usage: startup-time.sh KIVO231 EMPTY_MAIN_WINDOW WINDOW_MAP_TIME
set -euo pipefail
kivo=$(realpath "$1")
empty=$(realpath "$2")
map_time=$(realpath "$3")

# Everything below runs on its own X server.
if [ -z "${KIVO_STARTUP_ON_XVFB:-}" ]; then
  exec env KIVO_STARTUP_ON_XVFB=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$kivo" "$empty" "$map_time"
fi

home=$(mktemp -d)
openbox >/dev/null 2>&1 &
wm=$!
trap 'kill "$wm" 2>/dev/null; rm -rf "$home"' EXIT
# The window manager is up once it publishes the current desktop.
until xdotool get_desktop >/dev/null 2>&1; do sleep 0.05; done

# Microseconds from launching PROGRAM until a visible window whose name
# matches PATTERN exists, as the X server reports it.
# Usage: time_to_window PATTERN PROGRAM
time_to_window() {
  HOME=$home XDG_CONFIG_HOME=$home/.config "$map_time" "$1" "$2" 2>/dev/null ||
    { echo "startup-time: no window from $2" >&2; exit 1; }
}

median_ms() {
  printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p" | awk '{ printf "%.1f", $1 / 1000 }'
}

kivo_pattern=' - Kivo$'
empty_pattern='^Empty main window$'
time_to_window "$kivo_pattern" "$kivo" >/dev/null
time_to_window "$empty_pattern" "$empty" >/dev/null
kivo_times=()
empty_times=()
for _ in $(seq 11); do
  kivo_times+=("$(time_to_window "$kivo_pattern" "$kivo")")
  empty_times+=("$(time_to_window "$empty_pattern" "$empty")")
done
kivo_ms=$(median_ms "${kivo_times[@]}")
empty_ms=$(median_ms "${empty_times[@]}")
printf '%-44s %11.1f ms %22s %9.1f ms %7.1fx %s\n' "start-up to the main window, empty cut list" "$kivo_ms" \
  "empty Qt main window" "$empty_ms" "$(echo "$kivo_ms / $empty_ms" | bc -l)" "<= 1.5x (moonshot 1.2x)"
