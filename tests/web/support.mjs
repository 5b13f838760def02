// What the page's tests and its start-up benchmark share: the local server and Debian's
// headless Chromium.
import {spawn} from 'node:child_process';
import {createRequire} from 'node:module';
import path from 'node:path';
import {fileURLToPath} from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const {chromium} = createRequire(import.meta.url)('playwright-core');

const CHROMIUM = process.env.CHROMIUM || '/usr/lib/chromium/chromium';
// Chromium as root on a machine without a network: no sandbox, no calls home.
const FLAGS = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

// Debian's Chromium, headless, with these flags besides the usual ones.
export function launchChromium(extraFlags = []) {
  return chromium.launch({executablePath: CHROMIUM, headless: true,
    args: [...FLAGS, ...extraFlags]});
}

// web/serve.mjs on a free port of 127.0.0.1, serving root; resolves to {url, stop}.
export function serve(root, extraArgs = []) {
  return new Promise((resolve, reject) => {
    const child = spawn(process.execPath,
                        [path.join(here, '../../web/serve.mjs'), root, '0', ...extraArgs]);
    child.stdout.on('data', (d) => {
      const m = /(http:\/\/127\.0\.0\.1:\d+\/)/.exec(String(d));
      if (m) resolve({url: m[1], stop: () => child.kill()});
    });
    child.on('exit', (code) => reject(new Error(`the server stopped (${code})`)));
  });
}
