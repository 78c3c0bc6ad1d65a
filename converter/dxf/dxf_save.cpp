// Writing the model: the file frame, with the copies of image files
// (dxf_image_files.cpp).
#include <string>
#include <vector>

#include "common/platform/files.h"
#include "common/platform/output_files.h"
#include "converter/dxf/dxf_handles.h"
#include "converter/dxf/dxf_model.h"
#include "converter/dxf/dxf_sections.h"
#include "converter/dxf/dxf_writer.h"

namespace parvex {

Status TDXFmodel::WriteDXF(const std::filesystem::path& src, DxfSink& sink) {
  srcName = src;
  if (SettingNumber(Ver) < 0 || SettingNumber(Ver) > 2)
    return Fail("DXF version " + std::to_string(SettingNumber(Ver)) + " is not 0, 1 or 2");
  nonFinite_ = 0;
  DxfWriter w(sink, Ver);
  w.SetThreads(writeThreads);
  const Result<DxfHandles> handles = AssignHandles(*this);
  if (!handles) return handles.failure();
  const DxfHandles& h = *handles;
  w.Comment(AppNam);
  SaveHeader(w, h.seed);
  SaveClasses(*this, w);
  SaveTables(*this, h, w);
  SaveBlocks(*this, h, w);
  SaveEntities(*this, h, w);
  SaveObjects(*this, h, w);
  w.Code(0, "EOF");
  nonFinite_ = w.NonFiniteCount();
  return sink.Flush();
}

Status TDXFmodel::SaveDXF(const std::filesystem::path& src, const std::filesystem::path& dst) {
  srcName = src;
  // A new file only: an existing file (an earlier result, or a file the
  // user keeps) is never replaced, and a failure never removes it. The
  // destination appears only once it is complete; until then the bytes go
  // to a temporary file, which goes with `file` on any failure.
  platform::PendingFile file;
  if (Status opened = file.Open(dst); !opened) return opened;
  // The image copies come first, so that the file names only copies that
  // exist; they go again when the file is not written after all (an
  // exception passing through included).
  struct Copies {
    std::vector<std::filesystem::path> paths;
    bool keep = false;
    ~Copies() {
      if (keep) return;
      for (const std::filesystem::path& p : paths) platform::RemoveFileEntry(p);
    }
  } copies{CopyImageFiles(dst)};
  {
    DxfFdOutput out(file.Fd());
    DxfTextSink sink(out);
    if (Status written = WriteDXF(src, sink); !written) return written;
  }
  if (Status named = file.Commit(); !named) return named;
  copies.keep = true;
  return Ok();
}

}  // namespace parvex
