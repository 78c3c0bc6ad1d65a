// The in-memory picture of the DXF file the converter writes. The mapping
// passes fill one model per drawing (tables, entities in model space, paper
// space, layouts and block definitions, image files) and then call SaveDXF,
// which writes the whole file.
//
// Entities. The top level and every block definition hold their entities
// in one DxfEntities each (dxf_entities.h); the records and the attribute
// convention are in dxf_records.h. There is one adder per kind of entity,
// taking the record and the container: kTopLevel or the index of a block
// definition. The model decides, while a record is added:
// - by layer: a colour, line type or lineweight equal to the layer's own
//   is stored as 0 (which of the three depends on the kind);
// - a curve is stored as circle, arc or ellipse (AddArc);
// - a four-corner solid with coinciding last corners has three corners;
// - a text is clamped, cut and expanded (AddMoji);
// - names of block definitions are made unique.
// Where the top level and block definitions differ, the container decides
// (DxfEntities).
//
// Names. Every name the file holds (layers, line types, text styles, block
// definitions) goes through dxf_names.h when it enters the model: it is made
// valid for the output version (CleanDxfName) and unique among the names of
// its table as a DXF reader compares them, ignoring letter case after
// encoding (DxfNameKey, MakeUniqueDxfName). So SetDXFVer must come before
// any table entry or block definition is added. Names that are already
// valid and unique are stored exactly as given.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/content_digest.h"
#include "common/conversion_settings.h"
#include "common/result.h"
#include "converter/dxf/dxf_entities.h"
#include "converter/dxf/dxf_frames.h"
#include "converter/dxf/dxf_names.h"
#include "converter/dxf/dxf_records.h"
#include "converter/dxf/dxf_text_expansion.h"

namespace parvex {

class DxfSink;
class DxfWriter;

// ---------------------------------------------------------------------------
// Table records

struct TDXF_Ltype {
  std::u16string nam{};
  std::u16string exp{};
  int n = 0;                // number of pattern elements
  std::vector<double> pt;   // positive dash, negative gap, 0 dot
  double pl = 0;            // pattern length: sum of |pt|
};

struct TDXF_Layer {
  std::u16string nam{};
  int col = 7;    // colour number
  int ltp = 1;    // line type, 1-based index into ltps
  int wid = 0;    // lineweight, 0 = default
  bool dsp = true;  // shown
  bool prn = true;  // plotted
};

struct TDXF_Style {
  std::u16string nam{};
  std::u16string fo1{};  // font file
  std::u16string fo2{};  // big-font file
  double mh = 0;     // fixed height
  double mw = 1;     // width factor
  double ang = 0;    // oblique angle
  double mhl = 0;    // last height used
  bool fla = false;  // vertical text
};

// ---------------------------------------------------------------------------
// Block definitions, image files, layer groups

struct TDXF_BlockDef {
  std::u16string nam{};
  int IDno = 0;  // the caller's block number
  DxfEntities entities{DxfEntities::Level::Block};
};

struct TDXF_FileNameList {
  std::u16string src{};  // image file as the IMAGE records name it
  std::u16string dst{};  // path of the copy written beside the DXF
  double ix = 0, iy = 0;
  double sx = 0, sy = 0;
  std::uint32_t hnd = 0;  // handle of its IMAGEDEF, given before each write
  std::filesystem::path from;  // the file the copy is made of (empty: src)
};

struct TDXF_LGroup {
  int n = 0;       // viewport number of the layer group; 0 = none
  double sc = 0;   // scale
  double dx = 0, dy = 0;
};

// The container argument of the adders that names the top level.
inline constexpr int kTopLevel = -1;

// ---------------------------------------------------------------------------

class TDXFmodel {
 public:
  // An empty model with the defaults below and 16 zeroed layer-group
  // entries; one model serves one conversion.
  TDXFmodel();
  TDXFmodel(const TDXFmodel&) = delete;
  TDXFmodel& operator=(const TDXFmodel&) = delete;

  // ----- settings
  void SetDXFVer(DxfVersion v, OutputSpace sp);
  void SetAppName(std::u16string_view s);
  // The drawing the file is written from, for $FINGERPRINTGUID and
  // $VERSIONGUID (dxf_guid.h): the digest of its file's bytes and the
  // settings of the conversion. Without it both come from an empty digest.
  void SetDrawingIdentity(const Digest128& source, const ConversionSettings& settings);
  void SetPap(double mix, double miy, double max, double may, double pax, double pay);
  void SetScale(double scl);
  void SetLayerNameType(LayerNameType n);
  void SetTenTransType(PointConversion n, double r);
  void SetMojiStyle(TextStyleMode n);
  // The inputs of the text expansion that AddMoji applies.
  void SetMojiExpInfo(const TextExpansionInputs& inputs) { mexp = inputs; }

  // ----- tables (names made valid and unique, see the top of this file)
  // Appends a line type; pt = the first pn values of pa (fewer when pa is
  // shorter), pl = the sum of their absolute values.
  void AddLtype(std::u16string_view na, std::u16string_view ex, int pn,
                const std::vector<double>& pa);
  void AddLayer(std::u16string_view na, int co, int lt, int wd, bool dp, bool pr);
  // Height and width factor are stored as absolute values: the width factor
  // clamped into [1e-10, 1e10], the fixed height into [1e-10, 1e10] unless
  // it is below 1e-10, which is no fixed height (0).
  void AddStyle(TDXF_Style style);
  // Default layer name for layer index l (0..255) by laynametyp.
  std::u16string DefautLayerName(int l, std::u16string_view lg, std::u16string_view ly) const;
  // The name s cleaned for the output version; lg-ly in hexadecimal when
  // nothing is left.
  std::u16string AdjustLayerName(int lg, int ly, std::u16string_view s) const;
  // Index of the entry of that name as a DXF reader compares names, or -1.
  int FindLtype(std::u16string_view name) const;
  int FindLayer(std::u16string_view name) const;
  int FindStyle(std::u16string_view name) const;

  // ----- font names of texts
  // The index of a font name, entered on first use.
  int FontIndex(std::u16string_view name);
  // The font name of index i; empty for -1 or an index that names none.
  const std::u16string& FontName(int i) const;

  // ----- entities
  // Each adder stores one record (AddArc, AddSolid4 and AddMoji may store
  // another kind or several records) in container bn: kTopLevel or a block
  // definition index. True when stored; false, with the model unchanged,
  // when bn names no container, the container refuses the record or the
  // arrays cannot grow.
  bool AddLine(int bn, const TDXF_Line& r);
  // A circle when the ratio is 1 and the sweep is nothing or (at the top
  // level) a whole turn, an arc for any other sweep with ratio 1 (its start
  // turned by the axis angle), else an ellipse (whole at the top level for
  // a sweep of nothing or a whole turn).
  bool AddArc(int bn, const DxfCurve& c);
  // The kind AddArc stores c as in `target`: Circle, Arc or Ellipse (for
  // reserving room before a pass of curves).
  static DxfEntityKind CurveKind(const DxfCurve& c, const DxfEntities& target);
  bool AddTen(int bn, const TDXF_Ten& r);
  bool AddSolid3(int bn, const TDXF_Solid3& r);
  // A three-corner solid when corners 3 and 4 coincide.
  bool AddSolid4(int bn, const TDXF_Solid4& r);
  // Width and height clamped into [1e-10, 1e10] as absolute values, the
  // text cut to 255 columns, not slanted when vertical; then the text
  // expansion may replace it by other texts and lines.
  bool AddMoji(int bn, TDXF_Moji r);
  bool AddImage(int bn, const TDXF_Image& r);
  bool AddPLine(int bn, TDXF_PLine r);
  // The text is cut to 255 columns.
  bool AddDim(int bn, TDXF_Dimension r);
  // Top level only; its id is its position among the viewports of its
  // space + 1 (1: the layout's paper).
  bool AddVPort(TDXF_ViewPort r);
  bool AddBlock(int bn, const TDXF_Block& r);

  // ----- block definitions and images
  // New empty definition; a blank name becomes "NONAME"; the name is made
  // valid and unique. Returns its index, or -1. A name a reader would take
  // for a layout or an anonymous block (a leading '*': "*Model_Space",
  // "*U1") gets '_' in place of its '*' (DxfNameKind::Block).
  int AddBlockDef(std::u16string_view na, int id);
  // The same for an anonymous block the model makes itself (such as the
  // picture "*D1" of a dimension, id -1): a leading '*' stays; the name is
  // made unique all the same.
  int AddAnonymousBlockDef(std::u16string_view na, int id);
  // By name (compared as a DXF reader compares names), or by IDno; -1 if none.
  int GetBlockIdx(std::u16string_view s) const;
  int GetBlockIdx(int id) const;
  // Registers an image file once (pixels pix x piy, size psx x psy); its
  // copy is planned as dstpath + name + lower-cased extension, with "_" + i
  // before the extension while that exists (SaveDXF makes the copy and
  // names the one it made). dstpath is a folder path ending in a
  // separator. The copy is made of `from`, else of the file srcfile names.
  void AddFList(std::u16string_view srcfile, std::u16string_view dstpath, double pix, double piy,
                double psx, double psy, const std::filesystem::path& from = {});
  // The entry of srcfile, letter case ignored; -1 if none.
  int GetFList(std::u16string_view srcfile) const;

  // ----- layer groups, viewports, layouts
  // Completes deLgp and makes the viewports for the space mode: with Spa 2
  // one layout per frame (at least 2 layouts).
  void SetLgp(int base, int nmax, std::span<const TJwZumenWakuWork> frames);
  void SetVPortMinMax(int i, double x, double y);
  void SetVPortArea();

  // ----- writing
  // Writes the file dst (created new: an existing file is never replaced).
  // src is the source drawing, whose time stamps give the date variables.
  // On any failure the partly written file is removed and the reason
  // returned (a full disk says so). Before the file is written, each image
  // file of the list is copied into dst's folder under a free name (never
  // replacing a file), and the file's image definition names that copy; an
  // image file that cannot be copied leaves the list, so its IMAGEs are not
  // written and the file never names a missing image. A failed write
  // removes the copies again. R12 has no images: nothing is copied.
  Status SaveDXF(const std::filesystem::path& src, const std::filesystem::path& dst);
  // Writes the whole file through a sink (SaveDXF without the file; tests
  // and benchmarks use it). src as for SaveDXF. Fails when the version is
  // unknown, the handles run out or the sink failed.
  Status WriteDXF(const std::filesystem::path& src, DxfSink& sink);
  // Number of non-finite reals written as 0 during the last write.
  long long NonFiniteWritten() const { return nonFinite_; }

  // ----- containers and counts
  DxfEntities& Top() { return top_; }
  const DxfEntities& Top() const { return top_; }
  // The container bn names (kTopLevel or a definition index), or nullptr.
  DxfEntities* Container(int bn);
  std::span<const TDXF_ViewPort> Viewports() const { return top_.Records<TDXF_ViewPort>(); }
  int ltpn() const { return static_cast<int>(ltps.size()); }
  int layn() const { return static_cast<int>(lays.size()); }
  int mstn() const { return static_cast<int>(msts.size()); }
  int deVportN() const { return static_cast<int>(Viewports().size()); }
  int deBlockDefN() const { return static_cast<int>(deBlockDef.size()); }
  int deFListN() const { return static_cast<int>(deFList.size()); }

  // ----- fields
  DxfVersion Ver = DxfVersion::R12;
  OutputSpace Spa = OutputSpace::Model;
  int Ltn = 2;     // number of paper-space layouts
  std::u16string AppNam{};        // the file's leading comment
  std::filesystem::path srcName;  // source drawing, set by SaveDXF
  double MinWx = 0, MinWy = 0, MaxWx = 10, MaxWy = 10;  // extents, paper mm
  double papx = 297, papy = 210;  // paper size in mm
  double pscale = 1.0;
  double tenrad = 0.5;
  LayerNameType laynametyp = LayerNameType::Number;
  PointConversion tentyp = PointConversion::Point;
  int tenidx = -1;  // block definition "_TRANS_TEN", -1 none
  TextStyleMode mojistyle = TextStyleMode::PerKind;
  int writeThreads = 1;  // threads the long sections are formatted on

  std::vector<TDXF_Ltype> ltps;
  std::vector<TDXF_Layer> lays;
  std::vector<TDXF_Style> msts;
  TextExpansionInputs mexp;  // the text expansion's inputs

  std::vector<TDXF_BlockDef> deBlockDef;
  std::vector<TDXF_FileNameList> deFList;
  std::vector<TDXF_LGroup> deLgp;  // the 16 layer groups
  // The frames the layouts were made for (Spa 2), in layout order.
  std::vector<TJwZumenWakuWork> layoutFrames;

 private:
  int NewBlockDef(std::u16string_view na, int id, DxfNameKind kind);
  void SetLayout(int nmax, std::span<const TJwZumenWakuWork> frames);
  TDXF_ViewPort PaperViewport(int space) const;
  // Adds a record that needs no decision of its kind beyond the by-layer
  // reduction.
  template <class R>
  bool Store(int bn, R r);
  // The by-layer reduction of a record's attributes.
  template <class R>
  void ByLayer(R& r) const;
  // Stores a text as given after clamping, cutting and reducing.
  bool StoreMoji(DxfEntities& c, TDXF_Moji r);
  static void NormaliseMoji(TDXF_Moji& r);

  void SaveHeader(DxfWriter& w, std::uint32_t handSeed);
  // Copies the image files beside `dxf` (see SaveDXF) and returns the
  // copies made.
  std::vector<std::filesystem::path> CopyImageFiles(const std::filesystem::path& dxf);

  DxfEntities top_{DxfEntities::Level::TopLevel};
  // Font names of texts, and the index of each.
  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::u16string_view s) const {
      return std::hash<std::u16string_view>()(s);
    }
  };
  std::vector<std::u16string> fonts_;
  std::unordered_map<std::u16string, int, NameHash, std::equal_to<>> fontIndex_;
  long long nonFinite_ = 0;
  Digest128 sourceDigest_;    // of the drawing's file
  Digest128 settingsDigest_;  // of the conversion settings
  // Name keys of each table (first index of each key).
  std::unordered_map<std::u16string, int> ltypeKeys_, layerKeys_, styleKeys_, blockKeys_;
  // Upper-cased src of each image file entry.
  std::unordered_map<std::u16string, int> imageKeys_;
};

}  // namespace parvex
