// Everything one conversion reads besides the drawing itself: settings,
// paths, paper size, extents and Jw_cad's reference variables. One context
// is made per drawing, so a process can convert many drawings in a row
// without state leaking from one into the next.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "common/conversion_settings.h"
#include "common/platform/local_time.h"

namespace parvex {

// A name/value pair of Jw_cad's reference-variable file ("%%NAME" TAB value).
struct TStr2List {
  std::u16string s1;
  std::u16string s2;
};

struct DrawingExtents {
  double ExtMinX = 0;
  double ExtMinY = 0;
  double ExtMaxX = 400;
  double ExtMaxY = 400;
};

struct PaperSize {
  double Width = 400;
  double Height = 400;
};

inline constexpr char16_t kConverterAppName[] =
    u"[Parvex]ＪＷファイルをＤＸＦファイルに変換 by Torvane Co.";

struct ConversionContext {
  ConversionSettings Settings;
  // 1 = the drawing's screen colours, 2 = its printer colours (ColorMode + 1).
  int ColorSource = 1;
  // Folder of the running converter; image folder "TEMP" lies below it.
  std::filesystem::path ProgramFolder;
  // Full path of the drawing being converted; empty until one was read.
  std::filesystem::path SourcePath;
  PaperSize DrawingPaperSize;
  DrawingExtents Extents;
  std::filesystem::path ReferenceFileName;
  std::vector<TStr2List> ReferenceVariables;
  // The moment of conversion that the date macros of texts show, read once
  // per drawing (from SOURCE_DATE_EPOCH when set, else the clock), so that
  // every text of a drawing shows the same time.
  platform::LocalDateTime Moment;
  // Private folder of this conversion where images carried by a drawing
  // are unpacked (inside "TEMP" below ProgramFolder for ParvexSub); empty
  // when none could be made.
  std::filesystem::path ImageFolder;
};

}  // namespace parvex
