'use strict';

// Splitting the symbols of a screen into batches, and a small channel that
// hands finished batches to an async generator in completion order.

// Enough batches to keep every worker busy to the end (about eight per
// worker) while keeping the per-task cost small.
function batchSize(count, workers, requested) {
  if (requested) return requested;
  return Math.max(1, Math.min(64, Math.ceil(count / (workers * 8))));
}

function split(items, size) {
  const out = [];
  for (let k = 0; k < items.length; k += size) out.push(items.slice(k, k + size));
  return out;
}

class Channel {
  constructor() {
    this.values = [];
    this.failure = null;
    this.wake = null;
    // Rejects on fail(): lets other waits be raced against a failure.
    this.failed = new Promise((resolve, reject) => { this.rejectFailed = reject; });
    this.failed.catch(() => {});
  }

  push(value) {
    this.values.push(value);
    this.notify();
  }

  fail(err) {
    if (!this.failure) {
      this.failure = err;
      this.rejectFailed(err);
    }
    this.notify();
  }

  notify() {
    if (this.wake) {
      const wake = this.wake;
      this.wake = null;
      wake();
    }
  }

  // The next value, or throws the failure; waits while there is neither.
  async next() {
    for (;;) {
      if (this.failure) throw this.failure;
      if (this.values.length > 0) return this.values.shift();
      await new Promise((resolve) => { this.wake = resolve; });
    }
  }
}

module.exports = { batchSize, split, Channel };
