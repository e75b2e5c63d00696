'use strict';

// compile() and Formula: the typed API over the native FormulaCore.

const native = require('./native');
const { FormulaError, FormulaBusyError, AbortError, fromEngine } = require('./errors');
const { load, SET, APPEND, PREPEND, REPLACE_LAST } = require('./bars');

function checkPeriod(value) {
  if (typeof value !== 'number') {
    throw new TypeError(`period: expected a whole number of minutes, got ${value === null ? 'null' : typeof value}`);
  }
  if (!Number.isFinite(value) || value < 0 || !Number.isInteger(value)) {
    throw new RangeError(`period: expected a whole number of minutes (0 or more), got ${String(value)}`);
  }
  return value;
}

// The `signal` of runAsync's options, or undefined.
function signalOf(options) {
  if (options === undefined) return undefined;
  if (options === null || typeof options !== 'object') {
    throw new TypeError('runAsync: options must be an object');
  }
  const { signal } = options;
  if (signal === undefined) return undefined;
  if (signal === null || typeof signal !== 'object' || typeof signal.aborted !== 'boolean' ||
      typeof signal.addEventListener !== 'function') {
    throw new TypeError('runAsync: options.signal must be an AbortSignal');
  }
  return signal;
}

class Formula {
  // Use compile(text, options); the constructor is the same thing.
  constructor(text, options = {}) {
    if (typeof text !== 'string') {
      throw new TypeError(`compile: the formula must be a string, got ${text === null ? 'null' : typeof text}`);
    }
    if (options === null || typeof options !== 'object') {
      throw new TypeError('compile: options must be an object');
    }
    const core = new native.FormulaCore(text);
    const error = core.error;
    if (error !== null) throw fromEngine(text, error);
    this._core = core;
    this._text = text;
    this._period = 0;
    this._pending = null;  // the runAsync() in flight
    if (options.period !== undefined) this.period = options.period;
    if (options.bars !== undefined) this.setBars(options.bars);
  }

  /** The formula text. */
  get text() {
    return this._text;
  }

  /** Number of bars held. */
  get length() {
    return this._live().length;
  }

  /** Minutes per bar (0 until set; 1440 is a day). */
  get period() {
    return this._period;
  }

  set period(minutes) {
    this._idle('period');
    this._period = checkPeriod(minutes);
  }

  /** Replaces the held bars. Returns the formula. */
  setBars(bars) {
    load(this._idle('setBars'), SET, 'setBars', bars);
    return this;
  }

  /** Adds bars after the held ones (their times may not go back). */
  appendBars(bars) {
    load(this._idle('appendBars'), APPEND, 'appendBars', bars);
    return this;
  }

  /** Adds older bars before the held ones. */
  prependBars(bars) {
    load(this._idle('prependBars'), PREPEND, 'prependBars', bars);
    return this;
  }

  /** Replaces the newest bar (appends it when no bar is held). */
  replaceLastBar(bar) {
    load(this._idle('replaceLastBar'), REPLACE_LAST, 'replaceLastBar', bar);
    return this;
  }

  /** Runs the formula over the held bars: { outputs }. */
  run() {
    const answer = this._idle('run').run(this._period);
    if (answer.error) throw fromEngine(this._text, answer.error);
    return { outputs: answer.outputs };
  }

  /**
   * run() on a thread of the pool: resolves to what run() returns, and keeps
   * the same values for the next run, so it is incremental like run(). Until
   * it settles, the calls that change or run the formula throw a
   * FormulaBusyError. `options.signal`, an AbortSignal, stops it: the
   * promise rejects with an AbortError once the native run has stopped
   * (between two nodes of the formula, or within a long window loop).
   */
  runAsync(options) {
    return new Promise((resolve, reject) => {
      const signal = signalOf(options);
      if (signal && signal.aborted) throw new AbortError(signal.reason);
      const core = this._idle('runAsync');
      const running = core.runAsync(this._period);
      const token = {};
      this._pending = token;
      const onAbort = () => {
        if (this._pending === token) core.cancel();
      };
      if (signal) signal.addEventListener('abort', onAbort, { once: true });
      const done = () => {
        this._pending = null;
        if (signal) signal.removeEventListener('abort', onAbort);
      };
      running.then((answer) => {
        done();
        // Aborted after the native run ended but before this turn: still aborted.
        if (answer.cancelled || (signal && signal.aborted)) reject(new AbortError(signal && signal.reason));
        else if (answer.error) reject(fromEngine(this._text, answer.error));
        else resolve({ outputs: answer.outputs });
      }, (error) => {
        done();
        reject(error);
      });
    });
  }

  /**
   * Runs the formula and returns only what changed since the previous run
   * (run() or runTail()): { from, outputs } where each output's values hold
   * the bars from `from` on and its drawing the items of those bars. After
   * replaceLastBar() `from` is the last bar; after appendBars() the first new
   * bar, unless a function reaches back (then earlier, down to 0). The arrays
   * belong to the caller.
   */
  runTail() {
    const answer = this._idle('runTail').runTail(this._period);
    if (answer.error) throw fromEngine(this._text, answer.error);
    return { from: answer.from, outputs: answer.outputs };
  }

  /**
   * Releases the compiled formula and its bars now instead of at the next
   * collection; every later call but dispose() throws an Error. Refused
   * while a runAsync() is in flight.
   */
  dispose() {
    if (this._core === null) return;
    this._idle('dispose').dispose();
    this._core = null;
  }

  /** Whether dispose() has been called. */
  get disposed() {
    return this._core === null;
  }

  _live() {
    if (this._core === null) throw new Error('Formula: used after dispose()');
    return this._core;
  }

  // The core, for a call that may not overlap a runAsync().
  _idle(method) {
    const core = this._live();
    if (this._pending !== null) throw new FormulaBusyError(method);
    return core;
  }
}

// `using formula = compile(...)` releases it at the end of the block where
// the runtime knows explicit resource management.
if (typeof Symbol.dispose === 'symbol') {
  Formula.prototype[Symbol.dispose] = Formula.prototype.dispose;
}

/** Compiles a formula; throws FormulaError when it does not compile. */
function compile(text, options) {
  return new Formula(text, options);
}

module.exports = { compile, Formula, FormulaError, FormulaBusyError, AbortError };
