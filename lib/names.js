'use strict';

// The vocabulary of the language as the engine knows it (built-in functions
// with their argument counts, statics, display properties), and the helpers
// the error messages use: nearest names and readable argument counts.

const native = require('./native');

let cache;

function vocabulary() {
  if (cache === undefined) {
    const table = native.functionTable();
    const functions = new Map(table.functions.map((f) => [f.name, f]));
    cache = {
      functions,
      statics: new Set(table.statics),
      properties: new Set(table.properties),
    };
  }
  return cache;
}

function isBuiltIn(name) {
  const v = vocabulary();
  return v.functions.has(name) || v.statics.has(name) || v.properties.has(name);
}

// Edit distance (insertions, deletions, substitutions, adjacent swaps).
function distance(a, b) {
  const rows = a.length + 1;
  const cols = b.length + 1;
  const d = Array.from({ length: rows }, (_, i) => {
    const row = new Array(cols).fill(0);
    row[0] = i;
    return row;
  });
  for (let j = 0; j < cols; j++) d[0][j] = j;
  for (let i = 1; i < rows; i++) {
    for (let j = 1; j < cols; j++) {
      const cost = a[i - 1] === b[j - 1] ? 0 : 1;
      d[i][j] = Math.min(d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost);
      if (i > 1 && j > 1 && a[i - 1] === b[j - 2] && a[i - 2] === b[j - 1]) {
        d[i][j] = Math.min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[rows - 1][cols - 1];
}

// Up to `limit` names nearest to `name` among `candidates` (compared in
// upper case), closest first; only names within a distance that still
// looks like a slip of the keyboard.
function nearest(name, candidates, limit = 3) {
  const wanted = name.toUpperCase();
  // One or two letters are a slip of nearly every short name: no guess.
  if (wanted.length < 3) return [];
  const bound = Math.max(1, Math.min(3, Math.floor(wanted.length / 2)));
  const scored = [];
  for (const candidate of candidates) {
    const upper = candidate.toUpperCase();
    let score = distance(wanted, upper);
    // A prefix such as MAX for MA or a name such as HHVBARS for HHVBAR
    // is a likely intent as well.
    if (score > bound && wanted.length >= 3 && upper.length >= 3 && (upper.startsWith(wanted) || wanted.startsWith(upper))) {
      score = bound;
    }
    if (score <= bound) scored.push({ candidate, score });
  }
  scored.sort((x, y) => x.score - y.score || x.candidate.localeCompare(y.candidate));
  return scored.slice(0, limit).map((s) => s.candidate);
}

// "2 arguments", "3 or 4 arguments", "no arguments", "an odd number of
// arguments from 3 up".
function describeCounts(counts) {
  if (counts.includes(-1)) return 'an odd number of arguments, 3 or more';
  const words = counts.map(String);
  const list = words.length > 1 ? `${words.slice(0, -1).join(', ')} or ${words[words.length - 1]}` : words[0];
  if (counts.length === 1 && counts[0] === 0) return 'no arguments';
  if (counts.length === 1 && counts[0] === 1) return '1 argument';
  return `${list} arguments`;
}

module.exports = { vocabulary, isBuiltIn, nearest, describeCounts };
