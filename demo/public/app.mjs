// The chart page: candles and volume of the server's bars, a formula run on
// the server and drawn output by output, compile errors placed in the
// editor, the function reference, and the live replay.
//
// window.demo exposes the page's state for tests and scripts:
//   ready    true once the first run is drawn
//   series   [{ name, kind, points, last }] one per drawn thing
//   error    null or { code, line, column, message } as shown
//   run(f)   what the Run button does; resolves when drawn
//   live(on) starts or stops the replay; updates counts the updates drawn

import {
  BarSeries, CandlestickSeries, HistogramSeries, LineSeries, LineStyle, createChart,
} from '/vendor/lightweight-charts.mjs';
import { Editor } from './editor.mjs';
import { DrawingPrimitive } from './overlay.mjs';
import {
  DOWN_COLOR, PALETTE, UP_COLOR, chartTimes, histogramColor, histogramData, itemPrices,
  lineData, nextTime, paneOfDrawing, paneOfLine, parseColor, styleOf,
} from './logic.mjs';

const $ = (selector) => document.querySelector(selector);

const state = {
  bars: null, // columns of the bars on the chart (grows in live mode)
  times: [], // chart time of each bar, seconds
  shownBars: 0,
  period: null, // minutes per bar: the server's, until the picker changes it
  formula: '',
  entries: [], // one per output drawn
  source: null, // the live EventSource
  replayed: false, // live bars were added since the last run
  firstDraw: true,
  examples: [],
  runs: 0, // runs started
  pointing: false, // the legend shows the bar under the crosshair
  over: false, // the pointer is over the chart
  starting: false, // live mode waits for its first run
};

const chart = createChart($('#chart'), {
  autoSize: true,
  layout: {
    background: { color: '#0d1117' },
    textColor: '#c9d1d9',
    fontFamily: 'ui-sans-serif, system-ui, sans-serif',
    panes: { separatorColor: '#30363d' },
  },
  grid: { vertLines: { color: '#161b22' }, horzLines: { color: '#161b22' } },
  rightPriceScale: { borderColor: '#30363d' },
  timeScale: { borderColor: '#30363d', rightOffset: 4 },
  crosshair: { mode: 0 },
});

const candles = chart.addSeries(CandlestickSeries, {
  upColor: UP_COLOR,
  downColor: DOWN_COLOR,
  borderVisible: false,
  wickUpColor: UP_COLOR,
  wickDownColor: DOWN_COLOR,
  priceLineVisible: false,
});
const volume = chart.addSeries(HistogramSeries, {
  priceScaleId: 'volume',
  priceFormat: { type: 'volume' },
  lastValueVisible: false,
  priceLineVisible: false,
});
volume.priceScale().applyOptions({ scaleMargins: { top: 0.82, bottom: 0 } });

const volumeColor = (i) => (state.bars.c[i] >= state.bars.o[i] ? `${UP_COLOR}55` : `${DOWN_COLOR}55`);

function drawBars() {
  const { bars, times } = state;
  const n = times.length;
  const candleData = new Array(n);
  const volumeData = new Array(n);
  for (let i = 0; i < n; i++) {
    candleData[i] = { time: times[i], open: bars.o[i], high: bars.h[i], low: bars.l[i], close: bars.c[i] };
    volumeData[i] = { time: times[i], value: bars.v[i], color: volumeColor(i) };
  }
  candles.setData(candleData);
  volume.setData(volumeData);
}

// Summary of one chart series: data points with a value, and the last value.
function summary(series) {
  const data = series.data();
  let points = 0;
  let last = null;
  for (const d of data) {
    const v = d.value !== undefined ? d.value : d.close;
    if (v !== undefined && Number.isFinite(v)) {
      points += 1;
      last = v;
    }
  }
  return { points, last };
}

function describeEntry(entry) {
  if (entry.primitive) {
    const items = entry.primitive.drawing.items;
    let points = 0;
    let last = null;
    for (const item of items) {
      const prices = itemPrices(entry.primitive.drawing.shape, item);
      if (prices.every((p) => p !== null && Number.isFinite(p))) {
        points += 1;
        if (prices.length) [last] = prices;
      }
    }
    return { name: entry.name, kind: entry.kind, points, last };
  }
  return { name: entry.name, kind: entry.kind, ...summary(entry.series) };
}

function clearOutputs() {
  for (const entry of state.entries) {
    if (entry.primitive) entry.host.detachPrimitive(entry.primitive);
    if (entry.series) chart.removeSeries(entry.series);
  }
  state.entries = [];
  while (chart.panes().length > 1) chart.removePane(chart.panes().length - 1);
}

// Price-like things over the candles (pane 0), the others in one pane below.
const paneIndex = (where) => (where === 'main' ? 0 : 1);

const lineStyle = (style) => (style.dotted ? LineStyle.Dotted : LineStyle.Solid);

function addLine(output, style) {
  const pane = paneIndex(paneOfLine(output.values, style, state.bars));
  if (style.histogram) {
    const series = chart.addSeries(HistogramSeries, {
      color: style.color, priceLineVisible: false, title: output.name,
    }, pane);
    series.setData(histogramData(output.values, state.times, style, state.bars));
    return { name: output.name, kind: 'histogram', series, style };
  }
  const series = chart.addSeries(LineSeries, {
    color: style.color,
    lineWidth: style.width,
    lineStyle: lineStyle(style),
    lineVisible: style.points === 0,
    pointMarkersVisible: style.points > 0,
    pointMarkersRadius: style.points || undefined,
    priceLineVisible: false,
    crosshairMarkerVisible: false,
    title: output.name,
  }, pane);
  series.setData(lineData(output.values, state.times));
  return { name: output.name, kind: 'line', series, style };
}

function candleItem(item) {
  return {
    time: state.times[item.index], open: item.open, high: item.high, low: item.low, close: item.close,
  };
}

function addDrawing(output, style, drawing) {
  const kind = drawing.kind || output.name;
  const pane = paneIndex(paneOfDrawing(drawing, state.bars));
  if (drawing.shape === 'candles') {
    const own = (output.properties || []).some((p) => /^COLOR/.test(p) && p !== 'COLORSTICK') ? style.color : null;
    const up = own || '#f59e0b';
    const down = own || '#60a5fa';
    const series = drawing.kind === 'DRAWBARLINE'
      ? chart.addSeries(BarSeries, { upColor: up, downColor: down, priceLineVisible: false, lastValueVisible: false }, pane)
      : chart.addSeries(CandlestickSeries, {
        upColor: 'rgba(0,0,0,0)', downColor: down, borderUpColor: up, borderDownColor: down,
        wickUpColor: up, wickDownColor: down, priceLineVisible: false, lastValueVisible: false,
      }, pane);
    series.setData(drawing.items.filter((it) => Number.isFinite(it.close)).map(candleItem));
    return { name: output.name, kind, series, style };
  }
  const primitive = new DrawingPrimitive(drawing, style);
  let host = candles;
  let series = null;
  const anchor = drawing.items
    .map((item) => [item.index, itemPrices(drawing.shape, item)[0]])
    .filter(([, p]) => p !== undefined && p !== null && Number.isFinite(p));
  if (anchor.length) {
    // An invisible line holds the drawing's prices in its pane's scale.
    series = chart.addSeries(LineSeries, {
      lineVisible: false, pointMarkersVisible: false, lastValueVisible: false,
      priceLineVisible: false, crosshairMarkerVisible: false, color: style.color,
    }, pane);
    const seen = new Set();
    series.setData(anchor.filter(([i]) => !seen.has(i) && seen.add(i))
      .map(([i, p]) => ({ time: state.times[i], value: p })));
    host = series;
  }
  host.attachPrimitive(primitive);
  return { name: output.name, kind, series, primitive, host, style };
}

function drawOutputs(outputs) {
  clearOutputs();
  let colourIndex = 0;
  for (const output of outputs) {
    const fallback = PALETTE[colourIndex % PALETTE.length];
    const style = styleOf(output.properties, fallback);
    if (!(output.properties || []).some((p) => /^COLOR/.test(p) && p !== 'COLORSTICK' && parseColor(p))) colourIndex += 1;
    if (style.hidden) {
      state.entries.push({ name: output.name, kind: 'hidden', style, hidden: true });
    } else if (output.drawing) {
      if (output.drawing.shape) state.entries.push(addDrawing(output, style, output.drawing));
      else state.entries.push({ name: output.name, kind: 'empty', style, hidden: true });
    } else {
      state.entries.push(addLine(output, style));
    }
  }
  if (chart.panes().length > 1) {
    chart.panes()[0].setStretchFactor(3);
    chart.panes()[1].setStretchFactor(1.2);
  }
  renderLegend();
}

function formatNumber(v) {
  if (v === null || v === undefined || !Number.isFinite(v)) return '–';
  const a = Math.abs(v);
  return v.toFixed(a >= 1000 ? 1 : a >= 1 ? 2 : 4);
}

// The legend: one chip per output with its last value (or the number of
// marks of a drawing). Live ticks rewrite only the chips' texts.
const barsEntry = { name: 'bars', kind: 'candles', style: { color: UP_COLOR }, series: candles };
const isMarks = (entry) => Boolean(entry.primitive) || entry.kind === 'DRAWKLINE'
  || entry.kind === 'DRAWKLINEEX' || entry.kind === 'DRAWBARLINE';

function renderLegend() {
  const legend = $('#legend');
  legend.textContent = '';
  for (const entry of [barsEntry, ...state.entries]) {
    const chip = document.createElement('span');
    chip.className = `chip${entry.hidden ? ' hidden' : ''}`;
    const swatch = document.createElement('i');
    swatch.style.background = entry.style.color;
    const label = document.createElement('b');
    label.textContent = entry.name;
    const value = document.createElement('em');
    if (!entry.hidden) {
      const { last, points } = describeEntry(entry);
      entry.marks = points;
      value.textContent = isMarks(entry) ? `${points} marks` : formatNumber(last);
    } else value.textContent = entry.kind === 'hidden' ? 'not drawn' : 'nothing to draw';
    entry.chip = value;
    chip.append(swatch, label, value);
    chip.title = entry.kind;
    legend.append(chip);
  }
}

// A live tick's item for the newest bar `i` changes the count of marks of a
// drawing drawn as a series by at most one.
function countMark(entry, i, item) {
  const had = entry.markIndex === i;
  if (item && !had) {
    entry.marks += 1;
    entry.markIndex = i;
  } else if (!item && had) {
    entry.marks -= 1;
    entry.markIndex = -1;
  }
}

// Under the crosshair the legend shows the values of the bar pointed at;
// leaving the chart brings back the last values.
function unpoint() {
  if (state.pointing) renderLegend();
  state.pointing = false;
}

chart.subscribeCrosshairMove((param) => {
  if (!barsEntry.chip) return;
  // The chart reports moves a frame late: one may come after the pointer left.
  if (param.time === undefined || state.source || !state.over) {
    unpoint();
    return;
  }
  state.pointing = true;
  const bar = param.seriesData.get(candles);
  barsEntry.chip.textContent = formatNumber(bar ? bar.close : null);
  for (const entry of state.entries) {
    if (entry.hidden || isMarks(entry) || !entry.series) continue;
    const point = param.seriesData.get(entry.series);
    entry.chip.textContent = formatNumber(point ? point.value : null);
  }
});

$('#chart').addEventListener('mouseenter', () => { state.over = true; });
$('#chart').addEventListener('mouseleave', () => {
  state.over = false;
  unpoint();
});

function showError(error) {
  const box = $('#error');
  if (!error) {
    demo.error = null;
    box.hidden = true;
    box.textContent = '';
    editor.mark(null);
    return;
  }
  demo.error = { code: error.code, line: error.line, column: error.column, message: error.message };
  box.hidden = false;
  box.textContent = error.code !== undefined ? `error ${error.code}: ${error.message}` : error.message;
  if (error.line !== undefined) editor.mark(error);
  else editor.mark(null);
}

function status(text) {
  $('#status').textContent = text;
}

const nextFrame = () => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve)));

async function resetBars() {
  const response = await fetch('/bars');
  const body = await response.json();
  state.bars = body.bars;
  // Bars without times get a day each on the chart (see chartTimes).
  if (!state.bars.t) state.bars.t = new Array(body.shown).fill(null);
  state.shownBars = body.shown;
  if (state.period === null) state.period = body.period;
  state.times = chartTimes(state.bars.t);
  drawBars();
  state.replayed = false;
}

async function run(formula = editor.text) {
  await stopLive();
  if (formula !== editor.text) editor.text = formula;
  const picker = $('#examples');
  const example = state.examples.find((e) => e.text === formula);
  picker.value = example ? example.name : '';
  state.formula = formula;
  status('running…');
  const started = performance.now();
  // Only the latest run draws: an earlier one still waiting for the server
  // (a second click, a period change) is dropped when it returns.
  state.runs += 1;
  const mine = state.runs;
  let response;
  let body;
  try {
    response = await fetch('/run', {
      method: 'POST',
      headers: { 'content-type': 'application/json' },
      body: JSON.stringify({ formula, period: state.period }),
    });
    body = await response.json();
  } catch (error) {
    if (mine !== state.runs) return;
    showError({ message: `the server did not answer: ${error.message}` });
    status('no answer');
    return;
  }
  if (mine !== state.runs) return;
  if (!response.ok) {
    showError(body.error || { message: `error ${response.status}` });
    status(`not compiled (${response.status})`);
    await nextFrame();
    return;
  }
  showError(null);
  if (state.replayed) await resetBars();
  if (mine !== state.runs) return;
  drawOutputs(body.outputs);
  if (state.firstDraw) {
    const n = state.times.length;
    chart.timeScale().setVisibleLogicalRange({ from: Math.max(0, n - 160), to: n + 4 });
    state.firstDraw = false;
  }
  await nextFrame();
  status(`${body.length.toLocaleString('en')} bars · run ${body.ms.toFixed(1)} ms on the server · `
    + `${(performance.now() - started).toFixed(0)} ms in all`);
  demo.ready = true;
}

function applyTick(tick) {
  const startedAt = performance.now();
  const { bars, times } = state;
  const i = tick.index;
  if (!tick.replace) {
    times.push(nextTime(times, tick.bar.t));
    for (const key of ['t', 'o', 'h', 'l', 'c', 'v']) bars[key].push(tick.bar[key]);
  } else {
    for (const key of ['t', 'o', 'h', 'l', 'c', 'v']) bars[key][i] = tick.bar[key];
  }
  const time = times[i];
  candles.update({ time, open: tick.bar.o, high: tick.bar.h, low: tick.bar.l, close: tick.bar.c });
  volume.update({ time, value: tick.bar.v, color: volumeColor(i) });
  tick.outputs.forEach((out, k) => {
    const entry = state.entries[k];
    if (!entry || entry.hidden) return;
    if (entry.primitive) {
      entry.primitive.setLastItem(i, out.item);
      if (entry.series && out.item) {
        const p = itemPrices(entry.primitive.drawing.shape, out.item)[0];
        if (p !== null && Number.isFinite(p)) entry.series.update({ time, value: p });
      }
    } else if (entry.kind === 'line') {
      entry.series.update(out.value === null ? { time } : { time, value: out.value });
    } else if (entry.kind === 'histogram') {
      entry.series.update(out.value === null ? { time } : {
        time, value: out.value, color: histogramColor(entry.style, out.value, bars, i),
      });
    } else if (entry.series) {
      const item = out.item && Number.isFinite(out.item.close) ? out.item : null;
      countMark(entry, i, item);
      entry.series.update(item ? candleItem(item) : { time });
    }
  });
  barsEntry.chip.textContent = formatNumber(tick.bar.c);
  tick.outputs.forEach((out, k) => {
    const entry = state.entries[k];
    if (!entry || entry.hidden) return;
    if (entry.primitive) entry.chip.textContent = `${entry.primitive.drawing.items.length} marks`;
    else if (isMarks(entry)) entry.chip.textContent = `${entry.marks} marks`;
    else entry.chip.textContent = formatNumber(out.value);
  });
  demo.updates += 1;
  const drawMs = performance.now() - startedAt;
  status(`live: update ${demo.updates} · bar ${i + 1} ${tick.replace ? 'replaced' : 'added'} · `
    + `run ${tick.ms.toFixed(2)} ms · draw ${drawMs.toFixed(2)} ms`);
  $('#timing').textContent = `${(tick.ms + drawMs).toFixed(1)} ms per update`;
}

function setLiveButton(on) {
  const button = $('#live');
  button.classList.toggle('on', on);
  button.textContent = on ? '■ Stop live' : '▶ Live';
}

async function stopLive() {
  if (state.source) {
    state.source.close();
    state.source = null;
  }
  setLiveButton(false);
}

async function live(on) {
  if (!on) {
    await stopLive();
    return;
  }
  if (state.source || state.starting) return;
  if (state.replayed || !demo.ready || state.formula !== editor.text) {
    // A second click while this run is on its way starts nothing more.
    state.starting = true;
    try {
      await run(editor.text);
    } finally {
      state.starting = false;
    }
  }
  if (demo.error || state.source) return;
  const query = new URLSearchParams({ formula: state.formula, period: String(state.period) });
  const source = new EventSource(`/live?${query}`);
  state.source = source;
  state.replayed = true;
  setLiveButton(true);
  source.addEventListener('tick', (event) => applyTick(JSON.parse(event.data)));
  source.addEventListener('end', () => {
    stopLive();
    status(`live: replay finished after ${demo.updates} updates`);
  });
  source.addEventListener('error', () => {
    // No reconnection: a new stream would start the replay again.
    if (state.source === source) stopLive();
  });
}

// The function reference: one record per function of docs/functions.json
// (name, aliases, family, signature, description, example).
function renderFunctions(list) {
  const entries = (Array.isArray(list) ? list : []).filter((f) => f && typeof f.name === 'string').map((f) => ({
    name: f.name,
    names: [f.name, ...(f.aliases || [])].join(' '),
    signature: f.signature || f.name,
    family: f.family || '',
    text: String(f.description || '').replace(/`/g, ''),
    example: f.example || '',
  }));
  const ul = $('#functions');
  const filter = $('#function-filter');
  const render = () => {
    const q = filter.value.trim().toUpperCase();
    ul.textContent = '';
    for (const f of entries) {
      if (q && !f.names.toUpperCase().includes(q) && !f.text.toUpperCase().includes(q)) continue;
      const li = document.createElement('li');
      const head = document.createElement('code');
      head.textContent = f.signature;
      const family = document.createElement('small');
      family.textContent = f.family;
      const p = document.createElement('p');
      p.textContent = f.text;
      li.append(head, family, p);
      if (f.names !== f.name) {
        const aka = document.createElement('p');
        aka.className = 'aka';
        aka.textContent = `also ${f.names.slice(f.name.length + 1)}`;
        li.append(aka);
      }
      if (f.example) {
        const ex = document.createElement('pre');
        ex.textContent = f.example;
        li.append(ex);
      }
      li.title = 'click to insert the name';
      li.addEventListener('click', () => editor.insert(f.name));
      ul.append(li);
    }
  };
  filter.addEventListener('input', render);
  $('#function-count').textContent = `${entries.length} functions`;
  render();
}

const editor = new Editor($('#editor'), () => run());

const demo = {
  ready: false,
  error: null,
  updates: 0,
  get series() {
    const out = [
      { name: 'bars', kind: 'candles', ...summary(candles) },
      { name: 'volume', kind: 'histogram', ...summary(volume) },
    ];
    for (const entry of state.entries) if (!entry.hidden) out.push(describeEntry(entry));
    return out;
  },
  run: (formula) => run(formula),
  live: (on) => live(on),
};
window.demo = demo;

async function start() {
  const [examples, functions] = await Promise.all([
    fetch('/examples').then((r) => r.json()),
    fetch('/functions').then((r) => r.json()).catch(() => []),
    resetBars(),
  ]);
  state.examples = examples;
  const picker = $('#examples');
  const edited = document.createElement('option');
  edited.value = '';
  edited.textContent = '(your formula)';
  edited.disabled = true;
  picker.append(edited);
  for (const example of examples) {
    const option = document.createElement('option');
    option.value = example.name;
    option.textContent = example.name.replace(/_/g, ' ');
    picker.append(option);
  }
  const pick = (name) => {
    const example = examples.find((e) => e.name === name);
    if (example) editor.text = example.text;
  };
  picker.addEventListener('change', () => {
    pick(picker.value);
    run();
  });
  $('#run').addEventListener('click', () => run());
  const period = $('#period');
  if (![...period.options].some((o) => Number(o.value) === state.period)) {
    period.append(new Option(`${state.period} min`, String(state.period)));
  }
  period.value = String(state.period);
  period.addEventListener('change', () => {
    state.period = Number(period.value);
    run();
  });
  $('#live').addEventListener('click', () => live(!state.source));
  renderFunctions(functions);
  const first = new URLSearchParams(location.search).get('example') || 'macd';
  picker.value = examples.some((e) => e.name === first) ? first : (examples[0] || {}).name;
  pick(picker.value);
  await run();
}

start().catch((error) => {
  showError({ message: `the page could not start: ${error.message}` });
});
