'use strict';

// screen() in local mode against a loop of single run() calls.

const { describe, test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const path = require('node:path');

const { ROOT, engine, makeMarket, reference, collect, BAD_FILES } = require('./helpers/screen.js');
const { screen } = engine; // the package's own export

const SIGNALS = 'S:CROSS(MA(C,5),MA(C,20)); R:SMA(MAX(C-REF(C,1),0),14,1)/SMA(ABS(C-REF(C,1)),14,1)*100;';

let market;
const expected = new Map(); // formula + options -> symbol -> values

before(() => { market = makeMarket(14, { bad: true }); });
after(() => market.remove());

async function expectedFor(formula, options = {}) {
  const key = JSON.stringify([formula, options]);
  if (!expected.has(key)) {
    const bySymbol = new Map();
    for (const symbol of market.symbols) {
      bySymbol.set(symbol, await reference(formula, path.join(market.dir, `${symbol}.csv`), options));
    }
    expected.set(key, bySymbol);
  }
  return expected.get(key);
}

describe('screen: values equal single runs; bad files reported in their place', () => {
  const bad = Object.keys(BAD_FILES).map((f) => f.replace(/\.csv$/, ''));
  const cases = [
    ['two lines, one a series of flags', SIGNALS, {}],
    ['an indicator over the last 4 bars', 'DIF:EMA(CLOSE,12)-EMA(CLOSE,26); DEA:EMA(DIF,9); M:(DIF-DEA)*2;', { last: 4 }],
    ['a window longer than the short symbols', 'LONG:MA(C,100); TOP:HHV(HIGH,250);', {}],
    ['the period reaches the formula', 'P:PERIOD; X:C*PERIOD;', { period: 60 }],
    ['a drawing among the lines', "M:MA(C,3); DRAWTEXT(C>O,L,'up'); V2:V/1000;", { last: 2 }],
  ];
  for (const [label, formula, options] of cases) {
    for (const workers of [1, 2]) {
      test(`${label}, ${workers} worker(s)`, async () => {
        const want = await expectedFor(formula, options);
        const got = await collect(screen({ formula, symbols: market.glob, workers, batch: 3, ...options }));
        // Every symbol once, in file-name order ('B' sorts before 'S').
        assert.deepEqual(got.map((r) => r.symbol), [...bad, ...market.symbols]);
        for (const r of got) {
          if (!bad.includes(r.symbol)) {
            assert.deepEqual(r, { symbol: r.symbol, values: want.get(r.symbol) });
            continue;
          }
          assert.match(r.error, /./, r.symbol);
          const empty = options.last > 1 ? Array(options.last).fill(null) : null;
          const names = Object.keys(want.get(market.symbols[0]));
          assert.deepEqual(r.values, Object.fromEntries(names.map((name) => [name, empty])), r.symbol);
        }
      });
    }
  }
});

describe('screen: where, sort and top', () => {
  // The independent picture: filter, then order by the last value with
  // symbols without a value last and ties in file order, then cut.
  function pick(want, { where, sort, asc, top }) {
    let rows = market.symbols.map((symbol, index) => ({ symbol, index, values: want.get(symbol) }));
    if (where) rows = rows.filter((r) => r.values[where] !== null && r.values[where] !== 0);
    if (sort) {
      rows.sort((a, b) => {
        const x = a.values[sort];
        const y = b.values[sort];
        if (x === null && y === null) return a.index - b.index;
        if (x === null) return 1;
        if (y === null) return -1;
        return (asc ? x - y : y - x) || a.index - b.index;
      });
    }
    return rows.slice(0, top ?? rows.length).map((r) => r.symbol);
  }

  const formula = 'UP:C>REF(C,1); R:SMA(MAX(C-REF(C,1),0),14,1)/SMA(ABS(C-REF(C,1)),14,1)*100; T:ROUND(R/25);';
  const cases = [
    { where: 'UP' },
    { sort: 'R' },
    { sort: 'R', asc: true },
    { sort: 'T' }, // many ties: file order among equals
    { sort: 'R', top: 3 },
    { top: 5 },
    { where: 'UP', sort: 'R', asc: true, top: 2 },
  ];
  for (const options of cases) {
    test(JSON.stringify(options), async () => {
      const want = await expectedFor(formula);
      const got = await collect(screen({ formula, symbols: market.glob, workers: 2, ...options }));
      const good = got.filter((r) => r.error === undefined);
      assert.deepEqual(good.map((r) => r.symbol), pick(want, options));
      for (const r of good) assert.deepEqual(r.values, want.get(r.symbol));
      const failed = got.filter((r) => r.error !== undefined).map((r) => r.symbol);
      assert.deepEqual(failed, Object.keys(BAD_FILES).map((f) => f.replace(/\.csv$/, '')), 'errors always listed');
    });
  }
});

describe('screen: symbols given in memory', () => {
  test('columns, typed columns and bar objects give the values of their files', async () => {
    const want = await expectedFor(SIGNALS, { last: 3 });
    const symbols = [];
    for (const [k, symbol] of market.symbols.slice(0, 6).entries()) {
      const bars = await engine.loadBars(path.join(market.dir, `${symbol}.csv`));
      const plain = Object.fromEntries(Object.entries(bars).map(([key, col]) => [key, Array.from(col)]));
      const objects = plain.c.map((c, i) => ({ t: plain.t[i], o: plain.o[i], h: plain.h[i], l: plain.l[i], c, v: plain.v[i] }));
      symbols.push({ symbol, bars: [bars, plain, objects][k % 3] });
    }
    const got = await collect(screen({ formula: SIGNALS, symbols, workers: 2, batch: 1, last: 3 }));
    assert.deepEqual(got, symbols.map(({ symbol }) => ({ symbol, values: want.get(symbol) })));
  });
});

describe('screen: refused before any work', () => {
  const refusals = [
    ['a formula that does not compile', { formula: 'A:MA(C,5;', symbols: '/no/such/*.csv' }, { name: 'FormulaError' }],
    ['where names no output', { formula: SIGNALS, where: 'Q' }, RangeError],
    ['sort names no output', { formula: SIGNALS, sort: 'S2' }, RangeError],
    ['a symbol without bars', { formula: SIGNALS, symbols: [{ symbol: 'A' }] }, TypeError],
    ['symbols of the wrong kind', { formula: SIGNALS, symbols: 42 }, TypeError],
    ['a zero top', { formula: SIGNALS, top: 0 }, RangeError],
    ['a fractional worker count', { formula: SIGNALS, workers: 1.5 }, RangeError],
  ];
  for (const [label, options, error] of refusals) {
    test(label, async () => {
      let progressed = false;
      const run = collect(screen({ symbols: market.glob, ...options, onProgress: () => { progressed = true; } }));
      await assert.rejects(run, error);
      assert.equal(progressed, false);
    });
  }
});
