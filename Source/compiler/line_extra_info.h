#pragma once

#include <string>

// Position of a token or tree node: line counted from 1, column from 0.
struct LineInfo {
  unsigned long line = 0;
  unsigned long column = 0;

  // "[ line, column ]", used by the token dump.
  std::string Desc() const {
    return "[ " + std::to_string(line) + ", " + std::to_string(column) + " ]";
  }
};
