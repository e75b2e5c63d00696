'use strict';
// End-to-end: moving-average, reference and sum formulas (EMA, MA, REF, SUM,
// ZTPRICE) over the S&P 500 sample, against values computed independently by
// fixtures/make_averages.py.

const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');

const ROOT = path.join(__dirname, '..', '..');
const { NodeCompiler } = require('../..');
const expected = require('./fixtures/averages_expected.json');

function sampleRows() {
  const lines = fs.readFileSync(path.join(ROOT, 'examples', 'data', 'sp500_daily.csv'), 'utf8')
    .trim().split('\n');
  const keys = lines[0].split(',');
  return lines.slice(1).map((line) => {
    const cells = line.split(',');
    const row = {};
    keys.forEach((key, i) => { row[key] = Number(cells[i]); });
    return row;
  });
}

function run(formula, rows) {
  const compiler = new NodeCompiler(formula);
  assert.strictEqual(compiler.Compile(), '', `formula should compile: ${formula}`);
  compiler.SetData(rows);
  compiler.SetPeriod(1440);
  return JSON.parse(compiler.Run());
}

// Compares the printed six-decimal values with the fixture's texts.
function expectValues(name, got, want) {
  assert.strictEqual(got.length, want.length, `${name}: length`);
  const check = (offset, texts) => texts.forEach((text, k) => {
    const i = offset + k;
    assert.ok(Math.abs(got[i] - Number(text)) < 5e-7, `${name}[${i}]: got ${got[i]}, want ${text}`);
  });
  check(0, want.head);
  check(want.tail_start, want.tail);
}

const rows = sampleRows();

for (const { formula, outputs } of expected) {
  test(formula, () => {
    const result = run(formula, rows);
    assert.ok(Array.isArray(result.out_vars), JSON.stringify(result).slice(0, 300));
    assert.deepStrictEqual(result.out_vars.map((v) => v.name), Object.keys(outputs));
    for (const out of result.out_vars) expectValues(out.name, out.datas, outputs[out.name]);
  });
}

test('MACD keeps its COLORSTICK property', () => {
  const result = run(expected[0].formula, rows.slice(0, 30));
  const macd = result.out_vars.find((v) => v.name === 'MACD');
  assert.deepStrictEqual(macd.properties, ['COLORSTICK']);
});

test('small hand-checked series', () => {
  const bars = [1, 2, 3, 4, 5].map((c, i) => ({ c, o: c, h: c, l: c, t: 86400000 * i, v: 1 }));
  const result = run('A:MA(CLOSE,3); B:REF(CLOSE,1); S:SUM(CLOSE,0); E:EMA(5,3);', bars);
  const datas = Object.fromEntries(result.out_vars.map((v) => [v.name, v.datas]));
  assert.deepStrictEqual(datas.A, [-100000, -100000, 2, 3, 4]);
  assert.deepStrictEqual(datas.B, [-100000, 1, 2, 3, 4]);
  assert.deepStrictEqual(datas.S, [1, 3, 6, 10, 15]);
  assert.deepStrictEqual(datas.E, [5, 5, 5, 5, 5]);
});
