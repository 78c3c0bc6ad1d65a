// The handles of one write, given in one pass over the finished model
// before anything is written. The section writers take every handle from
// here (or from the records and image-file entries the pass filled); none
// of them counts handles itself.
//
// Numbering. Fixed: 1 the plot-style placeholder, 2 the layout "Model",
// i + 2 layout i (1..Ltn), Ltn + 3 the root dictionary, Ltn + 4 the image
// dictionary, Ltn + 5 the raster variables. From Ltn + 6 on, in the order
// of the file: the tables and their records (2000 and 2007 only), the
// BLOCK and ENDBLK of every block with the entities between them, the
// entities of ENTITIES, then (2000 and 2007) four dictionaries and the
// image definitions; $HANDSEED is the handle after the last.
//
// Every entity record that a section selects by its space takes handles
// whether or not it is then written (a blank text, a point marker without
// its block, anything in a layout of R12, ...): 1, an IMAGE 2 (the
// entity and its reactor), a POLYLINE its vertices + 2, and so does an
// ellipse in R12, which is written as a POLYLINE (R12EllipseVertices). The BLOCK and
// ENDBLK of a further layout take theirs in R12 too, so that the numbers
// are the same in every version. A record no section selects (a space
// beyond the layouts) gets handle 0.
#pragma once

#include <cstdint>
#include <vector>

#include "common/result.h"

namespace parvex {

class TDXFmodel;
class DxfEntities;

struct DxfHandles {
  // A table object and its records, which take the handles after it.
  struct Table {
    std::uint32_t table = 0;
    std::uint32_t FirstRecord() const { return table + 1; }
  };
  // The BLOCK and ENDBLK of one block record.
  struct Block {
    std::uint32_t begin = 0;
    std::uint32_t end = 0;
  };

  std::uint32_t ltn = 2;  // number of layouts the numbering was made for

  std::uint32_t PlotStylePlaceholder() const { return 1; }
  // Layout i: 0 model space, 1..Ltn the paper-space layouts.
  std::uint32_t Layout(int i) const { return static_cast<std::uint32_t>(i) + 2; }
  std::uint32_t RootDictionary() const { return ltn + 3; }
  std::uint32_t ImageDictionary() const { return ltn + 4; }
  std::uint32_t RasterVariables() const { return ltn + 5; }

  // TABLES (0 in R12, which writes tables without handles). The line-type
  // table's first two records are ByBlock and ByLayer; the block-record
  // table's records are those of model space, the first paper space, the
  // layouts 2..Ltn and the block definitions, in this order.
  Table vport, ltype, layer, style, view, ucs, appid, dimstyle, blockRecord;

  // BLOCKS: one entry per block record, in the order of its table.
  std::vector<Block> blocks;

  // OBJECTS: the dictionaries of colours, groups, layouts and plot styles.
  std::uint32_t colours = 0, groups = 0, layouts = 0, plotStyles = 0;

  std::uint32_t seed = 0;  // $HANDSEED

  // Block records: of space code `space` (0 model space, 1 the first paper
  // space, k >= 2 layout k), and of block definition j.
  std::uint32_t SpaceRecord(int space) const {
    return blockRecord.table + static_cast<std::uint32_t>(space) + 1;
  }
  std::uint32_t DefinitionRecord(int j) const {
    return blockRecord.table + ltn + 2 + static_cast<std::uint32_t>(j);
  }
  // Index into `blocks` of block definition j.
  std::size_t DefinitionBlock(int j) const { return ltn + 1 + static_cast<std::size_t>(j); }
};

// Which run of entities writes a record of container c with space code
// `space` when the model has `ltn` layouts: 0 the container's own run
// (ENTITIES for the top level, taking spaces up to 1; the definition's
// block, taking the same), k the block of layout k (top level, spaces
// 2..ltn), or -1 when no run writes it.
int WritingRun(const DxfEntities& c, int space, int ltn);

// Numbers everything m.SaveDXF writes: fills the records' handles and the
// image-file entries' IMAGEDEF handles, and returns the rest. Fails when
// the file would need more handles than it can hold.
Result<DxfHandles> AssignHandles(TDXFmodel& m);

}  // namespace parvex
