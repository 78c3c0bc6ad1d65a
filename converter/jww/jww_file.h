// Whole-file and file-head reading for the drawing readers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

namespace parvex {

// Largest drawing file the readers accept; every count in the format is a
// 32-bit value, so larger files cannot be valid drawings.
inline constexpr std::uintmax_t kMaxDrawingFileBytes = 0x7FFFFFFF;

// The bytes of a whole file, left uninitialised before reading so that a
// large drawing is touched only once.
struct FileBytes {
  std::unique_ptr<uint8_t[]> data;
  size_t size = 0;
  std::span<const uint8_t> span() const { return {data.get(), size}; }
};

// Reads the whole regular file. False when it cannot be opened or read, is
// not a regular file, or is larger than kMaxDrawingFileBytes.
bool ReadWholeFile(const std::filesystem::path& path, FileBytes& bytes);

// Reads the first n bytes of a file; false when the file is shorter or
// cannot be read.
bool ReadFileHead(const std::filesystem::path& path, uint8_t* out, size_t n);

}  // namespace parvex
