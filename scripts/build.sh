#!/usr/bin/env bash
# Configures and builds one flavour of the project.
#   scripts/build.sh release   -> build/release
#   scripts/build.sh sanitize  -> build/sanitize (ASan + UBSan)
#   scripts/build.sh tsan      -> build/tsan (ThreadSanitizer; the library, its base and call tests and the engine's tests)
#   scripts/build.sh mingw     -> build/mingw (Windows cross build: the library and Z-Scan.exe)
#   scripts/build.sh fuzz      -> build/fuzz (clang, libFuzzer targets, ASan + UBSan)
set -euo pipefail
cd "$(dirname "$0")/.."
flavour=${1:-release}
dir=build/$flavour
targets=()
case "$flavour" in
  release)  args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  sanitize) args=(-DCMAKE_BUILD_TYPE=Debug -DZS_SANITIZE=ON) ;;
  tsan)     tsan=-fsanitize=thread
            targets=(--target test_base --target test_calls --target test_app)
            args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DZS_APP=ON "-DCMAKE_C_FLAGS=$tsan" "-DCMAKE_CXX_FLAGS=$tsan"
                  "-DCMAKE_EXE_LINKER_FLAGS=$tsan" "-DCMAKE_SHARED_LINKER_FLAGS=$tsan") ;;
  mingw)    args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake) ;;
  fuzz)     args=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DZS_FUZZ=ON -DZS_SANITIZE=ON -DZS_TESTS=OFF -DZS_APP=OFF) ;;
  *) echo "unknown flavour: $flavour" >&2; exit 2 ;;
esac
[[ $flavour == mingw ]] && scripts/build-windows-deps.sh
cmake -S . -B "$dir" -G Ninja -DZS_WERROR=ON "${args[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
