#include "node_compiler.h"

#include <atomic>
#include <exception>
#include <new>
#include <utility>

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

// What an outside string holds: the block, and where to count its bytes
// once the string is collected.
// The text as a JavaScript string. The text of a full run is handed over in
// place where the runtime allows (ASCII, an outside string): the string keeps
// the block alive, its bytes counted as external memory until then, and
// nothing writes into a block once written. The text of a tick, mostly
// copied from the previous one, is copied into the engine's heap instead:
// there the collector frees it cheaply with the young objects, where
// counting a new outside block at every tick would make the engine mark its
// whole heap at every tick.
Napi::String TextToJs(Napi::Env env, const std::shared_ptr<const TextBlock>& text,
                      const std::shared_ptr<std::atomic<int64_t>>& released) {
  ExternalLatin1 external = FindExternalLatin1();
  if (external != nullptr && released && !text->reused() && text->ascii() && text->size() > 0 &&
      text->size() <= kMaxOutputBytes) {
    using HeldText = Handed<std::shared_ptr<const TextBlock>>;
    auto* held = HeldText::Take(text, text->size(), released);
    napi_value result = nullptr;
    bool copied = false;
    napi_status status = external(env, const_cast<char*>(text->data()), text->size(),
                                  HeldText::Finalize, held, &result, &copied);
    if (status == napi_ok) {
      if (!copied) text->MarkShared();
      HeldText::Count(env, text->size(), copied, released);
      return Napi::String(env, result);
    }
    delete held;  // not taken: no string was made
  }
  if (text->size() > kMaxOutputBytes) {
    throw Napi::Error::New(env, "Run: result is too long for a JavaScript string");
  }
  napi_value result = nullptr;
  napi_status status = text->ascii()
                           ? napi_create_string_latin1(env, text->data(), text->size(), &result)
                           : napi_create_string_utf8(env, text->data(), text->size(), &result);
  if (status != napi_ok) ThrowFailedCall(env, status, "Run", "could not create the result string");
  return Napi::String(env, result);
}

}  // namespace

Napi::Value NodeCompiler::Run(const Napi::CallbackInfo& info) {
  return Guarded(info.Env(), "Run", [&]() -> Napi::Value {
    std::shared_ptr<const TextBlock> output = m_compiler->RunText();
    ReportMemory(output->size());
    return TextToJs(info.Env(), output, m_memory.Released());
  });
}
