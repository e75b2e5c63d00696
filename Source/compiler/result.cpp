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

void TextBlock::Overwrite(size_t at, const std::string& text) {
  if (at <= m_size && text.size() <= m_size - at) std::memcpy(m_data + at, text.data(), text.size());
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

// ---- OutputWriter --------------------------------------------------------------

namespace {

constexpr size_t kUnchangedBar = static_cast<size_t>(-1);

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

}  // namespace

bool OutputWriter::Overwrite(const std::vector<OutputLine>& lines) {
  constexpr size_t kFewValues = 64;
  if (m_last.use_count() != 1 || m_last->shared()) return false;
  std::vector<std::pair<size_t, std::string>> edits;
  for (size_t k = 0; k < lines.size(); ++k) {
    const OutputLine& line = lines[k];
    const Kept& before = m_kept[k];
    if (line.count != before.count) return false;
    if (line.draw != nullptr) {
      if (line.changed != kUnchangedBar) return false;
      continue;
    }
    if (line.changed >= line.count) continue;
    const size_t from = line.changed;
    if (from < line.base || line.count - from > kFewValues) return false;
    const size_t cut =
        CutBack(m_last->data(), before.begin, before.end, before.count, before.count - from);
    std::string tail;
    for (size_t i = from; i < line.count; ++i) {
      if (i) tail += ',';
      Util::AppendFixed6(tail, line.values[i - line.base]);
    }
    if (tail.size() != before.end - cut) return false;
    edits.emplace_back(cut, std::move(tail));
  }
  for (const auto& [at, text] : edits) m_last->Overwrite(at, text);
  return true;
}

void OutputWriter::Forget() {
  m_last.reset();
  m_kept.clear();
}

std::shared_ptr<const TextBlock> OutputWriter::Write(const std::vector<OutputLine>& lines) {
  const bool kept = m_last != nullptr && m_kept.size() == lines.size();
  if (kept) {
    // Nothing changed: the same text, which nobody writes into.
    bool same = true;
    for (size_t k = 0; k < lines.size() && same; ++k) {
      const OutputLine& line = lines[k];
      same = line.count == m_kept[k].count &&
             (line.draw == nullptr ? line.changed >= line.count : line.changed == kUnchangedBar);
    }
    if (same) return m_last;
    if (Overwrite(lines)) {
      m_last->set_reused(true);
      return m_last;
    }
  }
  auto block = std::make_shared<TextBlock>();
  std::vector<Kept> now(lines.size());
  size_t copied = 0;  // bytes of values' text copied from the previous text
  try {
    size_t estimate = kept ? m_last->size() + 4096 : 4096;
    for (size_t k = 0; k < lines.size(); ++k) {
      const size_t old = kept ? m_kept[k].count : 0;
      estimate += (lines[k].count > old ? lines[k].count - old : 0) * 12;
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
      size_t from = 0;
      if (kept) {
        const Kept& before = m_kept[k];
        from = line.changed < line.count ? line.changed : line.count;
        if (from > before.count) from = before.count;
        // Many values changed: formatting them all is cheaper than cutting
        // back, where every value is still held.
        if (line.base == 0 && before.count - from > before.count / 2) from = 0;
        const size_t cut =
            CutBack(m_last->data(), before.begin, before.end, before.count, before.count - from);
        block->AppendAscii(m_last->data() + before.begin, cut - before.begin);
        copied += cut - before.begin;
      }
      if (from < line.base) return nullptr;  // the values before `base` are gone
      for (size_t i = from; i < line.count; ++i) {
        block->AppendNumber(line.values[i - line.base], i > 0);
      }
      now[k].end = block->size();
      now[k].count = line.count;
      Key(*block, "],\"draw\":");
      if (line.draw != nullptr) {
        std::string draw;
        line.draw->AppendJson(draw);
        block->Append(draw);
      } else {
        block->AppendAscii(NoDrawingJson().data(), NoDrawingJson().size());
      }
      Key(*block, ",\"properties\":[");
      for (size_t i = 0; i < line.properties->size(); ++i) {
        if (i) Key(*block, ",");
        Key(*block, "\"");
        block->Append((*line.properties)[i]);
        Key(*block, "\"");
      }
      Key(*block, "]}");
    }
    Key(*block, "],\"error_info\":\"\"}");
  } catch (const OutputTooLong&) {
    Forget();
    return nullptr;
  }
  if (block->size() > kMaxOutputBytes) {
    Forget();
    return nullptr;
  }
  block->Fit();
  block->set_reused(copied > block->size() / 2);
  m_last = block;
  m_kept = std::move(now);
  return block;
}
