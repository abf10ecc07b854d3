#!/usr/bin/env bash
# Configures and builds one build tree.  Usage: scripts/build.sh [release|asan]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
kind="${1:-release}"
case "$kind" in
  release) dir="$here/build"; extra=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  asan)    dir="$here/build-asan"; extra=(-DCMAKE_BUILD_TYPE=Debug -DMIRELUNE_SANITIZE=ON) ;;
  *) echo "unknown build kind: $kind" >&2; exit 2 ;;
esac
cmake -S "$here" -B "$dir" -G Ninja "${extra[@]}" >/dev/null
cmake --build "$dir"
