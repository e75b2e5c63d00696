'use strict';

// npm test: the C++ suites through ctest (in build/, made by `npm install`
// with the tests switched on), then the JavaScript suites through the Node
// test runner. Exits non-zero when either fails.

const { spawnSync } = require('child_process');
const fs = require('fs');
const path = require('path');

const root = path.join(__dirname, '..');

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
  if (!fs.existsSync(path.join(root, 'build', 'CTestTestfile.cmake'))) {
    process.stdout.write('\n=== C++ tests: build/ holds no test suite; run `npm install` first\n');
    return false;
  }
  return run('C++ tests', 'ctest', ['--test-dir', 'build', '--output-on-failure']);
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
