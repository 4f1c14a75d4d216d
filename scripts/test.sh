#!/usr/bin/env bash
# Builds and runs every test: the plain build, the sanitizer build, the
# Windows cross build of the library, and a short fuzzing pass.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test

scripts/build.sh release
(cd build/release && ctest --output-on-failure -j"$(nproc)")

scripts/build.sh sanitize
(cd build/sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j"$(nproc)")

scripts/build.sh mingw

if [[ -x scripts/fuzz.sh ]]; then
  scripts/fuzz.sh "${ZS_FUZZ_SECONDS:-60}"
fi
