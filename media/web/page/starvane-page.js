// The page around the browser build of Starvane: it keeps the browser's keyboard and mouse
// events until the game asks for them (media/web/web_screen.cpp), shows the frames on the
// canvas, keeps the files directory (ships.txt, the ship files and the kept games in replays/)
// in IndexedDB, and offers a ship file to download or upload. It lists the kept games, watches
// one as a film with its own controls (the game's --watch), and makes and opens links that hold
// a whole recording in their fragment ("#r=": raw deflate, then base64url), which the browser
// never sends to the server. Nothing of the game itself lives here.
//
// For tests and measurements: "?hold" waits for starvane.start(args, files) instead of starting
// the game, and starvane.result, starvane.frameWork and starvane.firstFrameAt tell what happened;
// starvane.filesKept() is true when every change of the files is in IndexedDB; starvane.film is
// what the film last showed, starvane.sharedLink the last link Share made.
'use strict';

var starvane = {
  result: null, frameWork: [], firstFrameAt: null, shown: null, started: false, soundFrames: 0,
  framesShown: 0,  // every picture the game presented: a clock for tests that counts frames
  film: null, sharedLink: null,
};

var Module = (function () {
  const filesDirectory = '/starvane';
  const params = new URLSearchParams(location.search);
  const stage = document.getElementById('stage');
  const screen = document.getElementById('screen');
  const context = screen.getContext('2d', {alpha: false});  // opaque: nothing to blend
  const statusLine = document.getElementById('status');

  // What the browser told since the game last asked: key lines (see TakeEventLine) and the mouse.
  let lines = [];
  let pointer = null;           // on the stage, in CSS pixels
  const held = [false, false, false];     // the game's buttons 1 (left), 2 (right), 3 (middle)
  const pressed = [false, false, false];  // went down since the game last asked
  let wheel = 0;                // steps away from the player
  let shownAt = null;
  let heldShip = null;  // the ship lock this page holds: {key, release}
  let placed = '';      // where the picture was last placed (show)
  let watching = false;  // the game plays a recording as a film (--watch): keys steer the film
  let filmLength = 0;

  function say(text) { statusLine.textContent = text; }
  // What the game wrote on its standard error (warnings, and why it failed): the last one on
  // the status line, all of them where the game's end is told.
  const messages = [];
  function gameSays(text) {
    if (messages.length < 50) messages.push(text);
    say(text);
  }

  // The player's keyboard layout, for the help page's key labels (Chromium tells it; the
  // others leave the US labels).
  let layout = null;
  if (navigator.keyboard && navigator.keyboard.getLayoutMap) {
    navigator.keyboard.getLayoutMap().then((map) => { layout = map; }, () => {});
  }

  // ---- Keyboard --------------------------------------------------------------------------
  // The browser keeps F5 (reload), F11 (full screen) and its shortcuts with the system key or
  // Ctrl+Shift; every other key is the game's, so that none scrolls or navigates the page.
  function browserKeeps(event) {
    return event.code === 'F5' || event.code === 'F11' || event.metaKey ||
        (event.ctrlKey && event.shiftKey);
  }
  function inForm(event) {
    const tag = event.target && event.target.tagName;
    return tag === 'SELECT' || tag === 'INPUT';
  }
  window.addEventListener('keydown', (event) => {
    if (inForm(event) || browserKeeps(event)) return;
    event.preventDefault();
    if (event.code === 'Enter' && event.altKey) {  // Alt+Enter: full screen, as on the desktop
      if (!event.repeat) toggleFullScreen();
      return;
    }
    if (watching) {  // the recording is the game's input: the keys steer the film
      const line = filmLineOfKey(event);
      if (line) filmCommand(line);
      return;
    }
    lines.push('D' + event.code);
    if (!event.ctrlKey && !event.altKey && [...event.key].length === 1) lines.push('T' + event.key);
  });
  window.addEventListener('keyup', (event) => {
    if (inForm(event) || browserKeeps(event)) return;
    event.preventDefault();
    if (!watching) lines.push('U' + event.code);
  });

  // ---- Game controllers --------------------------------------------------------------------
  // A controller that the browser maps as a standard one (the Gamepad API), looked at whenever
  // the game takes its events: each of its buttons, triggers and stick directions that went down
  // or up is a line "PD" or "PU" with that input's key code (media/key_bindings.hpp), which the
  // game makes keys of by the player's bindings, as on the desktop.
  const padButtonCodes = [224, 225, 226, 227, 233, 234, 247, 248, 228, 230, 231, 232, 235, 236,
                          237, 238, 229];
  const padAxisCodes = [[239, 240], [241, 242], [243, 244], [245, 246]];
  const padDeadZone = 8000 / 32767;  // the desktop's, of a stick's or trigger's way
  let padHeld = new Set();
  function pollGamepads() {
    if (watching || !navigator.getGamepads) return;
    const held = new Set();
    for (const pad of navigator.getGamepads()) {
      if (!pad || !pad.connected || pad.mapping !== 'standard') continue;
      pad.buttons.forEach((button, i) => {
        const trigger = i === 6 || i === 7;  // analogue: held past the dead zone
        if (i < padButtonCodes.length && (trigger ? button.value >= padDeadZone : button.pressed)) {
          held.add(padButtonCodes[i]);
        }
      });
      pad.axes.forEach((value, i) => {
        if (i >= padAxisCodes.length) return;
        if (value <= -padDeadZone) held.add(padAxisCodes[i][0]);
        if (value >= padDeadZone) held.add(padAxisCodes[i][1]);
      });
    }
    for (const code of held) if (!padHeld.has(code)) lines.push('PD' + code);
    for (const code of padHeld) if (!held.has(code)) lines.push('PU' + code);
    padHeld = held;
  }

  // ---- The film ----------------------------------------------------------------------------
  // A watched recording is steered by "W" lines among the events (media/web/web_screen.cpp):
  // Wp pause or play, Ws one frame forward, W- and W+ slower and faster, Wv and a speed in
  // quarters, Wk and a frame to seek to, Wb and frames to seek by, Wq the viewer closes it.
  // The keys are the desktop's.
  const framesPerSecond = 50;
  function filmLineOfKey(event) {
    const digit = /^(?:Digit|Numpad)([1-9])$/.exec(event.code);
    if (digit) return 'Wk' + Math.floor(filmLength * Number(digit[1]) / 10);
    switch (event.code) {
      case 'Space': return event.repeat ? null : 'Wp';
      case 'ArrowRight': return event.shiftKey ? 'Wb' + 5 * framesPerSecond : 'Ws';
      case 'Period': return 'Ws';
      case 'ArrowLeft': return 'Wb' + -5 * framesPerSecond;
      case 'PageUp': return 'Wb' + -60 * framesPerSecond;
      case 'PageDown': return 'Wb' + 60 * framesPerSecond;
      case 'Home': return 'Wk0';
      case 'End': return 'Wk' + filmLength;
      case 'Minus': case 'NumpadSubtract': return 'W-';
      case 'Equal': case 'NumpadAdd': return 'W+';
      case 'Escape': return 'Wq';
      default: return null;
    }
  }
  // A seek not yet taken gives way to a newer one: dragging the timeline asks for many.
  function filmCommand(line) {
    if (line.startsWith('Wk')) lines = lines.filter((waiting) => !waiting.startsWith('Wk'));
    lines.push(line);
  }
  const filmBar = document.getElementById('film');
  const filmPlay = document.getElementById('film-play');
  const filmSpeed = document.getElementById('film-speed');
  const filmTimeline = document.getElementById('film-timeline');
  const filmTime = document.getElementById('film-time');
  let seeking = false;  // the timeline is held: the film does not move it meanwhile
  filmPlay.addEventListener('click', () => { filmPlay.blur(); filmCommand('Wp'); });
  document.getElementById('film-step').addEventListener('click', (event) => {
    event.target.blur();
    filmCommand('Ws');
  });
  filmSpeed.addEventListener('change', () => { filmSpeed.blur(); filmCommand('Wv' + filmSpeed.value); });
  filmTimeline.addEventListener('pointerdown', () => { seeking = true; });
  filmTimeline.addEventListener('input', () => filmCommand('Wk' + filmTimeline.value));
  filmTimeline.addEventListener('change', () => {
    seeking = false;
    filmTimeline.blur();
  });
  function timeOfFrames(frames) {
    const seconds = Math.floor(frames / framesPerSecond);
    const clock = Math.floor(seconds / 60) % 60 + ':' + String(seconds % 60).padStart(2, '0');
    return seconds >= 3600 ? Math.floor(seconds / 3600) + ':' + clock.padStart(5, '0') : clock;
  }
  function showFilm(frame, length, quarters, paused, ended) {
    if (filmBar.hidden) {
      filmBar.hidden = false;
      lines.push('R');  // the stage is smaller by the bar
    }
    filmLength = length;
    filmTimeline.max = String(length);
    if (!seeking) filmTimeline.value = String(frame);
    filmPlay.textContent = paused || ended ? 'Play' : 'Pause';
    if (document.activeElement !== filmSpeed) filmSpeed.value = String(quarters);
    filmTime.textContent = timeOfFrames(frame) + ' / ' + timeOfFrames(length);
    const calls = starvane.film ? starvane.film.calls + 1 : 1;
    starvane.film = {frame, length, quarters, paused, ended, calls};
  }
  // A hidden tab or a page that lost the focus pauses the game and lets every key go.
  function focusLost() {
    lines.push('F');
    held.fill(false);
  }
  window.addEventListener('blur', focusLost);
  // A hidden page may be closed next without a word: the game saves the ship as it stands when
  // it next wakes (within a second, as a browser wakes hidden pages), and the page writes it to
  // IndexedDB at once (keepFiles). A page being left runs no more of the game: what the game
  // wrote is written to IndexedDB, as far as the browser lets a leaving page.
  document.addEventListener('visibilitychange', () => {
    if (!document.hidden) return;
    focusLost();
    lines.push('S');
  });
  window.addEventListener('pagehide', () => { if (filesDirty) filesChanged(); });

  // ---- Mouse -----------------------------------------------------------------------------
  function placePointer(event) {
    const box = stage.getBoundingClientRect();
    pointer = {x: Math.floor(event.clientX - box.left), y: Math.floor(event.clientY - box.top)};
  }
  const buttonOf = [0, 2, 1];  // the browser's left, middle, right -> the game's 1, 3, 2
  stage.addEventListener('mousemove', placePointer);
  stage.addEventListener('mousedown', (event) => {
    placePointer(event);
    const button = buttonOf[event.button];
    if (button === undefined) return;
    held[button] = true;
    pressed[button] = true;
    event.preventDefault();
    if (document.activeElement && document.activeElement !== document.body) {
      document.activeElement.blur();
    }
  });
  window.addEventListener('mouseup', (event) => {
    const button = buttonOf[event.button];
    if (button !== undefined) held[button] = false;
  });
  stage.addEventListener('contextmenu', (event) => event.preventDefault());
  stage.addEventListener('wheel', (event) => {
    event.preventDefault();
    wheel -= Math.sign(event.deltaY);
  }, {passive: false});

  // ---- The picture -----------------------------------------------------------------------
  function toggleFullScreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen();
    } else if (stage.requestFullscreen) {
      stage.requestFullscreen().catch(() => say('full screen refused'));
    }
  }
  document.getElementById('full').addEventListener('click', (event) => {
    event.target.blur();
    toggleFullScreen();
  });
  window.addEventListener('resize', () => lines.push('R'));
  document.addEventListener('fullscreenchange', () => lines.push('R'));

  // ---- Sound -----------------------------------------------------------------------------
  // The game mixes each frame's sound itself (960 stereo samples at 48,000 Hz, see
  // media/sound_source.hpp); the page plays them through Web Audio. A browser lets a page sound
  // only once the player pressed a key or clicked, so the sound starts then, and the frames
  // before are dropped. At most three frames wait, so the sound never lags far behind the game.
  const soundRate = 48000;
  const soundCapacity = soundRate / 5;     // stereo sample pairs the ring holds: 0.2 s
  const soundMostWaiting = 3 * 960;        // ... of which at most three frames wait to be heard
  const soundRing = new Float32Array(2 * soundCapacity);
  let soundRead = 0;                       // the next pair to play
  let soundWaiting = 0;                    // pairs written and not yet played
  let audio = null;
  function startSound() {
    if (audio !== null || !window.AudioContext) return;
    try {
      audio = new AudioContext({sampleRate: soundRate, latencyHint: 'interactive'});
    } catch (error) {
      try { audio = new AudioContext(); } catch (again) { return; }
    }
    // The game's rate, played at the context's own rate (48,000 where the browser allows it)
    // by stepping through the samples.
    const step = soundRate / audio.sampleRate;
    let fraction = 0;
    const node = audio.createScriptProcessor(1024, 0, 2);
    node.onaudioprocess = (event) => {
      const left = event.outputBuffer.getChannelData(0);
      const right = event.outputBuffer.getChannelData(1);
      for (let i = 0; i < left.length; ++i) {
        if (soundWaiting === 0) {
          left[i] = 0;
          right[i] = 0;
          continue;
        }
        left[i] = soundRing[2 * soundRead];
        right[i] = soundRing[2 * soundRead + 1];
        for (fraction += step; fraction >= 1 && soundWaiting > 0; fraction -= 1) {
          soundRead = (soundRead + 1) % soundCapacity;
          --soundWaiting;
        }
      }
    };
    node.connect(audio.destination);
    audio.resume();
  }
  window.addEventListener('keydown', startSound);
  window.addEventListener('pointerdown', startSound);
  function queueSound(samples, count) {
    if (audio === null || audio.state !== 'running') return;
    const pairs = count >> 1;
    const first = samples >> 1;  // in 16-bit units of the heap
    for (let i = 0; i < pairs; ++i) {
      const at = 2 * ((soundRead + soundWaiting) % soundCapacity);
      soundRing[at] = Module.HEAP16[first + 2 * i] / 32768;
      soundRing[at + 1] = Module.HEAP16[first + 2 * i + 1] / 32768;
      if (soundWaiting < soundCapacity) ++soundWaiting;
    }
    if (soundWaiting > soundMostWaiting) {  // the oldest give way
      soundRead = (soundRead + soundWaiting - soundMostWaiting) % soundCapacity;
      soundWaiting = soundMostWaiting;
    }
    starvane.soundFrames += 1;
  }

  // ---- Files -----------------------------------------------------------------------------
  // The files directory lives in IndexedDB: read into memory before the game starts, written
  // back soon after a file of it changed (closed after writing, renamed or removed: the page
  // hears of it from the file system itself, see watchFiles), and when the game ends. Every file
  // of it is kept, whatever its name (ships.txt, settings.txt, the ships, replays/...). Only the
  // files this page changed are written back: another page's newer files stay as they are. A
  // ship's file is read again from IndexedDB when this page takes the ship (holdShip), since
  // another page may have flown it since this one opened.
  let knownShots = new Set();
  const touched = new Set();  // the paths this page changed and has not yet written back
  let readingKept = false;    // a file read from IndexedDB is no change of this page's
  let filesDirty = false;
  let syncing = false;
  let syncAgain = false;
  function fileList() {
    try {
      return Object.entries(FS.lookupPath(filesDirectory).node.contents)
          .filter(([, node]) => FS.isFile(node.mode))
          .sort(([a], [b]) => (a < b ? -1 : a > b ? 1 : 0));
    } catch (error) {
      return [];
    }
  }
  function idbfsStore(mode, use, ended) {
    const idbfs = FS.filesystems.IDBFS;
    idbfs.getDB(filesDirectory, (error, db) => {
      if (error) return ended(error);
      let transaction;
      try {
        transaction = db.transaction([idbfs.DB_STORE_NAME], mode);
      } catch (thrown) {
        return ended(thrown);
      }
      let failed = null;
      transaction.onerror = (event) => {
        failed = failed || event.target.error || 'IndexedDB refused a write';
        event.preventDefault();
      };
      transaction.oncomplete = () => ended(failed);
      transaction.onabort = () => ended(failed || transaction.error || 'IndexedDB gave up');
      use(idbfs, transaction.objectStore(idbfs.DB_STORE_NAME), (stepError) => {
        if (stepError && !failed) failed = stepError;
      });
    });
  }
  // The touched paths into IndexedDB in one transaction: each as this page has it, or removed
  // where it has none. On a failure they stay touched, for the next write.
  // IndexedDB keeps a folder inside the files directory (replays/) as an entry of its own, which
  // a reload must find before the folder's files: each file's folders go with it.
  function writeTouched(ended) {
    const paths = [...touched].sort();
    touched.clear();
    if (paths.length === 0) return ended(null);
    const folders = new Set();
    for (const path of paths) {
      for (let at = path.lastIndexOf('/'); at > filesDirectory.length; at = path.lastIndexOf('/', at - 1))
        folders.add(path.slice(0, at));
    }
    idbfsStore('readwrite', (idbfs, store, step) => {
      for (const folder of folders) {
        if (!FS.analyzePath(folder).exists) continue;
        idbfs.loadLocalEntry(folder, (error, entry) => {
          if (error) return step(error);
          idbfs.storeRemoteEntry(store, folder, entry, step);
        });
      }
      for (const path of paths) {
        if (!FS.analyzePath(path).exists) {
          idbfs.removeRemoteEntry(store, path, step);
          continue;
        }
        idbfs.loadLocalEntry(path, (error, entry) => {
          if (error) return step(error);
          idbfs.storeRemoteEntry(store, path, entry, step);
        });
      }
    }, (error) => {
      if (error) paths.forEach((path) => touched.add(path));
      ended(error);
    });
  }
  // The ship file as IndexedDB keeps it into memory, unless this page changed it since.
  function readKeptFile(path, done) {
    if (!inFilesDirectory(path) || touched.has(path)) return done();
    let kept;
    idbfsStore('readonly', (idbfs, store, step) => {
      idbfs.loadRemoteEntry(store, path, (error, entry) => {
        if (!error) kept = entry;
        step(error);
      });
    }, (error) => {
      if (!error && kept && FS.isFile(kept.mode)) {
        readingKept = true;
        FS.filesystems.IDBFS.storeLocalEntry(path, kept, () => {});
        readingKept = false;
      }
      done();
    });
  }
  // Each caller's done(error) runs once a write that began after its call has ended: one write
  // at a time, and the calls that come meanwhile share the next one.
  let afterWrite = [];
  let waiting = [];
  function writeFilesBack(done) {
    if (done) waiting.push(done);
    if (syncing) {
      syncAgain = true;
      return;
    }
    syncing = true;
    afterWrite = waiting;
    waiting = [];
    writeTouched((error) => {
      syncing = false;
      if (error) say('cannot keep the files in this browser: ' + error);
      const finished = afterWrite;
      afterWrite = [];
      if (syncAgain) {
        syncAgain = false;
        writeFilesBack();
      }
      finished.forEach((callback) => callback(error));
    });
  }
  starvane.filesKept = () => !syncing && !filesDirty && waiting.length === 0 && touched.size === 0;
  function downloadBytes(name, bytes) {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], {type: 'application/octet-stream'}));
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
  }
  function filesChanged() {
    filesDirty = false;
    const files = fileList();
    // F12 wrote a screenshot (starvane-NNN.bmp): the player gets it as a download.
    for (const [name] of files) {
      if (/^starvane-\d+\.bmp$/.test(name) && !knownShots.has(name)) {
        knownShots.add(name);
        downloadBytes(name, FS.readFile(filesDirectory + '/' + name));
      }
    }
    listShips();
    writeFilesBack();
  }
  function inFilesDirectory(path) {
    return typeof path === 'string' && path.startsWith(filesDirectory + '/');
  }
  function fileTouched(path) {
    if (!inFilesDirectory(path) || readingKept) return;
    touched.add(path);
    if (filesDirty) return;
    filesDirty = true;
    // Once the game sleeps: a save is several steps.
    setTimeout(() => { if (filesDirty) filesChanged(); }, 0);
  }
  // The game's writes reach the file system through these (its system calls call them).
  function watchFiles() {
    const {close, rename, unlink} = FS;
    FS.close = (stream) => {
      const written = (stream.flags & 3) !== 0;  // opened for writing (O_WRONLY or O_RDWR)
      const result = close(stream);
      if (written) fileTouched(stream.path);
      return result;
    };
    FS.rename = (from, to) => {
      const result = rename(from, to);
      fileTouched(from);
      fileTouched(to);
      return result;
    };
    FS.unlink = (path) => {
      const result = unlink(path);
      fileTouched(path);
      return result;
    };
  }

  const shipSelect = document.getElementById('ships');
  function listShips() {
    const ships = fileList().map(([name]) => name).filter((name) => name.endsWith('.shp'));
    const chosen = shipSelect.value;
    shipSelect.replaceChildren(...ships.map((name) => new Option(name, name)));
    if (ships.includes(chosen)) shipSelect.value = chosen;
  }
  shipSelect.addEventListener('change', () => shipSelect.blur());
  document.getElementById('download').addEventListener('click', (event) => {
    event.target.blur();
    if (!shipSelect.value) return say('no ship file yet: a ship is saved when its game ends');
    downloadBytes(shipSelect.value, FS.readFile(filesDirectory + '/' + shipSelect.value));
  });
  // An uploaded ship file joins the files directory, and its ship the launcher's list. The file
  // is taken as the game reads ship files: the ship's name is the file's base name without
  // ".shp" (its %XX forms read back as the bytes they stand for), at most 60 characters as the
  // launcher takes them, and the file is kept under the name the game gives that ship.
  const shipNameMost = 60;
  const shipFileMostBytes = 64 * 1024;  // larger is no ship file: the game reads none
  function shipNameOfFile(fileName) {
    const slash = Math.max(fileName.lastIndexOf('/'), fileName.lastIndexOf('\\'));
    const base = fileName.slice(slash + 1);
    if (!base.endsWith('.shp') || base.length === '.shp'.length) return null;
    const bytes = [];
    const text = new TextEncoder().encode(base.slice(0, -'.shp'.length));
    for (let i = 0; i < text.length; ++i) {
      const form = String.fromCharCode(...text.subarray(i, i + 3));
      if (/^%[0-9A-Fa-f]{2}$/.test(form)) {
        bytes.push(parseInt(form.slice(1), 16));
        i += 2;
      } else {
        bytes.push(text[i]);
      }
    }
    let name;
    try {
      name = new TextDecoder('utf-8', {fatal: true}).decode(new Uint8Array(bytes));
    } catch (error) {
      return null;
    }
    name = [...name].slice(0, shipNameMost).join('');
    return /[\x00-\x1f\x7f]/.test(name) ? null : name;
  }
  // The file name the game gives a ship of at most 60 characters (ShipFileName in
  // workshop/ship_file.cpp; such a name never needs shortening): '/', '\', control bytes, DEL
  // and a '%' that would read as a %XX form are written %XX.
  function shipFileName(ship) {
    const bytes = new TextEncoder().encode(ship);
    const written = [];
    for (let i = 0; i < bytes.length; ++i) {
      const b = bytes[i];
      const after = String.fromCharCode(...bytes.subarray(i + 1, i + 3));
      const hexAfter = /^[0-9A-Fa-f]{2}$/.test(after);
      if (b === 0x2f || b === 0x5c || b < 0x20 || b === 0x7f || (b === 0x25 && hexAfter)) {
        const form = '%' + b.toString(16).toUpperCase().padStart(2, '0');
        written.push(...new TextEncoder().encode(form));
      } else {
        written.push(b);
      }
    }
    return new TextDecoder().decode(new Uint8Array(written)) + '.shp';
  }
  document.getElementById('upload').addEventListener('change', async (event) => {
    const file = event.target.files[0];
    event.target.value = '';
    if (!file) return;
    const ship = shipNameOfFile(file.name);
    if (ship === null) {
      return say('not a ship file: a ship file is named after its ship, ending in .shp');
    }
    if (file.size > shipFileMostBytes) return say('not a ship file: larger than 64 KiB');
    try {
      const bytes = new Uint8Array(await file.arrayBuffer());
      if (bytes.length > shipFileMostBytes) return say('not a ship file: larger than 64 KiB');
      const name = shipFileName(ship);
      FS.writeFile(filesDirectory + '/' + name, bytes);
      const listPath = filesDirectory + '/ships.txt';
      // ships.txt as bytes: its lines in another encoding stay as they are.
      let list = new Uint8Array(0);
      try { list = FS.readFile(listPath); } catch (error) { list = new Uint8Array(0); }
      const shipBytes = new TextEncoder().encode(ship);
      const listed = (from, to) => {
        if (to > from && list[to - 1] === 0x0d) --to;
        return to - from === shipBytes.length && shipBytes.every((b, i) => list[from + i] === b);
      };
      let found = false;
      for (let from = 0, to; from <= list.length && !found; from = to + 1) {
        to = list.indexOf(0x0a, from);
        if (to < 0) to = list.length;
        found = listed(from, to);
      }
      if (!found) {
        const end = list.length === 0 || list[list.length - 1] === 0x0a ? [] : [0x0d, 0x0a];
        FS.writeFile(listPath, Uint8Array.from([...list, ...end, ...shipBytes, 0x0d, 0x0a]));
      }
      listShips();
      filesDirty = false;  // this write takes the upload's files: no second one after it
      // Said once the file is in IndexedDB, so that a reload finds it.
      writeFilesBack((error) => say(
          error ? 'the ship file was not kept: ' + error
                : name + ' uploaded: reload the page to choose it in the launcher'));
    } catch (error) {
      say('the ship file was not kept: ' + (error.message || error.code || error));
    }
  });

  // ---- The game --------------------------------------------------------------------------
  function runMain(args) {
    const words = ['starvane'].concat(args);
    const argv = Module._malloc(4 * (words.length + 1));
    words.forEach((word, i) => {
      const size = Module.lengthBytesUTF8(word) + 1;
      const text = Module._malloc(size);
      Module.stringToUTF8(word, text, size);
      Module.HEAP32[(argv >> 2) + i] = text;
    });
    Module.HEAP32[(argv >> 2) + words.length] = 0;
    return Module.ccall('main', 'number', ['number', 'number'], [words.length, argv],
                        {async: true});
  }
  function start(args, files) {
    if (starvane.started) return;
    starvane.started = true;
    watching = args.includes('--watch');
    for (const [path, bytes] of Object.entries(files || {})) {
      const folder = path.slice(0, path.lastIndexOf('/'));
      if (folder) FS.mkdirTree(folder);
      // A string is taken byte for byte (one character a byte), as readFiles gives them.
      FS.writeFile(path, typeof bytes === 'string' ? Uint8Array.from(bytes, (c) => c.charCodeAt(0))
                                                   : bytes);
    }
    say('');
    const keptBefore = new Set(keptReplayNames());
    // The game writes its recording line by line as it goes; the page keeps what it has in
    // IndexedDB each second it grew, so that a tab closed in play leaves its game kept up to
    // there, as a killed game does on the desktop.
    let keptSize = -1;
    const keepRecording = watching ? null : setInterval(() => {
      const names = keptReplayNames().filter((name) => !keptBefore.has(name));
      if (names.length === 0) return;
      const path = replaysFolder + '/' + names[names.length - 1];
      let size = keptSize;
      try {
        size = FS.stat(path).size;
      } catch (error) {
        return;  // removed meanwhile
      }
      if (size === keptSize) return;
      keptSize = size;
      fileTouched(path);
    }, 1000);
    // What the game wrote goes to IndexedDB; only then is the ship free for another page.
    const ended = (result) => {
      if (keepRecording !== null) clearInterval(keepRecording);
      listShips();  // the ship just saved can be downloaded at once
      filmBar.hidden = true;
      if (!watching) starvane.keepStorage();  // the storage that holds the ship: starvane-offline.js
      // The game just played, kept in replays/, can be shared from the end at once.
      const kept = watching ? [] : keptReplayNames().filter((name) => !keptBefore.has(name));
      writeFilesBack((error) => {
        if (heldShip !== null) heldShip.release();
        heldShip = null;
        if (error) messages.push('the files could not be kept in this browser: ' + error);
        starvane.result = result;
        showEnd(error ? 1 : result.status, kept.length > 0 ? kept[kept.length - 1] : null);
      });
    };
    Promise.resolve(runMain(args)).then((status) => ended({status: status}), (error) => {
      messages.push('the game stopped: ' + error);
      say('the game stopped: ' + error);
      ended({status: -1, error: String(error)});
    });
  }
  starvane.start = start;
  // A game that failed (status 1: the ship not saved, the ship in another game; -1: it stopped)
  // says why, as does a page that could not keep the files.
  function showEnd(status, newestReplay) {
    document.getElementById('ended-title').textContent = status !== 0 ?
        'The game has ended with a failure:' :
        watching ? 'The film has ended.' : 'The game has ended.';
    document.getElementById('ended-messages').textContent = messages.join('\n');
    const shareLast = document.getElementById('share-last');
    shareLast.hidden = !newestReplay;
    shareLast.onclick = () => share(FS.readFile(replaysFolder + '/' + newestReplay));
    document.getElementById('ended').hidden = false;
  }
  // The files of a folder by name, each as a string of its bytes (one character a byte).
  starvane.readFiles = (folder) => {
    const files = {};
    for (const [name, node] of Object.entries(FS.lookupPath(folder).node.contents)) {
      if (!FS.isFile(node.mode)) continue;
      const bytes = FS.readFile(folder + '/' + name);
      let text = '';
      for (let i = 0; i < bytes.length; i += 4096) {
        text += String.fromCharCode.apply(null, bytes.subarray(i, i + 4096));
      }
      files[name] = text;
    }
    return files;
  };
  // Play again: the page as it opens, without the film or the link it was opened with.
  document.getElementById('again').addEventListener('click', () => {
    const page = new URL(location.href);
    page.hash = '';
    page.searchParams.delete('watch');
    page.searchParams.delete('open');
    location.assign(page.href);
  });

  // ---- Kept games, films and links ---------------------------------------------------------
  // The game keeps each game played here in replays/ of the files directory (its last 50,
  // named after the time each began, UTC). A film plays one with --watch, from there or from a
  // file of the page's memory (/watch: a link's recording, or a file opened from the disk),
  // never from the files directory's other names.
  const replaysFolder = filesDirectory + '/replays';
  const replayName = /^(\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d)(?:_(\d+))?\.txt$/;
  const recordingMostBytes = 64 * 1024 * 1024;  // the game's bound for a recording
  const linkMostCharacters = 2 * 1024 * 1024;
  function replayOrder(name) {
    const parts = replayName.exec(name);
    return parts[1] + String(parts[2] || 1).padStart(8, '0');
  }
  function keptReplayNames() {
    let entries;
    try {
      entries = Object.entries(FS.lookupPath(replaysFolder).node.contents);
    } catch (error) {
      return [];
    }
    return entries.filter(([name, node]) => replayName.test(name) && FS.isFile(node.mode))
        .map(([name]) => name)
        .sort((a, b) => (replayOrder(a) < replayOrder(b) ? -1 : 1));
  }
  // What the list tells of a kept game: its header's date, ship and difficulty, its length (the
  // end line's frame, else the result's frames, else the last event's) and the money it earned
  // (from the result line, which a game cut short lacks).
  function describeReplay(name) {
    const about = {date: null, ship: '', difficulty: '', length: 0, earned: null};
    let text = '';
    try {
      text = new TextDecoder().decode(FS.readFile(replaysFolder + '/' + name));
    } catch (error) {
      return about;
    }
    let endFrame = null;
    let resultFrames = null;
    let parts;
    for (const raw of text.split('\n')) {
      const line = raw.endsWith('\r') ? raw.slice(0, -1) : raw;
      if ((parts = /^date\s+(\S+)/.exec(line))) {
        about.date = parts[1];
      } else if ((parts = /^ship[ \t](.*)$/.exec(line))) {
        about.ship = parts[1];
      } else if ((parts = /^difficulty\s+(\S+)/.exec(line))) {
        about.difficulty = parts[1];
      } else if (/^result\s/.test(line)) {
        const words = line.split(/\s+/);
        const field = (key) => {
          const at = words.indexOf(key);
          return at > 0 && /^-?\d+$/.test(words[at + 1] || '') ? Number(words[at + 1]) : null;
        };
        resultFrames = field('frames');
        const [start, end] = [field('moneyStart'), field('moneyEnd')];
        if (start !== null && end !== null) about.earned = end - start;
      } else if ((parts = /^(\d+)\s+end\b/.exec(line))) {
        endFrame = Number(parts[1]);
      } else if ((parts = /^(\d+)\s/.exec(line))) {
        about.length = Number(parts[1]);
      }
    }
    about.length = endFrame !== null ? endFrame : resultFrames !== null ? resultFrames : about.length;
    return about;
  }
  function dateText(name, date) {
    const when = date ? new Date(date) : null;
    if (when && !isNaN(when.getTime())) return when.toLocaleString();
    const parts = /^(\d{4}-\d\d-\d\d)_(\d\d)-(\d\d)-(\d\d)/.exec(name);
    return parts[1] + ' ' + parts[2] + ':' + parts[3] + ':' + parts[4] + ' UTC';
  }
  const replaysPanel = document.getElementById('replays');
  replaysPanel.addEventListener('mousedown', (event) => event.stopPropagation());
  function button(label, action) {
    const made = document.createElement('button');
    made.type = 'button';
    made.textContent = label;
    made.addEventListener('click', (event) => {
      event.stopPropagation();
      made.blur();
      action();
    });
    return made;
  }
  function showReplays() {
    const rows = keptReplayNames().reverse().map((name) => {
      const about = describeReplay(name);
      const row = document.createElement('tr');
      row.dataset.name = name;
      const cells = [dateText(name, about.date), about.ship || '-', about.difficulty || '-',
                     timeOfFrames(about.length),
                     about.earned === null ? '-' : about.earned.toLocaleString()];
      for (const text of cells) row.insertCell().textContent = text;
      row.insertCell().append(
          button('Share', () => share(FS.readFile(replaysFolder + '/' + name))),
          button('Download', () => downloadBytes(name, FS.readFile(replaysFolder + '/' + name))));
      row.addEventListener('click', () => watchKept(name));
      return row;
    });
    document.getElementById('replays-list').replaceChildren(...rows);
    document.getElementById('replays-none').hidden = rows.length > 0;
    replaysPanel.hidden = false;
  }
  document.getElementById('replays-open').addEventListener('click', (event) => {
    event.target.blur();
    if (replaysPanel.hidden) showReplays(); else replaysPanel.hidden = true;
  });
  document.getElementById('replays-close').addEventListener('click', (event) => {
    event.target.blur();
    replaysPanel.hidden = true;
  });
  function inPlay() { return starvane.started && starvane.result === null && !watching; }
  function leaveGame() {
    return !inPlay() || confirm('Leave the game in play? Its ship is saved only when it ends.');
  }
  function watch(path) {
    replaysPanel.hidden = true;
    start(['--watch', path, '--files', filesDirectory]);
  }
  // One game a page: a film chosen once a game has started plays in the page opened anew.
  function watchKept(name) {
    if (!starvane.started) return watch(replaysFolder + '/' + name);
    if (leaveGame()) location.assign(location.pathname + '?watch=' + encodeURIComponent(name));
  }
  function watchBytes(name, bytes) {
    FS.mkdirTree('/watch');
    FS.writeFile('/watch/' + name, bytes);
    watch('/watch/' + name);
  }
  // A recording from the disk: watched at once before a game has started, else carried over to
  // the page opened anew in this tab's session storage.
  document.getElementById('open').addEventListener('change', async (event) => {
    const file = event.target.files[0];
    event.target.value = '';
    if (!file) return;
    if (file.size > recordingMostBytes) return say('not a recording: larger than 64 MiB');
    const bytes = new Uint8Array(await file.arrayBuffer());
    if (!starvane.started) return watchBytes('opened.txt', bytes);
    if (!leaveGame()) return;
    try {
      sessionStorage.setItem('starvane-opened', bytesAsText(bytes));
    } catch (error) {
      return say('too large to carry over: reload the page, then open the recording first');
    }
    location.assign(location.pathname + '?open');
  });
  function bytesAsText(bytes) {  // one character a byte
    let text = '';
    for (let i = 0; i < bytes.length; i += 4096) {
      text += String.fromCharCode.apply(null, bytes.subarray(i, i + 4096));
    }
    return text;
  }

  // A link to this page whose fragment holds the recording: raw deflate, then base64url without
  // padding. The fragment stays in the browser: opening the link sends the server nothing.
  async function linkOfRecording(bytes) {
    const packed = new Response(new Blob([bytes]).stream().pipeThrough(
        new CompressionStream('deflate-raw')));
    const text = bytesAsText(new Uint8Array(await packed.arrayBuffer()));
    const page = location.href.split('#')[0].split('?')[0];
    return page + '#r=' + btoa(text).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
  }
  const shareBar = document.getElementById('share');
  const shareField = document.getElementById('share-link');
  const shareSaid = document.getElementById('share-said');
  document.getElementById('share-close').addEventListener('click', () => {
    shareBar.hidden = true;
    lines.push('R');
  });
  async function share(bytes) {
    let link;
    try {
      link = await linkOfRecording(bytes);
    } catch (error) {
      return say('no link made: ' + (error.message || error));
    }
    starvane.sharedLink = link;
    shareField.value = link;
    if (shareBar.hidden) lines.push('R');
    shareBar.hidden = false;
    let copied = false;
    try {
      await navigator.clipboard.writeText(link);
      copied = true;
    } catch (error) {
      copied = false;  // no clipboard for this page: the field holds the link to copy
    }
    shareSaid.textContent = (copied ? 'Link copied' : 'Copy this link') + ' (' +
        Math.ceil(link.length / 1024) + ' KB): it holds the whole game, sent nowhere.';
    if (!copied) {
      shareField.focus();
      shareField.select();
    }
  }
  // The recording of a link's fragment (after "#r="), held to the game's bounds: at most 2 MiB
  // of link, and the inflating stops past 64 MiB. Throws the reason it cannot be played.
  async function recordingOfLink(fragment) {
    if (fragment.length > linkMostCharacters) throw new Error('it is longer than 2 MiB');
    if (fragment === '') throw new Error('it holds no recording (nothing after "#r=")');
    if (!/^[A-Za-z0-9_-]*$/.test(fragment)) {
      throw new Error('it is not base64url (a character other than letters, digits, - and _)');
    }
    if (fragment.length % 4 === 1) throw new Error('it is cut short');
    const text = atob(fragment.replace(/-/g, '+').replace(/_/g, '/') +
                      '==='.slice((fragment.length + 3) % 4));
    const reader = new Blob([Uint8Array.from(text, (c) => c.charCodeAt(0))]).stream()
                       .pipeThrough(new DecompressionStream('deflate-raw')).getReader();
    const chunks = [];
    let total = 0;
    for (;;) {
      let read;
      try {
        read = await reader.read();
      } catch (error) {
        throw new Error('it is damaged or cut short (' + (error.message || error) + ')');
      }
      if (read.done) break;
      total += read.value.length;
      if (total > recordingMostBytes) {
        reader.cancel().catch(() => {});
        throw new Error('it holds more than 64 MiB, too large for a recording');
      }
      chunks.push(read.value);
    }
    const bytes = new Uint8Array(total);
    let at = 0;
    for (const chunk of chunks) {
      bytes.set(chunk, at);
      at += chunk.length;
    }
    return bytes;
  }
  async function openLink(fragment) {
    let bytes;
    try {
      bytes = await recordingOfLink(fragment);
    } catch (error) {
      starvane.linkProblem = error.message;
      say('this link cannot be played');
      document.getElementById('ended-title').textContent =
          'This link cannot be played: ' + error.message + '.';
      document.getElementById('again').textContent = 'Play';
      document.getElementById('ended').hidden = false;
      return;
    }
    watchBytes('link.txt', bytes);
  }
  // A link pasted into this page's address bar changes only the fragment: the page opens anew
  // to play it.
  window.addEventListener('hashchange', () => {
    if (location.hash.startsWith('#r=')) location.reload();
  });
  // What the page was opened to do: hold for a test, play a link, a kept game or an opened file,
  // or start the game.
  function begin() {
    if (params.has('hold')) {
      say('ready');
      starvane.ready = true;
    } else if (location.hash.startsWith('#r=')) {
      openLink(location.hash.slice(3));
    } else if (params.has('watch') && replayName.test(params.get('watch'))) {
      watch(replaysFolder + '/' + params.get('watch'));
    } else if (params.has('open') && sessionStorage.getItem('starvane-opened') !== null) {
      const text = sessionStorage.getItem('starvane-opened');
      sessionStorage.removeItem('starvane-opened');
      watchBytes('opened.txt', Uint8Array.from(text, (c) => c.charCodeAt(0)));
    } else {
      start(['--files', filesDirectory]);
    }
  }

  return {
    noInitialRun: true,
    print: (text) => console.log(text),
    printErr: (text) => {
      console.warn(text);
      gameSays(text);
    },
    onRuntimeInitialized() {
      document.getElementById('version').textContent =
          Module.ccall('starvane_version', 'string', [], []);
      FS.mkdir(filesDirectory);
      FS.mount(FS.filesystems.IDBFS, {}, filesDirectory);
      // The game's fsync writes the whole mount back (emscripten's fd_sync), over other pages'
      // files: it writes this page's changes instead.
      const idbfs = FS.filesystems.IDBFS;
      const syncfs = idbfs.syncfs;
      idbfs.syncfs = (mount, populate, done) => (populate ? syncfs(mount, populate, done)
                                                          : writeFilesBack(done));
      FS.syncfs(true, (error) => {
        if (error) say('this browser keeps no files: ships are not saved');
        const files = fileList();
        knownShots = new Set(files.map(([name]) => name));
        listShips();
        watchFiles();
        begin();
      });
    },
    // The touch layer's way in (starvane-touch.js): its lines among the events, and its taps
    // as the left button where the finger is.
    touch: {
      line(text) { lines.push(text); },
      point: placePointer,
      tap(at) {
        placePointer(at);
        held[0] = true;
        pressed[0] = true;
      },
      untap() { held[0] = false; },
    },
    // Called by the game's screen (media/web/web_screen.cpp).
    page: {
      stage(out) {
        const width = stage.clientWidth;
        const height = stage.clientHeight;
        const ratio = window.devicePixelRatio || 1;
        const at = out >> 2;
        Module.HEAP32[at] = width;
        Module.HEAP32[at + 1] = height;
        Module.HEAP32[at + 2] = Math.round(width * ratio);
        Module.HEAP32[at + 3] = Math.round(height * ratio);
      },
      // The canvas holds the picture at its own size; the browser's compositor enlarges it to
      // the picture's place with nearest pixels (sharp edges, no copy at the enlarged size on
      // the page's side), and filters it when it must shrink, so that no row of text is lost.
      // (prescale and smooth, the desktop's two steps, are the compositor's one here.)
      show(pixels, width, height, prescale, smooth, x, y, pictureWidth, pictureHeight) {
        if (screen.width !== width || screen.height !== height) {
          screen.width = width;
          screen.height = height;
        }
        context.putImageData(new ImageData(
            new Uint8ClampedArray(Module.HEAPU8.buffer, pixels, width * height * 4), width, height),
            0, 0);
        const ratio = window.devicePixelRatio || 1;
        const place = [x / ratio + 'px', y / ratio + 'px', pictureWidth / ratio + 'px',
                       pictureHeight / ratio + 'px',
                       pictureWidth >= width && pictureHeight >= height ? 'pixelated' : 'auto'];
        if (place.join() !== placed) {  // the style only when it changes: no layout per frame
          placed = place.join();
          const style = screen.style;
          [style.left, style.top, style.width, style.height, style.imageRendering] = place;
        }
        starvane.shown = {width: width, height: height};
        starvane.framesShown += 1;
        if (shownAt === null) {
          shownAt = performance.now();
          starvane.firstFrameAt = shownAt;
        }
      },
      takeEvents(buffer, size) {
        pollGamepads();
        let text = '';
        let bytes = 0;
        while (lines.length > 0) {
          const line = lines[0] + '\n';
          const length = Module.lengthBytesUTF8(line);
          if (bytes + length >= size) break;
          text += line;
          bytes += length;
          lines.shift();
        }
        if (bytes === 0) return 0;
        Module.stringToUTF8(text, buffer, size);
        return bytes;
      },
      mouse(out) {
        const at = out >> 2;
        Module.HEAP32[at] = pointer ? 1 : 0;
        Module.HEAP32[at + 1] = pointer ? pointer.x : 0;
        Module.HEAP32[at + 2] = pointer ? pointer.y : 0;
        for (let i = 0; i < 3; ++i) Module.HEAP32[at + 3 + i] = held[i] || pressed[i] ? 1 : 0;
        pressed.fill(false);
        Module.HEAP32[at + 6] = wheel;
        wheel = 0;
      },
      pending() {
        pollGamepads();
        return lines.length + (pressed.some((p) => p) ? 1 : 0);
      },
      title(text) { document.title = text || 'Starvane'; },
      // A notice over the picture, or none for ''.
      notice(text) {
        const line = document.getElementById('notice');
        line.textContent = text;
        line.hidden = !text;
      },
      // What the key at this position types on the player's layout, where the browser tells.
      keyLabel(code, buffer, size) {
        const label = layout && layout.get(code);
        if (!label || Module.lengthBytesUTF8(label) >= size) return 0;
        Module.stringToUTF8(label, buffer, size);
        return Module.lengthBytesUTF8(label);
      },
      sound(samples, count) { queueSound(samples, count); },
      frameShown(workMilliseconds) {
        if (starvane.frameWork.length < 100000) starvane.frameWork.push(workMilliseconds);
      },
      // What the film shows, at each frame it presents (only while a recording is watched).
      film(frame, length, quarters, paused, ended) {
        showFilm(frame, length, quarters, paused !== 0, ended !== 0);
      },
      // The game saved the ship of a hidden page: into IndexedDB now, not once the game sleeps.
      keepFiles() { if (filesDirty) filesChanged(); },
      // One ship, one game across this browser's pages: a Web Lock per ship, asked for without
      // waiting and held until the game takes another ship or the page ends. 1: held, 0: another
      // page holds it, -1: the browser keeps no locks for this page (no Web Locks: an unsafe
      // page, an old browser).
      holdShip(key) {
        if (!navigator.locks || !navigator.locks.request) return Promise.resolve(-1);
        if (heldShip !== null && heldShip.key === key) return Promise.resolve(1);
        return new Promise((answer) => {
          navigator.locks.request('starvane ship ' + key, {ifAvailable: true}, (lock) => {
            if (lock === null) {
              answer(0);
              return undefined;
            }
            if (heldShip !== null) heldShip.release();
            // The game reads the ship next: as the last page that flew it saved it.
            return new Promise((release) => {
              heldShip = {key: key, release: release};
              readKeptFile(key, () => answer(1));
            });
          }).catch(() => answer(-1));
        });
      },
    },
  };
})();
