// The settings file "Parvex.dat" that the launcher writes beside both
// programs and the converter reads: 33 lines, one value a line, UTF-8 with
// a byte-order mark and CR LF after every line. A file without byte-order
// mark is read as code page 932. Missing or unparsable lines keep the
// reader's defaults (integers and decimals that do not parse read as 0,
// Booleans as false); lines after the 33rd are ignored.
//
// Line layout (0-based): 0-3 window left, top, width, height; 4-8 the five
// destination choices (desktop, documents, source folder, given folder, ask
// each time); 9 given folder; 10 folder last used in the file dialog; 11
// folder last chosen with "ask each time"; 12 file-dialog filter index; 13
// window style name; 14-19 DXF version, colour mode, layer name type,
// output space, base layer group, point conversion; 20 point radius; 21
// DWG step on; 22 ODA FileConverter path; 23-24 expand embedded text,
// expand control codes; 25-28 printer paper width and height, printable
// width and height (mm); 29 curves to polylines; 30 text style mode; 31
// Jw_cad folder; 32 dimensions as DIMENSION entities.
#pragma once

#include <filesystem>
#include <string>

#include "common/conversion_settings.h"
#include "common/result.h"

namespace parvex {

inline constexpr char kSettingsFileName[] = "Parvex.dat";
inline constexpr int kSettingsLineCount = 33;
inline constexpr char16_t kOdaPathPrompt[] = u"(ODA FileConverterを指定して下さい)";

// The launcher's view of the file: one field per window control. Plain
// data; the window copies it to and from its controls.
struct LauncherSettings {
  int WindowLeft = 50;
  int WindowTop = 50;
  int WindowWidth = 510;
  int WindowHeight = 510;
  // Destination choice. At most one is true after reading: a later true
  // line clears the earlier ones, as checking a radio button does.
  bool RadioButton1 = true;  // desktop
  bool RadioButton2 = false;  // my documents
  bool RadioButton3 = false;  // the source file's folder
  bool RadioButton4 = false;  // the specified folder (Edit1)
  bool RadioButton5 = false;  // ask each time
  std::u16string Edit1;           // the specified folder
  std::u16string Label1;          // folder last used in the file dialog
  std::u16string LabelPreFolder;  // folder last chosen when asking each time
  int Fidx = 1;                   // file-dialog filter index, 1-based
  std::u16string gstyle = u"Windows";
  // List indexes; -1 = no selection. An index outside a list is left to the
  // window to treat as "no selection".
  int ComboBox2 = 0;  // DXF version: 0 R12, 1 2000, 2 2007
  int ComboBox3 = 0;  // colour mode
  int ComboBox4 = 0;  // layer name type
  int ComboBox5 = 0;  // output space
  int ComboBox6 = 0;  // base layer group
  int ComboBox7 = 0;  // point conversion
  std::u16string Edit2 = u"0.5";  // point radius, mm, as text
  bool CheckBox1 = false;         // convert on to DWG
  std::u16string Edit3 = kOdaPathPrompt;  // ODA FileConverter executable
  bool CheckBox2 = true;   // expand embedded text
  bool CheckBox3 = true;   // expand control codes
  // Default printer, written for the converter but never read back; keep
  // the converter's defaults when no printer is known.
  double PrinterPaperWidth = 420;
  double PrinterPaperHeight = 297;
  double PrintableWidth = 420;
  double PrintableHeight = 297;
  bool CheckBox4 = false;  // curves to polylines
  int ComboBox8 = 0;       // text style mode
  std::u16string JwwPath;  // Jw_cad folder; written, never read back
  bool CheckBox5 = false;  // dimensions as DIMENSION entities
};

// The converter's view of the file, with the converter's defaults.
struct ConverterSettingsFile {
  int Fm1x = 50;
  int Fm1y = 50;
  int Fm1w = 480;
  int Fm1h = 480;
  bool rb1 = true;
  bool rb2 = false;
  bool rb3 = false;
  bool rb4 = false;
  bool rb5 = false;
  std::u16string ed1;
  std::u16string lb1;
  std::u16string lb2;  // defaults to the program folder
  int Fidx = 1;
  std::u16string gstyle = u"Windows";
  int cb2 = 0;  // DxfVersion
  int cb3 = 0;  // ColorMode
  int cb4 = 0;  // LayerNameType
  int cb5 = 0;  // OutputSpace
  int cb6 = 0;  // BaseLayerGroup
  int cb7 = 0;  // PointConversion
  std::u16string ed2;  // PointRadius as text
  bool ch2 = true;     // ExpandEmbeddedText
  bool ch3 = true;     // ExpandControlCodes
  double PrinterPaperWidth = 420;
  double PrinterPaperHeight = 297;
  double PrintableWidth = 420;
  double PrintableHeight = 297;
  bool ch4 = false;  // CurveToPolyline
  int cb8 = 0;       // TextStyleMode
  std::u16string JwwPath;
  bool ch5 = false;  // DimensionAsEntity
};

// Sets the launcher defaults (LabelPreFolder = launcherFolder), then reads
// the file when it exists. False when the file is missing or unreadable
// (the defaults stand).
bool OpenDatFile(const std::filesystem::path& file, const std::u16string& launcherFolder,
                 LauncherSettings& settings);

// Normalises the point radius (0.001..1000, written back into Edit2) and
// turns "model and several layouts" into "model and paper space" for R12,
// then writes all 33 lines. The file is replaced as a whole; when writing
// fails, no settings file is left at all, so the converter refuses to run
// rather than use stale settings. Line breaks inside texts are dropped
// (they would shift every later line).
bool SaveDatFile(const std::filesystem::path& file, LauncherSettings& settings);

// The 33 lines as written, without the byte-order mark.
std::string FormatDatFile(const LauncherSettings& settings);

// Sets the converter defaults (lb2 = programFolder), then reads the file
// when it exists. False when it is missing or unreadable.
bool ReadDatFile(const std::filesystem::path& file, const std::u16string& programFolder,
                 ConverterSettingsFile& settings);

// The settings as the converter uses them. Clamped: ColorMode outside 0..1
// becomes 0 (screen colours), LayerNameType outside 0..2 becomes 2 (group
// and layer name, which the writer made of any other value), OutputSpace
// outside 0..2 becomes 0, BaseLayerGroup outside 0..15 becomes 15,
// PointConversion outside 0..6 becomes 0, TextStyleMode outside 0..2
// becomes 0, PointRadius is ed2 parsed and kept within 0.001..1000, and
// printer sizes that are not positive take their defaults (420, 297) and
// larger ones than kMaxPrinterPaperMm become that. A DXF version outside
// 0..2 cannot be guessed: it is refused with a reason naming its line
// (counted from 1, as an editor shows it).
Result<ConversionSettings> ToConversionSettings(const ConverterSettingsFile& file);

// Largest printer paper side the converter takes, millimetres.
inline constexpr double kMaxPrinterPaperMm = 100000;

// Point radius text parsed and kept within 0.001..1000 mm.
double ClampPointRadius(std::u16string_view text);

// A printer's size in pixels at `dpi` pixels per inch, in millimetres to
// 0.01. 0 when the resolution is not positive.
double DeviceSizeToMm(long long pixels, long long dpi);

}  // namespace parvex
