// The report page in a real browser: the reports of the demo's scan and error sessions, of a
// 100,000-call transcript and of a transcript whose fields hold markup and bytes that are not UTF-8,
// opened in the system's headless Chromium. What the page shows is checked against what
// `twainlog json` and `twainlog check --json` say of the same transcripts.
//
// Run by scripts/test-report: node --test with TWAINLOG, SCAN, ERROR, BIG (transcripts) and WORK
// (a folder for the pages) in the environment.
'use strict';
const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('fs');
const path = require('path');
const { execFileSync, spawnSync } = require('child_process');
const { launch, open } = require('./report_browser');

const env = (name) => {
  if (!process.env[name]) throw new Error(name + ' is not set');
  return process.env[name];
};
const twainlog = (args) => execFileSync(env('TWAINLOG'), args, { maxBuffer: 1 << 30, encoding: 'utf8' });
const jsonLines = (text) => text.split('\n').filter(Boolean).map((line) => JSON.parse(line));

let browser;
const sessions = {};

// A session: its transcript, its report, its records as `twainlog json` gives them.
function prepare(name, transcript) {
  const page = path.join(env('WORK'), name + '.html');
  twainlog(['report', transcript, '-o', page]);
  const records = jsonLines(twainlog(['json', transcript]));
  const checked = spawnSync(env('TWAINLOG'), ['check', '--json', transcript], { encoding: 'utf8', maxBuffer: 1 << 30 });
  const findingLines = new Set(jsonLines(checked.stdout).map((f) => f.line));
  sessions[name] = {
    transcript, page, records,
    failed: records.flatMap((r, i) => (r.failed || r.rc === 'TWRC_FAILURE' ? [i] : [])),
    withFindings: records.flatMap((r, i) => (findingLines.has(r.line) ? [i] : [])),
  };
}

before(async () => {
  fs.mkdirSync(env('WORK'), { recursive: true });
  // The error session with markup in a text field and a byte that is not UTF-8 in another.
  const injected = path.join(env('WORK'), 'injected.txt');
  let bytes = fs.readFileSync(env('ERROR'));
  bytes = Buffer.from(bytes.toString('latin1')
    .replace('[Session Player]', '[</script><script>window.injected = 1</script><b>bold</b>]')
    .replace('[Photo Tools]', '[Caf\u00e9]'), 'latin1');
  fs.writeFileSync(injected, bytes);
  // The scan session, its last state line made to say otherwise than the rules.
  const differs = path.join(env('WORK'), 'differs.txt');
  const scan = fs.readFileSync(env('SCAN'), 'latin1');
  const last = scan.lastIndexOf('TWAIN Status = [');
  fs.writeFileSync(differs, scan.slice(0, last) + scan.slice(last).replace(/\[\d\]/, '[6]'), 'latin1');
  prepare('differs', differs);
  prepare('scan', env('SCAN'));
  prepare('error', env('ERROR'));
  prepare('injected', injected);
  prepare('big', env('BIG'));
  browser = await launch();
});

after(async () => {
  if (browser) await browser.close();
});

// ---- What the page shows, read in the page -----------------------------------------------------

// The state line's steps, [x0, x1, y] per call drawn, read from the path's own commands.
async function steps(page) {
  const d = await page.getAttribute('.check-line', 'd');
  const result = [];
  let x = 0, y = 0;
  for (const [, command, value] of d.matchAll(/([MHV])([-\d.]+(?: [-\d.]+)?)/g)) {
    const numbers = value.split(' ').map(Number);
    if (command === 'M') [x, y] = numbers;
    else if (command === 'V') y = numbers[0];
    else { result.push([x, numbers[0], y]); x = numbers[0]; }
  }
  return result;
}

// A point of the chart's own coordinates, on the screen.
async function onScreen(page, x, y) {
  return page.$eval('.timeline-svg', (svg, [x, y]) => {
    const box = svg.getBoundingClientRect(), scale = box.width / svg.viewBox.baseVal.width;
    return { x: box.left + x * scale, y: box.top + y * scale };
  }, [x, y]);
}

// The row of call i: drawn, inside the list's visible part, and selected.
async function rowInView(page, i) {
  return page.evaluate((i) => {
    const row = document.getElementById('call-' + i);
    if (!row) return 'not drawn';
    const box = row.getBoundingClientRect(), list = document.getElementById('calls').getBoundingClientRect();
    if (box.top < list.top - 1 || box.bottom > list.bottom + 1) return 'outside the list';
    if (box.top < 0 || box.bottom > window.innerHeight) return 'outside the window';
    return row.classList.contains('selected') ? 'shown' : 'not selected';
  }, i);
}

const drawnRows = (page) => page.$$eval('#calls .row', (rows) => rows.map((r) => Number(r.dataset.row)));

// The leaves of a block as `twainlog json` gives it: [key, value] for fields, [index, value] for items.
function leaves(node, out = []) {
  if (Array.isArray(node)) node.forEach((v, k) => (typeof v === 'object' ? leaves(v, out) : out.push([String(k), v])));
  else for (const [k, v] of Object.entries(node)) (typeof v === 'object' ? leaves(v, out) : out.push([k, v]));
  return out;
}

// ---- The tests ---------------------------------------------------------------------------------

test('the scan session: no console error, one step per call, a block unfolds into its fields', async () => {
  const s = sessions.scan;
  const page = await open(browser, s.page);
  assert.deepEqual(page.problems, []);
  assert.equal((await steps(page)).length, s.records.length);
  assert.equal(await page.textContent('#shown'), s.records.length + ' calls');

  // ICAP_PIXELTYPE's enumeration: every field and item of the block, with its value.
  const i = s.records.findIndex((r) => r.msg === 'MSG_GET' && r.cap === 'ICAP_PIXELTYPE');
  await page.click('#call-' + i);
  const fields = await page.$$eval('#call-' + i + ' + .tree .field', (items) => items.map((li) => {
    const key = li.querySelector(':scope > .key, :scope > .index');
    const value = li.querySelector(':scope > .value');
    return key && value ? [key.textContent, value.textContent] : null;
  }).filter(Boolean));
  const expected = leaves(s.records[i].block);
  assert.ok(expected.length >= 9);
  assert.deepEqual(fields, expected);
  assert.equal(await page.getAttribute('#call-' + i, 'aria-expanded'), 'true');

  // Dark when the system says so.
  const dark = await open(browser, s.page, { colorScheme: 'dark' });
  const background = await dark.$eval('body', (b) => getComputedStyle(b).backgroundColor);
  const [r, g, b] = background.match(/\d+/g).map(Number);
  assert.ok(r + g + b < 120, background);
  // Printed: every call in the page's flow (the last above the next section, not cut off), no controls.
  await page.emulateMedia({ media: 'print' });
  await page.waitForSelector('html[data-printing]', { state: 'attached' });
  assert.equal((await drawnRows(page)).length, s.records.length);
  const last = await page.$eval('#call-' + (s.records.length - 1), (row) => row.getBoundingClientRect().bottom);
  assert.ok(last <= await page.$eval('#caps', (table) => table.getBoundingClientRect().top), 'the last call is cut off');
  assert.equal(await page.$eval('.toolbar', (t) => getComputedStyle(t).display), 'none');
});

test('the error session: marks sit on the failed calls; "failures only" shows exactly them', async () => {
  const s = sessions.error;
  const page = await open(browser, s.page);
  assert.deepEqual(page.problems, []);
  const drawn = await steps(page);
  assert.equal(drawn.length, s.records.length);
  const marks = await page.$$eval('.mark.failure', (all) => all.map((m) => [Number(m.dataset.row), Number(m.getAttribute('cx')), Number(m.getAttribute('cy'))]));
  assert.deepEqual(marks.map((m) => m[0]), s.failed);
  assert.ok(s.failed.length >= 5);
  for (const [row, cx, cy] of marks) {
    const [x0, x1, y] = drawn[row];
    assert.ok(cx > x0 && cx < x1 && cy === y, 'mark of call ' + row + ' off its step');
  }
  const findingMarks = await page.$$eval('.mark.finding', (all) => all.map((m) => Number(m.dataset.row)));
  assert.deepEqual(findingMarks.sort((a, b) => a - b), s.withFindings);

  await page.check('#failures-only');
  assert.deepEqual(await drawnRows(page), s.failed);
  assert.equal(await page.textContent('#shown'), s.failed.length + ' of ' + s.records.length + ' calls');
  await page.uncheck('#failures-only');
  await page.check('#findings-only');
  assert.deepEqual(await drawnRows(page), s.withFindings);
  await page.uncheck('#findings-only');

  // The keys to the next and previous failure or finding.
  const marked = [...new Set([...s.failed, ...s.withFindings])].sort((a, b) => a - b);
  await page.focus('#calls');
  await page.keyboard.press('n');
  assert.equal(await rowInView(page, marked[0]), 'shown');
  await page.keyboard.press('n');
  assert.equal(await rowInView(page, marked[1]), 'shown');
  await page.keyboard.press('p');
  assert.equal(await rowInView(page, marked[0]), 'shown');

  // The filter: a capability, a condition code inside a block.
  await page.fill('#filter', 'icap_xresolution');
  await page.press('#filter', 'Enter');
  assert.deepEqual(await drawnRows(page), s.records.flatMap((r, i) => (JSON.stringify(r).includes('ICAP_XRESOLUTION') ? [i] : [])));
});

test('#seq-N and a click on the timeline bring call N into view', async () => {
  const s = sessions.scan;
  const last = s.records.length - 1;
  const byAddress = await open(browser, s.page, { hash: '#seq-' + s.records[last].seq, height: 700 });
  assert.equal(await rowInView(byAddress, last), 'shown');

  const page = await open(browser, s.page, { height: 700 });
  const target = s.records.findIndex((r) => r.rc === 'TWRC_XFERDONE');
  const [x0, x1, y] = (await steps(page))[target];
  const point = await onScreen(page, (x0 + x1) / 2, y);
  await page.mouse.move(point.x, point.y);
  assert.match(await page.textContent('#timeline-tip'), new RegExp('^\\[' + String(s.records[target].seq).padStart(5, '0') + '\\] DG_IMAGE/DAT_IMAGEMEMXFER'));
  await page.mouse.click(point.x, point.y);
  assert.equal(await rowInView(page, target), 'shown');
  assert.equal(new URL(page.url()).hash, '#seq-' + s.records[target].seq);
  assert.deepEqual(page.problems, []);
});

test('a field holding markup shows as text; bytes that are not UTF-8 show as `json` gives them', async () => {
  const s = sessions.injected;
  const page = await open(browser, s.page);
  assert.deepEqual(page.problems, []);
  assert.equal(await page.evaluate(() => window.injected), undefined);
  assert.equal(await page.evaluate(() => document.scripts.length), 4);
  await page.click('#call-0');
  const values = await page.$$eval('#call-0 + .tree .value', (all) => all.map((v) => v.textContent));
  const identity = s.records[0].block['pOrigin:TW_IDENTITY'];
  assert.equal(identity.ProductFamily, 'Caf\u00e9');
  assert.ok(values.includes('</script><script>window.injected = 1</script><b>bold</b>'));
  assert.ok(values.includes(identity.ProductFamily));
  assert.equal(await page.$$eval('.tree b', (all) => all.length), 0);
  await page.fill('#filter', 'window.injected');
  await page.press('#filter', 'Enter');
  assert.deepEqual(await drawnRows(page), [0]);
});

test('100,000 calls: usable within 3 seconds, rows built only in view, the page no larger than the transcript', async () => {
  const s = sessions.big;
  assert.equal(s.records.length, 100000);
  const page = await open(browser, s.page);
  assert.deepEqual(page.problems, []);
  const usable = Number(await page.evaluate(() => document.documentElement.dataset.usableMs));
  console.log('# time to usable: ' + usable + ' ms after navigation started (' + page.loadedMs + ' ms to the page drawn whole); ' +
    'page ' + fs.statSync(s.page).size + ' bytes, transcript ' + fs.statSync(s.transcript).size + ' bytes');
  assert.ok(usable < 3000, usable + ' ms');
  assert.ok(fs.statSync(s.page).size <= fs.statSync(s.transcript).size);
  assert.equal(await page.getAttribute('.check-line', 'data-steps'), '100000');
  assert.equal((await page.getAttribute('.check-line', 'd')).split('H').length - 1, 100000);
  assert.ok((await drawnRows(page)).length < 200);

  // Scrolled to the end, the last rows are built, and still only those in view.
  await page.$eval('#calls', (list) => { list.scrollTop = list.scrollHeight; });
  await page.waitForSelector('#call-99999');
  assert.ok((await drawnRows(page)).length < 200);

  const target = s.records.findIndex((r) => r.seq === 75000);
  await page.evaluate(() => { location.hash = '#seq-75000'; });
  await page.waitForFunction((i) => document.getElementById('call-' + i), target);
  assert.equal(await rowInView(page, target), 'shown');
  assert.deepEqual(page.problems, []);
});

test('the tables link to their calls; a drag zooms into the calls it spans; the monitor is drawn where it differs', async () => {
  const s = sessions.scan;
  const page = await open(browser, s.page, { height: 700 });
  assert.deepEqual(page.problems, []);
  const endXfer = s.records.findIndex((r) => r.msg === 'MSG_ENDXFER');
  const links = await page.$$eval('#transfers a.call-link', (all) => all.map((a) => Number(a.dataset.row)));
  assert.equal(links[0], s.records.findIndex((r) => r.dat === 'DAT_IMAGEINFO'));
  assert.equal(links[links.length - 1], endXfer);
  await page.click('#transfers a.call-link >> nth=-1');
  assert.equal(await rowInView(page, endXfer), 'shown');
  const set = s.records.findIndex((r) => r.msg === 'MSG_SET' && r.cap === 'ICAP_XFERMECH');
  await page.click('#caps a.call-link[data-row="' + set + '"]');
  assert.equal(await rowInView(page, set), 'shown');

  await page.$eval('.timeline-svg', (svg) => svg.scrollIntoView());
  const drawn = await steps(page);
  const from = await onScreen(page, (drawn[10][0] + drawn[10][1]) / 2, drawn[10][2]);
  const to = await onScreen(page, (drawn[20][0] + drawn[20][1]) / 2, drawn[20][2]);
  await page.mouse.move(from.x, from.y);
  await page.mouse.down();
  await page.mouse.move(to.x, to.y, { steps: 4 });
  await page.mouse.up();
  assert.equal(await page.getAttribute('.timeline-svg', 'data-from'), '10');
  assert.equal(await page.getAttribute('.timeline-svg', 'data-to'), '21');
  assert.equal((await steps(page)).length, 11);
  await page.click('#zoom-out');
  assert.equal((await steps(page)).length, s.records.length);

  // The monitor wrote 6 where the rules derive 2: its line covers the last call's step, at state 6.
  const differs = await open(browser, sessions.differs.page);
  const own = await steps(differs);
  const six = own[s.records.findIndex((r) => r.state === 6)][2];
  const [x0, x1] = own[own.length - 1];
  assert.equal(await differs.getAttribute('.monitor-line', 'd'), 'M' + x0 + ' ' + six + 'H' + x1);
});
