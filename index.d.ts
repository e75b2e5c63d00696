// Types of formula-engine: the typed API (compile, Formula, FormulaError,
// loadBars) and the exact interface (NodeCompiler).

/** One bar as an object: short keys or long ones (mixing is allowed). */
export interface BarObject {
  /** Milliseconds since 1970-01-01 UTC, or a Date. Absent: a bar without time. */
  t?: number | Date;
  time?: number | Date;
  o?: number;
  open?: number;
  h?: number;
  high?: number;
  l?: number;
  low?: number;
  c?: number;
  close?: number;
  /** Absent means 0. */
  v?: number;
  volume?: number;
}

export type Column = Float64Array | Float32Array | Int32Array | Uint32Array | readonly number[];

/** Bars as columns of equal length (the fast path). Long names are accepted too. */
export interface BarColumns {
  /** Milliseconds since 1970-01-01 UTC; absent: bars without time. */
  t?: Float64Array | readonly (number | Date)[];
  o: Column;
  h: Column;
  l: Column;
  c: Column;
  v?: Column;
}

/** What setBars, appendBars and prependBars take. */
export type Bars = readonly BarObject[] | BarColumns;

/** The columns loadBars resolves to. */
export interface LoadedBars {
  t?: Float64Array;
  o: Float64Array;
  h: Float64Array;
  l: Float64Array;
  c: Float64Array;
  v?: Float64Array;
}

/** Every drawing item: the bar it belongs to and that bar's time. */
export interface DrawingItemBase {
  /** Bar index, from 0 for the oldest held bar. */
  index: number;
  /** The bar's time in milliseconds, or null when the bar has none. */
  time: number | null;
}

export interface LineItem extends DrawingItemBase {
  price: number;
  /** PARTLINE2 only: the colour text of the first condition that holds, '' where none does. */
  color?: string;
}
export type VerticalItem = DrawingItemBase;
export interface SegmentItem extends DrawingItemBase {
  price: number;
  slope: number;
  length: number;
  direction: number;
}
export interface MarkItem extends DrawingItemBase {
  price: number;
  offset: number;
}
export interface LabelItem extends DrawingItemBase {
  price: number;
  text: string;
}
export interface StickItem extends DrawingItemBase {
  price1: number;
  price2: number;
  width: number;
  attribute: number;
}
export interface CandleItem extends DrawingItemBase {
  open: number;
  high: number;
  low: number;
  close: number;
}

export interface LineDrawing {
  kind: 'DRAWLINE' | 'POLYLINE' | 'PARTLINE' | 'PARTLINE2';
  shape: 'line';
  items: LineItem[];
  /** DRAWLINE only: its expand argument. */
  extend?: number;
}
export interface VerticalsDrawing {
  kind: 'VERTLINE';
  shape: 'verticals';
  items: VerticalItem[];
  width: number;
}
export interface SegmentsDrawing {
  kind: 'DRAWSL';
  shape: 'segments';
  items: SegmentItem[];
}
export interface MarksDrawing {
  kind: 'DRAWTEXT' | 'DRAWICON';
  shape: 'marks';
  items: MarkItem[];
  /** DRAWTEXT only. */
  text?: string;
  /** DRAWICON only: the icon number. */
  icon?: number;
}
export interface LabelsDrawing {
  kind: 'DRAWNUMBER';
  shape: 'labels';
  items: LabelItem[];
}
export interface SticksDrawing {
  kind: 'STICKLINE';
  shape: 'sticks';
  items: StickItem[];
}
export interface CandlesDrawing {
  kind: 'DRAWKLINE' | 'DRAWBARLINE' | 'DRAWKLINEEX';
  shape: 'candles';
  items: CandleItem[];
}
/** A drawing statement whose function refused its arguments: it draws nothing. */
export interface EmptyDrawing {
  kind: null;
  shape: null;
  items: [];
}

export type Drawing =
  | LineDrawing
  | VerticalsDrawing
  | SegmentsDrawing
  | MarksDrawing
  | LabelsDrawing
  | SticksDrawing
  | CandlesDrawing
  | EmptyDrawing;

export type DrawingKind = Exclude<Drawing['kind'], null>;
export type DrawingShape = Exclude<Drawing['shape'], null>;

/** One output line of a run. */
export interface Output {
  /** The statement's name (NAME:expr), or the function's name for a call statement. */
  name: string;
  /** One value per bar at full precision; NaN where the bar has no value; empty for drawings. Owned by the caller. */
  values: Float64Array;
  /** Display properties in statement order, e.g. ['COLORRED', 'LINETHICK2']. */
  properties: string[];
  /** null for a line; the drawing of a drawing statement. */
  drawing: Drawing | null;
}

export interface RunResult {
  outputs: Output[];
}

/** What changed since the previous run: values and drawing items of the bars from `from` on. */
export interface TailResult {
  /** First bar that changed since the previous run (the bar count when none did). */
  from: number;
  outputs: Output[];
}

/** What runAsync uses of an AbortSignal (Node's and the DOM's fit), so the types need neither's declarations. */
export interface AbortSignalLike {
  readonly aborted: boolean;
  readonly reason?: unknown;
  addEventListener(type: 'abort', listener: () => void, options?: { once?: boolean }): void;
  removeEventListener(type: 'abort', listener: () => void): void;
}

export interface RunAsyncOptions {
  /** Aborting it stops the run: the promise rejects with an AbortError once the native work has stopped. */
  signal?: AbortSignalLike;
}

export interface CompileOptions {
  /** Minutes per bar (as Formula.period). */
  period?: number;
  /** Bars to hold at once (as setBars). */
  bars?: Bars;
}

export declare class Formula {
  /** Same as compile(text, options). */
  constructor(text: string, options?: CompileOptions);
  /** The formula text. */
  readonly text: string;
  /** Number of bars held. */
  readonly length: number;
  /** Minutes per bar: a whole number, 0 or more (1440 is a day). */
  period: number;
  /** Replaces the held bars. Throws TypeError/RangeError naming the bar and field; held bars stay unchanged then. */
  setBars(bars: Bars): this;
  /** Adds bars after the held ones. */
  appendBars(bars: Bars): this;
  /** Adds older bars before the held ones. */
  prependBars(bars: Bars): this;
  /** Replaces the newest bar; appends it when no bar is held. */
  replaceLastBar(bar: BarObject): this;
  /** Runs the formula over the held bars. */
  run(): RunResult;
  /** Runs and returns only the bars that changed since the previous run. */
  runTail(): TailResult;
  /**
   * run() on the thread pool, incremental like run(). Until it settles, the calls that change or run the formula
   * (bars, period, run, runTail, runAsync, dispose) throw a FormulaBusyError. Rejects with an AbortError when
   * `options.signal` aborts, with a FormulaError when the run fails.
   */
  runAsync(options?: RunAsyncOptions): Promise<RunResult>;
  /** Releases the compiled formula and its bars; later calls throw. Refused while a runAsync() is in flight. */
  dispose(): void;
  /** Whether dispose() has been called. */
  readonly disposed: boolean;
}

export declare class FormulaError extends Error {
  constructor(message: string, fields?: Partial<Pick<FormulaError, 'code' | 'line' | 'column' | 'index' | 'token' | 'report'>>);
  name: 'FormulaError';
  /** The engine's error code (10001 unknown name, 10003 missing parenthesis, 10005 illegal character,
   * 10006 illegal expression, 10007 illegal statement, 90000 wrong argument count, 10002 no implementation). */
  code: number;
  /** Line from 1 (0: no place in the text). */
  line: number;
  /** Column from 0, in bytes of UTF-8 as the engine counts. */
  column: number;
  /** Offset of the position in the JavaScript string (UTF-16 units). */
  index: number;
  /** The offending text (token, character or function name). */
  token: string;
  /** The engine's error report text, as NodeCompiler returns it. */
  report: string;
}

/** A call refused while the formula's runAsync() has not settled. */
export declare class FormulaBusyError extends Error {
  constructor(method: string);
  name: 'FormulaBusyError';
  code: 'ERR_FORMULA_BUSY';
}

/** A runAsync() stopped by its signal; `cause` is the signal's reason. */
export declare class AbortError extends Error {
  constructor(reason?: unknown);
  name: 'AbortError';
  code: 'ABORT_ERR';
}

/** Compiles a formula; throws FormulaError when it does not compile. */
export declare function compile(text: string, options?: CompileOptions): Formula;

export interface LoadBarsOptions {
  /** Default: from the file extension, else from the text ('[' or '{' starts JSON). */
  format?: 'csv' | 'json';
  /** true: the first argument is the text itself; false: a path. Default: text when it holds a line feed or starts with '[' or '{'. */
  text?: boolean;
  /** Unit of numeric times; default: seconds below 1e11, else milliseconds. */
  timeUnit?: 's' | 'ms';
  /** CSV field delimiter (default ','). */
  delimiter?: string;
}

/** Bars from a CSV or JSON file, text or buffer, as columns setBars takes. */
export declare function loadBars(pathOrText: string | Uint8Array, options?: LoadBarsOptions): Promise<LoadedBars>;

/** A bar object of the exact interface: fields read as their String() text parsed like atof. */
export interface NodeCompilerBar {
  t?: unknown;
  o?: unknown;
  h?: unknown;
  l?: unknown;
  c?: unknown;
  v?: unknown;
}

/** The exact interface: outputs and error reports are text, kept byte for byte. */
export declare class NodeCompiler {
  constructor(formula?: unknown);
  /** '' on success, else the error report. */
  Compile(): string;
  SetData(bars: readonly NodeCompilerBar[]): void;
  /** Appends, or prepends when `prepend` is the boolean true. */
  AppendData(bars: readonly NodeCompilerBar[], prepend?: boolean): void;
  ReplaceLastData(bar: NodeCompilerBar): void;
  SetPeriod(minutes: number): void;
  /** The output JSON text, or the error report. */
  Run(): string;
}

/** One symbol of a screen given in memory. */
export interface ScreenSymbol {
  symbol: string;
  bars: Bars;
}

export interface ScreenOptions {
  /** The formula text; a FormulaError is thrown before any work. */
  formula: string;
  /** A glob of CSV files (the symbol is the file name without extension), several globs, or symbols in memory. */
  symbols: string | readonly string[] | readonly ScreenSymbol[];
  /** Minutes per bar, as Formula.period (default 0). */
  period?: number;
  /** Keep symbols whose output NAME is non-zero on the last bar. */
  where?: string;
  /** Order by output NAME on the last bar, largest first (ascending with asc). */
  sort?: string;
  asc?: boolean;
  /** Only the first N symbols (symbols that failed are always reported). */
  top?: number;
  /** Report the last N values of each output instead of the last one. */
  last?: number;
  /** Worker threads (default: one per core). */
  workers?: number;
  /** Symbols per task (default: sized from the count). */
  batch?: number;
  /** A Redis URL: hand the work to `formula-screen worker` processes. */
  queue?: string;
  /** Queue mode: how long a lost Redis connection is retried, in ms (default 15000). */
  retryFor?: number;
  /** Queue mode: how often a failing batch is tried (default 3). */
  attempts?: number;
  /** Queue mode: ms without a finished batch before unfinished ones are checked (default 2000). */
  sweepEvery?: number;
  /** Queue mode: the queue's name (default 'formula-screen'). */
  queueName?: string;
  /** Called as results arrive. */
  onProgress?: (done: number, total: number) => void;
  /** Queue mode: called when no worker is there to take the work. */
  onWarning?: (message: string) => void;
  /** Base folder of relative globs (default process.cwd()). */
  cwd?: string;
}

/** One symbol's result: values on the last bar (null: no value), or arrays of the last N with `last`. */
export interface ScreenResult {
  symbol: string;
  values: Record<string, number | null | (number | null)[]>;
  /** Why the symbol has no values (a bad file, a failed run). */
  error?: string;
}

/** Runs one formula over many symbols; results in symbol order, or in the sort order with `sort`. */
export declare function screen(options: ScreenOptions): AsyncGenerator<ScreenResult, void, undefined>;
