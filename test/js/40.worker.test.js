'use strict';

const { describe, test } = require('node:test');
const assert = require('node:assert/strict');
const path = require('path');
const { Worker } = require('worker_threads');

const { NodeCompiler, ROOT, barsWithCloses, compiled } = require('./helpers/formula.js');

const ENTRY = JSON.stringify(path.join(ROOT, 'index.js'));
const FORMULA = 'A:C*2; B:(H+L)/2; C1:C>O;';

// A worker that loads the module on its own, builds one compiler with new
// and one without, and posts back both runs (and a compile report).
const WORKER_SOURCE = `
const { parentPort, workerData } = require('worker_threads');
const { NodeCompiler } = require(${ENTRY});
const withNew = new NodeCompiler(workerData.formula);
const withoutNew = NodeCompiler(workerData.formula);
const reports = [withNew.Compile(), withoutNew.Compile(), new NodeCompiler('A:').Compile()];
withNew.SetData(workerData.bars);
withoutNew.AppendData(workerData.bars);
withNew.SetPeriod(5);
parentPort.postMessage({ reports, runs: [withNew.Run(), withoutNew.Run()] });
`;

// The worker's message once it has ended, or its error.
function runWorker(source, workerData) {
  return new Promise((resolve, reject) => {
    const worker = new Worker(source, { eval: true, workerData });
    let message;
    worker.once('message', (value) => { message = value; });
    worker.once('error', reject);
    worker.once('exit', (code) => (code === 0 ? resolve(message) : reject(new Error(`worker exited with ${code}`))));
  });
}

describe('worker threads', () => {
  test('a worker given a non-array gets the TypeError in its own thread', async () => {
    await assert.rejects(runWorker(`require(${ENTRY}).NodeCompiler('A:C;').SetData(5);`),
      { name: 'TypeError', message: 'SetData: expected an array of bar objects' });
  });

  test('two workers compile and run as the main thread does, which keeps working after them', async () => {
    const barsA = barsWithCloses([1, 2.5, 3, 4.75]);
    const barsB = barsWithCloses([10, 9, 8]).map((bar) => ({ ...bar, o: 9.5 }));
    const results = await Promise.all([barsA, barsB].map((bars) => runWorker(WORKER_SOURCE, { formula: FORMULA, bars })));
    const mainReport = new NodeCompiler('A:').Compile();
    [barsA, barsB].forEach((bars, k) => {
      const expected = compiled(FORMULA, bars, 5).Run();
      assert.deepEqual(results[k], { reports: ['', '', mainReport], runs: [expected, expected] });
    });
    assert.match(compiled(FORMULA, barsWithCloses([2])).Run(), /"name":"A","datas":\[4\.000000\]/);
  });
});
