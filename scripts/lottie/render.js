#!/usr/bin/env node
// Renders Lottie files with the peer player (lottie-web, canvas renderer) in headless
// chromium and saves chosen frames as RGBA PNGs (straight alpha). Run through
// scripts/lottie-reference.sh, which installs the tools and sets NODE_PATH.
//
//   render.js --out DIR [--size N] [--frames LIST] [--manifest] [--sheet [--backgrounds LIST]] FILE...
//
// LIST is "quartiles" (the default), "all", or comma-separated absolute frame numbers.
// --manifest also writes DIR/frames.json and DIR/README.md and first removes DIR's old PNGs:
// the folder then holds exactly one set of reference frames. --sheet writes one picture per
// file instead of one per frame: the frames side by side over each background colour.
'use strict';

const fs = require('fs');
const os = require('os');
const path = require('path');
const zlib = require('zlib');
const { execFileSync } = require('child_process');

const CHROMIUM = '/usr/bin/chromium';
// The machine has no network: without these chromium waits on connections it cannot make.
const CHROMIUM_ARGS = [
  '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
];

function fail(message) {
  process.stderr.write(`lottie-reference: ${message}\n`);
  process.exit(2);
}

function parseArgs(argv) {
  const opts = { out: null, size: 256, frames: 'quartiles', manifest: false, sheet: false,
    backgrounds: ['#ffffff', '#1f1f1f', '#0078d7'], files: [] };
  for (let i = 0; i < argv.length; i++) {
    const a = argv[i];
    const value = () => {
      if (i + 1 >= argv.length) fail(`${a} needs a value`);
      return argv[++i];
    };
    if (a === '--out') opts.out = value();
    else if (a === '--size') opts.size = Number(value());
    else if (a === '--frames') opts.frames = value();
    else if (a === '--manifest') opts.manifest = true;
    else if (a === '--sheet') opts.sheet = true;
    else if (a === '--backgrounds') opts.backgrounds = value().split(',').filter((s) => s);
    else if (a.startsWith('--')) fail(`unknown option ${a}`);
    else opts.files.push(a);
  }
  if (!opts.out) fail('--out DIR is required');
  if (!Number.isInteger(opts.size) || opts.size < 1 || opts.size > 4096) fail('--size must be 1..4096');
  if (opts.files.length === 0) fail('no Lottie files given');
  if (opts.backgrounds.length === 0) fail('--backgrounds needs at least one colour');
  if (opts.frames !== 'quartiles' && opts.frames !== 'all') {
    const list = opts.frames.split(',').map((s) => (s.trim() === '' ? NaN : Number(s)));
    if (list.some((f) => !Number.isFinite(f))) {
      fail(`--frames: expected "quartiles", "all" or numbers separated by commas, not "${opts.frames}"`);
    }
    opts.frames = list;
  }
  return opts;
}

// choice: "quartiles", "all" or a list of frame numbers (checked when the options were read).
// first = ip, last = the last whole frame before op; the quartiles are rounded frame numbers
// between them, so that every reference frame is one a player shows.
function chooseFrames(doc, choice) {
  const first = doc.ip;
  const last = Math.max(first, Math.ceil(doc.op) - 1);
  if (choice === 'quartiles') {
    return [0, 0.25, 0.5, 0.75, 1].map((p) => first + Math.round(p * (last - first)));
  }
  if (choice === 'all') {
    const frames = [];
    for (let f = Math.ceil(first); f <= last && frames.length < 10000; f++) frames.push(f);
    return frames;
  }
  return choice;
}

// --- PNG writing (RGBA, 8 bits, each row with the filter that compresses best) ----------

const CRC_TABLE = (() => {
  const t = new Uint32Array(256);
  for (let n = 0; n < 256; n++) {
    let c = n;
    for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
    t[n] = c >>> 0;
  }
  return t;
})();

function crc32(buf) {
  let c = 0xffffffff;
  for (let i = 0; i < buf.length; i++) c = CRC_TABLE[(c ^ buf[i]) & 0xff] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
}

function chunk(type, data) {
  const head = Buffer.alloc(8);
  head.writeUInt32BE(data.length, 0);
  head.write(type, 4, 'ascii');
  const crc = Buffer.alloc(4);
  crc.writeUInt32BE(crc32(Buffer.concat([head.subarray(4), data])), 0);
  return Buffer.concat([head, data, crc]);
}

function paeth(a, b, c) {
  const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
  return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

function filterRows(rgba, width, height) {
  const stride = width * 4;
  const out = Buffer.alloc((stride + 1) * height);
  const zero = Buffer.alloc(stride);
  const candidate = Buffer.alloc(stride);
  for (let y = 0; y < height; y++) {
    const row = rgba.subarray(y * stride, (y + 1) * stride);
    const up = y > 0 ? rgba.subarray((y - 1) * stride, y * stride) : zero;
    let bestCost = Infinity;
    for (let type = 0; type < 5; type++) {
      let cost = 0;
      for (let i = 0; i < stride; i++) {
        const a = i >= 4 ? row[i - 4] : 0, b = up[i], c = i >= 4 ? up[i - 4] : 0;
        const pred = type === 0 ? 0 : type === 1 ? a : type === 2 ? b : type === 3 ? (a + b) >> 1 : paeth(a, b, c);
        const v = (row[i] - pred) & 0xff;
        candidate[i] = v;
        cost += v < 128 ? v : 256 - v;
      }
      if (cost < bestCost) {
        bestCost = cost;
        out[y * (stride + 1)] = type;
        candidate.copy(out, y * (stride + 1) + 1);
      }
    }
  }
  return out;
}

function encodePng(rgba, width, height) {
  const ihdr = Buffer.alloc(13);
  ihdr.writeUInt32BE(width, 0);
  ihdr.writeUInt32BE(height, 4);
  ihdr.set([8, 6, 0, 0, 0], 8);   // 8 bits, RGBA, deflate, adaptive filtering, no interlace
  const idat = zlib.deflateSync(filterRows(rgba, width, height), { level: 9 });
  return Buffer.concat([
    Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]),
    chunk('IHDR', ihdr), chunk('IDAT', idat), chunk('IEND', Buffer.alloc(0)),
  ]);
}

// --- Driving the browser -------------------------------------------------------------------

function chromiumVersion() {
  try {
    return execFileSync(CHROMIUM, ['--version'], { stdio: ['ignore', 'pipe', 'ignore'] }).toString().trim();
  } catch (e) {
    return 'chromium (version unknown)';
  }
}

function readDocument(file) {
  const doc = JSON.parse(fs.readFileSync(file, 'utf8'));
  for (const key of ['w', 'h', 'fr', 'ip', 'op']) {
    if (typeof doc[key] !== 'number' || !Number.isFinite(doc[key])) throw new Error(`"${key}" is not a number`);
  }
  if (!(doc.op > doc.ip)) throw new Error('"op" is not after "ip"');
  return doc;
}

function frameName(f) {
  return Number.isInteger(f) ? String(f) : String(f).replace('.', 'p');
}

// Frames travel from the page in small batches, so that memory stays bounded however many
// are asked for.
const BATCH = 8;
const MAX_SHEET_SIDE = 16000;

async function renderFile(page, file, opts) {
  const name = path.basename(file).replace(/\.json$/i, '');
  const doc = readDocument(file);
  const frames = chooseFrames(doc, opts.frames);
  await page.evaluate(([d, s]) => kaOpen(d, s), [doc, opts.size]);
  if (opts.sheet) {
    if (frames.length * (opts.size + 2) > MAX_SHEET_SIDE || opts.backgrounds.length * (opts.size + 2) > MAX_SHEET_SIDE) {
      throw new Error('the sheet would be too large: ask for fewer frames or a smaller size');
    }
    const sheet = await page.evaluate(([f, b]) => kaSheet(f, b), [frames, opts.backgrounds]);
    const out = path.join(opts.out, `${name}-sheet.png`);
    fs.writeFileSync(out, encodePng(Buffer.from(sheet.data, 'base64'), sheet.width, sheet.height));
    console.log(`${out}: frames ${frames.join(', ')}`);
  } else {
    for (let at = 0; at < frames.length; at += BATCH) {
      const batch = frames.slice(at, at + BATCH);
      const images = await page.evaluate((f) => kaDraw(f), batch);
      images.forEach((b64, i) => {
        const out = path.join(opts.out, `${name}-${frameName(batch[i])}.png`);
        fs.writeFileSync(out, encodePng(Buffer.from(b64, 'base64'), opts.size, opts.size));
      });
    }
    console.log(`${name}: frames ${frames.join(', ')}`);
  }
  await page.evaluate(() => kaClose());
  return { file: path.basename(file), name, w: doc.w, h: doc.h, fr: doc.fr, ip: doc.ip, op: doc.op, frames };
}

function writeManifest(opts, entries, versions) {
  const manifest = {
    renderer: versions.lottie,
    browser: versions.chromium,
    size: opts.size,
    fit: 'xMidYMid meet',
    files: entries,
  };
  // One line per list of frame numbers keeps the manifest readable in a diff.
  const json = JSON.stringify(manifest, null, 2)
    .replace(/\[\s*([-\d.e,\s]+?)\s*\]/g, (m, inner) => `[${inner.split(/\s*,\s*/).join(', ')}]`);
  fs.writeFileSync(path.join(opts.out, 'frames.json'), json + '\n');
  const rows = entries.map((e) => `| ${e.file} | ${e.w} x ${e.h} | ${e.fr} | ${e.ip} | ${e.op} | ${e.frames.join(', ')} |`);
  const readme = `# Reference frames of the Lottie player

Frames of the ten animations from the wild in the shared test data (\`testdata/lottie\` beside
the repository; their own README says where they come from). They are test data only: the
animations themselves are neither copied here nor shipped.

Made by \`scripts/lottie-reference.sh\` (no arguments) on ${versions.date}, with ${versions.lottie}
(canvas renderer) in ${versions.chromium}, headless, device scale factor 1.

- Canvas ${opts.size} x ${opts.size}, transparent; the animation is fitted with its aspect kept and
  centred ('xMidYMid meet').
- Frames: first = ip, last = ceil(op) - 1 (the last whole frame before op); the frames are
  first + round(p * (last - first)) for p = 0, 0.25, 0.5, 0.75 and 1 (halves rounded up),
  absolute frame numbers.
- \`<name>-<frame>.png\`: the canvas pixels, 8-bit RGBA with straight (not premultiplied) alpha.
- \`frames.json\`: per file its name, w, h, fr, ip, op and the frame numbers rendered.

| file | size | fr | ip | op | frames |
|---|---|---|---|---|---|
${rows.join('\n')}
`;
  fs.writeFileSync(path.join(opts.out, 'README.md'), readme);
}

async function main() {
  const opts = parseArgs(process.argv.slice(2));
  const { chromium } = require('playwright-core');
  const lottieDir = path.dirname(require.resolve('lottie-web/package.json'));
  const versions = {
    lottie: `lottie-web ${require('lottie-web/package.json').version}`,
    chromium: chromiumVersion(),
    date: new Date().toISOString().slice(0, 10),
  };
  fs.mkdirSync(opts.out, { recursive: true });
  if (opts.manifest) {
    for (const f of fs.readdirSync(opts.out)) if (f.endsWith('.png')) fs.unlinkSync(path.join(opts.out, f));
  }

  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'ka-lottie-chromium-'));
  let context;
  let failures = 0;
  try {
    context = await chromium.launchPersistentContext(profile, {
      executablePath: CHROMIUM, headless: true, args: CHROMIUM_ARGS, deviceScaleFactor: 1,
      viewport: { width: 640, height: 480 }, timeout: 60000,
    });
    const page = context.pages()[0] || await context.newPage();
    page.on('pageerror', (e) => process.stderr.write(`page error: ${e.message}\n`));
    await page.goto('file://' + path.join(__dirname, 'page.html'));
    await page.addScriptTag({ path: path.join(lottieDir, 'build/player/lottie_canvas.min.js') });
    const entries = [];
    for (const file of opts.files) {
      try {
        entries.push(await renderFile(page, file, opts));
      } catch (e) {
        failures++;
        process.stderr.write(`lottie-reference: ${file}: ${e.message.split('\n')[0]}\n`);
      }
    }
    if (opts.manifest) writeManifest(opts, entries, versions);
    console.log(`${versions.lottie}, ${versions.chromium}`);
  } finally {
    if (context) await context.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
  process.exit(failures ? 1 : 0);
}

main().catch((e) => fail(e.stack || String(e)));
