#!/usr/bin/env bash
# The real viewer under Xvfb, started in a folder deep in a tree: captures the screen and
# checks the folder list's glyphs where a user sees them, each path line's folder 4 pixels
# further in than the one above and the subfolders 4 pixels further than the current one.
#
# Usage: left_column_screenshot.sh MIRELUNE [OUTDIR]   (OUTDIR keeps screen.png)
set -euo pipefail

viewer="$1"
out="${2:-}"
for tool in Xvfb xdotool import convert python3; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 77; }
done

work="$(mktemp -d)"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
[ -n "$out" ] || out="$work"
mkdir -p "$out"

deep="$work/Mes Photos/2004/Noël"
mkdir -p "$deep/Famille" "$deep/amis" "$deep/Zoo" "$deep/.cache"
for f in IMG_0001.JPG img_0002.jpg Sapin.bmp logo.ico notes.txt; do echo x > "$deep/$f"; done

# A free display, chosen by the server itself.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=("$!")
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "SKIP: Xvfb did not start"; exit 77; }
export DISPLAY=":$(head -n1 "$work/display")"

(cd "$deep" && XDG_CONFIG_HOME="$work/config" exec env -u QT_QPA_PLATFORM "$viewer") >"$work/viewer.log" 2>&1 &
pids+=("$!")
# Wait for the window, then for its first paint to settle.
for _ in $(seq 300); do xdotool search --onlyvisible --name '^Mirelune$' >/dev/null 2>&1 && break; sleep 0.1; done
xdotool search --onlyvisible --name '^Mirelune$' >/dev/null 2>&1 || { cat "$work/viewer.log"; echo "FAIL: no window"; exit 1; }
sleep 1
import -window root "$out/screen.png"
convert "$out/screen.png" -crop 400x1024+0+0 +repage "$work/left.ppm"

python3 - "$work/left.ppm" "$deep" <<'PY'
import sys
data = open(sys.argv[1], 'rb').read()
# P6 header: magic, width, height, maxval
parts = data.split(b'\n', 3)
w, h = map(int, parts[1].split())
pix = parts[3]
def yellow(x, y):
    i = 3 * (y * w + x)
    return pix[i] > 240 and pix[i + 1] > 240 and pix[i + 2] < 40
# Rows holding yellow, grouped into one band a glyph (a glyph's own white rows leave
# gaps of a row or two; lines are 16 rows apart).
bands, current, last = [], None, -10
for y in range(h):
    xs = [x for x in range(w) if yellow(x, y)]
    if not xs:
        continue
    if current is not None and y - last <= 3:
        current[1] = min(current[1], min(xs))
    else:
        if current is not None: bands.append(tuple(current))
        current = [y, min(xs)]
    last = y
if current is not None: bands.append(tuple(current))
lefts = [x for _, x in bands]
depth = sys.argv[2].rstrip('/').count('/')  # path lines below "/" plus "/" itself
path_lines = depth + 1
subfolders = 3
print("glyph bands (top, left):", bands)
if len(lefts) < path_lines + 1:
    sys.exit("too few folder glyphs on screen: %d" % len(lefts))
steps = [b - a for a, b in zip(lefts, lefts[1:])]
if any(s != 4 for s in steps[:path_lines]):
    sys.exit("path lines are not 4 pixels apart: %s" % steps)
if any(s != 0 for s in steps[path_lines:path_lines + subfolders - 1]):
    sys.exit("subfolders do not share one indent: %s" % steps)
print("indents right: steps", steps)
PY
echo "PASS: screenshot in $out/screen.png"
