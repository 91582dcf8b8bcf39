#pragma once
// Which calls of one host operation fail, for tests that drive the plug-in
// through its failure paths.
#include <cstdint>
#include <set>

#include "kiv/kiv_abi.h"

namespace kivhost {

class FaultPlan {
public:
  explicit FaultPlan(KivResult result = kKivResult_OutOfMemory) : result_(result) {}

  // The n-th call from now fails, once (1 is the next call; 0 does nothing).
  // Several may be planned.
  void FailNth(std::uint64_t n) {
    if (n != 0) failAt_.insert(calls_ + n);
  }
  // The next n calls succeed, every later one fails.
  void FailAfter(std::uint64_t n) {
    failFrom_ = calls_ + n + 1;
    failFromSet_ = true;
  }
  void FailAlways() { FailAfter(0); }
  void Clear() {
    failAt_.clear();
    failFromSet_ = false;
  }

  // What a failing call answers, where the operation returns a result.
  void SetResult(KivResult result) { result_ = result; }
  KivResult Result() const { return result_; }

  // Called once per guarded call: counts the call and tells whether it fails.
  bool Fails() {
    ++calls_;
    const bool fails = failAt_.erase(calls_) > 0 || (failFromSet_ && calls_ >= failFrom_);
    if (fails) ++failures_;
    return fails;
  }

  std::uint64_t Calls() const { return calls_; }
  std::uint64_t Failures() const { return failures_; }

private:
  KivResult result_;
  std::uint64_t calls_ = 0;
  std::uint64_t failures_ = 0;
  std::set<std::uint64_t> failAt_;
  std::uint64_t failFrom_ = 0;
  bool failFromSet_ = false;
};

}  // namespace kivhost
