'use strict';

// The chart page's server, request by request: what it answers, what it
// refuses (and that it keeps answering after), and that the live replay
// gives the values a full run over the same bars gives.

const { after, before, describe, test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const http = require('node:http');
const path = require('node:path');

const ROOT = path.join(__dirname, '..', '..');
const { compile, loadBars } = require(ROOT);
const { createDemoServer, tickOf } = require(path.join(ROOT, 'demo', 'server.js'));

const MACD = fs.readFileSync(path.join(ROOT, 'examples', 'formulas', 'macd.txt'), 'utf8');
const SHOWCASE = fs.readFileSync(path.join(ROOT, 'examples', 'formulas', 'drawing_showcase.txt'), 'utf8');
const LIVE_BARS = 6;
const TICKS = 3;

let bars;
let demo;
let base;

function request(method, pathname, body, headers = {}) {
  return new Promise((resolve, reject) => {
    const req = http.request(new URL(pathname, base), { method, headers }, (res) => {
      const chunks = [];
      res.on('data', (c) => chunks.push(c));
      res.on('end', () => {
        const text = Buffer.concat(chunks).toString('utf8');
        let json = null;
        try { json = JSON.parse(text); } catch { /* not JSON */ }
        resolve({ status: res.statusCode, type: res.headers['content-type'], text, json });
      });
    });
    req.on('error', reject);
    if (body !== undefined) req.write(body);
    req.end();
  });
}

const post = (formula, extra = {}) => request('POST', '/run', JSON.stringify({ formula, ...extra }),
  { 'content-type': 'application/json' });

// The server's JSON form of a run: NaN and infinities as null.
function expectedOutputs(formula, count, period = 1440) {
  const first = Object.fromEntries(Object.entries(bars).map(([k, v]) => [k, v.slice(0, count)]));
  const outputs = compile(formula, { period, bars: first }).run().outputs
    .map(({ name, properties, values, drawing }) => ({ name, properties, values: Array.from(values), drawing }));
  return JSON.parse(JSON.stringify(outputs)); // NaN and infinities become null, as the server writes them
}

async function readEvents(pathname) {
  const res = await fetch(new URL(pathname, base));
  const events = (await res.text()).split('\n\n').filter(Boolean).map((block) => ({
    name: /^event: (.*)$/m.exec(block)[1],
    data: JSON.parse(/^data: (.*)$/m.exec(block)[1]),
  }));
  return { status: res.status, type: res.headers.get('content-type'), events };
}

before(async () => {
  bars = await loadBars(path.join(ROOT, 'examples', 'data', 'sp500_daily.csv'));
  demo = createDemoServer({ bars, liveBars: LIVE_BARS, ticksPerBar: TICKS, tickMs: 0, runTimeoutMs: 1000 });
  base = await demo.listen(0, '127.0.0.1');
});

after(() => demo.close());

describe('demo server: pages, data and runs', () => {
  test('the page files, each with its type, on the loopback address', async () => {
    assert.equal(demo.server.address().address, '127.0.0.1');
    const files = [['/', /text\/html/], ['/app.mjs', /javascript/], ['/style.css', /text\/css/],
      ['/vendor/lightweight-charts.mjs', /javascript/]];
    for (const [pathname, type] of files) {
      const res = await request('GET', pathname);
      assert.equal(res.status, 200, pathname);
      assert.match(res.type, type, pathname);
    }
  });

  test('GET /bars gives every bar but the replayed ones, as columns; /examples and /functions', async () => {
    const { json } = await request('GET', '/bars');
    const shown = bars.t.length - LIVE_BARS;
    assert.deepEqual([json.shown, json.total], [shown, bars.t.length]);
    for (const key of ['t', 'o', 'h', 'l', 'c', 'v']) {
      assert.equal(json.bars[key].length, shown, key);
      assert.equal(json.bars[key][shown - 1], bars[key][shown - 1], key);
    }
    assert.equal((await request('GET', '/examples')).json.find((e) => e.name === 'macd').text, MACD);
    assert.ok((await request('GET', '/functions')).json.some((f) => f.name === 'EMA'));
  });

  const formulas = [
    ['MACD', MACD, undefined],
    ['the drawing showcase', SHOWCASE, undefined],
    ['an output without values', 'X:ASIN(2);', undefined],
    ['the period', 'P:PERIOD;', 60],
  ];
  for (const [label, formula, period] of formulas) {
    test(`POST /run, ${label}: the outputs of a run over the shown bars`, async () => {
      const res = await post(formula, { period });
      assert.equal(res.status, 200, res.text.slice(0, 200));
      assert.equal(res.json.length, bars.t.length - LIVE_BARS);
      assert.deepEqual(res.json.outputs, expectedOutputs(formula, bars.t.length - LIVE_BARS, period ?? 1440));
    });
  }

  test('a formula that does not compile: 400 with the error and its position', async () => {
    const formula = 'A:1;\nB:MA(C,5) # 2;';
    let expected;
    assert.throws(() => compile(formula), (error) => { expected = error; return true; });
    const res = await post(formula);
    assert.equal(res.status, 400);
    const { code, line, column, message } = res.json.error;
    assert.deepEqual({ code, line, column, message }, { code: expected.code, line: 2, column: expected.column, message: expected.message });
  });
});

describe('demo server: refusals, and it keeps answering', () => {
  // Bodies go without a length, in chunks: the limit holds while reading.
  const big = JSON.stringify({ formula: `X:C;${' '.repeat(1024 * 1024)}` });
  const refusals = [
    ['bad JSON', 'POST', '/run', '{"formula":', 400, /bad JSON/],
    ['a JSON array', 'POST', '/run', '["X:C;"]', 400, /JSON object/],
    ['a formula that is not a string', 'POST', '/run', '{"formula":5}', 400, /formula must be a string/],
    ['a negative period', 'POST', '/run', '{"formula":"X:C;","period":-1}', 400, /period/],
    ['a body over 1 MiB', 'POST', '/run', big, 413, /body over/],
    // About seven seconds of work on an idle machine (conditions tie, so
    // FINDHIGHBARS walks its heap over every window), stopped after one.
    ['a run over the time limit', 'POST', '/run', JSON.stringify({ formula: Array.from({ length: 48 },
      (_, i) => `F${i}:FINDHIGHBARS(C*${i + 1}>O,0,BARPOS,BARPOS/2);`).join('') }), 422, /took longer than 1000 ms/],
    ['GET /run', 'GET', '/run', undefined, 405, /POST/],
    ['POST to a page', 'POST', '/', '{}', 405, /use GET/],
    ['a bad live interval', 'GET', '/live?formula=X%3AC%3B&interval=-5', undefined, 400, /interval/],
    ['an unknown file', 'GET', '/nothing.html', undefined, 404, /not found/],
    ['a file outside the page folder', 'GET', '/%2e%2e/server.js', undefined, 404, /not found/],
    ['a file type not served', 'GET', '/../../package.json', undefined, 404, /not found/],
    ['live without a formula', 'GET', '/live', undefined, 400, /formula/],
    ['live with a formula that does not compile', 'GET', '/live?formula=A%3AB%3B', undefined, 400, /./],
  ];
  for (const [label, method, pathname, body, status, message] of refusals) {
    test(`${label}: ${status}`, async () => {
      const res = await request(method, pathname, body);
      assert.equal(res.status, status);
      assert.match(res.json.error.message, message);
      const again = await post('X:C;');
      assert.equal(again.status, 200, 'the server still answers');
    });
  }
});

describe('demo server: live replay', () => {
  test('tickOf: the bar opens flat, widens, and ends as the bar itself', () => {
    const one = { t: [5], o: [10], h: [14], l: [7], c: [12], v: [100] };
    const ticks = [1, 2, 3, 4].map((step) => tickOf(one, 0, step, 4));
    assert.deepEqual(ticks[0], { t: 5, o: 10, h: 11.375, l: 9.25, c: 10.5, v: 25 });
    assert.deepEqual(ticks[3], { t: 5, o: 10, h: 14, l: 7, c: 12, v: 100 });
    for (const tick of ticks) {
      assert.ok(tick.h >= Math.max(tick.o, tick.c) && tick.l <= Math.min(tick.o, tick.c), JSON.stringify(tick));
    }
    assert.deepEqual(tickOf(one, 0, 1, 1), { t: 5, o: 10, h: 14, l: 7, c: 12, v: 100 });
  });

  test('every remaining bar arrives as ticks whose values equal a full run', async () => {
    const shown = bars.t.length - LIVE_BARS;
    const formula = 'DIF:EMA(CLOSE,12)-EMA(CLOSE,26);\nN:BARSCOUNT(CLOSE);\nDRAWTEXT(CLOSE>OPEN,LOW,\'up\');';
    const { status, type, events } = await readEvents(`/live?formula=${encodeURIComponent(formula)}`);
    assert.equal(status, 200);
    assert.match(type, /text\/event-stream/);
    assert.deepEqual(events[0], { name: 'start', data: { shown, total: bars.t.length, ticksPerBar: TICKS } });
    assert.equal(events.at(-1).name, 'end');
    const ticks = events.filter((e) => e.name === 'tick').map((e) => e.data);
    assert.equal(ticks.length, LIVE_BARS * TICKS);
    ticks.forEach((tick, k) => {
      const index = shown + Math.floor(k / TICKS);
      assert.equal(tick.index, index, `tick ${k}`);
      assert.equal(tick.replace, k % TICKS !== 0, `tick ${k}`);
      assert.deepEqual(tick.bar, tickOf(bars, index, (k % TICKS) + 1, TICKS));
      // The engine over the earlier bars plus this tick's bar.
      const f = compile(formula);
      const columns = Object.fromEntries(Object.entries(bars).map(([key, v]) => [key, Array.from(v).slice(0, index)]));
      for (const key of Object.keys(columns)) columns[key].push(tick.bar[key]);
      f.setBars(columns);
      f.period = 1440;
      const outputs = f.run().outputs;
      assert.equal(tick.outputs[0].value, outputs[0].values[index], `DIF at tick ${k}`);
      assert.equal(tick.outputs[1].value, outputs[1].values[index], `bar count at tick ${k}`);
      const item = outputs[2].drawing.items.at(-1);
      assert.deepEqual(tick.outputs[2].item, item.index === index ? JSON.parse(JSON.stringify(item)) : null);
    });
  });

  test('a client leaving mid-replay does not stop the server', async () => {
    await new Promise((resolve) => {
      const req = http.get(new URL(`/live?formula=${encodeURIComponent('X:C;')}&interval=50`, base), (res) => {
        res.once('data', () => { req.destroy(); resolve(); });
      });
    });
    assert.equal((await post('X:C;')).status, 200);
  });
});

describe('demo server: bars without time or volume', () => {
  test('are shown, run and replayed', async () => {
    const small = createDemoServer({
      bars: { o: [1, 2, 3, 4], h: [2, 3, 4, 5], l: [0, 1, 2, 3], c: [1.5, 2.5, 3.5, 4.5] },
      liveBars: 2, ticksPerBar: 1, tickMs: 0,
    });
    const saved = base;
    base = await small.listen();
    try {
      const { json } = await request('GET', '/bars');
      assert.deepEqual(json.bars, { o: [1, 2], h: [2, 3], l: [0, 1], c: [1.5, 2.5], v: [0, 0] });
      const run = await post('X:C+VOL;');
      assert.deepEqual(run.json.outputs[0].values, [1.5, 2.5]);
      const { events } = await readEvents(`/live?formula=${encodeURIComponent('X:C+VOL;')}`);
      assert.deepEqual(events.filter((e) => e.name === 'tick').map((e) => [e.data.bar, e.data.outputs[0].value]), [
        [{ o: 3, h: 4, l: 2, c: 3.5, v: 0 }, 3.5],
        [{ o: 4, h: 5, l: 3, c: 4.5, v: 0 }, 4.5],
      ]);
    } finally {
      base = saved;
      await small.close();
    }
  });

  test('bars out of time order are refused when the server is made', () => {
    assert.throws(() => createDemoServer({ bars: { t: [2, 1], o: [1, 1], h: [1, 1], l: [1, 1], c: [1, 1] } }), RangeError);
  });
});
