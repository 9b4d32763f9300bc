#!/usr/bin/env bash
# A new player's first start, with real clicks and keys on an X display (run under xvfb-run):
# the launcher opens, "New" opens the New Ship dialog, the name is typed over "SHIPNAME" and
# Return confirms it, "Normal" starts the game, which opens on the controls for a new ship; F1
# closes them, and Escape ends the game, which saves the ship.
# Arguments: the starvane binary and an empty files directory. The game's dump, standard error,
# exit status and recording are left in that directory.
set -euo pipefail
source "$(dirname "$0")/../../tools/game-window.sh"
binary=$1
files=$2

"$(dirname "$0")/../../tools/real-screen" "$binary" --window --seed 3 --files "$files" --dump "$files/dump.json" \
  --record "$files/recording.txt" 2>"$files/err" &
game=$!
trap 'kill $game 2>/dev/null || true' EXIT

window=$(game_window)
click() {  # x y: a left click at this point of the launcher's window
  xdotool mousemove --window "$window" "$1" "$2"
  sleep 0.3
  xdotool click 1
  sleep 0.5
}

key() {  # a key held for a tenth of a second, as a hand would: the game reads keys once a frame
  xdotool keydown "$1"
  sleep 0.1
  xdotool keyup "$1"
  sleep 0.1
}

click 275 110  # "New"
# The dialog's field has the focus with the cursor after "SHIPNAME": replace the name.
key End
for _ in 1 2 3 4 5 6 7 8; do key BackSpace; done
xdotool type --delay 60 'Nova'
sleep 0.3
key Return
sleep 0.8
click 145 65  # "Normal"
sleep 2
key F1
sleep 1
key Escape
trap - EXIT
status=0
wait $game || status=$?
echo "$status" >"$files/status"
