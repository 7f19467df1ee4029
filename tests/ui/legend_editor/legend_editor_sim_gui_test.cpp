// The legend editor in the real program over a simulated LED keypad: the programming window's
// View > Legend Maker... turns it into the editor, one caption over every key; the keypad's keys
// open no macro editor meanwhile; Exit gives the programming window back, whose keys open the
// editor again. Caption files that would crash the program or exhaust its memory are refused
// through Open Captions File... and the program stays up; one of 24 captions loads again and
// again.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/macros/program_fixture.h"
#include "ui/legend_editor/caption_file.h"
#include "ui/legend_editor/caption_rtf.h"
#include "ui/legend_editor/legend_editor_ids.h"
#include "ui/programming_window/programming_window.h"
#include "ui/programming_window/programming_window_ids.h"

using namespace testsupport;

namespace {

constexpr int kLedKeypad = 0x19;
// The switch is byte 4's 0x10; key 0 is byte 1's 0x01; the unit id is byte 7.
constexpr std::uint8_t kSwitch = 0x10;

class LegendInTheProgram : public RunningProgram {
 protected:
  void Report(std::uint8_t keys, std::uint8_t switchByte) {
    std::uint8_t report[9] = {0, keys, 0, 0, switchByte, 0, 0, 1, 0};
    VhxSimQueueInput(sim_, id_, report, 9);
  }
  bool MacroEditorOpens(unsigned ms) {
    return WaitForProcessWindow(program_.Id(), "Record/Edit Macro", ms) != nullptr;
  }
  int id_ = -1;
};

BOOL CALLBACK CountCaption(HWND child, LPARAM count) {
  if (ClassName(child) == "RichEdit20A") ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int Captions(HWND window) {
  int count = 0;
  EnumChildWindows(window, CountCaption, reinterpret_cast<LPARAM>(&count));
  return count;
}

// The longest static text of a message box, once it has one.
std::string BoxText(HWND box) {
  std::string text;
  WaitUntil([&] {
    EnumChildWindows(box, [](HWND child, LPARAM out) WINAPI -> BOOL {
      auto* longest = reinterpret_cast<std::string*>(out);
      if (ClassName(child) == "Static" && WindowText(child).size() > longest->size()) *longest = WindowText(child);
      return TRUE;
    }, reinterpret_cast<LPARAM>(&text));
    return !text.empty();
  }, 5000);
  return text;
}

TEST_F(LegendInTheProgram, TheProgrammingWindowBecomesTheLegendEditorAndBack) {
  ASSERT_TRUE(WriteLayout(kLedKeypad, 1, [](MacroContext&) {}));
  id_ = AddSimKeypad(sim_, 1, kLedKeypad);
  ASSERT_TRUE(StartProgram());
  ASSERT_TRUE(WaitUntil([&] { return FileExists(TypeFile(kLedKeypad, "Script_1_backup.oxs")); }, 20000)) << "no build";

  Report(0, kSwitch);
  const HWND window = WaitForWindow(kProgrammingWindowClass, nullptr, 10000);
  ASSERT_TRUE(window);
  const std::string title = WindowText(window);
  EXPECT_EQ(title, "Qpad 24 LED ID:1 - Green Layer");

  PostMessageA(window, WM_COMMAND, IDM_PW_LEGEND_MAKER, 0);
  ASSERT_TRUE(WaitUntil([&] { return WindowText(window) == "Legend Maker"; }, 10000)) << WindowText(window);
  EXPECT_EQ(Captions(window), 24);

  // The keypad's keys are not the programming window's while the editor is on.
  Report(0x01, kSwitch);
  Report(0, kSwitch);
  EXPECT_FALSE(MacroEditorOpens(1000));

  // Nothing changed: Exit asks nothing and gives the window back.
  PostMessageA(window, WM_COMMAND, IDM_LEGEND_EXIT, 0);
  ASSERT_TRUE(WaitUntil([&] { return WindowText(window) == title; }, 10000)) << WindowText(window);
  EXPECT_EQ(Captions(window), 0);
  Report(0x01, kSwitch);
  Report(0, kSwitch);
  EXPECT_TRUE(MacroEditorOpens(10000));

  Report(0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window); }, 10000));
}

class CaptionFilesInTheProgram : public LegendInTheProgram {
 protected:
  // The LED keypad's programming window as the legend editor.
  void OpenEditor() {
    ASSERT_TRUE(WriteLayout(kLedKeypad, 1, [](MacroContext&) {}));
    id_ = AddSimKeypad(sim_, 1, kLedKeypad);
    ASSERT_TRUE(StartProgram());
    ASSERT_TRUE(WaitUntil([&] { return FileExists(TypeFile(kLedKeypad, "Script_1_backup.oxs")); }, 20000)) << "no build";
    Report(0, kSwitch);
    window_ = WaitForWindow(kProgrammingWindowClass, nullptr, 10000);
    ASSERT_TRUE(window_);
    PostMessageA(window_, WM_COMMAND, IDM_PW_LEGEND_MAKER, 0);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(window_) == "Legend Maker"; }, 10000)) << WindowText(window_);
    ASSERT_EQ(Captions(window_), 24);
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = dir_ / name;
    EXPECT_TRUE(WriteTextFile(path, bytes));
    return path;
  }
  // File > Open Captions File... with the file chosen in its dialog; the text of the box that
  // follows (answered with OK), or "" when none comes.
  std::string OpenCaptionsFile(const std::string& path) {
    PostMessageA(window_, WM_COMMAND, IDM_LEGEND_OPEN, 0);
    const HWND dialog = WaitForProcessWindow(program_.Id(), "Open Caption File", 10000);
    if (!dialog) return "no dialog";
    const HWND name = FileDialogNameBox(dialog);
    if (!name) return "no name box";
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    if (!WaitUntil([&] { return !IsWindow(dialog); }, 10000)) return "the dialog stays";
    // The window's thread answers again inside the refusal's box (a box of the same caption,
    // made before it answers), or once the file is read.
    if (!Answers()) return "no answer";
    const HWND box = WaitForProcessWindow(program_.Id(), "Open Caption File", 200);
    if (!box) return "";
    const std::string text = BoxText(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    WaitUntil([&] { return !IsWindow(box); }, 5000);
    return text;
  }
  bool Answers() {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result) != 0;
  }
  std::string CaptionText(int index) { return WindowText(GetDlgItem(window_, 0x5000 + index)); }
  void TearDown() override {
    Report(0, 0);
    LegendInTheProgram::TearDown();
  }

  HWND window_ = nullptr;
};

std::vector<CaptionContent> Repeated(std::size_t count, const std::string& rtf) {
  return std::vector<CaptionContent>(count, CaptionContent{{}, u"", rtf});
}

std::string File(const std::vector<CaptionContent>& captions) { return EncodeCaptionFile(captions).value(); }

std::string Plain(std::size_t chars) { return "{\\rtf1 " + std::string(chars, 'a') + "}"; }

// Words in one paragraph, as the boxes' reader takes the most memory for.
std::string Words(std::size_t chars) {
  std::string text;
  while (text.size() < chars) text += "Caption text ";
  text.resize(chars);
  return "{\\rtf1 " + text + "}";
}

TEST_F(CaptionFilesInTheProgram, HostileFilesAreRefusedAndTheProgramStaysUp) {
  OpenEditor();
  std::string noPathEnd = File(Repeated(2, "{\\rtf1 x}"));
  for (std::size_t i = 16; i < 536; i += 2) noPathEnd[i] = 'q';
  const struct {
    const char* name;
    std::string bytes;
    std::string fault;
  } cases[] = {
      {"nested.klc", File({{{}, u"", "{\\rtf1 " + std::string(60, '{') + "x" + std::string(60, '}') + "}"}}),
       "record 1 nests its text deeper than 32 groups"},
      {"unclosed.klc", File({{{}, u"", "{\\rtf1 " + std::string(200, '{')}}),
       "record 1 nests its text deeper than 32 groups"},
      {"unbalanced.klc", File({{{}, u"", "{\\rtf1 x}}}"}}), "record 1 has unbalanced braces in its text"},
      {"long_word.klc", File({{{}, u"", "{\\rtf1 \\" + std::string(1100, 'a') + " x}"}}),
       "record 1 has a control word that is too long"},
      {"long_font.klc", File({{{}, u"", "{\\rtf1{\\fonttbl{\\f0 " + std::string(1100, 'A') + ";}}x}"}}),
       "record 1 has a font or style name that is too long"},
      {"big_record.klc", File({{{}, u"", Plain(200u << 10)}}), "record 1 is too large"},
      {"megabytes.klc", File(Repeated(24, Plain(1u << 20))), "it is too large"},
      // 24 captions of 5 KiB of plain text each: the boxes' reader took the program past its
      // memory with them.
      {"long_captions.klc", File(Repeated(24, Plain(5u << 10))), "record 1 holds more text than a caption can"},
      {"sheet.klc", File(Repeated(24, Plain(kMaxCaptionTextChars))),
       "record 9 takes the file past the text a sheet of captions holds"},
      {"empty.klc", "", "it is empty"},
      {"no_path_end.klc", noPathEnd, "record 1 has a picture path without its end"},
  };
  for (const auto& c : cases) {
    const std::string path = Write(c.name, c.bytes);
    const std::string text = OpenCaptionsFile(path);
    EXPECT_EQ(text, "The caption file \"" + path + "\" cannot be read: " + c.fault +
                        ". The captions were left as they were.")
        << c.name;
    ASSERT_EQ(WaitForSingleObject(program_.Handle(), 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "gone after " << c.name;
    ASSERT_TRUE(Answers()) << c.name;
    EXPECT_EQ(Captions(window_), 24) << c.name;
  }
  EXPECT_FALSE(SavePicture(window_, "legend_editor_refused_files").empty());
}

TEST_F(CaptionFilesInTheProgram, TwentyFourCaptionsLoadAgainAndAgain) {
  OpenEditor();
  std::vector<CaptionContent> captions;
  for (int i = 0; i < 24; ++i) captions.push_back({{}, u"", "{\\rtf1 Caption " + std::to_string(i) + "}"});
  const std::string plain = Write("twentyfour.klc", File(captions));
  // The most text a file may hold: spread over all captions, and in as few as take it.
  const std::string spread = Write("spread.klc", File(Repeated(24, Words(kMaxCaptionFileTextChars / 24 - 2))));
  const std::string full =
      Write("full.klc", File(Repeated(kMaxCaptionFileTextChars / kMaxCaptionTextChars, Words(kMaxCaptionTextChars))));
  for (int round = 0; round < 10; ++round) {
    ASSERT_EQ(OpenCaptionsFile(plain), "") << round;
    ASSERT_EQ(WaitForSingleObject(program_.Handle(), 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "gone at " << round;
    ASSERT_TRUE(Answers()) << round;
    EXPECT_EQ(CaptionText(0), "Caption 0") << round;
    EXPECT_EQ(CaptionText(23), "Caption 23") << round;
  }
  EXPECT_FALSE(SavePicture(window_, "legend_editor_24_captions").empty());
  for (const std::string& path : {spread, full, spread, plain}) {
    ASSERT_EQ(OpenCaptionsFile(path), "") << path;
    ASSERT_EQ(WaitForSingleObject(program_.Handle(), 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "gone at " << path;
    ASSERT_TRUE(Answers()) << path;
  }
  EXPECT_EQ(CaptionText(23), "Caption 23");
}

}  // namespace
