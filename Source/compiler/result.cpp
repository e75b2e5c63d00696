#include "compiler/result.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include "util/output_limit.h"
#include "util/util.h"

VarModel::VarModel(std::string name, std::vector<double> datas,
                   std::vector<std::string> properties)
    : name(std::move(name)), datas(std::move(datas)), properties(std::move(properties)) {}

VarModel::VarModel(std::string name, DrawEntry draw, std::vector<std::string> properties)
    : name(std::move(name)), draw(std::move(draw)), properties(std::move(properties)) {}

void VarModel::AppendJson(std::string& out) const {
  out += "{\"name\":\"";
  out += name;
  out += "\",\"datas\":[";
  for (size_t i = 0; i < datas.size(); ++i) {
    if (i) out += ',';
    Util::AppendFixed6(out, datas[i]);
  }
  out += "],\"draw\":";
  draw.AppendJson(out);
  out += ",\"properties\":[";
  for (size_t i = 0; i < properties.size(); ++i) {
    if (i) out += ',';
    out += '"';
    out += properties[i];
    out += '"';
  }
  out += "]}";
}

std::string VarModel::JsonString() const {
  std::string out;
  AppendJson(out);
  return out;
}

void Result::Add(VarModel var) { out_vars.push_back(std::move(var)); }

namespace {

// Bounds of the text of one number and its comma: at least 8 bytes
// ("0.000000"); at most 23 below 2^44 (14 integer digits, sign, point, six
// decimals) and 318 for the largest doubles.
struct Bounds {
  size_t low = 0;
  size_t high = 0;

  void Text(size_t bytes) {
    low += bytes;
    high += bytes;
  }
  void Number(double value) {
    low += 8;
    high += std::fabs(value) < 17592186044416.0 ? 23 : 318;
  }
  void Numbers(const std::vector<double>& values) {
    for (double value : values) Number(value);
  }
};

// Key names and punctuation of a record with every list empty, and of one
// entry of each list besides its numbers and texts.
constexpr size_t kRecordFrame = 200;
constexpr size_t kEntryFrame = 60;

// Bounds of the record's JSON, computed without writing it.
void AddDraw(Bounds& b, const DrawEntry& draw) {
  b.Text(draw.draw_name.size() + draw.draw_text.size());
  b.high += kRecordFrame;
  for (const auto& kline : draw.draw_kline_datas) {
    b.high += kEntryFrame;
    for (const auto& [key, value] : kline) {
      b.Text(key.size());
      b.Number(value);
    }
  }
  for (const auto& e : draw.draw_positions) {
    b.high += kEntryFrame;
    b.Number(e.price);
    b.Number(e.offset);
  }
  for (const auto& e : draw.part_lines) {
    b.high += kEntryFrame;
    b.Number(e.price);
    b.Text(e.Color().size());
  }
  for (const auto& e : draw.draw_numbers) {
    b.high += kEntryFrame;
    b.Number(e.price);
    b.Text(e.value.size());
  }
  for (const auto& e : draw.draw_sls) {
    b.high += kEntryFrame;
    b.Number(e.price);
    b.Number(e.slop);
  }
  for (const auto& e : draw.stick_lines) {
    b.high += kEntryFrame;
    b.Number(e.price1_);
    b.Number(e.price2_);
    b.Number(e.width_);
    b.Number(e.attr_);
  }
}

void AddVar(Bounds& b, const VarModel& var) {
  b.high += 64;
  b.Text(var.name.size());
  b.Numbers(var.datas);
  AddDraw(b, var.draw);
  for (const std::string& property : var.properties) {
    b.high += 3;
    b.Text(property.size());
  }
}

[[noreturn]] void RefuseLength(size_t at_least) {
  throw OutputTooLong("the result would take " + std::to_string(at_least) +
                      " bytes or more, beyond the " + std::to_string(kMaxOutputBytes) +
                      " a run may return");
}

}  // namespace

std::string Result::JsonString() const {
  // The size is bounded before any text is written: a result too long to
  // be returned is refused without building it.
  Bounds bounds;
  bounds.Text(64 + error_info.size());
  for (const VarModel& var : out_vars) AddVar(bounds, var);
  if (bounds.low > kMaxOutputBytes) RefuseLength(bounds.low);
  size_t bound = bounds.high;
  if (bound > kMaxOutputBytes) {
    // Between the bounds: measure exactly, one output line at a time.
    size_t exact = 64 + error_info.size();
    std::string scratch;
    for (const VarModel& var : out_vars) {
      scratch.clear();
      var.AppendJson(scratch);
      exact += scratch.size();
      if (exact > kMaxOutputBytes) RefuseLength(exact);
    }
    bound = exact;
  }
  std::string out;
  out.reserve(bound);
  out += "{\"out_vars\":[";
  for (size_t i = 0; i < out_vars.size(); ++i) {
    if (i) out += ',';
    out_vars[i].AppendJson(out);
  }
  out += "],\"error_info\":\"";
  out += error_info;
  out += "\"}";
  return out;
}

namespace {

bool DumpError(const std::string& error_info) {
  if (error_info.empty()) return false;
  std::cout << "error_info:\n" << error_info << std::endl;
  return true;
}

void DumpFrame(bool start) {
  if (start) std::cout << std::endl << std::endl;
  std::cout << (start ? "============== Start printing results =============="
                      : "============== End printing results ==============")
            << std::endl;
}

}  // namespace

void Result::DumpResult() const {
  if (DumpError(error_info)) return;
  DumpFrame(true);
  for (const VarModel& var : out_vars) {
    std::string line = var.name + ":{";
    for (size_t i = 0; i < var.datas.size(); ++i) {
      if (i) line += ',';
      Util::AppendFixed6(line, var.datas[i]);
    }
    std::cout << line << "}" << std::endl;
  }
  DumpFrame(false);
}

void Result::DumpDraw() const {
  if (DumpError(error_info)) return;
  DumpFrame(true);
  for (size_t i = 0; i < out_vars.size(); ++i) {
    std::cout << "[" << i << "] : {" << std::endl;
    out_vars[i].draw.Dump();
    std::string props;
    for (size_t k = 0; k < out_vars[i].properties.size(); ++k) {
      if (k) props += ", ";
      props += out_vars[i].properties[k];
    }
    std::cout << "  property: " << props << std::endl;
    std::cout << "} \n" << std::endl;
  }
  DumpFrame(false);
}

// ---- TextBlock -----------------------------------------------------------------

namespace {

bool IsAscii(const char* text, size_t length) {
  uint64_t bits = 0;
  size_t i = 0;
  for (; i + 8 <= length; i += 8) {
    uint64_t word;
    std::memcpy(&word, text + i, 8);
    bits |= word;
  }
  for (; i < length; ++i) bits |= static_cast<unsigned char>(text[i]);
  return (bits & 0x8080808080808080ull) == 0;
}

}  // namespace

namespace {

// Large blocks are mapped on their own where the system allows, with huge
// pages asked for: a text of a hundred megabytes then costs a few dozen
// page faults instead of tens of thousands, and grows or shrinks in place
// of a copy.
constexpr size_t kMappedFrom = size_t{4} << 20;
constexpr size_t kPage = 4096;

size_t PageRounded(size_t bytes) { return (bytes + kPage - 1) / kPage * kPage; }

char* MapBlock(size_t bytes) {
#if defined(__linux__)
  void* data = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (data == MAP_FAILED) return nullptr;
  madvise(data, bytes, MADV_HUGEPAGE);
  return static_cast<char*>(data);
#else
  (void)bytes;
  return nullptr;
#endif
}

char* RemapBlock(char* data, size_t old_bytes, size_t bytes) {
#if defined(__linux__)
  void* moved = mremap(data, old_bytes, bytes, MREMAP_MAYMOVE);
  return moved == MAP_FAILED ? nullptr : static_cast<char*>(moved);
#else
  (void)data, (void)old_bytes, (void)bytes;
  return nullptr;
#endif
}

void UnmapBlock(char* data, size_t bytes) {
#if defined(__linux__)
  munmap(data, bytes);
#else
  (void)data, (void)bytes;
#endif
}

}  // namespace

TextBlock::TextBlock(const std::string& text) { Append(text); }

TextBlock::~TextBlock() {
  if (m_mapped) {
    UnmapBlock(m_data, m_capacity);
  } else {
    std::free(m_data);
  }
}

void TextBlock::Append(const char* text, size_t length) {
  if (m_ascii && !IsAscii(text, length)) m_ascii = false;
  AppendAscii(text, length);
}

void TextBlock::AppendAscii(const char* text, size_t length) {
  if (m_capacity - m_size < length) Grow(length);
  if (length > 0) std::memcpy(m_data + m_size, text, length);
  m_size += length;
}

void TextBlock::Reserve(size_t capacity) {
  if (capacity > m_capacity) Grow(capacity - m_size);
}

void TextBlock::Grow(size_t more) {
  // A text past the length a run may return is refused here, whatever wrote it.
  if (more > kMaxOutputBytes + Util::kMaxFixed6Bytes - m_size) {
    throw OutputTooLong("the result would take more than " + std::to_string(kMaxOutputBytes) +
                        " bytes");
  }
  size_t capacity = m_capacity < 4096 ? 4096 : m_capacity + m_capacity / 2;
  if (capacity < m_size + more) capacity = m_size + more;
  if (m_mapped) {
    capacity = PageRounded(capacity);
    char* data = RemapBlock(m_data, m_capacity, capacity);
    if (data == nullptr) throw std::bad_alloc();
    m_data = data;
  } else if (char* mapped = capacity >= kMappedFrom ? MapBlock(PageRounded(capacity)) : nullptr) {
    if (m_size > 0) std::memcpy(mapped, m_data, m_size);
    std::free(m_data);
    m_data = mapped;
    m_mapped = true;
    capacity = PageRounded(capacity);
  } else {
    void* data = std::realloc(m_data, capacity);
    if (data == nullptr) throw std::bad_alloc();
    m_data = static_cast<char*>(data);
  }
  m_capacity = capacity;
}

void TextBlock::Fit() {
  if (m_size == 0 || m_size == m_capacity) return;
  // Shrinking keeps the block in place.
  if (m_mapped) {
    const size_t fitted = PageRounded(m_size);
    if (fitted < m_capacity && RemapBlock(m_data, m_capacity, fitted) == m_data) m_capacity = fitted;
  } else if (void* data = std::realloc(m_data, m_size)) {
    m_data = static_cast<char*>(data);
    m_capacity = m_size;
  }
}

// ---- OutputText ----------------------------------------------------------------

OutputText::OutputText(std::shared_ptr<const TextBlock> whole)
    : m_block(std::move(whole)), m_size(m_block->size()), m_ascii(m_block->ascii()) {}

OutputText::OutputText(std::shared_ptr<const TextBlock> block, std::string fresh,
                       std::vector<Piece> pieces)
    : m_block(std::move(block)), m_fresh(std::move(fresh)), m_pieces(std::move(pieces)) {
  for (const Piece& piece : m_pieces) m_size += piece.size;
  m_ascii = m_block->ascii() && IsAscii(m_fresh.data(), m_fresh.size());
}

std::shared_ptr<const TextBlock> OutputText::Joined() const {
  if (m_pieces.empty()) return m_block;
  auto joined = std::make_shared<TextBlock>();
  joined->Reserve(m_size);
  for (const Piece& piece : m_pieces) {
    if (!piece.kept) {
      joined->Append(m_fresh.data() + piece.at, piece.size);
    } else if (m_block->ascii()) {
      joined->AppendAscii(m_block->data() + piece.at, piece.size);
    } else {
      joined->Append(m_block->data() + piece.at, piece.size);
    }
  }
  return joined;
}

std::string OutputText::str() const {
  if (m_pieces.empty()) return m_block->str();
  std::string text;
  text.reserve(m_size);
  for (const Piece& piece : m_pieces) {
    text.append((piece.kept ? m_block->data() : m_fresh.data()) + piece.at, piece.size);
  }
  return text;
}

// ---- OutputWriter --------------------------------------------------------------

namespace {

constexpr size_t kUnchangedBar = static_cast<size_t>(-1);

// Bytes of the text of a value and its comma, as the writer guesses them
// ahead (most chart values take 10 to 13).
constexpr size_t kGuessedValueBytes = 12;

template <size_t N>
void Key(TextBlock& out, const char (&text)[N]) {
  out.AppendAscii(text, N - 1);
}

// The drawing record of a series output: every list empty.
const std::string& NoDrawingJson() {
  static const std::string text = [] {
    std::string out;
    DrawEntry().AppendJson(out);
    return out;
  }();
  return text;
}

// The start of the text of the last `drop` values of `count` in
// [begin, end): numbers hold no commas, so each value but the first starts
// after one.
size_t CutBack(const char* text, size_t begin, size_t end, size_t count, size_t drop) {
  if (drop >= count) return begin;
  size_t at = end;
  for (size_t dropped = 0; dropped < drop; ++dropped) {
    do {
      --at;
    } while (text[at] != ',');
  }
  return at;
}

// The text of a line after its values: the drawing and the properties.
template <typename Out>
void LineEnd(Out& out, const OutputLine& line) {
  std::string text = "],\"draw\":";
  if (line.draw != nullptr) {
    line.draw->AppendJson(text);
  } else {
    text += NoDrawingJson();
  }
  text += ",\"properties\":[";
  for (size_t i = 0; i < line.properties->size(); ++i) {
    if (i) text += ',';
    text += '"';
    text += (*line.properties)[i];
    text += '"';
  }
  text += "]}";
  out.Append(text);
}

// A std::string with TextBlock's Append.
struct Fresh {
  std::string text;
  void Append(const std::string& more) { text += more; }
};

}  // namespace

void OutputWriter::Forget() {
  m_block.reset();
  m_last.reset();
  m_kept.clear();
}

std::shared_ptr<const OutputText> OutputWriter::Write(const std::vector<OutputLine>& lines) {
  const bool kept = m_last != nullptr && m_kept.size() == lines.size();
  if (kept) {
    // Nothing changed: the same text.
    bool same = true;
    for (size_t k = 0; k < lines.size() && same; ++k) {
      const OutputLine& line = lines[k];
      same = line.count == m_kept[k].count &&
             (line.draw == nullptr ? line.changed >= line.count : line.changed == kUnchangedBar);
    }
    if (same) return m_last;
  }
  // The first value of each line to format; the bytes the pieces written
  // since the block would hold.
  std::vector<size_t> from(lines.size(), 0);
  size_t fresh = 0;
  for (size_t k = 0; k < lines.size(); ++k) {
    const OutputLine& line = lines[k];
    if (kept) {
      const Kept& before = m_kept[k];
      size_t first = line.changed < line.count ? line.changed : line.count;
      if (first > before.count) first = before.count;
      // Many values changed: formatting them all is cheaper than cutting
      // back, where every value is still held.
      if (line.base == 0 && before.count - first > before.count / 2) first = 0;
      from[k] = first;
      fresh += (first >= before.in_block ? before.tail.size() : 0) +
               (line.count - first) * kGuessedValueBytes;
    }
    if (from[k] < line.base) return nullptr;  // the values before `base` are gone
  }
  try {
    const bool pieces = kept && m_block->size() >= pieces_from && fresh <= m_block->size() / 32;
    m_last = pieces ? WritePieces(lines, from) : WriteWhole(lines, from);
  } catch (const OutputTooLong&) {
    m_last.reset();
  }
  if (!m_last || m_last->size() > kMaxOutputBytes) {
    Forget();
    return nullptr;
  }
  return m_last;
}

std::shared_ptr<const OutputText> OutputWriter::WriteWhole(const std::vector<OutputLine>& lines,
                                                           const std::vector<size_t>& from) {
  auto block = std::make_shared<TextBlock>();
  std::vector<Kept> now(lines.size());
  size_t estimate = m_last ? m_last->size() + 4096 : 4096;
  for (size_t k = 0; k < lines.size(); ++k) {
    estimate += (lines[k].count - from[k]) * kGuessedValueBytes;
  }
  block->Reserve(estimate);
  Key(*block, "{\"out_vars\":[");
  for (size_t k = 0; k < lines.size(); ++k) {
    const OutputLine& line = lines[k];
    if (k) Key(*block, ",");
    Key(*block, "{\"name\":\"");
    block->Append(*line.name);
    Key(*block, "\",\"datas\":[");
    now[k].begin = block->size();
    if (from[k] > 0) {
      // The unchanged values' text of the previous run (`from` is 0
      // without one): from the block, then from the tail.
      const Kept& before = m_kept[k];
      const size_t in_block = from[k] < before.in_block ? from[k] : before.in_block;
      const size_t cut = CutBack(m_block->data(), before.begin, before.cut, before.in_block,
                                 before.in_block - in_block);
      block->AppendAscii(m_block->data() + before.begin, cut - before.begin);
      if (from[k] > before.in_block) {
        const size_t tail = CutBack(before.tail.data(), 0, before.tail.size(),
                                    before.count - before.in_block, before.count - from[k]);
        block->AppendAscii(before.tail.data(), tail);
      }
    }
    for (size_t i = from[k]; i < line.count; ++i) {
      block->AppendNumber(line.values[i - line.base], i > 0);
    }
    now[k].cut = block->size();
    now[k].in_block = now[k].count = line.count;
    LineEnd(*block, line);
  }
  Key(*block, "],\"error_info\":\"\"}");
  block->Fit();
  m_block = block;
  m_kept = std::move(now);
  return std::make_shared<const OutputText>(m_block);
}

std::shared_ptr<const OutputText> OutputWriter::WritePieces(const std::vector<OutputLine>& lines,
                                                            const std::vector<size_t>& from) {
  Fresh fresh;
  std::vector<OutputText::Piece> pieces;
  size_t written = 0;  // fresh text already in a piece
  const auto flush = [&] {
    if (fresh.text.size() > written) {
      pieces.push_back({false, written, fresh.text.size() - written});
      written = fresh.text.size();
    }
  };
  fresh.text = "{\"out_vars\":[";
  for (size_t k = 0; k < lines.size(); ++k) {
    const OutputLine& line = lines[k];
    Kept& kept = m_kept[k];
    if (k) fresh.text += ',';
    fresh.text += "{\"name\":\"";
    fresh.text += *line.name;
    fresh.text += "\",\"datas\":[";
    if (from[k] < kept.in_block) {
      kept.cut = CutBack(m_block->data(), kept.begin, kept.cut, kept.in_block,
                         kept.in_block - from[k]);
      kept.in_block = from[k];
      kept.tail.clear();
    } else {
      kept.tail.resize(CutBack(kept.tail.data(), 0, kept.tail.size(), kept.count - kept.in_block,
                               kept.count - from[k]));
    }
    for (size_t i = from[k]; i < line.count; ++i) {
      if (i) kept.tail += ',';
      Util::AppendFixed6(kept.tail, line.values[i - line.base]);
    }
    kept.count = line.count;
    if (kept.cut > kept.begin) {
      flush();
      pieces.push_back({true, kept.begin, kept.cut - kept.begin});
    }
    fresh.text += kept.tail;
    LineEnd(fresh, line);
  }
  fresh.text += "],\"error_info\":\"\"}";
  flush();
  return std::make_shared<const OutputText>(m_block, std::move(fresh.text), std::move(pieces));
}
