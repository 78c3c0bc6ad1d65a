// TJwcData: the JWC header, the fixed tables and whole-file reading.
#include <algorithm>

#include "common/number_text.h"
#include "common/text_helpers.h"
#include "converter/attributes/gra_attribute.h"
#include "converter/jwc/jwc_data.h"
#include "converter/jwc/jwc_reading.h"

namespace parvex {

using namespace jwc_reading;

namespace {

constexpr char kKind[] = "JWC drawing";
constexpr int32_t kUsualDrawWidth = 518;
constexpr size_t kLayerNameBytes = 8;
constexpr size_t kGroupNameBytes = 16;

void ReadHeaderBlock2(const std::vector<std::u16string>& f, TEntJwcHeader& h) {
  h.lineCount = FieldInt(f[0]);
  h.arcCount = FieldInt(f[1]);
  h.mojiCount = FieldInt(f[2]);
  h.tenCount = FieldInt(f[3]);
  h.vtenCount = FieldInt(f[4]);
  h.curFno = FieldInt(f[5]);
  h.curMfno = FieldInt(f[6]);
  h.curMlcol = FieldInt(f[7]);
  h.curMpcol = FieldInt(f[8]);
  h.wLayScale = FieldSingle(f[9]);
  h.wLayNo = FieldInt(f[10]);
  h.psize = FieldInt(f[11]);
  h.lcol = FieldInt(f[12]);
  h.ltyp = FieldInt(f[13]);
  h.plotOrgX = FieldSingle(f[14]);
  h.plotOrgY = FieldSingle(f[15]);
  h.lpitch1 = FieldSingle(f[16]);
  h.lpitch2 = FieldSingle(f[17]);
  h.drawtime = FieldInt(f[18]);
  for (size_t i = 0; i < h.penWidth.size(); ++i) h.penWidth[i] = FieldInt(f[19 + i]);
  h.gridX = FieldSingle(f[25]);
  h.gridY = FieldSingle(f[26]);
  h.gridOrgX = FieldSingle(f[27]);
  h.gridOrgY = FieldSingle(f[28]);
  h.gridScale = FieldSingle(f[29]);
  h.drawWidth = FieldInt(f[30]);
  // 0 means the usual width; a negative width would mirror the drawing.
  if (h.drawWidth <= 0) h.drawWidth = kUsualDrawWidth;
  h.flgPthin = FieldInt(f[31]);
}

void ReadHeaderBlock3(const std::vector<std::u16string>& f, TEntJwcHeader& h) {
  size_t i = 0;
  for (float* v : {&h.mvDist, &h.mtDist, &h.arLen, &h.arAng}) *v = FieldSingle(f[i++]);
  for (int32_t* v : {&h.locMR, &h.flgMconma, &h.flgMzeros, &h.typLside, &h.mvUnit, &h.mvKeta})
    *v = FieldInt(f[i++]);
  for (float* v : {&h.sOfsetXL, &h.sOfsetXM, &h.sOfsetXR, &h.sOfsetYD, &h.sOfsetYM, &h.sOfsetYT})
    *v = FieldSingle(f[i++]);
  for (int32_t* v : {&h.s1len, &h.sOrgXm, &h.sOrgYm}) *v = FieldInt(f[i++]);
  h.dlinDistB = FieldSingle(f[i++]);
  for (float& v : h.dlinDist) v = FieldSingle(f[i++]);
  for (float* v : {&h.svScrnOX, &h.svScrnOY, &h.svScrnScl}) *v = FieldSingle(f[i++]);
}

// "SSSS:OOOO": a segment and an offset of four hexadecimal digits each,
// one character between them; the linear address segment * 16 + offset.
int32_t SegmentedAddress(const std::u16string& field) {
  auto hex = [&field](size_t at) { return TextToInt(u"$" + CopyPart(field, at, 4)); };
  return hex(0) * 16 + hex(5);
}

void ReadHeaderBlock4(const std::vector<std::u16string>& f, TEntJwcHeader& h) {
  h.sBufAdr1 = SegmentedAddress(f[0]);
  h.sBufAdr2 = SegmentedAddress(f[1]);
  size_t i = 2;
  for (TEntJwcSubZoom& z : h.subZm) {
    z.X = FieldSingle(f[i++]);
    z.Y = FieldSingle(f[i++]);
    z.S = FieldSingle(f[i++]);
  }
  for (float* v : {&h.hiIdo, &h.hiHi, &h.hiTaka}) *v = FieldSingle(f[i++]);
  h.flgHok = FieldInt(f[i++]);
  h.flg25Dm = FieldInt(f[i++]);
}

}  // namespace

double JwcDataUnit(int32_t psize, int32_t drawWidth) {
  double paperWidth = 0;
  switch (psize) {
    case 0: paperWidth = 1189; break;
    case 1: paperWidth = 841; break;
    case 2: paperWidth = 594; break;
    case 3: paperWidth = 420; break;
    case 4: paperWidth = 297; break;
    case 8: paperWidth = 1682; break;
    case 9: paperWidth = 2378; break;
    case 10: paperWidth = 3364; break;
    case 11: paperWidth = 4756; break;
    case 12: paperWidth = 10000; break;
    case 13: paperWidth = 50000; break;
    case 14: paperWidth = 100000; break;
    default: return 1;
  }
  return paperWidth / (drawWidth > 0 ? drawWidth : kUsualDrawWidth);
}

void JwcEntityModel::ClearEntities() {
  EntLine.clear();
  EntLine.shrink_to_fit();
  EntArc.clear();
  EntArc.shrink_to_fit();
  EntMoji.clear();
  EntMoji.shrink_to_fit();
  EntTen.clear();
  EntTen.shrink_to_fit();
  EntMjtp = {};
  myMinWx = myMinWy = myMaxWx = myMaxWy = 0;
}

void TJwcData::DataInit() {
  ClearEntities();
  Enthd = TEntJwcHeader{};
  EntVten = {};
  EntLgrp = {};
  EntLay = {};
}

Status TJwcData::FileCheck(const std::filesystem::path& path) {
  return CheckFileId(path, kJwcId, kKind);
}

Status TJwcData::FileIn(const std::filesystem::path& path) { return ReadFileInto(*this, path); }

int TJwcData::VirtualPointCount() const {
  return std::clamp(Enthd.vtenCount, 0, kJwcVirtualPointSlots - 1);
}

Status TJwcData::ReadBytes(std::span<const uint8_t> bytes) {
  DataInit();
  ByteReader in(bytes);
  TEntJwcHeader& h = Enthd;
  if (Status s = ReadIdBlock(in, kJwcId, kKind, h.jwID, h.comment1, h.comment2); !s) return s;
  h.scaleF = h.jwID.size() > 22 && h.jwID[22] == u'f';

  Result<std::vector<std::u16string>> block2 = ReadHeaderFields(in, 32, "JWC");
  if (!block2) return block2.failure();
  ReadHeaderBlock2(*block2, h);
  Result<std::vector<std::u16string>> block3 = ReadHeaderFields(in, 28, "JWC");
  if (!block3) return block3.failure();
  ReadHeaderBlock3(*block3, h);
  Result<std::vector<std::u16string>> block4 = ReadHeaderFields(in, 22, "JWC");
  if (!block4) return block4.failure();
  ReadHeaderBlock4(*block4, h);
  h.dataUnit = JwcDataUnit(h.psize, h.drawWidth);
  const double unit = h.dataUnit;

  // The fixed tables: virtual points, text kinds, group scales, layer flags.
  const size_t scaleBytes = h.scaleF ? 4 : 2;
  const size_t tableBytes = kJwcVirtualPointSlots * 9 + kJwcTextKindsInFile * 8 +
                            kJwcLayerGroupCount * scaleBytes + 3 * kJwcLayerGroupCount +
                            2 * kJwcLayerCount;
  const uint8_t* t = in.Take(tableBytes);
  if (t == nullptr) return Fail("the file ends inside the tables after the JWC header");
  for (size_t i = 0; i < EntVten.size(); ++i) {
    EntVten[i].x = ToSingle(LoadLE<float>(t + 4 * i) * unit);
    EntVten[i].y = ToSingle(LoadLE<float>(t + 4 * (kJwcVirtualPointSlots + i)) * unit);
    EntVten[i].lay = t[8 * kJwcVirtualPointSlots + i];
  }
  t += 9 * kJwcVirtualPointSlots;
  for (uint16_t TEntJwcMojiType::*field :
       {&TEntJwcMojiType::penNo, &TEntJwcMojiType::width, &TEntJwcMojiType::height,
        &TEntJwcMojiType::dist}) {
    for (int k = 0; k < kJwcTextKindsInFile; ++k) EntMjtp[k].*field = LoadLE<uint16_t>(t + 2 * k);
    t += 2 * kJwcTextKindsInFile;
  }
  for (TEntJwcLayerGroup& g : EntLgrp) {
    const float scale = h.scaleF ? LoadLE<float>(t) : static_cast<float>(LoadLE<uint16_t>(t));
    // A scale of 0 would collapse the group onto the origin; take 1.
    g.scale = SoundScale(scale);
    t += scaleBytes;
  }
  for (TEntJwcLayerGroup& g : EntLgrp) g.srchF = *t++;
  for (TEntJwcLayer& l : EntLay) l.srchF = *t++;
  for (TEntJwcLayerGroup& g : EntLgrp) g.dispF = *t++;
  for (TEntJwcLayer& l : EntLay) l.dispF = *t++;
  for (TEntJwcLayerGroup& g : EntLgrp) g.w_lay = *t++;

  if (Status s = ReadLines(in, h.lineCount, unit, EntLine); !s) return s;
  if (Status s = ReadArcs(in, h.arcCount, unit, EntArc); !s) return s;
  if (Status s = ReadTexts(in, h.mojiCount, unit, true, EntMoji); !s) return s;
  Result<std::span<const uint8_t>> pool =
      ReadPool(in, static_cast<int64_t>(h.sBufAdr2) - h.sBufAdr1);
  if (!pool) return pool.failure();
  ResolveTexts(*pool, h.sBufAdr1, EntMoji);
  if (Status s = ReadPoints(in, h.tenCount, unit, EntTen); !s) return s;

  const uint8_t* names = in.Take(kJwcLayerCount * kLayerNameBytes + kJwcLayerGroupCount * kGroupNameBytes);
  if (names == nullptr) return Fail("the file ends inside the layer names");
  for (TEntJwcLayer& l : EntLay) {
    l.name = RemoveControlChars(FieldText({names, kLayerNameBytes}));
    names += kLayerNameBytes;
  }
  for (TEntJwcLayerGroup& g : EntLgrp) {
    g.name = RemoveControlChars(FieldText({names, kGroupNameBytes}));
    names += kGroupNameBytes;
  }
  return Ok();
}

void TJwcData::AfterRead(TgraAttribute& attr, DrawingExtents& ext) {
  attr.ResetColors();
  SetGAttLayer(attr);
  GetMinMaxZahyo(ext);
}

}  // namespace parvex
