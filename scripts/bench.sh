#!/usr/bin/env bash
# Compares zscan's search speed with other readers of Excel books: makes the
# trees of generated books once (kept in build/bench/trees), then runs zscan,
# a zlib floor, openpyxl, xlrd and SheetJS over them for each kind of needle
# and prints the tables, then the search's allocations per cell (all kept in
# build/bench/results.md).  Not part of the test command.
#   scripts/bench.sh              the full trees: 3.0 M, 0.4 M and 3.0 M cells
#   scripts/bench.sh --smoke      trees a hundredth that size, to check the harness
#   scripts/bench.sh --runs 3     further arguments go to bench/run.py
set -euo pipefail
cd "$(dirname "$0")/.."
out=build/bench
trees=$out/trees
results=$out/results.md
scale=1
if [[ "${1:-}" == "--smoke" ]]; then
  shift
  trees=$out/smoke-trees
  results=$out/smoke-results.md
  scale=0.01
fi

scripts/install-deps.sh --bench
scripts/build.sh release
[[ -d $out/npm/node_modules/xlsx ]] ||
  npm install --prefix "$out/npm" --no-audit --no-fund --loglevel=error xlsx@0.18.5
bench/make_trees.py "$trees" --scale "$scale"
bench/run.py --trees "$trees" --zscan build/release/app/zscan \
  --floor build/release/bench/count_floor --node-path "$PWD/$out/npm/node_modules" \
  --work "$PWD/$out/work" "$@" | tee "$results"
build/release/bench/bench_cell_allocations | tee -a "$results"
