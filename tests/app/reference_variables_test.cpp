#include "converter/app/reference_variables.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"
#include "converter/app/converter_run.h"

namespace parvex {
namespace {

using testing::TempFolder;

TEST(ReferenceVariables, JwSettingsLine) {
  struct Case {
    const char* jwf;
    std::u16string_view found;
  } cases[] = {
      {"X=1\r\n   REF_FILE = c:\\jww\\ref.txt  \r\n", u"c:\\jww\\ref.txt"},
      {"REF_FILE=ref.txt\r\n", u"ref.txt"},
      {"REF_FILE  =ref.txt\r\n", u"ref.txt"},
      {"\r\n \x81\x40\r\nREF_FILE=a\r\nREF_FILE=b\r\n", u"a"},
      {"END\r\nREF_FILE=ref.txt\r\n", u""},
      {"ENDING\r\nREF_FILE=ref.txt\r\n", u""},
      {"REF_FILE   =x\r\n", u""},
      {"", u""},
  };
  for (const auto& c : cases) {
    TempFolder dir;
    auto jwf = dir.Write("Jw_win.jwf", c.jwf);
    EXPECT_EQ(FindReferenceFileName({dir / "missing.jwf", jwf}), c.found) << c.jwf;
  }
  EXPECT_EQ(FindReferenceFileName({"/nonexistent/Jw_win.jwf"}), u"");
}

TEST(ReferenceVariables, VariableLines) {
  auto vars = ParseReferenceVariables({
      u"%%A\tvalue one",
      u"%% A\tdropped: blank in the name",
      u"%A\tdropped: single percent",
      u"%%NOTAB value",
      u"  %%B\tb\x01v  ",
      u"\tno name",
      u"",
  });
  ASSERT_EQ(vars.size(), 2u);
  EXPECT_EQ(vars[0].s1, u"%%A");
  EXPECT_EQ(vars[0].s2, u"value one");
  EXPECT_EQ(vars[1].s1, u"%%B");
  EXPECT_EQ(vars[1].s2, u"bv");
}

TEST(ReferenceVariables, BareNameLooksInProgramFolderThenBesideDrawing) {
  TempFolder program;
  TempFolder drawings;
  program.Write("Jw_win.jwf", "REF_FILE=ref.txt\r\n");
  program.Write("ref.txt", "%%WHERE\tprogram\r\n");
  drawings.Write("ref.txt", "%%WHERE\tdrawing\r\n");
  ConversionContext c = StartConversion(program.Path(), {program / "Jw_win.jwf"}).value();
  ASSERT_EQ(c.ReferenceVariables.size(), 1u);
  EXPECT_EQ(c.ReferenceVariables[0].s2, u"program");
  c.SourcePath = drawings / "plan.jww";
  LoadReferenceVariables(c);
  ASSERT_EQ(c.ReferenceVariables.size(), 1u);
  EXPECT_EQ(c.ReferenceVariables[0].s2, u"drawing");
  // Gone beside the drawing: the list is emptied, not kept from before.
  c.SourcePath = program / "sub" / "plan.jww";
  LoadReferenceVariables(c);
  EXPECT_TRUE(c.ReferenceVariables.empty());
}

}  // namespace
}  // namespace parvex
