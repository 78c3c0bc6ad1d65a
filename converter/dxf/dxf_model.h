// The in-memory picture of the DXF file the converter writes. The mapping
// passes fill one model per drawing (tables, entities in model space, paper
// space, layouts and block definitions, image files) and then call SaveDXF,
// which writes the whole file.
//
// Attribute convention of every entity record: colour, line type and
// lineweight 0 = by layer, -1 = by block, positive = explicit (line type k =
// the k-th entry of ltps, 1-based). Space code 0 = model space, 1 = the first
// paper-space layout, k >= 2 = layout k. Coordinates are full-size
// millimetres with the paper's lower-left corner at the origin; angles are
// degrees unless a field says otherwise.
//
// Counts: every array is a std::vector; the count the drawing code calls
// `deLineN` is deLine.size() (the ...N() accessors below return it as int).
//
// Names. Every name the file holds (layers, line types, text styles, block
// definitions) goes through dxf_names.h when it enters the model: it is made
// valid for the output version (CleanDxfName) and unique among the names of
// its table as a DXF reader compares them, ignoring letter case after
// encoding (DxfNameKey, MakeUniqueDxfName). So SetDXFVer must come before
// any table entry or block definition is added. Names that are already
// valid and unique are stored exactly as given.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace parvex {

class DxfSink;
class DxfWriter;

// ---------------------------------------------------------------------------
// Table records

struct TDXF_Ltype {
  std::u16string nam;
  std::u16string exp;
  int n = 0;                // number of pattern elements
  std::vector<double> pt;   // positive dash, negative gap, 0 dot
  double pl = 0;            // pattern length: sum of |pt|
};

struct TDXF_Layer {
  std::u16string nam;
  int col = 7;    // colour number
  int ltp = 1;    // line type, 1-based index into ltps
  int wid = 0;    // lineweight, 0 = default
  bool dsp = true;  // shown
  bool prn = true;  // plotted
};

struct TDXF_Style {
  std::u16string nam;
  bool fla = false;  // vertical text
  double mh = 0;     // fixed height
  double mw = 1;     // width factor
  double ang = 0;    // oblique angle
  double mhl = 0;    // last height used
  std::u16string fo1;  // font file
  std::u16string fo2;  // big-font file
};

// ---------------------------------------------------------------------------
// Entity records

// Entity kind codes of the order lists.
enum : int {
  kDxfLine = 1,
  kDxfCircle = 2,
  kDxfArc = 3,
  kDxfEllipse = 4,
  kDxfTen = 5,
  kDxfSolid3 = 6,
  kDxfSolid4 = 7,
  kDxfMoji = 8,
  kDxfImage = 9,
  kDxfPLine = 10,
  kDxfDim = 11,
  kDxfVport = 98,
  kDxfBlock = 99,
};

struct TDXF_EntNo {
  int tp = 0;  // kind
  int no = 0;  // index into the kind's array
};

struct TDXF_Line {
  int spc = 0, lay = 0, col = 0, typ = 0, wid = 0;
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

struct TDXF_Circle {
  int spc = 0, lay = 0, col = 0, typ = 0, wid = 0;
  double x = 0, y = 0, r = 0;
};

struct TDXF_Arc {
  int spc = 0, lay = 0, col = 0, typ = 0, wid = 0;
  double x = 0, y = 0, r = 0;
  double sa = 0;  // start angle in [0, 360)
  double da = 0;  // signed sweep; negative = clockwise
};

struct TDXF_Ellipse {
  int spc = 0, lay = 0, col = 0, typ = 0, wid = 0;
  double x = 0, y = 0;
  double r = 0;   // major radius
  double he = 1;  // minor / major
  double sa = 0;  // start parameter angle
  double da = 0;  // sweep; 0 = whole ellipse
  double ka = 0;  // angle of the major axis
};

struct TDXF_Ten {
  int spc = 0, lay = 0, col = 0, wid = 0;
  int cod = 0;  // marker code
  double x = 0, y = 0;
  double a = 0;   // rotation
  double ba = 0;  // scale
};

struct TDXF_Solid3 {
  int spc = 0, lay = 0, col = 0;
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0, x3 = 0, y3 = 0;
};

struct TDXF_Solid4 {
  int spc = 0, lay = 0, col = 0;
  // Corners in boundary order.
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0, x3 = 0, y3 = 0, x4 = 0, y4 = 0;
};

struct TDXF_Moji {
  int spc = 0, lay = 0, col = 0;
  int typ = 0;  // 0-based text style index
  int bas = 0;  // base-point kind (kept, not written)
  bool tate = false;  // vertical
  bool syat = false;  // slanted
  double x1 = 0, y1 = 0;  // insertion point
  double x2 = 0, y2 = 0;  // end of the text line
  double w = 0, h = 0;    // character width and height
  double d = 0;           // character spacing (kept, not written)
  double a = 0;           // rotation
  std::u16string fo;      // font name
  std::u16string st;      // the text
};

struct TDXF_Image {
  int spc = 0, lay = 0;
  double x = 0, y = 0;    // lower-left corner
  double ix = 0, iy = 0;  // size in pixels
  double sx = 0, sy = 0;  // size in drawing units
  double a = 0;           // rotation
  std::u16string fna;     // image file
  int hnd = 0;            // handle of the IMAGE entity, set while writing
};

struct TDXF_PLinePoint {
  double x = 0, y = 0;
  double a = 0;  // included angle (radians) of the arc to the next vertex
};

struct TDXF_PLine {
  int spc = 0, lay = 0, col = 0, typ = 0, wid = 0;
  double wd1 = 0, wd2 = 0;  // start and end width
  bool clf = false;         // closed
  int vn = 0;               // number of vertices (= v.size())
  std::vector<TDXF_PLinePoint> v;
};

struct TDXF_ViewPort {
  int spc = 0;
  int id = 0;               // position in deVport + 1
  double cx = 0, cy = 0;    // centre in paper space
  double w = 0, h = 0;      // size in paper space
  double vx = 0, vy = 0;    // view centre in model space
  double vh = 0;            // view height in model space
  double sc = 1;            // scale
  double dx = 0, dy = 0;    // model-space translation of its layer groups
  bool mf = false;          // content box started
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // content box, paper millimetres
};

struct TDXF_Dimension {
  int spc = 0, lay = 0, col = 0, typ = 0, wid = 0;
  int bln = -1;  // block definition holding the picture; -1 none
  int stp = 0;   // dimension type (group 70)
  int bas = 0;   // attachment point (group 71)
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
  double hlen = -1;  // leader length, negative = absent
  double ang = 0;    // rotation of a linear dimension
  double hang = -1;  // oblique angle, negative = absent
  double sang = 0;   // text rotation
  std::u16string sst;  // dimension style name
  std::u16string str;  // dimension text
};

struct TDXF_Block {
  int spc = 0, lay = 0, col = 0, typ = 0, wid = 0;
  int bln = -1;  // inserted block definition, -1 none
  double x = 0, y = 0;
  double a = 0;
  double bx = 1, by = 1;
};

struct TDXF_BlockDef {
  std::u16string nam;
  int IDno = 0;  // the caller's block number
  std::vector<TDXF_EntNo> dmNo;  // output order
  std::vector<TDXF_Line> dmLine;
  std::vector<TDXF_Circle> dmCirc;
  std::vector<TDXF_Arc> dmArc;
  std::vector<TDXF_Ellipse> dmElli;
  std::vector<TDXF_Ten> dmTen;
  std::vector<TDXF_Solid3> dmSld3;
  std::vector<TDXF_Solid4> dmSld4;
  std::vector<TDXF_Moji> dmMoji;
  std::vector<TDXF_Image> dmImag;
  std::vector<TDXF_PLine> dmPLin;
  std::vector<TDXF_Dimension> dmDim;
  std::vector<TDXF_Block> dmBlock;
  int dmNoN() const { return static_cast<int>(dmNo.size()); }
};

// The order list and entity arrays of one container: the drawing's top
// level or one block definition (which has no viewports). The model adds
// entities through it and the section writers write them from it.
struct TDXF_EntityLists {
  std::vector<TDXF_EntNo>& no;
  std::vector<TDXF_Line>& line;
  std::vector<TDXF_Circle>& circ;
  std::vector<TDXF_Arc>& arc;
  std::vector<TDXF_Ellipse>& elli;
  std::vector<TDXF_Ten>& ten;
  std::vector<TDXF_Solid3>& sld3;
  std::vector<TDXF_Solid4>& sld4;
  std::vector<TDXF_Moji>& moji;
  std::vector<TDXF_Image>& imag;
  std::vector<TDXF_PLine>& plin;
  std::vector<TDXF_Dimension>& dim;
  std::vector<TDXF_Block>& block;
  std::vector<TDXF_ViewPort>* vport;  // nullptr in a block definition
};

struct TDXF_FileNameList {
  std::u16string src;  // image file as the drawing references it
  std::u16string dst;  // path of the copy written beside the DXF
  double ix = 0, iy = 0;
  double sx = 0, sy = 0;
  int hnd = 0;  // handle of its IMAGEDEF, assigned by CountHandles
};

struct TDXF_LGroup {
  int n = 0;       // viewport number of the layer group; 0 = none
  double sc = 0;   // scale
  double dx = 0, dy = 0;
};

// ---------------------------------------------------------------------------
// Work lists of the frame finder and the curve-polyline joiner. The model
// only holds them; the operations that fill and query them work on these
// public lists.

struct TJwZumenWakuWork {
  int no = 0;
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

struct TDXF_PolyWorkEntity {
  int eno = 0;
  int etp = 0;  // 1 line, 2 arc; 0 = already taken while sorting
  int lay = 0, col = 0, ltp = 0, wid = 0;
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  double da = 0;  // signed included angle (radians), 0 for a line
};

struct TDXF_PolyWorkMain {
  int no = 0;  // curve-group number
  int en = 0;  // number of segments (= e.size())
  std::vector<TDXF_PolyWorkEntity> e;
};

struct TDXF_PolyWorkSub {
  int lay = 0, col = 0, ltp = 0, wid = 0;
  bool clf = false;
  int n = 0;  // = v.size()
  std::vector<TDXF_PLinePoint> v;
};

// ---------------------------------------------------------------------------
// Text expansion

struct TDXF_Moji_Exp_Info {
  bool flag1 = false;  // expand embedded text macros
  bool flag2 = false;  // expand control codes
  std::u16string filename;
  double filedate = 0;  // days since 1899-12-30, time as fraction
  std::u16string memo1;
  std::u16string memo2;
  std::array<double, 16> scale{};  // layer-group scales
  double prtscale = 1;
  double nowdate = 0;
  int drawtime = 0;
  std::array<int, 9> col{};  // DXF colours of pen colours 1..9
  std::vector<TDXF_Line> eLine;  // produced by a control-code expansion
  std::vector<TDXF_Moji> eMoji;
};

class TDXFmodel;

// The text expansion as the model calls it while a text is added (AddMoji,
// AddBlockMoji). Without an expander set, texts are stored unchanged. The
// expansion subsystem implements this interface; its operations read and
// fill model.mexp.
class TDXF_MojiExpander {
 public:
  virtual ~TDXF_MojiExpander() = default;
  // Text macros.
  virtual bool CheckMojiExp1(const TDXFmodel& model, std::u16string_view text) = 0;
  virtual std::u16string GetMojiExp1(const TDXFmodel& model, int ly,
                                     std::u16string_view text) = 0;
  // Control codes.
  virtual bool CheckMojiExp2(const TDXFmodel& model, std::u16string_view text) = 0;
  virtual std::u16string GetMojiExp2Str(const TDXFmodel& model, int fl,
                                        std::u16string_view text) = 0;
  virtual double GetMojiExp2Len(const TDXFmodel& model, int fl, double pw,
                                double pd, std::u16string_view text) = 0;
  // Fills model.mexp.eLine and model.mexp.eMoji.
  virtual void GetMojiExp2exp(TDXFmodel& model, int co, int fl, double px1,
                              double py1, double pw, double ph, double pa,
                              std::u16string_view text) = 0;
};

// ---------------------------------------------------------------------------

class TDXFmodel {
 public:
  // Create: DataInit, then 16 zeroed layer-group entries.
  TDXFmodel();
  TDXFmodel(const TDXFmodel&) = delete;
  TDXFmodel& operator=(const TDXFmodel&) = delete;

  // Resets the settings and empties every table, entity array, block
  // definition, the image file list, deLgp and the work lists.
  void DataInit();

  // ----- settings
  void SetDXFVer(int v, int sp);  // Ver (0 R12, 1 2000, 2 2007) and Spa
  void SetAppName(std::u16string_view s);
  void SetPap(double mix, double miy, double max, double may, double pax, double pay);
  void SetScale(double scl);
  void SetLayerNameType(int n);
  void SetTenTransType(int n, double r);
  void SetMojiStyle(int n);
  // Fills mexp; lgscale holds at least 16 values and cl at least 9 (fewer
  // are taken as given, the rest left 0).
  void SetMojiExpInfo(bool fl1, bool fl2, std::u16string_view fname,
                      std::u16string_view mem1, std::u16string_view mem2,
                      double fdate, double ndate, int dtime, double pscl,
                      const std::vector<double>& lgscale, const std::vector<int>& cl);
  // The expansion used by AddMoji / AddBlockMoji; nullptr = none. Not owned.
  void SetMojiExpander(TDXF_MojiExpander* e) { expander_ = e; }

  // ----- tables (names made valid and unique, see the top of this file)
  // Appends a line type; pt = the first pn values of pa (fewer when pa is
  // shorter), pl = the sum of their absolute values.
  void AddLtype(std::u16string_view na, std::u16string_view ex, int pn,
                const std::vector<double>& pa);
  void AddLayer(std::u16string_view na, int co, int lt, int wd, bool dp, bool pr);
  // Height and width factor are stored as absolute values clamped into
  // [1e-10, 1e10].
  void AddStyle(std::u16string_view na, std::u16string_view f1, std::u16string_view f2,
                double h, double w, double a, double hl, bool fl);
  // Default layer name for layer index l (0..255) by laynametyp.
  std::u16string DefautLayerName(int l, std::u16string_view lg, std::u16string_view ly) const;
  // The name s cleaned for the output version; lg-ly in hexadecimal when
  // nothing is left.
  std::u16string AdjustLayerName(int lg, int ly, std::u16string_view s) const;
  // Index of the entry of that name as a DXF reader compares names, or -1.
  int FindLtype(std::u16string_view name) const;
  int FindLayer(std::u16string_view name) const;
  int FindStyle(std::u16string_view name) const;

  // ----- top-level entities (true when stored)
  bool AddLine(int sp, int ly, int co, int tp, int wd, double px1, double py1, double px2,
               double py2);
  // Circle, arc or ellipse by ratio ph and sweep pd.
  bool AddArc(int sp, int ly, int co, int tp, int wd, double px, double py, double pr,
              double ph, double ps, double pd, double pk);
  bool AddTen(int sp, int ly, int co, int wd, int cd, double px, double py, double pa,
              double pb);
  bool AddSolid3(int sp, int ly, int co, double px1, double py1, double px2, double py2,
                 double px3, double py3);
  // A three-corner solid when corners 3 and 4 coincide.
  bool AddSolid4(int sp, int ly, int co, double px1, double py1, double px2, double py2,
                 double px3, double py3, double px4, double py4);
  // Passes the text through the expansion first (may store several texts
  // and lines).
  bool AddMoji(int sp, int ly, int co, int tp, int bs, int fl, double px1, double py1,
               double px2, double py2, double pw, double ph, double pd, double pa,
               std::u16string_view pf, std::u16string_view ps);
  bool AddMojiA(int sp, int ly, int co, int tp, int bs, int fl, double px1, double py1,
                double px2, double py2, double pw, double ph, double pd, double pa,
                std::u16string_view pf, std::u16string_view ps);
  bool AddImage(int sp, int ly, double px, double py, double pix, double piy, double psx,
                double psy, double pa, std::u16string_view pf);
  // Takes the first |n| vertices of pv (fewer when pv is shorter).
  bool AddPLine(int sp, int ly, int co, int tp, int wd, double w1, double w2, bool cf, int n,
                const std::vector<TDXF_PLinePoint>& pv);
  bool AddDim(int sp, int ly, int co, int tp, int wd, int n, int st, int ba, bool f3, bool f4,
              bool f5, bool f6, double px0, double py0, double px1, double py1, double px3,
              double py3, double px4, double py4, double px5, double py5, double px6,
              double py6, double pl, double pa, double pha, double psa,
              std::u16string_view pd, std::u16string_view ps);
  bool AddVPort(int sp, double psc, double pdx, double pdy, double px, double py, double pw,
                double ph, double pvx, double pvy, double pvh);
  bool AddBlock(int sp, int ly, int co, int tp, int wd, int n, double px, double py,
                double pa, double pbx, double pby);

  // ----- entities of block definition bn (false when bn is not valid)
  bool AddBlockLine(int bn, int sp, int ly, int co, int tp, int wd, double px1, double py1,
                    double px2, double py2);
  // As AddArc, but only a sweep of 0 makes a circle (360 stays an arc) and
  // an ellipse keeps its sweep.
  bool AddBlockArc(int bn, int sp, int ly, int co, int tp, int wd, double px, double py,
                   double pr, double ph, double ps, double pd, double pk);
  bool AddBlockTen(int bn, int sp, int ly, int co, int wd, int cd, double px, double py,
                   double pa, double pb);
  bool AddBlockSolid3(int bn, int sp, int ly, int co, double px1, double py1, double px2,
                      double py2, double px3, double py3);
  bool AddBlockSolid4(int bn, int sp, int ly, int co, double px1, double py1, double px2,
                      double py2, double px3, double py3, double px4, double py4);
  bool AddBlockMoji(int bn, int sp, int ly, int co, int tp, int bs, int fl, double px1,
                    double py1, double px2, double py2, double pw, double ph, double pd,
                    double pa, std::u16string_view pf, std::u16string_view ps);
  bool AddBlockMojiA(int bn, int sp, int ly, int co, int tp, int bs, int fl, double px1,
                     double py1, double px2, double py2, double pw, double ph, double pd,
                     double pa, std::u16string_view pf, std::u16string_view ps);
  bool AddBlockImage(int bn, int sp, int ly, double px, double py, double pix, double piy,
                     double psx, double psy, double pa, std::u16string_view pf);
  bool AddBlockPLine(int bn, int sp, int ly, int co, int tp, int wd, double w1, double w2,
                     bool cf, int n, const std::vector<TDXF_PLinePoint>& pv);
  // Also false when the referenced definition n is not valid.
  bool AddBlockDim(int bn, int sp, int ly, int co, int tp, int wd, int n, int st, int ba,
                   bool f3, bool f4, bool f5, bool f6, double px0, double py0, double px1,
                   double py1, double px3, double py3, double px4, double py4, double px5,
                   double py5, double px6, double py6, double pl, double pa, double pha,
                   double psa, std::u16string_view pd, std::u16string_view ps);
  bool AddBlockBlock(int bn, int sp, int ly, int co, int tp, int wd, int n, double px,
                     double py, double pa, double pbx, double pby);

  // ----- block definitions and images
  // New empty definition; a blank name becomes "NONAME"; the name is made
  // valid and unique. Returns its index, or -1.
  int AddBlockDef(std::u16string_view na, int id);
  // By name (compared as a DXF reader compares names), or by IDno; -1 if none.
  int GetBlockIdx(std::u16string_view s) const;
  int GetBlockIdx(int id) const;
  // Registers an image file once; its copy goes to dstpath + name + lower-
  // cased extension, with "_" + i before the extension while that exists.
  // dstpath is a folder path ending in a separator.
  void AddFList(std::u16string_view srcfile, std::u16string_view dstpath, double pix,
                double piy, double psx, double psy, int phnd);
  int GetFList(std::u16string_view srcfile) const;

  // ----- layer groups, viewports, layouts
  void SetLgp(int base, int nmax);
  void SetLayout(int nmax);
  void SetVPortMinMax(int i, double x, double y);
  void SetVPortArea();

  // ----- frame finder and polyline joiner work lists
  void InitZwhv(bool f);
  void Pw_Init();

  // ----- writing
  // Writes the file dst (created new: an existing file is never replaced).
  // src is the source drawing, whose time stamps give the date variables.
  // On any failure the partly written file is removed and false returned.
  // Image files of the list are copied after a successful write.
  bool SaveDXF(const std::filesystem::path& src, const std::filesystem::path& dst);
  // Writes the whole file through a sink (SaveDXF without the file; tests
  // and benchmarks use it). src as for SaveDXF. False when the sink failed
  // or a writer raised.
  bool WriteDXF(const std::filesystem::path& src, DxfSink& sink);
  // The first handle after everything the sections use; gives the image
  // definitions their handles. Valid when DXFHnd = Ltn + 6.
  int CountHandles();
  // Takes the next running handle.
  int NewHandle() { return DXFHnd++; }
  // Number of non-finite reals written as 0 during the last write.
  long long NonFiniteWritten() const { return nonFinite_; }

  // ----- counts
  int ltpn() const { return static_cast<int>(ltps.size()); }
  int layn() const { return static_cast<int>(lays.size()); }
  int mstn() const { return static_cast<int>(msts.size()); }
  int deNoN() const { return static_cast<int>(deNo.size()); }
  int deLineN() const { return static_cast<int>(deLine.size()); }
  int deCircN() const { return static_cast<int>(deCirc.size()); }
  int deArcN() const { return static_cast<int>(deArc.size()); }
  int deElliN() const { return static_cast<int>(deElli.size()); }
  int deTenN() const { return static_cast<int>(deTen.size()); }
  int deSld3N() const { return static_cast<int>(deSld3.size()); }
  int deSld4N() const { return static_cast<int>(deSld4.size()); }
  int deMojiN() const { return static_cast<int>(deMoji.size()); }
  int deImagN() const { return static_cast<int>(deImag.size()); }
  int dePLinN() const { return static_cast<int>(dePLin.size()); }
  int deVportN() const { return static_cast<int>(deVport.size()); }
  int deDimN() const { return static_cast<int>(deDim.size()); }
  int deBlockN() const { return static_cast<int>(deBlock.size()); }
  int deBlockDefN() const { return static_cast<int>(deBlockDef.size()); }
  int deFListN() const { return static_cast<int>(deFList.size()); }

  // ----- fields
  int DXFHnd = 1;  // next free handle while writing
  int hn_blk = 0;  // handle of the BLOCK_RECORD table object (set by TABLES)
  int Ver = 0;     // 0 R12 (AC1009), 1 2000 (AC1015), 2 2007 (AC1021)
  int Spa = 0;     // 0 model only, 1 model + one paper space, 2 layout per frame
  int Ltn = 2;     // number of paper-space layouts
  std::u16string AppNam;          // the file's leading comment
  std::filesystem::path srcName;  // source drawing, set by SaveDXF
  double MinWx = 0, MinWy = 0, MaxWx = 10, MaxWy = 10;  // extents, paper mm
  double papx = 297, papy = 210;  // paper size in mm
  double pscale = 1.0;
  double tenrad = 0.5;
  int laynametyp = 0;
  int tentyp = 0;
  int tenidx = -1;  // block definition "_TRANS_TEN", -1 none
  int mojistyle = 0;

  std::vector<TDXF_Ltype> ltps;
  std::vector<TDXF_Layer> lays;
  std::vector<TDXF_Style> msts;
  TDXF_Moji_Exp_Info mexp;

  std::vector<TDXF_PolyWorkMain> dpw1;  // curve groups
  std::vector<TDXF_PolyWorkSub> dpw2;   // joined polylines

  std::vector<TDXF_EntNo> deNo;  // output order of top-level entities
  std::vector<TDXF_Line> deLine;
  std::vector<TDXF_Circle> deCirc;
  std::vector<TDXF_Arc> deArc;
  std::vector<TDXF_Ellipse> deElli;
  std::vector<TDXF_Ten> deTen;
  std::vector<TDXF_Solid3> deSld3;
  std::vector<TDXF_Solid4> deSld4;
  std::vector<TDXF_Moji> deMoji;
  std::vector<TDXF_Image> deImag;
  std::vector<TDXF_PLine> dePLin;
  std::vector<TDXF_ViewPort> deVport;
  std::vector<TDXF_Dimension> deDim;
  std::vector<TDXF_Block> deBlock;

  std::vector<TDXF_BlockDef> deBlockDef;
  std::vector<TDXF_FileNameList> deFList;
  std::vector<TDXF_LGroup> deLgp;  // the 16 layer groups

  std::vector<TJwZumenWakuWork> zw_h;  // candidate horizontal frame lines
  std::vector<TJwZumenWakuWork> zw_v;  // candidate vertical frame lines
  std::vector<TJwZumenWakuWork> zw_w;  // frames
  int zw_hn() const { return static_cast<int>(zw_h.size()); }
  int zw_vn() const { return static_cast<int>(zw_v.size()); }
  int zw_wn() const { return static_cast<int>(zw_w.size()); }

 private:
  using Lists = TDXF_EntityLists;  // the order list and arrays of one container
  Lists TopLists();
  Lists BlockLists(int bn);
  bool ValidBlock(int bn) const { return bn >= 0 && bn < deBlockDefN(); }

  bool PutArc(Lists l, bool block, int sp, int ly, int co, int tp, int wd, double px,
              double py, double pr, double ph, double ps, double pd, double pk);
  bool PutSolid4(Lists l, int sp, int ly, int co, double px1, double py1, double px2,
                 double py2, double px3, double py3, double px4, double py4);
  bool PutMojiA(Lists l, int sp, int ly, int co, int tp, int bs, int fl, double px1,
                double py1, double px2, double py2, double pw, double ph, double pd,
                double pa, std::u16string_view pf, std::u16string_view ps);
  bool PutMoji(int bn, int sp, int ly, int co, int tp, int bs, int fl, double px1,
               double py1, double px2, double py2, double pw, double ph, double pd,
               double pa, std::u16string_view pf, std::u16string_view ps);
  bool PutPLine(Lists l, int sp, int ly, int co, int tp, int wd, double w1, double w2,
                bool cf, int n, const std::vector<TDXF_PLinePoint>& pv);
  bool PutDim(Lists l, int sp, int ly, int co, int tp, int wd, int n, int st, int ba,
              bool f3, bool f4, bool f5, bool f6, double px0, double py0, double px1,
              double py1, double px3, double py3, double px4, double py4, double px5,
              double py5, double px6, double py6, double pl, double pa, double pha,
              double psa, std::u16string_view pd, std::u16string_view ps);

  // By-layer reduction of one attribute.
  int ReduceCol(int ly, int co) const;
  int ReduceLtp(int ly, int tp) const;
  int ReduceWid(int ly, int wd) const;

  void SaveHeader(DxfWriter& w);
  void CopyImageFiles();

  TDXF_MojiExpander* expander_ = nullptr;
  long long nonFinite_ = 0;
  // Name keys of each table (first index of each key).
  std::unordered_map<std::u16string, int> ltypeKeys_, layerKeys_, styleKeys_, blockKeys_;
};

}  // namespace parvex
