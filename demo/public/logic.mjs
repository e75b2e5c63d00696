// What the page decides before anything is drawn: colours and line styles
// from an output's properties, which pane an output or drawing goes to, and
// the chart's time axis. No browser API here, so Node can test it as it is.

// The named colours, tuned for the page's dark background (black is drawn as
// a dark grey so that it stays visible).
export const NAMED_COLORS = {
  COLORBLACK: '#4b5563',
  COLORBLUE: '#3b82f6',
  COLORCYAN: '#22d3ee',
  COLORGRAY: '#9ca3af',
  COLORGREEN: '#22c55e',
  COLORMAGENTA: '#e879f9',
  COLORORANGE: '#fb923c',
  COLORPURPLE: '#a78bfa',
  COLORRED: '#ef4444',
  COLORWHITE: '#e5e7eb',
  COLORYELLOW: '#facc15',
};

// Outputs without a colour property take the next colour of this cycle.
export const PALETTE = ['#e5e7eb', '#facc15', '#e879f9', '#22d3ee', '#fb923c', '#a78bfa', '#3b82f6'];

export const UP_COLOR = '#26a69a';
export const DOWN_COLOR = '#ef5350';

const RGB = /^COLORRGB\((-?\d+),(-?\d+),(-?\d+)\)$/;
const CSS_WORD = /^[a-z]{3,20}$/i;
const HEX = /^#(?:[0-9a-f]{3}|[0-9a-f]{6})$/i;

function channel(text) {
  return Math.min(255, Math.max(0, Number(text)));
}

// A colour text as written in a formula (COLORRED, COLORRGB(255,0,0)) or as
// a PARTLINE2 colour argument ('green', '#ff8800'): a CSS colour, or null
// when the text names no colour.
export function parseColor(text) {
  if (typeof text !== 'string' || text === '') return null;
  const upper = text.toUpperCase();
  if (NAMED_COLORS[upper]) return NAMED_COLORS[upper];
  const rgb = RGB.exec(upper);
  if (rgb) return `rgb(${channel(rgb[1])},${channel(rgb[2])},${channel(rgb[3])})`;
  if (NAMED_COLORS[`COLOR${upper}`]) return NAMED_COLORS[`COLOR${upper}`];
  if (HEX.test(text)) return text;
  if (CSS_WORD.test(text)) return text.toLowerCase();
  return null;
}

const HISTOGRAMS = { COLORSTICK: 'sign', VOLSTICK: 'updown', STICK: 'plain' };
const POINTS = { CIRCLEDOT: 2, CROSSDOT: 2, POINTDOT: 1 };

// How an output line is drawn, from its properties (later ones win).
// `fallback` is the colour used when no property gives one.
export function styleOf(properties, fallback) {
  const style = {
    color: null,
    width: 1,
    dotted: false,
    histogram: null,
    points: 0,
    hidden: false,
  };
  for (const p of properties || []) {
    if (HISTOGRAMS[p]) style.histogram = HISTOGRAMS[p];
    else if (POINTS[p]) style.points = POINTS[p];
    else if (/^COLOR/.test(p) && parseColor(p)) style.color = parseColor(p);
    else if (/^LINETHICK[1-9]$/.test(p)) style.width = Number(p.slice(9));
    else if (p === 'DOTLINE') style.dotted = true;
    else if (p === 'NODRAW') style.hidden = true;
  }
  if (!style.color) style.color = fallback;
  return style;
}

// The share of values that lie near the price of their own bar: within a
// quarter below the bar's low and a quarter above its high. `at(k)` gives the
// k-th [barIndex, value] pair of `count`.
export function priceShare(count, at, bars) {
  let valid = 0;
  let near = 0;
  for (let k = 0; k < count; k++) {
    const [i, value] = at(k);
    if (!Number.isFinite(value) || i < 0 || i >= bars.l.length) continue;
    valid += 1;
    const low = bars.l[i];
    const high = bars.h[i];
    if (value >= low - Math.abs(low) * 0.25 && value <= high + Math.abs(high) * 0.25) near += 1;
  }
  return valid === 0 ? null : near / valid;
}

// Price-like things go over the candles: most of their values (60 %) lie
// near the price of their bar. Histograms always go below; a line without
// any value stays over the candles rather than open an empty pane.
export const PRICE_SHARE = 0.6;

export function paneOfLine(values, style, bars) {
  if (style.histogram) return 'lower';
  const share = priceShare(values.length, (k) => [k, values[k]], bars);
  return share === null || share >= PRICE_SHARE ? 'main' : 'lower';
}

// The prices that place a drawing item on the price axis.
export function itemPrices(shape, item) {
  switch (shape) {
    case 'sticks': return [item.price1, item.price2];
    case 'candles': return [item.high, item.low];
    case 'verticals': return [];
    default: return [item.price];
  }
}

// Drawings go over the candles unless their prices look like an oscillator's;
// vertical lines (which have no price) and drawings without items too.
export function paneOfDrawing(drawing, bars) {
  if (!drawing.shape || drawing.shape === 'verticals' || drawing.items.length === 0) return 'main';
  const items = drawing.items;
  const share = priceShare(items.length, (k) => [items[k].index, itemPrices(drawing.shape, items[k])[0]], bars);
  return share === null || share >= PRICE_SHARE ? 'main' : 'lower';
}

// Chart times in seconds. Bar times (milliseconds) are used when they rise
// strictly; otherwise the bars get one day each from 2000-01-01 so that the
// chart still has an axis.
export function chartTimes(t) {
  const out = new Array(t.length);
  let rising = true;
  for (let i = 0; i < t.length; i++) {
    out[i] = Math.floor(t[i] / 1000);
    if (!Number.isFinite(out[i]) || (i > 0 && out[i] <= out[i - 1])) rising = false;
  }
  if (!rising) {
    for (let i = 0; i < t.length; i++) out[i] = 946684800 + i * 86400;
  }
  return out;
}

// The next chart time after the last one, for a bar whose own time does not
// rise (live bars follow the same rule as chartTimes).
export function nextTime(times, ms) {
  const last = times.length ? times[times.length - 1] : 946684800 - 86400;
  const own = Math.floor(ms / 1000);
  return Number.isFinite(own) && own > last ? own : last + 86400;
}

// Series data for a line: whitespace where there is no value.
export function lineData(values, times) {
  const out = new Array(values.length);
  for (let i = 0; i < values.length; i++) {
    const v = values[i];
    out[i] = v === null || !Number.isFinite(v) ? { time: times[i] } : { time: times[i], value: v };
  }
  return out;
}

// Colour of one histogram bar.
export function histogramColor(style, value, bars, i) {
  if (style.histogram === 'sign') return value >= 0 ? UP_COLOR : DOWN_COLOR;
  if (style.histogram === 'updown') return bars.c[i] >= bars.o[i] ? UP_COLOR : DOWN_COLOR;
  return style.color;
}

export function histogramData(values, times, style, bars) {
  const out = new Array(values.length);
  for (let i = 0; i < values.length; i++) {
    const v = values[i];
    out[i] = v === null || !Number.isFinite(v)
      ? { time: times[i] }
      : { time: times[i], value: v, color: histogramColor(style, v, bars, i) };
  }
  return out;
}

// The line of a DRAWSL item: from its bar, `length` bars to the right
// (direction > 0), to the left (direction < 0) or both ways (0), rising by
// `slope` per bar. Returns [[i1, p1], [i2, p2]] in bar indexes.
export function slopedSegment(item) {
  const length = Math.max(0, item.length);
  const from = item.direction > 0 ? item.index : item.index - length;
  const to = item.direction < 0 ? item.index : item.index + length;
  return [
    [from, item.price + item.slope * (from - item.index)],
    [to, item.price + item.slope * (to - item.index)],
  ];
}

// Pairs of a DRAWLINE record: its items alternate start and end; a start
// without an end yet is left out.
export function linePairs(items) {
  const pairs = [];
  for (let k = 0; k + 1 < items.length; k += 2) pairs.push([items[k], items[k + 1]]);
  return pairs;
}

// Runs of a PARTLINE record: items on neighbouring bars are joined; a gap of
// bars ends a run.
export function partRuns(items) {
  const runs = [];
  let run = [];
  for (const item of items) {
    if (run.length && item.index !== run[run.length - 1].index + 1) {
      runs.push(run);
      run = [];
    }
    run.push(item);
  }
  if (run.length) runs.push(run);
  return runs;
}

// Icons by number: shape and colour.
export const ICONS = {
  1: { shape: 'arrowUp', color: '#22c55e' },
  2: { shape: 'arrowDown', color: '#ef4444' },
  3: { shape: 'circle', color: '#facc15' },
  4: { shape: 'cross', color: '#e5e7eb' },
  5: { shape: 'square', color: '#22d3ee' },
  6: { shape: 'diamond', color: '#e879f9' },
};

export function iconOf(number) {
  return ICONS[number] || { shape: 'circle', color: '#9ca3af', text: String(number) };
}

// Stick width in pixels: widths up to 1 are a share of the bar spacing,
// larger ones are pixels; never under one pixel.
export function stickWidth(width, barSpacing) {
  const w = width <= 1 ? width * barSpacing : width;
  return Math.max(1, Number.isFinite(w) ? w : 1);
}

// The position marked in the editor for an error: the character offset of
// line `line` (from 1) and column `column` (from 0), held within the text.
// Lines before the first count as the first.
export function errorOffset(text, line, column) {
  let offset = 0;
  for (let l = 1; l < line; l++) {
    const next = text.indexOf('\n', offset);
    if (next < 0) return text.length;
    offset = next + 1;
  }
  const end = text.indexOf('\n', offset);
  const lineEnd = end < 0 ? text.length : end;
  return Math.min(offset + Math.max(0, column), lineEnd);
}
