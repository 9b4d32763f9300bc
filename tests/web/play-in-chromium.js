// The browser build in the system's Chromium, headless, taking the desktop program's command
// line: the chromium target of tools/crosscheck.
//
//   node play-in-chromium.js SITE_DIR -- ARGUMENTS...   one game, as the program plays it
//   node play-in-chromium.js SITE_DIR < GAMES           many games in one browser
//
// The files a game reads (--files DIR, --input FILE) are copied into the page's memory before it
// starts, and those it writes (the files directory, --dump, --record, --screenshot,
// --audio-out FILE) are copied back when it has ended, so that the disk looks as if the desktop
// program had played. One game prints what the game printed and exits with its status; many
// games take one JSON array of arguments a line and print one JSON line {status, stdout, stderr}
// a game, in order. STARVANE_CHROMIUM names the browser (default /usr/bin/chromium).
'use strict';

const fs = require('fs');
const path = require('path');
const readline = require('readline');
const {serveSite, launchChromium, playInPage} = require('./page_games.js');

const FILES = '/game/files';
const written = {
  '--dump': '/game/dump',
  '--record': '/game/record',
  '--screenshot': '/game/screenshot',
  '--audio-out': '/game/audio-out'
};

function bytesOf(file) { return fs.readFileSync(file).toString('latin1'); }

// The game's arguments in page paths, the files to hand in, and what to copy back where.
function translate(args) {
  const pageArgs = [];
  const inputs = {};
  const back = [];  // [page path, host path]
  let filesDir = null;
  for (let i = 0; i < args.length; ++i) {
    const option = args[i];
    const value = args[i + 1];
    if (option === '--files' && value !== undefined) {
      filesDir = value;
      for (const entry of fs.readdirSync(value, {withFileTypes: true})) {
        if (entry.isFile())
          inputs[`${FILES}/${entry.name}`] = bytesOf(path.join(value, entry.name));
      }
      pageArgs.push(option, FILES);
      ++i;
    } else if (option === '--input' && value !== undefined && value !== '-') {
      inputs['/game/input'] = fs.existsSync(value) ? bytesOf(value) : '';
      pageArgs.push(option, fs.existsSync(value) ? '/game/input' : value);
      ++i;
    } else if (option in written && value !== undefined && value !== '-') {
      pageArgs.push(option, written[option]);
      back.push([written[option], value]);
      ++i;
    } else {
      pageArgs.push(option);
    }
  }
  return {pageArgs, inputs, back, filesDir};
}

// Copies back what the game left: the files directory as the page has it, and each file written.
function copyBack(game, folders) {
  if (game.filesDir !== null) {
    const kept = folders[FILES];
    for (const entry of fs.readdirSync(game.filesDir, {withFileTypes: true})) {
      if (entry.isFile() && !(entry.name in kept))
        fs.unlinkSync(path.join(game.filesDir, entry.name));
    }
    for (const [name, bytes] of Object.entries(kept)) {
      fs.writeFileSync(path.join(game.filesDir, name), Buffer.from(bytes, 'latin1'));
    }
  }
  for (const [page, host] of game.back) {
    const name = path.basename(page);
    if (name in folders['/game'])
      fs.writeFileSync(host, Buffer.from(folders['/game'][name], 'latin1'));
  }
}

async function play(browser, url, args) {
  const game = translate(args);
  const played =
      await playInPage(browser, url, game.pageArgs, game.inputs, ['/game', FILES], 600000);
  copyBack(game, played.folders);
  return {status: played.status, stdout: played.stdout, stderr: played.stderr};
}

(async () => {
  const [site, separator, ...args] = process.argv.slice(2);
  // Chromium starts with the first game: a batch without one plays nothing, at once.
  let server = null;
  let browser = null;
  const playOne = async (game) => {
    if (browser === null) {
      server = await serveSite(site);
      browser = await launchChromium(process.env.STARVANE_CHROMIUM || '/usr/bin/chromium');
    }
    return play(browser, `http://127.0.0.1:${server.address().port}/`, game);
  };
  let status = 0;
  try {
    if (separator === '--') {
      const result = await playOne(args);
      process.stdout.write(result.stdout);
      process.stderr.write(result.stderr);
      status = result.status;
    } else {
      for await (const line of readline.createInterface({input: process.stdin})) {
        if (line.trim() === '') continue;
        let result;
        try {
          result = await playOne(JSON.parse(line));
        } catch (error) {
          result = {status: -1, stdout: '', stderr: String(error.stack || error)};
        }
        process.stdout.write(JSON.stringify(result) + '\n');
      }
    }
  } finally {
    if (browser !== null) await browser.close();
    if (server !== null) server.close();
  }
  process.exitCode = status < 0 ? 1 : status;
})().catch((error) => {
  console.error('play-in-chromium: ' + (error.stack || error));
  process.exit(1);
});
