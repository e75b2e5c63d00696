#include "node_compiler.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <new>
#include <utility>
#include <vector>

#if !defined(_WIN32)
#include <dlfcn.h>
#endif

#include "addon_data.h"
#include "external_memory.h"
#include "row_conversion.h"
#include "util/output_limit.h"

namespace {

// Throws the error `make` builds as the pending JavaScript exception. While
// the environment shuts down (a worker being terminated) neither building
// nor throwing can succeed, and nothing could reach JavaScript any more:
// such failures are dropped, so that no C++ exception leaves the callback.
template <typename Make>
void Raise(napi_env env, Make make) noexcept {
  try {
    napi_value error = make();
    if (error != nullptr) napi_throw(env, error);
  } catch (...) {
  }
}

// Runs a method body and maps every C++ exception to a JavaScript one:
// Napi::Error passes through (it already holds the JavaScript exception),
// anything else becomes an Error naming the method. The method then returns
// nothing, with the exception pending.
template <typename Body>
Napi::Value Guarded(Napi::Env env, const char* method, Body&& body) {
  try {
    return body();
  } catch (const Napi::Error& error) {
    Raise(env, [&] { return napi_value(error.Value()); });
  } catch (const std::bad_alloc&) {
    Raise(env, [&] { return napi_value(Napi::Error::New(env, "out of memory").Value()); });
  } catch (const std::exception& e) {
    Raise(env, [&] {
      return napi_value(Napi::Error::New(env, std::string(method) + ": " + e.what()).Value());
    });
  } catch (...) {
    Raise(env, [&] {
      return napi_value(Napi::Error::New(env, std::string(method) + ": internal error").Value());
    });
  }
  return Napi::Value();
}

// The bar reader of the thread that runs `env`.
const RowReader& Reader(Napi::Env env) {
  AddonData* data = env.GetInstanceData<AddonData>();
  if (data == nullptr) throw Napi::Error::New(env, "NodeCompiler: the module is not initialised");
  return data->rows;
}

}  // namespace

void NodeCompiler::Init(Napi::Env env, Napi::Object exports) {
  Napi::Function constructor =
      DefineClass(env, "NodeCompiler",
                  {
                      InstanceMethod<&NodeCompiler::Compile>("Compile"),
                      InstanceMethod<&NodeCompiler::SetData>("SetData"),
                      InstanceMethod<&NodeCompiler::AppendData>("AppendData"),
                      InstanceMethod<&NodeCompiler::ReplaceLastData>("ReplaceLastData"),
                      InstanceMethod<&NodeCompiler::SetPeriod>("SetPeriod"),
                      InstanceMethod<&NodeCompiler::Run>("Run"),
                  });
  auto* data = new AddonData(env);
  data->node_compiler = Napi::Persistent(constructor);
  Napi::Object string_prototype =
      env.Global().Get("String").As<Napi::Object>().Get("prototype").As<Napi::Object>();
  data->substring = Napi::Persistent(string_prototype.Get("substring").As<Napi::Function>());
  data->concat = Napi::Persistent(string_prototype.Get("concat").As<Napi::Function>());
  env.SetInstanceData(data);  // deleted when the environment shuts down
  exports.Set("NodeCompiler", constructor);
}

Napi::Value NodeCompiler::OnCalledAsFunction(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  return Guarded(env, "NodeCompiler", [&]() -> Napi::Value {
    AddonData* data = env.GetInstanceData<AddonData>();
    if (data == nullptr || data->node_compiler.IsEmpty()) {
      throw Napi::Error::New(env, "NodeCompiler: the module is not initialised");
    }
    return data->node_compiler.New({info[0]});
  });
}

NodeCompiler::NodeCompiler(const Napi::CallbackInfo& info)
    : Napi::ObjectWrap<NodeCompiler>(info), m_memory(info.Env()) {
  Guarded(info.Env(), "NodeCompiler", [&]() -> Napi::Value {
    std::string formula = FormulaFromValue(info[0]);
    m_text_bytes = formula.size();
    m_compiler = std::make_unique<Compiler>(std::move(formula));
    m_compiler->m_debug = false;
    ReportMemory(0);
    return Napi::Value();
  });
}

NodeCompiler::~NodeCompiler() = default;

void NodeCompiler::ReportMemory(size_t result_bytes) {
  m_result_bytes = result_bytes;
  const size_t bars = m_compiler ? m_compiler->Bars().size() * kBytesPerBar : 0;
  m_memory.Report(kObjectBytes + bars + m_text_bytes + m_tree_bytes + m_result_bytes);
}

Napi::Value NodeCompiler::Compile(const Napi::CallbackInfo& info) {
  return Guarded(info.Env(), "Compile", [&]() -> Napi::Value {
    if (m_text_bytes > kMaxFormulaBytes) {
      throw Napi::RangeError::New(info.Env(), "Compile: the formula has " +
                                                  std::to_string(m_text_bytes) +
                                                  " bytes, more than the " +
                                                  std::to_string(kMaxFormulaBytes) + " allowed");
    }
    std::string report = m_compiler->Compile();
    // The compiled tree (kept also when the check fails) joins the text.
    m_tree_bytes = m_text_bytes * kTreeBytesPerFormulaByte;
    ReportMemory(m_result_bytes);
    return StringToJs(info.Env(), report, "Compile");
  });
}

Napi::Value NodeCompiler::SetData(const Napi::CallbackInfo& info) {
  return Guarded(info.Env(), "SetData", [&]() -> Napi::Value {
    RowReader::Bars bars = Reader(info.Env()).Rows(info.Env(), info[0], "SetData");
    m_compiler->Bars().Assign(bars.columns);
    ReportMemory(m_result_bytes);
    return info.Env().Undefined();
  });
}

Napi::Value NodeCompiler::AppendData(const Napi::CallbackInfo& info) {
  return Guarded(info.Env(), "AppendData", [&]() -> Napi::Value {
    RowReader::Bars bars = Reader(info.Env()).Rows(info.Env(), info[0], "AppendData");
    // Only the boolean true puts the rows in front; 1, "true" and the rest
    // append.
    bool prepend = info[1].IsBoolean() && info[1].As<Napi::Boolean>().Value();
    if (prepend) {
      m_compiler->Bars().Prepend(bars.columns);
    } else {
      m_compiler->Bars().Append(bars.columns);
    }
    ReportMemory(m_result_bytes);
    return info.Env().Undefined();
  });
}

Napi::Value NodeCompiler::ReplaceLastData(const Napi::CallbackInfo& info) {
  return Guarded(info.Env(), "ReplaceLastData", [&]() -> Napi::Value {
    RowReader::Bars bar = Reader(info.Env()).Row(info.Env(), info[0], "ReplaceLastData");
    m_compiler->Bars().ReplaceLast(bar.columns);  // appends when no bar is held yet
    ReportMemory(m_result_bytes);
    return info.Env().Undefined();
  });
}

Napi::Value NodeCompiler::SetPeriod(const Napi::CallbackInfo& info) {
  return Guarded(info.Env(), "SetPeriod", [&]() -> Napi::Value {
    if (!info[0].IsNumber()) {
      throw Napi::TypeError::New(info.Env(), "SetPeriod: expected a number");
    }
    m_compiler->Period(PeriodFromNumber(info[0].As<Napi::Number>().DoubleValue()));
    return info.Env().Undefined();
  });
}

namespace {

using ExternalLatin1 = napi_status (*)(napi_env, char*, size_t, napi_finalize, void*, napi_value*,
                                       bool*);

// node_api_create_external_string_latin1 of the running Node.js, looked up
// when the module is used rather than linked, so that the module still
// loads where the function is missing (older runtimes: the text is copied).
ExternalLatin1 FindExternalLatin1() {
#if defined(_WIN32)
  return nullptr;
#else
  static const ExternalLatin1 function = reinterpret_cast<ExternalLatin1>(
      dlsym(RTLD_DEFAULT, "node_api_create_external_string_latin1"));
  return function;
#endif
}

// A block as a JavaScript string that reads it in place where the runtime
// allows (ASCII, an outside string): the string keeps the block alive, its
// bytes counted as external memory until then. Null where it could not be
// made so (the caller copies the text then).
napi_value OutsideString(napi_env env, const std::shared_ptr<const TextBlock>& block,
                         const std::shared_ptr<std::atomic<int64_t>>& released) {
  ExternalLatin1 external = FindExternalLatin1();
  if (external == nullptr || !released || !block->ascii() || block->size() == 0) return nullptr;
  using HeldText = Handed<std::shared_ptr<const TextBlock>>;
  auto* held = HeldText::Take(block, block->size(), released);
  napi_value result = nullptr;
  bool copied = false;
  napi_status status = external(env, const_cast<char*>(block->data()), block->size(),
                                HeldText::Finalize, held, &result, &copied);
  if (status != napi_ok) {
    delete held;  // not taken: no string was made
    return nullptr;
  }
  HeldText::Count(env, block->size(), copied, released);
  return copied ? nullptr : result;
}

// The text copied into the engine's heap.
napi_value CopiedString(napi_env env, const char* text, size_t size, bool ascii) {
  napi_value result = nullptr;
  napi_status status = ascii ? napi_create_string_latin1(env, text, size, &result)
                             : napi_create_string_utf8(env, text, size, &result);
  if (status != napi_ok) ThrowFailedCall(env, status, "Run", "could not create the result string");
  return result;
}

// Arguments of one call of concat.
constexpr size_t kJoinedAtOnce = 256;

}  // namespace

void NodeCompiler::DropBlock() {
  if (!m_block_holder.IsEmpty()) {
    m_block_holder.Value().Set(uint32_t{0}, m_block_holder.Env().Undefined());
  }
  m_block_in_js.reset();
  m_block_in_place = false;
}

Napi::Value NodeCompiler::BlockString(Napi::Env env,
                                      const std::shared_ptr<const TextBlock>& block) {
  if (m_block_holder.IsEmpty()) m_block_holder = Napi::Persistent(Napi::Object::New(env));
  Napi::Object holder = m_block_holder.Value();
  if (m_block_in_js.lock() == block) return holder.Get(uint32_t{0});
  napi_value text = OutsideString(env, block, m_memory.Released());
  m_block_in_place = text != nullptr;
  if (text == nullptr) text = CopiedString(env, block->data(), block->size(), block->ascii());
  holder.Set(uint32_t{0}, text);
  m_block_in_js = block;
  return Napi::Value(env, text);
}

// A long text is handed over through a string over its block: a full run's
// text is that string itself, read in place, and the text of a tick after
// it joins slices of it with the few values formatted since (the engine
// makes them slices and joined strings that point at their parts, young
// objects that cost no copy; whoever reads the joined string has the engine
// lay it out flat once). So a tick neither copies the unchanged text nor
// makes a new outside string, whose bytes would make the engine mark its
// whole heap at every tick. A short text, or one not in ASCII, is copied
// into the engine's heap.
Napi::Value NodeCompiler::TextToJs(Napi::Env env, const OutputText& text) {
  if (text.size() > kMaxOutputBytes) {
    throw Napi::Error::New(env, "Run: result is too long for a JavaScript string");
  }
  const std::vector<OutputText::Piece>& pieces = text.pieces();
  if (!text.ascii() || (pieces.empty() && text.size() < OutputWriter::kPiecesFrom)) {
    DropBlock();
    std::shared_ptr<const TextBlock> joined = text.Joined();
    return Napi::Value(env, CopiedString(env, joined->data(), joined->size(), joined->ascii()));
  }
  Napi::Value block = BlockString(env, text.block());
  if (pieces.empty()) return block;
  AddonData* data = env.GetInstanceData<AddonData>();
  std::vector<napi_value> parts;
  parts.reserve(pieces.size());
  for (const OutputText::Piece& piece : pieces) {
    if (piece.kept) {
      parts.push_back(data->substring.Call(
          block, {Napi::Number::New(env, static_cast<double>(piece.at)),
                  Napi::Number::New(env, static_cast<double>(piece.at + piece.size))}));
    } else {
      parts.push_back(CopiedString(env, text.fresh().data() + piece.at, piece.size, true));
    }
  }
  napi_value joined = parts[0];
  for (size_t i = 1; i < parts.size(); i += kJoinedAtOnce) {
    const size_t end = std::min(parts.size(), i + kJoinedAtOnce);
    joined = data->concat.Call(joined,
                               std::vector<napi_value>(parts.begin() + i, parts.begin() + end));
  }
  return Napi::Value(env, joined);
}

Napi::Value NodeCompiler::Run(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  return Guarded(env, "Run", [&]() -> Napi::Value {
    std::shared_ptr<const OutputText> output = m_compiler->RunText();
    Napi::Value text = TextToJs(env, *output);
    // Kept for the next tick: the block (unless a string reads it in
    // place), the pieces written since and their copy in the writer.
    const bool in_place = m_block_in_place && m_block_in_js.lock() == output->block();
    ReportMemory((in_place ? 0 : output->block()->size()) + 2 * output->fresh().size());
    return text;
  });
}
