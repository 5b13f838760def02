// Serves a built Vasul page on 127.0.0.1 as a static host should: the right types, the
// precompressed .br or .gz sibling of a file when the browser takes it, revalidation by ETag.
// Usage: node serve.mjs ROOT [PORT] [--gzip-only] [--log FILE]
//   PORT 0 takes any free port (the first line printed names it); --gzip-only never offers
//   brotli; --log appends "path encoding bytes" for every file sent, for measuring a visit.
import {createServer} from 'node:http';
import {appendFileSync, promises as fs} from 'node:fs';
import path from 'node:path';

const positional = process.argv.slice(2).filter((a, i, all) => !a.startsWith('--') &&
    all[i - 1] !== '--log');
const root = path.resolve(positional[0] || '.');
const port = Number(positional[1] || 8080);
const encodings = process.argv.includes('--gzip-only') ? [['gzip', '.gz']]
                                                        : [['br', '.br'], ['gzip', '.gz']];
const logIndex = process.argv.indexOf('--log');
const logFile = logIndex > 0 ? process.argv[logIndex + 1] : null;

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.json': 'application/json',
  '.webmanifest': 'application/manifest+json',
  '.png': 'image/png',
  '.bmp': 'image/bmp',
  '.ogg': 'audio/ogg',
  '.wav': 'audio/wav',
  '.ini': 'text/plain; charset=utf-8',
  '.spt': 'application/octet-stream',
};

async function regularFile(file) {
  try {
    const st = await fs.stat(file);
    return st.isFile() ? st : null;
  } catch {
    return null;
  }
}

async function handle(request, response) {
  const send = (status, text) => {
    response.writeHead(status, {'Content-Type': 'text/plain; charset=utf-8'});
    response.end(request.method === 'HEAD' ? undefined : `${text}\n`);
  };
  if (request.method !== 'GET' && request.method !== 'HEAD') return send(405, 'GET only');
  let name;
  try {
    name = decodeURIComponent(new URL(request.url, 'http://host').pathname);
  } catch {
    return send(400, 'bad path');
  }
  if (name.endsWith('/')) name += 'index.html';
  const file = path.join(root, path.normalize(name));
  if (!file.startsWith(root + path.sep) || name.includes('\0')) return send(403, 'outside');
  const st = await regularFile(file);
  if (!st) return send(404, `${name}: not here`);

  const headers = {
    'Content-Type': types[path.extname(file)] || 'application/octet-stream',
    // Always asked again, answered 304 while unchanged: a new build is seen at once.
    'Cache-Control': 'no-cache',
    'X-Content-Type-Options': 'nosniff',
    'Vary': 'Accept-Encoding',
  };
  const accepted = String(request.headers['accept-encoding'] || '');
  let body = file, size = st.size, etag = `"${st.size.toString(16)}-${st.mtimeMs.toString(16)}"`;
  for (const [encoding, suffix] of encodings) {
    if (!new RegExp(`\\b${encoding}\\b`).test(accepted)) continue;
    const packed = await regularFile(file + suffix);
    if (!packed) continue;
    body = file + suffix;
    size = packed.size;
    etag = etag.replace(/"$/, `-${encoding}"`);
    headers['Content-Encoding'] = encoding;
    break;
  }
  headers.ETag = etag;
  if (request.headers['if-none-match'] === etag) {
    response.writeHead(304, headers);
    return response.end();
  }
  headers['Content-Length'] = size;
  response.writeHead(200, headers);
  if (request.method === 'HEAD') return response.end();
  if (logFile) appendFileSync(logFile, `${name} ${headers['Content-Encoding'] || '-'} ${size}\n`);
  const handle = await fs.open(body);
  handle.createReadStream().pipe(response);
}

const server = createServer((request, response) => {
  handle(request, response).catch((e) => {
    console.error(`serve: ${request.url}: ${e.message}`);
    if (!response.headersSent) response.writeHead(500);
    response.end();
  });
});
server.on('error', (e) => {
  console.error(`serve: cannot serve on 127.0.0.1:${port}: ${e.message}`);
  process.exit(1);
});
server.listen(port, '127.0.0.1', () => {
  const url = `http://127.0.0.1:${server.address().port}/`;
  console.log(`Vasul is served from ${root} at ${url} (Ctrl+C stops)`);
});
