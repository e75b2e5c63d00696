'use strict';

// The published package as a consumer gets it: npm pack, install the tarball
// into empty projects offline, then require, import and run it there; once
// with the prebuilt binary the tarball carries, once built from source. The
// projects' runtime dependencies are first copied from this checkout's
// node_modules (what npm would fetch from the registry), so nothing is
// downloaded. The build from source takes a few minutes.

const { describe, test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const { spawnSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const ROOT = path.join(__dirname, '..', '..');
const NPM = process.platform === 'win32' ? 'npm.cmd' : 'npm';
const PLATFORM = `${process.platform}-${process.arch}`;

let scratch;
let tarball;
let files;

function run(command, args, cwd, env = {}) {
  const result = spawnSync(command, args, { cwd, encoding: 'utf8', env: { ...process.env, ...env }, maxBuffer: 1 << 26 });
  assert.equal(result.status, 0, `${command} ${args.join(' ')}\n${result.stdout}\n${result.stderr}`);
  return result.stdout;
}

function hasCommand(name) {
  return spawnSync('sh', ['-c', `command -v ${name}`]).status === 0;
}

// Installs the tarball into a new project; returns the installed package folder.
function install(name, env) {
  const project = path.join(scratch, name);
  fs.mkdirSync(project);
  fs.writeFileSync(path.join(project, 'package.json'), JSON.stringify({ name: 'consumer', version: '1.0.0', private: true }));
  const modules = path.join(ROOT, 'node_modules');
  // npm ls exits non-zero for extraneous packages; its list is what counts.
  const listed = spawnSync(NPM, ['ls', '--omit=dev', '--all', '--parseable'], { cwd: ROOT, encoding: 'utf8' }).stdout;
  for (const dir of listed.trim().split('\n').filter((d) => d.startsWith(modules + path.sep))) {
    fs.cpSync(dir, path.join(project, 'node_modules', path.relative(modules, dir)), { recursive: true });
  }
  const started = Date.now();
  run(NPM, ['install', '--offline', '--no-audit', '--no-fund', tarball], project, env);
  process.stdout.write(`# ${name} install took ${((Date.now() - started) / 1000).toFixed(1)} s\n`);
  return path.join(project, 'node_modules', 'formula-engine');
}

// Runs a formula through the installed package from CommonJS, ESM and its command.
function checkRuns(installed) {
  const project = path.dirname(path.dirname(installed));
  const cjs = run(process.execPath, ['-e', `
    const { compile, FormulaError, NodeCompiler } = require('formula-engine');
    const f = compile('X:C/3;').setBars({ o: [1, 2], h: [1, 2], l: [1, 2], c: [1, 2] });
    let code = 0;
    try { compile('X:MAA(C,5);'); } catch (e) { code = e instanceof FormulaError ? e.code : -1; }
    const exact = new NodeCompiler('X:C;');
    process.stdout.write(JSON.stringify([Array.from(f.run().outputs[0].values), code, exact.Compile()]));
  `], project);
  assert.deepEqual(JSON.parse(cjs), [[1 / 3, 2 / 3], 10007, '']);
  const esm = run(process.execPath, ['--input-type=module', '-e', `
    import { compile, loadBars } from 'formula-engine';
    const bars = await loadBars('t,o,h,l,c\\n1577923200000,1,2,0.5,1.5\\n');
    process.stdout.write(String(compile('X:C*2;').setBars(bars).run().outputs[0].values[0]));
  `], project);
  assert.equal(esm, '3');
  const version = run(path.join(project, 'node_modules', '.bin', 'formula-run'), ['--version'], project);
  assert.equal(version.trim(), require(path.join(ROOT, 'package.json')).version);
}

before(() => {
  scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'consumer-'));
  const [packed] = JSON.parse(run(NPM, ['pack', '--json', '--pack-destination', scratch], ROOT));
  tarball = path.join(scratch, packed.filename);
  files = packed.files.map((f) => f.path);
});

after(() => fs.rmSync(scratch, { recursive: true, force: true }));

test('the tarball ships the sources, entries, types, docs and the prebuilt addon; no tests, fixtures, benchmarks or CI', () => {
  for (const needed of ['index.js', 'index.mjs', 'index.d.ts', 'package.json', 'lib/formula.js', 'lib/load-bars.js',
    'addon/formula.cpp', 'CMakeLists.txt', 'bin/formula-run.js', 'docs/functions.md', 'docs/functions.json', 'README.md',
    'scripts/install.js', `prebuilds/${PLATFORM}/addon.node`]) {
    assert.ok(files.includes(needed), `${needed} missing from the tarball`);
  }
  assert.ok(files.some((f) => f.startsWith('Source/compiler/')), 'Source/ missing');
  const unwanted = files.filter((f) => /^(test|bench|examples|fuzz|demo|\.ci|build[^/]*)\//.test(f) || /\.png$/.test(f)
    || (/^scripts\//.test(f) && f !== 'scripts/install.js') || /_test\.cpp$/.test(f));
  assert.deepEqual(unwanted, []);
  assert.ok(!fs.existsSync(path.join(ROOT, 'prebuilds')), 'npm pack leaves no prebuilds/ in the working copy');
});

describe('installed with the prebuilt addon', () => {
  let installed;
  before(() => { installed = install('prebuilt', {}); });

  test('nothing is compiled', () => {
    assert.ok(!fs.existsSync(path.join(installed, 'build')));
  });

  test('it runs from CommonJS, ESM and its command', () => checkRuns(installed));
});

describe('installed from source', () => {
  let installed;
  before(() => {
    // Settings that only speed the build up: both cores, and the compiler
    // cache when the machine has one.
    const env = { FORMULA_BUILD_FROM_SOURCE: '1', CMAKE_BUILD_PARALLEL_LEVEL: '2' };
    if (hasCommand('ccache')) Object.assign(env, { CMAKE_CXX_COMPILER_LAUNCHER: 'ccache', CCACHE_BASEDIR: scratch });
    installed = install('source', env);
  });

  test('the install built the addon only: no test executables', () => {
    assert.ok(fs.existsSync(path.join(installed, 'build', 'Release', 'addon.node')));
    const tests = fs.readdirSync(path.join(installed, 'build'), { recursive: true })
      .filter((f) => /(^|\/)[a-z]+_test$/.test(String(f)));
    assert.deepEqual(tests, []);
  });

  test('it runs from CommonJS, ESM and its command', () => checkRuns(installed));
});
