#include "common/settings_file.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <csignal>

#include <vector>

#include "common/platform/codepage.h"
#include "tests/support/temp_folder.h"

namespace parvex {
namespace {

using testing::TempFolder;

// A file of the given lines, each followed by CR LF, as UTF-8 with BOM.
std::string DatFile(const std::vector<std::u16string>& lines, bool bom = true) {
  std::string out = bom ? "\xEF\xBB\xBF" : "";
  for (const auto& l : lines) out += platform::ToUtf8(l) + "\r\n";
  return out;
}

std::vector<std::u16string> Lines(std::u16string filler = u"0") {
  return std::vector<std::u16string>(kSettingsLineCount, filler);
}

TEST(SettingsFile, SaveWritesExactLayoutAndNormalises) {
  TempFolder dir;
  struct Case {
    int version, space;
    std::u16string radius;
    int savedSpace;
    std::u16string savedRadius;
  } cases[] = {
      {0, 2, u"0.5", 1, u"0.5"},    // R12 has no layouts
      {1, 2, u"abc", 2, u"0.001"},  // 2000 keeps them
      {2, 2, u"5000", 2, u"1000"},
      {0, 1, u"0", 1, u"0.001"},
  };
  for (const auto& c : cases) {
    LauncherSettings s;
    s.ComboBox2 = c.version;
    s.ComboBox5 = c.space;
    s.Edit2 = c.radius;
    auto file = dir / "Parvex.dat";
    ASSERT_TRUE(SaveDatFile(file, s));
    EXPECT_EQ(s.ComboBox5, c.savedSpace);  // the window shows the change
    EXPECT_EQ(s.Edit2, c.savedRadius);
    std::string bytes = TempFolder::Read(file);
    ASSERT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    ConverterSettingsFile conv;
    ASSERT_TRUE(ReadDatFile(file, u"/prog/", conv));
    EXPECT_EQ(conv.cb5, c.savedSpace);
    EXPECT_EQ(conv.ed2, c.savedRadius);
  }
}

TEST(SettingsFile, DefaultsWrittenByteForByte) {
  LauncherSettings s;
  s.LabelPreFolder = u"/opt/parvex/";
  s.PrintableWidth = 409.996;
  std::string expected =
      "50\r\n50\r\n510\r\n510\r\n1\r\n0\r\n0\r\n0\r\n0\r\n\r\n\r\n/opt/parvex/\r\n1\r\nWindows\r\n"
      "0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0.5\r\n0\r\n" +
      platform::ToUtf8(kOdaPathPrompt) +
      "\r\n1\r\n1\r\n420\r\n297\r\n410.00\r\n297.00\r\n0\r\n0\r\n\r\n0\r\n";
  EXPECT_EQ(FormatDatFile(s), expected);
}

TEST(SettingsFile, LineBreaksInTextsDoNotShiftLaterLines) {
  TempFolder dir;
  LauncherSettings s;
  s.Edit1 = u"/odd\r\nname";
  s.CheckBox5 = true;
  ASSERT_TRUE(SaveDatFile(dir / "Parvex.dat", s));
  LauncherSettings back;
  ASSERT_TRUE(OpenDatFile(dir / "Parvex.dat", u"/l/", back));
  EXPECT_EQ(back.Edit1, u"/oddname");
  EXPECT_TRUE(back.CheckBox5);
}

TEST(SettingsFile, SaveIntoMissingFolderFailsWithoutCreatingAnything) {
  TempFolder dir;
  LauncherSettings s;
  EXPECT_FALSE(SaveDatFile(dir / "missing" / "Parvex.dat", s));
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

#ifndef _WIN32
// (Windows has no file size limit to make a write fail half-way.)
TEST(SettingsFile, FailedWriteRemovesTheOldFile) {
  TempFolder dir;
  auto file = dir.Write("Parvex.dat", "stale settings");
  // A file-size limit makes the write fail half-way, as a full disk would.
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 16;
  setrlimit(RLIMIT_FSIZE, &small);
  LauncherSettings s;
  bool saved = SaveDatFile(file, s);
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(saved);
  // No stale or partial settings stay behind: the converter refuses to run
  // rather than convert with settings the user did not save.
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}
#endif

TEST(SettingsFile, LauncherRoundTrip) {
  TempFolder dir;
  LauncherSettings s;
  s.WindowLeft = -20;
  s.RadioButton1 = false;
  s.RadioButton4 = true;
  s.Edit1 = u"/data/図面";
  s.ComboBox2 = 2;
  s.ComboBox5 = 2;
  s.ComboBox6 = -1;
  s.Edit3 = u"/usr/bin/ODAFileConverter";
  s.CheckBox2 = false;
  s.JwwPath = u"c:\\jww\\";
  ASSERT_TRUE(SaveDatFile(dir / "Parvex.dat", s));
  LauncherSettings back;
  ASSERT_TRUE(OpenDatFile(dir / "Parvex.dat", u"/l/", back));
  EXPECT_EQ(back.WindowLeft, -20);
  EXPECT_FALSE(back.RadioButton1);
  EXPECT_TRUE(back.RadioButton4);
  EXPECT_EQ(back.Edit1, s.Edit1);
  EXPECT_EQ(back.ComboBox5, 2);
  EXPECT_EQ(back.ComboBox6, -1);
  EXPECT_EQ(back.Edit3, s.Edit3);
  EXPECT_FALSE(back.CheckBox2);
  EXPECT_EQ(back.JwwPath, u"");  // written for the converter, not read back
  ConverterSettingsFile conv;
  ASSERT_TRUE(ReadDatFile(dir / "Parvex.dat", u"/p/", conv));
  EXPECT_EQ(conv.JwwPath, u"c:\\jww\\");
  EXPECT_EQ(conv.PrinterPaperWidth, 420);
}

TEST(SettingsFile, RadioButtonsLastTrueWinsAndAllFalseLeavesNone) {
  TempFolder dir;
  auto lines = Lines();
  lines[4] = u"1";
  lines[6] = u"TRUE";
  dir.Write("a.dat", DatFile(lines));
  LauncherSettings s;
  OpenDatFile(dir / "a.dat", u"/l/", s);
  EXPECT_FALSE(s.RadioButton1);
  EXPECT_TRUE(s.RadioButton3);
  lines[4] = lines[6] = u"0";
  dir.Write("b.dat", DatFile(lines));
  OpenDatFile(dir / "b.dat", u"/l/", s);
  EXPECT_FALSE(s.RadioButton1 || s.RadioButton2 || s.RadioButton3 || s.RadioButton4 ||
               s.RadioButton5);
}

TEST(SettingsFile, ConverterReadsHandWrittenValues) {
  TempFolder dir;
  struct Case {
    std::u16string line23;
    bool expected;
  } bools[] = {{u"TRUE", true}, {u"○", true}, {u"on", true}, {u"yes", false}, {u" 1", false}};
  for (const auto& c : bools) {
    auto lines = Lines();
    lines[23] = c.line23;
    dir.Write("Parvex.dat", DatFile(lines));
    ConverterSettingsFile f;
    ASSERT_TRUE(ReadDatFile(dir / "Parvex.dat", u"/p/", f));
    EXPECT_EQ(f.ch2, c.expected) << platform::ToUtf8(c.line23);
  }
}

TEST(SettingsFile, ShortEmptyAndCodePageFiles) {
  TempFolder dir;
  // Line 18 empty reads as group 0 in both programs.
  auto lines = Lines();
  lines[18] = u"";
  dir.Write("empty18.dat", DatFile(lines));
  ConverterSettingsFile conv;
  LauncherSettings launch;
  ReadDatFile(dir / "empty18.dat", u"/p/", conv);
  OpenDatFile(dir / "empty18.dat", u"/l/", launch);
  EXPECT_EQ(ToConversionSettings(conv)->BaseLayerGroup, 0);
  EXPECT_EQ(launch.ComboBox6, 0);

  // Without line 20 the converter's empty default clamps to 0.001 while the
  // launcher shows 0.5; missing lines keep defaults.
  dir.Write("short.dat", DatFile({u"1", u"2", u"3"}));
  ReadDatFile(dir / "short.dat", u"/p/", conv);
  OpenDatFile(dir / "short.dat", u"/l/", launch);
  EXPECT_EQ(conv.Fm1w, 3);
  EXPECT_EQ(conv.Fm1h, 480);
  EXPECT_EQ(conv.lb2, u"/p/");
  EXPECT_DOUBLE_EQ(ToConversionSettings(conv)->PointRadius, 0.001);
  EXPECT_EQ(launch.Edit2, u"0.5");
  EXPECT_EQ(launch.LabelPreFolder, u"/l/");
  EXPECT_TRUE(conv.ch2);

  // No byte-order mark: code page 932.
  std::string cp932 = DatFile(Lines());
  cp932.replace(cp932.find("0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n"), 10,
                "0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n\x90\x7D\r\n");
  dir.Write("sjis.dat", cp932.substr(3));
  ReadDatFile(dir / "sjis.dat", u"/p/", conv);
  EXPECT_EQ(conv.ed1, u"図");

  // A missing file leaves the defaults and reports it.
  EXPECT_FALSE(ReadDatFile(dir / "none.dat", u"/p/", conv));
  EXPECT_EQ(conv.Fm1w, 480);
}

TEST(SettingsFile, ConverterClamps) {
  constexpr int kMax = 2147483647;
  struct Case {
    int cb3, cb4, cb5, cb6, cb7, cb8;
    std::u16string ed2;
    double paperWidth;
    int colors, names, space, group, point, style;
    double radius, width;
  } cases[] = {
      {1, 0, -1, 16, 7, 3, u"0", 420, 1, 0, 0, 15, 0, 0, 0.001, 420},
      {0, 2, 2, 0, 6, 2, u"5000", 594, 0, 2, 2, 0, 6, 2, 1000, 594},
      {kMax, -1, 3, -1, -1, -1, u"abc", 0, 0, 2, 0, 15, 0, 0, 0.001, 420},
      {-kMax - 1, kMax, 1, 15, 0, 1, u"0.25", -5, 0, 2, 1, 15, 0, 1, 0.25, 420},
      {2, 3, kMax, kMax, kMax, kMax, u"1e300", 1e300, 0, 2, 0, 15, 0, 0, 1000,
       kMaxPrinterPaperMm},
  };
  for (const auto& c : cases) {
    ConverterSettingsFile f;
    f.cb2 = 1;
    f.cb3 = c.cb3;
    f.cb4 = c.cb4;
    f.cb5 = c.cb5;
    f.cb6 = c.cb6;
    f.cb7 = c.cb7;
    f.cb8 = c.cb8;
    f.ed2 = c.ed2;
    f.PrinterPaperWidth = c.paperWidth;
    Result<ConversionSettings> read = ToConversionSettings(f);
    ASSERT_TRUE(read) << read.reason();
    const ConversionSettings& s = *read;
    EXPECT_EQ(SettingNumber(s.DxfVersion), 1);
    EXPECT_EQ(SettingNumber(s.ColorMode), c.colors) << c.cb3;
    EXPECT_EQ(SettingNumber(s.LayerNameType), c.names) << c.cb4;
    EXPECT_EQ(SettingNumber(s.OutputSpace), c.space);
    EXPECT_EQ(s.BaseLayerGroup, c.group);
    EXPECT_EQ(SettingNumber(s.PointConversion), c.point);
    EXPECT_EQ(SettingNumber(s.TextStyleMode), c.style);
    EXPECT_DOUBLE_EQ(s.PointRadius, c.radius);
    EXPECT_DOUBLE_EQ(s.PrinterPaperWidth, c.width) << c.paperWidth;
  }
}

// A DXF version cannot be guessed: the reason names the line an editor shows.
TEST(SettingsFile, UnknownDxfVersionIsRefusedNamingItsLine) {
  for (int version : {-1, 3, 2147483647}) {
    ConverterSettingsFile f;
    f.cb2 = version;
    Result<ConversionSettings> read = ToConversionSettings(f);
    ASSERT_FALSE(read) << version;
    EXPECT_NE(read.reason().find("line 15 (DXF version): " + std::to_string(version)),
              std::string::npos)
        << read.reason();
  }
}

TEST(SettingsFile, PrinterSizesInMillimetres) {
  EXPECT_DOUBLE_EQ(DeviceSizeToMm(4961, 600), 210.02);  // A4 width at 600 dpi
  EXPECT_DOUBLE_EQ(DeviceSizeToMm(7016, 600), 297.01);
  EXPECT_EQ(DeviceSizeToMm(100, 0), 0);
}

}  // namespace
}  // namespace parvex
