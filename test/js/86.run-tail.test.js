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

const DAY = 86400000;
const T0 = Date.UTC(2020, 0, 2);
const CHART_SET = require(path.join(ROOT, 'bench', 'chart_bench.js')).CHART_SET;
const SHOWCASE = fs.readFileSync(path.join(ROOT, 'examples', 'formulas', 'drawing_showcase.txt'), 'utf8');

// A deterministic walk; bar i has time T0 + i days.
function makeBar(i, seed = 1) {
  const x = Math.sin(i * 0.37 + seed) * 10 + Math.cos(i * 0.11) * 5 + 100;
  return { t: T0 + i * DAY, o: x - 0.5, h: x + 1.5, l: x - 1.5, c: x, v: 1000 + (i % 17) };
}

// Applies one tick to the formula and to a plain copy of its bars.
function tick(formula, held, kind, i) {
  if (kind === 'append') {
    const bar = makeBar(held.length);
    held.push(bar);
    formula.appendBars([bar]);
  } else {
    const last = held[held.length - 1];
    // Alternate small moves with jumps that cross the averages.
    const c = kind === 'jump' ? last.c * (i % 2 ? 1.2 : 0.8) : last.c + 0.01 * (i % 5);
    const bar = { ...last, c, h: Math.max(last.h, c), l: Math.min(last.l, c) };
    held[held.length - 1] = bar;
    formula.replaceLastBar(bar);
  }
}

function sameBits(a, b) {
  return Object.is(a, b);
}

describe('Formula.runTail', () => {
  const sequences = [
    // [name, formula, ticks]
    ['chart set, replaced last bar', CHART_SET, ['move', 'move', 'jump', 'jump', 'move']],
    ['chart set, appended bars', CHART_SET, ['append', 'move', 'append', 'append', 'jump']],
    ['drawings', SHOWCASE, ['jump', 'append', 'jump', 'move', 'append', 'jump']],
    ['look-ahead', 'X:BACKSET(C>REF(C,1),4);Y:REFX(C,2);', ['jump', 'append', 'move']],
  ];
  for (const [name, text, ticks] of sequences) {
    test(name, () => {
      const f = compile(text);
      f.period = 1440;
      const held = Array.from({ length: 120 }, (_, i) => makeBar(i));
      f.setBars(held);
      const first = f.runTail();
      assert.equal(first.from, 0, 'the first run is all new');
      ticks.forEach((kind, i) => {
        tick(f, held, kind, i);
        const tail = f.runTail();
        const full = compile(text);
        full.period = 1440;
        full.setBars(held);
        const expected = full.run().outputs;
        assert.ok(tail.from >= 0 && tail.from <= held.length, `from ${tail.from}`);
        if (kind === 'append' && name.startsWith('chart')) assert.equal(tail.from, held.length - 1);
        if (kind !== 'append' && name.startsWith('chart')) assert.equal(tail.from, held.length - 1);
        assert.equal(tail.outputs.length, expected.length);
        tail.outputs.forEach((output, k) => {
          const want = expected[k];
          assert.equal(output.name, want.name);
          assert.deepEqual(output.properties, want.properties);
          assert.equal(output.values.length, Math.max(0, want.values.length - tail.from), output.name);
          for (let b = 0; b < output.values.length; b++) {
            assert.ok(sameBits(output.values[b], want.values[tail.from + b]),
              `${output.name} bar ${tail.from + b}: ${output.values[b]} != ${want.values[tail.from + b]}`);
          }
          if (want.drawing) {
            const items = want.drawing.items.filter((item) => item.index >= tail.from);
            assert.deepEqual(output.drawing.items, items, `${output.name} items`);
            assert.equal(output.drawing.kind, want.drawing.kind);
          } else {
            assert.equal(output.drawing, null);
          }
        });
      });
    });
  }

  test('nothing changed: an empty tail; the returned arrays stay the caller\'s', () => {
    const f = compile('X:MA(C,3);');
    const held = Array.from({ length: 10 }, (_, i) => makeBar(i));
    f.setBars(held);
    const all = f.run().outputs[0].values;
    const again = f.runTail();
    assert.equal(again.from, 10);
    assert.equal(again.outputs[0].values.length, 0);
    const kept = Float64Array.from(all);
    all.fill(0);  // the caller's own array: the engine's values are not touched
    tick(f, held, 'jump', 0);
    const tail = f.runTail();
    assert.equal(tail.from, 9);
    const full = compile('X:MA(C,3);').setBars(held).run().outputs[0].values;
    assert.deepEqual(Array.from(f.run().outputs[0].values.slice(0, 9)), Array.from(kept.slice(0, 9)));
    assert.ok(sameBits(tail.outputs[0].values[0], full[9]));
  });

  test('prepending, replacing all bars and another period start from bar 0', () => {
    const f = compile('X:EMA(C,5);');
    const held = Array.from({ length: 20 }, (_, i) => makeBar(i + 5));
    f.setBars(held);
    f.run();
    f.prependBars([makeBar(4)]);
    assert.equal(f.runTail().from, 0);
    f.setBars(held);
    assert.equal(f.runTail().from, 0);
    f.period = 5;
    assert.equal(f.runTail().from, 0);
  });
});

describe('NodeCompiler.Run after ticks', () => {
  const formulas = [
    ['chart set', CHART_SET],
    ['drawings', SHOWCASE],
    ['a variable reassigned', 'X:=C;A:X*2;X:=X+1;B:X;C2:COUNT(C>O,0);'],
  ];
  for (const [name, text] of formulas) {
    test(`${name}: the same text as a full run`, () => {
      const live = new NodeCompiler(text);
      assert.equal(live.Compile(), '');
      live.SetPeriod(1440);
      const held = Array.from({ length: 80 }, (_, i) => makeBar(i, 2));
      live.SetData(held);
      live.Run();
      for (let i = 0; i < 30; i++) {
        const kind = i % 4 === 0 ? 'append' : i % 3 === 0 ? 'jump' : 'move';
        if (kind === 'append') {
          const bar = makeBar(held.length, 2);
          held.push(bar);
          live.AppendData([bar]);
        } else {
          const last = held[held.length - 1];
          const bar = { ...last, c: kind === 'jump' ? last.c * 1.1 : last.c + 0.001 };
          held[held.length - 1] = bar;
          live.ReplaceLastData(bar);
        }
        const fresh = new NodeCompiler(text);
        fresh.Compile();
        fresh.SetPeriod(1440);
        fresh.SetData(held);
        assert.equal(live.Run(), fresh.Run(), `tick ${i} (${kind})`);
      }
      // Prepending recomputes everything and still agrees.
      const older = makeBar(-1, 2);
      held.unshift(older);
      live.AppendData([older], true);
      const fresh = new NodeCompiler(text);
      fresh.Compile();
      fresh.SetPeriod(1440);
      fresh.SetData(held);
      assert.equal(live.Run(), fresh.Run(), 'after prepend');
    });
  }
});
