'use strict';

// Costs of the addon seen from JavaScript, per bar, for a small and a large
// chart: handing the bars over, running a six-line formula, and the two
// live-update paths (a new bar, the forming bar replaced) each followed by
// a run. Prints a plain text table; asserts nothing.

const { NodeCompiler } = require('../index.js');

const FORMULA = [
  'MID:(HIGH+LOW)/2;',
  'RNG:HIGH-LOW;',
  'UP:=CLOSE>OPEN;',
  'X:UP*VOL;',
  'Y:(CLOSE-OPEN)/(RNG+1);',
  'Z:MID*2-LOW;',
].join('\n');

// A deterministic random walk of daily bars.
function randomWalkBars(count, seed = 42) {
  let state = seed >>> 0;
  const nextUnit = () => {
    state = (state + 0x6d2b79f5) >>> 0;
    let t = state;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
  const bars = new Array(count);
  let close = 100;
  for (let i = 0; i < count; i++) {
    const open = close;
    close = open * (1 + (nextUnit() - 0.5) * 0.02);
    bars[i] = {
      t: 946857600000 + 86400000 * i,
      o: open,
      h: Math.max(open, close) * (1 + nextUnit() * 0.005),
      l: Math.min(open, close) * (1 - nextUnit() * 0.005),
      c: close,
      v: Math.round(1000 + nextUnit() * 1000),
    };
  }
  return bars;
}

// Mean nanoseconds of one call of `body` over `repeats` calls.
function meanNs(repeats, body) {
  body();  // warm-up
  const start = process.hrtime.bigint();
  for (let i = 0; i < repeats; i++) body();
  return Number(process.hrtime.bigint() - start) / repeats;
}

function measure(count) {
  const bars = randomWalkBars(count + 1);
  const extra = bars.pop();
  const repeats = count >= 1000000 ? 3 : 30;
  const compiler = new NodeCompiler(FORMULA);
  const report = compiler.Compile();
  if (report !== '') throw new Error(`the bench formula does not compile: ${report}`);
  compiler.SetPeriod(1440);

  const rows = [];
  const setData = meanNs(repeats, () => compiler.SetData(bars));
  rows.push([count, 'SetData', setData / count, setData]);
  const run = meanNs(repeats, () => compiler.Run());
  rows.push([count, 'Run (6 lines)', run / count, run]);
  const append = meanNs(repeats, () => {
    compiler.AppendData([extra]);
    compiler.Run();
  });
  rows.push([count, 'AppendData(1 row)+Run', append / count, append]);
  const replace = meanNs(repeats, () => {
    compiler.ReplaceLastData(extra);
    compiler.Run();
  });
  rows.push([count, 'ReplaceLastData+Run', replace / count, replace]);
  return rows;
}

function main() {
  const header = ['bars', 'operation', 'ns/bar', 'ms/call'];
  const lines = [];
  for (const count of [10000, 1000000]) {
    for (const [bars, operation, perBar, perCall] of measure(count)) {
      lines.push([String(bars), operation, perBar.toFixed(1), (perCall / 1e6).toFixed(3)]);
    }
  }
  printTable(header, lines);
  process.stdout.write('(AppendData and ReplaceLastData rows: per bar of the whole series)\n');
}

// Prints rows of text cells aligned under `header`: the second column (the
// operation) to the left, the others to the right.
function printTable(header, lines) {
  const widths = header.map((title, column) =>
    Math.max(title.length, ...lines.map((line) => line[column].length)));
  const format = (cells) => cells
    .map((cell, column) => (column === 1 ? cell.padEnd(widths[column]) : cell.padStart(widths[column])))
    .join('  ');
  process.stdout.write(`${format(header)}\n`);
  for (const line of lines) process.stdout.write(`${format(line)}\n`);
}

module.exports = { main, randomWalkBars, meanNs, printTable };

if (require.main === module) main();
