'use strict';

// Grammar-aware hostile formulas through the addon, in a child process with a
// time and memory budget per case:
//
//   node fuzz/addon_hostile.js [--seconds 600] [--seed 1]
//
// Each case is a formula of random calls of every registry function (right
// argument counts, arguments drawn from series, corner numbers, strings and
// nested calls) over up to 10,000 bars holding corner values. The child
// compiles and runs it in two NodeCompilers (a tick and a new bar after the
// first run) and reports whether both texts agree. A case that kills the
// child, runs over 10 s, takes more than 1.5 GB or gives two different texts
// is printed with its seed; rerun one with --seed S --seconds 0.

const { fork } = require('child_process');
const fs = require('fs');
const path = require('path');

function argument(name, fallback) {
  const at = process.argv.indexOf(name);
  return at >= 0 ? Number(process.argv[at + 1]) : fallback;
}

function random(seed) {
  let s = seed | 0;
  return () => {
    s = (s + 0x6d2b79f5) | 0;
    let t = Math.imul(s ^ (s >>> 15), 1 | s);
    t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

const NUMBERS = ['0', '1', '2', '3', '5', '2.5', '0.5', '-1', '-2.5', '20', '9999', '10000', '65536',
  '2147483648', '4294967297', '18446744073709551616', `1${'0'.repeat(400)}`, `-1${'0'.repeat(30)}`];
const SERIES = ['C', 'O', 'H', 'L', 'V', 'BARPOS', 'DATE', 'C>O', 'C-O', 'NULL', 'V/1000', 'BARPOS*0+5000'];

function makeCase(seed, functions) {
  const rnd = random(seed);
  const pick = (list) => list[Math.floor(rnd() * list.length)];
  const expr = (depth) => {
    const r = rnd();
    if (depth <= 0 || r < 0.35) return r < 0.15 ? pick(NUMBERS) : r < 0.17 ? "'x'" : pick(SERIES);
    if (r < 0.45) return `(${expr(depth - 1)})${pick(['+', '-', '*', '/', '>', '=', ' AND ', ' OR '])}(${expr(depth - 1)})`;
    const f = pick(functions);
    let count = pick(f.counts);
    if (count < 0) count = 3 + 2 * Math.floor(rnd() * 2);
    return count === 0 ? f.name : `${f.name}(${Array.from({ length: count }, () => expr(depth - 1)).join(',')})`;
  };
  const statements = Array.from({ length: 1 + Math.floor(rnd() * 4) }, (_, k) => `X${k}:${expr(1 + Math.floor(rnd() * 3))};`);
  const corners = [-100000, 0, NaN, Infinity, -Infinity, 1e300, -1e300, 5e-324, 18446744073709551616];
  const value = (level) => (rnd() < 0.05 ? pick(corners) : level + Math.round((rnd() - 0.5) * 2000) / 100);
  const bars = Array.from({ length: pick([0, 1, 2, 50, 1000, 10000]) }, (_, i) => ({
    c: value(100), o: value(100), h: value(101), l: value(99), v: rnd() < 0.5 ? value(1000) : pick([0, 1, 5, 100]),
    t: rnd() < 0.03 ? '' : 946857600000 + 86400000 * i,
  }));
  return { formula: statements.join('\n'), bars, period: pick([0, 5, 1440, -1]) };
}

function child() {
  const { NodeCompiler } = require(path.join(__dirname, '..'));
  const functions = require(path.join(__dirname, '..', 'lib', 'native')).functionTable().functions;
  process.on('message', (seed) => {
    const { formula, bars, period } = makeCase(seed, functions);
    const started = Date.now();
    const texts = [0, 1].map((round) => {
      const compiler = new NodeCompiler(formula);
      let text = compiler.Compile();
      compiler.SetData(bars);
      compiler.SetPeriod(period);
      try {
        text += compiler.Run();
        if (round === 0 && bars.length) {
          compiler.ReplaceLastData(bars[0]);
          compiler.AppendData([bars[bars.length - 1]]);
          compiler.Run();
        }
      } catch (error) {
        text += `threw ${error.message}`;
      }
      return text;
    });
    process.send({ seed, ms: Date.now() - started, same: formula.includes('RAND') || texts[0] === texts[1] });
  });
  process.send({ ready: true });
}

function parent() {
  const seconds = argument('--seconds', 600);
  let seed = argument('--seed', 1);
  const end = Date.now() + seconds * 1000;
  let cases = 0;
  let findings = 0;
  const report = (line) => { findings++; process.stdout.write(`${line}\n`); };
  const start = () => {
    const worker = fork(__filename, ['--child'], { stdio: ['ignore', 'ignore', 'inherit', 'ipc'] });
    let current = null;
    let since = 0;
    const next = () => {
      if (cases > 0 && Date.now() > end) return worker.kill();
      current = seed++;
      since = Date.now();
      worker.send(current);
    };
    const watch = setInterval(() => {
      if (current === null) return;
      let rss = 0;
      try { rss = Number(/VmRSS:\s+(\d+)/.exec(fs.readFileSync(`/proc/${worker.pid}/status`, 'utf8'))[1]) * 1024; } catch {}
      if (Date.now() - since > 10000 || rss > 1.5e9) {
        report(`seed ${current}: ${rss > 1.5e9 ? `${Math.round(rss / 1e6)} MB` : 'over 10 s'}`);
        current = null;
        worker.kill('SIGKILL');
      }
    }, 100);
    worker.on('message', (message) => {
      if (!message.ready) {
        cases++;
        if (!message.same) report(`seed ${message.seed}: two runs gave different texts`);
        if (message.ms > 3000) process.stdout.write(`seed ${message.seed}: slow, ${message.ms} ms\n`);
        current = null;
      }
      next();
    });
    worker.on('exit', (code, signal) => {
      clearInterval(watch);
      if (current !== null) report(`seed ${current}: the child ended (${code} ${signal})`);
      if (Date.now() < end) start();
      else {
        process.stdout.write(`${cases} cases, ${findings} findings\n`);
        process.exitCode = findings ? 1 : 0;
      }
    });
  };
  start();
}

if (process.argv.includes('--child')) child();
else parent();
