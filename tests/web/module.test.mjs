// The page's module (build-web/vellmore-web.js, named by VELLMORE_WEB_JS) under node, in the zone
// TZ names: a night without an offset is in the local time of the JavaScript engine, which is
// what the page's C library asks. The calculator and the plan are tested in the page itself.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import vm from 'node:vm';

const js = process.env.VELLMORE_WEB_JS;

test('a night without an offset is in the browser\'s time zone', { skip: !js && 'VELLMORE_WEB_JS is not set' }, async () => {
  const M = await new Promise((resolve) => {
    globalThis.require = createRequire(path.resolve(js));
    globalThis.__dirname = path.dirname(path.resolve(js));
    globalThis.Module = { print() {}, printErr() {}, onRuntimeInitialized() { resolve(globalThis.Module); } };
    vm.runInThisContext(fs.readFileSync(js, 'utf8'), { filename: js });
  });
  const args = ['--site', '34.05,-118.25,100', '--date', '2026-07-01', '--json', '--step', '60'];
  assert.equal(M.ccall('vm_table', 'number', ['string'], [args.join('\n')]), 0);
  // The engine's own zone rules for local noon that day.
  const east = -new Date(2026, 6, 1, 12).getTimezoneOffset();
  const hhmm = (m) => `${m < 0 ? '-' : '+'}${String(Math.trunc(Math.abs(m) / 60)).padStart(2, '0')}:${String(Math.abs(m) % 60).padStart(2, '0')}`;
  assert.equal(JSON.parse(M.ccall('vm_table_out', 'string', [], [])).night.utc_offset, hhmm(east));
});
