'use strict';

const { describe, test } = require('node:test');
const assert = require('node:assert/strict');
const path = require('path');

const { NodeCompiler, ROOT, barsWithCloses, datasOf } = require('./helpers/formula.js');

const METHODS = ['Compile', 'SetData', 'AppendData', 'ReplaceLastData', 'SetPeriod', 'Run'];

describe('construct: bad arguments', () => {
  test('a Symbol formula throws the TypeError of String(symbol); a throwing toString passes through', () => {
    assert.throws(() => new NodeCompiler(Symbol('f')), TypeError);
    assert.throws(() => NodeCompiler(Symbol('f')), TypeError);
    const formula = { toString() { throw new RangeError('no text'); } };
    assert.throws(() => new NodeCompiler(formula), { name: 'RangeError', message: 'no text' });
  });

  const receivers = [
    ['a plain object', {}],
    ['the prototype', NodeCompiler.prototype],
    ['an object inheriting from the prototype', Object.create(NodeCompiler.prototype)],
  ];
  for (const [label, receiver] of receivers) {
    test(`every method called on ${label} throws a TypeError`, () => {
      for (const method of METHODS) {
        assert.throws(() => NodeCompiler.prototype[method].call(receiver, []), TypeError, method);
      }
    });
  }
});

describe('construct: behaviour', () => {
  test('the package entry re-exports the class of addon.node with its six methods', () => {
    const addon = require(path.join(ROOT, 'build', 'Release', 'addon.node'));
    assert.equal(NodeCompiler, addon.NodeCompiler);
    assert.deepEqual(Object.keys(require(ROOT)).sort(), ['AbortError', 'Formula', 'FormulaBusyError', 'FormulaError', 'NodeCompiler', 'compile', 'loadBars', 'screen']);
    assert.equal(NodeCompiler.name, 'NodeCompiler');
    for (const method of METHODS) assert.equal(typeof NodeCompiler.prototype[method], 'function', method);
  });

  test('with or without new; without a formula, the empty one', () => {
    const compiler = NodeCompiler('A:C;');
    assert.ok(compiler instanceof NodeCompiler);
    assert.equal(compiler.Compile(), '');
    compiler.SetData(barsWithCloses([3, 4]));
    assert.deepEqual(datasOf(compiler.Run(), 'A'), ['3.000000', '4.000000']);
    for (const empty of [new NodeCompiler(), NodeCompiler()]) {
      assert.equal(empty.Compile(), '');
      empty.SetData(barsWithCloses([1]));
      assert.equal(empty.Run(), '{"out_vars":[],"error_info":""}');
    }
  });

  // The formula is String(argument): each must compile and run as its text.
  const conversions = [
    ['null', null, 'null'],
    ['a number', 5, '5'],
    ['a boolean', true, 'true'],
    ['an object with toString', { toString: () => 'A:C;' }, 'A:C;'],
    ['an array', ['A:C;', 'B:O;'], 'A:C;,B:O;'],
  ];
  const compileAndRun = (compiler) => {
    const report = compiler.Compile();
    compiler.SetData(barsWithCloses([2]));
    return [report, compiler.Run()];
  };
  for (const [label, argument, text] of conversions) {
    test(`${label} formula is read as String(value)`, () => {
      const expected = compileAndRun(new NodeCompiler(text));
      assert.deepEqual(compileAndRun(new NodeCompiler(argument)), expected);
      assert.deepEqual(compileAndRun(NodeCompiler(argument)), expected);
    });
  }

  test('arguments after the formula are ignored; instances keep their own formula and rows', () => {
    const first = new NodeCompiler('A:C;', 'B:O;', 3);
    const second = NodeCompiler('B:C*2;');
    assert.equal(first.Compile(), '');
    assert.equal(second.Compile(), '');
    first.SetData(barsWithCloses([1, 2]));
    second.SetData(barsWithCloses([10]));
    assert.deepEqual(datasOf(first.Run(), 'A'), ['1.000000', '2.000000']);
    assert.doesNotMatch(first.Run(), /"name":"B"/);
    assert.deepEqual(datasOf(second.Run(), 'B'), ['20.000000']);
  });
});
