#include <gtest/gtest.h>

#include <string>

#include "converter/expand/text_macros.h"
#include "common/platform/codepage.h"

namespace parvex {
namespace {

using platform::ToUtf8;

platform::LocalDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return {y, mo, d, h, mi, s};
}

TEST(TextMacros, RecognitionIsExactAndCaseSensitive) {
  struct Case {
    std::u16string_view text;
    bool code;
  } cases[] = {
      {u"%y", true},
      {u"%y年", false},  // a code inside a longer text stays as written
      {u"%", false},
      {u"#y", false},
      {u"%Ss", false},
      {u"%yy", false},
      {u"%%", true},
      {u"%%any name", true},
      {u"%F", true},
      {u"%F12", true},  // "12" lies between "1" and "9" as text
      {u"%F5x", true},
      {u"%F9", true},
      {u"%F9x", false},
      {u"%F0", false},
      {u"=F1", false},
      {u"&fs1", true},
      {u"&fs9", true},
      {u"&fs0", false},
      {u"&fs10", false},
      {u"$fs1", false},
      {u"$f", false},
      {u"%f", true},
      {u"%fa", true},
      {u"%fe9", true},
      {u"%ff", true},
      {u"%ffa", false},
      {u"%fg", false},
      {u"%f10", true},
      {u"=F", true},
      {u"_f", true},
      {u"&F", true},
      {u"%mm", true},
      {u"&mm", false},
      {u"%SS", true},
      {u"&SS", false},
      {u"%sp", true},
      {u"_T", true},
      {u"$T", true},
      {u"%ma", true},
      {u"=wa", true},
      {u"%G\uFF27\uFF25\uFF25", true},
      {u"%GG", false},
      {u"%j", true},
      {u"%j3", true},
      {u"$J12", true},
      {u"%j0", false},
      {u"=j3", false},
      {u"%m3", false},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckMojiExp1(c.text), c.code) << ToUtf8(c.text);
}

class MacroValues : public ::testing::Test {
 protected:
  void SetUp() override {
    in.ExpandMacros = true;
    in.SourcePath = u"/home/u/plans/\u56F3\u9762 AB CDEFGHIJ.jww";
    in.Now = At(2024, 1, 1, 0, 7, 3);        // a Monday, just after midnight
    in.FileDate = At(2019, 5, 1, 13, 8, 7);  // first day of the new era, a Wednesday
    in.Memo1 = u"一行目";
    in.Memo2 = u"二行目";
    in.LayerGroupScales[2] = 50;
    in.LayerGroupScales[3] = 0.5;
    in.LayerGroupScales[4] = 33.33333;
    in.LayerGroupScales[5] = 0.3;
    in.LayerGroupScales[6] = 0;  // damaged drawing
    in.PrintScale = 2;
    in.EditingSeconds = 5400;
    in.UserVariables = {{u"%%name", u"Parvex"},
                        {u"%%empty", u""},
                        {u"%%name", u"second"},
                        {u"%%Name", u"upper"},
                        {u"%%v", u"ab\uFF65\uFF65"}};
  }
  TextExpansionInputs in;
};

TEST_F(MacroValues, EveryCodeOfTheValueTable) {
  struct Case {
    std::u16string_view code;
    std::u16string_view value;
    int group = 0;
  } cases[] = {
      // The moment of conversion (2024-01-01 00:07:03, Monday).
      {u"%y", u"24"},
      {u"%Y", u"36"},  // the old era counts on
      {u"%m", u"01"},
      {u"&m", u" 1"},
      {u"$m", u"1 "},
      {u"%d", u"01"},
      {u"%h", u"12"},  // midnight on the 12-hour clock
      {u"%H", u"00"},
      {u"&H", u" 0"},
      {u"%M", u"07"},
      {u"%S", u"03"},
      {u"$S", u"3 "},
      {u"%ma", u"JAN"},
      {u"%w", u"月"},
      {u"&W", u"月"},
      {u"$wa", u"MON"},
      {u"%n", u"AM"},
      {u"%N", u"前"},
      {u"%j", u"2024/ 1/ 1"},
      {u"$j", u"2024/ 1/ 1"},
      {u"%J", u"令和6年 1月 1日"},
      {u"%E", u"06"},
      {u"&G", u" 6"},
      {u"%G\uFF27", u"令和"},
      {u"%G\uFF27\uFF25", u"令和06"},
      {u"%G\uFF27\uFF25\uFF25", u"令和06年"},
      {u"&G\uFF27\uFF25\uFF25", u"令和 6年"},
      {u"$G\uFF27\uFF25\uFF25", u"令和6 年"},
      // The file's save time (2019-05-01 13:08:07, Wednesday).
      {u"=F", u"2019/05/01 13:08:07"},
      {u"_F", u"2019/ 5/ 1 13:08:07"},
      {u"=f", u"2019/05/01"},
      {u"_f", u"2019/ 5/ 1"},
      {u"=y", u"19"},
      {u"=Y", u"31"},
      {u"=m", u"05"},
      {u"_m", u" 5"},
      {u"=h", u"01"},
      {u"_H", u"13"},
      {u"_n", u"PM"},
      {u"=N", u"後"},
      {u"=w", u"水"},
      {u"=wa", u"WED"},
      {u"_ma", u"MAY"},
      {u"=E", u"元"},
      {u"_G\uFF27\uFF25\uFF25", u"令和元年"},
      {u"=J", u"令和元年 5月 1日"},
      // File and folders.
      {u"%F", u"/home/u/plans/\u56F3\u9762 AB CDEFGHIJ.jww"},
      {u"&F1", u"plans"},
      {u"%F3", u"home"},
      {u"$F9", u"home"},  // beyond the top: the topmost part
      {u"%F12", u"home"},
      {u"%F5x", u""},
      {u"&f", u"\u56F3\u9762 AB CDEFGHIJ"},
      {u"&fs1", u"\u56F3\u9762"},
      {u"&fs2", u"AB"},
      {u"&fs5", u"CDEFGHIJ"},  // past the last space: the last word
      {u"%f", u"\u56F3\u9762 AB CDEFGHIJ.jww"},
      {u"%f3", u"\u56F3\u9762"},  // the last character may run one column over
      {u"%fa", u"\u56F3\u9762 AB CD"},
      {u"%f10", u"\u56F3\u9762 AB CDEFGHIJ"},  // hexadecimal: 16 columns
      // Memo, editing time, user variables, stretch dots.
      {u"%mm", u"一行目\u3000二行目"},
      {u"%m1", u"一行目"},
      {u"%m2", u"二行目"},
      {u"%T", u"1 : 30"},
      {u"=T", u"1 : 30"},
      {u"%%name", u"Parvex"},
      {u"%%Name", u"upper"},
      {u"%%other", u"other"},
      {u"%%empty", u"\uFF3F"},
      {u"%%", u"\uFF3F"},
      {u"%j3", u"\uFF65\uFF65\uFF65"},
      {u"$J5x", u""},
      // Scales by layer group: 50, 0.5, 33.33333, 0.3 and a damaged 0;
      // print magnification 2; -1 is a fixed layer.
      {u"%SS", u"1/50", 2},
      {u"%ss", u"50", 2},
      {u"%SP", u"1/25", 2},
      {u"%sp", u"25", 2},
      {u"%SS", u"2/1", 3},
      {u"%ss", u"2", 3},
      {u"%SP", u"4/1", 3},
      {u"%sp", u"4", 3},
      {u"%SS", u"1/33.333", 4},
      {u"%SS", u"3.333/1", 5},
      {u"%SS", u"1/1", 6},
      {u"%SS", u"1/1", -1},
      {u"%SP", u"1/0.5", -1},
      {u"%SS", u"1/1", 99},
      // Not a code: unchanged.
      {u"%y年", u"%y年"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ToUtf8(GetMojiExp1(c.group, c.code, in)), ToUtf8(c.value)) << ToUtf8(c.code);
}

TEST_F(MacroValues, StretchDotsAreBoundedByWhatATextKeeps) {
  EXPECT_EQ(GetMojiExp1(0, u"%J12", in), std::u16string(12, u'\uFF65'));
  EXPECT_EQ(GetMojiExp1(0, u"%j89999999", in).size(), static_cast<size_t>(kMaxStretchDots));
}

TEST_F(MacroValues, FolderCodesReachAnyDepth) {
  std::u16string path;
  for (int i = 0; i < 40; ++i) path += u"/d" + std::u16string(1, u'A' + i % 26) + std::u16string(1, u'0' + i / 26);
  in.SourcePath = path + u"/a.jww";
  EXPECT_EQ(GetMojiExp1(0, u"%F1", in), u"dN1");   // folder 39
  EXPECT_EQ(GetMojiExp1(0, u"%F33", in), u"dH0");  // folder 7, deeper than 32 parts
  EXPECT_EQ(GetMojiExp1(0, u"%F40", in), u"dA0");
  EXPECT_EQ(GetMojiExp1(0, u"%F41", in), u"dA0");

  in.SourcePath = u"/a.jww";
  EXPECT_EQ(GetMojiExp1(0, u"%F1", in), u"");
  in.SourcePath = u"";
  EXPECT_EQ(GetMojiExp1(0, u"%F1", in), u"");
  EXPECT_EQ(GetMojiExp1(0, u"&fs2", in), u"");
  EXPECT_EQ(GetMojiExp1(0, u"%fa", in), u"");
}

TEST_F(MacroValues, MemoLinesWhenOneOrBothAreEmpty) {
  struct Case {
    std::u16string_view memo1, memo2, mm, m1, m2;
  } cases[] = {
      {u"a", u"", u"a", u"a", u"%m2"},
      {u"", u"b", u"b", u"%m1", u"b"},
      {u"", u"", u"%mm", u"%m1", u"%m2"},
  };
  for (const auto& c : cases) {
    in.Memo1 = c.memo1;
    in.Memo2 = c.memo2;
    EXPECT_EQ(GetMojiExp1(0, u"%mm", in), c.mm);
    EXPECT_EQ(GetMojiExp1(0, u"%m1", in), c.m1);
    EXPECT_EQ(GetMojiExp1(0, u"%m2", in), c.m2);
  }
}

TEST_F(MacroValues, EditingTimeRoundsToTheMinute) {
  struct Case {
    std::int64_t seconds;
    std::u16string_view value;
  } cases[] = {
      {89, u"0 : 1"}, {29, u"0 : 0"}, {3599, u"1 : 0"}, {-5, u"0 : 0"},
      {INT64_C(4000000000), u"1111111 : 7"},  // beyond 32 bits
  };
  for (const auto& c : cases) {
    in.EditingSeconds = c.seconds;
    EXPECT_EQ(GetMojiExp1(0, u"&T", in), c.value) << c.seconds;
  }
}

// Dates that decide eras, padding, the 12-hour clock and weekdays. Both the
// file date and the moment of conversion are set to the date.
TEST_F(MacroValues, DatesAtTheEdges) {
  struct Case {
    platform::LocalDateTime date;
    std::u16string_view code;
    std::u16string_view value;
  } cases[] = {
      {At(2005, 6, 15, 10), u"%y", u"05"},
      {At(2005, 6, 15, 10), u"&y", u" 5"},
      {At(2005, 6, 15, 10), u"$y", u"5 "},
      {At(2005, 6, 15, 10), u"=y", u"05"},
      {At(2005, 6, 15, 10), u"_y", u" 5"},
      {At(2000, 3, 4, 12), u"%y", u"00"},
      {At(2000, 3, 4, 12), u"%h", u"12"},  // noon
      {At(2000, 3, 4, 12), u"%n", u"PM"},
      {At(2000, 3, 4, 11, 59), u"%N", u"前"},
      {At(2019, 4, 30), u"%G\uFF27\uFF25\uFF25", u"平成31年"},
      {At(2019, 4, 30), u"%Y", u"31"},
      {At(2019, 5, 1), u"%G\uFF27\uFF25\uFF25", u"令和元年"},
      {At(2019, 5, 1), u"%Y", u"31"},
      {At(2019, 5, 1), u"&E", u"元"},
      {At(2030, 1, 1), u"%E", u"12"},
      {At(1989, 1, 7), u"%G\uFF27\uFF25", u"昭和64"},
      {At(1989, 1, 8), u"%J", u"平成元年 1月 8日"},
      {At(1868, 10, 22), u"%G\uFF27\uFF25\uFF25", u""},  // before the first era
      {At(1868, 10, 22), u"%G\uFF27", u""},
      {At(1868, 10, 22), u"%Y", u""},
      {At(1868, 10, 22), u"%E", u""},
      {At(1868, 10, 22), u"%J", u"10月22日"},
      {At(1868, 10, 23), u"%G\uFF27\uFF25\uFF25", u"明治元年"},
      {At(1900, 3, 1), u"%wa", u"THU"},  // 1900 was no leap year
      {At(2024, 2, 29), u"%wa", u"THU"},
      {At(2023, 12, 31), u"%w", u"日"},
      {At(2024, 1, 6), u"%W", u"土"},
      {At(999, 12, 31, 23, 59, 59), u"=F", u"0999/12/31 23:59:59"},
      {platform::LocalDateTime{}, u"=F", u""},  // file time unknown
      {platform::LocalDateTime{}, u"%ma", u""},
      {At(2024, 13, 1), u"%ma", u""},  // impossible dates show nothing
      {At(2023, 2, 29), u"%w", u""},
      {At(2024, 1, 1, 24), u"%H", u""},
  };
  for (const auto& c : cases) {
    in.Now = c.date;
    in.FileDate = c.date;
    EXPECT_EQ(ToUtf8(GetMojiExp1(0, c.code, in)), ToUtf8(c.value))
        << c.date.Year << "-" << c.date.Month << "-" << c.date.Day << " " << ToUtf8(c.code);
  }
}

TEST(TextMacros, NthWordOfAName) {
  struct Case {
    std::u16string_view text;
    int n;
    std::u16string_view word;
  } cases[] = {
      {u"A B C", 1, u"A"},  {u"A B C", 2, u"B"}, {u"A B C", 3, u"C"}, {u"A B C", 9, u"C"},
      {u"ABC", 1, u"ABC"},  {u"ABC", 5, u"ABC"}, {u"A  B", 2, u"B"},  // empty word: the last one
      {u"A B ", 2, u"B"},   {u"A B ", 3, u""},   {u"", 1, u""},
  };
  for (const auto& c : cases) EXPECT_EQ(GetStrNSpace(c.text, c.n), c.word) << ToUtf8(c.text) << " " << c.n;
}

}  // namespace
}  // namespace parvex
