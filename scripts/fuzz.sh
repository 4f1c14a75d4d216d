#!/usr/bin/env bash
# Runs every libFuzzer target for the given number of seconds (default 60)
# under AddressSanitizer and UndefinedBehaviorSanitizer.  Seeds come from
# tests/data and, when present, the shared corpus; new inputs found go to
# build/fuzz/corpus/<target>.  Any crash fails the run; its input is left in
# build/fuzz/crashes/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
scripts/build.sh fuzz
root=$(pwd)
out=build/fuzz
mkdir -p "$out/crashes"
status=0
for target in "$out"/fuzz/fuzz_*; do
  [[ -x "$target" ]] || continue
  name=$(basename "$target")
  corpus="$out/corpus/$name"
  mkdir -p "$corpus"
  seeds=()
  [[ -d "fuzz/seeds/$name" ]] && seeds+=("fuzz/seeds/$name")
  if [[ -f "fuzz/seeds/$name.dirs" ]]; then
    # Seed books up to 1 MB: a larger real book takes seconds a run under
    # the sanitizers and teaches the fuzzer nothing the small ones do not.
    picked="$out/seeds/$name"
    rm -rf "$picked"
    mkdir -p "$picked"
    while read -r d; do
      d=${d/#\$CORPUS/$root/../shared/corpus}
      d=${d/#\$DATA/$root/tests/data}
      [[ -d "$d" ]] || continue
      find "$d" -type f -size -1024k -print0 |
        while IFS= read -r -d '' f; do ln -sf "$f" "$picked/$(printf '%s' "$f" | md5sum | cut -c1-16)"; done
    done < "fuzz/seeds/$name.dirs"
    seeds+=("$picked")
  fi
  echo "== $name (${seconds}s)"
  if ! "$target" "$corpus" "${seeds[@]}" -max_total_time="$seconds" -rss_limit_mb=2048 \
      -timeout=120 -max_len=4194304 -artifact_prefix="$out/crashes/$name-" -print_final_stats=1 \
      > "$out/$name.log" 2>&1; then
    echo "FAILED: $name (see $out/$name.log)"; tail -40 "$out/$name.log"; status=1
  else
    grep -E 'stat::number_of_executed_units|cov:' "$out/$name.log" | tail -2
  fi
done
exit $status
