#include "macros/model/layout_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "macros/model/macro_context.h"
#include "tests/macros/model/fake_model_events.h"
#include "tests/macros/model/model_fixture.h"

using namespace testsupport;

namespace {

std::string Rect(const RectF& r) {
  char text[64];
  std::snprintf(text, sizeof text, "%g,%g,%g,%g", r.x, r.y, r.w, r.h);
  return text;
}

// Each record as "id" + " key x,y,w,h" and/or " label x,y,w,h" for the rectangles it has.
std::vector<std::string> Describe(const std::vector<KeyRecord>& keys) {
  std::vector<std::string> out;
  for (const KeyRecord& k : keys) {
    std::string s = std::to_string(k.keyId);
    if (!(k.key == RectF{})) s += " key " + Rect(k.key);
    if (!(k.label == RectF{})) s += " label " + Rect(k.label);
    if (!k.plugin.empty()) s += " dll " + k.plugin;
    out.push_back(s);
  }
  return out;
}

std::vector<std::string> Read(const std::string& text, LayoutText* settings = nullptr) {
  std::vector<KeyRecord> keys;
  LayoutReadOptions options;
  options.layoutFolder = "C:\\Dev\\Pad\\";
  LayoutText layout = ReadLayoutText(text, options, keys);
  if (settings) *settings = layout;
  return Describe(keys);
}

using Records = std::vector<std::string>;

TEST(LayoutFile, PlacementsRowsColumnsAndRepeats) {
  const struct {
    const char* text;
    Records records;
  } cases[] = {
      {"buttonSize 40 40\nbuttonRow 10 20 5 3 1 2 3\nrepeatRow 7 4 5 6\n",
       {"1 key 10,20,40,40", "2 key 55,20,40,40", "3 key 100,20,40,40", "4 key 10,67,40,40",
        "5 key 55,67,40,40", "6 key 100,67,40,40"}},
      {"buttonSize 40 40\nbuttonColumn 10 20 5 2 1 2\nrepeatColumn 3 3 4\n",
       {"1 key 10,20,40,40", "2 key 10,65,40,40", "3 key 53,20,40,40", "4 key 53,65,40,40"}},
      // Every repeat goes one further from the last.
      {"buttonSize 10 10\nbuttonRow 0 0 0 1 1\nrepeatRow 2 2\nrepeatRow 2 3\n",
       {"1 key 0,0,10,10", "2 key 0,12,10,10", "3 key 0,24,10,10"}},
      // A label and a button line with one id make one key, in either order.
      {"buttonSize 40 40\nlabelSize 30 10\nbutton 10 10 5\nlabel 10 60 5\n",
       {"5 key 10,10,40,40 label 10,60,30,10"}},
      {"buttonSize 40 40\nlabelSize 30 10\nlabel 10 60 5\nbutton 10 10 5\n",
       {"5 key 10,10,40,40 label 10,60,30,10"}},
      // Labels step by the label size; buttons with labels by the button size.
      {"labelSize 30 10\nlabelRow 0 0 2 2 1 2\nrepeatRow 1 3 4\n",
       {"1 label 0,0,30,10", "2 label 32,0,30,10", "3 label 0,11,30,10", "4 label 32,11,30,10"}},
      {"buttonSize 40 20\nlabelSize 30 10\nlabelOffset 5 25\nbuttonLabelRow 0 0 1 2 1 2\n",
       {"1 key 0,0,40,20 label 5,25,30,10", "2 key 41,0,40,20 label 46,25,30,10"}},
      {"buttonSize 40 20\nlabelSize 30 10\nlabelOffset 5 25\nbuttonLabelColumn 0 0 1 2 1 2\n",
       {"1 key 0,0,40,20 label 5,25,30,10", "2 key 0,21,40,20 label 5,46,30,10"}},
      {"labelSize 30 10\nlabelColumn 0 0 2 2 1 2\nrepeatColumn 1 3 4\n",
       {"1 label 0,0,30,10", "2 label 0,12,30,10", "3 label 31,0,30,10", "4 label 31,12,30,10"}},
      {"buttonSize 40 20\nlabelSize 30 10\nlabelOffset 5 25\nbuttonLabel 3 4 9\n",
       {"9 key 3,4,40,20 label 8,29,30,10"}},
      // A repeatRow after a column takes the column's kind, gap and count.
      {"buttonSize 10 10\nbuttonColumn 0 0 3 2 1 2\nrepeatRow 1 3 4\n",
       {"1 key 0,0,10,10", "2 key 0,13,10,10", "3 key 0,11,10,10", "4 key 13,11,10,10"}},
      // A second placement of an id moves its first record.
      {"buttonSize 10 10\nbutton 0 0 1\nbutton 50 50 1\n", {"1 key 50,50,10,10"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Read(c.text), c.records) << c.text;
}

TEST(LayoutFile, ARepeatStepsLikeItsRowOrColumnWhateverSizesCameSince) {
  const struct {
    const char* text;
    Records records;
  } cases[] = {
      // The new keys take the new size; their places come from the row's own.
      {"buttonSize 40 40\nbuttonRow 10 20 5 3 1 2 3\nbuttonSize 20 10\nrepeatRow 7 4 5 6\n",
       {"1 key 10,20,40,40", "2 key 55,20,40,40", "3 key 100,20,40,40", "4 key 10,67,20,10",
        "5 key 55,67,20,10", "6 key 100,67,20,10"}},
      {"buttonSize 40 40\nbuttonColumn 10 20 5 2 1 2\nbuttonSize 10 20\nrepeatColumn 3 3 4\n",
       {"1 key 10,20,40,40", "2 key 10,65,40,40", "3 key 53,20,10,20", "4 key 53,65,10,20"}},
      {"labelSize 30 10\nlabelRow 0 0 2 2 1 2\nlabelSize 50 50\nrepeatRow 1 3 4\n",
       {"1 label 0,0,30,10", "2 label 32,0,30,10", "3 label 0,11,50,50", "4 label 32,11,50,50"}},
      {"buttonSize 40 20\nlabelSize 30 10\nlabelOffset 5 25\nbuttonLabelColumn 0 0 1 1 1\n"
       "buttonSize 8 8\nrepeatColumn 2 2\n",
       {"1 key 0,0,40,20 label 5,25,30,10", "2 key 42,0,8,8 label 47,25,30,10"}},
      // Repeats go on with the row's step.
      {"buttonSize 10 10\nbuttonRow 0 0 0 2 1 2\nbuttonSize 30 30\nrepeatRow 2 3 4\nrepeatRow 2 5\n",
       {"1 key 0,0,10,10", "2 key 10,0,10,10", "3 key 0,12,30,30", "4 key 10,12,30,30", "5 key 0,24,30,30"}},
      // A new row takes the size in force then.
      {"buttonSize 10 10\nbuttonRow 0 0 0 1 1\nbuttonSize 20 20\nbuttonRow 0 50 0 2 2 3\nrepeatRow 0 4\n",
       {"1 key 0,0,10,10", "2 key 0,50,20,20", "3 key 20,50,20,20", "4 key 0,70,20,20"}},
      // A repeatRow after a column: the column's gap, with the width and height its keys had.
      {"buttonSize 10 20\nbuttonColumn 0 0 3 2 1 2\nbuttonSize 50 50\nrepeatRow 1 3 4\n",
       {"1 key 0,0,10,20", "2 key 0,23,10,20", "3 key 0,21,50,50", "4 key 13,21,50,50"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Read(c.text), c.records) << c.text;
}

TEST(LayoutFile, NumbersKeyIdsCommentsAndGarbage) {
  const struct {
    const char* text;
    Records records;
  } cases[] = {
      // Key ids in every base, kept to 8 bits; sizes and positions are plain decimals.
      {"buttonSize 1 1\nbutton 0 0 0x1F\nbutton 0 0 037\nbutton 0 0 300\nbutton 0 0 -1\n",
       {"31 key 0,0,1,1", "44 key 0,0,1,1", "255 key 0,0,1,1"}},
      {"buttonSize 0x10 010\nbutton 12abc -3 0X0a\n", {"10 key 12,-3,0,10"}},
      {"buttonSize 1 1\n#button 0 0 1\n\n   \n\t# comment\n  # also 2\nbutton 0 0 2\n",
       {"2 key 0,0,1,1"}},
      // Keywords are case-sensitive; unknown ones and paperType are skipped.
      {"buttonSize 1 1\nButton 0 0 1\nbuttonrow 0 0 0 1 2\npaperType A4\nfoo 1 2 3\n", {}},
      // A count beyond the ids of its line places the ids there are; a negative count none.
      {"buttonSize 10 10\nbuttonRow 0 0 0 5 1 2\nrepeatRow 0 3\nbuttonRow 0 0 0 -2 7 8\n",
       {"1 key 0,0,10,10", "2 key 10,0,10,10", "3 key 0,10,10,10"}},
      {"buttonSize 10 10\nbuttonRow 0 0 0 1000000000 1\n", {"1 key 0,0,10,10"}},
      // Lines missing operands are skipped, whatever state they would have set.
      {"buttonSize 10\nbutton 1 2\nbuttonRow 1 2 3\nrepeatRow\nled 1 2 3\ncustomButton\n", {}},
      {"buttonSize 10 10\nbutton 0 0 3 extra tokens\n", {"3 key 0,0,10,10"}},
      // CR LF and tabs separate like blanks.
      {"buttonSize\t5 5\r\nbutton 1\t1 4\r\n", {"4 key 1,1,5,5"}},
      {"\x01\x02\xff\n\xfe garbage \x7f\n\0button 0 0 1\n", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(Read(c.text), c.records) << c.text;
}

TEST(LayoutFile, EveryLineSkippedIsNamed) {
  const struct {
    std::string text;
    std::vector<std::string> refused;
  } cases[] = {
      {"buttonSize 10\nbutton 1 2\nbuttonRow 1 2 3\nrepeatRow\nled 1 2 3\ncustomButton\ncustomButtonDLL 3\n"
       "labelColumn 0 0 1\nrepeatColumn\nlabelOffset 5\n",
       {"line 1: buttonSize needs a width and a height", "line 2: button needs an x, a y and an id",
        "line 3: buttonRow needs an x, a y, a gap and a count", "line 4: repeatRow needs a distance",
        "line 5: led needs an x, a y, red and indicator", "line 6: customButton needs an id",
        "line 7: customButtonDLL needs an id and a library", "line 8: labelColumn needs an x, a y, a gap and a count",
        "line 9: repeatColumn needs a distance", "line 10: labelOffset needs an x and a y"}},
      // Comments, blank lines and lines that need nothing are never refused; case counts.
      {"# comment\n\n  \t\nButton 0 0 1\npaperType\nnoKeyCap\nfoo 1 2\nbuttonSize 1 1\n",
       {"line 4: unknown keyword", "line 7: unknown keyword"}},
      {"deviceSpecificImagesPath C:\\No Quotes\ndeviceSpecificImagesPath \"\"\ndeviceSpecificImagesPath \"C:\\x\"\n",
       {"line 1: deviceSpecificImagesPath needs a folder in double quotes",
        "line 2: deviceSpecificImagesPath needs a folder in double quotes"}},
      // The rest of an overlong line is counted as a line of its own.
      {"buttonSize 1 1" + std::string(kLayoutLineChars - 14, ' ') + "zz\nled\n",
       {"line 2: unknown keyword", "line 3: led needs an x, a y, red and indicator"}},
      {"buttonSize 1 1\r\nbutton 0 0 1\r\n", {}},
  };
  for (const auto& c : cases) {
    LayoutText layout;
    Read(c.text, &layout);
    EXPECT_EQ(layout.refused, c.refused) << c.text;
  }
}

TEST(LayoutFile, AnOverlongLineGoesOnAsTheNextLine) {
  // The first 254 characters are one line; the rest starts a line of its own.
  std::string line = "buttonRow 0 0 0 200";
  std::vector<int> placed;
  for (int id = 1;; ++id) {
    const std::string next = line + " " + std::to_string(id);
    if (next.size() > kLayoutLineChars) break;
    line = next;
    placed.push_back(id);
  }
  line.append(kLayoutLineChars - line.size(), ' ');
  line += "button 9 9 250\n";  // past the cut: a line of its own
  line = "buttonSize 1 1\n" + line;
  const Records records = Read(line);
  ASSERT_EQ(records.size(), placed.size() + 1);
  EXPECT_EQ(records.back(), "250 key 9,9,1,1");
  // Without the cut the same button ends as an id of the row.
  EXPECT_EQ(Read("buttonSize 1 1\nbuttonRow 0 0 0 3 1 2 button 9 9 250\n").size(), 3u);
}

TEST(LayoutFile, CustomButtonsBeforeAndAfterTheirKey) {
  std::vector<KeyRecord> keys;
  LayoutReadOptions options;
  std::vector<std::string> asked;
  options.customImage = [&](const std::string& name) -> std::shared_ptr<ViewImage> {
    asked.push_back(name);
    if (name == "missing.png") return nullptr;
    return std::make_shared<FakeImage>(1, 1, std::wstring(name.begin(), name.end()));
  };
  const std::string text =
      "buttonSize 10 10\n"
      "customButton 7 a.png b.png missing.png d.png\n"  // before its key: no rectangle yet
      "customButtonDLL 8 Pad.dll e.png\n"
      "button 5 5 8\n"
      "customButton 8 f.png\n"                          // after: takes its key, drops the DLL
      "customButtonDLL 9 Other.dll\n"
      "button 0 0 9\n";
  ReadLayoutText(text, options, keys);
  EXPECT_EQ(Describe(keys), (Records{"7", "8 key 5,5,10,10", "9 key 0,0,10,10 dll Other.dll"}));
  EXPECT_EQ(asked, (std::vector<std::string>{"a.png", "b.png", "missing.png", "d.png", "e.png", "f.png"}));
  ASSERT_NE(keys[0].images[0], nullptr);
  EXPECT_EQ(keys[0].images[2], nullptr);
  EXPECT_EQ(keys[0].images[3]->Width(), 1);
  EXPECT_TRUE(keys[0].key.Empty());
  EXPECT_TRUE(keys[1].plugin.empty());
  EXPECT_EQ(static_cast<FakeImage*>(keys[1].images[0].get())->path, L"f.png");
  EXPECT_EQ(keys[1].images[1], nullptr);
  EXPECT_EQ(keys[0].capKind, kPlainKey);
}

TEST(LayoutFile, LedsAndSettings) {
  LayoutText layout;
  std::vector<KeyRecord> keys;
  LayoutReadOptions options;
  options.ledWidth = 16;
  options.ledHeight = 12;
  layout = ReadLayoutText("led 1 2 0 1\nledSize 8 9\nled 3 4 5 0\nnoKeyCap\n", options, keys);
  ASSERT_EQ(layout.leds.size(), 2u);
  EXPECT_FALSE(layout.leds[0].red);
  EXPECT_TRUE(layout.leds[0].indicator);
  EXPECT_EQ(layout.leds[0].w, 16);
  EXPECT_EQ(layout.leds[0].h, 12);
  EXPECT_TRUE(layout.leds[1].red);
  EXPECT_FALSE(layout.leds[1].indicator);
  EXPECT_EQ(layout.leds[1].x, 3);
  EXPECT_EQ(layout.leds[1].w, 8);
  EXPECT_TRUE(layout.noKeyCap);
  EXPECT_TRUE(keys.empty());
}

TEST(LayoutFile, ImagesPaths) {
  const struct {
    const char* line;
    const char* folder;
  } cases[] = {
      {"deviceSpecificImagesPath \"C:\\Caps\"", "C:\\Caps\\"},
      {"deviceSpecificImagesPath \"D:\\My Caps\\\" trailing", "D:\\My Caps\\"},
      {"deviceSpecificImagesPath \".\\Images\"", "C:\\Dev\\Pad\\Images\\"},
      {"deviceSpecificImagesPath \"..\\Images\"", "C:\\Dev\\Images\\"},
      {"deviceSpecificImagesPath \"..\\..\\..\\..\\..\\Images\"", "C:\\Images\\"},
      {"deviceSpecificImagesPath \"..\"", "C:\\Dev\\"},
      {"deviceSpecificImagesPath \"Images\"", "Images\\"},
      {"deviceSpecificImagesPath \"C:\\Caps", ""},  // one quote: no path
      {"deviceSpecificImagesPath C:\\Caps", ""},
      {"deviceSpecificImagesPath \"\"", ""},
  };
  for (const auto& c : cases) {
    LayoutText layout;
    Read(c.line, &layout);
    EXPECT_EQ(layout.imagesFolder, c.folder) << c.line;
  }
  EXPECT_EQ(ResolveImagesPath(" \".\\x\"", ""), "x\\");
}

// A device folder with every picture of the view, as "W H" texts.
FakeDevice FullDevice(const std::string& layout) {
  FakeDevice d;
  d.files["layout.kll"] = layout;
  d.files["background.png"] = "400 300";
  d.files["Lock.png"] = "24 24";
  for (const char* name : {"key_GreenLayer.png", "keyOver_GreenLayer.png", "keyPressed_GreenLayer.png",
                           "key_RedLayer.png", "keyOver_RedLayer.png", "keyPressed_RedLayer.png"})
    d.buttonImages[name] = "60 60";
  for (const char* name : {"GreenLED.png", "GreenLED_Over.png", "GreenLED_Pressed.png", "RedLED.png",
                           "RedLED_Over.png", "RedLED_Pressed.png"})
    d.buttonImages[name] = "16 14";
  return d;
}

int keyCapBuilds = 0;

class LoadLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    keyCapBuilds = 0;
    events_.changeKeyCap = [](MacroContext&, const KeyRecord&, const std::vector<int>&, int, bool store) {
      if (!store) ++keyCapBuilds;
    };
  }
  void TearDown() override {
    EXPECT_EQ(LiveImages(), 0);  // every picture released exactly once
  }
  FakeModelEvents events_;
};

TEST_F(LoadLayout, ASampleLayoutWithAllItsPictures) {
  FakeDevice device = FullDevice("buttonSize 60 60\nled 5 5 0 1\nbuttonRow 0 0 0 2 1 2\ncustomButton 2 Lock.png\n");
  FakeLoader loader(device);
  {
    MacroContext c(events_);
    c.device = &device;
    c.keyCaps.push_back({kDoubleWideCap, 9, {1, 2}, 0, 0, 120, 60});  // as a read gives them
    ASSERT_TRUE(LoadLayoutFile(c, loader));
    EXPECT_EQ(c.view.canvasWidth, 400);
    EXPECT_EQ(c.view.canvasHeight, 300);
    EXPECT_EQ(Describe(c.keys), (Records{"1 key 0,0,60,60", "2 key 60,0,60,60"}));
    ASSERT_EQ(c.leds.size(), 1u);
    EXPECT_EQ(c.leds[0].w, 16);  // the LED pictures' size
    EXPECT_EQ(c.leds[0].h, 14);
    EXPECT_NE(c.view.lock, nullptr);
    EXPECT_NE(c.keys[1].images[0], nullptr);
    EXPECT_EQ(c.layoutFolder, device.folder);
    EXPECT_EQ(c.imagesFolder, L"C:\\Orvane\\QpadDevices\\Button Images\\");
    EXPECT_EQ(keyCapBuilds, 1);
    // A copied record shares its pictures; both go with their records.
    KeyRecord copy = c.keys[1];
    EXPECT_EQ(copy.images[0], c.keys[1].images[0]);
    // Loading again gives the same view, not a second set of LEDs.
    ASSERT_TRUE(LoadLayoutFile(c, loader));
    EXPECT_EQ(c.leds.size(), 1u);
    EXPECT_EQ(c.keys.size(), 2u);
  }
}

TEST_F(LoadLayout, FailuresReleaseThePictures) {
  const struct {
    const char* what;
    std::vector<std::string> missing;
    bool keysRead;
  } cases[] = {
      {"no layout file", {"layout.kll"}, false},
      {"no background", {"background.png"}, true},
      {"no key picture",
       {"key_GreenLayer.png", "keyOver_GreenLayer.png", "keyPressed_GreenLayer.png", "key_RedLayer.png",
        "keyOver_RedLayer.png", "keyPressed_RedLayer.png"},
       true},
      {"no LED picture",
       {"GreenLED.png", "GreenLED_Over.png", "GreenLED_Pressed.png", "RedLED.png", "RedLED_Over.png",
        "RedLED_Pressed.png"},
       true},
  };
  for (const auto& c : cases) {
    FakeDevice device = FullDevice("buttonSize 60 60\nbutton 0 0 1\n");
    for (const std::string& name : c.missing) {
      device.files.erase(name);
      device.buttonImages.erase(name);
    }
    FakeLoader loader(device);
    MacroContext context(events_);
    context.device = &device;
    EXPECT_FALSE(LoadLayoutFile(context, loader)) << c.what;
    EXPECT_EQ(context.keys.size(), c.keysRead ? 1u : 0u) << c.what;
    EXPECT_EQ(context.view.canvas, nullptr) << c.what;
    EXPECT_EQ(context.view.table[0][0], nullptr) << c.what;
    EXPECT_EQ(keyCapBuilds, 0) << c.what;
  }
  MacroContext noDevice(events_);
  FakeDevice device;
  FakeLoader loader(device);
  EXPECT_FALSE(LoadLayoutFile(noDevice, loader));
}

TEST_F(LoadLayout, TheFirstLedPictureFoundGivesTheLedSizeAndImagesPathTheFolder) {
  FakeDevice device = FullDevice(
      "led 0 0 1 1\nledSize 4 4\nled 1 1 0 0\ndeviceSpecificImagesPath \".\\Caps\"\n");
  for (const char* name : {"GreenLED.png", "GreenLED_Over.png", "GreenLED_Pressed.png", "RedLED.png"})
    device.buttonImages.erase(name);
  device.buttonImages["RedLED_Over.png"] = "9 7";
  FakeLoader loader(device);
  MacroContext c;
  c.device = &device;
  ASSERT_TRUE(LoadLayoutFile(c, loader));
  ASSERT_EQ(c.leds.size(), 2u);
  EXPECT_EQ(c.leds[0].w, 9);
  EXPECT_EQ(c.leds[0].h, 7);
  EXPECT_EQ(c.leds[1].w, 4);
  EXPECT_EQ(c.view.table[kGreenLedRow][kStateNormal], nullptr);
  EXPECT_NE(c.view.table[kRedLedRow][kStateOver], nullptr);
  EXPECT_EQ(c.imagesFolder, L"C:\\Orvane\\QpadDevices\\Vid0a7cPid0019\\Caps\\");
}

}  // namespace
