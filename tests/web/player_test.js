// The page as players meet it beyond a desktop keyboard, in headless Chromium:
// a phone's touch controls, a gamepad, the cost of a pause, loading with a
// slow network, failures in plain words and playing offline. A small server
// of its own serves the site, so that it can count bytes, lose files and go
// offline.
//
//   node player_test.js SITE_DIR ASSET_DIR ENDING_SITE_DIR
//
// ENDING_SITE_DIR is the same page with a game that starts at the very end of
// a won or lost game (tests/web/ending_main.cpp), served under /ending/.
//
// Prints one line per check (and "figure" lines for bench/README.md) and a
// closing "N passed, N failed"; exits 1 when any check failed.

'use strict';

const fs = require('fs');
const http = require('http');
const path = require('path');
const puppeteer = require('puppeteer-core');
const {readPng, readGameBmp, compare, inside, isKey, landscapeShift} = require('./pictures');

const [siteDir, assetDir, endingDir] = process.argv.slice(2).map((dir) => path.resolve(dir));
const chromium = process.env.KORDAVAN_CHROMIUM || '/usr/bin/chromium';

const loadingBar = {x: 144, y: 380, width: 352, height: 24};
const energyBar = {left: 10, top: 5};
const terrainRows = {top: 445, bottom: 480};
const closeEnough = (result) => result.mean < 1.5 && result.offShare < 0.005;

const {check, sleep, runChecks} = require('./checks');

// ---------------------------------------------------------------- the server

const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.webmanifest': 'application/manifest+json', '.png': 'image/png'};
const site = {missing: new Set(), online: true, bytes: 0, asked: [], cut: new Set(), newBuild: new Map()};

// Serves the site as a plain static host does: whole files with their length
// and date, "not modified" to a browser that has them already.
const server = http.createServer((request, response) => {
  if (!site.online) {
    request.socket.destroy();
    return;
  }
  const name = decodeURIComponent(new URL(request.url, 'http://x').pathname).replace(/^\/$/, '/index.html');
  site.asked.push(name);
  const ending = name.startsWith('/ending/');
  const root = ending ? endingDir : siteDir;
  const file = path.join(root, path.normalize(ending ? name.slice('/ending'.length) : name).replace(/^\/$/, '/index.html'));
  if (site.missing.has(name.slice(1)) || !file.startsWith(root) || !fs.existsSync(file)) {
    response.writeHead(404, {'Content-Type': 'text/plain'});
    response.end('not found');
    return;
  }
  // A file of a newer build, as a host has it after an update.
  const newer = site.newBuild.get(name);
  const modified = newer ? newer.modified : new Date(Math.floor(fs.statSync(file).mtimeMs / 1000) * 1000);
  const since = Date.parse(request.headers['if-modified-since'] || '');
  if (since >= modified.getTime()) {
    response.writeHead(304);
    response.end();
    return;
  }
  const body = newer ? newer.body : fs.readFileSync(file);
  site.bytes += body.length;
  response.writeHead(200, {'Content-Type': types[path.extname(file)] || 'application/octet-stream',
    'Content-Length': body.length, 'Last-Modified': modified.toUTCString()});
  // A connection lost halfway through the file.
  if (site.cut.has(name.slice(1))) {
    response.write(body.subarray(0, body.length >> 1), () => setTimeout(() => request.socket.destroy(), 200));
    return;
  }
  response.end(body);
});

// ---------------------------------------------------------------- the page

// The canvas's own 640 x 480 pixels, whatever size the page shows them at.
async function canvasPicture(page) {
  const url = await page.$eval('#screen', (canvas) => canvas.toDataURL('image/png'));
  return readPng(Buffer.from(url.split(',')[1], 'base64'));
}

async function waitForPicture(page, matches, seconds) {
  const end = Date.now() + seconds * 1000;
  let shot;
  do {
    shot = await canvasPicture(page);
    if (matches(shot)) return true;
    await sleep(100);
  } while (Date.now() < end);
  return false;
}

const noticeHidden = (page, seconds) => page.waitForFunction(
    () => document.getElementById('notice').hidden, {timeout: seconds * 1000}).then(() => true, () => false);
const noteText = (page) => page.$eval('#note', (note) => note.textContent);

// Where the helicopter is: the place where one of its pictures fits best,
// looked for in steps and then pixel by pixel around the best step.
function findHelicopter(shot, sprites) {
  const score = (sprite, left, top) => {
    let sum = 0;
    for (const [x, y, r, g, b] of sprite.points) {
      const at = ((top + y) * shot.width + left + x) * 3;
      sum += Math.abs(shot.rgb[at] - r) + Math.abs(shot.rgb[at + 1] - g) + Math.abs(shot.rgb[at + 2] - b);
    }
    return sum / sprite.points.length;
  };
  let best = {score: Infinity};
  const look = (sprite, xs, ys) => {
    for (const left of xs) {
      for (const top of ys) {
        if (left < 0 || top < 0 || left + sprite.width > shot.width || top + sprite.height > shot.height) continue;
        const value = score(sprite, left, top);
        if (value < best.score) best = {score: value, x: left, y: top, sprite};
      }
    }
  };
  const range = (from, to, step) => Array.from({length: Math.floor((to - from) / step) + 1}, (_, i) => from + i * step);
  for (const sprite of sprites) look(sprite, range(0, shot.width - sprite.width, 4), range(0, shot.height - sprite.height, 4));
  look(best.sprite, range(best.x - 3, best.x + 3, 1), range(best.y - 3, best.y + 3, 1));
  return best;
}

function spritePoints(picture) {
  const points = [];
  for (let y = 0; y < picture.height; y += 2) {
    for (let x = 0; x < picture.width; x += 3) {
      if (isKey(picture, x, y)) continue;
      const at = (y * picture.width + x) * 3;
      points.push([x, y, picture.rgb[at], picture.rgb[at + 1], picture.rgb[at + 2]]);
    }
  }
  return {width: picture.width, height: picture.height, points};
}

// Main-thread task time per second of the page, over `seconds`.
async function taskTime(client, seconds) {
  const read = async () => (await client.send('Performance.getMetrics')).metrics
      .find((metric) => metric.name === 'TaskDuration').value;
  const before = await read();
  await sleep(seconds * 1000);
  return (await read() - before) / seconds;
}

// A standard-layout pad the page finds through navigator.getGamepads, plugged
// in only when the test says so.
function fakePad() {
  const pad = {id: 'Test pad (STANDARD GAMEPAD)', index: 0, connected: false, mapping: 'standard',
    timestamp: 0, axes: [0, 0, 0, 0],
    buttons: Array.from({length: 17}, () => ({pressed: false, touched: false, value: 0}))};
  window.testPad = pad;
  navigator.getGamepads = () => [pad.connected ? pad : null, null, null, null];
}
async function padButton(page, index, pressed) {
  await page.evaluate((i, down) => {
    window.testPad.connected = true;
    window.testPad.buttons[i] = {pressed: down, touched: down, value: down ? 1 : 0};
  }, index, pressed);
}
async function padStick(page, y) {
  await page.evaluate((down) => {
    window.testPad.connected = true;
    window.testPad.axes[1] = down;
  }, y);
}
async function padHold(page, index, ms) {
  await padButton(page, index, true);
  await sleep(ms);
  await padButton(page, index, false);
}

async function centre(page, selector) {
  const box = await (await page.$(selector)).boundingBox();
  return {x: box.x + box.width / 2, y: box.y + box.height / 2, box};
}

// ---------------------------------------------------------------- scenarios

// The touch controls as a phone shows them upright.
async function phoneControls(page) {
  const controls = await page.$$eval('#touch button', (buttons) => buttons.map((button) => {
    const box = button.getBoundingClientRect();
    return {label: button.getAttribute('aria-label'), width: box.width, height: box.height,
      top: box.top, shown: !button.hidden && box.width > 0, opacity: Number(getComputedStyle(button).opacity)};
  }));
  const shown = controls.filter((control) => control.shown);
  const labels = shown.map((control) => control.label);
  const padBox = (await (await page.$('#pad')).boundingBox());
  check('a phone shows the arrows\' area and Land, Pause and Start buttons, thumb-sized and half transparent',
      ['Land', 'Pause', 'Start'].every((label) => labels.includes(label)) &&
      padBox.width >= 144 && padBox.height >= 144 &&
      shown.every((control) => control.width >= 48 && control.height >= 48 &&
          control.opacity > 0.2 && control.opacity < 0.8), `${JSON.stringify(shown)}, arrows ${JSON.stringify(padBox)}`);
  const canvasBox = (await (await page.$('#screen')).boundingBox());
  check('upright, the picture is on top and the controls below it',
      canvasBox.y === 0 && shown.every((control) => control.top >= canvasBox.y + canvasBox.height),
      `picture ${JSON.stringify(canvasBox)}`);
}

// A tap starts; two fingers fly at once.
async function tapAndFly(page, pictures) {
  const screen = await centre(page, '#screen');
  // A finger resting on the picture as long as a slow tap presses Start
  // once (Space on the title, Return on an end picture) and holds nothing,
  // so that the title an end picture brings back waits rather than starting.
  const finger = await page.touchscreen.touchStart(screen.x, screen.y);
  await sleep(300);
  const heldByFinger = await page.evaluate(() => Module.touchControls.held());
  await finger.end();
  const outsideBar = (x, y) => !inside(x, y, loadingBar);
  check('a tap on the title starts', await waitForPicture(page,
      (shot) => closeEnough(compare(shot, pictures.loading, {counts: outsideBar})), 10));
  check('a finger on the picture presses Start once and holds no control while it rests there',
      heldByFinger === 0, `held ${heldByFinger}`);
  const barShows = (shot) => closeEnough(compare(shot, pictures.barFill, {
    left: energyBar.left, top: energyBar.top, counts: (x, y) => !isKey(pictures.barFill, x, y)}));
  check('the game begins after the loading sequence', await waitForPicture(page,
      (shot) => barShows(shot) && !closeEnough(compare(shot, pictures.loading, {counts: outsideBar})), 30));
  const startGone = await page.$eval('[aria-label="Start"]', (button) => button.hidden);
  check('during play the Start button is gone', startGone);

  // One thumb on the arrows' upper left corner holds Left and Up: the
  // landscape scrolls and the helicopter climbs.
  const before = await canvasPicture(page);
  const arrows = (await centre(page, '#pad')).box;
  const at = (column, row) => ({x: arrows.x + arrows.width * (column + 0.5) / 3,
    y: arrows.y + arrows.height * (row + 0.5) / 3});
  const heldNow = () => page.evaluate(() => Module.touchControls.held());
  const upLeft = at(0, 0);
  const thumb = await page.touchscreen.touchStart(upLeft.x, upLeft.y);
  const heldUpLeft = await heldNow();
  await sleep(700);
  const after = await canvasPicture(page);
  const moved = landscapeShift(before, after, terrainRows.top, terrainRows.bottom, 400);
  const heliBefore = findHelicopter(before, pictures.helicopter);
  const heliAfter = findHelicopter(after, pictures.helicopter);
  check('one thumb on the arrows\' upper left corner holds Left and Up: the landscape scrolls and the helicopter climbs',
      heldUpLeft === (1 | 4) && moved.shift >= 20 && moved.difference < moved.still / 3 &&
      heliAfter.y <= heliBefore.y - 20,
      `held ${heldUpLeft}; landscape moved ${moved.shift} px; helicopter from y ${heliBefore.y} to ${heliAfter.y}`);
  // Sliding the same thumb changes the arrows.
  const slid = [];
  for (const [column, row] of [[0, 1], [0, 2], [1, 2], [2, 2], [2, 1], [1, 1]]) {
    const to = at(column, row);
    await thumb.move(to.x, to.y);
    await sleep(50);
    slid.push(await heldNow());
  }
  await thumb.end();
  await sleep(50);
  const lifted = await heldNow();
  check('sliding the thumb over the arrows changes them: Left, Left and Down, Down, Down and Right, Right, none',
      JSON.stringify(slid) === JSON.stringify([1, 1 | 8, 8, 8 | 2, 2, 0]) && lifted === 0,
      `${JSON.stringify(slid)}, lifted ${lifted}`);
}

// What the page costs while playing, paused and hidden.
async function pauseAndHide(page, context, client, title) {
  const playing = await taskTime(client, 5);
  // The title's cost is only a figure: its 18 new pictures a second cost the
  // browser nearly as much drawing as play, and on a shared machine the two
  // cross.

  // Hidden during play, the game pauses and stays paused when it is back.
  const away = await context.newPage();
  await away.bringToFront();
  await sleep(1000);
  await page.bringToFront();
  const pausedOnReturn = await page.waitForFunction(() => !document.getElementById('paused').hidden,
      {timeout: 3000}).then(() => true, () => false);
  await sleep(300);
  const backBefore = await canvasPicture(page);
  await sleep(1500);
  const backAfter = await canvasPicture(page);
  const stillPaused = await page.$eval('#paused', (label) => !label.hidden);
  check('a page hidden during play comes back paused, with "Paused", and stays paused',
      pausedOnReturn && stillPaused && backBefore.rgb.equals(backAfter.rgb));
  await away.close();
  const resume = await centre(page, '[aria-label="Pause"]');
  await page.touchscreen.tap(resume.x, resume.y);
  check('the Pause button plays on after that', await page.waitForFunction(
      () => document.getElementById('paused').hidden, {timeout: 2000}).then(() => true, () => false));

  const pause = await centre(page, '[aria-label="Pause"]');
  await page.touchscreen.tap(pause.x, pause.y);
  const pausedLabel = await page.waitForFunction(() => !document.getElementById('paused').hidden,
      {timeout: 2000}).then(() => true, () => false);
  check('the Pause button pauses, and the page says "Paused"', pausedLabel);
  await sleep(300);
  const pausedBefore = await canvasPicture(page);
  const paused = await taskTime(client, 5);
  const pausedAfter = await canvasPicture(page);
  check('paused, the page costs less than a tenth of play and draws nothing new',
      paused < playing / 10 && pausedBefore.rgb.equals(pausedAfter.rgb),
      `main-thread task time ${(paused * 1000).toFixed(1)} ms/s paused, ${(playing * 1000).toFixed(1)} ms/s playing`);

  // Hidden behind another tab, the page does nothing at all.
  const other = await context.newPage();
  await other.bringToFront();
  const hidden = await taskTime(client, 5);
  await page.bringToFront();
  check('hidden, the page costs less than a tenth of play', hidden < playing / 10,
      `${(hidden * 1000).toFixed(1)} ms/s hidden`);
  console.log(`figure main-thread task time, ms per second: title ${(title * 1000).toFixed(1)}, ` +
      `playing ${(playing * 1000).toFixed(1)}, paused ${(paused * 1000).toFixed(1)}, ` +
      `hidden ${(hidden * 1000).toFixed(1)}`);
  await page.touchscreen.tap(pause.x, pause.y);
  const resumed = await page.waitForFunction(() => document.getElementById('paused').hidden,
      {timeout: 2000}).then(() => true, () => false);
  check('Pause again plays on and the label goes', resumed);
  return playing;
}

async function padPlays(page, client, playing, pictures) {
  const outsideBar = (x, y) => !inside(x, y, loadingBar);
  // A pad plugged in now: its d-pad flies (up, as the thumb on the arrows
  // has just flown the helicopter low), and using it hides the buttons.
  const padBefore = findHelicopter(await canvasPicture(page), pictures.helicopter);
  // A second, so that a slow machine's dropped frames still leave a clear climb.
  await padHold(page, 12, 1000);
  const padAfter = findHelicopter(await canvasPicture(page), pictures.helicopter);
  check('a pad plugged in after the page loaded flies with its d-pad', padAfter.y <= padBefore.y - 20,
      `helicopter from y ${padBefore.y} to ${padAfter.y}`);
  check('using the pad hides the touch controls', await page.$eval('#touch', (touch) => touch.hidden));
  // The stick pushed beyond its dead zone flies as the d-pad does: held up,
  // it stops the sinking helicopter and brings it back above where the
  // d-pad took it.
  await padStick(page, -0.9);
  const climbed = await waitForPicture(page,
      (shot) => findHelicopter(shot, pictures.helicopter).y <= padAfter.y - 20, 10);
  await padStick(page, 0);
  check('the pad\'s stick past its dead zone flies', climbed);

  // X pauses and resumes.
  await padHold(page, 2, 150);
  const padPaused = await page.waitForFunction(() => !document.getElementById('paused').hidden,
      {timeout: 2000}).then(() => true, () => false);
  await sleep(300);
  await padHold(page, 2, 150);
  const padResumed = await page.waitForFunction(() => document.getElementById('paused').hidden,
      {timeout: 2000}).then(() => true, () => false);
  check('the pad\'s X pauses play, and X again plays on', padPaused && padResumed);

  // Back ends the game; the pad's Start plays again and starts from the title.
  await padHold(page, 8, 150);
  const ended = await page.waitForFunction(() => !document.getElementById('again').hidden,
      {timeout: 5000}).then(() => true, () => false);
  check('the pad\'s Back ends the game and the page offers to play again', ended);
  await sleep(500);
  const againCost = await taskTime(client, 3);
  check('waiting on Play again costs at most a fifth of play', againCost <= playing / 5,
      `${(againCost * 1000).toFixed(1)} ms/s, ${(playing * 1000).toFixed(1)} ms/s playing`);
  console.log(`figure main-thread task time on Play again, ms per second: ${(againCost * 1000).toFixed(1)}`);
  // Start held as long as a player holds it: the title comes and waits there.
  await padHold(page, 9, 400);
  const titleBack = await noticeHidden(page, 10);
  await sleep(1500);
  const titleWaits = (shot) => closeEnough(compare(shot, pictures.title,
      {counts: (x, y) => !inside(x, y, {x: 320, y: 150, width: 288, height: 135})}));
  check('the pad\'s Start presses Play again, and the title is back and waits there',
      titleBack && titleWaits(await canvasPicture(page)));
  await padHold(page, 9, 150);
  check('the pad\'s Start starts the game from the title', await waitForPicture(page,
      (shot) => closeEnough(compare(shot, pictures.loading, {counts: outsideBar})), 10));
  check('the touch controls come back at the next touch', await (async () => {
    await page.touchscreen.tap(5, 5);
    return !(await page.$eval('#touch', (touch) => touch.hidden));
  })());
}

async function phoneOnItsSide(page) {
  // Lying on its side, the controls stand beside the picture.
  await page.emulate(puppeteer.KnownDevices['Pixel 5 landscape']);
  await sleep(300);
  const wide = await (await page.$('#screen')).boundingBox();
  const padBox = (await centre(page, '#pad')).box;
  const landBox = (await centre(page, '[aria-label="Land"]')).box;
  const pauseBox = (await centre(page, '[aria-label="Pause"]')).box;
  check('on its side, the arrows are left of the picture and the buttons right of it',
      padBox.x + padBox.width <= wide.x && landBox.x >= wide.x + wide.width && pauseBox.x >= wide.x + wide.width,
      `picture ${JSON.stringify(wide)}, arrows ${JSON.stringify(padBox)}, Land ${JSON.stringify(landBox)}`);
}

async function phone(browser, url, pictures) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.emulate(puppeteer.KnownDevices['Pixel 5']);
  await page.evaluateOnNewDocument(fakePad);
  const client = await page.createCDPSession();
  await client.send('Performance.enable');
  await page.goto(url);
  check('the phone page starts', await noticeHidden(page, 30));
  // The title's cost once the start-up work (compiling, the service worker) is done.
  await sleep(2000);
  const title = await taskTime(client, 5);
  await phoneControls(page);
  await tapAndFly(page, pictures);
  const playing = await pauseAndHide(page, context, client, title);
  await padPlays(page, client, playing, pictures);
  await phoneOnItsSide(page);
  await context.close();
}

// The end pictures of a real game, from the page whose game starts at the
// very end of a lost or a won one: a tap on the failure picture, or a pad's
// Start on the won picture, brings the title, which then waits for Space.
async function endPictures(browser, url, pictures) {
  const titleWaits = (shot) => closeEnough(compare(shot, pictures.title,
      {counts: (x, y) => !inside(x, y, {x: 320, y: 150, width: 288, height: 135})}));
  const backToTheTitle = async (page) => {
    const back = await waitForPicture(page, titleWaits, 5);
    await sleep(1500);
    return back && titleWaits(await canvasPicture(page));
  };

  const context = await browser.createBrowserContext();
  const phonePage = await context.newPage();
  await phonePage.emulate(puppeteer.KnownDevices['Pixel 5']);
  await phonePage.goto(`${url}ending/#lost`);
  const failed = await waitForPicture(phonePage, (shot) => closeEnough(compare(shot, pictures.failure)), 30);
  const tapped = await centre(phonePage, '#screen');
  await phonePage.touchscreen.tap(tapped.x, tapped.y);
  check('a tap on the failure picture of a lost game brings the title, which waits there for Space',
      failed && await backToTheTitle(phonePage), `failure picture shown: ${failed}`);
  await phonePage.close();

  const padPage = await context.newPage();
  await padPage.evaluateOnNewDocument(fakePad);
  await padPage.goto(`${url}ending/#won`);
  const won = await waitForPicture(padPage, (shot) => closeEnough(compare(shot, pictures.won)), 30);
  // Plugged in on the picture: a button held as the pad appears is no press.
  await padButton(padPage, 9, false);
  await sleep(500);
  await padHold(padPage, 9, 400);
  check('the pad\'s Start on the won picture brings the title, which waits there for Space',
      won && await backToTheTitle(padPage), `won picture shown: ${won}`);
  await context.close();
}

async function loading(browser, url) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  const client = await page.createCDPSession();
  await client.send('Network.enable');
  // About 8 Mbit/s: the packed game takes a second or two.
  await client.send('Network.emulateNetworkConditions',
      {offline: false, latency: 20, downloadThroughput: 1e6, uploadThroughput: 1e6});
  await page.goto(url, {waitUntil: 'domcontentloaded'});
  const seen = [];
  const end = Date.now() + 30000;
  while (Date.now() < end) {
    const state = await page.evaluate(() => ({
      value: document.getElementById('progress').value,
      done: document.getElementById('notice').hidden}));
    if (state.done) break;
    if (seen[seen.length - 1] !== state.value) seen.push(state.value);
    await sleep(150);
  }
  const rising = seen.every((value, i) => i === 0 || value >= seen[i - 1]);
  const between = seen.filter((value) => value > 0 && value < 100);
  check('on a slow network the progress bar rises with the bytes of kordavan.pack.gz',
      rising && between.length >= 3, seen.map((value) => value.toFixed(0)).join(' '));
  await context.close();
}

async function failures(browser, url) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  site.missing.add('kordavan.pack.gz');
  await page.goto(url);
  await page.waitForFunction(() => /kordavan\.pack\.gz/.test(document.getElementById('note').textContent),
      {timeout: 10000}).catch(() => {});
  const missing = await noteText(page);
  site.missing.delete('kordavan.pack.gz');
  check('a missing kordavan.pack.gz is named, with what to do, in plain words',
      /kordavan\.pack\.gz is missing/.test(missing) && /[Rr]eload/.test(missing) && /owner/.test(missing) &&
      !/Aborted\(|ASSERTIONS|Error|at /.test(missing), missing);

  // A browser without WebAssembly's vectors is told before the download.
  await page.evaluateOnNewDocument(() => { WebAssembly.validate = () => false; });
  site.asked = [];
  await page.reload();
  await sleep(500);
  const unsupported = await noteText(page);
  check('a browser without WebAssembly SIMD is told which browsers play, and downloads nothing more',
      /Chrome/.test(unsupported) && /Firefox 113/.test(unsupported) && /Safari 16\.4/.test(unsupported) &&
      !site.asked.some((name) => /kordavan\.(js|pack)/.test(name)), `${unsupported} ${site.asked.join(' ')}`);

  // A connection lost halfway: the page says so and offers to try again,
  // which then plays.
  const fresh = await context.newPage();
  site.cut.add('kordavan.pack.gz');
  await fresh.goto(url);
  const lostShown = await fresh.waitForFunction(() => !document.getElementById('retry').hidden,
      {timeout: 15000}).then(() => true, () => false);
  const lost = await noteText(fresh);
  site.cut.delete('kordavan.pack.gz');
  check('a connection lost during the download is told as such, with Try again',
      lostShown && /connection was lost/.test(lost) && !/damaged|owner/.test(lost), lost);
  await fresh.click('#retry');
  check('Try again loads the game once the connection is back', await noticeHidden(fresh, 30));

  await context.close();
}

// In the browser's own profile, whose cache is on disk as a player's is.
async function offline(browser, url, pictures) {
  const page = await browser.newPage();
  site.bytes = 0;
  await page.goto(url);
  await noticeHidden(page, 30);
  const cached = await page.waitForFunction(async () => {
    const names = await caches.keys();
    for (const name of names) {
      if (await (await caches.open(name)).match('kordavan.pack.gz', {ignoreSearch: true}) &&
          navigator.serviceWorker.controller) return true;
    }
    return false;
  }, {timeout: 30000, polling: 250}).then(() => true, () => false);
  check('after one visit a service worker keeps the game', cached);
  const client = await page.createCDPSession();
  const manifest = await client.send('Page.getAppManifest');
  const parsed = JSON.parse(manifest.data || '{}');
  const sizes = (parsed.icons || []).map((icon) => icon.sizes);
  check('the manifest is read without errors, with the 192 and 512 icons, dark and landscape',
      manifest.errors.length === 0 && sizes.includes('192x192') && sizes.includes('512x512') &&
      parsed.orientation === 'landscape' && parsed.background_color === '#000000',
      JSON.stringify(manifest.errors));
  const firstVisit = site.bytes;
  site.bytes = 0;
  await page.reload();
  await noticeHidden(page, 30);
  const secondVisit = site.bytes;
  console.log(`figure bytes first visit ${firstVisit}, second visit ${secondVisit}`);
  check('a first visit downloads at most 1.6 MB from a host that does not compress', firstVisit <= 1600000,
      `${firstVisit} bytes`);

  await update(page);

  site.online = false;
  await page.reload().catch(() => {});
  const plays = await noticeHidden(page, 30) && await waitForPicture(page,
      (shot) => closeEnough(compare(shot, pictures.title,
          {counts: (x, y) => !inside(x, y, {x: 320, y: 150, width: 288, height: 135})})), 5);
  site.online = true;
  check('with the network gone, the page loads and shows the title', plays);
  await page.close();
}

// What the page's service worker keeps: each cache's name and the files in it.
const keptFiles = (page) => page.evaluate(async () => {
  const kept = {};
  for (const name of await caches.keys()) {
    kept[name] = (await (await caches.open(name)).keys()).map((request) => request.url.replace(/^.*\//, ''));
  }
  return kept;
});

// A new build on the host: its page and service worker name the game's
// files by new hashes and its cache anew. The next visit still plays the
// kept build; the one after plays the new one, whose names alone are kept.
async function update(page) {
  const hash = (file) => new RegExp(`${file.replace('.', '\\.')}\\?v=([0-9a-f]+)`);
  const index = fs.readFileSync(path.join(siteDir, 'index.html'), 'utf8');
  const worker = fs.readFileSync(path.join(siteDir, 'sw.js'), 'utf8');
  const oldScript = hash('kordavan.js').exec(worker)[1];
  const oldPack = hash('kordavan.pack.gz').exec(worker)[1];
  const newScript = oldScript.split('').reverse().join('');
  const newPack = oldPack.split('').reverse().join('');
  const renamed = (text) => text.split(oldScript).join(newScript).split(oldPack).join(newPack);
  const modified = new Date(Math.floor(Date.now() / 1000) * 1000 + 1000);
  const newCache = 'kordavan-update-test';
  site.newBuild.set('/index.html', {body: Buffer.from(renamed(index)), modified});
  site.newBuild.set('/sw.js', {body: Buffer.from(renamed(worker).replace(/const cacheName = '[^']*'/,
      `const cacheName = '${newCache}'`)), modified});
  const scriptOf = () => page.evaluate(() => Array.from(document.scripts, (script) => script.src).join(' '));
  try {
    await page.reload();
    await noticeHidden(page, 30);
    const keptPlays = (await scriptOf()).includes(oldScript);
    const replaced = await page.waitForFunction(async (name) => {
      const names = await caches.keys();
      return names.length === 1 && names[0] === name;
    }, {timeout: 30000, polling: 250}, newCache).then(() => true, () => false);
    await page.reload();
    const plays = await noticeHidden(page, 30);
    const script = await scriptOf();
    const kept = await keptFiles(page);
    const files = (kept[newCache] || []).join(' ');
    check('after an update the next visit plays the kept build, and the new build\'s worker replaces its cache',
        keptPlays && replaced, JSON.stringify(Object.keys(kept)));
    check('the visit after that plays the new build, and only its own game files are kept',
        plays && script.includes(newScript) && files.includes(`kordavan.js?v=${newScript}`) &&
        files.includes(`kordavan.pack.gz?v=${newPack}`) && !files.includes(oldScript) && !files.includes(oldPack),
        `${script}; kept ${files}`);
  } finally {
    site.newBuild.clear();
  }
}

async function main() {
  const pictures = {
    title: readGameBmp(path.join(assetDir, '151.bmp')),
    loading: readGameBmp(path.join(assetDir, '152.bmp')),
    barFill: readGameBmp(path.join(assetDir, '103.bmp')),
    failure: readGameBmp(path.join(assetDir, '154.bmp')),
    won: readGameBmp(path.join(assetDir, '155.bmp')),
    helicopter: [136, 123, 125, 126, 127].map((id) => spritePoints(readGameBmp(path.join(assetDir, `${id}.bmp`)))),
  };
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const url = `http://127.0.0.1:${server.address().port}/`;
  const browser = await puppeteer.launch({
    executablePath: chromium,
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage'],
  });
  try {
    await phone(browser, url, pictures);
    await endPictures(browser, url, pictures);
    await loading(browser, url);
    await failures(browser, url);
    await offline(browser, url, pictures);
  } finally {
    await browser.close();
    server.close();
  }
}

runChecks('player', main).finally(() => server.close());
