// Makes the README's two phone pictures, docs/phone-upright.png and
// docs/phone-on-its-side.png: the page on an emulated Pixel 5 (at one pixel
// per CSS pixel), the game in flight with the touch controls beside or
// below the picture. The browser draws them, so they are made again by hand
// when the page's layout changes, not compared byte for byte.
//
//   node phone_pictures.js URL FOLDER

'use strict';

const path = require('path');
const puppeteer = require('puppeteer-core');

const [url, folder] = process.argv.slice(2);
const chromium = process.env.KORDAVAN_CHROMIUM || '/usr/bin/chromium';
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

async function main() {
  const browser = await puppeteer.launch({executablePath: chromium, headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage']});
  try {
    const page = await browser.newPage();
    const phone = puppeteer.KnownDevices['Pixel 5'];
    const upright = {...phone.viewport, deviceScaleFactor: 1};
    await page.emulate({...phone, viewport: upright});
    await page.goto(url);
    await page.waitForFunction(() => document.getElementById('notice').hidden, {timeout: 30000});
    // A tap starts; the loading sequence runs its course; then a little flight.
    const box = await (await page.$('#screen')).boundingBox();
    await page.touchscreen.tap(box.x + box.width / 2, box.y + box.height / 2);
    await sleep(14000);
    const arrows = await (await page.$('#pad')).boundingBox();
    const thumb = await page.touchscreen.touchStart(arrows.x + arrows.width / 6, arrows.y + arrows.height / 6);
    await sleep(900);
    await thumb.end();
    await page.screenshot({path: path.join(folder, 'phone-upright.png')});
    await page.emulate({...puppeteer.KnownDevices['Pixel 5 landscape'],
      viewport: {...puppeteer.KnownDevices['Pixel 5 landscape'].viewport, deviceScaleFactor: 1}});
    await sleep(500);
    await page.screenshot({path: path.join(folder, 'phone-on-its-side.png')});
  } finally {
    await browser.close();
  }
}

main().catch((error) => {
  console.error(error.stack || String(error));
  process.exitCode = 1;
});
