// The one-file web page in Chromium from file://, every network request refused: its labels and
// link, the settings in the page, the location, night mode, the axe audit, and the night's plan
// against vellmore-table's own JSON.
import test, { after, before } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';
import { launch } from './browser.mjs';

const page_ = process.env.VELLMORE_PAGE;
const table = process.env.VELLMORE_TABLE;
const skip = !page_ || !existsSync(page_) ? `no page at ${page_}: scripts/dev.sh web` : false;
const url = page_ && pathToFileURL(page_).href;
const axe = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');
const dir = mkdtempSync(join(tmpdir(), 'vellmore-page-'));
let chromium;
before(async () => { if (!skip) chromium = await launch(); });
after(async () => { await chromium?.close(); rmSync(dir, { recursive: true, force: true }); });

// A page at a size, started afresh (localStorage cleared once the module has run) unless kept.
const started = (page) => page.waitForFunction(() => document.querySelector('#lblOneDiv')?.textContent !== '0'
  || document.querySelector('.message'));
async function open({ width = 1280, height = 800, keep = false } = {}) {
  const page = await chromium.page();
  await page.setViewport({ width, height });
  await page.goto(url);
  await started(page);
  if (!keep) {
    await page.evaluate(() => localStorage.clear());
    await page.reload();
    await started(page);
  }
  return page;
}
const texts = (page, ids) => page.evaluate((ids) => ids.map((id) => {
  const el = document.getElementById(id);
  return el.tagName === 'INPUT' ? el.value : el.textContent;
}), ids);
const messages = (page) => page.$$eval('#messages .message p', (ps) => ps.map((p) => p.textContent));
const clean = async (page) => {
  assert.deepEqual([...page.errors, ...page.refused], []);
  await page.close();
};
const results = ['lblTelescopeMag', 'lblSystemFL', 'lblFRatio', 'lblExposure', 'lblOneDiv'];
const fields = ['txtTelescopeFL', 'txtEyepieceFL', 'txtCameraFL', 'txtTelescopeAp', 'txtK', 'txtISO'];

// What the window's behaviour table (tests/web/driver.cpp) does not see: each field named by its
// caption, the results read out as they change, the address a real link to a new tab.
test('each field is labelled by its caption, the results are live and the link is a real one', { skip }, async () => {
  const page = await open();
  const captions = await page.evaluate(() => [...document.querySelectorAll('#form1 input, #form1 output')]
    .map((el) => `${el.labels[0]?.textContent} ${el.id}`));
  assert.deepEqual(captions, ['Telescope FL (mm): txtTelescopeFL', 'Eyepiece FL (mm): txtEyepieceFL',
    'Camera FL (mm): txtCameraFL', 'Telescope Aperture (mm): txtTelescopeAp', 'K: txtK', 'Film ISO: txtISO',
    'Object Combo1', 'Magnification: lblTelescopeMag', 'System FL: lblSystemFL', 'f Ratio: lblFRatio',
    'Exposure: lblExposure', 'Or 1 / lblOneDiv']);
  assert.equal(await page.$eval('#lblExposure', (el) => el.closest('[aria-live]')?.getAttribute('aria-live')), 'polite');
  assert.deepEqual(await page.$eval('#Label14', (a) => [a.tagName, a.href, a.target]),
    ['A', 'https://en.wikipedia.org/wiki/Afocal_photography', '_blank']);
  await clean(page);
});

const editedFile = (text) => text.replace('FilmISO=100', 'FilmISO=400');
const bad = [
  ['an overflowing K', (t) => `${t}Bad=1e999\r\nLast=5\r\n`, /^The K of Bad= in .*Vellmore\.ini is too large a number; the objects from there on were not loaded\.$/],
  ['a file saved as UTF-16', null, /^.*Vellmore\.ini is saved as UTF-16; save it as plain text\. Nothing was loaded or changed\.$/],
];

test('Edit Settings edits the file in the page; Save keeps it, ReLoad loads it, Download saves it, a new visit still has it', { skip }, async () => {
  const page = await open();
  await page.click('#Command3');
  const original = await page.$eval('#ini', (t) => t.value);
  assert.equal(original.split('\n').length, 16); // 15 lines, each ended
  await page.$eval('#ini', (t, v) => { t.value = v; }, editedFile(original));
  await page.click('#ini-save');
  assert.equal(await page.$eval('#editor', (e) => e.hidden), true);
  await page.click('#Command2');
  assert.deepEqual(await texts(page, ['txtISO', 'lblExposure']), ['400', '0.07213 Sec']);
  await page.click('#Command1');
  assert.deepEqual(await texts(page, ['lblExposure']), ['0.01803 Sec']);
  const stored = await page.evaluate(() => localStorage.getItem('vellmore.ini'));
  assert.equal(stored, editedFile(original).replace(/\n/g, '\r\n'));
  await page.click('#Command3');
  const cdp = await page.createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: dir, eventsEnabled: true });
  const saved = new Promise((done) => cdp.on('Browser.downloadProgress', (e) => e.state === 'completed' && done()));
  await page.click('#ini-download');
  await saved;
  assert.equal(readFileSync(join(dir, 'Vellmore.ini'), 'latin1'), stored);
  await page.focus('#ini-cancel');
  await page.keyboard.press('Tab'); // the unseen file input shows its focus on its button
  assert.deepEqual(await page.evaluate(() => [document.activeElement.id,
    getComputedStyle(document.activeElement.labels[0]).outlineStyle]), ['ini-file', 'solid']);
  await page.$eval('#ini', (t) => { t.value = 'FilmISO=1600'; });
  await page.click('#ini-cancel');
  await clean(page);
  const again = await open({ keep: true });
  assert.deepEqual(await texts(again, ['txtISO', 'lblExposure']), ['400', '0.01803 Sec']);
  for (const [name, edit, message] of bad) {
    await again.click('#Command3');
    if (edit) {
      await again.$eval('#ini', (t, v) => { t.value = v; }, edit(original));
    } else {
      const file = join(dir, 'utf16.ini');
      writeFileSync(file, Buffer.concat([Buffer.from([0xff, 0xfe]), Buffer.from('K=7\r\n', 'utf16le')]));
      await (await again.$('#ini-file')).uploadFile(file);
      await again.waitForFunction(() => document.getElementById('ini').value.startsWith('ÿþ'));
    }
    await again.click('#ini-save');
    await again.click('#Command2');
    assert.match((await messages(again)).at(-1) ?? '', message, name);
  }
  await clean(again);
});

test('Use my location fills the site when allowed and says so when refused, keeping the typed site', { skip }, async () => {
  const cdp = await chromium.browser.target().createCDPSession();
  for (const [setting, lat, lon, said] of [['granted', '-33.8688', '151.2093', /Site set to -33\.8688, 151\.2093/],
    ['denied', '12.5', '7', /refused\. Type the site's latitude and longitude instead\./]]) {
    const page = await open();
    await cdp.send('Browser.setPermission', { permission: { name: 'geolocation' }, setting });
    await page.setGeolocation({ latitude: -33.86882, longitude: 151.20929 });
    await page.type('#lat', '12.5');
    await page.type('#lon', '7');
    await page.click('#locate');
    await page.waitForFunction(() => !/Asking/.test(document.getElementById('plan-status').textContent));
    assert.deepEqual(await texts(page, ['lat', 'lon']), [lat, lon]);
    assert.match(await page.$eval('#plan-status', (s) => s.textContent), said);
    await clean(page);
  }
});

test('the UTC offset is the browser\'s at noon of the date chosen', { skip }, async () => {
  for (const [zone, date, offset] of [['Asia/Kolkata', '2026-12-24', '+05:30'], ['America/New_York', '2026-07-01', '-04:00'],
    ['America/New_York', '2026-12-01', '-05:00'], ['Australia/Lord_Howe', '2027-01-10', '+11:00'], ['Australia/Lord_Howe', '2026-07-01', '+10:30']]) {
    const page = await chromium.page();
    await page.emulateTimezone(zone);
    await page.goto(url);
    await page.$eval('#date', (el, v) => { el.value = v; el.dispatchEvent(new Event('change')); }, date);
    assert.equal(await page.$eval('#offset', (el) => el.value), offset, `${zone} ${date}`);
    await clean(page);
  }
});

// Four nights the page plans as vellmore-table does, byte for byte.
const nights = [
  ['Delhi at +05:30', { lat: '28.61', lon: '77.21', height: '216', date: '2026-12-24', offset: '+05:30', step: '30' }],
  ['Tromsø, midnight sun', { lat: '69.6492', lon: '18.9553', height: '10', date: '2026-06-21', offset: '+02:00', step: '60' }],
  ['Longyearbyen, polar night', { lat: '78.22', lon: '15.65', height: '0', date: '2026-12-21', offset: '+01:00', step: '120' }],
  ['Sydney with a camera', { lat: '-33.87', lon: '151.21', height: '20', date: '2027-01-10', offset: '+11:00', step: '45', shutter: '1/250,1/60', pixel: '3.76', sensor: '23.5x15.6' }],
];
const argsOf = (n) => ['--site', `${n.lat},${n.lon},${n.height}`, '--date', n.date, '--utc-offset', n.offset,
  '--step', n.step, ...(n.shutter ? ['--shutter', n.shutter, '--pixel-size', n.pixel, '--sensor', n.sensor] : []), '--json'];
const fill = async (page, n) => {
  for (const [id, v] of Object.entries(n)) await page.$eval(`#${id}`, (el, v) => { el.value = v; el.dispatchEvent(new Event('input')); }, v);
  await page.click('#plan');
};

test('the plan of four nights is vellmore-table\'s JSON and shows the chart and every object', { skip: skip || (!table && 'no VELLMORE_TABLE') }, async () => {
  const page = await open({ width: 360, height: 740 });
  const ini = join(dir, 'default.ini');
  writeFileSync(ini, Buffer.from(await page.evaluate(() => localStorage.getItem('vellmore.ini')), 'latin1'));
  for (const [name, night] of nights) {
    await fill(page, night);
    await page.waitForSelector('#plan-out .chart svg');
    const json = await page.evaluate(() => Module.ccall('vm_table_out', 'string', [], []));
    assert.equal(json, execFileSync(table, ['--settings', ini, ...argsOf(night)], { encoding: 'utf8' }), name);
    const plan = JSON.parse(json);
    assert.deepEqual(await page.$$eval('#plan-out .object h3', (h) => h.map((e) => e.textContent)),
      plan.objects.map((o) => `${o.object} (K ${o.k})`), name);
    // An exposure is a shutter speed with its unit, its offset in stops (never "-0.0") and the
    // seconds; a film speed is an ISO.
    const cell = /^((1\/\d+|\d+(\.\d+)? s) (\+\d+|-\d+(?<!-0)|-0(?=\.[1-9]))\.\d|bulb|faster than 1\/8000) \([\d.e-]+ s\)$|^(\d+|above 102400)$/;
    const cells = await page.$$eval('#plan-out tbody td:nth-child(n+3)', (t) => t.map((e) => e.textContent));
    assert.deepEqual(cells.filter((text) => !cell.test(text)), [], name);
    const [, sign, h, m] = /([+-])(\d\d):(\d\d)/.exec(night.offset);
    const local = (iso) => new Date(Date.parse(iso) + Number(`${sign}1`) * (h * 60 + Number(m)) * 60000).toISOString().slice(11, 16);
    assert.deepEqual(await page.$$eval('#plan-out .object tbody tr:not(:has(.below)) th', (t) => t.map((e) => e.textContent)),
      plan.objects.flatMap((o) => (o.rows ?? []).filter((r) => r.exposures.length).map((r) => local(r.time))), name);
  }
  assert.deepEqual(await page.evaluate(() => JSON.parse(localStorage.getItem('vellmore.plan')).sensor), '23.5x15.6');
  for (const [offset, far] of [['+00:00', true], ['+10:00', false], ['+07:30', false], ['+06:30', true]]) {
    await fill(page, { ...nights[3][1], offset }); // Sydney, whose Sun keeps UTC+10:05
    assert.equal(await page.$eval('#plan-out', (o) => o.textContent.includes('check the UTC offset')), far, offset);
  }
  for (const [field, value, said] of [['lat', '91', /the latitude "91" is out of range; it must be from -90 to 90 degrees/],
    ['date', '', /--date/], ['step', '0', /--step/]]) {
    await fill(page, { ...nights[0][1], [field]: value });
    assert.match(await page.$eval('#plan-status', (s) => s.textContent), said, field);
    assert.equal(await page.$eval('#plan-out', (o) => o.childElementCount), 0, field);
  }
  await clean(page);
});

// Night mode, from the control and remembered; each theme at phone and desktop sizes.
const sizes = [[360, 740], [1280, 800]];
test('both themes pass axe, fit a phone without sideways scroll, and night mode is red on black only', { skip }, async () => {
  for (const [width, height] of sizes) {
    const page = await open({ width, height });
    await fill(page, nights[3][1]);
    await page.waitForSelector('#plan-out .chart svg');
    await page.click('#Command3');
    for (const night of [false, true]) {
      if (night) await page.click('#theme');
      await page.addScriptTag({ content: axe });
      const found = await page.evaluate(async () => (await axe.run(document)).violations
        .map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(' ')}`));
      assert.deepEqual(found, [], `${width}px, night ${night}`);
      assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= innerWidth), `${width}px sideways`);
      const small = await page.$$eval('button, input, select, textarea, a, .button', (els) => els
        .filter((e) => e.getClientRects().length && !e.classList.contains('hidden-file'))
        .filter((e) => { const r = e.getBoundingClientRect(); return r.height < 44 || r.width < 44; }).map((e) => e.id));
      assert.deepEqual(small, [], `${width}px: targets under 44 px`);
    }
    const shot = await page.screenshot({ fullPage: true, encoding: 'base64' });
    const coloured = await page.evaluate(async (png) => {
      const img = new Image();
      img.src = `data:image/png;base64,${png}`;
      await img.decode();
      const c = Object.assign(document.createElement('canvas'), { width: img.width, height: img.height });
      const g = c.getContext('2d');
      g.drawImage(img, 0, 0);
      const d = g.getImageData(0, 0, c.width, c.height).data;
      let n = 0;
      for (let i = 0; i < d.length; i += 4) if (Math.max(d[i + 1], d[i + 2]) > 12) n++;
      return n;
    }, shot);
    assert.equal(coloured, 0, `${width}px: pixels with green or blue`);
    await page.reload();
    assert.equal(await page.$eval('html', (h) => h.dataset.theme), 'night');
    await clean(page);
  }
});
