'use strict';

// Loads the native module: the addon built from source in build/Release/
// (by `npm install` in a clone, or where no prebuilt binary fits), else the
// prebuilt one shipped in prebuilds/<platform>-<arch>/. The one place that
// knows where the binary lives.

const fs = require('fs');
const path = require('path');

const root = path.join(__dirname, '..');

function load() {
  const candidates = [
    path.join(root, 'build', 'Release', 'addon.node'),
    path.join(root, 'prebuilds', `${process.platform}-${process.arch}`, 'addon.node'),
  ].filter((file) => fs.existsSync(file));
  let firstError;
  for (const candidate of candidates) {
    try {
      return require(candidate);
    } catch (error) {
      if (firstError === undefined) firstError = error;
    }
  }
  const why = firstError ? firstError.message : 'no build/Release/addon.node and no prebuilt binary for this platform';
  const error = new Error(
    `formula-engine: the native module could not be loaded (${why}); ` +
      'run `npm install` (or `npx cmake-js compile`) in the package folder to build it');
  error.cause = firstError;
  throw error;
}

module.exports = load();
