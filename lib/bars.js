'use strict';

// Bars as the typed API accepts them, turned into the columns the native
// module takes (one Float64Array per field) and loaded into it.
//
//   - an array of bar objects, keys short (t o h l c v) or long (time open
//     high low close volume); time in milliseconds or a Date;
//   - columns { t, o, h, l, c, v } (or the long names) of Float64Array (the
//     fastest: handed over as they are, checked and copied by the native
//     module without any per-bar work here), other typed arrays or number
//     arrays.
//
// Strict: a missing or non-numeric price is a TypeError, a price that is not
// finite or a time that is not finite or goes backwards a RangeError; each
// names the bar index and the field. Volume may be absent (0). Time may be
// absent: such a bar has no time (time functions give no value there).

// Modes of the native load().
const SET = 0;
const APPEND = 1;
const PREPEND = 2;
const REPLACE_LAST = 3;

const FIELDS = [
  { key: 'o', long: 'open', name: 'open' },
  { key: 'h', long: 'high', name: 'high' },
  { key: 'l', long: 'low', name: 'low' },
  { key: 'c', long: 'close', name: 'close' },
];

function barError(Kind, method, index, field, what) {
  const error = new Kind(`${method}: bar ${index}: ${field} ${what}`);
  error.barIndex = index;
  error.field = field;
  return error;
}

function describeValue(value) {
  if (value === null || value === undefined) return String(value);
  if (typeof value === 'string') return `the string ${JSON.stringify(value.length > 20 ? `${value.slice(0, 20)}...` : value)}`;
  if (typeof value === 'object') return Array.isArray(value) ? 'an array' : 'an object';
  return `${typeof value} ${String(value)}`;
}

function price(method, index, name, value) {
  if (typeof value !== 'number') {
    if (value === undefined) throw barError(TypeError, method, index, name, 'is missing');
    throw barError(TypeError, method, index, name, `is not a number (${describeValue(value)})`);
  }
  if (!Number.isFinite(value)) throw barError(RangeError, method, index, name, `is not finite (${value})`);
  return value;
}

// A time as milliseconds, or NaN for "no time".
function time(method, index, value) {
  if (value === undefined) return NaN;
  let ms = value;
  if (value instanceof Date) {
    ms = value.getTime();
    if (Number.isNaN(ms)) throw barError(RangeError, method, index, 'time', 'is an invalid Date');
  } else if (typeof value !== 'number') {
    throw barError(TypeError, method, index, 'time', `is not a number or a Date (${describeValue(value)})`);
  }
  if (!Number.isFinite(ms)) throw barError(RangeError, method, index, 'time', `is not finite (${ms})`);
  return ms;
}

function pick(bar, short, long) {
  const value = bar[short];
  return value === undefined ? bar[long] : value;
}

function fromObjects(method, bars) {
  const n = bars.length;
  const t = new Float64Array(n);
  const o = new Float64Array(n);
  const h = new Float64Array(n);
  const l = new Float64Array(n);
  const c = new Float64Array(n);
  const v = new Float64Array(n);
  const columns = [o, h, l, c];
  for (let i = 0; i < n; i++) {
    const bar = bars[i];
    if (bar === null || typeof bar !== 'object' || Array.isArray(bar)) {
      throw barError(TypeError, method, i, 'bar', `is not an object (${describeValue(bar)})`);
    }
    for (let f = 0; f < 4; f++) {
      const field = FIELDS[f];
      columns[f][i] = price(method, i, field.name, pick(bar, field.key, field.long));
    }
    const volume = pick(bar, 'v', 'volume');
    v[i] = volume === undefined ? 0 : price(method, i, 'volume', volume);
    t[i] = time(method, i, pick(bar, 't', 'time'));
  }
  return { t, o, h, l, c, v, timeGaps: true };
}

function columnOf(method, columns, short, long, name, length, optional) {
  const column = pick(columns, short, long);
  if (column === undefined || column === null) {
    if (optional) return null;
    throw new TypeError(`${method}: the column ${name} (${short}) is missing`);
  }
  if (!Array.isArray(column) && !(ArrayBuffer.isView(column) && !(column instanceof DataView))) {
    throw new TypeError(`${method}: the column ${name} (${short}) is not a Float64Array, another typed array or an array`);
  }
  if (length !== undefined && column.length !== length) {
    throw new RangeError(
      `${method}: the column ${name} (${short}) has ${column.length} values, the close column ${length}`);
  }
  return column;
}

// A column as a Float64Array: the caller's own when it is one (the native
// module checks it and copies it at once), else a copy of another kind of
// array whose values `read` checks one by one.
function checked(column, n, read) {
  if (column instanceof Float64Array) return column;
  const copy = new Float64Array(n);
  for (let i = 0; i < n; i++) copy[i] = read(column[i], i);
  return copy;
}

// Columns: no time column gives t null (bars without time), no volume
// column v null (volume 0). A time column of another kind than Float64Array
// may have holes (bars without time, NaN in the copy).
function fromColumns(method, columns) {
  const close = columnOf(method, columns, 'c', 'close', 'close');
  const n = close.length;
  const out = {};
  for (const field of FIELDS) {
    const column = field.key === 'c' ? close : columnOf(method, columns, field.key, field.long, field.name, n);
    out[field.key] = checked(column, n, (value, i) => price(method, i, field.name, value));
  }
  const volume = columnOf(method, columns, 'v', 'volume', 'volume', n, true);
  out.v = volume && checked(volume, n, (value, i) => price(method, i, 'volume', value));
  const times = columnOf(method, columns, 't', 'time', 'time', n, true);
  out.t = times && checked(times, n, (value, i) => time(method, i, value));
  out.timeGaps = out.t !== times;
  return out;
}

// The columns of `input` (bar objects or columns), checked as far as their
// kind needs here.
function toColumns(method, input) {
  if (Array.isArray(input)) return fromObjects(method, input);
  if (input !== null && typeof input === 'object') return fromColumns(method, input);
  throw new TypeError(`${method}: expected an array of bar objects or an object of columns, got ${describeValue(input)}`);
}

function toColumnsOne(method, bar) {
  if (bar === null || typeof bar !== 'object' || Array.isArray(bar)) {
    throw new TypeError(`${method}: expected one bar object, got ${describeValue(bar)}`);
  }
  return fromObjects(method, [bar]);
}

const KEYS = { open: 'o', high: 'h', low: 'l', close: 'c', volume: 'v', time: 't' };

// The error for the bar the native module refused (see addon/formula.h).
function refusalError(method, columns, { field, index, problem, last }) {
  if (problem === 'later') return barError(RangeError, method, index, 'time', 'is later than the first held bar');
  const value = columns[KEYS[field]][index];
  if (problem === 'backwards') {
    return barError(RangeError, method, index, 'time',
      `goes backwards (${new Date(value).toISOString()} after ${new Date(last).toISOString()})`);
  }
  return barError(RangeError, method, index, field, `is not finite (${value})`);
}

// Loads `input` into the native core: replaces the held bars (SET), adds
// them after (APPEND) or before (PREPEND) them, or replaces the newest one
// (REPLACE_LAST, one bar object). A refused input leaves the bars as they were.
function load(core, mode, method, input) {
  const columns = mode === REPLACE_LAST ? toColumnsOne(method, input) : toColumns(method, input);
  const answer = core.load(mode, columns.t, columns.o, columns.h, columns.l, columns.c, columns.v, columns.timeGaps);
  if (typeof answer !== 'number') throw refusalError(method, columns, answer);
}

module.exports = { load, SET, APPEND, PREPEND, REPLACE_LAST };
