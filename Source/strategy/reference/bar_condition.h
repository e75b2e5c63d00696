#pragma once

// A condition holds on a bar when its value is greater than 0.0: 0, negative
// values, the invalid value and NaN do not hold.
inline bool Holds(double value) { return value > 0.0; }
