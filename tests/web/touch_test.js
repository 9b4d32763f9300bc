// The page on a phone, by touch alone (web_test.js calls it): a phone-sized viewport with touch
// emulation, and real touches through the DevTools protocol (Input.dispatchTouchEvent), several
// fingers at once. A new ship named with taps and the phone's keyboard, a game started, thrust,
// turn, turret and fire held together, the next weapon, the pause; then a ship with money buys
// on the STATS page by taps. With STARVANE_PICTURES set, the layouts are saved there as pictures.
'use strict';

const fs = require('fs');
const path = require('path');
const {pagePoint} = require('./page_games.js');

function sleep(ms) { return new Promise((resolve) => setTimeout(resolve, ms)); }

// The fingers on the screen: each touch event names every finger still down (the protocol
// starts, moves and lifts the ones that changed).
class Fingers {
  constructor(page, cdp) {
    this.page = page;
    this.cdp = cdp;
    this.down = new Map();
  }
  async put(id, at) {
    const type = this.down.has(id) ? 'touchMove' : 'touchStart';
    this.down.set(id, {x: at.x, y: at.y, id: id});
    await this.cdp.send('Input.dispatchTouchEvent', {type, touchPoints: [...this.down.values()]});
  }
  async lift(id) {
    this.down.delete(id);
    await this.cdp.send('Input.dispatchTouchEvent',
                        {type: 'touchEnd', touchPoints: [...this.down.values()]});
  }
  async tap(at) {
    await this.put(9, at);
    await sleep(120);
    await this.lift(9);
    await sleep(250);
  }
}

// The middle of a control, once it shows (the page shows the controls of the game's new state a
// frame or more after the state changed, later on a busy machine).
async function middleOf(page, selector, dx, dy) {
  const control = page.locator(selector).first();
  await control.waitFor({state: 'visible', timeout: 10000});
  const box = await control.boundingBox();
  return {x: box.x + box.width * (0.5 + (dx || 0)), y: box.y + box.height * (0.5 + (dy || 0))};
}

async function waitFrames(page, n) {
  const from = await page.evaluate(() => starvane.framesShown);
  await page.waitForFunction((until) => starvane.framesShown >= until, from + n, {timeout: 60000});
}

// A tap on a page at rest (the pause, the options page), which shows no new frame until it
// changes: returns once the tap has changed the picture.
async function tapAndSee(page, fingers, at) {
  const from = await page.evaluate(() => starvane.framesShown);
  await fingers.tap(at);
  await page.waitForFunction((until) => starvane.framesShown > until, from, {timeout: 10000});
}

async function openPage(context) {
  const page = await context.newPage();
  page.on('pageerror', (error) => console.log('page error: ' + error.message));
  await page.goto(context.url + '?hold');
  await page.waitForFunction(() => starvane.ready === true, null, {timeout: 30000});
  return {page, fingers: new Fingers(page, await context.newCDPSession(page))};
}

async function startGame(page, args, files) {
  await page.evaluate(([a, f]) => starvane.start(a, f), [args, files || {}]);
  await page.waitForFunction(() => starvane.shown !== null, null, {timeout: 10000});
}

async function endGame(page) {  // Escape ends the game (a second, should the first close a page)
  for (let i = 0; i < 3; ++i) {
    await page.keyboard.press('Escape');
    if (await page.waitForFunction(() => starvane.result !== null, null, {timeout: 1500})
            .then(() => true, () => false))
      break;
  }
  return page.evaluate(() => ({
    result: starvane.result,
    record: starvane.readFiles('/')['touch-record.txt'] || '',
    dump: JSON.parse(starvane.readFiles('/')['touch-dump.json'] || '{}'),
  }));
}

// True when the recording holds all these keys down at one moment.
function heldTogether(record, names) {
  const held = new Set();
  for (const line of record.split('\n')) {
    const event = /^\d+ (down|up) (.+)$/.exec(line);
    if (!event) continue;
    for (const name of event[2].split(' ')) {
      if (event[1] === 'down') held.add(name); else held.delete(name);
    }
    if (names.every((name) => held.has(name))) return true;
  }
  return false;
}

function apart(a, b) {  // (boxes in fractions of a pixel)
  return a.x + a.width <= b.x + 0.5 || b.x + b.width <= a.x + 0.5 || a.y + a.height <= b.y + 0.5 ||
      b.y + b.height <= a.y + 0.5;
}

async function picture(page, name) {
  const folder = process.env.STARVANE_PICTURES;
  if (folder) await page.screenshot({path: path.join(folder, name)});
}

const record = ['--record', '/touch-record.txt', '--dump', '/touch-dump.json'];

async function touchGames(browser, url, goldenRoot, check) {
  const context = await browser.newContext(
      {viewport: {width: 844, height: 390}, hasTouch: true, isMobile: true, deviceScaleFactor: 2});
  context.url = url;
  // A new player: "New" tapped, the name typed on the phone's keyboard, "Easy" tapped.
  let {page, fingers} = await openPage(context);
  await startGame(page, ['--files', '/starvane', ...record]);
  await sleep(300);
  const hiddenFirst = await page.evaluate(() => document.getElementById('touch').hidden);
  await fingers.tap(await pagePoint(page, 275, 110));  // New
  await fingers.tap(await middleOf(page, '#touch-keys'));
  const typing = await page.evaluate(() => document.activeElement.id === 'touch-text');
  for (let i = 0; i < 8; ++i) await page.keyboard.press('Backspace');  // "SHIPNAME"
  await page.keyboard.insertText('Tappy');
  await page.keyboard.press('Enter');
  await sleep(300);
  await picture(page, 'touch-phone-launcher.png');
  await fingers.tap(await pagePoint(page, 75, 65));  // Easy
  await page.waitForFunction(() => starvane.shown.width === 800, null, {timeout: 10000});
  await sleep(300);
  await fingers.tap(await middleOf(page, '#touch-resume'));  // from the first game's controls
  await waitFrames(page, 5);
  await picture(page, 'touch-phone.png');
  // The whole picture on the phone, the controls in the bars beside it.
  const boxes = await page.evaluate(() => ['screen', 'touch-stick', 'touch-pad', 'touch-top'].map(
      (id) => document.getElementById(id).getBoundingClientRect().toJSON()));
  const inView = (b) => b.x >= 0 && b.y >= 0 && b.x + b.width <= 844.5 && b.y + b.height <= 390.5;
  check(hiddenFirst && boxes.every(inView) && boxes.slice(1).every((b) => apart(b, boxes[0])),
        'touch: the controls show at the first touch, beside the whole picture on a phone ' +
            JSON.stringify(boxes.map((b) => [b.x, b.y, b.width, b.height].map(Math.round))));
  // Three fingers: the stick up and left, fire, the turret left; then the next weapon, a pause.
  await fingers.put(1, await middleOf(page, '#touch-stick', -0.35, -0.35));
  await fingers.put(2, await middleOf(page, '#touch-fire'));
  await fingers.put(3, await middleOf(page, '#touch-turret-left'));
  await waitFrames(page, 20);
  for (const id of [1, 2, 3]) await fingers.lift(id);
  await waitFrames(page, 5);
  await fingers.tap(await middleOf(page, '#touch-weapon'));
  await waitFrames(page, 5);
  await fingers.tap(await middleOf(page, '#touch-pause'));
  check(await page.locator('#touch-options')
            .waitFor({state: 'visible', timeout: 10000})
            .then(() => true, () => false),
        'touch: the pause shows its Options control');
  // The options page by tapping: opened from the pause, a tap on its Back row closes it.
  await tapAndSee(page, fingers, await middleOf(page, '#touch-options'));
  await picture(page, 'touch-phone-options.png');
  await tapAndSee(page, fingers, await pagePoint(page, 60, 510));
  await fingers.tap(await middleOf(page, '#touch-pause:visible, #touch-resume:visible'));
  await waitFrames(page, 5);
  // A keyboard hides the controls; the next touch shows them.
  await page.keyboard.press('Shift');
  const hiddenByKeys = await page.evaluate(() => document.getElementById('touch').hidden);
  await fingers.tap(await pagePoint(page, 400, 300));
  check(hiddenByKeys && await page.evaluate(() => !document.getElementById('touch').hidden),
        'touch: a key hides the controls, the next touch shows them');
  let ended = await endGame(page);
  check(typing && ended.dump.shipName === 'Tappy' && ended.dump.difficulty === 1,
        `touch: a new ship named on the phone's keyboard, Easy tapped (${
            JSON.stringify(ended.dump.shipName)})`);
  check(heldTogether(ended.record, ['Up', 'Left', 'Space', 'A']),
        'touch: thrust, turn, fire and the turret held together by three fingers');
  check(/ down 2\n(.*\n)*\d+ down P\n(.*\n)*\d+ down P\n/.test(ended.record),
        'touch: the weapon button chose weapon 2, the pause button paused and went on');
  await page.close();

  // A ship with money: the teleport held home, STATS, one step of maximum life bought by taps.
  ({page, fingers} = await openPage(context));
  const veteran = fs.readFileSync(path.join(goldenRoot, 'veteran_workshop/files/Veteran.shp'));
  await startGame(page, ['--files', '/starvane', '--ship', 'Vet', '--difficulty', 'easy',
                         ...record],
                  {'/starvane/Vet.shp': veteran.toString('latin1')});
  await page.waitForFunction(() => starvane.shown.width === 800, null, {timeout: 10000});
  await fingers.tap(await pagePoint(page, 400, 300));  // the first touch shows the controls
  await fingers.put(1, await middleOf(page, '#touch-teleport'));
  await waitFrames(page, 130);
  await fingers.lift(1);
  await waitFrames(page, 10);
  await fingers.tap(await middleOf(page, '#touch-stats'));
  await waitFrames(page, 10);
  await fingers.tap(await pagePoint(page, 156, 122));  // maximum life's box
  await waitFrames(page, 5);
  await picture(page, 'touch-phone-stats.png');
  await fingers.tap(await middleOf(page, '#touch-stats:visible, #touch-close:visible'));
  await waitFrames(page, 5);
  // Turned upright, the phone pauses the game and asks to be turned back.
  await page.setViewportSize({width: 390, height: 844});
  await sleep(300);
  const upright = await page.evaluate(
      () => getComputedStyle(document.getElementById('touch-turn')).display !== 'none');
  await picture(page, 'touch-phone-upright.png');
  await page.setViewportSize({width: 844, height: 390});
  ended = await endGame(page);
  check(ended.dump.equipment && ended.dump.equipment.Life.max === 105 &&
            ended.dump.money === 100000 - 100,
        `touch: STATS bought one step of maximum life by a tap (money ${ended.dump.money})`);
  check(upright && / focus lost/.test(ended.record),
        'touch: a phone turned upright in play pauses and is asked to turn');
  await page.close();
  await context.close();
  if (process.env.STARVANE_PICTURES) await tabletPictures(browser, url);
}

// The tablets' layouts, for the eye only.
async function tabletPictures(browser, url) {
  for (const [width, height] of [[1024, 768], [1180, 820]]) {
    const context = await browser.newContext(
        {viewport: {width, height}, hasTouch: true, isMobile: true, deviceScaleFactor: 1});
    context.url = url;
    const {page, fingers} = await openPage(context);
    await startGame(page, ['--files', '/starvane', '--ship', 'Tab', '--difficulty', 'easy']);
    await page.waitForFunction(() => starvane.shown.width === 800, null, {timeout: 10000});
    await fingers.tap(await pagePoint(page, 400, 300));
    await fingers.tap(await middleOf(page, '#touch-resume'));  // from the first game's controls
    await waitFrames(page, 20);
    await picture(page, `touch-tablet-${width}x${height}.png`);
    await context.close();
  }
}

module.exports = {touchGames};
