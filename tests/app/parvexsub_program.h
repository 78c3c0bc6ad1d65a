// Runs the built ParvexSub program from a folder of its own, as the
// launcher does, optionally under resource limits or several at once.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/program_run.h"
#include "tests/support/temp_folder.h"

namespace parvex::testing {

class ParvexSubProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::path built = BuiltProgram("ParvexSub");
    ASSERT_TRUE(std::filesystem::exists(built)) << built;
    program_ = app_.Path() / built.filename();
    std::filesystem::copy_file(built, program_);
    app_.Write("Parvex.dat", "\xEF\xBB\xBF" "50\r\n50\r\n480\r\n480\r\n");
    source_ = work_.Write("plan.jww", "not a drawing");
  }

  Outcome Run(const std::vector<std::string>& args, const ProcessLimits& limits = {}) {
    return ProgramRun(program_, args, logs_.Path(), 0, limits).Wait();
  }

  // Settings file of 33 lines, all "0" but those given (0-based line, text).
  void WriteSettings(const std::vector<std::pair<int, std::string>>& lines) {
    std::vector<std::string> all(33, "0");
    for (const auto& [n, text] : lines) all[static_cast<size_t>(n)] = text;
    std::string bytes = "\xEF\xBB\xBF";
    for (const auto& l : all) bytes += l + "\r\n";
    app_.Write("Parvex.dat", bytes);
  }

  TempFolder app_;
  TempFolder work_;
  TempFolder logs_;
  std::filesystem::path program_;
  std::filesystem::path source_;
};

}  // namespace parvex::testing
