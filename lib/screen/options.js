'use strict';

// Refusals of options a screen cannot start with: TypeErrors and RangeErrors
// marked so that the command reports them as bad usage.

function optionError(Kind, message) {
  const err = new Kind(message);
  err.code = 'ERR_SCREEN_OPTION';
  return err;
}

function checkUrl(url) {
  let parsed;
  try {
    parsed = new URL(url);
  } catch {
    parsed = null;
  }
  if (!parsed || (parsed.protocol !== 'redis:' && parsed.protocol !== 'rediss:')) {
    throw optionError(TypeError, `not a Redis URL: ${url} (expected redis://host:port)`);
  }
}

// Queue mode's timings and bounds.
const QUEUE_DEFAULTS = {
  attempts: 3,            // a batch that throws is tried at most this often
  lockDuration: 30000,    // a dead worker's batch is free again after this
  stalledInterval: 15000, // how often live workers look for such batches
  maxStalledCount: 2,     // a batch that stalls more often fails for good
  retryFor: 15000,        // how long a lost connection is retried
  sweepEvery: 2000,       // the coordinator's check of unfinished batches
  warnAfter: 10000,       // no progress for this long: say whether workers are there
};

module.exports = { optionError, checkUrl, QUEUE_DEFAULTS };
