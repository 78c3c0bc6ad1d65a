// Images end to end: image texts of a drawing (carried images, a full path,
// a name beside the drawing) become IMAGE entities whose definitions name
// copies beside the DXF file, read back by ezdxf.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "common/platform/private_folders.h"
#include "common/platform/process_info.h"
#include "conversion_fixture.h"
#include "converter/app/drawing_conversion.h"
#include "converter/mapping/image_pixel_size.h"
#include "tests/dxfaudit/dxf_audit.h"
#include "tests/support/image_files.h"
#include "tests/support/jww_writer.h"
#include "tests/support/stress_drawings.h"

namespace parvex::testing {
namespace {

namespace fs = std::filesystem;

TEntJwwMoji ImageText(const TEntJwwAttr& a, double x, double y, const std::u16string& text) {
  return Text(a, x, y, x + 50, y, text);
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

std::vector<std::string> FilesIn(const fs::path& folder) {
  std::vector<std::string> out;
  for (const auto& e : fs::directory_iterator(folder)) out.push_back(e.path().filename().string());
  return Sorted(out);
}

// No private image folder of this process is left in the system's
// temporary folder.
void ExpectNoUnpackedImagesLeft() {
  const std::string mine = "parvex-" + std::to_string(platform::CurrentProcessId()) + "-";
  for (const auto& e : fs::directory_iterator(platform::SystemTempFolder())) {
    EXPECT_FALSE(e.path().filename().string().starts_with(mine)) << e.path();
  }
}

class ImageConversion : public ConversionTest {
 protected:
  void SetUp() override {
    fs::create_directories(drawingDir_);
    fs::create_directories(elsewhere_);
    photo_ = PngImage(400, 300);
    scan_ = BmpImage(64, 32);
    logo_ = PngImage(20, 10);
    map_ = BmpImage(30, 40, true);
    std::ofstream(elsewhere_ / "logo.png", std::ios::binary) << logo_;
    std::ofstream(drawingDir_ / "map.bmp", std::ios::binary) << map_;
    std::ofstream(drawingDir_ / "notes.png") << "not an image";
  }

  // A drawing that carries photo.png and scan.bmp (gzip) and names:
  // photo twice (top level, in an inserted block), the carried scan, logo
  // by its full path and again by a relative name that leaves the
  // drawing's folder, map beside the drawing (auxiliary colour), and
  // several names that give no image.
  fs::path Drawing() {
    TJwwData d = MakeColouredDrawing();
    d.Enthd.jwVer = 700;
    const TEntJwwAttr a = Attr(0, 1, 1, 1);
    AddEntity(d, ImageText(a, 10, 20, u"^@BM%temp%photo.png,100,75,0,0,1,0"));
    AddEntity(d, ImageText(a, -100, -50, u"^@BM%TEMP%\\Scan.BMP,64,32,0,0,1,30"));
    AddEntity(d, ImageText(a, 0, 0, u"^@BM" + (elsewhere_ / "logo.png").u16string() + u",20,10"));
    AddEntity(d, ImageText(Attr(0, 1, 9, 1), 50, 50, u"^@BMmap.bmp,30,40,0,0,1,0"));
    // The logo once more, by a name with folder parts beside the drawing.
    AddEntity(d, ImageText(a, 30, 30, u"^@BM..\\elsewhere\\logo.png,40,10"));
    AddEntity(d, ImageText(a, 60, 60, u"^@BM%temp%nothere.png,10,10"));
    AddEntity(d, ImageText(a, 70, 70, u"^@BMgone.png,10,10"));
    AddEntity(d, ImageText(a, 80, 80, u"^@BMnotes.png,10,10"));
    AddEntity(d, ImageText(a, 90, 90, u"^@BM%temp%..\\map.bmp,10,10"));
    AddEntity(d, ImageText(a, 100, 100, u"^@BMphoto.png"));  // no comma: a text
    AddEntity(d, Line(a, 0, 0, 10, 0));
    TEntJwwBlockDef def;
    def.att = Attr(0, 0);
    def.nNumber = 1;
    def.strName = u"PICS";
    AddMember(def, ImageText(a, 0, 0, u"^@BM%temp%photo.png,50,1,0,0,1,0"));
    AddInsertedDefinition(d, std::move(def));
    JwwWriteOptions options;
    options.images = {{u"photo.png", photo_, -1}, {u"scan.bmp.gz", Gzip(scan_), -1}};
    const fs::path p = drawingDir_ / "plan.jww";
    EXPECT_TRUE(SaveBytes(p, WriteJww(d, options)));
    return p;
  }

  const fs::path drawingDir_ = dir_ / "drawing";
  const fs::path elsewhere_ = dir_ / "elsewhere";
  std::string photo_, scan_, logo_, map_;
};

const AuditedImage* ImageAt(const DxfAuditReport& r, double x, double y) {
  for (const AuditedImage& im : r.images) {
    if (std::abs(im.x - x) < 1e-9 && std::abs(im.y - y) < 1e-9) return &im;
  }
  return nullptr;
}

TEST_F(ImageConversion, ImagesNameCopiesBesideTheDxf) {
  const fs::path source = Drawing();
  for (int version : {1, 2}) {
    SCOPED_TRACE(kVersionNames[version]);
    const fs::path out = dir_ / ("out" + std::string(kVersionNames[version]));
    fs::create_directories(out);
    std::ofstream(out / "photo.png") << "older";  // the copy of photo gets "_1"
    const fs::path dxf = out / "plan.dxf";
    const Status result = ConvertDrawing(SettingsFor(version), source, dxf);
    ASSERT_TRUE(result.ok()) << result.reason();
    const DxfAuditReport r = AuditDxf(dxf);
    EXPECT_TRUE(r.Clean()) << r.Describe();

    EXPECT_EQ(FilesIn(out), Sorted({"logo.png", "map.bmp", "photo.png", "photo_1.png", "plan.dxf",
                                   "scan.bmp"}));
    EXPECT_EQ(TempFolder::Read(out / "photo.png"), "older");
    EXPECT_EQ(TempFolder::Read(out / "photo_1.png"), photo_);
    EXPECT_EQ(TempFolder::Read(out / "scan.bmp"), scan_);
    EXPECT_EQ(TempFolder::Read(out / "logo.png"), logo_);
    EXPECT_EQ(TempFolder::Read(out / "map.bmp"), map_);
    EXPECT_EQ(Sorted(r.image_defs), Sorted({"logo.png", "map.bmp", "photo_1.png", "scan.bmp"}));
    EXPECT_EQ(r.objects.at("IMAGEDEF_REACTOR"), 6);
    // Folder parts in a name never place a copy anywhere but beside the DXF.
    EXPECT_EQ(FilesIn(drawingDir_), Sorted({"map.bmp", "notes.png", "plan.jww"}));
    EXPECT_EQ(FilesIn(elsewhere_), std::vector<std::string>{"logo.png"});

    // Every IMAGE's definition names a copy whose header gives the pixels
    // of the IMAGE and of the definition.
    ASSERT_EQ(r.images.size(), 6u);
    for (const AuditedImage& im : r.images) {
      SCOPED_TRACE(im.file);
      const auto pixels = ReadImagePixelSize(out / im.file);
      ASSERT_TRUE(pixels);
      EXPECT_EQ(pixels->Width, im.pixelsX);
      EXPECT_EQ(pixels->Height, im.pixelsY);
      EXPECT_EQ(im.defPixelsX, im.pixelsX);
      EXPECT_EQ(im.defPixelsY, im.pixelsY);
    }
    // Placement on A3 (offset 210, 148.5): the height follows the
    // bitmap's proportions, whatever the text says.
    const AuditedImage* photo = ImageAt(r, 220, 168.5);
    ASSERT_NE(photo, nullptr);
    EXPECT_EQ(photo->container, "Model");
    EXPECT_EQ(photo->file, "photo_1.png");
    EXPECT_NEAR(photo->width, 100, 1e-9);
    EXPECT_NEAR(photo->height, 75, 1e-9);
    const AuditedImage* scan = ImageAt(r, 110, 98.5);
    ASSERT_NE(scan, nullptr);
    EXPECT_EQ(scan->file, "scan.bmp");
    EXPECT_NEAR(scan->width, 64, 1e-9);
    EXPECT_NEAR(scan->height, 32, 1e-9);
    EXPECT_NEAR(scan->rotation, 30, 1e-9);
    const AuditedImage* logo = ImageAt(r, 210, 148.5);
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->file, "logo.png");
    // The same file reached by another name shares the logo's definition.
    const AuditedImage* logoAgain = ImageAt(r, 240, 178.5);
    ASSERT_NE(logoAgain, nullptr);
    EXPECT_EQ(logoAgain->file, "logo.png");
    EXPECT_NEAR(logoAgain->height, 20, 1e-9);
    const AuditedImage* map = ImageAt(r, 260, 198.5);
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->file, "map.bmp");
    EXPECT_NEAR(map->height, 40, 1e-9);
    // The auxiliary colour does not send an image to "HOJO".
    EXPECT_EQ(map->layer, logo->layer);
    // The block's photo shares the one definition of photo.
    const AuditedImage* inBlock = ImageAt(r, 0, 0);
    ASSERT_NE(inBlock, nullptr);
    EXPECT_EQ(inBlock->container, "PICS");
    EXPECT_EQ(inBlock->file, "photo_1.png");
    EXPECT_NEAR(inBlock->height, 37.5, 1e-9);

    EXPECT_EQ(r.texts, std::vector<std::string>{"^@BMphoto.png"});
    ExpectNoUnpackedImagesLeft();
  }
}

TEST_F(ImageConversion, R12HasNoImagesAndCopiesNothing) {
  const fs::path out = dir_ / "outR12";
  fs::create_directories(out);
  const fs::path dxf = out / "plan.dxf";
  const Status result = ConvertDrawing(SettingsFor(0), Drawing(), dxf);
  ASSERT_TRUE(result.ok()) << result.reason();
  const DxfAuditReport r = AuditDxf(dxf);
  EXPECT_TRUE(r.Clean()) << r.Describe();
  EXPECT_TRUE(r.images.empty());
  EXPECT_EQ(r.entities.count("IMAGE"), 0u);
  EXPECT_EQ(FilesIn(out), std::vector<std::string>{"plan.dxf"});
  ExpectNoUnpackedImagesLeft();
}

}  // namespace
}  // namespace parvex::testing
