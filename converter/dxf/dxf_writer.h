// The DXF writer: every section writes through the small primitives of
// DxfWriter, which turn values into the text of one group (code + value) in
// the file's encoding and hand it to a DxfSink.
//
// DxfTextSink lays the groups out as DXF text lines (group code right-
// aligned in three characters, four from 1000 on; CR LF after every line)
// into a large buffer that goes to a DxfByteOutput (a file, memory). Tests
// use DxfPairSink instead to see the groups as (code, value) pairs.
//
// Encoding: values given as UTF-16 text (Text, Name, Comment) are encoded
// as code page 932 for R12 and 2000 and as UTF-8 (no byte-order mark) for
// 2007. Everything else is ASCII.
//
// Errors: a sink that fails stays failed and ignores further groups; the
// caller checks Ok() once at the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "common/conversion_settings.h"
#include "common/result.h"
#include <vector>

namespace parvex {

// ---------------------------------------------------------------------------
// Numbers

// The text of a real value: |x| <= 1e-14 counts as 0; 15 significant
// digits, fixed-point for 1e-4 <= |x| < 1e15 and otherwise "d.dddE[-]n";
// the digits are snapped to the nearest multiple of 1e-14; a value without
// a point gets ".0" ("0.0", "100.0", "1.0E-10", "-2.5E-5").
// Not finite values give "0.0" (see DxfWriter::Real).
std::string RealToStr(double x);
// The same into buf (at least kRealBufSize bytes); returns the length.
inline constexpr std::size_t kRealBufSize = 32;
std::size_t RealToChars(double x, char* buf);

// ---------------------------------------------------------------------------
// Byte outputs

class DxfByteOutput {
 public:
  virtual ~DxfByteOutput() = default;
  // Writes all n bytes, or says why it could not.
  virtual Status Write(const char* data, std::size_t n) = 0;
};

class DxfStringOutput final : public DxfByteOutput {
 public:
  Status Write(const char* data, std::size_t n) override {
    bytes.append(data, n);
    return Ok();
  }
  std::string bytes;
};

// Writes to an open POSIX file descriptor (not owned), retrying short
// writes and interrupted calls. A failure gives the system's reason ("No
// space left on device", "File too large", ...).
class DxfFdOutput final : public DxfByteOutput {
 public:
  explicit DxfFdOutput(int fd) : fd_(fd) {}
  Status Write(const char* data, std::size_t n) override;

 private:
  int fd_;
};

// ---------------------------------------------------------------------------
// Sinks

class DxfSink {
 public:
  virtual ~DxfSink() = default;
  // One group. value is already in the file's encoding, without CR LF.
  virtual void Pair(int code, std::string_view value) = 0;
  // Pushes out anything buffered; the first output failure when the sink
  // has failed.
  virtual Status Flush() = 0;
  virtual bool Ok() const = 0;
};

// The group code lines "  0\r\n" .. "999\r\n", "1000\r\n" .. "1071\r\n",
// each in a row of 8 bytes.
struct DxfCodeLines {
  static constexpr int kCount = 1072;
  char text[kCount][8]{};
  unsigned char len[kCount]{};
  constexpr DxfCodeLines() {
    for (int c = 0; c < kCount; ++c) {
      char digits[4]{};
      int n = 0;
      for (int v = c; v > 0 || n == 0; v /= 10) digits[n++] = static_cast<char>('0' + v % 10);
      int pos = 0;
      for (int i = n; i < 3; ++i) text[c][pos++] = ' ';
      while (n > 0) text[c][pos++] = digits[--n];
      text[c][pos++] = '\r';
      text[c][pos++] = '\n';
      len[c] = static_cast<unsigned char>(pos);
    }
  }
};
inline constexpr DxfCodeLines kDxfCodeLines{};

// Formats groups as DXF text lines into a buffer of `bufferSize` bytes and
// passes full buffers to `out`.
class DxfTextSink final : public DxfSink {
 public:
  explicit DxfTextSink(DxfByteOutput& out, std::size_t bufferSize = 256 * 1024);
  void Pair(int code, std::string_view value) override {
    // The common case inline: a known code and room in the buffer (the
    // code row is copied as 8 bytes whatever its length).
    if (code >= 0 && code < DxfCodeLines::kCount && used_ + value.size() + 16 <= cap_) {
      char* o = buf_.get() + used_;
      __builtin_memcpy(o, kDxfCodeLines.text[code], 8);
      o += kDxfCodeLines.len[code];
      if (!value.empty()) __builtin_memcpy(o, value.data(), value.size());
      o += value.size();
      o[0] = '\r';
      o[1] = '\n';
      used_ = static_cast<std::size_t>(o + 2 - buf_.get());
      return;
    }
    PairSlow(code, value);
  }
  Status Flush() override;
  bool Ok() const override { return status_.ok(); }
  // Bytes already laid out as DXF lines (a section part formatted
  // elsewhere), appended as they are.
  void Append(std::string_view bytes);
  // Bytes handed to the output so far plus those still buffered.
  std::uint64_t BytesWritten() const { return written_ + used_; }

 private:
  void PairSlow(int code, std::string_view value);
  void Spill();
  DxfByteOutput& out_;
  std::unique_ptr<char[]> buf_;
  std::size_t cap_;
  std::size_t used_ = 0;
  std::uint64_t written_ = 0;
  Status status_;  // the first output failure
};

// Keeps the groups as (code, value) pairs.
class DxfPairSink final : public DxfSink {
 public:
  void Pair(int code, std::string_view value) override {
    pairs.emplace_back(code, std::string(value));
  }
  Status Flush() override { return parvex::Ok(); }
  bool Ok() const override { return true; }
  std::vector<std::pair<int, std::string>> pairs;
};

// ---------------------------------------------------------------------------
// Writer

class DxfWriter {
 public:
  // ver: 0 R12, 1 2000, 2 2007.
  DxfWriter(DxfSink& sink, DxfVersion ver)
      : sink_(sink), text_(dynamic_cast<DxfTextSink*>(&sink)), ver_(ver) {}

  DxfVersion Ver() const { return ver_; }
  DxfSink& Sink() { return sink_; }
  // The text sink written to, or nullptr for another kind of sink.
  DxfTextSink* TextSink() { return text_; }
  // Threads the long sections may format on (dxf_parallel_write.h); at
  // least 1.
  int Threads() const { return threads_; }
  void SetThreads(int n) { threads_ = n < 1 ? 1 : n; }

  // A fixed ASCII value (keywords, subclass markers, fixed names): PutCode.
  void Code(int code, std::string_view ascii) { Emit(code, ascii); }
  // A value already encoded with Encode / EncodeName (cache names that are
  // written many times, such as layer names).
  void Raw(int code, std::string_view encoded) { Emit(code, encoded); }
  // Text in the file's encoding: PutLine.
  void Text(int code, std::u16string_view s);
  // A table name: PutName (upper case for R12, then encoded).
  void Name(int code, std::u16string_view s);
  // Integers: right-aligned in 6 characters for codes 60-79, 170-179,
  // 270-289, 290-299, 370-389 and 1070; in 9 for 90-99 and 1071; else
  // plain.
  void Int(int code, int v);
  // An integer without padding whatever the code (entity lineweights).
  void IntPlain(int code, int v);
  // A real through RealToStr; a value that is not finite is written as 0.0
  // and counted.
  void Real(int code, double x);
  // A real whose text, read back, is not above `limit` (x is taken as
  // limit when above it): where rounding to 15 digits would carry the text
  // over the limit (2 pi becomes 6.28318530717959), the value is lowered by
  // one unit of its 15th digit. For values that stand for a whole turn.
  void RealAtMost(int code, double x, double limit);
  // A handle in upper-case hexadecimal.
  void Handle(int code, std::uint32_t h);
  // 10/20, 10/20/30, and 1n/2n/3n.
  void XY(double x, double y);
  void XYZ(double x, double y, double z);
  void Point(int n, double x, double y, double z);
  // Runs of groups of one kind, in order (fixed content written as lists).
  void Ints(std::initializer_list<std::pair<int, int>> groups);
  void Reals(std::initializer_list<std::pair<int, double>> groups);
  void Codes(std::initializer_list<std::pair<int, std::string_view>> groups);
  // "999" and the comment text.
  void Comment(std::u16string_view s);
  // "0 SECTION 2 name" and "0 ENDSEC".
  void BeginSection(std::string_view name);
  void EndSection();

  // The bytes Text / Name would write.
  std::string Encode(std::u16string_view s) const;
  std::string EncodeName(std::u16string_view s) const;

  long long NonFiniteCount() const { return nonFinite_; }
  // Adds the non-finite reals that other writers wrote for this one.
  void AddNonFinite(long long n) { nonFinite_ += n; }

 private:
  // Straight to the text sink when there is one (no virtual call).
  void Emit(int code, std::string_view value) {
    if (text_ != nullptr) {
      text_->Pair(code, value);
    } else {
      sink_.Pair(code, value);
    }
  }
  DxfSink& sink_;
  DxfTextSink* text_;
  DxfVersion ver_;
  int threads_ = 1;
  long long nonFinite_ = 0;
};

}  // namespace parvex
