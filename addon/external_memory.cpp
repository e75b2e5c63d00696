#include "external_memory.h"

#include "addon_data.h"

ExternalMemory::ExternalMemory(napi_env env) : m_env(env) {
  void* data = nullptr;
  if (napi_get_instance_data(env, &data) == napi_ok && data != nullptr) {
    m_released = static_cast<AddonData*>(data)->released;
  }
}

ExternalMemory::~ExternalMemory() {
  if (m_released) *m_released += m_reported;
}

void ExternalMemory::Report(size_t held_bytes) {
  const int64_t held = static_cast<int64_t>(held_bytes);
  const int64_t released = m_released ? m_released->exchange(0) : 0;
  // A change within a sixty-fourth of what is reported waits for a larger
  // one: a growth of a few bytes (a tick) would otherwise let the engine
  // start or finish a full collection that other memory made due.
  const int64_t change = held - m_reported;
  if (released == 0 && change <= m_reported / 64 && -change <= m_reported / 64) return;
  int64_t unused = 0;
  if (napi_adjust_external_memory(m_env, held - m_reported - released, &unused) == napi_ok) {
    m_reported = held;
  } else if (m_released) {
    *m_released += released;
  }
}
