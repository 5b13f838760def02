// The page in Debian's headless Chromium, driven by playwright-core: the game's frames against
// the Linux build's (the page records what it took and the Linux game replays it), mouse and
// touch, the keyboard, music, the player's files in IndexedDB, offline play and the end.
// Environment: VASUL_PAGE (the built page), VASUL_LINUX (the Linux vasul), VASUL_PACK (the
// data pack), VASUL_WORK (a folder to work in), CHROMIUM (default Debian's).
import {after, before, describe, test} from 'node:test';
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';

import {launchChromium, serve} from './support.mjs';

const PAGE = process.env.VASUL_PAGE;
const LINUX = process.env.VASUL_LINUX;
const PACK = process.env.VASUL_PACK;
const WORK = process.env.VASUL_WORK || fs.mkdtempSync('/tmp/vasul-web-');
const W = 640, H = 480;

const consoleErrors = [];
let server, browser, runs = 0;

async function newContext(options = {}) {
  const context = await browser.newContext({viewport: {width: W, height: H},
    deviceScaleFactor: 1, ...options});
  return context;
}

// A page of the game, its errors counted; waits for the first frame.
async function openGame(context, query = '', {errors = consoleErrors, url = server.url} = {}) {
  const page = await context.newPage();
  const warnings = [];
  page.on('console', (m) => {
    if (m.type() === 'error') errors.push(`${m.text()} (${page.url()})`);
    if (m.type() === 'warning') warnings.push(m.text());
  });
  page.on('pageerror', (e) => errors.push(`${e.message} (${page.url()})`));
  page.on('requestfailed', (r) => warnings.push(`${r.url()}: ${r.failure()?.errorText}`));
  page.warnings = warnings;
  await page.goto(url + query);
  try {
    // The game answers presses once the whole pack is in.
    await page.waitForFunction(() => window.Module && Module.firstFrameMs > 0 &&
                               Module.packComplete, null, {timeout: 30000});
  } catch (e) {
    const shown = await page.evaluate(() => document.body.innerText).catch(() => '?');
    throw new Error(`no frame from ${url + query}; the page says: ${shown}; ` +
                    `console: ${[...errors, ...warnings].join(' | ')}`);
  }
  return page;
}

async function passes(page) {
  return page.evaluate(() => Module.passes);
}

async function waitPasses(page, n) {
  const from = await passes(page);
  await page.waitForFunction((target) => Module.passes >= target, from + n, {timeout: 20000});
}

// The canvas, the number of passes it shows and the recording so far, read at one moment.
async function snapshot(page) {
  const s = await page.evaluate(() => {
    const c = document.getElementById('game');
    const rgba = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    let bin = '';
    for (let i = 0; i < rgba.length; i += 0x8000) {
      bin += String.fromCharCode.apply(null, rgba.subarray(i, i + 0x8000));
    }
    let recording = '';
    try { recording = Module.FS.readFile('/tmp/vasul.replay', {encoding: 'utf8'}); } catch (e) {}
    return {width: c.width, height: c.height, passes: Module.passes, rgba: btoa(bin), recording};
  });
  assert.equal(s.width, W, 'the canvas is drawn at scale 1 in a 640 x 480 page');
  return {...s, rgba: Buffer.from(s.rgba, 'base64')};
}

// The frame the Linux game shows at `pass` when it replays `recording`, as RGB.
function nativeFrame(recording, pass, ini) {
  const dir = path.join(WORK, `native-${++runs}`);
  fs.rmSync(dir, {recursive: true, force: true});
  fs.mkdirSync(dir, {recursive: true});
  fs.writeFileSync(path.join(dir, 'r.replay'), recording);
  fs.writeFileSync(path.join(dir, 'vasul.ini'), ini ?? fs.readFileSync(path.join(PAGE, 'pack/vasul.ini')));
  execFileSync(LINUX, ['--headless', '--data', PACK, '--ini', path.join(dir, 'vasul.ini'),
    '--replay', 'r.replay', '--frames', String(pass + 1), '--dump-frames', 'frames',
    '--dump-every', String(pass)], {cwd: dir, stdio: 'pipe'});
  const bmp = fs.readFileSync(path.join(dir, 'frames', `frame-${String(pass).padStart(6, '0')}.bmp`));
  const offset = bmp.readUInt32LE(10), width = bmp.readInt32LE(18), height = bmp.readInt32LE(22);
  assert.equal(bmp.readUInt16LE(28), 24);
  const stride = Math.ceil(width * 3 / 4) * 4, rgb = Buffer.alloc(W * H * 3);
  for (let y = 0; y < H; ++y) {
    const row = offset + (height > 0 ? H - 1 - y : y) * stride;
    for (let x = 0; x < W; ++x) {
      rgb[(y * W + x) * 3] = bmp[row + x * 3 + 2];
      rgb[(y * W + x) * 3 + 1] = bmp[row + x * 3 + 1];
      rgb[(y * W + x) * 3 + 2] = bmp[row + x * 3];
    }
  }
  return rgb;
}

// The page's canvas equals the Linux game's frame after the same messages and clock.
async function assertNativeFrame(page, what, ini) {
  const s = await snapshot(page);
  assert.ok(s.recording.startsWith('vasul-replay 1'), 'the page records (?record)');
  const rgb = nativeFrame(s.recording, s.passes - 1, ini);
  let differ = 0, first = null;
  for (let i = 0; i < W * H; ++i) {
    for (let c = 0; c < 3; ++c) {
      if (s.rgba[i * 4 + c] !== rgb[i * 3 + c]) {
        differ++;
        first ??= `(${i % W}, ${Math.floor(i / W)})`;
        break;
      }
    }
  }
  if (differ) {
    const name = path.join(WORK, `differs-${++runs}`);
    fs.writeFileSync(`${name}-page.ppm`, Buffer.concat([Buffer.from(`P6 ${W} ${H} 255\n`),
      Buffer.from(s.rgba.filter((_, i) => i % 4 !== 3))]));
    fs.writeFileSync(`${name}-linux.ppm`, Buffer.concat([Buffer.from(`P6 ${W} ${H} 255\n`), rgb]));
    fs.writeFileSync(`${name}.replay`, s.recording);
  }
  assert.equal(differ, 0, `${what}: ${differ} pixels differ from the Linux frame, first at ` +
               `${first} (pictures in ${WORK})`);
  return s;
}

// Counts the sounds the page starts: short ones are the snap effect, long ones music.
const COUNT_SOUNDS = () => {
  window.soundsStarted = [];
  const start = AudioBufferSourceNode.prototype.start;
  AudioBufferSourceNode.prototype.start = function (...args) {
    window.soundsStarted.push(this.buffer ? this.buffer.duration : 0);
    return start.apply(this, args);
  };
};
const effectsStarted = (page) =>
  page.evaluate(() => window.soundsStarted.filter((d) => d < 2).length);

// Where the first stage of a seed's game puts its pieces, by the game's own generator and
// order of draws: the covered piece, four marked cells, then each piece's corner.
function firstStage(seed) {
  let state = seed >>> 0;
  const mod = (n) => {
    state = (Math.imul(state, 214013) + 2531011) >>> 0;
    return ((state >>> 16) & 0x7FFF) % n;
  };
  const hidden = mod(48);
  for (;;) {
    const marks = [0, 1, 2, 3].map(() => `${mod(8)},${mod(6)}`);
    const pairs = [[0, 1], [2, 1], [3, 1], [0, 2], [3, 2], [0, 3]];
    if (!pairs.some(([a, b]) => marks[a] === marks[b])) break;
  }
  const pieces = [];
  for (let n = 0; n < 48; ++n) {
    pieces.push({n, x: mod(640) - 40, y: mod(480) - 40, homeX: (n % 8) * 80,
      homeY: Math.floor(n / 8) * 80});
  }
  return {hidden, pieces};
}

// The path that takes the topmost uncovered piece of a seed's first stage home: a point
// on the piece and on the screen, and the same point with the piece's corner on its cell.
function pathHome(seed) {
  const {hidden, pieces} = firstStage(seed);
  const p = pieces.filter((q) => q.n !== hidden).pop();
  const from = {x: Math.max(p.x, 0) + 20, y: Math.max(p.y, 0) + 20};
  return {from, to: {x: from.x + p.homeX - p.x, y: from.y + p.homeY - p.y}};
}

async function startGame(page, tap) {
  if (tap) await page.touchscreen.tap(300, 152);
  else await page.mouse.click(300, 152);
  await page.waitForFunction(() => Module.FS.readFile('/tmp/vasul.replay', {encoding: 'utf8'})
      .includes(' lup 300 152'));
  await waitPasses(page, 30);
}

before(async () => {
  assert.ok(PAGE && LINUX && PACK, 'VASUL_PAGE, VASUL_LINUX and VASUL_PACK name the page, the game and the pack');
  fs.mkdirSync(WORK, {recursive: true});
  server = await serve(PAGE);
  browser = await launchChromium(['--autoplay-policy=no-user-gesture-required']);
});

after(async () => {
  await browser?.close();
  server?.stop();
});

describe('frames', () => {
  test('the title is the Linux game\'s frame', async () => {
    const context = await newContext();
    const page = await openGame(context, '?seed=3&record');
    await waitPasses(page, 20);
    await assertNativeFrame(page, 'title');
    await context.close();
  });

  test('a mouse drag puts a piece home, as on Linux', async () => {
    const context = await newContext();
    await context.addInitScript(COUNT_SOUNDS);
    const page = await openGame(context, '?seed=3&record');
    await startGame(page, false);
    const before = await snapshot(page);
    const {from, to} = pathHome(3);
    await page.mouse.move(from.x, from.y);
    await page.mouse.down();
    await page.mouse.move(to.x, to.y, {steps: 6});
    await page.mouse.up();
    await waitPasses(page, 10);
    assert.equal(await effectsStarted(page), 1, 'the snap was heard once');
    const s = await assertNativeFrame(page, 'after the drag');
    assert.notDeepEqual(s.rgba, before.rgba);
    await context.close();
  });

  test('a finger drags a piece home; a finger held still does not pause', async () => {
    const context = await newContext({hasTouch: true});
    await context.addInitScript(COUNT_SOUNDS);
    const page = await openGame(context, '?seed=3&record');
    await startGame(page, true);
    const cdp = await context.newCDPSession(page);
    const touch = (type, x, y) => cdp.send('Input.dispatchTouchEvent',
        {type, touchPoints: type === 'touchEnd' ? [] : [{x, y, id: 1}]});
    const {from, to} = pathHome(3);
    await touch('touchStart', from.x, from.y);
    await page.waitForTimeout(700);  // held still: no right button
    for (let i = 1; i <= 6; ++i) {
      await touch('touchMove', from.x + (to.x - from.x) * i / 6, from.y + (to.y - from.y) * i / 6);
    }
    await touch('touchEnd');
    await waitPasses(page, 10);
    assert.equal(await effectsStarted(page), 1, 'the snap was heard once');
    const s = await assertNativeFrame(page, 'after the touch drag');
    assert.doesNotMatch(s.recording, /rdown/);
    await context.close();
  });

  test('Space pauses and resumes; two fingers tapped are the right button', async () => {
    const context = await newContext({hasTouch: true});
    const page = await openGame(context, '?seed=3&record');
    await startGame(page, false);
    const playing = await snapshot(page);
    await page.keyboard.press('Space');
    await waitPasses(page, 10);
    const paused = await assertNativeFrame(page, 'paused');
    assert.notDeepEqual(paused.rgba, playing.rgba);
    await page.keyboard.press('Space');
    await waitPasses(page, 10);
    const resumed = await assertNativeFrame(page, 'resumed');
    assert.notDeepEqual(resumed.rgba, paused.rgba);
    const cdp = await context.newCDPSession(page);
    await cdp.send('Input.dispatchTouchEvent', {type: 'touchStart',
      touchPoints: [{x: 100, y: 100, id: 1}, {x: 160, y: 110, id: 2}]});
    await cdp.send('Input.dispatchTouchEvent', {type: 'touchEnd', touchPoints: []});
    await waitPasses(page, 10);
    const tapped = await assertNativeFrame(page, 'paused by two fingers');
    assert.match(tapped.recording, /rdown 100 100/);
    await context.close();
  });
});

describe('sound', () => {
  test('the title music is heard after the first click', async () => {
    // A browser that waits for the player before it makes a sound.
    const strict = await launchChromium();
    const context = await strict.newContext({viewport: {width: W, height: H}});
    await context.addInitScript(() => {
      // Listens to everything the page sends to the speakers.
      const connect = AudioNode.prototype.connect;
      AudioNode.prototype.connect = function (target, ...rest) {
        if (target === this.context.destination) {
          const c = this.context;
          if (!c.listener_) {
            c.listener_ = c.createAnalyser();
            c.listener_.fftSize = 2048;
            window.listener = c.listener_;
          }
          connect.call(this, c.listener_);
        }
        return connect.call(this, target, ...rest);
      };
    });
    const page = await openGame(context);
    await page.mouse.click(600, 460);  // nothing is there on the title
    const loudest = await page.evaluate(async () => {
      const samples = new Float32Array(2048);
      let peak = 0;
      for (let i = 0; i < 60 && peak < 0.01; ++i) {
        await new Promise((r) => setTimeout(r, 100));
        window.listener.getFloatTimeDomainData(samples);
        for (const v of samples) peak = Math.max(peak, Math.abs(v));
      }
      return {peak, state: Module.audioContext.state};
    });
    assert.equal(loudest.state, 'running');
    assert.ok(loudest.peak >= 0.01, `the music's loudest sample was ${loudest.peak}`);
    await strict.close();
  });
});

// Reads the stored vasul.ini (value undefined) or replaces its record with value (text, or
// a record as it is), in a page of the game's origin.
async function iniRecord(context, value) {
  const page = await context.newPage();
  await page.goto(`${server.url}icon-32.png`);
  const read = await page.evaluate((v) => new Promise((resolve, reject) => {
    const open = indexedDB.open('vasul', 1);
    open.onupgradeneeded = () => open.result.createObjectStore('files');
    open.onerror = () => reject(open.error);
    open.onsuccess = () => {
      const db = open.result;
      const tx = db.transaction('files', v === undefined ? 'readonly' : 'readwrite');
      const files = tx.objectStore('files');
      let record = null;
      if (v === undefined) {
        const get = files.get('vasul/vasul.ini');
        get.onsuccess = () => { record = get.result; };
      } else {
        const data = typeof v === 'string' ? new TextEncoder().encode(v) : null;
        files.put(data ? {data, size: data.length} : v, 'vasul/vasul.ini');
      }
      tx.oncomplete = () => {
        db.close();
        resolve(record && {text: new TextDecoder().decode(record.data), size: record.size,
          whole: record.data.length === record.size});
      };
      tx.onerror = () => reject(tx.error);
    };
  }), value);
  await page.close();
  return read;
}
const storedIni = (context) => iniRecord(context);
const storeIni = (context, value) => iniRecord(context, value);

// A high-score table with its check values, best score 65000 by AAA.
function withTable(ini) {
  let table = '[score]\nsum0=9781\nsum1=6212\n';
  for (let i = 0; i < 10; ++i) table += `nam${i}=AAA\nsco${i}=${i === 0 ? 65000 : 500}\n`;
  return ini + table;
}

describe('the player\'s files', () => {
  const defaults = () => fs.readFileSync(path.join(PAGE, 'pack/vasul.ini'), 'utf8');
  const OPTIONS = [300, 230], MUSIC_SWITCH = [364, 121], HIGH_SCORES = [300, 350];

  test('a new player starts from the defaults, which are kept', async () => {
    const context = await newContext();
    const page = await openGame(context);
    await waitPasses(page, 5);
    assert.deepEqual(await storedIni(context), {text: defaults(), size: defaults().length, whole: true});
    await context.close();
  });

  test('a setting and the high scores survive a reload', async () => {
    const context = await newContext();
    await storeIni(context, withTable(defaults()));
    let page = await openGame(context, '?record');
    await page.mouse.click(...OPTIONS);
    await waitPasses(page, 5);
    await page.mouse.click(...MUSIC_SWITCH);
    await waitPasses(page, 5);
    await page.reload();
    await page.waitForFunction(() => window.Module && Module.firstFrameMs > 0 && Module.packComplete);
    const stored = await storedIni(context);
    assert.match(stored.text, /bgmon=0/);
    assert.equal(stored.text, withTable(defaults()).replace('bgmon=1', 'bgmon=0'));
    // The table the game shows is the one kept.
    await page.mouse.click(...HIGH_SCORES);
    await waitPasses(page, 10);
    await assertNativeFrame(page, 'the high scores after a reload', stored.text);
    await context.close();
  });

  test('a renderer that crashes while saving leaves the old file or the new one', async () => {
    const context = await newContext();
    const errors = [];  // a crashed page's own errors are expected
    for (const delay of [0, 2, 5, 10, 20, 40]) {
      const page = await openGame(context, '', {errors});
      const old = (await storedIni(context)).text;
      await page.mouse.click(...OPTIONS);
      await waitPasses(page, 3);
      await page.mouse.move(...MUSIC_SWITCH);
      await waitPasses(page, 2);
      const cdp = await context.newCDPSession(page);
      await page.mouse.down();
      await page.mouse.up();
      await new Promise((r) => setTimeout(r, delay));
      cdp.send('Page.crash').catch(() => {});
      await page.waitForEvent('crash', {timeout: 10000}).catch(() => {});
      await page.close().catch(() => {});
      const now = await storedIni(context);
      assert.ok(now.whole, 'the stored file is whole');
      const toggled = old.includes('bgmon=1') ? old.replace('bgmon=1', 'bgmon=0')
                                              : old.replace('bgmon=0', 'bgmon=1');
      assert.ok(now.text === old || now.text === toggled,
                `after a crash ${delay} ms into a save the file is neither old nor new:\n${now.text}`);
    }
    const page = await openGame(context);
    assert.deepEqual(page.warnings.filter((w) => /Vasul/.test(w)), []);
    await context.close();
  });

  // Dropped on the page or chosen with its button, a picture lands in the player's folder, is
  // stored, and is there again after a reload; a file that is no picture is refused by name.
  test('the player\'s pictures come in by drop and by the file chooser and stay', async () => {
    const picture = [...fs.readFileSync(new URL('../data/pictures/corners.bmp', import.meta.url))];
    const context = await newContext();
    let page = await openGame(context);
    await page.evaluate((bytes) => {
      const dt = new DataTransfer();
      dt.items.add(new File([new Uint8Array(bytes)], 'K\u00fcste.bmp', {type: 'image/bmp'}));
      dt.items.add(new File([new TextEncoder().encode('words')], 'notes.txt'));
      document.getElementById('game').dispatchEvent(
          new DragEvent('drop', {dataTransfer: dt, bubbles: true, cancelable: true}));
    }, picture);
    const folder = () => page.evaluate(() => {
      try { return Module.FS.readdir('/player/vasul/pictures').filter((n) => !n.startsWith('.')); }
      catch (e) { return []; }
    });
    await page.waitForFunction(() => {
      try { return Module.FS.readdir('/player/vasul/pictures').length > 2; } catch (e) { return false; }
    }, null, {timeout: 10000});
    assert.deepEqual(await folder(), ['K\u00fcste.bmp']);
    await page.setInputFiles('#picture-files',
                             {name: 'b.bmp', mimeType: 'image/bmp', buffer: Buffer.from(picture.map((v, i) => i > 60 ? 255 - v : v))});
    await page.waitForFunction(() => Module.FS.readdir('/player/vasul/pictures').length > 3, null,
                               {timeout: 10000});
    assert.deepEqual((await folder()).sort(), ['K\u00fcste.bmp', 'b.bmp']);
    await waitPasses(page, 3);
    await page.close();
    page = await openGame(context);
    assert.deepEqual((await folder()).sort(), ['K\u00fcste.bmp', 'b.bmp'], 'kept in the browser');
    await context.close();
  });

  test('a damaged stored file gives the defaults and one warning', async () => {
    const context = await newContext();
    await storeIni(context, {data: 'not bytes', size: 3});
    const page = await openGame(context);
    await waitPasses(page, 5);
    const warnings = page.warnings.filter((w) => /Vasul/.test(w));
    assert.equal(warnings.length, 1, warnings.join('\n'));
    assert.match(warnings[0], /damaged/);
    assert.equal((await storedIni(context)).text, defaults());
    await context.close();
  });
});

describe('the page', () => {
  test('a second visit starts without a network', async () => {
    const own = await serve(PAGE);
    const context = await newContext();
    let page = await openGame(context, '', {url: own.url});
    // Everything is kept once the page has put the pack away and the worker runs.
    await page.waitForFunction(() => Module.offlineReady, null, {timeout: 60000});
    await page.close();
    own.stop();
    page = await openGame(context, '', {url: own.url});
    await waitPasses(page, 5);
    assert.ok(await page.evaluate(() => !!navigator.serviceWorker.controller));
    // And the browser would install it to the home screen.
    const cdp = await context.newCDPSession(page);
    const {installabilityErrors} = await cdp.send('Page.getInstallabilityErrors');
    // The test's own profile is a private one, which never installs.
    assert.deepEqual(installabilityErrors.filter((e) => e.errorId !== 'in-incognito'), []);
    await context.close();
  });

  test('Escape ends the game and the page offers another', async () => {
    const context = await newContext();
    const page = await openGame(context);
    await page.keyboard.press('Escape');
    await page.waitForSelector('#ended:not([hidden])');
    await page.click('#again');
    await page.waitForFunction(() => window.Module && Module.firstFrameMs > 0 &&
                               Module.packComplete && document.getElementById('ended').hidden);
    await context.close();
  });

  test('a hidden page is a lost display: the music rests and the picture comes back', async () => {
    const context = await newContext();
    const page = await openGame(context, '?record');
    await page.mouse.click(600, 20);  // the browser lets the music start
    await page.waitForFunction(() => Module.audioContext.state === 'running');
    // The audio resumes at the click itself; the game draws the pointer there a pass later.
    await waitPasses(page, 3);
    const hide = (hidden) => page.evaluate((h) => {
      Object.defineProperty(document, 'hidden', {configurable: true, get: () => h});
      document.dispatchEvent(new Event('visibilitychange'));
    }, hidden);
    await hide(true);
    await page.waitForFunction(() => Module.audioContext.state === 'suspended');
    // Nothing is shown while hidden: the canvas keeps its last picture.
    const before = await snapshot(page);
    await page.evaluate(() => {
      const c = document.getElementById('game').getContext('2d');
      c.fillStyle = '#f0f';
      c.fillRect(0, 0, 640, 480);
    });
    await waitPasses(page, 5);
    assert.equal((await snapshot(page)).rgba[0], 0xff, 'no frame is drawn while hidden');
    await hide(false);
    await page.waitForFunction(() => Module.audioContext.state === 'running');
    await waitPasses(page, 5);
    const after = await assertNativeFrame(page, 'the title after the page came back');
    assert.deepEqual(after.rgba, before.rgba);
    await context.close();
  });

  test('F11 and Alt+Enter switch full screen; the game hears neither', async () => {
    const context = await newContext();
    const page = await openGame(context, '?record');
    const full = () => page.evaluate(() => !!document.fullscreenElement);
    await page.keyboard.press('F11');
    await page.waitForFunction(() => !!document.fullscreenElement);
    await page.keyboard.press('Alt+Enter');
    await page.waitForFunction(() => !document.fullscreenElement);
    assert.equal(await full(), false);
    await page.click('#fullscreen');
    await page.waitForFunction(() => !!document.fullscreenElement);
    await waitPasses(page, 5);
    const {recording} = await snapshot(page);
    // Alt itself is a key the game hears, as on the desktop.
    assert.doesNotMatch(recording, /key(down|up) (122|13)\b/);
    await context.close();
  });

  test('double clicks and double taps are the game\'s double clicks', async () => {
    const context = await newContext({hasTouch: true});
    const page = await openGame(context, '?record');
    // Empty places of the title.
    await page.mouse.dblclick(40, 440);
    await waitPasses(page, 5);
    await page.touchscreen.tap(50, 450);
    await page.touchscreen.tap(52, 452);
    // The game takes one message a pass.
    await page.waitForFunction(() => Module.FS.readFile('/tmp/vasul.replay', {encoding: 'utf8'})
        .includes('lup 52 452'), null, {timeout: 10000}).catch(() => {});
    const lines = (await snapshot(page)).recording.split('\n')
        .filter((l) => /(ldown|ldbl|lup)/.test(l)).map((l) => l.replace(/^@\d+ /, ''));
    assert.deepEqual(lines, ['ldown 40 440', 'lup 40 440', 'ldbl 40 440', 'lup 40 440',
      'ldown 50 450', 'lup 50 450', 'ldbl 52 452', 'lup 52 452']);
    await context.close();
  });

  test('the page never scrolls, zooms or opens a menu under the game', async () => {
    const context = await newContext();
    const page = await openGame(context);
    const prevented = await page.evaluate(() => {
      const c = document.getElementById('game');
      const events = [new MouseEvent('contextmenu', {bubbles: true, cancelable: true}),
        new WheelEvent('wheel', {bubbles: true, cancelable: true, ctrlKey: true, deltaY: 100})];
      return events.map((e) => !c.dispatchEvent(e));
    });
    assert.deepEqual(prevented, [true, true]);
    const style = await page.evaluate(() => getComputedStyle(document.getElementById('game')).touchAction);
    assert.equal(style, 'none');
    await context.close();
  });

  test('no errors on the console', () => {
    assert.deepEqual(consoleErrors, []);
  });
});
