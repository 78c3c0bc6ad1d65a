#include "converter/expand/text_macros.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "common/era_date.h"
#include "common/number_text.h"
#include "common/path_helpers.h"
#include "common/text_helpers.h"
#include "common/value_helpers.h"
#include "converter/expand/calendar.h"

namespace parvex {
namespace {

constexpr char16_t kStretchDot = u'\uFF65';       // "･"
constexpr char16_t kEmptyVariable[] = u"\uFF3F";  // "＿"

bool IsFirstCharacter(char16_t c) {
  return c == u'&' || c == u'%' || c == u'=' || c == u'_' || c == u'$';
}

// Texts compared by code units against an inclusive range: "1".."9" takes
// any text starting with 1..8 and "9" alone; "a".."f" any text starting with
// a..e and "f" alone.
bool InTextRange(std::u16string_view s, std::u16string_view low, std::u16string_view high) {
  return !s.empty() && s >= low && s <= high;
}
bool IsCountText(std::u16string_view s) { return InTextRange(s, u"1", u"9"); }
bool IsLetterText(std::u16string_view s) { return InTextRange(s, u"a", u"f"); }

// The codes after a first character that show a part of a date (or, for
// the first two, the file's path and save time when the code starts with
// "=" or "_").
constexpr std::array<std::u16string_view, 21> kDateCodes = {
    u"y", u"Y", u"m", u"ma", u"d", u"w", u"W", u"wa", u"h", u"H", u"M",
    u"S", u"n", u"N", u"j", u"J", u"E", u"G", u"G\uFF27", u"G\uFF27\uFF25", u"G\uFF27\uFF25\uFF25"};

bool IsDateCode(std::u16string_view rest1) {
  return std::find(kDateCodes.begin(), kDateCodes.end(), rest1) != kDateCodes.end();
}

constexpr std::array<std::u16string_view, 12> kWholeCodes = {
    u"%mm", u"%m1", u"%m2", u"%SS", u"%ss", u"%SP", u"%sp", u"&T", u"%T", u"=T", u"_T", u"$T"};

bool IsNowFirst(char16_t c) { return c == u'&' || c == u'%' || c == u'$'; }

constexpr std::array<std::u16string_view, 9> kWordCodes = {u"s1", u"s2", u"s3", u"s4", u"s5",
                                                          u"s6", u"s7", u"s8", u"s9"};

std::u16string TwoDigits(int v) {
  std::u16string r = IntToText(v);
  return r.size() < 2 ? u"0" + r : r;
}

std::u16string SpacePadded(int v) {
  std::u16string r = IntToText(v);
  return r.size() < 2 ? u" " + r : r;
}

std::u16string FourDigits(int v) {
  std::u16string r = IntToText(v);
  while (r.size() < 4) r.insert(r.begin(), u'0');
  return r;
}

// A one-character value is padded to two by the code's first character.
std::u16string Padded(char16_t first, std::u16string v) {
  if (v.size() != 1) return v;
  switch (first) {
    case u'%':
    case u'=':
      return u"0" + v;
    case u'&':
    case u'_':
      return u" " + v;
    case u'$':
      return v + u" ";
    default:
      return v;
  }
}

struct DateParts {
  platform::LocalDateTime t;
  EraDate era;
};

// The era year as dates show it: "元" for the first year, else padded.
std::u16string EraYearText(char16_t first, const std::u16string& year) {
  if (year == u"1") return u"\u5143";
  return Padded(first, year);
}

std::u16string DateValue(char16_t first, std::u16string_view code, const DateParts& d) {
  static constexpr std::array<std::u16string_view, 7> kWeekdays = {
      u"\u65E5", u"\u6708", u"\u706B", u"\u6C34", u"\u6728", u"\u91D1", u"\u571F"};
  static constexpr std::array<std::u16string_view, 7> kWeekdaysLatin = {
      u"SUN", u"MON", u"TUE", u"WED", u"THU", u"FRI", u"SAT"};
  static constexpr std::array<std::u16string_view, 12> kMonths = {
      u"JAN", u"FEB", u"MAR", u"APR", u"MAY", u"JUN", u"JUL", u"AUG", u"SEP", u"OCT", u"NOV", u"DEC"};
  const platform::LocalDateTime& t = d.t;
  const int weekday = calendar::WeekdayOf(t.Year, t.Month, t.Day);
  auto pad = [first](int v) { return Padded(first, IntToText(v)); };
  // The year suffix "年" belongs to an era year; a date before the first
  // era has neither.
  auto yearMark = [&d]() -> std::u16string { return d.era.EraYear.empty() ? u"" : u"\u5E74"; };

  if (code == u"F") {
    if (first == u'=')
      return FourDigits(t.Year) + u"/" + TwoDigits(t.Month) + u"/" + TwoDigits(t.Day) + u" " +
             TwoDigits(t.Hour) + u":" + TwoDigits(t.Minute) + u":" + TwoDigits(t.Second);
    return FourDigits(t.Year) + u"/" + SpacePadded(t.Month) + u"/" + SpacePadded(t.Day) + u" " +
           TwoDigits(t.Hour) + u":" + TwoDigits(t.Minute) + u":" + TwoDigits(t.Second);
  }
  if (code == u"f") {
    if (first == u'=') return FourDigits(t.Year) + u"/" + TwoDigits(t.Month) + u"/" + TwoDigits(t.Day);
    return FourDigits(t.Year) + u"/" + SpacePadded(t.Month) + u"/" + SpacePadded(t.Day);
  }
  if (code == u"y") return pad(t.Year % 100);
  if (code == u"Y") return Padded(first, d.era.EraYearOld);
  if (code == u"m") return pad(t.Month);
  if (code == u"d") return pad(t.Day);
  if (code == u"h") return pad(t.Hour % 12 == 0 ? 12 : t.Hour % 12);
  if (code == u"H") return pad(t.Hour);
  if (code == u"M") return pad(t.Minute);
  if (code == u"S") return pad(t.Second);
  if (code == u"ma") return std::u16string(kMonths[static_cast<size_t>(t.Month - 1)]);
  if (code == u"w" || code == u"W") return std::u16string(kWeekdays[static_cast<size_t>(weekday)]);
  if (code == u"wa") return std::u16string(kWeekdaysLatin[static_cast<size_t>(weekday)]);
  if (code == u"n") return t.Hour < 12 ? u"AM" : u"PM";
  if (code == u"N") return t.Hour < 12 ? u"\u524D" : u"\u5F8C";
  if (code == u"j") return FourDigits(t.Year) + u"/" + SpacePadded(t.Month) + u"/" + SpacePadded(t.Day);
  if (code == u"J") {
    const std::u16string year = d.era.EraYear == u"1" ? u"\u5143" : d.era.EraYear;
    return d.era.EraName + year + yearMark() + SpacePadded(t.Month) + u"\u6708" +
           SpacePadded(t.Day) + u"\u65E5";
  }
  if (code == u"E" || code == u"G") return EraYearText(first, d.era.EraYear);
  if (code == u"G\uFF27") return d.era.EraName;
  if (code == u"G\uFF27\uFF25") return d.era.EraName + EraYearText(first, d.era.EraYear);
  if (code == u"G\uFF27\uFF25\uFF25")
    return d.era.EraName + EraYearText(first, d.era.EraYear) + yearMark();
  return std::u16string(code);
}

// "1/50" or "2/1" style scale of the text's layer group.
std::u16string ScaleValue(std::u16string_view code, int layerGroup, const TextExpansionInputs& in) {
  double q = 1;
  bool reduced = true;
  if (layerGroup >= 0 && layerGroup < static_cast<int>(in.LayerGroupScales.size())) {
    q = in.LayerGroupScales[static_cast<size_t>(layerGroup)];
    // A scale that is no positive number (a damaged drawing) shows as 1:1
    // instead of "INF" or a negative ratio.
    if (!Finite({q}) || q <= 0) q = 1;
    if (q < 0.9999999999) {
      q = 1 / q;
      reduced = false;
    }
    q = RoundDecimals(q, 3, 2);
  }
  double print = in.PrintScale;
  if (!Finite({print}) || print <= 0) print = 1;
  if (code == u"%SS") return reduced ? u"1/" + FloatToText(q) : FloatToText(q) + u"/1";
  if (code == u"%ss") return FloatToText(q);
  if (code == u"%SP")
    return reduced ? u"1/" + FloatToText(q / print) : FloatToText(q * print) + u"/1";
  return FloatToText(reduced ? q / print : q * print);  // "%sp"
}

std::u16string MemoValue(std::u16string_view code, const TextExpansionInputs& in) {
  if (code == u"%m1") return in.Memo1.empty() ? std::u16string(code) : in.Memo1;
  if (code == u"%m2") return in.Memo2.empty() ? std::u16string(code) : in.Memo2;
  if (in.Memo1.empty() && in.Memo2.empty()) return std::u16string(code);
  if (in.Memo2.empty()) return in.Memo1;
  if (in.Memo1.empty()) return in.Memo2;
  return in.Memo1 + u"\u3000" + in.Memo2;
}

std::u16string EditingTimeValue(std::int64_t seconds) {
  // The time is shown rounded to the minute; a negative count (a damaged
  // drawing) shows as no time at all.
  const std::int64_t s = std::max<std::int64_t>(seconds, 0) + 30;
  return IntToText(s / 3600) + u" : " + IntToText(s / 60 % 60);
}

std::u16string UserVariableValue(std::u16string_view s, const TextExpansionInputs& in) {
  for (const UserVariable& v : in.UserVariables) {
    if (v.Name == s) return v.Value.empty() ? kEmptyVariable : v.Value;
  }
  std::u16string name(s.substr(2));
  return name.empty() ? kEmptyVariable : name;
}

// The k-th folder counted upwards from the file; the topmost part when k
// goes beyond it, nothing for k = 0. Paths of any depth are handled.
std::u16string FolderValue(std::u16string_view path, int k) {
  if (k <= 0) return {};
  const std::vector<std::u16string> parts = SplitPath(FolderOf(path));
  if (parts.empty()) return {};
  const size_t count = parts.size();
  const size_t index = static_cast<size_t>(k) >= count ? 0 : count - static_cast<size_t>(k);
  return parts[index];
}

}  // namespace

bool CheckMojiExp1(std::u16string_view s) {
  if (s.size() < 2 || !IsFirstCharacter(s[0])) return false;
  const char16_t c0 = s[0];
  const std::u16string_view p2 = s.substr(0, 2);
  const std::u16string_view rest1 = s.substr(1);
  const std::u16string_view rest2 = s.substr(2);
  if (p2 == u"%%") return true;
  if ((p2 == u"&F" || p2 == u"%F" || p2 == u"$F") && (rest2.empty() || IsCountText(rest2))) return true;
  if (p2 == u"&f" && (rest2.empty() || std::find(kWordCodes.begin(), kWordCodes.end(), rest2) !=
                                           kWordCodes.end()))
    return true;
  if (p2 == u"%f" && (rest2.empty() || IsCountText(rest2) || IsLetterText(rest2))) return true;
  if ((c0 == u'=' || c0 == u'_') && (rest1 == u"F" || rest1 == u"f" || IsDateCode(rest1))) return true;
  if (std::find(kWholeCodes.begin(), kWholeCodes.end(), s) != kWholeCodes.end()) return true;
  if (IsNowFirst(c0) && IsDateCode(rest1)) return true;
  if (IsNowFirst(c0) && (s[1] == u'j' || s[1] == u'J') && IsCountText(rest2)) return true;
  return false;
}

std::u16string GetMojiExp1(int layerGroup, std::u16string_view s, const TextExpansionInputs& in) {
  if (!CheckMojiExp1(s)) return std::u16string(s);
  const char16_t c0 = s[0];
  const std::u16string_view p2 = s.substr(0, 2);
  const std::u16string_view rest1 = s.substr(1);
  const std::u16string_view rest2 = s.substr(2);

  if (p2 == u"%%") return UserVariableValue(s, in);
  if (s == u"%mm" || s == u"%m1" || s == u"%m2") return MemoValue(s, in);
  if (s == u"%SS" || s == u"%ss" || s == u"%SP" || s == u"%sp") return ScaleValue(s, layerGroup, in);
  if (rest1 == u"T") return EditingTimeValue(in.EditingSeconds);
  if (IsNowFirst(c0) && s[1] == u'F') {
    if (rest2.empty()) return in.SourcePath;
    return FolderValue(in.SourcePath, TextToInt(rest2));
  }
  if (p2 == u"&f") {
    const std::u16string name = ChangeExtension(FileNameOf(in.SourcePath), u"");
    if (rest2.empty()) return name;
    return GetStrNSpace(name, rest2[1] - u'0');
  }
  if (p2 == u"%f") {
    const std::u16string name = FileNameOf(in.SourcePath);
    if (rest2.empty()) return name;
    return CopyByColumns(name, 1, TextToInt(u"$" + std::u16string(rest2)));
  }
  if (IsNowFirst(c0) && (s[1] == u'j' || s[1] == u'J') && !rest2.empty()) {
    const int n = std::clamp(TextToInt(rest2), 0, kMaxStretchDots);
    return std::u16string(static_cast<size_t>(n), kStretchDot);
  }

  // What is left are date codes: "=" and "_" show the file's time, the
  // other first characters the moment of conversion.
  DateParts d;
  d.t = (c0 == u'=' || c0 == u'_') ? in.FileDate : in.Now;
  if (!calendar::IsValidDateTime(d.t)) return {};
  d.era = EraOfDate(d.t.Year, d.t.Month, d.t.Day);
  return DateValue(c0, rest1, d);
}

std::u16string GetStrNSpace(std::u16string_view f, int n) {
  std::u16string word;
  std::u16string result;
  bool found = false;
  int spaces = 0;
  for (char16_t c : f) {
    if (c != u' ') {
      word.push_back(c);
      continue;
    }
    ++spaces;
    if (spaces == n && !word.empty()) {
      result = word;
      found = true;
    }
    word.clear();
  }
  return found ? result : word;
}

}  // namespace parvex
