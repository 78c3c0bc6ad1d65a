// TJwkData: the JWK header and whole-file reading.
#include <algorithm>
#include <iterator>

#include "converter/attributes/gra_attribute.h"
#include "converter/jwc/jwc_data.h"
#include "converter/jwc/jwc_reading.h"

namespace parvex {

using namespace jwc_reading;

namespace {

constexpr char kKind[] = "JWK shape";

// The text kinds every shape uses: pen colour and, in tenths of a
// millimetre, width, height and spacing of kinds 1..10.
constexpr TEntJwcMojiType kShapeTextKinds[kJwcTextKindSlots] = {
    {0, 0, 0, 0},     {1, 20, 20, 0},   {1, 25, 25, 5},   {2, 30, 30, 5},
    {2, 40, 40, 5},   {3, 50, 50, 10},  {3, 60, 60, 10},  {4, 70, 70, 10},
    {4, 80, 80, 10},  {5, 90, 90, 10},  {5, 100, 100, 10}, {0, 0, 0, 0},
};

}  // namespace

void TJwkData::DataInit() {
  ClearEntities();
  Enthd = TEntJwkHeader{};
  std::copy(std::begin(kShapeTextKinds), std::end(kShapeTextKinds), EntMjtp.begin());
}

Status TJwkData::FileCheck(const std::filesystem::path& path) {
  return CheckFileId(path, kJwkId, kKind);
}

Status TJwkData::FileIn(const std::filesystem::path& path) { return ReadFileInto(*this, path); }

Status TJwkData::ReadBytes(std::span<const uint8_t> bytes) {
  DataInit();
  ByteReader in(bytes);
  TEntJwkHeader& h = Enthd;
  if (Status s = ReadIdBlock(in, kJwkId, kKind, h.jwID, h.comment1, h.comment2); !s) return s;
  Result<std::vector<std::u16string>> block2 = ReadHeaderFields(in, 9, "JWK");
  if (!block2) return block2.failure();
  const std::vector<std::u16string>& f = *block2;
  h.lineCount = FieldInt(f[0]);
  h.arcCount = FieldInt(f[1]);
  h.tenCount = FieldInt(f[2]);
  h.mojiCount = FieldInt(f[3]);
  h.org_x = FieldSingle(f[4]);
  h.org_y = FieldSingle(f[5]);
  h.dispScale = FieldSingle(f[6]);
  h.strSpace = FieldInt(f[7]);
  h.scale = SoundScale(FieldSingle(f[8]));

  // Shapes are stored full size: no unit factor.
  if (Status s = ReadLines(in, h.lineCount, 1, EntLine); !s) return s;
  if (Status s = ReadArcs(in, h.arcCount, 1, EntArc); !s) return s;
  if (Status s = ReadPoints(in, h.tenCount, 1, EntTen); !s) return s;
  if (Status s = ReadTexts(in, h.mojiCount, 1, false, EntMoji); !s) return s;
  Result<std::span<const uint8_t>> pool = ReadPool(in, h.strSpace);
  if (!pool) return pool.failure();
  ResolveTexts(*pool, 0, EntMoji);
  return Ok();
}

void TJwkData::AfterRead(TgraAttribute& attr, DrawingExtents& ext) {
  attr.ResetColors();
  SetGAttLayer(attr);
  GetMinMaxZahyo(ext);
}

}  // namespace parvex
