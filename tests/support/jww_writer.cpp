#include "tests/support/jww_writer.h"

#include <bit>
#include <cstring>
#include <fstream>
#include <sstream>

#include "common/platform/codepage.h"

namespace parvex::testing {

namespace {

const char* const kClassNames[] = {"", "CDataSen", "CDataEnko", "CDataTen", "CDataMoji",
                                   "CDataSunpou", "CDataSolid", "CDataBlock"};

class EntityStreamWriter {
 public:
  EntityStreamWriter(ArchiveWriter& w, int32_t version, const JwwWriteOptions& options)
      : w_(w), version_(version), options_(options) {}

  void Text(std::u16string_view text) {
    bool unicode = false;
    switch (options_.strings) {
      case UnicodeStrings::kAlways: unicode = true; break;
      case UnicodeStrings::kNever: unicode = false; break;
      case UnicodeStrings::kWhenNeeded: unicode = !platform::FitsCp932(text); break;
    }
    w_.Text(text, unicode ? StringForm::kUnicode : StringForm::kBytes);
  }

  void Count(uint32_t n) { w_.Count(n, options_.long_counts); }

  void Tag(std::string_view class_name) {
    ClassRefForm form = options_.class_refs;
    if (options_.cycle_class_refs) {
      static const ClassRefForm kCycle[] = {ClassRefForm::kShort, ClassRefForm::kLong,
                                            ClassRefForm::kLongBare, ClassRefForm::kNewClass};
      form = kCycle[cycle_++ % 4];
    }
    w_.ClassTag(class_name, form);
  }

  void Attr(const TEntJwwAttr& a) {
    w_.Uint(a.lGroup);
    w_.Byte(a.nPenStyle);
    w_.Word(a.nPenColor);
    if (version_ > 350) w_.Word(a.nPenWidth);
    w_.Word(a.nLayer);
    w_.Word(a.nGLayer);
    w_.Word(a.sFlg);
  }

  void Line(const TEntJwwLine& e) {
    Attr(e.att);
    w_.Double(e.start_x);
    w_.Double(e.start_y);
    w_.Double(e.end_x);
    w_.Double(e.end_y);
  }

  void Enko(const TEntJwwEnko& e) {
    Attr(e.att);
    for (double v : {e.start_x, e.start_y, e.dHankei, e.radKaishiKaku, e.radEnkoKaku,
                     e.radKatamukiKaku, e.dHenpeiRitsu})
      w_.Double(v);
    w_.Uint(e.bZenEnFlg);
  }

  void Ten(const TEntJwwTen& e) {
    Attr(e.att);
    w_.Double(e.start_x);
    w_.Double(e.start_y);
    w_.Uint(e.bKariten);
    if (e.att.nPenStyle == 100) {
      w_.Uint(e.nCode);
      w_.Double(e.radKaitenKaku);
      w_.Double(e.dBairitsu);
    }
  }

  void Moji(const TEntJwwMoji& e) {
    Attr(e.att);
    for (double v : {e.start_x, e.start_y, e.end_x, e.end_y}) w_.Double(v);
    w_.Uint(e.nMojiShu);
    for (double v : {e.dSizeX, e.dSizeY, e.dKankaku, e.degKakudo}) w_.Double(v);
    Text(e.strFontName);
    Text(e.str);
  }

  void Sunpo(const TEntJwwSunpo& e) {
    Attr(e.att);
    Line(e.Sen);
    Moji(e.Moji);
    if (version_ >= 420) {
      w_.Word(e.bSxfMode);
      Line(e.Ho1);
      Line(e.Ho2);
      Ten(e.Te1);
      Ten(e.Te2);
      Ten(e.Kt1);
      Ten(e.Kt2);
    }
  }

  void Solid(const TEntJwwSolid& e) {
    Attr(e.att);
    for (double v : {e.start_x, e.start_y, e.end_x, e.end_y, e.DPoint2_x, e.DPoint2_y,
                     e.DPoint3_x, e.DPoint3_y})
      w_.Double(v);
    if (e.att.nPenColor == 10) w_.Uint(e.Color);
  }

  void Block(const TEntJwwBlock& e) {
    Attr(e.att);
    for (double v : {e.DPKijunTen_x, e.DPKijunTen_y, e.dBairitsuX, e.dBairitsuY, e.radKaitenKaku})
      w_.Double(v);
    w_.Uint(e.nNumber);
  }

  // Writes the object of order-list entry `no`; false for an empty entry or
  // an index outside its array (nothing is written then).
  template <class Lists>
  bool Object(const TEntJwwNo& no, const Lists& l) {
    auto in = [&](const auto& v) { return no.EntNo >= 0 && static_cast<size_t>(no.EntNo) < v.size(); };
    switch (no.EntType) {
      case kJwwLine: if (!in(l.line)) return false; Tag(kClassNames[1]); Line(l.line[no.EntNo]); break;
      case kJwwEnko: if (!in(l.enko)) return false; Tag(kClassNames[2]); Enko(l.enko[no.EntNo]); break;
      case kJwwTen: if (!in(l.ten)) return false; Tag(kClassNames[3]); Ten(l.ten[no.EntNo]); break;
      case kJwwMoji: if (!in(l.moji)) return false; Tag(kClassNames[4]); Moji(l.moji[no.EntNo]); break;
      case kJwwSunpo: if (!in(l.sunpo)) return false; Tag(kClassNames[5]); Sunpo(l.sunpo[no.EntNo]); break;
      case kJwwSolid: if (!in(l.solid)) return false; Tag(kClassNames[6]); Solid(l.solid[no.EntNo]); break;
      case kJwwBlock: if (!in(l.block)) return false; Tag(kClassNames[7]); Block(l.block[no.EntNo]); break;
      default: return false;
    }
    w_.ObjectDone();
    return true;
  }

  // Entity list, block definitions (and nothing after them).
  void Write(const JwwEntityModel& m, JwwLayout* layout) {
    struct DrawingLists {
      const std::vector<TEntJwwLine>& line;
      const std::vector<TEntJwwEnko>& enko;
      const std::vector<TEntJwwTen>& ten;
      const std::vector<TEntJwwMoji>& moji;
      const std::vector<TEntJwwSunpo>& sunpo;
      const std::vector<TEntJwwSolid>& solid;
      const std::vector<TEntJwwBlock>& block;
    } lists{m.EntLine, m.EntEnko, m.EntTen, m.EntMoji, m.EntSunpo, m.EntSolid, m.EntBlock};

    uint32_t written = 0;
    for (const TEntJwwNo& no : m.EntNo) written += Valid(no, lists) ? 1 : 0;
    if (layout) layout->entity_count = w_.size();
    Count(options_.stated_entities >= 0 ? static_cast<uint32_t>(options_.stated_entities) : written);
    for (const TEntJwwNo& no : m.EntNo) {
      size_t at = w_.size();
      if (Object(no, lists) && layout) layout->entity_objects.push_back(at);
    }

    if (layout) layout->block_def_count = w_.size();
    uint32_t defs = options_.stated_block_defs >= 0
                        ? static_cast<uint32_t>(options_.stated_block_defs)
                        : static_cast<uint32_t>(m.EntBlockDef.size());
    Count(defs);
    for (size_t d = 0; d < m.EntBlockDef.size(); ++d) {
      const TEntJwwBlockDef& def = m.EntBlockDef[d];
      if (layout) layout->block_def_objects.push_back(w_.size());
      Tag("CDataList");
      Attr(def.att);
      w_.Uint(def.nNumber);
      w_.Uint(def.bRefferd);
      if (options_.long_time_stamps) {
        w_.Int(-1);
        w_.Zeros(8);
      } else {
        w_.Uint(def.dtime & 0x7FFFFFFFu);
      }
      Text(def.strName);
      DrawingLists members{def.mLine, def.mEnko, def.mTen, def.mMoji, def.mSunpo, def.mSolid, def.mBlock};
      uint32_t n = 0;
      for (const TEntJwwNo& no : def.mNo) n += Valid(no, members) ? 1 : 0;
      Count(n);
      w_.ObjectDone();
      for (const TEntJwwNo& no : def.mNo) Object(no, members);
    }
  }

 private:
  template <class Lists>
  static bool Valid(const TEntJwwNo& no, const Lists& l) {
    auto in = [&](const auto& v) { return no.EntNo >= 0 && static_cast<size_t>(no.EntNo) < v.size(); };
    switch (no.EntType) {
      case kJwwLine: return in(l.line);
      case kJwwEnko: return in(l.enko);
      case kJwwTen: return in(l.ten);
      case kJwwMoji: return in(l.moji);
      case kJwwSunpo: return in(l.sunpo);
      case kJwwSolid: return in(l.solid);
      case kJwwBlock: return in(l.block);
      default: return false;
    }
  }

  ArchiveWriter& w_;
  int32_t version_;
  const JwwWriteOptions& options_;
  unsigned cycle_ = 0;
};

template <class T>
const T& At(const std::vector<T>& v, size_t i) {
  static const T kEmpty{};
  return i < v.size() ? v[i] : kEmpty;
}

void WriteId(ArchiveWriter& w, const std::string& id, size_t width) {
  std::string bytes = id.substr(0, width);
  bytes.resize(width, '\0');
  w.Raw(bytes);
}

void WriteHeader(ArchiveWriter& w, EntityStreamWriter& s, const TJwwData& d, const JwwWriteOptions& o) {
  const TEntJwwHeader& h = d.Enthd;
  const int32_t v = h.jwVer;
  WriteId(w, o.id.empty() ? std::string("JwwData.") : o.id, 8);
  w.Int(v);
  // The memo keeps its line breaks; it is the one raw string.
  w.Text(h.strMemo, o.strings == UnicodeStrings::kAlways ||
                            (o.strings == UnicodeStrings::kWhenNeeded && !platform::FitsCp932(h.strMemo))
                        ? StringForm::kUnicode
                        : StringForm::kBytes);
  w.Int(h.nZumen);
  w.Int(h.nWriteGLay);
  for (int g = 0; g < kJwwLayerGroupCount; ++g) {
    const TEntJwwLayerGroup& lg = At(d.EntLgrp, g);
    w.Int(lg.anGLay);
    w.Int(lg.anWriteLay);
    w.Double(lg.adScale);
    w.Int(lg.anGLayProtect);
    for (int l = 0; l < 16; ++l) {
      const TEntJwwLayer& ly = At(d.EntLay, g * 16 + l);
      w.Int(ly.aanLay);
      w.Int(ly.aanLayProtect);
    }
  }
  w.Zeros(56);
  for (int32_t x : {h.lnSunpou1, h.lnSunpou2, h.lnSunpou3, h.lnSunpou4, h.lnSunpou5}) w.Int(x);
  w.Zeros(4);
  w.Int(h.nMaxDrawWid);
  for (double x : {h.DPPrtGenten_x, h.DPPrtGenten_y, h.dPrtBairitsu}) w.Double(x);
  w.Int(h.nPrtSet);
  w.Int(h.nMemoriMode);
  for (double x : {h.dMemoriHyoujiMin, h.dMemoriX, h.dMemoriY, h.DpMemoriKjTen_x, h.DpMemoriKjTen_y})
    w.Double(x);
  for (int i = 0; i < kJwwLayerCount; ++i) s.Text(At(d.EntLay, i).aStrLayName);
  for (int g = 0; g < kJwwLayerGroupCount; ++g) s.Text(At(d.EntLgrp, g).aStrGLayName);
  w.Double(h.dKageLevel);
  w.Double(h.dKageIdo);
  w.Int(h.nKage9_15JiFlg);
  w.Double(h.dKabeKageLevel);
  if (v >= 300) {
    w.Double(h.dTenkuuZuLevel);
    w.Double(h.dTenkuuZuEnkoR);
  }
  w.Int(h.nMMTani3D);
  for (double x : {h.dBairitsu, h.DPGenten_x, h.DPGenten_y, h.dHanniBairitsu, h.DPHanniGenten_x,
                   h.DPHanniGenten_y})
    w.Double(x);
  if (v >= 231) {
    for (int i = 1; i <= 8; ++i) {
      w.Double(h.dZoomJumpBairitsu[i]);
      w.Double(h.DPZoomJumpGenten_x[i]);
      w.Double(h.DPZoomJumpGenten_y[i]);
      w.Int(h.nZoomJumpGLay[i]);
    }
    for (double x : {h.dDm11, h.dDm12, h.dDm13}) w.Double(x);
    w.Int(h.lnDm1);
    for (double x : {h.dDm21, h.dDm22, h.dMojiBG}) w.Double(x);
    w.Int(h.nMojiBG);
  } else {
    for (int i = 1; i <= 4; ++i) {
      w.Double(h.dZoomJumpBairitsu[i]);
      w.Double(h.DPZoomJumpGenten_x[i]);
      w.Double(h.DPZoomJumpGenten_y[i]);
    }
  }
  for (double x : h.adFukusenSuuchi) w.Double(x);
  w.Double(h.dRyougawaFukusenTomeDe);
  for (int c = 0; c < kJwwColorCount; ++c) {
    w.Int(At(d.EntCol, c).aPenColor);
    w.Int(At(d.EntCol, c).anPenWidth);
  }
  for (int c = 0; c < kJwwColorCount; ++c) {
    w.Int(At(d.EntCol, c).aPrtPenColor);
    w.Int(At(d.EntCol, c).anPrtPenWidth);
    w.Double(At(d.EntCol, c).adPrtTenHankei);
  }
  for (int t = 0; t < kJwwLtp1Count; ++t) {
    const TEntJwwLineTypeNo& e = At(d.EntLtp1, t);
    for (int32_t x : {e.alLType, e.anTokushuSenUintDot, e.anTokushuSenPich, e.anPrtTokushuSenPich}) w.Int(x);
  }
  for (int t = 0; t < kJwwLtp2Count; ++t) {
    const TEntJwwRandomLineNo& e = At(d.EntLtp2, t);
    for (int32_t x : {e.alLType, e.anRandSenWide, e.anTokushuSenPich, e.anPrtRandSenWide,
                      e.anPrtTokushuSenPich})
      w.Int(x);
  }
  for (int t = 0; t < kJwwLtp3Count; ++t) {
    const TEntJwwLineTypeNo& e = At(d.EntLtp3, t);
    for (int32_t x : {e.alLType, e.anTokushuSenUintDot, e.anTokushuSenPich, e.anPrtTokushuSenPich}) w.Int(x);
  }
  for (int32_t x : {h.nDrawGamenTen, h.nDrawPrtTen, h.nBitMapFirstDraw, h.nGyakuDraw, h.nGyakuSearch,
                    h.nColorPrint, h.nLayJunPrint, h.nColJunPrint, h.nPrtRenzoku, h.nPrtKyoutsuuGray})
    w.Int(x);
  w.Int(h.nPrtDpi * 10 + h.nPrtDispOnlyNonDraw);
  if (v >= 223) {
    w.Int(h.lnDrawTime);
    for (int32_t x : {h.nEyeInit, h.dEye_H_Ichi_1, h.dEye_H_Ichi_2, h.dEye_H_Ichi_3}) w.Int(x);
    for (double x : {h.dEye_Z_Ichi_1, h.dEye_Y_Ichi_1, h.dEye_Z_Ichi_2, h.dEye_Y_Ichi_2, h.dEye_V_Ichi_3})
      w.Double(x);
  }
  if (v >= 225)
    for (double x : {h.dSenNagasaSnpou, h.dBoxSunpouX, h.dBoxSunpouY, h.dEnHankeiSnpou}) w.Double(x);
  if (v >= 230) {
    w.Int(h.nSolidNinniColor);
    w.Int(h.SolidColor);
  }
  if (v >= 420) {
    for (int c = 0; c < kJwwColorSCount; ++c) {
      w.Int(At(d.EntColS, c).aPenColor);
      w.Int(At(d.EntColS, c).anPenWidth);
    }
    for (int c = 0; c < kJwwColorSCount; ++c) {
      const TEntJwwColorExNo& e = At(d.EntColS, c);
      s.Text(e.astrUDColorName);
      w.Int(e.aPrtPenColor);
      w.Int(e.anPrtPenWidth);
      w.Double(e.adPrtTenHankei);
    }
    for (int t = 0; t < kJwwLtpSCount; ++t) {
      const TEntJwwLineTypeExNo& e = At(d.EntLtpS, t);
      for (int32_t x : {e.alLType, e.anTokushuSenUintDot, e.anTokushuSenPich, e.anPrtTokushuSenPich})
        w.Int(x);
    }
    for (int t = 0; t < kJwwLtpSCount; ++t) {
      const TEntJwwLineTypeExNo& e = At(d.EntLtpS, t);
      s.Text(e.astrUDLTypeName);
      w.Int(e.anUDLTypeSegment);
      for (int i = 1; i <= 10; ++i) w.Double(e.aadUDLTypePitch[i]);
    }
  }
  for (int k = 0; k < kJwwMojiTypeCount; ++k) {
    const TEntJwwMojiType& e = At(d.EntMoj, k);
    w.Double(e.adMojiX);
    w.Double(e.adMojiY);
    w.Double(e.adMojiD);
    w.Int(e.anMojiCol);
  }
  for (double x : {h.dMojiSizeX, h.dMojiSizeY, h.dMojiKankaku}) w.Double(x);
  w.Int(h.nMojiColor);
  w.Int(h.nMojiShu);
  w.Double(h.dMojiSeiriGyouKan);
  w.Double(h.dMojiSeiriSuu);
  w.Int(h.nMojiKijunZureOn);
  for (double x : {h.adMojiKijunZureX0, h.adMojiKijunZureX1, h.adMojiKijunZureX2, h.adMojiKijunZureY0,
                   h.adMojiKijunZureY1, h.adMojiKijunZureY2})
    w.Double(x);
}

}  // namespace

std::string WriteJww(const TJwwData& d, const JwwWriteOptions& o, JwwLayout* layout) {
  ArchiveWriter w;
  EntityStreamWriter s(w, d.Enthd.jwVer, o);
  if (layout) *layout = JwwLayout{};
  WriteHeader(w, s, d, o);
  s.Write(d, layout);
  if (d.Enthd.jwVer >= 700 && !o.omit_image_section) {
    if (layout) layout->image_section = w.size();
    w.Int(static_cast<int32_t>(o.stated_images >= 0 ? o.stated_images : static_cast<int64_t>(o.images.size())));
    for (const CarriedImage& image : o.images) {
      s.Text(image.name);
      int64_t size = image.stated_size >= 0 ? image.stated_size : static_cast<int64_t>(image.data.size());
      w.Int(static_cast<int32_t>(size));
      w.Raw(image.data);
    }
  }
  if (layout) layout->end = w.size();
  return std::move(w.bytes());
}

std::string WriteJws(const TJwsData& d, const JwwWriteOptions& o, JwwLayout* layout) {
  ArchiveWriter w;
  EntityStreamWriter s(w, d.Enthd.jwVer, o);
  if (layout) *layout = JwwLayout{};
  const TEntJwsHeader& h = d.Enthd;
  WriteId(w, o.id.empty() ? std::string("JwsData") : o.id, 7);
  w.Zeros(193);
  w.Int(h.jwVer);
  w.Double(h.BasePoint_x);
  w.Double(h.BasePoint_y);
  for (int g = 0; g < kJwwLayerGroupCount; ++g) w.Double(At(d.EntLgrp, g).adScale);
  for (int32_t x : {h.dmy01, h.dmy02, h.dmy03, h.dmy04, h.dmy05, h.dmy06}) w.Int(x);
  for (double x : {h.dmy11, h.dmy12, h.dmy13, h.dmy14, h.dmy15, h.dmy16}) w.Double(x);
  for (double x : {h.Mx1, h.My1, h.Mx2, h.My2}) w.Double(x);
  s.Write(d, layout);
  if (layout) layout->end = w.size();
  return std::move(w.bytes());
}

bool SaveBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

TJwwData MakeJwwDrawing(int32_t version) {
  TJwwData d;
  d.Enthd.jwID = u"JwwData.";
  d.Enthd.jwVer = version;
  d.EntLgrp.resize(kJwwLayerGroupCount);
  d.EntLay.resize(kJwwLayerCount);
  d.EntCol.resize(kJwwColorCount);
  d.EntLtp1.resize(kJwwLtp1Count);
  d.EntLtp2.resize(kJwwLtp2Count);
  d.EntLtp3.resize(kJwwLtp3Count);
  d.EntColS.resize(kJwwColorSCount);
  d.EntLtpS.resize(kJwwLtpSCount);
  d.EntMoj.resize(kJwwMojiTypeCount);
  for (auto& g : d.EntLgrp) {
    g.anGLay = 2;
    g.adScale = 1.0;
  }
  for (auto& l : d.EntLay) l.aanLay = 2;
  return d;
}

TJwsData MakeJwsShape(int32_t version) {
  TJwsData d;
  d.Enthd.jwID = u"JwsData";
  d.Enthd.jwVer = version;
  d.EntLgrp.resize(kJwwLayerGroupCount);
  for (auto& g : d.EntLgrp) {
    g.anGLay = 2;
    g.adScale = 1.0;
  }
  return d;
}

namespace {

template <class T>
void Push(std::vector<TEntJwwNo>& order, std::vector<T>& list, const T& e, JwwEntityKind kind) {
  order.push_back({kind, static_cast<int32_t>(list.size())});
  list.push_back(e);
}

}  // namespace

void AddEntity(JwwEntityModel& m, const TEntJwwLine& e) { Push(m.EntNo, m.EntLine, e, kJwwLine); }
void AddEntity(JwwEntityModel& m, const TEntJwwEnko& e) { Push(m.EntNo, m.EntEnko, e, kJwwEnko); }
void AddEntity(JwwEntityModel& m, const TEntJwwTen& e) { Push(m.EntNo, m.EntTen, e, kJwwTen); }
void AddEntity(JwwEntityModel& m, const TEntJwwMoji& e) { Push(m.EntNo, m.EntMoji, e, kJwwMoji); }
void AddEntity(JwwEntityModel& m, const TEntJwwSunpo& e) { Push(m.EntNo, m.EntSunpo, e, kJwwSunpo); }
void AddEntity(JwwEntityModel& m, const TEntJwwSolid& e) { Push(m.EntNo, m.EntSolid, e, kJwwSolid); }
void AddEntity(JwwEntityModel& m, const TEntJwwBlock& e) { Push(m.EntNo, m.EntBlock, e, kJwwBlock); }

#define PARVEX_ADD_MEMBER(Type, list, kind)              \
  void AddMember(TEntJwwBlockDef& d, const Type& e) {    \
    Push(d.mNo, d.list, e, kind);                        \
    d.N = static_cast<int32_t>(d.mNo.size());            \
  }
PARVEX_ADD_MEMBER(TEntJwwLine, mLine, kJwwLine)
PARVEX_ADD_MEMBER(TEntJwwEnko, mEnko, kJwwEnko)
PARVEX_ADD_MEMBER(TEntJwwTen, mTen, kJwwTen)
PARVEX_ADD_MEMBER(TEntJwwMoji, mMoji, kJwwMoji)
PARVEX_ADD_MEMBER(TEntJwwSunpo, mSunpo, kJwwSunpo)
PARVEX_ADD_MEMBER(TEntJwwSolid, mSolid, kJwwSolid)
PARVEX_ADD_MEMBER(TEntJwwBlock, mBlock, kJwwBlock)
#undef PARVEX_ADD_MEMBER

void AddInsertedDefinition(TJwwData& drawing, TEntJwwBlockDef def) {
  TEntJwwBlock b;
  b.att = Attr(0, 2);
  b.dBairitsuX = b.dBairitsuY = 1;
  b.nNumber = def.nNumber;
  drawing.EntBlockDef.push_back(std::move(def));
  AddEntity(drawing, b);
}

TEntJwwAttr Attr(int group, int layer, int color, int style) {
  TEntJwwAttr a;
  a.nGLayer = static_cast<uint16_t>(group);
  a.nLayer = static_cast<uint16_t>(layer);
  a.nPenColor = static_cast<uint16_t>(color);
  a.nPenStyle = static_cast<uint8_t>(style);
  return a;
}

TEntJwwLine MakeLine(const TEntJwwAttr& a, double x1, double y1, double x2, double y2) {
  TEntJwwLine e;
  e.att = a;
  e.start_x = x1;
  e.start_y = y1;
  e.end_x = x2;
  e.end_y = y2;
  return e;
}

TEntJwwTen MakePoint(const TEntJwwAttr& a, double x, double y) {
  TEntJwwTen e;
  e.att = a;
  e.start_x = x;
  e.start_y = y;
  return e;
}

TEntJwwBlock MakeInsert(const TEntJwwAttr& a, uint32_t number, double x, double y, double scale,
                        double rad) {
  TEntJwwBlock b;
  b.att = a;
  b.DPKijunTen_x = x;
  b.DPKijunTen_y = y;
  b.dBairitsuX = b.dBairitsuY = scale;
  b.radKaitenKaku = rad;
  b.nNumber = number;
  return b;
}

TEntJwwLine MakeFrameLine(double x1, double y1, double x2, double y2, int group, int layer) {
  TEntJwwAttr a = Attr(group, layer, 9, 16);
  a.nPenWidth = 200;
  return MakeLine(a, x1, y1, x2, y2);
}

void AddFrameRectangle(JwwEntityModel& model, double x1, double y1, double x2, double y2) {
  AddEntity(model, MakeFrameLine(x1, y1, x2, y1));
  AddEntity(model, MakeFrameLine(x2, y1, x2, y2));
  AddEntity(model, MakeFrameLine(x2, y2, x1, y2));
  AddEntity(model, MakeFrameLine(x1, y2, x1, y1));
}

// ---- Comparison -------------------------------------------------------------

namespace {

class Differ {
 public:
  std::string result;

  bool Same(double a, double b, const std::string& what) {
    if (std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b)) return true;
    Fail(what, std::to_string(a), std::to_string(b));
    return false;
  }
  template <class I>
  bool SameInt(I a, I b, const std::string& what) {
    if (a == b) return true;
    Fail(what, std::to_string(a), std::to_string(b));
    return false;
  }
  bool SameText(const std::u16string& a, const std::u16string& b, const std::string& what) {
    if (a == b) return true;
    Fail(what, Quoted(a), Quoted(b));
    return false;
  }

  static std::string Quoted(const std::u16string& text) {
    std::string out(1, '"');
    out.append(platform::ToUtf8(text));
    out.push_back('"');
    return out;
  }

  bool Attr(const TEntJwwAttr& a, const TEntJwwAttr& b, const std::string& p) {
    return SameInt(a.lGroup, b.lGroup, p + ".lGroup") && SameInt(a.nPenStyle, b.nPenStyle, p + ".nPenStyle") &&
           SameInt(a.nPenColor, b.nPenColor, p + ".nPenColor") &&
           SameInt(a.nPenWidth, b.nPenWidth, p + ".nPenWidth") && SameInt(a.nLayer, b.nLayer, p + ".nLayer") &&
           SameInt(a.nGLayer, b.nGLayer, p + ".nGLayer") && SameInt(a.sFlg, b.sFlg, p + ".sFlg");
  }
  bool Rec(const TEntJwwLine& a, const TEntJwwLine& b, const std::string& p) {
    return Attr(a.att, b.att, p) && Same(a.start_x, b.start_x, p + ".start_x") &&
           Same(a.start_y, b.start_y, p + ".start_y") && Same(a.end_x, b.end_x, p + ".end_x") &&
           Same(a.end_y, b.end_y, p + ".end_y");
  }
  bool Rec(const TEntJwwEnko& a, const TEntJwwEnko& b, const std::string& p) {
    return Attr(a.att, b.att, p) && Same(a.start_x, b.start_x, p + ".start_x") &&
           Same(a.start_y, b.start_y, p + ".start_y") && Same(a.dHankei, b.dHankei, p + ".dHankei") &&
           Same(a.radKaishiKaku, b.radKaishiKaku, p + ".radKaishiKaku") &&
           Same(a.radEnkoKaku, b.radEnkoKaku, p + ".radEnkoKaku") &&
           Same(a.radKatamukiKaku, b.radKatamukiKaku, p + ".radKatamukiKaku") &&
           Same(a.dHenpeiRitsu, b.dHenpeiRitsu, p + ".dHenpeiRitsu") &&
           SameInt(a.bZenEnFlg, b.bZenEnFlg, p + ".bZenEnFlg");
  }
  bool Rec(const TEntJwwTen& a, const TEntJwwTen& b, const std::string& p) {
    return Attr(a.att, b.att, p) && Same(a.start_x, b.start_x, p + ".start_x") &&
           Same(a.start_y, b.start_y, p + ".start_y") && SameInt(a.bKariten, b.bKariten, p + ".bKariten") &&
           SameInt(a.nCode, b.nCode, p + ".nCode") &&
           Same(a.radKaitenKaku, b.radKaitenKaku, p + ".radKaitenKaku") &&
           Same(a.dBairitsu, b.dBairitsu, p + ".dBairitsu");
  }
  bool Rec(const TEntJwwMoji& a, const TEntJwwMoji& b, const std::string& p) {
    return Attr(a.att, b.att, p) && Same(a.start_x, b.start_x, p + ".start_x") &&
           Same(a.start_y, b.start_y, p + ".start_y") && Same(a.end_x, b.end_x, p + ".end_x") &&
           Same(a.end_y, b.end_y, p + ".end_y") && SameInt(a.nMojiShu, b.nMojiShu, p + ".nMojiShu") &&
           Same(a.dSizeX, b.dSizeX, p + ".dSizeX") && Same(a.dSizeY, b.dSizeY, p + ".dSizeY") &&
           Same(a.dKankaku, b.dKankaku, p + ".dKankaku") && Same(a.degKakudo, b.degKakudo, p + ".degKakudo") &&
           SameText(a.strFontName, b.strFontName, p + ".strFontName") && SameText(a.str, b.str, p + ".str");
  }
  bool Rec(const TEntJwwSunpo& a, const TEntJwwSunpo& b, const std::string& p) {
    return Attr(a.att, b.att, p) && Rec(a.Sen, b.Sen, p + ".Sen") && Rec(a.Moji, b.Moji, p + ".Moji") &&
           SameInt(a.bSxfMode, b.bSxfMode, p + ".bSxfMode") && Rec(a.Ho1, b.Ho1, p + ".Ho1") &&
           Rec(a.Ho2, b.Ho2, p + ".Ho2") && Rec(a.Te1, b.Te1, p + ".Te1") && Rec(a.Te2, b.Te2, p + ".Te2") &&
           Rec(a.Kt1, b.Kt1, p + ".Kt1") && Rec(a.Kt2, b.Kt2, p + ".Kt2");
  }
  bool Rec(const TEntJwwSolid& a, const TEntJwwSolid& b, const std::string& p) {
    return Attr(a.att, b.att, p) && Same(a.start_x, b.start_x, p + ".start_x") &&
           Same(a.start_y, b.start_y, p + ".start_y") && Same(a.end_x, b.end_x, p + ".end_x") &&
           Same(a.end_y, b.end_y, p + ".end_y") && Same(a.DPoint2_x, b.DPoint2_x, p + ".DPoint2_x") &&
           Same(a.DPoint2_y, b.DPoint2_y, p + ".DPoint2_y") && Same(a.DPoint3_x, b.DPoint3_x, p + ".DPoint3_x") &&
           Same(a.DPoint3_y, b.DPoint3_y, p + ".DPoint3_y") && SameInt(a.Color, b.Color, p + ".Color");
  }
  bool Rec(const TEntJwwBlock& a, const TEntJwwBlock& b, const std::string& p) {
    return Attr(a.att, b.att, p) && Same(a.DPKijunTen_x, b.DPKijunTen_x, p + ".DPKijunTen_x") &&
           Same(a.DPKijunTen_y, b.DPKijunTen_y, p + ".DPKijunTen_y") &&
           Same(a.dBairitsuX, b.dBairitsuX, p + ".dBairitsuX") &&
           Same(a.dBairitsuY, b.dBairitsuY, p + ".dBairitsuY") &&
           Same(a.radKaitenKaku, b.radKaitenKaku, p + ".radKaitenKaku") &&
           SameInt(a.nNumber, b.nNumber, p + ".nNumber");
  }
  template <class T>
  bool List(const std::vector<T>& a, const std::vector<T>& b, const std::string& p) {
    if (!SameInt(a.size(), b.size(), p + " count")) return false;
    for (size_t i = 0; i < a.size(); ++i)
      if (!Rec(a[i], b[i], p + "[" + std::to_string(i) + "]")) return false;
    return true;
  }
  bool Order(const std::vector<TEntJwwNo>& a, const std::vector<TEntJwwNo>& b, const std::string& p) {
    if (!SameInt(a.size(), b.size(), p + " count")) return false;
    for (size_t i = 0; i < a.size(); ++i) {
      const std::string q = p + "[" + std::to_string(i) + "]";
      if (!SameInt(a[i].EntType, b[i].EntType, q + ".EntType")) return false;
      if (a[i].EntType != kJwwNone && !SameInt(a[i].EntNo, b[i].EntNo, q + ".EntNo")) return false;
    }
    return true;
  }

 private:
  void Fail(const std::string& what, const std::string& a, const std::string& b) {
    if (result.empty()) result = what + ": expected " + a + ", got " + b;
  }
};

}  // namespace

std::string CompareEntities(const JwwEntityModel& e, const JwwEntityModel& a) {
  Differ d;
  bool ok = d.Order(e.EntNo, a.EntNo, "EntNo") && d.List(e.EntLine, a.EntLine, "EntLine") &&
            d.List(e.EntEnko, a.EntEnko, "EntEnko") && d.List(e.EntTen, a.EntTen, "EntTen") &&
            d.List(e.EntMoji, a.EntMoji, "EntMoji") && d.List(e.EntSunpo, a.EntSunpo, "EntSunpo") &&
            d.List(e.EntSolid, a.EntSolid, "EntSolid") && d.List(e.EntBlock, a.EntBlock, "EntBlock") &&
            d.SameInt(e.EntBlockDef.size(), a.EntBlockDef.size(), "EntBlockDef count");
  for (size_t i = 0; ok && i < e.EntBlockDef.size(); ++i) {
    const TEntJwwBlockDef& x = e.EntBlockDef[i];
    const TEntJwwBlockDef& y = a.EntBlockDef[i];
    const std::string p = "EntBlockDef[" + std::to_string(i) + "]";
    ok = d.Attr(x.att, y.att, p) && d.SameInt(x.nNumber, y.nNumber, p + ".nNumber") &&
         d.SameInt(x.bRefferd, y.bRefferd, p + ".bRefferd") && d.SameInt(x.dtime, y.dtime, p + ".dtime") &&
         d.SameText(x.strName, y.strName, p + ".strName") && d.SameInt(x.N, y.N, p + ".N") &&
         d.Order(x.mNo, y.mNo, p + ".mNo") && d.List(x.mLine, y.mLine, p + ".mLine") &&
         d.List(x.mEnko, y.mEnko, p + ".mEnko") && d.List(x.mTen, y.mTen, p + ".mTen") &&
         d.List(x.mMoji, y.mMoji, p + ".mMoji") && d.List(x.mSunpo, y.mSunpo, p + ".mSunpo") &&
         d.List(x.mSolid, y.mSolid, p + ".mSolid") && d.List(x.mBlock, y.mBlock, p + ".mBlock");
  }
  return d.result;
}

}  // namespace parvex::testing
