#include "tests/support/jww_fixtures.h"

#include <numbers>

#include "tests/support/jww_writer.h"

namespace parvex::testing {

namespace {

TEntJwwMoji Text(TEntJwwAttr a, double x, double y, std::u16string s, uint32_t kind) {
  TEntJwwMoji e;
  e.att = a;
  e.start_x = x;
  e.start_y = y;
  e.end_x = x + 4.0 * static_cast<double>(s.size());
  e.end_y = y;
  e.nMojiShu = kind;
  e.dSizeX = 3.5;
  e.dSizeY = 4.0;
  e.dKankaku = 0.5;
  e.degKakudo = 0;
  e.strFontName = u"ＭＳ ゴシック";
  e.str = std::move(s);
  return e;
}

void SetAllAttrWidths(TEntJwwAttr& a) { a.nPenWidth = static_cast<uint16_t>(a.nPenColor * 3 + 1); }

}  // namespace

void AddAllKinds(JwwEntityModel& m) {
  TEntJwwAttr a = Attr(0, 1, 2, 1);
  a.nPenWidth = 5;
  a.lGroup = 7;
  a.sFlg = 0x0010;
  AddEntity(m, MakeLine(a, -100.5, -50.25, 100.75, 50.125));
  AddEntity(m, MakeLine(Attr(1, 2, 3, 2), 0, 0, 0, 80));

  TEntJwwEnko arc;
  arc.att = Attr(0, 2, 4, 1);
  arc.start_x = 10;
  arc.start_y = 20;
  arc.dHankei = 30;
  arc.radKaishiKaku = 0.25;
  arc.radEnkoKaku = std::numbers::pi / 2;
  arc.radKatamukiKaku = 0;
  arc.dHenpeiRitsu = 1;
  AddEntity(m, arc);
  TEntJwwEnko ellipse = arc;
  ellipse.dHenpeiRitsu = 0.5;
  ellipse.radKatamukiKaku = std::numbers::pi / 6;
  ellipse.bZenEnFlg = 1;
  ellipse.radKaishiKaku = 0;
  ellipse.radEnkoKaku = 2 * std::numbers::pi;
  AddEntity(m, ellipse);

  AddEntity(m, MakePoint(Attr(0, 3, 1, 1), 5, 7));
  TEntJwwTen coded = MakePoint(Attr(0, 3, 2, 100), -5, -7);
  coded.nCode = 3;
  coded.radKaitenKaku = 0.5;
  coded.dBairitsu = 2;
  coded.bKariten = 0;
  AddEntity(m, coded);
  TEntJwwTen temporary = MakePoint(Attr(0, 3, 1, 1), 1, 1);
  temporary.bKariten = 1;
  AddEntity(m, temporary);

  AddEntity(m, Text(Attr(0, 4, 5, 1), -60, 40, u"平面図 1:100", 3));
  AddEntity(m, Text(Attr(2, 0, 6, 1), -60, 30, u"Plan view", 10001));

  TEntJwwSunpo dim;
  dim.att = Attr(0, 5, 7, 1);
  dim.Sen = MakeLine(dim.att, 0, -30, 100, -30);
  dim.Moji = Text(dim.att, 45, -29, u"100", 2);
  dim.bSxfMode = 1;
  dim.Ho1 = MakeLine(Attr(0, 5, 7, 1), 0, -20, 0, -32);
  dim.Ho2 = MakeLine(Attr(0, 5, 7, 1), 100, -20, 100, -32);
  dim.Te1 = MakePoint(Attr(0, 5, 7, 100), 0, -30);
  dim.Te1.nCode = 1;
  dim.Te1.dBairitsu = 1;
  dim.Te2 = MakePoint(Attr(0, 5, 7, 100), 100, -30);
  dim.Te2.nCode = 2;
  dim.Te2.radKaitenKaku = std::numbers::pi;
  dim.Te2.dBairitsu = 1;
  dim.Kt1 = MakePoint(Attr(0, 5, 7, 1), 0, -20);
  dim.Kt1.dBairitsu = 0;  // points of a dimension without a code have scale 0
  dim.Kt2 = MakePoint(Attr(0, 5, 7, 1), 100, -20);
  dim.Kt2.dBairitsu = 0;
  AddEntity(m, dim);

  TEntJwwSolid solid;
  solid.att = Attr(0, 6, 10, 1);
  solid.start_x = 0;
  solid.start_y = 0;
  solid.end_x = 20;
  solid.end_y = 0;
  solid.DPoint2_x = 20;
  solid.DPoint2_y = 10;
  solid.DPoint3_x = 0;
  solid.DPoint3_y = 10;
  solid.Color = 0x00336699;
  AddEntity(m, solid);
  TEntJwwSolid curved;
  curved.att = Attr(0, 6, 3, 101);
  curved.start_x = 50;
  curved.start_y = 50;
  curved.end_x = 10;   // radius
  curved.end_y = 1;    // flattening
  curved.DPoint2_x = 0;  // tilt
  curved.DPoint2_y = 0;  // start
  curved.DPoint3_x = std::numbers::pi;  // swept
  curved.DPoint3_y = 0;                 // kind
  AddEntity(m, curved);

  TEntJwwBlockDef door;
  door.att = Attr(0, 7, 1, 1);
  door.nNumber = 1;
  door.bRefferd = 1;
  door.dtime = 123456;
  door.strName = u"door";
  AddMember(door, MakeLine(Attr(0, 7, 1, 1), 0, 0, 10, 0));
  TEntJwwEnko swing = arc;
  swing.att = Attr(0, 7, 1, 2);
  swing.start_x = 0;
  swing.start_y = 0;
  swing.dHankei = 10;
  swing.radKaishiKaku = 0;
  AddMember(door, swing);

  TEntJwwBlockDef frame;
  frame.att = Attr(0, 8, 2, 1);
  frame.nNumber = 2;
  frame.bRefferd = 1;
  frame.dtime = 654321;
  frame.strName = u"枠";
  AddMember(frame, Text(Attr(0, 8, 2, 1), 0, 0, u"Frame 枠", 1));
  TEntJwwBlock nested;
  nested.att = Attr(0, 8, 2, 1);
  nested.DPKijunTen_x = 5;
  nested.DPKijunTen_y = 5;
  nested.dBairitsuX = 1;
  nested.dBairitsuY = 1;
  nested.nNumber = 1;
  AddMember(frame, nested);
  m.EntBlockDef.push_back(door);
  m.EntBlockDef.push_back(frame);

  TEntJwwBlock insert;
  insert.att = Attr(0, 9, 1, 1);
  insert.DPKijunTen_x = 200;
  insert.DPKijunTen_y = 100;
  insert.dBairitsuX = 2;
  insert.dBairitsuY = 2;
  insert.radKaitenKaku = std::numbers::pi / 2;
  insert.nNumber = 2;
  AddEntity(m, insert);
  insert.DPKijunTen_x = -200;
  insert.dBairitsuX = insert.dBairitsuY = 1;
  insert.radKaitenKaku = 0;
  insert.nNumber = 1;
  AddEntity(m, insert);
}

TJwwData MakeAllKindsDrawing(int32_t version) {
  TJwwData d = MakeJwwDrawing(version);
  TEntJwwHeader& h = d.Enthd;
  h.strMemo = u"memo line 1\r\nメモ 2";
  h.nZumen = 3;
  h.nWriteGLay = 2;
  h.lnSunpou1 = 11;
  h.lnSunpou5 = 15;
  h.nMaxDrawWid = 7;
  h.DPPrtGenten_x = 1.5;
  h.dPrtBairitsu = 2;
  h.nPrtSet = 21;
  h.dMemoriX = 2.5;
  h.dKageLevel = 3.25;
  h.nKage9_15JiFlg = 1;
  h.dKabeKageLevel = 4.5;
  h.dTenkuuZuLevel = 5.5;
  h.dTenkuuZuEnkoR = 6.5;
  h.nMMTani3D = 9;
  h.dBairitsu = 1.25;
  h.DPHanniGenten_y = -8;
  for (int i = 1; i <= 8; ++i) {
    h.dZoomJumpBairitsu[i] = i * 1.5;
    h.DPZoomJumpGenten_x[i] = i * 10.0;
    h.DPZoomJumpGenten_y[i] = -i * 10.0;
    h.nZoomJumpGLay[i] = i;
  }
  h.dDm11 = 0.11;
  h.lnDm1 = 12;
  h.dMojiBG = 0.33;
  h.nMojiBG = 4;
  for (int i = 0; i < 10; ++i) h.adFukusenSuuchi[i] = i + 0.5;
  h.dRyougawaFukusenTomeDe = 1.75;
  h.nDrawGamenTen = 1;
  h.nPrtKyoutsuuGray = 10;
  h.nPrtDpi = 300;
  h.nPrtDispOnlyNonDraw = 1;
  h.lnDrawTime = 3600;
  h.nEyeInit = 2;
  h.dEye_V_Ichi_3 = 7.5;
  h.dSenNagasaSnpou = 8.5;
  h.dEnHankeiSnpou = 9.5;
  h.nSolidNinniColor = 1;
  h.SolidColor = 0x123456;
  h.dMojiSizeX = 2.5;
  h.dMojiSizeY = 3.5;
  h.dMojiKankaku = 0.25;
  h.nMojiColor = 3;
  h.nMojiShu = 4;
  h.dMojiSeiriGyouKan = 1.5;
  h.dMojiSeiriSuu = 2;
  h.nMojiKijunZureOn = 1;
  h.adMojiKijunZureY2 = -1.5;
  for (int g = 0; g < kJwwLayerGroupCount; ++g) {
    d.EntLgrp[g].anGLay = g % 3;
    d.EntLgrp[g].anWriteLay = g;
    d.EntLgrp[g].adScale = g == 0 ? 1 : g == 1 ? 50 : 100;
    d.EntLgrp[g].anGLayProtect = g == 15;
    d.EntLgrp[g].aStrGLayName = g == 0 ? u"一般図" : g == 1 ? u"Detail" : u"";
    for (int l = 0; l < 16; ++l) {
      TEntJwwLayer& layer = d.EntLay[g * 16 + l];
      layer.aanLay = (g + l) % 3;
      layer.aanLayProtect = l == 15;
      if (g < 2) layer.aStrLayName = (g == 0 ? u"壁" : u"Wall ") + std::u16string(1, u'A' + l);
    }
  }
  for (int c = 0; c < kJwwColorCount; ++c) {
    d.EntCol[c].aPenColor = 0x010101 * c * 20;
    d.EntCol[c].anPenWidth = c;
    d.EntCol[c].aPrtPenColor = 0x0000FF * (c % 2);
    d.EntCol[c].anPrtPenWidth = c * 2;
    d.EntCol[c].adPrtTenHankei = c * 0.1;
  }
  for (int t = 0; t < kJwwLtp1Count; ++t) d.EntLtp1[t] = {static_cast<int32_t>(0xF0F0F0F0u >> t), 1, t, t + 1};
  for (int t = 0; t < kJwwLtp2Count; ++t) d.EntLtp2[t] = {0x0F0F, t, 2, t * 2, 3};
  for (int t = 0; t < kJwwLtp3Count; ++t) d.EntLtp3[t] = {0x3333, 2, t, t};
  for (int c = 0; c < kJwwColorSCount; ++c) {
    TEntJwwColorExNo& e = d.EntColS[c];
    e.aPenColor = c * 65793;
    e.anPenWidth = c % 7;
    e.aPrtPenColor = c;
    e.anPrtPenWidth = c % 5;
    e.adPrtTenHankei = c * 0.01;
    if (c == 1) e.astrUDColorName = u"black";
    if (c == 256) e.astrUDColorName = u"ユーザー色";
  }
  for (int t = 0; t < kJwwLtpSCount; ++t) {
    TEntJwwLineTypeExNo& e = d.EntLtpS[t];
    e.alLType = t * 3;
    e.anTokushuSenUintDot = t;
    e.anTokushuSenPich = 2;
    e.anPrtTokushuSenPich = 3;
    if (t == 1) e.astrUDLTypeName = u"continuous";
    e.anUDLTypeSegment = t % 11;
    for (int i = 1; i <= 10; ++i) e.aadUDLTypePitch[i] = t + i * 0.5;
  }
  for (int k = 0; k < kJwwMojiTypeCount; ++k) d.EntMoj[k] = {1.0 + k, 1.5 + k, 0.1 * k, k % 9 + 1};
  AddAllKinds(d);
  // Pen widths exist in the file from 351 on; widen them so they show.
  for (auto& e : d.EntLine) SetAllAttrWidths(e.att);
  return d;
}

TJwsData MakeAllKindsShape(int32_t version) {
  TJwsData d = MakeJwsShape(version);
  d.Enthd.BasePoint_x = 12.5;
  d.Enthd.BasePoint_y = -7.25;
  d.Enthd.dmy01 = 1;
  d.Enthd.dmy06 = 6;
  d.Enthd.dmy11 = 1.1;
  d.Enthd.dmy16 = 1.6;
  d.Enthd.Mx1 = -10;
  d.Enthd.My1 = -20;
  d.Enthd.Mx2 = 30;
  d.Enthd.My2 = 40;
  for (int g = 0; g < kJwwLayerGroupCount; ++g) d.EntLgrp[g].adScale = 10.0 * (g + 1);
  AddAllKinds(d);
  return d;
}

namespace {

void NoWidth(TEntJwwAttr& a) { a.nPenWidth = 0; }

void NoWidths(TEntJwwSunpo& e) {
  for (TEntJwwAttr* a : {&e.att, &e.Sen.att, &e.Moji.att, &e.Ho1.att, &e.Ho2.att, &e.Te1.att, &e.Te2.att,
                         &e.Kt1.att, &e.Kt2.att})
    NoWidth(*a);
}

template <class Lists>
void ForEachAttr(Lists& lists, auto&& f) {
  for (auto& e : lists.line) f(e.att);
  for (auto& e : lists.enko) f(e.att);
  for (auto& e : lists.ten) f(e.att);
  for (auto& e : lists.moji) f(e.att);
  for (auto& e : lists.solid) f(e.att);
  for (auto& e : lists.block) f(e.att);
}

void DropSxfParts(TEntJwwSunpo& e) {
  e.bSxfMode = 0;
  for (TEntJwwLine* l : {&e.Ho1, &e.Ho2}) *l = TEntJwwLine{e.att};
  for (TEntJwwTen* p : {&e.Te1, &e.Te2, &e.Kt1, &e.Kt2}) {
    *p = TEntJwwTen{};
    p->att = e.att;
    p->att.nPenStyle = 0;
    p->dBairitsu = 0;
  }
}

template <class Sunpos, class Lists>
void Normalize(Sunpos& sunpos, Lists lists, int32_t version) {
  if (version <= 350) {
    ForEachAttr(lists, NoWidth);
    for (auto& e : sunpos) NoWidths(e);
  }
  if (version < 420)
    for (auto& e : sunpos) DropSxfParts(e);
}

template <class A, class B, class C, class D, class E, class F>
struct ListRefs {
  A& line;
  B& enko;
  C& ten;
  D& moji;
  E& solid;
  F& block;
};

}  // namespace

void NormalizeForVersion(JwwEntityModel& m, int32_t version) {
  Normalize(m.EntSunpo, ListRefs{m.EntLine, m.EntEnko, m.EntTen, m.EntMoji, m.EntSolid, m.EntBlock}, version);
  for (TEntJwwBlockDef& def : m.EntBlockDef) {
    if (version <= 350) NoWidth(def.att);
    Normalize(def.mSunpo, ListRefs{def.mLine, def.mEnko, def.mTen, def.mMoji, def.mSolid, def.mBlock}, version);
  }
}

void NormalizeForWrite(JwwEntityModel& m, int32_t version, const JwwWriteOptions& options) {
  NormalizeForVersion(m, version);
  if (options.long_time_stamps) {
    for (size_t i = 0; i < m.EntBlockDef.size(); ++i) m.EntBlockDef[i].dtime = static_cast<uint32_t>(i + 1);
  }
}

}  // namespace parvex::testing
