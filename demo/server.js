'use strict';

// The chart page's server: static files of demo/public, the chart library
// from node_modules, and a small JSON API over the formula engine.
//
//   GET  /                 the page (and its modules, /app.mjs ...)
//   GET  /vendor/lightweight-charts.mjs   the chart library as installed by npm
//   GET  /bars             the bars shown before live mode, as columns
//   GET  /examples         the example formulas [{ name, text }]
//   GET  /functions        the function reference (docs/functions.json, or [])
//   POST /run              { formula, period? } -> { outputs, length, ms } or 4xx { error };
//                          runs on the thread pool, stopped after runTimeoutMs (422)
//   GET  /live?formula=..  server-sent events: the remaining bars replayed as ticks
//
// Every refusal is a JSON { error } with a 4xx status; a handler that throws
// answers 500 and the server keeps listening.

const http = require('node:http');
const fs = require('node:fs');
const path = require('node:path');
const { parseArgs } = require('node:util');

const { compile, FormulaError, loadBars } = require('..');

const ROOT = path.join(__dirname, '..');
const PUBLIC = path.join(__dirname, 'public');
const MAX_BODY = 1024 * 1024;
const MAX_LIVE_STREAMS = 8;
const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.json': 'application/json; charset=utf-8',
  '.png': 'image/png',
  '.svg': 'image/svg+xml',
};

class HttpError extends Error {
  constructor(status, message, extra) {
    super(message);
    this.status = status;
    this.extra = extra;
  }
}

function sendJson(res, status, value) {
  const body = JSON.stringify(value);
  res.writeHead(status, {
    'content-type': 'application/json; charset=utf-8',
    'content-length': Buffer.byteLength(body),
    'cache-control': 'no-store',
  });
  res.end(body);
}

function sendError(res, status, message, extra) {
  if (res.headersSent) {
    res.destroy();
    return;
  }
  sendJson(res, status, { error: { message, ...extra } });
}

// NaN (no value) and infinities are not JSON: they travel as null.
function finiteOrNull(x) {
  return Number.isFinite(x) ? x : null;
}

function valuesToJson(values) {
  const out = new Array(values.length);
  for (let i = 0; i < values.length; i++) out[i] = finiteOrNull(values[i]);
  return out;
}

function drawingToJson(drawing) {
  if (!drawing) return null;
  const items = drawing.items.map((item) => {
    const copy = {};
    for (const [key, value] of Object.entries(item)) {
      copy[key] = typeof value === 'number' ? finiteOrNull(value) : value;
    }
    return copy;
  });
  return { ...drawing, items };
}

function outputsToJson(outputs) {
  return outputs.map((o) => ({
    name: o.name,
    properties: o.properties,
    values: valuesToJson(o.values),
    drawing: drawingToJson(o.drawing),
  }));
}

function errorDetails(error) {
  return {
    code: error.code,
    line: error.line,
    column: error.column,
    index: error.index,
    token: error.token,
    message: error.message,
  };
}

// Compiles `text` and holds the first `count` bars; a formula that does not
// compile becomes a 400 carrying the error's position.
function compileOver(text, bars, count, period) {
  let formula;
  try {
    formula = compile(text);
  } catch (error) {
    if (error instanceof FormulaError) {
      throw new HttpError(400, error.message, errorDetails(error));
    }
    throw error;
  }
  formula.setBars(slice(bars, 0, count));
  formula.period = period;
  return formula;
}

// Columns of bars [from, to) as views, no copy.
function slice(bars, from, to) {
  const out = {};
  for (const key of Object.keys(bars)) out[key] = bars[key].subarray(from, to);
  return out;
}

// The bars as Float64Array columns; bars without times stay without (the
// engine takes them so), a missing volume is 0.
function toColumns(bars) {
  const out = {};
  if (bars.t) out.t = Float64Array.from(bars.t);
  for (const key of ['o', 'h', 'l', 'c']) out[key] = Float64Array.from(bars[key]);
  out.v = bars.v ? Float64Array.from(bars.v) : new Float64Array(out.c.length);
  return out;
}

function readBody(req) {
  return new Promise((resolve, reject) => {
    const declared = Number(req.headers['content-length']);
    if (declared > MAX_BODY) {
      reject(new HttpError(413, `request body over ${MAX_BODY} bytes`));
      req.resume();
      return;
    }
    const chunks = [];
    let size = 0;
    let refused = false;
    req.on('data', (chunk) => {
      if (refused) return;
      size += chunk.length;
      if (size > MAX_BODY) {
        refused = true;
        reject(new HttpError(413, `request body over ${MAX_BODY} bytes`));
        return;
      }
      chunks.push(chunk);
    });
    req.on('end', () => {
      if (!refused) resolve(Buffer.concat(chunks).toString('utf8'));
    });
    req.on('error', reject);
  });
}

function parseRunRequest(text) {
  let body;
  try {
    body = JSON.parse(text);
  } catch (error) {
    throw new HttpError(400, `bad JSON: ${error.message}`);
  }
  if (body === null || typeof body !== 'object' || Array.isArray(body)) {
    throw new HttpError(400, 'expected a JSON object { formula, period? }');
  }
  if (typeof body.formula !== 'string') {
    throw new HttpError(400, 'formula must be a string');
  }
  return { formula: body.formula, period: parseWhole(body.period, undefined, 'period (minutes)') };
}

// A whole number from 0 to 10,000,000 given as JSON or query text; absent
// (undefined, null or '') gives the fallback.
function parseWhole(value, fallback, what) {
  if (value === undefined || value === null || value === '') return fallback;
  const n = Number(value);
  if (!Number.isInteger(n) || n < 0 || n > 1e7) {
    throw new HttpError(400, `${what} must be a whole number from 0 to 10000000`);
  }
  return n;
}

// Ticks of one bar: the bar opens (all prices at the open), then `steps - 1`
// replacements move the close toward its final value while the high and low
// widen, the last one being the bar itself.
function tickOf(bars, index, step, steps) {
  const f = step / steps;
  const o = bars.o[index];
  const c = bars.c[index];
  const close = step === steps ? c : o + (c - o) * f;
  const top = Math.max(o, close);
  const bottom = Math.min(o, close);
  const tick = {
    o,
    h: step === steps ? bars.h[index] : top + (Math.max(bars.h[index], top) - top) * f,
    l: step === steps ? bars.l[index] : bottom - (bottom - Math.min(bars.l[index], bottom)) * f,
    c: close,
    v: bars.v[index] * f,
  };
  return bars.t ? { t: bars.t[index], ...tick } : tick;
}

function lastItem(drawing, index) {
  if (!drawing || drawing.items.length === 0) return null;
  const item = drawing.items[drawing.items.length - 1];
  return item.index === index ? drawingToJson({ items: [item] }).items[0] : null;
}

function createDemoServer(options) {
  const bars = toColumns(options.bars);
  // Bars the engine refuses (times out of order, say) are reported now, not
  // at every run.
  compile('').setBars(bars);
  const total = bars.c.length;
  const liveBars = Math.min(Math.max(0, options.liveBars ?? 120), Math.max(0, total - 1));
  const shown = total - liveBars;
  const ticksPerBar = Math.max(1, options.ticksPerBar ?? 4);
  const tickMs = Math.max(0, options.tickMs ?? 40);
  const period = options.period ?? 1440;
  const runTimeoutMs = Math.max(1, options.runTimeoutMs ?? 10000);
  const examples = readExamples(options.examplesDir ?? path.join(ROOT, 'examples', 'formulas'));
  const functionsFile = options.functionsFile ?? path.join(ROOT, 'docs', 'functions.json');
  const vendorFile = path.join(path.dirname(require.resolve('lightweight-charts/package.json')),
    'dist', 'lightweight-charts.standalone.production.mjs');
  const streams = new Set();

  const barsJson = JSON.stringify({
    period,
    total,
    shown,
    bars: Object.fromEntries(Object.entries(slice(bars, 0, shown)).map(([k, v]) => [k, Array.from(v)])),
  });

  // The run goes to the thread pool, so a slow formula holds up no other
  // request; it is stopped after runTimeoutMs or when the client goes away.
  async function run(req, res) {
    const request = parseRunRequest(await readBody(req));
    const started = process.hrtime.bigint();
    const formula = compileOver(request.formula, bars, shown, request.period ?? period);
    const controller = new AbortController();
    const timer = setTimeout(() => controller.abort(), runTimeoutMs);
    const gone = () => controller.abort();
    res.once('close', gone);
    let outputs;
    try {
      ({ outputs } = await formula.runAsync({ signal: controller.signal }));
    } catch (error) {
      if (error.name !== 'AbortError') throw error;
      throw new HttpError(422, `the run took longer than ${runTimeoutMs} ms and was stopped`);
    } finally {
      clearTimeout(timer);
      res.off('close', gone);
    }
    const ms = Number(process.hrtime.bigint() - started) / 1e6;
    sendJson(res, 200, { length: formula.length, ms, outputs: outputsToJson(outputs) });
    formula.dispose();  // the bars and kept values now, not at the next collection
  }

  function live(res, url) {
    const text = url.searchParams.get('formula');
    if (text === null) throw new HttpError(400, 'formula query parameter required');
    if (streams.size >= MAX_LIVE_STREAMS) throw new HttpError(503, 'too many live streams');
    const every = parseWhole(url.searchParams.get('interval'), tickMs, 'interval (milliseconds)');
    const formula = compileOver(text, bars, shown, parseWhole(url.searchParams.get('period'), period, 'period (minutes)'));
    res.writeHead(200, {
      'content-type': 'text/event-stream; charset=utf-8',
      'cache-control': 'no-store',
      connection: 'keep-alive',
    });
    res.write(`event: start\ndata: ${JSON.stringify({ shown, total, ticksPerBar })}\n\n`);
    let index = shown;
    let step = 1;
    let timer = null;
    const stop = () => {
      clearTimeout(timer);
      streams.delete(stop);
    };
    streams.add(stop);
    const tick = () => {
      if (index >= total) {
        res.end('event: end\ndata: {}\n\n');
        stop();
        return;
      }
      try {
        step = sendTick();
      } catch (error) {
        // A tick the engine refuses ends this stream, not the server.
        res.end(`event: failed\ndata: ${JSON.stringify({ message: String(error && error.message) })}\n\n`);
        stop();
        return;
      }
      timer = setTimeout(tick, every);
    };
    // Sends the tick of `step` and returns the next step.
    const sendTick = () => {
      const bar = tickOf(bars, index, step, ticksPerBar);
      const replace = step > 1;
      const started = process.hrtime.bigint();
      if (replace) formula.replaceLastBar(bar);
      else formula.appendBars([bar]);
      // Only the bars a tick can change are computed and handed over: the
      // values from `from` on and the drawing items of those bars.
      const { from, outputs } = formula.runTail();
      const ms = Number(process.hrtime.bigint() - started) / 1e6;
      const last = formula.length - 1;
      const message = {
        index: last,
        replace,
        bar,
        ms,
        outputs: outputs.map((o) => (o.drawing
          ? { name: o.name, item: lastItem(o.drawing, last) }
          : { name: o.name, value: finiteOrNull(o.values[last - from]) })),
      };
      res.write(`event: tick\ndata: ${JSON.stringify(message)}\n\n`);
      if (step < ticksPerBar) return step + 1;
      index += 1;
      return 1;
    };
    res.on('close', stop);
    timer = setTimeout(tick, every);
  }

  function serveFile(res, file, type) {
    fs.readFile(file, (error, data) => {
      if (error) {
        sendError(res, 404, 'not found');
        return;
      }
      res.writeHead(200, { 'content-type': type, 'content-length': data.length, 'cache-control': 'no-cache' });
      res.end(data);
    });
  }

  function serveStatic(res, pathname) {
    let name;
    try {
      name = pathname === '/' ? 'index.html' : decodeURIComponent(pathname.slice(1));
    } catch {
      throw new HttpError(404, 'not found');
    }
    const file = path.resolve(PUBLIC, name);
    const type = TYPES[path.extname(file)];
    if (!file.startsWith(PUBLIC + path.sep) || !type) throw new HttpError(404, 'not found');
    serveFile(res, file, type);
  }

  // The GET requests answered from memory or from a file.
  const gets = {
    '/bars': (res) => {
      res.writeHead(200, { 'content-type': TYPES['.json'], 'cache-control': 'no-store' });
      res.end(barsJson);
    },
    '/examples': (res) => sendJson(res, 200, examples),
    '/functions': (res) => fs.readFile(functionsFile, 'utf8', (error, text) => {
      if (error) {
        sendJson(res, 200, []);
        return;
      }
      res.writeHead(200, { 'content-type': TYPES['.json'] });
      res.end(text);
    }),
    '/vendor/lightweight-charts.mjs': (res) => serveFile(res, vendorFile, TYPES['.mjs']),
  };

  function route(req, res) {
    const url = new URL(req.url, 'http://localhost');
    if (url.pathname === '/run') {
      if (req.method !== 'POST') throw new HttpError(405, 'use POST for /run');
      return run(req, res);
    }
    if (req.method !== 'GET' && req.method !== 'HEAD') throw new HttpError(405, `use GET for ${url.pathname}`);
    if (url.pathname === '/live') live(res, url);
    else if (gets[url.pathname]) gets[url.pathname](res);
    else serveStatic(res, url.pathname);
    return undefined;
  }

  function fail(res, error) {
    if (error instanceof HttpError) sendError(res, error.status, error.message, error.extra);
    else sendError(res, 500, `internal error: ${error && error.message}`);
  }

  const server = http.createServer((req, res) => {
    try {
      const pending = route(req, res);
      if (pending) pending.catch((error) => fail(res, error));
    } catch (error) {
      fail(res, error);
    }
  });
  server.on('clientError', (error, socket) => {
    if (socket.writable) socket.end('HTTP/1.1 400 Bad Request\r\nconnection: close\r\n\r\n');
  });

  return {
    server,
    shown,
    total,
    listen(port = 0, host = '127.0.0.1') {
      return new Promise((resolve, reject) => {
        server.once('error', reject);
        server.listen(port, host, () => {
          server.off('error', reject);
          const address = server.address();
          const shownHost = address.family === 'IPv6' ? `[${address.address}]` : address.address;
          resolve(`http://${shownHost}:${address.port}/`);
        });
      });
    },
    close() {
      for (const stop of streams) stop();
      server.closeAllConnections();
      return new Promise((resolve) => server.close(() => resolve()));
    },
  };
}

function readExamples(dir) {
  let names = [];
  try {
    names = fs.readdirSync(dir).filter((n) => n.endsWith('.txt')).sort();
  } catch {
    return [];
  }
  return names.map((file) => ({
    name: file.replace(/\.txt$/, ''),
    text: fs.readFileSync(path.join(dir, file), 'utf8'),
  }));
}

const USAGE = `usage: npm run demo -- [--port N] [--host ADDRESS] [--bars FILE] [--period MINUTES]
                      [--live-bars N] [--ticks-per-bar N] [--tick-ms MS] [--run-timeout MS]`;

async function main(argv) {
  let values;
  try {
    ({ values } = parseArgs({
      args: argv,
      options: {
        port: { type: 'string', default: '0' },
        host: { type: 'string', default: '127.0.0.1' },
        bars: { type: 'string', default: path.join(ROOT, 'examples', 'data', 'sp500_daily.csv') },
        period: { type: 'string', default: '1440' },
        'live-bars': { type: 'string', default: '120' },
        'ticks-per-bar': { type: 'string', default: '4' },
        'tick-ms': { type: 'string', default: '40' },
        'run-timeout': { type: 'string', default: '10000' },
        help: { type: 'boolean', short: 'h', default: false },
      },
    }));
  } catch (error) {
    process.stderr.write(`${error.message}\n${USAGE}\n`);
    return 2;
  }
  if (values.help) {
    process.stdout.write(`${USAGE}\n`);
    return 0;
  }
  const numbers = {};
  for (const key of ['port', 'period', 'live-bars', 'ticks-per-bar', 'tick-ms', 'run-timeout']) {
    numbers[key] = Number(values[key]);
    if (!Number.isInteger(numbers[key]) || numbers[key] < 0) {
      process.stderr.write(`--${key} expects a whole number\n${USAGE}\n`);
      return 2;
    }
  }
  let bars;
  try {
    bars = await loadBars(values.bars);
  } catch (error) {
    process.stderr.write(`cannot read bars from ${values.bars}: ${error.message}\n`);
    return 1;
  }
  let demo;
  try {
    demo = createDemoServer({
      bars,
      period: numbers.period,
      liveBars: numbers['live-bars'],
      ticksPerBar: numbers['ticks-per-bar'],
      tickMs: numbers['tick-ms'],
      runTimeoutMs: numbers['run-timeout'],
    });
  } catch (error) {
    process.stderr.write(`cannot chart the bars of ${values.bars}: ${error.message}\n`);
    return 1;
  }
  let url;
  try {
    url = await demo.listen(numbers.port, values.host);
  } catch (error) {
    process.stderr.write(`cannot listen on ${values.host}:${numbers.port}: ${error.message}\n`);
    return 1;
  }
  process.stdout.write(`chart page: ${url}  (${demo.shown} bars shown, ${demo.total - demo.shown} replayed live)\n`);
  const shutdown = () => demo.close().then(() => process.exit(0));
  process.on('SIGINT', shutdown);
  process.on('SIGTERM', shutdown);
  return undefined;
}

if (require.main === module) {
  main(process.argv.slice(2)).then((code) => {
    if (code !== undefined) process.exitCode = code;
  }, (error) => {
    process.stderr.write(`${error.stack || error}\n`);
    process.exitCode = 1;
  });
}

module.exports = { createDemoServer, tickOf, main };
