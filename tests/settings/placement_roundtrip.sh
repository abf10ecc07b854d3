#!/usr/bin/env bash
# The real viewer under Xvfb with a window manager: start it with a JPEG picture, move and
# resize the window, widen the left column, pick the scale 1:4 and tick "Visualisation
# incrémentale", quit with "Quitter", start again.  Checks that the second start puts the
# window's inside exactly where it was, with the same column width and options, and that the
# start-up picture was decoded at the restored scale.  Screenshots of both starts go to OUTDIR.
#
# Usage: placement_roundtrip.sh MIRELUNE TESTDATA [OUTDIR]
set -euo pipefail

viewer="$1"
testdata="$2"
out="${3:-}"
picture="$testdata/jpeg/corkami/progressive.jpg"
for tool in Xvfb openbox xdotool xwininfo import; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 77; }
done
[ -f "$picture" ] || { echo "SKIP: $picture missing"; exit 77; }

work="$(mktemp -d)"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
[ -n "$out" ] || out="$work/shots"
mkdir -p "$out" "$work/config"

exec 5> "$work/display"
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$work/display")"
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

export XDG_CONFIG_HOME="$work/config"
ini="$work/config/Mirelune.ini"

# Starts the viewer and answers its main window once it is mapped.
start_viewer() {
  "$viewer" "$picture" >/dev/null 2>&1 &
  viewer_pid=$!
  pids+=($viewer_pid)
  for _ in $(seq 100); do
    win="$(xdotool search --onlyvisible --name '^Mirelune$' 2>/dev/null | tail -n 1 || true)"
    [ -n "$win" ] && break
    sleep 0.1
  done
  [ -n "$win" ] || { echo "FAIL: no window"; exit 1; }
  sleep 1.5
}

inside() {  # x y width height of the window's inside
  xwininfo -id "$win" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}'
}

click_at() {  # x y inside the window
  read -r x y _ _ <<< "$(inside)"
  xdotool mousemove $((x + $1)) $((y + $2)) click 1
  sleep 0.5
}

quit_viewer() {
  click_at $((743 + 22)) $((4 + 11))  # "Quitter" in the top bar
  for _ in $(seq 50); do kill -0 "$viewer_pid" 2>/dev/null || return 0; sleep 0.1; done
  echo "FAIL: the viewer did not quit"
  exit 1
}

value() { grep -a "^$1=" "$ini" | head -n 1 | cut -d= -f2- | tr -d '\r'; }

# First start: no file, the window centred at its created size.
start_viewer
import -window root "$out/first-start.png"
xdotool windowsize --sync "$win" 900 650 || true
sleep 0.5
xdotool windowmove --sync "$win" 204 150 || true
sleep 1
[ "$(inside | cut -d' ' -f3,4)" = "900 650" ] || { echo "FAIL: the window manager did not resize the window: $(inside)"; exit 1; }
# Widen the left column by dragging the splitter right of it.
read -r x y _ _ <<< "$(inside)"
xdotool mousemove $((x + 146)) $((y + 400)) mousedown 1
sleep 0.2
xdotool mousemove $((x + 200)) $((y + 400))
sleep 0.2
xdotool mousemove $((x + 246)) $((y + 400)) mouseup 1
sleep 0.5
click_at 496 24   # "Visualisation incrémentale"
click_at 225 16   # the scale list, then 1:4
xdotool key Down Down Return
sleep 1.5
before="$(inside)"
import -window root "$out/first-changed.png"
quit_viewer

[ -f "$ini" ] || { echo "FAIL: no settings file"; exit 1; }
[ "$(value Scale_ItemIndex)" = 2 ] || { echo "FAIL: Scale_ItemIndex=$(value Scale_ItemIndex)"; exit 1; }
[ "$(value IncrementalDisplay_Checked)" = True ] || { echo "FAIL: IncrementalDisplay_Checked"; exit 1; }
width="$(value Panel1_Width)"
[ "$width" -gt 145 ] || { echo "FAIL: Panel1_Width=$width"; exit 1; }
saved="$(cat "$ini")"

# Second start: the same place, size and options.
start_viewer
import -window root "$out/second-start.png"
after="$(inside)"
quit_viewer

echo "inside before quitting: $before; at the next start: $after"
[ "$before" = "$after" ] || { echo "FAIL: the window moved"; exit 1; }
[ "$(cat "$ini")" = "$saved" ] || { echo "FAIL: the second run saved something else"; diff <(echo "$saved") "$ini" || true; exit 1; }
echo "PASS"
