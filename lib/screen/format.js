'use strict';

// Writing screen results as an aligned table, CSV or one JSON array. CSV and
// JSON are written as results arrive; a table waits for all of them to size
// its columns.

function columnsOf(names, last) {
  const columns = [];
  for (const name of names) {
    if (last === 1) {
      columns.push({ title: name, name, k: -1 });
    } else {
      for (let k = 0; k < last; k++) {
        const back = last - 1 - k;
        columns.push({ title: back === 0 ? name : `${name}[-${back}]`, name, k });
      }
    }
  }
  return columns;
}

function cell(values, column) {
  const value = values[column.name];
  return column.k < 0 ? value : value[column.k];
}

function csvField(text) {
  return /[",\r\n]/.test(text) ? `"${text.replace(/"/g, '""')}"` : text;
}

function tableNumber(x, whole) {
  if (x === null || x === undefined) return '-';
  return whole || Math.abs(x) >= 1e15 ? String(x) : x.toFixed(4);
}

class CsvWriter {
  constructor(out, names, last) {
    this.out = out;
    this.columns = columnsOf(names, last);
    this.started = false;
  }

  // The header goes out with the first row (or at the end): a screen that
  // is refused before any work prints nothing.
  header() {
    if (this.started) return;
    this.started = true;
    this.out.write(`${['symbol', ...this.columns.map((c) => c.title), 'error'].map(csvField).join(',')}\n`);
  }

  add(r) {
    this.header();
    const fields = [csvField(r.symbol)];
    for (const c of this.columns) {
      const x = cell(r.values, c);
      fields.push(x === null ? '' : String(x));
    }
    fields.push(r.error === undefined ? '' : csvField(r.error));
    this.out.write(`${fields.join(',')}\n`);
  }

  end() {
    this.header();
  }
}

class JsonWriter {
  constructor(out) {
    this.out = out;
    this.count = 0;
  }

  add(r) {
    this.out.write(`${this.count === 0 ? '[\n' : ',\n'}${JSON.stringify(r)}`);
    this.count += 1;
  }

  end() {
    this.out.write(this.count === 0 ? '[]\n' : '\n]\n');
  }
}

class TableWriter {
  constructor(out, names, last) {
    this.out = out;
    this.columns = columnsOf(names, last);
    this.rows = [];
    this.errors = false;
  }

  add(r) {
    this.rows.push(r);
    if (r.error !== undefined) this.errors = true;
  }

  // Columns of whole numbers (flags, counts) print without decimals.
  end() {
    const whole = this.columns.map((c) => this.rows.every((r) => {
      const x = cell(r.values, c);
      return x === null || Number.isInteger(x);
    }));
    const rows = this.rows.map((r) => {
      const row = [r.symbol, ...this.columns.map((c, k) => tableNumber(cell(r.values, c), whole[k]))];
      if (r.error !== undefined) row.push(r.error);
      return row;
    });
    const header = ['symbol', ...this.columns.map((c) => c.title)];
    if (this.errors) header.push('error');
    const width = header.map((h) => h.length);
    for (const row of rows) row.forEach((text, k) => { width[k] = Math.max(width[k], text.length); });
    const line = (row) => row.map((text, k) => {
      if (k === 0 || k > this.columns.length) return text.padEnd(width[k]); // symbol, error: left
      return text.padStart(width[k]);
    }).join('  ').trimEnd();
    this.out.write(`${line(header)}\n`);
    for (const row of rows) this.out.write(`${line(row)}\n`);
  }
}

function writerFor(format, out, names, last) {
  if (format === 'csv') return new CsvWriter(out, names, last);
  if (format === 'json') return new JsonWriter(out);
  if (format === 'table') return new TableWriter(out, names, last);
  throw new RangeError(`unknown format: ${format} (table, csv or json)`);
}

module.exports = { writerFor, columnsOf };
