#!/bin/bash
# kvotool convert on a playlist of a million relative lines (2 MB) in a
# folder whose path is 3,785 characters long, in 2 GB of address space: each
# entry would repeat the folder. It must be refused as too large, or read,
# never abort for want of memory.
# Takes kvotool's path.
set -euo pipefail
kvotool=$1
work=$(mktemp -d)
err=$(mktemp)
trap 'rm -rf "$work" "$err"' EXIT

fail() {
  echo "FAILED: $*" >&2
  echo "stderr:" >&2; head -c 2000 "$err" >&2
  exit 1
}

# Nested folders, each name shorter than the 255 bytes a name may have.
folder=$work
while [ $(( ${#folder} + 201 )) -le 3785 ]; do
  folder=$folder/$(printf 'd%.0s' {1..200})
done
folder=$folder/$(head -c $(( 3785 - ${#folder} - 1 )) /dev/zero | tr '\0' e)
mkdir -p "$folder"
[ ${#folder} = 3785 ] || fail "the folder's path is ${#folder} characters long"

{ yes a || true; } | head -n 1000000 >"$folder/list.m3u"

status=0
prlimit --as=2147483648 -- "$kvotool" convert "$folder/list.m3u" "$work/out.m3u8" 2>"$err" || status=$?
case $status in
  0) [ -s "$work/out.m3u8" ] || fail "converted, but wrote nothing" ;;
  3) grep -q "paths take more than" "$err" || fail "refused without saying why" ;;
  *) fail "kvotool ended with status $status" ;;
esac
echo "kvotool convert ended with status $status"
