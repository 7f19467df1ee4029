// The legend editor's decisions over captions of the test's own: the file dialogs it asks,
// caption files read and written, and whether Exit may end the editor.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/base/memory_file_access.h"
#include "tests/platform/base/system_calls_recorder.h"
#include "ui/legend_editor/legend_controller.h"

namespace {

class FakeCaptions : public LegendCaptions {
 public:
  std::vector<CaptionContent> contents;
  std::vector<bool> canUndo;
  std::vector<std::string> calls;

  explicit FakeCaptions(int n) {
    for (int i = 0; i < n; ++i)
      contents.push_back({{}, u"", "{\\rtf1 caption " + std::to_string(i) + "}"});
    canUndo.assign(static_cast<std::size_t>(n), false);
  }
  int CaptionCount() const override { return static_cast<int>(contents.size()); }
  CaptionContent CaptionContentOf(int i) override { return contents[static_cast<std::size_t>(i)]; }
  void ApplyCaptionContent(int i, const CaptionContent& c) override {
    calls.push_back("apply " + std::to_string(i));
    contents[static_cast<std::size_t>(i)] = c;
  }
  bool CaptionCanUndo(int i) override { return canUndo[static_cast<std::size_t>(i)]; }
  void ForgetCaptionUndo(int i) override { canUndo[static_cast<std::size_t>(i)] = false; }
};

class LegendControllerTest : public ::testing::Test {
 protected:
  LegendControllerTest() {
    controller.SetDeviceLayout("C:\\Dev\\layout.kll");
  }
  std::string File(const std::vector<CaptionContent>& c) { return EncodeCaptionFile(c).value(); }

  SystemCallsRecorder platform;
  MemoryFileAccess files;
  FakeCaptions captions{3};
  LegendController controller{platform, captions, files};
};

TEST_F(LegendControllerTest, TheDialogsAsked) {
  platform.SetChosenFile(std::nullopt);
  EXPECT_FALSE(controller.ChoosePicture());
  EXPECT_FALSE(controller.ChooseLayout());
  controller.OpenCaptions();
  EXPECT_FALSE(controller.SaveCaptionsAs());
  EXPECT_EQ(platform.Events(),
            "open dialog 0x0 \"Select an image file to open.\" \"Bitmaps\" \"*.bmp;*.png;*.ico\" \"\" \"C:\\Dev\" / "
            "open dialog 0x0 \"Select a layout file to open.\" \"Layout Files\" \"*.kll\" \"\" \"C:\\Dev\" "
            "\"C:\\Dev\\layout.kll\" / "
            "open dialog 0x0 \"Open Caption File\" \"Caption Files\" \"*.klc\" \"klc\" \"C:\\Dev\" / "
            "save dialog 0x0 \"Save Caption File\" \"Caption Files\" \"*.klc\" \"klc\" \"C:\\Dev\" \"\"");
  EXPECT_TRUE(files.WriteLog().empty());
}

TEST_F(LegendControllerTest, SaveAsksOnceThenKeepsTheFile) {
  captions.canUndo = {true, false, true};
  controller.MarkModified();
  platform.SetChosenFile("C:\\Dev\\mine.klc");
  EXPECT_TRUE(controller.SaveCaptions());
  EXPECT_EQ(controller.CaptionFile(), "C:\\Dev\\mine.klc");
  ASSERT_NE(files.Get("C:\\Dev\\mine.klc"), nullptr);
  EXPECT_EQ(*files.Get("C:\\Dev\\mine.klc"), File(captions.contents));
  // Nothing counts as changed any more: the undo histories went with the flag.
  EXPECT_FALSE(controller.Modified());
  EXPECT_EQ(captions.canUndo, (std::vector<bool>{false, false, false}));

  platform.ClearEvents();
  captions.contents[1].rtf = "{\\rtf1 changed}";
  EXPECT_TRUE(controller.SaveCaptions());
  EXPECT_EQ(platform.Events(), "");  // no dialog the second time
  EXPECT_EQ(DecodeCaptionFile(*files.Get("C:\\Dev\\mine.klc")).captions[1].rtf, "{\\rtf1 changed}");
}

TEST_F(LegendControllerTest, AFailedSaveIsToldAndKeepsTheChanges) {
  files.Put("C:\\Dev\\locked.klc", "old");
  files.MakeReadOnly("C:\\Dev\\locked.klc");
  controller.MarkModified();
  platform.SetChosenFile("C:\\Dev\\locked.klc");
  EXPECT_FALSE(controller.SaveCaptionsAs());
  EXPECT_TRUE(controller.Modified());
  EXPECT_EQ(controller.CaptionFile(), "");
  EXPECT_NE(platform.Events().find("box 0x0 \"Save Caption File\" \"The caption file \"C:\\Dev\\locked.klc\" could not be "
                                   "written. Your captions have not been saved.\" Ok Warning"),
            std::string::npos)
      << platform.Events();
  EXPECT_EQ(*files.Get("C:\\Dev\\locked.klc"), "old");
}

TEST_F(LegendControllerTest, AFileWithFewerRecordsFillsTheFirstCaptions) {
  const std::vector<CaptionContent> one = {{{1, 2, 3, 4}, u"C:\\p.png", "{\\rtf1 from file}"}};
  files.Put("C:\\Dev\\one.klc", File(one));
  const CaptionContent thirdBefore = captions.contents[2];
  captions.canUndo = {true, true, true};
  controller.MarkModified();
  platform.SetChosenFile("C:\\Dev\\one.klc");
  controller.OpenCaptions();
  EXPECT_EQ(captions.calls, (std::vector<std::string>{"apply 0"}));
  EXPECT_EQ(captions.contents[0], one[0]);
  EXPECT_EQ(captions.contents[2], thirdBefore);
  EXPECT_EQ(controller.CaptionFile(), "C:\\Dev\\one.klc");
  EXPECT_EQ(captions.canUndo, (std::vector<bool>{false, true, true}));
  // The flag is cleared; the captions the file did not reach still have their own changes.
  EXPECT_TRUE(controller.Modified());
  captions.canUndo = {false, false, false};
  EXPECT_FALSE(controller.Modified());
}

TEST_F(LegendControllerTest, ExtraRecordsAreLeftAside) {
  std::vector<CaptionContent> five(5, CaptionContent{{}, u"", "{\\rtf1 x}"});
  files.Put("C:\\Dev\\five.klc", File(five));
  EXPECT_TRUE(controller.ReadCaptionFile("C:\\Dev\\five.klc"));
  EXPECT_EQ(captions.calls.size(), 3u);
}

TEST_F(LegendControllerTest, ADamagedFileIsRefusedAndChangesNothing) {
  std::string bytes = File({{{}, u"", "{\\rtf1 a}"}, {{}, u"", "{\\rtf1 b}"}});
  bytes.resize(bytes.size() - 1);
  files.Put("C:\\Dev\\bad.klc", bytes);
  const std::vector<CaptionContent> before = captions.contents;
  controller.MarkModified();
  EXPECT_FALSE(controller.ReadCaptionFile("C:\\Dev\\bad.klc"));
  EXPECT_TRUE(captions.calls.empty());
  EXPECT_EQ(captions.contents, before);
  EXPECT_TRUE(controller.Modified());
  EXPECT_EQ(controller.CaptionFile(), "");
  EXPECT_EQ(platform.Events(),
            "box 0x0 \"Open Caption File\" \"The caption file \"C:\\Dev\\bad.klc\" cannot be read: record 2 points "
            "outside the file. The captions were left as they were.\" Ok Warning");
}

TEST_F(LegendControllerTest, AFileThatCannotBeOpenedIsIgnored) {
  EXPECT_FALSE(controller.ReadCaptionFile("C:\\Dev\\missing.klc"));
  EXPECT_EQ(platform.Events(), "");
  EXPECT_TRUE(captions.calls.empty());
}

TEST_F(LegendControllerTest, Exit) {
  // Nothing changed: no question.
  EXPECT_TRUE(controller.ConfirmExit());
  EXPECT_EQ(platform.Events(), "");

  const std::string question =
      "box 0x0 \"Exit Caption Editor\" \"Would you like to save your changes before exiting Caption Editor?\" "
      "YesNoCancel Question";
  // A caption that can undo counts as a change.
  captions.canUndo[1] = true;
  platform.SetBoxAnswer(BoxAnswer::Cancel);
  EXPECT_FALSE(controller.ConfirmExit());
  EXPECT_EQ(platform.Events(), question);

  platform.ClearEvents();
  platform.SetBoxAnswer(BoxAnswer::No);
  EXPECT_TRUE(controller.ConfirmExit());
  EXPECT_TRUE(files.WriteLog().empty());

  // Yes without a known file is Save As; cancelled there, the editor stays.
  platform.ClearEvents();
  platform.SetBoxAnswer(BoxAnswer::Yes);
  platform.SetChosenFile(std::nullopt);
  EXPECT_FALSE(controller.ConfirmExit());
  EXPECT_NE(platform.Events().find("save dialog"), std::string::npos);

  platform.SetChosenFile("C:\\Dev\\kept.klc");
  EXPECT_TRUE(controller.ConfirmExit());
  EXPECT_NE(files.Get("C:\\Dev\\kept.klc"), nullptr);
  // Saved: the next Exit asks nothing.
  platform.ClearEvents();
  EXPECT_TRUE(controller.ConfirmExit());
  EXPECT_EQ(platform.Events(), "");
}

}  // namespace
