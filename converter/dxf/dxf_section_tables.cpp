// The TABLES section: viewport, line types, layers, text styles, empty view
// and UCS tables, registered applications, two dimension styles and (2000,
// 2007) the block records. R12 tables carry no handles, owners or subclass
// markers.
#include <string>

#include "converter/dxf/dxf_handles.h"
#include "converter/dxf/dxf_model.h"
#include "converter/dxf/dxf_sections.h"
#include "converter/dxf/dxf_writer.h"

namespace parvex {
namespace {

std::u16string OneLine(std::u16string_view s) {
  std::u16string out(s);
  for (char16_t& c : out) {
    if (c == u'\r' || c == u'\n' || c == 0) c = u' ';
  }
  return out;
}

// The extension of a file name from its last '.', lower-cased ASCII.
std::u16string LowerExtension(std::u16string_view f) {
  const std::size_t dot = f.find_last_of(u'.');
  const std::size_t sep = f.find_last_of(u"\\/");
  if (dot == std::u16string_view::npos || (sep != std::u16string_view::npos && sep > dot)) {
    return {};
  }
  std::u16string e(f.substr(dot));
  for (char16_t& c : e) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return e;
}

class TableWriter {
 public:
  TableWriter(const TDXFmodel& m, const DxfHandles& h, DxfWriter& w)
      : m_(m), h_(h), w_(w), modern_(m.Ver != DxfVersion::R12) {}

  // Table header; its records then take the handles after the table's.
  void Begin(const char* name, int count, const DxfHandles::Table& t) {
    w_.Code(0, "TABLE");
    w_.Code(2, name);
    table_ = t.table;
    next_ = t.FirstRecord();
    if (modern_) {
      w_.Handle(5, table_);
      w_.Code(330, "0");
      w_.Code(100, "AcDbSymbolTable");
    }
    w_.Int(70, count);
  }
  // Record start up to its subclass marker.
  void Record(const char* type, const char* subclass, int handleCode = 5) {
    w_.Code(0, type);
    const std::uint32_t h = next_++;
    if (modern_) {
      w_.Handle(handleCode, h);
      w_.Handle(330, table_);
      w_.Code(100, "AcDbSymbolTableRecord");
      w_.Code(100, subclass);
    }
  }
  void End() { w_.Code(0, "ENDTAB"); }
  // The extended data that marks a record annotative.
  void AnnotativeData() {
    w_.Codes({{1001, "AcadAnnotative"}, {1000, "AnnotativeData"}, {1002, "{"}});
    w_.Ints({{1070, 1}, {1070, 1}});
    w_.Code(1002, "}");
  }

  void Vport();
  void Ltype();
  void Layer();
  void Style();
  void Appid();
  void Dimstyle();
  void BlockRecord();

 private:
  // The scale the drawing is written at.
  double Scale() const {
    if (m_.Spa == OutputSpace::Model || m_.deLgp.empty()) return m_.pscale;
    return m_.deLgp[0].sc;
  }

  const TDXFmodel& m_;
  const DxfHandles& h_;
  DxfWriter& w_;
  bool modern_;
  std::uint32_t table_ = 0;  // the table being written
  std::uint32_t next_ = 0;   // the handle of its next record
};

void TableWriter::Vport() {
  Begin("VPORT", static_cast<int>(kDxfActiveVports), h_.vport);
  Record("VPORT", "AcDbViewportTableRecord");
  const double s = Scale();
  w_.Text(2, u"*Active");
  w_.Int(70, 0);
  w_.XY(0, 0);
  w_.Reals({{11, 1}, {21, 1}, {12, s * m_.papx / 2}, {22, s * m_.papy / 2}, {13, 0}, {23, 0},
            {14, 10}, {24, 10}, {15, 10}, {25, 10}});
  w_.Point(6, 0, 0, 1);
  w_.Point(7, 0, 0, 0);
  w_.Reals({{40, s * m_.papy}, {41, m_.papx / m_.papy}, {42, 50}, {43, 0}, {44, 0}, {50, 0},
            {51, 0}});
  w_.Ints({{71, 0}, {72, 1000}, {73, 1}, {74, 3}, {75, 0}, {76, 0}, {77, 0}, {78, 0}});
  if (modern_) {
    w_.Ints({{281, 0}, {65, 1}});
    w_.Point(100, 0, 0, 0);  // 110, 120, 130
    w_.Point(101, 1, 0, 0);  // 111, 121, 131
    w_.Point(102, 0, 1, 0);  // 112, 122, 132
    w_.Int(79, 0);
    w_.Real(146, 0);
  }
  if (m_.Ver == DxfVersion::R2007) {
    // No 348: it would have to name a VISUALSTYLE object, and the file
    // holds none.
    w_.Ints({{60, 2}, {61, 5}, {292, 1}, {282, 1}});
    w_.Reals({{141, 0}, {142, 0}});
    w_.Int(63, 250);
    w_.Raw(421, "  3355443");
  }
  End();
}

void TableWriter::Ltype() {
  Begin("LTYPE", m_.ltpn(), h_.ltype);
  if (modern_) {
    for (const char* fixed : kDxfFixedLtypes) {
      Record("LTYPE", "AcDbLinetypeTableRecord");
      w_.Code(2, fixed);
      w_.Int(70, 0);
      w_.Code(3, "");
      w_.Int(72, 65);
      w_.Int(73, 0);
      w_.Real(40, 0);
    }
  }
  for (const TDXF_Ltype& l : m_.ltps) {
    Record("LTYPE", "AcDbLinetypeTableRecord");
    w_.Name(2, OneLine(l.nam));
    w_.Int(70, 0);
    w_.Text(3, OneLine(l.exp));
    w_.Int(72, 65);
    w_.Int(73, static_cast<int>(l.pt.size()));
    w_.Real(40, l.pl);
    for (double e : l.pt) {
      w_.Real(49, e);
      if (modern_) w_.Int(74, 0);
    }
  }
  End();
}

void TableWriter::Layer() {
  Begin("LAYER", m_.layn(), h_.layer);
  for (const TDXF_Layer& l : m_.lays) {
    Record("LAYER", "AcDbLayerTableRecord");
    w_.Text(2, OneLine(l.nam));
    w_.Int(70, 0);
    w_.Int(62, l.dsp ? l.col : -l.col);
    if (l.ltp >= 1 && l.ltp <= m_.ltpn()) {
      w_.Name(6, OneLine(m_.ltps[static_cast<std::size_t>(l.ltp - 1)].nam));
    } else {
      w_.Name(6, u"Continuous");
    }
    if (!l.prn) w_.Int(290, 0);
    w_.Int(370, l.wid == 0 ? -3 : l.wid);
    w_.Code(390, "1");
  }
  End();
}

void TableWriter::Style() {
  Begin("STYLE", m_.mstn(), h_.style);
  for (int k = 0; k < m_.mstn(); ++k) {
    const TDXF_Style& s = m_.msts[static_cast<std::size_t>(k)];
    Record("STYLE", "AcDbTextStyleTableRecord");
    w_.Name(2, OneLine(s.nam));
    w_.Int(70, s.fla ? 4 : 0);
    w_.Real(40, s.mh);
    w_.Real(41, s.mw);
    w_.Real(50, s.ang);
    w_.Int(71, 0);
    w_.Real(42, s.mhl);
    w_.Name(3, OneLine(s.fo1));
    w_.Name(4, OneLine(s.fo2));
    const std::u16string ext = LowerExtension(s.fo1);
    if (ext == u".ttf") {
      w_.Code(1001, "ACAD");
      w_.Text(1000, OneLine(std::u16string_view(s.fo1).substr(0, s.fo1.size() - ext.size())));
      w_.Int(1071, 32817);
    }
    if (k == 1 && modern_) AnnotativeData();
  }
  End();
}

void TableWriter::Appid() {
  Begin("APPID", static_cast<int>(std::size(kDxfAppIds)), h_.appid);
  for (const char16_t* app : kDxfAppIds) {
    Record("APPID", "AcDbRegAppTableRecord");
    w_.Name(2, app);
    w_.Int(70, 0);
  }
  End();
}

void TableWriter::Dimstyle() {
  Begin("DIMSTYLE", static_cast<int>(kDxfDimStyles), h_.dimstyle);
  if (modern_) {
    w_.Code(100, "AcDbDimStyleTable");
    w_.Int(71, static_cast<int>(kDxfDimStyles));
    for (std::size_t k = 0; k < kDxfDimStyles; ++k) {
      w_.Handle(340, h_.dimstyle.FirstRecord() + static_cast<std::uint32_t>(k));
    }
  }
  // The text style of both dimension styles: "Standard" when it is the
  // first record of the style table (as the default styles make it), else
  // the table (a reader falls back to its default).
  const bool standard = m_.mstn() > 0 && m_.FindStyle(u"Standard") == 0;
  const std::uint32_t textStyle = standard ? h_.style.FirstRecord() : h_.style.table;
  auto body = [&](bool iso) {
    const char* const inch = "0.03937007874016";
    if (!modern_) {
      for (int c : {3, 4, 5, 6, 7}) w_.Code(c, "");
      w_.Codes({{40, iso ? "1.0" : "0.0"}, {41, "2.5"}, {42, "0.625"}, {43, "3.75"}, {44, "1.25"},
                {45, "0.0"}, {46, "0.0"}, {47, "0.0"}, {48, "0.0"}});
      w_.Codes({{140, "2.5"}, {141, "2.5"}, {142, iso ? inch : "2.5"}, {143, iso ? "2.5" : inch},
                {144, "1.0"}, {145, "0.0"}, {146, "1.0"}, {147, "0.625"}});
      for (int c : {71, 72, 73, 74, 75, 76}) w_.Int(c, 0);
      w_.Ints({{77, 1}, {78, 8}, {170, 0}, {171, 3}, {172, 1}});
      for (int c : {173, 174, 175, 176, 177, 178}) w_.Int(c, 0);
      return;
    }
    if (!iso) w_.Code(40, "0.0");
    w_.Codes({{41, "2.5"}, {42, "0.625"}, {43, "3.75"}, {44, "1.25"}});
    w_.Ints({{73, 0}, {74, 0}, {77, 1}, {78, 8}});
    w_.Codes({{140, "2.5"}, {141, "2.5"}, {143, iso ? "2.5" : inch}, {147, "0.625"}});
    w_.Ints({{171, 3}, {172, 1}, {271, 2}, {272, 2}, {274, 3}, {278, 44}, {283, 0}, {284, 8}});
    w_.Handle(340, textStyle);
  };

  Record("DIMSTYLE", "AcDbDimStyleTableRecord", 105);
  w_.Code(2, "ISO-25");
  w_.Int(70, 0);
  body(true);

  Record("DIMSTYLE", "AcDbDimStyleTableRecord", 105);
  w_.Name(2, u"Annotative");
  w_.Int(70, 0);
  body(false);
  if (modern_) {
    AnnotativeData();
    w_.Code(1001, "ACAD_DSTYLE_DIMJAG");
    w_.Int(1070, 388);
    w_.Codes({{1040, "1.5"}, {1001, "ACAD_DSTYLE_DIMTALN"}});
    w_.Ints({{1070, 392}, {1070, 0}});
  }
  End();
}

void TableWriter::BlockRecord() {
  // The count is written as 2 (the two spaces) whatever the records.
  Begin("BLOCK_RECORD", 2, h_.blockRecord);
  auto record = [&](auto writeName, std::uint32_t layout) {
    Record("BLOCK_RECORD", "AcDbBlockTableRecord");
    writeName();
    w_.Handle(340, layout);
    if (m_.Ver == DxfVersion::R2007) {
      w_.Int(70, 0);
      w_.Int(280, 1);
      w_.Int(281, 0);
    }
  };
  record([&] { w_.Text(2, u"*Model_Space"); }, h_.Layout(0));
  record([&] { w_.Text(2, u"*Paper_Space"); }, h_.Layout(1));
  for (int k = 0; k + 2 <= m_.Ltn; ++k) {
    record([&] { w_.Code(2, "*Paper_Space" + std::to_string(k)); }, h_.Layout(k + 2));
  }
  for (const TDXF_BlockDef& b : m_.deBlockDef) {
    record([&] { w_.Name(2, OneLine(b.nam)); }, 0);
  }
  End();
}

}  // namespace

void SaveTables(const TDXFmodel& m, const DxfHandles& h, DxfWriter& w) {
  w.BeginSection("TABLES");
  TableWriter t(m, h, w);
  t.Vport();
  t.Ltype();
  t.Layer();
  t.Style();
  // VIEW and UCS: headers without records.
  t.Begin("VIEW", 0, h.view);
  t.End();
  t.Begin("UCS", 0, h.ucs);
  t.End();
  t.Appid();
  t.Dimstyle();
  if (m.Ver != DxfVersion::R12) t.BlockRecord();
  w.EndSection();
}

}  // namespace parvex
