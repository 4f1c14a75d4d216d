#!/usr/bin/env bash
# Installs what building and testing need on a Debian 12 machine.
# Idempotent: does nothing (and says nothing) when everything is there.
#   --test  also the Windows cross toolchain, Wine with a virtual X server,
#           Japanese fonts and locale, and a source entry for apt-get source
set -euo pipefail

packages=(build-essential cmake ninja-build pkg-config python3 unicode-data
  zlib1g-dev libminizip-dev libpcre2-dev libdeflate-dev nettle-dev libgtest-dev)
testing=false
if [[ "${1:-}" == "--test" ]]; then
  testing=true
  packages+=(g++-mingw-w64-x86-64 libz-mingw-w64-dev clang libclang-rt-14-dev
    dpkg-dev m4 wine wine64 xvfb fonts-ipafont locales imagemagick lintian debootstrap
    python3-openpyxl python3-xlrd)  # the oracles of the reader and end-to-end tests
fi
if [[ "${1:-}" == "--bench" ]]; then  # scripts/bench.sh: GNU time and the other searchers
  packages+=(time python3-openpyxl python3-xlrd python3-xlsxwriter gnumeric nodejs)
  command -v npm >/dev/null || packages+=(npm)
fi

SUDO=""
[[ $(id -u) -ne 0 ]] && SUDO="sudo"

# The Windows build compiles minizip and PCRE2 from Debian's own source
# packages: add a deb-src twin of the system's Debian entry (same archive,
# suites and keys), so that no address is written into the project.
sources=/etc/apt/sources.list.d/debian.sources
source_twin=/etc/apt/sources.list.d/debian-src.sources
need_update=false
if $testing && [[ -f $sources ]]; then
  if [[ ! -f $source_twin ]]; then
    sed 's/^Types: deb$/Types: deb-src/' "$sources" | $SUDO tee "$source_twin" >/dev/null
  fi
  compgen -G '/var/lib/apt/lists/*_source_Sources*' >/dev/null || need_update=true
fi

# Wine gives its programs code page 932 only under a Japanese locale.
if $testing && ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  missing_locale=true
else
  missing_locale=false
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [[ ${#missing[@]} -gt 0 ]] || $need_update; then
  # A mirror caught mid-sync fails one index; the others are still used.
  $SUDO apt-get -o DPkg::Lock::Timeout=600 update -qq || echo "apt-get update reported errors" >&2
fi
if [[ ${#missing[@]} -gt 0 ]]; then
  echo "Installing: ${missing[*]}" >&2
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
    --no-install-recommends "${missing[@]}" >/dev/null
fi
if $missing_locale; then
  echo "ja_JP.UTF-8 UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
