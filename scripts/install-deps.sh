#!/usr/bin/env bash
# Installs what building and testing need on a Debian 12 machine.
# Idempotent: does nothing (and says nothing) when everything is there.
set -euo pipefail

packages=(build-essential cmake ninja-build pkg-config
  zlib1g-dev libminizip-dev libpcre2-dev libgtest-dev)
if [[ "${1:-}" == "--test" ]]; then
  packages+=(g++-mingw-w64-x86-64 libz-mingw-w64-dev clang libclang-rt-14-dev)
fi
if [[ "${1:-}" == "--bench" ]]; then  # scripts/bench.sh: GNU time and the other searchers
  packages+=(time python3-openpyxl python3-xlrd python3-xlsxwriter gnumeric nodejs)
  command -v npm >/dev/null || packages+=(npm)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

SUDO=""
[[ $(id -u) -ne 0 ]] && SUDO="sudo"
echo "Installing: ${missing[*]}" >&2
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
