#!/usr/bin/env bash
# A player holds thrust and fire in a window, and the focus goes elsewhere (here to the root
# window, with the pointer moved off the game's window, as a window manager's Alt+Tab would);
# the keys are let go while the game is not listening, the focus comes back, P goes on and
# Escape ends the game. Run under xvfb-run. Arguments: the starvane binary and a files
# directory holding Veteran.shp. The recording, dump, standard error and exit status are left
# in that directory.
set -euo pipefail
source "$(dirname "$0")/../../tools/game-window.sh"
binary=$1
files=$2

"$(dirname "$0")/../../tools/real-screen" "$binary" --window --difficulty easy --ship Veteran \
  --seed 2 --files "$files" --record "$files/recording.txt" --dump "$files/dump.json" \
  2>"$files/err" &
game=$!
trap 'kill $game 2>/dev/null || true' EXIT

window=$(game_window)
xdotool windowfocus --sync "$window"
sleep 1
xdotool keydown Up space
sleep 1
# With the focus on the root window, keys go to the window under the pointer: move it away.
xdotool mousemove 0 0
root=$(xdotool search --maxdepth 0 --name '')
xdotool windowfocus --sync "${root%%$'\n'*}"
sleep 1
xdotool keyup Up space
sleep 0.5
xdotool windowfocus --sync "$window"
sleep 0.5
xdotool keydown p
sleep 0.1
xdotool keyup p
sleep 1
xdotool keydown Escape
sleep 0.1
xdotool keyup Escape
trap - EXIT
status=0
wait $game || status=$?
echo "$status" >"$files/status"
