'use strict';

// Screening throughput: 1,000 generated symbols of 5,000 daily bars each,
// the two-line signal formula, on 1 and 2 pool threads, then in
// queue mode (a local redis-server, one worker process of 1 and of 2
// threads). Prints symbols per second and the queue's overhead per symbol;
// asserts nothing. Set SCREEN_BENCH_SYMBOLS to change the symbol count.

const { spawn, spawnSync } = require('child_process');
const fs = require('fs');
const net = require('net');
const os = require('os');
const path = require('path');
const { screen } = require('../lib/screen');
const { syntheticBars, symbolName, barsCsv } = require('../lib/screen/synthetic');

const SYMBOLS = Number(process.env.SCREEN_BENCH_SYMBOLS) || 1000;
const BARS = 5000;
const FORMULA = 'S:CROSS(MA(C,5),MA(C,20)); R:SMA(MAX(C-REF(C,1),0),14,1)/SMA(ABS(C-REF(C,1)),14,1)*100;';
const CLI = path.join(__dirname, '..', 'bin', 'formula-screen.js');

function freePort() {
  return new Promise((resolve) => {
    const server = net.createServer().listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
  });
}

function waitFor(child, stream, pattern) {
  return new Promise((resolve, reject) => {
    let text = '';
    child[stream].on('data', (d) => { text += d; if (pattern.test(text)) resolve(); });
    child.once('exit', () => reject(new Error(`exited before printing ${pattern}: ${text}`)));
    child.once('error', reject);
  });
}

async function timed(options) {
  const start = process.hrtime.bigint();
  let count = 0;
  for await (const r of screen(options)) {
    if (r.error !== undefined) throw new Error(`${r.symbol}: ${r.error}`);
    count += 1;
  }
  const seconds = Number(process.hrtime.bigint() - start) / 1e9;
  if (count !== SYMBOLS) throw new Error(`expected ${SYMBOLS} results, got ${count}`);
  return seconds;
}

async function queueFigures(glob, localSeconds) {
  const probe = spawnSync('redis-server', ['--version'], { stdio: 'ignore' });
  if (probe.error || probe.status !== 0) {
    process.stdout.write('redis-server not found: no queue figures\n');
    return;
  }
  const port = await freePort();
  const url = `redis://127.0.0.1:${port}`;
  const redis = spawn('redis-server', ['--port', String(port), '--bind', '127.0.0.1', '--save', '', '--appendonly', 'no'],
    { stdio: ['ignore', 'pipe', 'ignore'] });
  try {
    await waitFor(redis, 'stdout', /Ready to accept connections/);
    for (const threads of [1, 2]) {
      const worker = spawn(process.execPath, [CLI, 'worker', '--queue', url, '--workers', String(threads)],
        { stdio: ['ignore', 'ignore', 'pipe'] });
      try {
        await waitFor(worker, 'stderr', /taking batches/);
        const seconds = await timed({ formula: FORMULA, symbols: glob, queue: url });
        const overhead = ((seconds - localSeconds[threads]) / SYMBOLS) * 1e3;
        process.stdout.write(`queue mode, 1 worker of ${threads} thread(s): ${(SYMBOLS / seconds).toFixed(0)} symbols/s, `
          + `overhead ${overhead.toFixed(2)} ms per symbol over local mode\n`);
      } finally {
        worker.kill('SIGTERM');
        await new Promise((resolve) => worker.once('exit', resolve));
      }
    }
  } finally {
    redis.kill('SIGKILL');
  }
}

// The generated files are kept in build-bench/ for the next run.
function market() {
  const dir = path.join(__dirname, '..', 'build-bench', `screen-${SYMBOLS}x${BARS}`);
  const done = path.join(dir, 'complete');
  if (!fs.existsSync(done)) {
    fs.rmSync(dir, { recursive: true, force: true });
    fs.mkdirSync(dir, { recursive: true });
    for (let k = 0; k < SYMBOLS; k++) {
      fs.writeFileSync(path.join(dir, `${symbolName(k, SYMBOLS)}.csv`), barsCsv(syntheticBars(k, BARS, 7)));
    }
    fs.writeFileSync(done, '');
  }
  return path.join(dir, '*.csv');
}

async function main() {
  process.stdout.write(`\n=== Screening ${SYMBOLS} symbols of ${BARS} bars (${os.cpus().length} cores)\n`);
  const glob = market();
  await timed({ formula: FORMULA, symbols: glob, workers: 2 }); // warm the file cache
  const local = {};
  for (const workers of [1, 2]) {
    local[workers] = await timed({ formula: FORMULA, symbols: glob, workers });
    process.stdout.write(`local mode, ${workers} thread(s): ${(SYMBOLS / local[workers]).toFixed(0)} symbols/s\n`);
  }
  process.stdout.write(`scaling from 1 to 2 threads: ${(local[1] / local[2]).toFixed(2)}x\n`);
  await queueFigures(glob, local);
}

module.exports = { main };

if (require.main === module) {
  main().catch((err) => {
    process.stderr.write(`${err.stack}\n`);
    process.exitCode = 1;
  });
}
