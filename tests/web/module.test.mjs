// The page's module (build-web/vellmore-web.js, named by VELLMORE_WEB_JS) under node: the
// calculator through a page that only holds texts, the night's plan byte for byte as the native
// vellmore-table (VELLMORE_TABLE) writes it, and the browser's time zone.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import os from 'node:os';
import path from 'node:path';
import vm from 'node:vm';

const js = process.env.VELLMORE_WEB_JS;
const page = { texts: [], entries: [], selected: -1, messages: [], opened: [] };

// The module is a script meant for a page: run where its globals are node's own.
const module = js && new Promise((resolve) => {
  globalThis.require = createRequire(path.resolve(js));
  globalThis.__dirname = path.dirname(path.resolve(js));
  globalThis.Module = {
    print() {}, printErr() {}, onRuntimeInitialized() { resolve(globalThis.Module); },
    vellmoreView: {
      text: (c) => page.texts[c] ?? '', setText: (c, t) => { page.texts[c] = t; },
      clearSelector: () => { page.entries = []; page.selected = -1; },
      appendEntries: (json) => page.entries.push(...JSON.parse(json)),
      selectedIndex: () => page.selected, setSelectedIndex: (i) => { page.selected = i; },
      showMessage: (t) => page.messages.push(t),
      editSettings: (p) => page.opened.push(p) > 0, openDocument: (a) => page.opened.push(a) + 41,
    },
  };
  vm.runInThisContext(fs.readFileSync(js, 'utf8'), { filename: js });
});
const call = async (name, ret, types = [], args = []) => (await module).ccall(name, ret, types, args);

test('the calculator runs the window\'s handlers', { skip: !js && 'VELLMORE_WEB_JS is not set' }, async () => {
  const defs = JSON.parse(await call('vm_controls', 'string'));
  for (const d of defs) page.texts[d.id] = d.text;
  const id = Object.fromEntries(defs.map((d) => [d.name, d.id]));
  await call('vm_load', null);
  await call('vm_shown', null);
  // 1420 / 19; x 50; / 220; 16.9856^2 / (40 x 100); its reciprocal.
  const results = ['lblTelescopeMag', 'lblSystemFL', 'lblFRatio', 'lblExposure', 'lblOneDiv'];
  assert.deepEqual(results.map((n) => page.texts[id[n]]), ['74.74X', '3736.84', '16.99', '0.07213 Sec', '13.86 Sec']);
  assert.deepEqual(page.messages, []);
  page.selected = page.entries.findIndex((e) => e.startsWith('Saturn='));
  await call('vm_event', null, ['number', 'number'], [id.Combo1, 1]);
  assert.equal(page.texts[id.txtK], '13.6');
  await call('vm_event', null, ['number', 'number'], [id.Command3, 0]);
  await call('vm_event', null, ['number', 'number'], [id.Label14, 3]);
  await call('vm_event', null, ['number', 'number'], [id.Label14, 4]);
  assert.deepEqual(page.opened, ['/vellmore/Vellmore.ini', 'https://en.wikipedia.org/wiki/Afocal_photography']);
  assert.equal(await call('vm_settings_path', 'string'), '/vellmore/Vellmore.ini');
});

test('the plan is vellmore-table\'s, byte for byte', { skip: !(js && process.env.VELLMORE_TABLE) && 'VELLMORE_WEB_JS or VELLMORE_TABLE is not set' }, async () => {
  const M = await module;
  await call('vm_load', null);
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'vellmore-web-'));
  const ini = path.join(dir, 'Vellmore.ini');
  fs.writeFileSync(ini, M.FS.readFile('/vellmore/Vellmore.ini'));
  M.FS.mkdirTree(dir);
  M.FS.writeFile(ini, fs.readFileSync(ini));
  const args = ['--site', '34.05,-118.25,100', '--date', '2026-12-07', '--utc-offset', '-08:00', '--step', '17', '--json', '--settings', ini];
  const native = execFileSync(process.env.VELLMORE_TABLE, args, { encoding: 'utf8' });
  assert.equal(await call('vm_table', 'number', ['string'], [args.join('\n')]), 0);
  assert.equal(await call('vm_table_out', 'string'), native);
  assert.equal(await call('vm_table', 'number', ['string'], [['--step', '0', '--site', '1,2'].join('\n')]), 2);
  assert.match(await call('vm_table_err', 'string'), /^vellmore-table: --step/);
  await call('vm_table', 'number', ['string'], [[...args.slice(0, 8), '--settings', ini, '--svg', '/tmp/night.svg'].join('\n')]);
  assert.match(M.FS.readFile('/tmp/night.svg', { encoding: 'utf8' }), /^<\?xml|^<svg/);
  fs.rmSync(dir, { recursive: true });
});

test('a night without an offset is in the browser\'s time zone', { skip: !js && 'VELLMORE_WEB_JS is not set' }, async () => {
  const args = ['--site', '34.05,-118.25,100', '--date', '2026-07-01', '--json', '--step', '60'];
  assert.equal(await call('vm_table', 'number', ['string'], [args.join('\n')]), 0);
  // The JavaScript engine's own zone rules for local noon that day.
  const east = -new Date(2026, 6, 1, 12).getTimezoneOffset();
  const hhmm = (m) => `${m < 0 ? '-' : '+'}${String(Math.trunc(Math.abs(m) / 60)).padStart(2, '0')}:${String(Math.abs(m) % 60).padStart(2, '0')}`;
  assert.equal(JSON.parse(await call('vm_table_out', 'string')).night.utc_offset, hhmm(east));
});
