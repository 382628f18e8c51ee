// The system's headless Chromium for the report's browser tests and its screenshot, driven through
// playwright-core (installed into the build tree by scripts/common.sh, found through NODE_PATH).
'use strict';
const { chromium } = require('playwright-core');
const { pathToFileURL } = require('url');

// As root, without the sandbox; without the browser's own background connections, which this
// machine's closed network refuses.
function launch() {
  return chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync'],
  });
}

// Opens a report (a file, with an optional #address) in a page of its own, and waits until the page
// says it is drawn. page.problems collects console errors and uncaught exceptions.
async function open(browser, file, { hash = '', colorScheme = 'light', width = 1400, height = 1000 } = {}) {
  const context = await browser.newContext({ viewport: { width, height }, colorScheme, deviceScaleFactor: 1 });
  const page = await context.newPage();
  page.problems = [];
  page.on('console', (message) => { if (message.type() === 'error') page.problems.push(message.text()); });
  page.on('pageerror', (error) => page.problems.push(error.message));
  const started = Date.now();
  await page.goto(pathToFileURL(file).href + hash);
  await page.waitForSelector('html[data-ready]', { timeout: 30000 });
  page.loadedMs = Date.now() - started;
  return page;
}

module.exports = { launch, open };
