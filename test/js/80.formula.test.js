'use strict';

// The typed API: compile / FormulaError / Formula bars and run.

const { describe, test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('fs');
const path = require('path');

const ROOT = path.join(__dirname, '..', '..');
const { compile, Formula, FormulaError, NodeCompiler } = require(ROOT);

const DAY = 86400000;
const T0 = Date.UTC(2020, 0, 2);

function objectBars(closes) {
  return closes.map((c, i) => ({ t: T0 + i * DAY, o: c - 0.5, h: c + 1, l: c - 1, c, v: 100 + i }));
}

function valuesOf(formula, name) {
  const output = formula.run().outputs.find((o) => o.name === name);
  assert.ok(output, `no output ${name}`);
  return Array.from(output.values);
}

function thrown(fn) {
  try {
    fn();
  } catch (error) {
    return error;
  }
  assert.fail('expected a throw');
}

describe('compile errors', () => {
  const cases = [
    // [formula, code, line, column, token, message pattern]
    ['X:MAA(C,5);', 10007, 1, 2, 'MAA', /Unknown function 'MAA'.*Did you mean MA\b/],
    ['X:C+MAA;', 10001, 1, 4, 'MAA', /Unknown name 'MAA'.*Did you mean MA\b/],
    ['FAST:=MA(C,5);\nX:FASTT;', 10001, 2, 2, 'FASTT', /Did you mean FAST\b/],
    ['X:ma(C,5);', null, 1, null, null, /upper case.*MA/],
    ['X:MA(C,5,1);', 90000, 1, 2, 'MA', /MA takes 2 arguments, but 3 were given/],
    ['X:MA;', 90000, 1, 2, 'MA', /MA takes 2 arguments, but none was given/],
    ['DRAWICON(C>O,L,1,2,3);', 90000, 1, 0, 'DRAWICON', /3 or 4 arguments, but 5 were given/],
    ["PARTLINE2(C,C>O,'red',1);", 90000, 1, 0, 'PARTLINE2', /odd number of arguments, 3 or more, but 4/],
    ['MA5:MA(CLOSE,5)', 10007, 1, 14, ')', /Illegal statement.*does not end with a semicolon/],
    ['X:=C;\nX;', 10007, 2, 0, 'Property', /statement without ':' or ':='/],
    ['X:C;\nY:X+Z;', 10001, 2, 4, 'Z', /assigns it\.$/],
    ['X:C+"a";', 10005, 1, 4, '"', /single quotes/],
    ["DRAWTEXT(C>O,L,'up);", 10005, null, null, null, /not closed/],
    ['X:(C+1;', 10003, null, null, null, /parenthesis/],
  ];
  for (const [text, code, line, column, token, message] of cases) {
    test(JSON.stringify(text), () => {
      const error = thrown(() => compile(text));
      assert.ok(error instanceof FormulaError && error instanceof Error, String(error));
      assert.equal(error.name, 'FormulaError');
      assert.match(error.message, message);
      if (code !== null) assert.equal(error.code, code);
      if (line !== null) assert.equal(error.line, line);
      if (column !== null) assert.equal(error.column, column);
      if (token !== null) assert.equal(error.token, token);
      // The report is the exact interface's, and the fields agree with it.
      const report = new NodeCompiler(text).Compile();
      assert.equal(error.report, report);
      assert.deepEqual(JSON.parse(report.replace(/"desc" : ".*" }$/s, '"desc" : "" }')).err_code, error.code);
    });
  }

  const indexCases = [
    // [formula, the text at the error position]: index is a UTF-16 offset
    // while the engine's column counts UTF-8 bytes.
    ['甲:=C;\n乙:甲+MAA;', 'MAA'],
    ["A:='€ü';B:MAA;", 'MAA'],
    ['😀:=1;\r\nX:😀+FOO;', 'FOO'],
  ];
  for (const [text, at] of indexCases) {
    test(`index of the error in ${JSON.stringify(text)}`, () => {
      const error = thrown(() => compile(text));
      assert.equal(error.index, text.indexOf(at));
      assert.ok(text.slice(error.index).startsWith(error.token));
    });
  }

  test('a formula that is not a string, or bad options, is a TypeError', () => {
    for (const bad of [undefined, null, 42, {}, Buffer.from('X:C;')]) {
      assert.throws(() => compile(bad), TypeError);
    }
    assert.throws(() => compile('X:C;', 5), TypeError);
  });
});

describe('bars', () => {
  const closes = [10, 11, 12.5, 12, 13];
  const bars = objectBars(closes);
  const long = bars.map((b) => ({ time: new Date(b.t), open: b.o, high: b.h, low: b.l, close: b.c, volume: b.v }));
  const column = (key) => bars.map((b) => b[key]);
  const shapes = [
    ['short keys', bars],
    ['long keys with Date times', long],
    ['number[] columns', { t: column('t'), o: column('o'), h: column('h'), l: column('l'), c: column('c'), v: column('v') }],
    ['Float64Array columns', Object.fromEntries(['t', 'o', 'h', 'l', 'c', 'v'].map((k) => [k, Float64Array.from(column(k))]))],
    ['Float32Array and Int32Array columns', { t: column('t'), o: Float32Array.from(column('o')), h: column('h'), l: column('l'), c: column('c'), v: Int32Array.from(column('v')) }],
    ['long-named columns', { time: column('t'), open: column('o'), high: column('h'), low: column('l'), close: column('c'), volume: column('v') }],
  ];
  const text = 'X:C*1000+O*100+H*10+L+V/1000;\nY:DAY;\nZ:BARPOS;';
  const expectedX = bars.map((b) => b.c * 1000 + b.o * 100 + b.h * 10 + b.l + b.v / 1000);
  for (const [label, input] of shapes) {
    test(`${label} give the same values`, () => {
      const f = compile(text).setBars(input);
      assert.equal(f.length, 5);
      assert.deepEqual(valuesOf(f, 'X'), expectedX);
    });
  }

  test('volume may be absent (0); time may be absent (left out of time functions)', () => {
    const f = compile('X:V;\nY:YEAR;').setBars([{ o: 1, h: 2, l: 0.5, c: 1.5 }, { t: T0, o: 1, h: 2, l: 0.5, c: 1.5 }]);
    assert.deepEqual(valuesOf(f, 'X'), [0, 0]);
    assert.deepEqual(valuesOf(f, 'Y'), [2020]);
    const [, item] = compile('DRAWTEXT(C>0,C,\'x\');').setBars([{ o: 1, h: 2, l: 0.5, c: 1.5 }, { t: T0, o: 1, h: 2, l: 0.5, c: 1.5 }]).run().outputs[0].drawing.items;
    assert.equal(item.time, T0);
  });

  // 600 bars of Float64Array columns, some values replaced: the native checks
  // pass over whole blocks of good bars. A time column of another kind may
  // have holes (bars without time).
  const columnsWith = (...changes) => {
    const cols = { t: Float64Array.from({ length: 600 }, (_, i) => T0 + i * DAY) };
    for (const k of ['o', 'h', 'l', 'c', 'v']) cols[k] = new Float64Array(600).fill(1);
    for (const [key, at, value] of changes) cols[key][at] = value;
    return cols;
  };
  const withTimeHole = (cols, at) => ({ ...cols, t: Array.from(cols.t, (time, i) => (i === at ? undefined : time)) });
  const backwardsAfter = (at, before) => new RegExp(`^setBars: bar ${at}: time goes backwards \\(2020-01-02T00:00:00.000Z after ${new Date(T0 + before * DAY).toISOString()}\\)$`);
  const refused = [
    // [label, input, error class, message pattern]
    ['not an array', 'abc', TypeError, /expected an array/],
    ['a bar that is null', [bars[0], null], TypeError, /bar 1: bar is not an object/],
    ['a missing close', [bars[0], { ...bars[1], c: undefined }], TypeError, /bar 1: close is missing/],
    ['a misspelt field', [{ t: T0, o: 1, h: 2, l: 0, cl: 1 }], TypeError, /bar 0: close is missing/],
    ['a numeric string price', [{ ...bars[0], h: '10.5' }], TypeError, /bar 0: high is not a number/],
    ['a NaN price', [bars[0], bars[1], { ...bars[2], l: NaN }], RangeError, /bar 2: low is not finite/],
    ['a string time', [{ ...bars[0], t: '2020-01-01' }], TypeError, /bar 0: time is not a number or a Date/],
    ['an invalid Date', [{ ...bars[0], t: new Date('x') }], RangeError, /bar 0: time is an invalid Date/],
    ['a time going backwards', [bars[1], bars[0]], RangeError, /bar 1: time goes backwards/],
    ['columns of unequal length', { o: [1, 2], h: [1, 2], l: [1, 2], c: [1] }, RangeError, /has 2 values/],
    ['a column missing', { o: [1], h: [1], c: [1] }, TypeError, /column low \(l\) is missing/],
    ['a NaN in a Float64Array column', { o: [1, 1], h: [1, 1], l: [1, 1], c: new Float64Array([1, NaN]) }, RangeError, /bar 1: close is not finite/],
    ['an infinite open late in the columns', columnsWith(['o', 150, -Infinity]), RangeError, /^setBars: bar 150: open is not finite \(-Infinity\)$/],
    ['an infinite volume', columnsWith(['v', 199, Infinity]), RangeError, /^setBars: bar 199: volume is not finite/],
    ['a NaN in a Float64Array time column', columnsWith(['t', 70, NaN]), RangeError, /^setBars: bar 70: time is not finite \(NaN\)$/],
    ['Float64Array times going backwards', columnsWith(['t', 130, T0]), RangeError, backwardsAfter(130, 129)],
    ['an infinite time after times going backwards', columnsWith(['t', 130, T0], ['t', 500, Infinity]), RangeError, /^setBars: bar 500: time is not finite \(Infinity\)$/],
    ['a time going backwards after a bar without time', withTimeHole(columnsWith(['t', 256, T0]), 255), RangeError, backwardsAfter(256, 254)],
    ['a NaN close in the last bars', columnsWith(['c', 599, NaN]), RangeError, /^setBars: bar 599: close is not finite/],
  ];
  for (const [label, input, Kind, message] of refused) {
    test(`setBars refuses ${label} and keeps the held bars`, () => {
      const f = compile('X:C;').setBars(bars);
      const error = thrown(() => f.setBars(input));
      assert.ok(error instanceof Kind, `${error}`);
      assert.match(error.message, message);
      assert.equal(f.length, 5);
      assert.deepEqual(valuesOf(f, 'X'), closes);
    });
  }

  test('append, prepend and replace give what one setBars of the same bars gives', () => {
    const all = objectBars([5, 6, 7, 8, 9, 10, 11]);
    const text = 'A:MA(C,3);\nB:REF(C,1);\nD:BARSCOUNT(C);';
    const whole = compile(text).setBars(all).run().outputs;
    const f = compile(text).setBars(all.slice(2, 5));
    f.prependBars(all.slice(0, 2));
    f.appendBars(all.slice(5, 6));
    f.appendBars({ c: [99], o: [1], h: [100], l: [1], t: [all[6].t] });
    f.replaceLastBar(all[6]);
    assert.equal(f.length, 7);
    assert.deepEqual(f.run().outputs, whole);
  });

  const orderRefused = [
    ['appendBars before the last bar', (f, all) => f.appendBars([all[3], all[0]]), /^appendBars: bar 1: time goes backwards/],
    ['appendBars before the last timed bar', (f, all) => f.appendBars([{ ...all[1], t: undefined }, all[1]]), /^appendBars: bar 1: time goes backwards/],
    ['prependBars after the first bar', (f, all) => f.prependBars([all[0], all[4]]), /^prependBars: bar 1: time is later than the first held bar$/],
    ['replaceLastBar before the bar before it', (f, all) => f.replaceLastBar(all[0]), /^replaceLastBar: bar 0: time goes backwards/],
    ['replaceLastBar with a missing open', (f, all) => f.replaceLastBar({ ...all[2], o: undefined }), /^replaceLastBar: bar 0: open is missing$/],
  ];
  for (const [label, call, message] of orderRefused) {
    test(`${label} is refused and changes nothing`, () => {
      const all = objectBars([1, 2, 3, 4, 5]);
      const f = compile('X:C;').setBars(all.slice(1, 3));
      assert.match(thrown(() => call(f, all)).message, message);
      assert.deepEqual(valuesOf(f, 'X'), [2, 3]);
    });
  }

  test('replaceLastBar on no bars appends; period is checked', () => {
    const f = compile('X:C;\nP:PERIOD;');
    f.replaceLastBar({ t: T0, o: 1, h: 1, l: 1, c: 7 });
    assert.deepEqual(valuesOf(f, 'X'), [7]);
    f.period = 1440;
    assert.equal(f.period, 1440);
    for (const bad of [-1, 1.5, NaN, Infinity]) assert.throws(() => { f.period = bad; }, RangeError);
    assert.throws(() => { f.period = '60'; }, TypeError);
    assert.equal(compile('X:C;', { period: 5 }).period, 5);
  });
});

describe('run', () => {
  test('values are the engine doubles at full precision, NaN for no value, owned by the caller', () => {
    const f = compile('X:C/3;\nM:MA(C,2);\nN:ASIN(2);').setBars(objectBars([1, 2]));
    const [x, m, n] = f.run().outputs;
    assert.ok(x.values instanceof Float64Array);
    assert.deepEqual(Array.from(x.values), [0.3333333333333333, 0.6666666666666666]);
    assert.ok(Number.isNaN(m.values[0]));
    assert.equal(m.values[1], 1.5);
    assert.ok(Number.isNaN(n.values[0]));
    x.values[0] = 42;
    assert.equal(f.run().outputs[0].values[0], 0.3333333333333333);
  });

  test('outputs carry names, properties and null drawings', () => {
    const [a, b] = compile("A:C,COLORRED,LINETHICK2;\nB:C+1,COLORRGB(1,2,3);\nK:=1;").setBars(objectBars([1])).run().outputs;
    assert.deepEqual([a.name, a.properties, a.drawing], ['A', ['COLORRED', 'LINETHICK2'], null]);
    assert.deepEqual([b.name, b.properties], ['B', ['COLORRGB(1,2,3)']]);
  });

  const examples = fs.readdirSync(path.join(ROOT, 'examples', 'formulas'));
  const csv = fs.readFileSync(path.join(ROOT, 'examples', 'data', 'sp500_daily.csv'), 'utf8').trim().split('\n').slice(1, 400);
  const sp = csv.map((line) => {
    const [t, o, h, l, c, v] = line.split(',').map(Number);
    return { t, o, h, l, c, v };
  });
  for (const file of examples) {
    test(`${file}: values equal the exact interface's to six decimals`, () => {
      const text = fs.readFileSync(path.join(ROOT, 'examples', 'formulas', file), 'utf8');
      const exact = new NodeCompiler(text);
      assert.equal(exact.Compile(), '');
      exact.SetData(sp);
      exact.SetPeriod(1440);
      const expected = JSON.parse(exact.Run().replace(/-?nan|-?inf/g, 'null')).out_vars;
      const f = compile(text, { period: 1440 }).setBars(sp);
      const outputs = f.run().outputs;
      assert.deepEqual(outputs.map((o) => o.name), expected.map((o) => o.name));
      outputs.forEach((output, k) => {
        const datas = expected[k].datas;
        assert.equal(output.values.length, datas.length, output.name);
        output.values.forEach((value, i) => {
          const want = datas[i] === -100000 ? NaN : datas[i];
          const got = Number.isNaN(value) ? NaN : Number(value.toFixed(6));
          assert.ok(Object.is(got, want) || Math.abs(got - want) < 1e-6, `${output.name}[${i}]: ${got} vs ${want}`);
        });
        assert.deepEqual(output.properties, expected[k].properties);
        assert.equal(output.drawing === null, expected[k].draw.draw_name === '' && !/^(DRAW|PARTLINE|POLYLINE|STICKLINE|VERTLINE)/.test(output.name));
      });
    });
  }
});

describe('runAsync', () => {
  const { FormulaBusyError } = require(ROOT);
  const examples = fs.readdirSync(path.join(ROOT, 'examples', 'formulas'))
    .map((file) => fs.readFileSync(path.join(ROOT, 'examples', 'formulas', file), 'utf8'));
  const closes = Array.from({ length: 300 }, (_, i) => 100 + 10 * Math.sin(i / 9) + (i % 7) / 3);

  test('resolves to what run() returns, also after ticks (incremental like run())', async () => {
    for (const text of [...examples, "X:C/3;\nD:DRAWTEXT(C>O,L,'up');"]) {
      const f = compile(text, { period: 1440, bars: objectBars(closes.slice(0, 250)) });
      const fresh = () => compile(text, { period: 1440, bars: objectBars(closes.slice(0, f.length)) }).run();
      assert.deepEqual(await f.runAsync(), fresh(), text);
      f.appendBars(objectBars(closes.slice(0, 251)).slice(250));
      assert.deepEqual(await f.runAsync(), fresh(), text);
      const ticked = objectBars([...closes.slice(0, 250), 97.5]);
      f.replaceLastBar(ticked[250]);
      assert.deepEqual(await f.runAsync(), compile(text, { period: 1440, bars: ticked }).run(), text);
    }
  });

  test('an aborted signal rejects before any work; a bad signal is a TypeError', async () => {
    const f = compile('X:C;', { bars: objectBars([1, 2]) });
    const reason = new Error('stop');
    const error = await f.runAsync({ signal: AbortSignal.abort(reason) }).then(() => null, (e) => e);
    assert.deepEqual([error.name, error.code, error.cause], ['AbortError', 'ABORT_ERR', reason]);
    await assert.rejects(f.runAsync({ signal: {} }), TypeError);
    await assert.rejects(f.runAsync(5), TypeError);
    assert.deepEqual(Array.from((await f.runAsync({})).outputs[0].values), [1, 2]);
  });

  // Each would run for seconds over 200,000 bars (the closes repeat, so the
  // 10th highest of FINDHIGHBARS is tied and walks the heap); an abort stops
  // the native work inside its window loop, and the formula is free and
  // exact after it.
  const LONG = ['X:STD(C,BARPOS);', 'X:FINDHIGHBARS(C,0,50000,10);', 'X:RELATE(C,O,50000);', 'X:AVEDEV(C,50000);'];
  const n = 200000;
  const big = { c: new Float64Array(n).map((_, i) => 100 + (i % 101)), o: new Float64Array(n).map((_, i) => 100 + (i % 37)) };
  big.h = big.c.map((c) => c + 1);
  big.l = big.c.map((c) => c - 1);
  for (const text of LONG) {
    test(`an abort during ${text} on 200,000 bars rejects within a second`, async () => {
      const f = compile(text, { bars: big });
      const controller = new AbortController();
      const running = f.runAsync({ signal: controller.signal });
      await new Promise((resolve) => setTimeout(resolve, 30));
      const started = Date.now();
      controller.abort();
      await assert.rejects(running, { name: 'AbortError' });
      assert.ok(Date.now() - started < 1000, `took ${Date.now() - started} ms`);
      f.setBars(objectBars(closes.slice(0, 60)));
      assert.deepEqual(await f.runAsync(), compile(text, { bars: objectBars(closes.slice(0, 60)) }).run());
    });
  }

  test('while a run is in flight, every call that changes or runs the formula is refused', async () => {
    const f = compile('X:STD(C,BARPOS);', { bars: objectBars(closes) });
    const bar = objectBars(closes)[299];
    const running = f.runAsync();
    const CALLS = [
      ['setBars', () => f.setBars(objectBars([1]))],
      ['appendBars', () => f.appendBars([{ ...bar, t: bar.t + DAY }])],
      ['prependBars', () => f.prependBars([{ ...bar, t: T0 - DAY }])],
      ['replaceLastBar', () => f.replaceLastBar(bar)],
      ['period', () => { f.period = 5; }],
      ['run', () => f.run()],
      ['runTail', () => f.runTail()],
      ['dispose', () => f.dispose()],
    ];
    for (const [method, call] of CALLS) {
      assert.throws(call, (e) => e instanceof FormulaBusyError && e.code === 'ERR_FORMULA_BUSY' &&
        e.message.startsWith(`${method}: `), method);
    }
    await assert.rejects(f.runAsync(), { name: 'FormulaBusyError', code: 'ERR_FORMULA_BUSY' });
    assert.deepEqual([f.length, f.period, f.disposed], [300, 0, false]);
    const result = await running;
    assert.deepEqual(result, compile('X:STD(C,BARPOS);', { bars: objectBars(closes) }).run());
    f.replaceLastBar(bar);
    f.dispose();
  });
});
