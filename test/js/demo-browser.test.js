'use strict';

// The chart page in Debian's Chromium, headless, driven by playwright-core:
// every output of the examples drawn with the values of a run, every drawing
// kind on the chart, compile errors placed in the editor, and live mode
// moving the chart. Screenshots go to test-output/demo/.
//
// Chromium is /usr/bin/chromium (or CHROMIUM_PATH). Without it the test is
// skipped on a developer's machine and fails under CI (CI=true), where
// .ci/run installs it.

const { after, before, describe, test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');

const ROOT = path.join(__dirname, '..', '..');
const { compile, FormulaError, loadBars } = require(ROOT);
const { createDemoServer } = require(path.join(ROOT, 'demo', 'server.js'));

const CHROMIUM = process.env.CHROMIUM_PATH || '/usr/bin/chromium';
const OUT = path.join(ROOT, 'test-output', 'demo');
const LIVE_BARS = 12;
const TICKS = 2;
const example = (name) => fs.readFileSync(path.join(ROOT, 'examples', 'formulas', `${name}.txt`), 'utf8');

const haveChromium = fs.existsSync(CHROMIUM);
if (!haveChromium && process.env.CI === 'true') {
  test('Chromium is installed', () => {
    assert.fail(`${CHROMIUM} is missing under CI: .ci/run should have installed it`);
  });
}

let bars;
let demo;
let browser;
let page;
let shown;
const pageErrors = [];
const outside = [];

// Columns of the first `count` bars.
function first(count) {
  return Object.fromEntries(Object.entries(bars).map(([k, v]) => [k, Array.from(v).slice(0, count)]));
}

function lastFinite(values) {
  for (let i = values.length - 1; i >= 0; i--) if (Number.isFinite(values[i])) return values[i];
  return null;
}

const HISTOGRAM = new Set(['COLORSTICK', 'VOLSTICK', 'STICK']);

function pricesOf(shape, item) {
  if (shape === 'sticks') return [item.price1, item.price2];
  if (shape === 'candles') return [item.high, item.low, item.open, item.close];
  if (shape === 'verticals') return [];
  return [item.price];
}

// What the page should show for `formula` over the first `count` bars,
// computed by the engine here: [{ name, kind, points, last }].
function expectedSeries(formula, count, period = 1440) {
  const f = compile(formula);
  f.setBars(first(count));
  f.period = period;
  const out = [
    { name: 'bars', kind: 'candles', points: count, last: bars.c[count - 1] },
    { name: 'volume', kind: 'histogram', points: count, last: bars.v[count - 1] },
  ];
  for (const o of f.run().outputs) {
    if (o.properties.includes('NODRAW')) continue;
    if (o.drawing) {
      if (!o.drawing.shape) continue;
      const drawn = o.drawing.items.filter((item) => pricesOf(o.drawing.shape, item).every(Number.isFinite));
      const last = drawn.length && o.drawing.shape !== 'verticals' ? pricesOf(o.drawing.shape, drawn.at(-1))[0] : null;
      out.push({ name: o.name, kind: o.drawing.kind, points: drawn.length, last: o.drawing.shape === 'candles' ? drawn.at(-1).close : last });
    } else {
      out.push({
        name: o.name,
        kind: o.properties.some((p) => HISTOGRAM.has(p)) ? 'histogram' : 'line',
        points: Array.from(o.values).filter(Number.isFinite).length,
        last: lastFinite(o.values),
      });
    }
  }
  return out;
}

function assertSeries(actual, expected) {
  assert.deepEqual(actual.map((s) => [s.name, s.kind, s.points]), expected.map((s) => [s.name, s.kind, s.points]));
  actual.forEach((s, k) => {
    const want = expected[k].last;
    if (want === null) assert.equal(s.last, null, s.name);
    else assert.ok(Math.abs(s.last - want) <= 1e-9 * Math.max(1, Math.abs(want)), `${s.name}: ${s.last} vs ${want}`);
  });
}

const runOnPage = (formula) => page.evaluate(async (f) => {
  await window.demo.run(f);
  return { series: window.demo.series, error: window.demo.error };
}, formula);

describe('chart page in Chromium', { skip: haveChromium ? false : `${CHROMIUM} not installed` }, () => {
  before(async () => {
    const { chromium } = require('playwright-core');
    bars = await loadBars(path.join(ROOT, 'examples', 'data', 'sp500_daily.csv'));
    demo = createDemoServer({ bars, liveBars: LIVE_BARS, ticksPerBar: TICKS, tickMs: 15 });
    shown = demo.shown;
    const url = await demo.listen(0, '127.0.0.1');
    browser = await chromium.launch({
      executablePath: CHROMIUM,
      args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
        '--disable-background-networking', '--disable-component-update', '--disable-sync',
        '--disable-dev-shm-usage'],
      // Each launch runs on a fresh temporary profile of its own.
    });
    page = await browser.newPage({ viewport: { width: 1360, height: 760 } });
    page.on('pageerror', (error) => pageErrors.push(error.message));
    // Anything the page asks of another host than the test server is
    // refused and remembered.
    await page.route('**/*', (route) => {
      const { host } = new URL(route.request().url());
      if (host === new URL(url).host) return route.continue();
      outside.push(route.request().url());
      return route.abort();
    });
    fs.mkdirSync(OUT, { recursive: true });
    await page.goto(url);
    await page.waitForFunction(() => window.demo && window.demo.ready === true, null, { timeout: 60000 });
  });

  after(async () => {
    if (browser) await browser.close();
    if (demo) await demo.close();
  });

  test('the first example is drawn when the page opens', async () => {
    const series = await page.evaluate(() => window.demo.series);
    assertSeries(series, expectedSeries(example('macd'), shown));
  });

  for (const name of ['macd', 'drawing_showcase', 'moving_averages', 'kdj', 'bollinger', 'rsi', 'sar']) {
    test(`example ${name}: every output drawn with its points and last value`, async () => {
      const { series, error } = await runOnPage(example(name));
      assert.equal(error, null);
      assertSeries(series, expectedSeries(example(name), shown));
      await page.screenshot({ path: path.join(OUT, `${name}.png`) });
    });
  }


  // The drawing the showcase leaves out, and a drawing in the lower pane.
  const drawings = [
    ['DRAWBARLINE(H,O,L,C);', 'DRAWBARLINE'],
    ['K:SMA((C-LLV(L,9))/(HHV(H,9)-LLV(L,9))*100,3,1);\nDRAWICON(K>95,K,2);', 'DRAWICON'],
  ];
  for (const [formula, kind] of drawings) {
    test(`${kind} drawn: ${formula.split('\n').at(-1)}`, async () => {
      const { series, error } = await runOnPage(formula);
      assert.equal(error, null);
      assertSeries(series, expectedSeries(formula, shown));
      const drawn = series.find((s) => s.kind === kind);
      assert.ok(drawn && drawn.points > 0, `${kind} has something to draw`);
    });
  }

  test('the period picker reaches the formula', async () => {
    await page.selectOption('#period', '60');
    const hourly = await runOnPage('P:PERIOD;');
    await page.selectOption('#period', '1440');
    assertSeries(hourly.series, expectedSeries('P:PERIOD;', shown, 60));
    assert.notDeepEqual(expectedSeries('P:PERIOD;', shown, 60), expectedSeries('P:PERIOD;', shown, 1440));
  });

  // The marker shows where the engine reports the error, without a reload.
  const broken = [
    'DIF:EMA(CLOSE,12)-EMA(CLOSE,26);\nDEA:EMA(DIF,9) # 2;\nMACD:DIF-DEA;',
    'A:1;\n\n  B:=MA(C,5,1);',
    'A:(1+2;',
  ];
  for (const formula of broken) {
    test(`compile error placed: ${JSON.stringify(formula.split('\n').at(-1))}`, async () => {
      let expected;
      assert.throws(() => compile(formula), (error) => {
        expected = error;
        return error instanceof FormulaError;
      });
      await page.evaluate(() => { window.notReloaded = true; });
      const { error } = await runOnPage(formula);
      assert.deepEqual(error, {
        code: expected.code, line: expected.line, column: expected.column, message: expected.message,
      });
      const shownMark = await page.evaluate((message) => {
        const mark = document.querySelector('.err-mark');
        const before = document.createRange();
        before.setStart(document.querySelector('.backdrop'), 0);
        before.setEndBefore(mark);
        const box = document.querySelector('#error');
        return {
          reloaded: window.notReloaded !== true,
          line: Number(mark.dataset.line),
          column: Number(mark.dataset.column),
          offset: before.toString().length,
          gutter: document.querySelector('.gutter .err-line').textContent,
          message: !box.hidden && box.textContent.includes(message),
        };
      }, expected.message);
      // The marker's offset in the text: the lines before its line, then its column.
      const offset = formula.split('\n').slice(0, expected.line - 1).reduce((n, line) => n + line.length + 1, 0)
        + expected.column;
      assert.deepEqual(shownMark, {
        reloaded: false, line: expected.line, column: expected.column, offset, gutter: String(expected.line), message: true,
      });
      await page.screenshot({ path: path.join(OUT, 'error.png') });
    });
  }

  for (const name of ['macd', 'drawing_showcase']) {
    test(`live mode on ${name}: the chart moves and ends on the values of a full run`, async () => {
      const formula = example(name);
      const before = (await runOnPage(formula)).series;
      const startedAt = await page.evaluate(() => window.demo.updates);
      // An edited formula is run first; asked twice meanwhile (a double
      // click), live mode still replays once.
      await page.fill('#editor textarea', `${formula}\n`);
      await page.evaluate(() => Promise.all([window.demo.live(true), window.demo.live(true)]));
      await page.waitForFunction((n) => window.demo.updates >= n, startedAt + 3);
      const moving = await page.evaluate(() => window.demo.series);
      assert.notDeepEqual(moving.map((s) => s.last), before.map((s) => s.last), 'the last values change');
      const end = startedAt + LIVE_BARS * TICKS;
      await page.waitForFunction((n) => window.demo.updates >= n, end, { timeout: 60000 });
      const { series, updates } = await page.evaluate(() => ({ series: window.demo.series, updates: window.demo.updates }));
      assert.equal(updates, end);
      assertSeries(series, expectedSeries(formula, bars.t.length));
      await page.screenshot({ path: path.join(OUT, `live-${name}.png`) });
      assert.match(await page.textContent('#timing'), /ms per update/);
    });
  }

  test('a run after live mode goes back to the shown bars', async () => {
    const { series } = await runOnPage(example('macd'));
    assertSeries(series, expectedSeries(example('macd'), shown));
  });

  test('the page raised no error and asked nothing of another host', () => {
    assert.deepEqual(pageErrors, []);
    assert.deepEqual(outside, []);
  });
});
