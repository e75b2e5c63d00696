'use strict';

// formula-run: options, inputs, output formats and exit codes.

const { describe, test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const { spawn, spawnSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const ROOT = path.join(__dirname, '..', '..');
const CLI = path.join(ROOT, 'bin', 'formula-run.js');
const SAMPLE = path.join(ROOT, 'examples', 'data', 'sp500_daily.csv');
const MACD = path.join(ROOT, 'examples', 'formulas', 'macd.txt');
const { NodeCompiler } = require(ROOT);

function cli(args, input) {
  const result = spawnSync(process.execPath, [CLI, ...args], { encoding: 'utf8', input, maxBuffer: 1 << 28 });
  return { code: result.status, stdout: result.stdout, stderr: result.stderr };
}

let dir;
before(() => { dir = fs.mkdtempSync(path.join(os.tmpdir(), 'formula-run-')); });
after(() => fs.rmSync(dir, { recursive: true, force: true }));

function tempFile(name, content) {
  const file = path.join(dir, name);
  fs.writeFileSync(file, content);
  return file;
}

const YAHOO = 'Date,Open,High,Low,Close,Adj Close,Volume\r\n'
  + '2020-01-02,3244.669922,3258.139893,3235.530029,3257.850098,3257.850098,3459930000\r\n'
  + '2020-01-03,3226.360107,3246.149902,3222.340088,3234.850098,3234.850098,3484700000\r\n';

describe('cli: failures are one line on standard error', () => {
  const cases = [
    // [label, args, stdin, exit code, message pattern]
    ['no arguments', [], undefined, 2, /exactly one of --formula <file> or --expr <text>/],
    ['no bars', ['--expr', 'A:C;'], undefined, 2, /--bars is required/],
    ['both --formula and --expr', ['-f', MACD, '-e', 'A:C;', '-b', SAMPLE], undefined, 2, /exactly one/],
    ['an unknown option', ['-e', 'A:C;', '-b', SAMPLE, '--colour', 'red'], undefined, 2, /Unknown option '--colour'/],
    ['an option without its value', ['-b', SAMPLE, '--expr'], undefined, 2, /--expr/],
    ['a formula path that does not exist', ['--formula', 'A:C;', '-b', SAMPLE], undefined, 2, /cannot read the formula file A:C;: no such file/],
    ['a missing bars file', ['-e', 'A:C;', '-b', '/no/such/file.csv'], undefined, 2, /bars: cannot read \/no\/such\/file.csv: no such file/],
    ['a bad bars row', ['-e', 'A:C;', '-b', '-'], 't,o,h,l,c\n1,1,1,1,1\n2,1,x,1,1\n', 2, /bars: line 3: high "x" is not a number/],
    ['bars going back in time', ['-e', 'A:C;', '-b', '-'], 't,o,h,l,c\n2000,1,1,1,1\n1000,1,1,1,1\n', 2, /bars: setBars: bar 1: time goes backwards/],
    ['a bad period', ['-e', 'A:C;', '-b', SAMPLE, '--period', 'day'], undefined, 2, /--period must be a whole number of minutes, not day/],
    ['a bad format', ['-e', 'A:C;', '-b', SAMPLE, '--format', 'xml'], undefined, 2, /--format must be json or csv/],
    ['a formula that does not compile', ['-e', 'X:MAA(C,5);', '-b', SAMPLE], undefined, 1, /Unknown function 'MAA'.*Did you mean MA/],
  ];
  for (const [label, args, input, code, message] of cases) {
    test(`${label}: exit ${code}`, () => {
      const result = cli(args, input);
      assert.equal(result.code, code, result.stderr);
      assert.equal(result.stdout, '');
      assert.match(result.stderr, /^formula-run: [^\n]+\n$/);
      assert.match(result.stderr, message);
    });
  }

  test('--help and --version print and exit 0', () => {
    assert.match(cli(['--help']).stdout, /^usage: formula-run/);
    assert.equal(cli(['-V']).stdout, `${require(path.join(ROOT, 'package.json')).version}\n`);
  });

  test('--api exact prints the engine report of a bad formula on standard output, exit 1', () => {
    const { code, stdout } = cli(['-e', 'MA5:MA(CLOSE,5)', '-b', SAMPLE, '--api', 'exact']);
    assert.equal(code, 1);
    assert.equal(stdout, '{ "line" : 1, "column" : 14, "err_code" : 10007, "err_exp" : "Illegal statement. ", "desc" : ")" }\n');
  });
});

describe('cli: runs', () => {
  test('modern JSON: valid, full precision, null where there is no value', () => {
    const { code, stdout } = cli(['-e', 'X:C/3;\nM:MA(C,2);\nDRAWICON(C>O,H,2);', '-b', '-'], 't,o,h,l,c\n1577923200000,1,2,0.5,1\n1577923260000,1,2,0.5,2\n');
    assert.equal(code, 0);
    const { outputs } = JSON.parse(stdout);
    assert.deepEqual(outputs[0], { name: 'X', values: [1 / 3, 2 / 3], properties: [], drawing: null });
    assert.deepEqual(outputs[1].values, [null, 1.5]);
    assert.deepEqual(outputs[2].drawing, { kind: 'DRAWICON', shape: 'marks', items: [{ index: 1, time: 1577923260000, price: 2, offset: 0 }], icon: 2 });
  });

  test('--api exact prints what NodeCompiler.Run() gives, byte for byte', () => {
    const text = fs.readFileSync(MACD, 'utf8');
    const { code, stdout } = cli(['-f', MACD, '-b', SAMPLE, '-p', '1440', '--api', 'exact']);
    assert.equal(code, 0);
    const compiler = new NodeCompiler(text);
    compiler.Compile();
    const rows = fs.readFileSync(SAMPLE, 'utf8').trim().split('\n').slice(1).map((line) => {
      const [t, o, h, l, c, v] = line.split(',').map(Number);
      return { t, o, h, l, c, v };
    });
    compiler.SetData(rows);
    compiler.SetPeriod(1440);
    assert.equal(stdout, `${compiler.Run()}\n`);
  });

  test('a Yahoo-style CSV from standard input, as CSV for spreadsheets', () => {
    const { code, stdout } = cli(['-e', "X:C-O;\nDRAWTEXT(C<O,L,'down');\nDRAWKLINE(H,O,L,C);", '-b', '-', '--format', 'csv'], YAHOO);
    assert.equal(code, 0);
    assert.equal(stdout, 'time,X,DRAWTEXT,DRAWKLINE\n'
      + `2020-01-02T00:00:00.000Z,${3257.850098 - 3244.669922},,3257.850098\n`
      + `2020-01-03T00:00:00.000Z,${3234.850098 - 3226.360107},,3234.850098\n`);
    const falling = cli(['-e', "DRAWTEXT(C>O,L,'up');", '-b', tempFile('y.csv', YAHOO), '--format', 'csv']);
    assert.equal(falling.stdout.split('\n')[1], '2020-01-02T00:00:00.000Z,3235.530029');
  });

  test('a formula file, JSON bars, epoch seconds and --period', () => {
    const formula = tempFile('f.txt', 'X:C;\nP:PERIOD;');
    const bars = tempFile('bars.json', JSON.stringify([{ time: 1577923200, open: 1, high: 2, low: 0.5, close: 1.5 }]));
    const { code, stdout } = cli(['--formula', formula, '--bars', bars, '--period', '1440', '--format', 'csv']);
    assert.equal(code, 0, stdout);
    assert.equal(stdout, 'time,X,P\n2020-01-02T00:00:00.000Z,1.5,1440\n');
  });

  test('a reader that closes the pipe early ends the run quietly with status 0', async () => {
    const child = spawn(process.execPath, [CLI, '-e', 'A:C; B:O; D:H; E:L;', '-b', SAMPLE]);
    let stderr = '';
    child.stderr.on('data', (chunk) => { stderr += chunk; });
    child.stdout.once('data', () => child.stdout.destroy());
    const [code, signal] = await new Promise((resolve) => child.on('close', (...end) => resolve(end)));
    assert.deepEqual({ code, signal, stderr }, { code: 0, signal: null, stderr: '' });
  });
});
