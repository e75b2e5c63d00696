'use strict';

// Local mode: a pool of worker threads (piscina), one per core by default.
// Each thread compiles the formula once and reads its symbols' bars itself;
// the main thread only hands out file paths and merges the small results.

const os = require('os');
const path = require('path');
const Piscina = require('piscina');
const { batchSize, split, Channel } = require('./batches');

const TASK_FILE = path.join(__dirname, 'pool-worker.js');

function defaultWorkers() {
  return typeof os.availableParallelism === 'function' ? os.availableParallelism() : os.cpus().length;
}

function createPool(workers) {
  return new Piscina({ filename: TASK_FILE, minThreads: workers, maxThreads: workers, idleTimeout: 1000 });
}

// Yields arrays of { i, v } / { i, e } as batches finish.
async function* runLocal({ formula, period, last, items, workers, batch }) {
  const threads = workers || defaultWorkers();
  const pool = createPool(threads);
  const channel = new Channel();
  const batches = split(items, batchSize(items.length, threads, batch));
  for (const group of batches) {
    const task = { formula, period, last, items: group };
    pool.run(task).then(
      (results) => channel.push(results),
      (err) => channel.push(group.map(({ i }) => ({ i, e: `worker failed: ${err && err.message}` }))),
    );
  }
  try {
    for (let k = 0; k < batches.length; k++) yield await channel.next();
  } finally {
    await pool.destroy();
  }
}

module.exports = { runLocal, createPool, defaultWorkers };
