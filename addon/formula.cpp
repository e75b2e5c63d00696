#include "formula.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <exception>
#include <new>
#include <utility>
#include <vector>

#include "compiler/common.h"
#include "compiler/exception.h"
#include "compiler/function_registry.h"
#include "compiler/lexer.h"
#include "compiler/parse_walker.h"
#include "compiler/parser.h"
#include "compiler/result.h"
#include "compiler/token_reader.h"
#include "strategy/util/strategy_util.h"
#include "util/cancel.h"
#include "util/output_limit.h"

namespace {

constexpr size_t kItemsPerHandleScope = 256;

// Maps C++ exceptions other than Napi::Error to JavaScript errors naming the
// method, as the NodeCompiler class does.
template <typename Body>
Napi::Value Guarded(Napi::Env env, const char* method, Body&& body) {
  try {
    return body();
  } catch (const Napi::Error&) {
    throw;
  } catch (const std::bad_alloc&) {
    throw Napi::Error::New(env, "out of memory");
  } catch (const std::exception& e) {
    throw Napi::Error::New(env, std::string(method) + ": " + e.what());
  } catch (...) {
    throw Napi::Error::New(env, std::string(method) + ": internal error");
  }
}

Napi::Object ErrorObject(Napi::Env env, int code, unsigned long line, unsigned long column,
                         const std::string& token, const std::string& report) {
  Napi::Object error = Napi::Object::New(env);
  error.Set("code", Napi::Number::New(env, code));
  error.Set("line", Napi::Number::New(env, static_cast<double>(line)));
  error.Set("column", Napi::Number::New(env, static_cast<double>(column)));
  error.Set("token", Napi::String::New(env, token));
  error.Set("report", Napi::String::New(env, report));
  return error;
}

// A run's answer carrying the engine's error.
Napi::Object ErrorAnswer(Napi::Env env, const ::Exception& error) {
  Napi::Object answer = Napi::Object::New(env);
  answer.Set("error", ErrorObject(env, error.m_type.code, error.m_line, error.m_column,
                                  error.m_text, error.ToString()));
  return answer;
}

// The drawing shape of each drawing function: how a chart draws its items.
enum class Shape { kNone, kLine, kVerticals, kSegments, kMarks, kLabels, kSticks, kCandles };

Shape ShapeOf(const std::string& kind) {
  if (kind == "DRAWLINE" || kind == "POLYLINE" || kind == "PARTLINE" || kind == "PARTLINE2") {
    return Shape::kLine;
  }
  if (kind == "VERTLINE") return Shape::kVerticals;
  if (kind == "DRAWSL") return Shape::kSegments;
  if (kind == "DRAWTEXT" || kind == "DRAWICON") return Shape::kMarks;
  if (kind == "DRAWNUMBER") return Shape::kLabels;
  if (kind == "STICKLINE") return Shape::kSticks;
  if (kind == "DRAWKLINE" || kind == "DRAWBARLINE" || kind == "DRAWKLINEEX") return Shape::kCandles;
  return Shape::kNone;
}

const char* ShapeName(Shape shape) {
  switch (shape) {
    case Shape::kLine: return "line";
    case Shape::kVerticals: return "verticals";
    case Shape::kSegments: return "segments";
    case Shape::kMarks: return "marks";
    case Shape::kLabels: return "labels";
    case Shape::kSticks: return "sticks";
    case Shape::kCandles: return "candles";
    default: return nullptr;
  }
}

bool Invalid(double value) { return value == kInvalidValue; }

// Whether every output still holds its values from bar `from` on.
bool Holds(const Evaluator& evaluator, size_t from) {
  for (const Evaluator::Output& output : evaluator.Outputs()) {
    if (output.state->IsSeries() && output.state->Series().base() > from) return false;
  }
  return true;
}

// Builds the JavaScript objects of one run. Property keys are made once per
// run, not once per item.
class OutputBuilder {
 public:
  OutputBuilder(Napi::Env env, const BarData& bars)
      : m_env(env),
        m_bars(bars),
        k_index(Key("index")),
        k_time(Key("time")),
        k_price(Key("price")),
        k_color(Key("color")),
        k_offset(Key("offset")),
        k_text(Key("text")),
        k_slope(Key("slope")),
        k_length(Key("length")),
        k_direction(Key("direction")),
        k_price1(Key("price1")),
        k_price2(Key("price2")),
        k_width(Key("width")),
        k_attribute(Key("attribute")),
        k_open(Key("open")),
        k_high(Key("high")),
        k_low(Key("low")),
        k_close(Key("close")) {}

  // The outputs of the evaluator's last run, their values and drawing items
  // from bar `from` on.
  Napi::Array Outputs(const std::vector<Evaluator::Output>& vars, const Table& table,
                      size_t from) {
    m_from = from;
    Napi::Array outputs = Napi::Array::New(m_env, vars.size());
    uint32_t at = 0;
    for (const Evaluator::Output& var : vars) {
      Napi::HandleScope scope(m_env);
      Napi::Object output = Napi::Object::New(m_env);
      output.Set("name", Napi::String::New(m_env, var.name));
      const DataExt& value = var.state->value;
      output.Set("values", Values(var.draws || !var.state->IsSeries()
                                      ? SeriesView(nullptr, 0, 0, kUnchanged)
                                      : var.state->Series()));
      Napi::Array properties = Napi::Array::New(m_env, var.properties.size());
      for (uint32_t i = 0; i < var.properties.size(); ++i) {
        properties.Set(i, Napi::String::New(m_env, var.properties[i]));
      }
      output.Set("properties", properties);
      if (table.IsDraw(var.name)) {
        output.Set("drawing", Drawing(value.m_draw_entry));
      } else {
        output.Set("drawing", m_env.Null());
      }
      outputs.Set(at++, output);
    }
    return outputs;
  }

 private:
  Napi::String Key(const char* name) { return Napi::String::New(m_env, name); }

  // The engine's doubles at full precision, from bar m_from on, in a new
  // array owned by the caller; the invalid value becomes NaN. (An array
  // over the engine's own memory would be freed only from the event loop,
  // so a synchronous loop of runs could pile them up.)
  Napi::Float64Array Values(const SeriesView& datas) {
    const size_t from = m_from < datas.size() ? m_from : datas.size();
    Napi::Float64Array values = NewValues(datas.size() - from);
    if (from == datas.size()) return values;
    double* out = values.Data();
    const double nan = std::nan("");
    const double* in = datas.at(from);
    for (size_t i = 0; i < datas.size() - from; ++i) out[i] = Invalid(in[i]) ? nan : in[i];
    return values;
  }

  // A Float64Array of `count` elements over an ArrayBuffer of its own. Its
  // memory comes from a Buffer, which is not zeroed first: every element is
  // written right after. (A Buffer that shares its ArrayBuffer, which Node
  // does not do for these sizes, falls back to a zeroed array.)
  Napi::Float64Array NewValues(size_t count) {
    if (count == 0) return Napi::Float64Array::New(m_env, 0);
    Napi::Buffer<uint8_t> bytes = Napi::Buffer<uint8_t>::New(m_env, count * sizeof(double));
    Napi::ArrayBuffer memory = bytes.ArrayBuffer();
    if (bytes.ByteOffset() != 0 || memory.ByteLength() != count * sizeof(double)) {
      return Napi::Float64Array::New(m_env, count);
    }
    return Napi::Float64Array::New(m_env, count, memory, 0);
  }

  Napi::Object Item(size_t index) {
    Napi::Object item = Napi::Object::New(m_env);
    item.Set(k_index, Napi::Number::New(m_env, static_cast<double>(index)));
    if (index < m_bars.size() && m_bars.HasTime(index)) {
      item.Set(k_time, Napi::Number::New(m_env, m_bars.Time()[index]));
    } else {
      item.Set(k_time, m_env.Null());
    }
    return item;
  }

  void Num(Napi::Object& item, const Napi::String& key, double value) {
    item.Set(key, Napi::Number::New(m_env, value));
  }

  // Calls add(i, items) for each entry; add appends an item or skips the entry.
  template <typename Entries, typename Add>
  Napi::Array Items(const Entries& entries, Add add) {
    Napi::Array items = Napi::Array::New(m_env);
    uint32_t count = 0;
    for (size_t start = m_from; start < entries.size(); start += kItemsPerHandleScope) {
      Napi::HandleScope scope(m_env);
      size_t end = std::min(entries.size(), start + kItemsPerHandleScope);
      for (size_t i = start; i < end; ++i) {
        Napi::Value item = add(i, entries[i]);
        if (!item.IsEmpty()) items.Set(count++, item);
      }
    }
    return items;
  }

  Napi::Object Drawing(const DrawEntry& draw) {
    Napi::Object drawing = Napi::Object::New(m_env);
    Shape shape = ShapeOf(draw.draw_name);
    if (shape == Shape::kNone) {
      // The function refused its arguments: a drawing statement drawing nothing.
      drawing.Set("kind", m_env.Null());
      drawing.Set("shape", m_env.Null());
      drawing.Set("items", Napi::Array::New(m_env));
      return drawing;
    }
    const std::string& kind = draw.draw_name;
    drawing.Set("kind", Napi::String::New(m_env, kind));
    drawing.Set("shape", Napi::String::New(m_env, ShapeName(shape)));
    Napi::Array items;
    switch (shape) {
      case Shape::kLine:
        if (kind == "PARTLINE2") {
          items = Items(draw.part_lines, [&](size_t i, const PartLineEntry& e) -> Napi::Value {
            if (Invalid(e.price)) return Napi::Value();
            Napi::Object item = Item(i);
            Num(item, k_price, e.price);
            item.Set(k_color, Napi::String::New(m_env, e.Color()));
            return item;
          });
        } else {
          items = Items(draw.draw_positions, [&](size_t i, const DrawPositionEntry& e) -> Napi::Value {
            if (Invalid(e.price)) return Napi::Value();
            Napi::Object item = Item(i);
            Num(item, k_price, e.price);
            return item;
          });
        }
        break;
      case Shape::kVerticals:
        items = Items(draw.draw_positions, [&](size_t i, const DrawPositionEntry& e) -> Napi::Value {
          if (!(e.price > 0)) return Napi::Value();  // 1 where a line is drawn, else 0
          return Item(i);
        });
        break;
      case Shape::kMarks:
        items = Items(draw.draw_positions, [&](size_t i, const DrawPositionEntry& e) -> Napi::Value {
          if (Invalid(e.price)) return Napi::Value();
          Napi::Object item = Item(i);
          Num(item, k_price, e.price);
          Num(item, k_offset, e.offset);
          return item;
        });
        break;
      case Shape::kSegments:
        items = Items(draw.draw_sls, [&](size_t i, const DrawSLEntry& e) -> Napi::Value {
          if (Invalid(e.price)) return Napi::Value();
          Napi::Object item = Item(i);
          Num(item, k_price, e.price);
          Num(item, k_slope, e.slop);
          Num(item, k_length, e.len);
          Num(item, k_direction, e.dir);
          return item;
        });
        break;
      case Shape::kLabels:
        // Every bar carries the price; only bars with a number text draw.
        items = Items(draw.draw_numbers, [&](size_t i, const DrawNumberEntry& e) -> Napi::Value {
          if (e.value.empty() || Invalid(e.price)) return Napi::Value();
          Napi::Object item = Item(i);
          Num(item, k_price, e.price);
          item.Set(k_text, Napi::String::New(m_env, e.value));
          return item;
        });
        break;
      case Shape::kSticks:
        items = Items(draw.stick_lines, [&](size_t i, const StickLineEntry& e) -> Napi::Value {
          if (Invalid(e.price1_) || Invalid(e.price2_)) return Napi::Value();
          Napi::Object item = Item(i);
          Num(item, k_price1, e.price1_);
          Num(item, k_price2, e.price2_);
          Num(item, k_width, e.width_);
          Num(item, k_attribute, e.attr_);
          return item;
        });
        break;
      case Shape::kCandles:
        items = Items(draw.draw_kline_datas,
                      [&](size_t i, const std::map<std::string, double>& candle) -> Napi::Value {
                        double open = Field(candle, "o"), high = Field(candle, "h");
                        double low = Field(candle, "l"), close = Field(candle, "c");
                        if (Invalid(open) || Invalid(high) || Invalid(low) || Invalid(close)) {
                          return Napi::Value();
                        }
                        Napi::Object item = Item(i);
                        Num(item, k_open, open);
                        Num(item, k_high, high);
                        Num(item, k_low, low);
                        Num(item, k_close, close);
                        return item;
                      });
        break;
      default:
        items = Napi::Array::New(m_env);
    }
    drawing.Set("items", items);
    if (kind == "DRAWTEXT") drawing.Set("text", Napi::String::New(m_env, draw.draw_text));
    if (kind == "DRAWICON") drawing.Set("icon", Napi::Number::New(m_env, draw.draw_type));
    if (kind == "DRAWLINE") drawing.Set("extend", Napi::Number::New(m_env, draw.draw_type));
    if (kind == "VERTLINE") drawing.Set("width", Napi::Number::New(m_env, draw.draw_type));
    return drawing;
  }

  static double Field(const std::map<std::string, double>& candle, const char* key) {
    auto it = candle.find(key);
    return it == candle.end() ? kInvalidValue : it->second;
  }

  Napi::Env m_env;
  const BarData& m_bars;
  size_t m_from = 0;
  // Made in the scope of the run, so they outlive every inner scope.
  Napi::String k_index, k_time, k_price, k_color, k_offset, k_text, k_slope,
      k_length, k_direction, k_price1, k_price2, k_width, k_attribute, k_open, k_high, k_low,
      k_close;
};

// A column argument of load(): a Float64Array of `length` elements, or
// null/undefined when `optional`.
const double* Column(Napi::Env env, Napi::Value value, size_t length, bool optional,
                     const char* name) {
  if (optional && (value.IsNull() || value.IsUndefined())) return nullptr;
  if (!value.IsTypedArray() ||
      value.As<Napi::TypedArray>().TypedArrayType() != napi_float64_array) {
    throw Napi::TypeError::New(env, std::string("load: column ") + name + " is not a Float64Array");
  }
  Napi::Float64Array column = value.As<Napi::Float64Array>();
  if (column.ElementLength() != length) {
    throw Napi::RangeError::New(env, std::string("load: column ") + name + " has another length");
  }
  return column.Data();
}

// The bits of a double.
uint64_t Bits(double x) {
  uint64_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  return bits;
}

constexpr uint64_t kExponent = 0x7ff0000000000000u;
constexpr uint64_t kSign = 0x8000000000000000u;

// NaN for a value that is not finite, else 0.
double NotFinite(double x) { return x * 0.0; }
// NaN for an infinity, else 0.
double Infinite(double x) { return x == x ? x * 0.0 : 0.0; }

// Rows are checked in blocks: a block's marks are folded together with
// integer ORs, which the compiler turns into vector code, and only a block
// with a mark is looked at again bar by bar.
constexpr size_t kBlock = 256;

// The exponent bits of the marks of x[0..kBlock) ORed together: all ones
// when some mark is NaN.
template <double (*mark)(double)>
uint64_t BlockMarks(const double* x) {
  uint64_t marks = 0;
  for (size_t k = 0; k < kBlock; ++k) marks |= Bits(mark(x[k]));
  return marks & kExponent;
}

// The first element of x[0..n) that `mark` gives NaN for, or n.
template <double (*mark)(double)>
size_t FirstBad(const double* x, size_t n) {
  size_t i = 0;
  while (i + kBlock <= n && BlockMarks<mark>(x + i) != kExponent) i += kBlock;
  for (; i < n; ++i) {
    if (std::isnan(mark(x[i]))) break;
  }
  return i;
}

// The first time of t[0..n) earlier than the newest time before it (or than
// `last` for the first ones), or n; times that are NaN are passed over.
// `last` becomes the newest time.
size_t FirstBackwards(const double* t, size_t n, double& last) {
  for (size_t i = 0; i < n;) {
    // A whole block without NaN that never goes back and starts no earlier
    // than `last` only moves `last` to its end. The ORed differences of
    // neighbours have the sign bit when one is negative (or -0) and all
    // exponent bits when one is NaN (or by chance): such blocks are walked.
    if (i + kBlock <= n && !(t[i] < last) && t[i] == t[i]) {
      const double* x = t + i;
      uint64_t steps = 0;
      for (size_t k = 1; k < kBlock; ++k) steps |= Bits(x[k] - x[k - 1]);
      if ((steps & kSign) == 0 && (steps & kExponent) != kExponent) {
        last = x[kBlock - 1];
        i += kBlock;
        continue;
      }
    }
    for (const size_t end = std::min(n, i + kBlock); i < end; ++i) {
      const double time = t[i];
      if (time < last) return i;
      if (time == time) last = time;
    }
  }
  return n;
}

// Bars without time are passed over when looking for a neighbour's time,
// but a chart is not scanned whole for one.
constexpr size_t kTimeScan = 64;

// The time of the newest of bars 0..count-1 that has one, or NaN.
double LastTime(const BarData& bars, size_t count) {
  for (size_t k = 0; k < count && k < kTimeScan; ++k) {
    if (bars.HasTime(count - 1 - k)) return bars.Time()[count - 1 - k];
  }
  return NAN;
}

double FirstTime(const BarData& bars) {
  for (size_t i = 0; i < bars.size() && i < kTimeScan; ++i) {
    if (bars.HasTime(i)) return bars.Time()[i];
  }
  return NAN;
}

// Why load() refuses new bars: the field (as lib/bars.js names it), the bar,
// and the problem ("finite", "backwards" after the time `last`, or "later"
// than the first held bar).
struct Refusal {
  const char* field = nullptr;
  size_t index = 0;
  const char* problem = nullptr;
  double last = NAN;
};

// Checks new bars as the typed API requires: finite prices and volumes,
// finite times (NaN, with `time_gaps`, marks a bar without time) that never
// go back, neither among the new bars nor against the held neighbours
// `before` (the time just before them) and `after` (just after them).
bool Refuse(const BarColumns& bars, bool time_gaps, double before, double after, Refusal& why) {
  const size_t n = bars.size;
  // The columns are read in the reverse of the order the engine copies them
  // in (close, open, high, low, volume, time), so that the copy of good bars
  // starts with what the checks left in the cache; the refusal reported is
  // still the first by field (open, high, low, close, volume, then time).
  size_t time_bad = n, backwards = n;
  double last = before;
  if (bars.time) {
    time_bad = time_gaps ? FirstBad<Infinite>(bars.time, n) : FirstBad<NotFinite>(bars.time, n);
    if (time_bad == n) backwards = FirstBackwards(bars.time, n, last);
  }
  const std::pair<const char*, const double*> prices[] = {
      {"volume", bars.vol}, {"low", bars.low}, {"high", bars.high}, {"open", bars.open}, {"close", bars.close}};
  size_t bad[5];
  for (size_t k = 0; k < 5; ++k) bad[k] = prices[k].second ? FirstBad<NotFinite>(prices[k].second, n) : n;
  for (size_t k : {3, 2, 1, 4, 0}) {
    if (bad[k] < n) {
      why = {prices[k].first, bad[k], "finite"};
      return true;
    }
  }
  if (time_bad < n) {
    why = {"time", time_bad, "finite"};
    return true;
  }
  if (backwards < n) {
    why = {"time", backwards, "backwards", last};
    return true;
  }
  if (bars.time && last > after) {
    why = {"time", n - 1, "later"};
    return true;
  }
  return false;
}

}  // namespace

void FormulaCore::Init(Napi::Env env, Napi::Object exports) {
  Napi::Function constructor =
      DefineClass(env, "FormulaCore",
                  {
                      InstanceAccessor<&FormulaCore::Error>("error"),
                      InstanceAccessor<&FormulaCore::Length>("length"),
                      InstanceMethod<&FormulaCore::Load>("load"),
                      InstanceMethod<&FormulaCore::TimeAt>("timeAt"),
                      InstanceMethod<&FormulaCore::Run>("run"),
                      InstanceMethod<&FormulaCore::RunTail>("runTail"),
                      InstanceMethod<&FormulaCore::RunAsync>("runAsync"),
                      InstanceMethod<&FormulaCore::Cancel>("cancel"),
                      InstanceMethod<&FormulaCore::Dispose>("dispose"),
                  });
  exports.Set("FormulaCore", constructor);
  exports.Set("functionTable", Napi::Function::New<FunctionTable>(env, "functionTable"));
}

FormulaCore::FormulaCore(const Napi::CallbackInfo& info)
    : Napi::ObjectWrap<FormulaCore>(info), m_memory(info.Env()) {
  Guarded(info.Env(), "compile", [&]() -> Napi::Value {
    if (!info[0].IsString()) throw Napi::TypeError::New(info.Env(), "compile: the formula must be a string");
    std::string text = info[0].As<Napi::String>().Utf8Value();
    if (text.size() > kMaxFormulaBytes) {
      throw Napi::RangeError::New(info.Env(), "compile: the formula has " + std::to_string(text.size()) +
                                                  " bytes, more than the " +
                                                  std::to_string(kMaxFormulaBytes) + " allowed");
    }
    m_text_bytes = text.size();
    try {
      // The same steps as the Compiler: tokens, tree, check, then an evaluator.
      Lexer lexer;
      TokenReader reader = lexer.Tokenize(text);
      m_tree = Parser::Analyze(reader);
      ParseWalker walker;
      walker.Walker(m_tree);
      m_evaluator = std::make_unique<Evaluator>(m_bars);
    } catch (const ::Exception& error) {
      m_tree.reset();
      m_error_code = error.m_type.code;
      m_error_line = error.m_line;
      m_error_column = error.m_column;
      m_error_token = error.m_text;
      m_error_report = error.ToString();
    }
    ReportMemory();
    return Napi::Value();
  });
}

void FormulaCore::ReportMemory() {
  size_t held = kObjectBytes + m_bars.size() * kBytesPerBar;
  if (m_evaluator) {
    held += m_text_bytes * (1 + kTreeBytesPerFormulaByte) + m_evaluator->KeptBytes();
  }
  m_memory.Report(held);
}

void FormulaCore::RefuseWhileRunning(Napi::Env env, const char* method) const {
  if (m_running == nullptr) return;
  Napi::Error error = Napi::Error::New(
      env, std::string(method) + ": the formula is busy with a runAsync() that has not settled");
  error.Set("code", Napi::String::New(env, "ERR_FORMULA_BUSY"));
  throw error;
}

Napi::Value FormulaCore::Error(const Napi::CallbackInfo& info) {
  if (m_evaluator) return info.Env().Null();
  return ErrorObject(info.Env(), m_error_code, m_error_line, m_error_column, m_error_token,
                     m_error_report);
}

Napi::Value FormulaCore::Length(const Napi::CallbackInfo& info) {
  return Napi::Number::New(info.Env(), static_cast<double>(m_bars.size()));
}

Napi::Value FormulaCore::TimeAt(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  double at = info[0].IsNumber() ? info[0].As<Napi::Number>().DoubleValue() : -1;
  if (!(at >= 0) || at >= static_cast<double>(m_bars.size())) return env.Null();
  size_t i = static_cast<size_t>(at);
  if (!m_bars.HasTime(i)) return env.Null();
  return Napi::Number::New(env, m_bars.Time()[i]);
}

Napi::Value FormulaCore::Load(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  return Guarded(env, "load", [&]() -> Napi::Value {
    RefuseWhileRunning(env, "load");
    int mode = info[0].IsNumber() ? info[0].As<Napi::Number>().Int32Value() : -1;
    if (mode < 0 || mode > 3) throw Napi::RangeError::New(env, "load: unknown mode");
    if (!info[4].IsTypedArray()) throw Napi::TypeError::New(env, "load: column l is not a Float64Array");
    size_t length = info[4].As<Napi::TypedArray>().ElementLength();
    const double* t = Column(env, info[1], length, true, "t");
    const double* o = Column(env, info[2], length, false, "o");
    const double* h = Column(env, info[3], length, false, "h");
    const double* l = Column(env, info[4], length, false, "l");
    const double* c = Column(env, info[5], length, false, "c");
    const double* v = Column(env, info[6], length, true, "v");
    const bool time_gaps = info[7].ToBoolean();
    if (mode == 3 && length != 1) throw Napi::RangeError::New(env, "load: replace takes one bar");
    const BarColumns bars{length, c, o, h, l, v, t};
    const size_t held = m_bars.size();
    const double before = mode == 1 ? LastTime(m_bars, held) : mode == 3 && held ? LastTime(m_bars, held - 1) : NAN;
    const double after = mode == 2 ? FirstTime(m_bars) : NAN;
    Refusal why;
    if (Refuse(bars, time_gaps, before, after, why)) {
      Napi::Object refusal = Napi::Object::New(env);
      refusal.Set("field", Napi::String::New(env, why.field));
      refusal.Set("index", Napi::Number::New(env, static_cast<double>(why.index)));
      refusal.Set("problem", Napi::String::New(env, why.problem));
      refusal.Set("last", Napi::Number::New(env, why.last));
      return refusal;
    }
    switch (mode) {
      case 0: m_bars.Assign(bars); break;
      case 1: m_bars.Append(bars); break;
      case 2: m_bars.Prepend(bars); break;
      default: m_bars.ReplaceLast(bars); break;
    }
    ReportMemory();
    return Napi::Number::New(env, static_cast<double>(m_bars.size()));
  });
}

Napi::Value FormulaCore::Run(const Napi::CallbackInfo& info) {
  return RunFrom(info, "run", false);
}

Napi::Value FormulaCore::RunTail(const Napi::CallbackInfo& info) {
  return RunFrom(info, "runTail", true);
}

void FormulaCore::PrepareRun(const Napi::CallbackInfo& info, const char* method) {
  Napi::Env env = info.Env();
  RefuseWhileRunning(env, method);
  if (!m_evaluator) {
    throw Napi::Error::New(env, std::string(method) + ": the formula did not compile or was disposed");
  }
  double period = info[0].IsNumber() ? info[0].As<Napi::Number>().DoubleValue() : 0;
  m_evaluator->m_env.m_period =
      period >= 0 && period < 1.8e19 ? static_cast<unsigned long>(period) : 0;
}

Napi::Value FormulaCore::RunFrom(const Napi::CallbackInfo& info, const char* method, bool tail) {
  Napi::Env env = info.Env();
  return Guarded(env, method, [&]() -> Napi::Value {
    PrepareRun(info, method);
    try {
      Evaluate(tail);
    } catch (const ::Exception& error) {
      return ErrorAnswer(env, error);
    }
    return Answer(env, tail);
  });
}

void FormulaCore::Evaluate(bool tail) {
  // A full run returns every bar: computed afresh, as the last run let go
  // of what no later run reads.
  if (!tail) m_evaluator->Forget();
  m_evaluator->Run(m_tree);
  if (tail && !Holds(*m_evaluator, TailStart())) {
    // The outputs changed before the bars they kept: compute everything.
    m_evaluator->Forget();
    m_evaluator->Run(m_tree);
  }
}

size_t FormulaCore::TailStart() const {
  // The first bar any output changed at since the last run (the bar count
  // when none did).
  const size_t from = m_evaluator->FirstChanged();
  return from < m_bars.size() ? from : m_bars.size();
}

Napi::Object FormulaCore::Answer(Napi::Env env, bool tail) {
  Napi::Object answer = Napi::Object::New(env);
  const size_t from = tail ? TailStart() : 0;
  if (tail) answer.Set("from", Napi::Number::New(env, static_cast<double>(from)));
  OutputBuilder builder(env, m_bars);
  answer.Set("outputs", builder.Outputs(m_evaluator->Outputs(), *Table::Instance(), from));
  // What the next run does not read goes now.
  m_evaluator->Settle();
  ReportMemory();
  return answer;
}

// One runAsync: the evaluator's run on a thread of the pool, then, on the
// formula's own thread, the answer built from the evaluator and the promise
// settled. It holds a reference to the formula's JavaScript object, so the
// formula (its bars, tree and evaluator) outlives the run even when nothing
// else refers to it; the busy refusals keep this thread off them meanwhile.
class RunWorker : public Napi::AsyncWorker {
 public:
  RunWorker(Napi::Env env, FormulaCore* core, Napi::Object self)
      : Napi::AsyncWorker(env, "formula.runAsync"),
        m_deferred(Napi::Promise::Deferred::New(env)),
        m_core(core),
        m_self(Napi::Persistent(self)) {}

  ~RunWorker() override { Release(); }

  Napi::Promise Promise() const { return m_deferred.Promise(); }
  void RequestCancel() { m_cancel.store(true, std::memory_order_relaxed); }

 protected:
  void Execute() override {
    CancelScope scope(&m_cancel);
    try {
      m_core->Evaluate(false);
    } catch (const ::Exception& error) {
      m_engine_error = std::make_unique<::Exception>(error);
    } catch (const RunCancelled&) {
      m_cancelled = true;
    } catch (const std::bad_alloc&) {
      SetError("out of memory");
    } catch (const std::exception& e) {
      SetError(std::string("runAsync: ") + e.what());
    } catch (...) {
      SetError("runAsync: internal error");
    }
  }

  // While the environment shuts down (a worker thread terminated) nothing
  // here can reach JavaScript: node-addon-api drops the Napi::Errors of such
  // calls, and no other exception leaves this function.
  void OnOK() override {
    Release();
    Napi::Env env = Env();
    Napi::Value settled;
    bool ok = false;
    try {
      if (m_cancelled) {
        Napi::Object answer = Napi::Object::New(env);
        answer.Set("cancelled", Napi::Boolean::New(env, true));
        settled = answer;
      } else if (m_engine_error) {
        settled = ErrorAnswer(env, *m_engine_error);
      } else {
        settled = m_core->Answer(env, false);
      }
      ok = true;
    } catch (const Napi::Error& error) {
      settled = error.Value();
    } catch (const std::bad_alloc&) {
      settled = Napi::Error::New(env, "out of memory").Value();
    } catch (const std::exception& e) {
      settled = Napi::Error::New(env, std::string("runAsync: ") + e.what()).Value();
    }
    if (ok) {
      m_deferred.Resolve(settled);
    } else {
      m_deferred.Reject(settled);
    }
  }

  void OnError(const Napi::Error& error) override {
    Release();
    m_deferred.Reject(error.Value());
  }

 private:
  // The formula is free again.
  void Release() {
    if (m_core->m_running == this) m_core->m_running = nullptr;
  }

  Napi::Promise::Deferred m_deferred;
  FormulaCore* m_core;
  Napi::ObjectReference m_self;  // keeps m_core alive
  std::atomic<bool> m_cancel{false};
  bool m_cancelled = false;
  std::unique_ptr<::Exception> m_engine_error;
};

Napi::Value FormulaCore::RunAsync(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  return Guarded(env, "runAsync", [&]() -> Napi::Value {
    PrepareRun(info, "runAsync");
    auto* worker = new RunWorker(env, this, info.This().As<Napi::Object>());
    Napi::Promise promise = worker->Promise();
    try {
      worker->Queue();
    } catch (...) {
      delete worker;
      throw;
    }
    m_running = worker;
    return promise;
  });
}

Napi::Value FormulaCore::Cancel(const Napi::CallbackInfo& info) {
  if (m_running != nullptr) m_running->RequestCancel();
  return info.Env().Undefined();
}

Napi::Value FormulaCore::Dispose(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  return Guarded(env, "dispose", [&]() -> Napi::Value {
    RefuseWhileRunning(env, "dispose");
    m_evaluator.reset();
    m_tree.reset();
    m_bars = BarData();  // gives the columns' memory back, unlike Clear()
    ReportMemory();
    return env.Undefined();
  });
}

Napi::Value FunctionTable(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  const Table& table = *Table::Instance();
  Napi::Object answer = Napi::Object::New(env);
  Napi::Array functions = Napi::Array::New(env);
  uint32_t at = 0;
  // One entry per name, in the registry's order; `names` lists every name of
  // the same function (the name itself and its aliases).
  for (const FunctionInfo& function : FunctionRegistry()) {
    Napi::Array names = Napi::Array::New(env, function.names.size());
    for (uint32_t i = 0; i < function.names.size(); ++i) {
      names.Set(i, Napi::String::New(env, function.names[i]));
    }
    for (const std::string& name : function.names) {
      std::vector<int> counts = table.FunctionParamsCount(name);
      Napi::Object entry = Napi::Object::New(env);
      entry.Set("name", Napi::String::New(env, name));
      entry.Set("names", names);
      Napi::Array list = Napi::Array::New(env, counts.size());
      for (uint32_t i = 0; i < counts.size(); ++i) list.Set(i, Napi::Number::New(env, counts[i]));
      entry.Set("counts", list);
      entry.Set("draw", Napi::Boolean::New(env, function.Draws()));
      functions.Set(at++, entry);
    }
  }
  answer.Set("functions", functions);
  Napi::Array statics = Napi::Array::New(env);
  at = 0;
  for (const auto& entry : table.Statics()) statics.Set(at++, Napi::String::New(env, entry.first));
  answer.Set("statics", statics);
  Napi::Array properties = Napi::Array::New(env);
  at = 0;
  for (const auto& entry : table.Properties()) {
    properties.Set(at++, Napi::String::New(env, entry.first));
  }
  answer.Set("properties", properties);
  return answer;
}
