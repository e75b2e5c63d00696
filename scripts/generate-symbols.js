#!/usr/bin/env node
'use strict';

// Writes N reproducible synthetic symbols as CSV files (SYM0001.csv, ...):
//   node scripts/generate-symbols.js --count 1000 --bars 5000 --out data/generated [--seed 1]

const fs = require('fs');
const path = require('path');
const { parseArgs } = require('util');
const { syntheticBars, symbolName, barsCsv } = require('../lib/screen/synthetic');

const USAGE = 'usage: node scripts/generate-symbols.js --out DIR [--count N] [--bars N] [--seed N]';

function whole(text, name, min) {
  const n = Number(text);
  if (!Number.isInteger(n) || n < min) throw new Error(`--${name} must be a whole number of at least ${min}: ${text}`);
  return n;
}

function main() {
  let v;
  try {
    v = parseArgs({
      options: {
        out: { type: 'string' },
        count: { type: 'string', default: '1000' },
        bars: { type: 'string', default: '5000' },
        seed: { type: 'string', default: '1' },
      },
    }).values;
    if (v.out === undefined) throw new Error('--out is required');
    v.count = whole(v.count, 'count', 1);
    v.bars = whole(v.bars, 'bars', 1);
    v.seed = whole(v.seed, 'seed', 0);
  } catch (err) {
    process.stderr.write(`${err.message}\n${USAGE}\n`);
    return 2;
  }
  fs.mkdirSync(v.out, { recursive: true });
  for (let k = 0; k < v.count; k++) {
    const file = path.join(v.out, `${symbolName(k, v.count)}.csv`);
    fs.writeFileSync(file, barsCsv(syntheticBars(k, v.bars, v.seed)));
  }
  process.stdout.write(`${v.count} symbols of ${v.bars} bars in ${v.out}\n`);
  return 0;
}

process.exitCode = main();
