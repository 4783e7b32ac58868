// The error convention of the Windows adapters: the Windows error code is
// captured right at the failing call and travels with the result. Actions
// return that code (0 on success); calls that produce a value return a
// Result, which holds either the value or the code.
#pragma once
#include <cstdint>
#include <optional>
#include <utility>

namespace cv {

// The Windows error of a failed call (never 0).
struct Failure {
  uint32_t code;
};

template <typename T>
class Result {
 public:
  Result(T value) : value_(std::move(value)) {}
  Result(Failure failure) : error_(failure.code != 0 ? failure.code : kUnknownError) {}

  bool ok() const { return value_.has_value(); }
  explicit operator bool() const { return ok(); }
  // 0 when there is a value.
  uint32_t error() const { return error_; }

  T& value() & { return *value_; }
  const T& value() const& { return *value_; }
  T&& value() && { return std::move(*value_); }
  T value_or(T fallback) const& { return value_ ? *value_ : std::move(fallback); }
  T* operator->() { return &*value_; }
  const T* operator->() const { return &*value_; }
  T& operator*() & { return *value_; }
  const T& operator*() const& { return *value_; }

 private:
  // A failing call that left no error code still must not read as success
  // (ERROR_GEN_FAILURE).
  static constexpr uint32_t kUnknownError = 31;

  std::optional<T> value_;
  uint32_t error_ = 0;
};

}  // namespace cv
