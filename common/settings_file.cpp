#include "common/settings_file.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "common/number_text.h"
#include "common/platform/codepage.h"
#include "common/platform/files.h"
#include "common/text_file.h"

namespace parvex {

namespace {

std::vector<std::u16string> LoadLines(const std::filesystem::path& file, bool& ok) {
  ok = false;
  auto lines = ReadTextLines(file);
  if (!lines) return {};
  ok = true;
  if (lines->size() > kSettingsLineCount) lines->resize(kSettingsLineCount);
  return std::move(*lines);
}

std::u16string OneLine(const std::u16string& text) {
  std::u16string r;
  for (char16_t c : text)
    if (c != u'\r' && c != u'\n') r.push_back(c);
  return r;
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

bool OpenDatFile(const std::filesystem::path& file, const std::u16string& launcherFolder,
                 LauncherSettings& s) {
  s = LauncherSettings{};
  s.LabelPreFolder = launcherFolder;
  bool ok = false;
  auto lines = LoadLines(file, ok);
  bool* radios[] = {&s.RadioButton1, &s.RadioButton2, &s.RadioButton3, &s.RadioButton4,
                    &s.RadioButton5};
  for (size_t n = 0; n < lines.size(); ++n) {
    const std::u16string& v = lines[n];
    switch (n) {
      case 0: s.WindowLeft = TextToInt(v); break;
      case 1: s.WindowTop = TextToInt(v); break;
      case 2: s.WindowWidth = TextToInt(v); break;
      case 3: s.WindowHeight = TextToInt(v); break;
      case 4: case 5: case 6: case 7: case 8: {
        bool checked = TextToBool(v);
        if (checked)
          for (bool* r : radios) *r = false;
        *radios[n - 4] = checked;
        break;
      }
      case 9: s.Edit1 = v; break;
      case 10: s.Label1 = v; break;
      case 11: s.LabelPreFolder = v; break;
      case 12: s.Fidx = TextToInt(v); break;
      case 13: s.gstyle = v; break;
      case 14: s.ComboBox2 = TextToInt(v); break;
      case 15: s.ComboBox3 = TextToInt(v); break;
      case 16: s.ComboBox4 = TextToInt(v); break;
      case 17: s.ComboBox5 = TextToInt(v); break;
      case 18: s.ComboBox6 = TextToInt(v); break;
      case 19: s.ComboBox7 = TextToInt(v); break;
      case 20: s.Edit2 = v; break;
      case 21: s.CheckBox1 = TextToBool(v); break;
      case 22: s.Edit3 = v; break;
      case 23: s.CheckBox2 = TextToBool(v); break;
      case 24: s.CheckBox3 = TextToBool(v); break;
      case 29: s.CheckBox4 = TextToBool(v); break;
      case 30: s.ComboBox8 = TextToInt(v); break;
      case 32: s.CheckBox5 = TextToBool(v); break;
      default: break;  // 25-28 and 31 are written for the converter only
    }
  }
  return ok;
}

std::string FormatDatFile(const LauncherSettings& s) {
  std::vector<std::u16string> lines = {
      IntToText(s.WindowLeft),
      IntToText(s.WindowTop),
      IntToText(s.WindowWidth),
      IntToText(s.WindowHeight),
      BoolToText(s.RadioButton1),
      BoolToText(s.RadioButton2),
      BoolToText(s.RadioButton3),
      BoolToText(s.RadioButton4),
      BoolToText(s.RadioButton5),
      OneLine(s.Edit1),
      OneLine(s.Label1),
      OneLine(s.LabelPreFolder),
      IntToText(s.Fidx),
      OneLine(s.gstyle),
      IntToText(s.ComboBox2),
      IntToText(s.ComboBox3),
      IntToText(s.ComboBox4),
      IntToText(s.ComboBox5),
      IntToText(s.ComboBox6),
      IntToText(s.ComboBox7),
      OneLine(s.Edit2),
      BoolToText(s.CheckBox1),
      OneLine(s.Edit3),
      BoolToText(s.CheckBox2),
      BoolToText(s.CheckBox3),
      FormatFixed(0, s.PrinterPaperWidth),
      FormatFixed(0, s.PrinterPaperHeight),
      FormatFixed(2, s.PrintableWidth),
      FormatFixed(2, s.PrintableHeight),
      BoolToText(s.CheckBox4),
      IntToText(s.ComboBox8),
      OneLine(s.JwwPath),
      BoolToText(s.CheckBox5),
  };
  std::string out;
  for (const auto& line : lines) {
    out += platform::ToUtf8(line);
    out += "\r\n";
  }
  return out;
}

bool SaveDatFile(const std::filesystem::path& file, LauncherSettings& s) {
  s.Edit2 = FloatToText(ClampPointRadius(s.Edit2));
  if (s.ComboBox2 == 0 && s.ComboBox5 == 2) s.ComboBox5 = 1;
  return platform::ReplaceFileContent(file, "\xEF\xBB\xBF" + FormatDatFile(s), true);
}

bool ReadDatFile(const std::filesystem::path& file, const std::u16string& programFolder,
                 ConverterSettingsFile& s) {
  s = ConverterSettingsFile{};
  s.lb2 = programFolder;
  bool ok = false;
  auto lines = LoadLines(file, ok);
  for (size_t n = 0; n < lines.size(); ++n) {
    const std::u16string& v = lines[n];
    switch (n) {
      case 0: s.Fm1x = TextToInt(v); break;
      case 1: s.Fm1y = TextToInt(v); break;
      case 2: s.Fm1w = TextToInt(v); break;
      case 3: s.Fm1h = TextToInt(v); break;
      case 4: s.rb1 = TextToBool(v); break;
      case 5: s.rb2 = TextToBool(v); break;
      case 6: s.rb3 = TextToBool(v); break;
      case 7: s.rb4 = TextToBool(v); break;
      case 8: s.rb5 = TextToBool(v); break;
      case 9: s.ed1 = v; break;
      case 10: s.lb1 = v; break;
      case 11: s.lb2 = v; break;
      case 12: s.Fidx = TextToInt(v); break;
      case 13: s.gstyle = v; break;
      case 14: s.cb2 = TextToInt(v); break;
      case 15: s.cb3 = TextToInt(v); break;
      case 16: s.cb4 = TextToInt(v); break;
      case 17: s.cb5 = TextToInt(v); break;
      case 18: s.cb6 = TextToInt(v); break;
      case 19: s.cb7 = TextToInt(v); break;
      case 20: s.ed2 = v; break;
      case 23: s.ch2 = TextToBool(v); break;
      case 24: s.ch3 = TextToBool(v); break;
      case 25: s.PrinterPaperWidth = TextToFloat(v); break;
      case 26: s.PrinterPaperHeight = TextToFloat(v); break;
      case 27: s.PrintableWidth = TextToFloat(v); break;
      case 28: s.PrintableHeight = TextToFloat(v); break;
      case 29: s.ch4 = TextToBool(v); break;
      case 30: s.cb8 = TextToInt(v); break;
      case 31: s.JwwPath = v; break;
      case 32: s.ch5 = TextToBool(v); break;
      default: break;  // 21-22 belong to the launcher's DWG step
    }
  }
  return ok;
}

Result<ConversionSettings> ToConversionSettings(const ConverterSettingsFile& f) {
  constexpr int kDxfVersionLine = 14;
  if (f.cb2 < 0 || f.cb2 > 2) {
    return Fail("line " + std::to_string(kDxfVersionLine + 1) + " (DXF version): " +
                std::to_string(f.cb2) + " is not 0 (R12), 1 (2000) or 2 (2007)");
  }
  auto inRange = [](int v, int lo, int hi, int otherwise) { return v < lo || v > hi ? otherwise : v; };
  auto paperSide = [](double mm, double otherwise) {
    return !(mm > 0) ? otherwise : std::min(mm, kMaxPrinterPaperMm);
  };
  const ConverterSettingsFile defaults;
  ConversionSettings s;
  s.DxfVersion = static_cast<DxfVersion>(f.cb2);
  s.ColorMode = static_cast<ColorMode>(inRange(f.cb3, 0, 1, 0));
  s.LayerNameType = static_cast<LayerNameType>(inRange(f.cb4, 0, 2, 2));
  s.OutputSpace = static_cast<OutputSpace>(inRange(f.cb5, 0, 2, 0));
  s.BaseLayerGroup = inRange(f.cb6, 0, 15, 15);
  s.PointConversion = static_cast<PointConversion>(inRange(f.cb7, 0, 6, 0));
  s.PointRadius = ClampPointRadius(f.ed2);
  s.ExpandEmbeddedText = f.ch2;
  s.ExpandControlCodes = f.ch3;
  s.CurveToPolyline = f.ch4;
  s.TextStyleMode = static_cast<TextStyleMode>(inRange(f.cb8, 0, 2, 0));
  s.DimensionAsEntity = f.ch5;
  s.PrinterPaperWidth = paperSide(f.PrinterPaperWidth, defaults.PrinterPaperWidth);
  s.PrinterPaperHeight = paperSide(f.PrinterPaperHeight, defaults.PrinterPaperHeight);
  s.PrintableWidth = paperSide(f.PrintableWidth, defaults.PrintableWidth);
  s.PrintableHeight = paperSide(f.PrintableHeight, defaults.PrintableHeight);
  return s;
}

}  // namespace parvex
