'use strict';

// Queue mode against a real redis-server started on a free loopback port:
// two worker processes, one killed while it holds a batch; Redis stopped
// mid-screen. redis-server must be installed (Debian's redis-server
// package; .ci/run installs it): without it this suite fails, it never skips.

const { describe, test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const { spawn } = require('node:child_process');
const os = require('node:os');
const path = require('node:path');

const { ROOT, makeMarket, collect, freePort } = require('./helpers/screen.js');
const { screen } = require(path.join(ROOT, 'lib', 'screen'));
const { QUEUE_NAME, QueueConnectionError } = require(path.join(ROOT, 'lib', 'screen', 'queue'));
const IORedis = require('ioredis');
const { QueueEvents, Queue, Job } = require('bullmq');

const CLI = path.join(ROOT, 'bin', 'formula-screen.js');
const FORMULA = 'DIF:EMA(C,12)-EMA(C,26); DEA:EMA(DIF,9); UP:CROSS(DIF,DEA); R:HHV(H,60)/LLV(L,60);';

function exited(child) {
  return new Promise((resolve) => {
    if (child.exitCode !== null || child.signalCode !== null) resolve({ code: child.exitCode, signal: child.signalCode });
    else child.once('exit', (code, signal) => resolve({ code, signal }));
  });
}

// Resolves once the child printed a line matching `pattern` on `stream`.
function printed(child, stream, pattern) {
  return new Promise((resolve, reject) => {
    let text = '';
    child[stream].on('data', (d) => {
      text += d;
      if (pattern.test(text)) resolve(text);
    });
    child.once('exit', (code) => reject(new Error(`exited (${code}) before printing ${pattern}: ${text}`)));
    child.once('error', reject);
  });
}

async function startRedis() {
  const port = await freePort();
  const child = spawn('redis-server', ['--port', String(port), '--bind', '127.0.0.1',
    '--save', '', '--appendonly', 'no'], { stdio: ['ignore', 'pipe', 'pipe'] });
  child.once('error', (err) => {
    if (err.code === 'ENOENT') err.message = 'redis-server is not installed (Debian: apt-get install redis-server)';
  });
  await printed(child, 'stdout', /Ready to accept connections/);
  return { child, url: `redis://127.0.0.1:${port}` };
}

function startWorker(url) {
  const child = spawn(process.execPath, [CLI, 'worker', '--queue', url, '--workers', '1',
    '--lock-duration', '2000', '--stalled-interval', '1000', '--retry-for', '2'], { stdio: ['ignore', 'ignore', 'pipe'] });
  return { child, ready: printed(child, 'stderr', /taking batches/) };
}

let market;
let local;
let redis;
const workers = [];

before(async () => {
  market = makeMarket(90, { minBars: 1500, step: 15, bad: true });
  local = await collect(screen({ formula: FORMULA, symbols: market.glob, workers: 2 }));
  redis = await startRedis();
});

after(async () => {
  for (const w of workers) if (w.child.exitCode === null && w.child.signalCode === null) w.child.kill('SIGKILL');
  if (redis && redis.child.exitCode === null && redis.child.signalCode === null) redis.child.kill('SIGKILL');
  market.remove();
});

describe('screen: queue mode on a real Redis', () => {
  test('two workers, one killed holding a batch: every symbol once, values of local mode', async () => {
    const a = startWorker(redis.url);
    const b = startWorker(redis.url);
    workers.push(a, b);
    await Promise.all([a.ready, b.ready]);

    // Kill worker A the moment it takes a batch: that batch must come back
    // through the stalled-job check and be done by B.
    const connection = new IORedis(redis.url, { maxRetriesPerRequest: null });
    const blocking = connection.duplicate();
    const events = new QueueEvents(QUEUE_NAME, { connection: blocking });
    const queue = new Queue(QUEUE_NAME, { connection });
    try {
      await events.waitUntilReady();
      const nameOfA = `${os.hostname()}:${a.child.pid}`;
      let killedWith = null;
      events.on('active', async ({ jobId }) => {
        if (killedWith) return;
        const job = await Job.fromId(queue, jobId);
        if (job && job.processedBy === nameOfA && !killedWith) {
          killedWith = jobId;
          a.child.kill('SIGKILL');
        }
      });
      let stalled = 0;
      events.on('stalled', () => { stalled += 1; });

      // sweepEvery 1: unfinished batches are also polled all the time, racing
      // the workers that finish them.
      const got = await collect(screen({
        formula: FORMULA, symbols: market.glob, queue: redis.url, batch: 3, retryFor: 5000, sweepEvery: 1,
      }));
      assert.notEqual(killedWith, null, 'worker A took a batch and was killed');
      assert.deepEqual(await exited(a.child), { code: null, signal: 'SIGKILL' });
      assert.ok(stalled >= 1, 'the killed batch was recovered as stalled');
      assert.deepEqual(got, local);
      const symbols = got.map((r) => r.symbol);
      assert.equal(new Set(symbols).size, market.symbols.length + 2, 'every symbol exactly once');
    } finally {
      await events.close();
      await queue.close();
      connection.disconnect();
      blocking.disconnect();
    }
  });

  test('Redis stopped mid-screen: the coordinator and the worker stop with a clear error', async () => {
    const b = workers[1] || startWorker(redis.url);
    let stopped = false;
    const run = collect(screen({
      formula: FORMULA, symbols: market.glob, queue: redis.url, batch: 2, retryFor: 2000,
      onProgress: () => {
        if (!stopped) {
          stopped = true;
          redis.child.kill('SIGKILL');
        }
      },
    }));
    await assert.rejects(run, (err) => err instanceof QueueConnectionError && /lost the connection to Redis/.test(err.message));
    assert.equal(stopped, true);
    const exit = await exited(b.child);
    assert.equal(exit.code, 3);
  });
});
