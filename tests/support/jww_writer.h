// Writes JWW drawings and JWS shapes from the in-memory model, in the
// archive layout the reader expects. Used by tests, the sample generator,
// the fuzzer seeds and the read benchmark; the programs never link it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "converter/jww/jws_data.h"
#include "converter/jww/jww_data.h"
#include "tests/support/archive_writer.h"

namespace parvex::testing {

enum class UnicodeStrings {
  kWhenNeeded,  // UTF-16 only for texts code page 932 cannot hold
  kAlways,      // every string with the Unicode marker
  kNever,       // code page 932 always (unmappable characters become '?')
};

// One image of the carried-image section (version 700 and later).
struct CarriedImage {
  std::u16string name;
  std::string data;
  // Size written in front of the data; -1 writes data.size().
  int64_t stated_size = -1;
};

struct JwwWriteOptions {
  UnicodeStrings strings = UnicodeStrings::kWhenNeeded;
  // Form of the class references after the first object of a class.
  ClassRefForm class_refs = ClassRefForm::kShort;
  // Rotate through short, long, bare long and repeated new-class tags.
  bool cycle_class_refs = false;
  // Write every count in the 0xFFFF + int form.
  bool long_counts = false;
  // Store each block definition's time stamp in the long form (negative
  // dtime followed by 8 bytes).
  bool long_time_stamps = false;
  // Stated counts; -1 writes the number of objects actually written.
  int64_t stated_entities = -1;
  int64_t stated_block_defs = -1;
  // Identification text; empty writes "JwwData." / "JwsData".
  std::string id;
  // JWW version 700 and later: the carried images. The section is always
  // written from 700 on (count 0 when empty) unless omitted.
  std::vector<CarriedImage> images;
  bool omit_image_section = false;
  // Stated image count; -1 writes images.size().
  int64_t stated_images = -1;
};

// Byte offsets of the parts of a written file, for tests that cut a file
// or patch bytes at a known place.
struct JwwLayout {
  size_t entity_count = 0;                // start of the entity count
  std::vector<size_t> entity_objects;     // start (tag) of each drawing entity
  size_t block_def_count = 0;             // start of the definition count
  std::vector<size_t> block_def_objects;  // start (tag) of each definition
  size_t image_section = 0;               // start of the image section, 0 if none
  size_t end = 0;
};

// The header's version field decides the layout (220..700 for JWW,
// 230..700 for JWS); tables shorter than their fixed size are written as
// zeroed entries.
std::string WriteJww(const TJwwData& drawing, const JwwWriteOptions& options = {},
                     JwwLayout* layout = nullptr);
std::string WriteJws(const TJwsData& shape, const JwwWriteOptions& options = {},
                     JwwLayout* layout = nullptr);

// Writes `bytes` to `path`, replacing the file. Returns false on failure.
bool SaveBytes(const std::filesystem::path& path, const std::string& bytes);

// ---- Building models ------------------------------------------------------

// A drawing of the given version with the fixed-size tables in place and
// the header identification set.
TJwwData MakeJwwDrawing(int32_t version);
TJwsData MakeJwsShape(int32_t version);

// Appends an entity to the drawing's arrays and order list.
void AddEntity(JwwEntityModel& model, const TEntJwwLine& e);
void AddEntity(JwwEntityModel& model, const TEntJwwEnko& e);
void AddEntity(JwwEntityModel& model, const TEntJwwTen& e);
void AddEntity(JwwEntityModel& model, const TEntJwwMoji& e);
void AddEntity(JwwEntityModel& model, const TEntJwwSunpo& e);
void AddEntity(JwwEntityModel& model, const TEntJwwSolid& e);
void AddEntity(JwwEntityModel& model, const TEntJwwBlock& e);

// Appends a member to a block definition (arrays, order list and N).
void AddMember(TEntJwwBlockDef& def, const TEntJwwLine& e);
void AddMember(TEntJwwBlockDef& def, const TEntJwwEnko& e);
void AddMember(TEntJwwBlockDef& def, const TEntJwwTen& e);
void AddMember(TEntJwwBlockDef& def, const TEntJwwMoji& e);
void AddMember(TEntJwwBlockDef& def, const TEntJwwSunpo& e);
void AddMember(TEntJwwBlockDef& def, const TEntJwwSolid& e);
void AddMember(TEntJwwBlockDef& def, const TEntJwwBlock& e);

// Adds `def` to the drawing's block definitions and inserts it once at the
// origin (layer group 0, layer 2, scale 1), so that a conversion writes it.
void AddInsertedDefinition(TJwwData& drawing, TEntJwwBlockDef def);

// Attributes on layer group `group`, layer `layer`.
TEntJwwAttr Attr(int group, int layer, int color = 1, int style = 1);

// A line from (x1, y1) to (x2, y2) and a point at (x, y), with attributes `a`.
TEntJwwLine MakeLine(const TEntJwwAttr& a, double x1, double y1, double x2, double y2);
TEntJwwTen MakePoint(const TEntJwwAttr& a, double x, double y);
// An insert of block `number` at (x, y), scaled evenly and turned by rad.
TEntJwwBlock MakeInsert(const TEntJwwAttr& a, uint32_t number, double x, double y,
                        double scale = 1, double rad = 0);
// A drawing-frame line as Jw_cad draws it (auxiliary colour 9, frame line
// type 16, width 200) on group `group`, layer `layer`; the four of the
// rectangle (x1, y1)-(x2, y2), counter-clockwise from the bottom.
TEntJwwLine MakeFrameLine(double x1, double y1, double x2, double y2, int group = 0,
                          int layer = 0);
void AddFrameRectangle(JwwEntityModel& model, double x1, double y1, double x2, double y2);

// Compares the entity parts of two models (order lists, entities, block
// definitions with their members). Returns an empty text when they agree,
// else a description of the first difference. Doubles compare bit for bit.
std::string CompareEntities(const JwwEntityModel& expected, const JwwEntityModel& actual);

}  // namespace parvex::testing
