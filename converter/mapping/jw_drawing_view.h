// The parts of a Windows-edition drawing (JWW drawing or JWS shape) that the
// DXF mapping reads. Both kinds share the entity records; the view hides
// where their tables and header values differ.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/content_digest.h"
#include "converter/jww/jww_records.h"

namespace parvex {

class TJwwData;
class TJwsData;

// One order list with the entity arrays its entries index: the drawing's
// top level or one block definition.
struct JwEntityList {
  std::span<const TEntJwwNo> no;
  std::span<const TEntJwwLine> line;
  std::span<const TEntJwwEnko> enko;
  std::span<const TEntJwwTen> ten;
  std::span<const TEntJwwMoji> moji;
  std::span<const TEntJwwSunpo> sunpo;
  std::span<const TEntJwwSolid> solid;
  std::span<const TEntJwwBlock> block;
};

struct JwDrawingView {
  bool jws = false;
  // Digest of the file the drawing was read from (its DXF identity).
  Digest128 sourceDigest;
  // Header values handed to the text expansion (JWS: empty, 0, 1.0).
  std::u16string memo;
  int32_t drawTime = 0;
  double printScale = 1.0;
  // Version and print settings of a JWW drawing (0 for JWS); the frame
  // search reads the print anchor from them.
  int32_t jwVer = 0;
  int32_t nPrtSet = 0;
  std::span<const TEntJwwLayerGroup> lgrp;  // 16 groups
  std::span<const TEntJwwLayer> lay;        // 256 layers; empty for JWS
  std::span<const TEntJwwLineTypeExNo> ltpS;  // SXF line types; empty for JWS
  std::span<const TEntJwwMojiType> moj;     // text kinds 1..10; empty for JWS
  JwEntityList top;
  std::span<const TEntJwwBlockDef> blockDefs;
  std::span<const TEntJwwBlockTree> blockTree;
  std::span<const TBindImageType> carriedImages;  // empty for JWS
};

JwDrawingView MakeDrawingView(const TJwwData& jw);
JwDrawingView MakeDrawingView(const TJwsData& jw);

// The entity arrays of one block definition.
JwEntityList MembersOf(const TEntJwwBlockDef& def);

}  // namespace parvex
