#include "common/platform/codepage.h"

#include <gtest/gtest.h>

using namespace parvex::platform;

namespace {

struct Cp932Case {
  const char* bytes;
  char16_t unit;
};

TEST(Codepage, Cp932DecodesWindowsForms) {
  const Cp932Case cases[] = {
      {"\x81\x60", u'\uFF5E'}, {"\x87\x40", u'\u2460'}, {"\xFA\x40", u'\u2170'},
      {"\x5C", u'\u005C'},     {"\x82\xA0", u'\u3042'}, {"\xB1", u'\uFF71'},
  };
  for (const auto& c : cases) {
    std::u16string text = DecodeCp932(c.bytes);
    ASSERT_EQ(text.size(), 1u) << c.bytes;
    EXPECT_EQ(text[0], c.unit) << c.bytes;
    EXPECT_EQ(EncodeCp932(text), std::string(c.bytes));
  }
}

TEST(Codepage, Cp932PrefersIbmRowsOverNecSelectedCopies) {
  // U+2170 exists at EEEF (NEC-selected) and FA40 (IBM); Windows writes FA40.
  EXPECT_EQ(EncodeCp932(u"\u2170"), "\xFA\x40");
  // U+2252 exists in JIS X 0208 (81E0) and NEC row 13 (8790).
  EXPECT_EQ(EncodeCp932(u"\u2252"), "\x81\xE0");
}

TEST(Codepage, UnmappableCharactersBecomeSubstitutes) {
  bool lossless = true;
  EXPECT_EQ(EncodeCp932(u"a\u00E9b", &lossless), "a?b");
  EXPECT_FALSE(lossless);
  // A surrogate pair is one character and one substitute.
  EXPECT_EQ(EncodeCp932(u"\U0001F600", &lossless), "?");
  EXPECT_TRUE(FitsCp932(u"図面ABC"));
  // A lone lead byte at the end and an undefined pair both decode to U+30FB.
  EXPECT_EQ(DecodeCp932("a\x82"), u"a\u30FB");
  EXPECT_EQ(DecodeCp932("\x85\x40"), u"\u30FB");
}

TEST(Codepage, Utf8RoundTripAndInvalidInput) {
  const std::u16string text = u"図面\U0001F600x";
  EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
  EXPECT_EQ(FromUtf8("\xC0\xAF"), u"\uFFFD\uFFFD");  // overlong form
  EXPECT_EQ(ToUtf8(u"\xD800"), "\xEF\xBF\xBD");        // lone surrogate
}

}  // namespace
