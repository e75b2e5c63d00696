'use strict';

// Package entry. Two interfaces over the one native module:
//   - compile / Formula / FormulaError / loadBars: the typed API (lib/);
//   - NodeCompiler: the exact interface, text in and JSON text out.

const { NodeCompiler } = require('./lib/native');
const { compile, Formula, FormulaError } = require('./lib/formula');
const { loadBars } = require('./lib/load-bars');

module.exports = { compile, Formula, FormulaError, loadBars, NodeCompiler };
