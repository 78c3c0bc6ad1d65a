#include "converter/jwc/jwc_reading.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>

#include "common/number_text.h"
#include "common/platform/codepage.h"
#include "common/platform/files.h"
#include "common/value_helpers.h"

namespace parvex::jwc_reading {
namespace {

constexpr size_t kIdBytes = 20;
constexpr size_t kJwIdBytes = 40;
constexpr size_t kCommentBytes = 32;

std::string_view AsChars(std::span<const uint8_t> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The bytes before the first NUL.
std::span<const uint8_t> UpToNul(std::span<const uint8_t> bytes) {
  const void* nul = std::memchr(bytes.data(), 0, bytes.size());
  return nul == nullptr ? bytes
                        : bytes.first(static_cast<size_t>(static_cast<const uint8_t*>(nul) - bytes.data()));
}

float Single(const uint8_t* p) { return LoadLE<float>(p); }

float Scaled(const uint8_t* p, double unit) { return ToSingle(static_cast<double>(Single(p)) * unit); }

// Reads `count` records of `size` bytes with `decode`, never reserving
// more than the remaining bytes can hold.
template <class Record, class Decode>
Status ReadRecords(ByteReader& in, int32_t count, size_t size, const char* what,
                   std::vector<Record>& out, Decode decode) {
  if (count < 0) {
    return Fail(std::string("the header states a negative number of ") + what + " (" +
                std::to_string(count) + ")");
  }
  const size_t stated = static_cast<size_t>(count);
  const size_t present = std::min(stated, in.Remaining() / size);
  out.reserve(out.size() + present);
  for (size_t i = 0; i < present; ++i) out.push_back(decode(in.Take(size)));
  if (present < stated) {
    return Fail(std::string("the file ends inside the ") + what + " (" + std::to_string(stated) +
                " stated, " + std::to_string(present) + " present)");
  }
  return Ok();
}

}  // namespace

Status CheckFileId(const std::filesystem::path& path, const char* id, const char* kind) {
  auto file = platform::ReadOnlyFile::Open(path);
  if (!file) return Fail("the file cannot be opened");
  uint8_t head[kIdBytes];
  if (file->Read(reinterpret_cast<char*>(head), kIdBytes) != kIdBytes || file->Failed()) {
    return Fail(std::string("not a ") + kind + ": the file is too short");
  }
  if (FieldText(head) != platform::DecodeCp932(id)) {
    return Fail(std::string("not a ") + kind + ": the file does not begin with \"" + id + "\"");
  }
  return Ok();
}

Result<std::string> ReadFile(const std::filesystem::path& path) {
  std::optional<std::string> bytes = platform::ReadFileBytes(path, kMaxFileBytes);
  if (!bytes) return Fail("the file cannot be read, or it is larger than 2 GiB");
  return std::move(*bytes);
}

std::u16string FieldText(std::span<const uint8_t> bytes) {
  return platform::DecodeCp932(AsChars(UpToNul(bytes)));
}

Status ReadIdBlock(ByteReader& in, const char* id, const char* kind, std::u16string& jwID,
                   std::u16string& comment1, std::u16string& comment2) {
  const uint8_t* block = in.Take(kJwcHeaderBlockBytes);
  if (block == nullptr) return Fail(std::string("not a ") + kind + ": the file is too short");
  if (FieldText({block, kIdBytes}) != platform::DecodeCp932(id)) {
    return Fail(std::string("not a ") + kind + ": the file does not begin with \"" + id + "\"");
  }
  jwID = FieldText({block, kJwIdBytes});
  comment1 = FieldText({block + kJwIdBytes, kCommentBytes});
  comment2 = FieldText({block + kJwIdBytes + kCommentBytes, kCommentBytes});
  return Ok();
}

Result<std::vector<std::u16string>> ReadHeaderFields(ByteReader& in, size_t n, const char* kind) {
  const uint8_t* block = in.Take(kJwcHeaderBlockBytes);
  if (block == nullptr) return Fail(std::string("the ") + kind + " header is cut short");
  const std::u16string text = FieldText({block, kJwcHeaderBlockBytes});
  std::vector<std::u16string> fields;
  fields.reserve(n);
  size_t from = 0;
  while (fields.size() + 1 < n && from <= text.size()) {
    const size_t comma = text.find(u',', from);
    if (comma == std::u16string::npos) break;
    fields.push_back(text.substr(from, comma - from));
    from = comma + 1;
  }
  fields.push_back(text.substr(std::min(from, text.size())));
  fields.resize(n, u"0");
  return fields;
}

int32_t FieldInt(const std::u16string& field) { return TextToInt(field); }

float FieldSingle(const std::u16string& field) { return ToSingle(TextToFloat(field)); }

float ToSingle(double v) {
  if (v > static_cast<double>(FLT_MAX)) return std::numeric_limits<float>::infinity();
  if (v < -static_cast<double>(FLT_MAX)) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(v);  // NaN stays NaN
}

float SoundScale(float scale) {
  return std::isfinite(scale) && scale > static_cast<float>(kTolerance14) ? scale : 1.0f;
}

Status ReadLines(ByteReader& in, int32_t count, double unit, std::vector<TEntJwcLine>& out) {
  return ReadRecords(in, count, kJwcLineBytes, "lines", out, [unit](const uint8_t* p) {
    return TEntJwcLine{Scaled(p, unit), Scaled(p + 4, unit), Scaled(p + 8, unit),
                       Scaled(p + 12, unit), p[16], p[17], p[18], p[19], p[20], p[21]};
  });
}

Status ReadArcs(ByteReader& in, int32_t count, double unit, std::vector<TEntJwcArc2>& out) {
  return ReadRecords(in, count, kJwcArcBytes, "arcs", out, [unit](const uint8_t* p) {
    // Flattening in ten-thousandths, angles in 1/65536 degree.
    TEntJwcArc2 a;
    a.x = Scaled(p, unit);
    a.y = Scaled(p + 4, unit);
    a.r = Scaled(p + 8, unit);
    a.h = static_cast<float>(LoadLE<uint16_t>(p + 12) / 10000.0);
    a.st = static_cast<float>(LoadLE<int32_t>(p + 14) / 65536.0);
    a.et = static_cast<float>(LoadLE<int32_t>(p + 18) / 65536.0);
    a.tt = static_cast<float>(LoadLE<int32_t>(p + 22) / 65536.0);
    a.typ = p[26];
    a.col = p[27];
    a.lay = p[28];
    a.flg1 = p[29];
    a.flg2 = p[30];
    a.flg3 = p[31];
    return a;
  });
}

Status ReadPoints(ByteReader& in, int32_t count, double unit, std::vector<TEntJwcTen>& out) {
  return ReadRecords(in, count, kJwcPointBytes, "points", out, [unit](const uint8_t* p) {
    return TEntJwcTen{Scaled(p, unit), Scaled(p + 4, unit), p[8], p[9], p[10], p[11]};
  });
}

Status ReadTexts(ByteReader& in, int32_t count, double unit, bool segmented,
                 std::vector<TEntJwcMoji2>& out) {
  return ReadRecords(in, count, kJwcTextBytes, "texts", out, [unit, segmented](const uint8_t* p) {
    TEntJwcMoji2 m;
    m.x1 = Scaled(p, unit);
    m.y1 = Scaled(p + 4, unit);
    m.x2 = Scaled(p + 8, unit);
    m.y2 = Scaled(p + 12, unit);
    const int32_t offset = LoadLE<uint16_t>(p + 16);
    const int32_t segment = LoadLE<uint16_t>(p + 18);
    m.p = segmented ? segment * 16 + offset : offset;
    m.no = p[20];
    m.lay = p[21];
    m.flg1 = p[22];
    m.flg2 = p[23];
    return m;
  });
}

Result<std::span<const uint8_t>> ReadPool(ByteReader& in, int64_t size) {
  if (size <= 0) return std::span<const uint8_t>{};
  if (static_cast<uint64_t>(size) > in.Remaining()) {
    return Fail("the file ends inside the text pool (" + std::to_string(size) + " bytes stated, " +
                std::to_string(in.Remaining()) + " present)");
  }
  const auto n = static_cast<size_t>(size);
  return std::span<const uint8_t>(in.Take(n), n);
}

void ResolveTexts(std::span<const uint8_t> pool, int64_t base, std::vector<TEntJwcMoji2>& texts) {
  for (TEntJwcMoji2& m : texts) {
    const int64_t index = static_cast<int64_t>(m.p) - base;
    m.s.clear();
    if (index < 0 || static_cast<uint64_t>(index) >= pool.size()) continue;
    m.s = FieldText(pool.subspan(static_cast<size_t>(index)));
    std::erase_if(m.s, [](char16_t c) { return c < 0x20; });
  }
}

}  // namespace parvex::jwc_reading
