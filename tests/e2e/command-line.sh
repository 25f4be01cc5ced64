#!/bin/bash
# The program's options: --help and --version are answered on the standard
# output without a display; an option the program does not know is reported
# on the standard error output, with status 1, before any window is made
# (the offscreen platform would show none, but the program gets past the
# display). Which options mean what is the command-line test's.
# Takes the program's path.
set -euo pipefail
program=$1
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT

# answers STATUS STDOUT_LINE STDERR_LINE ARGUMENTS...: the program, with no
# display at all unless QT_QPA_PLATFORM says otherwise, ends with the status
# and writes those lines; an empty one means that output stays empty.
answers() {
  local status=0
  env -u DISPLAY -u WAYLAND_DISPLAY "$program" "${@:4}" >"$out" 2>"$err" || status=$?
  [ "$status" = "$1" ] && { [ -z "$2" ] && [ ! -s "$out" ] || grep -qx "$2" "$out"; } &&
    { [ -z "$3" ] && [ ! -s "$err" ] || grep -qx "$3" "$err"; } ||
    { echo "FAILED: '${*:4}' ended with $status:" >&2; cat "$out" "$err" >&2; exit 1; }
}
answers 0 'Usage: Kivo231 \[OPTION\] \[FILE\]' '' --help
answers 0 'Kivo231 (Kivo) [0-9.]*' '' list.kvo --version
export QT_QPA_PLATFORM=offscreen
answers 1 '' "Kivo231: unknown option '--fullscreen'" --fullscreen list.kvo
echo "command line: ok"
