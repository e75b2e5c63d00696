'use strict';

// The symbols of a screen: CSV files matched by glob patterns (the symbol is
// the file name without its extension) or a list of { symbol, bars }.

const path = require('path');
const fg = require('fast-glob');
const { optionError } = require('./options');

function byText(a, b) {
  return a < b ? -1 : a > b ? 1 : 0;
}

function symbolOf(file) {
  const base = path.basename(file);
  const dot = base.lastIndexOf('.');
  return dot > 0 ? base.slice(0, dot) : base;
}

// Files of every pattern, each file once, in file-name order (symbol, then
// the full path for equal names in different folders).
async function filesOf(patterns, cwd) {
  const found = new Set();
  for (const pattern of patterns) {
    const matches = await fg(pattern, { cwd, absolute: true, onlyFiles: true, unique: true });
    for (const m of matches) found.add(path.normalize(m));
  }
  return [...found]
    .map((file) => ({ symbol: symbolOf(file), path: file }))
    .sort((a, b) => byText(a.symbol, b.symbol) || byText(a.path, b.path));
}

function isColumnArray(x) {
  return Array.isArray(x) || ArrayBuffer.isView(x);
}

function checkListed(entry, k) {
  if (entry === null || typeof entry !== 'object') {
    throw optionError(TypeError, `screen: symbols[${k}] is not an object`);
  }
  if (typeof entry.symbol !== 'string' || entry.symbol === '') {
    throw optionError(TypeError, `screen: symbols[${k}].symbol must be a non-empty string`);
  }
  const { bars } = entry;
  const columns = bars !== null && typeof bars === 'object'
    && ['t', 'o', 'h', 'l', 'c', 'v'].some((k2) => isColumnArray(bars[k2]));
  if (!Array.isArray(bars) && !columns) {
    throw optionError(TypeError, `screen: symbols[${k}].bars must be bar columns or an array of bars`);
  }
}

// Returns [{ i, symbol, path } | { i, symbol, bars }] numbered in order.
async function resolveSymbols(symbols, cwd = process.cwd()) {
  let list;
  if (typeof symbols === 'string') {
    list = await filesOf([symbols], cwd);
  } else if (Array.isArray(symbols) && symbols.every((s) => typeof s === 'string')) {
    list = await filesOf(symbols, cwd);
  } else if (Array.isArray(symbols)) {
    symbols.forEach(checkListed);
    list = symbols.map(({ symbol, bars }) => ({ symbol, bars }));
  } else {
    throw optionError(TypeError, 'screen: symbols must be a glob, a list of globs or a list of { symbol, bars }');
  }
  return list.map((entry, i) => ({ i, ...entry }));
}

module.exports = { resolveSymbols, symbolOf };
