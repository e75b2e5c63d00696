'use strict';

// The chart page's decisions that need no browser: colours, line styles,
// panes, the time axis, drawing geometry and the editor's error position.

const { before, describe, test } = require('node:test');
const assert = require('node:assert/strict');
const path = require('node:path');

const ROOT = path.join(__dirname, '..', '..');
const { compile, loadBars } = require(ROOT);

let L;
let bars;
before(async () => {
  L = await import(path.join(ROOT, 'demo', 'public', 'logic.mjs'));
  bars = await loadBars(path.join(ROOT, 'examples', 'data', 'sp500_daily.csv'));
});

describe('demo page: colours and styles', () => {
  test('parseColor', () => {
    const cases = [
      ['COLORRED', L.NAMED_COLORS.COLORRED],
      ['colorred', L.NAMED_COLORS.COLORRED],
      ['green', L.NAMED_COLORS.COLORGREEN],
      ['COLORRGB(255,0,0)', 'rgb(255,0,0)'],
      ['COLORRGB(-1,300,7)', 'rgb(0,255,7)'],
      ['#ff8800', '#ff8800'],
      ['teal', 'teal'],
      ['', null],
      [undefined, null],
      ['COLORRGB(1,2)', null],
      ['red; background:url(x)', null],
    ];
    for (const [text, expected] of cases) assert.equal(L.parseColor(text), expected, String(text));
  });

  test('styleOf', () => {
    const base = { color: '#fff', width: 1, dotted: false, histogram: null, points: 0, hidden: false };
    const cases = [
      [[], base],
      [['COLORRED', 'LINETHICK3'], { ...base, color: L.NAMED_COLORS.COLORRED, width: 3 }],
      [['COLORSTICK'], { ...base, histogram: 'sign' }],
      [['VOLSTICK', 'COLORYELLOW'], { ...base, histogram: 'updown', color: L.NAMED_COLORS.COLORYELLOW }],
      [['STICK'], { ...base, histogram: 'plain' }],
      [['DOTLINE', 'COLORRGB(1,2,3)'], { ...base, dotted: true, color: 'rgb(1,2,3)' }],
      [['CIRCLEDOT'], { ...base, points: 2 }],
      [['POINTDOT'], { ...base, points: 1 }],
      [['NODRAW'], { ...base, hidden: true }],
      [['COLORRED', 'COLORBLUE'], { ...base, color: L.NAMED_COLORS.COLORBLUE }],
    ];
    for (const [properties, expected] of cases) {
      assert.deepEqual(L.styleOf(properties, '#fff'), expected, properties.join());
    }
  });

});

describe('demo page: panes', () => {
  // [formula, the pane of its last output]
  const cases = [
    ['M20:MA(CLOSE,20);', 'main'],
    ['S:SAR(10,2,20);', 'main'],
    ['UPPER:MA(C,20)+2*STD(C,20);', 'main'],
    ['DIF:EMA(CLOSE,12)-EMA(CLOSE,26);', 'lower'],
    ['RSI:SMA(MAX(C-REF(C,1),0),6,1)/SMA(ABS(C-REF(C,1)),6,1)*100;', 'lower'],
    ['X:C,COLORSTICK;', 'lower'],
    ['VV:VOL;', 'lower'],
    ['NN:NULL;', 'main'], // nothing to place: no pane of its own
    ["DRAWTEXT(C>O,LOW,'x');", 'main'],
    ['STICKLINE(C>O,O,C,1,0);', 'main'],
    ['DRAWKLINE(H,O,L,C);', 'main'],
    ['VERTLINE(C>O,1);', 'main'],
    ['DRAWNUMBER(C>O,50,C,2);', 'main'],
    ['K:=SMA((C-LLV(L,9))/(HHV(H,9)-LLV(L,9))*100,3,1);\nDRAWICON(K>80,K,2);', 'lower'],
    ["DRAWTEXT(C>10000000,LOW,'never');", 'main'],
  ];
  for (const [formula, pane] of cases) {
    test(`${formula.split('\n').at(-1)} goes to the ${pane} pane`, () => {
      const out = compile(formula).setBars(bars).run().outputs.at(-1);
      const got = out.drawing ? L.paneOfDrawing(out.drawing, bars) : L.paneOfLine(out.values, L.styleOf(out.properties, '#fff'), bars);
      assert.equal(got, pane);
    });
  }
});

describe('demo page: time axis and geometry', () => {
  test('chartTimes: seconds of rising times, else one day per bar', () => {
    assert.deepEqual(L.chartTimes([1000, 61000, 121999]), [1, 61, 121]);
    assert.deepEqual(L.chartTimes([5000, 5000]), [946684800, 946771200]);
    assert.deepEqual(L.chartTimes([9000, 1000]), [946684800, 946771200]);
    assert.deepEqual(L.chartTimes([0, NaN]), [946684800, 946771200]);
    assert.deepEqual(L.chartTimes([]), []);
  });

  test('nextTime: the bar time when it rises, else a day later', () => {
    assert.deepEqual([30000, 20000, NaN, undefined].map((ms) => L.nextTime([10, 20], ms)), [30, 86420, 86420, 86420]);
  });

  test('slopedSegment', () => {
    const at = (direction) => L.slopedSegment({ index: 10, price: 100, slope: 2, length: 3, direction });
    assert.deepEqual(at(1), [[10, 100], [13, 106]]);
    assert.deepEqual(at(-1), [[7, 94], [10, 100]]);
    assert.deepEqual(at(0), [[7, 94], [13, 106]]);
    assert.deepEqual(L.slopedSegment({ index: 2, price: 5, slope: 1, length: -4, direction: 1 }), [[2, 5], [2, 5]]);
  });

  test('linePairs and partRuns', () => {
    const items = [1, 2, 3, 7, 8, 12].map((index) => ({ index }));
    assert.deepEqual(L.linePairs(items).map((p) => p.map((i) => i.index)), [[1, 2], [3, 7], [8, 12]]);
    assert.deepEqual(L.linePairs(items.slice(0, 5)).length, 2);
    assert.deepEqual(L.partRuns(items).map((r) => r.map((i) => i.index)), [[1, 2, 3], [7, 8], [12]]);
    assert.deepEqual(L.partRuns([]), []);
  });

});

describe('demo page: error position in the editor', () => {
  const text = 'A:1;\nBB:=2 # 3;\n\nC';
  const cases = [
    [1, 0, 0],
    [1, 2, 2],
    [2, 6, 11],
    [3, 0, 16],
    [4, 0, 17],
    [0, 0, 0], // reported before the first line: the first line
    [2, 99, 15], // past the end of its line: the line's end
    [9, 0, 18], // past the last line: the text's end
  ];
  for (const [line, column, offset] of cases) {
    test(`line ${line}, column ${column} is offset ${offset}`, () => {
      assert.equal(L.errorOffset(text, line, column), offset);
    });
  }
});
