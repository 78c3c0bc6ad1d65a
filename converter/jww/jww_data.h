// In-memory JWW drawing (`TJwwData`) and the part it shares with a JWS
// shape (`JwwEntityModel`): order list, entity arrays, block definitions,
// block tree, carried images and extents.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/content_digest.h"
#include "common/result.h"
#include "converter/context/conversion_context.h"
#include "converter/jww/jww_records.h"

namespace parvex {

class ByteReader;
class JwwArchive;
class TgraAttribute;
class TJwsData;

// Limits of the block tree expansion. A block that inserts itself, directly
// or through others, would expand forever, and a few nested blocks that
// each insert the next many times multiply into an enormous tree.
//  - An insertion whose definition is already on its own path (a cycle) is
//    cut: it gets no node, so the repeated block is drawn no deeper.
//  - Nesting deeper than kMaxBlockTreeLevel is cut the same way.
//  - Expansion stops once the tree would hold more than kBlockTreeBaseNodes
//    plus 64 nodes per insertion record of the file, or once the placed
//    members would cost the later passes (extents, mapping) more than
//    kMaxBlockTreeWork computed points; later nested insertions get no node.
// Level-0 nodes (the drawing's own insertions) are always present.
inline constexpr int32_t kMaxBlockTreeLevel = 32;
inline constexpr size_t kBlockTreeBaseNodes = 100'000;
inline constexpr size_t kMaxBlockTreeWork = 20'000'000;

// Most points the extents may compute for the placed blocks of one drawing.
// Each definition's points are sampled once; a placement without rotation
// then costs its four corner points, any other placement the corners of the
// definition's convex outline. A drawing beyond this fails with a reason
// instead of running for minutes.
inline constexpr size_t kMaxExtentsWork = 100'000'000;

class JwwEntityModel {
 public:
  // Entities of the drawing in file order; trailing entries of kind 0 stand
  // for entities that could not be read.
  std::vector<TEntJwwNo> EntNo;
  std::vector<TEntJwwLine> EntLine;
  std::vector<TEntJwwEnko> EntEnko;
  std::vector<TEntJwwTen> EntTen;
  std::vector<TEntJwwMoji> EntMoji;
  std::vector<TEntJwwSunpo> EntSunpo;
  std::vector<TEntJwwSolid> EntSolid;
  std::vector<TEntJwwBlock> EntBlock;
  std::vector<TEntJwwBlockDef> EntBlockDef;
  std::vector<TEntJwwBlockTree> EntBlockTree;
  int32_t EntBlockNum = 0;  // definitions reached by some insertion

  // Carried images (JWW version 700 and later). Only plain file names are
  // ever created or deleted in BindImageFolder: an entry whose name holds
  // folder parts is skipped with its bytes.
  std::filesystem::path BindImageFolder;
  std::vector<TBindImageType> BindImage;
  bool BindImageExp = false;  // write carried images while reading
  bool BindImageExr = false;  // read the image section at all
  // Write only the images that an image text of the drawing or of a block
  // definition names through "%temp%" (the gzip form of a named image
  // counts); the rest are passed over like images without BindImageExp.
  bool BindImageUsedOnly = false;

  int32_t FileOutOpt = 0;
  std::vector<std::u16string> FontNames;
  uint8_t MojiEncode = 0;  // 1 once a UTF-16 string was read

  // Work records of the mapping.
  std::vector<TGroupAttrField> ga;
  TGroupAttrDimDia dd;
  TGroupAttrDimCrv dc;
  TGroupAttrDimLin dl;

  double myMinWx = 0, myMinWy = 0, myMaxWx = 0, myMaxWy = 0;

  // Digest of the bytes the last read took (zero before any read): the
  // identity of the drawing in the DXF file's GUIDs.
  Digest128 SourceDigest;
  // More than 1: the digest of a large file is taken on another thread
  // while the records are read.
  int ReadThreads = 1;

  int32_t EntLineN() const { return static_cast<int32_t>(EntLine.size()); }
  int32_t EntEnkoN() const { return static_cast<int32_t>(EntEnko.size()); }
  int32_t EntTenN() const { return static_cast<int32_t>(EntTen.size()); }
  int32_t EntMojiN() const { return static_cast<int32_t>(EntMoji.size()); }
  int32_t EntSunpoN() const { return static_cast<int32_t>(EntSunpo.size()); }
  int32_t EntSolidN() const { return static_cast<int32_t>(EntSolid.size()); }
  int32_t EntBlockN() const { return static_cast<int32_t>(EntBlock.size()); }
  int32_t EntBlockDefN() const { return static_cast<int32_t>(EntBlockDef.size()); }
  int32_t EntBlockTreeN() const { return static_cast<int32_t>(EntBlockTree.size()); }
  int32_t BindImageN() const { return static_cast<int32_t>(BindImage.size()); }

  // Expands every insertion into the flat block tree and marks/numbers the
  // definitions reached. Called at the end of every read.
  void MakeBlockTree();

  // Empties the carried-image list.
  void BindImageInit() {
    BindImage.clear();
    usedImageNames_.reset();
  }
  // Writes the bytes of one carried image into BindImageFolder, as reading
  // does for every entry with data when BindImageExp is set.
  void BindImageWrite(const TBindImageType& image, const uint8_t* data, size_t size);
  // Decompresses the extracted ".gz" images beside themselves (name without
  // ".gz"), within the per-image and per-drawing limits of jww_images.h;
  // errors are ignored.
  void BindImageExplode();
  // Delete the files the extraction (".gz" entries) and the decompression
  // (everything else) produced in BindImageFolder.
  void BindImageDeleteGzFile();
  void BindImageDeleteNonGzFile();

  // Extents of all entities and placed blocks, starting from `ext` as
  // seeded, then the degenerate widening; the result goes to `ext` and
  // myMin/myMax. Fails, changing neither, beyond kMaxExtentsWork.
  // `everyPoint` transforms every point of every placed block instead of
  // the outlines (slow; the two agree).
  Status AccumulateExtents(DrawingExtents& ext, bool everyPoint = false);

 protected:
  // Empties the order list, entity arrays, definitions, tree, images, font
  // names, group work list and source digest; keeps the image settings,
  // dimension work records and extents.
  void ClearEntityModel();

  // Reads what follows the header in both JWW and JWS files: the entity
  // count, the entity list and the block definitions. `n1` gets the entity
  // count once it is known to be plausible for the `in` bytes left, `n2`
  // the stated definition count.
  Status ReadEntitySections(JwwArchive& ar, ByteReader& in, int32_t& n1, int32_t& n2);

 private:
  // Lower-cased names the image texts refer to, gathered on first need.
  std::optional<std::vector<std::u16string>> usedImageNames_;
};

class TJwwData : public JwwEntityModel {
 public:
  TEntJwwHeader Enthd;
  std::vector<TEntJwwLayerGroup> EntLgrp;  // 16
  std::vector<TEntJwwLayer> EntLay;        // 256, group * 16 + layer
  std::vector<TEntJwwColorNo> EntCol;      // 10
  std::vector<TEntJwwLineTypeNo> EntLtp1;  // 8
  std::vector<TEntJwwRandomLineNo> EntLtp2;  // 5
  std::vector<TEntJwwLineTypeNo> EntLtp3;  // 4
  std::vector<TEntJwwColorExNo> EntColS;   // 257
  std::vector<TEntJwwLineTypeExNo> EntLtpS;  // 33
  std::vector<TEntJwwMojiType> EntMoj;     // 10

  TJwwData() { DataInit(); }

  // Empties the model and resets the header to its defaults.
  void DataInit();
  void DataFree() { DataInit(); }

  // Quick check: "JwwData." followed by a version from 220 to 700. The
  // reason is "JWW-Header Error" or "JWW-Version Error".
  static Status FileCheck(const std::filesystem::path& path);

  // Reads a whole JWW file. Fails when the file cannot be opened, the header
  // is bad, or the entity list or block definitions are malformed ("JWW-Header
  // Error", "JWW-Version Error", "File I/O Error"); the model then keeps what
  // was read.
  Status FileIn(const std::filesystem::path& path);
  // The same on bytes already in memory.
  Status ReadBytes(std::span<const uint8_t> bytes);

  // Loads the drawing's pen colours into the attribute object;
  // colorSource 1 = screen colours, 2 = printer colours.
  // (Line types and layer states feed only Jw_cad's on-screen tables,
  // which the conversion never reads: nothing loads them.)
  void FileColorSet(TgraAttribute& attr, int colorSource) const;

  // Drawing extents into `ext` (the run-wide values) and myMin/myMax; a
  // drawing beyond the work limit leaves both as they were (MeasureExtents
  // says why).
  void GetMinMaxZahyo(DrawingExtents& ext);
};

// Extents of a JWW drawing or a JWS shape, as GetMinMaxZahyo computes them,
// or the reason why they were not computed.
Status MeasureExtents(TJwwData& drawing, DrawingExtents& ext, bool everyPoint = false);
Status MeasureExtents(TJwsData& shape, DrawingExtents& ext, bool everyPoint = false);

}  // namespace parvex
