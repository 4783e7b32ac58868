// Scope ownership of handles, keys and other resources released by a function.
#pragma once
#include <utility>

namespace cv {

// Owns a value of type T and releases it with Traits::Close unless it equals
// Traits::Invalid(). Move-only.
template <typename T, typename Traits>
class UniqueResource {
 public:
  UniqueResource() noexcept : value_(Traits::Invalid()) {}
  explicit UniqueResource(T value) noexcept : value_(value) {}
  UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  ~UniqueResource() { reset(); }

  T get() const noexcept { return value_; }
  explicit operator bool() const noexcept { return value_ != Traits::Invalid(); }
  T release() noexcept { return std::exchange(value_, Traits::Invalid()); }
  void reset(T value = Traits::Invalid()) noexcept {
    T old = std::exchange(value_, value);
    if (old != Traits::Invalid()) Traits::Close(old);
  }
  // For out-parameters of creating calls: releases the current value first.
  T* put() noexcept {
    reset();
    return &value_;
  }

 private:
  T value_;
};

}  // namespace cv
