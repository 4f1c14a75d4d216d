#!/usr/bin/env bash
# The Debian packages of a plain Release build: lintian finds no error in
# them, and installed with apt-get into a clean Debian 12 root made by
# debootstrap, zscan tells its version, shows its manual and searches the
# sample books.  Usage: deb_package_test.sh [BUILD_FOLDER] (build/plain)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/plain}
SUDO=""
[[ $(id -u) -ne 0 ]] && SUDO="sudo"

(cd "$build" && rm -f ./*.deb && cpack -G DEB >/dev/null)
debs=("$build"/*.deb)
[[ ${#debs[@]} -eq 3 ]] || { echo "FAIL: cpack made ${#debs[@]} packages, not 3" >&2; exit 1; }
errors=$(lintian --tag-display-limit 0 "${debs[@]}" 2>&1 | grep '^E: ' || true)
[[ -z $errors ]] || { echo "$errors"; echo "FAIL: lintian finds errors" >&2; exit 1; }

# The system's own Debian mirror, else the default one.
mirror=$(sed -n 's/^URIs: //p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -1)
root=$(mktemp -d)
trap '$SUDO rm -rf "$root"' EXIT
$SUDO debootstrap --variant=minbase --include=man-db bookworm "$root" "${mirror:-http://deb.debian.org/debian}" \
  >"$root.log" 2>&1 || { tail -20 "$root.log"; echo "FAIL: debootstrap" >&2; exit 1; }
rm -f "$root.log"
$SUDO mkdir -p "$root/tmp/zscan-test"
$SUDO cp "${debs[@]}" "$root/tmp/zscan-test/"
$SUDO cp -r samples "$root/tmp/zscan-test/"
installed=$($SUDO chroot "$root" sh -c '
  apt-get update -qq >/dev/null &&
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq /tmp/zscan-test/*.deb >/dev/null 2>&1 &&
  zscan --version &&
  MANPAGER=cat man zscan 2>/dev/null | head -5 &&
  cd /tmp/zscan-test && zscan --no-settings -w 東京 samples')
echo "$installed"
grep -q '^Z-Scan ' <<<"$installed" || { echo "FAIL: zscan --version" >&2; exit 1; }
grep -q 'zscan - search the cell texts of Excel books' <<<"$installed" || { echo "FAIL: man zscan" >&2; exit 1; }
[[ $(grep -c '東京' <<<"$installed") -eq 5 ]] || { echo "FAIL: the installed zscan's search" >&2; exit 1; }
echo "ok: the packages pass lintian, install into a clean Debian 12 and search"
