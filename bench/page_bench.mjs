// node bench/page_bench.mjs PAGE: the page in headless Chromium, from file: with the network
// refused. Prints the median of 10 loads from navigation to the calculator's first results on
// screen, and of 10 nights at 1-minute steps worked out in the page (Los Angeles, 2026-12-07,
// JSON, as `vellmore-table --json` makes it).
import { pathToFileURL } from 'node:url';
import { launch } from '../tests/web/browser.mjs';

const median = (values) => [...values].sort((a, b) => a - b)[values.length >> 1].toFixed(1);
const night = ['--site', '34.05,-118.25,100', '--date', '2026-12-07', '--utc-offset', '-08:00',
  '--step', '1', '--json'].join('\n');
const browser = await launch();
const loads = [], nights = [];
try {
  for (let i = 0; i < 10; ++i) {
    const page = await browser.page();
    // The moment the results label first shows a result, seen as the page changes.
    await page.evaluateOnNewDocument(() => {
      new MutationObserver((changes, observer) => {
        if (document.getElementById('lblExposure')?.textContent.endsWith(' Sec')) {
          window.firstResults = performance.now();
          observer.disconnect();
        }
      }).observe(document, { subtree: true, childList: true, characterData: true });
    });
    await page.goto(pathToFileURL(process.argv[2]).href);
    await page.waitForFunction(() => window.firstResults !== undefined, { timeout: 20000 });
    loads.push(await page.evaluate(() => window.firstResults));
    // As a user asks for the night: once the page has settled.
    await page.evaluate(() => new Promise((settled) => requestIdleCallback(settled)));
    nights.push(await page.evaluate((args) => {
      const start = performance.now();
      Module.ccall('vm_table', 'number', ['string'], [args]);
      return performance.now() - start;
    }, night));
    if (page.refused.length || page.errors.length) throw new Error(`${page.refused} ${page.errors}`);
    await page.close();
  }
} finally {
  await browser.close();
}
console.log(`vellmore: page from navigation to first results, median of 10 loads: ${median(loads)} ms`);
console.log(`vellmore: night at 1-minute steps in the page, median of 10: ${median(nights)} ms`);
