#include <string>

#include <gtest/gtest.h>

#include "converter/dxf/dxf_writer.h"

namespace parvex {
namespace {

// Runs fn on a writer whose text goes to memory, with a small buffer so
// that spilling is exercised too.
template <class Fn>
std::string TextOf(int ver, Fn fn, std::size_t buffer = 1 << 20) {
  DxfStringOutput out;
  DxfTextSink sink(out, buffer);
  DxfWriter w(sink, static_cast<DxfVersion>(ver));
  fn(w);
  EXPECT_TRUE(sink.Flush().ok());
  EXPECT_EQ(sink.BytesWritten(), out.bytes.size());
  return out.bytes;
}

TEST(DxfWriter, GroupCodesAndIntegerWidths) {
  struct Case {
    int code;
    int value;
    const char* text;
  };
  const Case cases[] = {
      {70, 0, " 70\r\n     0\r\n"},      {62, -2, " 62\r\n    -2\r\n"},
      {62, 256, " 62\r\n   256\r\n"},    {79, 1, " 79\r\n     1\r\n"},
      {170, 3, "170\r\n     3\r\n"},     {280, 127, "280\r\n   127\r\n"},
      {290, 1, "290\r\n     1\r\n"},     {370, -3, "370\r\n    -3\r\n"},
      {380, 0, "380\r\n     0\r\n"},     {1070, 5, "1070\r\n     5\r\n"},
      {90, 7, " 90\r\n        7\r\n"},   {99, -1, " 99\r\n       -1\r\n"},
      {1071, 12, "1071\r\n       12\r\n"}, {0, 5, "  0\r\n5\r\n"},
      {80, 4, " 80\r\n4\r\n"},           {420, 16777215, "420\r\n16777215\r\n"},
      {1000, 1, "1000\r\n1\r\n"},        {5000, 1, "5000\r\n1\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextOf(1, [&](DxfWriter& w) { w.Int(c.code, c.value); }), c.text) << c.code;
  }
  // Entity lineweights are written without padding.
  EXPECT_EQ(TextOf(1, [](DxfWriter& w) { w.IntPlain(370, 25); }), "370\r\n25\r\n");
}

TEST(DxfWriter, HandlesPointsAndSections) {
  std::string text = TextOf(1, [](DxfWriter& w) {
    w.BeginSection("HEADER");
    w.Handle(5, 10);
    w.Handle(330, 255);
    w.Handle(5, 0x7FFFFFFF);
    w.Point(1, 1, 2, 0);
    w.EndSection();
  });
  EXPECT_EQ(text,
            "  0\r\nSECTION\r\n  2\r\nHEADER\r\n"
            "  5\r\nA\r\n330\r\nFF\r\n  5\r\n7FFFFFFF\r\n"
            " 11\r\n1.0\r\n 21\r\n2.0\r\n 31\r\n0.0\r\n"
            "  0\r\nENDSEC\r\n");
}

TEST(DxfWriter, TextEncodingFollowsVersion) {
  // 壁 is 95 C7 in code page 932 and E5 A3 81 in UTF-8; names are capitals
  // in R12 only.
  struct Case {
    int ver;
    const char* text;
    const char* name;
  };
  const Case cases[] = {
      {0, "  8\r\n\x95\xC7" "a\r\n", "  2\r\nSTANDARD\r\n"},
      {1, "  8\r\n\x95\xC7" "a\r\n", "  2\r\nStandard\r\n"},
      {2, "  8\r\n\xE5\xA3\x81" "a\r\n", "  2\r\nStandard\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextOf(c.ver, [](DxfWriter& w) { w.Text(8, u"壁a"); }), c.text) << c.ver;
    EXPECT_EQ(TextOf(c.ver, [](DxfWriter& w) { w.Name(2, u"Standard"); }), c.name) << c.ver;
  }
  // A character code page 932 cannot hold is substituted in R12 and 2000
  // but kept in 2007.
  EXPECT_EQ(TextOf(1, [](DxfWriter& w) { w.Text(1, u"\u00E9"); }), "  1\r\n?\r\n");
  EXPECT_EQ(TextOf(2, [](DxfWriter& w) { w.Text(1, u"\u00E9"); }), "  1\r\n\xC3\xA9\r\n");
}

TEST(DxfWriter, LargeValuesPassAnySmallBuffer) {
  const std::u16string big(10000, u'x');
  std::string text = TextOf(
      1,
      [&](DxfWriter& w) {
        for (int i = 0; i < 100; ++i) w.Real(10, i);
        w.Text(1, big);
        w.Int(70, 1);
      },
      4096);
  const std::size_t pos = text.find("  1\r\n");
  ASSERT_NE(pos, std::string::npos);
  EXPECT_EQ(text.substr(pos + 5, big.size()), std::string(big.size(), 'x'));
  EXPECT_EQ(text.substr(text.size() - 13), " 70\r\n     1\r\n");
  EXPECT_EQ(text.rfind(" 10\r\n99.0\r\n", pos), pos - 11);
}

// Output that accepts `limit` bytes and then fails.
class FailingOutput final : public DxfByteOutput {
 public:
  explicit FailingOutput(std::size_t limit) : limit_(limit) {}
  Status Write(const char*, std::size_t n) override {
    ++calls;
    if (n > limit_) return Fail("disk full after " + std::to_string(calls) + " writes");
    limit_ -= n;
    return Ok();
  }
  int calls = 0;

 private:
  std::size_t limit_;
};

TEST(DxfWriter, FailedOutputStaysFailed) {
  FailingOutput out(5000);
  DxfTextSink sink(out, 4096);
  DxfWriter w(sink, DxfVersion::R2000);
  for (int i = 0; i < 10000; ++i) w.Real(10, i);
  // The first failure is kept and nothing more is attempted after it.
  EXPECT_EQ(sink.Flush().reason(), "disk full after 2 writes");
  EXPECT_FALSE(sink.Ok());
  EXPECT_EQ(out.calls, 2);
}

}  // namespace
}  // namespace parvex
