#!/usr/bin/env node
'use strict';

// Compiles a formula, runs it over bars read from a CSV or JSON file and
// prints the output JSON. Exit codes: 0 success, 1 compile or run error
// (the error report is printed), 2 bad usage.

const fs = require('fs');
const path = require('path');

const USAGE = `usage: formula-run --formula <text or file> --bars <csv or json file> [--period N]

  --formula  the formula text, or the path of a file holding it
  --bars     bars as CSV with the header t,o,h,l,c,v (any column order)
             or as a JSON array of objects with the keys c,o,h,l,t,v
  --period   the chart period in minutes (default 0)

Prints the output JSON of the run, or the error report (exit code 1).`;

class UsageError extends Error {}

// Long header names accepted beside the one-letter keys of a bar object.
const COLUMN_KEYS = {
  t: 't', time: 't',
  o: 'o', open: 'o',
  h: 'h', high: 'h',
  l: 'l', low: 'l',
  c: 'c', close: 'c',
  v: 'v', vol: 'v', volume: 'v',
};

function parseArgs(argv) {
  const options = {};
  for (let i = 0; i < argv.length; i++) {
    const arg = argv[i];
    if (arg === '-h' || arg === '--help') return { help: true };
    const match = /^--(formula|bars|period)(?:=(.*))?$/s.exec(arg);
    if (!match) throw new UsageError(`unknown argument: ${arg}`);
    let value = match[2];
    if (value === undefined) {
      if (i + 1 >= argv.length) throw new UsageError(`--${match[1]} needs a value`);
      value = argv[++i];
    }
    options[match[1]] = value;
  }
  if (options.formula === undefined) throw new UsageError('--formula is required');
  if (options.bars === undefined) throw new UsageError('--bars is required');
  if (options.period !== undefined) {
    const period = Number(options.period);
    if (options.period.trim() === '' || !Number.isInteger(period) || period < 0) {
      throw new UsageError(`--period must be a whole number of minutes: ${options.period}`);
    }
    options.period = period;
  }
  return options;
}

function isFile(candidate) {
  try {
    return fs.statSync(candidate).isFile();
  } catch {
    return false;
  }
}

// A CSV text as bar objects. Cells stay text: the module reads them the way
// it reads any field text, so an empty time cell means a bar without time.
function parseCsv(text) {
  const lines = text.split(/\r?\n/).filter((line) => line.trim() !== '');
  if (lines.length === 0) return [];
  const header = lines[0].split(',').map((name) => name.trim().replace(/^"|"$/g, '').toLowerCase());
  const keys = header.map((name) => COLUMN_KEYS[name]);
  if (!keys.some((key) => key !== undefined)) {
    throw new UsageError(`the CSV header names none of t,o,h,l,c,v: ${lines[0]}`);
  }
  return lines.slice(1).map((line) => {
    const cells = line.split(',');
    const bar = {};
    keys.forEach((key, column) => {
      if (key !== undefined) bar[key] = (cells[column] ?? '').trim().replace(/^"|"$/g, '');
    });
    return bar;
  });
}

function parseBars(text, source) {
  if (/^\s*\[/.test(text)) {
    let bars;
    try {
      bars = JSON.parse(text);
    } catch (error) {
      throw new UsageError(`${source}: not valid JSON: ${error.message}`);
    }
    if (!Array.isArray(bars) || !bars.every((bar) => bar !== null && typeof bar === 'object')) {
      throw new UsageError(`${source}: expected a JSON array of bar objects`);
    }
    return bars;
  }
  return parseCsv(text);
}

function readBars(argument) {
  if (isFile(argument)) return parseBars(fs.readFileSync(argument, 'utf8'), argument);
  if (/^\s*\[/.test(argument)) return parseBars(argument, '--bars');
  throw new UsageError(`no such bars file: ${argument}`);
}

function readFormula(argument) {
  return isFile(argument) ? fs.readFileSync(argument, 'utf8') : argument;
}

function isErrorReport(text) {
  return text.startsWith('{ "line" : ');
}

function main(argv) {
  let options;
  let bars;
  let formula;
  try {
    options = parseArgs(argv);
    if (options.help) {
      process.stdout.write(`${USAGE}\n`);
      return 0;
    }
    formula = readFormula(options.formula);
    bars = readBars(options.bars);
  } catch (error) {
    if (!(error instanceof UsageError)) throw error;
    process.stderr.write(`formula-run: ${error.message}\n`);
    process.stderr.write(`${USAGE}\n`);
    return 2;
  }

  const { NodeCompiler } = require(path.join(__dirname, '..', 'index.js'));
  const compiler = new NodeCompiler(formula);
  const report = compiler.Compile();
  if (report !== '') {
    process.stdout.write(`${report}\n`);
    return 1;
  }
  compiler.SetData(bars);
  compiler.SetPeriod(options.period ?? 0);
  const output = compiler.Run();
  process.stdout.write(`${output}\n`);
  return isErrorReport(output) ? 1 : 0;
}

if (require.main === module) {
  // A reader that stops early (`| head`) closes the pipe under us: the output
  // it wanted has been written, so that ends the run quietly, not as a crash.
  process.stdout.on('error', (error) => {
    if (error.code !== 'EPIPE') throw error;
    process.exit(0);
  });
  process.exitCode = main(process.argv.slice(2));
}

module.exports = { main, parseCsv };
