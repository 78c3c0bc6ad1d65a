// Shared fixture of the conversion tests: drawings built in memory, written
// as JWW/JWS files by the test writer, converted through the same entry the
// command line uses, and read back.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/conversion_settings.h"
#include "converter/jww/jws_data.h"
#include "converter/jww/jww_data.h"
#include "tests/dxfaudit/dxf_pairs.h"
#include "tests/support/temp_folder.h"

namespace parvex::testing {

inline constexpr const char* kVersionNames[] = {"R12", "2000", "2007"};

// A JWW drawing of version 600 on A3 paper whose pen colours are the
// Windows RGB values below (background white).
TJwwData MakeColouredDrawing();
inline constexpr int32_t kPenRed = 0x0000FF;    // pen 1 -> ACI 1
inline constexpr int32_t kPenGreen = 0x00FF00;  // pen 2 -> ACI 3
inline constexpr int32_t kPenBlue = 0xFF0000;   // pen 3 -> ACI 5

TEntJwwLine Line(const TEntJwwAttr& a, double x1, double y1, double x2, double y2);
TEntJwwMoji Text(const TEntJwwAttr& a, double x1, double y1, double x2, double y2,
                 std::u16string str, uint32_t kind = 1, double w = 3, double h = 4);

// Default settings of the launcher with the DXF version set.
ConversionSettings SettingsFor(int version);

class ConversionTest : public ::testing::Test {
 protected:

  std::filesystem::path Save(const TJwwData& d, const std::string& name);
  std::filesystem::path Save(const TJwsData& d, const std::string& name);
  // Converts `source` into the test folder; fails the test when the
  // conversion fails.
  std::filesystem::path Convert(const std::filesystem::path& source,
                                const ConversionSettings& settings, const std::string& name);
  // Converts and reads back the pairs; also requires a clean ezdxf audit.
  DxfPairs ConvertAndRead(const TJwwData& d, const ConversionSettings& settings);

  const TempFolder folder_;
  const std::filesystem::path dir_ = folder_.Path();
  int serial_ = 0;
};

}  // namespace parvex::testing
