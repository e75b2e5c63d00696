'use strict';

// loadBars(pathOrText, options): bars from a CSV or JSON file (or text) as
// the columns setBars() takes. CSV goes through csv-parse (quoted fields,
// CRLF, a byte order mark); header names are matched without regard to case
// (t/time/date/datetime/timestamp, o/open, h/high, l/low, c/close,
// v/vol/volume; other columns such as "Adj Close" are ignored).
//
// A time cell is read as (the first data row decides for the file):
//   - ISO date or date-time text: 2020-01-02, 2020-01-02 15:30, 2020-01-02T15:30:00Z,
//     2020/01/02; without a zone it is UTC;
//   - a number of eight digits that is a valid yyyymmdd date (20200102): that day, UTC;
//   - another number: epoch seconds when below 1e11, else milliseconds
//     (options.timeUnit 's' or 'ms' fixes the unit).

const fs = require('fs');
const { parse } = require('csv-parse');

const ALIASES = {
  t: 't', time: 't', date: 't', datetime: 't', timestamp: 't', 'date time': 't',
  o: 'o', open: 'o',
  h: 'h', high: 'h',
  l: 'l', low: 'l',
  c: 'c', close: 'c',
  v: 'v', vol: 'v', volume: 'v',
};
const NAMES = { t: 'time', o: 'open', h: 'high', l: 'low', c: 'close', v: 'volume' };

function fail(where, message) {
  return new Error(`loadBars: ${where}: ${message}`);
}

const ISO = /^(\d{4})[-/](\d{1,2})[-/](\d{1,2})(?:[T ](\d{1,2}):(\d{2})(?::(\d{2})(?:\.(\d{1,9}))?)?)?\s*(Z|[+-]\d{2}:?\d{2})?$/i;

const DAYS_IN_MONTH = [31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31];

// 2020-01-02, the most common time cell, read without the general pattern.
function plainDate(text) {
  if (text.length !== 10 || text[4] !== '-' || text[7] !== '-') return NaN;
  let y = 0;
  let m = 0;
  let d = 0;
  for (let i = 0; i < 10; i++) {
    if (i === 4 || i === 7) continue;
    const digit = text.charCodeAt(i) - 48;
    if (digit < 0 || digit > 9) return NaN;
    if (i < 4) y = y * 10 + digit;
    else if (i < 7) m = m * 10 + digit;
    else d = d * 10 + digit;
  }
  if (m < 1 || m > 12 || d < 1 || d > DAYS_IN_MONTH[m - 1]) return NaN;
  if (m === 2 && d === 29 && !(y % 4 === 0 && (y % 100 !== 0 || y % 400 === 0))) return NaN;
  return Date.UTC(y, m - 1, d);
}

function isoTime(text) {
  const plain = plainDate(text);
  if (!Number.isNaN(plain)) return plain;
  const m = ISO.exec(text);
  if (!m) return NaN;
  const [, y, mo, d, hh = '0', mi = '0', ss = '0', frac = '0', zone] = m;
  const month = Number(mo);
  const day = Number(d);
  if (month < 1 || month > 12 || day < 1 || day > 31 || Number(hh) > 23 || Number(mi) > 59 || Number(ss) > 60) {
    return NaN;
  }
  let ms = Date.UTC(Number(y), month - 1, day, Number(hh), Number(mi), Number(ss), Number(`0.${frac}`) * 1000);
  if (new Date(ms).getUTCDate() !== day) return NaN;  // 2021-02-30 and the like
  if (zone && zone.toUpperCase() !== 'Z') {
    const sign = zone[0] === '-' ? -1 : 1;
    const digits = zone.slice(1).replace(':', '');
    ms -= sign * (Number(digits.slice(0, 2)) * 60 + Number(digits.slice(2))) * 60000;
  }
  return ms;
}

function yyyymmdd(number) {
  if (!Number.isInteger(number) || number < 10000101 || number > 99991231) return NaN;
  const y = Math.floor(number / 10000);
  const m = Math.floor(number / 100) % 100;
  const d = number % 100;
  if (m < 1 || m > 12 || d < 1 || d > 31) return NaN;
  const ms = Date.UTC(y, m - 1, d);
  return new Date(ms).getUTCDate() === d ? ms : NaN;
}

const NUMBER = /^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$/;

// The reader of one time column: the first value fixes the format.
function timeReader(options) {
  let format = null;
  const unit = options.timeUnit;
  if (unit !== undefined && unit !== 's' && unit !== 'ms') {
    throw new TypeError(`loadBars: timeUnit must be 's' or 'ms', not ${String(unit)}`);
  }
  return (value, where) => {
    if (value instanceof Date) return value.getTime();
    const text = typeof value === 'number' ? null : String(value).trim();
    const numeric = typeof value === 'number' ? value : NUMBER.test(text) ? Number(text) : NaN;
    if (format === null) {
      if (!Number.isNaN(numeric)) {
        if (unit) format = unit;
        else if (!Number.isNaN(yyyymmdd(numeric)) && text !== null && /^\d{8}$/.test(text)) format = 'yyyymmdd';
        else format = Math.abs(numeric) < 1e11 ? 's' : 'ms';
      } else {
        format = 'iso';
      }
    }
    let ms;
    switch (format) {
      case 'iso': ms = text === null ? NaN : isoTime(text); break;
      case 'yyyymmdd': ms = yyyymmdd(numeric); break;
      case 's': ms = numeric * 1000; break;
      default: ms = numeric;
    }
    if (!Number.isFinite(ms)) {
      const expected = { iso: 'an ISO date or date-time', yyyymmdd: 'a yyyymmdd date', s: 'epoch seconds', ms: 'epoch milliseconds' }[format];
      throw fail(where, `time ${JSON.stringify(value)} is not ${expected} like the first row's`);
    }
    return ms;
  };
}

function priceOf(value, where, name) {
  if (typeof value === 'number') {
    if (Number.isFinite(value)) return value;
  } else if (typeof value === 'string' && NUMBER.test(value.trim())) {
    return Number(value.trim());
  }
  throw fail(where, `${name} ${JSON.stringify(value)} is not a number`);
}

// Growable columns.
class Columns {
  constructor(hasTime, hasVolume) {
    this.size = 0;
    this.capacity = 1024;
    this.keys = ['o', 'h', 'l', 'c'];
    if (hasTime) this.keys.push('t');
    if (hasVolume) this.keys.push('v');
    this.data = {};
    for (const key of this.keys) this.data[key] = new Float64Array(this.capacity);
  }

  push(row) {
    if (this.size === this.capacity) {
      this.capacity *= 2;
      for (const key of this.keys) {
        const grown = new Float64Array(this.capacity);
        grown.set(this.data[key]);
        this.data[key] = grown;
      }
    }
    for (const key of this.keys) this.data[key][this.size] = row[key];
    this.size++;
  }

  result() {
    const out = {};
    for (const key of ['t', 'o', 'h', 'l', 'c', 'v']) {
      if (this.data[key]) out[key] = this.data[key].slice(0, this.size);
    }
    return out;
  }
}

function headerKeys(header, where) {
  const keys = header.map((name) => ALIASES[String(name).trim().toLowerCase()]);
  for (const key of ['o', 'h', 'l', 'c']) {
    if (!keys.includes(key)) {
      throw fail(where, `the header has no ${NAMES[key]} column (found: ${header.join(',')})`);
    }
  }
  return keys;
}

// Text without a double quote has no quoted fields: its records are its
// lines and its fields the pieces between delimiters, which splitting finds
// some thirty times faster than the general parser. Anything quoted goes
// through csv-parse.
function splitCsv(text, delimiter) {
  const records = [];
  const lines = text.split('\n');
  for (let i = 0; i < lines.length; i++) {
    let line = lines[i];
    if (line.endsWith('\r')) line = line.slice(0, -1);
    if (line.trim() === '') continue;
    const record = line.split(delimiter);
    for (let k = 0; k < record.length; k++) record[k] = record[k].trim();
    records.push({ record, info: { lines: i + 1 } });
  }
  return records;
}

function parseCsv(text, options) {
  const delimiter = options.delimiter ?? ',';
  if (typeof delimiter === 'string' && delimiter !== '' && !text.includes('"')) {
    const body = text.charCodeAt(0) === 0xfeff ? text.slice(1) : text;
    return Promise.resolve().then(() => csvColumns(splitCsv(body, delimiter), options));
  }
  return new Promise((resolve, reject) => {
    parse(text, {
      bom: true,
      info: true,
      skip_empty_lines: true,
      trim: true,
      relax_column_count: true,
      delimiter,
    }, (error, records) => {
      if (error) {
        reject(fail(`line ${error.lines ?? '?'}`, error.message.replace(/^Invalid Record Length: /, '')));
        return;
      }
      try {
        resolve(csvColumns(records, options));
      } catch (e) {
        reject(e);
      }
    });
  });
}

function csvColumns(records, options) {
  if (records.length === 0) throw fail('line 1', 'the CSV text has no header');
  const keys = headerKeys(records[0].record, 'line 1');
  const index = {};
  keys.forEach((key, column) => {
    if (key !== undefined && index[key] === undefined) index[key] = column;
  });
  const columns = new Columns(index.t !== undefined, index.v !== undefined);
  const readTime = timeReader(options);
  for (let r = 1; r < records.length; r++) {
    const { record, info } = records[r];
    const where = `line ${info.lines}`;
    const row = {};
    for (const key of ['o', 'h', 'l', 'c']) {
      const cell = record[index[key]];
      if (cell === undefined) throw fail(where, `the row has no ${NAMES[key]} cell`);
      row[key] = priceOf(cell, where, NAMES[key]);
    }
    if (index.v !== undefined) {
      const cell = record[index.v];
      row.v = cell === undefined || cell === '' ? 0 : priceOf(cell, where, 'volume');
    }
    if (index.t !== undefined) {
      const cell = record[index.t];
      if (cell === undefined || cell === '') throw fail(where, 'the time cell is empty');
      row.t = readTime(cell, where);
    }
    columns.push(row);
  }
  return columns.result();
}

function jsonColumns(text, options) {
  let data;
  try {
    data = JSON.parse(text.charCodeAt(0) === 0xfeff ? text.slice(1) : text);
  } catch (error) {
    throw fail('JSON', error.message);
  }
  const readTime = timeReader(options);
  if (Array.isArray(data)) {
    const first = data.find((bar) => bar !== null && typeof bar === 'object');
    const has = (short, long) => first !== undefined && (first[short] !== undefined || first[long] !== undefined);
    const columns = new Columns(has('t', 'time'), has('v', 'volume'));
    data.forEach((bar, i) => {
      const where = `bar ${i}`;
      if (bar === null || typeof bar !== 'object' || Array.isArray(bar)) throw fail(where, 'is not an object');
      const row = {};
      for (const key of ['o', 'h', 'l', 'c', 'v', 't']) {
        let value = bar[key];
        if (value === undefined) value = bar[NAMES[key]];
        if (value === undefined && key === 't') value = bar.date;
        if (key === 't') {
          if (columns.data.t === undefined) continue;
          if (value === undefined || value === null) throw fail(where, 'has no time');
          row.t = readTime(value, where);
        } else if (key === 'v') {
          row.v = value === undefined || value === null ? 0 : priceOf(value, where, 'volume');
        } else {
          if (value === undefined) throw fail(where, `has no ${NAMES[key]}`);
          row[key] = priceOf(value, where, NAMES[key]);
        }
      }
      columns.push(row);
    });
    return columns.result();
  }
  if (data !== null && typeof data === 'object') {
    const out = {};
    for (const key of ['t', 'o', 'h', 'l', 'c', 'v']) {
      const column = data[key] ?? data[NAMES[key]];
      if (column === undefined) {
        if (key === 't' || key === 'v') continue;
        throw fail('JSON', `the columns object has no ${NAMES[key]} (${key}) array`);
      }
      if (!Array.isArray(column)) throw fail('JSON', `the column ${key} is not an array`);
      out[key] = Float64Array.from(column, (value, i) =>
        key === 't' ? readTime(value, `bar ${i}`) : priceOf(value, `bar ${i}`, NAMES[key]));
    }
    return out;
  }
  throw fail('JSON', 'expected an array of bar objects or an object of columns');
}

function looksLikeText(input) {
  return input.includes('\n') || /^\s*[[{]/.test(input) || input.charCodeAt(0) === 0xfeff;
}

async function loadBars(pathOrText, options = {}) {
  if (options === null || typeof options !== 'object') throw new TypeError('loadBars: options must be an object');
  let text;
  let source = 'text';
  if (typeof pathOrText === 'string') {
    if (options.text === true || (options.text !== false && looksLikeText(pathOrText))) {
      text = pathOrText;
    } else {
      source = pathOrText;
      try {
        text = await fs.promises.readFile(pathOrText, 'utf8');
      } catch (error) {
        throw new Error(`loadBars: cannot read ${pathOrText}: ${error.code === 'ENOENT' ? 'no such file' : error.message}`);
      }
    }
  } else if (pathOrText instanceof Uint8Array) {
    text = Buffer.from(pathOrText.buffer, pathOrText.byteOffset, pathOrText.byteLength).toString('utf8');
  } else {
    throw new TypeError('loadBars: expected a file path, CSV or JSON text, or a Buffer');
  }
  let format = options.format;
  if (format === undefined) {
    if (/\.json$/i.test(source)) format = 'json';
    else if (/\.csv$/i.test(source)) format = 'csv';
    else format = /^\uFEFF?\s*[[{]/.test(text) ? 'json' : 'csv';
  }
  if (format === 'json') return jsonColumns(text, options);
  if (format === 'csv') return parseCsv(text, options);
  throw new TypeError(`loadBars: format must be 'csv' or 'json', not ${String(format)}`);
}

module.exports = { loadBars };
