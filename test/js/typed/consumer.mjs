// An ES module consumer: named and default imports of the package.
import { createRequire } from 'node:module';
import api, { compile, Formula, FormulaError, FormulaBusyError, AbortError, loadBars, NodeCompiler } from 'formula-engine';

const cjs = createRequire(import.meta.url)('formula-engine');
const names = ['compile', 'Formula', 'FormulaError', 'FormulaBusyError', 'AbortError', 'loadBars', 'NodeCompiler'];
const same = [compile, Formula, FormulaError, FormulaBusyError, AbortError, loadBars, NodeCompiler].every((value, i) =>
  value !== undefined && value === cjs[names[i]]);
const bars = await loadBars('t,o,h,l,c\n0,1,2,0.5,1.5\n86400000,1,2,1,3\n');
const [x] = (await compile('X:C*2;').setBars(bars).runAsync()).outputs;
process.stdout.write(JSON.stringify({ same, default: api === cjs, values: Array.from(x.values) }));
