#pragma once

#include <napi.h>

#include <memory>

#include "compiler/bar_data.h"
#include "compiler/compiler.h"

// The JavaScript class NodeCompiler: one Compiler and the bar rows handed in
// so far. The rows are held once, in columns, and shared with the Compiler;
// the data methods change them in place, so their cost follows the number
// of rows they bring, not the number already held.
class NodeCompiler : public Napi::ObjectWrap<NodeCompiler> {
 public:
  // Defines the class and sets it on `exports` under "NodeCompiler". The
  // constructor is kept in the instance data of `env`, so every thread
  // (main or worker) that loads the module has its own.
  static void Init(Napi::Env env, Napi::Object exports);

  // NodeCompiler(formula) without `new` constructs as `new` would.
  static Napi::Value OnCalledAsFunction(const Napi::CallbackInfo& info);

  explicit NodeCompiler(const Napi::CallbackInfo& info);

 private:
  Napi::Value Compile(const Napi::CallbackInfo& info);
  Napi::Value SetData(const Napi::CallbackInfo& info);
  Napi::Value AppendData(const Napi::CallbackInfo& info);
  Napi::Value ReplaceLastData(const Napi::CallbackInfo& info);
  Napi::Value SetPeriod(const Napi::CallbackInfo& info);
  Napi::Value Run(const Napi::CallbackInfo& info);

  std::shared_ptr<BarData> m_bars;
  std::unique_ptr<Compiler> m_compiler;
};
