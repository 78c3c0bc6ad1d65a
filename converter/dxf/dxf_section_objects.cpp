// The OBJECTS section (2000 and 2007): root dictionary, the dictionaries of
// colours, groups, layouts and plot styles, the plot-style placeholder, the
// layouts, and for drawings with images the image dictionary, the raster
// variables, the image definitions and one reactor per written IMAGE.
#include <string>

#include "common/platform/codepage.h"
#include "converter/dxf/dxf_handles.h"
#include "converter/dxf/dxf_model.h"
#include "converter/dxf/dxf_section_shared.h"
#include "converter/dxf/dxf_sections.h"
#include "converter/dxf/dxf_writer.h"

namespace parvex {
namespace {

using H = std::uint32_t;

// The name and extension of a path, without its folder.
std::u16string FileNameOf(std::u16string_view p) {
  const std::size_t sep = p.find_last_of(u"\\/");
  std::u16string out(sep == std::u16string_view::npos ? p : p.substr(sep + 1));
  for (char16_t& c : out) {
    if (c == u'\r' || c == u'\n' || c == 0) c = u' ';
  }
  return out;
}

std::u16string LayoutName(int i) {
  std::u16string s = u"レイアウト";
  for (char c : std::to_string(i)) s += static_cast<char16_t>(c);
  return s;
}

// Every image record whose IMAGE is written, with the file-list entry it
// refers to: block definitions first (in order), then the top level.
struct WrittenImage {
  std::uint32_t hnd;
  int entry;
};

std::vector<WrittenImage> WrittenImages(const TDXFmodel& m) {
  std::vector<WrittenImage> out;
  auto add = [&](const DxfEntities& c) {
    for (const TDXF_Image& r : c.Records<TDXF_Image>()) {
      if (dxfsec::ImageWritten(m, r)) out.push_back({r.handle, m.GetFList(r.fna)});
    }
  };
  for (const TDXF_BlockDef& b : m.deBlockDef) add(b.entities);
  add(m.Top());
  return out;
}

class ObjectWriter {
 public:
  ObjectWriter(const TDXFmodel& m, const DxfHandles& h, DxfWriter& w) : m_(m), h_(h), w_(w) {}

  // Object start with the reactor group and owner.
  void Start(const char* type, H handle, H owner) {
    w_.Code(0, type);
    w_.Handle(5, handle);
    w_.Code(102, "{ACAD_REACTORS");
    w_.Handle(330, owner);
    w_.Code(102, "}");
    w_.Handle(330, owner);
  }

  void Dictionary(H handle, H owner) {
    Start("DICTIONARY", handle, owner);
    w_.Code(100, "AcDbDictionary");
    w_.Int(281, 1);
  }

  void Layout(int i, H owner, double paperW, double paperH) {
    const bool model = i == 0;
    w_.Code(0, "LAYOUT");
    w_.Handle(5, h_.Layout(i));
    w_.Code(102, "{ACAD_REACTORS");
    w_.Handle(330, owner);
    w_.Code(102, "}");
    w_.Handle(330, owner);
    w_.Code(100, "AcDbPlotSettings");
    w_.Codes({{1, ""}, {2, "none_device"}, {4, ""}, {6, ""}});
    w_.Reals({{40, 0}, {41, 0}, {42, 0}, {43, 0}, {44, paperW}, {45, paperH}, {46, 0}, {47, 0},
              {48, 0}, {49, 0}, {140, 0}, {141, 0}, {142, 1}, {143, 1}});
    w_.Ints({{70, model ? 11952 : 688}, {72, 1}, {73, 0}, {74, model ? 0 : 5}});
    w_.Code(7, "");
    w_.Int(75, 16);
    w_.Reals({{147, 1}, {148, 0}, {149, 0}});
    w_.Code(100, "AcDbLayout");
    if (model) {
      w_.Code(1, "Model");
    } else {
      w_.Text(1, LayoutName(i));
    }
    w_.Ints({{70, 1}, {71, i}});
    w_.XY(0, 0);
    w_.Reals({{11, m_.papx}, {21, m_.papy}});
    w_.Point(2, 0, 0, 0);
    w_.Point(4, m_.MinWx, m_.MinWy, 0);
    w_.Point(5, m_.MaxWx, m_.MaxWy, 0);
    w_.Real(146, 0);
    w_.Point(3, 0, 0, 0);
    w_.Point(6, 1, 0, 0);
    w_.Point(7, 0, 1, 0);
    w_.Int(76, 0);
    w_.Handle(330, h_.SpaceRecord(i));
  }

  // Paper size of layout i (1..Ltn).
  std::pair<double, double> PaperOf(int i) const {
    if (m_.Spa == OutputSpace::ModelAndPaper) {
      if (i == 2) return {0, 0};
    } else if (m_.Spa == OutputSpace::Layouts) {
      if (i <= static_cast<int>(m_.layoutFrames.size())) {
        const TJwZumenWakuWork& f = m_.layoutFrames[static_cast<std::size_t>(i - 1)];
        return {f.x2 - f.x1, f.y2 - f.y1};
      }
      return {0, 0};
    }
    return {m_.papx, m_.papy};
  }

 private:
  const TDXFmodel& m_;
  const DxfHandles& h_;
  DxfWriter& w_;
};

}  // namespace

void SaveObjects(const TDXFmodel& m, const DxfHandles& h, DxfWriter& w) {
  if (m.Ver == DxfVersion::R12) return;
  ObjectWriter o(m, h, w);
  const H root = h.RootDictionary();
  const H imageDict = h.ImageDictionary();
  const H rasterVars = h.RasterVariables();
  const H colors = h.colours, groups = h.groups, layouts = h.layouts, plotStyles = h.plotStyles;
  const bool images = !m.deFList.empty();

  w.BeginSection("OBJECTS");

  w.Code(0, "DICTIONARY");
  w.Handle(5, root);
  w.Code(330, "0");
  w.Code(100, "AcDbDictionary");
  w.Int(281, 1);
  auto entry = [&](const char* key, H h) {
    w.Code(3, key);
    w.Handle(350, h);
  };
  entry("ACAD_COLOR", colors);
  entry("ACAD_GROUP", groups);
  entry("ACAD_LAYOUT", layouts);
  entry("ACAD_PLOTSTYLENAME", plotStyles);
  if (images) {
    entry("ACAD_IMAGE_DICT", imageDict);
    entry("ACAD_IMAGE_VARS", rasterVars);
  }

  const std::vector<WrittenImage> written = images ? WrittenImages(m) : std::vector<WrittenImage>{};
  for (const WrittenImage& im : written) {
    w.Code(0, "IMAGEDEF_REACTOR");
    w.Handle(5, im.hnd + 1);
    w.Handle(330, im.hnd);
    w.Code(100, "AcDbRasterImageDefReactor");
    w.Int(90, 2);
    w.Handle(330, im.hnd);
  }

  o.Dictionary(colors, root);
  o.Dictionary(groups, root);
  o.Dictionary(layouts, root);
  w.Code(3, "Model");
  w.Handle(350, h.Layout(0));
  for (int i = 1; i <= m.Ltn; ++i) {
    w.Text(3, LayoutName(i));
    w.Handle(350, h.Layout(i));
  }

  o.Start("ACDBDICTIONARYWDFLT", plotStyles, root);
  w.Code(100, "AcDbDictionary");
  w.Int(281, 1);
  w.Code(3, "Normal");
  w.Handle(350, h.PlotStylePlaceholder());
  w.Code(100, "AcDbDictionaryWithDefault");
  w.Handle(340, h.PlotStylePlaceholder());

  w.Code(0, "ACDBPLACEHOLDER");
  w.Handle(5, h.PlotStylePlaceholder());
  w.Code(102, "{ACAD_REACTORS");
  w.Handle(330, plotStyles);
  w.Code(102, "}");
  w.Handle(330, plotStyles);

  o.Layout(0, layouts, m.papx, m.papy);
  for (int i = 1; i <= m.Ltn; ++i) {
    const auto [pw, ph] = o.PaperOf(i);
    o.Layout(i, layouts, pw, ph);
  }

  if (images) {
    o.Dictionary(imageDict, root);
    for (const TDXF_FileNameList& f : m.deFList) {
      w.Text(3, FileNameOf(f.dst));
      w.Handle(350, f.hnd);
    }
    o.Start("RASTERVARIABLES", rasterVars, root);
    w.Code(100, "AcDbRasterVariables");
    w.Int(90, 0);
    w.Int(70, 1);
    w.Int(71, 1);
    w.Int(72, 1);
    for (int e = 0; e < m.deFListN(); ++e) {
      const TDXF_FileNameList& f = m.deFList[static_cast<std::size_t>(e)];
      w.Code(0, "IMAGEDEF");
      w.Handle(5, f.hnd);
      w.Code(102, "{ACAD_REACTORS");
      w.Handle(330, imageDict);
      // The reactors of the IMAGEs that use this file.
      for (const WrittenImage& im : written) {
        if (im.entry == e) w.Handle(330, im.hnd + 1);
      }
      w.Code(102, "}");
      w.Handle(330, imageDict);
      w.Code(100, "AcDbRasterImageDef");
      w.Int(90, 0);
      w.Text(1, FileNameOf(f.dst));
      w.Real(10, f.ix);
      w.Real(20, f.iy);
      w.Real(11, f.sx / f.ix);
      w.Real(21, f.sy / f.iy);
      w.Int(280, 1);
      w.Int(281, 0);
    }
  }

  w.EndSection();
}

}  // namespace parvex
