#!/bin/sh
# starvane-node: the game's WebAssembly core, run by node with the desktop program's command line
# (starvane-node --headless --seed 7 --input s.txt --dump -). Its output, messages and exit status
# are the game's own; starvane-node.js lies beside this launcher.
here=$(dirname "$(readlink -f "$0")")
if ! command -v node >/dev/null 2>&1; then
  echo "starvane-node: node is not installed (tools/need-packages node)" >&2
  exit 127
fi
# Node puts /dev/null in place of a closed standard output or error; the program is told which
# were closed, so that what it writes there fails as it would on the desktop.
closed=
(exec 3>&1) 2>/dev/null || closed=1
(exec 3>&2) || closed="$closed 2"
STARVANE_NODE_CLOSED=$closed exec node "$here/starvane-node.js" "$@"
