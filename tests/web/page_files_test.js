// What the page keeps and hands over, in headless Chromium: the settings in
// localStorage across a reload, the plain note where the browser refuses
// the storage, the Settings button, a screenshot as a PNG download (and
// shared on a phone), a recording offered after the game that kordavan-trace
// replays as recorded, and a replay dropped on the page or picked, watched
// from the title back to the title.
//
//   node page_files_test.js SITE_DIR ASSET_DIR KORDAVAN_TRACE_JS
//
// Prints one line per check and a closing "N passed, N failed"; exits 1 when
// any check failed.

'use strict';

const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const {execFileSync} = require('child_process');
const puppeteer = require('puppeteer-core');
const {readPng, readGameBmp, compare, inside} = require('./pictures');
const {check, sleep, runChecks} = require('./checks');

const [siteDir, assetDir, traceTool] = process.argv.slice(2).map((file) => path.resolve(file));
const chromium = process.env.KORDAVAN_CHROMIUM || '/usr/bin/chromium';
const creditsPanel = {x: 320, y: 150, width: 288, height: 135};
const loadingBar = {x: 144, y: 380, width: 352, height: 24};
const closeEnough = (result) => result.mean < 1.5 && result.offShare < 0.005;
const stamp = '\\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d';

const types = {'.html': 'text/html', '.js': 'text/javascript', '.webmanifest': 'application/manifest+json',
  '.png': 'image/png'};
const server = http.createServer((request, response) => {
  const name = decodeURIComponent(new URL(request.url, 'http://x').pathname).replace(/^\/$/, '/index.html');
  const file = path.join(siteDir, path.normalize(name));
  if (!file.startsWith(siteDir) || !fs.existsSync(file)) {
    response.writeHead(404);
    response.end();
    return;
  }
  response.writeHead(200, {'Content-Type': types[path.extname(file)] || 'application/octet-stream'});
  response.end(fs.readFileSync(file));
});

// ---------------------------------------------------------------- helpers

async function picture(page) {
  const url = await page.$eval('#screen', (canvas) => canvas.toDataURL('image/png'));
  return readPng(Buffer.from(url.split(',')[1], 'base64'));
}

async function waitFor(page, matches, seconds) {
  const end = Date.now() + seconds * 1000;
  do {
    if (matches(await picture(page))) return true;
    await sleep(100);
  } while (Date.now() < end);
  return false;
}

const started = (page) => page.waitForFunction(() => document.getElementById('notice').hidden,
    {timeout: 30000}).then(() => true, () => false);

async function hold(page, key, ms) {
  await page.keyboard.down(key);
  await sleep(ms);
  await page.keyboard.up(key);
}

// A PNG's signature and the size its IHDR gives.
function pngSize(bytes) {
  const signature = Buffer.from([137, 80, 78, 71, 13, 10, 26, 10]);
  if (bytes.length < 24 || !bytes.subarray(0, 8).equals(signature) || bytes.toString('latin1', 12, 16) !== 'IHDR') {
    return null;
  }
  return {width: bytes.readUInt32BE(16), height: bytes.readUInt32BE(20)};
}

// Downloads land in a folder of their own.
async function downloadsTo(page) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'kordavan-downloads-'));
  const client = await page.createCDPSession();
  await client.send('Browser.setDownloadBehavior', {behavior: 'allow', downloadPath: folder,
    browserContextId: page.browserContext().id});
  return folder;
}

async function waitForFile(folder, pattern, seconds) {
  const end = Date.now() + seconds * 1000;
  do {
    const found = fs.readdirSync(folder).filter((name) => pattern.test(name));
    if (found.length) return path.join(folder, found[0]);
    await sleep(100);
  } while (Date.now() < end);
  return null;
}

async function startWith(browser, settingsText, device) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  if (device) await page.emulate(puppeteer.KnownDevices[device]);
  else await page.setViewport({width: 1024, height: 768});
  await page.goto(server.url);
  if (settingsText !== null) {
    await page.evaluate((text) => localStorage.setItem('kordavan.settings', text), settingsText);
    await page.reload();
  }
  return {context, page, ok: await started(page)};
}

// Space, the loading sequence, then play: true once the game's picture shows.
async function playFromTitle(page, pictures) {
  await hold(page, 'Space', 100);
  const loading = await waitFor(page, (shot) => closeEnough(compare(shot, pictures.loading,
      {counts: (x, y) => !inside(x, y, loadingBar)})), 5);
  const playing = await waitFor(page, (shot) => !closeEnough(compare(shot, pictures.loading,
      {counts: (x, y) => !inside(x, y, loadingBar)})), 15);
  return loading && playing;
}

// ---------------------------------------------------------------- scenarios

// The player's keys come from the browser's storage at start-up: with
// key-pause = Q, Q pauses and P does not.
async function keptKeys(browser, pictures) {
  const {context, page, ok} = await startWith(browser, 'key-pause = Q\n', null);
  const playing = ok && await playFromTitle(page, pictures);
  await hold(page, 'KeyP', 150);
  const pausedByP = await page.$eval('#paused', (label) => !label.hidden);
  await hold(page, 'KeyQ', 150);
  const pausedByQ = await page.waitForFunction(() => !document.getElementById('paused').hidden,
      {timeout: 2000}).then(() => true, () => false);
  check('the keys kept in localStorage hold after a reload (key-pause = Q: Q pauses, P does not)',
      playing && !pausedByP && pausedByQ, `playing ${playing}, P ${pausedByP}, Q ${pausedByQ}`);
  await context.close();
}

// A browser that refuses localStorage: the note says so and the game plays.
async function storageRefused(browser, pictures) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.evaluateOnNewDocument(() => {
    Object.defineProperty(window, 'localStorage', {
      get() { throw new DOMException('The storage is turned off.', 'SecurityError'); },
    });
  });
  await page.goto(server.url);
  const ok = await started(page);
  const note = await page.$eval('#keep', (line) => (line.hidden ? '' : line.textContent));
  const title = ok && await waitFor(page, (shot) => closeEnough(compare(shot, pictures.title,
      {counts: (x, y) => !inside(x, y, creditsPanel)})), 5);
  check('with localStorage refused the page says the settings last only this visit, and the title shows',
      /settings/.test(note) && /until you leave/.test(note) && title, `note "${note}", title ${title}`);
  const playing = await playFromTitle(page, pictures);
  check('and the game plays on', playing);
  await context.close();
}

// The Settings button: thumb-sized, beside the picture, reachable with Tab;
// it delivers the settings control; the screen it opens is drawn in the
// picture, and Escape brings the title back.
async function settingsButton(browser, pictures, device) {
  const label = device || 'a desktop page';
  const {context, page, ok} = await startWith(browser, null, device);
  await sleep(300);
  const box = await page.$eval('#settings', (button) => {
    const rect = button.getBoundingClientRect();
    const canvas = document.getElementById('screen').getBoundingClientRect();
    const over = rect.left < canvas.right && canvas.left < rect.right && rect.top < canvas.bottom && canvas.top < rect.bottom;
    return {shown: !button.hidden, width: rect.width, height: rect.height, over,
      label: button.getAttribute('aria-label')};
  });
  check(`${label}: a Settings button, thumb-sized, labelled, not over the picture`,
      ok && box.shown && box.width >= 48 && box.height >= 48 && !box.over && box.label === 'Settings',
      JSON.stringify(box));
  // What the button hands the game, seen where the game reads the page's controls.
  await page.evaluate(() => {
    const controls = Module.touchControls;
    const read = controls.read;
    window.readBits = 0;
    controls.read = () => {
      const bits = read();
      window.readBits |= bits;
      return bits;
    };
  });
  if (device) {
    await page.tap('#settings');
  } else {
    await page.keyboard.press('Tab');
    await page.keyboard.press('Tab');
    const focused = await page.evaluate(() => document.activeElement && document.activeElement.id);
    check('Tab reaches the Settings button', focused === 'settings', `focused ${focused}`);
    await page.keyboard.press('Enter');
  }
  await sleep(300);
  const bits = await page.evaluate(() => window.readBits);
  check(`${label}: the Settings button gives the game the settings control`, (bits & 256) !== 0, `bits ${bits}`);
  const onTitle = (shot) => closeEnough(compare(shot, pictures.title, {counts: (x, y) => !inside(x, y, creditsPanel)}));
  const opened = await waitFor(page, (shot) => !onTitle(shot), 3);
  check(`${label}: the Settings button opens the settings screen in the picture`, opened);
  if (opened) {
    await hold(page, 'Escape', 100);
    check(`${label}: Escape closes the settings screen and the title is back`, await waitFor(page, onTitle, 5));
  }
  await context.close();
}

// The settings screen's rows, which hide whatever it opened over (the line
// below them says what the last change did): the same rows draw the same
// pixels, and a value of two digits instead of three changes only a few
// hundred of them.
const screenPanel = {x: 40, y: 24, width: 560, height: 306};
const samePanel = (a, b) => compare(a, b, {counts: (x, y) => inside(x, y, screenPanel)}).offShare === 0;

async function press(page, keys) {
  for (const key of keys) {
    await hold(page, key, 80);
    await sleep(80);
  }
  await sleep(300);
}

async function openScreen(page, pictures) {
  const onTitle = (shot) => closeEnough(compare(shot, pictures.title, {counts: (x, y) => !inside(x, y, creditsPanel)}));
  await hold(page, 'KeyO', 100);
  return waitFor(page, (shot) => !onTitle(shot), 3);
}

const keptText = (page) => page.evaluate(() => localStorage.getItem('kordavan.settings') || '');

// A volume changed on the settings screen is kept in the browser: the page
// loaded again opens the screen with it, and only the volume's line changed.
async function screenChangesKept(browser, pictures) {
  const {context, page, ok} = await startWith(browser, 'key-land = K\n', null);
  const opened = ok && await openScreen(page, pictures);
  const asItWas = await picture(page);
  await press(page, ['ArrowDown', 'ArrowDown', 'ArrowDown', 'ArrowLeft']);
  const kept = await keptText(page);
  check('the settings screen opens with O, and a volume turned down is kept with the keys as they were',
      opened && /^volume = 90$/m.test(kept) && /^key-land = K$/m.test(kept), JSON.stringify(kept));
  await press(page, ['Escape']);
  await page.reload();
  const reopened = await started(page) && await openScreen(page, pictures);
  const afterReload = await picture(page);
  await press(page, ['ArrowDown', 'ArrowDown', 'ArrowDown', 'ArrowRight', 'ArrowUp', 'ArrowUp', 'ArrowUp']);
  const backUp = await picture(page);
  check('after a reload the screen shows the kept volume, and turning it up again shows the screen as it was',
      reopened && !samePanel(afterReload, asItWas) && samePanel(backUp, asItWas),
      `reopened ${reopened}, differs ${!samePanel(afterReload, asItWas)}, same again ${samePanel(backUp, asItWas)}`);
  check('and the browser keeps volume = 100', /^volume = 100$/m.test(await keptText(page)));
  await context.close();
}

// Storage that is full when the screen saves: the page says so once, the
// change holds for the visit and the game goes on.
async function storageFull(browser, pictures) {
  const {context, page, ok} = await startWith(browser, null, null);
  await page.evaluate(() => {
    Storage.prototype.setItem = () => {
      throw new DOMException('The quota has been exceeded.', 'QuotaExceededError');
    };
  });
  const opened = ok && await openScreen(page, pictures);
  await press(page, ['ArrowDown', 'ArrowDown', 'ArrowDown', 'ArrowLeft']);
  const note = await page.$eval('#keep', (line) => (line.hidden ? '' : line.textContent));
  check('with the browser\'s storage full, a saved setting makes the page say changes last this visit',
      opened && /until you leave/.test(note), `opened ${opened}, note "${note}"`);
  await press(page, ['Escape']);
  check('and the game plays on', await playFromTitle(page, pictures));
  await context.close();
}

// F12 (a pad's Y on a phone) hands over the picture as a PNG: downloaded on a
// desktop, shared where the browser shares files.
async function screenshots(browser) {
  const {context, page, ok} = await startWith(browser, null, null);
  const folder = await downloadsTo(page);
  await sleep(500);
  await hold(page, 'F12', 100);
  const file = await waitForFile(folder, new RegExp(`^Kordavan ${stamp}\\.png$`), 10);
  const size = file && pngSize(fs.readFileSync(file));
  check('F12 downloads "Kordavan <date time>.png", a 640 x 480 PNG',
      ok && size && size.width === 640 && size.height === 480, `${file}: ${JSON.stringify(size)}`);
  await context.close();

  const phone = await browser.createBrowserContext();
  const onPhone = await phone.newPage();
  await onPhone.emulate(puppeteer.KnownDevices['Pixel 5']);
  await onPhone.evaluateOnNewDocument(() => {
    window.shared = [];
    navigator.canShare = (data) => !!(data && data.files);
    navigator.share = (data) => {
      window.shared.push(data.files[0]);
      return Promise.resolve();
    };
    const pad = {id: 'Test pad (STANDARD GAMEPAD)', index: 0, connected: true, mapping: 'standard',
      timestamp: 0, axes: [0, 0, 0, 0],
      buttons: Array.from({length: 17}, () => ({pressed: false, touched: false, value: 0}))};
    window.testPad = pad;
    navigator.getGamepads = () => [pad, null, null, null];
  });
  await onPhone.goto(server.url);
  await started(onPhone);
  await sleep(500);
  const press = (down) => onPhone.evaluate((held) => {
    window.testPad.buttons[3] = {pressed: held, touched: held, value: held ? 1 : 0};
  }, down);
  await press(true);
  await sleep(200);
  await press(false);
  const shared = await onPhone.waitForFunction(() => window.shared.length > 0, {timeout: 10000})
      .then(() => onPhone.evaluate(async () => {
        const file = window.shared[0];
        return {name: file.name, bytes: Array.from(new Uint8Array(await file.arrayBuffer()))};
      }), () => null);
  const sharedSize = shared && pngSize(Buffer.from(shared.bytes));
  check('on a phone, a pad\'s Y shares the picture as a 640 x 480 PNG',
      sharedSize && sharedSize.width === 640 && sharedSize.height === 480 &&
      new RegExp(`^Kordavan ${stamp}\\.png$`).test(shared.name), JSON.stringify(shared && shared.name));
  await phone.close();
}

// "Record my games": after the game the page offers its recording, which
// kordavan-trace replays as recorded. Returns the replay's path.
async function recording(browser, pictures) {
  const {context, page, ok} = await startWith(browser, 'record-games = yes\n', null);
  const playing = ok && await playFromTitle(page, pictures);
  await hold(page, 'ArrowUp', 800);
  await hold(page, 'ArrowRight', 600);
  await hold(page, 'Escape', 100);
  const offered = await page.waitForFunction(() => !document.getElementById('replay').hidden,
      {timeout: 10000}).then(() => true, () => false);
  const link = offered ? await page.$eval('#replay', async (a) => ({name: a.download, text: a.textContent,
    body: await (await fetch(a.href)).text()})) : {};
  check('after the game the page offers "Download the last game\'s replay" as "Kordavan <date time>.replay"',
      playing && offered && /Download the last game's replay/.test(link.text) &&
      new RegExp(`^Kordavan ${stamp}\\.replay$`).test(link.name), `${link.name}`);
  const file = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'kordavan-replay-')), 'page.replay');
  fs.writeFileSync(file, link.body || '');
  let verified = false;
  let detail = '';
  try {
    execFileSync(process.execPath, [traceTool, '--replay', file], {stdio: ['ignore', 'ignore', 'pipe']});
    verified = /^kordavan-replay 1\n/.test(link.body) && /\nend quit /.test(link.body);
  } catch (error) {
    detail = String(error.stderr || error.message).slice(0, 300);
  }
  check('kordavan-trace replays the downloaded recording as recorded', verified, detail);
  await context.close();
  return verified ? file : null;
}

// A replay dropped on the page plays from the title and the title comes back;
// after the game ended, one picked with "Watch a replay…" does the same.
async function watching(browser, pictures, replay, device) {
  const label = device || 'a desktop page';
  const {context, page, ok} = await startWith(browser, null, device);
  const onTitle = (shot) => closeEnough(compare(shot, pictures.title, {counts: (x, y) => !inside(x, y, creditsPanel)}));
  const text = fs.readFileSync(replay, 'latin1');
  const watchedToTitle = async () => {
    const left = await waitFor(page, (shot) => !onTitle(shot), 5);
    const back = left && await waitFor(page, onTitle, 30);
    return {left, back};
  };
  const drop = (body, name) => page.evaluate((bytes, fileName) => {
    const data = new DataTransfer();
    data.items.add(new File([bytes], fileName));
    const stage = document.getElementById('stage');
    stage.dispatchEvent(new DragEvent('dragover', {dataTransfer: data, bubbles: true, cancelable: true}));
    stage.dispatchEvent(new DragEvent('drop', {dataTransfer: data, bubbles: true, cancelable: true}));
  }, body, name);
  if (!device) {
    await drop('not a replay\n', 'notes.txt');
    const told = await page.waitForFunction(() => !document.getElementById('keep').hidden,
        {timeout: 5000}).then(() => page.$eval('#keep', (line) => line.textContent), () => '');
    check('a dropped file that is no replay is named in the page\'s note, and the title stays',
        /notes\.txt/.test(told) && onTitle(await picture(page)), told);
    await page.evaluate((body) => {
      const data = new DataTransfer();
      data.items.add(new File([body], 'dropped game.replay'));
      const stage = document.getElementById('stage');
      stage.dispatchEvent(new DragEvent('dragover', {dataTransfer: data, bubbles: true, cancelable: true}));
      stage.dispatchEvent(new DragEvent('drop', {dataTransfer: data, bubbles: true, cancelable: true}));
    }, text);
    const seen = await watchedToTitle();
    check(`${label}: a replay dropped on the page plays from the title, and the title comes back`,
        ok && seen.left && seen.back, JSON.stringify(seen));
  } else {
    await hold(page, 'Escape', 100);
    const ended = await page.waitForFunction(() => !document.getElementById('files').hidden,
        {timeout: 10000}).then(() => true, () => false);
    const input = await page.$('#chosen');
    await input.uploadFile(replay);
    const restarted = await started(page);
    const seen = await watchedToTitle();
    check(`${label}: after the game ended, "Watch a replay…" plays the picked replay and the title comes back`,
        ok && ended && restarted && seen.left && seen.back, JSON.stringify({ended, restarted, ...seen}));
  }
  await context.close();
}

async function main() {
  const pictures = {
    title: readGameBmp(path.join(assetDir, '151.bmp')),
    loading: readGameBmp(path.join(assetDir, '152.bmp')),
  };
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  server.url = `http://127.0.0.1:${server.address().port}/`;
  const browser = await puppeteer.launch({
    executablePath: chromium,
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage'],
  });
  try {
    await keptKeys(browser, pictures);
    await storageRefused(browser, pictures);
    await settingsButton(browser, pictures, null);
    await settingsButton(browser, pictures, 'Pixel 5');
    await screenChangesKept(browser, pictures);
    await storageFull(browser, pictures);
    await screenshots(browser);
    const replay = await recording(browser, pictures);
    if (replay) {
      await watching(browser, pictures, replay, null);
      await watching(browser, pictures, replay, 'Pixel 5');
    }
  } finally {
    await browser.close();
    server.close();
  }
}

runChecks('page files', main).finally(() => server.close());
