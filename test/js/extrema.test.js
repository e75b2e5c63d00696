'use strict';
// End-to-end: window-extreme and counting formulas (HHV, LLV, HHVBARS,
// LLVBARS, COUNT, BARSLAST) over the S&P 500 sample, against values computed
// independently by fixtures/make_extrema.py.

const { test } = require('node:test');
const assert = require('node:assert/strict');

const { NodeCompiler } = require('./helpers/formula.js');
const { testSeriesFixture } = require('./helpers/fixtures.js');

testSeriesFixture(require('./fixtures/extrema_expected.json'));

test('H and L are function names and cannot name an output', () => {
  // The fixture names the HHVBARS and LLVBARS outputs HB and LB for this reason.
  const report = new NodeCompiler('H:HHVBARS(HIGH,20);').Compile();
  assert.notEqual(report, '');
  assert.equal(JSON.parse(report).err_code, 10007);
});
