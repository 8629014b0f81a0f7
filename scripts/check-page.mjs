// node scripts/check-page.mjs FILE: opens the page as a packaged copy is opened, from file: with
// the network refused, and says whether it shows the calculator's results with no request and
// no error. For scripts/packages.sh.
import { pathToFileURL } from 'node:url';
import { launch } from '../tests/web/browser.mjs';

const browser = await launch();
let status = 1;
try {
  const page = await browser.page();
  await page.goto(pathToFileURL(process.argv[2]).href);
  await page.waitForFunction(() => document.getElementById('lblExposure')?.textContent === '0.07213 Sec',
    { timeout: 20000 });
  if (page.refused.length || page.errors.length)
    console.error(`the page asked for ${page.refused.join(' ')} ${page.errors.join(' ')}`);
  else status = 0;
} catch (e) {
  console.error(`the page did not show its results: ${e.message}`);
} finally {
  await browser.close();
}
process.exit(status);
