#!/usr/bin/env bash
# Builds the Windows libraries that Debian ships no mingw package for:
# minizip (contrib/minizip of Debian's zlib source package), PCRE2 and
# libdeflate, from Debian's own source packages, with the mingw-w64 cross
# compiler.
# Result: build/mingw/deps/{include,lib}.  A second run finds them there and
# fetches nothing.  zlib itself comes from libz-mingw-w64-dev.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
deps=$root/build/mingw/deps
stamp=$deps/.complete
# The stamp names the libraries built, so that a folder made before one was
# added is built again.
libraries="minizip pcre2 libdeflate"
[[ -f $stamp && $(cat "$stamp") == "$libraries" ]] && exit 0

cc=x86_64-w64-mingw32-gcc-posix
ar=x86_64-w64-mingw32-ar
src=$deps/src
rm -rf "$deps"
mkdir -p "$src" "$deps/include/minizip" "$deps/lib"

cd "$src"
apt-get source -qq zlib pcre2 libdeflate >/dev/null 2>&1 || {
  echo "apt-get source zlib pcre2 libdeflate failed: is there a deb-src entry (scripts/install-deps.sh --test)?" >&2
  exit 1
}

# minizip: the zip and unzip layers over the file-function interface.
minizip=$(echo "$src"/zlib-*/contrib/minizip)
for unit in ioapi zip unzip; do
  $cc -O2 -c "$minizip/$unit.c" -o "$src/$unit.o"
done
$ar rcs "$deps/lib/libminizip.a" "$src"/ioapi.o "$src"/zip.o "$src"/unzip.o
cp "$minizip"/{ioapi.h,zip.h,unzip.h,crypt.h} "$deps/include/minizip/"

# libdeflate: its library sources, with the processor checks of x86.
libdeflate=$(echo "$src"/libdeflate-*)
for unit in "$libdeflate"/lib/*.c "$libdeflate"/lib/x86/*.c; do
  $cc -O2 -I"$libdeflate" -c "$unit" -o "$src/deflate-$(basename "$unit" .c).o"
done
$ar rcs "$deps/lib/libdeflate.a" "$src"/deflate-*.o
cp "$libdeflate/libdeflate.h" "$deps/include/"

# PCRE2: the 8-bit library only, static, without JIT.
pcre2=$(echo "$src"/pcre2-*/)
cmake -S "$pcre2" -B "$src/pcre2-build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" \
  -DBUILD_SHARED_LIBS=OFF -DBUILD_STATIC_LIBS=ON -DPCRE2_BUILD_PCRE2_8=ON \
  -DPCRE2_BUILD_PCRE2_16=OFF -DPCRE2_BUILD_PCRE2_32=OFF -DPCRE2_SUPPORT_JIT=OFF \
  -DPCRE2_BUILD_PCRE2GREP=OFF -DPCRE2_BUILD_TESTS=OFF >/dev/null
cmake --build "$src/pcre2-build" >/dev/null
cmake --install "$src/pcre2-build" >/dev/null

echo "$libraries" > "$stamp"
