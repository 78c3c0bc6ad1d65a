#include "common/platform/files.h"

#include <string>
#include <system_error>

#include "common/platform/process_info.h"

namespace parvex::platform {

// The moves and the ends of a ReadOnlyFile and a NewFile are the same on
// every system (their file descriptors are ones of the C runtime on Windows
// too); only closing and flushing a descriptor differ.
ReadOnlyFile::~ReadOnlyFile() {
  if (fd_ >= 0) detail::CloseDescriptor(fd_);
}

ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&& other) noexcept
    : fd_(other.fd_), failed_(other.failed_) {
  other.fd_ = -1;
}

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) detail::CloseDescriptor(fd_);
    fd_ = other.fd_;
    failed_ = other.failed_;
    other.fd_ = -1;
  }
  return *this;
}

NewFile::~NewFile() { Discard(); }

NewFile::NewFile(NewFile&& other) noexcept
    : fd_(other.fd_), failed_(other.failed_), path_(std::move(other.path_)) {
  other.fd_ = -1;
}

NewFile& NewFile::operator=(NewFile&& other) noexcept {
  if (this != &other) {
    Discard();
    fd_ = other.fd_;
    failed_ = other.failed_;
    path_ = std::move(other.path_);
    other.fd_ = -1;
  }
  return *this;
}

bool NewFile::Commit() { return Finish(true); }

bool NewFile::Close() { return Finish(false); }

bool NewFile::Finish(bool durable) {
  if (fd_ < 0) return false;
  bool ok = !failed_ && (!durable || detail::FlushDescriptor(fd_));
  ok = detail::CloseDescriptor(fd_) && ok;
  fd_ = -1;
  if (!ok) {
    RemoveFileEntry(path_);
    return false;
  }
  return true;
}

void NewFile::Discard() {
  if (fd_ < 0) return;
  detail::CloseDescriptor(fd_);
  fd_ = -1;
  RemoveFileEntry(path_);
}


std::optional<std::string> ReadFileBytes(const std::filesystem::path& p,
                                         std::uint64_t maxBytes) {
  auto f = ReadOnlyFile::Open(p);
  if (!f) return std::nullopt;
  std::uint64_t size = f->Size();
  if (size > maxBytes) return std::nullopt;
  std::string data(static_cast<std::size_t>(size), '\0');
  std::size_t got = f->Read(data.data(), data.size());
  data.resize(got);
  // A file that grew while we read is taken up to maxBytes only.
  char extra[4096];
  for (;;) {
    std::size_t more = f->Read(extra, sizeof extra);
    if (more == 0) break;
    if (data.size() + more > maxBytes) return std::nullopt;
    data.append(extra, more);
  }
  // A read error is no end of file: a cut-off content is not returned.
  if (f->Failed()) return std::nullopt;
  return data;
}

bool ReplaceFileContent(const std::filesystem::path& p, std::string_view bytes,
                        bool removeOnFailure) {
  if (p.empty() || !p.has_filename()) return false;
  bool ok = false;
  for (int attempt = 0; attempt < 100 && !ok; ++attempt) {
    std::filesystem::path tmp = p;
    tmp += ".tmp" + std::to_string(CurrentProcessId()) + "_" + std::to_string(attempt);
    auto f = NewFile::Create(tmp);
    if (!f) {
      // A name left by an earlier run: try the next one.
      std::error_code ec;
      if (std::filesystem::exists(std::filesystem::symlink_status(tmp, ec))) continue;
      break;
    }
    if (!f->Write(bytes) || !f->Commit()) break;
    if (!RenameReplacing(tmp, p)) {
      RemoveFileEntry(tmp);
      break;
    }
    ok = true;
  }
  if (!ok && removeOnFailure) {
    std::error_code ec;
    if (!std::filesystem::is_directory(p, ec)) std::filesystem::remove(p, ec);
  }
  return ok;
}

}  // namespace parvex::platform
