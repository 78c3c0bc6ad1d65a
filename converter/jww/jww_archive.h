// Reading of the archive format that JWW and JWS files are written in:
// length-prefixed strings, element counts, object tags with their class
// map, and the entity records that start with the common attributes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/result.h"
#include "converter/jww/byte_reader.h"
#include "converter/jww/jww_records.h"

namespace parvex {

inline constexpr char kErrJwwHeader[] = "JWW-Header Error";
inline constexpr char kErrJwwVersion[] = "JWW-Version Error";
inline constexpr char kErrJwsHeader[] = "JWS-Header Error";
inline constexpr char kErrJwsVersion[] = "JWS-Version Error";
inline constexpr char kErrFileIo[] = "File I/O Error";

// Smallest number of bytes one counted object of an entity list occupies:
// a 2-byte tag and at least the 13 attribute bytes of the oldest files.
inline constexpr size_t kMinObjectBytes = 2 + 13;

class JwwArchive {
 public:
  // `version` decides the attribute width (350/351) and the dimension
  // layout (419/420); `mojiEncode` is set to 1 when a UTF-16 string is read.
  JwwArchive(ByteReader& in, int32_t version, uint8_t& mojiEncode)
      : in_(in), version_(version), mojiEncode_(mojiEncode) {}

  ByteReader& In() { return in_; }
  int32_t Version() const { return version_; }

  // String with its line breaks and control characters kept.
  std::u16string ReadText();
  // String without characters below U+0020.
  std::u16string ReadCleanText();
  // Moves past a string without decoding it.
  void SkipText();

  // Count form: a word, or 0xFFFF followed by an int. False on a short read.
  bool ReadCount(int32_t& count);

  // The common attributes: 15 bytes, or 13 (no nPenWidth) before 351.
  bool ReadAttr(TEntJwwAttr& att);
  size_t AttrBytes() const { return version_ > 350 ? 15 : 13; }

  // Record readers. Each returns false when its fixed part could not be
  // read in full (the record is then to be dropped); optional parts that
  // are cut short stay at their defaults.
  bool ReadLine(TEntJwwLine& e);
  bool ReadEnko(TEntJwwEnko& e);
  bool ReadTen(TEntJwwTen& e);
  bool ReadMoji(TEntJwwMoji& e, bool keepText = true);
  bool ReadSunpo(TEntJwwSunpo& e, bool keepText = true);
  bool ReadSolid(TEntJwwSolid& e);
  bool ReadBlock(TEntJwwBlock& e);

 private:
  const uint8_t* DecodeAttr(const uint8_t* p, TEntJwwAttr& att) const;
  bool ReadTenOf(TEntJwwTen& e, bool dimensionPoint);
  bool ReadStringBytes(std::u16string* out);

  ByteReader& in_;
  int32_t version_;
  uint8_t& mojiEncode_;
};

// Tag of an object in an object list.
struct ObjectTag {
  enum Kind { kNewClass, kClassRef } kind = kClassRef;
  int64_t classIndex = 0;  // for kClassRef
  std::string className;   // for kNewClass, cut at the first NUL
};

// Reads one tag. False on a short read or a class name of 2048 bytes or
// more.
bool ReadObjectTag(ByteReader& in, ObjectTag& tag);

// Class map shared by the entity list and the block definitions of a file.
struct ObjectMap {
  static constexpr int64_t kNone = INT64_MIN;
  int64_t mapIndex = 1;
  // Remembered map index per entity kind 1..7; [0] unused.
  std::array<int64_t, 8> classIndex{kNone, kNone, kNone, kNone, kNone, kNone, kNone, kNone};

  // Entity kind of a class reference, kJwwNone when no known class has that
  // index (the latest kind wins when several do).
  int32_t KindOf(int64_t index) const;
};

// Entity kind of a class name, kJwwNone for anything else.
int32_t KindOfClassName(const std::string& name);

// Where the objects of one entity list go: the drawing's arrays or a block
// definition's.
struct EntityListTarget {
  std::vector<TEntJwwNo>* order;
  std::vector<TEntJwwLine>* line;
  std::vector<TEntJwwEnko>* enko;
  std::vector<TEntJwwTen>* ten;
  std::vector<TEntJwwMoji>* moji;
  std::vector<TEntJwwSunpo>* sunpo;
  std::vector<TEntJwwSolid>* solid;
  std::vector<TEntJwwBlock>* block;
};

// Reads `count` counted objects of an entity list into `target`, whose
// order list must already hold `count` entries. The arrays are first sized
// by a counting pass so that large drawings allocate each array once.
// Fails on an unknown class name or when the input ends before a tag.
Status ReadEntityList(JwwArchive& ar, ObjectMap& map, int32_t count, const EntityListTarget& target);

// Reads the block definition count and the definitions. `defs` is filled
// with the definitions read so far even on failure.
Status ReadBlockDefs(JwwArchive& ar, ObjectMap& map, int32_t& statedCount,
                     std::vector<TEntJwwBlockDef>& defs);

// Sanitising of text sizes: non-finite width/height become 3, spacing 0.
void SanitiseMojiSize(double& sizeX, double& sizeY, double& spacing);

}  // namespace parvex
