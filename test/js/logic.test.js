'use strict';
// End-to-end: logic and math functions (IF, CROSS, VALUEWHEN, EVERY, ROUND2,
// MAX, MIN, ABS, SQRT) over the S&P 500 sample, against values computed
// independently by fixtures/make_logic.py; then small hand-checked series.

const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');

const ROOT = path.join(__dirname, '..', '..');
const { NodeCompiler } = require('../..');
const expected = require('./fixtures/logic_expected.json');

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

function datasByName(result) {
  return Object.fromEntries(result.out_vars.map((v) => [v.name, v.datas]));
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

function bars(closes, opens) {
  return closes.map((c, i) => ({ c, o: opens ? opens[i] : c, h: c, l: c, t: 86400000 * i, v: 1 }));
}

test('cross, if and valuewhen on a hand-checked series', () => {
  // OPEN is 2 at every bar; CLOSE crosses above it at bars 1 and 4.
  const result = run('CR:CROSS(CLOSE,OPEN); BR:IF(CLOSE>OPEN,1,-1); VW:VALUEWHEN(CLOSE>OPEN,CLOSE);' +
    ' LS:LAST(CLOSE>OPEN); NT:NOT(CLOSE>OPEN);', bars([1, 3, 4, 1, 3], [2, 2, 2, 2, 2]));
  const datas = datasByName(result);
  assert.deepStrictEqual(datas.CR, [-100000, 1, 0, 0, 1]);
  assert.deepStrictEqual(datas.BR, [-1, 1, 1, -1, 1]);
  assert.deepStrictEqual(datas.VW, [1, 3, 4, 4, 3]);
  assert.deepStrictEqual(datas.LS, [0, 1, 2, 0, 1]);
  assert.deepStrictEqual(datas.NT, [1, 0, 0, 1, 0]);
});

test('math functions widen numbers and keep invalid values', () => {
  const result = run('AB:ABS(-3); R2:ROUND2(CLOSE,1); MD:MOD(CLOSE,0); SQ:SQRT((CLOSE)-2);' +
    ' SG:SIGN((CLOSE)-2); RD:RAND(1);', bars([1.25, -1.25, 2.5]));
  const datas = datasByName(result);
  assert.deepStrictEqual(datas.AB, [3, 3, 3]);
  assert.deepStrictEqual(datas.R2, [1.3, -1.2, 2.5]);
  assert.deepStrictEqual(datas.MD, [-100000, -100000, -100000]);
  assert.deepStrictEqual(datas.SQ, [-100000, -100000, Number(Math.sqrt(0.5).toFixed(6))]);
  assert.deepStrictEqual(datas.SG, [-1, -1, 1]);
  assert.deepStrictEqual(datas.RD, [1, 1, 1]);
});
