'use strict';

// npm run bench: the Google Benchmark program of the core (when cmake is
// at hand; built in build-bench/ in Release mode), then the addon costs
// measured from JavaScript, then the throughput of screening many symbols.

const { spawnSync } = require('child_process');
const fs = require('fs');
const path = require('path');

const root = path.join(__dirname, '..');
const benchDir = path.join(root, 'build-bench');

function step(command, args) {
  process.stdout.write(`\n$ ${command} ${args.join(' ')}\n`);
  const result = spawnSync(command, args, { cwd: root, stdio: 'inherit' });
  return !result.error && result.status === 0;
}

function hasCmake() {
  const probe = spawnSync('cmake', ['--version'], { stdio: 'ignore' });
  return !probe.error && probe.status === 0;
}

let ok = true;
if (hasCmake()) {
  ok = step('cmake', ['-S', root, '-B', benchDir, '-DFORMULA_BUILD_BENCH=ON',
    '-DFORMULA_BUILD_TESTS=OFF', '-DCMAKE_BUILD_TYPE=Release'])
    && step('cmake', ['--build', benchDir, '--target', 'formula_bench', '-j2'])
    && step(path.join(benchDir, 'formula_bench'), []);
  if (!ok) process.stdout.write('\nthe core benchmark did not build or run\n');
} else {
  process.stdout.write('cmake not found: skipping the core benchmark\n');
}

process.stdout.write('\n=== Addon, from JavaScript\n');
if (!fs.existsSync(path.join(root, 'build', 'Release', 'addon.node'))) {
  process.stdout.write('build/Release/addon.node is missing: run `npm install` first\n');
  ok = false;
} else {
  require(path.join(root, 'bench', 'addon_bench.js')).main();
  require(path.join(root, 'bench', 'typed_api_bench.js')).main();
  // In a child process with --expose-gc, so the peak memory of a run is
  // measured from a collected heap.
  ok = step(process.execPath, ['--expose-gc', path.join('bench', 'chart_bench.js')]) && ok;
}
process.exitCode = ok ? 0 : 1;

if (ok) {
  require(path.join(root, 'bench', 'screen_bench.js')).main().catch((err) => {
    process.stdout.write(`\nthe screen benchmark failed: ${err.stack}\n`);
    process.exitCode = 1;
  });
}
