// The show in headless Chromium (Debian's, driven by puppeteer-core):
// node browser.mjs URL OUTDIR. The page loads without a console error and
// asks nothing of another origin; Okay starts the show and its music; the
// canvas shows the scene; Escape ends it with the credits on the page; and
// with the test-only fixed tick, the canvas of ticks 0, 700 and 1400 is
// written to OUTDIR/tick-NNNNNN.png for comparison with frosten-capture.
// Prints the figures it measured; exits non-zero on the first failure.
import { createRequire } from 'node:module';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';

const require = createRequire(path.join(process.env.WEB_DEPS, 'package.json'));
const puppeteer = require('puppeteer-core');

const [url, outDir] = process.argv.slice(2);
const origin = new URL(url).origin;
const problems = [];

function fail(message) {
  console.error(`FAIL: ${message}`);
  process.exitCode = 1;
  throw new Error(message);
}

async function openPage(browser, query) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1024, height: 768 });
  page.on('console', (m) => { if (m.type() === 'error') problems.push(`console error: ${m.text()}`); });
  page.on('pageerror', (e) => problems.push(`page error: ${e.message}`));
  if (process.env.WEB_DEBUG) page.on('console', (m) => console.log(`page ${m.type()}: ${m.text()}`));
  page.on('requestfailed', (r) => problems.push(`request failed: ${r.url()}`));
  page.on('request', (r) => {
    const u = r.url();
    if (!u.startsWith(origin + '/') && !u.startsWith('data:') && !u.startsWith('blob:')) problems.push(`request to ${u}`);
  });
  await page.goto(`${url}${query}`, { waitUntil: 'load' });
  await page.waitForFunction(() => window.frosten && window.frosten.status === 'launcher', { timeout: 30000 });
  return page;
}

// Okay with the canvas in the page (full screen off), as a click: the
// gesture that lets the page start sound.
async function pressOkay(page) {
  await page.evaluate(() => { document.getElementById('fullscreen').checked = false; });
  await page.click('#okay');
  await page.waitForFunction(() => window.frosten.frames >= 3, { timeout: 60000 });
}

const canvasPixels = (page) => page.evaluate(() => document.getElementById('canvas').toDataURL('image/png'));

async function runShow(browser) {
  const page = await openPage(browser, '');
  const options = await page.$$eval('#mode option', (o) => o.map((x) => x.textContent));
  if (options[0] !== '640x480:32') fail(`size list starts with ${options[0]}`);
  const compress = await page.$eval('#texcompress', (b) => ({ checked: b.checked, disabled: b.disabled }));
  if (compress.checked || !compress.disabled) fail('TexCompress is not shown off');
  await pressOkay(page);
  const first = await page.evaluate(() => window.frosten.firstFrameMs);
  // The canvas shows the scene: many colours, not one cleared grey.
  const colours = await page.evaluate(() => {
    const c = document.getElementById('canvas');
    const copy = document.createElement('canvas');
    copy.width = c.width, copy.height = c.height;
    const g = copy.getContext('2d');
    g.drawImage(c, 0, 0);
    const d = g.getImageData(0, 0, c.width, c.height).data;
    const seen = new Set();
    for (let i = 0; i < d.length; i += 4 * 97) seen.add((d[i] >> 3) << 10 | (d[i + 1] >> 3) << 5 | (d[i + 2] >> 3));
    return { count: seen.size, width: c.width, height: c.height };
  });
  if (colours.width !== 640 || colours.height !== 480) fail(`canvas is ${colours.width}x${colours.height}`);
  if (colours.count < 100) fail(`the canvas shows ${colours.count} colours: no scene`);
  // Five seconds of the running show: frames and the music.
  const start = await page.evaluate(() => ({ frames: window.frosten.frames, at: performance.now() }));
  await page.waitForFunction(() => window.frosten.music === 'playing', { timeout: 15000 })
    .catch(() => fail('the music does not play'));
  await new Promise((r) => setTimeout(r, 5000));
  const run = await page.evaluate((s) => {
    const f = window.frosten;
    const times = f.frameMs.slice(-200);
    return {
      framesPerSecond: (f.frames - s.frames) * 1000 / (performance.now() - s.at),
      displayMs: times.reduce((a, b) => a + b, 0) / times.length,
      musicPosition: f.musicPosition,
    };
  }, start);
  if (run.musicPosition < 2) fail(`the music is at ${run.musicPosition} s after five seconds`);
  await page.keyboard.press('Escape');
  await page.waitForFunction(() => window.frosten.status === 'ended', { timeout: 10000 })
    .catch(() => fail('Escape does not end the show'));
  const end = await page.evaluate(() => ({
    box: window.frosten.box, music: window.frosten.music, code: window.frosten.exitCode,
    shown: !document.getElementById('box').hidden, text: document.getElementById('box-text').textContent,
  }));
  if (!end.shown || !end.box || end.box.title !== 'FROSTEN 2000' || !/^Code: /.test(end.text))
    fail(`no credits after Escape: ${JSON.stringify(end)}`);
  if (end.music !== 'stopped') fail(`the music is ${end.music} after Escape`);
  if (end.code !== 0) fail(`exit code ${end.code}`);
  console.log(`first frame after Okay: ${first.toFixed(0)} ms`);
  console.log(`640x480: ${run.framesPerSecond.toFixed(1)} frames/s, display callback ${run.displayMs.toFixed(2)} ms`);
  console.log(`music at ${run.musicPosition.toFixed(1)} s after 5 s; credits: ${end.text.replace(/\n/g, ' / ')}`);
  await page.close();
}

async function captureTick(browser, tick) {
  const page = await openPage(browser, `?tick=${tick}`);
  await pressOkay(page);
  const png = await canvasPixels(page);
  writeFileSync(path.join(outDir, `tick-${String(tick).padStart(6, '0')}.png`), Buffer.from(png.split(',')[1], 'base64'));
  await page.close();
}

const profile = mkdtempSync(path.join(tmpdir(), 'frosten-chromium-'));
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium',
  headless: true,
  userDataDir: profile,
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--autoplay-policy=user-gesture-required'],
});
try {
  await runShow(browser);
  for (const tick of [0, 700, 1400]) await captureTick(browser, tick);
  if (problems.length) fail(problems.join('\n'));
} catch (e) {
  process.exitCode = 1;
  if (!String(e.message).startsWith('FAIL')) console.error(`FAIL: ${e.message}`);
} finally {
  await browser.close();
  rmSync(profile, { recursive: true, force: true });
}
