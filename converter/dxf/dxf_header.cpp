// The HEADER section of the three versions.
#include "converter/dxf/dxf_file_io.h"
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

class HeaderWriter {
 public:
  HeaderWriter(DxfWriter& w, int ver) : w_(w), bit_(1u << ver) {}

  bool On(unsigned mask) const { return (mask & bit_) != 0; }

  void Int(unsigned mask, const char* name, int code, int v) {
    if (!Var(mask, name)) return;
    w_.Int(code, v);
  }
  void Real(unsigned mask, const char* name, int code, double v) {
    if (!Var(mask, name)) return;
    w_.Real(code, v);
  }
  // A fixed text written as it is (an empty text is an empty line).
  void Str(unsigned mask, const char* name, int code, const char* v) {
    if (!Var(mask, name)) return;
    w_.Code(code, v);
  }
  // A table name: capitals in R12.
  void Name(unsigned mask, const char* name, int code, std::u16string_view v) {
    if (!Var(mask, name)) return;
    w_.Name(code, v);
  }
  void XY(unsigned mask, const char* name, double x, double y) {
    if (!Var(mask, name)) return;
    w_.XY(x, y);
  }
  void XYZ(unsigned mask, const char* name, double x, double y, double z) {
    if (!Var(mask, name)) return;
    w_.XYZ(x, y, z);
  }
  void Handle(unsigned mask, const char* name, int code, std::uint32_t h) {
    if (!Var(mask, name)) return;
    w_.Handle(code, h);
  }

 private:
  bool Var(unsigned mask, const char* name) {
    if (!On(mask)) return false;
    w_.Code(9, name);
    return true;
  }
  DxfWriter& w_;
  unsigned bit_;
};

}  // namespace

void TDXFmodel::SaveHeader(DxfWriter& w, std::uint32_t handSeed) {
  const double s = (Spa == 0 || deLgp.empty()) ? pscale : deLgp[0].sc;
  const double created = dxfio::FileCreationTime(srcName) + kJulianOfDay0;
  const double updated = dxfio::FileWriteTime(srcName) + kJulianOfDay0;

  static const char* const kVersionName[] = {"AC1009", "AC1015", "AC1021"};
  HeaderWriter h(w, Ver);
  w.BeginSection("HEADER");
  h.Str(kAll, "$ACADVER", 1, kVersionName[Ver]);
  h.Int(kNew, "$ACADMAINTVER", 70, Ver == 2 ? 25 : 20);
  h.Str(kAll, "$DWGCODEPAGE", 3, "ANSI_932");
  h.Str(k2007, "$LASTSAVEDBY", 1, "Torvane");
  h.XYZ(kAll, "$INSBASE", 0, 0, 0);
  h.XYZ(kAll, "$EXTMIN", s * MinWx, s * MinWy, 0);
  h.XYZ(kAll, "$EXTMAX", s * MaxWx, s * MaxWy, 0);
  h.XY(kAll, "$LIMMIN", 0, 0);
  h.XY(kAll, "$LIMMAX", s * papx, s * papy);
  h.Int(kAll, "$ORTHOMODE", 70, 0);
  h.Int(kAll, "$REGENMODE", 70, 1);
  h.Int(kAll, "$FILLMODE", 70, 1);
  h.Int(kAll, "$QTEXTMODE", 70, 0);
  h.Int(kAll, "$MIRRTEXT", 70, 0);
  h.Int(kR12, "$DRAGMODE", 70, 2);
  h.Real(kAll, "$LTSCALE", 40, s);
  h.Int(kR12, "$OSMODE", 70, 37);
  h.Int(kAll, "$ATTMODE", 70, 1);
  h.Real(kAll, "$TEXTSIZE", 40, 2.5);
  h.Real(kAll, "$TRACEWID", 40, 1.0);
  h.Name(kAll, "$TEXTSTYLE", 7, u"Standard");
  h.Str(kAll, "$CLAYER", 8, "0");
  h.Name(kAll, "$CELTYPE", 6, u"ByLayer");
  h.Int(kAll, "$CECOLOR", 62, 256);
  h.Real(kNew, "$CELTSCALE", 40, 1.0);
  h.Int(kNew, "$DISPSILH", 70, 0);
  h.Real(kAll, "$DIMSCALE", 40, 1.0);
  h.Real(kAll, "$DIMASZ", 40, 2.5);
  h.Real(kAll, "$DIMEXO", 40, 0.625);
  h.Real(kAll, "$DIMDLI", 40, 3.75);
  h.Real(kAll, "$DIMRND", 40, 0.0);
  h.Real(kAll, "$DIMDLE", 40, 0.0);
  h.Real(kAll, "$DIMEXE", 40, 1.25);
  h.Real(kAll, "$DIMTP", 40, 0.0);
  h.Real(kAll, "$DIMTM", 40, 0.0);
  h.Real(kAll, "$DIMTXT", 40, 2.5);
  h.Real(kAll, "$DIMCEN", 40, 2.5);
  h.Real(kAll, "$DIMTSZ", 40, 0.0);
  h.Int(kAll, "$DIMTOL", 70, 0);
  h.Int(kAll, "$DIMLIM", 70, 0);
  h.Int(kAll, "$DIMTIH", 70, 0);
  h.Int(kAll, "$DIMTOH", 70, 0);
  h.Int(kAll, "$DIMSE1", 70, 0);
  h.Int(kAll, "$DIMSE2", 70, 0);
  h.Int(kAll, "$DIMTAD", 70, 1);
  h.Int(kAll, "$DIMZIN", 70, 8);
  h.Str(kAll, "$DIMBLK", 1, "");
  h.Int(kAll, "$DIMASO", 70, 1);
  h.Int(kAll, "$DIMSHO", 70, 1);
  h.Str(kAll, "$DIMPOST", 1, "");
  h.Str(kAll, "$DIMAPOST", 1, "");
  h.Int(kAll, "$DIMALT", 70, 0);
  h.Int(kAll, "$DIMALTD", 70, 3);
  h.Real(kAll, "$DIMALTF", 40, 0.03937007874016);
  h.Real(kAll, "$DIMLFAC", 40, 1.0);
  h.Int(kAll, "$DIMTOFL", 70, 1);
  h.Real(kAll, "$DIMTVP", 40, 0.0);
  h.Int(kAll, "$DIMTIX", 70, 0);
  h.Int(kAll, "$DIMSOXD", 70, 0);
  h.Int(kAll, "$DIMSAH", 70, 0);
  h.Str(kAll, "$DIMBLK1", 1, "");
  h.Str(kAll, "$DIMBLK2", 1, "");
  h.Str(kAll, "$DIMSTYLE", 2, "ISO-25");
  h.Int(kAll, "$DIMCLRD", 70, 0);
  h.Int(kAll, "$DIMCLRE", 70, 0);
  h.Int(kAll, "$DIMCLRT", 70, 0);
  h.Real(kAll, "$DIMTFAC", 40, 1.0);
  h.Real(kAll, "$DIMGAP", 40, 0.625);
  h.Int(kNew, "$DIMJUST", 70, 0);
  h.Int(kNew, "$DIMSD1", 70, 0);
  h.Int(kNew, "$DIMSD2", 70, 0);
  h.Int(kNew, "$DIMTOLJ", 70, 0);
  h.Int(kNew, "$DIMTZIN", 70, 8);
  h.Int(kNew, "$DIMALTZ", 70, 0);
  h.Int(kNew, "$DIMALTTZ", 70, 0);
  h.Int(kNew, "$DIMUPT", 70, 0);
  h.Int(kNew, "$DIMDEC", 70, 2);
  h.Int(kNew, "$DIMTDEC", 70, 2);
  h.Int(kNew, "$DIMALTU", 70, 2);
  h.Int(kNew, "$DIMALTTD", 70, 3);
  h.Str(kNew, "$DIMTXSTY", 7, "Standard");
  h.Int(kNew, "$DIMAUNIT", 70, 0);
  h.Int(kNew, "$DIMADEC", 70, 0);
  h.Real(kNew, "$DIMALTRND", 40, 0.0);
  h.Int(kNew, "$DIMAZIN", 70, 0);
  h.Int(kNew, "$DIMDSEP", 70, 44);
  h.Int(kNew, "$DIMATFIT", 70, 3);
  h.Int(kNew, "$DIMFRAC", 70, 0);
  h.Str(kNew, "$DIMLDRBLK", 1, "");
  h.Int(kNew, "$DIMLUNIT", 70, 2);
  h.Int(kNew, "$DIMLWD", 70, -2);
  h.Int(kNew, "$DIMLWE", 70, -2);
  h.Int(kNew, "$DIMTMOVE", 70, 0);
  h.Real(k2007, "$DIMFXL", 40, 1.0);
  h.Int(k2007, "$DIMFXLON", 70, 0);
  h.Real(k2007, "$DIMJOGANG", 40, 3.14159265358979323846 / 4);
  h.Int(k2007, "$DIMTFILL", 70, 0);
  h.Int(k2007, "$DIMTFILLCLR", 70, 0);
  h.Int(k2007, "$DIMARCSYM", 70, 0);
  h.Str(k2007, "$DIMLTYPE", 6, "");
  h.Str(k2007, "$DIMLTEX1", 6, "");
  h.Str(k2007, "$DIMLTEX2", 6, "");
  h.Int(kAll, "$LUNITS", 70, 2);
  h.Int(kAll, "$LUPREC", 70, 4);
  h.Real(kAll, "$SKETCHINC", 40, 1.0);
  h.Real(kAll, "$FILLETRAD", 40, 0.0);
  h.Int(kAll, "$AUNITS", 70, 0);
  h.Int(kAll, "$AUPREC", 70, 0);
  h.Str(kAll, "$MENU", 1, ".");
  h.Real(kAll, "$ELEVATION", 40, 0.0);
  h.Real(kAll, "$PELEVATION", 40, 0.0);
  h.Real(kAll, "$THICKNESS", 40, 0.0);
  h.Int(kAll, "$LIMCHECK", 70, 0);
  h.Int(kR12, "$BLIPMODE", 70, 0);
  h.Real(kAll, "$CHAMFERA", 40, 0.0);
  h.Real(kAll, "$CHAMFERB", 40, 0.0);
  h.Real(kNew, "$CHAMFERC", 40, 0.0);
  h.Real(kNew, "$CHAMFERD", 40, 0.0);
  h.Int(kAll, "$SKPOLY", 70, 0);
  h.Real(kAll, "$TDCREATE", 40, created);
  h.Real(kNew, "$TDUCREATE", 40, created - kUtcOffsetDays);
  h.Real(kAll, "$TDUPDATE", 40, updated);
  h.Real(kNew, "$TDUUPDATE", 40, updated - kUtcOffsetDays);
  h.Real(kAll, "$TDINDWG", 40, updated - created);
  h.Real(kAll, "$TDUSRTIMER", 40, updated - created);
  h.Int(kAll, "$USRTIMER", 70, 1);
  h.Real(kAll, "$ANGBASE", 50, 0.0);
  h.Int(kAll, "$ANGDIR", 70, 0);
  h.Int(kAll, "$PDMODE", 70, 0);
  h.Real(kAll, "$PDSIZE", 40, 0.0);
  h.Real(kAll, "$PLINEWID", 40, 0.0);
  h.Int(kR12, "$COORDS", 70, 1);
  h.Int(kAll, "$SPLFRAME", 70, 0);
  h.Int(kAll, "$SPLINETYPE", 70, 6);
  h.Int(kAll, "$SPLINESEGS", 70, 8);
  h.Int(kR12, "$ATTDIA", 70, 0);
  h.Int(kR12, "$ATTREQ", 70, 1);
  h.Int(kR12, "$HANDLING", 70, 1);
  h.Handle(kAll, "$HANDSEED", 5, handSeed);
  h.Int(kAll, "$SURFTAB1", 70, 6);
  h.Int(kAll, "$SURFTAB2", 70, 6);
  h.Int(kAll, "$SURFTYPE", 70, 6);
  h.Int(kAll, "$SURFU", 70, 6);
  h.Int(kAll, "$SURFV", 70, 6);
  h.Str(kNew, "$UCSBASE", 2, "");
  h.Str(kAll, "$UCSNAME", 2, "");
  h.XYZ(kAll, "$UCSORG", 0, 0, 0);
  h.XYZ(kAll, "$UCSXDIR", 1, 0, 0);
  h.XYZ(kAll, "$UCSYDIR", 0, 1, 0);
  h.Str(kNew, "$UCSORTHOREF", 2, "");
  h.Int(kNew, "$UCSORTHOVIEW", 70, 0);
  h.XYZ(kNew, "$UCSORGTOP", 0, 0, 0);
  h.XYZ(kNew, "$UCSORGBOTTOM", 0, 0, 0);
  h.XYZ(kNew, "$UCSORGLEFT", 0, 0, 0);
  h.XYZ(kNew, "$UCSORGRIGHT", 0, 0, 0);
  h.XYZ(kNew, "$UCSORGFRONT", 0, 0, 0);
  h.XYZ(kNew, "$UCSORGBACK", 0, 0, 0);
  h.Str(kNew, "$PUCSBASE", 2, "");
  h.Str(kAll, "$PUCSNAME", 2, "");
  h.XYZ(kAll, "$PUCSORG", 0, 0, 0);
  h.XYZ(kAll, "$PUCSXDIR", 1, 0, 0);
  h.XYZ(kAll, "$PUCSYDIR", 0, 1, 0);
  h.Str(kNew, "$PUCSORTHOREF", 2, "");
  h.Int(kNew, "$PUCSORTHOVIEW", 70, 0);
  h.XYZ(kNew, "$PUCSORGTOP", 0, 0, 0);
  h.XYZ(kNew, "$PUCSORGBOTTOM", 0, 0, 0);
  h.XYZ(kNew, "$PUCSORGLEFT", 0, 0, 0);
  h.XYZ(kNew, "$PUCSORGRIGHT", 0, 0, 0);
  h.XYZ(kNew, "$PUCSORGFRONT", 0, 0, 0);
  h.XYZ(kNew, "$PUCSORGBACK", 0, 0, 0);
  h.Int(kAll, "$USERI1", 70, 0);
  h.Int(kAll, "$USERI2", 70, 0);
  h.Int(kAll, "$USERI3", 70, 0);
  h.Int(kAll, "$USERI4", 70, 0);
  h.Int(kAll, "$USERI5", 70, 0);
  h.Real(kAll, "$USERR1", 40, 0.0);
  h.Real(kAll, "$USERR2", 40, 0.0);
  h.Real(kAll, "$USERR3", 40, 0.0);
  h.Real(kAll, "$USERR4", 40, 0.0);
  h.Real(kAll, "$USERR5", 40, 0.0);
  h.Int(kAll, "$WORLDVIEW", 70, 1);
  h.Int(kAll, "$SHADEDGE", 70, 3);
  h.Int(kAll, "$SHADEDIF", 70, 70);
  h.Int(kAll, "$TILEMODE", 70, 1);
  h.Int(kAll, "$MAXACTVP", 70, 64);
  h.XYZ(kNew, "$PINSBASE", 0, 0, 0);
  h.Int(kAll, "$PLIMCHECK", 70, 0);
  h.XYZ(kAll, "$PEXTMIN", 0, 0, 0);
  h.XYZ(kAll, "$PEXTMAX", 0, 0, 0);
  h.XY(kAll, "$PLIMMIN", 0, 0);
  h.XY(kAll, "$PLIMMAX", 12, 9);
  h.Int(kAll, "$UNITMODE", 70, 0);
  h.Int(kAll, "$VISRETAIN", 70, 1);
  h.Int(kAll, "$PLINEGEN", 70, 0);
  h.Int(kAll, "$PSLTSCALE", 70, 1);
  h.Int(kNew, "$TREEDEPTH", 70, 3020);
  h.Str(kNew, "$CMLSTYLE", 2, "Standard");
  h.Int(kNew, "$CMLJUST", 70, 0);
  h.Real(kNew, "$CMLSCALE", 40, 20.0);
  h.Int(kNew, "$PROXYGRAPHICS", 70, 1);
  h.Int(kNew, "$MEASUREMENT", 70, 1);
  h.Int(kNew, "$CELWEIGHT", 370, -1);
  h.Int(kNew, "$ENDCAPS", 280, 0);
  h.Int(kNew, "$JOINSTYLE", 280, 0);
  h.Int(kNew, "$LWDISPLAY", 290, 0);
  h.Int(kNew, "$INSUNITS", 70, 4);
  h.Str(kNew, "$HYPERLINKBASE", 1, "");
  h.Str(kNew, "$STYLESHEET", 1, "");
  h.Int(kNew, "$XEDIT", 290, 1);
  h.Int(kNew, "$CEPSNTYPE", 380, 0);
  h.Int(kNew, "$PSTYLEMODE", 290, 1);
  h.Str(kNew, "$FINGERPRINTGUID", 2, "{6019E739-C788-4E54-93F8-ECD6D3CB3CA4}");
  h.Str(kNew, "$VERSIONGUID", 2, "{B40E65E2-8CF7-4087-AAED-9AA55CE0143C}");
  h.Int(kNew, "$EXTNAMES", 290, 1);
  h.Real(kNew, "$PSVPSCALE", 40, 0.0);
  h.Int(kNew, "$OLESTARTUP", 290, 0);
  h.Int(k2007, "$SORTENTS", 280, 127);
  h.Int(k2007, "$INDEXCTL", 280, 0);
  h.Int(k2007, "$HIDETEXT", 280, 1);
  h.Int(k2007, "$XCLIPFRAME", 290, 0);
  h.Int(k2007, "$HALOGAP", 280, 0);
  h.Int(k2007, "$OBSCOLOR", 70, 257);
  h.Int(k2007, "$OBSLTYPE", 280, 0);
  h.Int(k2007, "$INTERSECTIONDISPLAY", 280, 0);
  h.Int(k2007, "$INTERSECTIONCOLOR", 70, 257);
  h.Int(k2007, "$DIMASSOC", 280, 2);
  h.Str(k2007, "$PROJECTNAME", 1, "");
  h.Int(k2007, "$CAMERADISPLAY", 290, 0);
  h.Real(k2007, "$LENSLENGTH", 40, 50.0);
  h.Real(k2007, "$CAMERAHEIGHT", 40, 0.0);
  h.Real(k2007, "$STEPSPERSEC", 40, 2.0);
  h.Real(k2007, "$STEPSIZE", 40, 6.0);
  h.Real(k2007, "$3DDWFPREC", 40, 2.0);
  h.Real(k2007, "$PSOLWIDTH", 40, 5.0);
  h.Real(k2007, "$PSOLHEIGHT", 40, 80.0);
  h.Real(k2007, "$LOFTANG1", 40, 3.14159265358979323846 / 2);
  h.Real(k2007, "$LOFTANG2", 40, 3.14159265358979323846 / 2);
  h.Real(k2007, "$LOFTMAG1", 40, 0.0);
  h.Real(k2007, "$LOFTMAG2", 40, 0.0);
  h.Int(k2007, "$LOFTPARAM", 70, 7);
  h.Int(k2007, "$LOFTNORMALS", 280, 1);
  h.Real(k2007, "$LATITUDE", 40, 37.795);
  h.Real(k2007, "$LONGITUDE", 40, -122.394);
  h.Real(k2007, "$NORTHDIRECTION", 40, 0.0);
  h.Int(k2007, "$TIMEZONE", 70, -8000);
  h.Int(k2007, "$LIGHTGLYPHDISPLAY", 280, 1);
  h.Int(k2007, "$TILEMODELIGHTSYNCH", 280, 1);
  h.Str(k2007, "$CMATERIAL", 347, "EC");
  h.Int(k2007, "$SOLIDHIST", 280, 1);
  h.Int(k2007, "$SHOWHIST", 280, 1);
  h.Int(k2007, "$DWFFRAME", 280, 2);
  h.Int(k2007, "$DGNFRAME", 280, 0);
  h.Int(k2007, "$REALWORLDSCALE", 290, 1);
  h.Int(k2007, "$INTERFERECOLOR", 62, 1);
  h.Str(k2007, "$INTERFEREOBJVS", 345, "F9");
  h.Str(k2007, "$INTERFEREVPVS", 346, "F6");
  h.Int(k2007, "$CSHADOW", 280, 0);
  h.Real(k2007, "$SHADOWPLANELOCATION", 40, 0.0);
  w.EndSection();
}

}  // namespace parvex
