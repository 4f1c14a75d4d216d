#!/usr/bin/env bash
# Builds and runs every test: the project's build, a plain CMake Release
# build, the sanitizer builds, the Windows program under Wine, and a short
# fuzzing pass.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test

scripts/build.sh release
(cd build/release && ctest --output-on-failure -j"$(nproc)")

# A plain Release build, as a user or packager makes it with the system's
# own compiler: no warning may stop it.  Its install serves the checks below.
cmake -S . -B build/plain -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/plain -j"$(nproc)"
(cd build/plain && ctest --output-on-failure -j"$(nproc)")

# The installed library serves a plain C program through pkg-config alone,
# and the install holds the command and its manual page.
prefix=$(mktemp -d)
cmake --install build/plain --prefix "$prefix" >/dev/null
test -x "$prefix/bin/zscan"
test -s "$prefix/share/man/man1/zscan.1.gz"
export PKG_CONFIG_PATH="$prefix/lib/pkgconfig"
cc -std=c11 -Wall -Werror tests/include/c_api_test.c -o "$prefix/c_api_test" $(pkg-config --cflags --libs zweave)
LD_LIBRARY_PATH="$prefix/lib" "$prefix/c_api_test"
rm -rf "$prefix"
unset PKG_CONFIG_PATH
# The same build made into Debian packages, installed into a clean root.
tests/scripts/deb_package_test.sh build/plain

scripts/build.sh sanitize
(cd build/sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j"$(nproc)")

# Books read on several threads at once, with the tests of the library's
# base and calls, and the search of several books at once, under
# ThreadSanitizer.
scripts/build.sh tsan
TSAN_OPTIONS=halt_on_error=1 build/tsan/tests/test_base
TSAN_OPTIONS=halt_on_error=1 build/tsan/tests/test_calls
TSAN_OPTIONS=halt_on_error=1 build/tsan/tests/test_app --gtest_filter='Jobs/SearchRunTest.*'

# The Windows libraries come from Debian's source packages at the newest
# version that downloads; built here with every newest version made
# unavailable, the folder then serves the Windows build.
[[ -f build/mingw/deps/.complete ]] || tests/scripts/windows_deps_fallback_test.sh build/mingw/deps
scripts/build.sh mingw
# Z-Scan.exe under Wine on a virtual display; compares its hits with zscan's.
tests/win32/run_wine_tests.sh

if [[ -x scripts/fuzz.sh ]]; then
  scripts/fuzz.sh "${ZS_FUZZ_SECONDS:-60}"
fi
