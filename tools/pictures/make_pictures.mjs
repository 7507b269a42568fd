// Draws the entry pictures (content/pictures/NNN1.png, NNN2.png and no.png).
// Run it through make_pictures.sh, which checks the tools first; see there for
// how to regenerate. Everything here is offline: the artwork comes from the
// npm icon-set packages pinned in package.json and is chosen per entry in
// art.tsv, rsvg-convert rasterises it and ImageMagick composes the cards.
import { execFileSync } from 'node:child_process';
import { createRequire } from 'node:module';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const require = createRequire(import.meta.url);
const here = path.dirname(fileURLToPath(import.meta.url));
const repo = path.resolve(here, '..', '..');
const artPath = path.join(here, 'art.tsv');
const entriesDir = path.join(repo, 'content', 'entries');
const outDir = path.join(repo, 'content', 'pictures');

const W = 300, H = 200;
const MINCHO = '/usr/share/fonts/opentype/ipafont-mincho/ipam.ttf';
const GOTHIC = '/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf';
const LATIN = '/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf';
const NAVY = [37, 67, 124];
const WHITE = [255, 255, 255];

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

// One palette per category so every card shares the same proportions.
function palette(cat) {
  return {
    cat,
    ground: mix(WHITE, cat, 0.16),   // outside the panel
    panel: mix(WHITE, cat, 0.05),    // the card face
    edge: mix(mix(WHITE, cat, 0.55), NAVY, 0.12),
    rule: mix(cat, NAVY, 0.25),
    disc: mix(WHITE, cat, 0.55),
    reading: mix(NAVY, WHITE, 0.25),
  };
}

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'verdalis-pictures-'));
let tmpCount = 0;
const tmp = (ext) => path.join(work, `t${tmpCount++}.${ext}`);

function run(cmd, args) {
  return execFileSync(cmd, args, { encoding: 'utf8', stdio: ['ignore', 'pipe', 'inherit'] });
}
function size(file) {
  const [w, h] = run('identify', ['-format', '%w %h', file]).trim().split(' ').map(Number);
  return { w, h };
}

// ---- artwork -------------------------------------------------------------
// Icon sets are the @iconify-json packages pinned in package.json. Noto is
// drawn as it is or with some of its colours changed; the silhouette sets
// (one-colour icons) get the fill the art list gives them.
const SETS = {
  noto: { kind: 'colour' },
  'game-icons': { kind: 'silhouette' },
};
const setCache = new Map();
function iconSet(name) {
  if (!SETS[name]) throw new Error(`unknown icon set ${name}`);
  if (!setCache.has(name)) setCache.set(name, require(`@iconify-json/${name}/icons.json`));
  return setCache.get(name);
}

// The icon's own entry, following aliases to the drawing they name.
function findIcon(setName, name) {
  const set = iconSet(setName);
  let n = name, guard = 0;
  while (!set.icons[n] && set.aliases && set.aliases[n] && guard++ < 8) n = set.aliases[n].parent;
  return set.icons[n] ? { set, icon: set.icons[n] } : null;
}

// ---- colours ---------------------------------------------------------------
const hex = (h) => {
  const m = h.replace('#', '');
  const f = m.length === 3 ? [...m].map((c) => c + c).join('') : m;
  return [0, 2, 4].map((i) => parseInt(f.slice(i, i + 2), 16));
};
const toHex = (c) => '#' + c.map((v) => Math.max(0, Math.min(255, Math.round(v))).toString(16).padStart(2, '0')).join('');
function toHsl([r, g, b]) {
  r /= 255; g /= 255; b /= 255;
  const max = Math.max(r, g, b), min = Math.min(r, g, b), l = (max + min) / 2;
  if (max === min) return [0, 0, l];
  const d = max - min, s = l > 0.5 ? d / (2 - max - min) : d / (max + min);
  const h = max === r ? (g - b) / d + (g < b ? 6 : 0) : max === g ? (b - r) / d + 2 : (r - g) / d + 4;
  return [h * 60, s, l];
}
function fromHsl([h, s, l]) {
  l = Math.max(0, Math.min(1, l)); s = Math.max(0, Math.min(1, s));
  const q = l < 0.5 ? l * (1 + s) : l + s - l * s, p = 2 * l - q;
  const t = (x) => {
    x = ((x % 1) + 1) % 1;
    if (x < 1 / 6) return p + (q - p) * 6 * x;
    if (x < 1 / 2) return q;
    if (x < 2 / 3) return p + (q - p) * (2 / 3 - x) * 6;
    return p;
  };
  return [t(h / 360 + 1 / 3), t(h / 360), t(h / 360 - 1 / 3)].map((v) => v * 255);
}

// Recolouring a colour drawing. Rules, separated by spaces:
//   #a62714=#333333  that one colour becomes the other;
//   h0-40=#3a3a3a    every coloured (not grey) colour whose hue lies in 0-40
//                    degrees takes the target's hue and saturation, and keeps
//                    its lightness relative to the others it matched, so the
//                    drawing's shading survives the change.
function recolourBody(body, spec) {
  if (!spec) return body;
  const literals = [...new Set(body.match(/#[0-9a-fA-F]{6}\b|#[0-9a-fA-F]{3}\b/g) || [])];
  const map = new Map();
  for (const rule of spec.split(/\s+/)) {
    const [from, to] = rule.split('=');
    if (!to || !/^#[0-9a-fA-F]{3,6}$/.test(to)) throw new Error(`bad recolour rule ${rule}`);
    const target = toHsl(hex(to));
    const hr = from.match(/^h(\d+)-(\d+)$/);
    if (hr) {
      const lo = Number(hr[1]), hi = Number(hr[2]);
      const inRange = (h) => (lo <= hi ? h >= lo && h <= hi : h >= lo || h <= hi);
      const hit = literals.filter((c) => !map.has(c.toLowerCase())).map((c) => [c, toHsl(hex(c))])
        .filter(([, [h, s]]) => s >= 0.15 && inRange(h));
      if (!hit.length) throw new Error(`recolour rule ${rule} matches no colour`);
      const ref = hit.reduce((a, [, x]) => a + x[2], 0) / hit.length;
      for (const [c, [, , l]] of hit) map.set(c.toLowerCase(), toHex(fromHsl([target[0], target[1], target[2] + (l - ref)])));
    } else if (/^#[0-9a-fA-F]{3,6}$/.test(from)) {
      if (!literals.some((c) => c.toLowerCase() === from.toLowerCase())) throw new Error(`recolour rule ${rule} matches no colour`);
      map.set(from.toLowerCase(), toHex(hex(to)));
    } else {
      throw new Error(`bad recolour rule ${rule}`);
    }
  }
  return body.replace(/#[0-9a-fA-F]{6}\b|#[0-9a-fA-F]{3}\b/g, (c) => map.get(c.toLowerCase()) ?? c);
}

// A silhouette's fill: one colour (#5a8f29), or a gradient from the bottom
// colour to the top one (#e4ead2>#4f8a2b).
function silhouetteBody(body, spec) {
  if (!spec) throw new Error('a silhouette needs a fill colour');
  const stops = spec.split('>');
  if (!stops.every((c) => /^#[0-9a-fA-F]{3,6}$/.test(c)) || stops.length > 2) throw new Error(`bad fill ${spec}`);
  if (stops.length === 1) return body.replace(/currentColor/g, stops[0]);
  const grad = `<defs><linearGradient id="fill" x1="0" y1="1" x2="0" y2="0">` +
    `<stop offset="0.15" stop-color="${stops[0]}"/><stop offset="0.85" stop-color="${stops[1]}"/></linearGradient></defs>`;
  return grad + body.replace(/currentColor/g, 'url(#fill)');
}

const artCache = new Map();

// The artwork rasterised large and trimmed to its ink, so that every drawing
// is later scaled by its visible extent rather than by the padding of its SVG.
function artPng(art) {
  const key = `${art.set}:${art.icon}:${art.recolour || ''}`;
  if (artCache.has(key)) return artCache.get(key);
  const found = findIcon(art.set, art.icon);
  if (!found) throw new Error(`no icon ${art.set}:${art.icon}`);
  const { set, icon } = found;
  const w = icon.width ?? set.width ?? 16, h = icon.height ?? set.height ?? 16;
  const l = icon.left ?? set.left ?? 0, t = icon.top ?? set.top ?? 0;
  const body = SETS[art.set].kind === 'silhouette' ? silhouetteBody(icon.body, art.recolour) : recolourBody(icon.body, art.recolour);
  const svg = tmp('svg');
  fs.writeFileSync(svg, `<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" ` +
    `viewBox="${l} ${t} ${w} ${h}" width="${w}" height="${h}">${body}</svg>`);
  const big = tmp('png');
  run('rsvg-convert', ['-w', '512', '-h', '512', '-o', big, svg]);
  const png = tmp('png');
  run('convert', [big, '-trim', '+repage', png]);
  artCache.set(key, png);
  return png;
}

// The artwork scaled to fit a box, as an image of exactly its scaled size.
function artFit(art, box) {
  const src = artPng(art);
  const out = tmp('png');
  run('convert', [src, '-filter', 'Lanczos', '-resize', `${box}x${box}`, out]);
  return out;
}

// ---- text ----------------------------------------------------------------
// A text label on a transparent ground, shrunk until it fits maxWidth.
function label(text, font, pointsize, colour, maxWidth) {
  let ps = pointsize;
  for (;;) {
    const out = tmp('png');
    run('convert', ['-background', 'none', '-fill', rgb(colour), '-font', font, '-pointsize', String(ps),
      `label:${text}`, '-trim', '+repage', out]);
    const s = size(out);
    if (s.w <= maxWidth || ps <= 8) return { file: out, ...s };
    ps = Math.max(8, Math.floor(ps * maxWidth / s.w));
  }
}

// ---- cards ---------------------------------------------------------------
// Every picture starts from the same card: a tinted ground and a rounded,
// lighter panel with a fine edge, so the pictures read as one set.
function cardArgs(p) {
  return ['-size', `${W}x${H}`, `xc:${rgb(p.ground)}`,
    '-fill', rgb(p.panel), '-stroke', rgb(p.edge), '-strokewidth', '1.5',
    '-draw', 'roundrectangle 7,7 292,192 16,16', '-stroke', 'none'];
}
const place = (file, x, y) => [file, '-gravity', 'northwest', '-geometry', `+${Math.round(x)}+${Math.round(y)}`, '-composite'];
const placeCentred = (img, cx, cy) => place(img.file, cx - img.w / 2, cy - img.h / 2);

// Name over a short rule over the reading, centred on (cx, cy).
function nameBlock(p, name, kana, cx, cy, nameSize, kanaSize, maxWidth, gap) {
  const n = label(name, MINCHO, nameSize, NAVY, maxWidth);
  const k = label(kana, GOTHIC, kanaSize, p.reading, maxWidth);
  const total = n.h + gap * 2 + k.h;
  const top = cy - total / 2;
  const ruleY = top + n.h + gap;
  const ruleHalf = Math.min(maxWidth / 2, Math.max(18, n.w / 4));
  return [
    ...place(n.file, cx - n.w / 2, top),
    '-fill', rgb(p.rule), '-draw', `rectangle ${Math.round(cx - ruleHalf)},${Math.round(ruleY)} ${Math.round(cx + ruleHalf)},${Math.round(ruleY + 1)}`,
    ...place(k.file, cx - k.w / 2, ruleY + gap),
  ];
}

function finish(args, out) {
  const raw = tmp('png');
  run('convert', [...args, '-alpha', 'off', '-strip', raw]);
  // A 96-colour palette keeps the drawings' shading smooth and the files small.
  const q = tmp('png');
  run('pngquant', ['--force', '--speed', '1', '--strip', '--output', q, '96', raw]);
  run('convert', [q, '-strip', '-define', 'png:compression-level=9', '-define', 'png:exclude-chunks=date,time', `PNG8:${out}`]);
}

function ingredientCard(e, out) {
  const p = palette(e.colour);
  const args = cardArgs(p);
  if (e.art) {
    const img = artFit(e.art, 120);
    const s = size(img);
    args.push(...placeCentred({ file: img, ...s }, 84, 100));
    args.push(...nameBlock(p, e.name, e.kana, 219, 100, 40, 15, 122, 9));
  } else {
    args.push(...nameBlock(p, e.name, e.kana, 150, 100, 72, 20, 240, 13));
  }
  finish(args, out);
}

// The ingredient's round badge: its drawing on a white disc, or the first
// character of its name on a tinted disc when it has a name card.
function badgeArgs(p, e, cx, cy, r) {
  const args = ['-stroke', rgb(p.rule), '-strokewidth', '2',
    '-fill', rgb(e.art ? WHITE : p.disc),
    '-draw', `circle ${cx},${cy} ${cx + r},${cy}`, '-stroke', 'none'];
  if (e.art) {
    const img = artFit(e.art, Math.round(r * 1.3));
    args.push(...placeCentred({ file: img, ...size(img) }, cx, cy));
  } else {
    const ch = label([...e.name][0], MINCHO, Math.round(r * 1.15), NAVY, r * 1.5);
    args.push(...placeCentred(ch, cx, cy));
  }
  return args;
}

function dishCard(e, out) {
  const p = palette(e.colour);
  const args = cardArgs(p);
  const img = artFit(e.dishArt, 118);
  args.push(...placeCentred({ file: img, ...size(img) }, 150, 84));
  args.push(...badgeArgs(p, e, 250, 50, 27));
  const t = label(e.dish, MINCHO, 21, NAVY, 262);
  args.push(...placeCentred(t, 150, 166));
  finish(args, out);
}

function missingCard(out) {
  const grey = NO_CATEGORY;
  const p = palette(grey);
  const ink = mix(grey, NAVY, 0.35);
  const args = cardArgs(p);
  // A plain framed-landscape sign, drawn rather than taken from an emoji so it
  // never looks like a real ingredient.
  args.push('-fill', 'none', '-stroke', rgb(ink), '-strokewidth', '3',
    '-draw', 'roundrectangle 122,34 178,80 6,6',
    '-fill', rgb(ink), '-stroke', 'none',
    '-draw', 'polygon 127,75 143,55 154,67 160,61 173,75',
    '-draw', 'circle 164,47 168,47');
  const j = label('画像なし', MINCHO, 30, mix(NAVY, WHITE, 0.15), 240);
  const l = label('No picture', LATIN, 14, p.reading, 240);
  args.push(...placeCentred(j, 150, 122), ...placeCentred(l, 150, 156));
  finish(args, out);
}

// ---- inputs --------------------------------------------------------------
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

// The art list: one row per entry, in index order, with the category and
// reading the card shows, the ingredient's artwork (or - for a name card),
// the dish's artwork and, where the entry's dish is being renamed, the dish
// name to draw. The entry's name and dish name come from content/entries.
function readArt() {
  const lines = fs.readFileSync(artPath, 'utf8').replace(/\r/g, '').split('\n').filter((l) => l.length && !l.startsWith('#'));
  const head = lines[0].split('\t');
  const col = (n) => { const i = head.indexOf(n); if (i < 0) throw new Error(`art.tsv lacks column ${n}`); return i; };
  const c = Object.fromEntries(['index', 'cat', 'kana', 'set', 'icon', 'recolour', 'dish_set', 'dish_icon', 'dish_name']
    .map((n) => [n, col(n)]));
  const dash = (v) => (v === undefined || v === '-' || v === '' ? null : v);
  return lines.slice(1).map((l) => l.split('\t')).map((r, i) => {
    if (Number(r[c.index]) !== i) throw new Error(`art.tsv row ${i + 1} has index ${r[c.index]}`);
    const set = dash(r[c.set]);
    return {
      cat: r[c.cat], kana: r[c.kana],
      art: set ? { set, icon: r[c.icon], recolour: dash(r[c.recolour]) } : null,
      dishArt: { set: r[c.dish_set], icon: r[c.dish_icon], recolour: null },
      dishName: dash(r[c.dish_name]),
    };
  });
}

function main() {
  const rows = readArt();
  const entries = readEntries();
  if (rows.length !== 127) throw new Error(`art.tsv has ${rows.length} rows, expected 127`);
  fs.mkdirSync(outDir, { recursive: true });
  // PICTURES_ONLY=0,2,63 redraws just those entries while trying out a change.
  const only = process.env.PICTURES_ONLY ? new Set(process.env.PICTURES_ONLY.split(',').map(Number)) : null;
  for (let i = 0; i < rows.length; i++) {
    if (only && !only.has(i)) continue;
    const row = rows[i], ent = entries.get(i);
    if (!ent || !ent.name || !ent.dishName) throw new Error(`entry ${i}: no name or dishName`);
    for (const a of [row.art, row.dishArt]) if (a && !findIcon(a.set, a.icon)) throw new Error(`entry ${i}: no icon ${a.set}:${a.icon}`);
    // A dish name in the art list is the one the entry is getting; say so
    // until the entry carries it, so the override can then be dropped.
    const dishName = row.dishName ?? ent.dishName;
    if (dishName !== ent.dishName) console.warn(`entry ${i}: drawing the dish ${dishName} from art.tsv; the entry says ${ent.dishName}`);
    const e = {
      name: ent.name,
      kana: row.kana,
      // Serving sizes such as （4人分） belong to the recipe, not the picture.
      dish: dishName.replace(/（[^（）]*）$/, ''),
      colour: CATEGORY[row.cat] || NO_CATEGORY,
      art: row.art,
      dishArt: row.dishArt,
    };
    const stem = String(i).padStart(3, '0');
    ingredientCard(e, path.join(outDir, `${stem}1.png`));
    dishCard(e, path.join(outDir, `${stem}2.png`));
    process.stdout.write(`${stem} `);
  }
  missingCard(path.join(outDir, 'no.png'));
  process.stdout.write('no\n');
  fs.rmSync(work, { recursive: true, force: true });
}

main();
