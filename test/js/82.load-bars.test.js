'use strict';

// loadBars: CSV and JSON files and texts from other tools.

const { describe, test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('fs');
const os = require('os');
const path = require('path');

const ROOT = path.join(__dirname, '..', '..');
const { loadBars, compile } = require(ROOT);

const D2 = Date.UTC(2020, 0, 2);
const D3 = Date.UTC(2020, 0, 3);

const plain = (bars) => Object.fromEntries(Object.entries(bars).map(([k, v]) => [k, Array.from(v)]));

describe('loadBars: CSV', () => {
  const cases = [
    // [label, text, expected columns]
    ['short header, epoch milliseconds', `t,o,h,l,c,v\n${D2},1,2,0.5,1.5,10\n${D3},1.5,3,1,2,20\n`,
      { t: [D2, D3], o: [1, 1.5], h: [2, 3], l: [0.5, 1], c: [1.5, 2], v: [10, 20] }],
    ['capitalised long header, ISO dates, CRLF, BOM, extra column',
      '\uFEFFDate,Open,High,Low,Close,Adj Close,Volume\r\n2020-01-02,1,2,0.5,1.5,1.4,10\r\n2020-01-03,1.5,3,1,2,1.9,20\r\n',
      { t: [D2, D3], o: [1, 1.5], h: [2, 3], l: [0.5, 1], c: [1.5, 2], v: [10, 20] }],
    ['quoted fields and columns in another order', 'close,"time",open,low,high\n"1.5","2020-01-02T00:00:00Z",1,0.5,2\n',
      { t: [D2], o: [1], h: [2], l: [0.5], c: [1.5] }],
    ['epoch seconds', `time,open,high,low,close\n${D2 / 1000},1,2,0.5,1.5\n`, { t: [D2], o: [1], h: [2], l: [0.5], c: [1.5] }],
    ['yyyymmdd dates', 'date,open,high,low,close\n20200102,1,2,0.5,1.5\n20200103,1,2,0.5,1.5\n',
      { t: [D2, D3], o: [1, 1], h: [2, 2], l: [0.5, 0.5], c: [1.5, 1.5] }],
    ['date-times with a zone and seconds', 'datetime,o,h,l,c\n2020-01-02 09:30:15+01:00,1,2,0.5,1.5\n',
      { t: [D2 + 8 * 3600000 + 30 * 60000 + 15000], o: [1], h: [2], l: [0.5], c: [1.5] }],
    ['no time column, blank lines', 'o,h,l,c\n\n1,2,0.5,1.5\n\n', { o: [1], h: [2], l: [0.5], c: [1.5] }],
  ];
  for (const [label, text, expected] of cases) {
    test(label, async () => {
      assert.deepEqual(plain(await loadBars(text)), expected);
    });
  }

  // Text without quotes is split directly; with a quote anywhere it goes
  // through the CSV parser. Both readings of every case must agree, line
  // numbers of errors included.
  test('quoted and unquoted readings agree', async () => {
    const quoteOne = (text) => text.replace(/(\n[^,\r\n]+)/, (m) => `\n"${m.slice(1)}"`);
    for (const [label, text] of cases) {
      if (text.includes('"')) continue;
      assert.deepEqual(plain(await loadBars(quoteOne(text))), plain(await loadBars(text)), label);
    }
    const bad = 'date,o,h,l,c\n\n2020-01-02 , 1,2,0.5,1.5\n2020-01-03,1,x,0.5,1.5\n';
    await assert.rejects(loadBars(bad), /line 4: high "x"/);
    await assert.rejects(loadBars(bad.replace('x', '"x"')), /line 4: high "x"/);
  });

  const bad = [
    // [label, text, message pattern]
    ['a missing close column', 'time,open,high,low\n2020-01-02,1,2,0.5\n', /no close column/],
    ['a price that is not a number', 't,o,h,l,c\n1,2,3,4,5\n2,2,3,null,5\n', /line 3: low "null" is not a number/],
    ['a date that does not exist', 'date,o,h,l,c\n2020-01-02,1,2,0.5,1.5\n2021-02-30,1,2,0.5,1.5\n', /line 3: time "2021-02-30"/],
    ['a time of another format than the first row', 'date,o,h,l,c\n2020-01-02,1,2,0.5,1.5\n1577923200,1,2,0.5,1.5\n', /line 3: time/],
    ['an unclosed quote', 't,o,h,l,c\n1,2,3,4,"5\n', /loadBars: line/],
    ['a short row', 't,o,h,l,c\n1,2,3\n', /line 2: the row has no low cell/],
  ];
  for (const [label, text, message] of bad) {
    test(`refuses ${label}`, async () => {
      await assert.rejects(loadBars(text), message);
    });
  }
});

describe('loadBars: JSON, files, and setBars', () => {
  const cases = [
    ['bar objects, long keys, ISO times', JSON.stringify([{ time: '2020-01-02', open: 1, high: 2, low: 0.5, close: 1.5 }]),
      { t: [D2], o: [1], h: [2], l: [0.5], c: [1.5] }],
    ['bar objects, short keys, milliseconds', JSON.stringify([{ t: D2, o: 1, h: 2, l: 0.5, c: 1.5, v: 3 }]),
      { t: [D2], o: [1], h: [2], l: [0.5], c: [1.5], v: [3] }],
    ['columns', JSON.stringify({ t: [D2, D3], o: [1, 2], h: [2, 3], l: [0, 1], c: [1, 2] }),
      { t: [D2, D3], o: [1, 2], h: [2, 3], l: [0, 1], c: [1, 2] }],
  ];
  for (const [label, text, expected] of cases) {
    test(label, async () => {
      assert.deepEqual(plain(await loadBars(text)), expected);
    });
  }

  test('refuses a bar without a close and bad JSON', async () => {
    await assert.rejects(loadBars('[{"t":1,"o":1,"h":1,"l":1,"c":1},{"t":2,"o":1,"h":1,"l":1}]'), /bar 1: has no close/);
    await assert.rejects(loadBars('[{"t":1,'), /loadBars: JSON/);
  });

  test('files by path (extension or content decides), a missing file, and setBars of the result', async () => {
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'bars-'));
    const csvPath = path.join(dir, 'prices.txt');
    fs.writeFileSync(csvPath, 'Date,Open,High,Low,Close\r\n2020-01-02,1,2,0.5,1.5\r\n2020-01-03,1.5,3,1,2\r\n');
    const jsonPath = path.join(dir, 'prices.json');
    fs.writeFileSync(jsonPath, JSON.stringify([{ t: D2, o: 1, h: 2, l: 0.5, c: 1.5 }]));
    const fromCsv = await loadBars(csvPath);
    assert.deepEqual(Array.from(fromCsv.c), [1.5, 2]);
    assert.deepEqual(Array.from((await loadBars(jsonPath)).t), [D2]);
    await assert.rejects(loadBars(path.join(dir, 'missing.csv')), /cannot read .*no such file/);
    const [x] = compile('X:C+(YEAR)-2020;').setBars(fromCsv).run().outputs;
    assert.deepEqual(Array.from(x.values), [1.5, 2]);
    fs.rmSync(dir, { recursive: true });
  });

  test('the sample file loads whole', async () => {
    const bars = await loadBars(path.join(ROOT, 'examples', 'data', 'sp500_daily.csv'));
    assert.equal(bars.c.length, 5105);
    assert.equal(bars.t[0], 946857600000);
  });
});
