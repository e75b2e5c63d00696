// A typed consumer of the package: compiled by `tsc --strict` in the tests.
import { AbortError, compile, FormulaBusyError, FormulaError, loadBars, NodeCompiler } from 'formula-engine';
import type { Bars, Drawing, Formula, Output, RunResult } from 'formula-engine';

function lastValue(output: Output): number | undefined {
  return output.values.length > 0 ? output.values[output.values.length - 1] : undefined;
}

// Every shape narrows to its own item fields.
function describeDrawing(drawing: Drawing): string {
  switch (drawing.shape) {
    case 'line': return drawing.items.map((i) => `${i.price}${i.color ?? ''}`).join(',');
    case 'verticals': return `${drawing.width}:${drawing.items.map((i) => i.index).join(',')}`;
    case 'segments': return drawing.items.map((i) => i.slope * i.length * i.direction).join(',');
    case 'marks': return `${drawing.text ?? drawing.icon}:${drawing.items.map((i) => i.price + i.offset)}`;
    case 'labels': return drawing.items.map((i) => i.text).join(',');
    case 'sticks': return drawing.items.map((i) => i.price2 - i.price1 + i.width + i.attribute).join(',');
    case 'candles': return drawing.items.map((i) => i.close - i.open + i.high - i.low).join(',');
    case null: return drawing.items.length === 0 ? 'refused' : 'impossible';
  }
}

export async function main(path: string): Promise<string[]> {
  let formula: Formula;
  try {
    formula = compile('X:C/3;\nDRAWTEXT(C>O,L,\'up\');', { period: 1440 });
  } catch (e) {
    if (e instanceof FormulaError) return [`${e.code} ${e.line}:${e.column} @${e.index} ${e.token} ${e.report}`];
    throw e;
  }
  const bars: Bars = [{ time: new Date(0), open: 1, high: 2, low: 0.5, close: 1.5 }, { t: 86400000, o: 1, h: 2, l: 1, c: 2, v: 5 }];
  formula.setBars(bars).appendBars({ o: [2], h: [3], l: [1], c: [2.5], t: new Float64Array([172800000]) });
  formula.prependBars([]).replaceLastBar({ t: 172800000, o: 2, h: 3, l: 1, c: 3 });
  formula.setBars(await loadBars(path, { format: 'csv', timeUnit: 'ms' }));
  formula.period = 5;
  const signal = { aborted: false, addEventListener() {}, removeEventListener() {} };
  const result: RunResult = await formula.runAsync({ signal });
  const lines = result.outputs.map((o) => (o.drawing ? describeDrawing(o.drawing) : `${o.name}=${lastValue(o)}`));
  const exact = new NodeCompiler('X:C;');
  lines.push(exact.Compile(), String(formula.length), formula.text);
  try {
    formula.run();
  } catch (e) {
    if (e instanceof FormulaBusyError || e instanceof AbortError) lines.push(e.code);
  }
  // @ts-expect-error the period is a number
  formula.period = '5';
  // @ts-expect-error length is read-only
  formula.length = 3;
  // @ts-expect-error a bar needs numbers
  formula.replaceLastBar({ t: 0, o: '1' });
  // @ts-expect-error the signal is an AbortSignal
  await formula.runAsync({ signal: 5 });
  // @ts-expect-error loadBars takes a path, a text or bytes
  await loadBars(42);
  return lines;
}
