#include "common/settings_file.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "common/number_text.h"
#include "common/platform/codepage.h"
#include "common/platform/files.h"
#include "common/text_file.h"

namespace parvex {

namespace {

// What one line of the file holds and in which form it is written.
using IntegerLine = int SettingsFile::*;
using BooleanLine = bool SettingsFile::*;
using TextLine = std::u16string SettingsFile::*;
struct MillimetreLine {
  double SettingsFile::* field;
  int decimals;
};
struct DestinationLine {
  DestinationChoice choice;
};
using Line = std::variant<IntegerLine, BooleanLine, TextLine, MillimetreLine, DestinationLine>;

// The file, line by line in order.
constexpr std::array<Line, kSettingsLineCount> kLines = {
    &SettingsFile::WindowLeft,
    &SettingsFile::WindowTop,
    &SettingsFile::WindowWidth,
    &SettingsFile::WindowHeight,
    DestinationLine{DestinationChoice::Desktop},
    DestinationLine{DestinationChoice::Documents},
    DestinationLine{DestinationChoice::SourceFolder},
    DestinationLine{DestinationChoice::GivenFolder},
    DestinationLine{DestinationChoice::AskEachTime},
    &SettingsFile::GivenFolder,
    &SettingsFile::FileDialogFolder,
    &SettingsFile::AskedFolder,
    &SettingsFile::FileDialogFilter,
    &SettingsFile::ThemeName,
    &SettingsFile::DxfVersionIndex,
    &SettingsFile::ColorModeIndex,
    &SettingsFile::LayerNameTypeIndex,
    &SettingsFile::OutputSpaceIndex,
    &SettingsFile::BaseLayerGroupIndex,
    &SettingsFile::PointConversionIndex,
    &SettingsFile::PointRadiusText,
    &SettingsFile::DwgConversion,
    &SettingsFile::OdaConverterPath,
    &SettingsFile::ExpandEmbeddedText,
    &SettingsFile::ExpandControlCodes,
    MillimetreLine{&SettingsFile::PrinterPaperWidth, 0},
    MillimetreLine{&SettingsFile::PrinterPaperHeight, 0},
    MillimetreLine{&SettingsFile::PrintableWidth, 2},
    MillimetreLine{&SettingsFile::PrintableHeight, 2},
    &SettingsFile::CurveToPolyline,
    &SettingsFile::TextStyleModeIndex,
    &SettingsFile::JwCadFolder,
    &SettingsFile::DimensionAsEntity,
};

// Index of the DXF version's line.
constexpr int kDxfVersionLine = 14;

std::u16string OneLine(const std::u16string& text) {
  std::u16string r;
  for (char16_t c : text)
    if (c != u'\r' && c != u'\n') r.push_back(c);
  return r;
}

void ReadLine(const Line& line, const std::u16string& v, SettingsFile& s) {
  std::visit(
      [&](const auto& field) {
        using F = std::decay_t<decltype(field)>;
        if constexpr (std::is_same_v<F, IntegerLine>) {
          s.*field = TextToInt(v);
        } else if constexpr (std::is_same_v<F, BooleanLine>) {
          s.*field = TextToBool(v);
        } else if constexpr (std::is_same_v<F, TextLine>) {
          s.*field = v;
        } else if constexpr (std::is_same_v<F, MillimetreLine>) {
          s.*field.field = TextToFloat(v);
        } else if (TextToBool(v)) {
          s.Destination = field.choice;
        } else if (s.Destination == field.choice) {
          s.Destination.reset();
        }
      },
      line);
}

std::u16string WriteLine(const Line& line, const SettingsFile& s) {
  return std::visit(
      [&](const auto& field) -> std::u16string {
        using F = std::decay_t<decltype(field)>;
        if constexpr (std::is_same_v<F, IntegerLine>) {
          return IntToText(s.*field);
        } else if constexpr (std::is_same_v<F, BooleanLine>) {
          return BoolToText(s.*field);
        } else if constexpr (std::is_same_v<F, TextLine>) {
          return OneLine(s.*field);
        } else if constexpr (std::is_same_v<F, MillimetreLine>) {
          return FormatFixed(field.decimals, s.*field.field);
        } else {
          return BoolToText(s.Destination == field.choice);
        }
      },
      line);
}

}  // namespace

double ClampPointRadius(std::u16string_view text) {
  double r = TextToFloat(text);
  if (r < 0.001) r = 0.001;
  if (r > 1000) r = 1000;
  return r;
}

double DeviceSizeToMm(long long pixels, long long dpi) {
  if (dpi <= 0) return 0;
  double hundredths = std::trunc(static_cast<double>(pixels) * 2540.0 / static_cast<double>(dpi) + 0.5);
  return hundredths / 100.0;
}

SettingsFile DefaultSettingsFile(SettingsReader reader, std::u16string programFolder) {
  SettingsFile s;
  s.AskedFolder = std::move(programFolder);
  if (reader == SettingsReader::Converter) {
    s.WindowWidth = 480;
    s.WindowHeight = 480;
    s.PointRadiusText.clear();
  }
  return s;
}

Result<SettingsFile> ReadSettingsFile(const std::filesystem::path& file, const SettingsFile& defaults) {
  const auto lines = ReadTextLines(file);
  if (!lines) return Fail("cannot read the settings file " + file.string());
  SettingsFile s = defaults;
  const size_t n = std::min(lines->size(), kLines.size());
  for (size_t i = 0; i < n; ++i) ReadLine(kLines[i], (*lines)[i], s);
  return s;
}

std::string FormatSettingsFile(const SettingsFile& s) {
  std::string out;
  for (const Line& line : kLines) {
    out += platform::ToUtf8(WriteLine(line, s));
    out += "\r\n";
  }
  return out;
}

Status SaveSettingsFile(const std::filesystem::path& file, SettingsFile& s) {
  s.PointRadiusText = FloatToText(ClampPointRadius(s.PointRadiusText));
  if (s.DxfVersionIndex == SettingNumber(DxfVersion::R12) &&
      s.OutputSpaceIndex == SettingNumber(OutputSpace::Layouts))
    s.OutputSpaceIndex = SettingNumber(OutputSpace::ModelAndPaper);
  if (!platform::ReplaceFileContent(file, "\xEF\xBB\xBF" + FormatSettingsFile(s), true))
    return Fail("cannot write the settings file " + file.string());
  return Ok();
}

Result<ConversionSettings> ToConversionSettings(const SettingsFile& f) {
  if (f.DxfVersionIndex < 0 || f.DxfVersionIndex > 2) {
    return Fail("line " + std::to_string(kDxfVersionLine + 1) + " (DXF version): " +
                std::to_string(f.DxfVersionIndex) + " is not 0 (R12), 1 (2000) or 2 (2007)");
  }
  auto inRange = [](int v, int lo, int hi, int otherwise) { return v < lo || v > hi ? otherwise : v; };
  auto paperSide = [](double mm, double otherwise) {
    return !(mm > 0) ? otherwise : std::min(mm, kMaxPrinterPaperMm);
  };
  const SettingsFile defaults;
  ConversionSettings s;
  s.DxfVersion = static_cast<DxfVersion>(f.DxfVersionIndex);
  s.ColorMode = static_cast<ColorMode>(inRange(f.ColorModeIndex, 0, 1, 0));
  s.LayerNameType = static_cast<LayerNameType>(inRange(f.LayerNameTypeIndex, 0, 2, 2));
  s.OutputSpace = static_cast<OutputSpace>(inRange(f.OutputSpaceIndex, 0, 2, 0));
  s.BaseLayerGroup = inRange(f.BaseLayerGroupIndex, 0, 15, 15);
  s.PointConversion = static_cast<PointConversion>(inRange(f.PointConversionIndex, 0, 6, 0));
  s.PointRadius = ClampPointRadius(f.PointRadiusText);
  s.ExpandEmbeddedText = f.ExpandEmbeddedText;
  s.ExpandControlCodes = f.ExpandControlCodes;
  s.CurveToPolyline = f.CurveToPolyline;
  s.TextStyleMode = static_cast<TextStyleMode>(inRange(f.TextStyleModeIndex, 0, 2, 0));
  s.DimensionAsEntity = f.DimensionAsEntity;
  s.PrinterPaperWidth = paperSide(f.PrinterPaperWidth, defaults.PrinterPaperWidth);
  s.PrinterPaperHeight = paperSide(f.PrinterPaperHeight, defaults.PrinterPaperHeight);
  s.PrintableWidth = paperSide(f.PrintableWidth, defaults.PrintableWidth);
  s.PrintableHeight = paperSide(f.PrintableHeight, defaults.PrintableHeight);
  return s;
}

}  // namespace parvex
