// The module "addon": exports the class NodeCompiler.
#include <napi.h>

#include "node_compiler.h"

namespace {

Napi::Object Init(Napi::Env env, Napi::Object exports) {
  NodeCompiler::Init(env, exports);
  return exports;
}

}  // namespace

NODE_API_MODULE(addon, Init)
