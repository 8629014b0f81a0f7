// The night chart as Chromium lays it out: no two texts overlap and none leaves the 900 x 540
// picture, measured with getBBox in the SVG's own units.
import test, { after, before } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';
import { launch } from './browser.mjs';

const table = process.env.VELLMORE_TABLE;
assert.ok(table, 'VELLMORE_TABLE names the vellmore-table to run');
const dir = mkdtempSync(join(tmpdir(), 'vellmore-chart-'));
const optics = ['TelescopeFL=1420', 'EyepieceFL=19', 'CameraFL=50', 'TelescopeAperture=220', 'K=40',
  'FilmISO=100', '', '[Exposures]', 'CrescentMoon=20'];
const planets = ['Saturn=13.6', 'Jupiter=32.5', 'Mars=32.5', 'Venus=1310'];
// The README's default file, lines ended CR LF, with other objects where asked.
const settings = (...objects) => [...optics, ...objects, ...planets, ''].join('\r\n');
const usual = settings('QuarterMoon=40', 'FullMoon=200');
// A Moon entry and a comet of 40 letters each, in three scripts.
const long = settings('Полная Луна над Эверестом – Full Moon Ω☾=200',
  'Tsuchinshan–ATLAS C/2023 A3 Цзыцзиньшань=5');
// The widest capitals of Cyrillic and Latin-1: a box narrower than they are drawn lets a name
// run into its neighbours or off the chart.
const wide = (name) => settings(`${name} Quarter Moon=40`, `${name} Full Moon=200`);
const la = '--site 34.05,-118.25,100 --date 2026-12-24 --utc-offset -08:00';
const nights = [
  ['Delhi', '--site 28.61,77.21,216 --date 2026-12-24 --utc-offset +05:30'],
  ['Kathmandu', '--site 27.7,85.32,1400 --date 2026-12-24 --utc-offset +05:45'],
  ['Greenwich in 1955', '--site 51.4769,-0.0005,46 --date 1955-03-01 --utc-offset +00:00'],
  ['Tromso, midnight sun', '--site 69.6492,18.9553,10 --date 2026-06-21 --utc-offset +02:00'],
  ['Los Angeles, full Moon and Saturn', la],
  ['Los Angeles, Jupiter and Mars close from 03:00', '--site 34.05,-118.25,100 --date 2026-12-07 --utc-offset -08:00'],
  ['shutter speeds and a sensor', `${la} --shutter 1/250,0.02 --pixel-size 3.76 --sensor 23.5x15.6`],
  ['names of 40 letters', la, long],
  ['wide Cyrillic by Venus', '--site 28.61,77.21,216 --date 2026-07-25 --utc-offset +05:30',
    wide('ЖЩЮШЫЖЩЮШЫЖЩЮШ')],
  ['wide Cyrillic at the edge', '--site 28.61,77.21,216 --date 2026-07-04 --utc-offset +05:30',
    wide('ЖЩЮШЫЖЩЮШЫЖЩЮШ')],
  ['wide Latin and Cyrillic', '--site 34.05,-118.25,100 --date 2026-10-22 --utc-offset -08:00',
    wide('ÆŒÆŒÆŒÆŒ ЉЊЉЊЉЊ')],
];

let chromium;
before(async () => { chromium = await launch(); });
after(async () => { await chromium?.close(); rmSync(dir, { recursive: true, force: true }); });

const run = (name, content, args) => {
  writeFileSync(join(dir, `${name}.ini`), content);
  return execFileSync(table, ['--settings', join(dir, `${name}.ini`), ...args.split(' ')],
    { encoding: 'utf8' });
};

test('the full Moon of 2026-12-24 is up over Los Angeles with Saturn', () => {
  const plan = JSON.parse(run('la', usual, `${la} --json`));
  assert.ok(plan.moon.illuminated > 0.95);
  const saturn = plan.objects.find((o) => o.object === 'Saturn');
  assert.ok(saturn.rows.some((r) => r.altitude_deg > 0));
});

for (const [i, [name, args, file = usual]] of nights.entries()) {
  test(`the chart's texts stand clear: ${name}`, async () => {
    const svg = join(dir, `${i}.svg`);
    run(i, file, `${args} --svg ${svg}`);
    const page = await chromium.page();
    await page.goto(pathToFileURL(svg).href);
    const boxes = await page.evaluate(async () => {
      await document.fonts.ready;
      return [...document.querySelectorAll('text')].map((t) => {
        const b = t.getBBox();
        return { text: t.textContent, l: b.x, t: b.y, r: b.x + b.width, b: b.y + b.height };
      });
    });
    await page.close();
    assert.deepEqual([...page.errors, ...page.refused], []);
    assert.ok(boxes.length > 20, `only ${boxes.length} texts`);
    const faults = [];
    boxes.forEach((a, k) => {
      if (a.l < 0 || a.t < 0 || a.r > 900 || a.b > 540) faults.push(`"${a.text}" leaves the chart`);
      for (const b of boxes.slice(k + 1)) {
        if (Math.min(a.r, b.r) > Math.max(a.l, b.l) && Math.min(a.b, b.b) > Math.max(a.t, b.t))
          faults.push(`"${a.text}" overlaps "${b.text}"`);
      }
    });
    assert.deepEqual(faults, []);
  });
}

test('the browser refuses the network and reports the page\'s errors', async () => {
  const page = await chromium.page();
  await page.goto(`data:text/html,<img src="http://example.com/a.png"><script>nope()</script>`);
  await page.close();
  assert.deepEqual(page.refused, ['http://example.com/a.png']);
  assert.ok(page.errors.some((e) => /nope/.test(e)), page.errors.join('\n'));
});
