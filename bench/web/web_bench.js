// The page as a phone on a slow network meets it, measured in headless
// Chromium: what a first visit downloads from a plain static host, how long
// the title takes on a Slow 4G network with the processor slowed four times,
// Lighthouse's mobile Performance and Accessibility scores, and axe-core's
// violations. Figures, not a test: bench/run.sh prints them for
// bench/README.md.
//
//   node web_bench.js URL SERVER_LOG SITE_DIR
//
// URL is the site served by `python3 -m http.server`, whose log SERVER_LOG
// tells which files it sent in whole (the server names no sizes: they are
// the files' own). Prints one JSON object.

'use strict';

const fs = require('fs');
const path = require('path');
const puppeteer = require('puppeteer-core');

const [url, serverLog, siteDir] = process.argv.slice(2);
const chromium = process.env.KORDAVAN_CHROMIUM || '/usr/bin/chromium';
const flags = ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

function launch() {
  return puppeteer.launch({executablePath: chromium, headless: true, args: flags});
}

// The bytes of every whole file the server has sent since `from` lines of its log.
function sentSince(from) {
  const lines = fs.readFileSync(serverLog, 'utf8').split('\n').slice(from);
  let bytes = 0;
  const files = [];
  for (const line of lines) {
    const match = /"GET (\S+) HTTP\/[\d.]+" 200 /.exec(line);
    if (!match) continue;
    const name = decodeURIComponent(match[1].split('?')[0]).replace(/\/$/, '/index.html');
    const file = path.join(siteDir, name);
    if (!fs.existsSync(file)) continue;
    const size = fs.statSync(file).size;
    bytes += size;
    files.push(`${name.slice(1)} ${size}`);
  }
  return {bytes, files};
}
const logLines = () => fs.readFileSync(serverLog, 'utf8').split('\n').length - 1;

// A first visit, service worker and all, as a player's browser makes it.
async function firstVisit() {
  const browser = await launch();
  try {
    const from = logLines();
    const page = await browser.newPage();
    await page.goto(url);
    await page.waitForFunction(() => document.getElementById('notice').hidden, {timeout: 60000});
    await page.waitForFunction(async () => navigator.serviceWorker.controller !== null ||
        (await navigator.serviceWorker.getRegistration())?.active, {timeout: 30000, polling: 250}).catch(() => {});
    await sleep(1000);
    return sentSince(from);
  } finally {
    await browser.close();
  }
}

// From the address to the title on the screen, on Slow 4G with the
// processor four times slower.
async function slowPhone() {
  const browser = await launch();
  try {
    const page = await browser.newPage();
    await page.emulate(puppeteer.KnownDevices['Pixel 5']);
    await page.emulateNetworkConditions(puppeteer.PredefinedNetworkConditions['Slow 4G']);
    await page.emulateCPUThrottling(4);
    const start = Date.now();
    await page.goto(url, {waitUntil: 'domcontentloaded', timeout: 120000});
    await page.waitForFunction(() => document.getElementById('notice').hidden, {timeout: 120000, polling: 100});
    return (Date.now() - start) / 1000;
  } finally {
    await browser.close();
  }
}

async function lighthouseScores() {
  // Lighthouse is an ES module, which import() finds only by its path.
  const {default: lighthouse} = await import(require('url').pathToFileURL(require.resolve('lighthouse')).href);
  const browser = await launch();
  try {
    const page = await browser.newPage();
    // Lighthouse's own mobile defaults: a phone, Slow 4G, the processor slowed four times.
    const result = await lighthouse(url, {output: 'json', logLevel: 'error',
      onlyCategories: ['performance', 'accessibility']}, undefined, page);
    const {categories, audits} = result.lhr;
    const failing = Object.values(audits).filter((audit) => audit.score !== null && audit.score < 1 &&
        (categories.accessibility.auditRefs.some((ref) => ref.id === audit.id))).map((audit) => audit.id);
    return {
      performance: Math.round(categories.performance.score * 100),
      accessibility: Math.round(categories.accessibility.score * 100),
      fcp: audits['first-contentful-paint'].displayValue,
      lcp: audits['largest-contentful-paint'].displayValue,
      tbt: audits['total-blocking-time'].displayValue,
      cls: audits['cumulative-layout-shift'].displayValue,
      accessibilityFailing: failing,
      // The main thread's long tasks as Lighthouse saw them: what to shorten next.
      longTasks: (audits['long-tasks'].details?.items || []).map((task) =>
        `${Math.round(task.duration)} ms at ${Math.round(task.startTime)} (${task.url})`),
    };
  } finally {
    await browser.close();
  }
}

// axe-core over the page on the title, then over the page with its notice
// (Play again) showing.
async function axeViolations() {
  const source = fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');
  const browser = await launch();
  try {
    const page = await browser.newPage();
    await page.emulate(puppeteer.KnownDevices['Pixel 5']);
    await page.goto(url);
    await page.waitForFunction(() => document.getElementById('notice').hidden, {timeout: 60000});
    const run = async () => {
      await page.evaluate(source);
      return page.evaluate(async () => (await window.axe.run(document)).violations
          .map((violation) => `${violation.id}: ${violation.nodes.map((node) => node.target.join(' ')).join(', ')}`));
    };
    const onTitle = await run();
    await page.keyboard.down('Escape');
    await sleep(150);
    await page.keyboard.up('Escape');
    await page.waitForFunction(() => !document.getElementById('again').hidden, {timeout: 60000});
    const onPlayAgain = await run();
    return {onTitle, onPlayAgain};
  } finally {
    await browser.close();
  }
}

// Each figure on its own: one that fails says why, and the rest still come.
async function main() {
  const figures = {};
  const stages = {firstVisit, titleSecondsSlow4g4xCpu: slowPhone, lighthouse: lighthouseScores,
    axe: axeViolations};
  for (const [name, stage] of Object.entries(stages)) {
    try {
      figures[name] = await stage();
    } catch (error) {
      figures[name] = {failed: String(error.message || error)};
      process.exitCode = 1;
    }
  }
  console.log(JSON.stringify(figures, null, 2));
}

main().catch((error) => {
  console.error(error.stack || String(error));
  process.exitCode = 1;
});
