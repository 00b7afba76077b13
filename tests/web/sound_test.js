// A player with only a pad, in headless Chromium: the pad's first button
// starts the sound where the browser lets it; where the browser keeps it off
// until a key, click or tap (as most do), the page says so in plain words,
// and the note goes once a key has turned the sound on.
//
//   node sound_test.js URL
//
// Prints one line per check and a closing "N passed, N failed"; exits 1 when
// any check failed.

'use strict';

const puppeteer = require('puppeteer-core');

const [url] = process.argv.slice(2);
const chromium = process.env.KORDAVAN_CHROMIUM || '/usr/bin/chromium';

const {check, sleep, runChecks} = require('./checks');

// A standard-layout pad the page finds through navigator.getGamepads.
function fakePad() {
  const pad = {id: 'Test pad (STANDARD GAMEPAD)', index: 0, connected: true, mapping: 'standard',
    timestamp: 0, axes: [0, 0, 0, 0],
    buttons: Array.from({length: 17}, () => ({pressed: false, touched: false, value: 0}))};
  window.testPad = pad;
  navigator.getGamepads = () => [pad, null, null, null];
}

// Headless Chromium lets any page make sound; this one keeps it off until
// the player has pressed a key, clicked or tapped, as most browsers do. (The
// browser's own record of that counts the test's scripts as the player.)
function refuseSound() {
  let allowed = false;
  ['keydown', 'mousedown', 'pointerdown', 'pointerup', 'touchend'].forEach((type) =>
    window.addEventListener(type, (event) => { if (event.isTrusted) allowed = true; }, true));
  const Real = window.AudioContext;
  window.AudioContext = class extends Real {
    constructor(options) {
      super(options);
      if (!allowed) this.suspend();
    }
    resume() {
      return allowed ? super.resume() : new Promise(() => {});
    }
  };
}

async function padAlone(browser, allowed) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.setViewport({width: 860, height: 480});
  await page.evaluateOnNewDocument(fakePad);
  if (!allowed) await page.evaluateOnNewDocument(refuseSound);
  await page.goto(url);
  await page.waitForFunction(() => document.getElementById('notice').hidden, {timeout: 30000});
  // Start, held as a thumb holds it: the title starts its loading sequence.
  await page.evaluate(() => { window.testPad.buttons[9] = {pressed: true, touched: true, value: 1}; });
  await sleep(150);
  await page.evaluate(() => { window.testPad.buttons[9] = {pressed: false, touched: false, value: 0}; });
  await sleep(1200);
  const state = await page.evaluate(() => ({sound: Module.soundCheck.state(), samples: Module.soundCheck.samples,
    note: document.getElementById('sound').hidden ? '' : document.getElementById('sound').textContent}));
  if (allowed) {
    check('where the browser lets it, the pad\'s first button starts the sound, with no note',
        state.sound === 'running' && state.samples > 0 && state.note === '', JSON.stringify(state));
  } else {
    check('where the browser keeps the sound off, the page says that a key or a tap turns it on',
        state.sound !== 'running' && /key/.test(state.note) && /tap/.test(state.note), JSON.stringify(state));
    await page.keyboard.press('KeyQ');
    const on = await page.waitForFunction(() => Module.soundCheck.state() === 'running' &&
        document.getElementById('sound').hidden, {timeout: 3000}).then(() => true, () => false);
    check('a key turns the sound on and the note goes', on);
  }
  await context.close();
}

async function main() {
  const browser = await puppeteer.launch({
    executablePath: chromium,
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage', '--autoplay-policy=no-user-gesture-required'],
  });
  try {
    await padAlone(browser, false);
    await padAlone(browser, true);
  } finally {
    await browser.close();
  }
}

runChecks('sound', main);
