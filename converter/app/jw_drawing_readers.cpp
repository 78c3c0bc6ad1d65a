#include "converter/app/jw_drawing_readers.h"

#include "converter/attributes/gra_attribute.h"
#include "converter/dxf/dxf_parallel_write.h"
#include "converter/jww/jws_data.h"
#include "converter/jww/jww_data.h"
#include "converter/mapping/jww_to_dxf.h"

namespace parvex {

namespace {

// One drawing object and the attribute object of the drawing being
// converted. Both are made anew for every file, so nothing read from one
// drawing reaches the next.
template <typename Drawing>
class JwDrawingReader final : public DrawingReader {
 public:
  Status FileCheck(const std::filesystem::path& source) override { return Drawing::FileCheck(source); }

  void DataFree() override {
    if (drawing_) {
      // Remove the images unpacked from the previous drawing.
      drawing_->BindImageDeleteGzFile();
      drawing_->BindImageDeleteNonGzFile();
    }
    drawing_.reset();
    attributes_.reset();
  }

  Status FileIn(ConversionContext& context, const std::filesystem::path& source) override {
    drawing_ = std::make_unique<Drawing>();
    if constexpr (std::is_same_v<Drawing, TJwwData>) {
      // A JWW drawing unpacks its carried images into the run's image folder.
      drawing_->BindImageFolder = context.ImageFolder;
      drawing_->BindImageExp = true;
      drawing_->BindImageExr = true;
      // Only images that the drawing shows are written to disk.
      drawing_->BindImageUsedOnly = true;
      drawing_->ReadThreads = DxfThreadsOf(context.Settings.WriteThreads);
    }
    attributes_ = std::make_unique<TgraAttribute>();
    attributes_->SetBackColor(0);
    return drawing_->FileIn(source);
  }

  Status AfterRead(ConversionContext& context) override {
    if constexpr (std::is_same_v<Drawing, TJwwData>) {
      drawing_->BindImageExplode();
      drawing_->FileColorSet(*attributes_, context.ColorSource);
    } else {
      attributes_->ResetColors();
    }
    return MeasureExtents(*drawing_, context.Extents);
  }

  std::optional<int> PaperCode() const override {
    if constexpr (std::is_same_v<Drawing, TJwwData>) return drawing_->Enthd.nZumen;
    return std::nullopt;
  }

  Status FileOutDXF(ConversionContext& context, const std::filesystem::path& destination,
                    DxfVersion version) override {
    if (!drawing_) return Fail("no drawing has been read");
    return parvex::FileOutDXF(*drawing_, context, *attributes_, destination, version);
  }

 private:
  std::unique_ptr<Drawing> drawing_;
  std::unique_ptr<TgraAttribute> attributes_;
};

}  // namespace

std::unique_ptr<DrawingReader> MakeJwwDrawingReader() {
  return std::make_unique<JwDrawingReader<TJwwData>>();
}

std::unique_ptr<DrawingReader> MakeJwsDrawingReader() {
  return std::make_unique<JwDrawingReader<TJwsData>>();
}

}  // namespace parvex
