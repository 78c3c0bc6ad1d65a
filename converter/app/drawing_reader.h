// The slot through which the converter run drives one kind of Jw_cad file.
//
// The run (converter_run.h) owns one reader per file kind for the whole
// process and calls them in this order for a source file:
//
//   1. FileCheck(source) on the reader the extension selects: a quick look
//      at the file's header. A failure ends the run before anything is
//      emptied.
//   2. DataFree() on all four readers: each empties its drawing (the JWW
//      reader also deletes the images it unpacked from an earlier drawing).
//   3. FileIn(context, source) on the selected reader: reads the whole file.
//   4. The run sets context.SourcePath and reloads the reference variables.
//   5. AfterRead(context): the kind's own steps once the drawing is in
//      memory. JWW: decompress the carried images unpacked into
//      context.ImageFolder, resolve pen colours (context.ColorSource), line
//      types, layer attributes. JWS, JWC, JWK: re-apply the attribute
//      defaults, layer attributes. Every kind: write the drawing extents
//      into context.Extents; fails when they cannot be computed within the
//      work limit.
//   6. The run sets context.DrawingPaperSize: from PaperCode() through
//      PaperSizeOfCode() when the kind has one (JWW, JWC), else from
//      context.Extents (JWS, JWK).
//   7. FileOutDXF(context, destination, version): map and write the DXF.
//      The destination does not exist when this is called and must be
//      created exclusively, never replacing a file; on failure nothing of
//      the writer's may be left at the destination, and a file that
//      someone else put there meanwhile must stay. A reader may use its
//      drawing up here (the JWC and JWK readers free its records while the
//      DXF model is built): a drawing read is written once.
//   8. At the end of the run DataFree() on all four readers again.
//
// Any step that fails returns its reason (English, short); the run prints it
// and writes no destination.
// For JWC and JWK sources the run lowers context.Settings.OutputSpace
// before step 1 (JWC: layouts become model space; JWK: always model space).
//
// Readers are created by CreateDrawingReaders() (reader_registry.h), the
// one place where the implementations of the file kinds are plugged in.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "common/result.h"
#include "converter/context/conversion_context.h"

namespace parvex {

enum class DrawingKind { Jww, Jws, Jwc, Jwk };

class DrawingReader {
 public:
  virtual ~DrawingReader() = default;

  virtual Status FileCheck(const std::filesystem::path& source) = 0;
  virtual void DataFree() = 0;
  virtual Status FileIn(ConversionContext& context, const std::filesystem::path& source) = 0;
  virtual Status AfterRead(ConversionContext& context) = 0;
  // Jw_cad paper code of the drawing read, when the file kind has one.
  virtual std::optional<int> PaperCode() const = 0;
  virtual Status FileOutDXF(ConversionContext& context, const std::filesystem::path& destination,
                            DxfVersion version) = 0;
};

// A slot without an implementation: every step fails with a reason that
// names the missing file kind.
class UnavailableReader final : public DrawingReader {
 public:
  explicit UnavailableReader(DrawingKind kind) : kind_(kind) {}
  Status FileCheck(const std::filesystem::path&) override { return Refusal(); }
  void DataFree() override {}
  Status FileIn(ConversionContext&, const std::filesystem::path&) override { return Refusal(); }
  Status AfterRead(ConversionContext&) override { return Refusal(); }
  std::optional<int> PaperCode() const override { return std::nullopt; }
  Status FileOutDXF(ConversionContext&, const std::filesystem::path&, DxfVersion) override {
    return Refusal();
  }

 private:
  Failure Refusal() const;
  DrawingKind kind_;
};

// "JWW", "JWS", "JWC", "JWK".
const char* DrawingKindName(DrawingKind kind);

}  // namespace parvex
