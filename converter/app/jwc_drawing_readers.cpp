#include "converter/app/jwc_drawing_readers.h"

#include <type_traits>

#include "converter/attributes/gra_attribute.h"
#include "converter/jwc/jwc_data.h"
#include "converter/mapping/jwc_to_dxf.h"

namespace parvex {

namespace {

// One DOS-edition drawing object, made anew for every file, so nothing
// read from one drawing reaches the next. The run has already lowered the
// output space (JWK: model space only); the mapping keeps to it as well.
template <typename Drawing>
class JwcDrawingReader final : public DrawingReader {
 public:
  Status FileCheck(const std::filesystem::path& source) override { return Drawing::FileCheck(source); }

  void DataFree() override { drawing_.reset(); }

  Status FileIn(ConversionContext&, const std::filesystem::path& source) override {
    drawing_ = std::make_unique<Drawing>();
    return drawing_->FileIn(source);
  }

  Status AfterRead(ConversionContext& context) override {
    if (!drawing_) return Fail("no drawing has been read");
    TgraAttribute attributes;
    attributes.SetBackColor(0);
    drawing_->AfterRead(attributes, context.Extents);
    return Ok();
  }

  std::optional<int> PaperCode() const override {
    return drawing_ ? drawing_->PaperCode() : std::nullopt;
  }

  Status FileOutDXF(ConversionContext& context, const std::filesystem::path& destination,
                    DxfVersion version) override {
    if (!drawing_) return Fail("no drawing has been read");
    // The mapping uses the drawing up, releasing its records as the DXF
    // model takes them over: a drawing is written once.
    std::unique_ptr<Drawing> drawing = std::move(drawing_);
    return parvex::FileOutDXF(std::move(*drawing), context, destination, version);
  }

 private:
  std::unique_ptr<Drawing> drawing_;
};

}  // namespace

std::unique_ptr<DrawingReader> MakeJwcDrawingReader() {
  return std::make_unique<JwcDrawingReader<TJwcData>>();
}

std::unique_ptr<DrawingReader> MakeJwkDrawingReader() {
  return std::make_unique<JwcDrawingReader<TJwkData>>();
}

}  // namespace parvex
