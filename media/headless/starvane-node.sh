#!/bin/sh
# starvane-node: the game's WebAssembly core, run by node with the desktop program's command line
# (starvane-node --headless --seed 7 --input s.txt --dump -). Its output, messages and exit status
# are the game's own; starvane-node.js lies beside this launcher.
here=$(dirname "$(readlink -f "$0")")
if ! command -v node >/dev/null 2>&1; then
  echo "starvane-node: node is not installed (tools/need-packages node)" >&2
  exit 127
fi
exec node "$here/starvane-node.js" "$@"
