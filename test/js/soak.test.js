'use strict';

// Soak test, behind a flag (npm run soak, or FORMULA_SOAK=1): 100,000
// Compile/SetData/Run cycles over varied formulas and bar counts, on fresh
// compilers and on one reused compiler, checking that memory stays flat
// once warm. Prints the figures the README quotes.

const { test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('fs');
const path = require('path');

const { NodeCompiler, ROOT } = require('./helpers/formula.js');

const CYCLES = Number(process.env.FORMULA_SOAK_CYCLES || 100000);
const WARM_UP = Math.floor(CYCLES / 10);
const EXAMPLES = path.join(ROOT, 'examples', 'formulas');

function formulas() {
  const list = fs.readdirSync(EXAMPLES).map((name) => fs.readFileSync(path.join(EXAMPLES, name), 'utf8'));
  list.push('A:MA(C,5); B:STD(C,20); C1:SUMBARS(V,1000);', "PARTLINE2(C,C>O,'red',C<=O,'green');",
    'X:HHV(H,-2.5)+LLV(L,99999999999999999999); Y:REF(C,18446744073709551616);', 'DRAWNUMBER(C>O,H,C,12);',
    'A:', 'B:=C; X:IF(B>REF(B,1),1,-1); Y:COUNT(X>0,10);', "DRAWTEXT(CROSS(C,MA(C,5)),L,'up');");
  return list;
}

function bars(count, shift) {
  return Array.from({ length: count }, (_, i) => {
    const c = 100 + Math.sin((i + shift) / 7) * 10;
    return { t: 946857600000 + 86400000 * i, o: c - 1, h: c + 2, l: c - 2, c, v: 1000 + i };
  });
}

test('soak: memory stays flat over Compile/SetData/Run cycles',
  { skip: process.env.FORMULA_SOAK ? false : 'set FORMULA_SOAK=1 (npm run soak)', timeout: 3600000 },
  () => {
    const texts = formulas();
    const barSets = [10, 100, 500].map((n, k) => bars(n, k));
    const reused = new NodeCompiler('');
    let outputs = 0;
    const cycle = (i) => {
      const text = texts[i % texts.length];
      const data = barSets[i % barSets.length];
      const compiler = i % 2 ? new NodeCompiler(text) : reused;
      if (compiler === reused) {
        // The reused compiler gets new bars and runs its last formula.
        compiler.AppendData(data.slice(0, 1));
        compiler.ReplaceLastData(data[0]);
      }
      compiler.Compile();
      compiler.SetData(data);
      compiler.SetPeriod(1440);
      outputs += compiler.Run().length;
    };
    for (let i = 0; i < WARM_UP; i++) cycle(i);
    const start = process.memoryUsage().rss;
    const began = Date.now();
    let peak = start;
    for (let i = WARM_UP; i < CYCLES; i++) {
      cycle(i);
      if (i % 1000 === 0) peak = Math.max(peak, process.memoryUsage().rss);
    }
    const end = process.memoryUsage().rss;
    const mb = (bytes) => (bytes / 1048576).toFixed(1);
    process.stdout.write(`# soak: ${CYCLES} cycles (${CYCLES - WARM_UP} measured) in ${((Date.now() - began) / 1000).toFixed(1)} s; `
      + `RSS ${mb(start)} MB after warm-up, peak ${mb(peak)} MB, end ${mb(end)} MB, growth ${mb(end - start)} MB; `
      + `${mb(outputs)} MB of output\n`);
    assert.ok(end - start < 64 * 1048576, `grew by ${mb(end - start)} MB`);
  });
