#!/usr/bin/env bash
# Installs what is missing, builds the normal and the sanitizer trees, and runs every test in both.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/install-deps.sh"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$here/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
jobs="$(nproc)"

status=0
for kind in release asan; do
  echo "== build ($kind)"
  "$here/scripts/build.sh" "$kind"
  dir="$here/build"; [ "$kind" = asan ] && dir="$here/build-asan"
  echo "== tests ($kind)"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" || status=1
done
echo "== fuzz (short runs)"
"$here/scripts/fuzz.sh" 20 || status=1
exit $status
