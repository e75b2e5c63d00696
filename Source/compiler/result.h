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
// written: the addon hands it to JavaScript in place, and the runs after
// it take their unchanged parts from it.
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
};

// The output text of a run: a block written whole, or, after a tick, the
// unchanged parts of the last block written whole (each output line's values
// up to its first changed bar) with the text written since between them.
class OutputText {
 public:
  // A range of the block (`kept`) or of the text written since.
  struct Piece {
    bool kept;
    size_t at;
    size_t size;
  };

  explicit OutputText(std::shared_ptr<const TextBlock> whole);
  OutputText(std::shared_ptr<const TextBlock> block, std::string fresh, std::vector<Piece> pieces);

  // The block: the whole text when there are no pieces.
  const std::shared_ptr<const TextBlock>& block() const { return m_block; }
  const std::string& fresh() const { return m_fresh; }
  const std::vector<Piece>& pieces() const { return m_pieces; }
  size_t size() const { return m_size; }
  // Whether every byte is below 0x80.
  bool ascii() const { return m_ascii; }
  // The text in one block (the block itself when whole).
  std::shared_ptr<const TextBlock> Joined() const;
  std::string str() const;

 private:
  std::shared_ptr<const TextBlock> m_block;
  std::string m_fresh;
  std::vector<Piece> m_pieces;
  size_t m_size = 0;
  bool m_ascii = true;
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
// successive runs of one formula. It keeps the last block it wrote whole and,
// after a tick, formats only the values of the changed bars: a text from
// `pieces_from` bytes on is then returned in pieces of that block, a shorter
// one is written whole again, as is a text whose pieces written since grew
// past a thirty-second of the block. Nothing is written into a block once
// it is returned, so a caller may keep it and hand it on in place.
class OutputWriter {
 public:
  static constexpr size_t kPiecesFrom = size_t{256} << 10;
  size_t pieces_from = kPiecesFrom;

  // Null when the text would pass the length a run may return.
  std::shared_ptr<const OutputText> Write(const std::vector<OutputLine>& lines);
  // The next Write formats every value.
  void Forget();

 private:
  // The values' text of one output line: bars [0, in_block) at
  // [begin, cut) of m_block, the rest in `tail` (each value after a comma
  // but the line's first).
  struct Kept {
    size_t begin = 0;
    size_t cut = 0;
    size_t in_block = 0;
    size_t count = 0;
    std::string tail;
  };
  std::shared_ptr<const OutputText> WriteWhole(const std::vector<OutputLine>& lines,
                                               const std::vector<size_t>& from);
  std::shared_ptr<const OutputText> WritePieces(const std::vector<OutputLine>& lines,
                                                const std::vector<size_t>& from);

  std::shared_ptr<const TextBlock> m_block;
  std::shared_ptr<const OutputText> m_last;
  std::vector<Kept> m_kept;
};
