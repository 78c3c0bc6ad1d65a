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
  bool FileCheck(const std::filesystem::path& source) override {
    const Status checked = Drawing::FileCheck(source);
    failure_ = checked.reason();
    return checked.ok();
  }

  void DataFree() override { drawing_.reset(); }

  bool FileIn(ConversionContext&, const std::filesystem::path& source) override {
    drawing_ = std::make_unique<Drawing>();
    const Status read = drawing_->FileIn(source);
    failure_ = read.reason();
    return read.ok();
  }

  bool AfterRead(ConversionContext& context) override {
    if (!drawing_) return false;
    TgraAttribute attributes;
    attributes.SetBackColor(0);
    drawing_->AfterRead(attributes, context.Extents);
    return true;
  }

  std::optional<int> PaperCode() const override {
    return drawing_ ? drawing_->PaperCode() : std::nullopt;
  }

  bool FileOutDXF(ConversionContext& context, const std::filesystem::path& destination,
                  DxfVersion version) override {
    if (!drawing_) return false;
    if (parvex::FileOutDXF(*drawing_, context, destination, version)) return true;
    failure_ = "the DXF file cannot be written";
    return false;
  }

  std::string LastFailure() const override { return failure_; }

 private:
  std::unique_ptr<Drawing> drawing_;
  std::string failure_;
};

}  // namespace

std::unique_ptr<DrawingReader> MakeJwcDrawingReader() {
  return std::make_unique<JwcDrawingReader<TJwcData>>();
}

std::unique_ptr<DrawingReader> MakeJwkDrawingReader() {
  return std::make_unique<JwcDrawingReader<TJwkData>>();
}

}  // namespace parvex
