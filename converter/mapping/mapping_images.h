// Where the image texts of a drawing ("^@BM" + file name + numbers) find
// their files, and the size in pixels of each file found.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "converter/jww/jww_records.h"
#include "converter/mapping/image_pixel_size.h"

namespace parvex {

// An image file found for an image text: its full path with links resolved
// (two texts that reach one file get the same path) and its size in pixels.
struct FoundImage {
  std::filesystem::path Path;
  ImagePixelSize Pixels;
};

class ImageFileFinder {
 public:
  // carriedFolder: where the drawing's carried images were unpacked (empty
  // when nothing was); carried: the drawing's carried-image entries, whose
  // names the texts may write in another letter case; drawingFolder: the
  // folder of the drawing.
  ImageFileFinder(std::filesystem::path carriedFolder, std::span<const TBindImageType> carried,
                  std::filesystem::path drawingFolder);

  // The file that the name of an image text refers to, or nothing when no
  // file of that name exists or it is no image of a known format.
  // - "%temp%NAME" (any letter case, separators after "%temp%" ignored):
  //   the carried image NAME; a NAME with folder parts reaches nothing.
  // - a full path, Windows form included ("C:\pic\a.bmp"): that file;
  // - any other name: the file of that name below the drawing's folder.
  std::optional<FoundImage> Find(std::u16string_view name);

 private:
  std::optional<std::filesystem::path> Locate(std::u16string_view name) const;

  std::filesystem::path carriedFolder_;
  std::filesystem::path drawingFolder_;
  // Lower-cased carried name (without ".gz") -> the name of its file.
  std::unordered_map<std::u16string, std::u16string> carried_;
  // Headers already read, by resolved path; and names already looked up.
  std::map<std::filesystem::path, std::optional<ImagePixelSize>> pixels_;
  std::unordered_map<std::u16string, std::optional<FoundImage>> names_;
};

class TDXFmodel;
struct DxfAttributes;

// Places the image `file` in container bn of the model (lower-left corner
// x, y, size sx x sy in the model's units, rotation deg degrees) and
// registers the file for its copy beside `destination`.
void AddImageOfFile(TDXFmodel& m, int bn, const FoundImage& file,
                    const std::filesystem::path& destination, const DxfAttributes& attr, double x,
                    double y, double sx, double sy, double deg);

}  // namespace parvex
