#include <iconv.h>

#include "common/platform/system_cp932.h"

namespace parvex::platform::detail {

namespace {

iconv_t Converter(void* p) { return static_cast<iconv_t>(p); }
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

}  // namespace

SystemCp932::SystemCp932() {
  iconv_t cd = iconv_open("UTF-16LE", "CP932");
  if (cd != kNoConverter) converter_ = cd;
}

SystemCp932::~SystemCp932() {
  if (converter_ != nullptr) iconv_close(Converter(converter_));
}

bool SystemCp932::Available() const { return converter_ != nullptr; }

const char* SystemCp932::WhatIsMissing() { return "its iconv knows no \"CP932\""; }

bool SystemCp932::DecodeOne(std::string_view bytes, char16_t& out) {
  if (converter_ == nullptr) return false;
  iconv_t cd = Converter(converter_);
  char in[2];
  if (bytes.empty() || bytes.size() > sizeof in) return false;
  bytes.copy(in, bytes.size());
  char* inPtr = in;
  size_t inLeft = bytes.size();
  char buf[8];
  char* outPtr = buf;
  size_t outLeft = sizeof(buf);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  if (r == static_cast<size_t>(-1) || inLeft != 0) return false;
  if (sizeof(buf) - outLeft != 2) return false;  // only BMP single code units
  out = static_cast<char16_t>(static_cast<unsigned char>(buf[0]) |
                              (static_cast<unsigned char>(buf[1]) << 8));
  return true;
}

}  // namespace parvex::platform::detail
