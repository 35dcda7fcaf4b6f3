// Starts the machine's Chromium headless, with nothing that reaches the network, in a fresh profile, and opens pages
// while recording every console message, page error and request.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const puppeteer = require('puppeteer-core');

const CHROMIUM = process.env.TW_CHROMIUM || ['/usr/bin/chromium', '/usr/bin/chromium-browser'].find((p) => fs.existsSync(p));

async function launch() {
  if (!CHROMIUM) throw new Error('no Chromium found: install the chromium package or set TW_CHROMIUM');
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'tw-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: CHROMIUM,
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
      '--disable-sync', '--no-first-run', '--user-data-dir=' + profile, '--window-size=1280,800'],
    defaultViewport: { width: 1280, height: 800 },
  });
  const close = browser.close.bind(browser);
  browser.close = async () => { await close(); fs.rmSync(profile, { recursive: true, force: true }); };
  return browser;
}

// Opens file in a new page; the returned record lists what the page logged and asked for.
async function open(browser, file, options = {}) {
  const page = await browser.newPage();
  const record = { console: [], errors: [], requests: [] };
  page.on('console', (m) => record.console.push({ type: m.type(), text: m.text() }));
  page.on('pageerror', (e) => record.errors.push(String(e)));
  page.on('dialog', (d) => { record.errors.push('dialog: ' + d.message()); d.dismiss(); });
  page.on('request', (r) => record.requests.push(r.url()));
  if (options.downloads) {
    const session = await page.createCDPSession();
    await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: options.downloads, eventsEnabled: true });
  }
  await page.goto('file://' + path.resolve(file), { waitUntil: 'load' });
  return { page, record };
}

module.exports = { launch, open };
