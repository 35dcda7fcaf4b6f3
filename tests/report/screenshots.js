#!/usr/bin/env node
// Screenshots of the report page at 1280x800 for the README: the summary with the treemap, a project zoomed in, and
// the files table filtered with a selection. Usage: node tests/report/screenshots.js [OUT_DIR] (default docs/)
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { launch, open } = require('./browser');
const F = require('./fixtures');

(async () => {
  const out = path.resolve(process.argv[2] || path.join(__dirname, '../../docs'));
  fs.mkdirSync(out, { recursive: true });
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'tw-report-shots-'));
  const drives = F.makeDrives(path.join(work, 'drives'), 2400);
  const html = path.join(work, 'report.html');
  const r = F.cli(['report', '--bins', drives.bins, '-o', html, drives.drive, drives.drive2]);
  if (r.status !== 0) throw new Error(r.stderr);
  const browser = await launch();
  const { page, record } = await open(browser, html);
  await page.screenshot({ path: path.join(out, 'report-summary.png') });
  // Into the largest media folder, then its largest project.
  await page.click('#treemap .blk');
  await page.click('#treemap .blk');
  await page.evaluate(() => document.getElementById('map').scrollIntoView());
  await page.hover('#treemap .blk:nth-child(3)');
  await page.screenshot({ path: path.join(out, 'report-project.png') });
  await page.select('#filter-state', 'unused');
  await page.type('#filter-text', 'interview');
  await page.click('#grid-body .row[data-place="1"]');
  await page.keyboard.down('Shift'); await page.click('#grid-body .row[data-place="4"]'); await page.keyboard.up('Shift');
  await page.evaluate(() => document.getElementById('files-section').scrollIntoView());
  await page.screenshot({ path: path.join(out, 'report-files.png') });
  await browser.close();
  fs.rmSync(work, { recursive: true, force: true });
  if (record.errors.length) throw new Error(record.errors.join('\n'));
  console.log('screenshots in ' + out);
})().catch((e) => { console.error(e); process.exit(1); });
