'use strict';

// Helpers of the screen suites: a folder of generated symbols with a few bad
// files among them, the reference results of single run() calls, a free port.

const fs = require('node:fs');
const net = require('node:net');
const os = require('node:os');
const path = require('node:path');

const ROOT = path.join(__dirname, '..', '..', '..');
const engine = require(ROOT);
const { syntheticBars, symbolName, barsCsv } = require(path.join(ROOT, 'lib', 'screen', 'synthetic'));

// Files that cannot be read as bars, each reported as the symbol's error.
const BAD_FILES = {
  'BAD_GARBAGE.csv': 'this is not,a price file\n\u0000\u0001\u0002,,,\n',
  'BAD_NOCLOSE.csv': 't,o,h,l,v\n946857600000,1,2,0.5,100\n',
};

// `count` generated symbols whose bar counts vary from `minBars` up.
function makeMarket(count, { minBars = 30, step = 7, seed = 3, bad = false } = {}) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'formula-screen-'));
  const symbols = [];
  for (let k = 0; k < count; k++) {
    const symbol = symbolName(k, count);
    const bars = syntheticBars(k, minBars + step * k, seed);
    fs.writeFileSync(path.join(dir, `${symbol}.csv`), barsCsv(bars));
    symbols.push(symbol);
  }
  if (bad) {
    for (const [name, text] of Object.entries(BAD_FILES)) fs.writeFileSync(path.join(dir, name), text);
  }
  return { dir, glob: path.join(dir, '*.csv'), symbols, remove: () => fs.rmSync(dir, { recursive: true, force: true }) };
}

function valueOf(x) {
  return Number.isFinite(x) ? x : null;
}

// What one symbol should report: a loop of single compile/setBars/run calls.
async function reference(formula, file, { period = 0, last = 1 } = {}) {
  const f = engine.compile(formula);
  f.setBars(await engine.loadBars(file));
  f.period = period;
  const values = {};
  for (const { name, values: series } of f.run().outputs) {
    const tail = [];
    for (let k = series.length - last; k < series.length; k++) tail.push(k >= 0 ? valueOf(series[k]) : null);
    values[name] = last === 1 ? tail[0] : tail;
  }
  return values;
}

// A loopback port with nothing listening on it.
function freePort() {
  return new Promise((resolve) => {
    const server = net.createServer().listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
  });
}

async function collect(iterable) {
  const out = [];
  for await (const r of iterable) out.push(r);
  return out;
}

module.exports = { ROOT, engine, makeMarket, reference, collect, freePort, BAD_FILES };
