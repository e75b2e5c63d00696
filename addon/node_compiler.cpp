#include "node_compiler.h"

#include <exception>
#include <new>
#include <utility>

#include "row_conversion.h"

namespace {

struct AddonData {
  Napi::FunctionReference node_compiler;
};

// Runs a method body and maps every C++ exception to a JavaScript one:
// Napi::Error passes through (it already holds the JavaScript exception),
// anything else becomes an Error naming the method.
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
  auto* data = new AddonData();
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

NodeCompiler::NodeCompiler(const Napi::CallbackInfo& info) : Napi::ObjectWrap<NodeCompiler>(info) {
  Guarded(info.Env(), "NodeCompiler", [&]() -> Napi::Value {
    std::string formula = FormulaFromValue(info[0]);
    m_bars = std::make_shared<BarData>();
    m_compiler = std::make_unique<Compiler>(std::move(formula));
    m_compiler->m_debug = false;
    m_compiler->Data(std::shared_ptr<const BarData>(m_bars));
    return Napi::Value();
  });
}

Napi::Value NodeCompiler::Compile(const Napi::CallbackInfo& info) {
  return Guarded(info.Env(), "Compile", [&]() -> Napi::Value {
    return StringToJs(info.Env(), m_compiler->Compile(), "Compile");
  });
}

Napi::Value NodeCompiler::SetData(const Napi::CallbackInfo& info) {
  return Guarded(info.Env(), "SetData", [&]() -> Napi::Value {
    std::vector<BarRow> rows = RowsFromArray(info.Env(), info[0], "SetData");
    m_bars->Assign(rows);
    return info.Env().Undefined();
  });
}

Napi::Value NodeCompiler::AppendData(const Napi::CallbackInfo& info) {
  return Guarded(info.Env(), "AppendData", [&]() -> Napi::Value {
    std::vector<BarRow> rows = RowsFromArray(info.Env(), info[0], "AppendData");
    // Only the boolean true puts the rows in front; 1, "true" and the rest
    // append.
    bool prepend = info[1].IsBoolean() && info[1].As<Napi::Boolean>().Value();
    if (prepend) {
      m_bars->Prepend(rows);
    } else {
      m_bars->Append(rows);
    }
    return info.Env().Undefined();
  });
}

Napi::Value NodeCompiler::ReplaceLastData(const Napi::CallbackInfo& info) {
  return Guarded(info.Env(), "ReplaceLastData", [&]() -> Napi::Value {
    RowReader reader(info.Env());
    BarRow row = reader.Read(info[0], "ReplaceLastData");
    m_bars->ReplaceLast(row);  // appends when no row is held yet
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

Napi::Value NodeCompiler::Run(const Napi::CallbackInfo& info) {
  return Guarded(info.Env(), "Run", [&]() -> Napi::Value {
    return StringToJs(info.Env(), m_compiler->Run(), "Run");
  });
}
