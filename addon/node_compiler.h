#pragma once

#include <napi.h>

#include <atomic>
#include <cstdint>
#include <memory>

#include "compiler/bar_data.h"
#include "compiler/compiler.h"
#include "external_memory.h"

// The JavaScript class NodeCompiler: one Compiler, which owns the bars
// handed in so far. The data methods change them in place, so their cost
// follows the number of bars they bring, not the number already held.
class NodeCompiler : public Napi::ObjectWrap<NodeCompiler> {
 public:
  // Defines the class and sets it on `exports` under "NodeCompiler". The
  // constructor is kept in the instance data of `env`, so every thread
  // (main or worker) that loads the module has its own.
  static void Init(Napi::Env env, Napi::Object exports);

  // NodeCompiler(formula) without `new` constructs as `new` would.
  static Napi::Value OnCalledAsFunction(const Napi::CallbackInfo& info);

  explicit NodeCompiler(const Napi::CallbackInfo& info);
  // Runs when the object is collected (during the collection itself where
  // the runtime allows) or when its thread shuts down: frees the bars, the
  // compiled formula and the compiler, and takes their size back from the
  // engine's count of external memory.
  ~NodeCompiler() override;

 private:
  Napi::Value Compile(const Napi::CallbackInfo& info);
  Napi::Value SetData(const Napi::CallbackInfo& info);
  Napi::Value AppendData(const Napi::CallbackInfo& info);
  Napi::Value ReplaceLastData(const Napi::CallbackInfo& info);
  Napi::Value SetPeriod(const Napi::CallbackInfo& info);
  Napi::Value Run(const Napi::CallbackInfo& info);

  // Tells the engine how much native memory this object holds, so that
  // dropped compilers press the collector as much as their JavaScript
  // counterparts would. `result_bytes`: what the compiler keeps of the last
  // run's output text for the next tick, less a block that a JavaScript
  // string reads in place (that string counts it).
  void ReportMemory(size_t result_bytes);

  // The text as a JavaScript string: see the definition.
  Napi::Value TextToJs(Napi::Env env, const OutputText& text);
  // The JavaScript string over `block`, made the first time it is asked for.
  Napi::Value BlockString(Napi::Env env, const std::shared_ptr<const TextBlock>& block);
  // Lets go of the string over the last block.
  void DropBlock();

  ExternalMemory m_memory;
  std::unique_ptr<Compiler> m_compiler;
  size_t m_text_bytes = 0;  // the formula text
  size_t m_tree_bytes = 0;  // its tokens and tree, once compiled
  size_t m_result_bytes = 0;
  // Element 0: the string over the block of the last text; the texts of
  // the ticks after it are joined from slices of it.
  Napi::ObjectReference m_block_holder;
  std::weak_ptr<const TextBlock> m_block_in_js;
  bool m_block_in_place = false;  // the string reads the block in place
};
