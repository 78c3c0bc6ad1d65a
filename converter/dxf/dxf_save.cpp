// Writing the model: the file frame, the handle plan and the copies of
// image files.
#include <exception>

#include "common/path_helpers.h"
#include "common/platform/files.h"
#include "converter/dxf/dxf_file_io.h"
#include "converter/dxf/dxf_model.h"
#include "converter/dxf/dxf_sections.h"
#include "converter/dxf/dxf_writer.h"

namespace parvex {
namespace {

// Handles an entity of the order list uses, whatever the version and space.
long long EntityHandles(const TDXF_EntNo& e, const std::vector<TDXF_PLine>& plines) {
  if (e.tp == kDxfImage) return 2;
  if (e.tp == kDxfPLine) {
    if (e.no >= 0 && static_cast<std::size_t>(e.no) < plines.size()) {
      return static_cast<long long>(plines[static_cast<std::size_t>(e.no)].v.size()) + 2;
    }
    return 2;
  }
  return 1;
}

}  // namespace

int TDXFmodel::CountHandles() {
  long long n = DXFHnd;
  if (Ver != 0) {
    n += 22LL + Ltn + ltpn() + layn() + mstn() + deBlockDefN();
  }
  n += 2LL * Ltn + 2;
  for (const TDXF_BlockDef& b : deBlockDef) {
    n += 2;
    for (const TDXF_EntNo& e : b.dmNo) n += EntityHandles(e, b.dmPLin);
  }
  for (const TDXF_EntNo& e : deNo) n += EntityHandles(e, dePLin);
  if (Ver != 0) {
    n += 4;
    for (TDXF_FileNameList& f : deFList) {
      f.hnd = static_cast<int>(n);
      ++n;
    }
  }
  // Handles are written as 32-bit values; a model this large cannot be
  // written faithfully.
  if (n > 0x7FFFFFFFLL) throw std::length_error("too many handles");
  return static_cast<int>(n);
}

bool TDXFmodel::WriteDXF(const std::filesystem::path& src, DxfSink& sink) {
  DXFHnd = 1;
  srcName = src;
  nonFinite_ = 0;
  if (Ver < 0 || Ver > 2) return false;
  DxfWriter w(sink, Ver);
  try {
    DXFHnd = Ltn + 6;
    w.Comment(AppNam);
    SaveHeader(w);
    SaveClasses(*this, w);
    SaveTables(*this, w);
    SaveBlocks(*this, w);
    SaveEntities(*this, w);
    SaveObjects(*this, w);
    w.Code(0, "EOF");
  } catch (const std::exception&) {
    nonFinite_ = w.NonFiniteCount();
    return false;
  }
  nonFinite_ = w.NonFiniteCount();
  return sink.Flush();
}

bool TDXFmodel::SaveDXF(const std::filesystem::path& src, const std::filesystem::path& dst) {
  DXFHnd = 1;
  srcName = src;
  // A new file only: an existing file (an earlier result, or a file the
  // user keeps) is never replaced, and a failure never removes it. The
  // destination appears only once it is complete.
  dxfio::OutputFile file;
  if (!file.Open(dst)) return false;
  bool ok;
  {
    DxfFdOutput out(file.Fd());
    DxfTextSink sink(out);
    ok = WriteDXF(src, sink);
  }
  if (!ok) {
    file.Abort();
    return false;
  }
  if (!file.Commit()) return false;
  CopyImageFiles();
  return true;
}

void TDXFmodel::CopyImageFiles() {
  for (const TDXF_FileNameList& f : deFList) {
    CopyFileKeepTimes(platform::PathFromText(f.src), platform::PathFromText(f.dst));
  }
}

}  // namespace parvex
