'use strict';

// Queue mode on BullMQ and Redis. The coordinator puts batches of symbols on
// a queue (file paths on storage every worker shares, or the bars themselves
// for symbols given in memory); `formula-screen worker` processes on any
// machine take them, run them on their own thread pool and hand the results
// back as the jobs' return values. A worker that dies mid-batch leaves its
// job locked until the lock runs out; a live worker's stalled-job check then
// puts it back on the queue (bounded by maxStalledCount, and by `attempts`
// for batches that throw). The caller merges by symbol index, so a batch
// finished twice still reports each symbol once.

const { randomUUID } = require('crypto');
const os = require('os');
const IORedis = require('ioredis');
const { Queue, QueueEvents, Worker, Job } = require('bullmq');
const { split, Channel } = require('./batches');
const { createPool, defaultWorkers } = require('./local');
const { checkUrl, QUEUE_DEFAULTS: DEFAULTS } = require('./options');

const QUEUE_NAME = 'formula-screen';


class QueueConnectionError extends Error {
  constructor(message) {
    super(message);
    this.name = 'QueueConnectionError';
  }
}

const noop = () => {};
const delay = (ms) => new Promise((resolve) => { setTimeout(resolve, ms).unref(); });

// One attempt to connect and PING, bounded in time: a clear error instead of
// ioredis' endless reconnecting when the server is not there at all.
async function checkConnection(url, timeoutMs = 5000) {
  checkUrl(url);
  const client = new IORedis(url, {
    lazyConnect: true, connectTimeout: timeoutMs, commandTimeout: timeoutMs,
    maxRetriesPerRequest: 0, enableOfflineQueue: false, retryStrategy: () => null,
  });
  client.on('error', noop);
  try {
    await client.connect();
    await client.ping();
  } catch (err) {
    throw new QueueConnectionError(`cannot reach Redis at ${url}: ${err.message || err}`);
  } finally {
    client.disconnect();
  }
}

// PINGs once a second on its own connection; when no PING has succeeded for
// retryFor ms, calls onLost once with a QueueConnectionError.
function watchConnection(url, retryFor, onLost) {
  const client = new IORedis(url, {
    enableOfflineQueue: false, maxRetriesPerRequest: 0, commandTimeout: 2000,
    retryStrategy: (times) => Math.min(times * 100, 1000),
  });
  let lastOk = Date.now();
  let lastError = null;
  let connectionError = null; // ECONNREFUSED and the like, from reconnecting
  client.on('error', (err) => { connectionError = err; });
  client.on('ready', () => { connectionError = null; });
  let stopped = false;
  let timer = null;
  const stop = () => {
    stopped = true;
    clearTimeout(timer);
    client.disconnect();
  };
  const tick = async () => {
    try {
      await client.ping();
      lastOk = Date.now();
    } catch (err) {
      lastError = client.status === 'ready' ? err : connectionError || new Error('connection closed');
    }
    if (stopped) return;
    if (Date.now() - lastOk > retryFor) {
      stop();
      const why = lastError ? ` (${lastError.message})` : '';
      onLost(new QueueConnectionError(
        `lost the connection to Redis at ${url}${why}; gave up after ${Math.round(retryFor / 1000)} s`));
      return;
    }
    timer = setTimeout(tick, Math.min(1000, retryFor / 2));
  };
  timer = setTimeout(tick, Math.min(1000, retryFor / 2));
  return stop;
}

function connection(url) {
  const client = new IORedis(url, {
    maxRetriesPerRequest: null,
    retryStrategy: (times) => Math.min(times * 200, 2000),
  });
  client.on('error', noop);
  return client;
}

// Closes bullmq objects without waiting forever on a dead server.
async function closeAll(closers, clients, ms = 3000) {
  await Promise.race([Promise.allSettled(closers.map((c) => c())), delay(ms)]);
  for (const client of clients) client.disconnect();
}

// Job data must be JSON: typed-array columns become plain arrays.
function portable(item) {
  if (item.bars === undefined || Array.isArray(item.bars)) return item;
  const bars = {};
  for (const [key, column] of Object.entries(item.bars)) {
    bars[key] = ArrayBuffer.isView(column) ? Array.from(column) : column;
  }
  return { ...item, bars };
}

function failedBatch(group, text) {
  return group.map(({ i }) => ({ i, e: text }));
}

function wellFormed(results) {
  return Array.isArray(results) && results.every((r) => r !== null && typeof r === 'object'
    && Number.isInteger(r.i) && (Array.isArray(r.v) || typeof r.e === 'string'));
}

// The coordinator. Yields arrays of { i, v } / { i, e } as batches finish;
// throws QueueConnectionError when Redis cannot be reached or stays away.
async function* runQueue(options) {
  const { url, formula, period, last, items, batch, onWarning = noop } = options;
  const queueName = options.queueName || QUEUE_NAME;
  const attempts = options.attempts || DEFAULTS.attempts;
  const retryFor = options.retryFor || DEFAULTS.retryFor;
  const sweepEvery = options.sweepEvery || DEFAULTS.sweepEvery;
  const warnAfter = options.warnAfter || DEFAULTS.warnAfter;

  await checkConnection(url);
  const clients = [connection(url), connection(url)];
  const queue = new Queue(queueName, { connection: clients[0] });
  const events = new QueueEvents(queueName, { connection: clients[1] });
  queue.on('error', noop);
  events.on('error', noop);
  const channel = new Channel();
  const stopWatch = watchConnection(url, retryFor, (err) => channel.fail(err));
  const pending = new Map();
  let sweepTimer = null;
  let lastProgress = Date.now();
  let lastWarning = Date.now();

  const finish = (jobId, results) => {
    const group = pending.get(jobId);
    if (!group) return;
    pending.delete(jobId);
    lastProgress = Date.now();
    channel.push(wellFormed(results) ? results : failedBatch(group, 'malformed result from a worker'));
  };

  // The state first, then the job: a job read before it finished has no
  // result yet, even when it has finished by the time its state is read.
  const check = async (jobId) => {
    const state = await queue.getJobState(jobId);
    if (state !== 'completed' && state !== 'failed' && state !== 'unknown') return;
    const job = await Job.fromId(queue, jobId);
    if (!pending.has(jobId)) return;
    if (!job) {
      finish(jobId, failedBatch(pending.get(jobId), 'the batch vanished from the queue'));
      return;
    }
    if (state === 'completed') {
      finish(jobId, job.returnvalue);
    } else if (state === 'failed') {
      finish(jobId, failedBatch(pending.get(jobId),
        `failed after ${job.attemptsMade} attempt(s): ${job.failedReason || 'unknown reason'}`));
    } else {
      return;
    }
    job.remove().catch(noop); // read: its data and result need not stay in Redis
  };
  const checkQuietly = (jobId) => { check(jobId).catch(noop); };

  // The fallback for missed events: runs only while no batch came in for a
  // while, so a healthy screen costs Redis nothing extra.
  const sweep = async () => {
    if (Date.now() - lastProgress < sweepEvery) return;
    for (const jobId of [...pending.keys()]) {
      if (channel.failure) return;
      await check(jobId).catch(noop);
    }
    const now = Date.now();
    if (now - lastProgress > warnAfter && now - lastWarning > warnAfter) {
      lastWarning = now;
      const workers = await queue.getWorkersCount().catch(() => -1);
      if (workers === 0) {
        onWarning(`no worker is connected to queue "${queueName}" at ${url}; `
          + `start one with: formula-screen worker --queue ${url}`);
      }
    }
  };
  const sweepLoop = () => {
    sweepTimer = setTimeout(() => { sweep().finally(() => { if (sweepTimer) sweepLoop(); }); }, sweepEvery);
  };

  try {
    events.on('completed', ({ jobId }) => { if (pending.has(jobId)) checkQuietly(jobId); });
    events.on('failed', ({ jobId }) => { if (pending.has(jobId)) checkQuietly(jobId); });
    await Promise.race([events.waitUntilReady(), channel.failed]);

    const screenId = randomUUID();
    const groups = split(items, batch || Math.max(1, Math.min(50, Math.ceil(items.length / 100))));
    const jobs = groups.map((group, k) => {
      const jobId = `${screenId}-${k}`;
      pending.set(jobId, group);
      return {
        name: 'batch',
        data: { formula, period, last, items: group.map(portable) },
        opts: { jobId, attempts, removeOnComplete: { age: 3600 }, removeOnFail: { age: 3600 } },
      };
    });
    for (let k = 0; k < jobs.length; k += 500) {
      await Promise.race([queue.addBulk(jobs.slice(k, k + 500)), channel.failed]);
    }
    sweepLoop();
    for (let k = 0; k < groups.length; k++) yield await channel.next();
  } finally {
    clearTimeout(sweepTimer);
    sweepTimer = null;
    stopWatch();
    if (!channel.failure && pending.size > 0) {
      // Abandoned early: take the batches nobody started off the queue.
      await Promise.race([Promise.allSettled([...pending.keys()].map((id) => queue.remove(id))), delay(2000)]);
    }
    await closeAll([() => events.close(), () => queue.close()], clients);
  }
}

function checkJob(data) {
  if (!data || typeof data.formula !== 'string' || !Array.isArray(data.items)
      || !Number.isFinite(data.period) || !Number.isInteger(data.last) || data.last < 1) {
    throw new Error('not a formula-screen batch');
  }
}

// A queue worker process: takes batches from the queue and runs them on a
// local thread pool (so the event loop stays free to renew job locks while
// the formula runs). Resolves with the exit status: 0 after SIGINT/SIGTERM,
// 3 when the connection to Redis is lost for longer than retryFor.
async function runQueueWorker(options) {
  const { url, log = noop } = options;
  const queueName = options.queueName || QUEUE_NAME;
  const threads = options.workers || defaultWorkers();
  const retryFor = options.retryFor || DEFAULTS.retryFor;

  await checkConnection(url);
  const pool = createPool(threads);
  const client = connection(url);
  const worker = new Worker(queueName, async (job) => {
    checkJob(job.data);
    return pool.run(job.data);
  }, {
    connection: client,
    name: options.name || `${os.hostname()}:${process.pid}`, // shown as the job's processedBy
    concurrency: threads,
    lockDuration: options.lockDuration || DEFAULTS.lockDuration,
    stalledInterval: options.stalledInterval || DEFAULTS.stalledInterval,
    maxStalledCount: options.maxStalledCount || DEFAULTS.maxStalledCount,
  });
  worker.on('error', noop);
  log(`formula-screen worker: ${threads} thread(s) taking batches from queue "${queueName}" at ${url}`);

  return new Promise((resolve) => {
    let done = false;
    const shutdown = async (status) => {
      if (done) return;
      done = true;
      stopWatch();
      await closeAll([() => worker.close(status !== 0)], [client]);
      await pool.destroy();
      resolve(status);
    };
    const stopWatch = watchConnection(url, retryFor, (err) => {
      log(`formula-screen worker: ${err.message}`);
      shutdown(3);
    });
    process.once('SIGINT', () => shutdown(0));
    process.once('SIGTERM', () => shutdown(0));
  });
}

module.exports = {
  runQueue, runQueueWorker, checkConnection, QueueConnectionError, QUEUE_NAME,
};
