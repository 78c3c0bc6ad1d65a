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

// What all images decompressed from one drawing may take together: a fixed
// allowance plus a multiple of the bytes the drawing carries for them. An
// image that would pass it is removed, so that a small drawing cannot fill
// the disk.
inline constexpr std::uintmax_t kExplodedImagesAllowance = 256ull << 20;
inline constexpr std::uintmax_t kExplodedImagesGrowth = 4;

// Path of the image `name` inside `folder`, or nothing when no folder is
// set or the name is not a plain file name (empty, ".", "..", or holding
// '/', '\\' or ':').
std::optional<std::filesystem::path> CarriedImagePath(const std::filesystem::path& folder,
                                                      const std::u16string& name);

// Writes one image as a new file, replacing an earlier file or link of that
// name (the link itself, never what it points to). On failure the partial
// file is removed and false returned.
bool WriteCarriedImage(const std::filesystem::path& path, const uint8_t* data, size_t size);

// The carried image an image text refers to: "^@BM%temp%NAME,..." gives
// NAME, lower-cased (ASCII); empty for every other text.
std::u16string CarriedImageReference(const std::u16string& text);

}  // namespace parvex
