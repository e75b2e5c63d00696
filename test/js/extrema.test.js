'use strict';
// End-to-end: window-extreme and counting formulas (HHV, LLV, HHVBARS,
// LLVBARS, COUNT, BARSLAST) over the S&P 500 sample, against values computed
// independently by fixtures/make_extrema.py.

const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');

const ROOT = path.join(__dirname, '..', '..');
const { NodeCompiler } = require('../..');
const expected = require('./fixtures/extrema_expected.json');

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

test('H and L are function names and cannot name an output', () => {
  // The fixture names the HHVBARS and LLVBARS outputs HB and LB for this reason.
  const compiler = new NodeCompiler('H:HHVBARS(HIGH,20);');
  const report = compiler.Compile();
  assert.notStrictEqual(report, '');
  assert.strictEqual(JSON.parse(report).err_code, 10007);
});
