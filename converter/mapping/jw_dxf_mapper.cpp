// Driver and table passes of the JWW/JWS to DXF mapping: settings handed to
// the model, line types, layers, text styles and point blocks, then the
// entity passes (jw_dxf_entities.cpp) and the write.
#include "converter/mapping/jw_dxf_mapper.h"

#include <chrono>
#include <cmath>

#include "common/number_text.h"
#include "common/path_helpers.h"
#include "common/platform/files.h"
#include "common/text_helpers.h"
#include "common/value_helpers.h"
#include "converter/attributes/gra_attribute.h"
#include "converter/dxf/dxf_default_tables.h"
#include "converter/dxf/dxf_model.h"
#include "converter/expand/text_expansion.h"
#include "converter/mapping/layer_usage_counter.h"
#include "converter/mapping/mapping_frames.h"
#include "converter/mapping/mapping_images.h"
#include "converter/mapping/mapping_shared.h"
#include "converter/mapping/pen_maps.h"

namespace parvex {

namespace {

std::u16string Num(int64_t n) { return IntToText(n); }

}  // namespace

JwDxfMapper::JwDxfMapper(const JwDrawingView& drawing, ConversionContext& context,
                         TgraAttribute& attributes)
    : d_(drawing), ctx_(context), attr_(attributes) {}

JwDxfMapper::~JwDxfMapper() = default;

double JwDxfMapper::GroupScale(int g) const {
  if (g < 0 || g >= static_cast<int>(d_.lgrp.size())) return 1.0;
  // A scale that is not a finite number would spread NaN into every
  // coordinate of the group; such a group is drawn at full size instead.
  return FiniteOr(d_.lgrp[g].adScale, 1.0);
}

int JwDxfMapper::AciOf(uint32_t color) const {
  RecentAci& recent = recentAci_[(color * 2654435761u) >> 26];
  if (recent.aci >= 0 && recent.color == color) return recent.aci;
  const auto it = aciCache_.find(color);
  const int aci =
      it != aciCache_.end() ? it->second : aciCache_.emplace(color, NearestAci(color)).first->second;
  recent = {color, aci};
  return aci;
}

int JwDxfMapper::ColourOf(int penColor) const { return AciOf(attr_.GetAttrColcol(penColor)); }

Status JwDxfMapper::FileOutDXF(const std::filesystem::path& destination, DxfVersion ver) {
  const ConversionSettings& st = ctx_.Settings;
  m_ = std::make_unique<TDXFmodel>();
  TDXFmodel& m = *m_;
  destination_ = destination;
  m.SetDXFVer(ver, st.OutputSpace);
  m.SetAppName(kConverterAppName);
  m.SetDrawingIdentity(d_.sourceDigest, st);

  const double W = ctx_.DrawingPaperSize.Width;
  const double H = ctx_.DrawingPaperSize.Height;
  const DrawingExtents& e = ctx_.Extents;
  m.SetPap(e.ExtMinX + W / 2, e.ExtMinY + H / 2, e.ExtMaxX + W / 2, e.ExtMaxY + H / 2, W, H);
  m.SetScale(GroupScale(st.BaseLayerGroup));

  TextExpansionInputs expansion = ContextExpansionInputs(ctx_);
  if (!d_.jws) {
    MemoLines memo = SplitMemo(d_.memo);
    expansion.Memo1 = std::move(memo.First);
    expansion.Memo2 = std::move(memo.Rest);
  }
  for (int g = 0; g < 16; ++g) expansion.LayerGroupScales[g] = GroupScale(g);
  expansion.PrintScale = FiniteOr(d_.printScale, 1.0);
  expansion.EditingSeconds = d_.drawTime;
  for (int n = 1; n <= 9; ++n) expansion.PenColours[n - 1] = ColourOf(n);
  m.SetMojiExpInfo(expansion);

  SetModelSettings(m, st);

  AddDefaultLtypes(m);
  AddSxfLtypes(m);
  DxfOutLtype();
  DxfOutLayer();
  AddDefaultStyles(m);
  DxfOutStyle();
  if (DxfHasTen()) {
    AddTenBlock(m);
    AddMarkerBlocks(m);
  }
  DxfOutZumenWaku(d_, ctx_, frames_);
  DxfOutEntity();

  Status saved = m.SaveDXF(ctx_.SourcePath, destination);
  m_.reset();
  return saved;
}

// ---- Line types ------------------------------------------------------------

void JwDxfMapper::DxfOutLtype() {
  TDXFmodel& m = *m_;
  for (int i = 17; i <= 32; ++i) {
    const std::u16string description = Num(i) + u" SXF-Extended";
    if (d_.jws || i >= static_cast<int>(d_.ltpS.size())) {
      // A shape file has no line-type table: placeholders keep the indices
      // of the SXF user line types in place.
      const std::vector<double> pattern{1.0, -1.0};
      m.AddLtype(u"SXF_EX_LType_" + Num(i), description, 2, pattern);
      continue;
    }
    const TEntJwwLineTypeExNo& lt = d_.ltpS[i];
    const std::u16string text = StripBreakMarks(lt.astrUDLTypeName);
    const std::u16string name =
        u"SXF_" + (RemoveBlanks(text).empty() ? u"LType_" + Num(i) : text);
    const int count = (lt.anUDLTypeSegment == 2 || lt.anUDLTypeSegment == 4 ||
                       lt.anUDLTypeSegment == 6 || lt.anUDLTypeSegment == 8)
                          ? lt.anUDLTypeSegment
                          : 2;
    std::vector<double> pattern(count);
    for (int j = 0; j < count; ++j) {
      // Pitches are stored from index 1.
      double len = std::fabs(FiniteOr(lt.aadUDLTypePitch[j + 1], 0.0));
      if (len <= 0.01) len = 0.01;
      pattern[j] = (j % 2 == 0) ? len : -len;
    }
    m.AddLtype(name, description, count, pattern);
  }
}

// ---- Layers ------------------------------------------------------------------

void JwDxfMapper::DxfOutLayer() {
  TDXFmodel& m = *m_;
  const ConversionSettings& st = ctx_.Settings;
  TJwLayerCount counter;
  counter.JWW_Init();

  auto count = [&](const TEntJwwAttr& a, int aci, bool withLtype) {
    counter.JWW_CountUp(a.nGLayer, a.nLayer, withLtype ? a.nPenStyle : -1, aci);
  };
  const JwEntityList& t = d_.top;
  for (const TEntJwwNo& no : t.no) {
    const size_t i = static_cast<size_t>(no.EntNo);
    switch (no.EntType) {
      case kJwwLine:
        if (no.EntNo < 0 || i >= t.line.size()) break;
        if (const auto& a = t.line[i].att; a.nPenColor != 9 && a.nPenStyle != 9)
          count(a, ColourOf(a.nPenColor), true);
        break;
      case kJwwEnko:
        if (no.EntNo < 0 || i >= t.enko.size()) break;
        if (const auto& a = t.enko[i].att; a.nPenColor != 9 && a.nPenStyle != 9)
          count(a, ColourOf(a.nPenColor), true);
        break;
      case kJwwTen:
        if (no.EntNo < 0 || i >= t.ten.size()) break;
        if (const auto& a = t.ten[i].att; a.nPenColor != 9) count(a, ColourOf(a.nPenColor), false);
        break;
      case kJwwMoji:
        if (no.EntNo < 0 || i >= t.moji.size()) break;
        if (const auto& a = t.moji[i].att; a.nPenColor != 9) count(a, ColourOf(a.nPenColor), false);
        break;
      case kJwwSunpo: {
        if (no.EntNo < 0 || i >= t.sunpo.size()) break;
        const TEntJwwSunpo& s = t.sunpo[i];
        if (s.Sen.att.nPenColor != 9 && s.Sen.att.nPenStyle != 9)
          count(s.Sen.att, ColourOf(s.Sen.att.nPenColor), true);
        if (s.Moji.att.nPenColor != 9) count(s.Moji.att, ColourOf(s.Moji.att.nPenColor), false);
        break;
      }
      case kJwwSolid: {
        if (no.EntNo < 0 || i >= t.solid.size()) break;
        const TEntJwwSolid& s = t.solid[i];
        if (s.att.nPenColor == 9) break;
        const int aci = s.att.nPenColor == 10
                            ? AciOf(ColorRefToAlphaColor(static_cast<int32_t>(s.Color)))
                            : ColourOf(s.att.nPenColor);
        count(s.att, aci, false);
        break;
      }
      default:
        break;  // block inserts and empty entries are not counted
    }
  }
  counter.gnmaxr = st.BaseLayerGroup;
  counter.CaluMax();
  layerGroupMost_ = counter.gnmax;

  AddDefaultLayers(m);
  for (int i = 0; i < 256; ++i) {
    const int g = i / 16;
    const int l = i % 16;
    std::u16string name;
    bool shown = true;
    if (d_.jws || d_.lay.size() < 256 || d_.lgrp.size() < 16) {
      // Shape files name their layers by group and layer number alone.
      name = m.AdjustLayerName(g, l, u"");
    } else {
      name = m.AdjustLayerName(
          g, l, m.DefautLayerName(i, d_.lgrp[g].aStrGLayName, d_.lay[i].aStrLayName));
      shown = d_.lgrp[g].anGLay != 0 && d_.lay[i].aanLay != 0;
    }
    AddCountedLayer(m, name, counter.cn[i], shown);
  }
}

// ---- Text styles -------------------------------------------------------------

int JwDxfMapper::GetFontNamesIndex(std::u16string s) const {
  for (int k = 0; k < 3 && !s.empty() && s.front() == u'@'; ++k) s.erase(0, 1);
  for (size_t i = 0; i < fontNames_.size(); ++i) {
    if (fontNames_[i] == s) return static_cast<int>(i);
  }
  return -1;
}

void JwDxfMapper::GetFontNames() {
  fontNames_.clear();
  auto add = [&](const std::u16string& name) {
    if (GetFontNamesIndex(name) < 0) fontNames_.push_back(name);
  };
  auto addList = [&](const JwEntityList& list) {
    for (const TEntJwwMoji& t : list.moji) add(t.strFontName);
    for (const TEntJwwSunpo& s : list.sunpo) add(s.Moji.strFontName);
  };
  addList(d_.top);
  for (const TEntJwwBlockDef& def : d_.blockDefs) addList(MembersOf(def));
}

void JwDxfMapper::DxfOutStyle() {
  TDXFmodel& m = *m_;
  auto pair = [&](const std::u16string& name, double w, double hl) {
    AddShxStylePair(m, name, w, hl);
  };
  switch (ctx_.Settings.TextStyleMode) {
    case TextStyleMode::OneStyle:
      pair(u"MOJI1", 1.0, 2.0);
      break;
    case TextStyleMode::TrueType:
      GetFontNames();
      for (size_t i = 0; i < fontNames_.size(); ++i) {
        const std::u16string name = u"MOJI" + Num(static_cast<int64_t>(i) + 1);
        m.AddStyle({.nam = name, .fo1 = fontNames_[i] + u".ttf", .mhl = 2.0});
        m.AddStyle({.nam = name + u"T", .fo1 = u"@" + fontNames_[i] + u".ttf", .mhl = 2.0});
      }
      break;
    case TextStyleMode::PerKind:
      pair(u"MOJI0", 1.0, 2.0);
      for (int k = 1; k <= 10; ++k) {
        double w = 1.0;
        double hl = 2.0;
        if (d_.jws) {
          hl = k == 1 ? 2.0 : k == 2 ? 2.5 : k;
        } else if (k - 1 < static_cast<int>(d_.moj.size())) {
          const TEntJwwMojiType& mt = d_.moj[k - 1];
          // A text kind of height 0 (or unreadable sizes) would give an
          // infinite width factor; such a kind keeps the plain proportions.
          const double ratio = mt.adMojiX / mt.adMojiY;
          w = FiniteOr(ratio, 1.0);
          hl = FiniteOr(mt.adMojiY, 2.0);
        }
        pair(u"MOJI" + Num(k), w, hl);
      }
      break;
  }
}

// ---- Points ------------------------------------------------------------------

// Points, and the end points of SXF-mode dimension records, which are
// written as points too (loose, or in a dimension's block): each of them
// may need a marker block.
bool JwDxfMapper::DxfHasTen() const {
  auto hasTen = [](const JwEntityList& list) {
    for (const TEntJwwNo& no : list.no) {
      if (no.EntType == kJwwTen) return true;
      if (no.EntType == kJwwSunpo && no.EntNo >= 0 &&
          static_cast<size_t>(no.EntNo) < list.sunpo.size() &&
          list.sunpo[static_cast<size_t>(no.EntNo)].bSxfMode != 0) {
        return true;
      }
    }
    return false;
  };
  if (hasTen(d_.top)) return true;
  for (const TEntJwwBlockDef& def : d_.blockDefs) {
    if (def.ref_flag && hasTen(MembersOf(def))) return true;
  }
  return false;
}

}  // namespace parvex
