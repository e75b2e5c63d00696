// The formula editor: a textarea over a highlighted copy of its text, with
// line numbers, and the place of a compile error marked in both.

import { errorOffset } from './logic.mjs';

const TOKEN = /(\/\/[^\n]*|\{[^}]*\}?)|('[^'\n]*'?)|(\b\d+(?:\.\d*)?|\.\d+)|(\b[A-Z][A-Z0-9_]*)(?=\s*\()|(\b(?:COLOR[A-Z]+|LINETHICK[1-9]|DOTLINE|CIRCLEDOT|CROSSDOT|POINTDOT|LINESTICK|NODRAW|STICK|VOLSTICK)\b)/g;
const CLASSES = ['comment', 'string', 'number', 'call', 'property'];

function escape(text) {
  return text.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
}

function highlight(text) {
  let html = '';
  let at = 0;
  for (const m of text.matchAll(TOKEN)) {
    html += escape(text.slice(at, m.index));
    const k = m.slice(1).findIndex((g) => g !== undefined);
    html += `<span class="tok-${CLASSES[k]}">${escape(m[0])}</span>`;
    at = m.index + m[0].length;
  }
  return html + escape(text.slice(at));
}

export class Editor {
  constructor(root, onRun) {
    this.root = root;
    this.gutter = root.querySelector('.gutter');
    this.backdrop = root.querySelector('.backdrop');
    this.area = root.querySelector('textarea');
    this.error = null;
    this.area.addEventListener('input', () => {
      this.error = null;
      this.render();
    });
    this.area.addEventListener('scroll', () => this.syncScroll());
    this.area.addEventListener('keydown', (event) => {
      if (event.key === 'Enter' && (event.ctrlKey || event.metaKey)) {
        event.preventDefault();
        onRun();
      } else if (event.key === 'Tab') {
        event.preventDefault();
        this.insert('  ');
      }
    });
  }

  get text() {
    return this.area.value;
  }

  set text(value) {
    this.area.value = value;
    this.error = null;
    this.render();
    this.area.scrollTop = 0;
  }

  insert(text) {
    const { selectionStart: start, selectionEnd: end, value } = this.area;
    this.area.value = value.slice(0, start) + text + value.slice(end);
    this.area.selectionStart = this.area.selectionEnd = start + text.length;
    this.area.focus();
    this.render();
  }

  // Marks the error (or clears the mark with null); `error` has the line
  // (from 1), the column (from 0), the offending token and the message.
  mark(error) {
    this.error = error;
    this.render();
    if (error) {
      const offset = this.offsetOf(error);
      this.area.setSelectionRange(offset, offset);
      const mark = this.backdrop.querySelector('.err-mark');
      if (mark) this.area.scrollTop = Math.max(0, mark.offsetTop - this.area.clientHeight / 2);
      this.syncScroll();
    }
  }

  // The error's offset in the text: its index when it has one (it counts
  // the text as JavaScript does), else from its line and column.
  offsetOf(error) {
    if (Number.isInteger(error.index) && error.index >= 0) return Math.min(error.index, this.text.length);
    return errorOffset(this.text, error.line, error.column);
  }

  render() {
    const text = this.text;
    const lines = text.split('\n').length;
    const errorLine = this.error ? Math.max(1, this.error.line) : 0;
    let gutter = '';
    for (let l = 1; l <= lines; l++) {
      gutter += l === errorLine ? `<span class="err-line">${l}</span>\n` : `${l}\n`;
    }
    this.gutter.innerHTML = gutter;
    if (!this.error) {
      this.backdrop.innerHTML = `${highlight(text)}\n`;
      return;
    }
    const { line, column, token } = this.error;
    const offset = this.offsetOf(this.error);
    let length = 1;
    if (token && text.startsWith(token, offset)) length = token.length;
    // At a line break or the end of the text the mark is one blank wide.
    const atBreak = offset >= text.length || text[offset] === '\n';
    const end = atBreak ? offset : Math.min(text.length, offset + length);
    const marked = atBreak ? ' ' : escape(text.slice(offset, end));
    this.backdrop.innerHTML = `${highlight(text.slice(0, offset))}`
      + `<mark class="err-mark" data-line="${line}" data-column="${column}" title="${escape(this.error.message)}">${marked}</mark>`
      + `${highlight(text.slice(end))}\n`;
  }

  syncScroll() {
    this.backdrop.scrollTop = this.area.scrollTop;
    this.backdrop.scrollLeft = this.area.scrollLeft;
    this.gutter.scrollTop = this.area.scrollTop;
  }
}
