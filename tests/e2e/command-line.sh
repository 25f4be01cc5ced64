#!/bin/bash
# The program's options: --help and --version are answered on the standard
# output without a display; an unknown option is reported on the standard
# error output, with status 1, before any window is made.
# Takes the program's path.
set -euo pipefail
program=$1
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT

fail() {
  echo "FAILED: $*" >&2
  echo "stdout:" >&2; cat "$out" >&2
  echo "stderr:" >&2; cat "$err" >&2
  exit 1
}

# run STATUS ARGUMENTS...: runs the program with no display at all unless
# QT_QPA_PLATFORM says otherwise, and expects that exit status.
run() {
  local expected=$1 status=0
  shift
  env -u DISPLAY -u WAYLAND_DISPLAY "$program" "$@" >"$out" 2>"$err" || status=$?
  [ "$status" = "$expected" ] || fail "'$*' ended with $status, not $expected"
}

for help in --help -h; do
  run 0 "$help"
  grep -q '^Usage: Kivo231 \[OPTION\] \[FILE\]$' "$out" || fail "$help: no usage"
  [ ! -s "$err" ] || fail "$help: wrote to stderr"
done
run 0 list.kvo --version
grep -qx 'Kivo231 (Kivo) [0-9.]*' "$out" || fail "--version: no version"

# Past the display, so that the option is what ends the program; the
# offscreen platform would show no window anyway, but none is made.
export QT_QPA_PLATFORM=offscreen
run 1 --fullscreen list.kvo
grep -qx "Kivo231: unknown option '--fullscreen'" "$err" || fail "--fullscreen: not reported"
[ ! -s "$out" ] || fail "--fullscreen: wrote to stdout"
run 1 a.kvo b.kvo
grep -qx "Kivo231: more than one file: 'b.kvo'" "$err" || fail "two files: not reported"
echo "command line: ok"
