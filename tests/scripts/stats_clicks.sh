#!/usr/bin/env bash
# The STATS page bought with real clicks in a window the picture does not fit by a whole
# multiple: the window is made 1000 x 700, so the picture is 933 x 700 from x 33 (run under
# xvfb-run). The ship teleports home, C opens the page, the pointer goes to the window pixel
# that shows the box of the maximum life (canvas 156, 122), a click buys, Escape closes the page
# and a second Escape ends the game, which saves the ship. Arguments: the starvane binary and a files
# directory holding Veteran.shp (money to spend). The recording, dump, standard error and exit
# status are left in that directory.
set -euo pipefail
source "$(dirname "$0")/../../tools/game-window.sh"
binary=$1
files=$2

SDL_RENDER_DRIVER=software "$(dirname "$0")/../../tools/real-screen" "$binary" \
  --window --difficulty very-easy --ship Veteran --seed 21 --files "$files" \
  --record "$files/recording.txt" --dump "$files/dump.json" 2>"$files/err" &
game=$!
trap 'kill $game 2>/dev/null || true' EXIT
window=$(game_window)
sleep 1
xdotool windowsize "$window" 1000 700
sleep 1

key() {  # a key held for a tenth of a second, as a hand would: the game reads keys once a frame
  xdotool keydown "$1"
  sleep 0.1
  xdotool keyup "$1"
  sleep 0.2
}

xdotool keydown t
sleep 4  # a full teleport charge takes about two seconds
xdotool keyup t
sleep 0.5
key c
sleep 0.5
# Canvas (156, 122): 33 + (2 * 156 + 1) * 933 / 1600 and (2 * 122 + 1) * 700 / 1200.
xdotool mousemove --window "$window" 215 142
sleep 0.5
xdotool click 1
sleep 0.5
key Escape
sleep 0.3
key Escape
trap - EXIT
status=0
wait $game || status=$?
echo "$status" >"$files/status"
