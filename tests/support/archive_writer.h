// Byte-level writer for the archive format that JWW and JWS files use:
// little-endian scalars, length-prefixed strings, element counts and object
// lists whose objects carry class tags. Test support only; the programs
// never write drawings.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace parvex::testing {

// How a string is stored.
enum class StringForm {
  kBytes,    // code page 932 bytes behind a byte (or 255 + word) length
  kUnicode,  // FF FE FF marker, then a UTF-16 length and UTF-16LE units
};

// How an object names its class once the class is known.
enum class ClassRefForm {
  kShort,     // one word, 0x8000 | index
  kLong,      // 0x7FFF, then an int 0x80000000 | index
  kLongBare,  // 0x7FFF, then the index as a plain int (no high bit)
  kNewClass,  // repeat the class definition (replaces the known index)
};

class ArchiveWriter {
 public:
  void Byte(uint8_t v) { out_.push_back(static_cast<char>(v)); }
  void Word(uint16_t v);
  void Int(int32_t v) { Uint(static_cast<uint32_t>(v)); }
  void Uint(uint32_t v);
  void Double(double v);
  void Raw(std::string_view bytes) { out_.append(bytes); }
  void Zeros(size_t n) { out_.append(n, '\0'); }

  // A string of already encoded bytes behind the byte-encoding length prefix.
  void ByteString(std::string_view bytes);
  // A text, encoded to code page 932 or stored as UTF-16.
  void Text(std::u16string_view text, StringForm form = StringForm::kBytes);

  // An element count: a word, or 0xFFFF followed by an int. `force_long`
  // uses the int form even for a small count.
  void Count(uint32_t n, bool force_long = false);

  // The tag in front of an object of class `name`. The first object of a
  // class always gets a new-class tag; later ones get a reference in `form`.
  // Short references fall back to the long form when the index does not fit.
  void ClassTag(std::string_view name, ClassRefForm form = ClassRefForm::kShort);
  // Counts one object in the object map; call once per object after its tag.
  void ObjectDone() { ++map_index_; }

  const std::string& bytes() const { return out_; }
  std::string& bytes() { return out_; }
  size_t size() const { return out_.size(); }

 private:
  std::string out_;
  std::map<std::string, uint32_t, std::less<>> classes_;
  uint32_t map_index_ = 1;
};

}  // namespace parvex::testing
