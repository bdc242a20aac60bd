#!/usr/bin/env bash
# Runs every benchmark binary of the bench build, one after another (they compare themselves with
# the standard tools inside the same run).
set -euo pipefail
cd "$(dirname "$0")/.."
shopt -s nullglob
for bench in build-bench/bench/*; do
  [ -x "$bench" ] || continue
  echo "== $(basename "$bench")"
  "$bench" --benchmark_repetitions="${BENCH_REPETITIONS:-5}" --benchmark_report_aggregates_only=true "$@"
done
