// The game in the browser against the native build, in one run: one frame of the game drawn
// in a page (game_frame_bench.html) beside the native benchmark's frame (game_bench
// BM_Redraw), over a few rounds taken in turn, and the landing page's load to its first frame
// on screen, from a local server.
//
// Usage: node bench/web/bench.mjs SITE_DIR NATIVE_GAME_BENCH
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import {createRequire} from 'node:module';

const require = createRequire(path.resolve('tests/web/package.json'));
const puppeteer = require('puppeteer-core');
const [site, nativeBench] = process.argv.slice(2);
const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm'};
const server = http.createServer((request, response) => {
  const name = new URL(request.url, 'http://x').pathname.replace(/^\/+/, '');
  const file = path.join(site, name);
  if (name.includes('..') || !fs.existsSync(file)) return response.writeHead(404).end();
  response.writeHead(200, {'Content-Type': types[path.extname(file)] || 'text/plain'});
  response.end(fs.readFileSync(file));
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const base = `http://127.0.0.1:${server.address().port}/`;
const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'sktch-bench-'));
const browser = await puppeteer.launch({
  executablePath: process.env.SKTCH_CHROMIUM || '/usr/bin/chromium', headless: true,
  userDataDir: profile,
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
const median = (values) => values.sort((a, b) => a - b)[Math.floor(values.length / 2)];

// One frame in the browser.
async function browserFrame() {
  const page = await browser.newPage();
  const result = new Promise((resolve) => page.on('console', (m) => {
    const found = /frame_us ([0-9.]+)/.exec(m.text());
    if (found) resolve(Number(found[1]));
  }));
  await page.goto(base + 'game_frame_bench.html');
  const frame = await result;
  await page.close();
  return frame;
}

// The same frame natively: the benchmark's median over its repetitions.
function nativeFrame() {
  const report = path.join(profile, 'native.json');
  execFileSync(nativeBench, ['--benchmark_filter=^BM_Redraw/', `--benchmark_out=${report}`,
                             '--benchmark_out_format=json'], {stdio: 'ignore'});
  const native = JSON.parse(fs.readFileSync(report, 'utf8'));
  return native.benchmarks.find((b) => b.aggregate_name === 'median').real_time;
}

// Rounds of one each, taken in turn, so that a busy spell of the machine weighs on both
// sides of a ratio.
const kRounds = 5;
const frames = [];
for (let i = 0; i < kRounds; ++i) {
  const inPage = await browserFrame();
  const natively = nativeFrame();
  frames.push({browser: inPage, native: natively, ratio: inPage / natively});
}

// Page load to the first frame on screen, over 9 loads with an empty cache.
const loads = [];
for (let i = 0; i < 9; ++i) {
  const p = await browser.newPage();
  await p.setCacheEnabled(false);
  await p.goto(base + 'landing.html');
  await p.waitForFunction(() => typeof SKTCH !== 'undefined' && SKTCH.firstFrameAt > 0);
  loads.push(await p.evaluate(() => SKTCH.firstFrameAt));
  await p.close();
}
await browser.close();
server.close();
fs.rmSync(profile, {recursive: true, force: true});

const ratios = frames.map((f) => f.ratio);
console.log(`one game frame, medians over ${kRounds} rounds: browser ` +
            `${median(frames.map((f) => f.browser)).toFixed(1)} us, native ` +
            `${median(frames.map((f) => f.native)).toFixed(1)} us; browser over native ` +
            `${median(ratios).toFixed(2)} times (${Math.min(...ratios).toFixed(2)} to ` +
            `${Math.max(...ratios).toFixed(2)})`);
console.log(`landing.html load to first frame: median ${median(loads).toFixed(0)} ms ` +
            `(${Math.min(...loads).toFixed(0)} to ${Math.max(...loads).toFixed(0)} ms over 9 loads)`);
