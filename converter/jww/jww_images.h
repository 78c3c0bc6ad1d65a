// Files of the images a JWW drawing carries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace parvex {

// Largest size one decompressed image may reach; a larger result is
// treated as damaged data and removed.
inline constexpr std::uintmax_t kMaxExplodedImageBytes = 1ull << 30;

// Path of the image `name` inside `folder`, or nothing when no folder is
// set or the name is not a plain file name (empty, ".", "..", or holding
// '/', '\\' or ':').
std::optional<std::filesystem::path> CarriedImagePath(const std::filesystem::path& folder,
                                                      const std::u16string& name);

// Writes one image, replacing a file of that name. On failure the partial
// file is removed and false returned.
bool WriteCarriedImage(const std::filesystem::path& path, const uint8_t* data, size_t size);

}  // namespace parvex
