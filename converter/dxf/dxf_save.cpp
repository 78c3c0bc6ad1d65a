// Writing the model: the file frame, with the copies of image files
// (dxf_image_files.cpp).
#include <exception>

#include "common/platform/files.h"
#include "converter/dxf/dxf_file_io.h"
#include "converter/dxf/dxf_handles.h"
#include "converter/dxf/dxf_model.h"
#include "converter/dxf/dxf_sections.h"
#include "converter/dxf/dxf_writer.h"

namespace parvex {

bool TDXFmodel::WriteDXF(const std::filesystem::path& src, DxfSink& sink) {
  srcName = src;
  nonFinite_ = 0;
  if (SettingNumber(Ver) < 0 || SettingNumber(Ver) > 2) return false;
  DxfWriter w(sink, Ver);
  try {
    const Result<DxfHandles> handles = AssignHandles(*this);
    if (!handles) return false;
    const DxfHandles& h = *handles;
    w.Comment(AppNam);
    SaveHeader(w, h.seed);
    SaveClasses(*this, w);
    SaveTables(*this, h, w);
    SaveBlocks(*this, h, w);
    SaveEntities(*this, h, w);
    SaveObjects(*this, h, w);
    w.Code(0, "EOF");
  } catch (const std::exception&) {
    nonFinite_ = w.NonFiniteCount();
    return false;
  }
  nonFinite_ = w.NonFiniteCount();
  return sink.Flush();
}

bool TDXFmodel::SaveDXF(const std::filesystem::path& src, const std::filesystem::path& dst) {
  srcName = src;
  // A new file only: an existing file (an earlier result, or a file the
  // user keeps) is never replaced, and a failure never removes it. The
  // destination appears only once it is complete.
  dxfio::OutputFile file;
  if (!file.Open(dst)) return false;
  // The image copies come first, so that the file names only copies that
  // exist; they go again when the file is not written after all.
  const std::vector<std::filesystem::path> copies = CopyImageFiles(dst);
  auto removeCopies = [&copies] {
    for (const std::filesystem::path& p : copies) platform::RemoveFileEntry(p);
  };
  bool ok;
  {
    DxfFdOutput out(file.Fd());
    DxfTextSink sink(out);
    ok = WriteDXF(src, sink);
  }
  if (!ok) {
    file.Abort();
    removeCopies();
    return false;
  }
  if (!file.Commit()) {
    removeCopies();
    return false;
  }
  return true;
}

}  // namespace parvex
