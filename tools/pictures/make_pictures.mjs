// Draws the entry pictures (content/pictures/NNN1.png, NNN2.png and no.png).
// Run it through make_pictures.sh, which checks the tools first; see there for
// how to regenerate. Everything here is offline: the emoji artwork comes from
// the npm package @iconify-json/noto, rsvg-convert rasterises it and
// ImageMagick composes the cards.
import { execFileSync } from 'node:child_process';
import { createRequire } from 'node:module';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const require = createRequire(import.meta.url);
const here = path.dirname(fileURLToPath(import.meta.url));
const repo = path.resolve(here, '..', '..');
const planPath = process.env.CONTENT_PLAN || path.resolve(repo, '..', 'shared', 'content-plan.tsv');
const entriesDir = path.join(repo, 'content', 'entries');
const outDir = path.join(repo, 'content', 'pictures');

const W = 300, H = 200;
const MINCHO = '/usr/share/fonts/opentype/ipafont-mincho/ipam.ttf';
const GOTHIC = '/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf';
const LATIN = '/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf';
const NAVY = [37, 67, 124];
const WHITE = [255, 255, 255];

// The viewer's category colours; the plan names the category in Japanese.
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

// ---- emoji ---------------------------------------------------------------
const noto = require('@iconify-json/noto/icons.json');
const notoChars = require('@iconify-json/noto/chars.json');
const emojiCache = new Map();

function iconName(codepoints) {
  const name = notoChars[codepoints.toLowerCase()];
  if (!name) return null;
  let n = name, guard = 0;
  while (!noto.icons[n] && noto.aliases && noto.aliases[n] && guard++ < 8) n = noto.aliases[n].parent;
  return noto.icons[n] ? n : null;
}

// The emoji rasterised large and trimmed to its ink, so that every emoji is
// later scaled by its visible extent rather than by the padding of its SVG.
function emojiPng(codepoints) {
  if (emojiCache.has(codepoints)) return emojiCache.get(codepoints);
  const name = iconName(codepoints);
  let png = null;
  if (name) {
    const icon = noto.icons[name];
    const w = icon.width ?? noto.width ?? 16, h = icon.height ?? noto.height ?? 16;
    const l = icon.left ?? noto.left ?? 0, t = icon.top ?? noto.top ?? 0;
    const svg = tmp('svg');
    fs.writeFileSync(svg, `<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" ` +
      `viewBox="${l} ${t} ${w} ${h}" width="${w}" height="${h}">${icon.body}</svg>`);
    const big = tmp('png');
    run('rsvg-convert', ['-w', '512', '-h', '512', '-o', big, svg]);
    png = tmp('png');
    run('convert', [big, '-trim', '+repage', png]);
  }
  emojiCache.set(codepoints, png);
  return png;
}

// The emoji scaled to fit a box, as an image of exactly its scaled size.
function emojiFit(codepoints, box) {
  const src = emojiPng(codepoints);
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
  // A 96-colour palette keeps the emoji shading smooth and the files small.
  const q = tmp('png');
  run('pngquant', ['--force', '--speed', '1', '--strip', '--output', q, '96', raw]);
  run('convert', [q, '-strip', '-define', 'png:compression-level=9', '-define', 'png:exclude-chunks=date,time', `PNG8:${out}`]);
}

function ingredientCard(e, out) {
  const p = palette(e.colour);
  const args = cardArgs(p);
  if (e.art) {
    const img = emojiFit(e.art, 120);
    const s = size(img);
    args.push(...placeCentred({ file: img, ...s }, 84, 100));
    args.push(...nameBlock(p, e.name, e.kana, 219, 100, 40, 15, 122, 9));
  } else {
    args.push(...nameBlock(p, e.name, e.kana, 150, 100, 72, 20, 240, 13));
  }
  finish(args, out);
}

// The ingredient's round badge: its emoji on a white disc, or the first
// character of its name on a tinted disc when it has no emoji.
function badgeArgs(p, e, cx, cy, r) {
  const args = ['-stroke', rgb(p.rule), '-strokewidth', '2',
    '-fill', rgb(e.art ? WHITE : p.disc),
    '-draw', `circle ${cx},${cy} ${cx + r},${cy}`, '-stroke', 'none'];
  if (e.art) {
    const img = emojiFit(e.art, Math.round(r * 1.3));
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
  const img = emojiFit(e.dishArt, 118);
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

function readPlan() {
  const lines = fs.readFileSync(planPath, 'utf8').replace(/\r/g, '').split('\n').filter((l) => l.length);
  const head = lines[0].split('\t');
  const col = (n) => { const i = head.indexOf(n); if (i < 0) throw new Error(`plan lacks column ${n}`); return i; };
  const c = { cat: col('cat'), kana: col('kana'), art: col('art'), dishArt: col('dish_art') };
  return lines.slice(1).map((l) => l.split('\t')).map((r) => ({
    cat: r[c.cat], kana: r[c.kana], art: r[c.art], dishArt: r[c.dishArt],
  }));
}

function main() {
  const plan = readPlan();
  const entries = readEntries();
  if (plan.length !== 127) throw new Error(`plan has ${plan.length} rows, expected 127`);
  fs.mkdirSync(outDir, { recursive: true });
  // PICTURES_ONLY=0,2,63 redraws just those entries while trying out a change.
  const only = process.env.PICTURES_ONLY ? new Set(process.env.PICTURES_ONLY.split(',').map(Number)) : null;
  for (let i = 0; i < plan.length; i++) {
    if (only && !only.has(i)) continue;
    const row = plan[i], ent = entries.get(i);
    if (!ent || !ent.name || !ent.dishName) throw new Error(`entry ${i}: no name or dishName`);
    let art = row.art === '-' ? null : row.art;
    if (art && !iconName(art)) {
      console.warn(`entry ${i}: no Noto emoji for U+${art}; drawing a text card`);
      art = null;
    }
    if (!iconName(row.dishArt)) throw new Error(`entry ${i}: no Noto emoji for dish U+${row.dishArt}`);
    const e = {
      name: ent.name,
      kana: row.kana,
      // Serving sizes such as （4人分） belong to the recipe, not the picture.
      dish: ent.dishName.replace(/（[^（）]*）$/, ''),
      colour: CATEGORY[row.cat] || NO_CATEGORY,
      art,
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
