#!/usr/bin/env node
'use strict';

// formula-run: compiles a formula, runs it over bars from a CSV or JSON file
// (or standard input) and prints the outputs as JSON or CSV.
// Exit codes: 0 success, 1 the formula does not compile or run, 2 bad usage
// or bad bars. Every failure is one line on standard error, no stack trace.

const fs = require('fs');
const path = require('path');
const { parseArgs } = require('util');

const USAGE = `usage: formula-run (--formula <file> | --expr <text>) --bars <file|-> [options]

  -f, --formula <file>     the formula, read from a file
  -e, --expr <text>        the formula text itself
  -b, --bars <file|->      bars as CSV or JSON (see the README); - reads standard input
  -p, --period <minutes>   minutes per bar (default 0; 1440 is a day)
      --format json|csv    json (default): the outputs; csv: time plus one column per output
      --api modern|exact   modern (default): valid JSON, full precision, null for no value;
                           exact: the output text of NodeCompiler.Run(), byte for byte
      --time-unit s|ms     unit of numeric times in the bars (default: guessed)
  -V, --version            print the version
  -h, --help               print this text`;

class UsageError extends Error {}
class FormulaFailure extends Error {}

const OPTIONS = {
  formula: { type: 'string', short: 'f' },
  expr: { type: 'string', short: 'e' },
  bars: { type: 'string', short: 'b' },
  period: { type: 'string', short: 'p' },
  format: { type: 'string' },
  api: { type: 'string' },
  'time-unit': { type: 'string' },
  version: { type: 'boolean', short: 'V' },
  help: { type: 'boolean', short: 'h' },
};

function options(argv) {
  let values;
  try {
    ({ values } = parseArgs({ args: argv, options: OPTIONS, strict: true, allowPositionals: false }));
  } catch (error) {
    throw new UsageError(error.message.split('\n')[0]);
  }
  if (values.help || values.version) return values;
  if ((values.formula === undefined) === (values.expr === undefined)) {
    throw new UsageError('give the formula with exactly one of --formula <file> or --expr <text>');
  }
  if (values.bars === undefined) throw new UsageError('--bars is required (a CSV or JSON file, or - for standard input)');
  const choice = (name, allowed, fallback) => {
    const value = values[name] ?? fallback;
    if (!allowed.includes(value)) throw new UsageError(`--${name} must be ${allowed.join(' or ')}, not ${value}`);
    return value;
  };
  values.format = choice('format', ['json', 'csv'], 'json');
  values.api = choice('api', ['modern', 'exact'], 'modern');
  if (values['time-unit'] !== undefined) choice('time-unit', ['s', 'ms']);
  if (values.period !== undefined) {
    const period = Number(values.period);
    if (values.period.trim() === '' || !Number.isInteger(period) || period < 0) {
      throw new UsageError(`--period must be a whole number of minutes, not ${values.period}`);
    }
    values.period = period;
  } else {
    values.period = 0;
  }
  if (values.format === 'csv' && values.api === 'exact') {
    throw new UsageError('--format csv is made from the modern results; leave out --api exact');
  }
  return values;
}

function readFormula(values) {
  if (values.expr !== undefined) return values.expr;
  try {
    return fs.readFileSync(values.formula, 'utf8');
  } catch (error) {
    const why = error.code === 'ENOENT' ? 'no such file' : error.code === 'EISDIR' ? 'a directory' : error.message;
    throw new UsageError(`cannot read the formula file ${values.formula}: ${why} (give formula text with --expr)`);
  }
}

async function readBars(values, loadBars) {
  const loadOptions = values['time-unit'] ? { timeUnit: values['time-unit'] } : {};
  try {
    if (values.bars === '-') return await loadBars(fs.readFileSync(0, 'utf8'), { ...loadOptions, text: true });
    return await loadBars(values.bars, loadOptions);
  } catch (error) {
    throw new UsageError(error.message.replace(/^loadBars: /, 'bars: '));
  }
}

// Numbers at full precision; NaN and infinities (no value) as null.
function finite(value) {
  return Number.isFinite(value) ? value : null;
}

function modernJson(outputs) {
  const plain = outputs.map((o) => ({
    name: o.name,
    values: Array.from(o.values, finite),
    properties: o.properties,
    drawing: o.drawing,
  }));
  return JSON.stringify({ outputs: plain }, (key, value) => (typeof value === 'number' ? finite(value) : value));
}

function csvCell(value) {
  const text = String(value);
  return /[",\r\n]/.test(text) ? `"${text.replace(/"/g, '""')}"` : text;
}

// What a drawing shows in a spreadsheet cell at a bar where it draws.
function drawingCell(shape, item) {
  switch (shape) {
    case 'labels': return item.text;
    case 'sticks': return item.price2;
    case 'candles': return item.close;
    case 'verticals': return 1;
    default: return item.price;
  }
}

function csv(outputs, bars) {
  const n = bars.c.length;
  const columns = outputs.map((o) => {
    const cells = new Array(n).fill('');
    if (o.drawing) {
      for (const item of o.drawing.items) if (item.index < n) cells[item.index] = drawingCell(o.drawing.shape, item);
    } else {
      o.values.forEach((value, i) => { if (i < n && Number.isFinite(value)) cells[i] = value; });
    }
    return cells;
  });
  const lines = [['time', ...outputs.map((o) => o.name)].map(csvCell).join(',')];
  for (let i = 0; i < n; i++) {
    const time = bars.t ? new Date(bars.t[i]).toISOString() : '';
    lines.push([time, ...columns.map((cells) => csvCell(cells[i]))].join(','));
  }
  return `${lines.join('\n')}\n`;
}

function exactRun(api, text, bars, period) {
  const compiler = new api.NodeCompiler(text);
  const report = compiler.Compile();
  if (report !== '') return { text: report, failed: true };
  const rows = new Array(bars.c.length);
  for (let i = 0; i < rows.length; i++) {
    rows[i] = { t: bars.t ? bars.t[i] : '', o: bars.o[i], h: bars.h[i], l: bars.l[i], c: bars.c[i], v: bars.v ? bars.v[i] : 0 };
  }
  compiler.SetData(rows);
  compiler.SetPeriod(period);
  const output = compiler.Run();
  return { text: output, failed: output.startsWith('{ "line" : ') };
}

async function main(argv, out = process.stdout, err = process.stderr) {
  try {
    const values = options(argv);
    if (values.help) {
      out.write(`${USAGE}\n`);
      return 0;
    }
    if (values.version) {
      out.write(`${require('../package.json').version}\n`);
      return 0;
    }
    const text = readFormula(values);
    const api = require(path.join(__dirname, '..', 'index.js'));
    if (values.api === 'exact') {
      const bars = await readBars(values, api.loadBars);
      const { text: output, failed } = exactRun(api, text, bars, values.period);
      out.write(`${output}\n`);
      return failed ? 1 : 0;
    }
    let formula;
    try {
      formula = api.compile(text, { period: values.period });
    } catch (error) {
      throw error instanceof api.FormulaError ? new FormulaFailure(error.message) : error;
    }
    const bars = await readBars(values, api.loadBars);
    try {
      formula.setBars(bars);
    } catch (error) {
      throw new UsageError(`bars: ${error.message}`);
    }
    let outputs;
    try {
      ({ outputs } = formula.run());
    } catch (error) {
      throw error instanceof api.FormulaError ? new FormulaFailure(error.message) : error;
    }
    out.write(values.format === 'csv' ? csv(outputs, bars) : `${modernJson(outputs)}\n`);
    return 0;
  } catch (error) {
    const message = String(error && error.message !== undefined ? error.message : error).split('\n')[0];
    if (error instanceof UsageError) {
      err.write(`formula-run: ${message} (see --help)\n`);
      return 2;
    }
    err.write(`formula-run: ${message}\n`);
    return 1;
  }
}

if (require.main === module) {
  // A reader that stops early (`| head`) closes the pipe under us: the output
  // it wanted has been written, so that ends the run quietly, not as a crash.
  process.stdout.on('error', (error) => {
    if (error.code !== 'EPIPE') throw error;
    process.exit(0);
  });
  main(process.argv.slice(2)).then((code) => { process.exitCode = code; });
}

module.exports = { main };
