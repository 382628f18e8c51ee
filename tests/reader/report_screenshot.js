// The README's picture of a report: PAGE as the system's headless Chromium draws it, light, 1280
// pixels wide, the call of ADDRESS (#seq-N) unfolded, written to PNG.
//
//   node tests/reader/report_screenshot.js PAGE ADDRESS PNG
'use strict';
const { launch, open } = require('./report_browser');

(async () => {
  const [page, address, png] = process.argv.slice(2);
  const browser = await launch();
  try {
    const tab = await open(browser, page, { hash: address, width: 1280, height: 1240 });
    await tab.keyboard.press('Enter');  // the call the address opened unfolds
    await tab.evaluate(() => { document.activeElement.blur(); window.scrollTo(0, 0); });
    if (tab.problems.length) throw new Error('the page reported: ' + tab.problems.join('; '));
    await tab.screenshot({ path: png, fullPage: true });
  } finally {
    await browser.close();
  }
})().catch((error) => {
  console.error(error.message);
  process.exit(1);
});
