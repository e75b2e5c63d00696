// ESM entry: the same module as index.js, with named exports.
import { createRequire } from 'node:module';

const require = createRequire(import.meta.url);
const api = require('./index.js');

export const { compile, Formula, FormulaError, FormulaBusyError, AbortError, loadBars, NodeCompiler } = api;

// screen() stays loaded on first use, as in index.js: importing the package
// does not start loading the worker pool and queue client.
export function screen(...args) {
  return api.screen(...args);
}

export default api;
