#!/usr/bin/env bash
# Runs Z-Scan.exe under Wine on a virtual X display and drives it with
# window_driver.exe (both from scripts/build.sh mingw) over the folders
# make_window_fixtures.py lays out.  Checks besides the driver's own
# (check_window_results.py): the text result holds the same hits as zscan
# (build/release) finds for the same folder and words, in the same order,
# and the result book holds them as exact texts.  Leaves the main window's
# picture in build/mingw/z-scan-window.png.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
mingw=$root/build/mingw
zscan=$root/build/release/app/zscan
work=$mingw/wine-test
words="東京 apple 2016/3/25 SUM 00123"

rm -rf "$work"
mkdir -p "$work/app"
cp "$mingw/Z-Scan.exe" "$work/app/"
# The system's python3 is the one python3-openpyxl installs into.
/usr/bin/python3 tests/win32/make_window_fixtures.py "$root/samples" "$work/fixtures" "$words"

# A fresh prefix; Japanese locale for code page 932; no Mono or Gecko
# installers; quiet Wine.
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8

display=""
for n in $(seq 90 120); do
  if [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]]; then display=:$n; break; fi
done
[[ -n $display ]] || { echo "no free X display" >&2; exit 1; }
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() { wineserver -k 2>/dev/null || true; kill "$xvfb" 2>/dev/null || true; }
trap cleanup EXIT
export DISPLAY=$display

wineboot -i >/dev/null 2>&1
# Without a window manager, a managed window's close stalls for seconds.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1

status=0
wine "$mingw/window_driver.exe" "$(winepath -w "$work/app/Z-Scan.exe")" "$(winepath -w "$work/fixtures")" \
  "$(winepath -w "$work")" "$words" || status=$?
wineserver -k 2>/dev/null || true

if [[ -f $work/window.bmp ]]; then
  convert "$work/window.bmp" "$mingw/z-scan-window.png"
  echo "screenshot: build/mingw/z-scan-window.png"
fi

# The window's results of the books folder against zscan's.
/usr/bin/python3 tests/win32/check_window_results.py "$work" "$(winepath -w "$work/fixtures/books")" \
  "$work/fixtures/books" "$zscan" "$words" || status=1
exit $status
