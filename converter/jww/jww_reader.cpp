// TJwwData: header and whole-file reading.
#include <cmath>
#include <fstream>
#include <system_error>
#include <thread>

#include "converter/jww/jww_archive.h"
#include "converter/jww/jww_data.h"
#include "converter/jww/jww_file.h"

namespace parvex {
namespace {

constexpr int32_t kMinJwwVersion = 220;
constexpr int32_t kMaxJwwVersion = 700;
constexpr char kJwwId[] = "JwwData.";

void ReadHeaderBody(JwwArchive& ar, TJwwData& d) {
  ByteReader& in = ar.In();
  TEntJwwHeader& h = d.Enthd;
  const int32_t ver = h.jwVer;
  auto I = [&](int32_t& v) { in.I32(v); };
  auto F = [&](double& v) { in.F64(v); };

  h.strMemo = ar.ReadText();
  I(h.nZumen);
  I(h.nWriteGLay);
  for (int g = 0; g < kJwwLayerGroupCount; ++g) {
    TEntJwwLayerGroup& grp = d.EntLgrp[g];
    I(grp.anGLay);
    I(grp.anWriteLay);
    F(grp.adScale);
    I(grp.anGLayProtect);
    for (int l = 0; l < 16; ++l) {
      I(d.EntLay[g * 16 + l].aanLay);
      I(d.EntLay[g * 16 + l].aanLayProtect);
    }
  }
  in.Skip(56);
  I(h.lnSunpou1);
  I(h.lnSunpou2);
  I(h.lnSunpou3);
  I(h.lnSunpou4);
  I(h.lnSunpou5);
  in.Skip(4);
  I(h.nMaxDrawWid);
  F(h.DPPrtGenten_x);
  F(h.DPPrtGenten_y);
  F(h.dPrtBairitsu);
  I(h.nPrtSet);
  I(h.nMemoriMode);
  F(h.dMemoriHyoujiMin);
  F(h.dMemoriX);
  F(h.dMemoriY);
  F(h.DpMemoriKjTen_x);
  F(h.DpMemoriKjTen_y);
  for (int i = 0; i < kJwwLayerCount; ++i) d.EntLay[i].aStrLayName = ar.ReadCleanText();
  for (int g = 0; g < kJwwLayerGroupCount; ++g) d.EntLgrp[g].aStrGLayName = ar.ReadCleanText();
  F(h.dKageLevel);
  F(h.dKageIdo);
  I(h.nKage9_15JiFlg);
  F(h.dKabeKageLevel);
  if (ver >= 300) {
    F(h.dTenkuuZuLevel);
    F(h.dTenkuuZuEnkoR);
  }
  I(h.nMMTani3D);
  F(h.dBairitsu);
  F(h.DPGenten_x);
  F(h.DPGenten_y);
  F(h.dHanniBairitsu);
  F(h.DPHanniGenten_x);
  F(h.DPHanniGenten_y);
  if (ver >= 231) {
    for (int i = 1; i <= 8; ++i) {
      F(h.dZoomJumpBairitsu[i]);
      F(h.DPZoomJumpGenten_x[i]);
      F(h.DPZoomJumpGenten_y[i]);
      I(h.nZoomJumpGLay[i]);
    }
    F(h.dDm11);
    F(h.dDm12);
    F(h.dDm13);
    I(h.lnDm1);
    F(h.dDm21);
    F(h.dDm22);
    F(h.dMojiBG);
    I(h.nMojiBG);
  } else {
    for (int i = 1; i <= 4; ++i) {
      F(h.dZoomJumpBairitsu[i]);
      F(h.DPZoomJumpGenten_x[i]);
      F(h.DPZoomJumpGenten_y[i]);
    }
  }
  for (double& v : h.adFukusenSuuchi) F(v);
  F(h.dRyougawaFukusenTomeDe);
  for (auto& c : d.EntCol) {
    I(c.aPenColor);
    I(c.anPenWidth);
  }
  for (auto& c : d.EntCol) {
    I(c.aPrtPenColor);
    I(c.anPrtPenWidth);
    F(c.adPrtTenHankei);
  }
  for (auto& t : d.EntLtp1) {
    I(t.alLType);
    I(t.anTokushuSenUintDot);
    I(t.anTokushuSenPich);
    I(t.anPrtTokushuSenPich);
  }
  for (auto& t : d.EntLtp2) {
    I(t.alLType);
    I(t.anRandSenWide);
    I(t.anTokushuSenPich);
    I(t.anPrtRandSenWide);
    I(t.anPrtTokushuSenPich);
  }
  for (auto& t : d.EntLtp3) {
    I(t.alLType);
    I(t.anTokushuSenUintDot);
    I(t.anTokushuSenPich);
    I(t.anPrtTokushuSenPich);
  }
  for (int32_t* v : {&h.nDrawGamenTen, &h.nDrawPrtTen, &h.nBitMapFirstDraw, &h.nGyakuDraw,
                     &h.nGyakuSearch, &h.nColorPrint, &h.nLayJunPrint, &h.nColJunPrint,
                     &h.nPrtRenzoku, &h.nPrtKyoutsuuGray})
    I(*v);
  int32_t printerWord = 0;
  I(printerWord);
  h.nPrtDpi = printerWord / 10;
  h.nPrtDispOnlyNonDraw = printerWord % 10;
  if (ver >= 223) {
    I(h.lnDrawTime);
    I(h.nEyeInit);
    I(h.dEye_H_Ichi_1);
    I(h.dEye_H_Ichi_2);
    I(h.dEye_H_Ichi_3);
    F(h.dEye_Z_Ichi_1);
    F(h.dEye_Y_Ichi_1);
    F(h.dEye_Z_Ichi_2);
    F(h.dEye_Y_Ichi_2);
    F(h.dEye_V_Ichi_3);
  }
  if (ver >= 225) {
    F(h.dSenNagasaSnpou);
    F(h.dBoxSunpouX);
    F(h.dBoxSunpouY);
    F(h.dEnHankeiSnpou);
  }
  if (ver >= 230) {
    I(h.nSolidNinniColor);
    I(h.SolidColor);
  }
  if (ver >= 420) {
    for (auto& c : d.EntColS) {
      I(c.aPenColor);
      I(c.anPenWidth);
    }
    for (auto& c : d.EntColS) {
      c.astrUDColorName = ar.ReadCleanText();
      I(c.aPrtPenColor);
      I(c.anPrtPenWidth);
      F(c.adPrtTenHankei);
    }
    for (auto& t : d.EntLtpS) {
      I(t.alLType);
      I(t.anTokushuSenUintDot);
      I(t.anTokushuSenPich);
      I(t.anPrtTokushuSenPich);
    }
    for (auto& t : d.EntLtpS) {
      t.astrUDLTypeName = ar.ReadCleanText();
      I(t.anUDLTypeSegment);
      for (int i = 1; i <= 10; ++i) F(t.aadUDLTypePitch[i]);
    }
  }
  for (auto& m : d.EntMoj) {
    F(m.adMojiX);
    F(m.adMojiY);
    F(m.adMojiD);
    I(m.anMojiCol);
    SanitiseMojiSize(m.adMojiX, m.adMojiY, m.adMojiD);
  }
  F(h.dMojiSizeX);
  F(h.dMojiSizeY);
  F(h.dMojiKankaku);
  SanitiseMojiSize(h.dMojiSizeX, h.dMojiSizeY, h.dMojiKankaku);
  I(h.nMojiColor);
  I(h.nMojiShu);
  F(h.dMojiSeiriGyouKan);
  F(h.dMojiSeiriSuu);
  I(h.nMojiKijunZureOn);
  F(h.adMojiKijunZureX0);
  F(h.adMojiKijunZureX1);
  F(h.adMojiKijunZureX2);
  F(h.adMojiKijunZureY0);
  F(h.adMojiKijunZureY1);
  F(h.adMojiKijunZureY2);
}

// Identification and version.
Status ReadJwwId(ByteReader& in, TJwwData& d) {
  const uint8_t* id = in.Take(8);
  if (id == nullptr || std::string_view(reinterpret_cast<const char*>(id), 8) != kJwwId) return Fail(kErrJwwHeader);
  d.Enthd.jwID = u"JwwData.";
  if (!in.I32(d.Enthd.jwVer) || d.Enthd.jwVer < kMinJwwVersion ||
      d.Enthd.jwVer > kMaxJwwVersion) {
    return Fail(kErrJwwVersion);
  }
  return Ok();
}

// The image section of version 700 and later. With BindImageExp each image
// goes to BindImageWrite (which writes it into BindImageFolder); without,
// its bytes are passed over.
void ReadImageSection(JwwArchive& ar, TJwwData& d) {
  d.BindImageInit();
  if (!d.BindImageExp && !d.BindImageExr) return;
  ByteReader& in = ar.In();
  int32_t count = 0;
  if (!in.I32(count) || count <= 0) return;
  // Each entry needs at least a name length byte and a size.
  const size_t fits = in.Remaining() / 5;
  d.BindImage.reserve(std::min(static_cast<size_t>(count), fits));
  for (int32_t i = 0; i < count && !in.AtEnd(); ++i) {
    TBindImageType img;
    img.Fname = ar.ReadCleanText();
    in.I32(img.Fsize);
    d.BindImage.push_back(std::move(img));
    const TBindImageType& e = d.BindImage.back();
    if (!e.Fname.empty() && e.Fsize > 0) {
      size_t got = 0;
      const uint8_t* data = in.TakeUpTo(static_cast<size_t>(e.Fsize), got);
      if (d.BindImageExp) d.BindImageWrite(e, data, got);
    }
  }
}

}  // namespace

Status JwwEntityModel::ReadEntitySections(JwwArchive& ar, ByteReader& in, int32_t& n1,
                                          int32_t& n2) {
  int32_t count = 0;
  if (!ar.ReadCount(count) || count < 0 ||
      static_cast<size_t>(count) > in.Remaining() / kMinObjectBytes) {
    // A count the rest of the file cannot hold is treated as a short file.
    return Fail(kErrFileIo);
  }
  n1 = count;
  ObjectMap map;
  EntNo.assign(static_cast<size_t>(count), TEntJwwNo{});
  EntityListTarget target{&EntNo, &EntLine, &EntEnko, &EntTen,
                          &EntMoji, &EntSunpo, &EntSolid, &EntBlock};
  if (Status list = ReadEntityList(ar, map, count, target); !list) return list;
  if (Status defs = ReadBlockDefs(ar, map, n2, EntBlockDef); !defs) return defs;
  // A record cut short is dropped and the list goes on, which ends the read
  // at the next tag; only the last record of the last list has no next tag.
  // A file that ends inside it is as short as one that ends anywhere else.
  if (in.HitEnd()) return Fail(kErrFileIo);
  return Ok();
}

void TJwwData::DataInit() {
  FileOutOpt = 0;
  ClearEntityModel();
  Enthd = TEntJwwHeader{};
  EntLgrp.assign(kJwwLayerGroupCount, {});
  EntLay.assign(kJwwLayerCount, {});
  EntCol.assign(kJwwColorCount, {});
  EntLtp1.assign(kJwwLtp1Count, {});
  EntLtp2.assign(kJwwLtp2Count, {});
  EntLtp3.assign(kJwwLtp3Count, {});
  EntColS.assign(kJwwColorSCount, {});
  EntLtpS.assign(kJwwLtpSCount, {});
  EntMoj.assign(kJwwMojiTypeCount, {});
}

Status TJwwData::FileCheck(const std::filesystem::path& path) {
  uint8_t head[12];
  if (!ReadFileHead(path, head, sizeof head)) return Fail(kErrJwwHeader);
  ByteReader in(std::span<const uint8_t>(head, sizeof head));
  TJwwData probe;
  return ReadJwwId(in, probe);
}

Status TJwwData::FileIn(const std::filesystem::path& path) {
  DataInit();
  FileBytes bytes;
  if (!ReadWholeFile(path, bytes)) return Fail(kErrFileIo);
  return ReadBytes(bytes.span());
}

namespace {
// Below this the digest costs less than starting a thread.
constexpr size_t kDigestAsideBytes = 4u << 20;
}  // namespace

Status TJwwData::ReadBytes(std::span<const uint8_t> bytes) {
  DataInit();
  // Joined on every way out, before SourceDigest is looked at.
  std::jthread digester;
  if (ReadThreads > 1 && bytes.size() >= kDigestAsideBytes) {
    try {
      digester = std::jthread([this, bytes] { SourceDigest = DigestOf(bytes); });
    } catch (const std::system_error&) {
      // No thread to be had: taken here instead.
    }
  }
  if (!digester.joinable()) SourceDigest = DigestOf(bytes);
  ByteReader in(bytes);
  if (Status id = ReadJwwId(in, *this); !id) return id;
  JwwArchive ar(in, Enthd.jwVer, MojiEncode);
  ReadHeaderBody(ar, *this);
  if (in.HitEnd()) return Fail(kErrFileIo);

  Status read = ReadEntitySections(ar, in, Enthd.n1, Enthd.n2);
  if (read && Enthd.jwVer >= 700) ReadImageSection(ar, *this);
  MakeBlockTree();
  return read;
}

}  // namespace parvex
