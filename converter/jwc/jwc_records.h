// Records of Jw_cad's DOS-edition drawings (JWC) and shapes (JWK) as they
// are held in memory. Entity records keep the field order of the file
// records and their single-precision coordinates; the reader decodes them
// field by field, so the in-memory layout does not have to match the file.
// JWC coordinates are paper millimetres once read; JWK coordinates are
// full-size drawing units as stored.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace parvex {

// Sizes of the fixed records in the file.
inline constexpr size_t kJwcLineBytes = 22;
inline constexpr size_t kJwcArcBytes = 32;
inline constexpr size_t kJwcTextBytes = 24;
inline constexpr size_t kJwcPointBytes = 12;
// Every header block is this long.
inline constexpr size_t kJwcHeaderBlockBytes = 200;

inline constexpr int kJwcVirtualPointSlots = 101;  // entries 0..100
inline constexpr int kJwcTextKindSlots = 12;       // entries 1..10 used
inline constexpr int kJwcTextKindsInFile = 11;     // entries 0..10 are stored
inline constexpr int kJwcLayerGroupCount = 16;
inline constexpr int kJwcLayerCount = 256;  // group * 16 + layer

// A straight line (22 bytes).
struct TEntJwcLine {
  float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  uint8_t typ = 0;  // line type
  uint8_t col = 0;  // pen colour
  uint8_t lay = 0;  // flat layer index 0..255
  uint8_t flg1 = 0, flg2 = 0, flg3 = 0;

  bool operator==(const TEntJwcLine&) const = default;
};

// A circle, arc, ellipse or elliptic arc (32 bytes in the file, where the
// flattening is a Word in ten-thousandths and the angles are Integers in
// 1/65536 degree).
struct TEntJwcArc2 {
  float x = 0, y = 0;  // centre
  float r = 0;         // radius
  float h = 0;         // flattening: second axis / radius
  float st = 0, et = 0;  // start and end angle, degrees
  float tt = 0;          // tilt, degrees
  uint8_t typ = 0, col = 0, lay = 0, flg1 = 0, flg2 = 0, flg3 = 0;

  bool operator==(const TEntJwcArc2&) const = default;
};

// A text (24 bytes in the file); its characters live in the text pool at
// address p.
struct TEntJwcMoji2 {
  float x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // start and end of the text line
  int32_t p = 0;                         // pool address
  uint8_t no = 0;                        // text kind, 1..10 in a sound file
  uint8_t lay = 0;
  uint8_t flg1 = 0, flg2 = 0;
  std::u16string s;

  bool operator==(const TEntJwcMoji2&) const = default;
};

// A point (12 bytes).
struct TEntJwcTen {
  float x = 0, y = 0;
  uint8_t lay = 0, col = 0, flg1 = 0, flg2 = 0;

  bool operator==(const TEntJwcTen&) const = default;
};

// A virtual point: a reference point of the drawing.
struct TEntJwcVten {
  float x = 0, y = 0;
  uint8_t lay = 0;

  bool operator==(const TEntJwcVten&) const = default;
};

// A text kind: pen colour, character width, height and spacing in tenths
// of a millimetre.
struct TEntJwcMojiType {
  uint16_t penNo = 0;
  uint16_t width = 0;
  uint16_t height = 0;
  uint16_t dist = 0;

  // Width over height, the width factor of the kind's text style; 1 for a
  // kind of height 0, whose ratio does not exist.
  double WidthFactor() const {
    return height == 0 ? 1.0 : static_cast<double>(width) / static_cast<double>(height);
  }

  bool operator==(const TEntJwcMojiType&) const = default;
};

struct TEntJwcLayerGroup {
  float scale = 1;  // scale denominator; never 0 once read
  uint8_t srchF = 0, dispF = 0, w_lay = 0;
  std::u16string name;

  bool operator==(const TEntJwcLayerGroup&) const = default;
};

struct TEntJwcLayer {
  uint8_t srchF = 0, dispF = 0;
  std::u16string name;

  bool operator==(const TEntJwcLayer&) const = default;
};

// One of the five stored sub-views (x, y, scale).
struct TEntJwcSubZoom {
  float X = 0, Y = 0, S = 0;
};

// The text header of a JWC drawing, fields in file order. Only the counts,
// psize, drawWidth, drawtime, the comments, sBufAdr1, sBufAdr2, scaleF and
// dataUnit matter to the conversion; the rest is carried.
struct TEntJwcHeader {
  std::u16string jwID, comment1, comment2;
  bool scaleF = true;  // group scales stored as Singles (else Words)
  int32_t lineCount = 0, arcCount = 0, mojiCount = 0, tenCount = 0, vtenCount = 0;
  int32_t curFno = 0, curMfno = 0, curMlcol = 0, curMpcol = 0;
  float wLayScale = 0;
  int32_t wLayNo = 0;
  int32_t psize = 3;  // paper code
  int32_t lcol = 0, ltyp = 0;
  float plotOrgX = 0, plotOrgY = 0, lpitch1 = 0, lpitch2 = 0;
  int32_t drawtime = 0;
  std::array<int32_t, 6> penWidth{};
  float gridX = 0, gridY = 0, gridOrgX = 0, gridOrgY = 0, gridScale = 0;
  int32_t drawWidth = 518;  // paper width in file units
  int32_t flgPthin = 0;
  float mvDist = 0, mtDist = 0, arLen = 0, arAng = 0;
  int32_t locMR = 0, flgMconma = 0, flgMzeros = 0, typLside = 0, mvUnit = 0, mvKeta = 0;
  float sOfsetXL = 0, sOfsetXM = 0, sOfsetXR = 0, sOfsetYD = 0, sOfsetYM = 0, sOfsetYT = 0;
  int32_t s1len = 0, sOrgXm = 0, sOrgYm = 0;
  float dlinDistB = 0;
  std::array<float, 5> dlinDist{};
  float svScrnOX = 0, svScrnOY = 0, svScrnScl = 0;
  int32_t sBufAdr1 = 0, sBufAdr2 = 0;  // first and end address of the text pool
  std::array<TEntJwcSubZoom, 5> subZm{};
  float hiIdo = 0, hiHi = 0, hiTaka = 0;
  int32_t flgHok = 0, flg25Dm = 0;
  double dataUnit = 1;  // millimetres per file unit
};

// The text header of a JWK shape.
struct TEntJwkHeader {
  std::u16string jwID, comment1, comment2;
  int32_t lineCount = 0, arcCount = 0, tenCount = 0, mojiCount = 0;
  float org_x = 0, org_y = 0;  // origin of the shape
  float dispScale = 1;
  int32_t strSpace = 0;  // size of the text pool in bytes
  float scale = 1;       // scale denominator; never 0 once read
};

}  // namespace parvex
