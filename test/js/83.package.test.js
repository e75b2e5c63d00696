'use strict';

// The package as consumers meet it: TypeScript types under tsc --strict and
// the ES module entry.

const { test } = require('node:test');
const assert = require('node:assert/strict');
const { spawnSync } = require('child_process');
const path = require('path');

const ROOT = path.join(__dirname, '..', '..');
const TYPED = path.join(__dirname, 'typed');

test('tsc --strict accepts the typed consumer and its expected errors', () => {
  const tsc = require.resolve('typescript/bin/tsc', { paths: [ROOT] });
  const result = spawnSync(process.execPath, [tsc, '-p', path.join(TYPED, 'tsconfig.json')], { encoding: 'utf8' });
  assert.equal(result.status, 0, result.stdout + result.stderr);
});

test('the ES module entry exports the CommonJS objects and runs a formula', () => {
  const result = spawnSync(process.execPath, [path.join(TYPED, 'consumer.mjs')], { encoding: 'utf8', cwd: TYPED });
  assert.equal(result.status, 0, result.stderr);
  assert.deepEqual(JSON.parse(result.stdout), { same: true, default: true, values: [3, 6] });
});
