#pragma once
// Gives a variable a value for the life of a scope and puts the old one back when the scope
// ends, whichever way it ends: for flags (busy, polling) and nesting counters (depth + 1).
#include <utility>

namespace qvr {

template <typename T>
class ScopedValue {
 public:
  ScopedValue(T& target, T value) : target_(target), saved_(std::exchange(target, value)) {}
  ~ScopedValue() { target_ = saved_; }
  ScopedValue(const ScopedValue&) = delete;
  ScopedValue& operator=(const ScopedValue&) = delete;

 private:
  T& target_;
  T saved_;
};

}  // namespace qvr
