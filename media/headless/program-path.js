// Under node, /proc/self/exe names node itself, so the game would keep its ships next to node
// (or, where that cannot be written, in the XDG folder). The program a player runs is
// starvane-node, and this script lies beside it: reading the link gives this script's path, so
// that "next to the program" means the same folder as on the desktop.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  var readlink = FS.readlink;
  var script = require('path').resolve(process.argv[1]);
  FS.readlink = function (path) {
    return path === '/proc/self/exe' ? script : readlink.apply(this, arguments);
  };
});
