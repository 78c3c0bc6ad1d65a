// In-memory DOS-edition drawing (`TJwcData`) and shape (`TJwkData`), and
// the part they share (`JwcEntityModel`): the entity arrays, the text
// kinds and the extents.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "common/result.h"
#include "converter/context/conversion_context.h"
#include "converter/jwc/jwc_records.h"

namespace parvex {

class TgraAttribute;

// The identification texts the files begin with.
inline constexpr char kJwcId[] = "jw_cad(c)data.......";
inline constexpr char kJwkId[] = "jw_cad(c)sym........";

// Millimetres per file unit of a JWC drawing: the paper width of `psize`
// over `drawWidth`; 1 for a paper code without a known width. A drawWidth
// of 0 or less stands for the usual 518.
double JwcDataUnit(int32_t psize, int32_t drawWidth);

class JwcEntityModel {
 public:
  std::vector<TEntJwcLine> EntLine;
  std::vector<TEntJwcArc2> EntArc;
  std::vector<TEntJwcMoji2> EntMoji;
  std::vector<TEntJwcTen> EntTen;
  // Text kinds, entries 1..10 used.
  std::array<TEntJwcMojiType, kJwcTextKindSlots> EntMjtp{};

  double myMinWx = 0, myMinWy = 0, myMaxWx = 0, myMaxWy = 0;

  int32_t lineN() const { return static_cast<int32_t>(EntLine.size()); }
  int32_t arcN() const { return static_cast<int32_t>(EntArc.size()); }
  int32_t mojiN() const { return static_cast<int32_t>(EntMoji.size()); }
  int32_t tenN() const { return static_cast<int32_t>(EntTen.size()); }

  // The text kind `no` of a text record. Kinds outside 1..10 (a damaged
  // record) use kind 1, so no caller ever indexes past the table.
  const TEntJwcMojiType& TextKind(int no) const {
    return EntMjtp[no >= 1 && no <= 10 ? static_cast<size_t>(no) : 1];
  }

 protected:
  void ClearEntities();
};

class TJwcData : public JwcEntityModel {
 public:
  TEntJwcHeader Enthd;
  std::array<TEntJwcVten, kJwcVirtualPointSlots> EntVten{};
  std::array<TEntJwcLayerGroup, kJwcLayerGroupCount> EntLgrp{};
  std::array<TEntJwcLayer, kJwcLayerCount> EntLay{};

  TJwcData() { DataInit(); }

  // Empties the drawing and resets the header to its defaults.
  void DataInit();
  void DataFree() { DataInit(); }

  // Whether the file begins with the JWC identification text.
  static Status FileCheck(const std::filesystem::path& path);

  // Reads a whole JWC file. On failure the drawing keeps the records read
  // before the fault and the reason says what was wrong.
  Status FileIn(const std::filesystem::path& path);
  // The same on bytes already in memory.
  Status ReadBytes(std::span<const uint8_t> bytes);

  // Virtual points 1..VirtualPointCount() are the drawing's: the stated
  // count, kept within the 100 points the file stores.
  int VirtualPointCount() const;

  // The attribute object has no layer table for the conversion to read;
  // layer visibility is taken from the dispF flags where it is needed.
  void SetGAttLayer(TgraAttribute&) const {}

  // Drawing extents into `ext` (the run-wide values) and myMin/myMax.
  void GetMinMaxZahyo(DrawingExtents& ext);

  // The steps once the drawing is in memory: default pen colours, layer
  // attributes, extents.
  void AfterRead(TgraAttribute& attr, DrawingExtents& ext);

  // The paper code the header states (the drawing's paper size).
  std::optional<int> PaperCode() const { return Enthd.psize; }
};

class TJwkData : public JwcEntityModel {
 public:
  TEntJwkHeader Enthd;

  TJwkData() { DataInit(); }

  // Empties the shape, resets the header and puts the fixed text kinds in
  // place (a JWK file carries none).
  void DataInit();
  void DataFree() { DataInit(); }

  static Status FileCheck(const std::filesystem::path& path);
  Status FileIn(const std::filesystem::path& path);
  Status ReadBytes(std::span<const uint8_t> bytes);

  void SetGAttLayer(TgraAttribute&) const {}

  // Extents from the origin, every point divided by the shape's scale.
  void GetMinMaxZahyo(DrawingExtents& ext);
  void AfterRead(TgraAttribute& attr, DrawingExtents& ext);

  // A shape states no paper: its paper size comes from the extents.
  std::optional<int> PaperCode() const { return std::nullopt; }
};

}  // namespace parvex
