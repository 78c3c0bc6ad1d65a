#include "converter/dxf/dxf_writer.h"

#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>

#include "common/platform/codepage.h"
#include "converter/dxf/dxf_text.h"

namespace parvex {
namespace {

// x rounded to 15 significant digits: the digits (trailing zeros dropped,
// at least one) and the decimal exponent of the first digit.
struct Digits15 {
  char d[16];
  int n = 0;
  int exp10 = 0;
  bool neg = false;
};

// Digits and exponent from to_chars scientific output "-d.ddde+XX".
Digits15 ParseScientific(const char* p, const char* end) {
  Digits15 r;
  if (*p == '-') {
    r.neg = true;
    ++p;
  }
  r.d[r.n++] = *p++;
  if (*p == '.') {
    ++p;
    while (*p != 'e' && r.n < 16) r.d[r.n++] = *p++;
  }
  while (*p != 'e') ++p;
  ++p;
  int e = 0;
  std::from_chars(*p == '+' ? p + 1 : p, end, e);
  r.exp10 = e;
  while (r.n > 1 && r.d[r.n - 1] == '0') --r.n;
  return r;
}

Digits15 Round15(double x) {
  char buf[40];
  auto res = std::to_chars(buf, buf + sizeof(buf), x, std::chars_format::scientific, 14);
  return ParseScientific(buf, res.ptr);
}

// The general text form of 15 significant digits.
std::size_t FormatGeneral(const Digits15& g, char* out) {
  char* o = out;
  if (g.n == 1 && g.d[0] == '0') {
    *o++ = '0';
    return 1;
  }
  if (g.neg) *o++ = '-';
  int e = g.exp10;
  if (e >= -4 && e <= 14) {
    if (e < 0) {
      *o++ = '0';
      *o++ = '.';
      for (int i = -1; i > e; --i) *o++ = '0';
      for (int i = 0; i < g.n; ++i) *o++ = g.d[i];
    } else {
      for (int i = 0; i <= e; ++i) *o++ = i < g.n ? g.d[i] : '0';
      if (g.n > e + 1) {
        *o++ = '.';
        for (int i = e + 1; i < g.n; ++i) *o++ = g.d[i];
      }
    }
  } else {
    *o++ = g.d[0];
    if (g.n > 1) {
      *o++ = '.';
      for (int i = 1; i < g.n; ++i) *o++ = g.d[i];
    }
    *o++ = 'E';
    auto res = std::to_chars(o, o + 6, e);
    o = res.ptr;
  }
  return static_cast<std::size_t>(o - out);
}

char* PadInt(char* out, int v, int width) {
  char tmp[16];
  auto res = std::to_chars(tmp, tmp + sizeof(tmp), v);
  int len = static_cast<int>(res.ptr - tmp);
  for (int i = len; i < width; ++i) *out++ = ' ';
  std::memcpy(out, tmp, static_cast<std::size_t>(len));
  return out + len;
}

int IntWidth(int code) {
  if ((code >= 60 && code <= 79) || (code >= 170 && code <= 179) ||
      (code >= 270 && code <= 299) || (code >= 370 && code <= 389) || code == 1070) {
    return 6;
  }
  if ((code >= 90 && code <= 99) || code == 1071) return 9;
  return 0;
}

}  // namespace

std::size_t RealToChars(double x, char* buf) {
  if (!std::isfinite(x) || std::fabs(x) <= 1e-14) {
    std::memcpy(buf, "0.0", 3);
    return 3;
  }
  Digits15 g = Round15(x);
  char* o = buf;
  if (g.exp10 >= -4 && g.exp10 <= 14) {
    // Fixed-point. Only values below 1 have digits beyond 1e-14 that the
    // snap can change; from 1 on the 15 digits end at or above 1e-14.
    if (g.exp10 < 0) {
      // Below 1 the 15 digits reach past 1e-14: read them back as a number
      // v and snap it, n = Int(|v| / 1e-14 + 0.5). The snapped value is
      // n * 1e-14 with n below 1e14, whose 15 digits are those of n, so the
      // text is n with 14 decimals (trailing zeros dropped).
      // The digits as an integer D (below 2^53, so exact) over a power of
      // ten (exact up to 1e22): one correctly rounded division gives the
      // double nearest to the 15-digit text.
      static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,
                                          1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13,
                                          1e14, 1e15, 1e16, 1e17, 1e18, 1e19};
      std::uint64_t digits = 0;
      for (int i = 0; i < g.n; ++i) digits = digits * 10 + static_cast<unsigned>(g.d[i] - '0');
      const double v = static_cast<double>(digits) / kPow10[(g.n - 1) - g.exp10];
      const double q = std::trunc(v / 1e-14 + 0.5);
      const std::uint64_t n = static_cast<std::uint64_t>(q);
      if (n == 0) {
        std::memcpy(buf, "0.0", 3);
        return 3;
      }
      if (g.neg) *o++ = '-';
      if (n >= 100000000000000ULL) {
        std::memcpy(o, "1.0", 3);
        return static_cast<std::size_t>(o + 3 - buf);
      }
      char frac[16];
      std::uint64_t r = n;
      for (int i = 13; i >= 0; --i) {
        frac[i] = static_cast<char>('0' + r % 10);
        r /= 10;
      }
      int len = 14;
      while (len > 1 && frac[len - 1] == '0') --len;
      *o++ = '0';
      *o++ = '.';
      std::memcpy(o, frac, static_cast<std::size_t>(len));
      return static_cast<std::size_t>(o + len - buf);
    }
    o += FormatGeneral(g, o);
    bool point = false;
    for (char* p = buf; p < o; ++p) {
      if (*p == '.') point = true;
    }
    if (!point) {
      *o++ = '.';
      *o++ = '0';
    }
    return static_cast<std::size_t>(o - buf);
  }
  // Scientific: the mantissa lies in [1, 10) with at most 14 decimals, so
  // snapping it to 1e-14 leaves its digits unchanged.
  if (g.neg) *o++ = '-';
  *o++ = g.d[0];
  *o++ = '.';
  if (g.n > 1) {
    for (int i = 1; i < g.n; ++i) *o++ = g.d[i];
  } else {
    *o++ = '0';
  }
  *o++ = 'E';
  auto res = std::to_chars(o, o + 6, g.exp10);
  return static_cast<std::size_t>(res.ptr - buf);
}

std::string RealToStr(double x) {
  char buf[kRealBufSize];
  return std::string(buf, RealToChars(x, buf));
}

std::string HandleToStr(std::uint32_t h) {
  char buf[12];
  auto res = std::to_chars(buf, buf + sizeof(buf), h, 16);
  for (char* p = buf; p < res.ptr; ++p) {
    if (*p >= 'a' && *p <= 'f') *p = static_cast<char>(*p - 'a' + 'A');
  }
  return std::string(buf, res.ptr);
}

// ---------------------------------------------------------------------------

bool DxfFdOutput::Write(const char* data, std::size_t n) {
  while (n > 0) {
    ssize_t k = ::write(fd_, data, n);
    if (k < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (k == 0) return false;
    data += k;
    n -= static_cast<std::size_t>(k);
  }
  return true;
}

// ---------------------------------------------------------------------------

DxfTextSink::DxfTextSink(DxfByteOutput& out, std::size_t bufferSize)
    : out_(out), buf_(new char[bufferSize < 4096 ? 4096 : bufferSize]),
      cap_(bufferSize < 4096 ? 4096 : bufferSize) {}

void DxfTextSink::Spill() {
  if (used_ == 0) return;
  // After a failure the bytes are dropped; only the count goes on.
  if (ok_ && !out_.Write(buf_.get(), used_)) ok_ = false;
  written_ += used_;
  used_ = 0;
}

void DxfTextSink::PairSlow(int code, std::string_view value) {
  char codeText[16];
  const char* cl;
  std::size_t clen;
  if (code >= 0 && code < DxfCodeLines::kCount) {
    cl = kDxfCodeLines.text[code];
    clen = kDxfCodeLines.len[code];
  } else {
    char* o = PadInt(codeText, code, 3);
    *o++ = '\r';
    *o++ = '\n';
    cl = codeText;
    clen = static_cast<std::size_t>(o - codeText);
  }
  std::size_t need = clen + value.size() + 2;
  // 8 bytes are copied for the code line whatever its length.
  if (used_ + need + 8 > cap_) {
    Spill();
    if (need > cap_) {
      // A value larger than the buffer goes out directly.
      std::string line(cl, clen);
      line.append(value);
      line += "\r\n";
      if (ok_ && !out_.Write(line.data(), line.size())) ok_ = false;
      written_ += line.size();
      return;
    }
  }
  char* o = buf_.get() + used_;
  if (clen <= 8) {
    std::memcpy(o, cl, 8);  // the table rows are 8 bytes wide
  } else {
    std::memcpy(o, cl, clen);
  }
  o += clen;
  if (!value.empty()) std::memcpy(o, value.data(), value.size());
  o += value.size();
  o[0] = '\r';
  o[1] = '\n';
  used_ += need;
}

bool DxfTextSink::Flush() {
  Spill();
  return ok_;
}

// ---------------------------------------------------------------------------

std::string DxfWriter::Encode(std::u16string_view s) const {
  if (ver_ == 2) return platform::ToUtf8(s);
  return platform::EncodeCp932(s);
}

std::string DxfWriter::EncodeName(std::u16string_view s) const {
  if (ver_ == 0) return Encode(dxftext::UpperText(s));
  return Encode(s);
}

void DxfWriter::Text(int code, std::u16string_view s) { Emit(code, Encode(s)); }

void DxfWriter::Name(int code, std::u16string_view s) { Emit(code, EncodeName(s)); }

void DxfWriter::Int(int code, int v) {
  char buf[16];
  char* o = PadInt(buf, v, IntWidth(code));
  Emit(code, std::string_view(buf, static_cast<std::size_t>(o - buf)));
}

void DxfWriter::IntPlain(int code, int v) {
  char buf[16];
  auto res = std::to_chars(buf, buf + sizeof(buf), v);
  Emit(code, std::string_view(buf, static_cast<std::size_t>(res.ptr - buf)));
}

void DxfWriter::Ints(std::initializer_list<std::pair<int, int>> groups) {
  for (const auto& [code, v] : groups) Int(code, v);
}

void DxfWriter::Reals(std::initializer_list<std::pair<int, double>> groups) {
  for (const auto& [code, x] : groups) Real(code, x);
}

void DxfWriter::Codes(std::initializer_list<std::pair<int, std::string_view>> groups) {
  for (const auto& [code, text] : groups) Code(code, text);
}

void DxfWriter::Real(int code, double x) {
  if (!std::isfinite(x)) ++nonFinite_;
  char buf[kRealBufSize];
  Emit(code, std::string_view(buf, RealToChars(x, buf)));
}

void DxfWriter::Handle(int code, std::uint32_t h) {
  char buf[12];
  auto res = std::to_chars(buf, buf + sizeof(buf), h, 16);
  for (char* p = buf; p < res.ptr; ++p) {
    if (*p >= 'a' && *p <= 'f') *p = static_cast<char>(*p - 'a' + 'A');
  }
  Emit(code, std::string_view(buf, static_cast<std::size_t>(res.ptr - buf)));
}

void DxfWriter::XY(double x, double y) {
  Real(10, x);
  Real(20, y);
}

void DxfWriter::XYZ(double x, double y, double z) {
  Real(10, x);
  Real(20, y);
  Real(30, z);
}

void DxfWriter::Point(int n, double x, double y, double z) {
  Real(10 + n, x);
  Real(20 + n, y);
  Real(30 + n, z);
}

void DxfWriter::Comment(std::u16string_view s) { Text(999, s); }

void DxfWriter::BeginSection(std::string_view name) {
  Code(0, "SECTION");
  Code(2, name);
}

void DxfWriter::EndSection() { Code(0, "ENDSEC"); }

}  // namespace parvex
