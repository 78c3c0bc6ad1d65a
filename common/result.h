// The one way an operation that can fail reports back: a value, or the
// reason it could not produce one, in words for the person who ran the
// program. Readers, the DXF model and writer, the converter run and the
// command line all return these; nothing signals failure through an empty
// string, a side field or an escaping exception. The only exceptions are
// the standard library's (running out of memory above all): they pass
// through the code unseen and CatchAll turns them into a failure once, at
// the top of a program's work.
#pragma once

#include <cassert>
#include <exception>
#include <new>
#include <string>
#include <utility>
#include <variant>

namespace parvex {

struct Failure {
  std::string reason;
};

inline Failure Fail(std::string reason) { return Failure{std::move(reason)}; }

template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
  Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

  bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }

  T& value() & {
    assert(ok());
    return std::get<0>(state_);
  }
  const T& value() const& {
    assert(ok());
    return std::get<0>(state_);
  }
  T&& value() && {
    assert(ok());
    return std::get<0>(std::move(state_));
  }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }

  // Empty when ok().
  const std::string& reason() const {
    static const std::string none;
    return ok() ? none : std::get<1>(state_).reason;
  }
  Failure failure() const { return Failure{reason()}; }

 private:
  std::variant<T, Failure> state_;
};

template <>
class [[nodiscard]] Result<void> {
 public:
  Result() = default;
  Result(Failure failure) : failed_(true), reason_(std::move(failure.reason)) {}

  bool ok() const { return !failed_; }
  explicit operator bool() const { return ok(); }
  // Empty when ok().
  const std::string& reason() const { return reason_; }
  Failure failure() const { return Failure{reason_}; }

 private:
  bool failed_ = false;
  std::string reason_;
};

// Success or the reason for failure, for operations that produce no value.
using Status = Result<void>;

inline Status Ok() { return {}; }

// Runs work() (which returns a Status) and gives its result, or a failure
// when an exception escapes it: "not enough memory" for std::bad_alloc,
// "internal error: ..." for any other.
template <class Work>
Status CatchAll(Work&& work) {
  try {
    return work();
  } catch (const std::bad_alloc&) {
    return Fail("not enough memory");
  } catch (const std::exception& e) {
    return Fail(std::string("internal error: ") + e.what());
  }
}

}  // namespace parvex
