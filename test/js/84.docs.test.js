'use strict';

// docs/functions.md: every built-in function documented, every example runs,
// and the generated files match their sources.

const { test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('fs');
const path = require('path');

const ROOT = path.join(__dirname, '..', '..');
const { compile, loadBars } = require(ROOT);
const { functionTable } = require(path.join(ROOT, 'lib', 'native'));
const { generate, readSource, FAMILIES, MARKDOWN, JSON_FILE } = require(path.join(ROOT, 'scripts', 'gen-docs.js'));

const table = functionTable();
const sections = readSource();
const entries = sections.filter((e) => !e.name.startsWith(':'));

test('every family has its shared rules and every entry a known family', () => {
  assert.deepEqual(sections.filter((e) => e.name.startsWith(':')).map((e) => e.name.slice(1)), FAMILIES);
  for (const entry of entries) assert.ok(FAMILIES.includes(entry.family), `${entry.name}: ${entry.family}`);
});

test('every function of the registry has exactly one entry, keyed by one of its names', () => {
  const groups = new Map(table.functions.map((f) => [f.name, f.names.join('/')]));
  const keyed = entries.map((entry) => groups.get(entry.name));
  assert.ok(keyed.every(Boolean), 'an entry names no built-in function');
  assert.deepEqual([...keyed].sort(), [...new Set(groups.values())].sort());
  for (const entry of entries) {
    assert.ok(entry.signature.startsWith(entry.name), entry.name);
    assert.ok(entry.family && entry.text && entry.example, entry.name);
  }
});

test('the generated files are up to date', () => {
  const { markdown, json } = generate();
  assert.equal(fs.readFileSync(MARKDOWN, 'utf8'), markdown, 'run node scripts/gen-docs.js');
  assert.equal(fs.readFileSync(JSON_FILE, 'utf8'), json, 'run node scripts/gen-docs.js');
});

test('every example compiles and gives values or drawn items over the sample', async () => {
  const bars = await loadBars(path.join(ROOT, 'examples', 'data', 'sp500_daily.csv'));
  const draws = new Set(table.functions.filter((f) => f.draw).map((f) => f.name));
  const empty = [];
  for (const entry of entries) {
    const outputs = compile(entry.example).setBars(bars).run().outputs;
    assert.equal(outputs.length, 1, entry.example);
    const [output] = outputs;
    if (draws.has(entry.name)) {
      assert.equal(output.drawing.kind, entry.name, entry.example);
      if (output.drawing.items.length === 0) empty.push(entry.name);
    } else if (output.values.length === 0 || output.values.every(Number.isNaN)) {
      empty.push(entry.name);
    }
  }
  assert.deepEqual(empty, []);
});
