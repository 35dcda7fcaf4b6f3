#!/usr/bin/env node
// The report on a large drive, beside load's table of the same drive in the same run, and the page in headless
// Chromium: first paint of the summary and treemap, a filter keystroke and a sort, medians of several runs.
// Usage: node bench/report_bench.js [--entries N] [--runs N] [--drive DIR]
// (the browser part needs tests/report's packages: cd tests/report && npm ci)
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { spawnSync, execFileSync } = require('child_process');
const { launch, open } = require('../tests/report/browser');

const arg = (name, fallback) => { const i = process.argv.indexOf(name); return i > 0 ? process.argv[i + 1] : fallback; };
const entries = +arg('--entries', 300000), runs = +arg('--runs', 5);
const BUILD = process.env.TW_BUILD || path.join(__dirname, '../build/native');
const CLI = path.join(BUILD, 'src/cli/tarnwick-cli');
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'tw-report-bench-'));
const drive = arg('--drive', path.join(work, 'drive'));
const median = (xs) => { const s = xs.slice().sort((a, b) => a - b); return s[Math.floor(s.length / 2)]; };
const ms = (x) => x.toFixed(x < 10 ? 1 : 0) + ' ms';

function timed(args, stdoutFile) {
  const out = fs.openSync(stdoutFile, 'w');
  const t0 = process.hrtime.bigint();
  const r = spawnSync(CLI, args, { stdio: ['ignore', out, 'ignore'] });
  const t = Number(process.hrtime.bigint() - t0) / 1e6;
  fs.closeSync(out);
  if (r.status !== 0) throw new Error(args.join(' ') + ': exit ' + r.status);
  return t;
}

(async () => {
  if (!fs.existsSync(path.join(drive, 'OMFI MediaFiles'))) {
    console.log(`writing a drive of ${entries} files ...`);
    execFileSync(path.join(BUILD, 'tools/tarnwick-sample-drive'), [drive, '--entries', String(entries), '--payload', '0'], { stdio: 'ignore' });
  }
  const indexes = execFileSync(CLI, ['scan', drive], { encoding: 'utf8' }).split('\n').filter(Boolean);
  const tsv = path.join(work, 'load.tsv'), html = path.join(work, 'report.html');
  const loadTimes = [], reportTimes = [];
  // In turn, so that both see the same state of the machine and of the file system's caches.
  timed(['load', ...indexes], tsv);
  for (let i = 0; i < runs; i++) {
    loadTimes.push(timed(['load', ...indexes], tsv));
    reportTimes.push(timed(['report', '-o', '-', ...indexes], html));
  }
  const tsvBytes = fs.statSync(tsv).size, htmlBytes = fs.statSync(html).size;
  console.log(`files: ${entries}, databases: ${indexes.length}, runs: ${runs}`);
  console.log(`load (floor)       ${ms(median(loadTimes))}`);
  console.log(`report             ${ms(median(reportTimes))}   ratio ${(median(reportTimes) / median(loadTimes)).toFixed(2)} (at most 1.5)`);
  console.log(`load's TSV (floor) ${(tsvBytes / 1e6).toFixed(1)} MB`);
  console.log(`report's HTML      ${(htmlBytes / 1e6).toFixed(1)} MB   ratio ${(htmlBytes / tsvBytes).toFixed(2)} (at most 1.5)`);

  // The floors: the same page without its script, which the browser only reads and shows.
  const text = fs.readFileSync(html, 'utf8');
  const scriptStart = text.indexOf('<script>'), scriptEnd = text.indexOf('</script>', scriptStart) + 9;
  const floorHtml = path.join(work, 'floor.html');
  fs.writeFileSync(floorHtml, text.slice(0, scriptStart) + text.slice(scriptEnd));
  const browser = await launch();
  // The time of a mark or paint entry, once there is one.
  const mark = (p, name) => p.evaluate((n) => new Promise((done, fail) => {
    const t0 = Date.now();
    (function look() {
      const e = performance.getEntriesByName(n)[0];
      if (e) done(e.startTime); else if (Date.now() - t0 > 10000) fail(new Error('no ' + n)); else setTimeout(look, 20);
    })();
  }), name);
  const paints = [], floors = [], ready = [], floorsParsed = [], filters = [], sorts = [];
  for (let i = 0; i < runs; i++) {
    const floor = await open(browser, floorHtml);
    floors.push(await mark(floor.page, 'first-contentful-paint'));
    floorsParsed.push(await floor.page.evaluate(() => performance.getEntriesByType('navigation')[0].domInteractive));
    await floor.page.close();
    const { page, record } = await open(browser, html);
    paints.push(await mark(page, 'tw-summary-painted'));
    ready.push(await mark(page, 'tw-rows-ready'));
    if (record.errors.length) throw new Error(record.errors.join('\n'));
    const answer = (action) => page.evaluate((a) => new Promise((done) => {
      const t0 = performance.now();
      if (a.type === 'filter') {
        const input = document.getElementById('filter-text');
        input.value += a.key;
        input.dispatchEvent(new Event('input'));
      } else {
        [...document.querySelectorAll('#grid-head > div')].find((h) => h.textContent === a.column).click();
      }
      requestAnimationFrame(() => setTimeout(() => done(performance.now() - t0), 0));
    }), action);
    // Keystrokes that narrow the view, then one that widens it again.
    for (const key of ['i', 'n', 't']) filters.push(await answer({ type: 'filter', key }));
    await page.evaluate(() => { const i = document.getElementById('filter-text'); i.value = ''; i.dispatchEvent(new Event('input')); });
    for (const column of ['Size', 'Name', 'Project', 'Size', 'Creation Date']) sorts.push(await answer({ type: 'sort', column }));
    await page.close();
  }
  await browser.close();
  console.log(`first paint        ${ms(median(paints))} (summary and treemap on screen; at most 2,000 ms); first paint of the same data in a page without script ${ms(median(floors))}`);
  console.log(`files ready        ${ms(median(ready))} (rows read, tables filled); the page without script parsed ${ms(median(floorsParsed))}, ratio ${(median(ready) / median(floorsParsed)).toFixed(2)}`);
  console.log(`filter keystroke   ${ms(median(filters))} (at most 100 ms; slowest ${ms(Math.max(...filters))})`);
  console.log(`sort               ${ms(median(sorts))} (at most 300 ms; slowest ${ms(Math.max(...sorts))})`);
  fs.rmSync(work, { recursive: true, force: true });
})().catch((e) => { console.error(e); process.exit(1); });
