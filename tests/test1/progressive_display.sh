#!/usr/bin/env bash
# The real viewer under Xvfb (with a window manager, so that the title bar is drawn), started
# with a large progressive JPEG and pass-by-pass, incremental display on.  While it decodes,
# the title is read and the screen captured again and again.  Checks that a percentage
# showed in the title, that the title ended on "Mirelune", and that a picture was on the
# screen before the final one which differs from it (a coarse pass).
#
# Usage: progressive_display.sh MIRELUNE TESTDATA [OUTDIR]   (OUTDIR keeps the screenshots)
set -euo pipefail

viewer="$1"
testdata="$2"
out="${3:-}"
source_photo="$testdata/jpeg/photos/012mp-bus.jpg"
for tool in Xvfb openbox xdotool import compare convert jpegtran; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 77; }
done
[ -f "$source_photo" ] || { echo "SKIP: $source_photo missing"; exit 77; }

work="$(mktemp -d)"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
[ -n "$out" ] && mkdir -p "$out" || out="$work/shots"
mkdir -p "$out"

# A 12-megapixel photograph made progressive (losslessly): decoding it pass by pass takes
# a few seconds here.
jpegtran -progressive "$source_photo" > "$work/large.jpg"

mkdir -p "$work/config"
printf '[TForm1]\r\nProgressiveDisplay_Checked=1\r\nIncrementalDisplay_Checked=1\r\n' > "$work/config/Mirelune.ini"

exec 5> "$work/display"
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb "$viewer" "$work/large.jpg" >"$work/viewer.log" 2>&1 &
viewer_pid=$!
pids+=($viewer_pid)

window=""
for _ in $(seq 200); do
  window="$(xdotool search --pid "$viewer_pid" --onlyvisible 2>/dev/null | head -1 || true)"
  [ -n "$window" ] && break
  sleep 0.05
done
[ -n "$window" ] || { echo "FAIL: no window"; cat "$work/viewer.log"; exit 1; }

# Read the title and capture the screen until the decoding has ended.
titles="$work/titles"
: > "$titles"
shot=0
seen_percent=0
for _ in $(seq 600); do
  title="$(xdotool getwindowname "$window" 2>/dev/null || echo '?')"
  echo "$title" >> "$titles"
  if [[ "$title" =~ ^[0-9]+%$ ]]; then
    seen_percent=1
    shot=$((shot + 1))
    import -window root "$out/during-$(printf %02d $shot)-${title%\%}.png"
  elif [ "$title" = "Mirelune" ] && [ $seen_percent = 1 ]; then
    break
  fi
  sleep 0.02
done
sleep 0.5
import -window root "$out/final.png"
uniq "$titles" > "$out/titles.txt"

status=0
grep -Eq '^[0-9]+%$' "$titles" || { echo "FAIL: no percentage in the title"; status=1; }
[ "$(tail -1 "$titles")" = "Mirelune" ] || { echo "FAIL: the title did not end on Mirelune"; status=1; }

# The picture area: right of the left column, below the top bar, inside the client area.
geometry="$(xdotool getwindowgeometry --shell "$window")"
eval "$geometry"
crop="600x400+$((X + 200))+$((Y + 60))"
convert "$out/final.png" -crop "$crop" +repage "$work/final-area.png"
coarse=0
for f in "$out"/during-*.png; do
  [ -e "$f" ] || continue
  convert "$f" -crop "$crop" +repage "$work/area.png"
  # Something drawn (not the flat background) that is not yet the final picture.
  spread="$(convert "$work/area.png" -colorspace gray -format '%[fx:standard_deviation]' info:)"
  # compare answers 1 when the pictures differ, which is what is looked for.
  diff="$(compare -metric RMSE "$work/area.png" "$work/final-area.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/' || true)"
  if awk -v s="$spread" -v d="$diff" 'BEGIN { exit !(s > 0.02 && d > 0.005) }'; then
    coarse=1
    echo "coarse picture: $(basename "$f") (spread $spread, difference from final $diff)"
    break
  fi
done
[ $coarse = 1 ] || { echo "FAIL: no coarse picture before the final one"; status=1; }

echo "titles: $(tr '\n' ' ' < "$out/titles.txt")"
echo "screenshots: $shot during the decoding, in $out"
exit $status
