'use strict';

// compile() and Formula: the typed API over the native FormulaCore.

const native = require('./native');
const { FormulaError, fromEngine } = require('./errors');
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
    this._period = checkPeriod(minutes);
  }

  /** Replaces the held bars. Returns the formula. */
  setBars(bars) {
    load(this._live(), SET, 'setBars', bars);
    return this;
  }

  /** Adds bars after the held ones (their times may not go back). */
  appendBars(bars) {
    load(this._live(), APPEND, 'appendBars', bars);
    return this;
  }

  /** Adds older bars before the held ones. */
  prependBars(bars) {
    load(this._live(), PREPEND, 'prependBars', bars);
    return this;
  }

  /** Replaces the newest bar (appends it when no bar is held). */
  replaceLastBar(bar) {
    load(this._live(), REPLACE_LAST, 'replaceLastBar', bar);
    return this;
  }

  /** Runs the formula over the held bars: { outputs }. */
  run() {
    const answer = this._live().run(this._period);
    if (answer.error) throw fromEngine(this._text, answer.error);
    return { outputs: answer.outputs };
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
    const answer = this._live().runTail(this._period);
    if (answer.error) throw fromEngine(this._text, answer.error);
    return { from: answer.from, outputs: answer.outputs };
  }

  /**
   * Releases the compiled formula and its bars now instead of at the next
   * collection; every later call but dispose() throws an Error.
   */
  dispose() {
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

module.exports = { compile, Formula, FormulaError };
