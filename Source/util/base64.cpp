#include "util/base64.h"

namespace {

const char kAlphabet[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int SextetOf(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

}  // namespace

std::string Base64::Encode(const std::string& input) {
  return Encode(reinterpret_cast<const unsigned char*>(input.data()),
                static_cast<unsigned int>(input.size()));
}

std::string Base64::Encode(const unsigned char* bytes, unsigned int length) {
  std::string out;
  out.reserve((length + 2) / 3 * 4);
  unsigned int i = 0;
  for (; i + 3 <= length; i += 3) {
    unsigned int group = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
    out += kAlphabet[(group >> 18) & 63];
    out += kAlphabet[(group >> 12) & 63];
    out += kAlphabet[(group >> 6) & 63];
    out += kAlphabet[group & 63];
  }
  unsigned int rest = length - i;
  if (rest == 1) {
    unsigned int group = bytes[i] << 16;
    out += kAlphabet[(group >> 18) & 63];
    out += kAlphabet[(group >> 12) & 63];
    out += "==";
  } else if (rest == 2) {
    unsigned int group = (bytes[i] << 16) | (bytes[i + 1] << 8);
    out += kAlphabet[(group >> 18) & 63];
    out += kAlphabet[(group >> 12) & 63];
    out += kAlphabet[(group >> 6) & 63];
    out += '=';
  }
  return out;
}

std::string Base64::Decode(const std::string& input) {
  std::string out;
  unsigned int group = 0;
  int filled = 0;
  for (unsigned char c : input) {
    int sextet = SextetOf(c);
    if (sextet < 0) break;  // '=' or a byte outside the alphabet ends the data
    group = (group << 6) | static_cast<unsigned int>(sextet);
    if (++filled == 4) {
      out += static_cast<char>((group >> 16) & 0xFF);
      out += static_cast<char>((group >> 8) & 0xFF);
      out += static_cast<char>(group & 0xFF);
      group = 0;
      filled = 0;
    }
  }
  if (filled == 2) {
    out += static_cast<char>((group >> 4) & 0xFF);
  } else if (filled == 3) {
    out += static_cast<char>((group >> 10) & 0xFF);
    out += static_cast<char>((group >> 2) & 0xFF);
  }
  return out;
}
