#include "converter/dxf/dxf_writer.h"

#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>

#include "common/platform/codepage.h"
#include "converter/dxf/dxf_text.h"
#include "converter/dxf/real_text.h"

namespace parvex {
namespace {

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
  static_assert(kRealBufSize >= kRealTextBufSize);
  return WriteRealText(x, buf);
}

std::string RealToStr(double x) {
  char buf[kRealBufSize];
  return std::string(buf, RealToChars(x, buf));
}

// ---------------------------------------------------------------------------

Status DxfFdOutput::Write(const char* data, std::size_t n) {
  while (n > 0) {
    ssize_t k = ::write(fd_, data, n);
    if (k < 0) {
      if (errno == EINTR) continue;
      return Fail(std::strerror(errno));
    }
    if (k == 0) return Fail("the file takes no more bytes");
    data += k;
    n -= static_cast<std::size_t>(k);
  }
  return Ok();
}

// ---------------------------------------------------------------------------

DxfTextSink::DxfTextSink(DxfByteOutput& out, std::size_t bufferSize)
    : out_(out), buf_(new char[bufferSize < 4096 ? 4096 : bufferSize]),
      cap_(bufferSize < 4096 ? 4096 : bufferSize) {}

void DxfTextSink::Spill() {
  if (used_ == 0) return;
  // After a failure the bytes are dropped; only the count goes on.
  if (status_) status_ = out_.Write(buf_.get(), used_);
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
      if (status_) status_ = out_.Write(line.data(), line.size());
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

void DxfTextSink::Append(std::string_view bytes) {
  // Small pieces are gathered; a large one (a chunk another thread
  // formatted) goes out as it is rather than being copied first.
  if (used_ + bytes.size() <= cap_ && bytes.size() < cap_ / 8) {
    if (!bytes.empty()) std::memcpy(buf_.get() + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
    return;
  }
  // Larger than the room left: out directly, after what is buffered.
  Spill();
  if (status_) status_ = out_.Write(bytes.data(), bytes.size());
  written_ += bytes.size();
}

Status DxfTextSink::Flush() {
  Spill();
  return status_;
}

// ---------------------------------------------------------------------------

std::string DxfWriter::Encode(std::u16string_view s) const {
  if (ver_ == DxfVersion::R2007) return platform::ToUtf8(s);
  return platform::EncodeCp932(s);
}

std::string DxfWriter::EncodeName(std::u16string_view s) const {
  if (ver_ == DxfVersion::R12) return Encode(dxftext::UpperText(s));
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

void DxfWriter::RealAtMost(int code, double x, double limit) {
  double v = x > limit ? limit : x;
  for (int step = 0; step < 4 && std::isfinite(v) && v != 0; ++step) {
    char buf[kRealBufSize];
    const std::size_t n = RealToChars(v, buf);
    double back = 0;
    std::from_chars(buf, buf + n, back);
    if (back <= limit) break;
    v -= std::pow(10.0, std::floor(std::log10(std::fabs(v))) - 14);
  }
  Real(code, v);
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
