// Debian's Chromium, headless, for the tests that need a real browser. A page may load only
// file:, data: and about: addresses; every other request is refused, and each console error and
// page error is kept in page.errors, each refused address in page.refused.
import { existsSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import puppeteer from 'puppeteer-core';

export const chromiumPath = process.env.CHROMIUM ?? '/usr/bin/chromium';
const local = /^(file|data|about):/;

export async function launch() {
  if (!existsSync(chromiumPath)) throw new Error(`no browser at ${chromiumPath}: apt-get install chromium`);
  const profile = mkdtempSync(join(tmpdir(), 'vellmore-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: chromiumPath,
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      `--user-data-dir=${profile}`],
  });
  return {
    browser,
    async page() {
      const page = await browser.newPage();
      page.errors = [];
      page.refused = [];
      page.on('console', (m) => m.type() === 'error' && page.errors.push(`console: ${m.text()}`));
      page.on('pageerror', (e) => page.errors.push(`page: ${e.message}`));
      await page.setRequestInterception(true);
      page.on('request', (r) => {
        if (local.test(r.url())) return r.continue();
        page.refused.push(r.url());
        return r.abort('blockedbyclient');
      });
      return page;
    },
    async close() {
      await browser.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}
