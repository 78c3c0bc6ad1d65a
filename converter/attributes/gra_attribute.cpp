#include "converter/attributes/gra_attribute.h"

#include <cstdlib>

namespace parvex {
namespace {

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) {
  return 0xFF000000u | (r << 16) | (g << 8) | b;
}

struct Rgb3 {
  uint8_t r, g, b;
};

// Default colours of slots 0..24 for a light (0) and a dark (1) background.
constexpr Rgb3 kDefaultColors[2][25] = {
    {{0, 192, 192}, {0, 0, 0},       {0, 192, 0},     {192, 192, 0},   {192, 0, 192},
     {0, 0, 255},   {0, 128, 128},   {255, 0, 128},   {255, 128, 255}, {0, 0, 0},
     {255, 0, 0},   {0, 255, 0},     {0, 0, 255},     {255, 255, 0},   {255, 0, 255},
     {0, 255, 255}, {0, 0, 0},       {192, 0, 128},   {192, 128, 64},  {255, 128, 0},
     {128, 192, 128}, {0, 128, 255}, {128, 64, 255},  {192, 192, 192}, {128, 128, 128}},
    {{0, 255, 255}, {255, 255, 255}, {0, 255, 0},     {255, 255, 0},   {192, 0, 192},
     {32, 32, 255}, {0, 128, 128},   {160, 0, 0},     {192, 128, 128}, {255, 255, 255},
     {255, 0, 0},   {0, 255, 0},     {0, 0, 255},     {255, 255, 0},   {255, 0, 255},
     {0, 255, 255}, {255, 255, 255}, {192, 0, 128},   {192, 128, 64},  {255, 128, 0},
     {128, 192, 128}, {0, 128, 255}, {128, 64, 255},  {192, 192, 192}, {128, 128, 128}},
};

std::array<uint32_t, 256> BuildPalette() {
  std::array<uint32_t, 256> p{};
  const Rgb3 first[10] = {{255, 255, 255}, {255, 0, 0}, {255, 255, 0}, {0, 255, 0},
                          {0, 255, 255},   {0, 0, 255}, {255, 0, 255}, {0, 0, 0},
                          {128, 128, 128}, {192, 192, 192}};
  for (int i = 0; i < 10; ++i) p[i] = Rgb(first[i].r, first[i].g, first[i].b);

  const int ramp[5] = {0, 63, 127, 191, 255};
  const int levels[5] = {255, 165, 127, 76, 38};
  auto pale = [](int c) {
    switch (c) {
      case 0: return 127;
      case 63: return 159;
      case 127: return 191;
      case 191: return 223;
      default: return 255;
    }
  };
  for (int h = 0; h < 24; ++h) {
    const int s = h / 4, f = h % 4;
    int full[3];
    switch (s) {
      case 0: full[0] = 255; full[1] = ramp[f]; full[2] = 0; break;
      case 1: full[0] = ramp[4 - f]; full[1] = 255; full[2] = 0; break;
      case 2: full[0] = 0; full[1] = 255; full[2] = ramp[f]; break;
      case 3: full[0] = 0; full[1] = ramp[4 - f]; full[2] = 255; break;
      case 4: full[0] = ramp[f]; full[1] = 0; full[2] = 255; break;
      default: full[0] = 255; full[1] = 0; full[2] = ramp[4 - f]; break;
    }
    for (int i = 0; i < 5; ++i) {
      for (int k = 0; k < 2; ++k) {
        uint32_t c[3];
        for (int j = 0; j < 3; ++j) {
          const int base = k == 0 ? full[j] : pale(full[j]);
          // c * L / 255 rounded to nearest, halves up.
          c[j] = static_cast<uint32_t>((2 * base * levels[i] + 255) / 510);
        }
        p[10 + 10 * h + 2 * i + k] = Rgb(c[0], c[1], c[2]);
      }
    }
  }
  // Entries that differ from the rule by one step.
  const struct {
    int index;
    Rgb3 c;
  } fixes[] = {{29, {38, 23, 19}},   {43, {165, 145, 82}}, {63, {145, 165, 82}},
               {89, {23, 38, 19}},   {109, {19, 38, 23}},  {123, {82, 165, 145}},
               {143, {82, 145, 165}}, {169, {19, 23, 38}}, {189, {23, 19, 38}},
               {203, {145, 82, 165}}, {223, {165, 82, 145}}, {249, {38, 19, 23}}};
  for (const auto& f : fixes) p[f.index] = Rgb(f.c.r, f.c.g, f.c.b);

  // The greys DXF readers show for 250..255. Index 255 is white, like
  // index 0, so the nearest-colour search (which keeps the lower index on
  // equal distances) never gives it: a grey never becomes an ACI that
  // readers show as white.
  const uint32_t greys[6] = {51, 91, 132, 173, 214, 255};
  for (int i = 0; i < 6; ++i) p[250 + i] = Rgb(greys[i], greys[i], greys[i]);
  return p;
}

}  // namespace

const std::array<uint32_t, 256>& AciPalette() {
  static const std::array<uint32_t, 256> palette = BuildPalette();
  return palette;
}

int NearestAci(uint32_t color) {
  const auto& pal = AciPalette();
  for (int i = 0; i < 256; ++i)
    if (pal[i] == color) return i == 0 ? 7 : i;
  const int64_t r = (color >> 16) & 0xFF, g = (color >> 8) & 0xFF, b = color & 0xFF;
  int best = 0;
  int64_t bestDist = INT64_MAX;
  for (int i = 0; i < 256; ++i) {
    const int64_t r2 = (pal[i] >> 16) & 0xFF, g2 = (pal[i] >> 8) & 0xFF, b2 = pal[i] & 0xFF;
    // The difference of the squared components, as the converter has always
    // measured it.
    const int64_t d = std::llabs(r * r - r2 * r2) + std::llabs(g * g - g2 * g2) +
                      std::llabs(b * b - b2 * b2);
    if (d < bestDist) {
      bestDist = d;
      best = i;
    }
  }
  return best == 0 ? 7 : best;
}

int JwcColorToAci(int n) {
  static constexpr int kAci[7] = {7, 4, 7, 3, 2, 6, 5};
  return n >= 1 && n <= 6 ? kAci[n] : 7;
}

int JwcStyleToLtype(int n) {
  if (n >= 1 && n <= 9) return n;
  if (n >= 11 && n <= 18) return n - 1;
  return 1;
}

uint32_t WindowsRgbToAlphaColor(int32_t v) {
  // Truncating division with the remainder's sign following the dividend,
  // then everything modulo 2^32.
  const int64_t r = v % 256, g = (v / 256) % 256, b = (v / 65536) % 256;
  const int64_t c = 0xFF000000LL + r * 65536 + g * 256 + b;
  return static_cast<uint32_t>(static_cast<uint64_t>(c));
}

// ---- TgraAttribute --------------------------------------------------------------

void TgraAttribute::DataInit() {
  BkColor = 0;
  BackColor = 0xFFFFFFFF;
  ForeColor = 0xFF000000;
  jwvCol.assign(kSlotCount, TjwvColor{});
  SetDefaultColor();
  SetDefaultWidth();
  SetDefaultTenR();
}

void TgraAttribute::SetBackColor(int n) {
  if (n == 0) {
    BkColor = 0;
    BackColor = 0xFFFFFFFF;
    ForeColor = 0xFF000000;
  } else if (n == 1) {
    BkColor = 1;
    BackColor = 0xFF000000;
    ForeColor = 0xFFFFFFFF;
  } else {
    BackColor = 0xFF808080;
    ForeColor = 0xFF000000;
  }
}

void TgraAttribute::SetDefaultColor() {
  for (TjwvColor& c : jwvCol) c.color = ForeColor;
  if (BkColor != 0 && BkColor != 1) return;
  for (int i = 0; i < 25; ++i) {
    const Rgb3& c = kDefaultColors[BkColor][i];
    jwvCol[i].color = Rgb(c.r, c.g, c.b);
  }
}

void TgraAttribute::SetDefaultTenR() {
  for (TjwvColor& c : jwvCol) c.ten_r = 0.2;
  const double radii[9] = {0.2, 0.3, 0.4, 0.5, 0.5, 0.5, 0.5, 0.5, 0.2};
  for (int i = 0; i < 9; ++i) jwvCol[i].ten_r = radii[i];
}

void TgraAttribute::SetDefaultWidth() {
  // Widths only matter for on-screen drawing; one pixel each.
  for (TjwvColor& c : jwvCol) c.width = 1;
}

void TgraAttribute::ResetColors() {
  SetBackColor(GetBackColorNo());
  SetDefaultColor();
  SetDefaultWidth();
  SetDefaultTenR();
}

int TgraAttribute::ColorSlot(int jn) {
  if (jn >= 1 && jn <= 9) return jn - 1;
  if (jn >= 101 && jn <= 356) return jn - 92;
  return -1;
}

void TgraAttribute::SetAttrCol(int jn, uint32_t col, double wid, double ten) {
  const int s = ColorSlot(jn);
  if (s < 0) return;
  jwvCol[s].color = col;
  jwvCol[s].width = wid;
  jwvCol[s].ten_r = ten;
}

uint32_t TgraAttribute::GetAttrColcol(int jn) const {
  const int s = ColorSlot(jn);
  return s < 0 ? BackColor : jwvCol[s].color;
}

double TgraAttribute::GetAttrColten(int jn) const {
  const int s = ColorSlot(jn);
  return s < 0 ? 0.1 : jwvCol[s].ten_r;
}

}  // namespace parvex
