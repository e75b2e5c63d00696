'use strict';

// Package entry: the native module built by `npm install` into
// build/Release/addon.node, re-exported as it is.
const { NodeCompiler } = require('./build/Release/addon.node');

module.exports = { NodeCompiler };
