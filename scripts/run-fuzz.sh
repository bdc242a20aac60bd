#!/usr/bin/env bash
# Builds the fuzz targets (the fuzz preset: clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer; only the libraries the targets link) and runs each one for
# FUZZ_SECONDS (default 60). Fails when any target finds a crash, a hang, a leak or a sanitizer
# report; the input that did it is kept as build-fuzz/artifacts/<target>-…
#
# New inputs that reach new code collect in build-fuzz/corpus/<target>/, never in fuzz/corpus/,
# which holds the small committed seeds: once a crasher is fixed, copy it there, so the corpus
# replay of the test build (ctest -L fuzz) keeps it fixed.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${FUZZ_SECONDS:-60}"
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake --preset fuzz "${launcher[@]}" >/dev/null
cmake --build --preset fuzz -j "${JOBS:-$(nproc)}"

mkdir -p build-fuzz/artifacts
failed=()
while read -r name binary seeds dict; do
  [ -n "$name" ] || continue
  work="build-fuzz/corpus/$name"
  mkdir -p "$work"
  args=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=16384
        -print_final_stats=1 -artifact_prefix="build-fuzz/artifacts/$name-")
  if [ -n "${dict:-}" ]; then args+=(-dict="$dict"); fi
  log="build-fuzz/$name.log"
  echo "fuzz $name: ${seconds}s"
  if "$binary" "${args[@]}" "$work" "$seeds" >"$log" 2>&1; then
    echo "  $(grep -E '^stat::(number_of_executed_units|new_units_added)' "$log" | tr -s ' \n' ' ' || true)"
  else
    failed+=("$name")
    tail -n 80 "$log"
  fi
done <build-fuzz/fuzz/targets.txt

echo "fuzz step: ${SECONDS}s (build and runs)"
if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzzing found faults in: ${failed[*]} (inputs in build-fuzz/artifacts/)" >&2
  exit 1
fi
