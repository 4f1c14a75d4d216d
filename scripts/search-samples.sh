#!/usr/bin/env bash
# Builds Z-Scan and searches the bundled sample books, printing every hit
# as "[book][sheet][cell] text".  Words to look for may be given as the
# first argument; by default a Japanese word, an English word and a date.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh release >/dev/null
words=${1:-"東京 apple 2016/3/25"}
echo "Searching samples/ for: $words" >&2
# Every setting is given, so that a saved Z-Scan.ini cannot change the run.
status=0
build/release/app/zscan --words "$words" --list "" --names "" --no-excel --no-regex samples || status=$?
# Exit status 1 means only that nothing was found.
[[ $status -le 1 ]]
