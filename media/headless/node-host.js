// What node gives the program differently from Linux, set right before main runs, so that
// starvane-node behaves as the desktop program does.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  var nodeFs = require('fs');
  var O_ACCMODE = 3, O_RDONLY = 0, O_NONBLOCK = 2048;  // the C library's flags

  // /proc/self/exe names node itself, so the game would keep its ships next to node. The
  // program a player runs is starvane-node, and this script lies beside it: the link names this
  // script, so that "next to the program" is the same folder as on the desktop.
  var readlink = FS.readlink;
  var script = require('path').resolve(process.argv[1]);
  FS.readlink = function (path) {
    return path === '/proc/self/exe' ? script : readlink.apply(this, arguments);
  };

  // The game opens without waiting, so that a named pipe cannot hold it up: a read never waits
  // for a writer (and what is no regular file is then refused), and a write to a pipe that no
  // program reads fails at once (ENXIO). The file system of node drops that flag, so a read
  // keeps it here; a write probes the pipe without waiting and then opens it as usual, since
  // node cannot make a descriptor wait again and a pipe whose reader is slow would fail.
  var flagsForNode = NODEFS.flagsForNode;
  NODEFS.flagsForNode = function (flags) {
    var reading = (flags & O_ACCMODE) === O_RDONLY;
    var nonblocking = reading && (flags & O_NONBLOCK) !== 0;
    return flagsForNode(flags) | (nonblocking ? nodeFs.constants.O_NONBLOCK : 0);
  };
  var open = FS.open;
  FS.open = function (path, flags) {
    if (typeof flags === 'number' && (flags & O_NONBLOCK) && (flags & O_ACCMODE) !== O_RDONLY) {
      try {
        if (nodeFs.statSync(path).isFIFO()) {
          nodeFs.closeSync(nodeFs.openSync(path, nodeFs.constants.O_WRONLY |
                                                    nodeFs.constants.O_NONBLOCK));
        }
      } catch (e) {
        if (e.code === 'ENXIO') throw new FS.ErrnoError(ERRNO_CODES.ENXIO);
      }
    }
    var stream = open.apply(this, arguments);
    // Node writes at the given position, which a pipe, a socket or a terminal refuses (ESPIPE).
    if (stream && stream.nfd !== undefined) {
      var info = nodeFs.fstatSync(stream.nfd);
      stream.seekable = !(info.isFIFO() || info.isSocket() || require('tty').isatty(stream.nfd));
    }
    return stream;
  };
  // Nor can a pipe seek: the program learns it (ESPIPE) and writes what it would have gone back
  // to rewrite (a sound file's sizes) as it goes.
  var llseek = FS.llseek;
  FS.llseek = function (stream) {
    if (stream.nfd !== undefined && !stream.seekable) throw new FS.ErrnoError(ERRNO_CODES.ESPIPE);
    return llseek.apply(this, arguments);
  };

  // Node opens /dev/null in place of a standard stream that was closed when it started; the
  // launcher names those, and the program finds them closed, as it would on the desktop.
  var closed = (process.env.STARVANE_NODE_CLOSED || '').split(' ').filter(Boolean).map(Number);
  var init = FS.init;
  FS.init = function () {
    init.apply(this, arguments);
    closed.forEach(function (fd) {
      if (FS.streams[fd]) FS.closeStream(fd);
    });
  };
});
