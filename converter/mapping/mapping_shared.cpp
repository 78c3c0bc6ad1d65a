#include "converter/mapping/mapping_shared.h"

#include "common/path_helpers.h"
#include "common/platform/files.h"
#include "converter/dxf/dxf_model.h"
#include "converter/dxf/dxf_parallel_write.h"
#include "converter/mapping/layer_usage_counter.h"

namespace parvex {

TextExpansionInputs ContextExpansionInputs(const ConversionContext& context) {
  const ConversionSettings& st = context.Settings;
  TextExpansionInputs expansion;
  expansion.ExpandMacros = st.ExpandEmbeddedText;
  expansion.ExpandControlCodes = st.ExpandControlCodes;
  // The path as text never fails, whatever bytes the file name holds.
  expansion.SourcePath = platform::PathToText(context.SourcePath);
  expansion.FileDate = FileWriteTime(context.SourcePath);
  expansion.Now = context.Moment;
  for (const TStr2List& v : context.ReferenceVariables) {
    expansion.UserVariables.push_back({v.s1, v.s2});
  }
  return expansion;
}

void SetModelSettings(TDXFmodel& m, const ConversionSettings& st) {
  m.SetLayerNameType(st.LayerNameType);
  m.SetTenTransType(st.PointConversion, st.PointRadius);
  m.SetMojiStyle(st.TextStyleMode);
  m.writeThreads = DxfThreadsOf(st.WriteThreads);
}

void AddShxStylePair(TDXFmodel& m, const std::u16string& name, double w, double hl) {
  const std::u16string half = u"exthalf2.shx";
  m.AddStyle({.nam = name, .fo1 = half, .fo2 = u"extfont2.shx", .mw = w, .mhl = hl});
  m.AddStyle(
      {.nam = name + u"T", .fo1 = half, .fo2 = u"@extfont2.shx", .mw = w, .mhl = hl, .fla = true});
}

void AddCountedLayer(TDXFmodel& m, const std::u16string& name, const TJwLayerCount_Work& usage,
                     bool shown) {
  const int col = usage.colman < 0 ? 7 : usage.colman + 1;
  const int ltp = usage.ltpman < 0 ? 1 : usage.ltpman + 1;
  m.AddLayer(name, col, ltp, 0, shown, true);
}

}  // namespace parvex
