'use strict';
// End-to-end: statistics, SAR and calendar formulas over the S&P 500 sample,
// against values computed independently by fixtures/make_statistics.py. The
// formulas run in UTC, so that the calendar fields do not depend on the
// machine's time zone.

const { testSeriesFixture } = require('./helpers/fixtures.js');

testSeriesFixture(require('./fixtures/statistics_expected.json'), { utc: true });
