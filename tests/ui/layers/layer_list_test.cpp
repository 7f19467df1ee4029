// The rules of the program-layer lists.
#include "ui/layers/layer_list.h"

#include <gtest/gtest.h>

#include "ui/programming_window/layer_choice.h"

namespace {

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
  for (int i = 0; i < MaxProgramLayers(true); ++i) full.push_back("L" + std::to_string(i));
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
