// The page's main-thread cost on the title and in play, several times over,
// in headless Chromium emulating a Pixel 5 upright (as tests/web/player_test.js
// measures it once): DevTools' TaskDuration per second of the page. Each run
// is a fresh browser context; the title is measured after the start-up work
// has settled, play after the loading sequence.
//
//   NODE_PATH=.../node_modules node page_cost.js SITE_DIR [RUNS] [SECONDS]
//
// Prints one line a run and the ranges and medians. Each run also measures
// an empty page that only wakes 60 times a second from a timer, as the
// title's loop does: the browser's own cost of the title's beat, which no
// work of the game's can go below.

'use strict';

const fs = require('fs');
const http = require('http');
const path = require('path');
const puppeteer = require('puppeteer-core');

const [siteDir, runsText, secondsText] = process.argv.slice(2);
const runs = Number(runsText) || 3;
const seconds = Number(secondsText) || 5;
const chromium = process.env.KORDAVAN_CHROMIUM || '/usr/bin/chromium';
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

const types = {'.html': 'text/html', '.js': 'text/javascript', '.webmanifest': 'application/manifest+json',
  '.png': 'image/png'};
const server = http.createServer((request, response) => {
  const name = decodeURIComponent(new URL(request.url, 'http://x').pathname).replace(/\/$/, '/index.html');
  const file = path.join(path.resolve(siteDir), path.normalize(name));
  if (!fs.existsSync(file) || fs.statSync(file).isDirectory()) {
    response.writeHead(404);
    response.end();
    return;
  }
  response.writeHead(200, {'Content-Type': types[path.extname(file)] || 'application/octet-stream'});
  response.end(fs.readFileSync(file));
});

async function taskTime(client, span) {
  const read = async () => (await client.send('Performance.getMetrics')).metrics
      .find((metric) => metric.name === 'TaskDuration').value;
  const before = await read();
  await sleep(span * 1000);
  return (await read() - before) / span * 1000;
}

async function wakingOnly(browser) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.emulate(puppeteer.KnownDevices['Pixel 5']);
  const client = await page.createCDPSession();
  await client.send('Performance.enable');
  await page.goto('about:blank');
  await page.evaluate(() => {
    let next = performance.now();
    const wake = () => {
      next += 1000 / 60;
      setTimeout(wake, Math.max(0, next - performance.now()));
    };
    wake();
  });
  await sleep(1000);
  const cost = await taskTime(client, seconds);
  await context.close();
  return cost;
}

async function oneRun(browser, url) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.emulate(puppeteer.KnownDevices['Pixel 5']);
  const client = await page.createCDPSession();
  await client.send('Performance.enable');
  await page.goto(url);
  await page.waitForFunction(() => document.getElementById('notice').hidden, {timeout: 60000});
  await sleep(2000);
  const title = await taskTime(client, seconds);
  const box = await (await page.$('#screen')).boundingBox();
  await page.touchscreen.tap(box.x + box.width / 2, box.y + box.height / 2);
  // The loading sequence: 700 passes.
  await sleep(14000);
  const playing = await taskTime(client, seconds);
  await context.close();
  return {title, playing, waking: await wakingOnly(browser)};
}

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = sorted.length >> 1;
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const summary = (values) => `${Math.min(...values).toFixed(1)} to ${Math.max(...values).toFixed(1)}, ` +
    `median ${median(values).toFixed(1)}`;

async function main() {
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const url = `http://127.0.0.1:${server.address().port}/`;
  const browser = await puppeteer.launch({executablePath: chromium, headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage']});
  const results = [];
  try {
    for (let i = 0; i < runs; i++) {
      const result = await oneRun(browser, url);
      results.push(result);
      console.log(`run ${i + 1}: title ${result.title.toFixed(1)} ms/s, playing ${result.playing.toFixed(1)} ms/s, ` +
          `title/playing ${(result.title / result.playing).toFixed(2)}, ` +
          `an empty page waking 60 times a second ${result.waking.toFixed(1)} ms/s`);
    }
  } finally {
    await browser.close();
    server.close();
  }
  console.log(`title ${summary(results.map((r) => r.title))} ms/s`);
  console.log(`playing ${summary(results.map((r) => r.playing))} ms/s`);
  console.log(`title/playing ${summary(results.map((r) => r.title / r.playing))}`);
  console.log(`waking only ${summary(results.map((r) => r.waking))} ms/s, ` +
      `waking only/playing ${summary(results.map((r) => r.waking / r.playing))}`);
}

main().catch((error) => {
  console.error(error);
  process.exitCode = 1;
});
