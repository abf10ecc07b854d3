#!/bin/sh
# Rebuilds the small JPEG fixtures of the JPEG tests from pictures drawn by ImageMagick,
# encoded by cjpeg.  Run from this folder; the output is committed.
set -eu
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# A colour picture with detail in both directions (so that the DCT methods differ).
convert -size 640x480 gradient:'#ff4000-#0040ff' \( -size 640x480 pattern:checkerboard -blur 0x2 \) \
  -compose multiply -composite -depth 8 "$tmp/colour640.ppm"
cjpeg -quality 85 -outfile colour-640x480.jpg "$tmp/colour640.ppm"
cjpeg -quality 85 -progressive -outfile colour-640x480-progressive.jpg "$tmp/colour640.ppm"

convert -size 1000x750 gradient:'#20c040-#c02040' -depth 8 "$tmp/wide.ppm"
cjpeg -quality 75 -outfile colour-1000x750.jpg "$tmp/wide.ppm"

convert -size 16x16 xc:'#ff0000' -depth 8 "$tmp/red.ppm"
cjpeg -quality 95 -outfile red-16x16.jpg "$tmp/red.ppm"

convert -size 64x48 gradient:white-black -depth 8 "$tmp/grey.pgm"
cjpeg -quality 90 -grayscale -outfile grey-64x48.jpg "$tmp/grey.pgm"

convert -size 1x1 xc:'#3080c0' -depth 8 "$tmp/one.ppm"
cjpeg -outfile one-1x1.jpg "$tmp/one.ppm"

convert -size 64x8 gradient:'#00ff00-#0000ff' -depth 8 "$tmp/strip.ppm"
cjpeg -outfile strip-64x8.jpg "$tmp/strip.ppm"

# The progressive picture with its third scan naming a component the frame does not have:
# the header reads, decoding fails.
python3 - colour-640x480-progressive.jpg bad-later-scan.jpg <<'PY'
import sys
data = bytearray(open(sys.argv[1], 'rb').read())
pos, seen = 0, 0
while True:
    pos = data.index(b'\xff\xda', pos + 1)
    seen += 1
    if seen == 3:
        data[pos + 5] = 93  # first component selector of the scan
        break
open(sys.argv[2], 'wb').write(bytes(data))
PY

# A grey picture in a hundred scans (cjpeg's most): spectral selection of every
# coefficient, then refinement of the first ones.
{
  echo "0: 0-0, 0, 1;"
  echo "0: 0-0, 1, 0;"
  for k in $(seq 1 63); do echo "0: $k-$k, 0, 1;"; done
  for k in $(seq 1 35); do echo "0: $k-$k, 1, 0;"; done
} > "$tmp/many.scans"
convert -size 96x64 gradient:white-black -depth 8 "$tmp/many.pgm"
cjpeg -quality 90 -grayscale -scans "$tmp/many.scans" -outfile many-scans-96x64.jpg "$tmp/many.pgm"

# The baseline picture cut a little after its header.
head -c 2500 colour-640x480.jpg > truncated-640x480.jpg

printf 'not a picture at all\n' > not-jpeg.jpg
# Four components as ImageMagick shows them (needs the shared samples).
convert "${MIRELUNE_TESTDATA:-../../../../shared/testdata}/jpeg/jpegsuite/baseline/32x32x8_cmyk_interleaved.jpg" -colorspace sRGB cmyk-32x32.ppm
