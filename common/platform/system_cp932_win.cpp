#include <windows.h>

#include "common/platform/system_cp932.h"

namespace parvex::platform::detail {

namespace {

constexpr UINT kCodePage = 932;

}  // namespace

SystemCp932::SystemCp932() {
  // Any non-null value marks the converter as present; the Win32 calls
  // keep no state of ours.
  if (IsValidCodePage(kCodePage)) converter_ = this;
}

SystemCp932::~SystemCp932() = default;

bool SystemCp932::Available() const { return converter_ != nullptr; }

const char* SystemCp932::WhatIsMissing() { return "Windows reports code page 932 as not installed"; }

bool SystemCp932::DecodeOne(std::string_view bytes, char16_t& out) {
  if (converter_ == nullptr || bytes.empty() || bytes.size() > 2) return false;
  wchar_t buf[4];
  // Undefined sequences fail instead of turning into a default character.
  const int n = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(),
                                    static_cast<int>(bytes.size()), buf, 4);
  if (n != 1) return false;
  out = static_cast<char16_t>(buf[0]);
  return true;
}

}  // namespace parvex::platform::detail
