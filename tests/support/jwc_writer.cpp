#include "tests/support/jwc_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "common/number_text.h"
#include "common/platform/codepage.h"

namespace parvex::testing {
namespace {

class Out {
 public:
  template <class T>
  void Put(T v) {
    char b[sizeof(T)];
    std::memcpy(b, &v, sizeof(T));
    s.append(b, sizeof(T));
  }
  void Bytes(const std::string& b) { s += b; }
  // `text` in code page 932, cut or NUL-padded to n bytes.
  void Field(std::u16string_view text, size_t n) { Fixed(platform::EncodeCp932(text), n); }
  void Fixed(std::string b, size_t n) {
    b.resize(n, '\0');
    s += b;
  }
  size_t Size() const { return s.size(); }

  std::string s;
};

std::string Num(double v) { return platform::EncodeCp932(FloatToText(v)); }
std::string Num(int64_t v) { return std::to_string(v); }

// Comma-separated fields of a header block.
class Fields {
 public:
  template <class T>
  Fields& operator<<(T v) {
    if (!text.empty()) text += ',';
    if constexpr (std::is_floating_point_v<T>) {
      text += Num(static_cast<double>(v));
    } else {
      text += Num(static_cast<int64_t>(v));
    }
    return *this;
  }
  std::string text;
};

int64_t Stated(const std::optional<int64_t>& stated, size_t actual) {
  return stated.value_or(static_cast<int64_t>(actual));
}

void WriteIdBlock(Out& out, const std::u16string& id, const std::u16string& c1,
                  const std::u16string& c2) {
  std::string block = platform::EncodeCp932(id);
  block.resize(40, '\0');
  std::string comment1 = platform::EncodeCp932(c1), comment2 = platform::EncodeCp932(c2);
  comment1.resize(32, '\0');
  comment2.resize(32, '\0');
  out.Fixed(block + comment1 + comment2, kJwcHeaderBlockBytes);
}

float InUnits(float mm, double unit) { return static_cast<float>(mm / unit); }

void WriteLines(Out& out, const std::vector<TEntJwcLine>& lines, double unit) {
  for (const TEntJwcLine& l : lines) {
    for (float v : {l.x1, l.y1, l.x2, l.y2}) out.Put(InUnits(v, unit));
    for (uint8_t b : {l.typ, l.col, l.lay, l.flg1, l.flg2, l.flg3}) out.Put(b);
  }
}

void WriteArcs(Out& out, const std::vector<TEntJwcArc2>& arcs, double unit) {
  for (const TEntJwcArc2& a : arcs) {
    for (float v : {a.x, a.y, a.r}) out.Put(InUnits(v, unit));
    out.Put(static_cast<uint16_t>(std::clamp(std::lround(a.h * 10000.0), 0L, 65535L)));
    for (float v : {a.st, a.et, a.tt}) out.Put(static_cast<int32_t>(std::lround(v * 65536.0)));
    for (uint8_t b : {a.typ, a.col, a.lay, a.flg1, a.flg2, a.flg3}) out.Put(b);
  }
}

void WritePoints(Out& out, const std::vector<TEntJwcTen>& points, double unit) {
  for (const TEntJwcTen& t : points) {
    out.Put(InUnits(t.x, unit));
    out.Put(InUnits(t.y, unit));
    for (uint8_t b : {t.lay, t.col, t.flg1, t.flg2}) out.Put(b);
  }
}

// The pool and each text's address within it (relative to its start).
struct Pool {
  std::string bytes;
  std::vector<int64_t> at;
};

Pool LayOutPool(const std::vector<TEntJwcMoji2>& texts, const JwcWriteOptions& o, int64_t base) {
  Pool pool;
  if (o.pool) {
    pool.bytes = *o.pool;
    for (const TEntJwcMoji2& m : texts) pool.at.push_back(m.p - base);
    return pool;
  }
  for (const TEntJwcMoji2& m : texts) {
    pool.at.push_back(static_cast<int64_t>(pool.bytes.size()));
    pool.bytes += platform::EncodeCp932(m.s);
    pool.bytes += '\0';
  }
  return pool;
}

// Text records; `address(i)` gives the two address words of text i.
template <class Address>
void WriteTexts(Out& out, const std::vector<TEntJwcMoji2>& texts, double unit, Address address) {
  for (size_t i = 0; i < texts.size(); ++i) {
    const TEntJwcMoji2& m = texts[i];
    for (float v : {m.x1, m.y1, m.x2, m.y2}) out.Put(InUnits(v, unit));
    const auto [first, second] = address(i);
    out.Put(first);
    out.Put(second);
    for (uint8_t b : {m.no, m.lay, m.flg1, m.flg2}) out.Put(b);
  }
}

// A linear address (below 0x10FFF0) as segment and offset: the given
// segment where the offset fits in a Word, else the highest segment that
// reaches it.
struct SegOff {
  uint16_t offset, segment;
};
SegOff Split(int64_t linear, int64_t segment) {
  if (segment > 0xFFFF || linear - segment * 16 < 0 || linear - segment * 16 > 0xFFFF) {
    segment = std::min<int64_t>(linear >> 4, 0xFFFF);
  }
  return {static_cast<uint16_t>(linear - segment * 16), static_cast<uint16_t>(segment)};
}

std::string AddressText(int64_t linear) {
  const SegOff a = Split(linear, linear >> 4);
  char b[16];
  std::snprintf(b, sizeof b, "%04X:%04X", a.segment, a.offset);
  return b;
}

void WriteHeaderBlock(Out& out, const std::string& text) { out.Fixed(text, kJwcHeaderBlockBytes); }

}  // namespace

std::string WriteJwc(const TJwcData& d, const JwcWriteOptions& o, JwcLayout* layout) {
  const TEntJwcHeader& h = d.Enthd;
  const double unit = JwcDataUnit(h.psize, h.drawWidth);
  const bool singles = h.jwID.size() > 22 && h.jwID[22] == u'f';
  const int64_t base = o.pool_address;
  const Pool pool = LayOutPool(d.EntMoji, o, base);
  JwcLayout at;
  Out out;
  WriteIdBlock(out, h.jwID, h.comment1, h.comment2);

  at.header2 = out.Size();
  Fields f2;
  f2 << Stated(o.stated_lines, d.EntLine.size()) << Stated(o.stated_arcs, d.EntArc.size())
     << Stated(o.stated_texts, d.EntMoji.size()) << Stated(o.stated_points, d.EntTen.size())
     << h.vtenCount << h.curFno << h.curMfno << h.curMlcol << h.curMpcol << h.wLayScale
     << h.wLayNo << h.psize << h.lcol << h.ltyp << h.plotOrgX << h.plotOrgY << h.lpitch1
     << h.lpitch2 << h.drawtime;
  for (int32_t w : h.penWidth) f2 << w;
  f2 << h.gridX << h.gridY << h.gridOrgX << h.gridOrgY << h.gridScale << h.drawWidth << h.flgPthin;
  WriteHeaderBlock(out, o.header2 ? *o.header2 : f2.text);

  Fields f3;
  f3 << h.mvDist << h.mtDist << h.arLen << h.arAng << h.locMR << h.flgMconma << h.flgMzeros
     << h.typLside << h.mvUnit << h.mvKeta << h.sOfsetXL << h.sOfsetXM << h.sOfsetXR
     << h.sOfsetYD << h.sOfsetYM << h.sOfsetYT << h.s1len << h.sOrgXm << h.sOrgYm << h.dlinDistB;
  for (float v : h.dlinDist) f3 << v;
  f3 << h.svScrnOX << h.svScrnOY << h.svScrnScl;
  WriteHeaderBlock(out, f3.text);

  const int64_t poolSize = Stated(o.stated_pool, pool.bytes.size());
  std::string f4 = AddressText(base) + "," + AddressText(base + poolSize);
  Fields rest;
  for (const TEntJwcSubZoom& z : h.subZm) rest << z.X << z.Y << z.S;
  rest << h.hiIdo << h.hiHi << h.hiTaka << h.flgHok << h.flg25Dm;
  WriteHeaderBlock(out, f4 + "," + rest.text);

  at.tables = out.Size();
  for (const TEntJwcVten& v : d.EntVten) out.Put(InUnits(v.x, unit));
  for (const TEntJwcVten& v : d.EntVten) out.Put(InUnits(v.y, unit));
  for (const TEntJwcVten& v : d.EntVten) out.Put(v.lay);
  for (uint16_t TEntJwcMojiType::*field :
       {&TEntJwcMojiType::penNo, &TEntJwcMojiType::width, &TEntJwcMojiType::height,
        &TEntJwcMojiType::dist}) {
    for (int k = 0; k < kJwcTextKindsInFile; ++k) out.Put(d.EntMjtp[k].*field);
  }
  for (const TEntJwcLayerGroup& g : d.EntLgrp) {
    if (singles) {
      out.Put(g.scale);
    } else {
      out.Put(static_cast<uint16_t>(std::clamp(std::lround(g.scale), 0L, 65535L)));
    }
  }
  for (const TEntJwcLayerGroup& g : d.EntLgrp) out.Put(g.srchF);
  for (const TEntJwcLayer& l : d.EntLay) out.Put(l.srchF);
  for (const TEntJwcLayerGroup& g : d.EntLgrp) out.Put(g.dispF);
  for (const TEntJwcLayer& l : d.EntLay) out.Put(l.dispF);
  for (const TEntJwcLayerGroup& g : d.EntLgrp) out.Put(g.w_lay);

  at.lines = out.Size();
  WriteLines(out, d.EntLine, unit);
  at.arcs = out.Size();
  WriteArcs(out, d.EntArc, unit);
  at.texts = out.Size();
  const int64_t segment = base >> 4;
  WriteTexts(out, d.EntMoji, unit, [&](size_t i) {
    const SegOff a = Split(base + pool.at[i], segment);
    return std::pair{a.offset, a.segment};
  });
  at.pool = out.Size();
  out.Bytes(pool.bytes);
  at.points = out.Size();
  WritePoints(out, d.EntTen, unit);
  at.names = out.Size();
  for (const TEntJwcLayer& l : d.EntLay) out.Field(l.name, 8);
  for (const TEntJwcLayerGroup& g : d.EntLgrp) out.Field(g.name, 16);
  at.end = out.Size();
  if (layout != nullptr) *layout = at;
  return std::move(out.s);
}

std::string WriteJwk(const TJwkData& s, const JwcWriteOptions& o, JwcLayout* layout) {
  const TEntJwkHeader& h = s.Enthd;
  const Pool pool = LayOutPool(s.EntMoji, o, 0);
  JwcLayout at;
  Out out;
  WriteIdBlock(out, h.jwID, h.comment1, h.comment2);
  at.header2 = out.Size();
  Fields f2;
  f2 << Stated(o.stated_lines, s.EntLine.size()) << Stated(o.stated_arcs, s.EntArc.size())
     << Stated(o.stated_points, s.EntTen.size()) << Stated(o.stated_texts, s.EntMoji.size())
     << h.org_x << h.org_y << h.dispScale << Stated(o.stated_pool, pool.bytes.size()) << h.scale;
  WriteHeaderBlock(out, o.header2 ? *o.header2 : f2.text);
  at.lines = out.Size();
  WriteLines(out, s.EntLine, 1);
  at.arcs = out.Size();
  WriteArcs(out, s.EntArc, 1);
  at.points = out.Size();
  WritePoints(out, s.EntTen, 1);
  at.texts = out.Size();
  WriteTexts(out, s.EntMoji, 1, [&](size_t i) {
    return std::pair{static_cast<uint16_t>(pool.at[i] & 0xFFFF), o.jwk_second_word};
  });
  at.pool = out.Size();
  out.Bytes(pool.bytes);
  at.end = out.Size();
  if (layout != nullptr) *layout = at;
  return std::move(out.s);
}

TJwcData MakeJwcDrawing() {
  TJwcData d;
  TEntJwcHeader& h = d.Enthd;
  h.jwID = u"jw_cad(c)data.......  f";
  h.scaleF = true;
  h.psize = 3;
  h.drawWidth = 420;
  h.dataUnit = JwcDataUnit(h.psize, h.drawWidth);
  for (int k = 1; k <= 10; ++k) {
    const auto size = static_cast<uint16_t>(10 + 5 * k);
    d.EntMjtp[k] = {static_cast<uint16_t>((k - 1) / 2 + 1), size, size, static_cast<uint16_t>(k > 1 ? 5 : 0)};
  }
  for (TEntJwcLayerGroup& g : d.EntLgrp) {
    g.scale = 1;
    g.srchF = g.dispF = 1;
  }
  for (TEntJwcLayer& l : d.EntLay) l.srchF = l.dispF = 1;
  return d;
}

TJwkData MakeJwkShape(float scale) {
  TJwkData s;
  s.Enthd.jwID = u"jw_cad(c)sym........";
  s.Enthd.scale = scale;
  return s;
}

TEntJwcLine JwcLine(float x1, float y1, float x2, float y2, uint8_t lay, uint8_t col, uint8_t typ) {
  TEntJwcLine l{x1, y1, x2, y2};
  l.typ = typ;
  l.col = col;
  l.lay = lay;
  return l;
}

TEntJwcArc2 JwcArc(float x, float y, float r, float st, float et, float h, float tt, uint8_t lay,
                   uint8_t col, uint8_t typ) {
  TEntJwcArc2 a{x, y, r, h, st, et, tt};
  a.typ = typ;
  a.col = col;
  a.lay = lay;
  return a;
}

TEntJwcMoji2 JwcText(float x1, float y1, float x2, float y2, std::u16string s, uint8_t no,
                     uint8_t lay) {
  TEntJwcMoji2 m;
  m.x1 = x1;
  m.y1 = y1;
  m.x2 = x2;
  m.y2 = y2;
  m.no = no;
  m.lay = lay;
  m.s = std::move(s);
  return m;
}

TEntJwcTen JwcPoint(float x, float y, uint8_t lay, uint8_t col) {
  TEntJwcTen t{x, y};
  t.lay = lay;
  t.col = col;
  return t;
}

}  // namespace parvex::testing
