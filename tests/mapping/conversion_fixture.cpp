#include "conversion_fixture.h"

#include "converter/app/drawing_conversion.h"
#include "tests/dxfaudit/dxf_audit.h"
#include "tests/support/jww_writer.h"

namespace parvex::testing {

TJwwData MakeColouredDrawing() {
  TJwwData d = MakeJwwDrawing(600);
  d.Enthd.nZumen = 3;  // A3: 420 x 297
  d.EntCol[0].aPenColor = 0xFFFFFF;
  d.EntCol[1].aPenColor = kPenRed;
  d.EntCol[2].aPenColor = kPenGreen;
  d.EntCol[3].aPenColor = kPenBlue;
  for (auto& c : d.EntCol) c.adPrtTenHankei = 0.3;
  for (int k = 0; k < 10; ++k) {
    d.EntMoj[k].adMojiX = k + 1;
    d.EntMoj[k].adMojiY = k + 2;
  }
  return d;
}

TEntJwwLine Line(const TEntJwwAttr& a, double x1, double y1, double x2, double y2) {
  TEntJwwLine l;
  l.att = a;
  l.start_x = x1;
  l.start_y = y1;
  l.end_x = x2;
  l.end_y = y2;
  return l;
}

TEntJwwMoji Text(const TEntJwwAttr& a, double x1, double y1, double x2, double y2,
                 std::u16string str, uint32_t kind, double w, double h) {
  TEntJwwMoji t;
  t.att = a;
  t.start_x = x1;
  t.start_y = y1;
  t.end_x = x2;
  t.end_y = y2;
  t.nMojiShu = kind;
  t.dSizeX = w;
  t.dSizeY = h;
  t.dKankaku = 0.5;
  t.strFontName = u"ＭＳ ゴシック";
  t.str = std::move(str);
  return t;
}

ConversionSettings SettingsFor(int version) {
  ConversionSettings s;
  s.DxfVersion = static_cast<DxfVersion>(version);
  s.BaseLayerGroup = 0;
  s.PointRadius = 0.5;
  // Expansion of texts is not under test here.
  s.ExpandEmbeddedText = false;
  s.ExpandControlCodes = false;
  return s;
}

std::filesystem::path ConversionTest::Save(const TJwwData& d, const std::string& name) {
  const auto path = dir_ / name;
  EXPECT_TRUE(SaveBytes(path, WriteJww(d)));
  return path;
}

std::filesystem::path ConversionTest::Save(const TJwsData& d, const std::string& name) {
  const auto path = dir_ / name;
  EXPECT_TRUE(SaveBytes(path, WriteJws(d)));
  return path;
}

std::filesystem::path ConversionTest::Convert(const std::filesystem::path& source,
                                              const ConversionSettings& settings,
                                              const std::string& name) {
  const auto out = dir_ / name;
  const Status r = ConvertDrawing(settings, source, out);
  EXPECT_TRUE(r) << source << ": " << r.reason();
  return out;
}

DxfPairs ConversionTest::ConvertAndRead(const TJwwData& d, const ConversionSettings& settings) {
  const std::string stem = "d" + std::to_string(++serial_);
  const auto out = Convert(Save(d, stem + ".jww"), settings, stem + ".dxf");
  EXPECT_TRUE(PassesDxfAudit(out));
  DxfPairs pairs = ReadDxfPairs(out);
  EXPECT_EQ(pairs.error, "");
  EXPECT_TRUE(pairs.nonFinite.empty()) << pairs.nonFinite.front();
  return pairs;
}

}  // namespace parvex::testing
