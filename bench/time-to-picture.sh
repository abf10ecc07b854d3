#!/usr/bin/env bash
# Builds the viewer with its paint trace (a tree of its own) and measures the time to picture
# of a 24-megapixel JPEG against the bare library's decode.  Usage: bench/time-to-picture.sh [RUNS]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
runs="${1:-5}"
trace="$here/build-trace"
cmake -S "$here" -B "$trace" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIRELUNE_PAINT_TRACE=ON \
  -DMIRELUNE_TESTS=OFF -DMIRELUNE_BENCH=ON >/dev/null
cmake --build "$trace" --target mirelune bench_time_to_picture
photo="$trace/photo-24mp-baseline.jpg"
if [ ! -f "$photo" ]; then
  src="$here/../shared/testdata/jpeg/photos/012mp-bus.jpg"
  convert "$src" -resize '6000x4000!' "$trace/photo-24mp.ppm"
  cjpeg -quality 90 -outfile "$photo" "$trace/photo-24mp.ppm"
  rm -f "$trace/photo-24mp.ppm"
fi
"$trace/bench/bench_time_to_picture" "$trace/app/mirelune" "$photo" "$runs"
