// SKTCH programs as web pages, driven in headless Chromium: the game's first frame, replays
// equal to sktch-replay's pictures, the text window's lines where the desktop puts them,
// clicks and Run menu shortcuts, recording and playing back a downloaded script, the
// line-input dialog, and a halted page's CPU time.
//
// Usage: node web_test.mjs SITE_DIR NATIVE_BUILD_DIR
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const [site, native] = process.argv.slice(2);
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'sktch-web-test-'));
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// ---- a static server for the site and the reference pictures -------------------------------

const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
               '.png': 'image/png'};
const server = http.createServer((request, response) => {
  const name = decodeURIComponent(new URL(request.url, 'http://x').pathname).replace(/^\/+/, '');
  const file = [path.join(site, name), path.join(work, name)].find(
      (f) => !name.includes('..') && fs.existsSync(f) && fs.statSync(f).isFile());
  if (!file) {
    response.writeHead(404).end();
    return;
  }
  response.writeHead(200, {'Content-Type': types[path.extname(file)] || 'text/plain'});
  response.end(fs.readFileSync(file));
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const base = `http://127.0.0.1:${server.address().port}/`;

const browser = await puppeteer.launch({
  executablePath: process.env.SKTCH_CHROMIUM || '/usr/bin/chromium',
  headless: true,
  userDataDir: fs.mkdtempSync(path.join(work, 'profile-')),
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});

// ---- helpers ---------------------------------------------------------------------------------

async function open(address) {
  const page = await browser.newPage();
  await page.setViewport({width: 1400, height: 1000});
  page.on('pageerror', (e) => console.log(`  page error: ${e.message}`));
  await page.goto(base + address);
  await page.waitForFunction(() => typeof SKTCH !== 'undefined' && SKTCH.frameCount > 0,
                             {timeout: 10000});
  return page;
}

// The graphics window's canvas (the frame with a menu bar), or the text window's, as RGBA
// bytes.
async function pixels(page, window = 'graphics') {
  const data = await page.evaluate((graphics) => {
    const f = Object.values(SKTCH.frames).find((frame) => !!frame.menu.length === graphics);
    const c = f.canvas;
    const bytes = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    let s = '';
    for (let i = 0; i < bytes.length; ++i) s += String.fromCharCode(bytes[i]);
    return {width: c.width, height: c.height, bytes: btoa(s)};
  }, window === 'graphics');
  return {width: data.width, height: data.height, bytes: Buffer.from(data.bytes, 'base64')};
}

// A PNG decoded by the browser, as RGBA bytes.
async function picture(page, name) {
  const data = await page.evaluate(async (url) => {
    const image = new Image();
    image.src = url;
    await image.decode();
    const c = document.createElement('canvas');
    c.width = image.width;
    c.height = image.height;
    const context = c.getContext('2d');
    context.drawImage(image, 0, 0);
    const bytes = context.getImageData(0, 0, c.width, c.height).data;
    let s = '';
    for (let i = 0; i < bytes.length; ++i) s += String.fromCharCode(bytes[i]);
    return {width: c.width, height: c.height, bytes: btoa(s)};
  }, base + name);
  return {width: data.width, height: data.height, bytes: Buffer.from(data.bytes, 'base64')};
}

// Pixels that differ, counted inside and outside the given rectangles (where text lies).
function differences(a, b, textBoxes) {
  if (a.width !== b.width || a.height !== b.height)
    return {inside: 0, outside: Infinity, size: `${a.width}x${a.height} vs ${b.width}x${b.height}`};
  let inside = 0, outside = 0;
  for (let y = 0; y < a.height; ++y) {
    for (let x = 0; x < a.width; ++x) {
      const i = (y * a.width + x) * 4;
      if (a.bytes[i] === b.bytes[i] && a.bytes[i + 1] === b.bytes[i + 1] &&
          a.bytes[i + 2] === b.bytes[i + 2]) continue;
      const inText = textBoxes.some((r) => x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h);
      if (inText) ++inside; else ++outside;
    }
  }
  return {inside, outside};
}

const same = (a, b) => a.bytes.equals(b.bytes);

// The lines of dark text in a picture, top to bottom: for each band of rows holding ink, its
// first row, the row past its last, and its words: runs of ink columns, each as its first and
// last column. In the text window's fixed-pitch font the glyphs of a word leave up to 3 blank
// columns between them and a space leaves 8 or more, so a gap of up to kWordGap columns stays
// inside a word.
function inkLines(image) {
  const kWordGap = 5;
  const dark = (x, y) => image.bytes[(y * image.width + x) * 4] < 128;
  const lines = [];
  for (let y = 0; y < image.height; ++y) {
    let ink = false;
    for (let x = 0; x < image.width && !ink; ++x) ink = dark(x, y);
    const last = lines[lines.length - 1];
    if (ink && last && last.bottom === y) last.bottom = y + 1;
    else if (ink) lines.push({top: y, bottom: y + 1, words: []});
  }
  for (const line of lines) {
    for (let x = 0; x < image.width; ++x) {
      let ink = false;
      for (let y = line.top; y < line.bottom && !ink; ++y) ink = dark(x, y);
      if (!ink) continue;
      const word = line.words[line.words.length - 1];
      if (word && x - word[1] - 1 <= kWordGap) word[1] = x;
      else line.words.push([x, x]);
    }
  }
  return lines;
}

async function ctrl(page, letter) {
  await page.keyboard.down('Control');
  await page.keyboard.press(`Key${letter}`);
  await page.keyboard.up('Control');
}

// Client pixels of the graphics canvas to page coordinates.
async function clickCanvas(page, x, y) {
  const box = await page.evaluate(() => {
    const f = Object.values(SKTCH.frames).find((frame) => frame.menu.length);
    const r = f.canvas.getBoundingClientRect();
    return {left: r.left, top: r.top, scale: r.width / f.canvas.width};
  });
  await page.mouse.click(box.left + (x + 0.5) * box.scale, box.top + (y + 0.5) * box.scale);
}

// Runs a replay tool; the pictures it writes (graphics, then optionally text) are served
// under the names given.
async function replayPicture(tool, script, name, textName) {
  const outputs = [name, ...(textName ? [textName] : [])].map((n) => path.join(work, n));
  execFileSync(tool, [script, ...outputs], {stdio: 'inherit'});
  return name;
}

let failures = 0;
async function check(name, body) {
  try {
    await body();
    console.log(`ok - ${name}`);
  } catch (error) {
    ++failures;
    console.log(`not ok - ${name}: ${error.message}`);
  }
}
function expect(condition, message) {
  if (!condition) throw new Error(message);
}

const root = path.resolve(path.dirname(new URL(import.meta.url).pathname), '../..');

// ---- the checks ------------------------------------------------------------------------------

await check('the game page shows its first frame with the Run menu', async () => {
  const page = await open('landing.html');
  const shown = await pixels(page);
  expect(shown.width === 595 && shown.height === 487, `canvas is ${shown.width}x${shown.height}`);
  const status = await page.evaluate(() => document.getElementById('sktch-status').textContent);
  expect(!/cannot run/.test(status), `the page says: ${status}`);
  const items = () => page.evaluate(() => {
    const f = Object.values(SKTCH.frames).find((frame) => frame.menu.length);
    if (!f.menubar.querySelector('.sktch-open')) f.menubar.querySelector('button').click();
    return [...f.menubar.querySelectorAll('.sktch-item')].map(
        (row) => [row.querySelector('.sktch-text').textContent +
                  row.querySelector('.sktch-shortcut').textContent, row.getAttribute('aria-checked') === 'true',
                  row.classList.contains('sktch-greyed')]);
  });
  const menu = await items();
  const logging = menu.find(([text]) => text.startsWith('Logging'));
  expect(logging && logging[0].endsWith('Ctrl+L'), `Logging item: ${logging}`);
  expect(menu.some(([text]) => text === 'Halt animationCtrl+H'), 'no Halt animation item');
  expect(menu.some(([, , greyed]) => greyed), 'no greyed item');
  await ctrl(page, 'L');  // the check mark follows the library's menu
  await sleep(200);
  const again = await items();
  const toggled = again.find(([text]) => text.startsWith('Logging'));
  expect(toggled, `menu after Ctrl+L: ${JSON.stringify(again)}`);
  expect(toggled[1] !== logging[1], 'Ctrl+L did not move the Logging check mark');
  // SKTCH_WEB_SCREENSHOT=FILE.png keeps a picture of the page with its Run menu open.
  if (process.env.SKTCH_WEB_SCREENSHOT) {
    await page.setViewport({width: 660, height: 600});
    await page.screenshot({path: process.env.SKTCH_WEB_SCREENSHOT});
  }
  await page.close();
});

await check('?play= leaves the same picture as sktch-replay, outside text', async () => {
  const cases = [
    ['landing.html', path.join(native, 'tools/sktch-replay'), 'landing.scr'],
    ['shapes.html', path.join(native, 'examples/shapes-replay'), 'shapes.scr'],
  ];
  for (const [pageName, tool, script] of cases) {
    const source = script === 'landing.scr' ? path.join(root, 'docs/pictures', script)
                                            : path.join(root, 'examples/scripts', script);
    const reference = await replayPicture(tool, source, `${script}.png`);
    const page = await open(`${pageName}?play=${script}`);
    await page.waitForFunction(() => SKTCH.playDone, {timeout: 20000});
    await sleep(300);
    const cells = await page.evaluate(() => SKTCH.takeTextCells());
    const text = cells.map((c) => ({x: c.x - 3, y: c.y - 3, w: c.w + 6, h: c.h + 6}));
    const d = differences(await pixels(page), await picture(page, reference), text);
    expect(d.outside === 0, `${script}: ${d.outside} pixels differ outside text ${d.size || ''}`);
    await page.close();
  }
});

await check('the text window shows its lines in the rows and columns the desktop shows them',
            async () => {
  // Forty keys: fifty-one table rows and the end-of-script line, more than the window holds,
  // so it has scrolled many times.
  const script = path.join(work, 'keys.scr');
  fs.writeFileSync(script, 'SKTCH_KBD(75);\n'.repeat(40));
  await replayPicture(path.join(native, 'examples/text_window-replay'), script, 'keys.png',
                      'keys-text.png');
  const page = await open('text_window.html?play=keys.scr');
  await page.waitForFunction(() => SKTCH.playDone, {timeout: 20000});
  await sleep(300);
  const shown = inkLines(await pixels(page, 'text'));
  const desktop = inkLines(await picture(page, 'keys-text.png'));
  await page.close();
  expect(desktop.length > 12, `the desktop's text window shows ${desktop.length} lines`);
  expect(shown.length === desktop.length,
         `${shown.length} lines in the page, ${desktop.length} on the desktop`);
  // The glyphs are rendered by other code than the desktop's: their ink may reach a column
  // or two further, never another row.
  const near = (a, b) => Math.abs(a - b) <= 2;
  shown.forEach((line, i) => {
    const d = desktop[i];
    const alike = line.top === d.top && line.bottom === d.bottom &&
                  line.words.length === d.words.length &&
                  line.words.every(([l, r], k) => near(l, d.words[k][0]) && near(r, d.words[k][1]));
    expect(alike, `line ${i + 1}: ${JSON.stringify(line)} in the page, ${JSON.stringify(d)} ` +
                  'on the desktop');
  });
});

await check('a click on LAND moves the aircraft; Ctrl+H halts; Ctrl+F advances one frame',
            async () => {
  const page = await open('landing.html');
  await ctrl(page, 'H');
  await sleep(300);
  const before = await pixels(page);
  await clickCanvas(page, 37, 11);  // LAND
  await ctrl(page, 'F');
  await sleep(300);
  const after = await pixels(page);
  expect(!same(before, after), 'LAND and one frame changed nothing');
  await sleep(1000);
  expect(same(after, await pixels(page)), 'the halted canvas changed within a second');
  await ctrl(page, 'F');
  await sleep(300);
  const stepped = await pixels(page);
  expect(!same(after, stepped), 'Ctrl+F did not advance');
  await sleep(700);
  expect(same(stepped, await pixels(page)), 'Ctrl+F advanced more than one frame');
  await ctrl(page, 'A');
  await sleep(500);
  expect(!same(stepped, await pixels(page)), 'Ctrl+A did not run the animation again');
  await page.close();
});

await check('a recording from the start is offered as a download and plays back to the same frame',
            async () => {
  const downloads = fs.mkdtempSync(path.join(work, 'downloads-'));
  const page = await open('landing.html?record');
  const cdp = await page.createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', {behavior: 'allow', downloadPath: downloads});
  await sleep(400);
  await clickCanvas(page, 37, 11);  // LAND
  await sleep(800);
  // The tick already due when Halt comes is still delivered: let it pass before the
  // recording stops, or the page shows a frame the script does not hold.
  await ctrl(page, 'H');
  await sleep(500);
  await ctrl(page, 'R');
  await sleep(300);
  const recorded = await pixels(page);
  await page.waitForSelector('#sktch-save:not([hidden]) a');
  await page.click('#sktch-save a');
  const file = path.join(downloads, 'SKTCH.SCR');
  for (let i = 0; i < 50 && !fs.existsSync(file); ++i) await sleep(100);
  const script = fs.readFileSync(file, 'utf8');
  expect(/SKTCH_MOUSE\(/.test(script), `the download holds no click: ${script.slice(0, 80)}`);
  // Kept in IndexedDB: a reload still has it.
  await page.waitForFunction(() => SKTCH.stored);
  await page.goto(base + 'landing.html');
  await page.waitForFunction(() => typeof SKTCH !== 'undefined' && SKTCH.frameCount > 0);
  const kept = await page.evaluate(() => FS.readFile('SKTCH.SCR', {encoding: 'utf8'}));
  expect(kept === script, 'SKTCH.SCR did not survive a reload');
  await page.close();

  fs.copyFileSync(file, path.join(work, 'recorded.scr'));
  const player = await open('landing.html?play=recorded.scr');
  await player.waitForFunction(() => SKTCH.playDone, {timeout: 20000});
  await sleep(300);
  const played = await pixels(player);
  const d = differences(played, recorded, []);
  expect(d.outside === 0, `${d.outside} pixels differ from the recorded frame; script:\n${script}`);
  await player.close();

  // A chosen file becomes SKTCH.SCR.
  const picking = await open('landing.html');
  await (await picking.$('#sktch-open')).uploadFile(path.join(root, 'docs/pictures/nice-landing.scr'));
  await picking.waitForFunction(() => /SKTCH\.SCR/.test(document.getElementById('sktch-status').textContent));
  const taken = await picking.evaluate(() => FS.readFile('SKTCH.SCR', {encoding: 'utf8'}));
  expect(taken === fs.readFileSync(path.join(root, 'docs/pictures/nice-landing.scr'), 'utf8'),
         'the chosen file is not SKTCH.SCR');
  await picking.close();
});

await check('SKTCH_gets: a page dialog that Escape does not end, whose text comes back',
            async () => {
  // The width of the greeting's blue ink grows with the name the dialog returned.
  const greetingWidth = async (name) => {
    const page = await open('ask_name.html');
    await page.waitForSelector('.sktch-dialog .sktch-edit');
    const prompt = await page.$eval('.sktch-dialog', (d) => d.textContent);
    expect(prompt.includes('What is your name?') && prompt.includes('Okay'), `dialog: ${prompt}`);
    await page.keyboard.press('Escape');
    await sleep(200);
    expect(await page.$('.sktch-dialog'), 'Escape ended the dialog');
    await page.type('.sktch-dialog .sktch-edit', name);
    await page.keyboard.press('Enter');
    await page.waitForFunction(() => !document.querySelector('.sktch-dialog'));
    await sleep(300);
    const shown = await pixels(page);
    let left = Infinity, right = -1;
    for (let i = 0; i < shown.bytes.length; i += 4) {
      if (shown.bytes[i] < 60 && shown.bytes[i + 1] < 60 && shown.bytes[i + 2] > 180) {
        const x = (i / 4) % shown.width;
        left = Math.min(left, x);
        right = Math.max(right, x);
      }
    }
    await page.close();
    return right - left;
  };
  const short = await greetingWidth('Ada');
  const long = await greetingWidth('Ada Lovelace Byron');
  expect(short > 0 && long > short + 100, `greeting widths ${short} and ${long}`);

  const page = await open('ask_name.html');
  await page.waitForSelector('.sktch-dialog .sktch-edit');
  await page.type('.sktch-dialog .sktch-edit', 'x'.repeat(300));
  const kept = await page.$eval('.sktch-dialog .sktch-edit', (e) => e.value.length);
  expect(kept === 255, `the edit box kept ${kept} characters`);
  await page.close();
});

await check('a browser without WebAssembly vector instructions is told so on the page', async () => {
  const page = await browser.newPage();
  await page.evaluateOnNewDocument(() => { WebAssembly.validate = () => false; });
  await page.goto(base + 'landing.html');
  const status = await page.$eval('#sktch-status', (e) => e.textContent);
  expect(/cannot run SKTCH pages/.test(status), `the page says: ${status}`);
  await page.close();
});

await check('a halted page uses almost no CPU time over 5 s', async () => {
  const page = await open('landing.html');
  await ctrl(page, 'H');
  await sleep(500);
  const cdp = await page.createCDPSession();
  await cdp.send('Performance.enable');
  const busy = async () => {
    const {metrics} = await cdp.send('Performance.getMetrics');
    return metrics.find((m) => m.name === 'TaskDuration').value;
  };
  const start = await busy();
  await sleep(5000);
  const used = (await busy()) - start;
  expect(used < 0.1, `${used.toFixed(3)} s of CPU time in 5 s`);
  await page.close();
});

await browser.close();
server.close();
fs.rmSync(work, {recursive: true, force: true});
console.log(failures ? `${failures} browser check(s) failed` : 'all browser checks passed');
process.exit(failures ? 1 : 0);
