'use strict';

// Hostile formula texts through the binding's Compile and Run: each call must
// return a string (a report or an output), never throw or crash. Random
// formulas over the whole core are the libFuzzer target's job (fuzz/), and
// hostile arguments of every function the registry sweep's; here the texts
// test what only the binding sees: bytes that are not ASCII, NUL, lone
// surrogates, megabytes, deep nesting.

const { describe, test } = require('node:test');
const assert = require('node:assert/strict');

const { NodeCompiler, barsWithCloses } = require('./helpers/formula.js');

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
  test('random bytes, NUL bytes and bytes above 0x7F', () => {
    let state = 99; // a fixed linear congruential sequence in [0, 1)
    const random = () => (state = (state * 1103515245 + 12345) % 2147483648) / 2147483648;
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

  test('a megabyte of text, and deep nesting of parentheses, calls and operators', () => {
    const texts = [
      'A:=C;\n'.repeat(170000),
      `// ${'x'.repeat(1000000)}\nA:C;`,
      `A:${'1+'.repeat(300000)}1;`,
      `${'Q'.repeat(1000000)}:C;`,
      `A:'${'s'.repeat(1000000)}';`,
      'A:C'.repeat(300000),
      `A:${'('.repeat(5000)}1${')'.repeat(5000)};`,
      `A:${'('.repeat(5000)}1;`,
      `A:${')'.repeat(5000)};`,
      `A:${'ABS('.repeat(5000)}C${')'.repeat(5000)};`,
      `A:${'MA('.repeat(3000)}C${',2)'.repeat(3000)};`,
      `A:${'(1+'.repeat(5000)}1${')'.repeat(5000)};`,
      `A:1${',('.repeat(5000)};`,
    ];
    for (const text of texts) exercise(text, barsWithCloses([1, 2, 3]), 0);
  });
});
