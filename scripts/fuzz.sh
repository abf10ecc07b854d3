#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer + ASan + UBSan) and runs each for a while.
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-20}"
shift || true

if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: clang++ not found, skipped" >&2
  exit 0
fi

dir="$here/build-fuzz"
CC=clang CXX=clang++ cmake -S "$here" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMIRELUNE_FUZZ=ON >/dev/null
cmake --build "$dir"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < "$dir/fuzzers.txt"
fi
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz: no targets"
  exit 0
fi

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
status=0
passed=0
failed=0
for t in "${targets[@]}"; do
  exe="$dir/fuzz/$t/fuzz_$t"
  [ -x "$exe" ] || exe="$(find "$dir/fuzz" -name "fuzz_$t" -type f | head -n 1)"
  scratch="$(mktemp -d)"
  seeds="$here/fuzz/corpus/$t"
  [ -d "$seeds" ] && cp -r "$seeds/." "$scratch/"
  args=(-max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=1024 -timeout=20 -print_final_stats=1)
  [ -f "$here/fuzz/$t.dict" ] && args+=(-dict="$here/fuzz/$t.dict")
  echo "== fuzz $t ($seconds s)"
  ok=1
  if [ -d "$here/fuzz/regressions/$t" ] && [ -n "$(ls -A "$here/fuzz/regressions/$t")" ]; then
    "$exe" -runs=0 -rss_limit_mb=2048 -malloc_limit_mb=1024 "$here/fuzz/regressions/$t"/* >"$scratch.log" 2>&1 || ok=0
  fi
  if [ $ok -eq 1 ]; then
    (cd "$scratch" && "$exe" "${args[@]}" "$scratch" >"$scratch.log" 2>&1) || ok=0
  fi
  if [ $ok -eq 1 ]; then
    passed=$((passed + 1))
    grep -E "stat::number_of_executed_units" "$scratch.log" | sed "s/^/   /" || true
  else
    failed=$((failed + 1))
    status=1
    tail -n 60 "$scratch.log"
    echo "fuzz $t: FAILED (artifacts, if any, in $scratch)"
  fi
done
echo "fuzz: $passed passed, $failed failed"
exit $status
