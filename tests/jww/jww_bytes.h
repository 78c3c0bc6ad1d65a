// Small hand-built JWW/JWS byte images for the reader tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include <unistd.h>

#include "converter/jww/jww_records.h"

namespace parvex::testing {

struct Bytes {
  std::vector<uint8_t> b;

  Bytes& U8(uint8_t v) {
    b.push_back(v);
    return *this;
  }
  Bytes& U16(uint16_t v) { return Raw(&v, 2); }
  Bytes& I32(int32_t v) { return Raw(&v, 4); }
  Bytes& F64(double v) { return Raw(&v, 8); }
  // Kept out of line: inlined into long chains, GCC 12 reports false
  // overflows for vector insertion.
  [[gnu::noinline]] Bytes& Zeros(size_t n) {
    b.insert(b.end(), n, 0);
    return *this;
  }
  [[gnu::noinline]] Bytes& Raw(const void* p, size_t n) {
    const auto* c = static_cast<const uint8_t*>(p);
    b.insert(b.end(), c, c + n);
    return *this;
  }
  Bytes& Ascii(const std::string& s) { return Raw(s.data(), s.size()); }
  Bytes& Append(const Bytes& o) {
    b.insert(b.end(), o.b.begin(), o.b.end());
    return *this;
  }
  // Byte string with a one-byte length (short strings only).
  Bytes& Str(const std::string& s) {
    U8(static_cast<uint8_t>(s.size()));
    return Ascii(s);
  }
  size_t size() const { return b.size(); }
  std::span<const uint8_t> span() const { return b; }
};

// Header values the tests care about; everything else is written as zero.
struct HeaderValues {
  int32_t version = 600;
  std::string memo;
  std::string layerName0;
  int32_t screenColor[10] = {0xFFFFFF, 0xC0C000, 0, 0xC000, 0xC0C0, 0xC000C0, 0xFF, 0x808000, 0x8000FF, 0xC0C0C0};
  int32_t printerColor[10] = {0xFFFFFF, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  double printerRadius1 = 0.3;
  int32_t printerWord = 0;
  double mojiWidth0 = 2.5;
  double groupScale0 = 1.0;
  int32_t sxfColor1 = 0x0000FF;  // SXF colour 101 (red as a Windows value)
};

inline Bytes JwwHeader(const HeaderValues& v) {
  Bytes o;
  const int32_t ver = v.version;
  o.Ascii("JwwData.").I32(ver).Str(v.memo).I32(3).I32(0);
  for (int g = 0; g < 16; ++g) {
    o.I32(2).I32(0).F64(g == 0 ? v.groupScale0 : 1.0).I32(0);
    for (int l = 0; l < 16; ++l) o.I32(2).I32(0);
  }
  o.Zeros(56).Zeros(5 * 4).Zeros(4).I32(0);
  o.F64(0).F64(0).F64(1).I32(0).I32(0);
  o.F64(1).F64(1).F64(1).F64(0).F64(0);
  for (int i = 0; i < 256; ++i) o.Str(i == 0 ? v.layerName0 : "");
  for (int g = 0; g < 16; ++g) o.Str("");
  o.F64(0).F64(0).I32(0).F64(0);
  if (ver >= 300) o.F64(0).F64(0);
  o.I32(0);
  o.Zeros(6 * 8);
  if (ver >= 231) {
    for (int i = 1; i <= 8; ++i) o.F64(2.0).F64(0).F64(0).I32(i);
    o.Zeros(3 * 8).I32(0).Zeros(3 * 8).I32(0);
  } else {
    for (int i = 1; i <= 4; ++i) o.F64(2.0).F64(0).F64(0);
  }
  o.Zeros(10 * 8).F64(0);
  for (int c = 0; c < 10; ++c) o.I32(v.screenColor[c]).I32(1);
  for (int c = 0; c < 10; ++c) o.I32(v.printerColor[c]).I32(1).F64(c == 1 ? v.printerRadius1 : 0.2);
  o.Zeros(8 * 16).Zeros(5 * 20).Zeros(4 * 16);
  o.Zeros(10 * 4).I32(v.printerWord);
  if (ver >= 223) o.I32(0).Zeros(4 * 4).Zeros(5 * 8);
  if (ver >= 225) o.Zeros(4 * 8);
  if (ver >= 230) o.I32(0).I32(0);
  if (ver >= 420) {
    for (int c = 0; c < 257; ++c) o.I32(c == 1 ? v.sxfColor1 : 0).I32(0);
    for (int c = 0; c < 257; ++c) o.Str(c == 1 ? "sxf-red" : "").I32(c == 1 ? v.sxfColor1 : 0).I32(0).F64(0.25);
    o.Zeros(33 * 16);
    for (int t = 0; t < 33; ++t) o.Str("").I32(0).Zeros(10 * 8);
  }
  for (int k = 0; k < 10; ++k) o.F64(k == 0 ? v.mojiWidth0 : 3.0).F64(3.0).F64(0).I32(1);
  o.F64(3).F64(3).F64(0).I32(1).I32(1).F64(0).F64(0).I32(0);
  o.Zeros(6 * 8);
  return o;
}

inline Bytes JwsHeader(int32_t version, double bx, double by) {
  Bytes o;
  o.Ascii("JwsData").Zeros(193).I32(version).F64(bx).F64(by);
  for (int g = 0; g < 16; ++g) o.F64(g + 1.0);
  o.Zeros(6 * 4).Zeros(6 * 8).Zeros(4 * 8);
  return o;
}

// Entity records in file layout for a given version.
struct Rec {
  int32_t version = 600;

  Bytes Attr(const TEntJwwAttr& a) const {
    Bytes o;
    o.I32(static_cast<int32_t>(a.lGroup)).U8(a.nPenStyle).U16(a.nPenColor);
    if (version > 350) o.U16(a.nPenWidth);
    o.U16(a.nLayer).U16(a.nGLayer).U16(a.sFlg);
    return o;
  }
  Bytes Line(double x1, double y1, double x2, double y2, TEntJwwAttr a = {}) const {
    return Attr(a).F64(x1).F64(y1).F64(x2).F64(y2);
  }
  Bytes Ten(double x, double y, uint8_t style = 1) const {
    TEntJwwAttr a;
    a.nPenStyle = style;
    Bytes o = Attr(a).F64(x).F64(y).I32(0);
    if (style == 100) o.I32(7).F64(0.5).F64(2.0);
    return o;
  }
  Bytes Moji(double x, double y, double ex, double ey, const std::string& text,
             double sizeY = 3.0) const {
    return Attr({}).F64(x).F64(y).F64(ex).F64(ey).I32(1).F64(3).F64(sizeY).F64(0).F64(0)
        .Str("font").Str(text);
  }
  Bytes Solid(uint16_t color, int32_t own = 0) const {
    TEntJwwAttr a;
    a.nPenColor = color;
    Bytes o = Attr(a).F64(0).F64(0).F64(1).F64(0).F64(1).F64(1).F64(0).F64(1);
    if (color == 10) o.I32(own);
    return o;
  }
  Bytes Block(double x, double y, uint32_t number, double sx = 1, double sy = 1,
              double rot = 0) const {
    return Attr({}).F64(x).F64(y).F64(sx).F64(sy).F64(rot).I32(static_cast<int32_t>(number));
  }
  Bytes Sunpo(TEntJwwAttr a) const {
    Bytes o = Attr(a);
    o.Append(Line(0, 0, 10, 0, a));
    o.Append(Moji(1, 1, 5, 1, "10"));
    if (version >= 420) {
      o.U16(1).Append(Line(0, 0, 0, 5, a)).Append(Line(10, 0, 10, 5, a));
      for (int i = 0; i < 4; ++i) o.Append(Ten(i, 0));
    }
    return o;
  }
};

inline Bytes NewClass(const std::string& name) {
  Bytes o;
  o.U16(0xFFFF).U16(1).U16(static_cast<uint16_t>(name.size())).Ascii(name);
  return o;
}

inline Bytes ClassRef(int index) {
  Bytes o;
  o.U16(static_cast<uint16_t>(0x8000 + index));
  return o;
}

inline Bytes Count(int32_t n) {
  Bytes o;
  if (n < 0xFFFF) {
    o.U16(static_cast<uint16_t>(n));
  } else {
    o.U16(0xFFFF).I32(n);
  }
  return o;
}

// A folder below the system temporary folder, removed with its contents
// when the object goes.
class TempDir {
 public:
  TempDir() {
    path_ = std::filesystem::temp_directory_path() /
            ("parvex_jww_" + std::to_string(::getpid()) + "_" + std::to_string(counter_++));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path Write(const std::string& name, const Bytes& b) const {
    auto p = path_ / name;
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.b.data()), static_cast<std::streamsize>(b.size()));
    return p;
  }

 private:
  static inline int counter_ = 0;
  std::filesystem::path path_;
};

}  // namespace parvex::testing
