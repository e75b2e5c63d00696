'use strict';

// Drawings of the typed API: every shape, its item fields, the bars it skips.

const { describe, test } = require('node:test');
const assert = require('node:assert/strict');
const path = require('path');

const { compile } = require(path.join(__dirname, '..', '..'));

// close, open, high, low: bars 0, 1 and 3 rise, bar 2 falls.
const BARS = [[10, 9.5, 11, 9], [12, 10, 12.5, 9.8], [11, 12, 12.2, 10.5], [13, 11, 13.5, 10.9]]
  .map(([c, o, h, l], i) => ({ t: Date.UTC(2020, 0, 2 + i), o, h, l, c, v: 1 }));
const time = (i) => BARS[i].t;

// [statement, kind, shape, record fields, items as [index, fields]]
const CASES = [
  ['DRAWKLINE(H,O,L,C);', 'DRAWKLINE', 'candles', {}, [0, 1, 2, 3].map((i) =>
    [i, { open: BARS[i].o, high: BARS[i].h, low: BARS[i].l, close: BARS[i].c }])],
  ['DRAWBARLINE(H,O,L,C);', 'DRAWBARLINE', 'candles', {}, [0, 1, 2, 3].map((i) =>
    [i, { open: BARS[i].o, high: BARS[i].h, low: BARS[i].l, close: BARS[i].c }])],
  ['DRAWKLINEEX(C>O,H,O,L,C);', 'DRAWKLINEEX', 'candles', {}, [0, 1, 3].map((i) =>
    [i, { open: BARS[i].o, high: BARS[i].h, low: BARS[i].l, close: BARS[i].c }])],
  ['STICKLINE(C>O,O,C,0.8,1);', 'STICKLINE', 'sticks', {}, [0, 1, 3].map((i) =>
    [i, { price1: BARS[i].o, price2: BARS[i].c, width: 0.8, attribute: 1 }])],
  ["PARTLINE2(C,C>O,'red',C>12,'blue');", 'PARTLINE2', 'line', {},
    [[0, { price: 10, color: 'red' }], [1, { price: 12, color: 'red' }], [2, { price: 11, color: '' }], [3, { price: 13, color: 'red' }]]],
  ['PARTLINE(C>O,C);', 'PARTLINE', 'line', {}, [[0, { price: 10 }], [1, { price: 12 }], [3, { price: 13 }]]],
  ['POLYLINE(C<O,L);', 'POLYLINE', 'line', {}, [[2, { price: 10.5 }]]],
  // A start at bar 0 (rise), the end at the first fall (bar 2), a new start at bar 3.
  ['DRAWLINE(C>O,L,C<O,H,1);', 'DRAWLINE', 'line', { extend: 1 }, [[0, { price: 9 }], [2, { price: 12.2 }], [3, { price: 10.9 }]]],
  ['VERTLINE(C<O,3);', 'VERTLINE', 'verticals', { width: 3 }, [[2, {}]]],
  ['DRAWSL(C>O,L,C-O,5,-1);', 'DRAWSL', 'segments', {}, [0, 1, 3].map((i) =>
    [i, { price: BARS[i].l, slope: BARS[i].c - BARS[i].o, length: 5, direction: -1 }])],
  ["DRAWTEXT(C>O,L,'up',2);", 'DRAWTEXT', 'marks', { text: 'up' }, [0, 1, 3].map((i) => [i, { price: BARS[i].l, offset: 2 }])],
  ['DRAWICON(C<O,H,3);', 'DRAWICON', 'marks', { icon: 3 }, [[2, { price: 12.2, offset: 0 }]]],
  ['DRAWNUMBER(C>O,H,C/3,2);', 'DRAWNUMBER', 'labels', {}, [[0, { price: 11, text: '3.33' }], [1, { price: 12.5, text: '4.00' }], [3, { price: 13.5, text: '4.33' }]]],
  // Rows whose price has no value (MA over 2 bars at bar 0) are skipped.
  ['PARTLINE(C>0,MA(C,2));', 'PARTLINE', 'line', {}, [[1, { price: 11 }], [2, { price: 11.5 }], [3, { price: 12 }]]],
];

describe('drawing shapes', () => {
  const outputs = compile(CASES.map(([statement]) => statement).join('\n')).setBars(BARS).run().outputs;
  CASES.forEach(([statement, kind, shape, fields, items], k) => {
    test(statement, () => {
      const output = outputs[k];
      assert.equal(output.name, kind);
      assert.equal(output.values.length, 0);
      assert.deepEqual(output.drawing, {
        kind, shape, ...fields,
        items: items.map(([index, item]) => ({ index, time: time(index), ...item })),
      });
    });
  });

  const refused = [
    "DRAWTEXT(C>O,L,5);",                 // the text is a number
    "PARTLINE2(C,C>O,5);",                // the colour is a number
    'DRAWLINE(C>O,L,C<O,H,C);',           // the expand flag is a series
    'DRAWNUMBER(C>O,H,C,C);',             // the decimals are a series
  ];
  for (const statement of refused) {
    test(`${statement} refused by its function: an empty drawing, not null`, () => {
      const [output] = compile(statement).setBars(BARS).run().outputs;
      assert.deepEqual(output.drawing, { kind: null, shape: null, items: [] });
    });
  }

  test('a call of a function that does not draw is a line with values', () => {
    const [output] = compile('MA(C,2);').setBars(BARS).run().outputs;
    assert.equal(output.drawing, null);
    assert.deepEqual(Array.from(output.values).slice(1), [11, 11.5, 12]);
  });

  test('drawing items over many bars keep their order and bar times', () => {
    const many = Array.from({ length: 3000 }, (_, i) => ({ t: i * 60000, o: 1, h: 2, l: 0, c: i % 2 }));
    const [output] = compile('DRAWICON(C>0,H,1);').setBars(many).run().outputs;
    assert.equal(output.drawing.items.length, 1500);
    output.drawing.items.forEach((item, k) => {
      assert.equal(item.index, 2 * k + 1);
      assert.equal(item.time, item.index * 60000);
    });
  });
});
