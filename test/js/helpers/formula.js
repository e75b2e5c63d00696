'use strict';

// Shared helpers of the JavaScript suites.

const assert = require('node:assert/strict');
const path = require('path');

const ROOT = path.join(__dirname, '..', '..', '..');
const { NodeCompiler } = require(path.join(ROOT, 'index.js'));

const NOT_COMPILED = '{"out_vars":[],"error_info":"formula is not compiled"}';

// Bars with the given closes (and opens); the other fields follow the close.
function barsWithCloses(closes, opens = closes) {
  return closes.map((c, i) => ({ c, o: opens[i], h: c, l: c, t: 946857600000 + 86400000 * i, v: 100 }));
}

// A compiled NodeCompiler over `bars`; fails the test when the formula does
// not compile.
function compiled(formula, bars = [], period) {
  const compiler = new NodeCompiler(formula);
  assert.equal(compiler.Compile(), '', `formula should compile: ${formula}`);
  compiler.SetData(bars);
  if (period !== undefined) compiler.SetPeriod(period);
  return compiler;
}

// The raw text of the values of output `name`: output may hold nan or inf,
// which JSON.parse refuses, so the values are cut out of the text.
function datasOf(output, name) {
  const match = new RegExp(`"name":"${name}","datas":\\[([^\\]]*)\\]`).exec(output);
  assert.ok(match, `no output ${name} in ${output.slice(0, 300)}`);
  return match[1] === '' ? [] : match[1].split(',');
}

module.exports = {
  NOT_COMPILED,
  NodeCompiler,
  ROOT,
  barsWithCloses,
  compiled,
  datasOf,
};
