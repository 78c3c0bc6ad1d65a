// parvex-cli convert -j N: several drawings at a time give the files,
// names and result lines of one at a time.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "common/platform/files.h"
#include "tests/support/jww_writer.h"
#include "tests/support/program_run.h"
#include "tests/support/stress_drawings.h"
#include "tests/support/temp_folder.h"

namespace parvex::testing {
namespace {

namespace fs = std::filesystem;

std::map<std::string, std::string> FilesIn(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const fs::directory_entry& e : fs::directory_iterator(folder)) {
    std::ifstream in(e.path(), std::ios::binary);
    files[e.path().filename().string()] = {std::istreambuf_iterator<char>(in), {}};
  }
  return files;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
  return text;
}

// Sources that compete for names across folders, one that fails before two
// that want its name, a source whose own name is a branch name of another,
// one given twice, and drawings large enough to overlap in time.
TEST(CliConvertJobs, SameFilesNamesAndLinesAsOneAtATime) {
  const fs::path cli = BuiltProgram("parvex-cli");
  ASSERT_TRUE(fs::exists(cli));
  TempFolder in, logs;
  std::vector<std::string> sources;
  auto add = [&](const std::string& name, const std::string& bytes) {
    const fs::path p = in / name;
    fs::create_directories(p.parent_path());
    ASSERT_TRUE(SaveBytes(p, bytes));
    sources.push_back(platform::NarrowFromPath(p));
  };
  add("a/plan.jww", "not a drawing");
  add("b/plan.jww", WriteJww(ManyLinesDrawing(3000)));
  add("c/plan~1.jww", WriteJww(ManyLinesDrawing(5)));
  sources.push_back(platform::NarrowFromPath(in / "b" / "plan.jww"));
  add("d/PLAN.jww", WriteJww(ManyLinesDrawing(7)));
  for (int k = 0; k < 6; ++k) {
    add("e/sheet" + std::to_string(k) + ".jww", WriteJww(ManyLinesDrawing(2000 * (6 - k))));
  }

  TempFolder outOne;
  std::vector<std::string> args = {"convert", "-j", "1", "--dxf", "2000", "-o",
                                   platform::NarrowFromPath(outOne.Path())};
  args.insert(args.end(), sources.begin(), sources.end());
  const Outcome one = ProgramRun(cli, args, logs.Path(), 0).Wait();
  EXPECT_EQ(one.status, 1) << one.err;  // a/plan.jww fails
  const std::map<std::string, std::string> oneFiles = FilesIn(outOne.Path());
#ifdef _WIN32
  // Names that differ only in case are one name on Windows.
  const char* const kPlanUpper = "PLAN~3.dxf";
#else
  const char* const kPlanUpper = "PLAN.dxf";
#endif
  for (const char* name : {"plan.dxf", "plan~1.dxf", "plan~2.dxf", kPlanUpper, "sheet5.dxf"}) {
    EXPECT_TRUE(oneFiles.contains(name)) << name;
  }
  EXPECT_EQ(oneFiles.size(), 10u);

  for (const char* jobs : {"2", "4", "16"}) {
    SCOPED_TRACE(jobs);
    TempFolder out;
    args[2] = jobs;
    args[6] = platform::NarrowFromPath(out.Path());
    const Outcome many = ProgramRun(cli, args, logs.Path(), 1).Wait();
    EXPECT_EQ(many.status, one.status);
    EXPECT_EQ(Replace(many.out, platform::NarrowFromPath(out.Path()), "OUT"),
              Replace(one.out, platform::NarrowFromPath(outOne.Path()), "OUT"));
    EXPECT_TRUE(FilesIn(out.Path()) == oneFiles);
  }
}

TEST(CliConvertJobs, RejectsAJobCountOutOfRange) {
  const fs::path cli = BuiltProgram("parvex-cli");
  TempFolder logs;
  for (const char* jobs : {"0", "-1", "65", "two", ""}) {
    SCOPED_TRACE(jobs);
    const Outcome o =
        ProgramRun(cli, {"convert", "--jobs", jobs, "x.jww"}, logs.Path(), 0).Wait();
    EXPECT_EQ(o.status, 2);
    EXPECT_NE(o.err.find("for --jobs"), std::string::npos) << o.err;
  }
}

}  // namespace
}  // namespace parvex::testing
