'use strict';

// End-to-end: the documented formulas with their exact output texts.

const { describe, test } = require('node:test');
const assert = require('node:assert/strict');

const { EMPTY_DRAW, NodeCompiler, barsWithCloses, datasOf, run } = require('./helpers/formula.js');

function seriesOutput(name, datas, properties = []) {
  const props = properties.map((p) => `"${p}"`).join(',');
  return `{"name":"${name}","datas":[${datas.join(',')}],"draw":${EMPTY_DRAW},"properties":[${props}]}`;
}

function output(...vars) {
  return `{"out_vars":[${vars.join(',')}],"error_info":""}`;
}

describe('examples', () => {
  test('a missing final semicolon is reported at the right parenthesis', () => {
    assert.equal(new NodeCompiler('MA5:MA(CLOSE,5)').Compile(),
      '{ "line" : 1, "column" : 14, "err_code" : 10007, "err_exp" : "Illegal statement. ", "desc" : ")" }');
  });

  test('X:CLOSE,COLORRED; over the closes 1 and 2.5', () => {
    assert.equal(run('X:CLOSE,COLORRED;', barsWithCloses([1, 2.5])),
      '{"out_vars":[{"name":"X","datas":[1.000000,2.500000],"draw":{"draw_name":"","draw_text":"",'
      + '"draw_type":0,"draw_kline_datas":[],"draw_positions":[],"part_lines":[],"draw_numbers":[],'
      + '"draw_sls":[],"stick_lines":[] },"properties":["COLORRED"]}],"error_info":""}');
  });

  test('the empty drawing record of a series output', () => {
    assert.ok(run('X:C;', barsWithCloses([1])).includes(`"draw":${EMPTY_DRAW},`));
  });

  test('a formula without outputs', () => {
    assert.equal(run('A:=CLOSE;', barsWithCloses([1, 2])), '{"out_vars":[],"error_info":""}');
    assert.equal(run('', barsWithCloses([1])), '{"out_vars":[],"error_info":""}');
  });

  const cases = [
    ['two properties in statement order', 'X:CLOSE,COLORRED,LINETHICK2;', [1],
      output(seriesOutput('X', ['1.000000'], ['COLORRED', 'LINETHICK2']))],
    ['a variable that is not output', 'A:=CLOSE; B:A+1;', [1, 2.5],
      output(seriesOutput('B', ['2.000000', '3.500000']))],
    ['NULL is the invalid value at every bar', 'Z:NULL;', [1, 2, 3],
      output(seriesOutput('Z', ['-100000.000000', '-100000.000000', '-100000.000000']))],
    ['NULL over no bars', 'Z:NULL;', [], output(seriesOutput('Z', []))],
    ['a number or a string output has no values', "X:5; Y:'text';", [1],
      output(seriesOutput('X', []), seriesOutput('Y', []))],
    ['two outputs with the same name', 'X:C; X:C*2;', [2],
      output(seriesOutput('X', ['2.000000']), seriesOutput('X', ['4.000000']))],
    ['a property that is not a text is left out', 'X:C,COLORRED,5,LINETHICK1;', [1],
      output(seriesOutput('X', ['1.000000'], ['COLORRED', 'LINETHICK1']))],
  ];
  for (const [label, formula, closes, expected] of cases) {
    test(label, () => assert.equal(run(formula, barsWithCloses(closes)), expected));
  }

  test('a function call statement is output under the function name', () => {
    const text = run('MA(CLOSE,2);', barsWithCloses([1, 3, 5]));
    assert.deepEqual(datasOf(text, 'MA').slice(1), ['2.000000', '4.000000']);
  });

  test('a drawing call gives a drawing output; assigned, it gives no values', () => {
    const bars = barsWithCloses([1, 2]);
    assert.match(run("DRAWTEXT(CLOSE>OPEN,LOW,'up');", bars),
      /^\{"out_vars":\[\{"name":"DRAWTEXT","datas":\[\],"draw":\{"draw_name":"DRAWTEXT","draw_text":"up",/);
    assert.equal(run("X:DRAWTEXT(CLOSE>OPEN,LOW,'up');", bars), output(seriesOutput('X', [])));
  });
});
