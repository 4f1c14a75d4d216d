#!/usr/bin/env bash
# Runs Z-Scan.exe under Wine on a virtual X display and drives it with
# window_driver.exe (both from scripts/build.sh mingw).  Checks besides the
# driver's own: the text result holds the same hits as zscan finds for the
# same folder and words, and the result book has a row per hit.  Leaves the
# main window's picture in build/mingw/z-scan-window.png.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
mingw=$root/build/mingw
zscan=$root/build/release/app/zscan
work=$mingw/wine-test
words="東京 apple 2016/3/25"

rm -rf "$work"
mkdir -p "$work/app"
cp "$mingw/Z-Scan.exe" "$work/app/"

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
wine "$mingw/window_driver.exe" "$(winepath -w "$work/app/Z-Scan.exe")" "$(winepath -w "$root/samples")" \
  "$(winepath -w "$work")" "$words" || status=$?
wineserver -k 2>/dev/null || true

if [[ -f $work/window.bmp ]]; then
  convert "$work/window.bmp" "$mingw/z-scan-window.png"
  echo "screenshot: build/mingw/z-scan-window.png"
fi

# The window's hits against zscan's, paths mapped back to this system.
windows_samples=$(winepath -w "$root/samples")
python3 - "$work" "$windows_samples" "$root/samples" "$zscan" "$words" <<'PY' || status=1
import subprocess, sys, zipfile
work, windows_folder, folder, zscan, words = sys.argv[1:]
failures = []
raw = open(work + "/text-result.txt", "rb").read()
if not raw.endswith(b"\r\n") or b"\n" in raw.replace(b"\r\n", b""):
    failures.append("result lines do not all end in CR LF")
def mapped(line):
    path, rest = line[1:].split("]", 1)
    return "[" + folder + path[len(windows_folder):].replace("\\", "/") + "]" + rest
window_hits = sorted(mapped(l) for l in raw.decode("cp932").split("\r\n") if l)
run = subprocess.run([zscan, "--words", words, "--list", "", "--names", "", "--no-excel",
                      "--no-regex", folder], capture_output=True, text=True)
linux_hits = sorted(l for l in run.stdout.split("\n") if l)
if not linux_hits or window_hits != linux_hits:
    failures.append("window hits differ from zscan's:\n  " + "\n  ".join(window_hits) +
                    "\nzscan:\n  " + "\n  ".join(linux_hits))
with zipfile.ZipFile(work + "/result.xlsx") as book:
    rows = book.read("xl/worksheets/sheet1.xml").count(b"<row ")
if rows != len(linux_hits) + 1:
    failures.append(f"result book has {rows} rows for {len(linux_hits)} hits")
for failure in failures:
    print("FAIL:", failure)
print(f"{len(window_hits)} hits, same as zscan" if not failures else "result checks FAILED")
sys.exit(1 if failures else 0)
PY
exit $status
