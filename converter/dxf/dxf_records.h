// The entity records of the DXF model: one plain struct per kind of entity
// the writer knows, each starting with the attributes every entity shares
// and the handle it gets before writing. Header only: the text expansion
// (converter/expand/) builds records without linking the model.
//
// Units: full-size millimetres with the paper's lower-left corner at the
// origin; angles in degrees unless a field says otherwise.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace parvex {

// Colour, line type and lineweight: a positive value is explicit, 0 means
// by layer, -1 by block.
struct DxfAttributes {
  int space = 0;       // 0 model space, 1 the first paper space, k >= 2 layout k
  int layer = 0;       // index into the layer table
  int colour = 0;      // DXF colour number
  int ltype = 0;       // k > 0: the k-th line type of the table (1-based)
  int lineweight = 0;  // hundredths of a millimetre
};

// The kinds of entity record, numbered as the order lists of the model's
// description number them.
enum class DxfEntityKind : std::uint8_t {
  Line = 1, Circle, Arc, Ellipse, Point, Solid3, Solid4, Text, Image, Polyline, Dimension,
  Viewport = 98, Insert = 99,
};

// Every record: `attr`, then `handle`, the first handle of the entity in
// the file (0 when no section writes it), given by AssignHandles before
// each write. Handle and attributes fill the first 24 bytes together, so
// that a record is no larger than its attributes and values need.

struct TDXF_Line {
  static constexpr DxfEntityKind kKind = DxfEntityKind::Line;
  DxfAttributes attr{};
  std::uint32_t handle = 0;
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

struct TDXF_Circle {
  static constexpr DxfEntityKind kKind = DxfEntityKind::Circle;
  DxfAttributes attr{};
  std::uint32_t handle = 0;
  double x = 0, y = 0, r = 0;
};

struct TDXF_Arc {
  static constexpr DxfEntityKind kKind = DxfEntityKind::Arc;
  DxfAttributes attr{};
  std::uint32_t handle = 0;
  double x = 0, y = 0, r = 0;
  double sa = 0;  // start angle in [0, 360)
  double da = 0;  // signed sweep; negative = clockwise
};

struct TDXF_Ellipse {
  static constexpr DxfEntityKind kKind = DxfEntityKind::Ellipse;
  DxfAttributes attr{};
  std::uint32_t handle = 0;
  double x = 0, y = 0;
  double r = 0;   // major radius
  double he = 1;  // minor / major
  double sa = 0;  // start parameter angle
  double da = 0;  // sweep; 0 = whole ellipse
  double ka = 0;  // angle of the major axis
};

// A point: a POINT, a CIRCLE or an INSERT of a point block, by its code
// and the model's point conversion. The line type is not used.
struct TDXF_Ten {
  static constexpr DxfEntityKind kKind = DxfEntityKind::Point;
  DxfAttributes attr{};
  std::uint32_t handle = 0;
  int cod = 0;  // marker code
  double x = 0, y = 0;
  double a = 0;   // rotation
  double ba = 0;  // scale
};

// Solids use the colour of the attributes, not the line type or lineweight.
struct TDXF_Solid3 {
  static constexpr DxfEntityKind kKind = DxfEntityKind::Solid3;
  DxfAttributes attr{};
  std::uint32_t handle = 0;
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0, x3 = 0, y3 = 0;
};

struct TDXF_Solid4 {
  static constexpr DxfEntityKind kKind = DxfEntityKind::Solid4;
  DxfAttributes attr{};
  std::uint32_t handle = 0;
  // Corners in boundary order.
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0, x3 = 0, y3 = 0, x4 = 0, y4 = 0;
};

// A text uses the colour only of the attributes. Drawings use few fonts:
// the model keeps each font name once and texts refer to it by index.
struct TDXF_Moji {
  static constexpr DxfEntityKind kKind = DxfEntityKind::Text;
  DxfAttributes attr{};
  std::uint32_t handle = 0;
  int style = 0;          // 0-based index of the text style
  int bas = 0;            // base-point kind (kept, not written)
  int font = -1;          // font name: TDXFmodel::FontIndex, -1 none
  bool tate = false;      // vertical
  bool syat = false;      // slanted (never together with vertical)
  double x1 = 0, y1 = 0;  // insertion point
  double x2 = 0, y2 = 0;  // end of the text line
  double w = 0, h = 0;    // character width and height
  double d = 0;           // character spacing (kept, not written)
  double a = 0;           // rotation
  std::u16string st{};    // the text
};

// An image uses the space and layer only. Its IMAGE takes `handle`, the
// reactor object of that IMAGE the handle after it.
struct TDXF_Image {
  static constexpr DxfEntityKind kKind = DxfEntityKind::Image;
  DxfAttributes attr{};
  std::uint32_t handle = 0;
  double x = 0, y = 0;    // lower-left corner
  double ix = 0, iy = 0;  // size in pixels
  double sx = 0, sy = 0;  // size in drawing units
  double a = 0;           // rotation
  std::u16string fna{};   // image file
};

struct TDXF_PLinePoint {
  double x = 0, y = 0;
  double a = 0;  // included angle (radians) of the arc to the next vertex
};

// The POLYLINE takes `handle`, its vertices the handles after it, then the
// SEQEND.
struct TDXF_PLine {
  static constexpr DxfEntityKind kKind = DxfEntityKind::Polyline;
  DxfAttributes attr{};
  std::uint32_t handle = 0;
  double wd1 = 0, wd2 = 0;  // start and end width
  bool clf = false;         // closed
  std::vector<TDXF_PLinePoint> v{};
};

// A viewport uses the space only (it always goes on layer "VP"); it exists
// at the top level only.
struct TDXF_ViewPort {
  static constexpr DxfEntityKind kKind = DxfEntityKind::Viewport;
  DxfAttributes attr{};
  std::uint32_t handle = 0;
  int id = 0;                             // position among its layout's viewports + 1
  double cx = 0, cy = 0;                  // centre in paper space
  double w = 0, h = 0;                    // size in paper space
  double vx = 0, vy = 0;                  // view centre in model space
  double vh = 0;                          // view height in model space
  double sc = 1;                          // scale
  double dx = 0, dy = 0;                  // model-space translation of its layer groups
  bool mf = false;                        // content box started
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // content box, paper millimetres
};

struct TDXF_Dimension {
  static constexpr DxfEntityKind kKind = DxfEntityKind::Dimension;
  DxfAttributes attr{};
  std::uint32_t handle = 0;
  int bln = -1;           // block definition holding the picture; -1 none
  int stp = 0;            // dimension type (group 70)
  int bas = 0;            // attachment point (group 71)
  double x0 = 0, y0 = 0;  // definition point
  double x1 = 0, y1 = 0;  // text mid point
  bool fl3 = false;
  double x3 = 0, y3 = 0;
  bool fl4 = false;
  double x4 = 0, y4 = 0;
  bool fl5 = false;
  double x5 = 0, y5 = 0;
  bool fl6 = false;
  double x6 = 0, y6 = 0;
  double hlen = -1;      // leader length, negative = absent
  double ang = 0;        // rotation of a linear dimension
  double hang = -1;      // oblique angle, negative = absent
  double sang = 0;       // text rotation
  std::u16string sst{};  // dimension style name
  std::u16string str{};  // dimension text
};

// An INSERT of a block definition.
struct TDXF_Block {
  static constexpr DxfEntityKind kKind = DxfEntityKind::Insert;
  DxfAttributes attr{};
  std::uint32_t handle = 0;
  int bln = -1;  // inserted block definition, -1 none
  double x = 0, y = 0;
  double a = 0;
  double bx = 1, by = 1;
};

// What TDXFmodel::AddArc is given: a circle, arc, ellipse or elliptic arc
// as centre, major radius, ratio of minor to major radius, start, sweep
// and angle of the major axis. The model stores it as the kind it is.
struct DxfCurve {
  DxfAttributes attr{};
  double x = 0, y = 0, r = 0;
  double ratio = 1;
  double start = 0;
  double sweep = 0;  // signed; 0 or a whole turn is a whole curve
  double axis = 0;
};

}  // namespace parvex
