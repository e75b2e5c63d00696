#pragma once

#include <napi.h>

#include <atomic>
#include <cstdint>
#include <memory>

#include "row_conversion.h"

// The module's data on one thread (the main thread or a worker), kept as the
// environment's instance data and deleted when the environment shuts down.
struct AddonData {
  explicit AddonData(Napi::Env env) : rows(env) {}
  Napi::FunctionReference node_compiler;
  // String.prototype.substring and concat as the module found them: they
  // join a text from slices of a long string without copying its bytes.
  Napi::FunctionReference substring;
  Napi::FunctionReference concat;
  RowReader rows;
  // Bytes of collected objects not yet taken back from the engine's count of
  // external memory (see ~ExternalMemory).
  std::shared_ptr<std::atomic<int64_t>> released = std::make_shared<std::atomic<int64_t>>(0);
};
