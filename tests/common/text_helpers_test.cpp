#include "common/text_helpers.h"

#include <gtest/gtest.h>

namespace parvex {
namespace {

TEST(TextHelpers, CaseMappingIncludesFullWidthLatin) {
  EXPECT_EQ(UpperText(u"abcｘｙｚäω"), u"ABCＸＹＺÄΩ");
  EXPECT_EQ(LowerText(u"ABCＸＹＺ漢字"), u"abcｘｙｚ漢字");
  // One unit for one unit: no expansion that would shift indexes.
  EXPECT_EQ(UpperText(u"ß").size(), 1u);
  EXPECT_EQ(UpperText(u"\U00010428"), u"\U00010400");  // Deseret, a surrogate pair
}

TEST(TextHelpers, SlicingOutOfRangeGivesEmpty) {
  EXPECT_EQ(CharAt(u"abc", 1), u"b");
  EXPECT_EQ(CharAt(u"abc", 3), u"");
  EXPECT_EQ(CharAt(u"abc", -1), u"");
  EXPECT_EQ(CopyFrom(u"abc", 5), u"");
  EXPECT_EQ(CopyPart(u"abcdef", 2, 3), u"cde");
  EXPECT_EQ(CopyPart(u"abc", 1, 99), u"bc");
  EXPECT_EQ(CopyPart(u"abc", 1, -1), u"");
  EXPECT_EQ(RightPart(u"abc", 5), u"abc");
  EXPECT_EQ(RightPart(u"abc", 2), u"bc");
  EXPECT_EQ(PosZero(u"c", u"abc"), 2);
  EXPECT_EQ(PosZero(u"x", u"abc"), -1);
  EXPECT_EQ(RepeatText(u"ab", 3), u"ababab");
  EXPECT_EQ(RepeatText(u"ab", -1), u"");
}

TEST(TextHelpers, ColumnSlicing) {
  // "a" takes column 1, "漢" columns 2-3, "b" column 4, "字" columns 5-6.
  EXPECT_EQ(CopyByColumns(u"a漢b字", 2, 2), u"漢");
  EXPECT_EQ(CopyByColumns(u"a漢b字", 1, 2), u"a漢");  // may overrun by one column
  EXPECT_EQ(CopyByColumns(u"a漢b字", 4, 10), u"b字");
  auto slice = CopyWidthFrom(u"a漢b字", 0, 3);
  EXPECT_EQ(slice.Part, u"a漢");
  EXPECT_EQ(slice.Next, 2);
  slice = CopyWidthFrom(u"a漢b字", 3, 1);
  EXPECT_EQ(slice.Part, u"");
  EXPECT_EQ(slice.Next, 3);
}

TEST(TextHelpers, SurrogatePairs) {
  std::u16string s = u"a\U0001F600b\xD800";
  EXPECT_EQ(CharCount(s), 4);
  EXPECT_EQ(SurrogatePart(s, 1), 1);
  EXPECT_EQ(SurrogatePart(s, 2), 2);
  EXPECT_EQ(SurrogatePart(s, 4), 0);  // lone high surrogate
  EXPECT_EQ(SurrogatePart(s, 5), -1);
}

TEST(TextHelpers, Cleaning) {
  EXPECT_EQ(RemoveBlanks(u" a\tb\u3000c "), u"abc");
  EXPECT_EQ(RemoveControlChars(u"a\tb c\r\n"), u"ab c");
  EXPECT_EQ(TrimText(u"\t a b\u3000 \r"), u"a b\u3000");
  EXPECT_EQ(StripBreakMarks(u"one^mtwo\\nthree\r"), u"onetwothree");
  EXPECT_EQ(StripBreakMarks(u"^m\\n"), u" ");
  EXPECT_EQ(StripBreakMarks(u"^M"), u"^M");
}

TEST(TextHelpers, RunLengths) {
  EXPECT_DOUBLE_EQ(TextRunLength(u"漢字", 5, 1), 11);
  EXPECT_DOUBLE_EQ(TextRunLength(u"ab", 5, 1), 5.5);
  EXPECT_DOUBLE_EQ(TextRunLength(u"", 5, 1), 0);
  EXPECT_DOUBLE_EQ(TextRunLength(u"\tｱ", 4, 2), 2 + 2);  // control char: spacing only
  EXPECT_DOUBLE_EQ(TextRunLengthSimple(u"a\U0001F600", 3, 1), 7);
  EXPECT_DOUBLE_EQ(TextRunLengthSimple(u"", 3, 1), 0);
}

TEST(TextHelpers, ByteFieldsCutAtNul) {
  EXPECT_EQ(AnsiBytesToText(std::string_view("\x82\xA0" "A\0junk", 8)), u"あA");
  EXPECT_EQ(Utf16BytesToText(std::string_view("A\0B\0\0\0C\0", 8)), u"AB");
  EXPECT_EQ(Utf16BytesToText(std::string_view("A\0B", 3)), u"A");
}

}  // namespace
}  // namespace parvex
