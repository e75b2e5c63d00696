'use strict';

// Task file of the local worker pool: one batch of symbols per task.
const { evaluateBatch } = require('./evaluate');

module.exports = evaluateBatch;
