// Where the page puts things, in headless Chromium, by the elements' own
// boxes: on every phone and tablet a player is likely to hold, upright and on
// its side, and at the smallest and largest page sizes, no button lies over
// the picture, over another button or over what the page says, every one is
// thumb-sized, and the picture stays 4:3. Also what a page without
// JavaScript shows, that the page may be zoomed while the game takes no
// gestures, and that the full-screen button answers the keyboard.
//
//   node layout_test.js URL
//
// Prints one line per check and a closing "N passed, N failed"; exits 1 when
// any check failed.

'use strict';

const puppeteer = require('puppeteer-core');

const [url] = process.argv.slice(2);
const chromium = process.env.KORDAVAN_CHROMIUM || '/usr/bin/chromium';

const {check, sleep, runChecks} = require('./checks');

const devices = ['iPhone SE', 'Pixel 5', 'Galaxy S9+', 'iPhone 13 Pro Max', 'iPad Mini', 'iPad Pro 11'];
// The smallest and largest pages the game is meant for, and two in between,
// with a finger and with a mouse.
const sizes = [[320, 480], [480, 320], [2732, 2048], [2048, 2732], [1024, 768], [800, 600], [640, 480]];

// The boxes of everything that matters, as the page shows them now.
function boxes() {
  const shown = (element) => {
    if (!element) return false;
    const box = element.getBoundingClientRect();
    return !element.closest('[hidden]') && box.width > 0 && box.height > 0 &&
        getComputedStyle(element).display !== 'none';
  };
  const box = (element) => {
    const rect = element.getBoundingClientRect();
    return {x: rect.x, y: rect.y, width: rect.width, height: rect.height};
  };
  const named = (selector, name) => Array.from(document.querySelectorAll(selector))
      .filter(shown).map((element) => ({name: name || element.getAttribute('aria-label') || element.id,
        ...box(element)}));
  return {
    page: {width: innerWidth, height: innerHeight},
    picture: box(document.getElementById('screen')),
    controls: named('#pad').concat(named('#touch button'), named('#fullscreen', 'Full screen'),
        named('#settings', 'Settings')),
    // What the page says: its words, not the empty room around them.
    messages: named('#note', 'note').concat(named('#progress', 'progress'), named('#again', 'Play again'),
        named('#retry', 'Try again'), named('#paused', 'Paused'), named('#sound', 'sound note'),
        named('#keep', 'settings note')),
  };
}

const overlap = (a, b) => a.x < b.x + b.width - 0.5 && b.x < a.x + a.width - 0.5 &&
    a.y < b.y + b.height - 0.5 && b.y < a.y + a.height - 0.5;
const within = (inner, outer) => inner.x >= outer.x - 0.5 && inner.y >= outer.y - 0.5 &&
    inner.x + inner.width <= outer.x + outer.width + 0.5 && inner.y + inner.height <= outer.y + outer.height + 0.5;

// Every rule of the layout over the boxes: the faults found, in words.
function faults(found, touchExpected) {
  const problems = [];
  const page = {x: 0, y: 0, width: found.page.width, height: found.page.height};
  const picture = found.picture;
  if (Math.abs(picture.width * 3 - picture.height * 4) > 4) problems.push(`picture not 4:3: ${JSON.stringify(picture)}`);
  if (picture.width < 200) problems.push(`picture only ${picture.width} wide`);
  if (!within(picture, page)) problems.push('picture leaves the page');
  const names = found.controls.map((control) => control.name);
  if (touchExpected && !['Land', 'Pause'].every((name) => names.includes(name)) ||
      touchExpected && !names.some((name) => /Arrows/.test(name))) {
    problems.push(`touch controls missing: ${names.join(', ')}`);
  }
  found.controls.forEach((control, i) => {
    if (control.width < 48 || control.height < 48) problems.push(`${control.name} is ${control.width} x ${control.height}`);
    if (!within(control, page)) problems.push(`${control.name} leaves the page`);
    if (overlap(control, picture)) problems.push(`${control.name} lies over the picture`);
    found.controls.slice(i + 1).forEach((other) => {
      if (overlap(control, other)) problems.push(`${control.name} lies over ${other.name}`);
    });
    found.messages.forEach((message) => {
      if (overlap(control, message)) problems.push(`${control.name} lies over ${message.name}`);
    });
  });
  found.messages.forEach((message) => {
    if (!within(message, page)) problems.push(`${message.name} leaves the page`);
  });
  return problems;
}

// The page's states where buttons and words meet: play (the title, with
// Start), paused with the sound note, and a long message with a button.
const longMessage = 'Kordavan could not be loaded: kordavan.pack.gz is missing from this site. Reload ' +
    'the page to try again, or tell the site\u2019s owner.';
async function states(page) {
  const seen = {};
  seen.title = await page.evaluate(boxes);
  await page.evaluate(() => {
    Module.showPaused(true);
    Module.showSoundNote(true);
    Module.say('This browser does not let the page keep your settings (private browsing, or its ' +
        'storage is full or turned off): changes last until you leave the page.');
  });
  seen.paused = await page.evaluate(boxes);
  await page.evaluate((text) => {
    Module.showPaused(false);
    Module.showSoundNote(false);
    document.getElementById('keep').hidden = true;
    Module.showNote(text);
    document.getElementById('again').hidden = false;
  }, longMessage);
  seen.message = await page.evaluate(boxes);
  await page.evaluate(() => {
    document.getElementById('again').hidden = true;
    document.getElementById('notice').hidden = true;
  });
  return seen;
}

async function checkAll(page, label, touchExpected) {
  const seen = await states(page);
  const problems = [];
  for (const [state, found] of Object.entries(seen)) {
    for (const problem of faults(found, touchExpected)) problems.push(`${state}: ${problem}`);
  }
  check(`${label}: no button over the picture, a button or the words; buttons thumb-sized; picture 4:3`,
      problems.length === 0, problems.length ? problems.slice(0, 6).join('; ') :
        `picture ${JSON.stringify(seen.title.picture)}`);
}

async function everyDevice(browser) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.emulate(puppeteer.KnownDevices['Pixel 5']);
  await page.goto(url);
  await page.waitForFunction(() => document.getElementById('notice').hidden, {timeout: 30000});
  for (const device of devices) {
    for (const side of ['', ' landscape']) {
      await page.emulate(puppeteer.KnownDevices[device + side]);
      await sleep(150);
      await checkAll(page, `${device}${side ? ' on its side' : ' upright'}`, true);
    }
  }
  for (const [width, height] of sizes) {
    await page.setViewport({width, height, hasTouch: true, isMobile: true});
    await sleep(150);
    await checkAll(page, `${width} x ${height} with touch controls`, true);
  }
  // Keys hide the touch controls: only the full-screen button is left to place.
  await page.keyboard.press('KeyQ');
  for (const [width, height] of sizes) {
    await page.setViewport({width, height});
    await sleep(150);
    await checkAll(page, `${width} x ${height} without them`, false);
  }
  await context.close();
}

async function pageRules(browser) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.goto(url);
  await page.waitForFunction(() => document.getElementById('notice').hidden, {timeout: 30000});
  const rules = await page.evaluate(() => ({
    viewport: document.querySelector('meta[name="viewport"]').content,
    stageTouch: getComputedStyle(document.getElementById('stage')).touchAction,
    inMain: ['screen', 'paused', 'sound', 'keep', 'notice', 'fullscreen', 'settings']
        .every((id) => document.getElementById(id).closest('main') !== null),
  }));
  check('the page may be zoomed, while the game area takes no gestures',
      !/user-scalable\s*=\s*no|maximum-scale/.test(rules.viewport) && rules.stageTouch === 'none',
      JSON.stringify(rules));
  check('the picture, the pause label and the notes are inside the main landmark', rules.inMain);

  await page.keyboard.press('Tab');
  const focused = await page.evaluate(() => document.activeElement && document.activeElement.id);
  await page.keyboard.press('Enter');
  await sleep(500);
  const full = await page.evaluate(() => document.fullscreenElement && document.fullscreenElement.id);
  check('Tab reaches the full-screen button and Return presses it', focused === 'fullscreen' && full === 'stage',
      `focused ${focused}, full screen ${full}`);
  await context.close();

  const noScript = await browser.createBrowserContext();
  const plain = await noScript.newPage();
  await plain.setJavaScriptEnabled(false);
  await plain.goto(url);
  const without = await plain.evaluate(() => {
    const seen = (id) => {
      const element = document.getElementById(id);
      return getComputedStyle(element).display !== 'none' && element.getBoundingClientRect().width > 0;
    };
    return {progress: seen('progress'), fullscreen: seen('fullscreen'), note: seen('note'),
      text: document.getElementById('notice').innerText};
  });
  check('without JavaScript the page says it needs it, with no empty bar and no dead button',
      !without.progress && !without.fullscreen && !without.note && /needs JavaScript/.test(without.text),
      JSON.stringify(without));
  await noScript.close();
}

async function main() {
  const browser = await puppeteer.launch({
    executablePath: chromium,
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage'],
  });
  try {
    await everyDevice(browser);
    await pageRules(browser);
  } finally {
    await browser.close();
  }
}

runChecks('layout', main);
