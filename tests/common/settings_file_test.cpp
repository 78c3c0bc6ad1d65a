#include "common/settings_file.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <csignal>

#include <vector>

#include "common/platform/codepage.h"
#include "common/platform/files.h"
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

SettingsFile LauncherDefaults() { return DefaultSettingsFile(SettingsReader::Launcher, u"/l/"); }
SettingsFile ConverterDefaults() { return DefaultSettingsFile(SettingsReader::Converter, u"/p/"); }

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
    SettingsFile s;
    s.DxfVersionIndex = c.version;
    s.OutputSpaceIndex = c.space;
    s.PointRadiusText = c.radius;
    auto file = dir / "Parvex.dat";
    ASSERT_TRUE(SaveSettingsFile(file, s));
    EXPECT_EQ(s.OutputSpaceIndex, c.savedSpace);  // the window shows the change
    EXPECT_EQ(s.PointRadiusText, c.savedRadius);
    std::string bytes = TempFolder::Read(file);
    ASSERT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    Result<SettingsFile> conv = ReadSettingsFile(file, ConverterDefaults());
    ASSERT_TRUE(conv) << conv.reason();
    EXPECT_EQ(conv->OutputSpaceIndex, c.savedSpace);
    EXPECT_EQ(conv->PointRadiusText, c.savedRadius);
  }
}

TEST(SettingsFile, DefaultsWrittenByteForByte) {
  SettingsFile s = DefaultSettingsFile(SettingsReader::Launcher, u"/opt/parvex/");
  s.PrintableWidth = 409.996;
  std::string expected =
      "50\r\n50\r\n510\r\n510\r\n1\r\n0\r\n0\r\n0\r\n0\r\n\r\n\r\n/opt/parvex/\r\n1\r\nWindows\r\n"
      "0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0.5\r\n0\r\n" +
      platform::ToUtf8(kOdaPathPrompt) +
      "\r\n1\r\n1\r\n420\r\n297\r\n410.00\r\n297.00\r\n0\r\n0\r\n\r\n0\r\n";
  EXPECT_EQ(FormatSettingsFile(s), expected);
}

TEST(SettingsFile, LineBreaksInTextsDoNotShiftLaterLines) {
  TempFolder dir;
  SettingsFile s;
  s.GivenFolder = u"/odd\r\nname";
  s.DimensionAsEntity = true;
  ASSERT_TRUE(SaveSettingsFile(dir / "Parvex.dat", s));
  Result<SettingsFile> back = ReadSettingsFile(dir / "Parvex.dat", LauncherDefaults());
  ASSERT_TRUE(back);
  EXPECT_EQ(back->GivenFolder, u"/oddname");
  EXPECT_TRUE(back->DimensionAsEntity);
}

TEST(SettingsFile, SaveIntoMissingFolderFailsWithoutCreatingAnything) {
  TempFolder dir;
  SettingsFile s;
  const Status saved = SaveSettingsFile(dir / "missing" / "Parvex.dat", s);
  ASSERT_FALSE(saved);
  const std::string named = platform::NarrowFromPath(std::filesystem::path("missing") / "Parvex.dat");
  EXPECT_NE(saved.reason().find(named), std::string::npos) << saved.reason();
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
  SettingsFile s;
  const Status saved = SaveSettingsFile(file, s);
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(saved);
  // No stale or partial settings stay behind: the converter refuses to run
  // rather than convert with settings the user did not save.
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}
#endif

TEST(SettingsFile, RoundTripKeepsEveryLine) {
  TempFolder dir;
  SettingsFile s;
  s.WindowLeft = -20;
  s.Destination = DestinationChoice::GivenFolder;
  s.GivenFolder = u"/data/図面";
  s.DxfVersionIndex = 2;
  s.OutputSpaceIndex = 2;
  s.BaseLayerGroupIndex = -1;
  s.OdaConverterPath = u"/usr/bin/ODAFileConverter";
  s.ExpandEmbeddedText = false;
  s.JwCadFolder = u"c:\\jww\\";
  s.PrintableHeight = 287.5;
  ASSERT_TRUE(SaveSettingsFile(dir / "Parvex.dat", s));
  Result<SettingsFile> back = ReadSettingsFile(dir / "Parvex.dat", LauncherDefaults());
  ASSERT_TRUE(back);
  EXPECT_EQ(back->WindowLeft, -20);
  EXPECT_EQ(back->Destination, DestinationChoice::GivenFolder);
  EXPECT_EQ(back->GivenFolder, s.GivenFolder);
  EXPECT_EQ(back->OutputSpaceIndex, 2);
  EXPECT_EQ(back->BaseLayerGroupIndex, -1);
  EXPECT_EQ(back->OdaConverterPath, s.OdaConverterPath);
  EXPECT_FALSE(back->ExpandEmbeddedText);
  EXPECT_EQ(back->JwCadFolder, u"c:\\jww\\");
  EXPECT_EQ(back->PrinterPaperWidth, 420);
  EXPECT_EQ(back->PrintableHeight, 287.5);
}

TEST(SettingsFile, RadioButtonsLastTrueWinsAndAllFalseLeavesNone) {
  TempFolder dir;
  auto lines = Lines();
  lines[4] = u"1";
  lines[6] = u"TRUE";
  dir.Write("a.dat", DatFile(lines));
  EXPECT_EQ(ReadSettingsFile(dir / "a.dat", LauncherDefaults())->Destination,
            DestinationChoice::SourceFolder);
  lines[4] = lines[6] = u"0";
  dir.Write("b.dat", DatFile(lines));
  EXPECT_EQ(ReadSettingsFile(dir / "b.dat", LauncherDefaults())->Destination, std::nullopt);
  // Every destination written as one true line and read back.
  for (int k = 0; k < 5; ++k) {
    SettingsFile s;
    s.Destination = static_cast<DestinationChoice>(k);
    ASSERT_TRUE(SaveSettingsFile(dir / "c.dat", s));
    EXPECT_EQ(ReadSettingsFile(dir / "c.dat", LauncherDefaults())->Destination, s.Destination);
  }
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
    Result<SettingsFile> f = ReadSettingsFile(dir / "Parvex.dat", ConverterDefaults());
    ASSERT_TRUE(f);
    EXPECT_EQ(f->ExpandEmbeddedText, c.expected) << platform::ToUtf8(c.line23);
  }
}

TEST(SettingsFile, ShortEmptyAndCodePageFiles) {
  TempFolder dir;
  // Line 18 empty reads as group 0 in both programs.
  auto lines = Lines();
  lines[18] = u"";
  dir.Write("empty18.dat", DatFile(lines));
  Result<SettingsFile> conv = ReadSettingsFile(dir / "empty18.dat", ConverterDefaults());
  Result<SettingsFile> launch = ReadSettingsFile(dir / "empty18.dat", LauncherDefaults());
  ASSERT_TRUE(conv && launch);
  EXPECT_EQ(ToConversionSettings(*conv)->BaseLayerGroup, 0);
  EXPECT_EQ(launch->BaseLayerGroupIndex, 0);

  // Without line 20 the converter's empty default clamps to 0.001 while the
  // launcher shows 0.5; missing lines keep defaults.
  dir.Write("short.dat", DatFile({u"1", u"2", u"3"}));
  conv = ReadSettingsFile(dir / "short.dat", ConverterDefaults());
  launch = ReadSettingsFile(dir / "short.dat", LauncherDefaults());
  ASSERT_TRUE(conv && launch);
  EXPECT_EQ(conv->WindowWidth, 3);
  EXPECT_EQ(conv->WindowHeight, 480);
  EXPECT_EQ(launch->WindowHeight, 510);
  EXPECT_EQ(conv->AskedFolder, u"/p/");
  EXPECT_DOUBLE_EQ(ToConversionSettings(*conv)->PointRadius, 0.001);
  EXPECT_EQ(launch->PointRadiusText, u"0.5");
  EXPECT_EQ(launch->AskedFolder, u"/l/");
  EXPECT_TRUE(conv->ExpandEmbeddedText);

  // No byte-order mark: code page 932.
  std::string cp932 = DatFile(Lines());
  cp932.replace(cp932.find("0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n"), 10,
                "0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n\x90\x7D\r\n");
  dir.Write("sjis.dat", cp932.substr(3));
  conv = ReadSettingsFile(dir / "sjis.dat", ConverterDefaults());
  ASSERT_TRUE(conv);
  EXPECT_EQ(conv->GivenFolder, u"図");

  // A missing file is reported, naming it.
  conv = ReadSettingsFile(dir / "none.dat", ConverterDefaults());
  ASSERT_FALSE(conv);
  EXPECT_NE(conv.reason().find("none.dat"), std::string::npos) << conv.reason();
}

TEST(SettingsFile, ConverterClamps) {
  constexpr int kMax = 2147483647;
  // Lines 15 to 19, 30 and 20, then the printer paper width.
  struct Case {
    int colorLine, namesLine, spaceLine, groupLine, pointLine, styleLine;
    std::u16string radiusLine;
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
    SettingsFile f = ConverterDefaults();
    f.DxfVersionIndex = 1;
    f.ColorModeIndex = c.colorLine;
    f.LayerNameTypeIndex = c.namesLine;
    f.OutputSpaceIndex = c.spaceLine;
    f.BaseLayerGroupIndex = c.groupLine;
    f.PointConversionIndex = c.pointLine;
    f.TextStyleModeIndex = c.styleLine;
    f.PointRadiusText = c.radiusLine;
    f.PrinterPaperWidth = c.paperWidth;
    Result<ConversionSettings> read = ToConversionSettings(f);
    ASSERT_TRUE(read) << read.reason();
    const ConversionSettings& s = *read;
    EXPECT_EQ(SettingNumber(s.DxfVersion), 1);
    EXPECT_EQ(SettingNumber(s.ColorMode), c.colors) << c.colorLine;
    EXPECT_EQ(SettingNumber(s.LayerNameType), c.names) << c.namesLine;
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
    SettingsFile f = ConverterDefaults();
    f.DxfVersionIndex = version;
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
