#!/bin/sh
# Every option a program's --help lists has an entry of its own in the program's
# manual page, which help2man made from that --help at build time.
# Arguments: the folder of the manual pages, then each program's path.
set -eu
pages=$1
shift
status=0
for program in "$@"; do
  name=$(basename "$program")
  # Entries are the lines after ".TP"; help2man writes "-" as "\-".
  entries=$(zcat "$pages/$name.1.gz" | sed -n '/^\.TP/{n;p}' | sed 's/\\-/-/g')
  for option in $("$program" --help | grep -E '^ +-' | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
    if ! printf '%s\n' "$entries" | grep -qE -- "$option([^a-z-]|\$)"; then
      echo "$name(1) has no entry for $option" >&2
      status=1
    fi
  done
done
exit $status
