// An overlay's logic without a window: a platform that records what the overlay asks of the
// window, pictures of known sizes by file name, and a canvas that records the drawing.
#include "modules/qpad_calibration/overlay_scene.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "modules/qpad_calibration/data_folder.h"

namespace qpadcal {
namespace {

struct FakePicture : OverlayPicture {
  FakePicture(std::wstring p, int w, int h) : path(std::move(p)), width(w), height(h) {}
  int Width() const override { return width; }
  int Height() const override { return height; }
  std::wstring path;
  int width, height;
};

struct FakeStyle : OverlayTextStyle {
  std::wstring font;
  float points = 0;
  Rgb colour;
};

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

std::string RectText(const IntRect& r) {
  return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.width) + "x" +
         std::to_string(r.height);
}

class FakePlatform : public OverlayPlatform {
 public:
  std::wstring Widen(std::string_view bytes) const override {
    return std::wstring(bytes.begin(), bytes.end());
  }
  std::unique_ptr<OverlayPicture> LoadPicture(const std::wstring& path) override {
    if (failLoads) throw std::bad_alloc();
    const std::string name = Narrow(path).substr(Narrow(path).rfind('\\') + 1);
    auto size = sizes.find(name);
    calls.push_back("load " + Narrow(path));
    return std::make_unique<FakePicture>(path, size == sizes.end() ? 0 : size->second.first,
                                         size == sizes.end() ? 0 : size->second.second);
  }
  std::unique_ptr<OverlayTextStyle> MakeTextStyle(const std::wstring& font, float points,
                                                  Rgb colour) override {
    auto s = std::make_unique<FakeStyle>();
    s->font = font;
    s->points = points;
    s->colour = colour;
    return s;
  }
  IntRect FitClientArea(int width, int height) override {
    calls.push_back("fit " + std::to_string(width) + "x" + std::to_string(height));
    // As a window that cannot be narrower than its caption needs.
    return {clientOrigin.x, clientOrigin.y, std::max(width, minimumWidth), height};
  }
  void Invalidate(const IntRect& rect, bool erase) override {
    calls.push_back("invalidate " + RectText(rect) + (erase ? " erase" : ""));
  }
  void InvalidateAll(bool erase) override {
    calls.push_back(std::string("invalidate all") + (erase ? " erase" : ""));
  }
  void Show() override { calls.push_back("show"); }

  std::string TakeCalls() {
    std::string out;
    for (const auto& c : calls) out += c + ";";
    calls.clear();
    return out;
  }

  std::map<std::string, std::pair<int, int>> sizes{{"bg.png", {200, 120}},
                                                   {"knob.png", {20, 10}},
                                                   {"mark.png", {8, 6}},
                                                   {"narrow.png", {60, 40}}};
  IntRect clientOrigin;
  int minimumWidth = 106;
  bool failLoads = false;
  std::vector<std::string> calls;
};

class RecordingCanvas : public OverlayCanvas {
 public:
  void DrawPicture(const OverlayPicture& picture, const IntRect& rect) override {
    const auto& p = static_cast<const FakePicture&>(picture);
    const std::string path = Narrow(p.path);
    drawn += "picture " + path.substr(path.rfind('\\') + 1) + " " + RectText(rect) + ";";
  }
  void DrawText(const std::wstring& text, const OverlayTextStyle&, const FloatRect& r) override {
    drawn += "text " + Narrow(text) + " " + std::to_string(static_cast<int>(r.x)) + "," +
             std::to_string(static_cast<int>(r.y)) + ";";
  }
  std::string drawn;
};

class Scene : public ::testing::Test {
 protected:
  FakePlatform platform_;
  IdCounters ids_;
  OverlayScene scene_{"E:\\cab\\data", platform_, ids_};

  std::string Drawn() const {
    RecordingCanvas canvas;
    scene_.Draw(canvas);
    return canvas.drawn;
  }
  int AddText(OverlayScene& s, const char* text) {
    return s.ModifyTextBlock(kNewId, text, 0, 0, 10, 10, 0, 0, 0, "Arial", 10);
  }
};

TEST(DataFolder, IsThePathCutAtItsLastSeparator) {
  const struct {
    const char* path;
    const char* folder;
  } cases[] = {
      {"E:\\cab\\data\\script.txt", "E:\\cab\\data"},
      {"cab/data/x", "cab/data"},
      {"script.txt", "script.txt"},
      {"C:\\a/b", "C:"},  // a backslash anywhere wins over a later slash
      {"dir\\", "dir"},
      {"\\", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    std::string path = c.path;
    CutAtLastSeparator(path);
    EXPECT_EQ(path, c.folder) << c.path;
  }
}

TEST(DataFolder, PicturePathsHaveNoLengthLimit) {
  const std::string folder(300, 'f'), file(300, 'n');
  EXPECT_EQ(PicturePath(folder, file), folder + "\\" + file);
  EXPECT_EQ(PicturePath("E:\\cab", "bg.png"), "E:\\cab\\bg.png");
}

TEST_F(Scene, TheBackgroundSizesTheWindowAndTheControlSitsOnIt) {
  platform_.clientOrigin = {3, 4, 0, 0};
  EXPECT_EQ(scene_.AddBackgroundAndControlImages("bg.png", "knob.png", 30, 40), 1);
  EXPECT_EQ(platform_.TakeCalls(),
            "load E:\\cab\\data\\bg.png;fit 200x120;load E:\\cab\\data\\knob.png;show;"
            "invalidate all erase;");
  EXPECT_EQ(RectText(scene_.backgroundRect()), "3,4 200x120");
  EXPECT_EQ(RectText(scene_.controlRect()), "33,44 20x10");
}

TEST_F(Scene, ABackgroundNarrowerThanTheWindowIsNotStretched) {
  scene_.AddBackgroundAndControlImages("narrow.png", "knob.png", 0, 0);
  EXPECT_EQ(RectText(scene_.backgroundRect()), "0,0 60x40");
}

TEST_F(Scene, PicturesThatCannotBeLoadedCountAsEmpty) {
  EXPECT_EQ(scene_.AddBackgroundAndControlImages("missing.png", "gone.png", 5, 6), 1);
  EXPECT_EQ(RectText(scene_.backgroundRect()), "0,0 0x0");
  EXPECT_EQ(RectText(scene_.controlRect()), "5,6 0x0");
  EXPECT_EQ(scene_.ModifyImage(kNewId, "gone.png", 1, 1), 0);
  EXPECT_EQ(RectText(scene_.images()[0].rect), "1,1 0x0");
}

TEST_F(Scene, MovingTheControlRedrawsOnlyItsOldAndNewPlace) {
  scene_.AddBackgroundAndControlImages("bg.png", "knob.png", 30, 40);
  platform_.TakeCalls();
  EXPECT_EQ(scene_.MoveControlImage(100, 50), 1);
  EXPECT_EQ(platform_.TakeCalls(), "invalidate 30,40 20x10;invalidate 100,50 20x10;");
  EXPECT_EQ(RectText(scene_.controlRect()), "100,50 20x10");
}

TEST_F(Scene, IdsCountFromZeroPerKindAndAreSharedByAllOverlays) {
  FakePlatform otherPlatform;
  OverlayScene other("F:\\x", otherPlatform, ids_);
  EXPECT_EQ(AddText(scene_, "a"), 0);
  EXPECT_EQ(AddText(scene_, "b"), 1);
  EXPECT_EQ(scene_.ModifyImage(kNewId, "mark.png", 0, 0), 0);
  EXPECT_EQ(AddText(other, "c"), 2);
  EXPECT_EQ(other.ModifyImage(kNewId, "mark.png", 0, 0), 1);
  // An id that no record has makes a new record with the next id.
  EXPECT_EQ(scene_.ModifyTextBlock(7, "d", 0, 0, 1, 1, 0, 0, 0, "Arial", 9), 3);
  EXPECT_EQ(scene_.ModifyImage(1, "mark.png", 0, 0), 2);  // id 1 is the other overlay's
}

TEST_F(Scene, ModifyingAnImageReplacesItInPlace) {
  scene_.AddBackgroundAndControlImages("bg.png", "knob.png", 0, 0);
  scene_.ModifyImage(kNewId, "mark.png", 1, 2);
  scene_.ModifyImage(kNewId, "mark.png", 3, 4);
  platform_.TakeCalls();
  EXPECT_EQ(scene_.ModifyImage(0, "knob.png", 50, 60), 0);
  EXPECT_EQ(platform_.TakeCalls(), "load E:\\cab\\data\\knob.png;invalidate all erase;");
  ASSERT_EQ(scene_.images().size(), 2u);
  EXPECT_EQ(RectText(scene_.images()[0].rect), "50,60 20x10");
  EXPECT_EQ(scene_.images()[1].id, 1);
  EXPECT_EQ(ids_.nextImage, 2);
}

TEST_F(Scene, DeletingKeepsTheOrderOfTheRestAndAnUnknownIdChangesNothing) {
  for (int i = 0; i < 3; ++i) scene_.ModifyImage(kNewId, "mark.png", i, 0);
  for (const char* t : {"a", "b", "c"}) AddText(scene_, t);
  platform_.TakeCalls();
  EXPECT_EQ(scene_.DeleteImage(9), kNotFound);
  EXPECT_EQ(scene_.DeleteTextBlock(-1), kNotFound);
  EXPECT_EQ(platform_.TakeCalls(), "");
  EXPECT_EQ(scene_.DeleteImage(1), 1);
  EXPECT_EQ(scene_.DeleteTextBlock(0), 0);
  EXPECT_EQ(platform_.TakeCalls(), "invalidate all erase;invalidate all erase;");
  EXPECT_EQ(Drawn(), "picture mark.png 0,0 8x6;picture mark.png 2,0 8x6;text b 0,0;text c 0,0;");
  EXPECT_EQ(scene_.DeleteImage(1), kNotFound);  // gone now
}

TEST_F(Scene, TextBlocksTakeTheirPlaceOnTheBackgroundTheLowColourBytesAndTheFont) {
  platform_.clientOrigin = {2, 3, 0, 0};
  scene_.AddBackgroundAndControlImages("bg.png", "knob.png", 0, 0);
  platform_.TakeCalls();
  EXPECT_EQ(scene_.ModifyTextBlock(kNewId, "Throttle", 10, 20, 150, 30, 0x1FF, -1, 256,
                                   "No Such Font", 14),
            0);
  EXPECT_EQ(platform_.TakeCalls(), "invalidate all erase;");
  const TextBlock& block = scene_.textBlocks().at(0);
  EXPECT_EQ(Narrow(block.text), "Throttle");
  EXPECT_EQ(block.layout.x, 12.0f);
  EXPECT_EQ(block.layout.y, 23.0f);
  EXPECT_EQ(block.layout.width, 150.0f);
  EXPECT_EQ(block.layout.height, 30.0f);
  const auto& style = static_cast<const FakeStyle&>(*block.style);
  EXPECT_EQ(Narrow(style.font), "No Such Font");
  EXPECT_EQ(style.points, 14.0f);
  EXPECT_EQ(style.colour.red, 0xFF);
  EXPECT_EQ(style.colour.green, 0xFF);
  EXPECT_EQ(style.colour.blue, 0x00);

  EXPECT_EQ(scene_.ModifyTextBlock(0, "Brake", 0, 0, 5, 5, 1, 2, 3, "Arial", 8), 0);
  EXPECT_EQ(Narrow(scene_.textBlocks().at(0).text), "Brake");
  EXPECT_EQ(scene_.textBlocks().size(), 1u);
}

TEST_F(Scene, DrawsPicturesUnderTextInTheirOrder) {
  AddText(scene_, "first");
  scene_.ModifyImage(kNewId, "mark.png", 1, 1);
  EXPECT_EQ(Drawn(), "picture mark.png 1,1 8x6;text first 0,0;");  // no background yet
  scene_.AddBackgroundAndControlImages("bg.png", "knob.png", 5, 5);
  AddText(scene_, "second");
  scene_.ModifyImage(kNewId, "knob.png", 2, 2);
  EXPECT_EQ(Drawn(),
            "picture bg.png 0,0 200x120;picture knob.png 5,5 20x10;picture mark.png 1,1 8x6;"
            "picture knob.png 2,2 20x10;text first 0,0;text second 0,0;");
}

TEST_F(Scene, AFailedLoadLeavesNoHalfMadeRecord) {
  platform_.failLoads = true;
  EXPECT_THROW(scene_.ModifyImage(kNewId, "mark.png", 0, 0), std::bad_alloc);
  EXPECT_TRUE(scene_.images().empty());
  EXPECT_EQ(ids_.nextImage, 0);
}

}  // namespace
}  // namespace qpadcal
