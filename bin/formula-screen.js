#!/usr/bin/env node
'use strict';

// Screens a market: one formula over many symbols, on every core or on
// queue workers. Exit codes: 0 done (symbols that failed are listed with
// their error), 1 the formula does not compile, 2 bad usage, 3 Redis cannot
// be reached or was lost.

const fs = require('fs');
const { parseArgs } = require('util');
const { screen, namesOf } = require('../lib/screen');
const { writerFor } = require('../lib/screen/format');
const { QUEUE_DEFAULTS: DEFAULTS } = require('../lib/screen/options');

const USAGE = `usage: formula-screen --formula <text or file> --bars <glob> [options]
       formula-screen worker --queue redis://HOST:PORT [--workers N]

Runs the formula over every CSV file the glob matches (the symbol is the file
name without its extension) and prints the last-bar value of every output.

  --formula TEXT|FILE  the formula, or the path of a file holding it
  --bars GLOB          CSV files of bars; may be given more than once
  --period N           minutes per bar (default 0)
  --where NAME         keep symbols whose output NAME is non-zero on the last bar
  --sort NAME          order by output NAME on the last bar, largest first
  --asc                with --sort: smallest first
  --top N              only the first N symbols
  --last N             the last N values of every output instead of one
  --format F           table, csv or json (default: table on a terminal, else csv)
  --workers N          worker threads (default: one per core)
  --queue URL          hand the work to queue workers on this Redis server
  --batch N            symbols per task (default: sized from the count)
  --quiet              no progress bar

Worker options:
  --queue URL          the Redis server the coordinator uses (required)
  --workers N          worker threads (default: one per core)
  --lock-duration MS   a dead worker's batch is retried after this (default ${DEFAULTS.lockDuration})
  --stalled-interval MS  how often to look for such batches (default ${DEFAULTS.stalledInterval})

Both: --retry-for S   give up after Redis is unreachable this long (default ${DEFAULTS.retryFor / 1000})`;

class UsageError extends Error {}

const SCREEN_OPTIONS = {
  formula: { type: 'string' },
  bars: { type: 'string', multiple: true },
  period: { type: 'string' },
  where: { type: 'string' },
  sort: { type: 'string' },
  asc: { type: 'boolean' },
  top: { type: 'string' },
  last: { type: 'string' },
  format: { type: 'string' },
  workers: { type: 'string' },
  queue: { type: 'string' },
  batch: { type: 'string' },
  'retry-for': { type: 'string' },
  quiet: { type: 'boolean' },
  help: { type: 'boolean', short: 'h' },
};

const WORKER_OPTIONS = {
  queue: { type: 'string' },
  workers: { type: 'string' },
  'lock-duration': { type: 'string' },
  'stalled-interval': { type: 'string' },
  'retry-for': { type: 'string' },
  help: { type: 'boolean', short: 'h' },
};

function parse(argv, options) {
  try {
    return parseArgs({ args: argv, options, allowPositionals: false, strict: true }).values;
  } catch (err) {
    throw new UsageError(err.message);
  }
}

function wholeNumber(values, name, min) {
  const text = values[name];
  if (text === undefined) return undefined;
  const n = Number(text);
  if (text.trim() === '' || !Number.isInteger(n) || n < min) {
    throw new UsageError(`--${name} must be a whole number${min > 0 ? ` of at least ${min}` : ''}: ${text}`);
  }
  return n;
}

function formulaText(value) {
  try {
    if (fs.statSync(value).isFile()) return fs.readFileSync(value, 'utf8');
  } catch {
    // not a file: the text itself
  }
  return value;
}

function progressBar(enabled) {
  if (!enabled) return { update() {}, stop() {} };
  const cliProgress = require('cli-progress');
  const bar = new cliProgress.SingleBar({
    format: '{bar} {value}/{total} symbols | {rate} symbols/s | {duration_formatted}',
    stream: process.stderr,
    hideCursor: true,
    clearOnComplete: true,
  }, cliProgress.Presets.shades_classic);
  const start = Date.now();
  let started = false;
  return {
    update(done, total) {
      if (!started) {
        bar.start(total, 0, { rate: '0' });
        started = true;
      }
      const seconds = (Date.now() - start) / 1000;
      bar.update(done, { rate: seconds > 0 ? (done / seconds).toFixed(0) : '0' });
    },
    stop() {
      if (started) bar.stop();
    },
  };
}

async function screenCommand(argv) {
  const v = parse(argv, SCREEN_OPTIONS);
  if (v.help) {
    process.stdout.write(`${USAGE}\n`);
    return 0;
  }
  if (v.formula === undefined) throw new UsageError('--formula is required');
  if (v.bars === undefined) throw new UsageError('--bars is required');
  const format = v.format || (process.stdout.isTTY ? 'table' : 'csv');
  if (!['table', 'csv', 'json'].includes(format)) throw new UsageError(`--format must be table, csv or json: ${format}`);
  if (v.asc && v.sort === undefined) throw new UsageError('--asc needs --sort');
  const retryFor = wholeNumber(v, 'retry-for', 1);
  const options = {
    formula: formulaText(v.formula),
    symbols: v.bars,
    period: wholeNumber(v, 'period', 0) || 0,
    where: v.where,
    sort: v.sort,
    asc: v.asc,
    top: wholeNumber(v, 'top', 1),
    last: wholeNumber(v, 'last', 1) || 1,
    workers: wholeNumber(v, 'workers', 1),
    batch: wholeNumber(v, 'batch', 1),
    queue: v.queue,
    retryFor: retryFor && retryFor * 1000,
  };

  const names = namesOf(options.formula, options.period); // compile errors: before any work
  const progress = progressBar(!v.quiet && process.stderr.isTTY);
  options.onProgress = (done, total) => progress.update(done, total);
  options.onWarning = (text) => process.stderr.write(`\nformula-screen: ${text}\n`);
  const writer = writerFor(format, process.stdout, names, options.last);
  let count = 0;
  let failed = 0;
  try {
    for await (const r of screen(options)) {
      count += 1;
      if (r.error !== undefined) failed += 1;
      writer.add(r);
    }
  } finally {
    progress.stop();
  }
  writer.end();
  if (count === 0 && failed === 0) process.stderr.write('formula-screen: no symbol to report\n');
  if (failed > 0) process.stderr.write(`formula-screen: ${failed} symbol(s) failed (see the error column)\n`);
  return 0;
}

async function workerCommand(argv) {
  const v = parse(argv, WORKER_OPTIONS);
  if (v.help) {
    process.stdout.write(`${USAGE}\n`);
    return 0;
  }
  if (v.queue === undefined) throw new UsageError('worker: --queue is required');
  const retryFor = wholeNumber(v, 'retry-for', 1);
  return require('../lib/screen/queue').runQueueWorker({
    url: v.queue,
    workers: wholeNumber(v, 'workers', 1),
    lockDuration: wholeNumber(v, 'lock-duration', 100),
    stalledInterval: wholeNumber(v, 'stalled-interval', 100),
    retryFor: retryFor && retryFor * 1000,
    log: (text) => process.stderr.write(`${text}\n`),
  });
}

async function main(argv) {
  try {
    return argv[0] === 'worker' ? await workerCommand(argv.slice(1)) : await screenCommand(argv);
  } catch (err) {
    if (err instanceof UsageError || (err && err.code === 'ERR_SCREEN_OPTION')) {
      process.stderr.write(`formula-screen: ${err.message}\n\n${USAGE}\n`);
      return 2;
    }
    if (err && err.name === 'FormulaError') {
      process.stderr.write(`formula-screen: the formula does not compile: ${err.message}\n`);
      return 1;
    }
    if (err && err.name === 'QueueConnectionError') {
      process.stderr.write(`formula-screen: ${err.message}\n`);
      return 3;
    }
    throw err;
  }
}

process.stdout.on('error', (err) => {
  if (err.code === 'EPIPE') process.exit(0);
  throw err;
});

main(process.argv.slice(2)).then((status) => {
  process.exitCode = status;
  // Queue clients may keep sockets open a moment; nothing is left to do.
  if (process.argv[2] === 'worker' || status !== 0) setImmediate(() => process.exit(status));
}, (err) => {
  process.stderr.write(`formula-screen: ${err && err.stack ? err.stack : err}\n`);
  process.exit(1);
});
