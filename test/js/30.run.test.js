'use strict';

const { describe, test } = require('node:test');
const assert = require('node:assert/strict');

const {
  NOT_COMPILED, NodeCompiler, barsWithCloses, compiled, datasOf,
} = require('./helpers/formula.js');

describe('run: bad arguments', () => {
  const notNumbers = [
    ['no argument', []],
    ['undefined', [undefined]],
    ['null', [null]],
    ['a numeric string', ['5']],
    ['a BigInt', [5n]],
    ['a Number object', [new Number(5)]],
    ['an object with valueOf', [{ valueOf: () => 5 }]],
    ['a boolean', [true]],
  ];
  for (const [label, args] of notNumbers) {
    test(`SetPeriod with ${label} throws a TypeError`, () => {
      assert.throws(() => new NodeCompiler('X:C;').SetPeriod(...args),
        { name: 'TypeError', message: 'SetPeriod: expected a number' });
    });
  }

  test('Run before Compile, or after a failed first Compile, reports that the formula is not compiled', () => {
    const compiler = new NodeCompiler('X:C;');
    compiler.SetData(barsWithCloses([1]));
    assert.equal(compiler.Run(), NOT_COMPILED);
    const failed = new NodeCompiler('X:C');
    assert.notEqual(failed.Compile(), '');
    assert.equal(failed.Run(), NOT_COMPILED);
  });
});

describe('run: compile reports through the addon', () => {
  // The reports themselves are checked by the C++ suites (test/golden); here
  // only that they pass through unchanged, positions on later lines and the
  // report without a place included, and that Compile ignores its arguments.
  const report = (line, column, code, text, desc) =>
    `{ "line" : ${line}, "column" : ${column}, "err_code" : ${code}, "err_exp" : "${text}", "desc" : "${desc}" }`;
  const cases = [
    ['A:1;\nB:2 # 3;', report(2, 3, 10005, 'Illegal character. ', '#')],
    ["'open", report(0, 0, 10005, 'Illegal character. ', 'unknown')],
    ['B:1;\n  A>1;', report(2, 2, 10007, 'Illegal statement. ', 'Property')],
  ];
  for (const [formula, expected] of cases) {
    test(`Compile of ${JSON.stringify(formula)}`, () => {
      const compiler = new NodeCompiler(formula);
      assert.equal(compiler.Compile('B', 1, null), expected);
      assert.equal(compiler.Compile(), expected, 'a second Compile reports the same');
    });
  }
});

describe('run: behaviour', () => {
  test('Run twice with unchanged rows returns the same text', () => {
    const compiler = compiled('A:C+1; B:C*O;', barsWithCloses([1, 2.5, 3]));
    const first = compiler.Run();
    assert.equal(compiler.Run(), first);
    assert.deepEqual(datasOf(first, 'A'), ['2.000000', '3.500000', '4.000000']);
    assert.deepEqual(datasOf(first, 'B'), ['1.000000', '6.250000', '9.000000']);
  });

  test('Run on zero bars gives empty series', () => {
    assert.equal(compiled('X:C;').Run(),
      '{"out_vars":[{"name":"X","datas":[],"draw":{"draw_name":"","draw_text":"","draw_type":0,'
      + '"draw_kline_datas":[],"draw_positions":[],"part_lines":[],"draw_numbers":[],"draw_sls":[],'
      + '"stick_lines":[] },"properties":[]}],"error_info":""}');
  });
});

describe('run: SetPeriod', () => {
  // [argument, the period PERIOD then shows: x | 0 widened with its sign to
  // 64 bits, printed as a double]
  const periods = [
    [1440, '1440.000000'],
    [5.9, '5.000000'],
    [-0.5, '0.000000'],
    [NaN, '0.000000'],
    [Infinity, '0.000000'],
    [-Infinity, '0.000000'],
    [2 ** 32 + 5, '5.000000'],
    [2 ** 31 - 1, '2147483647.000000'],
    [2 ** 31, '18446744071562067968.000000'],
    [-1, '18446744073709551616.000000'],
    [-(2 ** 32) - 7, '18446744073709551616.000000'],
    [1e300, '0.000000'],
  ];
  for (const [period, expected] of periods) {
    test(`SetPeriod(${period})`, () => {
      const compiler = compiled('P:PERIOD;', barsWithCloses([1]));
      assert.equal(compiler.SetPeriod(period), undefined);
      assert.deepEqual(datasOf(compiler.Run(), 'P'), [expected]);
    });
  }

  test('Compile sets the period back to 0, also one set before the first Compile', () => {
    const compiler = compiled('P:PERIOD;', barsWithCloses([1]), 5);
    assert.deepEqual(datasOf(compiler.Run(), 'P'), ['5.000000']);
    assert.equal(compiler.Compile(), '');
    assert.deepEqual(datasOf(compiler.Run(), 'P'), ['0.000000']);
    const early = new NodeCompiler('P:PERIOD;');
    early.SetPeriod(5);
    assert.equal(early.Compile(), '');
    early.SetData(barsWithCloses([1]));
    assert.deepEqual(datasOf(early.Run(), 'P'), ['0.000000']);
  });
});
