// The exported sets read by the npm readers a board house's tools are built on:
// gerber-parser parses every file without a warning, whats-that-gerber and
// @tracespace/identify-layers name every file's role, and the geometry holds: every
// plated hit lies on a pad of each copper side, at its position and smaller than it;
// every land of the land files is a pad of its side; on a double-sided board no
// non-plated hit has a pad. Run by ctest with node's test runner; the readers are
// installed into the build directory by scripts/npm-readers. Without them the test is
// skipped loudly, or fails when VELMORTA_REQUIRE_READERS is set (as CI sets it).
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {createRequire} from 'node:module';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const bin = path.resolve(process.env.VELMORTA_BIN ?? '');
const source = process.env.VELMORTA_SOURCE_DIR;
const modules = path.resolve(process.env.VELMORTA_NPM ?? '', 'node_modules');

function load() {
  const require = createRequire(path.join(modules, 'loader.cjs'));
  try {
    return {
      gerberParser: require('gerber-parser'),
      whatsThatGerber: require('whats-that-gerber'),
      identifyLayers: require('@tracespace/identify-layers').identifyLayers,
    };
  } catch (error) {
    const message = `the npm readers are not installed in ${modules} (scripts/npm-readers): ${error.message}`;
    if (process.env.VELMORTA_REQUIRE_READERS) throw new Error(message);
    console.error(`!! SKIPPED: ${message}: the exported files were NOT checked by them`);
    return null;
  }
}
const readers = load();

// A board like the C++ tests' generated ones: parts on a grid, some drilled by hole
// records, through-holes, mounting holes, lines between parts and to free ends.
function generatedPad(seed, doubleSided) {
  let state = seed;
  const pick = (low, high) => {
    state = (state * 1103515245 + 12345) % 2147483648;
    return low + (state % (high - low + 1));
  };
  const lines = [`*** Pitch`, `${1 + (seed % 2)}`, `*** Type`, doubleSided ? '1' : '0', '*** Area',
    '100,100,300,100', '300,100,300,250', '300,250,100,250', '100,250,100,100', '*** Parts'];
  const parts = [];
  for (let i = 0, n = pick(3, 12); i < n; ++i) {
    parts.push([110 + 10 * pick(0, 18), 110 + 10 * pick(0, 13)]);
    lines.push(`"P${i}",C,${parts[i][0]},${parts[i][1]},${pick(3, 9)},${pick(3, 9)}`);
  }
  lines.push('*** ThruHole');
  for (let i = 0, n = pick(0, 4); i < n; ++i) lines.push(`${105 + 10 * pick(0, 18)},${105 + 10 * pick(0, 13)},6,6`);
  lines.push('*** Hole');
  for (let i = 0; i < parts.length; i += 3) lines.push(`${parts[i][0]},${parts[i][1]},${i % 2 ? 12 : 8}`);
  for (let i = 0, n = pick(1, 3); i < n; ++i) lines.push(`${pick(110, 290)},${pick(110, 240)},30`);
  for (const section of ['*** TopLine', '*** BottomLine']) {
    lines.push(section);
    for (let i = 0, n = pick(1, 8); i < n; ++i) {
      const [x1, y1] = parts[pick(0, parts.length - 1)];
      const [x2, y2] = pick(0, 2) === 0 ? [pick(110, 290), pick(110, 240)] : parts[pick(0, parts.length - 1)];
      lines.push(`${x1},${y1},${x2},${y2},${8 + 4 * pick(0, 3)}`);
    }
  }
  return lines.join('\n') + '\n';
}

// Converts and exports `pad` in a directory of its own; returns the set's folder.
function exportBoard(pad) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'velmorta-readers-'));
  for (const program of ['velmorta', 'velmorta-export']) fs.copyFileSync(path.join(bin, program), path.join(dir, program));
  fs.chmodSync(path.join(dir, 'velmorta'), 0o755);
  fs.chmodSync(path.join(dir, 'velmorta-export'), 0o755);
  const configuration = fs.readFileSync(path.join(source, 'examples/velmorta.cfg'), 'latin1');
  fs.writeFileSync(path.join(dir, 'velmorta.cfg'), configuration.replace(/\n>g [^\n]*/, `\n>g ${dir}`), 'latin1');
  fs.writeFileSync(path.join(dir, 'board.pad'), pad);
  execFileSync(path.join(dir, 'velmorta'), ['board'], {cwd: dir});
  execFileSync(path.join(dir, 'velmorta-export'), ['board'], {cwd: dir});
  return dir;
}

// A file parsed: its warnings, its pads (flashes) and hits, and its strokes, in mm.
function parse(file) {
  const parser = readers.gerberParser({filetype: file.endsWith('.drl') ? 'drill' : 'gerber'});
  const warnings = [];
  parser.on('warning', (w) => warnings.push(`line ${w.line}: ${w.message}`));
  const tools = {};
  let tool = null;
  const flashes = [];
  let strokes = 0;
  for (const object of parser.parseSync(fs.readFileSync(file, 'latin1'))) {
    if (object.type === 'tool') tools[object.code] = object.tool.params[0];
    if (object.type === 'set' && object.prop === 'tool') tool = object.value;
    if (object.type === 'op' && object.op === 'flash') flashes.push({...object.coord, d: tools[tool]});
    if (object.type === 'op' && object.op === 'int') ++strokes;
  }
  return {warnings, flashes, strokes};
}

const key = ({x, y}) => `${Math.round(x * 1000)},${Math.round(y * 1000)}`;

// The land flashes of a converter land file, by position, in mm.
function lands(file) {
  const found = [];
  for (const m of fs.readFileSync(file, 'latin1').matchAll(/X(-?\d+)Y(-?\d+)\*D03\*/g)) {
    found.push({x: Number(m[1]) / 1000, y: Number(m[2]) / 1000});
  }
  return found;
}

const roles = {
  '.GTL': {type: 'copper', side: 'top'}, '.GBL': {type: 'copper', side: 'bottom'},
  '.GTS': {type: 'soldermask', side: 'top'}, '.GBS': {type: 'soldermask', side: 'bottom'},
  '.GTO': {type: 'silkscreen', side: 'top'}, '.GKO': {type: 'outline', side: 'all'},
  '-PTH.drl': {type: 'drill', side: 'all'}, '-NPTH.drl': {type: 'drill', side: 'all'},
  '-drl_map.gbr': {type: 'drawing', side: null},
};

const boards = [['board.pad', fs.readFileSync(path.join(source ?? '', 'examples/board.pad'), 'latin1'), true],
  ['single.pad', fs.readFileSync(path.join(source ?? '', 'examples/single.pad'), 'latin1'), false]];
for (let seed = 1; seed <= 6; ++seed) boards.push([`generated ${seed}`, generatedPad(seed, seed % 2 === 0), seed % 2 === 0]);

for (const [name, pad, doubleSided] of boards) {
  test(`npm readers take the set of ${name}`, {skip: readers === null}, () => {
    const dir = exportBoard(pad);
    const folder = path.join(dir, 'board-fab');
    const names = fs.readdirSync(folder).filter((n) => !/\.(gbrjob|csv|svg|txt)$/.test(n)).sort();
    // Roles by name, each identifier on its own and on the whole folder, the
    // converter's files beside it included.
    const expected = Object.fromEntries(names.map((n) => [n, roles[Object.keys(roles).find((s) => n.endsWith(s))]]));
    assert.deepEqual(readers.whatsThatGerber(names), expected);
    const identified = readers.identifyLayers(names);
    for (const n of names) assert.deepEqual({type: identified[n].type, side: identified[n].side}, expected[n], n);

    const parsed = Object.fromEntries(names.map((n) => [n, parse(path.join(folder, n))]));
    for (const n of names) assert.deepEqual(parsed[n].warnings, [], n);

    const pads = (suffix) => new Map((parsed[`board${suffix}`]?.flashes ?? []).map((f) => [key(f), f.d]));
    const copper = doubleSided ? [pads('.GTL'), pads('.GBL')] : [pads('.GBL')];
    for (const hit of parsed['board-PTH.drl']?.flashes ?? []) {
      assert.ok(doubleSided, 'a plated hole on a single-sided board');
      for (const side of copper) {
        assert.ok(side.has(key(hit)), `plated hit ${key(hit)} has no pad`);
        assert.ok(hit.d < side.get(key(hit)), `plated hit ${key(hit)} is not smaller than its pad`);
      }
    }
    const sides = [['land1.gbr', pads('.GBL')], ...(doubleSided ? [['land2.gbr', pads('.GTL')]] : [])];
    for (const [file, side] of sides) {
      for (const land of lands(path.join(dir, file))) assert.ok(side.has(key(land)), `${file} land ${key(land)}`);
    }
    if (doubleSided) {
      for (const hit of parsed['board-NPTH.drl']?.flashes ?? []) {
        for (const side of copper) assert.ok(!side.has(key(hit)), `non-plated hit ${key(hit)} has a pad`);
      }
    }
    fs.rmSync(dir, {recursive: true, force: true});
  });
}
