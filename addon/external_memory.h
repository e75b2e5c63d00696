#pragma once

#include <napi.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>

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

// Memory of the module that a JavaScript value (an outside string or
// ArrayBuffer) holds in place until it is collected. Made with Take(), it is
// counted as external memory (Count) once the value exists; its finalizer
// (which may run inside a collection, so calls no Node-API function) frees
// it and hands its bytes back at the next report of this thread.
template <typename T>
class Handed {
 public:
  static Handed* Take(T held, size_t bytes, std::shared_ptr<std::atomic<int64_t>> released) {
    return new Handed(std::move(held), bytes, std::move(released));
  }
  const T& held() const { return m_held; }
  T& held() { return m_held; }
  static void Finalize(napi_env, void*, void* hint) {
    auto* handed = static_cast<Handed*>(hint);
    if (handed->m_released) *handed->m_released += static_cast<int64_t>(handed->m_bytes);
    delete handed;
  }
  // The value now holds the memory; `finalized` when the runtime copied it
  // and has already run the finalizer.
  static void Count(napi_env env, size_t bytes, bool finalized,
                    const std::shared_ptr<std::atomic<int64_t>>& released) {
    if (finalized) {
      if (released) *released -= static_cast<int64_t>(bytes);
      return;
    }
    int64_t unused = 0;
    napi_adjust_external_memory(env, static_cast<int64_t>(bytes), &unused);
  }

 private:
  Handed(T held, size_t bytes, std::shared_ptr<std::atomic<int64_t>> released)
      : m_held(std::move(held)), m_bytes(bytes), m_released(std::move(released)) {}
  T m_held;
  size_t m_bytes;
  std::shared_ptr<std::atomic<int64_t>> m_released;
};
