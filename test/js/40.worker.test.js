'use strict';

const { describe, test } = require('node:test');
const assert = require('node:assert/strict');
const path = require('path');
const { Worker } = require('worker_threads');

const { NodeCompiler, ROOT, barsWithCloses, compiled } = require('./helpers/formula.js');

const FORMULA = 'A:C*2; B:(H+L)/2; C1:C>O;';

// A worker that loads the module on its own, builds one compiler with new
// and one without, and posts back both runs (and a compile report).
const WORKER_SOURCE = `
const { parentPort, workerData } = require('worker_threads');
const { NodeCompiler } = require(workerData.entry);
const withNew = new NodeCompiler(workerData.formula);
const withoutNew = NodeCompiler(workerData.formula);
const reports = [withNew.Compile(), withoutNew.Compile(), new NodeCompiler('A:').Compile()];
withNew.SetData(workerData.bars);
withoutNew.AppendData(workerData.bars);
withNew.SetPeriod(5);
parentPort.postMessage({ reports, runs: [withNew.Run(), withoutNew.Run()] });
`;

function runWorker(bars) {
  return new Promise((resolve, reject) => {
    const worker = new Worker(WORKER_SOURCE, {
      eval: true,
      workerData: { entry: path.join(ROOT, 'index.js'), formula: FORMULA, bars },
    });
    let message;
    worker.once('message', (value) => { message = value; });
    worker.once('error', reject);
    worker.once('exit', (code) => {
      if (code !== 0) reject(new Error(`worker exited with ${code}`));
      else resolve(message);
    });
  });
}

describe('worker threads', () => {
  test('a worker given a non-array gets the TypeError in its own thread', async () => {
    const source = `
      const { NodeCompiler } = require(${JSON.stringify(path.join(ROOT, 'index.js'))});
      new NodeCompiler('A:C;').SetData(5);`;
    const worker = new Worker(source, { eval: true });
    const error = await new Promise((resolve) => worker.once('error', resolve));
    assert.equal(error.name, 'TypeError');
    assert.equal(error.message, 'SetData: expected an array of bar objects');
  });

  test('two workers compile and run as the main thread does', async () => {
    const barsA = barsWithCloses([1, 2.5, 3, 4.75]);
    const barsB = barsWithCloses([10, 9, 8]).map((bar) => ({ ...bar, o: 9.5 }));
    const [fromA, fromB] = await Promise.all([runWorker(barsA), runWorker(barsB)]);

    const mainReport = new NodeCompiler('A:').Compile();
    for (const [bars, result] of [[barsA, fromA], [barsB, fromB]]) {
      const expected = compiled(FORMULA, bars, 5).Run();
      assert.deepEqual(result.reports, ['', '', mainReport]);
      assert.equal(result.runs[0], expected);
      assert.equal(result.runs[1], expected);
    }
  });

  test('the main thread keeps working after workers have ended', async () => {
    await runWorker(barsWithCloses([1]));
    const compiler = NodeCompiler(FORMULA);
    assert.equal(compiler.Compile(), '');
    compiler.SetData(barsWithCloses([2]));
    assert.match(compiler.Run(), /"name":"A","datas":\[4\.000000\]/);
  });
});
