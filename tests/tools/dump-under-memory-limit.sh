#!/bin/bash
# kvotool dump --json of a 60 MB scenario that holds 30 million objects, each
# an empty path and name, in 2 GB of address space: the count is refused as
# too large (status 3 and a message), rather than the tool growing until it
# is stopped. Takes kvotool's path and a folder for the file.
set -euo pipefail
kvotool=$1
folder=$2
mkdir -p "$folder"
file=$folder/thirty-million-objects.kvo
out=$folder/thirty-million-objects.out
err=$folder/thirty-million-objects.err
trap 'rm -f "$file" "$out" "$err"' EXIT

fail() {
  echo "FAILED: $*" >&2
  echo "stderr:" >&2; cat "$err" >&2
  exit 1
}

# int32 N: N as the four little-endian bytes of a 32-bit number
int32() {
  local byte escaped=
  for byte in 0 8 16 24; do
    escaped+=$(printf '\\x%02x' $(($1 >> byte & 255)))
  done
  printf "$escaped"
}

count=30000000
{
  printf '\x09KivoDSv30'
  int32 $count
  head -c $count /dev/zero  # the paths
  int32 -1                  # no current object
  int32 0                   # playing position
  int32 -1                  # no media information
  head -c $count /dev/zero  # the names
} >"$file"
[ "$(stat -c %s "$file")" = $((10 + 4 + count + 12 + count)) ] || fail "the file was not written whole"

status=0
prlimit --as=2147483648 -- "$kvotool" dump --json "$file" >"$out" 2>"$err" || status=$?
[ "$status" = 3 ] || fail "ended with $status, not 3"
[ ! -s "$out" ] || fail "printed a dump"
grep -qF "the file holds 30000000 objects, more than the 1000000 a scenario may have" "$err" \
  || fail "no message"
