// The report page in headless Chromium: it loads offline with no error and no request, its treemap's areas follow the
// bytes, it zooms and goes back, sorts and filters, makes plans that the CLI runs, and shows hostile names as text.
'use strict';
const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { launch, open } = require('./browser');
const F = require('./fixtures');

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'tw-report-test-'));
let drives, browser, reportFile, hostileFile, indexes;

test.before(async () => {
  drives = F.makeDrives(path.join(work, 'drives'));
  reportFile = path.join(work, 'report.html');
  const r = F.cli(['report', '--bins', drives.bins, '-o', reportFile, drives.drive, drives.drive2]);
  assert.equal(r.status, 0, r.stderr);
  indexes = F.cli(['scan', drives.drive, drives.drive2]).stdout.split('\n').filter(Boolean);
  hostileFile = path.join(work, 'hostile.html');
  const h = F.cli(['report', '-o', hostileFile, drives.hostileIndex]);
  assert.equal(h.status, 0, h.stderr);
  browser = await launch();
});
test.after(async () => {
  if (browser) await browser.close();
  fs.rmSync(work, { recursive: true, force: true });
});

const report = (page, f, ...args) => page.evaluate(f, ...args);
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

test('the command: its path on stdout, the page on stdout with -o -, errors for what is not there', () => {
  const out = path.join(work, 'named.html');
  const r = F.cli(['report', '-o', out, indexes[0]]);
  assert.equal(r.status, 0, r.stderr);
  assert.equal(r.stdout.trim(), out);
  assert.match(r.stderr, /<OPENING FILE>[\s\S]*Files count:\t\d+/);
  const piped = F.cli(['report', '-o', '-', indexes[0]]);
  assert.equal(piped.status, 0);
  assert.match(piped.stdout, /^<!DOCTYPE html>[\s\S]*<\/html>\n$/);
  const cases = [
    { args: ['report', '-o', path.join(work, 'none1.html'), path.join(work, 'no-such-folder')], status: 2, message: /no-such-folder: no such file or folder/ },
    { args: ['report', '-o', path.join(work, 'none2.html'), path.join(work, 'nothing/msmFMID.pmr')], status: 2, message: /no such file or folder/ },
    { args: ['report', '--bins', path.join(work, 'no-bins'), '-o', path.join(work, 'none3.html'), indexes[0]], status: 2, message: /no such file or folder/ },
    { args: ['report', '--bins', fs.mkdtempSync(path.join(work, 'empty-')), '-o', path.join(work, 'none4.html'), indexes[0]], status: 2, message: /no bins in this folder/ },
    { args: ['report', '--frobnicate'], status: 1, message: /usage: tarnwick-cli report/ },
  ];
  for (const c of cases) {
    const e = F.cli(c.args);
    assert.equal(e.status, c.status, c.args.join(' '));
    assert.match(e.stderr, c.message);
    assert.ok(!fs.existsSync(c.args[c.args.indexOf('-o') + 1] || 'x'), 'no page is written: ' + c.args.join(' '));
  }
  // --missing keeps the index entries whose files are missing, as they are in the sample drive.
  const missingFiles = (args) => {
    const page = F.cli(['report', '-o', '-', ...args, drives.drive]).stdout;
    const start = page.indexOf('id="tw-summary">') + 16;
    return JSON.parse(page.slice(start, page.indexOf('</script>', start))).groups.reduce((n, g) => n + g[4], 0);
  };
  assert.equal(missingFiles([]), 0);
  assert.ok(missingFiles(['--missing']) > 0);
  // The bins end at a drive: a folder with a media folder in it.
  const both = F.cli(['report', '--bins', drives.bins, drives.drive, '-o', path.join(work, 'both.html')]);
  assert.equal(both.status, 0, both.stderr);
  assert.match(fs.readFileSync(path.join(work, 'both.html'), 'utf8'), /"binsGiven":true/);
  const help = F.cli(['report', '--help']);
  assert.equal(help.status, 0);
  assert.match(help.stdout, /usage: tarnwick-cli report/);
});

test('the page loads offline: no console message, no error, no request but its own file, a strict policy', async () => {
  const { page, record } = await open(browser, reportFile);
  await sleep(300);
  assert.deepEqual(record.errors, []);
  assert.deepEqual(record.console, []);
  assert.deepEqual(record.requests, ['file://' + reportFile]);
  const policy = await report(page, () => document.querySelector('meta[http-equiv="Content-Security-Policy"]').content);
  assert.match(policy, /^default-src 'none'; script-src 'sha256-[A-Za-z0-9+/=]+'; style-src 'sha256-/);
  // The script ran under that policy, and nothing in the page points outside it.
  assert.equal(await report(page, () => typeof window.twReport), 'object');
  assert.equal(await report(page, () => document.querySelectorAll('[src], link, iframe, object, embed').length), 0);
  const summary = await report(page, () => document.getElementById('summary').textContent);
  for (const index of indexes) assert.ok(summary.includes(index), index);
  assert.match(summary, /Duplicated across databases/);
  assert.match(summary, /Unused by the bins/);
  await page.close();
});

// Each block's share of the map's area against its share of the bytes of the blocks in view.
async function areaErrors(page) {
  return report(page, () => {
    const blocks = [...document.querySelectorAll('#treemap .blk')].map((b) => {
      const r = b.getBoundingClientRect();
      return { area: r.width * r.height, bytes: +b.dataset.bytes };
    });
    const area = blocks.reduce((s, b) => s + b.area, 0), bytes = blocks.reduce((s, b) => s + b.bytes, 0);
    return { count: blocks.length, worst: Math.max(...blocks.map((b) => Math.abs(b.area / area / (b.bytes / bytes) - 1))) };
  });
}

test('treemap: areas in proportion to bytes, zoom by click and key, back by breadcrumb and Backspace', async () => {
  const { page, record } = await open(browser, reportFile);
  const crumbs = () => report(page, () => [...document.querySelectorAll('#crumbs button')].map((b) => b.textContent));
  // The map opens on all drives, or on the one drive there is.
  const start = (await crumbs()).length;
  assert.equal((await crumbs())[0], 'All drives');
  let e = await areaErrors(page);
  assert.ok(e.count >= 2 && e.worst < 0.01, JSON.stringify(e));
  // Into the largest block, level by level (drive, media folder, project), down to the files.
  for (let depth = start + 1; depth <= 4; depth++) {
    const name = await report(page, () => document.querySelector('#treemap .blk').twNode.name);
    await page.click('#treemap .blk');
    const now = await crumbs();
    assert.equal(now.length, depth);
    assert.equal(now[depth - 1], name);
    e = await areaErrors(page);
    assert.ok(e.count >= 2 && e.worst < 0.01, JSON.stringify(e));
  }
  assert.equal(await report(page, () => document.querySelector('#treemap .blk').dataset.kind), 'file');
  // Hovering tells the name, the state and the size.
  const tip = await report(page, () => {
    const b = document.querySelector('#treemap .blk');
    return b.twNode.name;
  });
  await page.hover('#treemap .blk');
  assert.ok((await report(page, () => document.getElementById('tip').textContent)).startsWith(tip + '\n'));
  await page.focus('#treemap .blk');
  await page.keyboard.press('Backspace');
  assert.equal((await crumbs()).length, 3);
  await page.focus('#treemap .blk');
  await page.keyboard.press('Enter');
  assert.equal((await crumbs()).length, 4);
  await page.click('#crumbs button');
  assert.deepEqual(await crumbs(), ['All drives']);
  assert.deepEqual(record.errors, []);
  await page.close();
});

test('files table: sort by a column either way, filter by text, state, project, compression and type', async () => {
  const { page } = await open(browser, reportFile);
  const all = await report(page, () => window.twReport.rows);
  const viewCells = () => report(page, () => {
    const R = window.twReport;
    return R.viewRows(0, R.viewLength()).map((i) => R.rowCells(i));
  });
  const header = (title) => report(page, (t) => [...document.querySelectorAll('#grid-head > div')].find((h) => h.textContent === t).click(), title);
  await header('Size');
  let cells = await viewCells();
  assert.equal(cells.length, all);
  for (let k = 1; k < cells.length; k++) assert.ok(+cells[k - 1][3] >= +cells[k][3], 'sizes descending at ' + k);
  await header('Size');
  cells = await viewCells();
  for (let k = 1; k < cells.length; k++) assert.ok(+cells[k - 1][3] <= +cells[k][3], 'sizes ascending at ' + k);
  await header('Name');
  cells = await viewCells();
  for (let k = 1; k < cells.length; k++) assert.ok(cells[k - 1][1].toLowerCase() <= cells[k][1].toLowerCase(), 'names A to Z at ' + k);
  // The rows drawn are the first of the view, in its order.
  const drawn = await report(page, () => [...document.querySelectorAll('#grid-body .row:not([hidden])')]
    .sort((a, b) => a.offsetTop - b.offsetTop).slice(0, 5).map((r) => r.children[1].textContent));
  assert.deepEqual(drawn, cells.slice(0, 5).map((c) => c[1]));

  await page.type('#filter-text', 'PROMO');
  cells = await viewCells();
  const { rows } = F.loadRows(indexes);
  const expected = [...rows.values()].filter((c) => c.some((x) => x.toLowerCase().includes('promo')));
  assert.ok(cells.length > 0);
  assert.equal(cells.length, expected.length);
  // The files that duplicates and unused name are the ones the page marks so.
  const stateRows = (state) => report(page, (st) => {
    const R = window.twReport, bit = { duplicate: 16, unused: 4 }[st];
    const out = [];
    for (let i = 0; i < R.rows; i++) if (R.stateOf(i) & bit) { const c = R.rowCells(i); out.push(c[6] + '/' + c[1]); }
    return out.sort();
  }, state);
  const named = (args) => JSON.parse(F.cli(args).stdout).map((r) => r.Path + '/' + r.Name).sort();
  const duplicates = named(['duplicates', '--format', 'json', ...indexes]);
  assert.ok(duplicates.length > 0);
  assert.deepEqual(await stateRows('duplicate'), duplicates);
  const onDrive1 = indexes.filter((i) => i.startsWith(drives.drive + '/'));
  const unused = named(['unused', '--format', 'json', '--bins', drives.bins, '--', ...onDrive1]);
  assert.deepEqual((await stateRows('unused')).filter((p) => p.startsWith(drives.drive + '/')), unused);
  await page.click('#filter-text', { clickCount: 3 });
  await page.keyboard.press('Backspace');
  assert.equal(await report(page, () => window.twReport.viewLength()), all);

  const first = [...rows.values()].find((c) => c[0] !== '**UNREFERENCED FILES' && c[5]);
  const selectCases = [
    { select: '#filter-state', value: 'unreferenced', keep: (c) => c[0] === '**UNREFERENCED FILES' },
    { select: '#filter-project', label: first[0], keep: (c) => c[0] === first[0] },
    { select: '#filter-type', label: first[7], keep: (c) => c[7] === first[7] },
    { select: '#filter-compression', label: first[5], keep: (c) => c[5] === first[5] },
  ];
  for (const c of selectCases) {
    const value = c.value || (await report(page, (s, label) => {
      const options = [...document.querySelector(s).options];
      return options.find((o) => o.textContent === label).value;
    }, c.select, c.label));
    await page.select(c.select, value);
    cells = await viewCells();
    assert.ok(cells.length > 0 && cells.length < all, c.select);
    assert.ok(cells.every(c.keep), c.select);
    assert.equal(cells.length, [...rows.values()].filter(c.keep).length, c.select);
    await page.select(c.select, '');
  }
  await page.close();
});

async function download(page, dir) {
  fs.rmSync(dir, { recursive: true, force: true });
  fs.mkdirSync(dir, { recursive: true });
  await page.click('#download');
  for (let i = 0; i < 100; i++) {
    const done = fs.readdirSync(dir).filter((f) => !f.endsWith('.crdownload'));
    if (done.length) return path.join(dir, done[0]);
    await sleep(50);
  }
  throw new Error('no download');
}

// The rows of a dry run's table whose Action is delete, as full paths.
function dryRunDeletes(plan) {
  const r = F.cli(['delete', '--dry-run', '--format', 'json', plan]);
  assert.equal(r.status, 0, r.stderr);
  return JSON.parse(r.stdout).filter((row) => row.Action === 'delete').map((row) => row.Source);
}

test('plans: click, Shift+click, Ctrl+click and keys select rows; the plan is load\'s rows; delete --dry-run lists exactly them', async () => {
  const downloads = path.join(work, 'downloads');
  const { page, record } = await open(browser, reportFile, { downloads });
  const rowAt = (place) => `#grid-body .row[data-place="${place}"]`;
  await page.click(rowAt(1));
  await page.keyboard.down('Shift'); await page.click(rowAt(3)); await page.keyboard.up('Shift');
  await page.keyboard.down('Shift'); await page.keyboard.press('ArrowDown'); await page.keyboard.up('Shift');
  await page.keyboard.down('Control'); await page.click(rowAt(7)); await page.keyboard.up('Control');
  await page.keyboard.press('ArrowDown'); // a plain arrow moves the selection to the next row alone ...
  await page.keyboard.press('ArrowUp');
  assert.deepEqual(await report(page, () => window.twReport.selectedCount()), 1);
  await page.keyboard.press('ArrowUp'); // ... which Ctrl+click then adds rows to
  await page.keyboard.down('Control'); await page.click(rowAt(1)); await page.click(rowAt(2)); await page.click(rowAt(3)); await page.keyboard.up('Control');
  await page.keyboard.down('Control'); await page.keyboard.down('Shift'); await page.click(rowAt(9)); await page.keyboard.up('Shift'); await page.keyboard.up('Control');
  // Rows 1 to 3, then 6 (7 and up once, up again); Ctrl+Shift+click adds the range from the anchor (3) to 9.
  const chosen = await report(page, () => window.twReport.viewRows(0, 20));
  const selected = await report(page, () => [...document.querySelectorAll('#grid-body .row.sel')].map((r) => +r.dataset.place).sort((a, b) => a - b));
  assert.deepEqual(selected, [1, 2, 3, 4, 5, 6, 7, 8, 9]);
  const keys = await report(page, (rs) => rs.map((i) => { const c = window.twReport.rowCells(i); return [c[6], c[1]]; }),
    selected.map((p) => chosen[p]));
  const { columns, rows } = F.loadRows(indexes);
  const expected = [columns.join('\t')].concat(keys.map(([p, n]) => rows.get(p + '\u0000' + n).join('\t'))).join('\n') + '\n';
  const plan = await download(page, downloads);
  assert.equal(path.basename(plan), 'tarnwick-plan.tsv');
  assert.equal(fs.readFileSync(plan, 'utf8'), expected);
  assert.deepEqual(dryRunDeletes(plan), keys.map(([p, n]) => path.join(p, n)));
  const commands = await report(page, () => document.getElementById('commands').textContent);
  assert.match(commands, /tarnwick-cli delete --dry-run tarnwick-plan\.tsv/);

  // Ctrl+A takes the filtered rows only; a treemap block's Ctrl+click takes its files.
  await page.type('#filter-text', 'promo');
  await page.focus('#grid');
  await page.keyboard.down('Control'); await page.keyboard.press('a'); await page.keyboard.up('Control');
  const counts = await report(page, () => [window.twReport.selectedCount(), window.twReport.viewLength()]);
  assert.equal(counts[0], counts[1]);
  await page.click('#clear');
  await page.click('#treemap .blk'); // into the first drive
  const files = await report(page, () => document.querySelector('#treemap .blk').twNode.files);
  await page.keyboard.down('Control'); await page.click('#treemap .blk'); await page.keyboard.up('Control');
  assert.equal(await report(page, () => window.twReport.selectedCount()), files);
  assert.deepEqual(record.errors, []);
  // Downloads are made in the page: nothing but the page's own file and its blobs was asked for.
  assert.deepEqual(record.requests.filter((u) => !u.startsWith('blob:')), ['file://' + reportFile]);
  await page.close();
});

test('hostile names are shown as text, run nothing, and make plans the CLI takes', async () => {
  const html = fs.readFileSync(hostileFile, 'utf8');
  // The data cannot end its script element or open another.
  assert.equal((html.match(/<\/script/gi) || []).length, 3);
  assert.ok(!/<img|<b |<!--/i.test(html));
  assert.ok(!html.includes('\u2028') && !html.includes('\u2029'));
  const downloads = path.join(work, 'hostile-downloads');
  const { page, record } = await open(browser, hostileFile, { downloads });
  await sleep(300);
  assert.deepEqual(record.errors, []); // an alert would be a dialog
  assert.deepEqual(record.console, []);
  assert.equal(await report(page, () => document.querySelectorAll('img, [onerror], [onmouseover]').length), 0);
  assert.equal(await report(page, () => document.scripts.length), 3);
  assert.equal(await report(page, () => document.title), 'Tarnwick media report');
  const projectCells = await report(page, () => [...document.querySelectorAll('#projects td.name')].map((td) => td.textContent));
  assert.ok(projectCells.includes(F.HOSTILE_PROJECT), JSON.stringify(projectCells));
  // Every name, as load gives it, is in the table's cells as it is.
  const { rows } = F.loadRows([drives.hostileIndex]);
  const names = await report(page, () => { const R = window.twReport; return R.viewRows(0, R.viewLength()).map((i) => R.rowCells(i)); });
  assert.deepEqual(names.map((c) => c[1]).sort(), [...rows.values()].map((c) => c[1]).sort());
  for (const name of F.HOSTILE_INDEXED.concat(F.HOSTILE_LOOSE)) assert.ok(names.some((c) => c[1] === name), name);
  const drawn = await report(page, () => [...document.querySelectorAll('#grid-body .row:not([hidden])')].map((r) => r.children[1].textContent));
  assert.deepEqual(drawn.slice().sort(), names.map((c) => c[1]).sort());
  // The folder's path of more than 1,000 characters is shown whole.
  assert.ok(names[0][6].length > 1000);
  assert.ok((await report(page, () => document.getElementById('databases').textContent)).includes(drives.hostileIndex));
  // A plan of every row names a file with a backslash, which the CLI refuses whole before it touches anything.
  const selectAll = async () => {
    await page.focus('#grid');
    await page.keyboard.down('Control'); await page.keyboard.press('a'); await page.keyboard.up('Control');
  };
  await selectAll();
  const refused = F.cli(['delete', '--dry-run', await download(page, downloads)]);
  assert.equal(refused.status, 2);
  assert.match(refused.stderr, /is not one plain file name/);
  // A name with a tab cannot go into a tab-separated plan: the plan is comma-separated, and the CLI reads it.
  await page.click('#clear');
  await page.type('#filter-text', 'TAB');
  await selectAll();
  assert.equal(await report(page, () => window.twReport.selectedCount()), 1);
  const plan = await download(page, downloads);
  assert.equal(path.basename(plan), 'tarnwick-plan.csv');
  const tabbed = names.find((c) => c[1].includes('\t'));
  assert.deepEqual(dryRunDeletes(plan), [path.join(tabbed[6], tabbed[1])]);
  assert.deepEqual(record.errors, []);
  await page.close();
});
