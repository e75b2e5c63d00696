#pragma once

#include <string>

// Standard Base64 with the '+' and '/' alphabet and '=' padding. Part of the
// utility layer's published interface; the engine itself does not call it.
class Base64 {
 public:
  static std::string Encode(const std::string& input);
  static std::string Encode(const unsigned char* bytes, unsigned int length);
  // Stops at the first '=' or at the first byte outside the alphabet.
  static std::string Decode(const std::string& input);
};
