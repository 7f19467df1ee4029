// The rules of the program-layer lists.
#include "ui/layers/layer_list.h"

#include <gtest/gtest.h>


namespace {

TEST(LayerList, WhichNamesANewLayerMayHave) {
  const std::vector<std::string> names = {"Word", "My App"};
  struct Case {
    const char* name;
    LayerRefusal expected;
  } cases[] = {
      {"Excel", LayerRefusal::None},
      {"", LayerRefusal::Empty},
      {"word", LayerRefusal::Exists},    // without case
      {"WORD", LayerRefusal::Exists},
      {"My_App", LayerRefusal::Exists},  // the script would name both alike
      {"my app", LayerRefusal::Exists},
      {"Pnr", LayerRefusal::Reserved},   // the script's own words
      {"pni", LayerRefusal::Reserved},
      {"Cni", LayerRefusal::Reserved},
      {"Pnr2", LayerRefusal::None},
  };
  for (const Case& c : cases) EXPECT_EQ(CheckNewLayer(names, c.name, 49), c.expected) << c.name;

  // The menu commands run out.
  const std::vector<std::string> three = {"A", "B", "C"};
  EXPECT_EQ(CheckNewLayer(three, "D", 3), LayerRefusal::TooMany);
  EXPECT_EQ(CheckNewLayer(three, "D", 4), LayerRefusal::None);
  EXPECT_EQ(CheckNewLayer(three, "b", 3), LayerRefusal::Exists);
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
