#pragma once

// A bar index with a value, as the search functions keep them.
struct Element {
  Element(const int& position, const double& value) : position(position), value(value) {}
  int position;
  double value;
};
