#include "converter/dxf/dxf_guid.h"

#include <bit>
#include <cstdint>
#include <cstdio>
#include <string_view>

namespace parvex {
namespace {

// Seeds that keep the two GUIDs and the settings digest apart.
constexpr std::uint32_t kFingerprintSeed = 0x46504744;  // "FPGD"
constexpr std::uint32_t kVersionSeed = 0x56524744;      // "VRGD"
constexpr std::uint32_t kSettingsSeed = 0x53455444;     // "SETD"

void Append(std::string& out, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void Append(std::string& out, const Digest128& d) {
  Append(out, d.hi);
  Append(out, d.lo);
}

// A named value with every bit of it: two settings that differ in the last
// digit still give different files.
void Append(std::string& out, std::string_view name, double v) {
  out += name;
  out.push_back('=');
  Append(out, std::bit_cast<std::uint64_t>(v));
}

}  // namespace

std::string FormatGuid(const Digest128& d) {
  std::uint64_t hi = d.hi;
  std::uint64_t lo = d.lo;
  hi = (hi & ~0xF000ull) | 0x8000ull;                         // version 8
  lo = (lo & 0x3FFFFFFFFFFFFFFFull) | 0x8000000000000000ull;  // variant 10
  char buf[40];
  std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%04X-%012llX}",
                static_cast<unsigned>(hi >> 32), static_cast<unsigned>((hi >> 16) & 0xFFFF),
                static_cast<unsigned>(hi & 0xFFFF), static_cast<unsigned>(lo >> 48),
                static_cast<unsigned long long>(lo & 0xFFFFFFFFFFFFull));
  return buf;
}

Digest128 SettingsDigest(const ConversionSettings& s) {
  std::string text;
  Append(text, "DxfVersion", SettingNumber(s.DxfVersion));
  Append(text, "ColorMode", SettingNumber(s.ColorMode));
  Append(text, "LayerNameType", SettingNumber(s.LayerNameType));
  Append(text, "OutputSpace", SettingNumber(s.OutputSpace));
  Append(text, "BaseLayerGroup", s.BaseLayerGroup);
  Append(text, "PointConversion", SettingNumber(s.PointConversion));
  Append(text, "PointRadius", s.PointRadius);
  Append(text, "ExpandEmbeddedText", s.ExpandEmbeddedText);
  Append(text, "ExpandControlCodes", s.ExpandControlCodes);
  Append(text, "CurveToPolyline", s.CurveToPolyline);
  Append(text, "TextStyleMode", SettingNumber(s.TextStyleMode));
  Append(text, "DimensionAsEntity", s.DimensionAsEntity);
  Append(text, "PrinterPaperWidth", s.PrinterPaperWidth);
  Append(text, "PrinterPaperHeight", s.PrinterPaperHeight);
  Append(text, "PrintableWidth", s.PrintableWidth);
  Append(text, "PrintableHeight", s.PrintableHeight);
  return DigestOf(text, kSettingsSeed);
}

DxfDrawingGuids DrawingGuids(const Digest128& source, const Digest128& settings, DxfVersion ver,
                             OutputSpace space) {
  std::string drawing;
  Append(drawing, source);
  std::string conversion = drawing;
  Append(conversion, settings);
  Append(conversion, static_cast<std::uint64_t>(SettingNumber(ver)));
  Append(conversion, static_cast<std::uint64_t>(SettingNumber(space)));
  return {FormatGuid(DigestOf(drawing, kFingerprintSeed)),
          FormatGuid(DigestOf(conversion, kVersionSeed))};
}

}  // namespace parvex
