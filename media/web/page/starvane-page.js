// The page around the browser build of Starvane: it keeps the browser's keyboard and mouse
// events until the game asks for them (media/web/web_screen.cpp), shows the frames on the
// canvas, keeps the files directory (ships.txt and the ship files) in IndexedDB, and offers a
// ship file to download or upload. Nothing of the game itself lives here.
//
// For tests and measurements: "?hold" waits for starvane.start(args, files) instead of starting
// the game, and starvane.result, starvane.frameWork and starvane.firstFrameAt tell what happened.
'use strict';

var starvane = {
  result: null, frameWork: [], firstFrameAt: null, shown: null, started: false, soundFrames: 0,
};

var Module = (function () {
  const filesDirectory = '/starvane';
  const params = new URLSearchParams(location.search);
  const stage = document.getElementById('stage');
  const screen = document.getElementById('screen');
  const context = screen.getContext('2d');
  const frame = document.createElement('canvas');  // the back buffer at its own size
  frame.width = 800;
  frame.height = 600;
  const frameContext = frame.getContext('2d');
  const statusLine = document.getElementById('status');

  // What the browser told since the game last asked: key lines (see TakeEventLine) and the mouse.
  let lines = [];
  let pointer = null;           // on the stage, in CSS pixels
  const held = [false, false, false];     // the game's buttons 1 (left), 2 (right), 3 (middle)
  const pressed = [false, false, false];  // went down since the game last asked
  let wheel = 0;                // steps away from the player
  let shownAt = null;

  function say(text) { statusLine.textContent = text; }

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
    lines.push('D' + event.code);
    if (!event.ctrlKey && !event.altKey && [...event.key].length === 1) lines.push('T' + event.key);
  });
  window.addEventListener('keyup', (event) => {
    if (inForm(event) || browserKeeps(event)) return;
    event.preventDefault();
    lines.push('U' + event.code);
  });
  // A hidden tab or a page that lost the focus pauses the game and lets every key go.
  function focusLost() {
    lines.push('F');
    held.fill(false);
  }
  window.addEventListener('blur', focusLost);
  document.addEventListener('visibilitychange', () => { if (document.hidden) focusLost(); });

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
  // back after each frame in which a file of it changed (the page compares every file's time
  // and size once a frame), and when the game ends.
  let filesSeen = '';
  let knownShots = new Set();
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
  function writeFilesBack(done) {
    if (syncing) {
      syncAgain = true;
      return;
    }
    syncing = true;
    FS.syncfs(false, (error) => {
      syncing = false;
      if (error) say('cannot keep the files in this browser: ' + error);
      if (syncAgain) {
        syncAgain = false;
        writeFilesBack(done);
      } else if (done) {
        done();
      }
    });
  }
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
    const files = fileList();
    const seen = files.map(([name, node]) => name + ':' + node.timestamp + ':' + (node.usedBytes || 0))
        .join('/');
    if (seen === filesSeen) return;
    filesSeen = seen;
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
  // An uploaded ship file joins the files directory, and its name the launcher's list.
  document.getElementById('upload').addEventListener('change', async (event) => {
    const file = event.target.files[0];
    event.target.value = '';
    if (!file) return;
    if (!file.name.endsWith('.shp')) return say('a ship file ends in .shp');
    const bytes = new Uint8Array(await file.arrayBuffer());
    FS.writeFile(filesDirectory + '/' + file.name, bytes);
    const ship = file.name.slice(0, -'.shp'.length);
    const listPath = filesDirectory + '/ships.txt';
    let list = '';
    try { list = FS.readFile(listPath, {encoding: 'utf8'}); } catch (error) { list = ''; }
    if (!list.split(/\r?\n/).includes(ship)) {
      const end = list === '' || list.endsWith('\n') ? '' : '\r\n';
      FS.writeFile(listPath, list + end + ship + '\r\n');
    }
    listShips();
    // Said once the file is in IndexedDB, so that a reload finds it.
    writeFilesBack(() => say(file.name + ' uploaded: reload the page to choose it in the launcher'));
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
    for (const [path, bytes] of Object.entries(files || {})) {
      const folder = path.slice(0, path.lastIndexOf('/'));
      if (folder) FS.mkdirTree(folder);
      // A string is taken byte for byte (one character a byte), as readFiles gives them.
      FS.writeFile(path, typeof bytes === 'string' ? Uint8Array.from(bytes, (c) => c.charCodeAt(0))
                                                   : bytes);
    }
    say('');
    Promise.resolve(runMain(args)).then((status) => {
      writeFilesBack(() => {
        starvane.result = {status: status};
        if (!params.has('hold')) document.getElementById('ended').hidden = false;
      });
    }, (error) => {
      starvane.result = {status: -1, error: String(error)};
      say('the game stopped: ' + error);
    });
  }
  starvane.start = start;
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
  document.getElementById('again').addEventListener('click', () => location.reload());

  return {
    noInitialRun: true,
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
    onRuntimeInitialized() {
      FS.mkdir(filesDirectory);
      FS.mount(FS.filesystems.IDBFS, {}, filesDirectory);
      FS.syncfs(true, (error) => {
        if (error) say('this browser keeps no files: ships are not saved');
        const files = fileList();
        knownShots = new Set(files.map(([name]) => name));
        filesSeen = '';
        listShips();
        if (params.has('hold')) {
          say('ready');
          starvane.ready = true;
        } else {
          start(['--files', filesDirectory]);
        }
      });
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
      show(pixels, width, height, prescale, smooth, x, y, pictureWidth, pictureHeight) {
        const image = new ImageData(
            new Uint8ClampedArray(Module.HEAPU8.buffer, pixels, width * height * 4), width, height);
        frameContext.putImageData(image, 0, 0);
        if (screen.width !== width * prescale || screen.height !== height * prescale) {
          screen.width = width * prescale;
          screen.height = height * prescale;
        }
        // Enlarged by a whole multiple with square pixels here; the browser then filters it
        // linearly to the picture's size (or shows it as it is, at an exact multiple).
        context.imageSmoothingEnabled = false;
        context.drawImage(frame, 0, 0, width, height, 0, 0, screen.width, screen.height);
        const ratio = window.devicePixelRatio || 1;
        const style = screen.style;
        style.left = x / ratio + 'px';
        style.top = y / ratio + 'px';
        style.width = pictureWidth / ratio + 'px';
        style.height = pictureHeight / ratio + 'px';
        style.imageRendering = smooth ? 'auto' : 'pixelated';
        starvane.shown = {width: width, height: height};
        if (shownAt === null) {
          shownAt = performance.now();
          starvane.firstFrameAt = shownAt;
        }
      },
      takeEvents(buffer, size) {
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
      pending() { return lines.length + (pressed.some((p) => p) ? 1 : 0); },
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
        filesChanged();
      },
    },
  };
})();
