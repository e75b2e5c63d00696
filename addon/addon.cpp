// The module "addon": exports the class NodeCompiler, and FormulaCore with
// functionTable() for the typed API of lib/.
#include <napi.h>

#include "formula.h"
#include "node_compiler.h"

namespace {

Napi::Object Init(Napi::Env env, Napi::Object exports) {
  NodeCompiler::Init(env, exports);
  FormulaCore::Init(env, exports);
  return exports;
}

}  // namespace

NODE_API_MODULE(addon, Init)
