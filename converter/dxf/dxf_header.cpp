// The HEADER section of the three versions.
#include <cstdint>
#include <string>
#include <string_view>

#include "converter/dxf/dxf_file_io.h"
#include "converter/dxf/dxf_guid.h"
#include "converter/dxf/dxf_model.h"
#include "converter/dxf/dxf_writer.h"

namespace parvex {
namespace {

// Which versions a variable belongs to (bit = 1 << Ver).
enum : unsigned {
  kR12 = 1,
  k2000 = 2,
  k2007 = 4,
  kNew = k2000 | k2007,
  kAll = kR12 | k2000 | k2007,
};

// Day 0 of the converter's date-time (1899-12-30 00:00) as a Julian date.
constexpr double kJulianOfDay0 = 2415018.5;
// The UTC variants are nine hours earlier (Japan time).
constexpr double kUtcOffsetDays = 0.375;

// How a variable's value is written.
enum Kind : std::uint8_t { Int, Real, Str, Name, XY, XYZ, Handle };

// Where a variable's value comes from: the row (Fixed, or its numbers
// negated), or the model and the write.
enum Source : std::uint8_t {
  Fixed, Negated, Version, MaintenanceVersion, ExtMin, ExtMax, LimMax, Scale,
  Created, CreatedUtc, Updated, UpdatedUtc, Editing, Seed, FingerprintGuid, VersionGuid,
};

// One variable: written when the output version is in `mask`.
struct Var {
  unsigned mask;
  const char* name;
  Kind kind;
  int code;          // group code of the value (points: 10, 20, 30)
  Source source;
  double x, y, z;    // Int, Real and Handle values in x; points
  const char* text;  // Str (as it is) and Name (a table name) values
};

// The values that depend on the model and the write.
struct Computed {
  DxfVersion ver;
  double s;  // the scale the drawing is written at
  double minX, minY, maxX, maxY;
  double paperW, paperH;
  double created, updated;  // Julian dates of the source drawing
  std::uint32_t seed;
  DxfDrawingGuids guids;
};

// The variable with its value taken from where its source says.
Var Resolve(Var v, const Computed& c) {
  static const char* const kVersionName[] = {"AC1009", "AC1015", "AC1021"};
  auto set = [&v](double x, double y = 0) {
    v.x = x;
    v.y = y;
  };
  switch (v.source) {
    case Fixed: break;
    case Negated: set(-v.x, -v.y); break;
    case Version: v.text = kVersionName[SettingNumber(c.ver)]; break;
    case MaintenanceVersion: set(c.ver == DxfVersion::R2007 ? 25 : 20); break;
    case ExtMin: set(c.s * c.minX, c.s * c.minY); break;
    case ExtMax: set(c.s * c.maxX, c.s * c.maxY); break;
    case LimMax: set(c.s * c.paperW, c.s * c.paperH); break;
    case Scale: set(c.s); break;
    case Created: set(c.created); break;
    case CreatedUtc: set(c.created - kUtcOffsetDays); break;
    case Updated: set(c.updated); break;
    case UpdatedUtc: set(c.updated - kUtcOffsetDays); break;
    case Editing: set(c.updated - c.created); break;
    case Seed: set(c.seed); break;
    case FingerprintGuid: v.text = c.guids.fingerprint.c_str(); break;
    case VersionGuid: v.text = c.guids.version.c_str(); break;
  }
  return v;
}

void WriteVar(DxfWriter& w, const Var& v) {
  w.Code(9, v.name);
  switch (v.kind) {
    case Int: w.Int(v.code, static_cast<int>(v.x)); break;
    case Real: w.Real(v.code, v.x); break;
    case Str: w.Code(v.code, v.text); break;
    case Name: {
      const std::string_view t = v.text;
      w.Name(v.code, std::u16string(t.begin(), t.end()));
      break;
    }
    case XY: w.XY(v.x, v.y); break;
    case XYZ: w.XYZ(v.x, v.y, v.z); break;
    case Handle: w.Handle(v.code, static_cast<std::uint32_t>(v.x)); break;
  }
}

// The variables in the order of the file ($DIMJOGANG is pi / 4, $LOFTANG1
// and $LOFTANG2 pi / 2). The optional handles of 2007 that must name a
// MATERIAL or VISUALSTYLE object ($CMATERIAL, $INTERFEREOBJVS,
// $INTERFEREVPVS) are left out: the file holds no such objects.
constexpr Var kVars[] = {
      {kAll, "$ACADVER", Str, 1, Version, 0, 0, 0, ""},
      {kNew, "$ACADMAINTVER", Int, 70, MaintenanceVersion, 0, 0, 0, ""},
      {kAll, "$DWGCODEPAGE", Str, 3, Fixed, 0, 0, 0, "ANSI_932"},
      {k2007, "$LASTSAVEDBY", Str, 1, Fixed, 0, 0, 0, "Torvane"},
      {kAll, "$INSBASE", XYZ, 10, Fixed, 0, 0, 0, ""},
      {kAll, "$EXTMIN", XYZ, 10, ExtMin, 0, 0, 0, ""},
      {kAll, "$EXTMAX", XYZ, 10, ExtMax, 0, 0, 0, ""},
      {kAll, "$LIMMIN", XY, 10, Fixed, 0, 0, 0, ""},
      {kAll, "$LIMMAX", XY, 10, LimMax, 0, 0, 0, ""},
      {kAll, "$ORTHOMODE", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$REGENMODE", Int, 70, Fixed, 1, 0, 0, ""},
      {kAll, "$FILLMODE", Int, 70, Fixed, 1, 0, 0, ""},
      {kAll, "$QTEXTMODE", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$MIRRTEXT", Int, 70, Fixed, 0, 0, 0, ""},
      {kR12, "$DRAGMODE", Int, 70, Fixed, 2, 0, 0, ""},
      {kAll, "$LTSCALE", Real, 40, Scale, 0, 0, 0, ""},
      {kR12, "$OSMODE", Int, 70, Fixed, 37, 0, 0, ""},
      {kAll, "$ATTMODE", Int, 70, Fixed, 1, 0, 0, ""},
      {kAll, "$TEXTSIZE", Real, 40, Fixed, 2.5, 0, 0, ""},
      {kAll, "$TRACEWID", Real, 40, Fixed, 1.0, 0, 0, ""},
      {kAll, "$TEXTSTYLE", Name, 7, Fixed, 0, 0, 0, "Standard"},
      {kAll, "$CLAYER", Str, 8, Fixed, 0, 0, 0, "0"},
      {kAll, "$CELTYPE", Name, 6, Fixed, 0, 0, 0, "ByLayer"},
      {kAll, "$CECOLOR", Int, 62, Fixed, 256, 0, 0, ""},
      {kNew, "$CELTSCALE", Real, 40, Fixed, 1.0, 0, 0, ""},
      {kNew, "$DISPSILH", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$DIMSCALE", Real, 40, Fixed, 1.0, 0, 0, ""},
      {kAll, "$DIMASZ", Real, 40, Fixed, 2.5, 0, 0, ""},
      {kAll, "$DIMEXO", Real, 40, Fixed, 0.625, 0, 0, ""},
      {kAll, "$DIMDLI", Real, 40, Fixed, 3.75, 0, 0, ""},
      {kAll, "$DIMRND", Real, 40, Fixed, 0.0, 0, 0, ""},
      {kAll, "$DIMDLE", Real, 40, Fixed, 0.0, 0, 0, ""},
      {kAll, "$DIMEXE", Real, 40, Fixed, 1.25, 0, 0, ""},
      {kAll, "$DIMTP", Real, 40, Fixed, 0.0, 0, 0, ""},
      {kAll, "$DIMTM", Real, 40, Fixed, 0.0, 0, 0, ""},
      {kAll, "$DIMTXT", Real, 40, Fixed, 2.5, 0, 0, ""},
      {kAll, "$DIMCEN", Real, 40, Fixed, 2.5, 0, 0, ""},
      {kAll, "$DIMTSZ", Real, 40, Fixed, 0.0, 0, 0, ""},
      {kAll, "$DIMTOL", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$DIMLIM", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$DIMTIH", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$DIMTOH", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$DIMSE1", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$DIMSE2", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$DIMTAD", Int, 70, Fixed, 1, 0, 0, ""},
      {kAll, "$DIMZIN", Int, 70, Fixed, 8, 0, 0, ""},
      {kAll, "$DIMBLK", Str, 1, Fixed, 0, 0, 0, ""},
      {kAll, "$DIMASO", Int, 70, Fixed, 1, 0, 0, ""},
      {kAll, "$DIMSHO", Int, 70, Fixed, 1, 0, 0, ""},
      {kAll, "$DIMPOST", Str, 1, Fixed, 0, 0, 0, ""},
      {kAll, "$DIMAPOST", Str, 1, Fixed, 0, 0, 0, ""},
      {kAll, "$DIMALT", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$DIMALTD", Int, 70, Fixed, 3, 0, 0, ""},
      {kAll, "$DIMALTF", Real, 40, Fixed, 0.03937007874016, 0, 0, ""},
      {kAll, "$DIMLFAC", Real, 40, Fixed, 1.0, 0, 0, ""},
      {kAll, "$DIMTOFL", Int, 70, Fixed, 1, 0, 0, ""},
      {kAll, "$DIMTVP", Real, 40, Fixed, 0.0, 0, 0, ""},
      {kAll, "$DIMTIX", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$DIMSOXD", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$DIMSAH", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$DIMBLK1", Str, 1, Fixed, 0, 0, 0, ""},
      {kAll, "$DIMBLK2", Str, 1, Fixed, 0, 0, 0, ""},
      {kAll, "$DIMSTYLE", Str, 2, Fixed, 0, 0, 0, "ISO-25"},
      {kAll, "$DIMCLRD", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$DIMCLRE", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$DIMCLRT", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$DIMTFAC", Real, 40, Fixed, 1.0, 0, 0, ""},
      {kAll, "$DIMGAP", Real, 40, Fixed, 0.625, 0, 0, ""},
      {kNew, "$DIMJUST", Int, 70, Fixed, 0, 0, 0, ""},
      {kNew, "$DIMSD1", Int, 70, Fixed, 0, 0, 0, ""},
      {kNew, "$DIMSD2", Int, 70, Fixed, 0, 0, 0, ""},
      {kNew, "$DIMTOLJ", Int, 70, Fixed, 0, 0, 0, ""},
      {kNew, "$DIMTZIN", Int, 70, Fixed, 8, 0, 0, ""},
      {kNew, "$DIMALTZ", Int, 70, Fixed, 0, 0, 0, ""},
      {kNew, "$DIMALTTZ", Int, 70, Fixed, 0, 0, 0, ""},
      {kNew, "$DIMUPT", Int, 70, Fixed, 0, 0, 0, ""},
      {kNew, "$DIMDEC", Int, 70, Fixed, 2, 0, 0, ""},
      {kNew, "$DIMTDEC", Int, 70, Fixed, 2, 0, 0, ""},
      {kNew, "$DIMALTU", Int, 70, Fixed, 2, 0, 0, ""},
      {kNew, "$DIMALTTD", Int, 70, Fixed, 3, 0, 0, ""},
      {kNew, "$DIMTXSTY", Str, 7, Fixed, 0, 0, 0, "Standard"},
      {kNew, "$DIMAUNIT", Int, 70, Fixed, 0, 0, 0, ""},
      {kNew, "$DIMADEC", Int, 70, Fixed, 0, 0, 0, ""},
      {kNew, "$DIMALTRND", Real, 40, Fixed, 0.0, 0, 0, ""},
      {kNew, "$DIMAZIN", Int, 70, Fixed, 0, 0, 0, ""},
      {kNew, "$DIMDSEP", Int, 70, Fixed, 44, 0, 0, ""},
      {kNew, "$DIMATFIT", Int, 70, Fixed, 3, 0, 0, ""},
      {kNew, "$DIMFRAC", Int, 70, Fixed, 0, 0, 0, ""},
      {kNew, "$DIMLDRBLK", Str, 1, Fixed, 0, 0, 0, ""},
      {kNew, "$DIMLUNIT", Int, 70, Fixed, 2, 0, 0, ""},
      {kNew, "$DIMLWD", Int, 70, Negated, 2, 0, 0, ""},
      {kNew, "$DIMLWE", Int, 70, Negated, 2, 0, 0, ""},
      {kNew, "$DIMTMOVE", Int, 70, Fixed, 0, 0, 0, ""},
      {k2007, "$DIMFXL", Real, 40, Fixed, 1.0, 0, 0, ""},
      {k2007, "$DIMFXLON", Int, 70, Fixed, 0, 0, 0, ""},
      {k2007, "$DIMJOGANG", Real, 40, Fixed, 0.7853981633974483, 0, 0, ""},
      {k2007, "$DIMTFILL", Int, 70, Fixed, 0, 0, 0, ""},
      {k2007, "$DIMTFILLCLR", Int, 70, Fixed, 0, 0, 0, ""},
      {k2007, "$DIMARCSYM", Int, 70, Fixed, 0, 0, 0, ""},
      {k2007, "$DIMLTYPE", Str, 6, Fixed, 0, 0, 0, ""},
      {k2007, "$DIMLTEX1", Str, 6, Fixed, 0, 0, 0, ""},
      {k2007, "$DIMLTEX2", Str, 6, Fixed, 0, 0, 0, ""},
      {kAll, "$LUNITS", Int, 70, Fixed, 2, 0, 0, ""},
      {kAll, "$LUPREC", Int, 70, Fixed, 4, 0, 0, ""},
      {kAll, "$SKETCHINC", Real, 40, Fixed, 1.0, 0, 0, ""},
      {kAll, "$FILLETRAD", Real, 40, Fixed, 0.0, 0, 0, ""},
      {kAll, "$AUNITS", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$AUPREC", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$MENU", Str, 1, Fixed, 0, 0, 0, "."},
      {kAll, "$ELEVATION", Real, 40, Fixed, 0.0, 0, 0, ""},
      {kAll, "$PELEVATION", Real, 40, Fixed, 0.0, 0, 0, ""},
      {kAll, "$THICKNESS", Real, 40, Fixed, 0.0, 0, 0, ""},
      {kAll, "$LIMCHECK", Int, 70, Fixed, 0, 0, 0, ""},
      {kR12, "$BLIPMODE", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$CHAMFERA", Real, 40, Fixed, 0.0, 0, 0, ""},
      {kAll, "$CHAMFERB", Real, 40, Fixed, 0.0, 0, 0, ""},
      {kNew, "$CHAMFERC", Real, 40, Fixed, 0.0, 0, 0, ""},
      {kNew, "$CHAMFERD", Real, 40, Fixed, 0.0, 0, 0, ""},
      {kAll, "$SKPOLY", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$TDCREATE", Real, 40, Created, 0, 0, 0, ""},
      {kNew, "$TDUCREATE", Real, 40, CreatedUtc, 0, 0, 0, ""},
      {kAll, "$TDUPDATE", Real, 40, Updated, 0, 0, 0, ""},
      {kNew, "$TDUUPDATE", Real, 40, UpdatedUtc, 0, 0, 0, ""},
      {kAll, "$TDINDWG", Real, 40, Editing, 0, 0, 0, ""},
      {kAll, "$TDUSRTIMER", Real, 40, Editing, 0, 0, 0, ""},
      {kAll, "$USRTIMER", Int, 70, Fixed, 1, 0, 0, ""},
      {kAll, "$ANGBASE", Real, 50, Fixed, 0.0, 0, 0, ""},
      {kAll, "$ANGDIR", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$PDMODE", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$PDSIZE", Real, 40, Fixed, 0.0, 0, 0, ""},
      {kAll, "$PLINEWID", Real, 40, Fixed, 0.0, 0, 0, ""},
      {kR12, "$COORDS", Int, 70, Fixed, 1, 0, 0, ""},
      {kAll, "$SPLFRAME", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$SPLINETYPE", Int, 70, Fixed, 6, 0, 0, ""},
      {kAll, "$SPLINESEGS", Int, 70, Fixed, 8, 0, 0, ""},
      {kR12, "$ATTDIA", Int, 70, Fixed, 0, 0, 0, ""},
      {kR12, "$ATTREQ", Int, 70, Fixed, 1, 0, 0, ""},
      {kR12, "$HANDLING", Int, 70, Fixed, 1, 0, 0, ""},
      {kAll, "$HANDSEED", Handle, 5, Seed, 0, 0, 0, ""},
      {kAll, "$SURFTAB1", Int, 70, Fixed, 6, 0, 0, ""},
      {kAll, "$SURFTAB2", Int, 70, Fixed, 6, 0, 0, ""},
      {kAll, "$SURFTYPE", Int, 70, Fixed, 6, 0, 0, ""},
      {kAll, "$SURFU", Int, 70, Fixed, 6, 0, 0, ""},
      {kAll, "$SURFV", Int, 70, Fixed, 6, 0, 0, ""},
      {kNew, "$UCSBASE", Str, 2, Fixed, 0, 0, 0, ""},
      {kAll, "$UCSNAME", Str, 2, Fixed, 0, 0, 0, ""},
      {kAll, "$UCSORG", XYZ, 10, Fixed, 0, 0, 0, ""},
      {kAll, "$UCSXDIR", XYZ, 10, Fixed, 1, 0, 0, ""},
      {kAll, "$UCSYDIR", XYZ, 10, Fixed, 0, 1, 0, ""},
      {kNew, "$UCSORTHOREF", Str, 2, Fixed, 0, 0, 0, ""},
      {kNew, "$UCSORTHOVIEW", Int, 70, Fixed, 0, 0, 0, ""},
      {kNew, "$UCSORGTOP", XYZ, 10, Fixed, 0, 0, 0, ""},
      {kNew, "$UCSORGBOTTOM", XYZ, 10, Fixed, 0, 0, 0, ""},
      {kNew, "$UCSORGLEFT", XYZ, 10, Fixed, 0, 0, 0, ""},
      {kNew, "$UCSORGRIGHT", XYZ, 10, Fixed, 0, 0, 0, ""},
      {kNew, "$UCSORGFRONT", XYZ, 10, Fixed, 0, 0, 0, ""},
      {kNew, "$UCSORGBACK", XYZ, 10, Fixed, 0, 0, 0, ""},
      {kNew, "$PUCSBASE", Str, 2, Fixed, 0, 0, 0, ""},
      {kAll, "$PUCSNAME", Str, 2, Fixed, 0, 0, 0, ""},
      {kAll, "$PUCSORG", XYZ, 10, Fixed, 0, 0, 0, ""},
      {kAll, "$PUCSXDIR", XYZ, 10, Fixed, 1, 0, 0, ""},
      {kAll, "$PUCSYDIR", XYZ, 10, Fixed, 0, 1, 0, ""},
      {kNew, "$PUCSORTHOREF", Str, 2, Fixed, 0, 0, 0, ""},
      {kNew, "$PUCSORTHOVIEW", Int, 70, Fixed, 0, 0, 0, ""},
      {kNew, "$PUCSORGTOP", XYZ, 10, Fixed, 0, 0, 0, ""},
      {kNew, "$PUCSORGBOTTOM", XYZ, 10, Fixed, 0, 0, 0, ""},
      {kNew, "$PUCSORGLEFT", XYZ, 10, Fixed, 0, 0, 0, ""},
      {kNew, "$PUCSORGRIGHT", XYZ, 10, Fixed, 0, 0, 0, ""},
      {kNew, "$PUCSORGFRONT", XYZ, 10, Fixed, 0, 0, 0, ""},
      {kNew, "$PUCSORGBACK", XYZ, 10, Fixed, 0, 0, 0, ""},
      {kAll, "$USERI1", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$USERI2", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$USERI3", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$USERI4", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$USERI5", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$USERR1", Real, 40, Fixed, 0.0, 0, 0, ""},
      {kAll, "$USERR2", Real, 40, Fixed, 0.0, 0, 0, ""},
      {kAll, "$USERR3", Real, 40, Fixed, 0.0, 0, 0, ""},
      {kAll, "$USERR4", Real, 40, Fixed, 0.0, 0, 0, ""},
      {kAll, "$USERR5", Real, 40, Fixed, 0.0, 0, 0, ""},
      {kAll, "$WORLDVIEW", Int, 70, Fixed, 1, 0, 0, ""},
      {kAll, "$SHADEDGE", Int, 70, Fixed, 3, 0, 0, ""},
      {kAll, "$SHADEDIF", Int, 70, Fixed, 70, 0, 0, ""},
      {kAll, "$TILEMODE", Int, 70, Fixed, 1, 0, 0, ""},
      {kAll, "$MAXACTVP", Int, 70, Fixed, 64, 0, 0, ""},
      {kNew, "$PINSBASE", XYZ, 10, Fixed, 0, 0, 0, ""},
      {kAll, "$PLIMCHECK", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$PEXTMIN", XYZ, 10, Fixed, 0, 0, 0, ""},
      {kAll, "$PEXTMAX", XYZ, 10, Fixed, 0, 0, 0, ""},
      {kAll, "$PLIMMIN", XY, 10, Fixed, 0, 0, 0, ""},
      {kAll, "$PLIMMAX", XY, 10, Fixed, 12, 9, 0, ""},
      {kAll, "$UNITMODE", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$VISRETAIN", Int, 70, Fixed, 1, 0, 0, ""},
      {kAll, "$PLINEGEN", Int, 70, Fixed, 0, 0, 0, ""},
      {kAll, "$PSLTSCALE", Int, 70, Fixed, 1, 0, 0, ""},
      {kNew, "$TREEDEPTH", Int, 70, Fixed, 3020, 0, 0, ""},
      {kNew, "$CMLSTYLE", Str, 2, Fixed, 0, 0, 0, "Standard"},
      {kNew, "$CMLJUST", Int, 70, Fixed, 0, 0, 0, ""},
      {kNew, "$CMLSCALE", Real, 40, Fixed, 20.0, 0, 0, ""},
      {kNew, "$PROXYGRAPHICS", Int, 70, Fixed, 1, 0, 0, ""},
      {kNew, "$MEASUREMENT", Int, 70, Fixed, 1, 0, 0, ""},
      {kNew, "$CELWEIGHT", Int, 370, Negated, 1, 0, 0, ""},
      {kNew, "$ENDCAPS", Int, 280, Fixed, 0, 0, 0, ""},
      {kNew, "$JOINSTYLE", Int, 280, Fixed, 0, 0, 0, ""},
      {kNew, "$LWDISPLAY", Int, 290, Fixed, 0, 0, 0, ""},
      {kNew, "$INSUNITS", Int, 70, Fixed, 4, 0, 0, ""},
      {kNew, "$HYPERLINKBASE", Str, 1, Fixed, 0, 0, 0, ""},
      {kNew, "$STYLESHEET", Str, 1, Fixed, 0, 0, 0, ""},
      {kNew, "$XEDIT", Int, 290, Fixed, 1, 0, 0, ""},
      {kNew, "$CEPSNTYPE", Int, 380, Fixed, 0, 0, 0, ""},
      {kNew, "$PSTYLEMODE", Int, 290, Fixed, 1, 0, 0, ""},
      {kNew, "$FINGERPRINTGUID", Str, 2, FingerprintGuid, 0, 0, 0, ""},
      {kNew, "$VERSIONGUID", Str, 2, VersionGuid, 0, 0, 0, ""},
      {kNew, "$EXTNAMES", Int, 290, Fixed, 1, 0, 0, ""},
      {kNew, "$PSVPSCALE", Real, 40, Fixed, 0.0, 0, 0, ""},
      {kNew, "$OLESTARTUP", Int, 290, Fixed, 0, 0, 0, ""},
      {k2007, "$SORTENTS", Int, 280, Fixed, 127, 0, 0, ""},
      {k2007, "$INDEXCTL", Int, 280, Fixed, 0, 0, 0, ""},
      {k2007, "$HIDETEXT", Int, 280, Fixed, 1, 0, 0, ""},
      {k2007, "$XCLIPFRAME", Int, 290, Fixed, 0, 0, 0, ""},
      {k2007, "$HALOGAP", Int, 280, Fixed, 0, 0, 0, ""},
      {k2007, "$OBSCOLOR", Int, 70, Fixed, 257, 0, 0, ""},
      {k2007, "$OBSLTYPE", Int, 280, Fixed, 0, 0, 0, ""},
      {k2007, "$INTERSECTIONDISPLAY", Int, 280, Fixed, 0, 0, 0, ""},
      {k2007, "$INTERSECTIONCOLOR", Int, 70, Fixed, 257, 0, 0, ""},
      {k2007, "$DIMASSOC", Int, 280, Fixed, 2, 0, 0, ""},
      {k2007, "$PROJECTNAME", Str, 1, Fixed, 0, 0, 0, ""},
      {k2007, "$CAMERADISPLAY", Int, 290, Fixed, 0, 0, 0, ""},
      {k2007, "$LENSLENGTH", Real, 40, Fixed, 50.0, 0, 0, ""},
      {k2007, "$CAMERAHEIGHT", Real, 40, Fixed, 0.0, 0, 0, ""},
      {k2007, "$STEPSPERSEC", Real, 40, Fixed, 2.0, 0, 0, ""},
      {k2007, "$STEPSIZE", Real, 40, Fixed, 6.0, 0, 0, ""},
      {k2007, "$3DDWFPREC", Real, 40, Fixed, 2.0, 0, 0, ""},
      {k2007, "$PSOLWIDTH", Real, 40, Fixed, 5.0, 0, 0, ""},
      {k2007, "$PSOLHEIGHT", Real, 40, Fixed, 80.0, 0, 0, ""},
      {k2007, "$LOFTANG1", Real, 40, Fixed, 1.5707963267948966, 0, 0, ""},
      {k2007, "$LOFTANG2", Real, 40, Fixed, 1.5707963267948966, 0, 0, ""},
      {k2007, "$LOFTMAG1", Real, 40, Fixed, 0.0, 0, 0, ""},
      {k2007, "$LOFTMAG2", Real, 40, Fixed, 0.0, 0, 0, ""},
      {k2007, "$LOFTPARAM", Int, 70, Fixed, 7, 0, 0, ""},
      {k2007, "$LOFTNORMALS", Int, 280, Fixed, 1, 0, 0, ""},
      {k2007, "$LATITUDE", Real, 40, Fixed, 37.795, 0, 0, ""},
      {k2007, "$LONGITUDE", Real, 40, Negated, 122.394, 0, 0, ""},
      {k2007, "$NORTHDIRECTION", Real, 40, Fixed, 0.0, 0, 0, ""},
      {k2007, "$TIMEZONE", Int, 70, Negated, 8000, 0, 0, ""},
      {k2007, "$LIGHTGLYPHDISPLAY", Int, 280, Fixed, 1, 0, 0, ""},
      {k2007, "$TILEMODELIGHTSYNCH", Int, 280, Fixed, 1, 0, 0, ""},
      {k2007, "$SOLIDHIST", Int, 280, Fixed, 1, 0, 0, ""},
      {k2007, "$SHOWHIST", Int, 280, Fixed, 1, 0, 0, ""},
      {k2007, "$DWFFRAME", Int, 280, Fixed, 2, 0, 0, ""},
      {k2007, "$DGNFRAME", Int, 280, Fixed, 0, 0, 0, ""},
      {k2007, "$REALWORLDSCALE", Int, 290, Fixed, 1, 0, 0, ""},
      {k2007, "$INTERFERECOLOR", Int, 62, Fixed, 1, 0, 0, ""},
      {k2007, "$CSHADOW", Int, 280, Fixed, 0, 0, 0, ""},
      {k2007, "$SHADOWPLANELOCATION", Real, 40, Fixed, 0.0, 0, 0, ""},
};

}  // namespace

void TDXFmodel::SaveHeader(DxfWriter& w, std::uint32_t handSeed) {
  // Scaled by the base layer group's scale, or the first group's with paper
  // space.
  const double s = (Spa == OutputSpace::Model || deLgp.empty()) ? pscale : deLgp[0].sc;
  const Computed c = {.ver = Ver, .s = s, .minX = MinWx, .minY = MinWy, .maxX = MaxWx,
                      .maxY = MaxWy, .paperW = papx, .paperH = papy,
                      .created = dxfio::FileCreationTime(srcName) + kJulianOfDay0,
                      .updated = dxfio::FileWriteTime(srcName) + kJulianOfDay0, .seed = handSeed,
                      .guids = DrawingGuids(sourceDigest_, settingsDigest_, Ver, Spa)};
  const unsigned bit = 1u << SettingNumber(Ver);
  w.BeginSection("HEADER");
  for (const Var& v : kVars) {
    if ((v.mask & bit) != 0) WriteVar(w, Resolve(v, c));
  }
  w.EndSection();
}

}  // namespace parvex
