// The "Macro Input" editor without a window: what each command does to the key's macros, the
// checks of OK, the layer keys, On Release, and what closing stores or puts back.
#include "macros/macro_editor_controller.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "macros/macro_editor_ids.h"
#include "macros/model/layer_names.h"
#include "tests/macros/macro_editor_fixture.h"
#include "tests/platform/base/system_calls_recorder.h"

using namespace testsupport;

namespace {

void* const kOwner = reinterpret_cast<void*>(0x4242);

class Editor : public ::testing::Test {
 protected:
  // Opens the editor of a key as the editors' Toggle does once its window is there.
  MacroEditorController& Open(int key) {
    editor_ = std::make_unique<MacroEditorController>(pad_.context, key, calls_, lastFolder_);
    editor_->SetOwner(kOwner);
    editor_->Open();
    return *editor_;
  }
  const MacroEntry* Entry(int key, KeyEvent event, LayerColour colour = LayerColour::Green, const char* program = "Pnr") {
    for (const MacroEntry& e : pad_.context.keys[FindKeyIndex(pad_.context.keys, key)].entries)
      if (e.event == event && e.colour == colour && e.program == program) return &e;
    return nullptr;
  }
  std::wstring Codes(const MacroEntry* entry) {
    std::wstring out;
    if (!entry) return L"<none>";
    for (const MacroItem& item : entry->codes) out += (out.empty() ? L"" : L"|") + item.text;
    return out;
  }

  SystemCallsRecorder calls_;
  std::string lastFolder_;
  EditorKeypad pad_;
  std::unique_ptr<MacroEditorController> editor_;
};

TEST_F(Editor, EachCommandInsertsItsStepAtTheSelection) {
  struct Case {
    int id;
    const wchar_t* text;
    const wchar_t* code;
  };
  const Case cases[] = {
      {IDM_MACRO_KEY_DOWN, L"[\u2193]", L"//KeyDown"},
      {IDM_MACRO_KEY_UP, L"[\u2191]", L"//KeyUp"},
      {IDM_MACRO_DELAY_FIRST, L"[Delay 0.5]", L"\tsleep(500);\n"},
      {IDM_MACRO_DELAY_FIRST + 1, L"[Delay 1.0]", L"\tsleep(1000);\n"},
      {IDM_MACRO_DELAY_FIRST + 4, L"[Delay 2.5]", L"\tsleep(2500);\n"},
      {IDM_MACRO_DELAY_LAST, L"[Delay 10.0]", L"\tsleep(10000);\n"},
      {IDM_MACRO_AUTO_REPEAT, L"[Auto Repeat (0.5:0.05)]", L"\tAutoRepeatThisKey(500,50);\n"},
      {IDM_MACRO_BACKLIGHT_TOGGLE, L"[Backlight Toggle]", L"\tToggleBacklights();\n"},
      {IDM_MACRO_SCROLL_UP, L"[Scroll Up]", L"\tSendMouseMove(0,0,10);\n"},
      {IDM_MACRO_SCROLL_DOWN, L"[Scroll Down]", L"\tSendMouseMove(0,0,-10);\n"},
      {IDM_MACRO_MOUSE_CLICK, L"<Mouse Click>", L"SendString(\"<Mouse Click>\");"},
      {IDM_MACRO_MOUSE_DOUBLE_CLICK, L"<Mouse Double Click>", L"SendString(\"<Mouse Double Click>\");"},
      {IDM_MACRO_MOUSE_RIGHT_CLICK, L"<Mouse Right Click>", L"SendString(\"<Mouse Right Click>\");"},
      {IDM_MACRO_MOUSE_CENTER_CLICK, L"<Mouse Center Click>", L"SendString(\"<Mouse Center Click>\");"},
      {IDM_MACRO_MOUSE_BUTTON_4, L"<Mouse Button 4 Click>", L"SendString(\"<Mouse Button 4 Click>\");"},
      {IDM_MACRO_MOUSE_BUTTON_5, L"<Mouse Button 5 Click>", L"SendString(\"<Mouse Button 5 Click>\");"},
      {IDM_MACRO_MEDIA_STOP, L"<Stop Media>", L"SendString(\"<Stop Media>\");"},
      {IDM_MACRO_MEDIA_PLAY_PAUSE, L"<Play/Pause Media>", L"SendString(\"<Play/Pause Media>\");"},
      {IDM_MACRO_VOLUME_UP, L"<Volume Up>", L"SendString(\"<Volume Up>\");"},
      {IDM_MACRO_VOLUME_DOWN, L"<Volume Down>", L"SendString(\"<Volume Down>\");"},
      {IDM_MACRO_VOLUME_MUTE, L"<Volume Mute>", L"SendString(\"<Volume Mute>\");"},
      {IDM_MACRO_NEXT_TRACK, L"<Next Track>", L"SendString(\"<Next Track>\");"},
      {IDM_MACRO_PREVIOUS_TRACK, L"<Prev Track>", L"SendString(\"<Prev Track>\");"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    pad_.context.functions = {};
    pad_.Store(5, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/ab", L""}});
    MacroEditorController& editor = Open(5);
    // Between the two typed characters: the typed text is split around the step.
    editor.SelectionChanged(EditorBox::KeyDown, {1, 1});
    EXPECT_EQ(editor.Command(c.id), EditorAction::Done);
    const MacroEntry* entry = Entry(5, KeyEvent::Down);
    EXPECT_EQ(StepTexts(entry), std::wstring(L"/a|") + c.text + L"|/b");
    EXPECT_EQ(Codes(entry), L"SendString(\"/a\");|" + std::wstring(c.code) + L"|SendString(\"/b\");");
    const int length = static_cast<int>(std::wstring(c.text).size());
    EXPECT_EQ(editor.State().selection.start, 1 + length);
    EXPECT_EQ(editor.State().keyDownText, L"a" + std::wstring(c.text) + L"b");
  }
}

TEST_F(Editor, AutoRepeatItemsSetTheValuesTheStepAndTheCaptionsShow) {
  MacroEditorController& editor = Open(5);
  EXPECT_EQ(RepeatDelayCaption(500), "Auto Repeat Initial Delay (0.5s)");
  EXPECT_EQ(RepeatRateCaption(50), "Auto Repeat Rate (0.05s)");
  EXPECT_EQ(RepeatDelayOfItem(IDM_MACRO_REPEAT_DELAY_FIRST + 1), 500);  // "0.5 Seconds" checked at start
  EXPECT_EQ(RepeatRateOfItem(IDM_MACRO_REPEAT_RATE_LAST), 50);          // "20 Per Second"
  EXPECT_EQ(RepeatDelayOfItem(IDM_MACRO_REPEAT_RATE_FIRST), 0);
  EXPECT_EQ(RepeatRateOfItem(IDM_MACRO_AUTO_REPEAT), 0);

  EXPECT_EQ(editor.Command(IDM_MACRO_REPEAT_DELAY_LAST), EditorAction::Done);  // 5 Seconds
  EXPECT_EQ(editor.Command(IDM_MACRO_REPEAT_RATE_FIRST + 2), EditorAction::Done);  // 3 Per Second
  EXPECT_EQ(pad_.context.autoRepeatDelay, 5000);
  EXPECT_EQ(pad_.context.autoRepeatRate, 333);
  EXPECT_EQ(RepeatDelayCaption(5000), "Auto Repeat Initial Delay (5.0s)");
  EXPECT_EQ(RepeatRateCaption(333), "Auto Repeat Rate (0.33s)");
  editor.Command(IDM_MACRO_AUTO_REPEAT);
  EXPECT_EQ(StepTexts(Entry(5, KeyEvent::Down)), L"[Auto Repeat (5.0:0.33)]");
  EXPECT_EQ(Codes(Entry(5, KeyEvent::Down)), L"\tAutoRepeatThisKey(5000,333);\n");
}

TEST(EditorChecks, HeldKeysAndSymbolPlaces) {
  auto steps = [](std::initializer_list<const wchar_t*> texts) {
    std::vector<MacroItem> items;
    for (const wchar_t* t : texts) items.push_back({t});
    return items;
  };
  const std::wstring down(kHeldSymbol), up(kReleasedSymbol);
  struct Case {
    std::vector<MacroItem> keyDown, keyUp;
    MacroCheck expected;
  };
  const Case cases[] = {
      {{}, {}, MacroCheck::Passed},
      {steps({down.c_str(), L"/a"}), {}, MacroCheck::SymbolFirst},
      {steps({L"/a"}), steps({up.c_str()}), MacroCheck::SymbolFirst},
      {steps({L"/a", down.c_str()}), {}, MacroCheck::KeysLeftHeld},
      {steps({L"/a", down.c_str(), L"/xa", up.c_str()}), {}, MacroCheck::Passed},  // typed text: its last character
      {steps({L"/a", down.c_str()}), steps({L"/a", up.c_str()}), MacroCheck::Passed},
      {steps({L"<F1>", down.c_str()}), steps({L"<F1>", up.c_str()}), MacroCheck::Passed},
      {steps({L"<F1>", down.c_str(), L"<F2>", up.c_str()}), {}, MacroCheck::KeysLeftHeld},
      {steps({L"[Delay 0.5]", up.c_str()}), {}, MacroCheck::SymbolAfterCommand},
      {steps({L"/a", down.c_str(), down.c_str()}), {}, MacroCheck::SymbolAfterCommand},
      {steps({L"<F1>", up.c_str()}), {}, MacroCheck::Passed},  // a release alone holds nothing
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(CheckHeldKeys(cases[i].keyDown, cases[i].keyUp), cases[i].expected);
  }
}

TEST_F(Editor, OkShowsWhatItsChecksFindAndStaysOpenWhenRefused) {
  const std::wstring down(kHeldSymbol), up(kReleasedSymbol);
  struct Case {
    std::vector<std::pair<std::wstring, std::wstring>> steps;
    BoxAnswer answer;
    EditorAction expected;
    std::string box;  // "" : none
  };
  const std::string symbolFirst =
      "box 0x4242 \"Macro Error\" \"Your macro begins with a Key Down or Key Up symbol. These symbols must be after "
      "a key and cannot be at the start of your macro.  Please correct this problem before continuing.\" Ok";
  const std::string afterCommand =
      "box 0x4242 \"Macro Error\" \"One or more Key Down or Key Up symbols in your macro are placed after a function "
      "(these begin with the '[' symbol).  Key Down and Key Up symbols cannot modify a function.  Please correct "
      "this problem before continuing.\" Ok";
  const std::string held =
      "box 0x4242 \"Macro Error\" \"ORVX has detected that after playing this macro one or more keys will be left "
      "in the down position.  Are you sure you would like to continue without fixing this?\" YesNo";
  const Case cases[] = {
      {{{L"/hi", L""}}, BoxAnswer::Ok, EditorAction::CloseAccepted, ""},
      {{{down, L"//KeyDown"}, {L"/a", L""}}, BoxAnswer::Ok, EditorAction::Done, symbolFirst},
      {{{L"[Delay 0.5]", L"\tsleep(500);\n"}, {up, L"//KeyUp"}}, BoxAnswer::Ok, EditorAction::Done, afterCommand},
      {{{L"/a", L""}, {down, L"//KeyDown"}}, BoxAnswer::No, EditorAction::Done, held},
      {{{L"/a", L""}, {down, L"//KeyDown"}}, BoxAnswer::Yes, EditorAction::CloseAccepted, held},
  };
  for (const Case& c : cases) {
    calls_.ClearEvents();
    calls_.SetBoxAnswer(c.answer);
    MacroEditorController& editor = Open(5);
    for (const auto& [text, code] : c.steps) editor.InsertStep(text, code.empty() ? nullptr : &code);
    EXPECT_EQ(editor.Command(IDOK), c.expected);
    EXPECT_EQ(calls_.Events(), c.box);
    EXPECT_FALSE(editor.Closed());
  }
}

TEST_F(Editor, OkStoresTheMacroAsItsKeyFunctionAndWritesTheScript) {
  pad_.Store(3, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/other key", L""}});
  MacroEditorController& editor = Open(5);
  ASSERT_TRUE(editor.InsertStep(L"/Hello"));
  editor.Command(IDM_MACRO_KEY_DOWN);
  editor.InsertStep(L"/o");
  editor.Command(IDM_MACRO_KEY_UP);
  EXPECT_EQ(StepTexts(Entry(5, KeyEvent::Down)), L"/Hello|[\u2193]|/o|[\u2191]");
  EXPECT_EQ(editor.Command(IDOK), EditorAction::CloseAccepted);
  editor.Close(true);

  const KeyFunction* f = pad_.Function(5, KeyEvent::Down, LayerColour::Green, "Pnr");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->body,
            "{\n\n//ORVX: \"/Hell\"\nSendString(\"/Hell\");\n\n\n\n//ORVX: \"_/o\"\nSendString(\"_/o\");\n\n\n\n\n"
            "//ORVX: \"-/o\"\nSendString(\"-/o\");\n\n\n}");
  ASSERT_NE(pad_.Function(3, KeyEvent::Down, LayerColour::Green, "Pnr"), nullptr);
  const std::string script = pad_.Script();
  EXPECT_NE(script.find("void KeyDown_5_Green_Pnr()"), std::string::npos) << script;
  EXPECT_NE(script.find("void KeyDown_3_Green_Pnr()"), std::string::npos);
  // The key's entries are those of its stored macro again; the key is no longer current.
  EXPECT_EQ(StepTexts(Entry(5, KeyEvent::Down)), L"/Hell|/o|[\u2193]|/o|[\u2191]");
  EXPECT_EQ(pad_.context.currentKey, kNoKeyId);
  EXPECT_EQ(pad_.device.handOvers, 1);
}

TEST_F(Editor, OkWritesTheUnitsOwnScriptWhenTheDeviceRunsItsTypesSharedOne) {
  pad_.device.sharedScript = true;
  MacroEditorController& editor = Open(5);
  editor.InsertStep(L"/mine");
  editor.Close(true);
  EXPECT_EQ(pad_.files.WriteLog(), std::vector<std::string>{"C:\\Orvane\\QpadDevices\\Vid0a7cPid0019\\Script_1.oxs"});
  EXPECT_EQ(calls_.Events(), "");
}

// A device in no programming session (a regenerated layout's, a test's) answers as one: the
// editor works on the green layer, writes the device's script and hands nothing over.
TEST(EditorOutsideASession, WorksOnTheGreenLayerAndWritesTheDevicesScript) {
  SystemCallsRecorder calls;
  std::string folder;
  EditorKeypad pad;
  FakeDevice plain;
  plain.settings = pad.device.settings;
  pad.context.device = &plain;
  MacroEditorController editor(pad.context, 5, calls, folder);
  EXPECT_EQ(editor.Colour(), LayerColour::Green);
  editor.Open();
  editor.InsertStep(L"/plain");
  editor.Close(true);
  EXPECT_EQ(pad.files.WriteLog(), std::vector<std::string>{plain.ScriptPath()});
  EXPECT_NE(pad.Function(5, KeyEvent::Down, LayerColour::Green, "Pnr"), nullptr);
  EXPECT_EQ(calls.Events(), "");
}

TEST_F(Editor, AScriptThatCannotBeWrittenIsReported) {
  pad_.files.Put(pad_.ScriptPath(), "old");
  pad_.files.MakeReadOnly(pad_.ScriptPath());
  MacroEditorController& editor = Open(5);
  editor.InsertStep(L"/lost");
  editor.Close(true);
  EXPECT_EQ(calls_.Events(),
            "box 0x4242 \"Orvane II Error\" \"The script file could not be written:\n"
            "C:\\Orvane\\QpadDevices\\Vid0a7cPid0019\\Script_1.oxs\" Ok Error");
}

TEST_F(Editor, AMacroEmptiedOnOkLeavesNoFunctionAndAnEmptyOneAddsNone) {
  pad_.Store(5, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/old", L""}});
  pad_.Store(5, KeyEvent::Up, LayerColour::Green, "Pnr", {{L"/up", L""}});
  MacroEditorController& editor = Open(5);
  EXPECT_TRUE(editor.State().onRelease);
  EXPECT_EQ(editor.Command(IDC_MACRO_CLEAR), EditorAction::Done);
  EXPECT_EQ(editor.State().keyDownText, L"");
  editor.Close(true);
  EXPECT_EQ(pad_.Function(5, KeyEvent::Down, LayerColour::Green, "Pnr"), nullptr);
  EXPECT_NE(pad_.Function(5, KeyEvent::Up, LayerColour::Green, "Pnr"), nullptr);

  MacroEditorController& second = Open(9);
  second.Close(true);
  EXPECT_EQ(pad_.FunctionsOf(9), 0);
  EXPECT_EQ(pad_.context.functions.count(), 1);
  EXPECT_EQ(pad_.context.functions.items[0].index, 0);
}

TEST_F(Editor, CancelShowsTheStoredMacroAgainAndOkAfterwardsKeepsIt) {
  pad_.Store(5, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/stored", L""}});
  MacroEditorController& editor = Open(5);
  EXPECT_EQ(editor.State().keyDownText, L"stored");
  EXPECT_EQ(editor.State().selection.end, 6);  // the whole macro selected
  editor.Command(IDC_MACRO_CLEAR);
  editor.InsertStep(L"/typed");
  EXPECT_EQ(editor.Command(IDCANCEL), EditorAction::CloseCancelled);
  editor.Close(false);
  EXPECT_EQ(StepTexts(Entry(5, KeyEvent::Down)), L"/stored");

  // Opened again and closed with OK, the stored macro stays.
  MacroEditorController& again = Open(5);
  EXPECT_EQ(again.State().keyDownText, L"stored");
  again.Close(true);
  ASSERT_NE(pad_.Function(5, KeyEvent::Down, LayerColour::Green, "Pnr"), nullptr);
  EXPECT_NE(pad_.Function(5, KeyEvent::Down, LayerColour::Green, "Pnr")->body.find("SendString(\"/stored\");"), std::string::npos);
}

// A window that goes without OK or Cancel keeps its edit while the keypad is there (the switch
// turned off, a hidden editor's keys); an unplugged keypad's user confirmed nothing: the stored
// macro stays and the script is not written.
TEST(EditorClosedUnanswered, StoresTheEditUnlessTheKeypadWasUnplugged) {
  constexpr int kDelay2 = IDM_MACRO_DELAY_FIRST + 3;
  constexpr int kDelay45 = IDM_MACRO_DELAY_FIRST + 8;
  for (const bool unplugged : {false, true}) {
    SCOPED_TRACE(unplugged ? "unplugged" : "still attached");
    SystemCallsRecorder calls;
    std::string folder;
    EditorKeypad pad;
    {
      MacroEditorController first(pad.context, 3, calls, folder);
      first.Open();
      first.Command(kDelay2);
      first.Close(true);
    }
    const std::string stored = pad.Script();
    ASSERT_NE(stored.find("sleep(2000);"), std::string::npos) << stored;
    const std::size_t writes = pad.files.WriteLog().size();

    MacroEditorController editor(pad.context, 3, calls, folder);
    editor.Open();
    editor.Command(IDC_MACRO_CLEAR);
    editor.Command(kDelay45);
    editor.Command(IDM_MACRO_LAYER_TOGGLE);
    pad.device.removed = unplugged;
    editor.CloseUnanswered();

    EXPECT_TRUE(editor.Closed());
    EXPECT_EQ(pad.context.toggleKeys.count(3), unplugged ? 0u : 1u);
    const KeyFunction* f = pad.Function(3, KeyEvent::Down, LayerColour::Green, "Pnr");
    const int key = FindKeyIndex(pad.context.keys, 3);
    if (unplugged) {
      EXPECT_EQ(pad.files.WriteLog().size(), writes);
      EXPECT_EQ(pad.Script(), stored);
      ASSERT_NE(f, nullptr);
      EXPECT_NE(f->body.find("sleep(2000);"), std::string::npos) << f->body;
      ASSERT_EQ(pad.context.keys[key].entries.size(), 1u);
      EXPECT_EQ(StepTexts(&pad.context.keys[key].entries[0]), L"[Delay 2.0]");
    } else {
      EXPECT_EQ(pad.files.WriteLog().size(), writes + 1);
      EXPECT_EQ(pad.Script().find("sleep(2000);"), std::string::npos) << pad.Script();
    }
    EXPECT_EQ(calls.Events(), "");
  }
}

TEST_F(Editor, CustomCommandsTakenOutAreRenumberedOnOkOnly) {
  pad_.StoreCommand(5, "Tools\\X");  // id 1
  pad_.StoreCommand(3, "Y");         // id 2
  const auto bodyOf3 = [&] { return pad_.Function(3, KeyEvent::Down, LayerColour::Green, "Pnr")->body; };
  {
    MacroEditorController& editor = Open(5);
    editor.Command(IDC_MACRO_CLEAR);
    EXPECT_NE(bodyOf3().find("#define __CMD_ID__ 2"), std::string::npos);
    editor.Close(false);
    EXPECT_NE(bodyOf3().find("#define __CMD_ID__ 2"), std::string::npos) << "Cancel leaves the other key alone";
    EXPECT_EQ(pad_.context.includes, (std::map<int, std::string>{{1, "Tools\\X.oxc"}, {2, "Y.oxc"}}));
    EXPECT_TRUE(pad_.context.removedCommandIds.empty());
  }
  {
    MacroEditorController& editor = Open(5);
    editor.Command(IDC_MACRO_CLEAR);
    editor.Close(true);
    EXPECT_NE(bodyOf3().find("#define __CMD_ID__ 1\n"), std::string::npos) << bodyOf3();
    EXPECT_EQ(pad_.context.includes, (std::map<int, std::string>{{1, "Y.oxc"}}));
    EXPECT_EQ(pad_.context.customCommandCount, 1);
    EXPECT_EQ(pad_.FunctionsOf(5), 0);
  }
}

TEST_F(Editor, ACustomCommandGetsTheNextIdAndCancelTakesItBack) {
  pad_.StoreCommand(3, "Y");  // id 1
  pad_.context.customCommandSteps = {"[CC: Open Mail]", "[CC: Tools\\Print]"};
  MacroEditorController& editor = Open(5);
  EXPECT_EQ(editor.Command(kFirstCustomCommandMenuId + 1), EditorAction::Done);
  EXPECT_EQ(StepTexts(Entry(5, KeyEvent::Down)), L"[CC: Tools\\Print]");
  EXPECT_EQ(Codes(Entry(5, KeyEvent::Down)), L"#define __CMD_ID__ 2\nRUN_COMMAND();\n");
  EXPECT_EQ(pad_.context.includes[2], "Tools\\Print.oxc");
  // An id past the list inserts nothing.
  EXPECT_EQ(editor.Command(kFirstCustomCommandMenuId + 2), EditorAction::Done);
  EXPECT_EQ(pad_.context.customCommandCount, 2);
  editor.Close(false);
  EXPECT_EQ(pad_.context.customCommandCount, 1);
  EXPECT_EQ(pad_.context.includes.size(), 1u);
}

TEST_F(Editor, ToggleAndShiftMakeALayerKeyAndTakeEachOtherOut) {
  MacroEditorController& editor = Open(5);
  editor.InsertStep(L"/x");
  EXPECT_EQ(editor.Command(IDM_MACRO_LAYER_TOGGLE), EditorAction::Done);
  MacroEditorState s = editor.State();
  EXPECT_TRUE(s.toggleKey);
  EXPECT_TRUE(s.layerNote);
  EXPECT_EQ(s.keyDownText, kToggleKeyNote);
  EXPECT_EQ(s.selection.end, 0);
  EXPECT_EQ(StepTexts(Entry(5, KeyEvent::Down, LayerColour::Red, "Pni")), L"");
  EXPECT_EQ(StepTexts(Entry(5, KeyEvent::Down, LayerColour::Green, "Pni")), L"");
  EXPECT_EQ(Entry(5, KeyEvent::Down), nullptr);
  EXPECT_FALSE(editor.InsertStep(L"/y")) << "a toggle key has no macro";

  editor.Command(IDM_MACRO_LAYER_SHIFT);
  s = editor.State();
  EXPECT_TRUE(s.shiftKey);
  EXPECT_FALSE(s.toggleKey);
  EXPECT_EQ(s.keyDownText, kShiftKeyNote);
  EXPECT_EQ(pad_.context.toggleKeys.count(5), 0u);
  EXPECT_NE(Entry(5, KeyEvent::Up, LayerColour::Red, "Pni"), nullptr);
  EXPECT_NE(Entry(5, KeyEvent::Down, LayerColour::Green, "Pni"), nullptr);

  editor.Command(IDM_MACRO_LAYER_TOGGLE);
  s = editor.State();
  EXPECT_TRUE(s.toggleKey);
  EXPECT_FALSE(s.shiftKey);

  editor.Command(IDM_MACRO_LAYER_TOGGLE);
  s = editor.State();
  EXPECT_FALSE(s.toggleKey || s.shiftKey || s.layerNote);
  EXPECT_EQ(s.keyDownText, L"");
  EXPECT_TRUE(editor.InsertStep(L"/y"));
}

TEST_F(Editor, CancelPutsTheLayerKeysBackAsTheyWereAtOpening) {
  pad_.context.shiftKeys.insert(3);
  MacroEditorController& editor = Open(5);
  editor.Command(IDM_MACRO_LAYER_TOGGLE);
  editor.Close(false);
  EXPECT_EQ(pad_.context.toggleKeys.count(5), 0u);

  MacroEditorController& shift = Open(3);
  EXPECT_TRUE(shift.State().shiftKey) << "opened as the shift key it is";
  EXPECT_EQ(shift.State().keyDownText, kShiftKeyNote);
  shift.Command(IDM_MACRO_LAYER_SHIFT);
  EXPECT_FALSE(shift.State().shiftKey);
  shift.Close(false);
  EXPECT_EQ(pad_.context.shiftKeys.count(3), 1u);
}

TEST_F(Editor, ALayerKeyStoredOnOkKeepsNoFunctionOfItsOwn) {
  pad_.Store(5, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/old macro", L""}});
  MacroEditorController& editor = Open(5);
  editor.Command(IDM_MACRO_LAYER_TOGGLE);
  editor.Close(true);
  EXPECT_EQ(pad_.context.toggleKeys.count(5), 1u);
  EXPECT_EQ(pad_.FunctionsOf(5), 0) << "the old macro went with the key becoming a toggle key";
  const std::string script = pad_.Script();
  EXPECT_NE(script.find("//ORVX: Toggle Keys\r\n//5\r\n"), std::string::npos) << script;
  EXPECT_EQ(script.find("old macro"), std::string::npos);
  EXPECT_NE(script.find("void KeyDown_5_Green_Pni()"), std::string::npos);

  // Back to a plain key with a macro of its own.
  MacroEditorController& again = Open(5);
  EXPECT_TRUE(again.State().toggleKey);
  again.Command(IDM_MACRO_LAYER_TOGGLE);
  again.InsertStep(L"/new");
  again.Close(true);
  EXPECT_EQ(pad_.context.toggleKeys.count(5), 0u);
  EXPECT_EQ(pad_.FunctionsOf(5), 1);
  EXPECT_NE(pad_.Function(5, KeyEvent::Down, LayerColour::Green, "Pnr"), nullptr);
}

TEST_F(Editor, OnReleaseShowsTheKeyUpBoxAndIsLeftOnlyWhenItIsEmpty) {
  pad_.Store(5, KeyEvent::Up, LayerColour::Green, "Pnr", {{L"/up", L""}});
  MacroEditorController& editor = Open(5);
  MacroEditorState s = editor.State();
  EXPECT_TRUE(s.onRelease);
  EXPECT_EQ(s.keyUpText, L"up");
  EXPECT_EQ(s.current, EditorBox::KeyDown);

  editor.FocusBox(EditorBox::KeyUp, {2, 2});
  editor.InsertStep(L"/s");
  EXPECT_EQ(editor.State().keyUpText, L"ups");
  editor.Command(IDM_MACRO_ON_RELEASE);
  EXPECT_EQ(calls_.Events(),
            "box 0x4242 \"Unable to exit On Release mode.\" \"There are still contents in the \"Key Up Macro\" "
            "text box.  Please delete everything in the text box before deselecting this option.\" Ok Information");
  EXPECT_TRUE(editor.State().onRelease);

  editor.Command(IDC_MACRO_CLEAR);
  editor.Command(IDM_MACRO_ON_RELEASE);
  s = editor.State();
  EXPECT_FALSE(s.onRelease);
  EXPECT_EQ(s.current, EditorBox::KeyDown) << "steps no longer go into the hidden box";
  editor.InsertStep(L"/d");
  EXPECT_EQ(s.keyUpText, L"");
  EXPECT_EQ(StepTexts(Entry(5, KeyEvent::Down)), L"/d");

  editor.Command(IDM_MACRO_ON_RELEASE);
  EXPECT_TRUE(editor.State().onRelease);
}

TEST_F(Editor, ATogglingKeyLeavesOnReleaseMode) {
  pad_.Store(5, KeyEvent::Up, LayerColour::Green, "Pnr", {{L"/up", L""}});
  MacroEditorController& editor = Open(5);
  editor.Command(IDM_MACRO_LAYER_TOGGLE);
  EXPECT_FALSE(editor.State().onRelease);
  EXPECT_EQ(calls_.Events(), "");
}

TEST_F(Editor, TheLayersAreTheDevicesColourAndTheWindowsProgramLayer) {
  pad_.device.red = true;
  pad_.context.layerNames = {"My App", "Word"};
  pad_.context.programLayer = 2;
  pad_.Store(5, KeyEvent::Down, LayerColour::Red, "My_App", {{L"/in my app", L""}});
  pad_.Store(5, KeyEvent::Down, LayerColour::Green, "My_App", {{L"/green", L""}});
  MacroEditorController& editor = Open(5);
  EXPECT_EQ(editor.Colour(), LayerColour::Red);
  EXPECT_EQ(editor.Program(), "My_App");
  EXPECT_EQ(editor.State().keyDownText, L"in my app");
  EXPECT_EQ(ProgramLayerOfIndex(pad_.context, 1), "Pnr");
  EXPECT_EQ(ProgramLayerOfIndex(pad_.context, 3), "Word");
  EXPECT_EQ(ProgramLayerOfIndex(pad_.context, 4), "Pnr");
}

TEST_F(Editor, DroppedFilesAndShortcutsOpenWhatTheyName) {
  MacroEditorController& editor = Open(5);
  const auto resolve = [](const std::wstring& path) -> std::optional<std::wstring> {
    if (path == L"C:\\Desktop\\Editor.LNK") return std::wstring(L"C:\\Tools\\edit.exe");
    return std::nullopt;
  };
  editor.DropFiles({L"C:\\Data\\report.txt", L"C:\\Desktop\\Editor.LNK", L"C:\\Desktop\\Broken.lnk"}, resolve);
  EXPECT_EQ(StepTexts(Entry(5, KeyEvent::Down)), L"[Open report]|[Open edit.exe]|[Open Broken]");
  EXPECT_EQ(Codes(Entry(5, KeyEvent::Down)),
            L"\tShellExecute(0,\"Open\",\"C:\\\\Data\\\\report.txt\",\"\",\"\",1);\n|"
            L"\tShellExecute(0,\"Open\",\"C:\\\\Tools\\\\edit.exe\",\"\",\"\",1);\n|"
            L"\tShellExecute(0,\"Open\",\"C:\\\\Desktop\\\\Broken.lnk\",\"\",\"\",1);\n");
  EXPECT_EQ(calls_.Events(), "");

  // A path that the script's narrow text cannot carry is refused, with the reason.
  editor.DropFiles({L"C:\\Data\\\u0416.txt"}, resolve);
  EXPECT_EQ(StepTexts(Entry(5, KeyEvent::Down)), L"[Open report]|[Open edit.exe]|[Open Broken]");
  EXPECT_EQ(calls_.Events(),
            "box 0x4242 \"Macro Error\" \"This path has characters that a macro cannot hold:\nC:\\Data\\?.txt\" Ok");
}

TEST_F(Editor, SelectFileAndSelectFolderOpenTheChosenPath) {
  MacroEditorController& editor = Open(5);
  calls_.SetChosenFile(std::nullopt);
  editor.Command(IDM_MACRO_SELECT_FILE);
  EXPECT_EQ(StepTexts(Entry(5, KeyEvent::Down)), L"");
  calls_.SetChosenFile("C:\\Program Files\\Tool.exe");
  editor.Command(IDM_MACRO_SELECT_FILE);
  calls_.SetChosenFolder("C:\\My Data");
  editor.Command(IDM_MACRO_SELECT_FOLDER);
  calls_.SetChosenFolder(std::nullopt);
  editor.Command(IDM_MACRO_SELECT_FOLDER);
  EXPECT_EQ(StepTexts(Entry(5, KeyEvent::Down)), L"[Open: Tool.exe]|[Open: C:\\My Data]");
  EXPECT_EQ(Codes(Entry(5, KeyEvent::Down)),
            L"\tShellExecute(0,\"Open\",\"C:\\\\Program Files\\\\Tool.exe\",\"\",\"\",1);\n|"
            L"\tShellExecute(0,\"Open\",\"C:\\\\My Data\",\"\",\"\",1);\n");
  // Both dialogs belong to the editor; the folder dialog starts where the last one ended.
  EXPECT_EQ(calls_.Events(),
            "open dialog 0x4242 \"Select a File...\" \"\" \"\" \"\" \"\" / "
            "open dialog 0x4242 \"Select a File...\" \"\" \"\" \"\" \"\" / "
            "folder dialog 0x4242 \"Select a Folder\" \"\" / "
            "folder dialog 0x4242 \"Select a Folder\" \"C:\\My Data\"");
}

// The folder is the editors', not one editor's: the next editor's dialog starts where the
// last one ended, and another set of editors starts afresh.
TEST_F(Editor, TheNextEditorsFolderDialogStartsWhereTheLastOneEnded) {
  calls_.SetChosenFolder("C:\\My Data");
  Open(5).Command(IDM_MACRO_SELECT_FOLDER);
  editor_->Close(true);
  calls_.ClearEvents();
  calls_.SetChosenFolder(std::nullopt);
  Open(9).Command(IDM_MACRO_SELECT_FOLDER);
  EXPECT_EQ(calls_.Events(), "folder dialog 0x4242 \"Select a Folder\" \"C:\\My Data\"");

  EditorKeypad other;
  std::string otherFolder;
  MacroEditorController elsewhere(other.context, 9, calls_, otherFolder);
  elsewhere.SetOwner(kOwner);
  elsewhere.Open();
  calls_.ClearEvents();
  elsewhere.Command(IDM_MACRO_SELECT_FOLDER);
  EXPECT_EQ(calls_.Events(), "folder dialog 0x4242 \"Select a Folder\" \"\"");
}

TEST_F(Editor, HelpOpensTheDeviceFoldersHelpFileWhenThereIsOne) {
  MacroEditorController& editor = Open(5);
  editor.Command(IDM_MACRO_HELP);
  EXPECT_EQ(calls_.Events(), "");
  pad_.device.files["ORVXHelp.chm"] = "";
  editor.Command(IDM_MACRO_HELP);
  editor.Command(IDM_MACRO_WEB_PAGE);
  EXPECT_EQ(calls_.Events(),
            "shell 0x4242 \"Open\" \"C:\\Orvane\\QpadDevices\\Vid0a7cPid0019\\ORVXHelp.chm\" null null 1 / "
            "shell 0x4242 \"open\" \"http://www.kestrion.com/qpad\" null null 1");
}

TEST_F(Editor, TheLayerLedsBlinkFasterWhileTheEditorIsOpen) {
  MacroEditorController& editor = Open(5);
  EXPECT_EQ(pad_.context.blinkPeriod.load(), 250);
  editor.Close(false);
  EXPECT_EQ(pad_.context.blinkPeriod.load(), 500);
  // A worker asked to stop is not started again.
  MacroEditorController& again = Open(5);
  pad_.context.blinkPeriod = -1;
  again.Close(false);
  EXPECT_EQ(pad_.context.blinkPeriod.load(), -1);
}

TEST_F(Editor, AKeyWithoutARecordTakesNothing) {
  MacroEditorController& editor = Open(77);
  EXPECT_FALSE(editor.InsertStep(L"/x"));
  EXPECT_EQ(editor.Command(IDM_MACRO_DELAY_FIRST), EditorAction::Done);
  EXPECT_EQ(editor.Command(IDC_MACRO_CLEAR), EditorAction::Done);
  EXPECT_EQ(editor.Command(IDOK), EditorAction::CloseAccepted);
  editor.Close(true);
  EXPECT_EQ(pad_.FunctionsOf(77), 0);
  EXPECT_EQ(editor.Command(IDOK), EditorAction::NotMine) << "closed";
}

TEST_F(Editor, DrawsTheKeyAsAPlainKeyWhenItCloses) {
  static int drawn = -1;
  pad_.events.drawKey = [](MacroContext&, int index) { drawn = index; };
  MacroEditorController& editor = Open(9);
  editor.Close(false);
  EXPECT_EQ(drawn, 2);
}

}  // namespace
