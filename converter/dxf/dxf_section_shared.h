// What the BLOCKS and ENTITIES sections share: the entity writers and the
// names they write, encoded once per section.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "converter/dxf/dxf_model.h"

namespace parvex {

class DxfWriter;

namespace dxfsec {

// The order list and entity arrays of one container (dxf_model.h).
using EntityLists = TDXF_EntityLists;

EntityLists TopLevel(TDXFmodel& m);
EntityLists OfBlock(TDXF_BlockDef& b);

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

// Handles the record of one order-list entry uses when it is selected:
// 1, an IMAGE 2 (with its reactor), a POLYLINE its vertices + 2.
int HandlesOf(const EntityLists& l, const TDXF_EntNo& e);

// Writes entities of one container. The filter a selects by space code:
// a = 0 takes model space and the first paper space, a = k >= 2 layout k
// only; a rejected record uses no handle. The owner b is the handle of the
// owning block record; 0 means the block record of the entity's space.
class EntityWriter {
 public:
  EntityWriter(TDXFmodel& m, DxfWriter& w);
  void Write(int a, int b, EntityLists& l, const TDXF_EntNo& e);

 private:
  // The common head up to the subclass marker ("" for none).
  void Head(const char* type, int handle, int owner, int spc, int lay, const char* subclass);
  void Attrs(int col, int typ, int wid);
  void Skip(int handles) { m_.DXFHnd += handles; }

  void Line(const TDXF_Line& r, int owner);
  void Circle(const TDXF_Circle& r, int owner);
  void Arc(const TDXF_Arc& r, int owner);
  void Ellipse(const TDXF_Ellipse& r, int owner);
  void Ten(const TDXF_Ten& r, int owner);
  void Solid3(const TDXF_Solid3& r, int owner);
  void Solid4(const TDXF_Solid4& r, int owner);
  void Moji(const TDXF_Moji& r, int owner);
  void Image(TDXF_Image& r, int owner);
  void PLine(const TDXF_PLine& r, int owner);
  void VPort(const TDXF_ViewPort& r, int owner);
  void Dim(const TDXF_Dimension& r, int owner);
  void Insert(const TDXF_Block& r, int owner);
  // An INSERT of a point's block.
  void TenInsert(const TDXF_Ten& r, int owner, int block);
  int MarkerBlock(int cod) const;

  // Layer argument of Head for viewports, which always go on layer "VP".
  static constexpr int kLiteralVpLayer = -1000000;

  TDXFmodel& m_;
  DxfWriter& w_;
  NameCache names_;
  std::vector<int> markerBlocks_;  // index by code + 7, -1 = none
  bool modern_;                    // 2000 or 2007
};

}  // namespace dxfsec
}  // namespace parvex
