// Draws the entry pictures (content/pictures/NNN1.png, NNN2.png and no.png)
// from the hand-drawn SVG sources in cards/ and the shared parts in parts/.
// Run it through make_pictures.sh, which checks the tools first; STYLE.md
// describes the drawings. Each card is one SVG (frame, drawing, lettering)
// that rsvg-convert rasterises; pngquant and optipng then make it small.
// Nothing here depends on the time or the machine, so the same sources give
// the same bytes.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const repo = path.resolve(here, '..', '..');
const artPath = path.join(here, 'art.tsv');
const cardsDir = path.join(here, 'cards');
const partsDir = path.join(here, 'parts');
const entriesDir = path.join(repo, 'content', 'entries');
const outDir = process.env.PICTURES_OUT ? path.resolve(process.env.PICTURES_OUT) : path.join(repo, 'content', 'pictures');
const ENTRIES = 127;

const W = 300, H = 200;
// Where the 200x160 drawing box lands on the card, and at what scale. Both
// cards use one scale so the outline weight is the same on every card.
const SCALE = 0.85;
const BOX_DISH = { x: 65, y: 10 };
const BOX_INGREDIENT = { x: 10, y: 32 };
const NAVY = [37, 67, 124];
const WHITE = [255, 255, 255];
// The fonts are fixed-pitch for Japanese (every kana and kanji is 1 em wide,
// Latin letters and digits half), so a line's width is known without a
// renderer and the lettering can be shrunk to fit exactly.
const MINCHO = 'IPAMincho';
const GOTHIC = 'IPAGothic';
const ASCENT = 0.88;

// The viewer's category colours; the art list names the category in Japanese.
const CATEGORY = {
  '野菜': [215, 207, 65],
  '果物': [110, 220, 75],
  '穀類': [130, 200, 210],
  '肉類': [255, 103, 108],
  '魚介類': [190, 140, 120],
  '豆・種実類': [196, 150, 229],
  '香辛料・薬草': [156, 156, 205],
};
const NO_CATEGORY = [200, 200, 200];

const mix = (a, b, t) => a.map((v, i) => Math.round(v * (1 - t) + b[i] * t));
const rgb = (c) => `rgb(${c[0]},${c[1]},${c[2]})`;
const num = (v) => String(Math.round(v * 100) / 100);
const esc = (s) => s.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');

// One palette per category so every card shares the same proportions.
function palette(cat) {
  return {
    ground: mix(WHITE, cat, 0.16),   // outside the panel
    panel: mix(WHITE, cat, 0.05),    // the card face
    edge: mix(mix(WHITE, cat, 0.55), NAVY, 0.12),
    rule: mix(cat, NAVY, 0.25),
    reading: mix(NAVY, WHITE, 0.25),
  };
}

class SourceError extends Error {}
const fail = (file, msg) => { throw new SourceError(`${path.relative(repo, file)}: ${msg}`); };

// ---- sources ---------------------------------------------------------------
// The parts' <defs> contents, in file-name order, and the ids they define.
function readParts() {
  const files = fs.readdirSync(partsDir).filter((f) => f.endsWith('.svg')).sort();
  const ids = new Set();
  let defs = '';
  for (const f of files) {
    const file = path.join(partsDir, f);
    const m = fs.readFileSync(file, 'utf8').match(/<defs>([\s\S]*)<\/defs>/);
    if (!m) fail(file, 'has no <defs>');
    const body = m[1].replace(/<!--[\s\S]*?-->/g, '');
    for (const [, id] of body.matchAll(/\bid="([^"]+)"/g)) {
      if (ids.has(id)) fail(file, `defines ${id} a second time`);
      ids.add(id);
    }
    defs += body.replace(/\n\s*/g, '\n');
  }
  checkBody(path.join(partsDir, files[0] || ''), defs, ids);
  return { defs, ids };
}

// What a drawing may not contain (see STYLE.md), and references that must
// name a part or one of the drawing's own ids.
function checkBody(file, body, known) {
  for (const [re, what] of [[/<image\b/, 'an embedded image'], [/<text\b/, 'text (the card is lettered by the generator)'],
    [/<filter\b/, 'a filter'], [/Gradient\b/, 'a gradient'], [/<script\b/, 'a script'], [/href="(?!#)/, 'an outside reference']]) {
    if (re.test(body)) fail(file, `contains ${what}`);
  }
  const own = new Set([...body.matchAll(/\bid="([^"]+)"/g)].map((m) => m[1]));
  for (const [, ref] of body.matchAll(/(?:href="#|url\(#)([^")]+)/g)) {
    if (!known.has(ref) && !own.has(ref)) fail(file, `uses #${ref}, which no part defines`);
  }
}

// A card's drawing: the inside of its <svg viewBox="0 0 200 160">.
function readCard(file, parts) {
  if (!fs.existsSync(file)) fail(file, 'missing (every entry needs its ingredient and dish drawing)');
  const text = fs.readFileSync(file, 'utf8').replace(/<\?xml[^>]*>/, '').replace(/<!--[\s\S]*?-->/g, '');
  const m = text.match(/^\s*<svg\b([^>]*)>([\s\S]*)<\/svg>\s*$/);
  if (!m) fail(file, 'is not one <svg> element');
  if (!/\bviewBox="0 0 200 160"/.test(m[1])) fail(file, 'needs viewBox="0 0 200 160"');
  const body = m[2];
  checkBody(file, body, parts.ids);
  for (const [, id] of body.matchAll(/\bid="([^"]+)"/g)) {
    if (parts.ids.has(id)) fail(file, `redefines the part id ${id}`);
  }
  return body.replace(/\n\s*/g, '\n').trim();
}

function readEntries() {
  const byIndex = new Map();
  for (const f of fs.readdirSync(entriesDir)) {
    if (!/^\d{3}-.*\.yaml$/.test(f)) continue;
    const text = fs.readFileSync(path.join(entriesDir, f), 'utf8');
    const get = (key) => {
      const m = text.match(new RegExp(`^${key}:[ \\t]*(.*)$`, 'm'));
      return m ? m[1].trim() : null;
    };
    byIndex.set(Number(get('index')), { name: get('name'), dishName: get('dishName') });
  }
  return byIndex;
}

// The lettering list: per entry the category, the reading and, while an
// entry's dish is being changed, the dish the card now shows.
function readArt() {
  const lines = fs.readFileSync(artPath, 'utf8').replace(/\r/g, '').split('\n').filter((l) => l.length && !l.startsWith('#'));
  const head = lines[0].split('\t');
  const col = (n) => { const i = head.indexOf(n); if (i < 0) fail(artPath, `lacks the column ${n}`); return i; };
  const c = Object.fromEntries(['index', 'cat', 'kana', 'dish_name'].map((n) => [n, col(n)]));
  const rows = lines.slice(1).map((l) => l.split('\t')).map((r, i) => {
    if (Number(r[c.index]) !== i) fail(artPath, `row ${i + 1} has index ${r[c.index]}`);
    if (!CATEGORY[r[c.cat]] && r[c.cat] !== '(未分類)') fail(artPath, `entry ${i}: unknown category ${r[c.cat]}`);
    if (!r[c.kana]) fail(artPath, `entry ${i}: no reading`);
    const dn = r[c.dish_name];
    return { cat: r[c.cat], kana: r[c.kana], dishName: dn && dn !== '-' ? dn : null };
  });
  if (rows.length !== ENTRIES) fail(artPath, `has ${rows.length} rows, expected ${ENTRIES}`);
  return rows;
}

// Serving sizes such as （4人分） belong to the recipe, not the caption;
// other words in the brackets stay: 〇〇（パパイヤイリチー・4人分） → 〇〇（パパイヤイリチー）.
function caption(dishName) {
  return dishName.replace(/（([^（）]*)）$/, (all, inner) => {
    const kept = inner.split('・').filter((p) => !/分|^\d+個$/.test(p));
    return kept.length ? `（${kept.join('・')}）` : '';
  });
}

// ---- lettering -------------------------------------------------------------
const em = (s) => [...s].reduce((w, ch) => w + (ch.codePointAt(0) < 0x2000 || (ch >= '｡' && ch <= 'ﾟ') ? 0.5 : 1), 0);
const fitSize = (s, size, maxWidth) => Math.min(size, maxWidth / em(s));

// One line centred on cx with its top at y; returns the element and its height.
function line(s, font, size, colour, cx, top) {
  return `<text x="${num(cx)}" y="${num(top + size * ASCENT)}" font-family="${font}" font-size="${num(size)}" ` +
    `fill="${rgb(colour)}" text-anchor="middle">${esc(s)}</text>`;
}

// Name over a short rule over the reading, centred on (cx, cy).
function nameBlock(p, name, kana, cx, cy, maxWidth) {
  const n = fitSize(name, 40, maxWidth), k = fitSize(kana, 15, maxWidth), gap = 9;
  const top = cy - (n + gap * 2 + 1 + k) / 2;
  const ruleY = top + n + gap;
  const ruleHalf = Math.min(maxWidth / 2, Math.max(18, em(name) * n / 4));
  return line(name, MINCHO, n, NAVY, cx, top) +
    `<rect x="${num(cx - ruleHalf)}" y="${num(ruleY)}" width="${num(ruleHalf * 2)}" height="1.2" fill="${rgb(p.rule)}"/>` +
    line(kana, GOTHIC, k, p.reading, cx, ruleY + 1 + gap);
}

// ---- cards -----------------------------------------------------------------
// Every picture is the same card: a tinted ground, a rounded lighter panel
// with a fine edge, the drawing box and the lettering.
// PICTURES_BLIND=1 leaves the lettering off, for naming the cards from the
// drawings alone.
const BLIND = process.env.PICTURES_BLIND === '1';
function card(p, parts, box, drawing, lettering) {
  if (BLIND) lettering = '';
  return `<svg xmlns="http://www.w3.org/2000/svg" width="${W}" height="${H}" viewBox="0 0 ${W} ${H}">\n` +
    `<defs>${parts.defs}</defs>\n` +
    `<rect width="${W}" height="${H}" fill="${rgb(p.ground)}"/>\n` +
    `<rect x="7" y="7" width="285" height="185" rx="16" fill="${rgb(p.panel)}" stroke="${rgb(p.edge)}" stroke-width="1.5"/>\n` +
    `<g transform="translate(${box.x},${box.y}) scale(${SCALE})" stroke-width="2.5">\n${drawing}\n</g>\n${lettering}\n</svg>\n`;
}

const ingredientCard = (p, parts, e, drawing) =>
  card(p, parts, BOX_INGREDIENT, drawing, nameBlock(p, e.name, e.kana, 236, 100, 100));

const dishCard = (p, parts, e, drawing) =>
  card(p, parts, BOX_DISH, drawing, line(e.dish, MINCHO, fitSize(e.dish, 21, 262), NAVY, 150, 170 - fitSize(e.dish, 21, 262) / 2));

// The picture for an entry without one: an empty plate and chopsticks,
// drawn like the others but on a grey card, so it never passes for a food.
const EMPTY_PLATE = '<ellipse cx="100" cy="142" rx="80" ry="12" fill="#3b3128" fill-opacity="0.12"/>' +
  '<use href="#part-hirazara" x="100" y="100"/><use href="#part-hashi" transform="translate(104,134) rotate(-4)"/>';
function missingCard(parts) {
  const p = palette(NO_CATEGORY);
  return card(p, parts, BOX_DISH, EMPTY_PLATE, line('画像なし', MINCHO, 21, NAVY, 150, 160));
}

// ---- output ----------------------------------------------------------------
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'verdalis-pictures-'));
const run = (cmd, args) => execFileSync(cmd, args, { encoding: 'utf8', stdio: ['ignore', 'pipe', 'pipe'] });

// Rasterises one card. A 64-colour palette without dithering keeps the flat
// drawings clean and the files small; optipng then packs them tighter.
function render(svg, out) {
  const src = path.join(work, 'card.svg'), raw = path.join(work, 'raw.png'), q = path.join(work, 'q.png');
  fs.writeFileSync(src, svg);
  run('rsvg-convert', ['--background-color', 'white', '-w', String(W), '-h', String(H), '-o', raw, src]);
  fs.rmSync(q, { force: true });
  run('pngquant', ['--speed', '1', '--nofs', '--strip', '--output', q, '64', raw]);
  fs.rmSync(out, { force: true });
  run('optipng', ['-quiet', '-o5', '-strip', 'all', '-out', out, q]);
}

// PICTURES_ONLY=5,0012,0032 draws only those entries (both cards) or cards;
// PICTURES_PARTIAL=1 skips cards whose drawing does not exist yet (work in
// progress) instead of stopping; PICTURES_OUT=dir writes somewhere else.
function main() {
  const rows = readArt();
  const entries = readEntries();
  const parts = readParts();
  const partial = process.env.PICTURES_PARTIAL === '1';
  const only = process.env.PICTURES_ONLY ? process.env.PICTURES_ONLY.split(',').map((s) => s.trim()) : null;
  const wanted = (stem, entry) => !only || only.some((o) => (o.length === 4 ? o === stem : Number(o) === entry));
  fs.mkdirSync(outDir, { recursive: true });
  let skipped = 0;
  for (let i = 0; i < ENTRIES; i++) {
    const row = rows[i], ent = entries.get(i);
    if (!ent || !ent.name || !ent.dishName) fail(entriesDir, `entry ${i}: no name or dishName`);
    const dishName = row.dishName ?? ent.dishName;
    if (dishName !== ent.dishName && !only) console.warn(`entry ${i}: the card shows ${dishName}; the entry still says ${ent.dishName}`);
    const e = { name: ent.name, kana: row.kana, dish: caption(dishName) };
    const p = palette(CATEGORY[row.cat] || NO_CATEGORY);
    const stem = String(i).padStart(3, '0');
    for (const [kind, make] of [['1', ingredientCard], ['2', dishCard]]) {
      if (!wanted(stem + kind, i)) continue;
      const file = path.join(cardsDir, `${stem}${kind}.svg`);
      if (partial && !fs.existsSync(file)) { skipped++; continue; }
      try {
        render(make(p, parts, e, readCard(file, parts)), path.join(outDir, `${stem}${kind}.png`));
      } catch (err) {
        if (err instanceof SourceError || !err.stderr) throw err;
        fail(file, `does not render: ${String(err.stderr).trim().split('\n')[0]}`);
      }
      process.stdout.write(`${stem}${kind} `);
    }
  }
  if (!only || only.includes('no')) {
    render(missingCard(parts), path.join(outDir, 'no.png'));
    process.stdout.write('no');
  }
  process.stdout.write('\n');
  if (skipped) console.warn(`${skipped} cards have no drawing yet and were left as they are`);
}

try {
  main();
} catch (err) {
  console.error(`make_pictures: ${err instanceof SourceError ? err.message : err.stack}`);
  process.exitCode = 1;
} finally {
  fs.rmSync(work, { recursive: true, force: true });
}
