// Plays the browser build in the system's Chromium, headless, with real input events (the
// DevTools protocol, through playwright-core): the launcher, flight and fire, the STATS page
// bought with the mouse, a reload that finds the ship, every golden replay, whose state
// summary must end exactly as the native build's checked-in one, and the films: a link made by
// the desktop program watched with the page's controls, the kept games' list, Share; and a
// phone played by touch alone (touch_test.js).
//
//   node web_test.js SITE_DIR GOLDEN_DIR [DESKTOP_PROGRAM]
//
// Prints the measurements it makes on the way (page weight, first frame, frame work); none of
// them is a condition of the test. Every check's line goes to checks.txt in the working folder;
// only the failed ones are printed, so that they come first in the test's output, where a
// shortened log still shows them.
'use strict';

const fs = require('fs');
const path = require('path');
const zlib = require('zlib');
const {serveSite, launchChromium, playInPage, pagePoint} = require('./page_games.js');

const {execFileSync} = require('child_process');
const [site, goldenRoot, desktop] = process.argv.slice(2);
const chromiumPath = process.env.STARVANE_CHROMIUM || '/usr/bin/chromium';
let failures = 0;
let checks = 0;
const checksFile = path.resolve('checks.txt');
fs.writeFileSync(checksFile, '');

function check(condition, what) {
  const line = (condition ? 'ok    ' : 'FAIL  ') + what;
  fs.appendFileSync(checksFile, line + '\n');
  if (!condition) console.log(line);
  checks += 1;
  if (!condition) failures += 1;
}

function sleep(ms) { return new Promise((resolve) => setTimeout(resolve, ms)); }

// A summary without the line breaks and indentation that make it readable: the numbers stay
// exactly as written.
function compact(json) {
  let out = '';
  let inString = false;
  for (let i = 0; i < json.length; ++i) {
    const c = json[i];
    if (inString) {
      out += c;
      if (c === '\\')
        out += json[++i];
      else if (c === '"')
        inString = false;
    } else if (c === '"') {
      inString = true;
      out += c;
    } else if (!' \n\r\t'.includes(c)) {
      out += c;
    }
  }
  return out;
}

function firstDifference(a, b) {
  let i = 0;
  while (i < a.length && a[i] === b[i]) ++i;
  return `at ${i}: expected ...${a.slice(Math.max(0, i - 40), i + 60)}\n` +
      `          actual   ...${b.slice(Math.max(0, i - 40), i + 60)}`;
}

// The processor time (seconds) so far of this test's Chromium processes of one type
// (--type=renderer: the pages, --type=gpu-process: the graphics), from /proc: the descendants of
// this process.
function processorSeconds(type) {
  let stats = [];
  try {
    stats = fs.readdirSync('/proc')
                .filter((name) => /^\d+$/.test(name))
                .map((pid) => {
                  try {
                    const stat = fs.readFileSync(`/proc/${pid}/stat`, 'latin1');
                    const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
                    const cmdline = fs.readFileSync(`/proc/${pid}/cmdline`, 'latin1');
                    return {
                      pid: Number(pid),
                      ppid: Number(fields[1]),
                      ticks: Number(fields[11]) + Number(fields[12]),
                      type: (/--type=([a-z-]+)/.exec(cmdline) || [])[1]
                    };
                  } catch (error) {
                    return null;
                  }
                })
                .filter((entry) => entry !== null);
  } catch (error) {
    return NaN;  // no /proc here
  }
  const ours = new Set([process.pid]);
  for (let grown = true; grown;) {
    grown = false;
    for (const entry of stats) {
      if (!ours.has(entry.pid) && ours.has(entry.ppid)) {
        ours.add(entry.pid);
        grown = true;
      }
    }
  }
  const ticksPerSecond = 100;  // USER_HZ on Linux
  return stats.filter((entry) => ours.has(entry.pid) && entry.type === type)
             .reduce((sum, entry) => sum + entry.ticks, 0) /
      ticksPerSecond;
}

function percentile(values, p) {
  const sorted = values.slice().sort((x, y) => x - y);
  return sorted[Math.min(sorted.length - 1, Math.floor((sorted.length - 1) * p))];
}

// ---- The page ------------------------------------------------------------------------------
// Pages of one context share this browser's IndexedDB, as a player's tabs do. A page is open
// when it holds for the test ("?hold"), or for another address when `opened` holds.
async function openPage(context, url, opened) {
  const page = await context.newPage();
  page.on('pageerror', (error) => console.log('page error: ' + error.message));
  page.on('console', (message) => {
    // (The browser's own note that the sound's ScriptProcessorNode is deprecated is left out.)
    if ((message.type() === 'error' || message.type() === 'warning') &&
        !message.text().includes('ScriptProcessorNode')) {
      console.log('page ' + message.type() + ': ' + message.text());
    }
  });
  await page.goto(url);
  await page.waitForFunction(opened || (() => starvane.ready === true), null, {timeout: 30000});
  return page;
}

async function click(page, x, y) {
  const at = await pagePoint(page, x, y);
  await page.mouse.move(at.x, at.y);
  await sleep(100);
  await page.mouse.down();
  await sleep(100);
  await page.mouse.up();
  await sleep(200);
}

async function hold(page, key, ms) {
  await page.keyboard.down(key);
  await sleep(ms);
  await page.keyboard.up(key);
  await sleep(100);
}

// Waits until the game has presented n more frames: in play a clock that slows down with the
// machine, so a key held or a step awaited this way is seen by the game however busy it is.
async function waitFrames(page, n) {
  const from = await page.evaluate(() => starvane.framesShown);
  await page.waitForFunction((until) => starvane.framesShown >= until, from + n, {timeout: 60000});
}

async function holdFrames(page, key, n) {
  await page.keyboard.down(key);
  await waitFrames(page, n);
  await page.keyboard.up(key);
  await waitFrames(page, 5);
}

async function clickInGame(page, x, y) {
  const at = await pagePoint(page, x, y);
  await page.mouse.move(at.x, at.y);
  await waitFrames(page, 5);
  await page.mouse.down();
  await waitFrames(page, 5);
  await page.mouse.up();
  await waitFrames(page, 5);
}

async function waitForGameScreen(page) {
  await page.waitForFunction(
      () => starvane.shown && starvane.shown.width === 800, null, {timeout: 10000});
}

async function waitForEnd(page) {
  await page.waitForFunction(() => starvane.result !== null, null, {timeout: 30000})
      .catch(async (error) => {
        await page.screenshot({path: 'web-test-failure.png'});  // beside the npm packages
        throw error;
      });
  return page.evaluate(() => starvane.result);
}

const liveArgs = ['--files', '/starvane', '--record', '/record.txt', '--dump', '/dump.json'];

function shipLines(text) { return text.split('\r\n'); }

// ---- The player's games ------------------------------------------------------------------
async function playedGames(browser, url) {
  const context = await browser.newContext({viewport: {width: 1024, height: 800}});
  // A new player: the launcher, "New", a name, a difficulty; fly and fire; Escape saves.
  let page = await openPage(context, url + '?hold');
  const loadStarted = Date.now();
  await page.evaluate((args) => starvane.start(args), liveArgs);
  await page.waitForFunction(() => starvane.shown !== null, null, {timeout: 10000});
  console.log(`measure: launcher's first frame ${Date.now() - loadStarted} ms after start`);
  await sleep(300);
  await click(page, 275, 110);                                         // New
  for (let i = 0; i < 8; ++i) await page.keyboard.press('Backspace');  // "SHIPNAME"
  await page.keyboard.type('Webby');
  await page.keyboard.press('Enter');
  await sleep(300);
  await click(page, 75, 65);  // Easy
  await waitForGameScreen(page);
  await sleep(300);
  await hold(page, 'F1', 100);  // a new ship's first game opens on the controls: back to it
  await page.evaluate(() => {
    starvane.frameWork = [];
  });  // the frames of flight from here
  await hold(page, 'ArrowUp', 800);
  await hold(page, 'Space', 400);
  await hold(page, 'ArrowLeft', 300);
  // A game controller, as the Gamepad API gives a standard one: its right shoulder turns the
  // turret, the game's D by the default bindings.
  await page.evaluate(() => {
    const buttons = Array.from({length: 17}, () => ({pressed: false, value: 0}));
    window.fakePad = {connected: true, mapping: 'standard', buttons, axes: [0, 0, 0, 0]};
    Object.defineProperty(navigator, 'getGamepads', {value: () => [window.fakePad]});
    window.fakePad.buttons[5] = {pressed: true, value: 1};
  });
  await waitFrames(page, 10);  // the page reads the controller once a frame
  await page.evaluate(() => { window.fakePad.buttons[5] = {pressed: false, value: 0}; });
  await waitFrames(page, 5);
  // Ten seconds of the default world, for the frame-work measurement and the processor time the
  // page and the graphics process take for it.
  const before = {page: processorSeconds('renderer'), gpu: processorSeconds('gpu-process')};
  await sleep(10000);
  const pagePercent = 10 * (processorSeconds('renderer') - before.page);
  const gpuPercent = 10 * (processorSeconds('gpu-process') - before.gpu);
  console.log(
      `measure: flying at 1024x800 for 10 s: page ${pagePercent.toFixed(1)} % and ` +
      `graphics ${gpuPercent.toFixed(1)} % of a core, together ` +
      `${(pagePercent + gpuPercent).toFixed(1)} %`);
  const frameWork = await page.evaluate(() => starvane.frameWork);
  // The keys let the page sound: the game's frames of sound reach Web Audio.
  const soundFrames = await page.evaluate(() => starvane.soundFrames);
  check(soundFrames > 50, `the game's sound is played through Web Audio (${soundFrames} frames)`);
  // F12 writes the screenshot into the files directory; the page hands it over as a download.
  const [shot] =
      await Promise.all([page.waitForEvent('download', {timeout: 10000}), hold(page, 'F12', 100)]);
  const shotBytes = fs.readFileSync(await shot.path());
  check(
      shot.suggestedFilename() === 'starvane-001.bmp' &&
          shotBytes.subarray(0, 2).toString() === 'BM',
      'F12 downloads starvane-001.bmp');
  // A page that loses the focus pauses the game while Up is held (and lets Up go); P goes on.
  await page.keyboard.down('ArrowUp');
  await sleep(200);
  await page.evaluate(() => window.dispatchEvent(new Event('blur')));
  await sleep(300);
  await page.keyboard.up('ArrowUp');
  await hold(page, 'KeyP', 150);
  await sleep(200);
  await page.keyboard.press('Escape');
  let result = await waitForEnd(page);
  check(result.status === 0, 'the first game ends by Escape with status 0');
  const listed = await page.evaluate(
      () => [...document.querySelectorAll('#ships option')].map((o) => o.value));
  check(listed.includes('Webby.shp'), 'the ship just saved can be downloaded at once');
  let record = await page.evaluate(() => starvane.readFiles('/')['record.txt'] || '');
  check(
      / down Up\b/.test(record) && / down Space\b/.test(record) && / down Left\b/.test(record),
      'Up, Space and Left reached the game as its keys (the recording holds them)');
  check(/ type Webby/.test(record) || /type W/.test(record), 'the name was typed in the launcher');
  check(/ focus lost/.test(record), 'the lost focus reached the game (the recording holds it)');
  check(/ down P\b/.test(record), 'P went on after the pause');
  check(/ down D\b/.test(record), 'a game controller turned the turret (its D is recorded)');
  let dump = JSON.parse(await page.evaluate(() => starvane.readFiles('/')['dump.json']));
  check(
      dump.shipName === 'Webby' && dump.difficulty === 1,
      `the game flew Webby on Easy (${JSON.stringify(dump.shipName)}, ${dump.difficulty})`);
  check(dump.ship.speedX !== 0 || dump.ship.speedY !== 0, 'the ship moved under thrust');
  let files = await page.evaluate(() => starvane.readFiles('/starvane'));
  check(
      files['ships.txt'] === 'Webby\r\n',
      `ships.txt holds the new ship (${JSON.stringify(files['ships.txt'])})`);
  check(files['Webby.shp'] !== undefined, 'Webby.shp was saved');
  await page.close();

  // A ship file with money comes in through the page's upload; the launcher lists it after a
  // reload, and the STATS page sells it one step of maximum life for a click.
  page = await openPage(context, url + '?hold');
  const veteran = fs.readFileSync(path.join(goldenRoot, 'veteran_workshop/files/Veteran.shp'));
  await page.setInputFiles('#upload', {name: 'Webby.shp', mimeType: 'text/plain', buffer: veteran});
  await page.waitForFunction(() => /uploaded/.test(document.getElementById('status').textContent));
  await page.close();
  page = await openPage(context, url + '?hold');
  files = await page.evaluate(() => starvane.readFiles('/starvane'));
  check(files['Webby.shp'] === veteran.toString('latin1'), 'the uploaded ship file is kept');
  check(files['ships.txt'] === 'Webby\r\n', 'an uploaded ship already listed is listed once');
  await page.evaluate((args) => starvane.start(args), liveArgs);
  await page.waitForFunction(() => starvane.shown !== null, null, {timeout: 10000});
  await sleep(300);
  await click(page, 75, 65);  // Easy, with the listed ship
  await waitForGameScreen(page);
  await waitFrames(page, 10);
  await holdFrames(page, 'KeyT', 130);  // the teleport takes the ship home to the planet
  await waitFrames(page, 10);
  await page.keyboard.press('KeyC');
  await waitFrames(page, 10);
  await clickInGame(page, 156, 122);    // maximum life's box
  await page.keyboard.press('Escape');  // closes the page
  await waitFrames(page, 10);
  await page.keyboard.press('Escape');  // ends the game
  result = await waitForEnd(page);
  check(result.status === 0, 'the second game ends by Escape with status 0');
  dump = JSON.parse(await page.evaluate(() => starvane.readFiles('/')['dump.json']));
  check(
      dump.equipment.Life.max === 105,
      `one step of maximum life was bought (max ${dump.equipment.Life.max})`);
  check(dump.money === 100000 - 100, `it cost 100 (money ${dump.money})`);
  await page.close();

  // The purchase is in this browser's files after a reload, and the ship can be downloaded.
  page = await openPage(context, url + '?hold');
  files = await page.evaluate(() => starvane.readFiles('/starvane'));
  const lines = shipLines(files['Webby.shp'] || '');
  check(
      lines[1] === '105' && lines[30] === '99900',
      'the reloaded page finds Webby with its purchase');
  await page.selectOption('#ships', 'Webby.shp');
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#download')]);
  const downloaded = fs.readFileSync(await download.path(), 'latin1');
  check(
      download.suggestedFilename() === 'Webby.shp' && downloaded === files['Webby.shp'],
      'Download ship gives the ship file as it is kept');
  await page.close();
  await context.close();
  return frameWork;
}

// ---- The browser's own data ----------------------------------------------------------------
// Two pages of one browser on one ship, a hidden page that may be closed next, a game that fails,
// a page opened before another one's save flying that ship, and hostile uploads.
async function browserData(browser, url) {
  const context = await browser.newContext({viewport: {width: 1024, height: 800}});
  const args = ['--files', '/starvane', '--ship', 'Tabby', '--difficulty', 'easy'];
  const first = await openPage(context, url + '?hold');
  await first.evaluate((a) => starvane.start(a), args);
  await waitForGameScreen(first);
  await sleep(300);
  await hold(first, 'F1', 100);  // from the new ship's controls to the game
  const second = await openPage(context, url + '?hold');
  await second.evaluate((a) => starvane.start(a), args);
  const refused = await waitForEnd(second);
  const ended = await second.evaluate(() => document.getElementById('ended').innerText);
  check(
      refused.status === 1 && /failure/.test(ended) &&
          /ship 'Tabby' is in another game/.test(ended),
      `a second page on the ship is refused and says why (${JSON.stringify(ended)})`);
  await second.close();

  // Hidden, the page saves the ship into IndexedDB: another page finds it before any Escape.
  await first.evaluate(() => {
    Object.defineProperty(document, 'hidden', {value: true, configurable: true});
    document.dispatchEvent(new Event('visibilitychange'));
  });
  // The game takes the page's news at its next frame, then the page writes the files.
  await first
      .waitForFunction(
          () => starvane.readFiles('/starvane')['Tabby.shp'] !== undefined && starvane.filesKept(),
          null, {timeout: 5000})
      .catch(() => {});
  const other = await openPage(context, url + '?hold');
  const kept = (await other.evaluate(() => starvane.readFiles('/starvane')))['Tabby.shp'];
  await first.evaluate(() => {
    delete document.hidden;
  });
  // Escape ends the paused game, saving the ship (a second one, should the first have closed
  // the controls instead).
  for (let i = 0; i < 3; ++i) {
    await first.keyboard.press('Escape');
    const ended = () => starvane.result !== null;
    if (await first.waitForFunction(ended, null, {timeout: 1500}).then(() => true, () => false))
      break;
  }
  const result = await waitForEnd(first);
  const saved = (await first.evaluate(() => starvane.readFiles('/starvane')))['Tabby.shp'];
  check(
      result.status === 0 && kept !== undefined && kept === saved,
      'a hidden page keeps the ship in IndexedDB as Escape then saves it' +
          (kept === undefined ? ' (nothing kept)' :
               kept === saved ? '' :
                                ' (kept differs)'));

  // The first page changes Tabby (a ship with money comes in over it) and adds a ship; then the
  // other page, opened before, flies Tabby: it flies the ship as kept, and keeps both.
  const ship = fs.readFileSync(path.join(goldenRoot, 'veteran_workshop/files/Veteran.shp'));
  for (const name of ['Tabby.shp', 'Vetty.shp']) {
    await first.evaluate(() => {
      document.getElementById('status').textContent = '';
    });
    await first.setInputFiles('#upload', {name: name, mimeType: 'text/plain', buffer: ship});
    await first.waitForFunction(
        () => /uploaded/.test(document.getElementById('status').textContent));
  }
  await first.close();
  await other.evaluate((a) => starvane.start(a), args);
  await waitForGameScreen(other);
  await waitFrames(other, 5);
  for (let i = 0; i < 3; ++i) {  // as above: a second Escape, should the first close the controls
    await other.keyboard.press('Escape');
    const ended = () => starvane.result !== null;
    if (await other.waitForFunction(ended, null, {timeout: 1500}).then(() => true, () => false))
      break;
  }
  const flown = await waitForEnd(other);
  const inDb = await other.evaluate(
      (keys) => new Promise((resolve) => {
        indexedDB.open('/starvane').onsuccess = (event) => {
          const store = event.target.result.transaction('FILE_DATA').objectStore('FILE_DATA');
          const files = {};
          for (const key of keys) {
            store.get(key).onsuccess = (got) => {
              const entry = got.target.result;
              files[key] = entry && String.fromCharCode(...entry.contents);
              if (Object.keys(files).length === keys.length) resolve(files);
            };
          }
        };
      }),
      ['/starvane/Tabby.shp', '/starvane/Vetty.shp']);
  const tabby = shipLines(inDb['/starvane/Tabby.shp'] || '');
  check(
      flown.status === 0 && tabby[30] === shipLines(ship.toString('latin1'))[30] &&
          inDb['/starvane/Vetty.shp'] !== undefined,
      'a page opened before another changed a ship flies it as kept and keeps the other\'s ' +
          `files (money ${tabby[30]}, Vetty.shp ${inDb['/starvane/Vetty.shp'] ? 'kept' : 'lost'})`);

  // Uploads the game would not read are refused with a message; a name leads nowhere but the
  // files directory, as long as the game takes names.
  const upload = async (name, buffer) => {
    await other.evaluate(() => {
      document.getElementById('status').textContent = '';
    });
    await other.setInputFiles('#upload', {name: name, mimeType: 'text/plain', buffer: buffer});
    await other.waitForFunction(() => document.getElementById('status').textContent !== '');
    return other.evaluate(() => document.getElementById('status').textContent);
  };
  // A file name as long as the game writes them (255 bytes) is listed without widening the bar.
  await other.evaluate(
      () => FS.writeFile(
          '/starvane/' +
              'W'.repeat(251) + '.shp',
          'x'));
  // A line of ships.txt in another encoding stays as it is when an upload adds a ship.
  await other.evaluate(() => {
    let list = [];
    try {
      list = [...FS.readFile('/starvane/ships.txt')];
    } catch (error) {
      list = [];
    }
    const cafe = [0x43, 0x61, 0x66, 0xe9, 0x0d, 0x0a];  // "Caf\xe9\r\n" in Windows-1252
    FS.writeFile('/starvane/ships.txt', Uint8Array.from([...list, ...cafe]));
  });
  const long = 'L'.repeat(5000);
  const said = [
    await upload('../evil.shp', ship), await upload('Big.shp', Buffer.alloc(10 << 20, 48)),
    await upload(long + '.shp', ship), await upload('notes.txt', ship)
  ];
  const files = await other.evaluate(() => starvane.readFiles('/starvane'));
  const root = await other.evaluate(() => starvane.readFiles('/'));
  check(
      files['evil.shp'] === ship.toString('latin1') && root['evil.shp'] === undefined,
      `"../evil.shp" is kept as evil.shp in the files directory (${said[0]})`);
  check(
      files['Big.shp'] === undefined && /64 KiB/.test(said[1]),
      `a 10 MB ship file is refused (${said[1]})`);
  check(
      files['L'.repeat(60) + '.shp'] !== undefined && /\r\n(L{60})\r\n$/.test(files['ships.txt']),
      'a 5,000-character name is kept as its first 60 characters');
  check(
      /not a ship file/.test(said[3]) && files['notes.txt'] === undefined,
      `a .txt is refused (${said[3]})`);
  check(
      /(^|\n)Caf\xe9\r\n/.test(files['ships.txt']),
      `a Windows-1252 line of ships.txt outlives an upload (${
          JSON.stringify(files['ships.txt'])})`);
  // A write IndexedDB refuses is told as such.
  await other.evaluate(() => {
    const idbfs = FS.filesystems.IDBFS;
    idbfs.keptStore = idbfs.storeRemoteEntry;
    idbfs.storeRemoteEntry = (store, path, entry, done) => done(new Error('the disk is full'));
  });
  const refusedWrite = await upload('Full.shp', ship);
  await other.evaluate(() => {
    const idbfs = FS.filesystems.IDBFS;
    idbfs.storeRemoteEntry = idbfs.keptStore;
  });
  check(
      /not kept.*disk is full/.test(refusedWrite),
      `an upload IndexedDB does not keep says so (${refusedWrite})`);
  const right = await other.evaluate(
      () => Math.max(...['#download', '#upload-label'].map(
          (id) => document.querySelector(id).getBoundingClientRect().right)));
  check(right <= 1024, `Download and Upload stay on the page (right edge ${right})`);
  await other.close();

  // A game that stops with an error (here one made to) frees its ship and tells the error.
  const stopped = await openPage(context, url + '?hold');
  const stop = await stopped.evaluate(async () => {
    await Module.page.holdShip('/starvane/Tabby.shp');
    Module.ccall = () => Promise.reject(new Error('a trap'));
    starvane.start(['--files', '/starvane']);
    await new Promise((resolve) => {
      const wait = () => (starvane.result ? resolve() : setTimeout(wait, 10));
      wait();
    });
    const held = (await navigator.locks.query()).held.map((lock) => lock.name);
    return {
      held: held,
      ended: document.getElementById('ended').hidden ? '' :
                                                       document.getElementById('ended').innerText
    };
  });
  check(
      stop.held.length === 0 && /failure/.test(stop.ended) && /a trap/.test(stop.ended),
      `a game that stops frees its ship and says why (${JSON.stringify(stop)})`);
  await stopped.close();
  await context.close();
}

// ---- Films, links and kept games ---------------------------------------------------------
function runDesktop(args) { return execFileSync(desktop, args, {encoding: 'latin1'}); }

// The picture on the page's canvas against a 24-bit BMP of the desktop (rows bottom up, BGR):
// the number of pixels that differ.
async function pixelsDifferingFromBmp(page, bmp) {
  const rgba = Buffer.from(await page.evaluate(() => {
    const canvas = document.getElementById('screen');
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let text = '';
    for (let i = 0; i < data.length; i += 4096) {
      text += String.fromCharCode.apply(null, data.subarray(i, i + 4096));
    }
    return text;
  }), 'latin1');
  const width = bmp.readInt32LE(18);
  const height = bmp.readInt32LE(22);
  if (rgba.length !== width * height * 4) return width * height;
  let differing = 0;
  for (let y = 0; y < height; ++y) {
    for (let x = 0; x < width; ++x) {
      const at = bmp.readUInt32LE(10) + ((height - 1 - y) * width + x) * 3;
      const on = (y * width + x) * 4;
      if (rgba[on] !== bmp[at + 2] || rgba[on + 1] !== bmp[at + 1] || rgba[on + 2] !== bmp[at]) {
        differing += 1;
      }
    }
  }
  return differing;
}

// Waits until the film shows what `until` asks of starvane.film; false after the time.
async function filmShows(page, until, ms) {
  return page.waitForFunction(`starvane.film !== null && (${until})(starvane.film)`, null,
                              {timeout: ms || 20000})
      .then(() => true, () => false);
}

async function films(browser, url) {
  if (!desktop) {
    console.log('skipped: the films (no desktop program to make and read links)');
    return;
  }
  const context = await browser.newContext({viewport: {width: 1024, height: 800}});
  const script = path.join(goldenRoot, 'fight_shock_death/script.txt');
  const recording = fs.readFileSync(script, 'latin1');
  const link = runDesktop(['--link', script, '--site', url]).trim();
  const shot = path.join(fs.mkdtempSync('/tmp/starvane-web-'), 'end.bmp');
  runDesktop(['--headless', '--input', script, '--screenshot', shot]);

  // A link opened: its recording is written to the page's memory (not the files directory),
  // and the film plays it with the page's controls, driven here by real clicks and keys.
  const watching = () => starvane.started || !document.getElementById('ended').hidden;
  let page = await openPage(context, link, watching);
  const written = await page.evaluate(() => {
    try {
      return starvane.readFiles('/watch')['link.txt'];
    } catch (error) {
      return document.getElementById('ended').innerText;  // refused: why
    }
  });
  check(written === recording,
        'a link from the desktop opens to its recording, byte for byte' +
            (written === recording ? '' : ` (${JSON.stringify(written.slice(0, 100))})`));
  const shown = await filmShows(page, '(f) => f.length === 1150 && f.frame > 0', 10000);
  check(shown, 'the film plays the link (needs the film)');
  if (shown) {
    await page.click('#film-play');
    const pausedAt = await filmShows(page, '(f) => f.paused') &&
        await page.evaluate(() => starvane.film.frame);
    await sleep(300);
    const still = await page.evaluate(() => starvane.film.frame);
    await page.keyboard.press('Period');
    const stepped = await filmShows(page, `(f) => f.frame === ${still + 1} && f.paused`, 5000);
    check(pausedAt !== false && pausedAt === still && stepped,
          `Pause holds the film (${pausedAt}, ${still}) and "." steps one frame`);
    await page.selectOption('#film-speed', '32');
    check(await filmShows(page, '(f) => f.quarters === 32', 5000), 'the speed list sets 8x');
    // The timeline: a click at its middle seeks there.
    const box = await page.locator('#film-timeline').boundingBox();
    await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
    const middle = await filmShows(page, '(f) => Math.abs(f.frame - 575) < 60', 10000);
    check(middle, `a click on the timeline's middle seeks there (frame ${
        await page.evaluate(() => starvane.film.frame)})`);
    await page.click('#film-play');
    const ended = await filmShows(page, '(f) => f.ended && f.frame === f.length', 30000);
    const differing = ended ? await pixelsDifferingFromBmp(page, fs.readFileSync(shot)) : -1;
    check(ended && differing === 0,
          `the film ends on the desktop's last picture (${differing} pixels differ)`);
  }
  await page.close();

  // Seeking in a long film (three minutes of a plausible hand), by the keys 1 to 9: printed,
  // never asserted.
  const long = ['seed 77', 'difficulty normal', 'ship Longhaul'];
  for (let frame = 0; frame < 9000; frame += 50) {
    const key = ['Up', 'Left', 'Space', 'Right'][(frame / 50) % 4];
    long.push(`${frame} down ${key}`, `${frame + 30} up ${key}`);
  }
  long.push('9000 end frames');
  const longFile = path.join(path.dirname(shot), 'long.txt');
  fs.writeFileSync(longFile, long.join('\n') + '\n');
  page = await openPage(context, runDesktop(['--link', longFile, '--site', url]).trim(), watching);
  if (await filmShows(page, '(f) => f.length === 9000 && f.frame > 0')) {
    await page.click('#film-play');
    const times = [];
    for (const digit of [9, 2, 6, 4, 8]) {
      const target = Math.floor(9000 * digit / 10);
      const began = Date.now();
      await page.keyboard.press('Digit' + digit);
      if (await filmShows(page, `(f) => f.frame === ${target}`, 20000)) times.push(Date.now() - began);
    }
    if (times.length > 0) {
      console.log(`measure: seeking in a 9,000-frame film: median ${percentile(times, 0.5)} ms ` +
                  `(${times.join(', ')} ms)`);
    }
  }
  await page.close();

  // A recording opened from the disk is watched from the page's memory.
  page = await openPage(context, url + '?hold');
  await page.setInputFiles(
      '#open', {name: 'game.txt', mimeType: 'text/plain', buffer: Buffer.from(recording, 'latin1')});
  await page.waitForFunction(() => starvane.started, null, {timeout: 5000}).catch(() => {});
  const opened = await page.evaluate(() => {
    try {
      return starvane.readFiles('/watch')['opened.txt'];
    } catch (error) {
      return null;
    }
  });
  check(opened === recording, 'Open a recording watches the file as it is');
  await page.close();

  // A damaged link says why on the page, at once.
  page = await openPage(context, url + '#r=SwQAAA', watching);
  const said = await page.evaluate(() => document.getElementById('ended').innerText);
  check(/cannot be played.*damaged/s.test(said), `a damaged link says so (${JSON.stringify(said)})`);
  await page.close();
  // A link that inflates past 64 MiB is stopped there, with its reason.
  const bomb = zlib.deflateRawSync(Buffer.alloc((64 << 20) + 1, 97), {level: 1})
                   .toString('base64').replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
  page = await openPage(context, url + '#r=' + bomb, watching);
  const bombSaid = await page.evaluate(() => document.getElementById('ended').innerText);
  check(/more than 64 MiB/.test(bombSaid), `a link past 64 MiB is refused (${
      JSON.stringify(bombSaid.slice(0, 80))}, ${bomb.length} characters)`);
  await page.close();

  // Kept games in replays/ outlive a reload (IndexedDB keeps their folder), are listed newest
  // first with what their header and result line tell, download as they are, and share as a
  // link the desktop reads.
  page = await openPage(context, url + '?hold');
  const name = '2026-12-10_13-40-05.txt';
  const kept = recording.replace(/^seed/m, 'date 2026-12-10T13:40:05Z\nseed') +
      'result frames 1150 moneyStart 100 moneyEnd 1334 bigRocks 0 rocks 0 littleRocks 0 ' +
      'fragments 0 crafts 0 glimmerhexes 0 deaths 1 frameHash 0123456789abcdef\n';
  const older = '2026-12-09_08-00-00.txt';
  await page.evaluate((files) => {
    FS.mkdirTree('/starvane/replays');
    for (const [name, text] of files) {
      FS.writeFile('/starvane/replays/' + name, Uint8Array.from(text, (c) => c.charCodeAt(0)));
    }
  }, [[name, kept], [older, recording]]);
  await page.waitForFunction(() => starvane.filesKept(), null, {timeout: 5000});
  await page.close();
  page = await openPage(context, url + '?hold');
  await page.click('#replays-open');
  const rows = await page.evaluate(() => [...document.querySelectorAll('#replays-list tr')].map(
      (tr) => [...tr.cells].slice(0, 5).map((cell) => cell.textContent).join('|')));
  check(rows.length === 2 && /\|MyShip\|easy\|0:23\|1,234$/.test(rows[0]) &&
            rows[1] === '2026-12-09 08:00:00 UTC|MyShip|easy|0:23|-',
        `kept games outlive a reload and are listed newest first (${JSON.stringify(rows)})`);
  const [download] = await Promise.all([
    page.waitForEvent('download'),
    page.click('#replays-list tr:first-child button:has-text("Download")')
  ]);
  check(download.suggestedFilename() === name &&
            fs.readFileSync(await download.path(), 'latin1') === kept,
        'Download gives the kept game as it is');
  await page.click('#replays-list tr:nth-child(2) button:has-text("Share")');
  await page.waitForFunction(() => starvane.sharedLink !== null, null, {timeout: 5000});
  const shared = await page.evaluate(() => starvane.sharedLink);
  // The desktop reads the page's link and makes it again: the same link, so the same bytes.
  let again = '';
  try {
    again = runDesktop(['--link', shared.replace(/^[^#]*/, 'x'), '--site', 'x']);
  } catch (error) {
    again = String(error.stderr || error);
  }
  check(shared.startsWith(url + '#r=') &&
            again.trim() === runDesktop(['--link', script, '--site', 'x']).trim(),
        `the page's Share link decodes with the desktop's codec to the same bytes (${
            shared.length} characters: ${again.trim().slice(0, 40)})`);
  // Choosing it watches it.
  await page.click('#replays-list tr:first-child');
  check(await filmShows(page, '(f) => f.length === 1150', 10000),
        'a kept game chosen plays as a film (needs the film)');
  await page.close();

  // The end of a game played here shares the recording the game kept (needs kept games).
  page = await openPage(context, url + '?hold');
  await page.evaluate(
      () => starvane.start(['--files', '/starvane', '--ship', 'Sharer', '--difficulty', 'easy']));
  await waitForGameScreen(page);
  await hold(page, 'F1', 100);  // from the new ship's controls to the game
  for (let i = 0; i < 3; ++i) {  // Escape ends the game (a second one, should it close the controls)
    await page.keyboard.press('Escape');
    if (await page.waitForFunction(() => starvane.result !== null, null, {timeout: 1500})
            .then(() => true, () => false))
      break;
  }
  await waitForEnd(page);
  let sharedEnd = '';
  if (await page.evaluate(() => !document.getElementById('share-last').hidden)) {
    await page.evaluate(() => { starvane.sharedLink = null; });
    await page.click('#share-last');
    await page.waitForFunction(() => starvane.sharedLink !== null, null, {timeout: 5000});
    const newest = Object.entries(await page.evaluate(() => starvane.readFiles('/starvane/replays')))
                       .sort().pop();
    const file = path.join(path.dirname(shot), newest[0]);
    fs.writeFileSync(file, newest[1], 'latin1');
    const link = await page.evaluate(() => starvane.sharedLink);
    sharedEnd = runDesktop(['--link', link.replace(/^[^#]*/, 'x'), '--site', 'x']) ===
            runDesktop(['--link', file, '--site', 'x']) ?
        'same' :
        'differs';
  }
  check(sharedEnd === 'same',
        `the end of a game shares the game it kept (${sharedEnd || 'no Share'}; needs kept games)`);
  await page.close();
  await context.close();
  fs.rmSync(path.dirname(shot), {recursive: true, force: true});
}

// ---- The golden replays ------------------------------------------------------------------
async function goldens(browser, url) {
  for (const name of fs.readdirSync(goldenRoot).sort()) {
    const folder = path.join(goldenRoot, name);
    if (!fs.statSync(folder).isDirectory()) continue;
    const inputs = {
      '/golden/script.txt': fs.readFileSync(path.join(folder, 'script.txt'), 'latin1')
    };
    const filesFolder = path.join(folder, 'files');
    if (fs.existsSync(filesFolder)) {
      for (const file of fs.readdirSync(filesFolder)) {
        inputs['/golden/files/' + file] = fs.readFileSync(path.join(filesFolder, file), 'latin1');
      }
    }
    const played = await playInPage(
        browser, url,
        [
          '--headless', '--files', '/golden/files', '--input', '/golden/script.txt', '--dump',
          '/golden/dump.json'
        ],
        inputs, ['/golden', '/golden/files']);
    if (played.status !== 0) console.log(played.stderr);
    const result = {status: played.status};
    const out = {
      dump: played.folders['/golden']['dump.json'] || '',
      files: played.folders['/golden/files']
    };
    const expected = compact(fs.readFileSync(path.join(folder, 'expected/dump.json'), 'latin1'));
    const actual = compact(out.dump);
    check(
        result.status === 0 && actual === expected,
        `golden ${name}: the browser's state summary and frameHash match` +
            (actual === expected ? '' : '\n      ' + firstDifference(expected, actual)));
    const expectedFiles = path.join(folder, 'expected/files');
    for (const file of fs.existsSync(expectedFiles) ? fs.readdirSync(expectedFiles) : []) {
      check(
          out.files[file] === fs.readFileSync(path.join(expectedFiles, file), 'latin1'),
          `golden ${name}: ${file} is written byte for byte`);
    }
  }
}

function pageWeight() {
  let plain = 0;
  let packed = 0;
  for (const file of fs.readdirSync(site)) {
    const bytes = fs.readFileSync(path.join(site, file));
    plain += bytes.length;
    packed += zlib.gzipSync(bytes, {level: 9}).length;
  }
  console.log(`measure: page weight ${plain} bytes, ${packed} bytes gzipped`);
}

(async () => {
  pageWeight();
  const server = await serveSite(site);
  const url = `http://127.0.0.1:${server.address().port}/`;
  const browser = await launchChromium(chromiumPath);
  try {
    // The first frame of the page as a player opens it: from navigation to the launcher.
    const page = await browser.newPage({viewport: {width: 1024, height: 800}});
    await page.goto(url);
    await page.waitForFunction(() => starvane.firstFrameAt !== null, null, {timeout: 30000});
    const first = await page.evaluate(() => starvane.firstFrameAt);
    console.log(`measure: the launcher's first frame ${first.toFixed(0)} ms after navigation`);
    await page.close();

    const frameWork = await playedGames(browser, url);
    await browserData(browser, url);
    await require('./touch_test.js').touchGames(browser, url, goldenRoot, check);
    await require('./offline_test.js').offline(chromiumPath, site, check);
    if (frameWork.length > 0) {
      console.log(
          `measure: frame work in flight over ${frameWork.length} frames: median ` +
          `${percentile(frameWork, 0.5).toFixed(3)} ms, 99th percentile ` +
          `${percentile(frameWork, 0.99).toFixed(3)} ms`);
    }
    await goldens(browser, url);
    await films(browser, url);
  } catch (error) {
    check(false, 'the browser test ran to its end: ' + (error.stack || error));
  } finally {
    await browser.close();
    server.close();
  }
  console.log(
      (failures === 0 ? `all ${checks} browser checks passed` :
                        `${failures} of ${checks} browser checks failed`) +
      ` (each check: ${checksFile})`);
  process.exit(failures === 0 ? 0 : 1);
})();
