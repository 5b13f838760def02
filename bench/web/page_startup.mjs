// The page's first visit, measured in Debian's headless Chromium against the local server:
// how long until the game's first frame, and how many bytes cross the network with brotli and
// with gzip alone. Prints the figures and fails when one is over its target.
// Usage: node bench/web/page_startup.mjs PAGE_DIR [RUNS]
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

import {launchChromium, serve} from '../../tests/web/support.mjs';

const page = path.resolve(process.argv[2]);
const runs = Number(process.argv[3] || 5);
const FIRST_FRAME_MS = 1500;      // opened to first frame, median
const FIRST_VISIT_BYTES = 16e6;   // everything a first visit downloads, either encoding

// One first visit in a fresh profile: the first frame's time, once the page has kept
// everything for offline play.
async function visit(browser, url) {
  const context = await browser.newContext({viewport: {width: 640, height: 480}});
  const tab = await context.newPage();
  await tab.goto(url);
  await tab.waitForFunction(() => window.Module && Module.firstFrameMs > 0, null, {timeout: 60000});
  const ms = await tab.evaluate(() => Module.firstFrameMs);
  await tab.waitForFunction(() => Module.offlineReady, null, {timeout: 60000});
  await context.close();
  return ms;
}

async function firstVisitBytes(browser, encodingFlags) {
  const log = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'vasul-serve-')), 'sent.log');
  const server = await serve(page, [...encodingFlags, '--log', log]);
  try {
    await visit(browser, server.url);
  } finally {
    server.stop();
  }
  return fs.readFileSync(log, 'utf8').trim().split('\n')
      .reduce((sum, line) => sum + Number(line.split(' ')[2]), 0);
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const browser = await launchChromium();
let failed = false;
try {
  const server = await serve(page);
  const times = [];
  for (let i = 0; i < runs; ++i) times.push(await visit(browser, server.url));
  server.stop();
  const firstFrame = median(times);
  const brotli = await firstVisitBytes(browser, []);
  const gzip = await firstVisitBytes(browser, ['--gzip-only']);
  const raw = fs.readdirSync(page, {recursive: true})
      .filter((f) => !/\.(br|gz)$/.test(f) && fs.statSync(path.join(page, f)).isFile())
      .reduce((sum, f) => sum + fs.statSync(path.join(page, f)).size, 0);
  const row = (name, value, unit, limit) => {
    const ok = value <= limit;
    failed ||= !ok;
    console.log(`${name.padEnd(34)} ${value.toFixed(unit === 'MB' ? 2 : 0).padStart(9)} ${unit}` +
                `  (limit ${unit === 'MB' ? limit.toFixed(0) : limit} ${unit}) ${ok ? 'ok' : 'TOO MUCH'}`);
  };
  console.log(`first frames: ${times.map((t) => t.toFixed(0)).join(', ')} ms`);
  row('first frame, median', firstFrame, 'ms', FIRST_FRAME_MS);
  row('first visit with brotli', brotli / 1e6, 'MB', FIRST_VISIT_BYTES / 1e6);
  row('first visit with gzip only', gzip / 1e6, 'MB', FIRST_VISIT_BYTES / 1e6);
  console.log(`${'the page as files'.padEnd(34)} ${(raw / 1e6).toFixed(2).padStart(9)} MB`);
} finally {
  await browser.close();
}
process.exit(failed ? 1 : 0);
