// Rules that the Windows-edition (JWW/JWS) and the DOS-edition (JWC/JWK)
// mappings share: the expansion inputs every conversion takes from its
// context, the SHX text-style pairs and the DXF layers made from the layer
// usage counts.
#pragma once

#include <string>

#include "converter/context/conversion_context.h"
#include "converter/expand/text_expansion.h"

namespace parvex {

class TDXFmodel;
struct TJwLayerCount_Work;

// The expansion inputs that come from the settings and the run: the two
// switches, the source path and its write time, the moment of conversion
// and the reference variables. The drawing's own values (memo, scales,
// pen colours, editing time) are the caller's.
TextExpansionInputs ContextExpansionInputs(const ConversionContext& context);

// The settings the model applies to layer names, points and texts.
void SetModelSettings(TDXFmodel& m, const ConversionSettings& st);

// The horizontal SHX style `name` and its vertical twin `name` + "T"
// (big font "@extfont2.shx"), with width factor w and last height hl.
void AddShxStylePair(TDXFmodel& m, const std::u16string& name, double w, double hl);

// A drawing layer with the colour and line type its entities use most
// (colour 7 and line type 1 when none was counted), lineweight 0,
// always plotted.
void AddCountedLayer(TDXFmodel& m, const std::u16string& name, const TJwLayerCount_Work& usage,
                     bool shown);

}  // namespace parvex
