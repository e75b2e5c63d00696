'use strict';
// End-to-end: drawing statements over the S&P 500 sample, against records
// computed independently by fixtures/make_draw.py (the leading entries, the
// last 200, and for DRAWTEXT every bar where the text is drawn).

const { testDrawFixture } = require('./helpers/fixtures.js');

testDrawFixture(require('./fixtures/draw_expected.json'));
