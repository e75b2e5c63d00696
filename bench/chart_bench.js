'use strict';

// The standard chart set (MACD 12/26/9, stochastic 9/3/3 with J, Bollinger
// 20/2, RSI 14, MA 5/10/20/60: 14 output lines) at 100,000 and 1,000,000
// bars, per path of the module, in nanoseconds per bar, next to a plain
// JavaScript loop over Float64Arrays that computes the same 14 series in
// this process (its buffers reused between rounds). Also the peak memory of
// one full run beyond the held bars and the returned result, measured in a
// child process per path. Asserts nothing.
//
//   node bench/chart_bench.js [bars...]

const fs = require('fs');
const { spawnSync } = require('child_process');
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

// ---- Peak memory of one run, in a child process ----------------------------

function statusBytes(name) {
  const text = fs.readFileSync('/proc/self/status', 'utf8');
  const match = new RegExp(`${name}:\\s+(\\d+) kB`).exec(text);
  return match ? Number(match[1]) * 1024 : NaN;
}

// In the child: loads the bars, lets go of everything else, resets the
// kernel's high-water mark, runs once and prints what the run took at its
// peak beyond the resident memory before it and the returned result.
function peakChild(kind, count) {
  // The bars are built a chunk at a time, so that no large garbage of the
  // loading is still being given back while the run is measured.
  const chunk = 10000;
  let run;
  if (kind === 'text') {
    const compiler = new NodeCompiler(CHART_SET);
    compiler.Compile();
    compiler.SetPeriod(1440);
    for (let start = 0; start < count; start += chunk) {
      const bars = randomWalkBars(Math.min(chunk, count - start), 42 + start);
      for (let i = 0; i < bars.length; i++) bars[i].t += 86400000 * start;
      compiler.AppendData(bars);
    }
    run = () => compiler.Run();
  } else {
    const f = compile(CHART_SET);
    f.period = 1440;
    for (let start = 0; start < count; start += chunk) {
      const bars = randomWalkBars(Math.min(chunk, count - start), 42 + start);
      for (let i = 0; i < bars.length; i++) bars[i].t += 86400000 * start;
      f.appendBars(columnsOf(bars));
    }
    run = () => f.run();
  }
  global.gc();
  global.gc();
  fs.writeFileSync('/proc/self/clear_refs', '5');
  const before = statusBytes('VmRSS');
  const result = run();
  const peak = statusBytes('VmHWM');
  const resultBytes = kind === 'text' ? result.length
    : result.outputs.reduce((sum, o) => sum + o.values.byteLength, 0);
  process.stdout.write(JSON.stringify({ beyond: (peak - before - resultBytes) / count, result: resultBytes / count }));
}

// Bytes per bar of one run of `kind` ('text' or 'typed'), or null where the
// kernel does not tell (not Linux).
function peakOf(kind, count) {
  if (!fs.existsSync('/proc/self/clear_refs')) return null;
  const child = spawnSync(process.execPath, ['--expose-gc', __filename, '--peak', kind, String(count)],
    { encoding: 'utf8', maxBuffer: 1 << 20 });
  try {
    return JSON.parse(child.stdout);
  } catch {
    return null;
  }
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

// The mean cost of a tick over many in a row, the garbage of earlier full
// runs collected first (so that the ticks pay only for their own).
function tickNs(ticks, body) {
  if (global.gc) global.gc();
  return meanNs(ticks, body);
}

function measure(count) {
  const bars = randomWalkBars(count + 1);
  const extra = bars.pop();
  const big = count >= 1000000;
  const repeats = big ? 3 : 20;
  const ticks = 200;
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
  // Full runs: new bars make every node start again; the cost of setting
  // them is taken off. The plain loop takes turns with them, so that the
  // ratio compares rounds on the same machine state.
  const names = ['dif', 'dea', 'macd', 'k', 'd', 'j', 'mid', 'upper', 'lower', 'rsi', 'ma5', 'ma10', 'ma20', 'ma60'];
  const out = Object.fromEntries(names.map((name) => [name, new Float64Array(count)]));
  const full = bestNs(big ? 5 : 20, {
    setData: () => compiler.SetData(bars),
    setDataRun: () => {
      compiler.SetData(bars);
      compiler.Run();
    },
    setColumns: () => f.setBars(cols),
    setColumnsRun: () => {
      f.setBars(cols);
      f.run();
    },
    loop: () => plainLoop(cols, out),
  });
  const run = full.setDataRun - full.setData;
  const typedRun = full.setColumnsRun - full.setColumns;
  row('NodeCompiler Run (full)', run);
  compiler.Run();
  row('NodeCompiler Run (nothing changed)', meanNs(repeats, () => compiler.Run()));
  let bump = 0;
  const tick = () => ({ ...extra, c: extra.c * (1 + 1e-4 * (bump++ % 7)) });
  const replaceRun = tickNs(ticks, () => {
    compiler.ReplaceLastData(tick());
    compiler.Run();
  });
  row('NodeCompiler ReplaceLastData+Run', replaceRun);
  row('NodeCompiler AppendData+Run', tickNs(ticks, () => {
    compiler.AppendData([{ ...extra, t: extra.t + 86400000 * ++bump }]);
    compiler.Run();
  }));
  // Formula: typed results.
  row('Formula setBars (objects)', load.objects);
  row('Formula setBars (columns)', load.columns);
  row('Formula run (full)', typedRun);
  f.setBars(cols);
  f.run();
  let last = extra.t;
  const replaceTail = tickNs(ticks, () => {
    f.replaceLastBar({ ...tick(), t: last });
    f.runTail();
  });
  row('Formula replaceLastBar+runTail', replaceTail);
  row('Formula appendBars+runTail', tickNs(ticks, () => {
    last += 86400000;
    f.appendBars([{ ...extra, t: last }]);
    f.runTail();
  }));
  row('JS: read 6 properties of each bar', load.read);
  row('JS: plain Float64Array loop, 14 series', full.loop);
  if (sink === 42) process.stdout.write('');

  const memory = [];
  for (const [what, kind] of [['NodeCompiler Run', 'text'], ['Formula run', 'typed']]) {
    const peak = peakOf(kind, count);
    if (peak) memory.push([what, peak.beyond, peak.result]);
  }
  const ratios = [
    ['Formula run / plain loop', typedRun / full.loop],
    ['NodeCompiler ReplaceLastData+Run / Run', replaceRun / run],
    ['Formula replaceLastBar+runTail / run', replaceTail / typedRun],
    ['SetData / reading 6 properties', load.setData / load.read],
  ];
  return { rows, memory, ratios };
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
    for (const [what, ratio] of ratios) {
      lines.push([String(count), `ratio ${what}`, ratio.toFixed(ratio < 0.01 ? 5 : 2), '']);
    }
    for (const [what, beyond, result] of memory) {
      memoryLines.push([String(count), what, beyond.toFixed(0), result.toFixed(0)]);
    }
  }
  printTable(['bars', 'operation', 'ns/bar', 'ms/call'], lines);
  process.stdout.write('(tick rows: ns per bar of the whole chart for one tick)\n\n');
  printTable(['bars', 'peak memory of one full run (bytes/bar)', 'beyond bars+result', 'result'],
    memoryLines);
}

module.exports = { main, CHART_SET, plainLoop };

if (require.main === module) {
  if (process.argv[2] === '--peak') {
    peakChild(process.argv[3], Number(process.argv[4]));
  } else {
    const counts = process.argv.slice(2).map(Number).filter((n) => n > 0);
    main(counts.length ? counts : undefined);
  }
}
