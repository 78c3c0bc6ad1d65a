// File access at the OS boundary. Reading takes a shared lock so that our
// own writers (which lock exclusively) cannot change a file while it is
// read; on Linux such locks are advisory, so a program that does not lock
// can still write to a file we read. Creating never replaces an existing
// file: new files are made with an exclusive create.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace parvex::platform {

// The separator that path texts are built with: a backslash on Windows,
// "/" elsewhere. Both are accepted when texts are taken apart.
#ifdef _WIN32
inline constexpr char16_t kPathSeparator = u'\\';
#else
inline constexpr char16_t kPathSeparator = u'/';
#endif

// Drawing text (UTF-16) to a path and back. Paths are UTF-8 bytes on Linux
// and UTF-16 on Windows.
std::filesystem::path PathFromText(std::u16string_view text);
std::u16string PathToText(const std::filesystem::path& p);

// Narrow text as the command line and the messages of the programs hold
// it, to a path and back: on Linux the bytes as they are (names that are
// not UTF-8 included); on Windows UTF-8, where an unpaired surrogate of a
// UTF-16 name takes the three-byte form that UTF-8 would give it, so that
// every name survives the way there and back.
std::filesystem::path PathFromNarrow(std::string_view text);
std::string NarrowFromPath(const std::filesystem::path& p);

// A file open for reading. Others' writes are held off by a shared
// advisory lock for as long as the object lives.
class ReadOnlyFile {
 public:
  ReadOnlyFile() = default;
  ~ReadOnlyFile();
  ReadOnlyFile(ReadOnlyFile&& other) noexcept;
  ReadOnlyFile& operator=(ReadOnlyFile&& other) noexcept;
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  // Fails for a missing file, a folder, or a file locked for writing.
  static std::optional<ReadOnlyFile> Open(const std::filesystem::path& p);

  std::uint64_t Size() const;
  // Reads up to n bytes at the current position; returns the count read
  // (0 at the end or on error).
  std::size_t Read(char* buffer, std::size_t n);
  // True once a read has failed, so that a short count caused by an error
  // is not taken for the end of the file.
  bool Failed() const { return failed_; }

 private:
  int fd_ = -1;
  bool failed_ = false;
};

// The whole file, or nothing when it is missing, unreadable or larger than
// maxBytes.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& p,
                                         std::uint64_t maxBytes);

namespace detail {
// The per-system parts of ReadOnlyFile's and NewFile's ends: descriptors
// of the C runtime are closed, and written data flushed to disk, by each
// system's own call. Both return false on failure.
bool CloseDescriptor(int fd);
bool FlushDescriptor(int fd);
}  // namespace detail

// A file being written. Create() fails when anything is at the path, a
// link included (nothing is ever written through a link). Unless Commit()
// or Close() succeeds, the file is deleted when the object goes away, so a
// failed write never leaves a partial file behind.
class NewFile {
 public:
  NewFile() = default;
  ~NewFile();
  NewFile(NewFile&& other) noexcept;
  NewFile& operator=(NewFile&& other) noexcept;
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;

  static std::optional<NewFile> Create(const std::filesystem::path& p);

  bool Write(std::string_view bytes);
  // Flushes and closes; false (and the file deleted) when that fails or an
  // earlier write failed.
  bool Commit();
  // The same without waiting for the disk: for scratch files that need not
  // survive a power cut.
  bool Close();
  // Deletes the file now.
  void Discard();
  const std::filesystem::path& Path() const { return path_; }

 private:
  bool Finish(bool durable);

  int fd_ = -1;
  bool failed_ = false;
  std::filesystem::path path_;
};

// Removes the entry p: a file, or a link itself (never what it points to);
// never a folder. True when nothing is at p afterwards.
bool RemoveFileEntry(const std::filesystem::path& p);

// Removes the folder p only when it is empty.
bool RemoveEmptyFolder(const std::filesystem::path& p);

// Gives the file `from` the name `to`, replacing a file there: readers of
// `to` see either the old or the new file.
bool RenameReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

// Writes `bytes` to p, replacing a file already there. The new content is
// written beside it and renamed into place, so readers see either the old
// or the new file. On failure the temporary file is removed; when
// `removeOnFailure` is set the old file is removed too.
bool ReplaceFileContent(const std::filesystem::path& p, std::string_view bytes,
                        bool removeOnFailure);

struct FileTimes {
  timespec Access{};
  timespec Write{};
  // Creation time when the file system records one (CreationKnown), else
  // the write time.
  timespec Creation{};
  bool CreationKnown = false;
};
std::optional<FileTimes> ReadFileTimes(const std::filesystem::path& p);
// Sets access and write times (a creation time cannot be set here).
bool SetFileTimes(const std::filesystem::path& p, const FileTimes& t);

}  // namespace parvex::platform
