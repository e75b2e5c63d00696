#pragma once

#include <atomic>
#include <cstddef>
#include <exception>

// Cancelling a run from another thread. The thread that runs a formula
// installs the flag of that run with a CancelScope; the evaluator checks it
// between the nodes of the formula and the long window loops check it
// through a CancelPoll. A run without a scope (every synchronous run) never
// sees a flag and is never cancelled.

// Thrown out of a run whose flag was set; the evaluator forgets its kept
// values on the way out, as for any failed run.
class RunCancelled : public std::exception {
 public:
  const char* what() const noexcept override { return "the run was cancelled"; }
};

namespace cancel_detail {
inline thread_local const std::atomic<bool>* t_flag = nullptr;
}  // namespace cancel_detail

// Installs `flag` for the runs of this thread while the scope lives.
class CancelScope {
 public:
  explicit CancelScope(const std::atomic<bool>* flag) : m_previous(cancel_detail::t_flag) {
    cancel_detail::t_flag = flag;
  }
  ~CancelScope() { cancel_detail::t_flag = m_previous; }
  CancelScope(const CancelScope&) = delete;
  CancelScope& operator=(const CancelScope&) = delete;

 private:
  const std::atomic<bool>* m_previous;
};

inline void ThrowIfCancelled() {
  const std::atomic<bool>* flag = cancel_detail::t_flag;
  if (flag != nullptr && flag->load(std::memory_order_relaxed)) throw RunCancelled();
}

// For a loop whose bars cost unequal work (a window of n bars costs n
// steps): Step(work) adds to a budget and looks at the flag once the budget
// passes kSteps, so a cancelled run stops within about kSteps steps and a
// loop of short windows pays one addition per bar.
class CancelPoll {
 public:
  static constexpr size_t kSteps = size_t{1} << 16;

  CancelPoll() : m_flag(cancel_detail::t_flag) {}

  void Step(size_t work) {
    m_budget += work;
    if (m_budget < kSteps) return;
    m_budget = 0;
    if (m_flag != nullptr && m_flag->load(std::memory_order_relaxed)) throw RunCancelled();
  }

 private:
  const std::atomic<bool>* m_flag;
  size_t m_budget = 0;
};
