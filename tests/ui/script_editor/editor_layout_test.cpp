#include "ui/script_editor/editor_layout.h"

#include <gtest/gtest.h>

#include <set>

#include "ui/script_editor/script_file_choice.h"

namespace {

const EditorSizes kSizes{800, 600, 120, 150, 20, 4};

TEST(LayOutEditor, PlacesTheFourControlsAroundTheSplitters) {
  const EditorLayout l = LayOutEditor(kSizes);
  EXPECT_EQ(l.list, (LayoutRect{0, 480, 800, 120}));
  EXPECT_EQ(l.sideBar, (LayoutRect{0, 0, 20, 476}));
  EXPECT_EQ(l.edit, (LayoutRect{18, 0, 800 - 150 - 20 - 4 + 2, 476}));
  EXPECT_EQ(l.tree, (LayoutRect{650, 0, 150, 476}));
}

TEST(Splitters, GrabAndDragWithinTheLimits) {
  EXPECT_EQ(SplitterAt(kSizes, 475), Splitter::TreeEdge);
  EXPECT_EQ(SplitterAt(kSizes, 476), Splitter::ListEdge);
  struct Case {
    Splitter splitter;
    int x, y;
    std::optional<int> size;
  } cases[] = {
      {Splitter::TreeEdge, 600, 0, 200},
      {Splitter::TreeEdge, 780, 0, 20},            // the narrowest tree
      {Splitter::TreeEdge, 781, 0, std::nullopt},  // narrower: the drag ends
      {Splitter::TreeEdge, 20, 0, 780},            // leaves 20 pixels
      {Splitter::TreeEdge, 19, 0, std::nullopt},
      {Splitter::ListEdge, 0, 300, 300},
      {Splitter::ListEdge, 0, 581, std::nullopt},
      {Splitter::ListEdge, 0, 19, std::nullopt},
      {Splitter::None, 0, 300, std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DraggedSize(kSizes, c.splitter, c.x, c.y), c.size) << c.x << "," << c.y;
}

TEST(ColumnWidths, SplitTheListWidth) {
  const MessageColumns m = MessageColumnWidths(600);
  EXPECT_EQ(m.severity, 100);
  EXPECT_EQ(m.position, 75);
  EXPECT_EQ(m.section, 100);
  EXPECT_EQ(m.message, 600 - 75 - 200 - 30);
  EXPECT_EQ(MessageColumnWidths(180).message, 180 - 22 - 60);  // 100 or less: kept whole
  const VariableColumns v = VariableColumnWidths(600);
  EXPECT_EQ(v.name, 75);
  EXPECT_EQ(v.type, 100);
  EXPECT_EQ(v.value, 600 - 100 - 75 - 30);
}

TEST(ResolvePlacement, KeepsTheTemplateForWhatIsMissingAndStaysOnTheWorkArea) {
  const EditorPlacement t{100, 80, 700, 500, 120, 150};
  const LayoutRect work{0, 0, 1024, 740};
  EXPECT_EQ(ResolvePlacement(t, {}, work), t);
  EXPECT_EQ(ResolvePlacement(t, {10, 20, 600, 400, 90, 110}, work), (EditorPlacement{10, 20, 600, 400, 90, 110}));
  // Off the screen, larger than it, or with splitters beyond the window.
  EXPECT_EQ(ResolvePlacement(t, {5000, -300, std::nullopt, std::nullopt, 9000, 5}, work),
            (EditorPlacement{1024 - 700, 0, 700, 500, 500 - 80, 20}));
  EXPECT_EQ(ResolvePlacement(t, {std::nullopt, std::nullopt, 4000, 3000, std::nullopt, std::nullopt}, work),
            (EditorPlacement{0, 0, 1024, 740, 120, 150}));
}

TEST(ClassifyChosenFile, ByTheLastFourCharactersWithoutCase) {
  EXPECT_EQ(ClassifyChosenFile("C:\\a\\Script_1.oxs"), ChosenFileKind::Script);
  EXPECT_EQ(ClassifyChosenFile("C:\\A\\SCRIPT.OXS"), ChosenFileKind::Script);
  EXPECT_EQ(ClassifyChosenFile("C:\\a\\pad.qp1"), ChosenFileKind::OldLayout);
  EXPECT_EQ(ClassifyChosenFile("C:\\a\\pad.QP9"), ChosenFileKind::OldLayout);
  EXPECT_EQ(ClassifyChosenFile("C:\\a\\pad.q11"), ChosenFileKind::OldLayout);
  EXPECT_EQ(ClassifyChosenFile("C:\\a\\pad.qpx"), ChosenFileKind::Other);
  EXPECT_EQ(ClassifyChosenFile("C:\\a\\notes.txt"), ChosenFileKind::Other);
  EXPECT_EQ(ClassifyChosenFile("oxs"), ChosenFileKind::Other);
}

TEST(FreeTempScriptName, TakesTheFirstFreeOfTenAndGivesUpAfterThem) {
  std::set<std::string> existing;
  auto exists = [&](const std::string& p) { return existing.count(p) > 0; };
  EXPECT_EQ(FreeTempScriptName("C:\\Temp", exists), "C:\\Temp\\tempScript0.oxs");
  existing = {"C:\\Temp\\tempScript0.oxs", "C:\\Temp\\tempScript1.oxs"};
  EXPECT_EQ(FreeTempScriptName("C:\\Temp\\", exists), "C:\\Temp\\tempScript2.oxs");
  for (char d = '0'; d <= '9'; ++d) existing.insert(std::string("C:\\Temp\\tempScript") + d + ".oxs");
  EXPECT_EQ(FreeTempScriptName("C:\\Temp", exists), std::nullopt);
}

}  // namespace
