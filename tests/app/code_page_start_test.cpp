// Without code page 932 no program starts: each says why instead of
// converting Japanese text into question marks.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/program_run.h"
#include "tests/support/temp_folder.h"

namespace parvex::testing {
namespace {

namespace fs = std::filesystem;

// The environment that takes the code page away from a program.
std::vector<std::string> WithoutCodePage() {
  std::string asan = "ASAN_OPTIONS=verify_asan_link_order=0";
  if (const char* given = std::getenv("ASAN_OPTIONS")) asan += std::string(":") + given;
  return {std::string("LD_PRELOAD=") + PARVEX_NO_CP932, asan, "QT_QPA_PLATFORM=offscreen"};
}

constexpr char kReason[] = "code page 932 (Shift_JIS) cannot be converted";

TEST(CodePageStart, ConverterAndCommandLineRefuseToStart) {
  TempFolder app;
  TempFolder logs;
  const fs::path converter = app / "ParvexSub";
  fs::copy_file(fs::path(PARVEX_BIN_DIR) / "ParvexSub", converter);
  app.Write("Parvex.dat", "\xEF\xBB\xBF" "50\r\n");
  const fs::path source = app.Write("plan.jww", "JwwData.");
  const struct {
    fs::path program;
    std::vector<std::string> args;
    std::string prefix;
  } cases[] = {
      {converter, {source.string(), (app / "plan.dxf").string()}, "ParvexSub: "},
      {fs::path(PARVEX_BIN_DIR) / "parvex-cli", {"convert", source.string()}, "parvex-cli: "},
      {fs::path(PARVEX_BIN_DIR) / "parvex-cli", {"info", source.string()}, "parvex-cli: "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.program.filename().string() + " " + c.args.front());
    const Outcome o = ProgramRun(c.program, c.args, logs.Path(), 0, {}, WithoutCodePage()).Wait();
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err.rfind(c.prefix + kReason, 0), 0u) << o.err;
    EXPECT_EQ(EntriesOf(app.Path()), (std::vector<std::string>{"Parvex.dat", "ParvexSub", "plan.jww"}));
  }
}

// The launcher shows the reason in a message box and does not open its
// window; the same line goes to standard error.
TEST(CodePageStart, LauncherRefusesToStart) {
  const fs::path launcher = fs::path(PARVEX_BIN_DIR) / "Parvex";
  if (!fs::exists(launcher)) GTEST_SKIP() << "the launcher is not built";
  TempFolder app;
  TempFolder logs;
  fs::copy_file(launcher, app / "Parvex");
  ProgramRun run(app / "Parvex", {}, logs.Path(), 0, {}, WithoutCodePage());
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  const std::string line = std::string("Parvex: ") + kReason;
  std::string err;
  while (err.find(line) == std::string::npos && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    err = run.ErrorsSoFar();
  }
  EXPECT_NE(err.find(line), std::string::npos) << err;
  // The box waits for the user; the run is ended here. No settings were
  // read or written.
  EXPECT_EQ(EntriesOf(app.Path()), (std::vector<std::string>{"Parvex"}));
}

}  // namespace
}  // namespace parvex::testing
