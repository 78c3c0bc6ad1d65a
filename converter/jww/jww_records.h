// Records of a Jw_cad Windows-edition drawing (JWW) and shape (JWS) as they
// are held in memory. Entity records keep the field order of the file
// records; the reader decodes them field by field, so the in-memory layout
// (padding) does not have to match the file.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace parvex {

// Entity kind codes of the order lists (`TEntJwwNo::EntType`).
enum JwwEntityKind : int32_t {
  kJwwNone = 0,  // empty order-list entry
  kJwwLine = 1,
  kJwwEnko = 2,
  kJwwTen = 3,
  kJwwMoji = 4,
  kJwwSunpo = 5,
  kJwwSolid = 6,
  kJwwBlock = 7,
};

// Common attributes, first in every entity record (15 bytes in the file,
// 13 before version 351, which lack nPenWidth).
struct TEntJwwAttr {
  uint32_t lGroup = 0;     // curve/group number, 0 = no group
  uint8_t nPenStyle = 0;   // line type; 100 = point with code; >=101 curved solid
  uint16_t nPenColor = 0;  // 1..9 pen colours, 101..356 SXF colours, 10 = own colour (solid)
  uint16_t nPenWidth = 0;  // 0 in files of version 350 and earlier
  uint16_t nLayer = 0;     // 0..15 within the group
  uint16_t nGLayer = 0;    // layer group 0..15
  uint16_t sFlg = 0;       // entity flags, passed on unchanged
};

// "CDataSen": a straight line.
struct TEntJwwLine {
  TEntJwwAttr att;
  double start_x = 0, start_y = 0, end_x = 0, end_y = 0;
};

// "CDataEnko": circle, arc, ellipse or elliptic arc.
struct TEntJwwEnko {
  TEntJwwAttr att;
  double start_x = 0, start_y = 0;  // centre
  double dHankei = 0;               // radius
  double radKaishiKaku = 0;         // start angle
  double radEnkoKaku = 0;           // swept angle
  double radKatamukiKaku = 0;       // tilt of the axis
  double dHenpeiRitsu = 0;          // flattening (1 = circle)
  uint32_t bZenEnFlg = 0;           // nonzero = full circle/ellipse
};

// "CDataTen": a point. nCode, radKaitenKaku and dBairitsu are stored only
// when att.nPenStyle is 100.
struct TEntJwwTen {
  TEntJwwAttr att;
  double start_x = 0, start_y = 0;
  uint32_t bKariten = 0;  // 1 = temporary point
  uint32_t nCode = 0;
  double radKaitenKaku = 0;
  double dBairitsu = 1.0;
};

// "CDataMoji": a text.
struct TEntJwwMoji {
  TEntJwwAttr att;
  double start_x = 0, start_y = 0, end_x = 0, end_y = 0;
  uint32_t nMojiShu = 0;  // text kind code with flag digits
  double dSizeX = 0, dSizeY = 0;
  double dKankaku = 0;    // character spacing
  double degKakudo = 0;   // angle, degrees
  std::u16string strFontName;
  std::u16string str;
};

// "CDataSunpou": a dimension. The SXF parts (bSxfMode onward) are stored
// from version 420 on.
struct TEntJwwSunpo {
  TEntJwwAttr att;
  TEntJwwLine Sen;   // dimension line
  TEntJwwMoji Moji;  // dimension text
  uint16_t bSxfMode = 0;
  TEntJwwLine Ho1, Ho2;  // extension lines
  TEntJwwTen Te1, Te2;   // end points (arrows)
  TEntJwwTen Kt1, Kt2;   // reference points
};

// "CDataSolid": a filled area. With att.nPenStyle >= 101 the eight values
// describe a curved area (centre, radius, flattening, tilt, start, swept,
// kind) instead of four corners.
struct TEntJwwSolid {
  TEntJwwAttr att;
  double start_x = 0, start_y = 0, end_x = 0, end_y = 0;
  double DPoint2_x = 0, DPoint2_y = 0, DPoint3_x = 0, DPoint3_y = 0;
  uint32_t Color = 0;  // Windows RGB (red low byte), only when att.nPenColor is 10
};

// "CDataBlock": a block insertion.
struct TEntJwwBlock {
  TEntJwwAttr att;
  double DPKijunTen_x = 0, DPKijunTen_y = 0;  // insertion point
  double dBairitsuX = 0, dBairitsuY = 0;      // scale factors
  double radKaitenKaku = 0;                   // rotation
  uint32_t nNumber = 0;                       // block definition number
};

// One entry of an order list.
struct TEntJwwNo {
  int32_t EntType = kJwwNone;
  int32_t EntNo = 0;
};

// "CDataList": a block definition with its member entities.
struct TEntJwwBlockDef {
  TEntJwwAttr att;
  uint32_t nNumber = 0;
  uint32_t bRefferd = 0;
  uint32_t dtime = 0;  // stored time stamp, or the 1-based position for long time stamps
  std::u16string strName;
  int32_t N = 0;                  // member count stated in the file (= mNo.size())
  std::vector<TEntJwwNo> mNo;     // members in file order
  std::vector<TEntJwwLine> mLine;
  std::vector<TEntJwwEnko> mEnko;
  std::vector<TEntJwwTen> mTen;
  std::vector<TEntJwwMoji> mMoji;
  std::vector<TEntJwwSunpo> mSunpo;
  std::vector<TEntJwwSolid> mSolid;
  std::vector<TEntJwwBlock> mBlock;
  bool ref_flag = false;  // reached by some insertion (block tree)
  int32_t ref_no = -1;    // running number among reached definitions, -1 if unreached

  int32_t mLineN() const { return static_cast<int32_t>(mLine.size()); }
  int32_t mEnkoN() const { return static_cast<int32_t>(mEnko.size()); }
  int32_t mTenN() const { return static_cast<int32_t>(mTen.size()); }
  int32_t mMojiN() const { return static_cast<int32_t>(mMoji.size()); }
  int32_t mSunpoN() const { return static_cast<int32_t>(mSunpo.size()); }
  int32_t mSolidN() const { return static_cast<int32_t>(mSolid.size()); }
  int32_t mBlockN() const { return static_cast<int32_t>(mBlock.size()); }
};

// One node of the expanded block tree: one insertion at some depth, with
// its placement in drawing coordinates: (u, v) of the block lies at
// (x + r1*u + r2*v, y + r3*u + r4*v).
struct TEntJwwBlockTree {
  TEntJwwAttr att;
  int32_t level = 0;    // 0 = insertion in the drawing
  int32_t parent = -1;  // index of the parent node, -1 at level 0
  uint32_t no = 0;      // block number inserted
  int32_t defno = -1;   // index into EntBlockDef, -1 when no definition has `no`
  std::u16string name;  // definition name, empty if none
  double x = 0, y = 0;
  double r1 = 1, r2 = 0, r3 = 0, r4 = 1;
};

// ---- Drawing tables -------------------------------------------------------

struct TEntJwwLayerGroup {
  int32_t anGLay = 0;         // state of the group
  int32_t anWriteLay = 0;     // current layer of the group
  double adScale = 0;         // scale denominator
  int32_t anGLayProtect = 0;
  std::u16string aStrGLayName;
};

struct TEntJwwLayer {
  int32_t aanLay = 0;  // state of the layer
  int32_t aanLayProtect = 0;
  std::u16string aStrLayName;
};

// Pen colour: colours are Windows RGB values (red in the low byte).
struct TEntJwwColorNo {
  int32_t aPenColor = 0;
  int32_t anPenWidth = 0;
  int32_t aPrtPenColor = 0;
  int32_t anPrtPenWidth = 0;
  double adPrtTenHankei = 0;  // printed point radius
};

struct TEntJwwLineTypeNo {
  int32_t alLType = 0;  // 32-bit dash pattern
  int32_t anTokushuSenUintDot = 0;
  int32_t anTokushuSenPich = 0;
  int32_t anPrtTokushuSenPich = 0;
};

struct TEntJwwRandomLineNo {
  int32_t alLType = 0;
  int32_t anRandSenWide = 0;
  int32_t anTokushuSenPich = 0;
  int32_t anPrtRandSenWide = 0;
  int32_t anPrtTokushuSenPich = 0;
};

struct TEntJwwColorExNo {
  int32_t aPenColor = 0;
  int32_t anPenWidth = 0;
  std::u16string astrUDColorName;
  int32_t aPrtPenColor = 0;
  int32_t anPrtPenWidth = 0;
  double adPrtTenHankei = 0;
};

struct TEntJwwLineTypeExNo {
  int32_t alLType = 0;
  int32_t anTokushuSenUintDot = 0;
  int32_t anTokushuSenPich = 0;
  int32_t anPrtTokushuSenPich = 0;
  std::u16string astrUDLTypeName;
  int32_t anUDLTypeSegment = 0;              // pitch values used, 0..10
  std::array<double, 11> aadUDLTypePitch{};  // indexed 1..10; [0] unused
};

struct TEntJwwMojiType {
  double adMojiX = 0, adMojiY = 0;  // width, height
  double adMojiD = 0;               // spacing
  int32_t anMojiCol = 0;            // pen colour number
};

// Fixed sizes of the drawing tables.
inline constexpr int kJwwLayerGroupCount = 16;
inline constexpr int kJwwLayerCount = 256;  // group * 16 + layer
inline constexpr int kJwwColorCount = 10;   // 0 background, 1..8 pens, 9 unused
inline constexpr int kJwwLtp1Count = 8;
inline constexpr int kJwwLtp2Count = 5;
inline constexpr int kJwwLtp3Count = 4;
inline constexpr int kJwwColorSCount = 257;  // 1..256 = SXF colours 101..356
inline constexpr int kJwwLtpSCount = 33;     // 1..32 = SXF line types 31..62
inline constexpr int kJwwMojiTypeCount = 10;

// An image carried inside the file (version 700 and later).
struct TBindImageType {
  std::u16string Fname;
  int32_t Fsize = 0;
  bool exf = false;
};

// ---- Group work records of the mapping (only emptied by the reader) ---------

struct TGroupAttrField {
  int32_t no = 0;  // lGroup value
  int32_t bn = 0;
  int32_t lg = 0;
  int32_t dn = -1;  // DXF block made for the group
  int32_t nm = 0;   // number of member entries
  std::vector<int32_t> id;  // indexes into EntNo
};

// Parts of one SXF dimension assembled from a group; which fields a given
// kind uses is up to the mapping.
struct TGroupAttrDimBase {
  int32_t idl = -1, idc = -1;
  int32_t ide1 = -1, ide2 = -1;
  int32_t idh1 = -1, idh2 = -1;
  int32_t ida1 = -1, ida2 = -1, ida3 = -1, ida4 = -1;
  int32_t idm = -1;
  TEntJwwMoji mj;
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0, x3 = 0, y3 = 0, x4 = 0, y4 = 0;
  double x = 0, y = 0, r = 0, sa = 0, ea = 0, ae1 = 0, ae2 = 0;
  double h1x1 = 0, h1y1 = 0, h1x2 = 0, h1y2 = 0;
  double h2x1 = 0, h2y1 = 0, h2x2 = 0, h2y2 = 0;
  double ar = 0, ar2 = 0;
  int32_t ar1c = 0, ar1d = 0, ar2c = 0, ar2d = 0;
};
struct TGroupAttrDimLin : TGroupAttrDimBase {};
struct TGroupAttrDimDia : TGroupAttrDimBase {};
struct TGroupAttrDimCrv : TGroupAttrDimBase {};

// ---- JWW header -------------------------------------------------------------

// All fields of the JWW header, in file order. Member initialisers are the
// defaults an empty drawing has. Arrays indexed from 1 keep element 0 unused.
struct TEntJwwHeader {
  std::u16string jwID;
  int32_t jwVer = 0;
  std::u16string strMemo;
  int32_t nZumen = 0;  // paper size code
  int32_t nWriteGLay = 0;
  int32_t lnSunpou1 = 0, lnSunpou2 = 0, lnSunpou3 = 0, lnSunpou4 = 0, lnSunpou5 = 0;
  int32_t nMaxDrawWid = 0;
  double DPPrtGenten_x = 0, DPPrtGenten_y = 0;
  double dPrtBairitsu = 1.0;
  int32_t nPrtSet = 0, nMemoriMode = 0;
  double dMemoriHyoujiMin = 1.0, dMemoriX = 1.0, dMemoriY = 1.0;
  double DpMemoriKjTen_x = 0, DpMemoriKjTen_y = 0;
  double dKageLevel = 0, dKageIdo = 0;
  int32_t nKage9_15JiFlg = 0;
  double dKabeKageLevel = 0;
  double dTenkuuZuLevel = 0, dTenkuuZuEnkoR = 0;  // version >= 300
  int32_t nMMTani3D = 0;
  double dBairitsu = 1.0;
  double DPGenten_x = 0, DPGenten_y = 0;
  double dHanniBairitsu = 1.0;
  double DPHanniGenten_x = 0, DPHanniGenten_y = 0;
  // Zoom entries 1..8 (1..4 before version 231, without a layer group).
  std::array<double, 9> dZoomJumpBairitsu{0, 1, 1, 1, 1, 1, 1, 1, 1};
  std::array<double, 9> DPZoomJumpGenten_x{};
  std::array<double, 9> DPZoomJumpGenten_y{};
  std::array<int32_t, 9> nZoomJumpGLay{0, -1, -1, -1, -1, -1, -1, -1, -1};
  double dDm11 = 0, dDm12 = 0, dDm13 = 0;  // version >= 231
  int32_t lnDm1 = 0;
  double dDm21 = 0, dDm22 = 0, dMojiBG = 0;
  int32_t nMojiBG = 0;
  std::array<double, 10> adFukusenSuuchi{};
  double dRyougawaFukusenTomeDe = 0;
  int32_t nDrawGamenTen = 0, nDrawPrtTen = 0, nBitMapFirstDraw = 0, nGyakuDraw = 0,
          nGyakuSearch = 0, nColorPrint = 0, nLayJunPrint = 0, nColJunPrint = 0,
          nPrtRenzoku = 0, nPrtKyoutsuuGray = 0;
  int32_t nPrtDpi = 0;              // printer word div 10
  int32_t nPrtDispOnlyNonDraw = 0;  // printer word mod 10
  int32_t lnDrawTime = 0;           // version >= 223
  int32_t nEyeInit = 0, dEye_H_Ichi_1 = 0, dEye_H_Ichi_2 = 0, dEye_H_Ichi_3 = 0;
  double dEye_Z_Ichi_1 = 0, dEye_Y_Ichi_1 = 0, dEye_Z_Ichi_2 = 0, dEye_Y_Ichi_2 = 0,
         dEye_V_Ichi_3 = 0;
  double dSenNagasaSnpou = 0, dBoxSunpouX = 0, dBoxSunpouY = 0, dEnHankeiSnpou = 0;  // >= 225
  int32_t nSolidNinniColor = 0, SolidColor = 0;  // version >= 230
  double dMojiSizeX = 0, dMojiSizeY = 0, dMojiKankaku = 0;
  int32_t nMojiColor = 0, nMojiShu = 0;
  double dMojiSeiriGyouKan = 0, dMojiSeiriSuu = 0;
  int32_t nMojiKijunZureOn = 0;
  double adMojiKijunZureX0 = 0, adMojiKijunZureX1 = 0, adMojiKijunZureX2 = 0;
  double adMojiKijunZureY0 = 0, adMojiKijunZureY1 = 0, adMojiKijunZureY2 = 0;
  bool bSenHaba100 = false;  // not used by the conversion
  int32_t nMaxDrawWidBak = 0;  // not used by the conversion
  int32_t n1 = 0;  // entity count stated in the file
  int32_t n2 = 0;  // block definition count stated in the file
};

// ---- JWS header -------------------------------------------------------------

struct TEntJwsHeader {
  std::u16string jwID;
  int32_t jwVer = 0;
  double BasePoint_x = 0, BasePoint_y = 0;
  int32_t dmy01 = 0, dmy02 = 0, dmy03 = 0, dmy04 = 0, dmy05 = 0, dmy06 = 0;
  double dmy11 = 0, dmy12 = 0, dmy13 = 0, dmy14 = 0, dmy15 = 0, dmy16 = 0;
  double Mx1 = 0, My1 = 0, Mx2 = 0, My2 = 0;
  int32_t n1 = 0;
  int32_t n2 = 0;
};

}  // namespace parvex
