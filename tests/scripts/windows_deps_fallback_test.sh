#!/usr/bin/env bash
# scripts/build-windows-deps.sh when the newest listed version of each
# source package cannot be downloaded (as when an index lists a security
# update the archive does not serve): it must fall back to the newest
# version that downloads, build every library and say which versions it
# built.  Usage: windows_deps_fallback_test.sh [DEPS_FOLDER]
# The libraries are built into DEPS_FOLDER (a fresh temporary folder when
# none is given), so that the Windows build can go on with them.
set -euo pipefail
cd "$(dirname "$0")/../.."
deps=${1:-}
scratch=""
if [[ -z $deps ]]; then
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  deps=$scratch/deps
fi
rm -rf "$deps"

# Versions newer than any Debian has, listed ahead of the real ones.
unavailable="zlib=9:99.0-1 pcre2=99.0-1 libdeflate=99.0-1 nettle=99.0-1"
log=$(ZS_WINDOWS_DEPS=$deps ZS_SOURCE_VERSIONS_FIRST=$unavailable scripts/build-windows-deps.sh 2>&1) || {
  echo "$log"
  echo "FAIL: the build stopped at a version that does not download" >&2
  exit 1
}
echo "$log"
failures=0
for pin in $unavailable; do
  package=${pin%%=*}
  grep -q "^$package ${pin#*=} does not download" <<<"$log" ||
    { echo "FAIL: no fallback reported for $package" >&2; failures=$((failures + 1)); }
done
built=$(grep '^Windows libraries built from Debian sources: ' <<<"$log" || true)
for package in zlib pcre2 libdeflate nettle; do
  grep -Eq "[ ,]$package [0-9]" <<<"$built" ||
    { echo "FAIL: the built version of $package is not named" >&2; failures=$((failures + 1)); }
done
grep -q '99\.0-1' <<<"$built" && { echo "FAIL: an unavailable version is named as built" >&2; failures=$((failures + 1)); }
for library in libminizip.a libpcre2-8.a libdeflate.a libnettle.a; do
  [[ -s $deps/lib/$library ]] || { echo "FAIL: $library was not built" >&2; failures=$((failures + 1)); }
done
[[ $failures -eq 0 ]] && echo "ok: fell back to the newest version that downloads"
exit "$failures"
