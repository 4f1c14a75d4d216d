#!/usr/bin/env bash
# Runs two zscan binaries over the same folder with the same words and
# compares their hit lines byte for byte; extra arguments (such as -j 2)
# go to the second binary only.  Exit 0 when every output is the same.
#   scripts/compare-hits.sh BEFORE AFTER FOLDER [ARGUMENTS...]
set -uo pipefail
[[ $# -ge 3 ]] || { echo "usage: $0 BEFORE AFTER FOLDER [ARGUMENTS...]" >&2; exit 2; }
before=$1 after=$2 folder=$3
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/before" "$work/after"
status=0
for word in a 1 東 2016 /; do
  common=(--no-excel --no-regex -n '' -w "$word" "$folder")
  TMPDIR=$work/before "$before" "${common[@]}" >"$work/before.txt" 2>/dev/null
  TMPDIR=$work/after "$after" "$@" "${common[@]}" >"$work/after.txt" 2>/dev/null
  if cmp -s "$work/before.txt" "$work/after.txt"; then
    echo "same: $(wc -l <"$work/before.txt") lines for '$word'"
  else
    echo "DIFFERENT for '$word':"
    diff "$work/before.txt" "$work/after.txt" | head -20
    status=1
  fi
done
exit $status
