#include "tests/support/stress_drawings.h"

#include <zlib.h>

#include <cmath>
#include <numbers>

#include "tests/support/jww_writer.h"

namespace parvex::testing {

namespace {

// Deflates `next(chunk)` pieces until it returns an empty view.
template <typename Next>
std::string GzipPieces(Next&& next) {
  z_stream z{};
  deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY);
  std::string out;
  char buf[1 << 16];
  for (;;) {
    const std::string_view piece = next();
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(piece.data()));
    z.avail_in = static_cast<uInt>(piece.size());
    const int flush = piece.empty() ? Z_FINISH : Z_NO_FLUSH;
    int rc;
    do {
      z.next_out = reinterpret_cast<Bytef*>(buf);
      z.avail_out = sizeof buf;
      rc = deflate(&z, flush);
      out.append(buf, sizeof buf - z.avail_out);
    } while (z.avail_out == 0 || (flush == Z_FINISH && rc != Z_STREAM_END));
    if (flush == Z_FINISH) break;
  }
  deflateEnd(&z);
  return out;
}

}  // namespace

TJwwData ManyLinesDrawing(int lines) {
  TJwwData d = MakeJwwDrawing(600);
  for (int i = 0; i < lines; ++i) {
    TEntJwwLine l;
    l.att = Attr(0, 1);
    l.start_x = (i % 400) - 200.0;
    l.start_y = (i / 400 % 280) - 140.0;
    l.end_x = l.start_x + 0.75;
    l.end_y = l.start_y + 0.5 + i % 7;
    AddEntity(d, l);
  }
  return d;
}

TJwwData RepeatedBlockDrawing(int arcs, int insertions, double rotation, ArcLayout layout) {
  TJwwData d = MakeJwwDrawing(600);
  TEntJwwBlockDef def;
  def.att = Attr(0, 0);
  def.nNumber = 1;
  def.strName = u"RING";
  for (int i = 0; i < arcs; ++i) {
    const double at = 2 * std::numbers::pi * i / arcs;
    TEntJwwEnko a;
    a.att = Attr(0, 1);
    a.dHenpeiRitsu = 1;
    a.radKaishiKaku = at;
    if (layout == ArcLayout::kRing) {
      a.start_x = 10 * std::cos(at);
      a.start_y = 10 * std::sin(at);
      a.dHankei = 0.5 + (i % 5) * 0.1;
      a.radEnkoKaku = std::numbers::pi / 3;
    } else {
      a.dHankei = 10;
      a.radEnkoKaku = 2 * std::numbers::pi / arcs;
    }
    AddMember(def, a);
  }
  d.EntBlockDef.push_back(def);
  for (int i = 0; i < insertions; ++i) {
    TEntJwwBlock b;
    b.att = Attr(0, 2);
    b.DPKijunTen_x = (i % 100) * 3.0 - 150;
    b.DPKijunTen_y = (i / 100 % 100) * 2.0 - 100;
    b.dBairitsuX = i % 2 == 0 ? 1.0 : -1.0;
    b.dBairitsuY = 1.0;
    b.radKaitenKaku = rotation;
    b.nNumber = 1;
    AddEntity(d, b);
  }
  return d;
}

TJwwData ImageTextsDrawing(const std::vector<std::u16string>& imageTexts,
                           const std::vector<size_t>& inBlock) {
  TJwwData d = MakeJwwDrawing(700);
  TEntJwwBlockDef def;
  def.att = Attr(0, 0);
  def.nNumber = 1;
  def.strName = u"PICTURES";
  for (size_t i = 0; i < imageTexts.size(); ++i) {
    TEntJwwMoji m;
    m.att = Attr(0, 1);
    m.start_x = 10.0 * static_cast<double>(i);
    m.start_y = 0;
    m.end_x = m.start_x + 100;
    m.end_y = 0;
    m.dSizeX = m.dSizeY = 2.5;
    m.str = u"^@BM" + imageTexts[i] + u",100,75,0,0,1,0";
    bool blockMember = false;
    for (size_t k : inBlock) blockMember = blockMember || k == i;
    if (blockMember) {
      AddMember(def, m);
    } else {
      AddEntity(d, m);
    }
  }
  if (!def.mNo.empty()) AddInsertedDefinition(d, std::move(def));
  return d;
}

std::string Gzip(std::string_view data) {
  bool given = false;
  return GzipPieces([&]() -> std::string_view {
    if (given) return {};
    given = true;
    return data;
  });
}

std::string GzipOfZeros(std::uint64_t n) {
  static const std::string zeros(1 << 20, '\0');
  std::uint64_t left = n;
  return GzipPieces([&]() -> std::string_view {
    const std::uint64_t take = left < zeros.size() ? left : zeros.size();
    left -= take;
    return std::string_view(zeros.data(), take);
  });
}

}  // namespace parvex::testing
