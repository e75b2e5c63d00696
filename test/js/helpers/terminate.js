'use strict';

// Terminates workers while they are inside a NodeCompiler call, or while a
// typed formula's runAsync() is in flight on the thread pool. Used from a
// child process by 45.hardening.test.js, so that an abort fails the test
// instead of ending the test runner.

const assert = require('node:assert/strict');
const path = require('path');
const { Worker } = require('worker_threads');

const ENTRY = path.join(__dirname, '..', '..', '..', 'index.js');

// A worker that calls one method in a loop until it is terminated. The loop
// posts once it has started, so the terminate lands inside a call.
function loopingWorker(method) {
  const source = `
    const { parentPort } = require('worker_threads');
    const { NodeCompiler, compile } = require(${JSON.stringify(ENTRY)});
    const bars = Array.from({ length: 20000 }, (_, i) => ({ c: i, o: i, h: i + 1, l: i - 1, t: i, v: 1 }));
    const nc = new NodeCompiler('A:MA(C,5); B:STD(C,20); DRAWTEXT(C>O,L,"x");');
    nc.Compile();
    nc.SetData(bars);
    const calls = {
      SetData: () => nc.SetData(bars),
      AppendData: () => nc.AppendData(bars.slice(0, 2000)),
      ReplaceLastData: () => nc.ReplaceLastData(bars[5]),
      Run: () => nc.Run(),
      Compile: () => nc.Compile(),
      construct: () => new NodeCompiler('A:C;').Compile(),
    };
    const formula = compile(${JSON.stringify("A:MA(C,5); B:STD(C,BARPOS/8); DRAWTEXT(C>O,L,'x');")}, { bars });
    parentPort.postMessage('started');
    if (${JSON.stringify(method)} === 'runAsync') {
      (async () => { for (;;) await formula.runAsync(); })();
    } else {
      for (;;) calls[${JSON.stringify(method)}]();
    }
  `;
  return new Worker(source, { eval: true });
}

async function terminateDuringCalls(method, rounds) {
  for (let round = 0; round < rounds; round++) {
    const worker = loopingWorker(method);
    await new Promise((resolve, reject) => {
      worker.once('message', resolve);
      worker.once('error', reject);
    });
    // Vary the moment inside the call a little from round to round.
    await new Promise((resolve) => setTimeout(resolve, round % 7));
    const code = await worker.terminate();
    assert.equal(code, 1);
  }
}

module.exports = { terminateDuringCalls };
