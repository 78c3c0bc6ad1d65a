#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "common/platform/output_files.h"
#include "converter/dxf/dxf_model.h"
#include "common/platform/files.h"
#include "tests/support/temp_folder.h"

namespace parvex {
namespace fs = std::filesystem;
namespace {

class SaveFile : public ::testing::Test {
 protected:
  static std::string Read(const fs::path& p) { return testing::TempFolder::Read(p); }
  static void Write(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
  }
  const testing::TempFolder folder;
  const fs::path dir = folder.Path();
};

TEST_F(SaveFile, WritesANewFile) {
  TDXFmodel m;
  m.SetDXFVer(DxfVersion::R2000, OutputSpace::Model);
  m.SetAppName(u"app");
  const fs::path dst = dir / "out.dxf";
  ASSERT_TRUE(m.SaveDXF(dir / "missing.jww", dst));
  const std::string bytes = Read(dst);
  EXPECT_EQ(bytes.rfind("999\r\napp\r\n", 0), 0u);
  // Only the file itself is left in the folder.
  int files = 0;
  for (const fs::directory_entry& e : fs::directory_iterator(dir)) {
    EXPECT_EQ(e.path().filename(), "out.dxf");
    ++files;
  }
  EXPECT_EQ(files, 1);
  EXPECT_EQ(bytes.substr(bytes.size() - 10), "  0\r\nEOF\r\n");
}

// Each failure says why.
void ExpectFailure(const Status& saved, const std::string& reason) {
  ASSERT_FALSE(saved) << reason;
  EXPECT_NE(saved.reason().find(reason), std::string::npos) << saved.reason();
}

TEST_F(SaveFile, FailsWithoutLeavingOrTouchingFiles) {
  TDXFmodel m;
  m.SetDXFVer(DxfVersion::R2000, OutputSpace::Model);
  // A folder that does not exist.
#ifdef _WIN32
  ExpectFailure(m.SaveDXF("", dir / "nofolder" / "out.dxf"), "cannot create a file in");
#else
  ExpectFailure(m.SaveDXF("", dir / "nofolder" / "out.dxf"), std::strerror(ENOENT));
#endif
  EXPECT_FALSE(fs::exists(dir / "nofolder"));
  // An existing file is neither replaced nor removed.
  const fs::path taken = dir / "taken.dxf";
  Write(taken, "keep");
  ExpectFailure(m.SaveDXF("", taken), "already exists");
  EXPECT_EQ(Read(taken), "keep");
  // A version the writer does not know.
  m.Ver = static_cast<DxfVersion>(7);
  ExpectFailure(m.SaveDXF("", dir / "badver.dxf"), "DXF version 7");
  EXPECT_FALSE(fs::exists(dir / "badver.dxf"));
  // A folder as destination.
  m.Ver = DxfVersion::R2000;
  fs::create_directory(dir / "sub");
  ExpectFailure(m.SaveDXF("", dir / "sub"), "already exists");
  ExpectFailure(m.SaveDXF("", dir / "sub" / ""), "no file name");
  EXPECT_TRUE(fs::is_empty(dir / "sub"));
  int left = 0;
  for (const fs::directory_entry& e : fs::directory_iterator(dir)) {
    (void)e;
    ++left;
  }
  EXPECT_EQ(left, 2);  // taken.dxf and sub
}

// Someone else takes the name while the file is being written: theirs
// stays, ours goes.
TEST_F(SaveFile, NameTakenWhileWritingIsNotReplaced) {
  const fs::path dst = dir / "race.dxf";
  platform::PendingFile file;
  ASSERT_TRUE(file.Open(dst));
  ASSERT_EQ(::write(file.Fd(), "ours", 4), 4);
  EXPECT_FALSE(fs::exists(dst));
  Write(dst, "theirs");
  const Status named = file.Commit();
  ASSERT_FALSE(named);
  EXPECT_NE(named.reason().find("appeared while it was being written"), std::string::npos) << named.reason();
  EXPECT_EQ(Read(dst), "theirs");
  int files = 0;
  for (const fs::directory_entry& e : fs::directory_iterator(dir)) {
    (void)e;
    ++files;
  }
  EXPECT_EQ(files, 1);
}

#ifndef _WIN32
// The disk fills up part-way: the file size limit of a child process makes
// write(2) fail after 64 KiB. The failure says why. (Windows has no such
// limit.)
TEST_F(SaveFile, FailureMidwayRemovesThePartialFile) {
  const fs::path dst = dir / "big.dxf";
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit lim {65536, 65536};
    if (::setrlimit(RLIMIT_FSIZE, &lim) != 0) ::_exit(3);
    TDXFmodel m;
    m.SetDXFVer(DxfVersion::R2000, OutputSpace::Model);
    // The comment alone passes the limit, whatever the sections write.
    m.SetAppName(std::u16string(100000, u'c'));
    m.AddLayer(u"0", 7, 1, 0, true, true);
    for (int i = 0; i < 2000; ++i) {
      const DxfAttributes a = {.colour = 1, .ltype = 1};
      m.AddLine(kTopLevel,
                {.attr = a, .x1 = i * 0.1, .y1 = 1.0 / (i + 1), .x2 = i * 0.2, .y2 = 3.25});
      m.AddMoji(kTopLevel, {.attr = a, .x1 = 1.0 * i, .y1 = 1.0 * i, .x2 = i + 1.0, .y2 = 1.0 * i,
                            .w = 2, .h = 2, .st = u"文字列 text"});
    }
    const Status saved = m.SaveDXF("", dst);
    ::_exit(saved ? 1 : saved.reason() == std::strerror(EFBIG) ? 0 : 2);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: reported success, 2: another reason, 3: no limit";
  // Neither the file nor anything it was written through is left.
  EXPECT_TRUE(fs::is_empty(dir));
}
#endif

// Each image file is copied beside the written file under a free name,
// never over a file, and its definition names the copy it got. A file
// that cannot be copied leaves the list: no IMAGE and no definition names
// a file that does not exist.
TEST_F(SaveFile, ImageFilesAreCopiedBesideTheOutput) {
#ifdef _WIN32
  GTEST_SKIP() << "the source names hold \":\" and \"*\", which Windows names cannot";
#endif
  const fs::path src = dir / "src";
  const fs::path out = dir / "out";
  fs::create_directories(src / "other");
  fs::create_directories(out);
  Write(src / "Photo.BMP", "image-a");
  Write(src / "b.png", "image-b");
  Write(src / "other" / "b.png", "image-b2");
  Write(src / "d.dxf", "image-d");
  Write(src / "odd:na*me.png", "image-e");
  Write(out / "b.png", "older");  // the copies of b get "_1" and "_2"
  const auto u16 = [](const fs::path& p) { return p.u16string(); };
  TDXFmodel m;
  m.SetDXFVer(DxfVersion::R2000, OutputSpace::Model);
  m.AddLayer(u"0", 7, 1, 0, true, true);
  const std::u16string outFolder = u16(out) + u"/";
  for (const fs::path& f : {src / "Photo.BMP", src / "photo.bmp" /* the same file */, src / "b.png",
                            src / "other" / "b.png", src / "gone.png", src / "d.dxf",
                            src / "odd:na*me.png"}) {
    m.AddFList(u16(f), outFolder, 1, 1, 1, 1);
    m.AddImage(kTopLevel, {.ix = 1, .iy = 1, .sx = 1, .sy = 1, .fna = u16(f)});
  }
  ASSERT_EQ(m.deFListN(), 6);
  // The names planned while the list is filled.
  EXPECT_EQ(m.deFList[0].dst, outFolder + u"Photo.bmp");
  EXPECT_EQ(m.deFList[1].dst, outFolder + u"b_1.png");
  EXPECT_EQ(m.GetFList(u16(src / "B.PNG")), 1);

  ASSERT_TRUE(m.SaveDXF(src / "Photo.BMP", out / "d.dxf"));
  EXPECT_EQ(Read(out / "Photo.bmp"), "image-a");
  EXPECT_EQ(Read(out / "b.png"), "older");
  EXPECT_EQ(Read(out / "b_1.png"), "image-b");
  EXPECT_EQ(Read(out / "b_2.png"), "image-b2");
  EXPECT_EQ(Read(out / "d_1.dxf"), "image-d");  // never the written file's own name
  EXPECT_EQ(Read(out / "odd_na_me.png"), "image-e");
  EXPECT_FALSE(fs::exists(out / "gone.png"));
  EXPECT_EQ(fs::last_write_time(out / "b_1.png"), fs::last_write_time(src / "b.png"));
  ASSERT_EQ(m.deFListN(), 5);
  EXPECT_EQ(m.GetFList(u16(src / "gone.png")), -1);
  EXPECT_EQ(m.deFList[1].dst, u16(out / "b_1.png"));

  const std::string dxf = Read(out / "d.dxf");
  for (const char* name : {"Photo.bmp", "b_1.png", "b_2.png", "d_1.dxf", "odd_na_me.png"}) {
    EXPECT_NE(dxf.find(std::string("\r\n  1\r\n") + name + "\r\n"), std::string::npos) << name;
  }
  EXPECT_EQ(dxf.find("gone"), std::string::npos);
  // Six IMAGEs: the two of Photo and one of each other copied file.
  size_t images = 0;
  for (size_t at = dxf.find("  0\r\nIMAGE\r\n"); at != std::string::npos;
       at = dxf.find("  0\r\nIMAGE\r\n", at + 1)) {
    ++images;
  }
  EXPECT_EQ(images, 6u);
}

// When the file is not written after all, the copies made for it go too;
// R12, which has no images, gets none.
TEST_F(SaveFile, NoCopiesWithoutAWrittenFileWithImages) {
  Write(dir / "a.png", "image");
  for (const DxfVersion v : {static_cast<DxfVersion>(7), DxfVersion::R12}) {
    TDXFmodel m;
    m.SetDXFVer(DxfVersion::R2000, OutputSpace::Model);
    m.AddFList((dir / "a.png").u16string(), dir.u16string() + u"/", 1, 1, 1, 1);
    m.Ver = v;
    const fs::path out = dir / "out";
    fs::create_directory(out);
    EXPECT_EQ(m.SaveDXF("", out / "d.dxf").ok(), v == DxfVersion::R12);
    for (const fs::directory_entry& e : fs::directory_iterator(out)) {
      EXPECT_EQ(e.path().filename(), "d.dxf");
    }
    fs::remove_all(out);
  }
}

TEST_F(SaveFile, DatesComeFromTheSource) {
  const fs::path src = dir / "s.jww";
  Write(src, "x");
  // 2020-01-02 03:04:05 local time.
  struct tm t {};
  t.tm_year = 120;
  t.tm_mon = 0;
  t.tm_mday = 2;
  t.tm_hour = 3;
  t.tm_min = 4;
  t.tm_sec = 5;
  t.tm_isdst = -1;
  platform::FileTimes times;
  times.Access.tv_sec = times.Write.tv_sec = mktime(&t);
  ASSERT_TRUE(platform::SetFileTimes(src, times));
  TDXFmodel m;
  m.SetDXFVer(DxfVersion::R2000, OutputSpace::Model);
  ASSERT_TRUE(m.SaveDXF(src, dir / "d.dxf"));
  const std::string bytes = Read(dir / "d.dxf");
  // Julian date of 2020-01-02 is 2458850.5; plus 03:04:05.
  const double expected = 2458850.5 + (3 * 3600 + 4 * 60 + 5) / 86400.0;
  const std::size_t p = bytes.find("$TDUPDATE\r\n 40\r\n");
  ASSERT_NE(p, std::string::npos);
  EXPECT_NEAR(std::stod(bytes.substr(p + 16, 20)), expected, 1e-8);
  const std::size_t q = bytes.find("$TDUUPDATE\r\n 40\r\n");
  ASSERT_NE(q, std::string::npos);
  EXPECT_NEAR(std::stod(bytes.substr(q + 17, 20)), expected - 0.375, 1e-8);
}

}  // namespace
}  // namespace parvex
