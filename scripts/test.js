'use strict';

// npm test: configures and builds the C++ suites in build-test/ (GoogleTest
// is needed only here, never by `npm install`), runs them through ctest,
// then runs the JavaScript suites through the Node test runner. build-test/
// is kept between runs, so a second `npm test` rebuilds only what changed.
// Exits non-zero when anything fails.

const { spawnSync } = require('child_process');
const path = require('path');

const root = path.join(__dirname, '..');
const testDir = path.join(root, 'build-test');

function run(label, command, args) {
  process.stdout.write(`\n=== ${label}: ${command} ${args.join(' ')}\n`);
  const result = spawnSync(command, args, { cwd: root, stdio: 'inherit' });
  if (result.error) {
    process.stdout.write(`${label}: could not start ${command}: ${result.error.message}\n`);
    return false;
  }
  return result.status === 0;
}

function runCpp() {
  return run('C++ tests: configure', 'cmake',
    ['-S', root, '-B', testDir, '-DFORMULA_BUILD_TESTS=ON'])
    && run('C++ tests: build', 'cmake', ['--build', testDir, '-j2'])
    && run('C++ tests', 'ctest', ['--test-dir', testDir, '--output-on-failure']);
}

function runJs() {
  return run('JavaScript tests', process.execPath, ['--test', 'test/js/']);
}

const cppPassed = runCpp();
const jsPassed = runJs();

process.stdout.write('\n=== Summary\n');
process.stdout.write(`C++ tests (ctest):             ${cppPassed ? 'passed' : 'FAILED'}\n`);
process.stdout.write(`JavaScript tests (node --test): ${jsPassed ? 'passed' : 'FAILED'}\n`);
process.exitCode = cppPassed && jsPassed ? 0 : 1;
