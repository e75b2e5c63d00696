'use strict';

// Random and hostile formula texts through Compile and Run: each call must
// return a string (a report or an output), never throw or crash.

const { describe, test } = require('node:test');
const assert = require('node:assert/strict');

const { NodeCompiler, barsWithCloses, seededRandom } = require('./helpers/formula.js');

const WORDS = [
  'C', 'CLOSE', 'O', 'H', 'L', 'VOL', 'V', 'MA', 'EMA', 'SMA', 'REF', 'REFX', 'SUM', 'IF', 'CROSS',
  'HHV', 'LLV', 'COUNT', 'BARSLAST', 'STD', 'MAX', 'MIN', 'ABS', 'SQRT', 'POW', 'MOD', 'SAR',
  'FILTER', 'BACKSET', 'DRAWTEXT', 'DRAWLINE', 'STICKLINE', 'PARTLINE2', 'DRAWNUMBER', 'COLORRGB',
  'PERIOD', 'DATE', 'BARPOS', 'NULL', 'DRAWNULL', 'COLORRED', 'LINETHICK2', 'NODRAW', 'AND', 'OR',
  'A', 'B', 'X', 'ma', '_x', '\u6307\u6807',
];
const SYMBOLS = [
  ':', ':=', ';', ',', '(', ')', '+', '-', '*', '/', '>', '>=', '<', '<=', '=', '!=', '<>', '&&',
  '||', '&', '|', '!', ' ', '\n', '\t', '\r', '//', "'", '"', '#', '\0', '\u00ff', '\ud800',
];
const NUMBERS = ['0', '1', '-1', '5', '2.5', '.5', '1.2.3', '-100000', '1e308', '99999999999999999999', '0.000001'];
const VALID = [
  'A:C;', 'MA5:MA(CLOSE,5);', 'X:IF(C>O,H,L),COLORRED;', "DRAWTEXT(C>O,L,'up');",
  'A:=REF(C,1); B:C-A;', 'S:SUM(VOL,0);', 'M:HHV(H,3)-LLV(L,3),LINETHICK2;',
  'X:CROSS(MA(C,2),MA(C,3));', 'STICKLINE(C>O,C,O,0.8,0);', 'Z:NULL;', 'P:PERIOD*BARPOS;',
  'K:SMA(C,3,1); D:EMA(K,2);', 'N:COUNT(C>O,0)+BARSLAST(C<O);', "PARTLINE2(C,C>O,'red',C<O,'blue');",
];

function pick(random, list) {
  return list[Math.floor(random() * list.length)];
}

function randomFormula(random) {
  const parts = [];
  const length = 1 + Math.floor(random() * 24);
  for (let i = 0; i < length; i++) {
    const r = random();
    if (r < 0.4) parts.push(pick(random, WORDS));
    else if (r < 0.8) parts.push(pick(random, SYMBOLS));
    else parts.push(pick(random, NUMBERS));
  }
  return parts.join(random() < 0.5 ? '' : ' ');
}

function mutate(random, text) {
  const chars = [...text];
  const edits = 1 + Math.floor(random() * 4);
  for (let e = 0; e < edits; e++) {
    const at = Math.floor(random() * (chars.length + 1));
    const r = random();
    if (r < 0.33) chars.splice(at, 1);
    else if (r < 0.66) chars.splice(at, 0, pick(random, random() < 0.5 ? SYMBOLS : NUMBERS));
    else chars.splice(at, 1, pick(random, WORDS));
  }
  return chars.join('');
}

// Compiles and, whatever Compile said, runs; both must give strings.
function exercise(formula, bars, period) {
  const compiler = new NodeCompiler(formula);
  const report = compiler.Compile();
  assert.equal(typeof report, 'string', JSON.stringify(formula));
  compiler.SetData(bars);
  compiler.SetPeriod(period);
  const output = compiler.Run();
  assert.equal(typeof output, 'string', JSON.stringify(formula));
  return { report, output };
}

const SHORT_BARS = [[], barsWithCloses([1]), barsWithCloses([3, 1, 4, 1, 5, 9, 2, 6, 5, 3, 5, 8])];

describe('fuzz', () => {
  test('3,000 random token soups', () => {
    const random = seededRandom(20240315);
    for (let i = 0; i < 3000; i++) exercise(randomFormula(random), pick(random, SHORT_BARS), i % 7);
  });

  test('3,000 mutations of valid formulas', () => {
    const random = seededRandom(7);
    for (let i = 0; i < 3000; i++) {
      let text = pick(random, VALID);
      if (random() < 0.3) text += pick(random, VALID);
      exercise(mutate(random, text), pick(random, SHORT_BARS), 1440);
    }
  });

  test('random bytes, NUL bytes and bytes above 0x7F', () => {
    const random = seededRandom(99);
    for (let i = 0; i < 500; i++) {
      const bytes = Array.from({ length: 1 + Math.floor(random() * 40) }, () => Math.floor(random() * 256));
      exercise(String.fromCharCode(...bytes), SHORT_BARS[2], 5);
      exercise(Buffer.from(bytes).toString('latin1'), SHORT_BARS[1], 5);
    }
    for (const text of ['A:C;\0B:O;', '\0', 'A:\0;', '\u00e4:C;', '\u6307\u6807:C;', '\ud800:C;', 'A:C; // \u00ff\0\n B:O;']) {
      exercise(text, SHORT_BARS[2], 5);
    }
  });

  test('a name of bytes above 0x7F is a variable', () => {
    const { report, output } = exercise('\u6307\u6807:C;', barsWithCloses([2]), 0);
    assert.equal(report, '');
    assert.match(output, /"name":"\u6307\u6807","datas":\[2\.000000\]/);
  });

  test('a megabyte of text; beyond 1 MiB Compile throws a RangeError', () => {
    const bars = barsWithCloses([1, 2, 3]);
    const texts = [
      'A:=C;\n'.repeat(170000),
      `// ${'x'.repeat(1000000)}\nA:C;`,
      `A:${'1+'.repeat(300000)}1;`,
      `${'Q'.repeat(1000000)}:C;`,
      `A:'${'s'.repeat(1000000)}';`,
      'A:C'.repeat(300000),
    ];
    for (const text of texts) exercise(text, bars, 0);
    for (const text of [`// ${'x'.repeat(2000000)}\nA:C;`, 'A:=C;\n'.repeat(200000)]) {
      assert.throws(() => new NodeCompiler(text).Compile(), RangeError);
    }
  });

  test('deep nesting of parentheses, calls and operators', () => {
    const bars = barsWithCloses([1, 2, 3]);
    const texts = [
      `A:${'('.repeat(5000)}1${')'.repeat(5000)};`,
      `A:${'('.repeat(5000)}1;`,
      `A:${')'.repeat(5000)};`,
      `A:${'ABS('.repeat(5000)}C${')'.repeat(5000)};`,
      `A:${'MA('.repeat(3000)}C${',2)'.repeat(3000)};`,
      `A:${'(1+'.repeat(5000)}1${')'.repeat(5000)};`,
      `A:1${',('.repeat(5000)};`,
    ];
    for (const text of texts) exercise(text, bars, 0);
  });

  test('hostile arguments to functions over short series', () => {
    const args = ['0', '-1', '1e308', '-1e308', '99999999999', 'NULL', "'text'", 'C', '(0/0)', '(1/0)'];
    const bars = [[], barsWithCloses([1]), barsWithCloses([1, 2, 3])];
    for (const name of ['MA', 'EMA', 'REF', 'SUM', 'HHV', 'LLV', 'COUNT', 'STD', 'MAX', 'POW', 'MOD', 'ROUND2', 'DMA']) {
      for (const arg of args) {
        for (const rows of bars) exercise(`X:${name}(C,${arg}); Y:${name}(${arg},${arg});`, rows, 0);
      }
    }
  });
});
