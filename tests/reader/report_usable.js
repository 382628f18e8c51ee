// How soon a report becomes usable (its figures, timeline and first rows drawn) in the system's
// headless Chromium: the page's own mark, in milliseconds after navigation started, for each of RUNS
// fresh loads, one line each.
//
//   node tests/reader/report_usable.js PAGE [RUNS]
'use strict';
const { launch, open } = require('./report_browser');

(async () => {
  const [page, runs = '3'] = process.argv.slice(2);
  const browser = await launch();
  try {
    for (let k = 0; k < Number(runs); k++) {
      const tab = await open(browser, page);
      if (tab.problems.length) throw new Error('the page reported: ' + tab.problems.join('; '));
      console.log(await tab.evaluate(() => document.documentElement.dataset.usableMs), tab.loadedMs);
      await tab.context().close();
    }
  } finally {
    await browser.close();
  }
})().catch((error) => {
  console.error(error.message);
  process.exit(1);
});
