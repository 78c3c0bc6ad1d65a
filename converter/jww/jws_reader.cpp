// TJwsData: the JWS header and whole-file reading.
#include <string_view>

#include "converter/jww/jws_data.h"
#include "converter/jww/jww_archive.h"
#include "converter/jww/jww_file.h"

namespace parvex {
namespace {

constexpr int32_t kMinJwsVersion = 230;
constexpr int32_t kMaxJwsVersion = 700;
constexpr char kJwsId[] = "JwsData";
// The identification block is 200 bytes: the 7-byte id and reserved bytes.
constexpr size_t kJwsIdBlock = 200;

Status ReadJwsId(ByteReader& in, TEntJwsHeader& h) {
  const uint8_t* id = in.Take(7);
  if (id == nullptr || std::string_view(reinterpret_cast<const char*>(id), 7) != kJwsId) return Fail(kErrJwsHeader);
  h.jwID = u"JwsData";
  if (!in.Skip(kJwsIdBlock - 7) || !in.I32(h.jwVer) || h.jwVer < kMinJwsVersion ||
      h.jwVer > kMaxJwsVersion) {
    return Fail(kErrJwsVersion);
  }
  return Ok();
}

}  // namespace

void TJwsData::DataInit() {
  FileOutOpt = 0;
  ClearEntityModel();
  Enthd = TEntJwsHeader{};
  EntLgrp.assign(kJwwLayerGroupCount, {});
  EntMoj.clear();
}

Status TJwsData::FileCheck(const std::filesystem::path& path) {
  uint8_t head[kJwsIdBlock + 4];
  if (!ReadFileHead(path, head, sizeof head)) return Fail(kErrJwsHeader);
  ByteReader in(std::span<const uint8_t>(head, sizeof head));
  TEntJwsHeader h;
  return ReadJwsId(in, h);
}

Status TJwsData::FileIn(const std::filesystem::path& path) {
  DataInit();
  FileBytes bytes;
  if (!ReadWholeFile(path, bytes)) return Fail(kErrFileIo);
  return ReadBytes(bytes.span());
}

Status TJwsData::ReadBytes(std::span<const uint8_t> bytes) {
  DataInit();
  SourceDigest = DigestOf(bytes);
  ByteReader in(bytes);
  if (Status id = ReadJwsId(in, Enthd); !id) return id;
  TEntJwsHeader& h = Enthd;
  in.F64(h.BasePoint_x);
  in.F64(h.BasePoint_y);
  for (TEntJwwLayerGroup& g : EntLgrp) {
    in.F64(g.adScale);
    g.anGLay = 2;
    g.anWriteLay = 0;
    g.anGLayProtect = 0;
    g.aStrGLayName.clear();
  }
  for (int32_t* v : {&h.dmy01, &h.dmy02, &h.dmy03, &h.dmy04, &h.dmy05, &h.dmy06}) in.I32(*v);
  for (double* v : {&h.dmy11, &h.dmy12, &h.dmy13, &h.dmy14, &h.dmy15, &h.dmy16}) in.F64(*v);
  for (double* v : {&h.Mx1, &h.My1, &h.Mx2, &h.My2}) in.F64(*v);
  if (in.HitEnd()) return Fail(kErrFileIo);

  JwwArchive ar(in, h.jwVer, MojiEncode);
  Status read = ReadEntitySections(ar, in, h.n1, h.n2);
  // A shape file carries no image section, whatever its version.
  MakeBlockTree();
  return read;
}

}  // namespace parvex
