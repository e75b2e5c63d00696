// The same package from an ES module under tsc --strict: named and default imports.
import api, { compile, FormulaError } from 'formula-engine';
import type { Output } from 'formula-engine';

const outputs: Output[] = compile('X:C;').setBars({ o: [1], h: [1], l: [1], c: [1] }).run().outputs;
export const checked: boolean = outputs.length === 1 && api.compile === compile && FormulaError.prototype instanceof Error;
