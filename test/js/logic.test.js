'use strict';
// End-to-end: logic and math functions (IF, CROSS, VALUEWHEN, EVERY, ROUND2,
// MAX, MIN, ABS, SQRT) over the S&P 500 sample, against values computed
// independently by fixtures/make_logic.py; then small hand-checked series.

const { test } = require('node:test');

const { barsWithCloses, expectOutputs } = require('./helpers/formula.js');
const { testSeriesFixture } = require('./helpers/fixtures.js');

testSeriesFixture(require('./fixtures/logic_expected.json'));

const handChecked = [
  // OPEN is 2 at every bar; CLOSE crosses above it at bars 1 and 4.
  ['cross, if and valuewhen on a hand-checked series',
    'CR:CROSS(CLOSE,OPEN); BR:IF(CLOSE>OPEN,1,-1); VW:VALUEWHEN(CLOSE>OPEN,CLOSE);'
      + ' LS:LAST(CLOSE>OPEN); NT:NOT(CLOSE>OPEN);',
    barsWithCloses([1, 3, 4, 1, 3], [2, 2, 2, 2, 2]), {
      CR: [-100000, 1, 0, 0, 1],
      BR: [-1, 1, 1, -1, 1],
      VW: [1, 3, 4, 4, 3],
      LS: [0, 1, 2, 0, 1],
      NT: [1, 0, 0, 1, 0],
    }],
  ['math functions widen numbers and keep invalid values',
    'AB:ABS(-3); R2:ROUND2(CLOSE,1); MD:MOD(CLOSE,0); SQ:SQRT((CLOSE)-2); SG:SIGN((CLOSE)-2); RD:RAND(1);',
    barsWithCloses([1.25, -1.25, 2.5]), {
      AB: [3, 3, 3],
      R2: [1.3, -1.2, 2.5],
      MD: [-100000, -100000, -100000],
      SQ: [-100000, -100000, Number(Math.sqrt(0.5).toFixed(6))],
      SG: [-1, -1, 1],
      RD: [1, 1, 1],
    }],
];
for (const [label, formula, bars, want] of handChecked) {
  test(label, () => expectOutputs(formula, bars, want));
}
