'use strict';

const { describe, test } = require('node:test');
const assert = require('node:assert/strict');

const {
  NOT_COMPILED, NodeCompiler, barsWithCloses, compiled, datasOf,
} = require('./helpers/formula.js');

function report(line, column, code, text, desc) {
  return `{ "line" : ${line}, "column" : ${column}, "err_code" : ${code}, "err_exp" : "${text}", "desc" : "${desc}" }`;
}
const ILLEGAL_CHARACTER = [10005, 'Illegal character. '];
const ILLEGAL_EXPRESSION = [10006, 'Illegal expression. '];
const ILLEGAL_STATEMENT = [10007, 'Illegal statement. '];

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

  test('Run before Compile reports that the formula is not compiled', () => {
    const compiler = new NodeCompiler('X:C;');
    compiler.SetData(barsWithCloses([1]));
    compiler.SetPeriod(5);
    assert.equal(compiler.Run(), NOT_COMPILED);
  });

  test('Run after a failed first Compile reports the same', () => {
    const compiler = new NodeCompiler('X:C');
    assert.notEqual(compiler.Compile(), '');
    assert.equal(compiler.Run(), NOT_COMPILED);
  });
});

describe('run: compile reports through the addon', () => {
  // The reports themselves are checked by the C++ suites (test/golden); here
  // only that they pass through unchanged, positions on later lines included.
  const cases = [
    ['A:=;', report(1, 3, ...ILLEGAL_EXPRESSION, ';')],
    ['A:1;\nB:2 # 3;', report(2, 3, ...ILLEGAL_CHARACTER, '#')],
    ["'open", report(0, 0, ...ILLEGAL_CHARACTER, 'unknown')],
    // A statement whose expression was dropped is refused at its first token.
    ['B:1;\n  A>1;', report(2, 2, ...ILLEGAL_STATEMENT, 'Property')],
    // 256 levels of nesting are accepted; the 257th parenthesis is refused.
    [`A:${'('.repeat(257)}1${')'.repeat(257)};`, report(1, 258, ...ILLEGAL_EXPRESSION, '(')],
  ];
  for (const [formula, expected] of cases) {
    test(`Compile of ${JSON.stringify(formula.slice(0, 40))}`, () => {
      const compiler = new NodeCompiler(formula);
      assert.equal(compiler.Compile(), expected);
      assert.equal(compiler.Compile(), expected, 'a second Compile reports the same');
    });
  }

  test('Compile ignores its arguments', () => {
    assert.equal(new NodeCompiler('A:C;').Compile('B', 1, null), '');
  });

  test('5,000 nested parentheses are refused, not a crash', () => {
    const formula = `A:${'('.repeat(5000)}1${')'.repeat(5000)};`;
    assert.match(new NodeCompiler(formula).Compile(), /"err_code" : 10006/);
  });

  test('256 levels of nesting compile and run', () => {
    const compiler = compiled(`A:${'('.repeat(256)}C${')'.repeat(256)};`, barsWithCloses([2]));
    assert.deepEqual(datasOf(compiler.Run(), 'A'), ['2.000000']);
  });
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

  test('each Run sees the rows as they are then', () => {
    const compiler = compiled('X:C;', barsWithCloses([1, 2]));
    assert.deepEqual(datasOf(compiler.Run(), 'X'), ['1.000000', '2.000000']);
    compiler.AppendData(barsWithCloses([3]));
    assert.deepEqual(datasOf(compiler.Run(), 'X'), ['1.000000', '2.000000', '3.000000']);
    compiler.ReplaceLastData({ c: 3.25 });
    assert.deepEqual(datasOf(compiler.Run(), 'X'), ['1.000000', '2.000000', '3.250000']);
    compiler.AppendData(barsWithCloses([0]), true);
    assert.deepEqual(datasOf(compiler.Run(), 'X'), ['0.000000', '1.000000', '2.000000', '3.250000']);
  });

  test('variables start empty on every run', () => {
    // B is read before its assignment: without a value on every run, not
    // only on the first.
    const compiler = compiled('A:B+1; B:=2;', barsWithCloses([1, 2]));
    assert.deepEqual(datasOf(compiler.Run(), 'A'), []);
    assert.deepEqual(datasOf(compiler.Run(), 'A'), []);
  });

  test('a second Compile keeps the rows', () => {
    const compiler = compiled('X:C;', barsWithCloses([4]));
    assert.equal(compiler.Compile(), '');
    assert.deepEqual(datasOf(compiler.Run(), 'X'), ['4.000000']);
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

  test('Compile sets the period back to 0', () => {
    const compiler = compiled('P:PERIOD;', barsWithCloses([1]), 5);
    assert.deepEqual(datasOf(compiler.Run(), 'P'), ['5.000000']);
    assert.equal(compiler.Compile(), '');
    assert.deepEqual(datasOf(compiler.Run(), 'P'), ['0.000000']);
  });

  test('SetPeriod before any Compile neither throws nor survives the Compile', () => {
    const compiler = new NodeCompiler('P:PERIOD;');
    compiler.SetPeriod(5);
    assert.equal(compiler.Compile(), '');
    compiler.SetData(barsWithCloses([1]));
    assert.deepEqual(datasOf(compiler.Run(), 'P'), ['0.000000']);
  });
});
