#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "compiler/data_ext.h"
#include "util/util.h"

// One output line of a run: a series output (datas) or a drawing output (draw).
class VarModel {
 public:
  VarModel(std::string name, std::vector<double> datas, std::vector<std::string> properties);
  VarModel(std::string name, DrawEntry draw, std::vector<std::string> properties);

  void AppendJson(std::string& out) const;
  std::string JsonString() const;

  std::string name;
  std::vector<double> datas;
  DrawEntry draw;
  std::vector<std::string> properties;
};

// The outputs of one run in statement order; JsonString() is the text the
// host receives.
class Result {
 public:
  void Add(VarModel var);
  std::string JsonString() const;
  void DumpResult() const;
  void DumpDraw() const;

  std::vector<VarModel> out_vars;
  std::string error_info;
};

// A run's output text in one block of memory that grows without copying
// what it holds (the C library remaps large blocks) and is only read once
// written: the addon hands it to JavaScript in place, and the run after a
// tick copies its unchanged parts into a new block.
class TextBlock {
 public:
  TextBlock() = default;
  explicit TextBlock(const std::string& text);
  ~TextBlock();
  TextBlock(const TextBlock&) = delete;
  TextBlock& operator=(const TextBlock&) = delete;

  const char* data() const { return m_data; }
  size_t size() const { return m_size; }
  std::string str() const { return std::string(m_data, m_size); }
  // Whether every byte is below 0x80, so that Latin-1 and UTF-8 read it alike.
  bool ascii() const { return m_ascii; }
  // Whether most of it was copied from the previous run's text (a tick)
  // rather than written afresh.
  bool reused() const { return m_reused; }
  void set_reused(bool reused) { m_reused = reused; }
  // Whether someone outside reads it in place (a JavaScript string over it):
  // then nothing may write into it any more.
  bool shared() const { return m_shared.load(std::memory_order_relaxed); }
  void MarkShared() const { m_shared.store(true, std::memory_order_relaxed); }
  // Writes ASCII `text` over the bytes from `at` on (within the text).
  void Overwrite(size_t at, const std::string& text);

  void Append(const char* text, size_t length);
  void Append(const std::string& text) { Append(text.data(), text.size()); }
  // Bytes known to be below 0x80 (numbers, keys, text copied from a block
  // that was ASCII).
  void AppendAscii(const char* text, size_t length);
  // A comma when `comma`, then the number in fixed notation with six decimals.
  void AppendNumber(double value, bool comma) {
    if (m_capacity - m_size <= Util::kMaxFixed6Bytes) Grow(Util::kMaxFixed6Bytes + 1);
    m_data[m_size] = ',';
    m_size += comma;
    m_size += Util::WriteFixed6(m_data + m_size, value);
  }
  void Reserve(size_t capacity);
  // Gives the unused capacity back.
  void Fit();

 private:
  void Grow(size_t more);

  char* m_data = nullptr;
  size_t m_size = 0;
  size_t m_capacity = 0;
  bool m_mapped = false;  // mapped on its own (large blocks), else from the heap
  bool m_ascii = true;
  bool m_reused = false;
  mutable std::atomic<bool> m_shared{false};
};

// One output line of a run as OutputWriter reads it: the values of bars
// [base, count) at `values` (values[0] is bar `base`), of which the bars
// from `changed` on may differ from the previous run's (SIZE_MAX: none did);
// or a drawing.
struct OutputLine {
  const std::string* name;
  const double* values;
  size_t base;
  size_t count;
  size_t changed;
  const DrawEntry* draw;  // null for a series
  const std::vector<std::string>* properties;
};

// Writes the output text (the same bytes as Result::JsonString) of the
// successive runs of one formula. It keeps the last text it wrote, so that
// a run after a tick formats only the values of the changed bars and copies
// the text of the others. The kept text is the block handed out, never
// written again: nothing is held twice.
class OutputWriter {
 public:
  // Null when the text would pass the length a run may return.
  std::shared_ptr<const TextBlock> Write(const std::vector<OutputLine>& lines);
  // The next Write formats every value.
  void Forget();

 private:
  struct Kept {
    size_t begin = 0;  // the values' text in m_last
    size_t end = 0;
    size_t count = 0;  // values it holds
  };
  // A tick that changed a few values without changing the length of their
  // text, in a text nobody else holds: the new values are written over the
  // old ones. False (nothing written) otherwise.
  bool Overwrite(const std::vector<OutputLine>& lines);

  std::shared_ptr<TextBlock> m_last;
  std::vector<Kept> m_kept;
};
