// Colours and point radii of the pen colour numbers, and the mapping of
// colours to DXF colour numbers (ACI).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace parvex {

// One colour slot: alpha-RGB colour (0xAARRGGBB), pen width, point radius.
struct TjwvColor {
  uint32_t color = 0xFF000000;
  double width = 0;
  double ten_r = 0.2;
};

class TgraAttribute {
 public:
  static constexpr int kSlotCount = 265;

  int32_t BkColor = 0;              // 0 light background, 1 dark
  uint32_t BackColor = 0xFFFFFFFF;  // colour of numbers without a slot
  uint32_t ForeColor = 0xFF000000;  // colour of slots without a default
  std::vector<TjwvColor> jwvCol;

  TgraAttribute() : jwvCol(kSlotCount) { DataInit(); }

  // Background 0, the default colours, widths and point radii.
  void DataInit();

  // 0 light, 1 dark; any other number gives a grey BackColor and keeps
  // BkColor. The slots are not touched.
  void SetBackColor(int n);
  int32_t GetBackColorNo() const { return BkColor; }

  void SetDefaultColor();
  void SetDefaultTenR();
  void SetDefaultWidth();
  // Background again from its number, then all defaults.
  void ResetColors();

  void SetAttrCol(int jn, uint32_t col, double wid, double ten);
  uint32_t GetAttrColcol(int jn) const;
  double GetAttrColten(int jn) const;

  // Slot of a pen colour number: 1..9 -> 0..8, 101..356 -> 9..264, else -1.
  static int ColorSlot(int jn);
};

// The 256-entry ACI palette (alpha-RGB).
const std::array<uint32_t, 256>& AciPalette();

// Nearest ACI number 1..254 of an alpha-RGB colour (white and black give 7;
// 255, which readers show as white, is never chosen).
int NearestAci(uint32_t color);

// DOS-format pen colour 1..6 to ACI (others count as 2).
int JwcColorToAci(int n);
// DOS-format line type to the DXF line-type index.
int JwcStyleToLtype(int n);

// Windows RGB value (red in the low byte) to opaque alpha-RGB.
uint32_t WindowsRgbToAlphaColor(int32_t v);

}  // namespace parvex
