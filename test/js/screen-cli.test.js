'use strict';

// The formula-screen command: output formats, exit codes and messages.

const { describe, test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const { spawn } = require('node:child_process');
const path = require('node:path');

const { ROOT, makeMarket, reference, freePort, BAD_FILES } = require('./helpers/screen.js');

const CLI = path.join(ROOT, 'bin', 'formula-screen.js');
const FORMULA = 'S:C>MA(C,5); R:(C-REF(C,10))/REF(C,10)*100;';

// Runs the command to its end (a child that hangs fails the test through
// the runner's own timeout).
function cli(args) {
  return new Promise((resolve) => {
    const child = spawn(process.execPath, [CLI, ...args], { stdio: ['ignore', 'pipe', 'pipe'] });
    let stdout = '';
    let stderr = '';
    child.stdout.on('data', (d) => { stdout += d; });
    child.stderr.on('data', (d) => { stderr += d; });
    child.on('close', (code) => resolve({ code, stdout, stderr }));
  });
}

let market;
let want;
before(async () => {
  market = makeMarket(6, { bad: true, minBars: 40 });
  want = new Map();
  for (const symbol of market.symbols) {
    want.set(symbol, await reference(FORMULA, path.join(market.dir, `${symbol}.csv`)));
  }
});
after(() => market.remove());

const badSymbols = () => Object.keys(BAD_FILES).map((f) => f.replace(/\.csv$/, ''));

describe('formula-screen: output', () => {
  test('json: one array in the sort order, errors after the ranked symbols', async () => {
    const { code, stdout, stderr } = await cli(['--formula', FORMULA, '--bars', market.glob, '--sort', 'R', '--format', 'json', '--workers', '2']);
    assert.equal(code, 0, stderr);
    const rows = JSON.parse(stdout);
    const ranked = [...market.symbols].sort((a, b) => want.get(b).R - want.get(a).R);
    assert.deepEqual(rows.map((r) => r.symbol), [...ranked, ...badSymbols()]);
    for (const r of rows.slice(0, ranked.length)) assert.deepEqual(r, { symbol: r.symbol, values: want.get(r.symbol) });
    for (const r of rows.slice(ranked.length)) assert.match(r.error, /./);
    assert.match(stderr, /2 symbol\(s\) failed/);
  });

  test('csv when piped: header, numbers that read back exactly, empty cells for errors', async () => {
    const { code, stdout } = await cli(['--formula', FORMULA, '--bars', market.glob, '--where', 'S']);
    assert.equal(code, 0);
    const [header, ...lines] = stdout.trim().split('\n');
    assert.equal(header, 'symbol,S,R,error');
    const kept = market.symbols.filter((s) => want.get(s).S !== 0 && want.get(s).S !== null);
    const rows = lines.map((line) => line.split(','));
    assert.deepEqual(rows.map((r) => r[0]), [...badSymbols(), ...kept]);
    for (const [symbol, s, r, error] of rows) {
      if (badSymbols().includes(symbol)) {
        assert.deepEqual([s, r], ['', '']);
        assert.notEqual(error, '');
      } else {
        assert.deepEqual([Number(s), Number(r), error], [want.get(symbol).S, want.get(symbol).R, '']);
      }
    }
  });

  test('table: aligned columns, four decimals, the last N values with their offsets', async () => {
    const { code, stdout } = await cli(['--formula', FORMULA, '--bars', path.join(market.dir, 'SYM*.csv'), '--format', 'table', '--last', '2', '--top', '2']);
    assert.equal(code, 0);
    const lines = stdout.trimEnd().split('\n');
    assert.match(lines[0], /^symbol +S\[-1\] +S +R\[-1\] +R$/);
    assert.equal(lines.length, 3);
    assert.equal(new Set(lines.map((l) => l.length)).size, 1, 'every line as wide');
    const first = lines[1].trim().split(/ +/);
    assert.equal(first[0], market.symbols[0]);
    assert.equal(first[4], want.get(market.symbols[0]).R.toFixed(4));
  });
});

describe('formula-screen: refusals', () => {
  const usages = [
    ['no formula', ['--bars', 'x.csv']],
    ['no bars', ['--formula', FORMULA]],
    ['an unknown option', ['--formula', FORMULA, '--bars', 'x.csv', '--colour', 'red']],
    ['a top that is no count', ['--formula', FORMULA, '--bars', 'x.csv', '--top', 'ten']],
    ['an unknown format', ['--formula', FORMULA, '--bars', 'x.csv', '--format', 'xml']],
    ['asc without sort', ['--formula', FORMULA, '--bars', 'x.csv', '--asc']],
    ['where names no output', ['--formula', FORMULA, '--bars', 'x.csv', '--where', 'Q']],
    ['a queue that is no Redis URL', ['--formula', FORMULA, '--bars', 'x.csv', '--queue', 'http://127.0.0.1:1']],
    ['a worker without a queue', ['worker']],
  ];
  for (const [label, args] of usages) {
    test(`${label}: usage, exit 2`, async () => {
      const { code, stdout, stderr } = await cli(args);
      assert.equal(code, 2);
      assert.equal(stdout, '');
      assert.match(stderr, /usage: formula-screen/);
    });
  }

  test('a formula that does not compile: its message, exit 1, nothing screened', async () => {
    const { code, stdout, stderr } = await cli(['--formula', 'A:MA(C,5;', '--bars', market.glob]);
    assert.equal(code, 1);
    assert.equal(stdout, '');
    assert.match(stderr, /does not compile/);
  });

  for (const role of ['coordinator', 'worker']) {
    test(`${role} with no Redis listening: a clear message and exit 3`, async () => {
      const url = `redis://127.0.0.1:${await freePort()}`;
      const args = role === 'worker' ? ['worker', '--queue', url]
        : ['--formula', FORMULA, '--bars', market.glob, '--queue', url];
      const { code, stdout, stderr } = await cli(args);
      assert.equal(code, 3);
      assert.equal(stdout, '');
      assert.match(stderr, new RegExp(`cannot reach Redis at ${url}`));
    });
  }
});
