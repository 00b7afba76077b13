// The game's page in a real browser: headless Chromium loads it from a web
// server and the player's first minute is checked from screenshots of the
// canvas against the generator's own pictures.
//
//   node browser_test.js URL ASSET_DIR
//
// Prints one line per check and a closing "N passed, N failed"; exits 1 when
// any check failed.

'use strict';

const path = require('path');
const puppeteer = require('puppeteer-core');
const {readPng, readGameBmp, compare, inside, isKey, landscapeShift} = require('./pictures');

const [url, assetDir] = process.argv.slice(2);
const chromium = process.env.KORDAVAN_CHROMIUM || '/usr/bin/chromium';

// Where the game draws what the checks look for, in its 640 x 480 picture.
const creditsPanel = {x: 320, y: 150, width: 288, height: 135};
const loadingBar = {x: 144, y: 380, width: 352, height: 24};
const energyBar = {left: 10, top: 5};
const terrainRows = {top: 445, bottom: 480};

// A picture on the screen matches the generated one when it is, on average,
// within one level of it and hardly a pixel is off by more than the tolerance.
const closeEnough = (result) => result.mean < 1.5 && result.offShare < 0.005;

const {check, sleep, runChecks} = require('./checks');
const describe = (result) => `mean difference ${result.mean.toFixed(2)}, ` +
    `${(result.offShare * 100).toFixed(2)}% of ${result.pixels} pixels off`;

// Holds a key for a while: the game reads the keyboard once per frame, so a
// press must last longer than a frame to be seen, as a finger's does.
async function hold(page, key, ms) {
  await page.keyboard.down(key);
  await sleep(ms);
  await page.keyboard.up(key);
}

async function canvasShot(page) {
  const canvas = await page.$('#screen');
  return readPng(await canvas.screenshot({type: 'png'}));
}

// Takes canvas screenshots until `matches` accepts one, or the time is up.
async function waitForShot(page, matches, seconds) {
  const end = Date.now() + seconds * 1000;
  let shot;
  do {
    shot = await canvasShot(page);
    if (matches(shot)) return {shot, found: true};
    await sleep(100);
  } while (Date.now() < end);
  return {shot, found: false};
}

async function canvasBox(page) {
  return page.$eval('#screen', (canvas) => {
    const box = canvas.getBoundingClientRect();
    return {x: box.x, y: box.y, width: box.width, height: box.height};
  });
}

async function main() {
  const title = readGameBmp(path.join(assetDir, '151.bmp'));
  const loading = readGameBmp(path.join(assetDir, '152.bmp'));
  const barFill = readGameBmp(path.join(assetDir, '103.bmp'));

  const browser = await puppeteer.launch({
    executablePath: chromium,
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage'],
  });
  try {
    const page = await browser.newPage();
    const errors = [];
    page.on('console', (message) => {
      if (message.type() === 'error') errors.push(`console: ${message.text()}`);
    });
    page.on('pageerror', (error) => errors.push(`page: ${error.message}`));
    page.on('requestfailed', (request) => errors.push(`request failed: ${request.url()}`));
    page.on('response', (response) => {
      if (response.status() >= 400) errors.push(`HTTP ${response.status()}: ${response.url()}`);
    });

    // Wider than 4:3, so the picture stands 1:1 between black bars, clear of
    // the full-screen button in the corner.
    await page.setViewport({width: 860, height: 480});

    // The module waits for its .wasm; until then the page says it is loading.
    let releaseWasm;
    const wasmAsked = new Promise((resolve) => { releaseWasm = resolve; });
    await page.setRequestInterception(true);
    page.on('request', (request) => {
      if (new URL(request.url()).pathname.endsWith('.pack.gz')) wasmAsked.then(() => request.continue());
      else request.continue();
    });
    await page.goto(url, {waitUntil: 'domcontentloaded'});
    await sleep(300);
    const noteWhileLoading = await page.evaluate(() => ({
      text: document.getElementById('note').textContent, hidden: document.getElementById('notice').hidden}));
    check('the page says it is loading until the module is ready',
        !noteWhileLoading.hidden && /Loading/.test(noteWhileLoading.text), JSON.stringify(noteWhileLoading));
    releaseWasm();
    const noteGoes = await page.waitForFunction(() => document.getElementById('notice').hidden,
        {timeout: 30000}).then(() => true, () => false);
    check('the loading note goes once the first picture is shown', noteGoes);
    await page.setRequestInterception(false);

    const box = await canvasBox(page);
    check('the 640 x 480 picture stands 1:1, centred between black bars',
        box.x === 110 && box.y === 0 && box.width === 640 && box.height === 480, JSON.stringify(box));

    // Beside the credits panel, which scrolls, the title is the generated title picture.
    const titleShot = await waitForShot(page,
        (shot) => closeEnough(compare(shot, title, {counts: (x, y) => !inside(x, y, creditsPanel)})), 5);
    check('the title matches the generated title picture', titleShot.found,
        describe(compare(titleShot.shot, title, {counts: (x, y) => !inside(x, y, creditsPanel)})));

    // Which keys the page's own handlers were left to act on.
    await page.evaluate(() => {
      window.keysLeftToThePage = [];
      document.addEventListener('keydown', (event) => {
        if (event.defaultPrevented === false) window.keysLeftToThePage.push(event.code);
      });
    });

    await page.evaluate(() => { Module.soundCheck.peak = 0; Module.soundCheck.samples = 0; });
    await hold(page, 'Space', 150);

    const outsideBar = (x, y) => !inside(x, y, loadingBar);
    const loadingShot = await waitForShot(page,
        (shot) => closeEnough(compare(shot, loading, {counts: outsideBar})), 10);
    check('Space opens the loading picture', loadingShot.found,
        describe(compare(loadingShot.shot, loading, {counts: outsideBar})));

    const sound = await page.evaluate(() => ({
      state: Module.soundCheck.state(),
      peak: Module.soundCheck.peak,
      samples: Module.soundCheck.samples,
    }));
    check('after Space the mixer gives Web Audio sound that is not silence',
        sound.state === 'running' && sound.samples > 0 && sound.peak > 1000, JSON.stringify(sound));
    // How much mixed sound waits for the output, sampled between frames.
    let queued = 0;
    for (let i = 0; i < 20; i++) {
      queued = Math.max(queued, await page.evaluate(() => Module.soundCheck.queued()));
      await sleep(37);
    }
    check('mixed sound waits at most about 50 ms before it plays', queued > 0 && queued <= 0.05,
        `at most ${(queued * 1000).toFixed(1)} ms queued`);

    // The loading sequence lasts 700 frames; then the game shows its full energy bar.
    const barShows = (shot) => closeEnough(compare(shot, barFill, {
      left: energyBar.left, top: energyBar.top, counts: (x, y) => !isKey(barFill, x, y)}));
    const gameShot = await waitForShot(page,
        (shot) => barShows(shot) && !closeEnough(compare(shot, loading, {counts: outsideBar})), 30);
    check('the game starts after the loading sequence, with the energy bar full', gameShot.found);

    const before = await canvasShot(page);
    await hold(page, 'ArrowLeft', 700);
    const after = await canvasShot(page);
    const moved = landscapeShift(before, after, terrainRows.top, terrainRows.bottom, 400);
    check('holding Left scrolls the landscape to the right',
        moved.shift >= 20 && moved.difference < moved.still / 3,
        `moved ${moved.shift} px; difference ${moved.difference.toFixed(1)} there, ` +
        `${moved.still.toFixed(1)} unmoved`);

    // Q means nothing to the game, so the page may have it.
    await hold(page, 'KeyQ', 50);
    const leftToPage = await page.evaluate(() => window.keysLeftToThePage);
    check('the arrows and Space do not reach the page, which would scroll; other keys do',
        leftToPage.includes('KeyQ') && !leftToPage.includes('Space') &&
        !leftToPage.includes('ArrowLeft'), JSON.stringify(leftToPage));

    await page.setViewport({width: 1000, height: 600});
    await sleep(300);
    const wide = await canvasBox(page);
    check('a wider page keeps 4:3, with bars left and right',
        wide.x === 100 && wide.y === 0 && wide.width === 800 && wide.height === 600, JSON.stringify(wide));
    const bars = readPng(await page.screenshot({type: 'png', clip: {x: 0, y: 100, width: 90, height: 400}}));
    check('the bars are black', bars.rgb.every((value) => value === 0));
    await page.setViewport({width: 640, height: 600});
    await sleep(300);
    const tall = await canvasBox(page);
    check('a taller page keeps 4:3, with bars above and below',
        tall.x === 0 && tall.y > 0 && tall.y + tall.height < 600 && tall.width === 640 && tall.height === 480,
        JSON.stringify(tall));

    await page.click('#fullscreen');
    await sleep(500);
    const fullScreen = await page.evaluate(() => document.fullscreenElement &&
        document.fullscreenElement.id);
    check('the full-screen button puts the game on the whole screen', fullScreen === 'stage',
        `full-screen element: ${fullScreen}`);

    // Escape ends the game as on the desktop; the page then offers another
    // one, which starts from the title as the first did.
    await hold(page, 'Escape', 150);
    const ended = await page.waitForFunction(() => {
      const again = document.getElementById('again');
      return /ended/.test(document.getElementById('note').textContent) && !again.hidden &&
          document.activeElement === again;
    }, {timeout: 5000}).then(() => true, () => false);
    check('Escape ends the game, and the page says so and offers Play again with the keyboard on it', ended);
    await hold(page, 'Space', 150);
    const titleAgain = await page.waitForFunction(() => document.getElementById('notice').hidden,
        {timeout: 10000}).then(() => true, () => false) && (await waitForShot(page,
        (shot) => closeEnough(compare(shot, title, {counts: (x, y) => !inside(x, y, creditsPanel)})), 5)).found;
    check('Space on Play again brings the title back in the same page', titleAgain);
    await hold(page, 'Space', 150);
    check('and Space on the title starts a game again', (await waitForShot(page,
        (shot) => closeEnough(compare(shot, loading, {counts: outsideBar})), 10)).found);

    check('the page logged no error', errors.length === 0, errors.join('; '));
  } finally {
    await browser.close();
  }
}

runChecks('browser', main);
