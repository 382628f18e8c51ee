// twainlog report: the page's script. It reads the data that the reader embedded (see
// Reader/Report.h for its form), and draws the figures, the state timeline, the calls (building
// only the rows in view), the capabilities and the transfers. Every text that comes from a
// transcript is set through textContent, never as markup.
(function () {
  'use strict';

  // ---- The data ---------------------------------------------------------------------------------

  // A row: one call record.
  const R_FILE = 0, R_LINE = 1, R_SEQ = 2, R_SOURCE = 3, R_TRIPLET = 4, R_CAP = 5, R_RC = 6,
    R_STATES = 7, R_MONITOR = 8, R_FLAGS = 9, R_DATA = 10, R_BLOCK = 11;
  const FAILED = 1, TRUNCATED = 2, INCOMPLETE = 4, EVENT = 8;
  // A finding: [row, severity, message, file, line].
  const SEVERITY = ['note', 'warning', 'error'];
  const STATE_NAMES = ['', 'Pre-session', 'Manager loaded', 'Manager open', 'Source open',
    'Source enabled', 'Transfer ready', 'Transferring'];
  const MECHANISMS = {
    DAT_IMAGENATIVEXFER: 'Native', DAT_IMAGEMEMXFER: 'Memory', DAT_IMAGEFILEXFER: 'File',
    DAT_IMAGEMEMFILEXFER: 'Memory file'
  };
  const DASH = '\u2013', TIMES = '\u00d7', ELLIPSIS = '\u2026', ARROW = '\u2192';

  function readData(id) { return JSON.parse(document.getElementById(id).textContent); }
  const strings = readData('twainlog-strings');
  const rows = readData('twainlog-rows');
  const session = readData('twainlog-session');
  const files = session.files;
  const n = rows.length;
  // A text is a number in the string table or the text itself.
  const text = (ref) => (typeof ref === 'number' ? strings[ref] : ref);

  function lowestState(set) {
    for (let s = 1; s <= 7; s++) if (set & (1 << s)) return s;
    return 0;
  }
  function statesText(set) {
    const states = [];
    for (let s = 1; s <= 7; s++) if (set & (1 << s)) states.push(s);
    if (states.length === 0) return '?';
    if (states.length > 2 && states[states.length - 1] - states[0] === states.length - 1) {
      return states[0] + DASH + states[states.length - 1];
    }
    return states.join(' or ');
  }

  // The state drawn for each call: the lowest it may be in (as a rule the only one).
  const shownState = new Int8Array(n);
  const uncertain = new Uint8Array(n);
  for (let i = 0; i < n; i++) {
    const set = rows[i][R_STATES];
    shownState[i] = lowestState(set);
    uncertain[i] = (set & (set - 1)) !== 0 ? 1 : 0;
  }
  // Findings by row, the most severe first; the rows with a failure or a finding, in order.
  const findingsAt = new Map();
  const severityAt = new Int8Array(n).fill(-1);
  session.findings.forEach((f) => {
    if (f[0] < 0) return;
    if (!findingsAt.has(f[0])) findingsAt.set(f[0], []);
    findingsAt.get(f[0]).push(f);
    severityAt[f[0]] = Math.max(severityAt[f[0]], f[1]);
  });
  findingsAt.forEach((list) => list.sort((a, b) => b[1] - a[1]));
  const marks = [];
  for (let i = 0; i < n; i++) if ((rows[i][R_FLAGS] & FAILED) || severityAt[i] >= 0) marks.push(i);

  // ---- Small helpers ----------------------------------------------------------------------------

  const $ = (id) => document.getElementById(id);
  function el(tag, className, content) {
    const e = document.createElement(tag);
    if (className) e.className = className;
    if (content !== undefined) e.textContent = content;
    return e;
  }
  const SVG_NS = 'http://www.w3.org/2000/svg';
  function svg(tag, attributes) {
    const e = document.createElementNS(SVG_NS, tag);
    for (const name in attributes) e.setAttribute(name, attributes[name]);
    return e;
  }
  const number = (v) => Number(v).toLocaleString('en-US');
  const plural = (k, one, many) => number(k) + ' ' + (k === 1 ? one : many);
  const seqText = (seq) => (seq < 0 ? '' : String(seq).padStart(5, '0'));
  const round = (v) => Math.round(v * 100) / 100;
  function lowerBound(array, value) {
    let lo = 0, hi = array.length;
    while (lo < hi) {
      const mid = (lo + hi) >>> 1;
      if (array[mid] < value) lo = mid + 1; else hi = mid;
    }
    return lo;
  }
  function callTitle(i) {
    const r = rows[i];
    let title = (r[R_SEQ] >= 0 ? '[' + seqText(r[R_SEQ]) + '] ' : '(window event) ') + text(r[R_TRIPLET]);
    const cap = text(r[R_CAP]);
    if (cap) title += ' (' + cap + ')';
    return title;
  }
  function stateLabel(i) {
    const set = rows[i][R_STATES];
    const s = shownState[i];
    return uncertain[i] ? 'state ' + statesText(set) : 'state ' + s + ' (' + STATE_NAMES[s] + ')';
  }
  // The page's address of a call: #seq-N (#fK-seq-N in the K-th file of several).
  function addressOf(i) {
    const r = rows[i];
    if (r[R_SEQ] < 0) return '';
    return '#' + (r[R_FILE] > 0 ? 'f' + (r[R_FILE] + 1) + '-' : '') + 'seq-' + r[R_SEQ];
  }
  function rowFromAddress(hash) {
    const m = /^#(?:f(\d+)-)?seq-(\d+)$/.exec(hash);
    if (!m) return -1;
    const file = m[1] ? Number(m[1]) - 1 : -1, seq = Number(m[2]);
    for (let i = 0; i < n; i++) {
      if (rows[i][R_SEQ] === seq && (file < 0 || rows[i][R_FILE] === file)) return i;
    }
    return -1;
  }
  // A link to a call; following it brings the call into view.
  function callLink(i, label) {
    const a = el('a', 'call-link', label);
    a.href = addressOf(i) || '#';
    a.dataset.row = String(i);
    return a;
  }

  // ---- Header and figures -----------------------------------------------------------------------

  function renderHeader() {
    const heading = files.length === 1 ? files[0].name : plural(files.length, 'file', 'files');
    $('heading').textContent = heading;
    document.title = 'twainlog report: ' + heading;
    const list = $('files');
    files.forEach((f, k) => {
      const item = el('li', 'file');
      if (files.length > 1) item.appendChild(el('span', 'file-number', String(k + 1)));
      item.appendChild(el('span', 'file-name', f.name));
      item.appendChild(el('span', 'muted', plural(f.lines, 'line', 'lines') + ', ' + plural(f.bytes, 'byte', 'bytes') +
        ', ' + plural(f.rows, 'call', 'calls')));
      if (f.readError) item.appendChild(el('span', 'bad', 'read stopped: ' + f.readError));
      list.appendChild(item);
    });
  }

  function renderFigures() {
    const f = session.figures;
    const list = $('figures');
    function figure(label, value, sub, tone, action, wide) {
      const box = el('div', 'figure' + (tone ? ' ' + tone : '') + (wide ? ' wide' : ''));
      box.appendChild(el('dt', '', label));
      const dd = el('dd');
      if (action) {
        const button = el('button', 'figure-value', value);
        button.type = 'button';
        button.title = action.title;
        button.addEventListener('click', action.run);
        dd.appendChild(button);
      } else {
        dd.appendChild(el('span', 'figure-value', value));
      }
      if (sub) dd.appendChild(typeof sub === 'string' ? el('span', 'figure-sub', sub) : sub);
      box.appendChild(dd);
      list.appendChild(box);
    }
    figure('Files', number(f.files));
    figure('Calls', number(f.calls));
    figure('Highest state', f.calls ? String(f.highest) : DASH, STATE_NAMES[f.highest]);
    figure('State at the end', f.calls ? String(f.end) : DASH, STATE_NAMES[f.end]);
    figure('Transfers', number(f.transfers), f.cancelled ? number(f.cancelled) + ' cancelled' : 'images done');
    figure('Failures', number(f.failures), f.failures ? 'calls that failed' : 'none', f.failures ? 'bad' : 'good',
      f.failures ? { title: 'Show the failed calls only', run: () => setSwitch('failures-only') } : null);
    const findings = f.errors + f.warnings + f.notes;
    const sub = el('span', 'figure-sub');
    [[f.errors, 'error', 'errors', 2], [f.warnings, 'warning', 'warnings', 1], [f.notes, 'note', 'notes', 0]]
      .forEach(([k, one, many, severity], index) => {
        if (index) sub.appendChild(document.createTextNode(' \u00b7 '));
        sub.appendChild(el('span', k ? 'sev-text sev-' + severity : '', plural(k, one, many)));
      });
    figure('Findings', number(findings), sub, f.errors ? 'bad' : f.warnings ? 'warn' : 'good',
      findings ? { title: 'Show the calls with findings only', run: () => setSwitch('findings-only') } : null, true);
  }

  // ---- The state timeline -----------------------------------------------------------------------

  const timeline = {
    host: $('timeline'), tip: $('timeline-tip'), svg: null, cursor: null, selection: null,
    width: 0, height: 250, left: 128, right: 18, top: 34, bottom: 30,
    from: 0, to: n,   // the calls drawn: all, or the stretch zoomed into
    focus: -1, drag: null
  };
  // The monitor's state at each call: its state line, or the last one before it in the file (a
  // failed call has none and changes nothing).
  const monitorAt = new Int16Array(n);
  for (let i = 0, last = -1; i < n; i++) {
    if (i && rows[i][R_FILE] !== rows[i - 1][R_FILE]) last = -1;
    if (rows[i][R_MONITOR] >= 0) last = rows[i][R_MONITOR];
    monitorAt[i] = last;
  }
  const plotWidth = () => timeline.width - timeline.left - timeline.right;
  const plotHeight = () => timeline.height - timeline.top - timeline.bottom;
  // Call i occupies [callX(i), callX(i + 1)) of the plot.
  const callX = (i) => timeline.left + (i - timeline.from) * plotWidth() / Math.max(1, timeline.to - timeline.from);
  const stateY = (s) => timeline.top + (7 - Math.min(7, Math.max(1, s))) * plotHeight() / 6;

  function drawTimeline() {
    const t = timeline, from = t.from, to = t.to;
    t.width = Math.max(480, Math.round(t.host.clientWidth));
    const root = svg('svg', {
      viewBox: '0 0 ' + t.width + ' ' + t.height, width: '100%', class: 'timeline-svg', tabindex: '0',
      role: 'slider', 'aria-label': 'TWAIN state against the calls; arrow keys choose a call, Enter shows it, + and - zoom',
      'aria-valuemin': n ? '1' : '0', 'aria-valuemax': String(n), 'aria-valuenow': '0',
      'data-from': String(from), 'data-to': String(to)
    });
    const left = t.left, right = t.left + plotWidth(), top = t.top, bottom = t.top + plotHeight();
    const step = (right - left) / Math.max(1, to - from);

    // States 1 to 7, and the calls along the bottom.
    const grid = svg('g', { class: 'grid' });
    for (let s = 1; s <= 7; s++) {
      const y = round(stateY(s));
      grid.appendChild(svg('line', { x1: left, x2: right, y1: y, y2: y }));
      const label = svg('text', { x: left - 10, y: y + 4, 'text-anchor': 'end', class: 'state-label' });
      label.appendChild(svg('tspan', { class: 'state-number' })).textContent = s + ' ';
      label.appendChild(svg('tspan', {})).textContent = STATE_NAMES[s];
      grid.appendChild(label);
    }
    const tickEvery = niceStep((to - from) / Math.max(1, (right - left) / 90));
    for (let c = Math.ceil((from + 1) / tickEvery) * tickEvery; c <= to; c += tickEvery) {
      const x = round(callX(c - 1) + step / 2);
      grid.appendChild(svg('line', { x1: x, x2: x, y1: bottom, y2: bottom + 4, class: 'tick' }));
      grid.appendChild(svg('text', { x: x, y: bottom + 17, 'text-anchor': 'middle' })).textContent = number(c);
    }
    grid.appendChild(svg('text', { x: left - 10, y: bottom + 17, 'text-anchor': 'end', class: 'axis-label' })).textContent = 'call';
    root.appendChild(grid);

    // Transfers, shaded; runs that overlap on screen are drawn as one.
    const bands = svg('g', { class: 'transfers' });
    let run = null;
    const flush = () => {
      if (run) bands.appendChild(svg('rect', { x: round(run[0]), y: top, width: round(Math.max(1, run[1] - run[0])), height: bottom - top }));
    };
    session.transfers.forEach((tr) => {
      if (tr[2] < from || tr[1] >= to) return;
      const x0 = callX(Math.max(from, tr[1])), x1 = callX(Math.min(to, tr[2] + 1));
      if (run && x0 <= run[1] + 1) run[1] = Math.max(run[1], x1); else { flush(); run = [x0, x1]; }
    });
    flush();
    root.appendChild(bands);

    // Where the rules cannot tell the state: the band of the states it may be.
    const unsure = svg('g', { class: 'uncertain' });
    for (let i = from; i < to;) {
      if (!uncertain[i]) { i++; continue; }
      const set = rows[i][R_STATES];
      let j = i + 1;
      while (j < to && rows[j][R_STATES] === set) j++;
      const high = stateY(31 - Math.clz32(set)), low = stateY(lowestState(set));
      unsure.appendChild(svg('rect', { x: round(callX(i)), y: round(high - 4), width: round(Math.max(1, callX(j) - callX(i))), height: round(low - high + 8) }));
      i = j;
    }
    root.appendChild(unsure);

    // The files, when there are several.
    if (files.length > 1) {
      const fileMarks = svg('g', { class: 'files' });
      files.forEach((f, k) => {
        const first = Math.max(from, f.firstRow), end = Math.min(to, f.firstRow + f.rows);
        if (first >= end) return;
        const x = round(callX(first));
        if (f.firstRow > from) fileMarks.appendChild(svg('line', { x1: x, x2: x, y1: top - 18, y2: bottom }));
        const width = callX(end) - x, room = Math.floor((width - 20) / 6.5);
        if (room > 3) {
          const name = f.name.length > room ? f.name.slice(0, room) + ELLIPSIS : f.name;
          fileMarks.appendChild(svg('text', { x: x + 4, y: top - 22 })).textContent = (k + 1) + ' ' + name;
        }
      });
      root.appendChild(fileMarks);
    }

    // The state line: one step per call. Then the monitor's own line where it says otherwise.
    let d = '';
    for (let i = from; i < to; i++) {
      const y = round(stateY(shownState[i]));
      if (i === from) d = 'M' + left + ' ' + y; else if (shownState[i] !== shownState[i - 1]) d += 'V' + y;
      d += 'H' + round(callX(i + 1));
    }
    root.appendChild(svg('path', { d: d, class: 'check-line', 'data-steps': String(to - from) }));
    let m = '', drawing = false;
    for (let i = from; i < to; i++) {
      if (monitorAt[i] >= 0 && monitorAt[i] !== shownState[i]) {
        const y = round(stateY(monitorAt[i]));
        if (!drawing) m += 'M' + round(callX(i)) + ' ' + y; else if (monitorAt[i] !== monitorAt[i - 1]) m += 'V' + y;
        m += 'H' + round(callX(i + 1));
        drawing = true;
      } else {
        drawing = false;
      }
    }
    if (m) root.appendChild(svg('path', { d: m, class: 'monitor-line' }));

    // Failed calls on the line, findings above the plot: one mark per pixel and place.
    const failures = svg('g', { class: 'failure-marks' });
    const findings = svg('g', { class: 'finding-marks' });
    const seen = new Set(), columns = new Map();
    const radius = Math.max(2.5, Math.min(4.5, step / 2));
    for (let k = lowerBound(marks, from); k < marks.length && marks[k] < to; k++) {
      const i = marks[k], x = callX(i) + step / 2;
      if (rows[i][R_FLAGS] & FAILED) {
        const key = Math.round(x) * 8 + shownState[i];
        if (!seen.has(key)) {
          seen.add(key);
          failures.appendChild(svg('circle', { cx: round(x), cy: round(stateY(shownState[i])), r: radius, class: 'mark failure', 'data-row': i }));
        }
      }
      if (severityAt[i] >= 0) {
        const column = Math.round(x);
        const kept = columns.get(column);
        if (kept === undefined || severityAt[kept] < severityAt[i]) columns.set(column, i);
      }
    }
    columns.forEach((i) => {
      const x = round(callX(i) + step / 2);
      findings.appendChild(svg('path', { d: 'M' + (x - 4) + ' ' + (top - 11) + 'h8l-4 7z', class: 'mark finding sev-' + severityAt[i], 'data-row': i }));
    });
    root.appendChild(failures);
    root.appendChild(findings);

    t.selection = svg('rect', { y: top - 14, height: bottom - top + 14, class: 'selection', visibility: 'hidden' });
    root.appendChild(t.selection);
    t.cursor = svg('line', { y1: top - 14, y2: bottom, class: 'cursor', visibility: 'hidden' });
    root.appendChild(t.cursor);
    if (t.svg) t.svg.remove();
    t.svg = root;
    t.host.insertBefore(root, t.tip);
    listenToTimeline(root);
    const zoomed = from > 0 || to < n;
    $('zoom-out').hidden = !zoomed;
    $('zoom-range').textContent = zoomed ? 'calls ' + number(from + 1) + DASH + number(to) + ' of ' + number(n) : '';
  }

  function niceStep(raw) {
    if (raw <= 1) return 1;
    const power = Math.pow(10, Math.floor(Math.log10(raw)));
    for (const k of [1, 2, 5, 10]) if (k * power >= raw) return k * power;
    return 10 * power;
  }

  // The stretch of calls drawn; at least a few, so that one call is never wider than the plot.
  function zoomTo(from, to) {
    const least = Math.min(n, 8);
    from = Math.max(0, Math.floor(from));
    to = Math.min(n, Math.ceil(to));
    if (to - from < least) {
      from = Math.max(0, Math.min(from, n - least));
      to = from + least;
    }
    timeline.from = from;
    timeline.to = to;
    // The chart is drawn anew: the call pointed at stays, if it is still drawn (the old chart's
    // removal may have blurred it).
    const focused = document.activeElement === timeline.svg, focus = timeline.focus;
    drawTimeline();
    if (focused) {
      timeline.focus = focus >= from && focus < to ? focus : -1;
      timeline.svg.focus();
    }
  }
  function zoomAround(i, factor) {
    const t = timeline, width = (t.to - t.from) * factor;
    const share = (i - t.from) / Math.max(1, t.to - t.from);
    zoomTo(i - width * share, i - width * share + width);
  }

  // The pointer's place in the plot, as a call (unclamped) and as x.
  function pointerAt(event) {
    const box = timeline.svg.getBoundingClientRect();
    const x = (event.clientX - box.left) * timeline.width / box.width;
    const t = timeline;
    return { x: x, call: t.from + Math.floor((x - t.left) / plotWidth() * (t.to - t.from)) };
  }
  function callAt(event) {
    const i = pointerAt(event).call;
    return i < timeline.from || i >= timeline.to ? -1 : i;
  }

  function pointTo(i, announce) {
    const t = timeline;
    t.focus = i;
    if (i < 0 || !n) {
      t.cursor.setAttribute('visibility', 'hidden');
      t.tip.hidden = true;
      return;
    }
    if (i < t.from || i >= t.to) {
      const width = t.to - t.from;
      zoomTo(i - width / 2, i - width / 2 + width);
    }
    const x = round(callX(i) + plotWidth() / (t.to - t.from) / 2);
    t.cursor.setAttribute('x1', x);
    t.cursor.setAttribute('x2', x);
    t.cursor.setAttribute('visibility', 'visible');
    t.svg.setAttribute('aria-valuenow', String(i + 1));
    const r = rows[i];
    const lines = [callTitle(i), (text(r[R_RC]) || 'no return code') + ' \u00b7 ' + stateLabel(i)];
    if (monitorAt[i] >= 0 && monitorAt[i] !== shownState[i]) lines.push('the monitor wrote state ' + monitorAt[i]);
    (findingsAt.get(i) || []).slice(0, 2).forEach((f) => lines.push(SEVERITY[f[1]] + ': ' + text(f[2])));
    const tip = t.tip;
    tip.textContent = '';
    lines.forEach((line, k) => tip.appendChild(el('div', k ? '' : 'tip-title', line)));
    tip.hidden = false;
    const scale = t.svg.getBoundingClientRect().width / t.width;
    tip.style.left = Math.min(Math.max(0, x * scale + 12), Math.max(0, t.host.clientWidth - tip.offsetWidth)) + 'px';
    tip.style.top = Math.round(stateY(shownState[i]) * scale + 14) + 'px';
    if (announce) t.svg.setAttribute('aria-valuetext', lines.join('; '));
  }

  // Pointing names a call, a click brings it into view, a drag across the plot zooms into the
  // calls it spans.
  function listenToTimeline(root) {
    const t = timeline;
    root.addEventListener('pointerdown', (e) => {
      if (e.button !== 0) return;
      t.drag = { x: pointerAt(e).x, call: pointerAt(e).call, moved: false };
      root.setPointerCapture(e.pointerId);
    });
    root.addEventListener('pointermove', (e) => {
      const at = pointerAt(e);
      if (t.drag && Math.abs(at.x - t.drag.x) > 4) {
        t.drag.moved = true;
        const x0 = Math.max(t.left, Math.min(at.x, t.drag.x)), x1 = Math.min(t.left + plotWidth(), Math.max(at.x, t.drag.x));
        t.selection.setAttribute('x', round(x0));
        t.selection.setAttribute('width', round(Math.max(0, x1 - x0)));
        t.selection.setAttribute('visibility', 'visible');
      }
      pointTo(callAt(e), false);
    });
    root.addEventListener('pointerup', (e) => {
      const drag = t.drag;
      t.drag = null;
      if (!drag) return;
      if (drag.moved) {
        const at = pointerAt(e).call;
        zoomTo(Math.min(at, drag.call), Math.max(at, drag.call) + 1);
        return;
      }
      const i = callAt(e);
      if (i >= 0) goToRow(i, { focus: false, address: true });
    });
    root.addEventListener('pointerleave', () => { if (document.activeElement !== root) pointTo(-1); });
    root.addEventListener('focus', () => {
      const selected = calls.selected >= t.from && calls.selected < t.to ? calls.selected : t.from;
      pointTo(t.focus >= 0 ? t.focus : selected, true);
    });
    root.addEventListener('blur', () => pointTo(-1));
    root.addEventListener('keydown', (e) => {
      const page = Math.max(1, Math.round((t.to - t.from) / 20));
      const moves = { ArrowLeft: -1, ArrowRight: 1, ArrowDown: -1, ArrowUp: 1, PageDown: -page, PageUp: page };
      let i = Math.max(0, t.focus);
      if (e.key in moves) i = Math.min(n - 1, Math.max(0, i + moves[e.key]));
      else if (e.key === 'Home') i = 0;
      else if (e.key === 'End') i = n - 1;
      else if (e.key === '+' || e.key === '=') { zoomAround(i, 0.5); pointTo(i, true); e.preventDefault(); return; }
      else if (e.key === '-') { zoomAround(i, 2); pointTo(i, true); e.preventDefault(); return; }
      else if (e.key === '0') { zoomTo(0, n); pointTo(i, true); e.preventDefault(); return; }
      else if (e.key === 'Enter') { if (t.focus >= 0) goToRow(t.focus, { focus: true, address: true }); e.preventDefault(); return; }
      else return;
      e.preventDefault();
      pointTo(i, true);
    });
  }

  // ---- The calls: a list that builds the rows in view only --------------------------------------

  const calls = {
    viewport: $('calls'), canvas: $('calls-canvas'),
    rowHeight: 28, headingHeight: 30,
    view: null,                 // the rows shown, in order
    all: null,
    expanded: new Map(),        // row -> height of its unfolded block
    headings: new Map(),        // position in view -> file, for the first row shown of each file
    extraAt: new Int32Array(0), // positions with extra height (a heading, an unfolded block), in order
    extraBefore: new Float64Array(1),
    total: 0, canvasHeight: 0,
    rendered: new Map(),        // row -> its element
    selected: -1, printing: false, frame: 0
  };
  // Browsers cap an element's height; past this the scroll position is scaled.
  const MAX_CANVAS = 8000000;
  const OVERSCAN = 400;

  function measureRows() {
    const probe = el('div', 'row');
    probe.appendChild(el('span', '', 'x'));
    calls.canvas.appendChild(probe);
    calls.rowHeight = probe.offsetHeight || 28;
    probe.className = 'file-heading';
    calls.headingHeight = probe.offsetHeight || calls.rowHeight;
    probe.remove();
  }

  function layoutCalls() {
    const view = calls.view, m = view.length;
    const extras = new Map();
    calls.headings = new Map();
    if (files.length > 1) {
      files.forEach((f, k) => {
        const j = lowerBound(view, f.firstRow);
        if (j < m && view[j] < f.firstRow + f.rows) {
          calls.headings.set(j, k);
          extras.set(j, calls.headingHeight);
        }
      });
    }
    calls.expanded.forEach((height, row) => {
      const j = lowerBound(view, row);
      if (j < m && view[j] === row) extras.set(j, (extras.get(j) || 0) + height);
    });
    const at = Array.from(extras.keys()).sort((a, b) => a - b);
    calls.extraAt = Int32Array.from(at);
    calls.extraBefore = new Float64Array(at.length + 1);
    at.forEach((j, k) => { calls.extraBefore[k + 1] = calls.extraBefore[k] + extras.get(j); });
    calls.total = m * calls.rowHeight + calls.extraBefore[at.length];
    calls.canvasHeight = Math.min(calls.total, MAX_CANVAS);
    calls.canvas.style.height = calls.canvasHeight + 'px';
  }

  // Where the block of the j-th row shown starts (its file heading, the row, its unfolded block).
  function blockTop(j) {
    return j * calls.rowHeight + calls.extraBefore[lowerBound(calls.extraAt, j)];
  }
  function blockAt(y) {
    let lo = 0, hi = calls.view.length - 1;
    while (lo < hi) {
      const mid = (lo + hi + 1) >>> 1;
      if (blockTop(mid) <= y) lo = mid; else hi = mid - 1;
    }
    return lo;
  }
  // The virtual position at the top of the viewport, and back.
  function virtualTop() {
    const v = calls.viewport, room = calls.canvasHeight - v.clientHeight;
    if (calls.total === calls.canvasHeight || room <= 0) return v.scrollTop;
    return v.scrollTop / room * (calls.total - v.clientHeight);
  }
  function scrollToVirtual(y) {
    const v = calls.viewport, room = calls.canvasHeight - v.clientHeight;
    y = Math.max(0, y);
    v.scrollTop = calls.total === calls.canvasHeight || room <= 0 ? y : y / (calls.total - v.clientHeight) * room;
  }

  function renderCalls() {
    calls.frame = 0;
    if (calls.printing) return;
    const view = calls.view, v = calls.viewport;
    const top = virtualTop(), offset = v.scrollTop - top;
    const next = new Map();
    let remeasure = false;
    if (view.length) {
      for (let j = blockAt(Math.max(0, top - OVERSCAN)); j < view.length && blockTop(j) < top + v.clientHeight + OVERSCAN; j++) {
        const row = view[j];
        let block = calls.rendered.get(row);
        const heading = calls.headings.has(j);
        if (!block || block.dataset.heading !== String(heading)) {
          if (block) block.remove();
          block = buildBlock(row, heading ? calls.headings.get(j) : -1);
        }
        block.style.transform = 'translateY(' + (blockTop(j) + offset) + 'px)';
        next.set(row, block);
        if (!block.parentNode) calls.canvas.appendChild(block);
        const tree = block.querySelector('.tree');
        if (tree && tree.offsetHeight !== calls.expanded.get(row)) {
          calls.expanded.set(row, tree.offsetHeight);
          remeasure = true;
        }
      }
    }
    calls.rendered.forEach((block, row) => { if (!next.has(row)) block.remove(); });
    calls.rendered = next;
    const empty = calls.canvas.querySelector('.empty');
    if (!view.length && !empty) calls.canvas.appendChild(el('div', 'empty', 'No call matches.'));
    if (view.length && empty) empty.remove();
    if (remeasure) {
      layoutCalls();
      renderCalls();
    }
  }
  function scheduleRender() {
    if (!calls.frame) calls.frame = requestAnimationFrame(renderCalls);
  }

  function buildBlock(i, file) {
    const r = rows[i], flags = r[R_FLAGS];
    const block = el('div', 'block');
    block.dataset.heading = String(file >= 0);
    if (file >= 0) {
      const f = files[file];
      const heading = el('div', 'file-heading');
      heading.appendChild(el('span', 'file-number', String(file + 1)));
      heading.appendChild(el('span', 'file-name', f.name));
      heading.appendChild(el('span', 'muted', plural(f.rows, 'call', 'calls')));
      block.appendChild(heading);
    }
    const row = el('div', 'row');
    row.id = 'call-' + i;
    row.setAttribute('role', 'option');
    row.dataset.row = String(i);
    row.setAttribute('aria-selected', String(i === calls.selected));
    row.setAttribute('aria-expanded', String(calls.expanded.has(i)));
    if (flags & FAILED) row.classList.add('failed');
    if (i === calls.selected) row.classList.add('selected');
    const found = findingsAt.get(i) || [];
    const marker = el('span', 'marker');
    if (flags & FAILED) marker.appendChild(el('span', 'dot failure', '')).title = 'failed';
    if (found.length) marker.appendChild(el('span', 'dot finding sev-' + found[0][1], '')).title = SEVERITY[found[0][1]];
    row.appendChild(marker);
    row.appendChild(el('span', 'seq', r[R_SEQ] >= 0 ? seqText(r[R_SEQ]) : 'event'));
    row.appendChild(el('span', 'source', text(r[R_SOURCE])));
    const triplet = el('span', 'triplet');
    const parts = text(r[R_TRIPLET]).split('/');
    parts.forEach((part, k) => {
      if (k) triplet.appendChild(el('span', 'slash', '/'));
      triplet.appendChild(el('span', k === 1 ? 'dat' : k === 0 ? 'dg' : 'msg', part));
    });
    triplet.title = text(r[R_TRIPLET]);
    row.appendChild(triplet);
    row.appendChild(el('span', 'cap', text(r[R_CAP])));
    const rc = text(r[R_RC]);
    row.appendChild(el('span', 'rc ' + rcTone(rc, flags), rc || (flags & INCOMPLETE ? 'incomplete' : '')));
    const state = el('span', 'state');
    state.appendChild(el('span', uncertain[i] ? 'unsure' : '', uncertain[i] ? statesText(r[R_STATES]) : String(shownState[i])));
    if (r[R_MONITOR] >= 0 && r[R_MONITOR] !== shownState[i]) {
      const other = el('span', 'monitor-state', 'log ' + r[R_MONITOR]);
      other.title = 'the monitor wrote state ' + r[R_MONITOR];
      state.appendChild(other);
    }
    row.appendChild(state);
    const note = el('span', 'finding');
    if (found.length) {
      note.appendChild(el('span', 'sev-text sev-' + found[0][1], text(found[0][2])));
      if (found.length > 1) note.appendChild(el('span', 'muted', ' +' + (found.length - 1)));
      note.title = found.map((f) => SEVERITY[f[1]] + ': ' + text(f[2])).join('\n');
    } else if (flags & TRUNCATED) {
      note.appendChild(el('span', 'muted', 'rendering cut short'));
    }
    row.appendChild(note);
    block.appendChild(row);
    if (calls.expanded.has(i)) block.appendChild(buildTree(i));
    return block;
  }

  function rcTone(rc, flags) {
    if (flags & FAILED) return 'bad';
    if (rc === 'TWRC_SUCCESS' || rc === 'TWRC_XFERDONE' || rc === 'TWRC_DSEVENT') return 'good';
    return rc ? 'other' : 'none';
  }

  // A call unfolded: its findings, where it stands, and its data block as a tree.
  function buildTree(i) {
    const r = rows[i];
    const tree = el('div', 'tree');
    (findingsAt.get(i) || []).forEach((f) => {
      const line = el('p', 'tree-finding');
      line.appendChild(el('span', 'badge sev-' + f[1], SEVERITY[f[1]]));
      line.appendChild(el('span', '', text(f[2])));
      tree.appendChild(line);
    });
    const facts = [files[r[R_FILE]].name + ':' + r[R_LINE], 'pData ' + (text(r[R_DATA]) || 'none'), stateLabel(i)];
    if (r[R_MONITOR] >= 0 && r[R_MONITOR] !== shownState[i]) facts.push('the monitor wrote state ' + r[R_MONITOR]);
    if (r[R_FLAGS] & TRUNCATED) facts.push('rendering cut short');
    if (r[R_FLAGS] & INCOMPLETE) facts.push('record incomplete');
    if (r[R_FLAGS] & EVENT) facts.push('window event');
    tree.appendChild(el('p', 'tree-facts', facts.join(' \u00b7 ')));
    const block = r[R_BLOCK];
    if (block.length) tree.appendChild(buildNode(block));
    else tree.appendChild(el('p', 'muted', 'No data block.'));
    return tree;
  }

  // One object ([key, value, ...]) or item list ([-1, item, ...]) of a block.
  function buildNode(node) {
    const list = el('ul', 'node');
    if (node[0] === -1) {
      list.classList.add('items');
      for (let k = 1; k < node.length; k++) {
        const item = el('li', 'field');
        item.appendChild(el('span', 'index', String(k - 1)));
        appendValue(item, node[k]);
        list.appendChild(item);
      }
      return list;
    }
    for (let k = 0; k + 1 < node.length; k += 2) {
      const item = el('li', 'field');
      const value = node[k + 1];
      if (Array.isArray(value)) {
        const fold = el('details');
        fold.open = true;
        fold.appendChild(el('summary', 'key', text(node[k])));
        fold.appendChild(buildNode(value));
        item.appendChild(fold);
      } else {
        item.appendChild(el('span', 'key', text(node[k])));
        item.appendChild(el('span', 'equals', '='));
        appendValue(item, value);
      }
      list.appendChild(item);
    }
    return list;
  }
  function appendValue(item, value) {
    if (Array.isArray(value)) item.appendChild(buildNode(value));
    else item.appendChild(el('span', 'value', text(value)));
  }

  function toggle(i, open) {
    if (open === undefined) open = !calls.expanded.has(i);
    if (open === calls.expanded.has(i)) return;
    if (open) calls.expanded.set(i, 0); else calls.expanded.delete(i);
    const block = calls.rendered.get(i);
    if (block) { block.remove(); calls.rendered.delete(i); }
    layoutCalls();
    renderCalls();
  }

  function select(i) {
    const old = calls.rendered.get(calls.selected);
    if (old) {
      const row = old.querySelector('.row');
      row.classList.remove('selected');
      row.setAttribute('aria-selected', 'false');
    }
    calls.selected = i;
    const now = calls.rendered.get(i);
    if (now) {
      const row = now.querySelector('.row');
      row.classList.add('selected');
      row.setAttribute('aria-selected', 'true');
    }
    if (i >= 0) calls.viewport.setAttribute('aria-activedescendant', 'call-' + i);
  }

  // Brings a row into view, selected; a row the filter hides brings every row back first.
  function goToRow(i, options) {
    options = options || {};
    let j = lowerBound(calls.view, i);
    if (j >= calls.view.length || calls.view[j] !== i) {
      $('filter').value = '';
      $('failures-only').checked = false;
      $('findings-only').checked = false;
      applyFilter(true);
      j = lowerBound(calls.view, i);
    }
    select(i);
    const v = calls.viewport, top = virtualTop();
    const y = blockTop(j) + (calls.headings.has(j) ? calls.headingHeight : 0);
    if (options.align === 'top') scrollToVirtual(y - calls.rowHeight);
    else if (y < top || y + calls.rowHeight > top + v.clientHeight) scrollToVirtual(y - (v.clientHeight - calls.rowHeight) / 2);
    renderCalls();
    if (options.focus) v.focus({ preventScroll: true });
    if (options.address && addressOf(i)) history.replaceState(null, '', addressOf(i));
    if (options.reveal !== false) {
      const box = v.getBoundingClientRect();
      if (box.top < 0 || box.bottom > window.innerHeight) v.closest('.card').scrollIntoView({ block: 'start' });
    }
    if (timeline.svg) pointTo(-1);
  }

  function move(delta) {
    const view = calls.view;
    if (!view.length) return;
    let j = calls.selected >= 0 ? lowerBound(view, calls.selected) : -1;
    if (j >= view.length || view[j] !== calls.selected) j = blockAt(virtualTop()) - (delta > 0 ? 1 : 0);
    j = Math.min(view.length - 1, Math.max(0, j + delta));
    goToRow(view[j], { reveal: false, address: true });
  }

  // The next or previous failure or finding among the rows shown.
  function nextMark(direction) {
    const from = calls.selected >= 0 ? calls.selected : direction > 0 ? -1 : n;
    let k = direction > 0 ? lowerBound(marks, from + 1) : lowerBound(marks, from) - 1;
    const shown = (row) => { const j = lowerBound(calls.view, row); return j < calls.view.length && calls.view[j] === row; };
    while (k >= 0 && k < marks.length && !shown(marks[k])) k += direction;
    if (k >= 0 && k < marks.length) goToRow(marks[k], { focus: true, address: true });
    else status(direction > 0 ? 'No failure or finding after this call.' : 'No failure or finding before this call.');
  }

  function status(message) {
    const shown = $('shown');
    shown.textContent = message;
    clearTimeout(status.timer);
    status.timer = setTimeout(showCount, 2500);
  }
  function showCount() {
    const m = calls.view.length;
    $('shown').textContent = m === n ? plural(n, 'call', 'calls') : number(m) + ' of ' + plural(n, 'call', 'calls');
  }

  // ---- The filter -------------------------------------------------------------------------------

  let lowered = null;
  function applyFilter(keepScroll) {
    const terms = $('filter').value.toLowerCase().split(/\s+/).filter(Boolean).slice(0, 30);
    const failuresOnly = $('failures-only').checked, findingsOnly = $('findings-only').checked;
    if (!terms.length && !failuresOnly && !findingsOnly) {
      calls.view = calls.all;
    } else {
      // Each text of the table is searched once; a row then matches by its texts' marks.
      if (terms.length && !lowered) lowered = strings.map((s) => s.toLowerCase());
      const want = (1 << terms.length) - 1;
      const tableMask = new Int32Array(strings.length);
      if (terms.length) {
        for (let s = 0; s < lowered.length; s++) {
          let mask = 0;
          for (let t = 0; t < terms.length; t++) if (lowered[s].includes(terms[t])) mask |= 1 << t;
          tableMask[s] = mask;
        }
      }
      const maskOf = (ref) => {
        if (typeof ref === 'number') return ref >= 0 ? tableMask[ref] : 0;
        let mask = 0;
        const lower = ref.toLowerCase();
        for (let t = 0; t < terms.length; t++) if (lower.includes(terms[t])) mask |= 1 << t;
        return mask;
      };
      const blockMask = (node, mask) => {
        for (let k = 0; k < node.length && mask !== want; k++) {
          mask |= Array.isArray(node[k]) ? blockMask(node[k], mask) : maskOf(node[k]);
        }
        return mask;
      };
      const matches = [];
      for (let i = 0; i < n; i++) {
        const r = rows[i];
        if (failuresOnly && !(r[R_FLAGS] & FAILED)) continue;
        if (findingsOnly && !findingsAt.has(i)) continue;
        if (terms.length) {
          let mask = maskOf(r[R_TRIPLET]) | maskOf(r[R_CAP]) | maskOf(r[R_RC]) | maskOf(r[R_SOURCE]) | maskOf(r[R_DATA]);
          (findingsAt.get(i) || []).forEach((f) => { mask |= maskOf(f[2]); });
          if (mask !== want) mask = blockMask(r[R_BLOCK], mask);
          if (mask !== want) continue;
        }
        matches.push(i);
      }
      calls.view = Int32Array.from(matches);
    }
    calls.rendered.forEach((block) => block.remove());
    calls.rendered = new Map();
    layoutCalls();
    if (!keepScroll) calls.viewport.scrollTop = 0;
    renderCalls();
    showCount();
  }

  function setSwitch(id) {
    $(id).checked = true;
    applyFilter();
    calls.viewport.closest('.card').scrollIntoView({ block: 'start' });
    calls.viewport.focus({ preventScroll: true });
  }

  // ---- Keys and pointer -------------------------------------------------------------------------

  function listenToCalls() {
    const v = calls.viewport;
    v.addEventListener('scroll', scheduleRender, { passive: true });
    v.addEventListener('click', (e) => {
      const link = e.target.closest('a.call-link');
      if (link) return;
      const row = e.target.closest('.row');
      if (!row) return;
      const i = Number(row.dataset.row);
      select(i);
      toggle(i);
      if (addressOf(i)) history.replaceState(null, '', addressOf(i));
    });
    // An unfolded block changes height when a part of it folds.
    v.addEventListener('toggle', scheduleRender, true);
    v.addEventListener('keydown', (e) => {
      const page = Math.max(1, Math.floor(v.clientHeight / calls.rowHeight) - 1);
      const moves = { ArrowDown: 1, ArrowUp: -1, PageDown: page, PageUp: -page, j: 1, k: -1 };
      if (e.key in moves && !e.altKey && !e.ctrlKey && !e.metaKey) move(moves[e.key]);
      else if (e.key === 'Home') goToRow(calls.view[0], { address: true, reveal: false });
      else if (e.key === 'End') goToRow(calls.view[calls.view.length - 1], { address: true, reveal: false });
      else if ((e.key === 'Enter' || e.key === ' ') && calls.selected >= 0) toggle(calls.selected);
      else if (e.key === 'ArrowRight' && calls.selected >= 0) toggle(calls.selected, true);
      else if (e.key === 'ArrowLeft' && calls.selected >= 0) toggle(calls.selected, false);
      else return;
      e.preventDefault();
    });
    let timer = 0;
    $('filter').addEventListener('input', () => { clearTimeout(timer); timer = setTimeout(() => applyFilter(), 150); });
    $('filter').addEventListener('keydown', (e) => {
      if (e.key === 'Escape') { e.target.value = ''; applyFilter(); v.focus(); }
      if (e.key === 'Enter') { clearTimeout(timer); applyFilter(); v.focus(); }
    });
    $('failures-only').addEventListener('change', () => applyFilter());
    $('findings-only').addEventListener('change', () => applyFilter());
    $('next-mark').addEventListener('click', () => nextMark(1));
    $('zoom-out').addEventListener('click', () => zoomTo(0, n));
    $('prev-mark').addEventListener('click', () => nextMark(-1));
    document.addEventListener('keydown', (e) => {
      const typing = e.target.closest && e.target.closest('input, textarea, select');
      if (typing || e.ctrlKey || e.metaKey || e.altKey) return;
      if (e.key === 'n') nextMark(1);
      else if (e.key === 'p' || e.key === 'N') nextMark(-1);
      else if (e.key === '/') $('filter').focus();
      else return;
      e.preventDefault();
    });
    // Links to calls (capabilities, transfers) bring the call into view.
    document.addEventListener('click', (e) => {
      const link = e.target.closest && e.target.closest('a.call-link');
      if (!link) return;
      e.preventDefault();
      goToRow(Number(link.dataset.row), { focus: true, address: true });
    });
    window.addEventListener('hashchange', followAddress);
  }

  function followAddress() {
    const i = rowFromAddress(location.hash);
    if (i >= 0) goToRow(i, { align: 'top', focus: true });
  }

  // ---- Capabilities and transfers ---------------------------------------------------------------

  // Fills a table's body with a row per item: the first ones at once, the rest on request.
  const FIRST_ROWS = 200;
  function fillTable(body, items, columns, build, none) {
    if (!items.length) {
      body.appendChild(el('tr')).appendChild(el('td', 'muted', none)).colSpan = columns;
      return;
    }
    const add = (from, to) => { for (let k = from; k < to; k++) body.appendChild(build(items[k], k)); };
    add(0, Math.min(items.length, FIRST_ROWS));
    if (items.length <= FIRST_ROWS) return;
    const more = body.appendChild(el('tr', 'more-row')).appendChild(el('td'));
    more.colSpan = columns;
    const button = more.appendChild(el('button', 'more', 'Show all ' + number(items.length) + ' rows'));
    button.type = 'button';
    button.addEventListener('click', () => {
      more.parentNode.remove();
      add(FIRST_ROWS, items.length);
    });
  }

  function renderCapabilities() {
    const body = $('caps').querySelector('tbody');
    const caps = session.capabilities;
    $('caps-count').textContent = caps.length ? plural(caps.length, 'capability', 'capabilities') : '';
    fillTable(body, caps, 3, (cap) => {
      const tr = el('tr');
      tr.appendChild(el('td', 'mono strong', text(cap.cap) || '(none named)'));
      tr.appendChild(entriesCell(cap.reported, false));
      tr.appendChild(entriesCell(cap.set, true));
      if (cap.more) tr.lastChild.appendChild(el('div', 'muted', '+ ' + plural(cap.more, 'other answer', 'other answers')));
      return tr;
    }, 'No capability was negotiated.');
    if (session.capabilityCallsNotListed) {
      $('caps-count').textContent += ' (' + plural(session.capabilityCallsNotListed, 'call', 'calls') + ' on further capabilities not listed)';
    }
  }

  // [msg, value, rc, condition, accepted, row, count]
  function entriesCell(entries, set) {
    const td = el('td');
    if (!entries.length) td.appendChild(el('span', 'muted', DASH));
    entries.forEach((e) => {
      const line = el('div', 'entry');
      const msg = text(e[0]).replace(/^MSG_/, '');
      line.appendChild(callLink(e[5], msg));
      const value = text(e[1]);
      if (value) line.appendChild(el('span', 'mono value', value));
      const rc = text(e[2]), condition = text(e[3]);
      if (set) {
        const answer = e[4] ? (rc === 'TWRC_CHECKSTATUS' ? 'accepted, changed' : 'accepted') : 'refused';
        line.appendChild(el('span', 'badge ' + (e[4] ? (rc === 'TWRC_CHECKSTATUS' ? 'warn' : 'good') : 'bad'), answer));
        if (!e[4] || rc === 'TWRC_CHECKSTATUS') line.appendChild(el('span', 'mono muted', condition || rc));
      } else if (rc !== 'TWRC_SUCCESS') {
        line.appendChild(el('span', 'badge ' + (rc === 'TWRC_FAILURE' ? 'bad' : 'warn'), rc || 'no return code'));
        if (condition) line.appendChild(el('span', 'mono muted', condition));
      }
      if (e[6] > 1) line.appendChild(el('span', 'count', TIMES + number(e[6])));
      td.appendChild(line);
    });
    return td;
  }

  // [file, first row, last row, mechanism, rc, width, length, bits per pixel, pixel type, bytes, [rows], calls]
  function renderTransfers() {
    const body = $('transfers').querySelector('tbody');
    const transfers = session.transfers;
    let count = transfers.length ? plural(transfers.length, 'transfer', 'transfers') : '';
    if (session.transfersNotListed) count += ' (' + number(session.transfersNotListed) + ' more not listed)';
    $('transfers-count').textContent = count;
    fillTable(body, transfers, 8, (t, k) => {
      const tr = el('tr');
      tr.appendChild(el('td', 'num', String(k + 1)));
      const width = text(t[5]), length = text(t[6]);
      tr.appendChild(el('td', 'mono', width || length ? (width || '?') + ' ' + TIMES + ' ' + (length || '?') : 'no image information'));
      tr.appendChild(el('td', 'mono num', text(t[7]) || DASH));
      tr.appendChild(el('td', 'mono', text(t[8]) || DASH));
      const mechanism = el('td');
      mechanism.appendChild(el('span', '', MECHANISMS[text(t[3])] || text(t[3])));
      mechanism.appendChild(el('span', 'mono muted', ' ' + text(t[3])));
      tr.appendChild(mechanism);
      tr.appendChild(el('td', 'mono num', t[9] >= 0 ? number(t[9]) : DASH));
      const rc = text(t[4]);
      tr.appendChild(el('td')).appendChild(el('span', 'badge ' + (rc === 'TWRC_XFERDONE' ? 'good' : rc === 'TWRC_CANCEL' ? 'warn' : 'bad'),
        rc === 'TWRC_XFERDONE' ? 'done' : rc === 'TWRC_CANCEL' ? 'cancelled' : rc || 'unfinished'));
      const links = el('td', 'links');
      t[10].forEach((row, index) => {
        if (index) links.appendChild(document.createTextNode(' '));
        links.appendChild(callLink(row, rows[row][R_SEQ] >= 0 ? seqText(rows[row][R_SEQ]) : 'event'));
      });
      if (t[11] > t[10].length) links.appendChild(el('span', 'muted', ' ' + ELLIPSIS + ' ' + plural(t[11], 'call', 'calls')));
      tr.appendChild(links);
      return tr;
    }, 'No image was transferred.');
  }

  function renderOtherFindings() {
    const other = session.findings.filter((f) => f[0] < 0);
    if (!other.length && !session.findingsNotListed) return;
    const list = $('other-list');
    other.forEach((f) => {
      const item = el('li');
      item.appendChild(el('span', 'mono', files[f[3]].name + ':' + f[4] + ': '));
      item.appendChild(el('span', 'sev-text sev-' + f[1], SEVERITY[f[1]] + ': '));
      item.appendChild(el('span', '', text(f[2])));
      list.appendChild(item);
    });
    if (session.findingsNotListed) list.appendChild(el('li', 'muted', plural(session.findingsNotListed, 'further finding', 'further findings') + ' not listed'));
    $('other-findings').hidden = false;
  }

  // ---- Print: the calls in the page's flow ------------------------------------------------------

  const PRINTED = 2000;
  function preparePrint(on) {
    if (on === calls.printing) return;
    calls.printing = on;
    document.documentElement.toggleAttribute('data-printing', on);
    calls.rendered.forEach((block) => block.remove());
    calls.rendered = new Map();
    calls.canvas.textContent = '';
    if (on) {
      calls.canvas.style.height = 'auto';
      const view = calls.view;
      for (let j = 0; j < Math.min(view.length, PRINTED); j++) {
        calls.canvas.appendChild(buildBlock(view[j], calls.headings.has(j) ? calls.headings.get(j) : -1));
      }
      if (view.length > PRINTED) calls.canvas.appendChild(el('p', 'muted', plural(view.length - PRINTED, 'further call', 'further calls') + ' not printed.'));
    } else {
      layoutCalls();
      renderCalls();
    }
  }

  // ---- Start ------------------------------------------------------------------------------------

  function start() {
    renderHeader();
    renderFigures();
    drawTimeline();
    measureRows();
    calls.all = new Int32Array(n);
    for (let i = 0; i < n; i++) calls.all[i] = i;
    calls.view = calls.all;
    layoutCalls();
    listenToCalls();
    renderCalls();
    showCount();
    const target = rowFromAddress(location.hash);
    if (target >= 0) goToRow(target, { align: 'top', focus: true });
    // Usable: the figures, the timeline and the first rows are there.
    performance.mark('twainlog-usable');
    document.documentElement.dataset.usableMs = String(Math.round(performance.now()));
    renderCapabilities();
    renderTransfers();
    renderOtherFindings();
    let width = timeline.width;
    new ResizeObserver(() => {
      if (Math.max(480, Math.round(timeline.host.clientWidth)) !== width) {
        drawTimeline();
        width = timeline.width;
      }
      scheduleRender();
    }).observe(timeline.host);
    window.addEventListener('beforeprint', () => preparePrint(true));
    window.addEventListener('afterprint', () => preparePrint(false));
    window.matchMedia('print').addEventListener('change', (e) => preparePrint(e.matches));
    document.documentElement.dataset.ready = 'true';
  }

  try {
    start();
  } catch (error) {
    const box = $('page-error');
    box.textContent = 'This report could not be drawn: ' + error.message;
    box.hidden = false;
    throw error;
  }
})();
