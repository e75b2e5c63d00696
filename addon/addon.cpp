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

napi_value Register(napi_env env, napi_value exports) {
  return Napi::RegisterModule(env, exports, Init);
}

}  // namespace

// The module registers as NODE_API_MODULE would, with one difference: it
// declares the engine's newest interface level, under which a runtime that
// supports it destroys the native side of a collected NodeCompiler during
// the collection itself instead of after the event loop turns. A loop that
// drops compilers without yielding then stays flat in memory. The addon
// calls nothing beyond the functions of its compiled level, and its
// destructor does only what is allowed during a collection (freeing native
// memory, adjusting the external memory count). Older runtimes load it the
// same way and release at the next turn of the event loop.
EXTERN_C_START
NAPI_MODULE_EXPORT int32_t NODE_API_MODULE_GET_API_VERSION(void) {
  return NAPI_VERSION_EXPERIMENTAL;
}
NAPI_MODULE_EXPORT napi_value NAPI_MODULE_INITIALIZER(napi_env env, napi_value exports) {
  return Register(env, exports);
}
EXTERN_C_END
