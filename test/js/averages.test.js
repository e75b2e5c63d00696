'use strict';
// End-to-end: moving-average, reference and sum formulas (EMA, MA, REF, SUM,
// ZTPRICE) over the S&P 500 sample, against values computed independently by
// fixtures/make_averages.py; then a hand-checked series.

const { test } = require('node:test');
const assert = require('node:assert/strict');

const { barsWithCloses, expectOutputs, run } = require('./helpers/formula.js');
const { sampleRows, testSeriesFixture } = require('./helpers/fixtures.js');
const expected = require('./fixtures/averages_expected.json');

testSeriesFixture(expected);

test('MACD keeps its COLORSTICK property', () => {
  const { out_vars: outputs } = JSON.parse(run(expected[0].formula, sampleRows().slice(0, 30)));
  assert.deepEqual(outputs.find((v) => v.name === 'MACD').properties, ['COLORSTICK']);
});

test('small hand-checked series', () => {
  const formula = 'A:MA(CLOSE,3); B:REF(CLOSE,1); S:SUM(CLOSE,0); E:EMA(5,3);';
  expectOutputs(formula, barsWithCloses([1, 2, 3, 4, 5]), {
    A: [-100000, -100000, 2, 3, 4],
    B: [-100000, 1, 2, 3, 4],
    S: [1, 3, 6, 10, 15],
    E: [5, 5, 5, 5, 5],
  });
});
