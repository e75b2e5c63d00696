'use strict';

// screen(): one formula over many symbols, on a local worker pool or on
// queue workers, with the same results either way.
//
//   for await (const r of screen({ formula, symbols: 'data/*.csv', where: 'S' })) ...
//
// Each result is { symbol, values: { NAME: number | null }, error? } (with
// `last: N`, each value is an array of the last N values, oldest first).

const engine = require('../..');
const { outputNames } = require('./evaluate');
const { resolveSymbols } = require('./symbols');
const { runLocal } = require('./local');
const { optionError, checkUrl } = require('./options');

function positiveInteger(value, name, fallback) {
  if (value === undefined || value === null) return fallback;
  if (!Number.isInteger(value) || value < 1) {
    throw optionError(RangeError, `screen: ${name} must be a positive integer, got ${value}`);
  }
  return value;
}

function checkOptions(options) {
  if (options === null || typeof options !== 'object') {
    throw optionError(TypeError, 'screen: expected an options object');
  }
  const { formula, period = 0 } = options;
  if (typeof formula !== 'string') throw optionError(TypeError, 'screen: formula must be a string');
  if (typeof period !== 'number' || !Number.isFinite(period)) {
    throw optionError(TypeError, 'screen: period must be a finite number of minutes');
  }
  for (const key of ['where', 'sort']) {
    if (options[key] !== undefined && typeof options[key] !== 'string') {
      throw optionError(TypeError, `screen: ${key} must be an output name`);
    }
  }
  if (options.queue !== undefined) checkUrl(options.queue);
  return {
    formula,
    period,
    where: options.where,
    sort: options.sort,
    asc: Boolean(options.asc),
    top: positiveInteger(options.top, 'top', undefined),
    last: positiveInteger(options.last, 'last', 1),
    workers: positiveInteger(options.workers, 'workers', undefined),
    batch: positiveInteger(options.batch, 'batch', undefined),
    queue: options.queue,
  };
}

// Output names of a compiled formula, from a run over no bars.
function namesOf(formula, period) {
  const f = engine.compile(formula);
  f.setBars({ t: [], o: [], h: [], l: [], c: [], v: [] });
  f.period = period;
  return outputNames(f.run().outputs);
}

function checkName(names, name, option) {
  if (name !== undefined && !names.includes(name)) {
    const known = names.length > 0 ? names.join(', ') : 'none';
    throw optionError(RangeError, `screen: ${option} names no output of the formula: ${name} (outputs: ${known})`);
  }
}

// The value a filter or a sort looks at: the output's value on the last bar.
function lastOf(value) {
  return Array.isArray(value) ? value[value.length - 1] : value;
}

function compareBy(name, asc) {
  return (a, b) => {
    const x = lastOf(a.values[name]);
    const y = lastOf(b.values[name]);
    if (x === null || y === null) {
      if (x !== y) return x === null ? 1 : -1; // no value: always last
    } else if (x !== y) {
      return asc ? x - y : y - x;
    }
    return a.index - b.index;
  };
}

async function* screen(options) {
  const o = checkOptions(options);
  const names = namesOf(o.formula, o.period); // a FormulaError stops here, before any work
  checkName(names, o.where, 'where');
  checkName(names, o.sort, 'sort');
  const items = await resolveSymbols(options.symbols, options.cwd);
  const onProgress = typeof options.onProgress === 'function' ? options.onProgress : null;
  const total = items.length;

  const task = { formula: o.formula, period: o.period, last: o.last, items, workers: o.workers, batch: o.batch };
  const batches = o.queue
    ? require('./queue').runQueue({ // loaded only when used: the queue client is large
      ...task, url: o.queue, attempts: options.attempts, retryFor: options.retryFor,
      queueName: options.queueName, onWarning: options.onWarning, sweepEvery: options.sweepEvery,
    })
    : runLocal(task);

  const empty = (value) => (o.last === 1 ? value : new Array(o.last).fill(value));
  const toResult = (r) => {
    const values = {};
    const item = items[r.i];
    if (r.e !== undefined) {
      for (const name of names) values[name] = empty(null);
      return { index: r.i, result: { symbol: item.symbol, values, error: r.e } };
    }
    names.forEach((name, j) => { values[name] = j < r.v.length ? r.v[j] : empty(null); });
    return { index: r.i, result: { symbol: item.symbol, values } };
  };
  const kept = ({ result }) => result.error !== undefined || o.where === undefined
    || (lastOf(result.values[o.where]) !== null && lastOf(result.values[o.where]) !== 0);

  const arrived = new Array(total);
  let done = 0;
  let next = 0;
  let shown = 0;
  const ranked = [];
  const failed = [];
  for await (const batch of batches) {
    for (const r of batch) {
      if (!Number.isInteger(r.i) || r.i < 0 || r.i >= total || arrived[r.i] !== undefined) continue;
      const entry = toResult(r);
      arrived[r.i] = entry;
      done += 1;
      if (o.sort !== undefined) {
        if (entry.result.error !== undefined) failed.push(entry);
        else if (kept(entry)) ranked.push({ index: entry.index, values: entry.result.values, result: entry.result });
      }
    }
    if (onProgress) onProgress(done, total);
    if (o.sort === undefined) {
      // Symbol order: hand out every result whose predecessors are all in.
      while (next < total && arrived[next] !== undefined) {
        const entry = arrived[next];
        arrived[next] = null;
        next += 1;
        if (!kept(entry)) continue;
        if (entry.result.error === undefined) {
          if (o.top !== undefined && shown >= o.top) continue;
          shown += 1;
        }
        yield entry.result;
      }
    }
  }
  if (done < total) throw new Error(`screen: ${total - done} symbol(s) got no result`);
  if (o.sort !== undefined) {
    ranked.sort(compareBy(o.sort, o.asc));
    const cut = o.top !== undefined ? ranked.slice(0, o.top) : ranked;
    for (const entry of cut) yield entry.result;
    failed.sort((a, b) => a.index - b.index);
    for (const entry of failed) yield entry.result;
  }
}

module.exports = { screen, namesOf };
