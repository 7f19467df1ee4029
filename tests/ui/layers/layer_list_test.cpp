// The rules of the program-layer lists.
#include "ui/layers/layer_list.h"

#include <gtest/gtest.h>

namespace {

TEST(LayerList, MenuCommandsOfALayer) {
  // With colour layers the third layer's items are 33004 and 33005, its Remove item 34222.
  EXPECT_EQ(ProgramLayerItemCommand(2, false, true), 33004);
  EXPECT_EQ(ProgramLayerItemCommand(2, true, true), 33005);
  EXPECT_EQ(ProgramLayerItemCommand(2, false, false), 33002);
  EXPECT_EQ(RemoveLayerCommand(2), 34222);
  // The last layer that the ranges carry still has working commands.
  EXPECT_LE(ProgramLayerItemCommand(MaxProgramLayerCount(true) - 1, true, true), kLastProgramLayerCommand);
  EXPECT_GT(ProgramLayerItemCommand(MaxProgramLayerCount(true), true, true), kLastProgramLayerCommand);
  EXPECT_EQ(ProgramLayerItemCommand(MaxProgramLayerCount(false) - 1, false, false), kLastProgramLayerCommand);
  EXPECT_LE(RemoveLayerCommand(MaxProgramLayerCount(false) - 1), kLastRemoveLayerCommand);
}

TEST(LayerList, WhichNamesANewLayerMayHave) {
  const std::vector<std::string> names = {"Word", "My App"};
  struct Case {
    const char* name;
    bool colours;
    LayerRefusal expected;
  } cases[] = {
      {"Excel", true, LayerRefusal::None},
      {"", true, LayerRefusal::Empty},
      {"word", true, LayerRefusal::Exists},    // without case
      {"WORD", false, LayerRefusal::Exists},
      {"My_App", true, LayerRefusal::Exists},  // the script would name both alike
      {"my app", true, LayerRefusal::Exists},
      {"Pnr", true, LayerRefusal::Reserved},   // the script's own words
      {"pni", true, LayerRefusal::Reserved},
      {"Cni", false, LayerRefusal::Reserved},
      {"Pnr2", true, LayerRefusal::None},
  };
  for (const Case& c : cases) EXPECT_EQ(CheckNewLayer(names, c.name, c.colours), c.expected) << c.name;

  std::vector<std::string> full;
  for (int i = 0; i < MaxProgramLayerCount(true); ++i) full.push_back("L" + std::to_string(i));
  EXPECT_EQ(CheckNewLayer(full, "One more", true), LayerRefusal::TooMany);
  EXPECT_EQ(CheckNewLayer(full, "One more", false), LayerRefusal::None);
  EXPECT_EQ(CheckNewLayer(full, "L3", true), LayerRefusal::Exists);
}

TEST(LayerList, NamesAndLookups) {
  EXPECT_EQ(LayerNameOf("My-Great-App"), "My Great App");
  EXPECT_EQ(LayerNameOf("a--b"), "a  b");
  const std::vector<std::string> names = {"Word", "My App", "Caf\xe9"};
  EXPECT_EQ(FindLayer(names, "my_app"), 1);
  EXPECT_EQ(FindLayer(names, "WORD"), 0);
  EXPECT_EQ(FindLayer(names, "Caf\xe8"), 2);  // the script cannot tell them apart either
  EXPECT_EQ(FindLayer(names, "Excel"), -1);
}

TEST(LayerList, TheFunctionsOfALayer) {
  auto function = [](const char* program) {
    KeyFunction f;
    f.program = program;
    return f;
  };
  EXPECT_TRUE(LayerOwnsFunction("My App", function("My_App")));
  EXPECT_TRUE(LayerOwnsFunction("my_app", function("my_app")));  // "_" in the layer's own name
  EXPECT_TRUE(LayerOwnsFunction("Notepad++", function("Notepad__")));
  EXPECT_FALSE(LayerOwnsFunction("My App", function("my_app")));  // another layer's
  EXPECT_FALSE(LayerOwnsFunction("My App", function("My_App2")));
  EXPECT_FALSE(LayerOwnsFunction("Pnr", function("Pnr")));
  EXPECT_FALSE(LayerOwnsFunction("Pni", function("Pni")));
}

}  // namespace
