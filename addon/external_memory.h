#pragma once

#include <napi.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

// Approximate native bytes: a bar holds six doubles in columns that grow by
// doubling; a compiled formula takes about 200 bytes of tokens
// and tree per byte of text.
inline constexpr size_t kBytesPerBar = 64;
inline constexpr size_t kTreeBytesPerFormulaByte = 200;
inline constexpr size_t kObjectBytes = 2048;

// The native memory one JavaScript object of the module holds, as reported
// to the engine's count of external memory, so that dropped objects press
// the collector as much as their JavaScript counterparts would.
class ExternalMemory {
 public:
  explicit ExternalMemory(napi_env env);
  // May run inside a collection, where no Node-API call is allowed: the
  // bytes are handed back at the next report of any object of this thread.
  ~ExternalMemory();
  ExternalMemory(const ExternalMemory&) = delete;
  ExternalMemory& operator=(const ExternalMemory&) = delete;

  // The object now holds `held` bytes.
  void Report(size_t held);
  // The thread's count of bytes to hand back (null before the module set
  // its data), for memory that outlives the object.
  const std::shared_ptr<std::atomic<int64_t>>& Released() const { return m_released; }

 private:
  napi_env m_env;
  // Shared with the thread's module data.
  std::shared_ptr<std::atomic<int64_t>> m_released;
  int64_t m_reported = 0;  // bytes reported to the engine so far
};
