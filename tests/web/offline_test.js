// The page as an installed app that plays offline (starvane-sw.js, starvane-offline.js), part of
// the browser test (web_test.js): installable, controlled by its service worker after one
// visit, a reload with the network off (the DevTools protocol's emulation, and the server
// stopped) that starts the game and flies, the files directory kept there too, the storage's
// keeping asked once, and a second build that replaces the first on the next visit without a
// page ever mixing the two.
'use strict';

const fs = require('fs');
const os = require('os');
const path = require('path');
const {execFileSync} = require('child_process');
const {chromium} = require('playwright-core');
const {serveSite, chromiumArgs} = require('./page_games.js');

function sleep(ms) { return new Promise((resolve) => setTimeout(resolve, ms)); }

// What `question` answers in the page once it is true, across the page's own reloads.
async function whenTrue(page, question, ms) {
  for (const until = Date.now() + (ms || 30000); Date.now() < until; await sleep(100)) {
    try {
      const answer = await page.evaluate(question);
      if (answer) return answer;
    } catch (error) {
      // the page is loading anew
    }
  }
  return null;
}

// The build and caches of a page controlled by its worker, once it is ready and, if `until` is
// given, once they are as it says (or as they last were, after 20 s).
async function version(page, until) {
  const look = () => whenTrue(page, async () => {
    if (!navigator.serviceWorker.controller || typeof starvane === 'undefined' || !starvane.ready)
      return false;
    const build = document.querySelector('meta[name=build]') ? 'second' : 'first';
    return {build, caches: await caches.keys()};
  });
  let seen = await look();
  for (const end = Date.now() + 20000; until && seen && !until(seen) && Date.now() < end;) {
    await sleep(200);
    seen = await look();
  }
  return seen;
}

// The site again with one byte more in its page, and the service worker the build writes for it.
function secondBuild(site) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'starvane-second-'));
  for (const name of fs.readdirSync(site))
    fs.copyFileSync(path.join(site, name), path.join(folder, name));
  const index = path.join(folder, 'index.html');
  fs.writeFileSync(
      index,
      fs.readFileSync(index, 'utf8')
          .replace(
              '<meta charset="utf-8">',
              '<meta charset="utf-8"><meta name="build" content="second">'));
  const web = path.join(__dirname, '../../media/web');
  execFileSync('cmake', [
    `-DSITE=${folder}`, `-DTEMPLATE=${web}/page/starvane-sw.js.in`, '-P',
    `${web}/write-service-worker.cmake`
  ]);
  return folder;
}

async function offline(chromiumPath, site, check) {
  let server = await serveSite(site);
  const port = server.address().port;
  const url = `http://127.0.0.1:${port}/`;
  // A browser profile of its own, as a player's: a private one can install nothing.
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'starvane-profile-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: chromiumPath,
    headless: true,
    args: chromiumArgs,
    viewport: {width: 1024, height: 800}
  });
  let second = null;
  try {
    // The browser's answer to "keep this site's storage" is no; the page's questions are counted.
    await context.addInitScript(() => {
      navigator.storage.persisted = () => Promise.resolve(false);
      navigator.storage.persist = () => {
        localStorage.setItem('asked', Number(localStorage.getItem('asked')) + 1);
        return Promise.resolve(false);
      };
    });
    const page = context.pages()[0];
    page.on('pageerror', (error) => console.log('page error: ' + error.message));
    await page.goto(url + '?hold');
    const first = await version(page);
    const cdp = await context.newCDPSession(page);
    check(
        first && first.caches.length === 1,
        `one visit: the service worker controls the page, one cache (${JSON.stringify(first)})`);
    // settings.txt written as the game writes a file (a temporary one renamed over it).
    await page.evaluate(() => {
      FS.writeFile('/starvane/.starvane-1-1.tmp', 'volume 70\n');
      FS.rename('/starvane/.starvane-1-1.tmp', '/starvane/settings.txt');
    });
    await page.waitForFunction(() => starvane.filesKept(), null, {timeout: 5000});

    // No network: the page loads from the worker's cache, the game starts, flies and ends.
    await cdp.send('Network.enable');
    await cdp.send(
        'Network.emulateNetworkConditions',
        {offline: true, latency: 0, downloadThroughput: -1, uploadThroughput: -1});
    server.closeAllConnections();
    await new Promise((closed) => server.close(closed));
    await page.reload();
    const offlineSettings = await whenTrue(
        page, () => starvane.ready && starvane.readFiles('/starvane')['settings.txt']);
    check(offlineSettings === 'volume 70\n', 'offline: settings.txt is kept with the ships');
    await page.evaluate(() => starvane.start([
      '--files', '/starvane', '--ship', 'Offline', '--difficulty', 'easy', '--dump', '/dump.json'
    ]));
    await page.waitForFunction(
        () => starvane.shown && starvane.shown.width === 800, null, {timeout: 10000});
    const frames = await page.evaluate(() => starvane.framesShown);
    await page.keyboard.press('F1');  // a new ship's first game opens on the controls
    await page.keyboard.down('ArrowUp');
    await page.waitForFunction((n) => starvane.framesShown >= n, frames + 40, {timeout: 20000});
    await page.keyboard.up('ArrowUp');
    for (let i = 0; i < 3 && !(await page.evaluate(() => starvane.result)); ++i) {
      await page.keyboard.press('Escape');
      await sleep(500);
    }
    await page.waitForFunction(() => starvane.result !== null, null, {timeout: 10000});
    const dump =
        JSON.parse(await page.evaluate(() => starvane.readFiles('/')['dump.json'] || '{}'));
    check(
        dump.ship && (dump.ship.speedX !== 0 || dump.ship.speedY !== 0),
        'offline: a reload starts the game and Up moves the ship');
    check(
        await page.evaluate(() => localStorage.getItem('asked')) === '1',
        'a game ended: the page asks once to keep its storage');

    // A second build: installed in the background beside the first, which the open page keeps, as
    // does a second tab; the next visit, the only page, is the second build's, and the first's
    // cache is gone.
    await cdp.send(
        'Network.emulateNetworkConditions',
        {offline: false, latency: 0, downloadThroughput: -1, uploadThroughput: -1});
    second = secondBuild(site);
    server = await serveSite(second, port);
    // Caught half uploaded (the second's worker, the first's page): no install.
    const secondIndex = fs.readFileSync(path.join(second, 'index.html'));
    fs.copyFileSync(path.join(site, 'index.html'), path.join(second, 'index.html'));
    const other = await context.newPage();
    await other.goto(url + '?hold');
    const halfInstalled = await other.evaluate(async () => {
      const registration = await navigator.serviceWorker.getRegistration();
      await registration.update();
      const worker = registration.installing;
      if (worker === null) return registration.waiting ? 'installed' : 'none';
      while (worker.state === 'installing') {
        await new Promise((changed) => worker.addEventListener('statechange', changed));
      }
      return worker.state;
    });
    check(
        halfInstalled === 'redundant',
        `a site half uploaded is not installed (the worker is ${halfInstalled})`);
    fs.writeFileSync(path.join(second, 'index.html'), secondIndex);
    const waiting = await whenTrue(other, async () => {
      const registration = await navigator.serviceWorker.getRegistration();
      await registration.update();
      return registration.waiting !== null;
    });
    await other.reload();
    const meanwhile = await version(other);
    check(
        waiting && meanwhile && meanwhile.build === 'first' && meanwhile.caches.length === 2,
        `a second build waits while the first's pages are open (${JSON.stringify(meanwhile)})`);
    await page.close();
    await other.close();
    // The browser lets the waiting version take over once the first's last page is gone, which
    // it learns a moment after the page closed: a visit in that moment is still the first's, as
    // a player's who opened the app again at once would be. A later visit is the second's.
    let next = null;
    let nextVersion = null;
    for (const until = Date.now() + 60000;
         !(nextVersion && nextVersion.build === 'second') && Date.now() < until;) {
      if (next !== null) {
        await next.close();
        await sleep(1000);
      }
      next = await context.newPage();
      await next.goto(url + '?hold');
      nextVersion = await version(next);
    }
    nextVersion =
        await version(next, (seen) => seen.build === 'second' && seen.caches.length === 1);
    check(
        nextVersion && nextVersion.build === 'second' && nextVersion.caches.length === 1 &&
            nextVersion.caches[0] !== first.caches[0],
        `the next visit is the second build's, the first's cache gone (${
            JSON.stringify(nextVersion)})`);
    // Last: after DevTools' installability check, headless Chromium was seen to keep the worker
    // of the page it looked at busy, which holds a waiting version back until the browser ends.
    const {installabilityErrors} =
        await (await context.newCDPSession(next)).send('Page.getInstallabilityErrors');
    check(
        installabilityErrors.length === 0,
        `the page can be installed (${JSON.stringify(installabilityErrors)})`);
    await next.evaluate(() => starvane.keepStorage());
    check(
        await next.evaluate(() => localStorage.getItem('asked')) === '1',
        'the page never asks twice to keep its storage');
  } finally {
    await context.close();
    server.closeAllConnections();
    server.close();
    fs.rmSync(profile, {recursive: true, force: true});
    if (second !== null) fs.rmSync(second, {recursive: true, force: true});
  }
}

module.exports = {offline};
