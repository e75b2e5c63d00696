'use strict';

// FormulaError: a formula that does not compile (or a run that fails) as a
// JavaScript error with the engine's code and position, the position as an
// offset in the JavaScript string, and a message that says what to change.

const { vocabulary, isBuiltIn, nearest, describeCounts } = require('./names');

const TITLES = {
  10001: 'Unknown name',
  10002: 'Function without implementation',
  10003: 'Right parenthesis missing',
  10005: 'Illegal character',
  10006: 'Illegal expression',
  10007: 'Illegal statement',
  90000: 'Wrong number of arguments',
};

class FormulaError extends Error {
  constructor(message, fields = {}) {
    super(message);
    this.name = 'FormulaError';
    this.code = fields.code ?? 0;
    this.line = fields.line ?? 0;
    this.column = fields.column ?? 0;
    this.index = fields.index ?? 0;
    this.token = fields.token ?? '';
    // The engine's own error report, as NodeCompiler returns it.
    this.report = fields.report ?? '';
  }
}

// A call refused because the formula is busy with a runAsync() that has not
// settled: its bars, period and compiled tree stay as they are until then.
class FormulaBusyError extends Error {
  constructor(method) {
    super(`${method}: the formula is busy with a runAsync() that has not settled`);
    this.name = 'FormulaBusyError';
    this.code = 'ERR_FORMULA_BUSY';
  }
}

// A runAsync() stopped by its AbortSignal, shaped like Node's own: name
// 'AbortError', code 'ABORT_ERR', the signal's reason as `cause`.
class AbortError extends Error {
  constructor(reason) {
    super('The operation was aborted', { cause: reason });
    this.name = 'AbortError';
    this.code = 'ABORT_ERR';
  }
}

// UTF-8 length of one UTF-16 code unit sequence starting at text[i]:
// [bytes, units]. A lone surrogate becomes U+FFFD (3 bytes), as the
// conversion to UTF-8 does.
function utf8At(text, i) {
  const unit = text.charCodeAt(i);
  if (unit < 0x80) return [1, 1];
  if (unit < 0x800) return [2, 1];
  if (unit >= 0xd800 && unit <= 0xdbff && i + 1 < text.length) {
    const next = text.charCodeAt(i + 1);
    if (next >= 0xdc00 && next <= 0xdfff) return [4, 2];
  }
  return [3, 1];
}

// The offset in `text` (UTF-16 units) of the engine's position: lines are
// counted from 1 by line feeds, columns in UTF-8 bytes from the line start.
// Line 0 (no place in the text) gives 0.
function indexOf(text, line, column) {
  if (!(line >= 1)) return 0;
  let start = 0;
  for (let l = 1; l < line; l++) {
    const feed = text.indexOf('\n', start);
    if (feed < 0) return text.length;
    start = feed + 1;
  }
  let i = start;
  let bytes = 0;
  while (i < text.length && bytes < column) {
    const [b, u] = utf8At(text, i);
    bytes += b;
    i += u;
  }
  return i;
}

function isNameUnit(code, first) {
  if (code >= 0x80) return true;
  if ((code >= 65 && code <= 90) || (code >= 97 && code <= 122) || code === 95) return true;
  return !first && ((code >= 48 && code <= 57) || code === 46);
}

// The names of the formula with their offsets, skipping string literals and
// comments: [{ name, index }].
function namesIn(text) {
  const names = [];
  let i = 0;
  while (i < text.length) {
    const code = text.charCodeAt(i);
    if (code === 39) {  // a string literal runs to the next quote
      const end = text.indexOf("'", i + 1);
      i = end < 0 ? text.length : end + 1;
    } else if (code === 47 && text.charCodeAt(i + 1) === 47) {
      const end = text.indexOf('\n', i);
      i = end < 0 ? text.length : end;
    } else if ((code >= 48 && code <= 57) || code === 46) {
      while (i < text.length && isNameUnit(text.charCodeAt(i), false) && !isNameUnit(text.charCodeAt(i), true)) i++;
    } else if (isNameUnit(code, true)) {
      const start = i;
      while (i < text.length && isNameUnit(text.charCodeAt(i), false)) i++;
      names.push({ name: text.slice(start, i), index: start });
    } else {
      i++;
    }
  }
  return names;
}

// Names the formula assigns (NAME: or NAME:=).
function declaredNames(text) {
  const declared = new Set();
  for (const { name, index } of namesIn(text)) {
    const rest = text.slice(index + name.length).trimStart();
    if (rest.startsWith(':')) declared.add(name);
  }
  return declared;
}

// The number of arguments of the call whose name starts at `index`:
// top-level commas between its parentheses (0 without parentheses).
function argumentCount(text, index, name) {
  let i = index + name.length;
  while (i < text.length && /[ \t\r\n]/.test(text[i])) i++;
  if (text[i] !== '(') return 0;
  let depth = 0;
  let count = 0;
  let sawArgument = false;
  for (; i < text.length; i++) {
    const ch = text[i];
    if (ch === "'") {
      const end = text.indexOf("'", i + 1);
      if (end < 0) break;
      i = end;
      sawArgument = true;
    } else if (ch === '(') {
      if (depth > 0) sawArgument = true;
      depth++;
    } else if (ch === ')') {
      depth--;
      if (depth === 0) break;
    } else if (ch === ',' && depth === 1) {
      count++;
    } else if (!/\s/.test(ch) && depth >= 1) {
      sawArgument = true;
    }
  }
  return sawArgument || count > 0 ? count + 1 : 0;
}

// Lower-case (or mixed-case) spellings of built-in names used in the text.
function caseSlips(text) {
  const slips = [];
  for (const { name } of namesIn(text)) {
    const upper = name.toUpperCase();
    if (upper !== name && isBuiltIn(upper) && !slips.includes(name)) slips.push(name);
  }
  return slips;
}

function semicolonHint(text) {
  const code = text.replace(/\/\/[^\n]*/g, '').trimEnd();
  return code !== '' && !code.endsWith(';') ? ' The formula does not end with a semicolon.' : '';
}

function quoteList(names) {
  if (names.length <= 1) return names.join('');
  return `${names.slice(0, -1).join(', ')} or ${names[names.length - 1]}`;
}

function caseHint(text) {
  const slips = caseSlips(text);
  if (slips.length === 0) return '';
  const fixes = slips.slice(0, 3).map((s) => `${s.toUpperCase()} for ${s}`);
  return ` Built-in names are upper case: write ${fixes.join(', ')}.`;
}

// The message of an engine error `e` ({ code, line, column, token }) in the
// formula `text`, positioned at `index`.
function describe(text, e, index) {
  const where = e.line >= 1 ? ` (line ${e.line}, column ${e.column})` : '';
  const token = e.token;
  const upper = token.toUpperCase();
  if (upper !== token && isBuiltIn(upper) && e.code !== 90000) {
    return `Unknown name '${token}'${where}: built-in names are upper case; write ${upper}.`;
  }
  if ((e.code === 10007 || e.code === 10006) && namesIn(token).length === 1 && namesIn(token)[0].name === token &&
      !isBuiltIn(token) && /^\s*\(/.test(text.slice(index + token.length))) {
    // A name followed by a parenthesis that is no function.
    const near = nearest(token, vocabulary().functions.keys());
    const suggestion = near.length ? ` Did you mean ${quoteList(near)}?` : '';
    return `Unknown function '${token}'${where}: it is not a built-in function.${suggestion}`;
  }
  switch (e.code) {
    case 10001: {
      const v = vocabulary();
      const candidates = [...v.functions.keys(), ...v.statics, ...declaredNames(text)];
      const near = nearest(token, candidates);
      const suggestion = near.length ? ` Did you mean ${quoteList(near)}?` : '';
      return `Unknown name '${token}'${where}: it is not a built-in function and no statement of ` +
        `this formula assigns it.${suggestion}`;
    }
    case 90000: {
      const entry = vocabulary().functions.get(token);
      const given = argumentCount(text, index, token);
      const givenText = given === 0 ? 'none was given' : given === 1 ? '1 was given' : `${given} were given`;
      if (!entry) return `Wrong number of arguments for ${token}${where}.`;
      return `${token} takes ${describeCounts(entry.counts)}, but ${givenText}${where}.`;
    }
    case 10005: {
      if (token === '"') {
        return `Illegal character '"'${where}: strings are written between single quotes, such as 'buy'.`;
      }
      const quotes = (text.match(/'/g) || []).length;
      if (quotes % 2 === 1) {
        return `A string is not closed${where}: a text between single quotes needs its closing quote.`;
      }
      return `Illegal character '${token}'${where}: it is not part of the formula language.`;
    }
    case 10003:
      return `Right parenthesis missing near '${token}'${where}.${caseHint(text)}`;
    case 10006:
      return `Illegal expression near '${token}'${where}: an operand or operator is missing or out ` +
        `of place.${semicolonHint(text)}${caseHint(text)}`;
    case 10007:
      if (token === 'Property') {
        // The engine's text for a statement that has no ':' or ':='.
        return `A statement without ':' or ':='${where}: write NAME:expr for an output line, NAME:=expr ` +
          `for a variable, or a function call.${caseHint(text)}`;
      }
      return `Illegal statement near '${token}'${where}: each statement is NAME:expr, NAME:=expr or a ` +
        `function call, and ends with a semicolon.${semicolonHint(text)}${caseHint(text)}`;
    case 10002:
      return `The function ${token} has no implementation in this build.`;
    default:
      return `${TITLES[e.code] ?? 'Formula error'} ${e.code} near '${token}'${where}.`;
  }
}

// A FormulaError from the engine's error fields for the formula `text`.
function fromEngine(text, e) {
  const index = indexOf(text, e.line, e.column);
  return new FormulaError(describe(text, e, index), {
    code: e.code, line: e.line, column: e.column, index, token: e.token, report: e.report,
  });
}

module.exports = { FormulaError, FormulaBusyError, AbortError, fromEngine };
