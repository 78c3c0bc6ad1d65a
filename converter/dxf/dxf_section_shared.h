// What the BLOCKS, ENTITIES and OBJECTS sections share: the entity writer
// and the names it writes, encoded once per section.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "converter/dxf/dxf_handles.h"
#include "converter/dxf/dxf_model.h"

namespace parvex {

class DxfWriter;

namespace dxfsec {

// Table names as the file holds them, encoded once.
class NameCache {
 public:
  NameCache(const TDXFmodel& m, const DxfWriter& w);
  // Layer i; "0" for an index that names no layer.
  std::string_view Layer(int i) const;
  // Line type k (1-based); empty for an index that names none.
  std::string_view Ltype(int k) const;
  // Text style i (0-based); empty for an index that names none.
  std::string_view Style(int i) const;
  // Block definition j; empty for an index that names none.
  std::string_view Block(int j) const;

 private:
  std::vector<std::string> layers_, ltypes_, styles_, blocks_;
};

// Whether the IMAGE of an image record is written: 2000 and 2007 only, and
// only when a section selects the record and its file is in the image
// list. OBJECTS gives exactly these images their reactors.
bool ImageWritten(const TDXFmodel& m, const TDXF_Image& r);

// Writes the entities of one container, each with the handles the model's
// numbering gave it.
class EntityWriter {
 public:
  EntityWriter(const TDXFmodel& m, const DxfHandles& h, DxfWriter& w);
  // The records of c that run `run` writes (WritingRun): 0 those of
  // ENTITIES or of a block definition, k those of layout k. `owner` is the
  // handle of the owning block record; 0 means the record of each entity's
  // space.
  void Write(const DxfEntities& c, int run, std::uint32_t owner);
  // The same for the entries [first, last) of c's order only.
  void Write(const DxfEntities& c, int run, std::uint32_t owner, std::size_t first,
             std::size_t last);

 private:
  // The common head up to the subclass marker (nullptr for none).
  void Head(const char* type, std::uint32_t handle, int spc, std::string_view layer,
            const char* subclass);
  // The head without a subclass marker, owned by `owner`: also the start of
  // a VERTEX or SEQEND, whose owner is its POLYLINE.
  void Start(const char* type, std::uint32_t handle, std::uint32_t owner, int spc,
             std::string_view layer);
  void Attrs(int col, int typ, int wid);

  // One writer per kind of record (specialised for each in the .cpp);
  // each returns without writing what the skip rules leave out.
  template <class R>
  void Entity(const R& r);
  // A SOLID through four corners in the order it takes them (x, y pairs).
  void Solid(const DxfAttributes& a, std::uint32_t handle, const std::array<double, 8>& c);
  // The start of a CIRCLE or ARC: head, attributes, centre and radius.
  template <class R>
  void CircleStart(const char* type, const R& r);
  // The start of a DIMENSION or INSERT up to its attributes, with the name
  // of the block definition it refers to; false, writing nothing, when
  // that definition does not exist.
  bool BlockHead(const char* type, const char* subclass, const DxfAttributes& a,
                 std::uint32_t handle, int block);
  // An INSERT of a point's block.
  void TenInsert(const TDXF_Ten& r, int block);
  int MarkerBlock(int cod) const;
  // The style of TrueType texts of a font (text styles "one per font"):
  // the first whose font file is the font name + ".ttf", else 0.
  int TrueTypeStyle(int font);

  const TDXFmodel& m_;
  const DxfHandles& h_;
  DxfWriter& w_;
  NameCache names_;
  std::vector<int> markerBlocks_;  // index by code + 7, -1 = none
  std::vector<int> fontStyles_;    // TrueTypeStyle by font + 1, -1 = not yet known
  bool modern_;                    // 2000 or 2007
  std::uint32_t owner_ = 0;        // of the entity being written
};

}  // namespace dxfsec
}  // namespace parvex
