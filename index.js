'use strict';

// Package entry. Two interfaces over the one native module:
//   - compile / Formula / FormulaError / loadBars: the typed API (lib/);
//   - NodeCompiler: the exact interface, text in and JSON text out;
//   - screen: one formula over many symbols, on a worker pool or a queue.

const { NodeCompiler } = require('./lib/native');
const { compile, Formula, FormulaError, FormulaBusyError, AbortError } = require('./lib/formula');
const { loadBars } = require('./lib/load-bars');

module.exports = { compile, Formula, FormulaError, FormulaBusyError, AbortError, loadBars, NodeCompiler };

// screen(): one formula over many symbols (lib/screen/). Loaded on first use:
// its worker pool and queue client are not needed for single runs.
Object.defineProperty(module.exports, 'screen', {
  enumerable: true,
  get: () => require('./lib/screen').screen,
});
