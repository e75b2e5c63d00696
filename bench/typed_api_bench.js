'use strict';

// Costs of the typed API (compile / Formula) per bar, beside the exact
// interface's on the same six-line formula: handing bars over as objects and
// as Float64Array columns, run() (typed arrays built by the addon) against
// Run() (JSON text), and the live-update paths. Prints a table; asserts nothing.

const { compile, NodeCompiler } = require('../index.js');
const { randomWalkBars, meanNs, printTable } = require('./addon_bench.js');

const FORMULA = 'MID:(HIGH+LOW)/2;\nRNG:HIGH-LOW;\nUP:=CLOSE>OPEN;\nX:UP*VOL;\nY:(CLOSE-OPEN)/(RNG+1);\nZ:MID*2-LOW;';

function columnsOf(bars) {
  const columns = {};
  for (const key of ['t', 'o', 'h', 'l', 'c', 'v']) columns[key] = Float64Array.from(bars, (bar) => bar[key]);
  return columns;
}

function measure(count) {
  const bars = randomWalkBars(count + 1);
  const extra = bars.pop();
  const columns = columnsOf(bars);
  const repeats = count >= 1000000 ? 3 : 30;
  const formula = compile(FORMULA, { period: 1440 });
  const exact = new NodeCompiler(FORMULA);
  exact.Compile();
  exact.SetData(bars);
  exact.SetPeriod(1440);
  const rows = [];
  const add = (operation, ns) => rows.push([count, operation, ns / count, ns]);
  add('setBars(objects)', meanNs(repeats, () => formula.setBars(bars)));
  add('setBars(columns)', meanNs(repeats, () => formula.setBars(columns)));
  add('run() (6 lines)', meanNs(repeats, () => formula.run()));
  // A second Run() without a change hands over the kept text: new bars make
  // it run in full, and their cost is taken off.
  const setData = meanNs(repeats, () => exact.SetData(bars));
  add('Run() exact, same formula', meanNs(repeats, () => {
    exact.SetData(bars);
    exact.Run();
  }) - setData);
  add('appendBars(1)+run()', meanNs(repeats, () => formula.appendBars([extra]).run()));
  add('replaceLastBar+run()', meanNs(repeats, () => formula.replaceLastBar(extra).run()));
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
  process.stdout.write('\n=== Typed API, from JavaScript\n');
  printTable(header, lines);
}

module.exports = { main };

if (require.main === module) main();
