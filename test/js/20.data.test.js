'use strict';

const { describe, test } = require('node:test');
const assert = require('node:assert/strict');

const { NodeCompiler, barsWithCloses, compiled, datasOf } = require('./helpers/formula.js');

const NOT_ARRAYS = [
  ['undefined', undefined],
  ['null', null],
  ['a number', 5],
  ['a string', '[{"c":1}]'],
  ['an array-like object', { length: 1, 0: { c: 1 } }],
  ['a typed array', new Float64Array(2)],
];

const NOT_OBJECTS = [
  ['null', null],
  ['undefined', undefined],
];

// Primitive rows are read through their wrapper objects: every field is 0.
const PRIMITIVE_ROWS = [
  ['a number', 5],
  ['a string', 'abc'],
  ['a boolean', true],
  ['a symbol', Symbol('bar')],
  ['a bigint', 7n],
];

function closes(compiler) {
  return datasOf(compiler.Run(), 'X');
}

describe('data: bad arguments', () => {
  for (const method of ['SetData', 'AppendData']) {
    for (const [label, value] of NOT_ARRAYS) {
      test(`${method} with ${label} throws a TypeError`, () => {
        const compiler = new NodeCompiler('X:C;');
        assert.throws(() => compiler[method](value),
          { name: 'TypeError', message: `${method}: expected an array of bar objects` });
      });
    }
    for (const [label, row] of NOT_OBJECTS) {
      test(`${method} with a bar that is ${label} throws a TypeError naming the bar`, () => {
        const compiler = new NodeCompiler('X:C;');
        assert.throws(() => compiler[method]([{ c: 1 }, row]),
          { name: 'TypeError', message: `${method}: bar 1 is not an object` });
      });
    }
    test(`${method} with a hole in the array throws a TypeError`, () => {
      // eslint-disable-next-line no-sparse-arrays
      assert.throws(() => new NodeCompiler('X:C;')[method]([{ c: 1 }, , { c: 2 }]),
        { name: 'TypeError', message: `${method}: bar 1 is not an object` });
    });
  }

  for (const [label, row] of NOT_OBJECTS) {
    test(`ReplaceLastData with ${label} throws a TypeError`, () => {
      assert.throws(() => new NodeCompiler('X:C;').ReplaceLastData(row),
        { name: 'TypeError', message: 'ReplaceLastData: expected a bar object' });
    });
  }

  for (const method of ['SetData', 'AppendData']) {
    test(`${method} reads primitive rows as bars whose fields are 0`, () => {
      const compiler = compiled('X:C;', []);
      compiler[method]([{ c: 1 }, ...PRIMITIVE_ROWS.map(([, row]) => row), { c: 2 }]);
      assert.deepEqual(closes(compiler),
        ['1.000000', ...PRIMITIVE_ROWS.map(() => '0.000000'), '2.000000']);
    });
  }
  for (const [label, row] of PRIMITIVE_ROWS) {
    test(`ReplaceLastData with ${label} replaces the last bar by a bar of zeros`, () => {
      const compiler = compiled('X:C;', barsWithCloses([1, 2]));
      compiler.ReplaceLastData(row);
      assert.deepEqual(closes(compiler), ['1.000000', '0.000000']);
    });
  }
  test('a primitive row reads fields its prototype defines', () => {
    const compiler = compiled('X:C;', []);
    Object.defineProperty(Number.prototype, 'c', { get() { return this * 2; }, configurable: true });
    try {
      compiler.SetData([21, 'x']);
    } finally {
      delete Number.prototype.c;
    }
    assert.deepEqual(closes(compiler), ['42.000000', '0.000000']);
  });

  test('a refused call leaves the rows as they were', () => {
    const compiler = compiled('X:C;', barsWithCloses([1, 2]));
    const throwing = { get c() { throw new Error('bad getter'); } };
    assert.throws(() => compiler.SetData([{ c: 9 }, null]), TypeError);
    assert.throws(() => compiler.AppendData([{ c: 9 }, throwing]), { message: 'bad getter' });
    assert.throws(() => compiler.AppendData([{ c: 9 }, throwing], true), { message: 'bad getter' });
    assert.throws(() => compiler.ReplaceLastData(throwing), { message: 'bad getter' });
    assert.deepEqual(closes(compiler), ['1.000000', '2.000000']);
  });

  test('an error thrown by a field\'s toString passes through', () => {
    const compiler = new NodeCompiler('X:C;');
    const field = { toString() { throw new RangeError('no text'); } };
    assert.throws(() => compiler.SetData([{ o: field }]), { name: 'RangeError', message: 'no text' });
    assert.throws(() => compiler.SetData([{ v: Symbol('v') }]), TypeError);
  });
});

describe('data: field conversion', () => {
  // Each field is String(value) read like atof (a number taken as it is
  // must give the same); the expected texts are the output's six-decimal
  // form of that number.
  const cases = [
    ['a number', 10.5, '10.500000'],
    ['a number JavaScript writes in exponent form', 1e21, '1000000000000000000000.000000'],
    ['a tiny negative number', -1e-7, '-0.000000'],
    ['negative zero (String(-0) is "0")', -0, '0.000000'],
    ['NaN', NaN, 'nan'],
    ['a NaN with its sign bit set', new Float64Array(new BigUint64Array([0xfff8000000000000n]).buffer)[0], 'nan'],
    ['Infinity', Infinity, 'inf'],
    ['-Infinity', -Infinity, '-inf'],
    ['numeric text with trailing letters', '12abc', '12.000000'],
    ['text without a number', 'abc', '0.000000'],
    ['the empty text', '', '0.000000'],
    ['text with leading blanks', '  3.5', '3.500000'],
    ['text with an exponent', '1e3', '1000.000000'],
    ['hexadecimal text', '0x10', '16.000000'],
    ['the text "-0" (atof keeps the sign)', '-0', '-0.000000'],
    ['the text "-nan" (atof keeps the sign)', '-nan', '-nan'],
    ['the text Infinity', 'Infinity', 'inf'],
    ['text after 200 blanks', `${' '.repeat(200)}42`, '42.000000'],
    // Longer than the fast path's buffer; the double's exact decimal form.
    ['a 300-digit text', '1'.repeat(300), `${BigInt(Number('1'.repeat(300)))}.000000`],
    ['undefined', undefined, '0.000000'],
    ['null', null, '0.000000'],
    ['a boolean ("true")', true, '0.000000'],
    ['an object with toString', { toString: () => '7.25' }, '7.250000'],
    ['an array ("4,5")', [4, 5], '4.000000'],
    ['a BigInt', 10n, '10.000000'],
  ];
  for (const [label, value, expected] of cases) {
    test(`close given as ${label}`, () => {
      // Beside five numbers (the all-number path), alone, and in a call
      // that also brings a text.
      const bars = [{ c: value, o: 1, h: 1, l: 1, t: 0, v: 1 }, { c: value }];
      assert.deepEqual(closes(compiled('X:C;', bars)), [expected, expected]);
      assert.deepEqual(closes(compiled('X:C;', [...bars, { o: '1' }])), [expected, expected, '0.000000']);
    });
  }

  test('each of c, o, h, l, v lands in its own series and bar, numbers and texts alike', () => {
    const output = compiled('C1:C; O1:O; H1:H; L1:L; V1:VOL; D:(C - 0.3)*100000000000000000;', [
      { c: 1, o: 2, h: 3, l: 4, v: 5, t: 6 },
      { c: '11', o: 12, h: '13', l: 14, v: '15', t: 16 },
      { c: 0.1 + 0.2, o: '22', h: 23, l: '24', v: 25, t: '26' },
    ]).Run();
    assert.deepEqual(['C1', 'O1', 'H1', 'L1', 'V1'].map((name) => datasOf(output, name).map(parseFloat)),
      [[1, 11, 0.3], [2, 12, 22], [3, 13, 23], [4, 14, 24], [5, 15, 25]]);
    // 0.1 + 0.2 arrives with all 17 digits.
    assert.equal(datasOf(output, 'D')[2], '5.551115');
  });

  test('a bar without v has volume 0; the long keys are not read', () => {
    const output = compiled('X:C; V1:VOL;', [{ c: 2 }, { close: 5, vol: 7 }]).Run();
    assert.deepEqual(datasOf(output, 'X'), ['2.000000', '0.000000']);
    assert.deepEqual(datasOf(output, 'V1'), ['0.000000', '0.000000']);
  });

  test('getters are read once each, c o h l t v, before any conversion', () => {
    const log = [];
    const row = {};
    for (const key of ['v', 't', 'l', 'h', 'o', 'c']) {
      Object.defineProperty(row, key, {
        get() {
          log.push(`get ${key}`);
          return { toString() { log.push(`text ${key}`); return '1'; } };
        },
      });
    }
    new NodeCompiler('X:C;').SetData([row]);
    assert.deepEqual(log, ['get c', 'get o', 'get h', 'get l', 'get t', 'get v',
      'text c', 'text o', 'text h', 'text l', 'text t', 'text v']);
  });

  test('only a time whose text is empty makes a bar without time', () => {
    const bars = [{ t: '' }, {}, { t: null }, { t: 0 }, { t: { toString: () => '' } }, { t: 'x' }];
    // Calendar functions skip bars without time: only the two empty texts.
    assert.equal(datasOf(compiled('X:YEAR;', bars).Run(), 'X').length, 4);
  });

  test('the array length is read again before each element', () => {
    // The getter adds 5,000 bars: the reader's columns grow while it reads.
    const bars = [{ c: 1 }];
    Object.defineProperty(bars[0], 'c', {
      get() {
        for (let i = 2; i <= 5001; i++) bars.push({ c: i });
        return 1;
      },
    });
    const compiler = compiled('X:C;', []);
    compiler.SetData(bars);
    const got = closes(compiler);
    assert.equal(got.length, 5001);
    assert.deepEqual([got[0], got[1], got[5000]], ['1.000000', '2.000000', '5001.000000']);
  });
});

describe('data: row list', () => {
  test('SetData replaces the rows; an empty array leaves none', () => {
    const compiler = compiled('X:C;', barsWithCloses([1, 2, 3]));
    compiler.SetData(barsWithCloses([4]));
    assert.deepEqual(closes(compiler), ['4.000000']);
    compiler.SetData([]);
    assert.deepEqual(closes(compiler), []);
  });

  // [flag, closes after AppendData([3, 4], flag) on the rows [1, 2]]
  const flags = [
    ['no flag', [], ['1', '2', '3', '4']],
    ['false', [false], ['1', '2', '3', '4']],
    ['true', [true], ['3', '4', '1', '2']],
    ['1', [1], ['1', '2', '3', '4']],
    ['"true"', ['true'], ['1', '2', '3', '4']],
    ['a Boolean object', [new Boolean(true)], ['1', '2', '3', '4']],
  ];
  for (const [label, flag, expected] of flags) {
    test(`AppendData with the flag ${label}`, () => {
      const compiler = compiled('X:C;', barsWithCloses([1, 2]));
      compiler.AppendData(barsWithCloses([3, 4]), ...flag);
      assert.deepEqual(closes(compiler), expected.map((c) => `${c}.000000`));
    });
  }

  test('AppendData on no rows and with an empty array', () => {
    const compiler = compiled('X:C;');
    compiler.AppendData(barsWithCloses([1]));
    compiler.AppendData([]);
    compiler.AppendData([], true);
    assert.deepEqual(closes(compiler), ['1.000000']);
  });

  // [label, rows, the rows given to ReplaceLastData in turn, closes, volumes];
  // the new row is whole: its missing v is 0, not the old row's.
  const replacements = [
    ['replaces only the newest row', [{ c: 1 }, { c: 2 }, { c: 3, v: 50 }], [{ c: 9 }, { c: 8 }],
      ['1', '2', '8'], ['0', '0', '0']],
    ['on one row leaves exactly the new row', [{ c: 1, v: 50 }], [{ c: 6 }], ['6'], ['0']],
    ['on no rows appends the row', [], [{ c: 6, v: 7 }], ['6'], ['7']],
  ];
  for (const [label, rows, replaced, wantCloses, wantVolumes] of replacements) {
    test(`ReplaceLastData ${label}`, () => {
      const compiler = compiled('X:C; V1:VOL;', rows);
      for (const row of replaced) compiler.ReplaceLastData(row);
      const output = compiler.Run();
      assert.deepEqual(datasOf(output, 'X'), wantCloses.map((c) => `${c}.000000`));
      assert.deepEqual(datasOf(output, 'V1'), wantVolumes.map((v) => `${v}.000000`));
    });
  }

  test('rows handed in before Compile are kept by it', () => {
    const compiler = new NodeCompiler('X:C;');
    compiler.SetData(barsWithCloses([1]));
    compiler.AppendData(barsWithCloses([2]));
    assert.equal(compiler.Compile(), '');
    assert.deepEqual(closes(compiler), ['1.000000', '2.000000']);
  });

  test('changing the JavaScript array afterwards does not touch the rows', () => {
    const bars = barsWithCloses([1, 2]);
    const compiler = compiled('X:C;', bars);
    bars[0].c = 100;
    bars.push({ c: 3 });
    assert.deepEqual(closes(compiler), ['1.000000', '2.000000']);
  });

  test('a getter loading bars during SetData leaves each call its own', () => {
    // The inner calls must not share the columns the outer one reads into.
    const compiler = compiled('X:C;');
    const other = compiled('X:C;');
    const inner = barsWithCloses([7, 8, 9]);
    const row = { get c() { other.SetData(inner); compiler.SetData(inner); return 2; } };
    compiler.SetData([{ c: 1 }, row]);
    assert.deepEqual(closes(compiler), ['1.000000', '2.000000']);
    assert.deepEqual(closes(other), ['7.000000', '8.000000', '9.000000']);
  });
});
