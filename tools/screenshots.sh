#!/usr/bin/env bash
# Takes the screenshots in docs/screenshots from the release build: the scene from the cab and
# from outside at fixed places of scenery 1 (offscreen), the game's own frames with the dashboard,
# a penalty and the options dialog (offscreen, driven by a script of timed input), and the windows
# the game cannot picture itself, the first options dialog and the end-of-run message box (in a
# real X window under Xvfb, driven by xdotool and dumped with xwd).
#
#   make build && bash tools/screenshots.sh [OUTPUT_FOLDER]
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
game="$here/build/release/tagvind"
out="$(realpath -m "${1:-$here/docs/screenshots}")"
mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
[ -x "$game" ] || { echo "no $game: run make build first" >&2; exit 1; }

# The scene alone, after the autopilot has driven scenery 1 (20 km, 3 km) for so many seconds.
shot() {  # name seconds view
  SDL_VIDEODRIVER=offscreen "$game" shot --seed 1 --length 20 --drive "$2" --view "$3" --size 800x600 \
    --png "$out/$1.png" >/dev/null
  echo "$out/$1.png"
}
shot scene-start-cab 0 cab
shot scene-lake-curve-outside 165 outside
shot scene-tunnel-cab 429 cab
shot scene-meeting-station-outside 600 outside
shot scene-destination-cab 933 cab
shot scene-roof-outside 100 outside

# The game offscreen on a timer of 50 ms a turn: script lines are JSON, times in game seconds.
play() {  # script arguments...
  local script="$1"
  shift
  printf '%s\n' "$script" >"$work/events.jsonl"
  (cd "$work" && SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "$game" play --offscreen --fixed-frame-ms 50 \
    --events events.jsonl --window 800x600 --sound off "$@" >/dev/null)
}
# Full power from the start runs past the starting signal at danger: the penalty message.
play "$(for i in $(seq 0 12); do echo "{\"at\": 0.$((50 + i * 3)), \"key\": \"KP_PLUS\"}"; done)
{\"at\": 8, \"screenshot\": \"$out/game-cab-penalty.png\"}
{\"at\": 9, \"close\": true}" --length 10 --quit-after 600
# The autopilot's run from the cab, from outside, and with the start options open over the game.
play "{\"at\": 150, \"screenshot\": \"$out/game-cab.png\"}
{\"at\": 160, \"key\": \"F9\"}
{\"at\": 170, \"screenshot\": \"$out/game-outside.png\"}
{\"at\": 175, \"key\": \"F9\"}
{\"at\": 180, \"key\": \"F2\"}
{\"at\": 181, \"screenshot\": \"$out/game-options-over-the-game.png\"}
{\"at\": 182, \"key\": \"ESCAPE\"}
{\"at\": 183, \"close\": true}" --autopilot --length 10 --quit-after 600
ls "$out"/game-*.png

# A real window under Xvfb for the first options dialog and the end-of-run message box.
if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null || ! command -v xwd >/dev/null; then
  echo "Xvfb, xdotool and xwd are needed for the dialog and message box screenshots" >&2
  exit 1
fi
display=":$((90 + RANDOM % 40))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
sleep 2
export DISPLAY="$display"
dump() {  # window|root name
  if [ "$1" = root ]; then xwd -silent -root >"$work/dump.xwd"; else xwd -silent -id "$1" >"$work/dump.xwd"; fi
  python3 "$here/tools/xwd_to_png.py" "$work/dump.xwd" "$out/$2.png"
  echo "$out/$2.png"
}
(cd "$work" && exec env -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy "$game" play --autopilot --length 5 --meeting 2 \
  --window 800x600 --fixed-frame-ms 50 --quit-after 600 >"$work/play.out" 2>&1) &
game_pid=$!
dialog="$(timeout 30 xdotool search --sync --name '^Tagvind Options$' | head -1)"
sleep 1
dump "$dialog" options-dialog
xdotool mousemove --window "$dialog" 60 60 key Return
window="$(timeout 30 xdotool search --sync --name '^Tagvind$' | head -1)"
xdotool mousemove --window "$window" 400 300
# The message box is a window of its own, captioned "End", over the game's window (xdotool's
# search does not find it, xwininfo lists it).
for _ in $(seq 1 580); do
  xwininfo -root -tree | grep -q '"End"' && break
  sleep 1
done
sleep 1
dump root end-of-run-message
# The game waits in its message box, which it asked of SDL; only a kill ends that wait, and the
# box is a process of its own.
kill -9 "$game_pid" 2>/dev/null || true
wait "$game_pid" 2>/dev/null || true
pkill -9 -f "^$game " 2>/dev/null || true

# The game window on a desktop with a window manager: resized, and the start options over a
# window too small to hold them (the dialog then has a window of its own).
if command -v openbox >/dev/null; then
  openbox >/dev/null 2>&1 &
  wm=$!
  trap 'kill $wm $xvfb 2>/dev/null; rm -rf "$work"' EXIT
  sleep 1
  (cd "$work" && exec env -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy "$game" play --autopilot --sound off \
    --quit-after 600 >"$work/desktop.out" 2>&1) &
  game_pid=$!
  dialog="$(timeout 30 xdotool search --sync --name '^Tagvind Options$' | head -1)"
  xdotool windowactivate --sync "$dialog" key Return
  window="$(timeout 30 xdotool search --sync --name '^Tagvind$' | head -1)"
  xdotool windowmove "$window" 40 40 windowsize "$window" 960 600
  sleep 3
  dump root desktop-window-960x600
  for size in 300 100; do
    xdotool windowsize "$window" "$size" "$size" windowactivate --sync "$window" key F2
    options="$(timeout 30 xdotool search --sync --name '^Tagvind Options$' | head -1)"
    sleep 1
    dump root "desktop-options-over-${size}x${size}"
    xdotool windowactivate --sync "$options" key Escape
    sleep 1
  done
  kill "$game_pid" 2>/dev/null || true
  wait "$game_pid" 2>/dev/null || true
fi
