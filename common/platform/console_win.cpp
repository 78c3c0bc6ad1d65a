#include <algorithm>
#include <iostream>
#include <streambuf>
#include <string>

#include "common/platform/codepage.h"
#include "common/platform/console.h"
#include "common/platform/win32_support.h"

namespace parvex::platform {

namespace {

bool IsConsole(HANDLE h) {
  DWORD mode = 0;
  return h != nullptr && h != INVALID_HANDLE_VALUE && GetConsoleMode(h, &mode);
}

// Length of the UTF-8 sequence that the lead byte b starts (1 for anything
// that is no lead byte, so that bad bytes pass on).
std::size_t SequenceLength(unsigned char b) {
  if (b >= 0xF0 && b <= 0xF4) return 4;
  if (b >= 0xE0) return b <= 0xEF ? 3 : 1;
  if (b >= 0xC2) return 2;
  return 1;
}

// A stream buffer that writes UTF-8 text to a console as UTF-16. A
// sequence cut at the end of a buffer waits for its remaining bytes.
class ConsoleBuffer : public std::streambuf {
 public:
  explicit ConsoleBuffer(HANDLE console) : console_(console) { setp(buffer_, buffer_ + sizeof buffer_); }

 protected:
  int_type overflow(int_type c) override {
    if (!Drain(false)) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }
  int sync() override { return Drain(true) ? 0 : -1; }

 private:
  bool Drain(bool all) {
    std::string text(pbase(), pptr());
    std::size_t end = text.size();
    if (!all) {
      // Keep an unfinished sequence at the end for the next round.
      std::size_t start = end;
      while (start > 0 && end - start < 4 &&
             (static_cast<unsigned char>(text[start - 1]) & 0xC0) == 0x80)
        --start;
      if (start > 0 && start - 1 + SequenceLength(static_cast<unsigned char>(text[start - 1])) > end)
        end = start - 1;
    }
    const std::u16string wide = FromUtf8(std::string_view(text).substr(0, end));
    std::size_t done = 0;
    while (done < wide.size()) {
      DWORD written = 0;
      const DWORD n = static_cast<DWORD>(std::min<std::size_t>(wide.size() - done, 8192));
      if (!WriteConsoleW(console_, wide.data() + done, n, &written, nullptr) || written == 0) return false;
      done += written;
    }
    const std::string rest = text.substr(end);
    setp(buffer_, buffer_ + sizeof buffer_);
    rest.copy(buffer_, rest.size());
    pbump(static_cast<int>(rest.size()));
    return true;
  }

  HANDLE console_;
  char buffer_[4096];
};

void Redirect(std::ostream& stream, DWORD which) {
  const HANDLE h = GetStdHandle(which);
  if (!IsConsole(h)) return;
  stream.flush();
  // Alive until the very end of the program, when the streams are flushed.
  stream.rdbuf(new ConsoleBuffer(h));
}

}  // namespace

void UseUnicodeConsole() {
  Redirect(std::cout, STD_OUTPUT_HANDLE);
  Redirect(std::cerr, STD_ERROR_HANDLE);
}

bool StandardErrorIsTerminal() {
  const HANDLE h = GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (h == nullptr || h == INVALID_HANDLE_VALUE || !GetConsoleMode(h, &mode)) return false;
  if ((mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0) return true;
  return SetConsoleMode(h, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

}  // namespace parvex::platform
