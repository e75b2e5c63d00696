'use strict';

// Reproducible synthetic symbols for trying a screen: daily random walks
// (log-normal returns with a per-symbol drift and volatility, opening gaps,
// intraday ranges around the open and close, volumes that swell on big
// moves) on weekdays from 2000-01-03. The same seed gives the same bars.

const DAY = 86400000;
const FIRST_DAY = Date.UTC(2000, 0, 3); // a Monday

// mulberry32: a small, fast 32-bit generator, good enough for test data.
function random32(seed) {
  let a = seed >>> 0;
  return () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

function normal(rand) {
  const u = 1 - rand();
  const v = rand();
  return Math.sqrt(-2 * Math.log(u)) * Math.cos(2 * Math.PI * v);
}

function cents(x) {
  return Math.round(x * 100) / 100;
}

// Weekday times in milliseconds: bar k's trading day.
function tradingDays(count) {
  const t = new Float64Array(count);
  let day = FIRST_DAY;
  for (let k = 0; k < count; k++) {
    while (new Date(day).getUTCDay() % 6 === 0) day += DAY; // skip Saturday (6) and Sunday (0)
    t[k] = day;
    day += DAY;
  }
  return t;
}

// Bar columns { t, o, h, l, c, v } of symbol `index` of the set `seed`.
function syntheticBars(index, count, seed = 1) {
  const rand = random32(Math.imul(seed, 0x9e3779b1) ^ Math.imul(index + 1, 0x85ebca6b));
  const t = tradingDays(count);
  const o = new Float64Array(count);
  const h = new Float64Array(count);
  const l = new Float64Array(count);
  const c = new Float64Array(count);
  const v = new Float64Array(count);
  const sigma = 0.01 + 0.025 * rand();          // daily volatility 1% to 3.5%
  const drift = (rand() - 0.4) * 0.001;         // slightly upward on average
  const baseVolume = Math.exp(11.5 + 3 * rand()); // about 100,000 to 2,000,000
  let close = cents(Math.exp(Math.log(5) + rand() * Math.log(100))); // 5 to 500
  for (let k = 0; k < count; k++) {
    const open = Math.max(0.01, cents(close * Math.exp(0.25 * sigma * normal(rand))));
    const ret = drift + sigma * normal(rand);
    const next = Math.max(0.01, cents(open * Math.exp(ret)));
    const top = Math.max(open, next);
    const bottom = Math.min(open, next);
    o[k] = open;
    c[k] = next;
    h[k] = Math.max(top, cents(top * Math.exp(Math.abs(normal(rand)) * sigma * 0.5)));
    l[k] = Math.max(0.01, Math.min(bottom, cents(bottom * Math.exp(-Math.abs(normal(rand)) * sigma * 0.5))));
    v[k] = Math.round(baseVolume * Math.exp(0.35 * normal(rand) + 25 * Math.abs(ret)));
    close = next;
  }
  return { t, o, h, l, c, v };
}

function symbolName(index, total) {
  return `SYM${String(index + 1).padStart(Math.max(4, String(total).length), '0')}`;
}

// The CSV text of bar columns, header t,o,h,l,c,v like examples/data/.
function barsCsv(bars) {
  const lines = ['t,o,h,l,c,v'];
  for (let k = 0; k < bars.t.length; k++) {
    lines.push(`${bars.t[k]},${bars.o[k].toFixed(2)},${bars.h[k].toFixed(2)},${bars.l[k].toFixed(2)},`
      + `${bars.c[k].toFixed(2)},${bars.v[k]}`);
  }
  return `${lines.join('\n')}\n`;
}

module.exports = { syntheticBars, symbolName, barsCsv, random32 };
