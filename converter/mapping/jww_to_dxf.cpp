#include "converter/mapping/jww_to_dxf.h"

#include "converter/jww/jws_data.h"
#include "converter/jww/jww_data.h"
#include "converter/mapping/jw_dxf_mapper.h"

namespace parvex {

Status FileOutDXF(const TJwwData& drawing, ConversionContext& context, TgraAttribute& attributes,
                const std::filesystem::path& destination, DxfVersion ver) {
  const JwDrawingView view = MakeDrawingView(drawing);
  JwDxfMapper mapper(view, context, attributes);
  return mapper.FileOutDXF(destination, ver);
}

Status FileOutDXF(const TJwsData& drawing, ConversionContext& context, TgraAttribute& attributes,
                const std::filesystem::path& destination, DxfVersion ver) {
  const JwDrawingView view = MakeDrawingView(drawing);
  JwDxfMapper mapper(view, context, attributes);
  return mapper.FileOutDXF(destination, ver);
}

}  // namespace parvex
