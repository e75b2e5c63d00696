'use strict';
// End-to-end: statistics, SAR and calendar formulas over the S&P 500 sample,
// against values computed independently by fixtures/make_statistics.py.
// The formulas run in a child process whose time zone is UTC, so that the
// calendar fields do not depend on the machine's zone.

const test = require('node:test');
const assert = require('node:assert');
const path = require('node:path');
const { spawnSync } = require('node:child_process');

const ROOT = path.join(__dirname, '..', '..');
const expected = require('./fixtures/statistics_expected.json');

// Runs in the child: loads the addon, feeds it the CSV rows, prints Run().
const CHILD = `
const fs = require('fs');
const path = require('path');
const { NodeCompiler } = require(process.env.FORMULA_ROOT);
const lines = fs.readFileSync(path.join(process.env.FORMULA_ROOT, 'examples/data/sp500_daily.csv'), 'utf8')
  .trim().split('\\n');
const keys = lines[0].split(',');
const rows = lines.slice(1).map((line) => {
  const cells = line.split(',');
  const row = {};
  keys.forEach((key, i) => { row[key] = Number(cells[i]); });
  return row;
});
const compiler = new NodeCompiler(process.env.FORMULA_TEXT);
const error = compiler.Compile();
if (error) { process.stdout.write(error); process.exit(0); }
compiler.SetData(rows);
compiler.SetPeriod(1440);
process.stdout.write(compiler.Run());
`;

function runInUtc(formula) {
  const child = spawnSync(process.execPath, ['-e', CHILD], {
    env: { ...process.env, TZ: 'UTC', FORMULA_ROOT: ROOT, FORMULA_TEXT: formula },
    encoding: 'utf8',
    maxBuffer: 64 * 1024 * 1024,
  });
  assert.strictEqual(child.status, 0, child.stderr);
  return JSON.parse(child.stdout);
}

function expectValues(name, got, want) {
  assert.strictEqual(got.length, want.length, `${name}: length`);
  const check = (offset, texts) => texts.forEach((text, k) => {
    const i = offset + k;
    assert.ok(Math.abs(got[i] - Number(text)) < 5e-7, `${name}[${i}]: got ${got[i]}, want ${text}`);
  });
  check(0, want.head);
  check(want.tail_start, want.tail);
}

for (const { formula, outputs } of expected) {
  test(formula, () => {
    const result = runInUtc(formula);
    assert.ok(Array.isArray(result.out_vars), JSON.stringify(result).slice(0, 300));
    assert.deepStrictEqual(result.out_vars.map((v) => v.name), Object.keys(outputs));
    for (const out of result.out_vars) expectValues(out.name, out.datas, outputs[out.name]);
  });
}
