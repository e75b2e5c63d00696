// Drawing records that are not plain series (lines through chosen bars,
// sloped segments, vertical lines, texts, icons, numbers and sticks) are
// painted by one series primitive per record, on the canvas of the pane of
// the series it is attached to, in that series' price scale.

import {
  iconOf, itemPrices, linePairs, parseColor, partRuns, slopedSegment, stickWidth,
} from './logic.mjs';

const FONT = '600 12px ui-sans-serif, system-ui, sans-serif';
const SMALL_FONT = '11px ui-sans-serif, system-ui, sans-serif';

class Renderer {
  constructor(owner) {
    this.owner = owner;
  }

  draw(target) {
    const { chart, series } = this.owner;
    if (!chart) return;
    const scale = chart.timeScale();
    const x = (index) => scale.logicalToCoordinate(index);
    const y = (price) => series.priceToCoordinate(price);
    target.useMediaCoordinateSpace(({ context, mediaSize }) => {
      context.save();
      try {
        paint(this.owner, context, mediaSize, x, y, scale.options().barSpacing);
      } finally {
        context.restore();
      }
    });
  }
}

function ok(...numbers) {
  return numbers.every((n) => n !== null && Number.isFinite(n));
}

function strokeLine(ctx, x1, y1, x2, y2) {
  if (!ok(x1, y1, x2, y2)) return;
  ctx.beginPath();
  ctx.moveTo(x1, y1);
  ctx.lineTo(x2, y2);
  ctx.stroke();
}

function paintLines(owner, ctx, size, x, y) {
  const { drawing, style } = owner;
  const items = drawing.items;
  if (drawing.kind === 'DRAWLINE') {
    const pairs = linePairs(items);
    pairs.forEach(([a, b], k) => {
      const x1 = x(a.index); const y1 = y(a.price); const x2 = x(b.index); const y2 = y(b.price);
      if (!ok(x1, y1, x2, y2)) return;
      if (drawing.extend && x2 !== x1) {
        // Continued past its end up to where the next line starts (the last
        // line up to the right edge), so that old lines do not cross the chart.
        const next = k + 1 < pairs.length ? x(pairs[k + 1][0].index) : size.width;
        const xe = ok(next) ? Math.max(x2, next) : x2;
        strokeLine(ctx, x1, y1, xe, y1 + ((y2 - y1) / (x2 - x1)) * (xe - x1));
      } else {
        strokeLine(ctx, x1, y1, x2, y2);
      }
    });
    return;
  }
  const runs = drawing.kind === 'POLYLINE' ? [items] : partRuns(items);
  for (const run of runs) {
    if (run.length === 1) {
      const px = x(run[0].index); const py = y(run[0].price);
      if (ok(px, py)) ctx.fillRect(px - 1.5, py - 1.5, 3, 3);
      continue;
    }
    for (let k = 1; k < run.length; k++) {
      // A coloured part line takes the colour of the bar each piece ends on.
      if (drawing.kind === 'PARTLINE2') ctx.strokeStyle = parseColor(run[k].color) || style.color;
      strokeLine(ctx, x(run[k - 1].index), y(run[k - 1].price), x(run[k].index), y(run[k].price));
    }
  }
}

function paintIcon(ctx, icon, px, py) {
  const r = 6;
  ctx.fillStyle = icon.color;
  ctx.strokeStyle = icon.color;
  ctx.beginPath();
  switch (icon.shape) {
    case 'arrowUp': // tip on the price, body below
      ctx.moveTo(px, py); ctx.lineTo(px - r, py + r); ctx.lineTo(px - r / 3, py + r);
      ctx.lineTo(px - r / 3, py + 2 * r); ctx.lineTo(px + r / 3, py + 2 * r); ctx.lineTo(px + r / 3, py + r);
      ctx.lineTo(px + r, py + r); ctx.closePath(); ctx.fill();
      break;
    case 'arrowDown': // tip on the price, body above
      ctx.moveTo(px, py); ctx.lineTo(px - r, py - r); ctx.lineTo(px - r / 3, py - r);
      ctx.lineTo(px - r / 3, py - 2 * r); ctx.lineTo(px + r / 3, py - 2 * r); ctx.lineTo(px + r / 3, py - r);
      ctx.lineTo(px + r, py - r); ctx.closePath(); ctx.fill();
      break;
    case 'square':
      ctx.fillRect(px - r / 1.5, py - r / 1.5, r * 1.33, r * 1.33);
      break;
    case 'diamond':
      ctx.moveTo(px, py - r); ctx.lineTo(px + r, py); ctx.lineTo(px, py + r); ctx.lineTo(px - r, py);
      ctx.closePath(); ctx.fill();
      break;
    case 'cross':
      ctx.lineWidth = 2;
      strokeLine(ctx, px - r, py - r, px + r, py + r);
      strokeLine(ctx, px - r, py + r, px + r, py - r);
      break;
    default:
      ctx.arc(px, py, r / 1.3, 0, Math.PI * 2); ctx.fill();
      if (icon.text) {
        ctx.fillStyle = '#111827';
        ctx.font = '600 9px ui-sans-serif, system-ui, sans-serif';
        ctx.textAlign = 'center'; ctx.textBaseline = 'middle';
        ctx.fillText(icon.text, px, py);
      }
  }
}

function overlaps(a, b) {
  return b && a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height && b.top < a.top + a.height;
}

// A number in a box above its price, tied to it by a short line; nothing
// when the box would overlap `previous`. Returns the box drawn.
function paintLabel(ctx, color, text, px, py, previous) {
  ctx.font = SMALL_FONT;
  const w = ctx.measureText(text).width + 8;
  const h = 15;
  const top = py - h - 5;
  const box = { left: px - w / 2, top, width: w, height: h };
  if (overlaps(box, previous)) return null;
  ctx.fillStyle = 'rgba(17, 24, 39, 0.85)';
  ctx.strokeStyle = color;
  ctx.lineWidth = 1;
  ctx.fillRect(px - w / 2, top, w, h);
  ctx.strokeRect(px - w / 2 + 0.5, top + 0.5, w - 1, h - 1);
  ctx.beginPath();
  ctx.moveTo(px, top + h); ctx.lineTo(px, py);
  ctx.stroke();
  ctx.fillStyle = color;
  ctx.textAlign = 'center';
  ctx.textBaseline = 'middle';
  ctx.fillText(text, px, top + h / 2 + 0.5);
  return box;
}

function paint(owner, ctx, size, x, y, barSpacing) {
  const { drawing, style } = owner;
  ctx.strokeStyle = style.color;
  ctx.fillStyle = style.color;
  ctx.lineWidth = style.width;
  ctx.lineJoin = 'round';
  if (style.dotted) ctx.setLineDash([2, 3]);
  switch (drawing.shape) {
    case 'line':
      paintLines(owner, ctx, size, x, y);
      break;
    case 'segments':
      for (const item of drawing.items) {
        const [[i1, p1], [i2, p2]] = slopedSegment(item);
        strokeLine(ctx, x(i1), y(p1), x(i2), y(p2));
      }
      break;
    case 'verticals':
      ctx.lineWidth = Math.max(1, drawing.width || 1);
      for (const item of drawing.items) {
        const px = x(item.index);
        if (ok(px)) strokeLine(ctx, px, 0, px, size.height);
      }
      break;
    case 'marks':
      ctx.setLineDash([]);
      for (const item of drawing.items) {
        const px = x(item.index + (item.offset || 0)); const py = y(item.price);
        if (!ok(px, py)) continue;
        if (drawing.kind === 'DRAWTEXT' || typeof drawing.text === 'string') {
          ctx.font = FONT;
          ctx.textAlign = 'center';
          ctx.textBaseline = 'top';
          ctx.fillStyle = style.color;
          ctx.fillText(drawing.text || '', px, py + 3);
        } else {
          paintIcon(ctx, iconOf(drawing.icon), px, py);
        }
      }
      break;
    case 'labels': {
      ctx.setLineDash([]);
      // A label that would cover the one drawn before it is left out at this
      // zoom (it shows when zoomed in).
      let last = null;
      for (const item of drawing.items) {
        const px = x(item.index); const py = y(item.price);
        if (!ok(px, py)) continue;
        const box = paintLabel(ctx, style.color, String(item.text), px, py, last);
        if (box) last = box;
      }
      break;
    }
    case 'sticks':
      for (const item of drawing.items) {
        const px = x(item.index); const y1 = y(item.price1); const y2 = y(item.price2);
        if (!ok(px, y1, y2)) continue;
        const w = stickWidth(item.width, barSpacing);
        const top = Math.min(y1, y2);
        const h = Math.max(1, Math.abs(y2 - y1));
        // Attribute 0 fills the stick, any other value draws its outline.
        if (item.attribute === 0) ctx.fillRect(px - w / 2, top, w, h);
        else ctx.strokeRect(px - w / 2 + 0.5, top + 0.5, Math.max(1, w - 1), Math.max(1, h - 1));
      }
      break;
    default:
      break;
  }
}

export class DrawingPrimitive {
  constructor(drawing, style) {
    this.drawing = drawing;
    this.style = style;
    this.chart = null;
    this.series = null;
    this.requestUpdate = null;
    this.view = { renderer: () => new Renderer(this), zOrder: () => 'top' };
  }

  attached({ chart, series, requestUpdate }) {
    this.chart = chart;
    this.series = series;
    this.requestUpdate = requestUpdate;
  }

  detached() {
    this.chart = null;
    this.series = null;
  }

  paneViews() {
    return [this.view];
  }

  // The items count as points of the price scale, so that the scale holds them.
  autoscaleInfo(start, end) {
    let min = Infinity;
    let max = -Infinity;
    for (const item of this.drawing.items) {
      if (item.index < start || item.index > end) continue;
      for (const p of itemPrices(this.drawing.shape, item)) {
        if (p === null || !Number.isFinite(p)) continue;
        if (p < min) min = p;
        if (p > max) max = p;
      }
    }
    return min <= max ? { priceRange: { minValue: min, maxValue: max } } : null;
  }

  // Live mode: the item of the newest bar replaced, added or removed.
  setLastItem(index, item) {
    const items = this.drawing.items;
    while (items.length && items[items.length - 1].index >= index) items.pop();
    if (item) items.push(item);
    if (this.requestUpdate) this.requestUpdate();
  }

  get points() {
    return this.drawing.items.length;
  }
}
