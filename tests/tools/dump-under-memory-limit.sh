#!/bin/bash
# kvotool dump --json of a 60 MB scenario that holds 30 million objects, each
# an empty path and name, in 2 GB of address space: the count is refused as
# too large (status 3 and a message), rather than the tool growing until it
# is stopped. Takes kvotool's path and a folder for the file.
set -euo pipefail
kvotool=$1
mkdir -p "$2"
file=$2/thirty-million-objects.kvo
out=$2/thirty-million-objects.out
err=$2/thirty-million-objects.err
trap 'rm -f "$file" "$out" "$err"' EXIT
fail() { echo "FAILED: $*" >&2; cat "$err" >&2; exit 1; }

count=30000000  # 0x01C9C380, little-endian below
{
  printf '\x09KivoDSv30\x80\xc3\xc9\x01'
  head -c $count /dev/zero                      # the paths
  printf '\xff\xff\xff\xff\0\0\0\0\xff\xff\xff\xff'  # no current object, position 0, no media information
  head -c $count /dev/zero                      # the names
} >"$file"
[ "$(stat -c %s "$file")" = $((10 + 4 + count + 12 + count)) ] || fail "the file was not written whole"

status=0
prlimit --as=2147483648 -- "$kvotool" dump --json "$file" >"$out" 2>"$err" || status=$?
[ "$status" = 3 ] || fail "ended with $status, not 3"
[ ! -s "$out" ] || fail "printed a dump"
grep -qF "the file holds 30000000 objects, more than the 1000000 a scenario may have" "$err" || fail "no message"
