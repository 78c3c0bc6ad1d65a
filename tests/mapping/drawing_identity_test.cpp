// What a converted drawing says about itself that strict readers act on:
// the GUIDs that identify the drawing, and greys that stay grey. Every file
// is read back through the audit (ConvertAndRead).
#include <gtest/gtest.h>

#include <string>

#include "conversion_fixture.h"
#include "converter/attributes/gra_attribute.h"
#include "tests/support/jww_writer.h"

namespace parvex::testing {
namespace {

struct Guids {
  std::string fingerprint;
  std::string version;
};

Guids GuidsOf(const DxfPairs& dxf) {
  Guids g;
  for (const DxfRecord& r : dxf.records) {
    if (r.section != "HEADER") continue;
    for (std::size_t i = 0; i + 1 < r.groups.size(); ++i) {
      if (r.groups[i].first != 9) continue;
      if (r.groups[i].second == "$FINGERPRINTGUID") g.fingerprint = r.groups[i + 1].second;
      if (r.groups[i].second == "$VERSIONGUID") g.version = r.groups[i + 1].second;
    }
  }
  return g;
}

TJwwData OneLineDrawing(double length) {
  TJwwData d = MakeColouredDrawing();
  AddEntity(d, Line(Attr(0, 1, 1, 1), 0, 0, length, 0));
  return d;
}

class DrawingIdentity : public ConversionTest, public ::testing::WithParamInterface<int> {};

// One drawing converted twice has the same GUIDs; another drawing other
// ones. The fingerprint names the drawing whatever the settings; the
// version GUID names this conversion of it, so other settings change it.
TEST_P(DrawingIdentity, GuidsComeFromTheDrawingAndTheSettings) {
  const ConversionSettings st = SettingsFor(GetParam());
  const Guids a = GuidsOf(ConvertAndRead(OneLineDrawing(10), st));
  const Guids again = GuidsOf(ConvertAndRead(OneLineDrawing(10), st));
  const Guids other = GuidsOf(ConvertAndRead(OneLineDrawing(11), st));
  ConversionSettings circles = st;
  circles.PointConversion = PointConversion::Circle;
  const Guids otherSettings = GuidsOf(ConvertAndRead(OneLineDrawing(10), circles));

  ASSERT_EQ(a.fingerprint.size(), 38u) << a.fingerprint;
  ASSERT_EQ(a.version.size(), 38u) << a.version;
  EXPECT_NE(a.fingerprint, a.version);
  EXPECT_EQ(again.fingerprint, a.fingerprint);
  EXPECT_EQ(again.version, a.version);
  EXPECT_NE(other.fingerprint, a.fingerprint);
  EXPECT_NE(other.version, a.version);
  EXPECT_EQ(otherSettings.fingerprint, a.fingerprint);
  EXPECT_NE(otherSettings.version, a.version);
}

INSTANTIATE_TEST_SUITE_P(Versions, DrawingIdentity, ::testing::Values(1, 2),
                         [](const auto& info) { return std::string(kVersionNames[info.param]); });

class GreyStaysGrey : public ConversionTest, public ::testing::WithParamInterface<int> {};

// A pen of (179, 179, 179) and the filled disc of point marker 3 are grey in
// every reader: not ACI 255, which readers show as white.
TEST_P(GreyStaysGrey, GreyPensAndMarkerFillsAreNotWhite) {
  TJwwData d = MakeColouredDrawing();
  d.EntCol[4].aPenColor = 0xB3B3B3;
  AddEntity(d, Line(Attr(0, 1, 1, 1), 0, 0, 10, 0));
  AddEntity(d, Line(Attr(0, 1, 1, 1), 0, 5, 10, 5));
  AddEntity(d, Line(Attr(0, 1, 4, 1), 0, 10, 10, 10));
  TEntJwwTen marker;
  marker.att = Attr(0, 1, 1, 100);
  marker.start_x = 20;
  marker.nCode = 3;
  AddEntity(d, marker);
  const DxfPairs dxf = ConvertAndRead(d, SettingsFor(GetParam()));

  const int grey = NearestAci(0xFFB3B3B3u);
  EXPECT_EQ(grey, 253);
  int greyLines = 0;
  for (const DxfRecord* l : dxf.OfType("LINE")) {
    EXPECT_NE(l->Int(62), 255);
    greyLines += l->Int(62) == grey;
  }
  EXPECT_EQ(greyLines, 1);
  int fills = 0;
  for (const DxfRecord& r : dxf.blockEntities) {
    if (r.block != "_TRANS_TMARKER3") continue;
    if (r.type != "POLYLINE") continue;
    ++fills;
    EXPECT_EQ(r.Int(62), grey);
  }
  EXPECT_EQ(fills, 1);
}

INSTANTIATE_TEST_SUITE_P(Versions, GreyStaysGrey, ::testing::Values(0, 1, 2),
                         [](const auto& info) { return std::string(kVersionNames[info.param]); });

}  // namespace
}  // namespace parvex::testing
