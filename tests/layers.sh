#!/usr/bin/env bash
# The source folders are layers, from the bottom up: core, cutlist, media,
# session, ui. A file may include from its own layer and those below it,
# never from one above.
#
# Usage: layers.sh SRC_DIR
set -euo pipefail
cd "$1"
layers=(core cutlist media session ui)
rank() {
  local i
  for i in "${!layers[@]}"; do [ "${layers[$i]}" = "$1" ] && echo "$i" && return; done
  echo -1
}
status=0
for layer in "${layers[@]}"; do
  own=$(rank "$layer")
  while IFS=: read -r file included; do
    used=$(rank "${included%%/*}")
    if (( used > own )); then
      echo "$layer/$file includes $included, a layer above it" >&2
      status=1
    fi
  done < <(cd "$layer" && grep -o '#include "[a-z]*/[^"]*"' ./* | sed 's|^\./||; s|:#include "|:|; s|"$||')
done
exit "$status"
