// Text encodings at the file boundary: code page 932 (Shift_JIS as Windows
// defines it), UTF-8 and UTF-16LE. Drawing text in memory is UTF-16.
#pragma once

#include <string>
#include <string_view>

#include "common/result.h"

namespace parvex::platform {

// Whether code page 932 can be converted on this system (the system's
// iconv must know "CP932"). Every program checks this when it starts and
// refuses to run without it: drawings and DXF files of the other versions
// are code page 932, and without it their Japanese text would be lost.
Status CodePageReady();

// Decodes code page 932 bytes. A byte sequence the code page does not define
// becomes U+30FB (KATAKANA MIDDLE DOT), as the Windows conversion does.
// Decoding does not stop at NUL; callers that want C-string semantics cut.
std::u16string DecodeCp932(std::string_view bytes);

// Encodes to code page 932. A character the code page cannot hold becomes
// '?'. When `lossless` is given it is set to false if any character was
// substituted.
std::string EncodeCp932(std::u16string_view text, bool* lossless = nullptr);

// True when every character of `text` has a code page 932 form.
bool FitsCp932(std::u16string_view text);

// UTF-8 in both directions. Invalid UTF-8 decodes to U+FFFD per bad byte;
// an unpaired surrogate encodes as U+FFFD.
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view bytes);

}  // namespace parvex::platform
