'use strict';

// Helpers of the suites that run formulas over the S&P 500 sample and compare
// the outputs with the values computed independently by the scripts in
// test/js/fixtures/ (see indicators.py there).

const assert = require('node:assert/strict');
const { spawnSync } = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');
const { test } = require('node:test');

const { ROOT, compiled } = require('./formula.js');

const SAMPLE = path.join(ROOT, 'examples', 'data', 'sp500_daily.csv');
const SAMPLE_PERIOD = 1440; // daily bars
const INVALID = -100000;

let sampleCache;

// The sample's rows as objects of numbers keyed by the CSV header (t,o,h,l,c,v).
// One array is shared by all callers: do not modify it.
function sampleRows() {
  if (!sampleCache) {
    const [header, ...lines] = fs.readFileSync(SAMPLE, 'utf8').trim().split('\n');
    const keys = header.split(',');
    sampleCache = lines.map((line) => {
      const cells = line.split(',').map(Number);
      return Object.fromEntries(keys.map((key, i) => [key, cells[i]]));
    });
  }
  return sampleCache;
}

// The parsed output of `formula` over the sample. With `utc` the formula runs
// in a child process whose time zone is UTC, so that calendar fields do not
// depend on the machine's zone.
function runSample(formula, { utc = false } = {}) {
  return JSON.parse(utc && process.env.TZ !== 'UTC' ? sampleTextInUtc(formula) : sampleText(formula));
}

function sampleText(formula) {
  return compiled(formula, sampleRows(), SAMPLE_PERIOD).Run();
}

function sampleTextInUtc(formula) {
  const script = `const { sampleText } = require(${JSON.stringify(__filename)});
    process.stdout.write(sampleText(process.env.FORMULA_TEXT));`;
  const child = spawnSync(process.execPath, ['-e', script], {
    env: { ...process.env, TZ: 'UTC', FORMULA_TEXT: formula },
    encoding: 'utf8',
    maxBuffer: 64 * 1024 * 1024,
  });
  assert.equal(child.status, 0, child.stderr);
  return child.stdout;
}

// Outputs print six decimals: a value within half a unit of the last one
// matches the fixture's text.
function expectClose(label, got, want) {
  assert.ok(Math.abs(got - want) < 5e-7, `${label}: got ${got}, want ${want}`);
}

function expectRunOk(result) {
  assert.ok(Array.isArray(result.out_vars), JSON.stringify(result).slice(0, 300));
  assert.equal(result.error_info, '');
}

// One test per fixture case {formula, outputs}: the outputs come in the
// fixture's order, each with the fixture's length, leading and trailing values.
function testSeriesFixture(cases, options) {
  for (const { formula, outputs } of cases) {
    test(formula, () => {
      const result = runSample(formula, options);
      expectRunOk(result);
      assert.deepEqual(result.out_vars.map((v) => v.name), Object.keys(outputs));
      for (const { name, datas } of result.out_vars) {
        const want = outputs[name];
        assert.equal(datas.length, want.length, `${name}: length`);
        const check = (offset, texts) => texts.forEach((text, k) => {
          expectClose(`${name}[${offset + k}]`, datas[offset + k], Number(text));
        });
        check(0, want.head);
        check(want.tail_start, want.tail);
      }
    });
  }
}

// Numbers within the printing tolerance, texts exactly.
function expectDrawEntry(label, got, want) {
  assert.deepEqual(Object.keys(got).sort(), Object.keys(want).sort(), `${label}: keys`);
  for (const [key, value] of Object.entries(want)) {
    if (typeof value === 'string') assert.equal(got[key], value, `${label}.${key}`);
    else expectClose(`${label}.${key}`, got[key], value);
  }
}

// One test per drawing statement of the fixture: the record's header, the
// length of each list, the kept entries of its own list and, where given, the
// bars where the drawing holds (a valid price in draw_positions).
function testDrawFixture({ bars, cases }) {
  test('the sample has the bars the fixture was made from', () => {
    assert.equal(sampleRows().length, bars);
  });
  for (const want of cases) {
    test(want.formula, () => {
      const result = runSample(want.formula);
      expectRunOk(result);
      assert.equal(result.out_vars.length, 1);
      const [{ name, datas, properties, draw }] = result.out_vars;
      assert.deepEqual({ name, datas, properties }, { name: want.name, datas: [], properties: [] });
      assert.equal(draw.draw_name, want.draw_name);
      assert.equal(draw.draw_text, want.draw_text);
      assert.equal(draw.draw_type, want.draw_type);
      for (const [list, length] of Object.entries(want.lengths)) {
        assert.equal(draw[list].length, length, `${list} length`);
      }
      for (const [index, entry] of Object.entries(want.entries)) {
        expectDrawEntry(`${want.list}[${index}]`, draw[want.list][Number(index)], entry);
      }
      if (want.holding_bars) {
        const holding = [];
        draw.draw_positions.forEach((p, i) => { if (p.price !== INVALID) holding.push(i); });
        assert.deepEqual(holding, want.holding_bars);
      }
    });
  }
}

module.exports = {
  SAMPLE,
  runSample,
  sampleRows,
  sampleText,
  testDrawFixture,
  testSeriesFixture,
};
