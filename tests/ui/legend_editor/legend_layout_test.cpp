// Where the caption boxes go: the editor's own reading of a layout file, and the boxes over
// the programming window's key records.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/legend_editor/legend_layout.h"

namespace {

std::string Boxes(const std::string& text) {
  std::string out;
  for (const CaptionBox& b : ReadLegendLayout(text).boxes)
    out += std::to_string(b.x) + "," + std::to_string(b.y) + " " + std::to_string(b.w) + "x" + std::to_string(b.h) + "; ";
  return out;
}

TEST(LegendLayout, Placements) {
  struct Case {
    const char* what;
    const char* text;
    const char* boxes;
  } cases[] = {
      {"commas and equals signs separate", "labelSize = 40, 20\nbuttonLabel 5,6", "5,6 40x20; "},
      {"the same without them", "labelSize 40 20\nbuttonLabel 5 6", "5,6 40x20; "},
      {"without a label size the button's", "buttonSize 60 50\nlabelSize 0 14\nbuttonLabel 1 2", "1,2 60x50; "},
      {"the label offset on button labels", "buttonSize 60 60\nlabelSize 56 14\nlabelOffset 2 44\nbuttonLabel 20 25",
       "22,69 56x14; "},
      {"a button-label row steps by the button",
       "buttonSize 60 60\nlabelSize 56 14\nlabelOffset 2 44\nbuttonLabelRow 20 25 4 3 0 1 2",
       "22,69 56x14; 86,69 56x14; 150,69 56x14; "},
      {"a label row steps by the label, without the offset",
       "buttonSize 60 60\nlabelSize 56 14\nlabelOffset 2 44\nlabelRow 20 25 4 2", "20,25 56x14; 80,25 56x14; "},
      {"repeatRow goes down by its gap and the height of the row's form",
       "buttonSize 60 60\nlabelSize 56 14\nbuttonLabelRow 0 0 0 2\nrepeatRow 5\nrepeatRow 5",
       "0,0 56x14; 60,0 56x14; 0,65 56x14; 60,65 56x14; 0,130 56x14; 60,130 56x14; "},
      {"columns, and repeatColumn across",
       "buttonSize 30 40\nlabelSize 20 10\nlabelColumn 10 10 2 2\nrepeatColumn 3",
       "10,10 20x10; 10,22 20x10; 33,10 20x10; 33,22 20x10; "},
      {"hexadecimal and octal numbers", "labelSize 0x10 010\nbuttonLabel 0x20 -3", "32,-3 16x8; "},
      {"comments, empty lines and other keywords", "# buttonLabel 1 1\n\n  \nled 1 2 3 4\nbutton 1 2 3\nlabelSize 1 1\nbuttonLabel 7 7",
       "7,7 1x1; "},
      {"a malformed number ends the reading, what came before stays",
       "labelSize 10 10\nbuttonLabel 1 1\nbuttonLabel 2 2x\nbuttonLabel 3 3", "1,1 10x10; "},
      {"a missing operand ends it too", "labelSize 10 10\nbuttonLabel 1 1\nlabelRow 1 1 1\nbuttonLabel 3 3", "1,1 10x10; "},
      {"keywords are matched with their case", "labelSize 10 10\nButtonLabel 1 1\nbuttonLabel 2 2", "2,2 10x10; "},
      {"a count of nothing", "labelSize 10 10\nlabelRow 1 1 1 0\nlabelRow 1 1 1 -5", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Boxes(c.text), c.boxes) << c.what;
}

TEST(LegendLayout, TheSampleKeypads) {
  // As the sample device folders have them: ids after the row's count are not the editor's.
  const std::string qpad12 =
      "buttonSize 60 60\nlabelSize 56 14\nlabelOffset 2 44\nbuttonLabelRow 20 25 0 4 0 1 2 3\n"
      "repeatRow 0 4 5 6 7\nrepeatRow 0 16 17 18 19\n";
  const LegendLayout layout = ReadLegendLayout(qpad12);
  ASSERT_EQ(layout.boxes.size(), 12u);
  EXPECT_EQ(layout.boxes[0], (CaptionBox{22, 69, 56, 14}));
  EXPECT_EQ(layout.boxes[5], (CaptionBox{82, 129, 56, 14}));
  EXPECT_EQ(layout.boxes[11], (CaptionBox{202, 189, 56, 14}));
  EXPECT_FALSE(layout.dieCut);
}

TEST(LegendLayout, PaperType) {
  EXPECT_TRUE(ReadLegendLayout("paperType dieCut\n").dieCut);
  EXPECT_TRUE(ReadLegendLayout("paperType = dieCut\n").dieCut);
  EXPECT_FALSE(ReadLegendLayout("paperType plain\n").dieCut);
  EXPECT_FALSE(ReadLegendLayout("paperType diecut\n").dieCut);
}

TEST(LegendLayout, BoxesAreBounded) {
  const LegendLayout layout = ReadLegendLayout("labelSize 1 1\nlabelRow 0 0 0 2147483647\nrepeatRow 0\n");
  EXPECT_EQ(layout.boxes.size(), kMaxCaptionBoxes);
  // Positions far out stay within int.
  const LegendLayout far = ReadLegendLayout("labelSize 2147483647 1\nlabelRow 2147483647 0 2147483647 3\n");
  ASSERT_EQ(far.boxes.size(), 3u);
  EXPECT_EQ(far.boxes[2].x, 2147483647);
}

MacroEntry Entry(KeyEvent event, LayerColour colour, const char* program, const wchar_t* text) {
  MacroEntry e;
  e.event = event;
  e.colour = colour;
  e.program = program;
  e.steps.push_back({std::wstring(L"/") + text});
  return e;
}

TEST(LegendLayout, CaptionsOverTheKeys) {
  std::vector<KeyRecord> keys(6);
  for (std::size_t i = 0; i < keys.size(); ++i) {
    keys[i].keyId = static_cast<std::uint8_t>(i + 1);
    keys[i].key = {10.0f * i, 0, 60, 60};
    keys[i].label = {10.0f * i + 2.7f, 44.9f, 56.5f, 14};
  }
  keys[0].entries = {Entry(KeyEvent::Down, LayerColour::Green, "Pnr", L"Hello"), Entry(KeyEvent::Up, LayerColour::Green, "Pnr", L"Bye"),
                     Entry(KeyEvent::Down, LayerColour::Red, "Pnr", L"Red one")};
  keys[1].capKind = kCoveredByCap;
  keys[1].pairedId = 6;
  keys[2].capKind = kSpacerKey;
  keys[3].label = {};  // placed by a button line only
  keys[5].capKind = kDoubleWideCap;
  keys[5].pairedId = 6;
  keys[5].entries = {Entry(KeyEvent::Down, LayerColour::Green, "Pnr", L"Cap")};

  const std::vector<KeyCaption> captions = KeyCaptions(keys);
  ASSERT_EQ(captions.size(), 4u);
  EXPECT_EQ(captions[0].box, (CaptionBox{2, 44, 56, 14}));
  EXPECT_EQ(captions[0].text, L"Hello\n-----\nBye");
  EXPECT_EQ(captions[1].box, (CaptionBox{30, 0, 60, 60}));  // the key itself
  EXPECT_EQ(captions[1].text, L"");
  EXPECT_EQ(captions[2].box.x, 42);
  EXPECT_EQ(captions[3].text, L"Cap");
}

}  // namespace
