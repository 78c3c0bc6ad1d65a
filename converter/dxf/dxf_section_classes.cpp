// The CLASSES section (2000 and 2007): the object classes the file uses,
// the raster image classes only when the drawing has images.
#include "converter/dxf/dxf_model.h"
#include "converter/dxf/dxf_sections.h"
#include "converter/dxf/dxf_writer.h"

namespace parvex {
namespace {

struct ClassRecord {
  const char* record;
  const char* cls;
  const char* app;
  int flags90;
  int count91;  // 2007 only
  int f280;
  int f281;
  enum { Always, Only2000, WithImages } when;
};

constexpr const char* kDbx = "ObjectDBX Classes";

constexpr ClassRecord kClasses[] = {
    {"ACDBDICTIONARYWDFLT", "AcDbDictionaryWithDefault", kDbx, 0, 1, 0, 0, ClassRecord::Always},
    {"ACDBPLACEHOLDER", "AcDbPlaceHolder", kDbx, 0, 0, 0, 0, ClassRecord::Only2000},
    {"LAYOUT", "AcDbLayout", kDbx, 0, 0, 0, 0, ClassRecord::Only2000},
    {"DICTIONARYVAR", "AcDbDictionaryVar", kDbx, 0, 5, 0, 0, ClassRecord::Always},
    {"TABLESTYLE", "AcDbTableStyle", kDbx, 4095, 1, 0, 0, ClassRecord::Always},
    {"MATERIAL", "AcDbMaterial", kDbx, 1153, 3, 0, 0, ClassRecord::Always},
    {"VISUALSTYLE", "AcDbVisualStyle", kDbx, 4095, 16, 0, 0, ClassRecord::Always},
    {"SCALE", "AcDbScale", kDbx, 1153, 33, 0, 0, ClassRecord::Always},
    {"MLEADERSTYLE", "AcDbMLeaderStyle", kDbx, 4095, 2, 0, 0, ClassRecord::Always},
    {"CELLSTYLEMAP", "AcDbCellStyleMap", kDbx, 1152, 5, 0, 0, ClassRecord::Always},
    {"RASTERVARIABLES", "AcDbRasterVariables", "ISM", 0, 4, 0, 0, ClassRecord::WithImages},
    {"IMAGEDEF", "AcDbRasterImageDef", "ISM", 0, 4, 0, 0, ClassRecord::WithImages},
    {"IMAGE", "AcDbRasterImage", "ISM", 127, 5, 0, 1, ClassRecord::WithImages},
    {"IMAGEDEF_REACTOR", "AcDbRasterImageDefReactor", "ISM", 1, 4, 0, 0,
     ClassRecord::WithImages},
};

}  // namespace

void SaveClasses(const TDXFmodel& m, DxfWriter& w) {
  if (m.Ver == DxfVersion::R12) return;
  w.BeginSection("CLASSES");
  for (const ClassRecord& c : kClasses) {
    if (c.when == ClassRecord::Only2000 && m.Ver != DxfVersion::R2000) continue;
    if (c.when == ClassRecord::WithImages && m.deFList.empty()) continue;
    w.Code(0, "CLASS");
    w.Code(1, c.record);
    w.Code(2, c.cls);
    w.Code(3, c.app);
    w.Int(90, c.flags90);
    if (m.Ver == DxfVersion::R2007) w.Int(91, c.count91);
    w.Int(280, c.f280);
    w.Int(281, c.f281);
  }
  w.EndSection();
}

}  // namespace parvex
