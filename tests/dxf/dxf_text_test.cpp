// The DXF text helpers that differ from their common/ counterparts keep
// their own behaviour.
#include "converter/dxf/dxf_text.h"

#include <gtest/gtest.h>

#include "common/text_helpers.h"

namespace parvex {
namespace {

TEST(DxfText, CopyWidthNeverSplitsASurrogatePair) {
  const std::u16string s = u"a\U00020B9Fb";  // a, one supplementary kanji (4 columns), b
  EXPECT_EQ(dxftext::CopyWidth(s, 1), u"a");
  EXPECT_EQ(dxftext::CopyWidth(s, 3), u"a");  // the pair does not fit whole
  EXPECT_EQ(dxftext::CopyWidth(s, 5), u"a\U00020B9F");
  EXPECT_EQ(dxftext::CopyWidth(s, 6), s);
  EXPECT_EQ(dxftext::CopyWidth(u"ｱあ", 2), u"ｱ");
  EXPECT_EQ(dxftext::CopyWidth(u"", 10), u"");
  // The common helper counts code units and may take half the pair.
  EXPECT_EQ(CopyWidthFrom(s, 0, 3).Part.size(), 2u);
}

TEST(DxfText, UpperTextKeepsItsOwnTable) {
  EXPECT_EQ(dxftext::UpperText(u"abcｚ"), u"ABCＺ");
  EXPECT_EQ(dxftext::UpperText(u"àÿāĺž"), u"ÀŸĀĹŽ");
  EXPECT_EQ(dxftext::UpperText(u"αωжё"), u"ΑΩЖЁ");
  // Left as they are, where full case mapping would change them (Windows'
  // own case mapping, which the common helper uses there, leaves all but
  // the last as they are too).
  for (std::u16string_view c : {u"µ", u"ı", u"ſ", u"ς", u"ά"}) {
    EXPECT_EQ(dxftext::UpperText(c), c);
#ifdef _WIN32
    if (c != u"ά") continue;
#endif
    EXPECT_NE(UpperText(c), c);
  }
}

}  // namespace
}  // namespace parvex
