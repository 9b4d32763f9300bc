# shellcheck shell=bash
# Sourced by the real-screen scripts and tools/playtest. game_window prints the id of the
# game's window once it shows (waiting at most a minute). xdotool's whole answer is read before
# its first line is taken: a reader that stopped at the first line could end xdotool by a
# broken pipe, and with pipefail that would end the script without a word.
game_window() {
  local windows
  windows=$(timeout 60 xdotool search --sync --onlyvisible --name '^Starvane$') || return
  echo "${windows%%$'\n'*}"
}
