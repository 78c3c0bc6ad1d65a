// The image file list of the DXF model and the copies of its files beside
// the DXF file.
#include <string>
#include <system_error>
#include <unordered_map>
#include <utility>

#include "common/number_text.h"
#include "common/path_helpers.h"
#include "common/platform/codepage.h"
#include "common/platform/files.h"
#include "common/text_helpers.h"
#include "converter/dxf/dxf_model.h"
#include "converter/dxf/dxf_text.h"

namespace parvex {
namespace {

namespace fs = std::filesystem;

// Numbers tried after the plain name of a copy.
constexpr int kMostBranches = 99999;

char16_t LowerChar(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 0x20);
  if (c >= 0xFF21 && c <= 0xFF3A) return static_cast<char16_t>(c + 0x20);
  return c;
}

// The names a copy of an image file may take: its file name (no folder)
// with the extension lower-cased, then with "_" + i before the extension.
// A character that a Windows file name cannot hold becomes "_", so that
// the name stays one plain file name wherever the DXF file is read.
struct CopyName {
  std::u16string base;
  std::u16string ext;
  std::u16string With(int i) const {
    return i == 0 ? base + ext : base + u"_" + IntToText(i) + ext;
  }
};

CopyName CopyNameOf(std::u16string_view srcfile) {
  std::u16string_view name = srcfile;
  const std::size_t sep = name.find_last_of(u"/\\");
  if (sep != std::u16string_view::npos) name = name.substr(sep + 1);
  CopyName n;
  n.base = std::u16string(name);
  const std::size_t dot = n.base.rfind(u'.');
  if (dot != std::u16string::npos) {
    n.ext = n.base.substr(dot);
    n.base.resize(dot);
  }
  for (char16_t& c : n.ext) c = LowerChar(c);
  for (std::u16string* part : {&n.base, &n.ext}) {
    for (char16_t& c : *part) {
      if (c < 0x20 || std::u16string_view(u":*?\"<>|").find(c) != std::u16string_view::npos) c = u'_';
    }
  }
  if (n.base.empty() && n.ext.empty()) n.base = u"image";
  return n;
}

bool Exists(const std::u16string& p) {
  std::error_code ec;
  return fs::exists(platform::PathFromText(p), ec);
}

// Anything at p, a dangling link included.
bool Taken(const fs::path& p) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(p, ec));
}

// Copies `from` into `folder` under the first name of `name` that is free
// (from branch `next` on, which is then moved past the name taken) and is
// not `dxfName`, the DXF file's own name. Returns the copy, or an empty
// path when none could be made.
fs::path CopyBeside(const fs::path& from, const fs::path& folder, const CopyName& name,
                    const std::u16string& dxfName, int& next) {
  const std::optional<platform::FileTimes> times = platform::ReadFileTimes(from);
  if (!times) return {};
  std::optional<platform::ReadOnlyFile> in = platform::ReadOnlyFile::Open(from);
  if (!in) return {};
  for (; next <= kMostBranches; ++next) {
    const std::u16string candidate = name.With(next);
    if (LowerText(candidate) == dxfName) continue;
    const fs::path target = folder / platform::PathFromText(candidate);
    std::optional<platform::NewFile> out = platform::NewFile::Create(target);
    if (!out) {
      if (Taken(target)) continue;
      return {};  // the folder takes no new file
    }
    ++next;
    if (!CopyIntoNewFile(*in, *out, *times)) return {};
    return target;
  }
  return {};
}

}  // namespace

int TDXFmodel::GetFList(std::u16string_view srcfile) const {
  const std::u16string key = dxftext::UpperText(srcfile);
  const auto it = imageKeys_.find(key);
  return it == imageKeys_.end() ? -1 : it->second;
}

void TDXFmodel::AddFList(std::u16string_view srcfile, std::u16string_view dstpath, double pix,
                         double piy, double psx, double psy, const fs::path& from) {
  if (GetFList(srcfile) >= 0) return;
  const CopyName name = CopyNameOf(srcfile);
  const std::u16string folder(dstpath);
  std::u16string dst = folder + name.With(0);
  for (int i = 1; i <= kMostBranches && Exists(dst); ++i) dst = folder + name.With(i);
  TDXF_FileNameList r;
  r.src = std::u16string(srcfile);
  r.dst = std::move(dst);
  r.ix = pix;
  r.iy = piy;
  r.sx = psx;
  r.sy = psy;
  r.from = from;
  imageKeys_.emplace(dxftext::UpperText(r.src), deFListN());
  deFList.push_back(std::move(r));
}

std::vector<fs::path> TDXFmodel::CopyImageFiles(const fs::path& dxf) {
  std::vector<fs::path> made;
  std::vector<TDXF_FileNameList> kept;
  if (Ver != DxfVersion::R12) {
    const fs::path folder = dxf.parent_path();
    const std::u16string dxfName = LowerText(platform::PathToText(dxf.filename()));
    // Next number to try for each name, so that many files of one name
    // do not try the same names over and over.
    std::unordered_map<std::u16string, int> next;
    for (TDXF_FileNameList& f : deFList) {
      const CopyName name = CopyNameOf(f.src);
      const fs::path from = f.from.empty() ? platform::PathFromText(f.src) : f.from;
      const fs::path copy = CopyBeside(from, folder, name, dxfName, next[LowerText(name.With(0))]);
      if (copy.empty()) continue;
      f.dst = platform::PathToText(copy);
      made.push_back(copy);
      kept.push_back(std::move(f));
    }
  }
  deFList = std::move(kept);
  imageKeys_.clear();
  for (std::size_t i = 0; i < deFList.size(); ++i) {
    imageKeys_.emplace(dxftext::UpperText(deFList[i].src), static_cast<int>(i));
  }
  return made;
}

}  // namespace parvex
