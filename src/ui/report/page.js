// The report page. Every text from the data is put in the page as text (textContent), never as markup.
// The script runs twice over: first on the summary (the databases, drives and the totals of each project), which comes
// before it in the page, to draw the summary, the treemap and the projects; then, once the parser has read the rows
// that follow it, on every file, for the files table, the treemap's files and the plans.
'use strict';
(function () {
  const data = JSON.parse(document.getElementById('tw-summary').textContent);
  // The rows, once read: shared texts (T), columns (R), their number (N).
  let T = null, R = null, N = 0;
  const MISSING = 1, UNREFERENCED = 2, UNUSED = 4, USED = 8, DUPLICATE = 16;
  const $ = (id) => document.getElementById(id);

  function el(tag, cls, text) {
    const e = document.createElement(tag);
    if (cls) e.className = cls;
    if (text !== undefined && text !== null) e.textContent = String(text);
    return e;
  }
  // Byte counts as the program writes them: three significant digits, cut, not rounded ("1.17 MB").
  function bytes(n) {
    if (n < 1024) return n + ' bytes';
    const units = ['KB', 'MB', 'GB', 'TB', 'PB', 'EB'];
    let v = n / 1024, u = 0;
    while (v >= 1024 && u < units.length - 1) { v /= 1024; u++; }
    const cut = (x, d) => { const f = Math.pow(10, d); return (Math.floor(x * f) / f).toFixed(d); };
    return (v >= 100 ? cut(v, 0) : v >= 10 ? cut(v, 1) : cut(v, 2)) + ' ' + units[u];
  }
  const count = (n) => n.toLocaleString('en-US');
  const lower = (s) => s.toLowerCase();

  // The state a file is drawn in: the first that holds of missing, duplicate, unreferenced, unused, used.
  const STATES = [
    { key: 'missing', bit: MISSING, label: 'Missing (named by an index, not on the drive)' },
    { key: 'duplicate', bit: DUPLICATE, label: 'Duplicate (also in another place)' },
    { key: 'unreferenced', bit: UNREFERENCED, label: 'Unreferenced (named by no index)' },
    { key: 'unused', bit: UNUSED, label: 'Unused by the bins' },
    { key: 'used', bit: USED, label: 'Used by a bin' },
  ];
  function stateOf(flags) {
    for (const s of STATES) if (flags & s.bit) return s.key;
    return 'plain';
  }
  function stateText(flags) {
    const words = [];
    if (flags & MISSING) words.push('missing');
    if (flags & UNREFERENCED) words.push('unreferenced');
    if (flags & DUPLICATE) words.push('duplicate');
    if (flags & UNUSED) words.push('unused');
    if (flags & USED) words.push('used');
    return words.join(', ');
  }

  // ---- Summary
  $('made').textContent = 'Made ' + data.made + ' by ' + data.version;
  // A group: [database, project, files, bytes, files with each state bit, bytes with each state bit, bytes by the
  // state drawn]; the bits in the order missing, unreferenced, unused, used, duplicate.
  const BIT_PLACE = { 1: 0, 2: 1, 4: 2, 8: 3, 16: 4 };
  const DRAWN = ['missing', 'duplicate', 'unreferenced', 'unused', 'used', 'plain'];
  (function summary() {
    const totals = $('totals');
    const projects = new Set();
    const sum = { all: { files: 0, bytes: 0 } };
    for (const [k, bit] of [['missing', MISSING], ['unreferenced', UNREFERENCED], ['unused', UNUSED], ['used', USED], ['duplicate', DUPLICATE]]) {
      sum[k] = { files: 0, bytes: 0 };
      for (const g of data.groups) { sum[k].files += g[4 + BIT_PLACE[bit]]; sum[k].bytes += g[9 + BIT_PLACE[bit]]; }
    }
    for (const g of data.groups) { projects.add(g[1]); sum.all.files += g[2]; sum.all.bytes += g[3]; }
    const card = (title, files, b, colour, note) => {
      const c = el('div', 'card');
      if (colour) c.style.borderLeftColor = 'var(--' + colour + ')';
      c.append(el('small', null, title), el('b', null, bytes(b)), el('small', null, count(files) + ' files' + (note || '')));
      totals.append(c);
    };
    card('All media', sum.all.files, sum.all.bytes, 'plain', ', ' + count(projects.size) + ' projects');
    if (data.binsGiven) {
      card('Used by the bins', sum.used.files, sum.used.bytes, 'used');
      card('Unused by the bins', sum.unused.files, sum.unused.bytes, 'unused');
    }
    card('Unreferenced files', sum.unreferenced.files, sum.unreferenced.bytes, 'unreferenced');
    card('Duplicated across databases', sum.duplicate.files, sum.duplicate.bytes, 'duplicate');
    card('Missing', sum.missing.files, sum.missing.bytes, 'missing', data.missing ? '' : ' (not asked for)');

    const dbs = $('databases');
    const head = dbs.createTHead().insertRow();
    for (const h of ['Index', 'Drive', 'Files', 'Damaged']) head.append(el('th', h === 'Files' ? 'n' : null, h));
    const body = dbs.createTBody();
    for (const db of data.databases) {
      const tr = body.insertRow();
      tr.append(el('td', 'path', db[0]), el('td', null, db[5] >= 0 ? data.drives[db[5]][0] : ''),
        el('td', 'n', db[2] ? count(db[4]) : ''));
      const note = !db[2] ? 'cannot be opened' : db[3] ? 'damaged entries skipped (Bad data detected)' : 'no';
      tr.append(el('td', !db[2] || db[3] ? 'bad' : null, note));
    }
    if (!data.databases.length) body.insertRow().append(el('td', null, 'No media database was found.'));

    const drives = $('drives');
    const dh = drives.createTHead().insertRow();
    for (const h of ['Drive', 'Label', 'Type', 'Capacity', 'Used', 'Free']) dh.append(el('th', /^[CUF]/.test(h) && h !== 'Type' ? 'n' : null, h));
    const db = drives.createTBody();
    const shown = new Set(data.databases.map((d) => d[5]));
    data.drives.forEach((d, i) => {
      // Every drive that holds a database, and every other drive that answered.
      if (!shown.has(i) && !d[3]) return;
      const tr = db.insertRow();
      tr.append(el('td', 'path', d[0]), el('td', null, d[1]), el('td', null, d[2]));
      if (d[3]) tr.append(el('td', 'n', bytes(d[4])), el('td', 'n', bytes(d[5])), el('td', 'n', bytes(d[6])));
      else tr.append(el('td', null, 'Device Not ready'));
    });
    $('bins').textContent = data.binsGiven
      ? 'Bins read: ' + data.bins.length + (data.bins.length ? ' (' + data.bins.join(', ') + ')' : '')
      : 'No bins were given: files are not marked used or unused.';
  })();

  // ---- Selection, shared by the treemap and the files table
  let selected = new Uint8Array(0);
  let selectedCount = 0, selectedBytes = 0;
  function setSelected(i, on) {
    if (!!selected[i] === on) return;
    selected[i] = on ? 1 : 0;
    selectedCount += on ? 1 : -1;
    selectedBytes += on ? R.size[i] : -R.size[i];
  }
  function clearSelection() { selected.fill(0); selectedCount = 0; selectedBytes = 0; }

  // ---- Treemap: drive, media folder, project, file
  function node(name, kind, parent) {
    return { name, kind, parent, bytes: 0, files: 0, children: [], byName: new Map(), rows: null, stateBytes: {} };
  }
  const root = node('All drives', 'root', null);
  let projectNodes = null;
  (function build() {
    const folders = data.databases.map((db) => {
      const driveName = db[5] >= 0 ? data.drives[db[5]][0] : 'Other';
      let drive = root.byName.get(driveName);
      if (!drive) { drive = node(driveName, 'drive', root); root.byName.set(driveName, drive); root.children.push(drive); }
      const rootText = db[5] >= 0 ? data.drives[db[5]][0] : '';
      let name = db[1].startsWith(rootText) ? db[1].slice(rootText.length) : db[1];
      const folder = node(name || db[1], 'folder', drive);
      drive.children.push(folder);
      return folder;
    });
    for (const g of data.groups) {
      const folder = folders[g[0]];
      const project = node(g[1], 'project', folder);
      project.rows = [];
      folder.byName.set(g[1], project);
      folder.children.push(project);
      for (let n = project; n; n = n.parent) {
        n.bytes += g[3]; n.files += g[2];
        DRAWN.forEach((key, k) => { if (g[14 + k]) n.stateBytes[key] = (n.stateBytes[key] || 0) + g[14 + k]; });
      }
    }
    projectNodes = folders;
  })();
  // The rows of each project's block, once the rows are read.
  function fillProjects() {
    for (let i = 0; i < N; i++) projectNodes[R.database[i]].byName.get(T.project[R.project[i]]).rows.push(i);
  }
  function rowsOf(n, out) {
    if (n.rows) { for (const r of n.rows) out.push(r); return out; }
    if (n.kind === 'file') { out.push(n.row); return out; }
    if (n.kind === 'more') { for (const r of n.moreRows) out.push(r); return out; }
    for (const c of n.children) rowsOf(c, out);
    return out;
  }
  function mainState(n) {
    if (n.kind === 'file') return stateOf(R.state[n.row]);
    if (n.kind === 'more') return 'more';
    let best = 'plain', most = -1;
    for (const k in n.stateBytes) if (n.stateBytes[k] > most) { most = n.stateBytes[k]; best = k; }
    return best;
  }
  // The children a block is drawn with, largest first; past `limit` the smaller ones share one block.
  function childrenOf(n, limit) {
    let list;
    if (n.kind === 'project') {
      list = n.rows.map((r) => ({ name: R.name[r], kind: 'file', row: r, bytes: R.size[r], files: 1, parent: n }));
    } else {
      list = n.children.slice();
    }
    list.sort((a, b) => b.bytes - a.bytes);
    if (list.length > limit) {
      const rest = list.splice(limit - 1);
      const more = { name: count(rest.length) + ' smaller ' + (n.kind === 'project' ? 'files' : 'items'), kind: 'more', parent: n,
        bytes: 0, files: 0, moreRows: [] };
      for (const c of rest) { more.bytes += c.bytes; more.files += c.files; rowsOf(c, more.moreRows); }
      list.push(more);
    }
    return list.filter((c) => c.bytes > 0);
  }
  // Squarified layout: items (largest first) into the rectangle, each rectangle's area in proportion to its bytes.
  function squarify(items, x, y, w, h) {
    const out = [];
    const total = items.reduce((s, c) => s + c.bytes, 0);
    if (total <= 0 || w <= 0 || h <= 0) return out;
    const scale = (w * h) / total;
    let i = 0;
    while (i < items.length) {
      const side = Math.min(w, h);
      let row = [], rowArea = 0, worst = Infinity;
      while (i < items.length) {
        const a = items[i].bytes * scale;
        const nextArea = rowArea + a;
        const maxA = Math.max(a, row.length ? row[0].bytes * scale : a), minA = a;
        const ratio = Math.max((side * side * maxA) / (nextArea * nextArea), (nextArea * nextArea) / (side * side * minA));
        if (row.length && ratio > worst) break;
        row.push(items[i]); rowArea = nextArea; worst = ratio; i++;
      }
      const thick = rowArea / side;
      let at = 0;
      for (const c of row) {
        const len = (c.bytes * scale) / thick;
        if (w >= h) out.push({ item: c, x: x, y: y + at, w: thick, h: len });
        else out.push({ item: c, x: x + at, y: y, w: len, h: thick });
        at += len;
      }
      if (w >= h) { x += thick; w -= thick; } else { y += thick; h -= thick; }
    }
    return out;
  }
  let zoomed = root;
  const map = $('treemap'), tip = $('tip');
  function describe(n) {
    const what = n.kind === 'file' ? stateText(R.state[n.row]) || 'file' : count(n.files) + ' files';
    return n.name + '\n' + what + ', ' + bytes(n.bytes);
  }
  function showTip(n, x, y) {
    tip.textContent = describe(n);
    tip.hidden = false;
    const r = tip.getBoundingClientRect();
    tip.style.left = Math.max(0, Math.min(x + 12, innerWidth - r.width - 4)) + 'px';
    tip.style.top = Math.max(0, Math.min(y + 12, innerHeight - r.height - 4)) + 'px';
  }
  function selectBlock(n) {
    const rows = rowsOf(n, []);
    const all = rows.every((r) => selected[r]);
    for (const r of rows) setSelected(r, !all);
    drawMap(); refreshTable();
  }
  function zoom(n) {
    if (!n || n.kind === 'file' || n.kind === 'more') return;
    zoomed = n; tip.hidden = true; drawMap();
    const first = map.querySelector('.blk');
    if (first && map.contains(document.activeElement) === false && zoomFocus) first.focus();
  }
  let zoomFocus = false;
  function drawMap() {
    map.replaceChildren();
    const crumbs = $('crumbs');
    crumbs.replaceChildren();
    const path = [];
    for (let n = zoomed; n; n = n.parent) path.unshift(n);
    path.forEach((n, k) => {
      if (k) crumbs.append(el('span', null, '\u203a'));
      const b = el('button', null, n === root ? 'All drives' : n.name);
      b.type = 'button';
      if (n === zoomed) b.setAttribute('aria-current', 'location');
      b.addEventListener('click', () => zoom(n));
      crumbs.append(b);
    });
    const W = map.clientWidth, H = map.clientHeight;
    const items = childrenOf(zoomed, 1200);
    const frag = document.createDocumentFragment();
    for (const r of squarify(items, 0, 0, W, H)) {
      const c = r.item;
      const b = el('div', 'blk s-' + mainState(c));
      b.style.left = r.x + 'px'; b.style.top = r.y + 'px'; b.style.width = r.w + 'px'; b.style.height = r.h + 'px';
      b.tabIndex = 0;
      b.setAttribute('role', 'button');
      b.setAttribute('aria-label', describe(c).replace('\n', ': '));
      b.dataset.bytes = String(c.bytes);
      b.dataset.kind = c.kind;
      b.twNode = c;
      const rows = c.kind === 'file' ? [c.row] : null;
      if (rows && selected[c.row]) b.classList.add('picked');
      if (r.w > 40 && r.h > 16) b.append(el('span', 'lbl', c.name));
      // The block's own children, drawn inside it without labels, when there is room to see them.
      if (c.kind !== 'file' && c.kind !== 'more' && r.w * r.h > 2500) {
        for (const s of squarify(childrenOf(c, 150), 0, 0, r.w - 2, r.h - 2)) {
          const d = el('div', 'sub s-' + mainState(s.item));
          d.style.left = s.x + 'px'; d.style.top = s.y + 'px'; d.style.width = s.w + 'px'; d.style.height = s.h + 'px';
          b.append(d);
        }
      }
      frag.append(b);
    }
    map.append(frag);
  }
  map.addEventListener('click', (e) => {
    const b = e.target.closest('.blk');
    if (!b) return;
    if (e.ctrlKey || e.metaKey || b.twNode.kind === 'file' || b.twNode.kind === 'more') selectBlock(b.twNode);
    else { zoomFocus = false; zoom(b.twNode); }
  });
  map.addEventListener('keydown', (e) => {
    const b = e.target.closest('.blk');
    if (e.key === 'Backspace' || e.key === 'Escape') { if (zoomed.parent) { zoomFocus = true; zoom(zoomed.parent); } e.preventDefault(); return; }
    if (!b) return;
    if (e.key === 'Enter') { zoomFocus = true; zoom(b.twNode); e.preventDefault(); }
    else if (e.key === ' ') { selectBlock(b.twNode); e.preventDefault(); }
  });
  map.addEventListener('mousemove', (e) => {
    const b = e.target.closest('.blk');
    if (b) showTip(b.twNode, e.clientX, e.clientY); else tip.hidden = true;
  });
  map.addEventListener('mouseleave', () => { tip.hidden = true; });
  map.addEventListener('focusin', (e) => {
    const b = e.target.closest('.blk');
    if (b) { const r = b.getBoundingClientRect(); showTip(b.twNode, r.left + 4, r.top + 4); }
  });
  map.addEventListener('focusout', () => { tip.hidden = true; });
  $('select-view').addEventListener('click', () => selectBlock(zoomed));
  (function legend() {
    const l = $('legend');
    const keys = STATES.filter((s) => data.binsGiven || (s.key !== 'used' && s.key !== 'unused'));
    for (const s of keys) { const x = el('span', null, s.label); x.style.setProperty('--c', 'var(--' + s.key + ')'); l.append(x); }
    const p = el('span', null, data.binsGiven ? 'Other' : 'Indexed media (no bins given)'); p.style.setProperty('--c', 'var(--plain)'); l.append(p);
  })();

  // ---- Projects table
  const projectFilter = $('filter-project');
  (function projectsTable() {
    const by = new Map();
    for (const g of data.groups) {
      let e = by.get(g[1]);
      if (!e) { e = { name: g[1], files: 0, bytes: 0, unused: 0, missing: 0, duplicate: 0 }; by.set(g[1], e); }
      e.files += g[2]; e.bytes += g[3];
      e.unused += g[9 + BIT_PLACE[UNUSED]]; e.missing += g[4 + BIT_PLACE[MISSING]]; e.duplicate += g[4 + BIT_PLACE[DUPLICATE]];
    }
    const rows = [...by.values()];
    const cols = [['Project', 'name'], ['Files', 'files'], ['Bytes', 'bytes'], ['Unused bytes', 'unused'], ['Missing', 'missing'], ['Duplicates', 'duplicate']];
    const table = $('projects');
    const hr = table.createTHead().insertRow();
    const body = table.createTBody();
    let key = 'bytes', dir = -1;
    const collator = new Intl.Collator(undefined, { sensitivity: 'base' });
    function fill() {
      rows.sort((a, b) => (key === 'name' ? collator.compare(a.name, b.name) || (a.name < b.name ? -1 : 1) : a[key] - b[key]) * dir);
      body.replaceChildren();
      for (const r of rows) {
        const tr = body.insertRow();
        tr.append(el('td', 'name', r.name), el('td', 'n', count(r.files)), el('td', 'n', bytes(r.bytes)),
          el('td', 'n', data.binsGiven ? bytes(r.unused) : ''), el('td', 'n', count(r.missing)), el('td', 'n', count(r.duplicate)));
        tr.title = 'Show the files of this project';
        tr.addEventListener('click', () => {
          if (!R) return;
          projectFilter.value = String(T.project.indexOf(r.name));
          applyFilter();
          $('files-section').scrollIntoView();
        });
      }
      [...hr.children].forEach((th, k) => th.setAttribute('aria-sort', cols[k][1] === key ? (dir > 0 ? 'ascending' : 'descending') : 'none'));
    }
    cols.forEach(([title, k]) => {
      const th = el('th', k === 'name' ? null : 'n', title);
      th.tabIndex = 0;
      const sortBy = () => { if (key === k) dir = -dir; else { key = k; dir = k === 'name' ? 1 : -1; } fill(); };
      th.addEventListener('click', sortBy);
      th.addEventListener('keydown', (e) => { if (e.key === 'Enter' || e.key === ' ') { sortBy(); e.preventDefault(); } });
      hr.append(th);
    });
    fill();
  })();

  // ---- Files table: only the rows in view are drawn
  const COLUMNS = [
    { title: 'Project', text: (i) => T.project[R.project[i]], table: 'project', width: 170 },
    { title: 'Name', text: (i) => R.name[i], width: 220 },
    { title: 'Name in Bin', text: (i) => R.nameInBin[i], width: 200 },
    { title: 'Size', text: (i) => bytes(R.size[i]), num: true, width: 80 },
    { title: 'Comp UID', text: (i) => R.compUid[i], width: 140 },
    { title: 'Compression', text: (i) => T.compression[R.compression[i]], table: 'compression', width: 110 },
    { title: 'Path', text: (i) => T.path[R.path[i]], table: 'path', width: 300 },
    { title: 'Type', text: (i) => T.type[R.type[i]], table: 'type', width: 60 },
    { title: 'Creation Date', text: (i) => T.date[R.date[i]], table: 'date', key: dateKey, width: 140 },
    { title: 'Source', text: (i) => T.source[R.source[i]], table: 'source', width: 90 },
    { title: 'State', text: (i) => stateText(R.state[i]), width: 150 },
  ];
  const ROW = 22;
  const grid = $('grid'), gridHead = $('grid-head'), gridBody = $('grid-body');
  let order = new Uint32Array(0);
  let view = order;
  let sortColumn = -1, sortDir = 1;
  let cursor = -1, anchor = -1; // places in view

  // Ranks of the rows by a column (equal values, equal ranks), so that any sort is a sort of numbers. Made once per
  // column: when the page is idle after its first paint, or when first asked.
  const ranks = new Array(COLUMNS.length);
  function dateKey(t) { // DD.MM.YYYY/hh:mm:ss to YYYYMMDDhh:mm:ss
    return t.length >= 19 ? t.slice(6, 10) + t.slice(3, 5) + t.slice(0, 2) + t.slice(11) : t;
  }
  // Ranks of texts ignoring case, then by case: the texts tagged with their place and sorted by the engine's own
  // comparison, which is several times faster than a comparison function.
  function textRanks(texts, keyOf) {
    const n = texts.length, tagged = new Array(n);
    for (let i = 0; i < n; i++) tagged[i] = keyOf(texts[i]) + '\u0000' + texts[i] + '\u0000' + String.fromCharCode(i >>> 16, i & 65535);
    tagged.sort();
    const rank = new Uint32Array(n);
    let r = 0, last = null;
    for (let k = 0; k < n; k++) {
      const t = tagged[k], at = t.length - 2, i = (t.charCodeAt(at) << 16) | t.charCodeAt(at + 1);
      const value = t.slice(0, at);
      if (value !== last) { r = k; last = value; }
      rank[i] = r;
    }
    return rank;
  }
  // Ranks of numbers: each value's place among the distinct values.
  function numberRanks(values) {
    const sorted = Float64Array.from(values).sort();
    const rank = new Uint32Array(values.length);
    for (let i = 0; i < values.length; i++) {
      let lo = 0, hi = sorted.length - 1;
      const v = values[i];
      while (lo < hi) { const mid = (lo + hi) >> 1; if (sorted[mid] < v) lo = mid + 1; else hi = mid; }
      rank[i] = lo;
    }
    return rank;
  }
  function ranksOf(c) {
    if (ranks[c]) return ranks[c];
    const col = COLUMNS[c];
    let rank;
    if (col.table) {
      const t = textRanks(T[col.table], col.key || lower);
      const ids = R[col.table];
      rank = new Uint32Array(N);
      for (let i = 0; i < N; i++) rank[i] = t[ids[i]];
    } else if (col.title === 'Size') rank = numberRanks(R.size);
    else if (col.title === 'State') rank = numberRanks(Float64Array.from(R.state, (s) => STATES.findIndex((x) => s & x.bit) >>> 0));
    else if (col.title === 'Name') rank = textRanks(R.name, lower);
    else if (col.title === 'Name in Bin') rank = textRanks(R.nameInBin, lower);
    else rank = textRanks(R.compUid, lower);
    ranks[c] = rank;
    return rank;
  }
  function sortBy(c) {
    if (sortColumn === c) sortDir = -sortDir;
    else { sortColumn = c; sortDir = COLUMNS[c].num ? -1 : 1; }
    const rank = ranksOf(c);
    // rank and row in one number: the sort of a Float64Array runs natively; equal ranks keep the table's order.
    const keys = new Float64Array(N);
    const top = N; // ranks are below N
    for (let i = 0; i < N; i++) keys[i] = (sortDir > 0 ? rank[i] : top - rank[i]) * 4194304 + i;
    keys.sort();
    for (let i = 0; i < N; i++) order[i] = keys[i] % 4194304;
    drawHead();
    applyFilter();
  }
  function drawHead() {
    gridHead.replaceChildren();
    COLUMNS.forEach((col, c) => {
      const h = el('div', col.num ? 'n' : null, col.title);
      h.style.width = col.width + 'px';
      h.setAttribute('role', 'columnheader');
      h.setAttribute('aria-sort', c === sortColumn ? (sortDir > 0 ? 'ascending' : 'descending') : 'none');
      h.addEventListener('click', () => sortBy(c));
      gridHead.append(h);
    });
  }

  // Filters: the text is looked for, ignoring case, in every column; the shared texts are tested once each.
  const textInput = $('filter-text'), stateSelect = $('filter-state'), compressionSelect = $('filter-compression'), typeSelect = $('filter-type');
  function options(select, entries) {
    select.append(el('option', null, 'All'));
    select.firstChild.value = '';
    for (const [value, label] of entries) { const o = el('option', null, label); o.value = String(value); select.append(o); }
  }
  options(stateSelect, [['missing', 'Missing'], ['unreferenced', 'Unreferenced'], ['unused', 'Unused by the bins'], ['used', 'Used by a bin'],
    ['duplicate', 'Duplicate'], ['present', 'Not missing']].filter(([k]) => data.binsGiven || (k !== 'used' && k !== 'unused')));
  const sortedIds = (texts) => texts.map((t, k) => [k, t]).sort((a, b) => (lower(a[1]) < lower(b[1]) ? -1 : lower(a[1]) > lower(b[1]) ? 1 : 0));
  let lowNames = null, lowBinNames = null, lowUids = null;
  function lowerTexts() {
    if (!lowNames) { lowNames = R.name.map(lower); lowBinNames = R.nameInBin.map(lower); lowUids = R.compUid.map(lower); }
  }
  function applyFilter() {
    const text = lower(textInput.value.trim());
    const state = stateSelect.value, project = projectFilter.value, compression = compressionSelect.value, type = typeSelect.value;
    if (!text && !state && !project && !compression && !type) {
      view = order;
    } else {
      const want = { missing: MISSING, unreferenced: UNREFERENCED, unused: UNUSED, used: USED, duplicate: DUPLICATE }[state] || 0;
      const p = project === '' ? -1 : +project, cm = compression === '' ? -1 : +compression, ty = type === '' ? -1 : +type;
      let tableHit = null;
      if (text) {
        lowerTexts();
        const hits = (name) => T[name].map((t) => lower(t).includes(text));
        tableHit = { project: hits('project'), path: hits('path'), compression: hits('compression'), type: hits('type'), source: hits('source'),
          date: hits('date') };
      }
      const out = new Uint32Array(N);
      let n = 0;
      for (let k = 0; k < N; k++) {
        const i = order[k];
        if (p >= 0 && R.project[i] !== p) continue;
        if (cm >= 0 && R.compression[i] !== cm) continue;
        if (ty >= 0 && R.type[i] !== ty) continue;
        if (state === 'present' ? R.state[i] & MISSING : want && !(R.state[i] & want)) continue;
        if (tableHit && !(tableHit.project[R.project[i]] || tableHit.path[R.path[i]] || lowNames[i].includes(text) ||
            lowBinNames[i].includes(text) || lowUids[i].includes(text) || tableHit.compression[R.compression[i]] ||
            tableHit.type[R.type[i]] || tableHit.source[R.source[i]] || tableHit.date[R.date[i]])) continue;
        out[n++] = i;
      }
      view = out.subarray(0, n);
    }
    cursor = Math.min(cursor, view.length - 1); anchor = Math.min(anchor, view.length - 1);
    gridBody.style.height = view.length * ROW + 'px';
    refreshTable();
  }
  for (const s of [stateSelect, projectFilter, compressionSelect, typeSelect]) s.addEventListener('change', applyFilter);
  textInput.addEventListener('input', applyFilter);

  const pool = [];
  let totalWidth = COLUMNS.reduce((s, c) => s + c.width, 0);
  function drawRows() {
    const top = Math.max(0, grid.scrollTop - ROW), first = Math.floor(top / ROW);
    const rowsInView = Math.ceil(grid.clientHeight / ROW) + 3;
    while (pool.length < rowsInView) {
      const r = el('div', 'row');
      r.setAttribute('role', 'row');
      for (const col of COLUMNS) { const c = el('div', col.num ? 'n' : null); c.style.width = col.width + 'px'; c.setAttribute('role', 'gridcell'); r.append(c); }
      r.style.width = totalWidth + 'px';
      gridBody.append(r);
      pool.push(r);
    }
    for (let k = 0; k < pool.length; k++) {
      const r = pool[k], at = first + k;
      if (at >= view.length) { r.hidden = true; continue; }
      r.hidden = false;
      const i = view[at];
      r.style.top = at * ROW + 'px';
      r.dataset.place = String(at);
      r.dataset.row = String(i);
      r.classList.toggle('sel', !!selected[i]);
      r.classList.toggle('cur', at === cursor);
      r.setAttribute('aria-selected', selected[i] ? 'true' : 'false');
      const cells = r.children;
      for (let c = 0; c < COLUMNS.length; c++) {
        const t = COLUMNS[c].text(i);
        if (c === COLUMNS.length - 1) {
          cells[c].replaceChildren();
          const s = stateOf(R.state[i]);
          const dot = el('span', 'dot s-' + s);
          cells[c].append(dot, document.createTextNode(t));
        } else if (cells[c].textContent !== t) cells[c].textContent = t;
        cells[c].title = t;
      }
    }
  }
  function refreshTable() {
    drawRows();
    $('status').textContent = count(view.length) + ' of ' + count(N) + ' files shown; ' + count(selectedCount) + ' selected (' + bytes(selectedBytes) + ')';
    $('download').disabled = selectedCount === 0;
    writeCommands();
  }
  grid.addEventListener('scroll', drawRows, { passive: true });
  addEventListener('resize', () => { drawRows(); drawMap(); });

  function selectRange(a, b, add) {
    if (!add) clearSelection();
    const lo = Math.min(a, b), hi = Math.max(a, b);
    for (let k = lo; k <= hi; k++) setSelected(view[k], true);
  }
  function moveCursor(to, e) {
    if (!view.length) return;
    to = Math.max(0, Math.min(view.length - 1, to));
    if (e.shiftKey) { if (anchor < 0) anchor = Math.max(cursor, 0); selectRange(anchor, to, e.ctrlKey || e.metaKey); }
    else if (!(e.ctrlKey || e.metaKey)) { clearSelection(); setSelected(view[to], true); anchor = to; }
    cursor = to;
    const y = to * ROW, head = gridHead.offsetHeight;
    if (y < grid.scrollTop) grid.scrollTop = y;
    else if (y + ROW > grid.scrollTop + grid.clientHeight - head) grid.scrollTop = y + ROW - grid.clientHeight + head;
    refreshTable(); drawMap();
  }
  gridBody.addEventListener('mousedown', (e) => {
    const r = e.target.closest('.row');
    if (!r) return;
    const at = +r.dataset.place;
    grid.focus();
    e.preventDefault();
    if (e.shiftKey) { selectRange(anchor < 0 ? at : anchor, at, e.ctrlKey || e.metaKey); }
    else if (e.ctrlKey || e.metaKey) { setSelected(view[at], !selected[view[at]]); anchor = at; }
    else { clearSelection(); setSelected(view[at], true); anchor = at; }
    cursor = at;
    refreshTable(); drawMap();
  });
  grid.addEventListener('keydown', (e) => {
    const page = Math.max(1, Math.floor(grid.clientHeight / ROW) - 2);
    const keys = { ArrowDown: cursor + 1, ArrowUp: cursor - 1, PageDown: cursor + page, PageUp: cursor - page, Home: 0, End: view.length - 1 };
    if (e.key in keys) { moveCursor(keys[e.key], e); e.preventDefault(); }
    else if ((e.ctrlKey || e.metaKey) && e.key.toLowerCase() === 'a') {
      // Exactly the rows the filters show: a plan holds nothing that is not in view.
      clearSelection();
      for (let k = 0; k < view.length; k++) setSelected(view[k], true);
      refreshTable(); drawMap(); e.preventDefault();
    } else if (e.key === ' ' && cursor >= 0) {
      setSelected(view[cursor], !selected[view[cursor]]); anchor = cursor; refreshTable(); drawMap(); e.preventDefault();
    } else if (e.key === 'Escape') { clearSelection(); refreshTable(); drawMap(); }
  });

  // ---- Plans: the selected rows in the load table's format and order
  const TSV_COLUMNS = [
    (i) => T.project[R.project[i]], (i) => R.name[i], (i) => R.nameInBin[i], (i) => String(R.size[i]), (i) => R.compUid[i],
    (i) => T.compression[R.compression[i]], (i) => T.path[R.path[i]], (i) => T.type[R.type[i]], (i) => T.date[R.date[i]], (i) => T.source[R.source[i]],
  ];
  // Tab-separated as load writes it; when a cell holds a tab or a line break, which that cannot carry,
  // comma-separated as load --format csv writes it.
  function planText() {
    const rows = [];
    for (let i = 0; i < N; i++) if (selected[i]) rows.push(TSV_COLUMNS.map((f) => f(i)));
    const awkward = rows.some((cells) => cells.some((c) => /[\t\r\n]/.test(c)));
    if (!awkward) return { csv: false, text: [data.columns.join('\t')].concat(rows.map((c) => c.join('\t'))).join('\n') + '\n' };
    const cell = (c) => (/[",\r\n]/.test(c) ? '"' + c.replace(/"/g, '""') + '"' : c);
    return { csv: true, text: [data.columns].concat(rows).map((cells) => cells.map(cell).join(',')).join('\r\n') + '\r\n' };
  }
  const planName = $('plan-name');
  function quoted(name) { return /^[A-Za-z0-9._\/-]+$/.test(name) ? name : "'" + name.replace(/'/g, "'\\''") + "'"; }
  function writeCommands() {
    const f = quoted(planName.value || 'tarnwick-plan.tsv');
    $('commands').textContent = selectedCount === 0
      ? 'Select files in the treemap or the files table, then download the plan.'
      : '# ' + count(selectedCount) + ' files, ' + bytes(selectedBytes) + '. Dry-run first; each command checks every file again.\n' +
        'tarnwick-cli delete --dry-run ' + f + '\ntarnwick-cli delete ' + f + '\n\n' +
        'tarnwick-cli copy --to TARGET --dry-run ' + f + '\ntarnwick-cli copy --to TARGET ' + f + '\n\n' +
        'tarnwick-cli move --to TARGET --dry-run ' + f + '\ntarnwick-cli move --to TARGET ' + f + '\n\n' +
        'tarnwick-cli store --to TARGET --by-project --dry-run ' + f + '\ntarnwick-cli store --to TARGET --by-project ' + f;
  }
  planName.addEventListener('input', writeCommands);
  $('download').addEventListener('click', () => {
    const plan = planText();
    let name = planName.value.trim() || 'tarnwick-plan.tsv';
    if (plan.csv && /\.tsv$/i.test(name)) { name = name.replace(/\.tsv$/i, '.csv'); planName.value = name; writeCommands(); }
    const url = URL.createObjectURL(new Blob([plan.text], { type: plan.csv ? 'text/csv' : 'text/tab-separated-values' }));
    const a = el('a');
    a.href = url; a.download = name;
    document.body.append(a); a.click(); a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 60000);
  });
  $('clear').addEventListener('click', () => { clearSelection(); refreshTable(); drawMap(); });

  // With one drive, the map opens on it.
  if (root.children.length === 1) zoomed = root.children[0];
  drawMap();
  $('status').textContent = 'Reading the files...';
  // For the benchmark: when the summary and treemap are drawn and when they are on the screen.
  performance.mark('tw-summary-drawn');
  requestAnimationFrame(() => setTimeout(() => performance.mark('tw-summary-painted'), 0));

  // The rows, once the parser has read them.
  function readRows() {
    const rows = JSON.parse(document.getElementById('tw-data').textContent);
    T = rows.tables; R = rows.rows; N = R.name.length;
    // Columns of numbers into typed arrays; those written as runs of equal values are spread out.
    for (const key of ['project', 'compression', 'path', 'type', 'date', 'source', 'database', 'state', 'group']) {
      const c = R[key];
      if (Array.isArray(c)) { R[key] = new Uint32Array(c); continue; }
      const out = new Uint32Array(N), runs = c.runs;
      for (let k = 0, at = 0; k < runs.length; k += 2) { out.fill(runs[k], at, at + runs[k + 1]); at += runs[k + 1]; }
      R[key] = out;
    }
    R.size = new Float64Array(R.size);
    selected = new Uint8Array(N);
    order = new Uint32Array(N);
    for (let i = 0; i < N; i++) order[i] = i;
    fillProjects();
    options(projectFilter, sortedIds(T.project));
    options(compressionSelect, sortedIds(T.compression).map(([k, t]) => [k, t || '(none)']));
    options(typeSelect, sortedIds(T.type).map(([k, t]) => [k, t || '(none)']));
    drawHead();
    applyFilter();
    // What the first filter and sorts need is made while the page is idle, one column at a time.
    const idle = window.requestIdleCallback || ((f) => setTimeout(f, 50));
    const chores = [() => lowerTexts()].concat([1, 3, 0, 8, 6, 2, 5, 7, 9, 4, 10].map((c) => () => ranksOf(c)));
    (function next() { if (chores.length) idle(() => { chores.shift()(); next(); }); })();
    performance.mark('tw-rows-ready');
    // For tests and the benchmark: what the page holds, read only.
    window.twReport = Object.freeze({ rows: N, viewLength: () => view.length, selectedCount: () => selectedCount,
    viewRows: (from, to) => Array.from(view.subarray(from, to)), rowCells: (i) => TSV_COLUMNS.map((f) => f(i)),
    stateOf: (i) => R.state[i] });
  }
  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', readRows);
  else readRows();
})();
