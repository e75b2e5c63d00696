'use strict';

// Loads the native module: build/Release/addon.node, made by `npm install`
// (cmake-js). The one place that knows where the binary lives.

const path = require('path');

const root = path.join(__dirname, '..');

function load() {
  const candidates = [path.join(root, 'build', 'Release', 'addon.node')];
  let firstError;
  for (const candidate of candidates) {
    try {
      return require(candidate);
    } catch (error) {
      if (firstError === undefined) firstError = error;
    }
  }
  const error = new Error(
    `formula-engine: the native module could not be loaded (${firstError.message}); ` +
      'run `npm install` (or `npx cmake-js compile`) in the package folder to build it');
  error.cause = firstError;
  throw error;
}

module.exports = load();
