'use strict';

// Incremental runs seen from JavaScript: Formula.runTail() after ticks gives
// exactly the tail of a full run on a fresh formula, with drawing items of the
// changed bars only, in arrays the caller owns; NodeCompiler.Run() after
// ticks gives the same text as a full run.

const { describe, test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('fs');
const path = require('path');

const ROOT = path.join(__dirname, '..', '..');
const { compile, NodeCompiler } = require(ROOT);

const CHART_SET = require(path.join(ROOT, 'bench', 'chart_bench.js')).CHART_SET;
const SHOWCASE = fs.readFileSync(path.join(ROOT, 'examples', 'formulas', 'drawing_showcase.txt'), 'utf8');

// A deterministic walk; bar i has time i days after 2020-01-02.
function makeBar(i, seed = 1) {
  const x = Math.sin(i * 0.37 + seed) * 10 + Math.cos(i * 0.11) * 5 + 100;
  return { t: Date.UTC(2020, 0, 2) + i * 86400000, o: x - 0.5, h: x + 1.5, l: x - 1.5, c: x, v: 1000 + (i % 17) };
}

// One tick on `held` (a plain copy of the bars): 'append' a bar, or replace
// the last one with a small 'move' or a 'jump' that crosses the averages.
// Returns [method, argument] for the formula.
function tick(held, kind, i, seed = 1) {
  if (kind === 'append') {
    held.push(makeBar(held.length, seed));
    return ['append', held.at(-1)];
  }
  const last = held.at(-1);
  const c = kind === 'jump' ? last.c * (i % 2 ? 1.2 : 0.8) : last.c + 0.01 * (i % 5);
  held[held.length - 1] = { ...last, c, h: Math.max(last.h, c), l: Math.min(last.l, c) };
  return ['replace', held.at(-1)];
}

describe('Formula.runTail', () => {
  const sequences = [
    // [name, formula, ticks, the expected from (held bars - 1) or null]
    ['chart set, replaced last bar', CHART_SET, ['move', 'move', 'jump', 'jump', 'move'], true],
    ['chart set, appended bars', CHART_SET, ['append', 'move', 'append', 'append', 'jump'], true],
    ['drawings', SHOWCASE, ['jump', 'append', 'jump', 'move', 'append', 'jump'], false],
    ['look-ahead', 'X:BACKSET(C>REF(C,1),4);Y:REFX(C,2);', ['jump', 'append', 'move'], false],
  ];
  for (const [name, text, ticks, lastBarOnly] of sequences) {
    test(name, () => {
      const held = Array.from({ length: 120 }, (_, i) => makeBar(i));
      const f = compile(text, { period: 1440, bars: held });
      assert.equal(f.runTail().from, 0, 'the first run is all new');
      ticks.forEach((kind, i) => {
        const [method, bar] = tick(held, kind, i);
        if (method === 'append') f.appendBars([bar]);
        else f.replaceLastBar(bar);
        const tail = f.runTail();
        const expected = compile(text, { period: 1440, bars: held }).run().outputs;
        if (lastBarOnly) assert.equal(tail.from, held.length - 1);
        assert.ok(tail.from >= 0 && tail.from <= held.length, `from ${tail.from}`);
        assert.deepEqual(tail.outputs.map((o) => [o.name, o.properties, o.drawing && o.drawing.kind]),
          expected.map((o) => [o.name, o.properties, o.drawing && o.drawing.kind]));
        tail.outputs.forEach((output, k) => {
          const want = expected[k];
          // Object.is: the same bits, NaN included.
          assert.equal(output.values.length, Math.max(0, want.values.length - tail.from), output.name);
          output.values.forEach((v, b) => assert.ok(Object.is(v, want.values[tail.from + b]),
            `${output.name} bar ${tail.from + b}: ${v} != ${want.values[tail.from + b]}`));
          if (want.drawing) {
            assert.deepEqual(output.drawing.items, want.drawing.items.filter((item) => item.index >= tail.from));
          }
        });
      });
    });
  }

  test('nothing changed: an empty tail; the returned arrays stay the caller\'s', () => {
    const held = Array.from({ length: 10 }, (_, i) => makeBar(i));
    const f = compile('X:MA(C,3);', { bars: held });
    const all = f.run().outputs[0].values;
    const again = f.runTail();
    assert.equal(again.from, 10);
    assert.equal(again.outputs[0].values.length, 0);
    const kept = Float64Array.from(all);
    all.fill(0); // the caller's own array: the engine's values are not touched
    f.replaceLastBar(tick(held, 'jump', 0)[1]);
    const tail = f.runTail();
    assert.equal(tail.from, 9);
    assert.deepEqual(f.run().outputs[0].values.slice(0, 9), kept.slice(0, 9));
    assert.ok(Object.is(tail.outputs[0].values[0], compile('X:MA(C,3);', { bars: held }).run().outputs[0].values[9]));
  });
});

test('NodeCompiler.Run after ticks and a prepend gives the text of a full run', () => {
  // [formula, bars]: texts from 256 KB on come in pieces of the last text
  // written whole; look-ahead outputs change bars inside it.
  const cases = [
    [CHART_SET, 80],
    [SHOWCASE, 80],
    ['X:=C;A:X*2;X:=X+1;B:X;C2:COUNT(C>O,0);', 80],
    [CHART_SET, 2500],
    ['X:BACKSET(C>REF(C,1),4);Y:REFX(C,2);Z:MA(C,3);', 12000],
  ];
  for (const [text, count] of cases) {
    const live = new NodeCompiler(text);
    assert.equal(live.Compile(), '');
    live.SetPeriod(1440);
    const held = Array.from({ length: count }, (_, i) => makeBar(i, 2));
    live.SetData(held);
    live.Run();
    for (let i = 0; i <= 12; i++) {
      const kind = i % 4 === 0 ? 'append' : i % 3 === 0 ? 'jump' : 'move';
      if (i === 6) {
        held.unshift(makeBar(-1, 2));
        live.AppendData([held[0]], true);
      } else {
        const [method, bar] = tick(held, kind, i, 2);
        if (method === 'append') live.AppendData([bar]);
        else live.ReplaceLastData(bar);
      }
      const fresh = new NodeCompiler(text);
      fresh.Compile();
      fresh.SetPeriod(1440);
      fresh.SetData(held);
      const want = fresh.Run();
      const where = `${count} bars, tick ${i} (${i === 6 ? 'prepend' : kind})`;
      assert.equal(live.Run(), want, where);
      if (i % 5 === 0) assert.equal(live.Run(), want, `${where}, run again`);
    }
  }
});
