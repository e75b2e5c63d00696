#pragma once

#include <cstddef>
#include <stdexcept>

// The longest output text a run may produce: the longest string a
// JavaScript engine holds on 64-bit hosts (2^29 - 24 UTF-16 units; an
// ASCII text has one unit per byte). Parts of a run that would build more
// text than this refuse before spending the memory.
inline constexpr size_t kMaxOutputBytes = (size_t{1} << 29) - 24;

// The longest formula text the addon compiles: real formulas take a few
// kilobytes, while the tokens and tree of a formula take about 200 bytes per
// byte of text (a megabyte of `1+1+...` about 200 MB).
inline constexpr size_t kMaxFormulaBytes = size_t{1} << 20;

// Thrown when a result could not be returned; the message names what was
// too long. Not an error of the formula: the host reports it as a failure
// of the run.
class OutputTooLong : public std::length_error {
 public:
  using std::length_error::length_error;
};
