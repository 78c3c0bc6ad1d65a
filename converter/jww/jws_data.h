// In-memory JWS shape file: a small drawing with a base point and a short
// header, using the JWW entity records.
#pragma once

#include <filesystem>
#include <span>
#include <vector>

#include "converter/jww/jww_data.h"

namespace parvex {

class TJwsData : public JwwEntityModel {
 public:
  TEntJwsHeader Enthd;
  std::vector<TEntJwwLayerGroup> EntLgrp;  // 16; only the scales come from the file
  std::vector<TEntJwwMojiType> EntMoj;     // a JWS file carries none: stays empty

  TJwsData() { DataInit(); }

  void DataInit();
  void DataFree() { DataInit(); }

  // Quick check: "JwsData", 193 reserved bytes, a version from 230 to 700.
  // The reason is "JWS-Header Error" or "JWS-Version Error".
  static Status FileCheck(const std::filesystem::path& path);

  // Reads a whole JWS file; as TJwwData::FileIn, with the JWS reasons.
  Status FileIn(const std::filesystem::path& path);
  Status ReadBytes(std::span<const uint8_t> bytes);

  // Extents seeded with the base point.
  void GetMinMaxZahyo(DrawingExtents& ext);
};

}  // namespace parvex
