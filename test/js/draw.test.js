'use strict';
// End-to-end: drawing statements over the S&P 500 sample, against records
// computed independently by fixtures/make_draw.py (the leading entries, the
// last 200, and for DRAWTEXT every bar where the text is drawn).

const { test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');

const { NodeCompiler } = require('../..');
const expected = require('./fixtures/draw_expected.json');

const ROOT = path.join(__dirname, '..', '..');
const INVALID = -100000;

function loadRows() {
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

const rows = loadRows();

function runFormula(formula) {
  const compiler = new NodeCompiler(formula);
  assert.equal(compiler.Compile(), '', `formula should compile: ${formula}`);
  compiler.SetData(rows);
  compiler.SetPeriod(1440);
  return JSON.parse(compiler.Run());
}

// Numbers within half a unit of the sixth decimal the output prints;
// texts exactly.
function expectEntry(label, got, want) {
  assert.deepEqual(Object.keys(got).sort(), Object.keys(want).sort(), `${label}: keys`);
  for (const [key, value] of Object.entries(want)) {
    if (typeof value === 'string') {
      assert.equal(got[key], value, `${label}.${key}`);
    } else {
      assert.ok(Math.abs(got[key] - value) < 5e-7, `${label}.${key}: got ${got[key]}, want ${value}`);
    }
  }
}

test('the sample has the bars the fixture was made from', () => {
  assert.equal(rows.length, expected.bars);
});

for (const want of expected.cases) {
  test(want.formula, () => {
    const result = runFormula(want.formula);
    assert.ok(Array.isArray(result.out_vars), JSON.stringify(result).slice(0, 300));
    assert.equal(result.error_info, '');
    assert.equal(result.out_vars.length, 1);
    const [out] = result.out_vars;
    assert.equal(out.name, want.name);
    assert.deepEqual(out.datas, []);
    assert.deepEqual(out.properties, []);

    const { draw } = out;
    assert.equal(draw.draw_name, want.draw_name);
    assert.equal(draw.draw_text, want.draw_text);
    assert.equal(draw.draw_type, want.draw_type);
    for (const [list, length] of Object.entries(want.lengths)) {
      assert.equal(draw[list].length, length, `${list} length`);
    }
    for (const [index, entry] of Object.entries(want.entries)) {
      expectEntry(`${want.list}[${index}]`, draw[want.list][Number(index)], entry);
    }
    if (want.holding_bars) {
      // The text is drawn exactly at the crossings, nowhere else.
      const drawn = [];
      draw.draw_positions.forEach((p, i) => { if (p.price !== INVALID) drawn.push(i); });
      assert.deepEqual(drawn, want.holding_bars);
    }
  });
}
