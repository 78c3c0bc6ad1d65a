#include "tests/support/jwc_fixtures.h"

#include "tests/support/jwc_writer.h"

namespace parvex::testing {
namespace {

// Flags of the line records: members of a curve, the last one ending it.
constexpr uint8_t kCurveMember = 0x40;
constexpr uint8_t kCurveEnd = 0xC0;
// Flag of the text records: vertical text.
constexpr uint8_t kVertical = 0x20;

TEntJwcLine CurveLine(float x1, float y1, float x2, float y2, uint8_t lay, uint8_t flg2) {
  TEntJwcLine l = JwcLine(x1, y1, x2, y2, lay, 3, 1);
  l.flg2 = flg2;
  return l;
}

}  // namespace

TJwcData MakeAllKindsJwc() {
  TJwcData d = MakeJwcDrawing();
  TEntJwcHeader& h = d.Enthd;
  h.comment1 = u"all kinds";
  h.comment2 = u"全種類";
  h.drawtime = 75;
  h.vtenCount = 3;
  d.EntLgrp[0].scale = 50;
  d.EntLgrp[0].name = u"平面";
  d.EntLgrp[2].scale = 100;
  d.EntLay[0].name = u"壁";
  d.EntLay[33].name = u"aux";
  d.EntLay[255].dispF = 0;
  d.EntLine = {JwcLine(10, 10, 200, 10, 0, 1, 1), JwcLine(10, 10, 10, 150, 1, 6, 2),
               JwcLine(20, 20, 120, 120, 33, 2, 9), JwcLine(5, 5, 5, 5, 255, 4, 18)};
  d.EntLine.push_back(CurveLine(30, 30, 40, 35, 2, kCurveMember));
  d.EntLine.push_back(CurveLine(40, 35, 50, 30, 2, kCurveEnd));
  d.EntArc = {JwcArc(100, 100, 20, 0, 0), JwcArc(150, 100, 10, 30, 120, 1, 0, 1, 2, 3),
              JwcArc(200, 150, 30, 270, 90, 0.5f, 30, 34, 5, 11)};
  d.EntMoji = {JwcText(50, 200, 70, 200, u"ABC", 1), JwcText(50, 220, 80, 220, u"平面図", 3, 1),
               JwcText(300, 50, 300, 80, u"縦書き", 10, 17)};
  d.EntMoji[2].flg1 = kVertical;
  d.EntTen = {JwcPoint(250, 250, 0, 1), JwcPoint(260, 240, 16, 5)};
  d.EntVten[1] = {12, 34, 0};
  d.EntVten[2] = {56, 78, 1};
  d.EntVten[3] = {90, 12, 16};
  return d;
}

TJwkData MakeAllKindsJwk(float scale) {
  TJwkData s = MakeJwkShape(scale);
  s.Enthd.comment1 = u"all kinds";
  s.Enthd.comment2 = u"部品";
  s.EntLine = {JwcLine(-100, -100, 100, -100, 0, 1, 1), JwcLine(0, -150, 0, 150, 0, 6, 2),
               JwcLine(-150, 0, 150, 0, 0, 2, 9)};
  s.EntArc = {JwcArc(0, 0, 50, 0, 0), JwcArc(60, 60, 20, 0, 180, 0.5f, 45, 0, 3, 1)};
  s.EntTen = {JwcPoint(0, 0), JwcPoint(100, 100, 0, 4)};
  s.EntMoji = {JwcText(-100, 120, 0, 120, u"Shape", 3), JwcText(-100, -130, 0, -130, u"部品名", 5)};
  return s;
}

TJwcData MakeGarageJwc() {
  TJwcData d = MakeJwcDrawing();
  TEntJwcHeader& h = d.Enthd;
  h.comment1 = u"Parvex sample garage";
  h.comment2 = u"車庫 平面図 S=1/50";
  h.drawWidth = 518;  // the usual drawing width: 420/518 mm per file unit
  h.dataUnit = JwcDataUnit(h.psize, h.drawWidth);
  h.drawtime = 42;
  h.vtenCount = 2;
  d.EntLgrp[0] = {50, 1, 1, 1, u"平面図"};
  d.EntLgrp[1] = {1, 1, 1, 0, u"図枠"};
  const char16_t* layers[] = {u"通り芯", u"壁", u"建具", u"文字"};
  for (int l = 0; l < 4; ++l) d.EntLay[l].name = layers[l];
  d.EntLay[16].name = u"枠";
  d.EntLay[17].name = u"表題";

  // Group 0 at 1:50: a 6 m x 4 m garage drawn 120 x 80 mm from (100, 100).
  // Grid lines (dash-dot, pen 6).
  for (float x : {100.0f, 220.0f}) d.EntLine.push_back(JwcLine(x, 85, x, 195, 0, 6, 4));
  for (float y : {100.0f, 180.0f}) d.EntLine.push_back(JwcLine(85, y, 235, y, 0, 6, 4));
  // Walls (pen 2) with the shutter opening on the south side.
  const float walls[][4] = {{100, 100, 130, 100}, {190, 100, 220, 100}, {220, 100, 220, 180},
                            {220, 180, 100, 180}, {100, 180, 100, 100}};
  for (const auto& w : walls) d.EntLine.push_back(JwcLine(w[0], w[1], w[2], w[3], 1, 2, 1));
  // Shutter (dashed), side door leaf and its swing.
  d.EntLine.push_back(JwcLine(130, 100, 190, 100, 2, 1, 2));
  d.EntLine.push_back(JwcLine(100, 140, 84, 140, 2, 1, 1));
  d.EntArc.push_back(JwcArc(100, 140, 16, 90, 180, 1, 0, 2, 1, 1));
  // A drain drawn as a curve of three segments.
  d.EntLine.push_back(CurveLine(110, 110, 130, 115, 2, kCurveMember));
  d.EntLine.push_back(CurveLine(130, 115, 150, 112, 2, kCurveMember));
  d.EntLine.push_back(CurveLine(150, 112, 170, 118, 2, kCurveEnd));
  // Columns and the car outline (an ellipse).
  for (float x : {100.0f, 220.0f})
    for (float y : {100.0f, 180.0f}) d.EntArc.push_back(JwcArc(x, y, 3, 0, 0, 1, 0, 1, 4, 1));
  d.EntArc.push_back(JwcArc(160, 140, 45, 0, 0, 0.45f, 0, 3, 5, 1));
  // Auxiliary line for the setting-out (line type 9).
  d.EntLine.push_back(JwcLine(100, 100, 220, 180, 0, 1, 9));
  // Room name, the shutter (vertical text) and survey points.
  d.EntMoji.push_back(JwcText(145, 150, 175, 150, u"車庫", 5, 3));
  d.EntMoji.push_back(JwcText(225, 110, 225, 150, u"シャッター", 2, 3));
  d.EntMoji.back().flg1 = kVertical;
  d.EntMoji.push_back(JwcText(100, 75, 160, 75, u"GARAGE 6000x4000", 3, 3));
  d.EntTen.push_back(JwcPoint(90, 90, 0, 1));
  d.EntTen.push_back(JwcPoint(230, 190, 0, 1));
  d.EntVten[1] = {100, 100, 0};
  d.EntVten[2] = {220, 180, 0};

  // Group 1 at 1:1: the frame and the title block.
  const float frame[][4] = {{10, 10, 410, 10}, {410, 10, 410, 287}, {410, 287, 10, 287},
                            {10, 287, 10, 10}, {300, 10, 300, 40},  {300, 40, 410, 40}};
  for (const auto& f : frame) d.EntLine.push_back(JwcLine(f[0], f[1], f[2], f[3], 16, 2, 1));
  d.EntMoji.push_back(JwcText(305, 28, 395, 28, u"Parvex サンプル車庫", 4, 17));
  d.EntMoji.push_back(JwcText(305, 15, 345, 15, u"S=1/50", 2, 17));
  return d;
}

TJwkData MakeBasePlateJwk() {
  TJwkData s = MakeJwkShape(50);
  s.Enthd.comment1 = u"Parvex sample base plate";
  s.Enthd.comment2 = u"ベースプレート";
  // A 400 x 400 mm plate, full size, about the origin.
  const float plate[][4] = {{-200, -200, 200, -200}, {200, -200, 200, 200},
                            {200, 200, -200, 200},   {-200, 200, -200, -200}};
  for (const auto& p : plate) s.EntLine.push_back(JwcLine(p[0], p[1], p[2], p[3], 0, 2, 1));
  // Centre lines (dash-dot).
  s.EntLine.push_back(JwcLine(-260, 0, 260, 0, 0, 6, 4));
  s.EntLine.push_back(JwcLine(0, -260, 0, 260, 0, 6, 4));
  // Anchor bolts and the column outline.
  for (float x : {-150.0f, 150.0f})
    for (float y : {-150.0f, 150.0f}) s.EntArc.push_back(JwcArc(x, y, 12, 0, 0, 1, 0, 0, 3, 1));
  s.EntArc.push_back(JwcArc(0, 0, 110, 0, 0, 1, 0, 0, 1, 2));
  s.EntTen.push_back(JwcPoint(0, 0, 0, 1));
  s.EntMoji.push_back(JwcText(-200, -330, 100, -330, u"BPL-400x400 t=25", 3));
  s.EntMoji.push_back(JwcText(-200, 250, 0, 250, u"柱脚", 4));
  return s;
}

TJwcData MakeLargeJwc(int entities) {
  TJwcData d = MakeJwcDrawing();
  d.Enthd.drawWidth = 518;
  d.EntLine.reserve(entities * 14 / 20);
  for (int i = 0; i < entities; ++i) {
    const auto x = static_cast<float>((i % 1000) * 0.4);
    const auto y = static_cast<float>((i / 1000) * 0.29);
    const auto lay = static_cast<uint8_t>(i % 256);
    const auto col = static_cast<uint8_t>(i % 6 + 1);
    switch (i % 20) {
      case 0:
      case 1:
        d.EntArc.push_back(JwcArc(x, y, 0.1f, static_cast<float>(i % 360), 180, 1, 0, lay, col));
        break;
      case 2:
        d.EntMoji.push_back(
            JwcText(x, y, x + 2, y, u"No." + std::u16string(1, u'0' + i % 10) + u" 部材", 3, lay));
        break;
      case 3:
      case 4:
      case 5:
        d.EntTen.push_back(JwcPoint(x, y, lay, col));
        break;
      default:
        d.EntLine.push_back(JwcLine(x, y, x + 0.3f, y + 0.2f, lay, col, static_cast<uint8_t>(i % 9 + 1)));
    }
  }
  return d;
}

std::vector<NamedBytes> JwcSampleFiles() {
  return {{"garage.jwc", WriteJwc(MakeGarageJwc())}, {"baseplate.jwk", WriteJwk(MakeBasePlateJwk())}};
}

std::vector<NamedBytes> JwcSeedFiles(const std::string& kind) {
  if (kind == "jwc") {
    TJwcData words = MakeAllKindsJwc();
    words.Enthd.jwID = u"jw_cad(c)data.......";  // group scales as Words
    words.Enthd.psize = 6;                        // no unit factor
    return {{"all_kinds.jwc", WriteJwc(MakeAllKindsJwc())},
            {"word_scales.jwc", WriteJwc(words)},
            {"garage.jwc", WriteJwc(MakeGarageJwc())},
            {"empty.jwc", WriteJwc(MakeJwcDrawing())}};
  }
  return {{"all_kinds.jwk", WriteJwk(MakeAllKindsJwk(1))},
          {"baseplate.jwk", WriteJwk(MakeBasePlateJwk())},
          {"empty.jwk", WriteJwk(MakeJwkShape())}};
}

}  // namespace parvex::testing
