// Drives for the report's tests: the sample drive, a copy of one of its databases on a second drive (so that files
// are in two places), and a database whose names are hostile to a web page.
'use strict';
const fs = require('fs');
const path = require('path');
const { execFileSync, spawnSync } = require('child_process');

const REPO = path.resolve(__dirname, '../..');
const BUILD = path.resolve(process.env.TW_BUILD || path.join(REPO, 'build/native'));
const CLI = process.env.TW_CLI || path.join(BUILD, 'src/cli/tarnwick-cli');
const SAMPLE_DRIVE = process.env.TW_SAMPLE_DRIVE || path.join(BUILD, 'tools/tarnwick-sample-drive');

function cli(args, options = {}) {
  const r = spawnSync(CLI, args, { encoding: 'utf8', maxBuffer: 1 << 30, env: { ...process.env, TZ: 'UTC' }, ...options });
  if (r.error) throw r.error;
  return r;
}

// An index as the media file index reader reads it: little-endian header (1961, identifiers of 2 words, 0), then
// per entry the 8-byte fileMobId, the file name and project name with 16-bit lengths, the 8-byte compUid and 4
// bytes more. Names are Windows-1252 bytes.
function writeIndex(file, entries) {
  const parts = [];
  const header = Buffer.alloc(12);
  header.writeUInt32LE(1961, 0);
  header.writeUInt32LE(2, 4);
  parts.push(header);
  for (const e of entries) {
    const id = Buffer.alloc(8);
    id.writeBigUInt64LE(e.fileMobId, 0);
    const name = Buffer.from(e.name, 'latin1');
    const project = Buffer.from(e.project, 'latin1');
    const len = (n) => { const b = Buffer.alloc(2); b.writeUInt16LE(n, 0); return b; };
    const uid = Buffer.alloc(8);
    uid.writeBigUInt64LE(e.compUid, 0);
    parts.push(id, len(name.length), name, len(project.length), project, uid, Buffer.alloc(4));
  }
  fs.writeFileSync(file, Buffer.concat(parts));
}

const HOSTILE_PROJECT = '</script><img src=x onerror=alert(1)>';
// Names of files the index names (printable Windows-1252, a media extension) ...
const HOSTILE_INDEXED = ['"quoted" & \'single\' <b onmouseover=alert(2)>x.omf', '<!-- comment --> &amp; \\u003c.wav'];
// ... and of files on the drive that no index names, which may hold any byte but "/" and NUL.
const HOSTILE_LOOSE = ['<img src=x onerror=alert(3)>.wav', 'rtl \u202egpj.exe\u202c.mxf', 'bell\u0007 and tab\there.aif',
  'line\u2028sep\u2029para.omf', 'x'.repeat(240) + '.omf'];

// Writes the drives below dir and answers their paths.
function makeDrives(dir, entries = 240) {
  fs.rmSync(dir, { recursive: true, force: true });
  fs.mkdirSync(dir, { recursive: true });
  const drive = path.join(dir, 'drive1');
  execFileSync(SAMPLE_DRIVE, [drive, '--entries', String(entries), '--seed', '7', '--payload', '4096']);
  // The second drive holds a copy of one database: its files are then in two places.
  const drive2 = path.join(dir, 'drive2');
  fs.mkdirSync(path.join(drive2, 'Avid MediaFiles/MXF'), { recursive: true });
  fs.cpSync(path.join(drive, 'Avid MediaFiles/MXF/2'), path.join(drive2, 'Avid MediaFiles/MXF/2'), { recursive: true });
  // A database with hostile names, deep enough that its folder's path passes 1,000 characters.
  let hostile = path.join(dir, 'hostile', 'OMFI MediaFiles');
  for (let i = 0; hostile.length < 1000; i++) hostile = path.join(hostile, String(i) + '-' + 'deep'.repeat(45));
  fs.mkdirSync(hostile, { recursive: true });
  writeIndex(path.join(hostile, 'msmFMID.pmr'), HOSTILE_INDEXED.map((name, i) => ({
    fileMobId: 0x1234000000000000n + BigInt(i), compUid: 0x77n + BigInt(i), name, project: HOSTILE_PROJECT })));
  for (const name of HOSTILE_INDEXED.concat(HOSTILE_LOOSE)) fs.writeFileSync(path.join(hostile, name), 'media ' + name);
  return { dir, drive, drive2, hostileIndex: path.join(hostile, 'msmFMID.pmr'), bins: path.join(drive, 'Avid Projects') };
}

// The rows of load's table for each index on its own, as load writes them tab-separated, keyed by the file's
// folder and name. Read through load's JSON, which carries names that hold tabs or line breaks whole.
function loadRows(indexes) {
  const rows = new Map();
  let columns = null;
  for (const index of indexes) {
    const r = cli(['load', '--format', 'json', index]);
    for (const object of JSON.parse(r.stdout)) {
      columns = Object.keys(object);
      const cells = columns.map((k) => (object[k] === null ? '' : String(object[k])));
      rows.set(object.Path + '\u0000' + object.Name, cells);
    }
  }
  return { columns, rows };
}

module.exports = { CLI, cli, makeDrives, loadRows, writeIndex, HOSTILE_PROJECT, HOSTILE_INDEXED, HOSTILE_LOOSE };
