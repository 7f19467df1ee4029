// The legend editor as a mode of the real programming window, opened by its command 32902: what
// it takes over and gives back, its caption files through the menu, Load Layout, the question
// at Exit, its keys, the mouse and the device's keys, and the window going while it is on.
#include "ui/legend_editor/legend_editor.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "macros/model/macro_steps.h"
#include "platform/wingui/gdi.h"
#include "platform/wingui/message_pump.h"
#include "runtime/device/program_messages.h"
#include "tests/platform/base/system_calls_recorder.h"
#include "tests/ui/legend_editor/legend_test_support.h"
#include "ui/legend_editor/caption_file.h"
#include "ui/legend_editor/caption_rtf.h"
#include "ui/legend_editor/legend_editor_ids.h"
#include "ui/programming_window/programming_window_ids.h"

using namespace legendtest;
using testsupport::PumpMessages;

namespace {

MacroEntry Typed(KeyEvent event, const wchar_t* text) {
  MacroEntry e;
  e.event = event;
  e.colour = LayerColour::Green;
  e.program = "Pnr";
  e.steps.push_back({std::wstring(L"/") + text});
  return e;
}

RECT Client(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return r;
}

void Command(HWND window, int id) {
  SendMessageA(window, WM_COMMAND, static_cast<WPARAM>(id), 0);
  PumpMessages(20);
}

void Type(HWND box, const char* text) {
  for (const char* c = text; *c; ++c) SendMessageA(box, WM_CHAR, static_cast<WPARAM>(*c), 1);
}

std::string FileBytes(const std::string& path) { return testsupport::ReadFileOr(path); }

class LegendEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gdiplus_.Ok());
    ASSERT_TRUE(IsWindow(Window()));
    MacroContext& c = *programming_.Context();
    c.keys[0].entries = {Typed(KeyEvent::Down, L"Copy")};
    c.keys[1].entries = {Typed(KeyEvent::Down, L"Paste"), Typed(KeyEvent::Up, L"Done")};
    title_ = testsupport::WindowText(Window());
    menu_ = GetMenu(Window());
  }
  HWND Window() const { return programming_.hwnd(); }
  // As the user opens it: command 32902 of the programming window.
  void Open() {
    Command(Window(), IDM_PW_LEGEND_MAKER);
    PumpMessages(30);
    ASSERT_TRUE(IsLegendMakerActive(Window()));
  }
  std::string Scratch(const std::string& name) { return programming_.scratch() / name; }

  GdiplusSession gdiplus_;
  RecordedSystemCalls platform_;
  ProgrammingWindowOnKeypad programming_{platform_};
  std::string title_;
  HMENU menu_ = nullptr;
};

TEST_F(LegendEditorTest, TakesTheWindowOverAndGivesItBack) {
  const RECT before = Client(Window());
  Open();
  EXPECT_EQ(testsupport::WindowText(Window()), "Legend Maker");
  const HMENU menu = GetMenu(Window());
  EXPECT_NE(menu, menu_);
  char text[64] = "";
  GetMenuStringA(GetSubMenu(menu, 0), 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "Load Layout...");

  // One box over every key label, with the key's green macros.
  const std::vector<HWND> boxes = CaptionBoxes(Window());
  ASSERT_EQ(boxes.size(), 12u);
  const RECT first = ChildRect(Window(), boxes[0]);
  EXPECT_EQ(first.left, 22);
  EXPECT_EQ(first.top, 69);
  EXPECT_EQ(first.right - first.left, 56);
  EXPECT_EQ(first.bottom - first.top, 14);
  EXPECT_EQ(BoxText(boxes[0]), L"Copy");
  EXPECT_EQ(BoxText(boxes[1]), L"Paste\r-----\rDone");
  EXPECT_EQ(Client(Window()).right, programming_.Context()->view.canvasWidth);
  EXPECT_EQ(Client(Window()).bottom, programming_.Context()->view.canvasHeight);
  EXPECT_FALSE(testsupport::SavePicture(Window(), "legend_editor_keypad").empty());

  // Nothing changed: Exit asks nothing.
  Command(Window(), IDM_LEGEND_EXIT);
  EXPECT_EQ(platform_.Events(), "");
  EXPECT_FALSE(IsLegendMakerActive(Window()));
  EXPECT_EQ(testsupport::WindowText(Window()), title_);
  EXPECT_EQ(GetMenu(Window()), menu_);
  EXPECT_TRUE(CaptionBoxes(Window()).empty());
  EXPECT_EQ(Client(Window()).right, before.right);
  EXPECT_EQ(Client(Window()).bottom, before.bottom);
}

TEST_F(LegendEditorTest, NothingWithoutALayoutFileOrForAnotherWindow) {
  // Not the context's window.
  MacroContext other;
  OpenLegendMaker(other, Window());
  EXPECT_FALSE(IsLegendMakerActive(Window()));
  OpenLegendMaker(*programming_.Context(), GetDesktopWindow());
  EXPECT_FALSE(IsLegendMakerActive(GetDesktopWindow()));

  ASSERT_TRUE(DeleteFileA((programming_.DeviceFolder() + "\\layout.kll").c_str()));
  Command(Window(), IDM_PW_LEGEND_MAKER);
  EXPECT_FALSE(IsLegendMakerActive(Window()));
  EXPECT_EQ(testsupport::WindowText(Window()), title_);
  EXPECT_TRUE(CaptionBoxes(Window()).empty());
}

TEST_F(LegendEditorTest, ExitAsksAboutChangesAndStaysUnlessTheyAreSafe) {
  Open();
  Type(CaptionBoxes(Window())[3], "new");
  const std::string question =
      "box " + RecordedSystemCalls::Hex(reinterpret_cast<std::uintptr_t>(Window())) +
      " \"Exit Caption Editor\" \"Would you like to save your changes before exiting Caption Editor?\" "
      "YesNoCancel Question";
  platform_.SetBoxAnswer(BoxAnswer::Cancel);
  SendMessageA(Window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(platform_.Events(), question);
  EXPECT_TRUE(IsLegendMakerActive(Window()));

  // Yes, but the save dialog cancelled: still the editor.
  platform_.ClearEvents();
  platform_.SetBoxAnswer(BoxAnswer::Yes);
  platform_.SetChosenFile(std::nullopt);
  SendMessageA(Window(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsLegendMakerActive(Window()));

  // Yes and a file: saved, then ended.
  platform_.SetChosenFile(Scratch("exit.klc"));
  SendMessageA(Window(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsLegendMakerActive(Window()));
  const CaptionFileRead read = DecodeCaptionFile(FileBytes(Scratch("exit.klc")));
  ASSERT_TRUE(read.Ok()) << read.error;
  EXPECT_EQ(read.captions.size(), 12u);
  EXPECT_NE(read.captions[3].rtf.find("new"), std::string::npos);

  // No: ended without a file.
  Open();
  Type(CaptionBoxes(Window())[0], "x");
  platform_.ClearEvents();
  platform_.SetBoxAnswer(BoxAnswer::No);
  Command(Window(), IDM_LEGEND_EXIT);
  EXPECT_EQ(platform_.Events(), question);
  EXPECT_FALSE(IsLegendMakerActive(Window()));
}

TEST_F(LegendEditorTest, CaptionFilesThroughTheMenu) {
  Open();
  std::vector<HWND> boxes = CaptionBoxes(Window());
  wingui::RichEdit(boxes[2]).SetTextWide(L"Bold one");
  wingui::CharFormat bold;
  bold.mask = CFM_BOLD;
  bold.effects = CFE_BOLD;
  wingui::RichEdit(boxes[2]).SetCharFormat(bold, wingui::FormatScope::All);
  // Get Image goes to the box that has the focus.
  SetFocus(boxes[5]);
  platform_.SetChosenFile(SmallPicture());
  Command(Window(), IDM_LEGEND_GET_IMAGE);
  EXPECT_NE(platform_.Events().find("\"Select an image file to open.\""), std::string::npos);

  platform_.SetChosenFile(Scratch("first.klc"));
  Command(Window(), IDM_LEGEND_SAVE_AS);
  const std::string first = FileBytes(Scratch("first.klc"));
  const CaptionFileRead read = DecodeCaptionFile(first);
  ASSERT_TRUE(read.Ok()) << read.error;
  ASSERT_EQ(read.captions.size(), 12u);
  const std::string picture = SmallPicture();
  EXPECT_EQ(read.captions[5].imagePath, std::u16string(picture.begin(), picture.end()));
  EXPECT_EQ(read.captions[5].image, (ImageRect{0, 0, 16, 16}));
  EXPECT_TRUE(read.captions[4].imagePath.empty());
  // Saved through a file beside it, which is gone again.
  EXPECT_FALSE(testsupport::FileExists(Scratch("first_temp.klc")));
  EXPECT_FALSE(testsupport::SavePicture(Window(), "legend_editor_captions").empty());

  // Changed, then opened again: the file's captions come back whole.
  for (HWND box : boxes) wingui::RichEdit(box).SetTextWide(L"changed");
  SetFocus(boxes[5]);
  platform_.SetChosenFile(std::string(SampleDevices() + "\\Button Images\\RedLED.png"));
  Command(Window(), IDM_LEGEND_GET_IMAGE);
  platform_.SetChosenFile(Scratch("first.klc"));
  Command(Window(), IDM_LEGEND_OPEN);
  EXPECT_EQ(BoxText(boxes[0]), L"Copy");
  EXPECT_EQ(BoxText(boxes[2]), L"Bold one");
  // Save goes to the file opened, and writes the same bytes.
  platform_.ClearEvents();
  Command(Window(), IDM_LEGEND_SAVE);
  EXPECT_EQ(platform_.Events(), "");
  EXPECT_EQ(FileBytes(Scratch("first.klc")), first);

  // A file with fewer records fills the first captions; the others keep theirs.
  const std::string two = EncodeCaptionFile({{{}, u"", "{\\rtf1 One}"}, {{}, u"", "{\\rtf1 Two}"}}).value();
  testsupport::WriteTextFile(Scratch("two.klc"), two);
  platform_.SetChosenFile(Scratch("two.klc"));
  Command(Window(), IDM_LEGEND_OPEN);
  EXPECT_EQ(BoxText(boxes[0]), L"One");
  EXPECT_EQ(BoxText(boxes[1]), L"Two");
  EXPECT_EQ(BoxText(boxes[2]), L"Bold one");

  // A damaged file is refused with a message and changes nothing.
  testsupport::WriteTextFile(Scratch("bad.klc"), first.substr(0, first.size() - 3));
  platform_.ClearEvents();
  platform_.SetChosenFile(Scratch("bad.klc"));
  Command(Window(), IDM_LEGEND_OPEN);
  EXPECT_NE(platform_.Events().find("cannot be read: record 12 points outside the file"), std::string::npos)
      << platform_.Events();
  EXPECT_EQ(BoxText(boxes[0]), L"One");
  // Saved since: Exit asks nothing.
  platform_.ClearEvents();
  platform_.SetChosenFile(Scratch("again.klc"));
  Command(Window(), IDM_LEGEND_SAVE_AS);
  Command(Window(), IDM_LEGEND_EXIT);
  EXPECT_EQ(platform_.Events().find("box"), std::string::npos) << platform_.Events();
  EXPECT_FALSE(IsLegendMakerActive(Window()));
}

// What the editor itself writes, with long captions in many fonts and pictures, is inside every
// bound of the caption file and reads back whole.
TEST_F(LegendEditorTest, ItsOwnLongCaptionsInManyFontsReadBack) {
  Open();
  const std::vector<HWND> boxes = CaptionBoxes(Window());
  static constexpr const char* kFaces[] = {
      "Arial", "Times New Roman", "Courier New", "Tahoma", "Verdana", "Georgia", "Symbol", "Wingdings",
      "Liberation Sans", "Liberation Serif", "Liberation Mono", "DejaVu Sans", "MS Sans Serif", "System",
      "Marlett", "Trebuchet MS", "Comic Sans MS", "Impact", "Lucida Console", "Palatino Linotype",
      "Book Antiqua", "Garamond", "Century Gothic", "Franklin Gothic Medium"};
  constexpr int kRun = 40;
  std::vector<std::wstring> texts;
  for (std::size_t b = 0; b < boxes.size(); ++b) {
    // Twelve paragraphs of a hundred characters.
    std::wstring text;
    for (int line = 0; line < 12; ++line) {
      std::wstring words = L"Key " + std::to_wstring(b) + L" line " + std::to_wstring(line) + L":";
      while (words.size() < 100) words += L" caption w\u00f6rds";
      text += words.substr(0, 100) + (line < 11 ? L"\r" : L"");
    }
    const wingui::RichEdit box(boxes[b]);
    box.SetTextWide(text);
    // A run of its own in every font, size, colour and effect.
    for (int at = 0, run = 0; at < box.TextLength(); at += kRun, ++run) {
      box.Send(EM_SETSEL, at, at + kRun);
      wingui::CharFormat f;
      f.mask = CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE;
      f.face = kFaces[(b + static_cast<std::size_t>(run)) % std::size(kFaces)];
      f.heightTwips = 120 + 20 * (run % 12);
      f.color = RGB(run * 37 % 256, run * 91 % 256, b * 53 % 256);
      f.effects = (run & 1 ? CFE_BOLD : 0) | (run & 2 ? CFE_ITALIC : 0) | (run & 4 ? CFE_UNDERLINE : 0);
      box.SetCharFormat(f);
    }
    texts.push_back(BoxText(boxes[b]));
  }
  for (int b : {0, 5, 11}) {
    SetFocus(boxes[static_cast<std::size_t>(b)]);
    platform_.SetChosenFile(SmallPicture());
    Command(Window(), IDM_LEGEND_GET_IMAGE);
  }
  platform_.SetChosenFile(Scratch("long.klc"));
  Command(Window(), IDM_LEGEND_SAVE_AS);
  const CaptionFileRead read = DecodeCaptionFile(FileBytes(Scratch("long.klc")));
  ASSERT_TRUE(read.Ok()) << read.error;
  ASSERT_EQ(read.captions.size(), boxes.size());
  for (std::size_t b = 0; b < boxes.size(); ++b) {
    const CaptionRtfCheck check = CheckCaptionRtf(read.captions[b].rtf);
    EXPECT_EQ(check.fault, "") << b;
    // The count of the text is never less than what the box holds.
    EXPECT_GE(check.textChars, texts[b].size()) << b;
    EXPECT_NE(read.captions[b].rtf.find("\\fonttbl"), std::string::npos) << b;
  }
  EXPECT_NE(read.captions[0].rtf.find("Franklin Gothic Medium"), std::string::npos);
  EXPECT_FALSE(read.captions[5].imagePath.empty());
  EXPECT_EQ(CaptionBoxes(Window()).size(), boxes.size());

  for (HWND box : boxes) wingui::RichEdit(box).SetTextWide(L"changed");
  platform_.ClearEvents();
  platform_.SetChosenFile(Scratch("long.klc"));
  Command(Window(), IDM_LEGEND_OPEN);
  EXPECT_EQ(platform_.Events().find("box"), std::string::npos) << platform_.Events();
  for (std::size_t b = 0; b < boxes.size(); ++b) EXPECT_EQ(BoxText(boxes[b]), texts[b]) << b;
  EXPECT_FALSE(testsupport::SavePicture(Window(), "legend_editor_long_captions").empty());
}

TEST_F(LegendEditorTest, LoadLayoutCarriesTheCaptionsOver) {
  const std::string other = Scratch("Other");
  ASSERT_TRUE(testsupport::MakeDirs(other));
  ASSERT_TRUE(CopyFileA((SampleDevices() + "\\Vid0a7cPid0019\\background.png").c_str(), (other + "\\background.png").c_str(), FALSE));
  testsupport::WriteTextFile(other + "\\layout.kll", "labelSize = 50, 20\nlabelRow 10 10 5 3\npaperType dieCut\n");
  const std::string bare = Scratch("Bare");
  ASSERT_TRUE(testsupport::MakeDirs(bare));
  testsupport::WriteTextFile(bare + "\\layout.kll", "labelSize 50 20\nlabelRow 10 10 5 3\n");

  const RECT outerBefore = [&] {
    RECT r{};
    GetWindowRect(Window(), &r);
    return r;
  }();
  Open();
  std::vector<HWND> boxes = CaptionBoxes(Window());
  wingui::RichEdit(boxes[1]).SetTextWide(L"Kept");

  // A layout without its picture changes nothing.
  platform_.SetChosenFile(bare + "\\layout.kll");
  Command(Window(), IDM_LEGEND_LOAD_LAYOUT);
  EXPECT_NE(platform_.Events().find("has no picture"), std::string::npos) << platform_.Events();
  EXPECT_EQ(CaptionBoxes(Window()).size(), 12u);
  EXPECT_EQ(BoxText(boxes[1]), L"Kept");

  platform_.ClearEvents();
  platform_.SetChosenFile(other + "\\layout.kll");
  Command(Window(), IDM_LEGEND_LOAD_LAYOUT);
  // The dialog starts on the device's own layout.
  EXPECT_NE(platform_.Events().find("\"Select a layout file to open.\" \"Layout Files\" \"*.kll\" \"\" \"" +
                                   programming_.DeviceFolder() + "\" \"" + programming_.DeviceFolder() +
                                   "\\layout.kll\""),
            std::string::npos)
      << platform_.Events();
  boxes = CaptionBoxes(Window());
  ASSERT_EQ(boxes.size(), 3u);
  const RECT second = ChildRect(Window(), boxes[1]);
  EXPECT_EQ(second.left, 65);
  EXPECT_EQ(second.top, 10);
  EXPECT_EQ(second.right - second.left, 50);
  EXPECT_EQ(BoxText(boxes[0]), L"Copy");
  EXPECT_EQ(BoxText(boxes[1]), L"Kept");
  EXPECT_EQ(Client(Window()).right, 400);
  EXPECT_EQ(Client(Window()).bottom, 310);
  EXPECT_FALSE(testsupport::SavePicture(Window(), "legend_editor_loaded_layout").empty());

  // The captions carried over count as a change.
  platform_.ClearEvents();
  platform_.SetBoxAnswer(BoxAnswer::No);
  Command(Window(), IDM_LEGEND_EXIT);
  EXPECT_NE(platform_.Events().find("Exit Caption Editor"), std::string::npos);
  RECT outer{};
  GetWindowRect(Window(), &outer);
  EXPECT_EQ(outer.right - outer.left, outerBefore.right - outerBefore.left);
  EXPECT_EQ(outer.bottom - outer.top, outerBefore.bottom - outerBefore.top);
}

TEST_F(LegendEditorTest, TheEditMenuFollowsTheCurrentCaption) {
  Open();
  const HWND box = CaptionBoxes(Window())[4];
  SetFocus(box);
  const HMENU edit = GetSubMenu(GetMenu(Window()), 1);
  auto greyed = [&](UINT id) { return (GetMenuState(edit, id, MF_BYCOMMAND) & MF_GRAYED) != 0; };
  SendMessageA(Window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), 1);
  EXPECT_TRUE(greyed(IDM_LEGEND_UNDO));
  EXPECT_TRUE(greyed(IDM_LEGEND_CUT));
  EXPECT_TRUE(greyed(IDM_LEGEND_COPY));
  Type(box, "abc");
  SendMessageA(box, EM_SETSEL, 0, 2);
  SendMessageA(Window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), 1);
  EXPECT_FALSE(greyed(IDM_LEGEND_UNDO));
  EXPECT_FALSE(greyed(IDM_LEGEND_CUT));
  EXPECT_FALSE(greyed(IDM_LEGEND_COPY));
  // Edit commands go to the current caption.
  Command(Window(), IDM_LEGEND_DELETE);
  EXPECT_EQ(BoxText(box), L"c");
  Command(Window(), IDM_LEGEND_UNDO);
  EXPECT_EQ(BoxText(box), L"abc");
  platform_.SetBoxAnswer(BoxAnswer::No);
  Command(Window(), IDM_LEGEND_EXIT);
}

TEST_F(LegendEditorTest, KeysOnlyWhileTheEditorsWindowIsActive) {
  Open();
  const HWND box = CaptionBoxes(Window())[0];
  // The window's activation as the system reports it (other tests' windows may take the
  // desktop's own at any moment).
  auto activate = [&](bool active) {
    SendMessageA(Window(), WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0);
    SetFocus(box);
  };
  activate(true);
  // F9 through the thread's pump, as the device thread's waits pump: the font dialog.
  MSG f9{box, WM_KEYDOWN, VK_F9, 1, 0, {}};
  {
    DialogAnswer closer("Font", IDCANCEL);
    EXPECT_TRUE(wingui::MessagePump::ForThisThread().PreTranslate(f9));
    EXPECT_TRUE(closer.Found());
  }
  {
    DialogAnswer closer("About", IDOK);
    Command(Window(), IDM_LEGEND_ABOUT);
    EXPECT_TRUE(closer.Found());
  }
  // Another window active: the editor's keys are not taken.
  activate(false);
  MSG f10{box, WM_KEYDOWN, VK_F10, 1, 0, {}};
  EXPECT_FALSE(LegendTranslateAccelerator(f10));
  EXPECT_FALSE(wingui::MessagePump::ForThisThread().PreTranslate(f10));
  activate(true);
  {
    DialogAnswer closer("Color", IDCANCEL);
    EXPECT_TRUE(LegendTranslateAccelerator(f10));
    EXPECT_TRUE(closer.Found());
  }
  // Keys of other windows of the thread are never the editor's.
  activate(true);
  MSG elsewhere{GetDesktopWindow(), WM_KEYDOWN, VK_F10, 1, 0, {}};
  EXPECT_FALSE(LegendTranslateAccelerator(elsewhere));
  Command(Window(), IDM_LEGEND_EXIT);
  MSG after{Window(), WM_KEYDOWN, VK_F10, 1, 0, {}};
  EXPECT_FALSE(LegendTranslateAccelerator(after));
}

TEST_F(LegendEditorTest, TheFontDialogKeepsTheSizeAndGivesItsEffects) {
  Open();
  const HWND box = CaptionBoxes(Window())[0];
  SendMessageA(Window(), WM_ACTIVATE, WA_ACTIVE, 0);
  SetFocus(box);
  SendMessageA(box, EM_SETSEL, 0, -1);
  // The dialog starts from the selection's face and size; OK as it stands changes neither.
  {
    DialogAnswer ok("Font", IDOK);
    Command(Window(), IDM_LEGEND_SELECT_FONT);
    EXPECT_TRUE(ok.Found());
  }
  wingui::CharFormat f = wingui::RichEdit(box).GetCharFormat();
  EXPECT_EQ(f.heightTwips, 160);
  EXPECT_EQ(f.face, "Arial");
  EXPECT_FALSE(f.effects & CFE_BOLD);
  platform_.SetBoxAnswer(BoxAnswer::No);
  Command(Window(), IDM_LEGEND_EXIT);
}

// The background colour of a box's whole text.
COLORREF TextBackground(HWND box) {
  SendMessageA(box, EM_SETSEL, 0, -1);
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  SendMessageW(box, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  return (cf.dwMask & CFM_BACKCOLOR) && !(cf.dwEffects & CFE_AUTOBACKCOLOR) ? cf.crBackColor : CLR_NONE;
}

TEST_F(LegendEditorTest, FontAndColourAreTheirDialogsAnswers) {
  Open();
  const HWND box = CaptionBoxes(Window())[0];
  const int dpi = GetDeviceCaps(wingui::WindowDc(box).get(), LOGPIXELSY);
  const std::string window = RecordedSystemCalls::Hex(reinterpret_cast<std::uintptr_t>(Window()));
  SetFocus(box);
  SendMessageA(box, EM_SETSEL, 0, -1);

  // Cancel: nothing changes. The dialog starts from the selection's face and character height.
  platform_.AnswerFontDialog(std::nullopt);
  Command(Window(), IDM_LEGEND_SELECT_FONT);
  EXPECT_EQ(platform_.Events(), "font dialog " + window + " \"Arial\" height " +
                                    std::to_string(-MulDiv(160, dpi, 1440)) + " weight 400 colour 0x0");
  wingui::CharFormat f = wingui::RichEdit(box).GetCharFormat();
  EXPECT_EQ(f.face, "Arial");
  EXPECT_EQ(f.heightTwips, 160);

  FontChoice courier;
  courier.face = "Courier New";
  courier.height = -27;
  courier.weight = FW_BOLD;
  courier.italic = true;
  courier.colour = RGB(255, 0, 0);
  courier.pointTenths = 200;
  platform_.AnswerFontDialog(courier);
  Command(Window(), IDM_LEGEND_SELECT_FONT);
  f = wingui::RichEdit(box).GetCharFormat();
  EXPECT_EQ(f.face, "Courier New");
  EXPECT_EQ(f.heightTwips, 400);  // the point size, whatever the height
  EXPECT_EQ(f.color, RGB(255, 0, 0));
  EXPECT_EQ(f.effects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT), DWORD(CFE_BOLD | CFE_ITALIC));
  EXPECT_EQ(GetFocus(), box);

  // The next one starts from the selection again with the effects last chosen; without a point
  // size the height gives the size.
  platform_.ClearEvents();
  FontChoice plain;
  plain.face = "Arial";
  plain.height = -16;
  plain.underline = true;
  platform_.AnswerFontDialog(plain);
  SendMessageA(box, EM_SETSEL, 0, -1);
  Command(Window(), IDM_LEGEND_SELECT_FONT);
  EXPECT_EQ(platform_.Events(), "font dialog " + window + " \"Courier New\" height " +
                                    std::to_string(-MulDiv(400, dpi, 1440)) + " weight 700 italic colour 0xff");
  f = wingui::RichEdit(box).GetCharFormat();
  EXPECT_EQ(f.face, "Arial");
  EXPECT_EQ(f.heightTwips, MulDiv(16, 1440, dpi));
  EXPECT_EQ(f.effects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT), DWORD(CFE_UNDERLINE));

  // The colour dialog starts with white, then with the last colour and the custom colours the
  // user left in it.
  platform_.ClearEvents();
  CustomColours mine{};
  mine[3] = RGB(1, 2, 3);
  platform_.AnswerColourDialog(RGB(0, 200, 0), mine);
  Command(Window(), IDM_LEGEND_SELECT_COLOR);
  EXPECT_EQ(TextBackground(box), RGB(0, 200, 0));
  EXPECT_EQ(platform_.CustomColoursGiven(), CustomColours{});
  platform_.AnswerColourDialog(std::nullopt);
  SetFocus(CaptionBoxes(Window())[1]);
  Command(Window(), IDM_LEGEND_SELECT_COLOR);
  EXPECT_EQ(platform_.Events(), "colour dialog " + window + " 0xffffff / colour dialog " + window + " 0xc800");
  EXPECT_EQ(platform_.CustomColoursGiven(), mine);
  EXPECT_EQ(TextBackground(CaptionBoxes(Window())[1]), CLR_NONE);  // cancelled
  platform_.SetBoxAnswer(BoxAnswer::No);
  Command(Window(), IDM_LEGEND_EXIT);
}

TEST_F(LegendEditorTest, TheMouseAndTheDevicesKeysAreTheEditorsWhileItIsOn) {
  MacroContext& c = *programming_.Context();
  const KeyRecord& key = c.keys[2];
  const LPARAM centre = MAKELPARAM(static_cast<int>(key.key.x + 5), static_cast<int>(key.key.y + 5));
  Open();
  SendMessageA(Window(), WM_LBUTTONDOWN, MK_LBUTTON, centre);
  SendMessageA(Window(), WM_LBUTTONUP, 0, centre);
  OnDeviceKeyInProgramming(Window(), key.keyId);
  ReleaseKeyInView(Window(), key.keyId);
  EXPECT_EQ(Calls(), "");
  // The programming window's own messages still reach it: a redraw of its keys.
  SendMessageA(Window(), kRedrawKeyMessage, 0, 0);
  EXPECT_TRUE(IsLegendMakerActive(Window()));
  Command(Window(), IDM_LEGEND_EXIT);
  OnDeviceKeyInProgramming(Window(), key.keyId);
  EXPECT_EQ(Calls(), "editor 2;");
}

TEST_F(LegendEditorTest, TheWindowGoingWhileTheEditorIsOnStillEndsTheProgrammingWindow) {
  Open();
  Type(CaptionBoxes(Window())[0], "unsaved");
  DestroyWindow(Window());
  EXPECT_FALSE(IsLegendMakerActive(Window()));
  // The programming window's own ending ran: its context was closed.
  EXPECT_NE(Calls().find("context closed;"), std::string::npos) << Calls();
  MSG quit{};
  EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(platform_.Events(), "");
}

}  // namespace
