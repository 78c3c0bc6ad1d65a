// The settings file "Parvex.dat" that the launcher writes beside both
// programs and both programs read: 33 lines, one value a line, UTF-8 with
// a byte-order mark and CR LF after every line. A file without byte-order
// mark is read as code page 932. Missing or unparsable lines keep the
// reader's defaults (integers and decimals that do not parse read as 0,
// Booleans as false); lines after the 33rd are ignored.
//
// Line layout (0-based): 0-3 window left, top, width, height; 4-8 the five
// destination choices (desktop, documents, source folder, given folder, ask
// each time); 9 given folder; 10 folder last used in the file dialog; 11
// folder last chosen with "ask each time"; 12 file-dialog filter index; 13
// window theme name; 14-19 DXF version, colour mode, layer name type,
// output space, base layer group, point conversion; 20 point radius; 21
// DWG step on; 22 ODA FileConverter path; 23-24 expand embedded text,
// expand control codes; 25-28 printer paper width and height, printable
// width and height (mm); 29 curves to polylines; 30 text style mode; 31
// Jw_cad folder; 32 dimensions as DIMENSION entities.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "common/conversion_settings.h"
#include "common/result.h"

namespace parvex {

inline constexpr char kSettingsFileName[] = "Parvex.dat";
inline constexpr int kSettingsLineCount = 33;
inline constexpr char16_t kOdaPathPrompt[] = u"(ODA FileConverterを指定して下さい)";

// Where the launcher puts its results; the file keeps one Boolean line per
// choice, in this order.
enum class DestinationChoice : int {
  Desktop = 0,
  Documents = 1,
  SourceFolder = 2,
  GivenFolder = 3,
  AskEachTime = 4,
};

// Everything the file holds, with the launcher's defaults. The launcher
// copies it to and from its window; the converter turns it into
// ConversionSettings. Each program ignores the lines that belong to the
// other (the window never shows the printer sizes or takes the Jw_cad
// folder back; the converter has no window and no DWG step).
struct SettingsFile {
  int WindowLeft = 50;
  int WindowTop = 50;
  int WindowWidth = 510;
  int WindowHeight = 510;
  // The checked destination; none when every destination line reads false.
  // A later true line wins over an earlier one, as checking a radio button
  // clears the others.
  std::optional<DestinationChoice> Destination = DestinationChoice::Desktop;
  std::u16string GivenFolder;        // destination of DestinationChoice::GivenFolder
  std::u16string FileDialogFolder;   // folder last used in the file dialog
  std::u16string AskedFolder;        // folder last chosen with AskEachTime
  int FileDialogFilter = 1;          // filter index of the file dialog, 1-based
  std::u16string ThemeName = u"Windows";
  // The setting lists' selected indexes, as stored: -1 is no selection and
  // nothing here is clamped (ToConversionSettings does that).
  int DxfVersionIndex = 0;       // 0 R12, 1 2000, 2 2007
  int ColorModeIndex = 0;        // 0 screen colours, 1 printer colours
  int LayerNameTypeIndex = 0;    // 0 number, 1 layer name, 2 group and layer name
  int OutputSpaceIndex = 0;      // 0 model, 1 model and paper, 2 layouts
  int BaseLayerGroupIndex = 0;   // 0..15
  int PointConversionIndex = 0;  // 0..6, as PointConversion
  std::u16string PointRadiusText = u"0.5";  // millimetres, as typed
  bool DwgConversion = false;               // convert each DXF on to DWG
  std::u16string OdaConverterPath = kOdaPathPrompt;
  bool ExpandEmbeddedText = true;
  bool ExpandControlCodes = true;
  // The default printer's paper in millimetres at the time of saving. The
  // converter's defaults stand when no printer is known.
  double PrinterPaperWidth = 420;
  double PrinterPaperHeight = 297;
  double PrintableWidth = 420;
  double PrintableHeight = 297;
  bool CurveToPolyline = false;
  int TextStyleModeIndex = 0;  // 0..2, as TextStyleMode
  std::u16string JwCadFolder;  // Jw_cad's program folder, for "Jw_win.jwf"
  bool DimensionAsEntity = false;
};

// The program whose defaults apply to lines a file lacks.
enum class SettingsReader { Launcher, Converter };

// The defaults of one program. Both take `programFolder` (with trailing
// separator) as the last "ask each time" folder. The converter's differ
// from the launcher's in the window size (480 × 480) and in an empty point
// radius, which it reads as the smallest radius.
SettingsFile DefaultSettingsFile(SettingsReader reader, std::u16string programFolder);

// The file read over `defaults`: each line present replaces its field.
// Fails, naming the file, when it is missing, unreadable or too large.
Result<SettingsFile> ReadSettingsFile(const std::filesystem::path& file, const SettingsFile& defaults);

// Normalises the point radius (0.001..1000, written back into
// PointRadiusText) and turns "model and several layouts" into "model and
// paper space" for R12, then writes all 33 lines. The file is replaced as a
// whole; when writing fails, no settings file is left at all, so the
// converter refuses to run rather than use stale settings. Line breaks
// inside texts are dropped (they would shift every later line).
Status SaveSettingsFile(const std::filesystem::path& file, SettingsFile& settings);

// The 33 lines as written, without the byte-order mark.
std::string FormatSettingsFile(const SettingsFile& settings);

// The settings as the converter uses them. Clamped: ColorMode outside 0..1
// becomes 0 (screen colours), LayerNameType outside 0..2 becomes 2 (group
// and layer name, which the writer made of any other value), OutputSpace
// outside 0..2 becomes 0, BaseLayerGroup outside 0..15 becomes 15,
// PointConversion outside 0..6 becomes 0, TextStyleMode outside 0..2
// becomes 0, PointRadius is the radius text parsed and kept within
// 0.001..1000, and printer sizes that are not positive take their defaults
// (420, 297) and larger ones than kMaxPrinterPaperMm become that. A DXF
// version outside 0..2 cannot be guessed: it is refused with a reason
// naming its line (counted from 1, as an editor shows it).
Result<ConversionSettings> ToConversionSettings(const SettingsFile& file);

// Largest printer paper side the converter takes, millimetres.
inline constexpr double kMaxPrinterPaperMm = 100000;

// Point radius text parsed and kept within 0.001..1000 mm.
double ClampPointRadius(std::u16string_view text);

// A printer's size in pixels at `dpi` pixels per inch, in millimetres to
// 0.01. 0 when the resolution is not positive.
double DeviceSizeToMm(long long pixels, long long dpi);

}  // namespace parvex
