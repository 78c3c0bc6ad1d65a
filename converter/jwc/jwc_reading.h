// Reading pieces shared by the JWC and JWK readers: the identification
// block, header texts, the fixed entity records and the text pool. Every
// count is checked against the bytes that remain before anything is
// allocated for it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "common/result.h"
#include "converter/jwc/jwc_records.h"
#include "converter/jww/byte_reader.h"

namespace parvex::jwc_reading {

// Every count of the formats is a 32-bit value; larger files cannot be
// sound drawings.
inline constexpr std::uint64_t kMaxFileBytes = 0x7FFFFFFF;

// Whether the file's first 20 bytes, up to a NUL, are exactly `id`.
// `kind` names the file kind in the reason ("JWC drawing").
Status CheckFileId(const std::filesystem::path& path, const char* id, const char* kind);

// The whole file, or the reason it cannot be read.
Result<std::string> ReadFile(const std::filesystem::path& path);

// Empties `model` (TJwcData or TJwkData) and reads the whole file into it.
template <class Model>
Status ReadFileInto(Model& model, const std::filesystem::path& path) {
  model.DataInit();
  Result<std::string> bytes = ReadFile(path);
  if (!bytes) return bytes.failure();
  return model.ReadBytes({reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size()});
}

// Text of a fixed-size field: the bytes up to the first NUL, decoded from
// code page 932.
std::u16string FieldText(std::span<const uint8_t> bytes);

// Header block 1 (200 bytes): the identification (checked against `id`)
// and the two comments.
Status ReadIdBlock(ByteReader& in, const char* id, const char* kind, std::u16string& jwID,
                   std::u16string& comment1, std::u16string& comment2);

// A header block of comma-separated fields: the text up to the first NUL,
// split into exactly n fields. Missing fields read "0"; the last field
// takes the rest of the text, commas included. Fails when fewer than 200
// bytes remain.
Result<std::vector<std::u16string>> ReadHeaderFields(ByteReader& in, size_t n, const char* kind);

int32_t FieldInt(const std::u16string& field);
float FieldSingle(const std::u16string& field);

// A double as a Single; values beyond the Single range become infinite
// (the usual rounding, spelt out so that no conversion is out of range).
float ToSingle(double v);

// A scale denominator that would divide by zero or give no number (1e-14
// or less, not finite) reads as 1.
float SoundScale(float scale);

// The entity sections. Coordinates (and radii) are multiplied by `unit`.
// A negative count fails at once; a count larger than the remaining bytes
// can hold reads the whole records that are there and then fails, so the
// memory taken never exceeds what the file holds.
Status ReadLines(ByteReader& in, int32_t count, double unit, std::vector<TEntJwcLine>& out);
Status ReadArcs(ByteReader& in, int32_t count, double unit, std::vector<TEntJwcArc2>& out);
Status ReadPoints(ByteReader& in, int32_t count, double unit, std::vector<TEntJwcTen>& out);
// JWC text records address the pool by segment and offset; JWK records by
// the offset alone (`segmented` false).
Status ReadTexts(ByteReader& in, int32_t count, double unit, bool segmented,
                 std::vector<TEntJwcMoji2>& out);

// The text pool of `size` bytes, left in the file's buffer; an empty pool
// when size is not positive.
Result<std::span<const uint8_t>> ReadPool(ByteReader& in, int64_t size);

// Gives every text its characters: from pool index p - base up to the next
// NUL (or the pool's end), decoded, control characters removed. An index
// outside the pool gives an empty text.
void ResolveTexts(std::span<const uint8_t> pool, int64_t base, std::vector<TEntJwcMoji2>& texts);

}  // namespace parvex::jwc_reading
