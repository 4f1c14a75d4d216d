#!/usr/bin/env bash
# Builds the Windows libraries that Debian ships no mingw package for:
# minizip (contrib/minizip of Debian's zlib source package), PCRE2,
# libdeflate and Nettle, from Debian's own source packages, with the
# mingw-w64 cross compiler.
# Result: build/mingw/deps/{include,lib} (or the folder ZS_WINDOWS_DEPS
# names).  A second run finds them there and fetches nothing.  zlib itself
# comes from libz-mingw-w64-dev.
#
# Each source package is taken at the newest version the archive actually
# serves: an index may list a security update whose files are not (yet, or
# no longer) on the mirror, and apt-get source would then fail outright.
# ZS_SOURCE_VERSIONS_FIRST="package=version ..." puts versions ahead of the
# listed ones; the script's own test names versions that cannot download.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
deps=$(realpath -m "${ZS_WINDOWS_DEPS:-$root/build/mingw/deps}")
stamp=$deps/.complete
# The stamp names the libraries built, so that a folder made before one was
# added is built again.
libraries="minizip pcre2 libdeflate nettle"
[[ -f $stamp && $(cat "$stamp") == "$libraries" ]] && exit 0

cc=x86_64-w64-mingw32-gcc-posix
ar=x86_64-w64-mingw32-ar
src=$deps/src
rm -rf "$deps"
mkdir -p "$src" "$deps/include/minizip" "$deps/lib"

# The versions of a source package to try, newest first: those named in
# ZS_SOURCE_VERSIONS_FIRST, then every version the source indexes list.
candidate_versions() {
  local package=$1 pin
  for pin in ${ZS_SOURCE_VERSIONS_FIRST:-}; do
    [[ ${pin%%=*} == "$package" ]] && echo "${pin#*=}"
  done
  apt-cache showsrc "$package" 2>/dev/null | sed -n 's/^Version: //p' | sort -u | newest_first
}

# Sorts versions by dpkg's own ordering (epochs, tildes), newest first.
newest_first() {
  local versions=() version placed i
  while read -r version; do
    placed=false
    for i in "${!versions[@]}"; do
      if dpkg --compare-versions "$version" gt "${versions[$i]}"; then
        versions=("${versions[@]:0:$i}" "$version" "${versions[@]:$i}")
        placed=true
        break
      fi
    done
    $placed || versions+=("$version")
  done
  printf '%s\n' "${versions[@]}"
}

# Fetches and unpacks the newest version of a source package that
# downloads, each try in a folder of its own so that a failed one leaves
# nothing behind.  Prints the version taken.
fetch_source() {
  local package=$1 version try
  while read -r version; do
    [[ -n $version ]] || continue
    try=$src/try-$package
    rm -rf "$try"
    mkdir -p "$try"
    if (cd "$try" && apt-get source -qq "$package=$version" >/dev/null 2>&1); then
      mv "$try"/* "$src"/
      rm -rf "$try"
      echo "$version"
      return 0
    fi
    echo "$package $version does not download; trying an older version" >&2
  done < <(candidate_versions "$package")
  rm -rf "$src/try-$package"
  echo "no version of the source package $package downloads: is there a deb-src entry (scripts/install-deps.sh --test)?" >&2
  return 1
}

cd "$src"
built=()
for package in zlib pcre2 libdeflate nettle; do
  version=$(fetch_source "$package")
  built+=("$package $version")
done

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

# Nettle: the ciphers and hashes of encrypted books, static; the
# public-key half (which needs GMP) and the OpenSSL glue are left out.
# Its assembler sources are generated with m4.  The Debian patches leave
# configure.ac newer than what autoconf made of it; the generated files are
# touched in order so that make does not run autoconf and autoheader again.
# Only the library and its headers are built and installed.
nettle=$(echo "$src"/nettle-*/)
(cd "$nettle" && touch aclocal.m4 && touch configure config.h.in && touch stamp-h.in &&
  ./configure -q --host=x86_64-w64-mingw32 CC="$cc" --prefix="$deps" --libdir="$deps/lib" \
  --disable-shared --enable-static --disable-public-key --disable-documentation --disable-openssl >/dev/null &&
  make -s -j"$(nproc)" libnettle.a >/dev/null && make -s install-headers install-static >/dev/null)

echo "$libraries" > "$stamp"
printf 'Windows libraries built from Debian sources: %s\n' "$(IFS=,; echo "${built[*]}" | sed 's/,/, /g')"
