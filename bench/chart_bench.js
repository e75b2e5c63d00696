'use strict';

// The standard chart set (MACD 12/26/9, stochastic 9/3/3 with J, Bollinger
// 20/2, RSI 14, MA 5/10/20/60: 14 output lines) at 100,000 and 1,000,000
// bars, per path of the module, in nanoseconds per bar, next to a plain
// JavaScript loop over Float64Arrays that computes the same 14 series in
// this process (its buffers reused between rounds). Also the peak memory of
// one run beyond the held bars and the returned result. Asserts nothing.
//
//   node bench/chart_bench.js [bars...]

const fs = require('fs');
const { NodeCompiler, compile } = require('../index.js');
const { randomWalkBars, meanNs, printTable } = require('./addon_bench.js');

const CHART_SET = [
  'DIF:EMA(CLOSE,12)-EMA(CLOSE,26);',
  'DEA:EMA(DIF,9);',
  'MACD:(DIF-DEA)*2;',
  'RSV:=(CLOSE-LLV(LOW,9))/(HHV(HIGH,9)-LLV(LOW,9))*100;',
  'K:SMA(RSV,3,1);',
  'D:SMA(K,3,1);',
  'J:3*K-2*D;',
  'MID:MA(CLOSE,20);',
  'UPPER:MID+2*STD(CLOSE,20);',
  'LOWER:MID-2*STD(CLOSE,20);',
  'LC:=REF(CLOSE,1);',
  'RSI:SMA(MAX(CLOSE-LC,0),14,1)/SMA(ABS(CLOSE-LC),14,1)*100;',
  'MA5:MA(CLOSE,5);',
  'MA10:MA(CLOSE,10);',
  'MA20:MA(CLOSE,20);',
  'MA60:MA(CLOSE,60);',
].join('\n');

// ---- The plain loop: the 14 series, buffers kept between rounds ----------

function plainLoop(cols, out) {
  const { c, h, l } = cols;
  const n = c.length;
  const { dif, dea, macd, k, d, j, mid, upper, lower, rsi, ma5, ma10, ma20, ma60 } = out;
  let e12 = c[0]; let e26 = c[0]; let e9 = 0; let kk = 0; let dd = 0; let up = 0; let dn = 0;
  let s5 = 0; let s10 = 0; let s20 = 0; let s60 = 0; let q20 = 0;
  for (let i = 0; i < n; i++) {
    const x = c[i];
    e12 = i ? (e12 * 11 + 2 * x) / 13 : x;
    e26 = i ? (e26 * 25 + 2 * x) / 27 : x;
    dif[i] = e12 - e26;
    e9 = i ? (e9 * 8 + 2 * dif[i]) / 10 : dif[i];
    dea[i] = e9;
    macd[i] = (dif[i] - e9) * 2;
    let hh = -Infinity; let ll = Infinity;
    for (let b = i < 8 ? 0 : i - 8; b <= i; b++) {
      if (h[b] > hh) hh = h[b];
      if (l[b] < ll) ll = l[b];
    }
    const rsv = hh === ll ? 0 : (x - ll) / (hh - ll) * 100;
    kk = i ? (kk * 2 + rsv) / 3 : rsv;
    dd = i ? (dd * 2 + kk) / 3 : kk;
    k[i] = kk; d[i] = dd; j[i] = 3 * kk - 2 * dd;
    s5 += x; s10 += x; s20 += x; s60 += x; q20 += x * x;
    if (i >= 5) s5 -= c[i - 5];
    if (i >= 10) s10 -= c[i - 10];
    if (i >= 20) { s20 -= c[i - 20]; q20 -= c[i - 20] * c[i - 20]; }
    if (i >= 60) s60 -= c[i - 60];
    ma5[i] = i >= 4 ? s5 / 5 : NaN;
    ma10[i] = i >= 9 ? s10 / 10 : NaN;
    ma20[i] = i >= 19 ? s20 / 20 : NaN;
    ma60[i] = i >= 59 ? s60 / 60 : NaN;
    mid[i] = ma20[i];
    const sd = i >= 19 ? Math.sqrt(Math.max(0, (q20 - s20 * s20 / 20) / 19)) : NaN;
    upper[i] = mid[i] + 2 * sd;
    lower[i] = mid[i] - 2 * sd;
    if (i > 0) {
      const ch = x - c[i - 1];
      up = i > 1 ? (up * 13 + Math.max(ch, 0)) / 14 : Math.max(ch, 0);
      dn = i > 1 ? (dn * 13 + Math.abs(ch)) / 14 : Math.abs(ch);
      rsi[i] = dn === 0 ? 0 : up / dn * 100;
    } else {
      rsi[i] = NaN;
    }
  }
}

// ---- Measuring -------------------------------------------------------------

// Peak resident memory (bytes) while `body` runs, above the resident memory
// before it: the kernel's high-water mark is reset first.
function peakAbove(body) {
  const status = () => fs.readFileSync('/proc/self/status', 'utf8');
  const field = (text, name) => Number(new RegExp(`${name}:\\s+(\\d+) kB`).exec(text)[1]) * 1024;
  try {
    fs.writeFileSync('/proc/self/clear_refs', '5');
  } catch {
    return NaN;  // not Linux, or not allowed
  }
  if (global.gc) global.gc();
  const before = field(status(), 'VmRSS');
  const result = body();
  const peak = field(status(), 'VmHWM');
  return { extra: peak - before, result };
}

function columnsOf(bars) {
  const n = bars.length;
  const cols = { t: new Float64Array(n), o: new Float64Array(n), h: new Float64Array(n),
    l: new Float64Array(n), c: new Float64Array(n), v: new Float64Array(n) };
  bars.forEach((b, i) => {
    cols.t[i] = b.t; cols.o[i] = b.o; cols.h[i] = b.h; cols.l[i] = b.l; cols.c[i] = b.c; cols.v[i] = b.v;
  });
  return cols;
}

// The best of `rounds` rounds of each body, the bodies taking turns: on a
// busy machine noise only adds, and every body sees the same heap.
function bestNs(rounds, bodies) {
  if (global.gc) global.gc();  // no collection of earlier garbage under way
  const best = {};
  for (const [name, body] of Object.entries(bodies)) {
    body();  // warm-up
    best[name] = Infinity;
  }
  for (let round = 0; round < rounds; round++) {
    for (const [name, body] of Object.entries(bodies)) {
      const start = process.hrtime.bigint();
      body();
      best[name] = Math.min(best[name], Number(process.hrtime.bigint() - start));
    }
  }
  return best;
}

function measure(count) {
  const bars = randomWalkBars(count + 1);
  const extra = bars.pop();
  const big = count >= 1000000;
  const repeats = big ? 3 : 20;
  const ticks = big ? 20 : 200;
  const rows = [];
  const row = (operation, ns, perCall = true) => rows.push([count, operation, ns / count, ns, perCall]);

  // NodeCompiler: text results.
  const compiler = new NodeCompiler(CHART_SET);
  const report = compiler.Compile();
  if (report !== '') throw new Error(`the chart set does not compile: ${report}`);
  compiler.SetPeriod(1440);
  const f = compile(CHART_SET);
  f.period = 1440;
  const cols = columnsOf(bars);
  // Loading: SetData next to its floor, reading the six properties of each
  // bar object in JavaScript; then setBars of columns, then of objects,
  // whose new arrays would leave garbage behind for the others.
  let sink = 0;
  const rounds = big ? 7 : 20;
  const load = {
    ...bestNs(rounds, {
      read: () => {
        for (let i = 0; i < bars.length; i++) {
          const b = bars[i];
          sink += b.t + b.o + b.h + b.l + b.c + b.v;
        }
      },
      setData: () => compiler.SetData(bars),
    }),
    ...bestNs(rounds, { columns: () => f.setBars(cols) }),
    ...bestNs(rounds, { objects: () => f.setBars(bars) }),
  };
  row('NodeCompiler SetData', load.setData);
  const setData = meanNs(repeats, () => compiler.SetData(bars));
  // A full run: new bars make every node start again (SetData's own cost
  // taken off); a second Run without a change only copies kept text.
  const run = meanNs(repeats, () => {
    compiler.SetData(bars);
    compiler.Run();
  }) - setData;
  row('NodeCompiler Run (full)', run);
  row('NodeCompiler Run (nothing changed)', meanNs(repeats, () => compiler.Run()));
  let bump = 0;
  const tick = () => ({ ...extra, c: extra.c * (1 + 1e-4 * (bump++ % 7)) });
  row('NodeCompiler ReplaceLastData+Run', meanNs(ticks, () => {
    compiler.ReplaceLastData(tick());
    compiler.Run();
  }));
  row('NodeCompiler AppendData+Run', meanNs(ticks, () => {
    compiler.AppendData([{ ...extra, t: extra.t + 86400000 * ++bump }]);
    compiler.Run();
  }));
  compiler.SetData(bars);
  const textPeak = peakAbove(() => compiler.Run());
  const textBytes = textPeak.result.length;

  // Formula: typed results.
  row('Formula setBars (objects)', load.objects);
  row('Formula setBars (columns)', load.columns);
  const setColumns = meanNs(repeats, () => f.setBars(cols));
  const typedRun = meanNs(repeats, () => {
    f.setBars(cols);
    f.run();
  }) - setColumns;
  row('Formula run (full)', typedRun);
  if (typeof f.runTail === 'function') {
    f.run();
    let last = extra.t;
    row('Formula replaceLastBar+runTail', meanNs(ticks, () => {
      f.replaceLastBar({ ...tick(), t: last });
      f.runTail();
    }));
    row('Formula appendBars+runTail', meanNs(ticks, () => {
      last += 86400000;
      f.appendBars([{ ...extra, t: last }]);
      f.runTail();
    }));
  }
  f.setBars(cols);
  const typedPeak = peakAbove(() => f.run());
  const typedBytes = typedPeak.result.outputs.reduce((sum, o) => sum + o.values.byteLength, 0);

  row('JS: read 6 properties of each bar', load.read);
  // The plain loop, buffers reused.
  const names = ['dif', 'dea', 'macd', 'k', 'd', 'j', 'mid', 'upper', 'lower', 'rsi', 'ma5', 'ma10', 'ma20', 'ma60'];
  const out = Object.fromEntries(names.map((name) => [name, new Float64Array(count)]));
  const loop = meanNs(repeats, () => plainLoop(cols, out));
  row('JS: plain Float64Array loop, 14 series', loop);
  if (sink === 42) process.stdout.write('');

  const memory = [
    ['NodeCompiler Run', (textPeak.extra - textBytes) / count, textBytes / count],
    ['Formula run', (typedPeak.extra - typedBytes) / count, typedBytes / count],
  ];
  return { rows, memory, ratios: { typedToLoop: typedRun / loop, setDataToRead: load.setData / load.read, run } };
}

function main(counts = [100000, 1000000]) {
  process.stdout.write('\n--- Standard chart set (14 output lines)\n');
  const lines = [];
  const memoryLines = [];
  for (const count of counts) {
    const { rows, memory, ratios } = measure(count);
    for (const [bars, operation, perBar, perCall] of rows) {
      lines.push([String(bars), operation, perBar.toFixed(perBar < 1 ? 4 : 1), (perCall / 1e6).toFixed(3)]);
    }
    lines.push([String(count), 'ratio Formula run / plain loop', ratios.typedToLoop.toFixed(2), '']);
    lines.push([String(count), 'ratio SetData / reading 6 properties', ratios.setDataToRead.toFixed(2), '']);
    for (const [what, beyond, result] of memory) {
      memoryLines.push([String(count), what, beyond.toFixed(0), result.toFixed(0)]);
    }
  }
  printTable(['bars', 'operation', 'ns/bar', 'ms/call'], lines);
  process.stdout.write('(tick rows: ns per bar of the whole chart for one tick)\n\n');
  printTable(['bars', 'peak memory of one run', 'bytes/bar beyond bars+result', 'result bytes/bar'], memoryLines);
}

module.exports = { main, CHART_SET, plainLoop };

if (require.main === module) {
  const counts = process.argv.slice(2).map(Number).filter((n) => n > 0);
  main(counts.length ? counts : undefined);
}
