// The browser build played as a program: a static server for the site folder, the system's
// Chromium started headless, and one game played in a page of its own, its files handed in
// before it starts and taken out when it has ended. The browser test (web_test.js) and
// play-in-chromium.js (the chromium target of tools/crosscheck) play their games this way.
'use strict';

const fs = require('fs');
const http = require('http');
const path = require('path');
const {chromium} = require('playwright-core');

const types = {
  '.html': 'text/html',
  '.js': 'text/javascript',
  '.css': 'text/css',
  '.wasm': 'application/wasm',
  '.webmanifest': 'application/manifest+json',
  '.svg': 'image/svg+xml',
};

// Serves the site folder as any web host would, on a free port of this machine only (or on
// `port`, the one a stopped server served the same site's address on).
function serveSite(site, port) {
  const server = http.createServer((request, response) => {
    let name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    if (name === '/') name = '/index.html';
    const file = path.join(site, path.normalize(name));
    if (!file.startsWith(path.resolve(site))) {
      response.writeHead(403);
      response.end();
      return;
    }
    fs.readFile(file, (error, bytes) => {
      if (error) {
        response.writeHead(404);
        response.end();
        return;
      }
      response.writeHead(
          200, {'Content-Type': types[path.extname(file)] || 'application/octet-stream'});
      response.end(bytes);
    });
  });
  return new Promise((resolve) => server.listen(port || 0, '127.0.0.1', () => resolve(server)));
}

// Chromium cannot start its sandbox as root (CI runs as root), nor keep its shared memory in a
// container's small /dev/shm; these pages are the game's own, served from this machine.
const chromiumArgs = [
  '--no-sandbox', '--disable-dev-shm-usage', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'
];
function launchChromium(executable) {
  return chromium.launch({executablePath: executable, headless: true, args: chromiumArgs});
}

// Plays one game in a new browser context (its own IndexedDB and locks): `inputs` maps page
// paths to the bytes written there first (strings, one character a byte), `args` is the game's
// command line in page paths, and the files of each of `folders` are read back at the end.
// Returns {status, stdout, stderr, folders}: what the game printed on its standard output and
// error, line by line, and the files by folder.
async function playInPage(browser, url, args, inputs, folders, timeoutMs) {
  const context = await browser.newContext();
  try {
    const page = await context.newPage();
    const stdout = [];
    const stderr = [];
    page.on('console', (message) => {
      if (message.type() === 'log') stdout.push(message.text() + '\n');
      if (message.type() === 'warning') stderr.push(message.text() + '\n');
    });
    page.on('pageerror', (error) => stderr.push('page error: ' + error.message + '\n'));
    await page.goto(url + '?hold');
    await page.waitForFunction(() => starvane.ready === true, null, {timeout: 30000});
    await page.evaluate(([args, inputs, folders]) => {
      for (const folder of folders) FS.mkdirTree(folder);
      starvane.start(args, inputs);
    }, [args, inputs, folders]);
    await page.waitForFunction(() => starvane.result !== null, null, {timeout: timeoutMs || 60000});
    const out = await page.evaluate(
        (folders) => ({
          result: starvane.result,
          folders:
              Object.fromEntries(folders.map((folder) => [folder, starvane.readFiles(folder)])),
        }),
        folders);
    if (out.result.error) stderr.push(out.result.error + '\n');
    return {
      status: out.result.status,
      stdout: stdout.join(''),
      stderr: stderr.join(''),
      folders: out.folders
    };
  } finally {
    await context.close();
  }
}

// Where a pixel of what the page shows (the launcher's area or the game's canvas) is on the page.
async function pagePoint(page, x, y) {
  const shown = await page.evaluate(() => starvane.shown);
  const box = await page.locator('#screen').boundingBox();
  return {
    x: box.x + (x + 0.5) * box.width / shown.width,
    y: box.y + (y + 0.5) * box.height / shown.height,
  };
}

module.exports = {
  serveSite,
  pagePoint,
  chromiumArgs,
  launchChromium,
  playInPage
};
