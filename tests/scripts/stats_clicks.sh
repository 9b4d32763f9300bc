#!/usr/bin/env bash
# The STATS page bought with real clicks in a window the picture does not fit by a whole
# multiple: the window is made 1000 x 700, so the picture is 933 x 700 from x 33 (run under
# xvfb-run). The ship teleports home, C opens the page, the pointer goes to the window pixel
# that shows the box of the maximum life (canvas 156, 122), a click buys, Escape closes the page
# and a second Escape ends the game, which saves the ship. Arguments: the starvane binary and a files
# directory holding Veteran.shp (money to spend). The recording, dump, standard error and exit
# status are left in that directory.
#
# Every step waits for frames the game has presented, never for a time: on a busy machine a
# frame may take far longer than its 20 ms, and a key let go before the game looked at it is
# never seen. The game's sound, written to a file as it plays, is the clock: it grows by one
# frame's samples (960 stereo 16-bit pairs) for each frame presented, the panel's included.
set -euo pipefail
source "$(dirname "$0")/../../tools/game-window.sh"
binary=$1
files=$2

SDL_RENDER_DRIVER=software "$(dirname "$0")/../../tools/real-screen" "$binary" \
  --window --difficulty very-easy --ship Veteran --seed 21 --files "$files" \
  --record "$files/recording.txt" --dump "$files/dump.json" --audio-out "$files/sound.wav" \
  2>"$files/err" &
game=$!
trap 'kill $game 2>/dev/null || true' EXIT

frames() {  # the frames presented so far, as far as the sound file shows them
  local bytes
  bytes=$(stat -c %s "$files/sound.wav" 2>/dev/null || echo 0)
  echo $(((bytes > 44 ? bytes - 44 : 0) / 3840))
}
# The file is written through a buffer of the file system's block size, so it may show up to a
# block's worth of frames fewer than were presented. An event sent now is taken from the queue
# by the next frame or the one after, and looked at in the frame after that: waiting this many
# frames of the file is sure to cover all of it.
settle=$(($(stat -c %o "$files") / 3840 + 4))
after_frames() {  # N: waits until the game has presented N frames more (or has ended)
  { local trace=$- until; set +x; } 2>/dev/null  # the trace shows the wait, not each look
  until=$(($(frames) + $1))
  while (($(frames) < until)) && kill -0 "$game" 2>/dev/null; do sleep 0.05; done
  if [[ $trace == *x* ]]; then set -x; fi
  : "frame $(frames), waited for $until"
}
key() {  # a key held until the game has seen it down, then until it has seen it up
  xdotool keydown "$1"
  after_frames "$settle"
  xdotool keyup "$1"
  after_frames "$settle"
}

window=$(game_window)
xdotool windowsize "$window" 1000 700
after_frames "$settle"

# A full teleport charge takes 99 frames of T held (with energy left).
xdotool keydown t
after_frames $((settle + 110))
xdotool keyup t
after_frames "$settle"
key c
# Canvas (156, 122): 33 + (2 * 156 + 1) * 933 / 1600 and (2 * 122 + 1) * 700 / 1200.
xdotool mousemove --window "$window" 215 142
after_frames "$settle"
xdotool click 1
after_frames "$settle"  # the purchase follows one panel frame after the click is seen
key Escape
key Escape
trap - EXIT
status=0
wait $game || status=$?
echo "$status" >"$files/status"
