// The web page for the behaviour table's driver (driver.cpp): one page in Chromium, worked with
// puppeteer's real key presses and clicks. One JSON request a line on stdin, one reply a line on
// stdout; the browser closes when stdin does. The settings file is the page's stored text (one
// character per byte), sent as its bytes; a folder in its place is `true`, no file `null`.
import { createInterface } from 'node:readline';
import { pathToFileURL } from 'node:url';
import { launch } from './browser.mjs';

const url = pathToFileURL(process.argv[2]).href;
const chromium = await launch();
let page;
const keys = ['Tab', 'ArrowDown', 'ArrowUp', 'Enter', 'Escape'];

async function open(state) {
  page = await chromium.page();
  page.setDefaultTimeout(10000);
  await page.setViewport({ width: 1280, height: 800 });
  // Before the page's script: the stored text, and the launcher's calls recorded (the page's
  // editor and window.open), failing while `fail` is set.
  await page.evaluateOnNewDocument((state) => {
    if (Array.isArray(state)) localStorage.setItem('vellmore.ini', String.fromCharCode(...state));
    const t = window.vellmoreTest = { edited: [], opened: [], fail: false, beforeLoad(M) {
      const edit = M.vellmoreView.editSettings;
      M.vellmoreView.editSettings = (path) => (t.edited.push(path), !t.fail && edit(path));
      if (state === true) M.FS.mkdirTree(M.vellmoreSettingsPath());
    } };
    window.open = (address) => (t.opened.push(address), t.fail ? null : {});
  }, state);
  await page.goto(url);
  await page.waitForSelector('#Command1');
  // The first paint, when the start-up's messages show.
  await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
}

// The disk's file changed: the stored text and the file the loader reads, as the page keeps them.
const store = (state) => page.evaluate((state) => {
  const path = Module.vellmoreSettingsPath();
  try { Module.FS.unlink(path); } catch (e) { /* none */ }
  if (state === null) localStorage.removeItem('vellmore.ini');
  else localStorage.setItem('vellmore.ini', String.fromCharCode(...state)), Module.FS.writeFile(path, Uint8Array.from(state));
}, state);

const snapshot = async () => ({ errors: [...page.errors, ...page.refused], ...await page.evaluate((s) => ({
  messages: [...document.querySelectorAll('#messages .message p')].map((p) => p.textContent),
  stored: (s = localStorage.getItem('vellmore.ini')) === null ? null : [...s].map((c) => c.charCodeAt(0)),
  path: Module.vellmoreSettingsPath(), edited: vellmoreTest.edited, opened: vellmoreTest.opened,
})) });

const onLink = async () => {
  const box = await (await page.$('#Label14')).boundingBox();
  return [box.x + box.width / 2, box.y + box.height / 2, box.height];
};
const ops = {
  open: (q) => open(q.state),
  async type(q) {
    await page.click(`#${q.id}`);
    await page.keyboard.down('Control');
    await page.keyboard.press('KeyA');
    await page.keyboard.up('Control');
    await page.keyboard.press('Backspace');
    await page.keyboard.type(q.text);
  },
  click: (q) => page.click(`#${q.id}`),
  async key(q) {
    if (keys[q.key] !== 'Tab') await page.focus(`#${q.id}`);
    await page.keyboard.press(keys[q.key]);
  },
  pick: (q) => page.select('#Combo1-list', String(q.index)),
  async mouse(q) {
    const [x, y, h] = await onLink(), m = page.mouse;
    await m.move(x, y);
    await [() => m.click(x, y), () => m.click(x, y, { count: 2 }),
      async () => { await m.down(); await m.move(x, y - 3 * h); await m.up(); },
      () => m.click(x, y, { button: 'right' }),
      async () => { await m.down(); await m.down({ button: 'right' }); await m.up({ button: 'right' }); await m.up(); },
    ][q.action]();
  },
  // A screen reader's default action on a link is a click with no pointer and no focus change.
  reader: () => page.$eval('#Label14', (a) => a.click()),
  async browse() {
    await page.focus('#Combo1');
    await page.keyboard.down('Alt');
    await page.keyboard.press('ArrowDown');
    await page.keyboard.up('Alt');
    await page.keyboard.press('ArrowDown');
  },
  read: (q) => page.evaluate((id) => {
    const el = document.getElementById(id), list = document.getElementById('Combo1-list');
    const at = list.selectedOptions[0];
    return { text: el.tagName === 'INPUT' ? el.value : el.textContent,
      entries: [...list.options].filter((o) => o.value !== '').map((o) => o.textContent),
      selected: at && at.value !== '' ? Number(at.value) : -1,
      focus: document.activeElement.id.replace(/-list$/, '') };
  }, q.id),
};

for await (const line of createInterface({ input: process.stdin })) {
  const q = JSON.parse(line);
  let reply;
  try {
    if ('state' in q && q.op !== 'open') await store(q.state);
    if ('fail' in q && q.op !== 'open') await page.evaluate((fail) => { vellmoreTest.fail = fail; }, q.fail);
    const value = await ops[q.op](q);
    reply = { value: q.op === 'read' ? value : await snapshot() };
  } catch (e) {
    reply = { error: String(e?.stack ?? e) };
  }
  process.stdout.write(`${JSON.stringify(reply)}\n`);
}
await chromium.close();
