#include "common/platform/codepage.h"

#include <array>
#include <cstdint>
#include <string>

#include "common/platform/system_cp932.h"

namespace parvex::platform {
namespace {

constexpr char16_t kDecodeSubstitute = u'\u30FB';
constexpr char kEncodeSubstitute = '?';

// Code page 932 has at most 2 bytes a character, so both directions are
// built once as tables: 65536 code units to bytes, and the lead/trail
// byte space to code units. Tables are filled through the system's
// converter on first use.
struct Cp932Tables {
  // Whether the system could convert the code page; without it the tables
  // stay empty and the programs refuse to start.
  bool available = false;
  // Single bytes 0x00-0xFF: the code unit, or 0xFFFF when the byte is a
  // lead byte or undefined.
  std::array<char16_t, 256> single{};
  std::array<bool, 256> isLead{};
  // Double bytes indexed by (lead << 8 | trail); 0 means undefined.
  std::array<char16_t, 65536> dbl{};
  // Code unit to bytes: 0 = not representable, else 1 or 2 byte value
  // packed as (len << 16 | bytes).
  std::array<uint32_t, 65536> enc{};
};

const Cp932Tables& Tables() {
  static Cp932Tables* tables = [] {
    auto* t = new Cp932Tables();
    t->single.fill(0xFFFF);
    detail::SystemCp932 system;
    if (!system.Available()) {
      // Without a code page converter ASCII still works.
      for (int b = 0; b < 0x80; ++b) t->single[b] = static_cast<char16_t>(b);
    } else {
      t->available = true;
      for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        char16_t u;
        if (system.DecodeOne(std::string_view(&c, 1), u)) t->single[b] = u;
      }
      for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead <= 0xDF) continue;
        t->isLead[lead] = true;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
          if (trail == 0x7F) continue;
          const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
          char16_t u;
          if (system.DecodeOne(std::string_view(in, 2), u)) t->dbl[(lead << 8) | trail] = u;
        }
      }
    }
    // Encoding table. Where several byte forms decode to the same code unit
    // the lowest form wins, except that the IBM extension rows (0xFA-0xFC)
    // win over the NEC-selected copies of them (0xED-0xEE), as in the
    // Windows conversion.
    for (int b = 0; b < 256; ++b) {
      if (t->single[b] != 0xFFFF && !t->enc[t->single[b]])
        t->enc[t->single[b]] = (1u << 16) | static_cast<uint32_t>(b);
    }
    for (int code = 0x8140; code <= 0xFCFC; ++code) {
      char16_t u = t->dbl[code];
      if (!u) continue;
      int lead = code >> 8;
      uint32_t packed = (2u << 16) | static_cast<uint32_t>(code);
      uint32_t& slot = t->enc[u];
      if (!slot) {
        slot = packed;
      } else if ((slot >> 16) == 2) {
        int prevLead = (slot >> 8) & 0xFF;
        if (prevLead >= 0xED && prevLead <= 0xEE && lead >= 0xFA) slot = packed;
      }
    }
    return t;
  }();
  return *tables;
}

}  // namespace

Status CodePageReady() {
  if (Tables().available) return Ok();
  return Fail(std::string("code page 932 (Shift_JIS) cannot be converted on this system: ") +
              detail::SystemCp932::WhatIsMissing());
}

std::u16string DecodeCp932(std::string_view bytes) {
  const Cp932Tables& t = Tables();
  std::u16string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out.push_back(static_cast<char16_t>(b));
      continue;
    }
    if (t.isLead[b]) {
      if (i + 1 < bytes.size()) {
        unsigned char trail = static_cast<unsigned char>(bytes[i + 1]);
        char16_t u = t.dbl[(b << 8) | trail];
        if (u) {
          out.push_back(u);
          ++i;
          continue;
        }
        // A defined trail byte range with no character: both bytes form one
        // unknown character. Otherwise only the lead byte is bad.
        if (trail >= 0x40 && trail <= 0xFC && trail != 0x7F) ++i;
      }
      out.push_back(kDecodeSubstitute);
      continue;
    }
    char16_t u = t.single[b];
    out.push_back(u == 0xFFFF ? kDecodeSubstitute : u);
  }
  return out;
}

std::string EncodeCp932(std::u16string_view text, bool* lossless) {
  const Cp932Tables& t = Tables();
  std::string out;
  out.reserve(text.size() * 2);
  bool ok = true;
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t u = text[i];
    if (u < 0x80) {
      out.push_back(static_cast<char>(u));
      continue;
    }
    uint32_t packed = t.enc[u];
    if (!packed) {
      ok = false;
      out.push_back(kEncodeSubstitute);
      // A surrogate pair is one character and gets one substitute.
      if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
          text[i + 1] <= 0xDFFF)
        ++i;
      continue;
    }
    if ((packed >> 16) == 1) {
      out.push_back(static_cast<char>(packed & 0xFF));
    } else {
      out.push_back(static_cast<char>((packed >> 8) & 0xFF));
      out.push_back(static_cast<char>(packed & 0xFF));
    }
  }
  if (lossless) *lossless = ok;
  return out;
}

bool FitsCp932(std::u16string_view text) {
  bool ok = true;
  EncodeCp932(text, &ok);
  return ok;
}

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

std::u16string FromUtf8(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    unsigned char b = static_cast<unsigned char>(bytes[i]);
    uint32_t cp;
    size_t len;
    if (b < 0x80) {
      cp = b;
      len = 1;
    } else if ((b & 0xE0) == 0xC0) {
      cp = b & 0x1F;
      len = 2;
    } else if ((b & 0xF0) == 0xE0) {
      cp = b & 0x0F;
      len = 3;
    } else if ((b & 0xF8) == 0xF0) {
      cp = b & 0x07;
      len = 4;
    } else {
      out.push_back(u'\uFFFD');
      ++i;
      continue;
    }
    if (i + len > bytes.size()) {
      out.push_back(u'\uFFFD');
      ++i;
      continue;
    }
    bool good = true;
    for (size_t k = 1; k < len; ++k) {
      unsigned char c = static_cast<unsigned char>(bytes[i + k]);
      if ((c & 0xC0) != 0x80) {
        good = false;
        break;
      }
      cp = (cp << 6) | (c & 0x3F);
    }
    static constexpr uint32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (!good || cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out.push_back(u'\uFFFD');
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += len;
  }
  return out;
}

}  // namespace parvex::platform
