#include "macros/macro_editor_controller.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwctype>
#include <set>

#include "macros/macro_editor_ids.h"
#include "macros/model/custom_commands.h"
#include "macros/model/key_caps.h"
#include "macros/model/key_functions.h"
#include "macros/model/layer_names.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_device.h"
#include "macros/model/macro_text.h"
#include "macros/model/text_code_page.h"
#include "macros/script_file_write.h"
#include "platform/base/system_calls.h"

const wchar_t kToggleKeyNote[] =
    L"[Layer Toggle] (Please uncheck \"Toggle\" in the Layer Menu to delete this command and program a "
    L"macro for this key).";
const wchar_t kShiftKeyNote[] =
    L"[Layer Shift] (Please uncheck \"Shift\" in the Layer Menu to delete this command and program a "
    L"macro for this key).";

namespace {

// Numbers of the platform (the window checks them against its headers).
constexpr int kShowNormal = 1;
constexpr std::uint32_t kClipboardText = 1;        // the platform's CF_TEXT
constexpr std::uint32_t kClipboardWideText = 13;  // the platform's CF_UNICODETEXT

constexpr const char* kMacroError = "Macro Error";
constexpr const char* kSymbolFirstText =
    "Your macro begins with a Key Down or Key Up symbol. These symbols must be after a key and cannot be "
    "at the start of your macro.  Please correct this problem before continuing.";
constexpr const char* kSymbolAfterCommandText =
    "One or more Key Down or Key Up symbols in your macro are placed after a function (these begin with "
    "the '[' symbol).  Key Down and Key Up symbols cannot modify a function.  Please correct this problem "
    "before continuing.";
constexpr const char* kKeysLeftHeldText =
    "ORVX has detected that after playing this macro one or more keys will be left in the down position.  "
    "Are you sure you would like to continue without fixing this?";
constexpr const char* kKeyUpNotEmptyText =
    "There are still contents in the \"Key Up Macro\" text box.  Please delete everything in the text box "
    "before deselecting this option.";
constexpr const char* kKeyUpNotEmptyCaption = "Unable to exit On Release mode.";
constexpr const char* kPathNotWritableText = "This path has characters that a macro cannot hold:\n";

constexpr const char* kHelpFile = "ORVXHelp.chm";
constexpr const char* kKeypadWebPage = "http://www.kestrion.com/qpad";

constexpr int kRepeatDelays[] = {200, 500, 1000, 2000, 3000, 4000, 5000};
constexpr int kRepeatRates[] = {1000, 500, 333, 250, 200, 100, 50};

struct FixedStep {
  int id;
  const wchar_t* text;
  const wchar_t* code;  // null: the step sends its own text
};
constexpr FixedStep kFixedSteps[] = {
    {IDM_MACRO_KEY_DOWN, L"[\u2193]", L"//KeyDown"},
    {IDM_MACRO_KEY_UP, L"[\u2191]", L"//KeyUp"},
    {IDM_MACRO_BACKLIGHT_TOGGLE, L"[Backlight Toggle]", L"\tToggleBacklights();\n"},
    {IDM_MACRO_MOUSE_CLICK, L"<Mouse Click>", nullptr},
    {IDM_MACRO_MOUSE_DOUBLE_CLICK, L"<Mouse Double Click>", nullptr},
    {IDM_MACRO_MOUSE_RIGHT_CLICK, L"<Mouse Right Click>", nullptr},
    {IDM_MACRO_MOUSE_CENTER_CLICK, L"<Mouse Center Click>", nullptr},
    {IDM_MACRO_SCROLL_UP, L"[Scroll Up]", L"\tSendMouseMove(0,0,10);\n"},
    {IDM_MACRO_SCROLL_DOWN, L"[Scroll Down]", L"\tSendMouseMove(0,0,-10);\n"},
    {IDM_MACRO_MOUSE_BUTTON_4, L"<Mouse Button 4 Click>", nullptr},
    {IDM_MACRO_MOUSE_BUTTON_5, L"<Mouse Button 5 Click>", nullptr},
    {IDM_MACRO_MEDIA_STOP, L"<Stop Media>", nullptr},
    {IDM_MACRO_MEDIA_PLAY_PAUSE, L"<Play/Pause Media>", nullptr},
    {IDM_MACRO_VOLUME_UP, L"<Volume Up>", nullptr},
    {IDM_MACRO_VOLUME_DOWN, L"<Volume Down>", nullptr},
    {IDM_MACRO_VOLUME_MUTE, L"<Volume Mute>", nullptr},
    {IDM_MACRO_NEXT_TRACK, L"<Next Track>", nullptr},
    {IDM_MACRO_PREVIOUS_TRACK, L"<Prev Track>", nullptr},
};

template <typename... Args>
std::wstring Format(const char* format, Args... args) {
  char text[128];
  std::snprintf(text, sizeof text, format, args...);
  const std::string narrow(text);
  return std::wstring(narrow.begin(), narrow.end());
}

// The key a step holds or releases: typed text its last character, any other step itself.
std::wstring HeldKeyOf(const std::wstring& step) {
  if (IsTypedText(step)) return step.size() > 1 ? step.substr(step.size() - 1) : std::wstring();
  return step;
}

bool EndsWithNoCase(std::wstring_view text, std::wstring_view end) {
  if (text.size() < end.size()) return false;
  return std::equal(end.begin(), end.end(), text.end() - static_cast<std::ptrdiff_t>(end.size()),
                    [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); });
}

std::wstring FileNameOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring WithoutExtension(const std::wstring& name) {
  const std::size_t dot = name.find_last_of(L'.');
  return dot == std::wstring::npos || dot == 0 ? name : name.substr(0, dot);
}

// Set for the time one of the editor's modal boxes or dialogs is up.
class BusyScope {
 public:
  explicit BusyScope(bool& busy) : busy_(busy), was_(busy) { busy_ = true; }
  ~BusyScope() { busy_ = was_; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  bool& busy_;
  bool was_;
};

int FindOwnFunction(const KeyFunctionList& list, int keyId, KeyEvent event, LayerColour colour,
                    std::string_view program) {
  for (std::size_t i = 0; i < list.items.size(); ++i) {
    const KeyFunction& f = list.items[i];
    if (f.scan == keyId && f.event == event && f.colour == colour && f.program == program)
      return static_cast<int>(i);
  }
  return -1;
}

void RenumberFunctions(KeyFunctionList& list) {
  for (std::size_t i = 0; i < list.items.size(); ++i) list.items[i].index = static_cast<int>(i);
  RebuildKeyFunctionTree(list);
}

}  // namespace

MacroEntry* SelectMacroEntry(MacroContext& context, int keyId, KeyEvent event, LayerColour colour,
                             std::string_view program) {
  context.currentKey = keyId;
  context.currentEvent = event;
  context.currentColour = colour;
  context.currentProgram = std::string(program);
  return FindMacroEntry(context);
}

std::string ProgramLayerOfIndex(const MacroContext& context, int index) {
  const int n = index - 2;
  if (n < 0 || n >= static_cast<int>(context.layerNames.size())) return std::string(kDefaultProgramLayer);
  return context.layerNames[static_cast<std::size_t>(n)];
}

MacroCheck CheckHeldKeys(const std::vector<MacroItem>& keyDown, const std::vector<MacroItem>& keyUp) {
  if ((!keyDown.empty() && IsStepSymbol(keyDown.front().text)) ||
      (!keyUp.empty() && IsStepSymbol(keyUp.front().text)))
    return MacroCheck::SymbolFirst;
  std::vector<const MacroItem*> steps;
  for (const MacroItem& item : keyDown) steps.push_back(&item);
  for (const MacroItem& item : keyUp) steps.push_back(&item);
  std::set<std::wstring> held;
  for (std::size_t i = 1; i < steps.size(); ++i) {
    const std::wstring& previous = steps[i - 1]->text;
    const std::wstring& step = steps[i]->text;
    if (!IsStepSymbol(step)) continue;
    if (previous.starts_with(L'[')) return MacroCheck::SymbolAfterCommand;
    if (step == kHeldSymbol)
      held.insert(HeldKeyOf(previous));
    else
      held.erase(HeldKeyOf(previous));
  }
  return held.empty() ? MacroCheck::Passed : MacroCheck::KeysLeftHeld;
}

std::optional<EditorStep> CommandStep(int id, int repeatDelayMs, int repeatRateMs) {
  for (const FixedStep& step : kFixedSteps)
    if (step.id == id)
      return EditorStep{step.text, step.code ? std::optional<std::wstring>(step.code) : std::nullopt};
  if (id >= IDM_MACRO_DELAY_FIRST && id <= IDM_MACRO_DELAY_LAST) {
    const int ms = 500 * (id - IDM_MACRO_DELAY_FIRST + 1);
    return EditorStep{Format("[Delay %d.%d]", ms / 1000, ms % 1000 / 100), Format("\tsleep(%d);\n", ms)};
  }
  if (id == IDM_MACRO_AUTO_REPEAT)
    return EditorStep{Format("[Auto Repeat (%0.1f:%0.2f)]", repeatDelayMs * 0.001, repeatRateMs * 0.001),
                      Format("\tAutoRepeatThisKey(%d,%d);\n", repeatDelayMs, repeatRateMs)};
  return std::nullopt;
}

std::wstring OpenPathCode(std::string_view path) {
  return WidenText("\tShellExecute(0,\"Open\",\"" + EscapeScriptString(path) + "\",\"\",\"\",1);\n");
}

int RepeatDelayOfItem(int id) {
  if (id < IDM_MACRO_REPEAT_DELAY_FIRST || id > IDM_MACRO_REPEAT_DELAY_LAST) return 0;
  return kRepeatDelays[id - IDM_MACRO_REPEAT_DELAY_FIRST];
}

int RepeatRateOfItem(int id) {
  if (id < IDM_MACRO_REPEAT_RATE_FIRST || id > IDM_MACRO_REPEAT_RATE_LAST) return 0;
  return kRepeatRates[id - IDM_MACRO_REPEAT_RATE_FIRST];
}

std::string RepeatDelayCaption(int delayMs) {
  char text[64];
  std::snprintf(text, sizeof text, "Auto Repeat Initial Delay (%0.1fs)", delayMs * 0.001);
  return text;
}

std::string RepeatRateCaption(int rateMs) {
  char text[64];
  std::snprintf(text, sizeof text, "Auto Repeat Rate (%0.2fs)", rateMs * 0.001);
  return text;
}

MacroEditorController::MacroEditorController(MacroContext& context, int keyId, SystemCalls& calls,
                                             std::string& lastFolder)
    : context_(context), device_(*context.device), calls_(calls), lastFolder_(lastFolder), keyId_(keyId) {
  colour_ = device_.RedLayer() ? LayerColour::Red : LayerColour::Green;
  program_ = LayerToken(ProgramLayerOfIndex(context_, context_.programLayer));
  // The entries shown are those of the stored macro, whatever an earlier edit left behind.
  RebuildKeyCaps(context_);
  onRelease_ = FindEntry(KeyEvent::Up) != nullptr;
}

MacroEditorController::~MacroEditorController() = default;

void MacroEditorController::Open() {
  if (opened_) return;
  opened_ = true;
  SetBlinkPeriod(250);
  if (onRelease_) Select(KeyEvent::Up);
  current_ = EditorBox::KeyDown;
  selection_ = {};
  if (MacroEntry* entry = Select(KeyEvent::Down)) {
    LayOutMacroItems(*entry);
    if (!entry->steps.empty()) selection_.end = entry->steps.back().end;
  }
  // A toggle or shift key is made one again, which shows its note.
  if (IsToggleKey()) {
    wasToggle_ = true;
    context_.toggleKeys.erase(keyId_);
    LayerKey(false);
  }
  if (IsShiftKey()) {
    wasShift_ = true;
    context_.shiftKeys.erase(keyId_);
    LayerKey(true);
  }
  savedCommandCount_ = context_.customCommandCount;
  savedIncludes_ = context_.includes;
  // Only the ids this edit takes out are renumbered when it is stored.
  context_.removedCommandIds.clear();
}

EditorAction MacroEditorController::Command(int id) {
  if (closed_) return EditorAction::NotMine;
  if (id >= kFirstCustomCommandMenuId && id <= kLastCustomCommandMenuId) {
    if (IsToggleKey() || IsShiftKey()) return EditorAction::Done;
    Select(CurrentEvent());
    InsertCustomCommand(context_, id, &selection_);
    return EditorAction::Done;
  }
  if (const int delay = RepeatDelayOfItem(id)) {
    context_.autoRepeatDelay = delay;
    return EditorAction::Done;
  }
  if (const int rate = RepeatRateOfItem(id)) {
    context_.autoRepeatRate = rate;
    return EditorAction::Done;
  }
  if (const std::optional<EditorStep> step = CommandStep(id, context_.autoRepeatDelay, context_.autoRepeatRate)) {
    Insert(step->text, step->code);
    return EditorAction::Done;
  }
  switch (id) {
    case IDM_MACRO_OK:
      return CheckMacroKeyUpDown() ? EditorAction::CloseAccepted : EditorAction::Done;
    case IDM_MACRO_CANCEL:
      return EditorAction::CloseCancelled;
    case IDC_MACRO_CLEAR:
      Clear();
      return EditorAction::Done;
    case IDM_MACRO_ON_RELEASE:
      OnRelease();
      return EditorAction::Done;
    case IDM_MACRO_SELECT_FILE:
      SelectFile();
      return EditorAction::Done;
    case IDM_MACRO_SELECT_FOLDER:
      SelectFolder();
      return EditorAction::Done;
    case IDM_MACRO_LAYER_TOGGLE:
      LayerKey(false);
      return EditorAction::Done;
    case IDM_MACRO_LAYER_SHIFT:
      LayerKey(true);
      return EditorAction::Done;
    case IDM_MACRO_HELP:
      OpenHelp(false);
      return EditorAction::Done;
    case IDM_MACRO_WEB_PAGE:
      OpenHelp(true);
      return EditorAction::Done;
  }
  return EditorAction::NotMine;
}

void MacroEditorController::FocusBox(EditorBox box, MacroSelection selection) {
  if (closed_ || box == current_) return;
  current_ = box;
  selection_ = selection;
  Select(CurrentEvent());
}

bool MacroEditorController::SelectionChanged(EditorBox box, MacroSelection selection) {
  if (closed_ || box != current_) return false;
  const MacroEntry* entry = IsToggleKey() || IsShiftKey() ? nullptr : Select(CurrentEvent());
  const bool moved = SnapSelectionToSteps(entry, selection_, selection);
  selection_ = selection;
  return moved;
}

bool MacroEditorController::EditKey(EditingKey key) {
  if (closed_ || busy_ || IsToggleKey() || IsShiftKey()) return false;
  MacroEntry* entry = Select(CurrentEvent());
  if (!entry) return false;
  LayOutMacroItems(*entry);
  // An empty macro takes only pasted text.
  if (entry->steps.empty() && key != EditingKey::Paste) return false;
  const bool range = selection_.start != selection_.end;
  switch (key) {
    case EditingKey::Return:
      return InsertMacroText(context_, L"<Return>", nullptr, &selection_);
    case EditingKey::Copy:
      return CopyToClipboard(false);
    case EditingKey::Cut:
      return CopyToClipboard(true);
    case EditingKey::Paste:
      return PasteFromClipboard();
    case EditingKey::Delete:
    case EditingKey::Backspace:
      if (range) {
        DeleteMacroSelection(context_, selection_);
        return true;
      }
      return DeleteStepAtCaret(context_, selection_, key == EditingKey::Backspace);
  }
  return false;
}

void MacroEditorController::DropFiles(
    const std::vector<std::wstring>& paths,
    const std::function<std::optional<std::wstring>(const std::wstring&)>& resolve) {
  for (const std::wstring& path : paths) {
    std::wstring target = path;
    std::wstring name = WithoutExtension(FileNameOf(path));
    if (EndsWithNoCase(path, L".lnk") && resolve) {
      if (const std::optional<std::wstring> resolved = resolve(path); resolved && !resolved->empty()) {
        target = *resolved;
        name = FileNameOf(target);
      }
    }
    InsertOpenStep(L"[Open " + name + L"]", target);
  }
}

bool MacroEditorController::InsertStep(std::wstring_view step, const std::wstring* code) {
  if (closed_ || busy_ || IsToggleKey() || IsShiftKey()) return false;
  Select(CurrentEvent());
  return InsertMacroText(context_, step, code, &selection_);
}

bool MacroEditorController::CheckMacroKeyUpDown() {
  static const std::vector<MacroItem> kNone;
  const MacroEntry* down = FindEntry(KeyEvent::Down);
  const MacroEntry* up = FindEntry(KeyEvent::Up);
  switch (CheckHeldKeys(down ? down->steps : kNone, up ? up->steps : kNone)) {
    case MacroCheck::Passed:
      return true;
    case MacroCheck::SymbolFirst:
      Box(kSymbolFirstText, kMacroError, BoxButtons::Ok);
      return false;
    case MacroCheck::SymbolAfterCommand:
      Box(kSymbolAfterCommandText, kMacroError, BoxButtons::Ok);
      return false;
    case MacroCheck::KeysLeftHeld:
      return Box(kKeysLeftHeldText, kMacroError, BoxButtons::YesNo) == BoxAnswer::Yes;
  }
  return false;
}

void MacroEditorController::Close(bool accepted) {
  if (closed_) return;
  closed_ = true;
  // An editor that never opened changed nothing and has nothing to put back.
  if (!opened_) return;
  SetBlinkPeriod(500);
  const bool special = wasToggle_ || wasShift_ || IsToggleKey() || IsShiftKey();
  if (!accepted) {
    // Toggle and shift membership as it was at opening.
    context_.toggleKeys.erase(keyId_);
    context_.shiftKeys.erase(keyId_);
    if (wasToggle_) context_.toggleKeys.insert(keyId_);
    if (wasShift_) context_.shiftKeys.insert(keyId_);
  } else if (special) {
    // A key that is or was a toggle or shift key keeps no macro of its own.
    RemoveKeyFunctions();
  }
  wasToggle_ = wasShift_ = false;
  if (accepted) {
    if (IsToggleKey() || IsShiftKey()) {
      ClearKeyEntries();
      MakeLayerEntries(IsShiftKey());
    }
    StoreKey();
  } else {
    context_.removedCommandIds.clear();
    context_.customCommandCount = savedCommandCount_;
    context_.includes = savedIncludes_;
    RebuildKeyCaps(context_);
  }
  const int index = KeyIndex();
  if (index >= 0) context_.events.DrawKey(context_, index);
  context_.currentKey = kNoKeyId;
  device_.HandOverPendingKey();
}

void MacroEditorController::CloseUnanswered() { Close(!device_.Removed()); }

MacroEditorState MacroEditorController::State() const {
  MacroEditorState s;
  s.toggleKey = IsToggleKey();
  s.shiftKey = IsShiftKey();
  s.layerNote = s.toggleKey || s.shiftKey;
  if (s.toggleKey) {
    s.keyDownText = kToggleKeyNote;
  } else if (s.shiftKey) {
    s.keyDownText = kShiftKeyNote;
  } else {
    if (const MacroEntry* down = FindEntry(KeyEvent::Down)) s.keyDownText = MacroBoxText(*down);
    if (const MacroEntry* up = FindEntry(KeyEvent::Up)) s.keyUpText = MacroBoxText(*up);
  }
  s.onRelease = onRelease_;
  s.repeatDelay = context_.autoRepeatDelay;
  s.repeatRate = context_.autoRepeatRate;
  s.current = current_;
  s.selection = selection_;
  return s;
}

const MacroEntry* MacroEditorController::FindEntry(KeyEvent event) const {
  const int index = KeyIndex();
  if (index < 0) return nullptr;
  for (const MacroEntry& entry : context_.keys[static_cast<std::size_t>(index)].entries)
    if (entry.event == event && entry.colour == colour_ && entry.program == program_) return &entry;
  return nullptr;
}

MacroEntry* MacroEditorController::Select(KeyEvent event) { return Select(event, colour_, program_); }

MacroEntry* MacroEditorController::Select(KeyEvent event, LayerColour colour, std::string_view program) {
  return SelectMacroEntry(context_, keyId_, event, colour, program);
}

KeyEvent MacroEditorController::CurrentEvent() const {
  return current_ == EditorBox::KeyDown ? KeyEvent::Down : KeyEvent::Up;
}

int MacroEditorController::KeyIndex() const { return FindKeyIndex(context_.keys, keyId_); }
bool MacroEditorController::IsToggleKey() const { return context_.toggleKeys.count(keyId_) != 0; }
bool MacroEditorController::IsShiftKey() const { return context_.shiftKeys.count(keyId_) != 0; }

void MacroEditorController::Insert(const std::wstring& step, const std::optional<std::wstring>& code) {
  InsertStep(step, code ? &*code : nullptr);
}

bool MacroEditorController::CopyToClipboard(bool cut) {
  const MacroEntry* entry = FindMacroEntry(context_);
  if (!entry) return false;
  const std::wstring text = TypedTextInSelection(*entry, selection_);
  bool done = false;
  // Plain 8-bit text in the program's code page, converted with its bounds checked; nothing to
  // copy leaves what the clipboard holds.
  if (!text.empty()) {
    if (const std::unique_ptr<ClipboardAccess> clipboard = calls_.OpenClipboardFor(owner_)) {
      const std::string narrow = NarrowText(text);
      std::vector<std::uint8_t> bytes(narrow.begin(), narrow.end());
      bytes.push_back(0);
      done = clipboard->Replace(kClipboardText, bytes);
    }
  }
  if (cut && selection_.start != selection_.end) {
    DeleteMacroSelection(context_, selection_);
    done = true;
  }
  return done;
}

bool MacroEditorController::PasteFromClipboard() {
  std::optional<std::vector<std::uint8_t>> bytes;
  if (const std::unique_ptr<ClipboardAccess> clipboard = calls_.OpenClipboardFor(owner_))
    bytes = clipboard->Data(kClipboardWideText);
  if (!bytes) return false;
  std::wstring text(bytes->size() / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), bytes->data(), text.size() * sizeof(wchar_t));
  // The text ends at its zero, whatever the block holds beyond it.
  text.resize(std::min(text.size(), text.find(L'\0')));
  return PasteMacroText(context_, text, selection_);
}

void MacroEditorController::LayerKey(bool shift) {
  std::set<int>& keys = shift ? context_.shiftKeys : context_.toggleKeys;
  ClearKeyEntries();
  selection_ = {};
  if (keys.count(keyId_)) {
    keys.erase(keyId_);
    Select(KeyEvent::Down);
    return;
  }
  // A key is a toggle key or a shift key, never both: out of the other set first.
  if (shift ? IsToggleKey() : IsShiftKey()) LayerKey(!shift);
  keys.insert(keyId_);
  MakeLayerEntries(shift);
  if (onRelease_) OnRelease();
}

void MacroEditorController::OnRelease() {
  if (!onRelease_) {
    onRelease_ = true;
    return;
  }
  const MacroEntry* up = FindEntry(KeyEvent::Up);
  if (up && !up->steps.empty() && !IsToggleKey() && !IsShiftKey()) {
    Box(kKeyUpNotEmptyText, kKeyUpNotEmptyCaption, BoxButtons::Ok, BoxIcon::Information);
    return;
  }
  onRelease_ = false;
  // The hidden Key Up box must not stay the one that steps go into.
  current_ = EditorBox::KeyDown;
  selection_ = {};
  if (IsToggleKey() || IsShiftKey()) return;
  if (MacroEntry* down = Select(KeyEvent::Down)) {
    LayOutMacroItems(*down);
    if (!down->steps.empty()) selection_.start = selection_.end = down->steps.back().end;
  }
}

void MacroEditorController::Clear() {
  if (IsToggleKey()) LayerKey(false);
  if (IsShiftKey()) LayerKey(true);
  MacroEntry* entry = Select(CurrentEvent());
  selection_ = {};
  if (!entry) return;
  for (const MacroItem& code : entry->codes) {
    const int id = CustomCommandIdOf(NarrowText(code.text));
    if (id > 0) context_.removedCommandIds.push_back(id);
  }
  entry->steps.clear();
  entry->codes.clear();
}

void MacroEditorController::SelectFile() {
  if (IsToggleKey() || IsShiftKey()) return;
  OpenFileQuestion question;
  question.owner = owner_;
  question.title = "Select a File...";
  std::optional<std::string> file;
  {
    BusyScope busy(busy_);
    file = calls_.ChooseFileToOpen(question);
  }
  if (!file || file->empty()) return;
  const std::size_t slash = file->find_last_of('\\');
  const std::string name = slash == std::string::npos ? *file : file->substr(slash + 1);
  InsertOpenStep(L"[Open: " + WidenText(name) + L"]", WidenText(*file));
}

void MacroEditorController::SelectFolder() {
  if (IsToggleKey() || IsShiftKey()) return;
  FolderQuestion question;
  question.owner = owner_;
  question.title = "Select a Folder";
  question.initialFolder = lastFolder_;
  std::optional<std::string> folder;
  {
    BusyScope busy(busy_);
    folder = calls_.ChooseFolder(question);
  }
  if (!folder || folder->empty()) return;
  lastFolder_ = *folder;
  InsertOpenStep(L"[Open: " + WidenText(*folder) + L"]", WidenText(*folder));
}

void MacroEditorController::InsertOpenStep(const std::wstring& display, const std::wstring& path) {
  // The script is narrow text: a path the code page cannot carry (a "?" stands for such a
  // character) would open nothing.
  const std::string narrow = NarrowText(path);
  if (WidenText(narrow) != path || narrow.find('?') != std::string::npos) {
    Box((kPathNotWritableText + narrow).c_str(), kMacroError, BoxButtons::Ok);
    return;
  }
  Insert(display, OpenPathCode(narrow));
}

void MacroEditorController::OpenHelp(bool webPage) {
  if (webPage) {
    calls_.ExecuteWithShell(owner_, "open", kKeypadWebPage, nullptr, nullptr, kShowNormal);
    return;
  }
  std::wstring path;
  if (!device_.ResolveDeviceFile(kHelpFile, path)) return;
  calls_.ExecuteWithShell(owner_, "Open", NarrowText(path).c_str(), nullptr, nullptr, kShowNormal);
}

void MacroEditorController::ClearKeyEntries() {
  const int index = KeyIndex();
  if (index >= 0) context_.keys[static_cast<std::size_t>(index)].entries.clear();
}

void MacroEditorController::MakeLayerEntries(bool shift) {
  const std::string_view any = kAnyProgramLayer;
  if (shift) {
    Select(KeyEvent::Up, LayerColour::Red, any);
    Select(KeyEvent::Up, LayerColour::Green, any);
  }
  Select(KeyEvent::Down, LayerColour::Red, any);
  Select(KeyEvent::Down, LayerColour::Green, any);
}

void MacroEditorController::StoreKey() {
  RenumberCustomCommands(context_);
  const bool special = IsToggleKey() || IsShiftKey();
  KeyFunctionList& list = context_.functions;
  const int index = KeyIndex();
  // Every decision is taken on a copy: the key's entries are made anew afterwards.
  const std::vector<MacroEntry> entries =
      index >= 0 ? context_.keys[static_cast<std::size_t>(index)].entries : std::vector<MacroEntry>();
  for (const MacroEntry& entry : entries) {
    const int function = FindOwnFunction(list, keyId_, entry.event, entry.colour, entry.program);
    if (!entry.steps.empty() || (function < 0 && special)) {
      KeyFunction* target = function >= 0 ? &list.items[static_cast<std::size_t>(function)] : nullptr;
      if (!target) {
        KeyFunction added;
        added.scan = static_cast<std::uint8_t>(keyId_);
        added.event = entry.event;
        added.colour = entry.colour;
        added.program = entry.program;
        list.items.push_back(std::move(added));
        target = &list.items.back();
      }
      MacroTextToScript(entry, *target);
    } else if (function >= 0) {
      // A macro emptied in the editor leaves no function behind.
      list.items.erase(list.items.begin() + function);
    }
  }
  RenumberFunctions(list);
  RebuildKeyCaps(context_);
  // The unit's own script, not the type's shared one that the device may have run so far.
  WriteScriptFileAndTell(calls_, context_, device_.OwnScriptPath(), owner_);
  if (special) {
    // The writer makes the functions of toggle and shift keys itself.
    RemoveKeyFunctions();
    RebuildKeyCaps(context_);
  }
}

void MacroEditorController::RemoveKeyFunctions() {
  std::vector<KeyFunction>& items = context_.functions.items;
  items.erase(std::remove_if(items.begin(), items.end(), [&](const KeyFunction& f) { return f.scan == keyId_; }),
              items.end());
  RenumberFunctions(context_.functions);
}

void MacroEditorController::SetBlinkPeriod(int ms) {
  // Only a worker that runs: -1 (asked to stop) and 0 (stopped) stay.
  int period = context_.blinkPeriod.load();
  while (period > 0 && !context_.blinkPeriod.compare_exchange_weak(period, ms)) {
  }
}

BoxAnswer MacroEditorController::Box(const char* text, const char* caption, BoxButtons buttons, BoxIcon icon) {
  BusyScope busy(busy_);
  return calls_.ShowMessageBox(owner_, text, caption, buttons, icon);
}
