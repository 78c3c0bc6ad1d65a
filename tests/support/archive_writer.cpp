#include "tests/support/archive_writer.h"

#include <bit>
#include <cstring>

#include "common/platform/codepage.h"

namespace parvex::testing {

void ArchiveWriter::Word(uint16_t v) {
  Byte(static_cast<uint8_t>(v & 0xFF));
  Byte(static_cast<uint8_t>(v >> 8));
}

void ArchiveWriter::Uint(uint32_t v) {
  for (int i = 0; i < 4; ++i) Byte(static_cast<uint8_t>((v >> (8 * i)) & 0xFF));
}

void ArchiveWriter::Double(double v) {
  uint64_t bits = std::bit_cast<uint64_t>(v);
  for (int i = 0; i < 8; ++i) Byte(static_cast<uint8_t>((bits >> (8 * i)) & 0xFF));
}

void ArchiveWriter::ByteString(std::string_view bytes) {
  // Lengths from 0xFFFE up cannot be told apart from the Unicode marker;
  // such strings do not occur in drawings, so they are cut.
  if (bytes.size() >= 0xFFFE) bytes = bytes.substr(0, 0xFFFD);
  if (bytes.size() < 255) {
    Byte(static_cast<uint8_t>(bytes.size()));
  } else {
    Byte(255);
    Word(static_cast<uint16_t>(bytes.size()));
  }
  Raw(bytes);
}

void ArchiveWriter::Text(std::u16string_view text, StringForm form) {
  if (form == StringForm::kBytes) {
    ByteString(platform::EncodeCp932(text));
    return;
  }
  if (text.size() > 0xFFFF) text = text.substr(0, 0xFFFF);
  Byte(255);
  Word(0xFFFE);
  if (text.size() < 255) {
    Byte(static_cast<uint8_t>(text.size()));
  } else {
    Byte(255);
    Word(static_cast<uint16_t>(text.size()));
  }
  for (char16_t c : text) Word(static_cast<uint16_t>(c));
}

void ArchiveWriter::Count(uint32_t n, bool force_long) {
  if (n < 0xFFFF && !force_long) {
    Word(static_cast<uint16_t>(n));
  } else {
    Word(0xFFFF);
    Uint(n);
  }
}

void ArchiveWriter::ClassTag(std::string_view name, ClassRefForm form) {
  auto known = classes_.find(name);
  if (known == classes_.end() || form == ClassRefForm::kNewClass) {
    Word(0xFFFF);
    Word(1);  // schema number
    Word(static_cast<uint16_t>(name.size()));
    Raw(name);
    classes_.insert_or_assign(std::string(name), map_index_);
    ++map_index_;
    return;
  }
  uint32_t index = known->second;
  if (form == ClassRefForm::kShort && index < 0x7FFF) {
    Word(static_cast<uint16_t>(0x8000 | index));
  } else if (form == ClassRefForm::kLongBare) {
    Word(0x7FFF);
    Uint(index);
  } else {
    Word(0x7FFF);
    Uint(0x80000000u | index);
  }
}

}  // namespace parvex::testing
