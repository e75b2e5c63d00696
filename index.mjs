// ESM entry: the same module as index.js, with named exports.
import { createRequire } from 'node:module';

const require = createRequire(import.meta.url);
const api = require('./index.js');

export const { compile, Formula, FormulaError, loadBars, NodeCompiler, screen } = api;
export default api;
