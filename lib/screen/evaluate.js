'use strict';

// Running one compiled formula over the bars of a batch of symbols. This is
// the work a pool thread or a queue worker does; it keeps a few compiled
// formulas so that every batch of the same screen reuses one compilation.

const engine = require('../..');

const KEEP_COMPILED = 4;
const compiledByText = new Map();

function compiled(formula) {
  let f = compiledByText.get(formula);
  if (f === undefined) {
    f = engine.compile(formula);
    if (compiledByText.size >= KEEP_COMPILED) {
      compiledByText.delete(compiledByText.keys().next().value);
    }
    compiledByText.set(formula, f);
  }
  return f;
}

// Output names as they appear in results: repeated names (two DRAWTEXT
// statements, say) get "#2", "#3", ... so every output keeps a column.
function outputNames(outputs) {
  const seen = new Map();
  return outputs.map(({ name }) => {
    const n = (seen.get(name) || 0) + 1;
    seen.set(name, n);
    return n === 1 ? name : `${name}#${n}`;
  });
}

// A value a report can carry: a finite number, or null for "no value"
// (NaN, infinities, bars past the end, drawing outputs).
function reportable(x) {
  return typeof x === 'number' && Number.isFinite(x) ? x : null;
}

// The last value of a series, or its last `last` values oldest first,
// padded with null in front when the series is shorter.
function tail(values, last) {
  const n = values ? values.length : 0;
  if (last === 1) return n > 0 ? reportable(values[n - 1]) : null;
  const out = new Array(last);
  for (let k = 0; k < last; k++) {
    const i = n - last + k;
    out[k] = i >= 0 ? reportable(values[i]) : null;
  }
  return out;
}

function message(err) {
  if (err && typeof err.message === 'string' && err.message !== '') return err.message;
  return String(err);
}

// task: { formula, period, last, items: [{ i, symbol, path } | { i, symbol, bars }] }
// result: one entry per item, { i, v: [value per output] } or { i, e: text }.
async function evaluateBatch(task) {
  const { formula, period, last, items } = task;
  let f;
  try {
    f = compiled(formula);
  } catch (err) {
    return items.map(({ i }) => ({ i, e: `formula: ${message(err)}` }));
  }
  const results = new Array(items.length);
  for (let k = 0; k < items.length; k++) {
    const item = items[k];
    try {
      const bars = item.bars !== undefined ? item.bars : await engine.loadBars(item.path);
      f.setBars(bars);
      f.period = period;
      const { outputs } = f.run();
      const v = new Array(outputs.length);
      for (let j = 0; j < outputs.length; j++) v[j] = tail(outputs[j].values, last);
      results[k] = { i: item.i, v };
    } catch (err) {
      results[k] = { i: item.i, e: message(err) };
    }
  }
  return results;
}

module.exports = { evaluateBatch, outputNames, tail, compiled, reportable };
