// The system's own code page 932 converter, from which codepage.cpp builds
// its tables once: glibc's iconv on Linux, the Win32 code-page calls on
// Windows. Only codepage.cpp uses it.
#pragma once

#include <string_view>

namespace parvex::platform::detail {

class SystemCp932 {
 public:
  SystemCp932();
  ~SystemCp932();
  SystemCp932(const SystemCp932&) = delete;
  SystemCp932& operator=(const SystemCp932&) = delete;

  // False when the system has no converter for the code page.
  bool Available() const;
  // What the system lacks when Available() is false, for the refusal.
  static const char* WhatIsMissing();
  // Decodes `bytes` (one or two bytes) when they form exactly one
  // character of the Basic Multilingual Plane.
  bool DecodeOne(std::string_view bytes, char16_t& out);

 private:
  void* converter_ = nullptr;
};

}  // namespace parvex::platform::detail
