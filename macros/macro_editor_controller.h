#pragma once
// The "Macro Input" editor without its window: the Key Down and Key Up macros of one key for
// the colour layer and program layer it was opened on, every command of its menus and buttons,
// the checks that OK runs, and what closing stores or puts back. The window shows State() and
// hands over the user's actions; message boxes, file dialogs and the shell go through the
// platform's calls, with the editor's window as their owner.
//
// Custom-command ids taken out while editing are renumbered only when the edit is stored, so
// that Cancel finds every other key's commands as it left them.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "macros/model/macro_records.h"
#include "macros/model/macro_steps.h"
#include "macros/model/step_editing.h"
#include "platform/base/message_box.h"

class MacroDevice;
class SystemCalls;
struct MacroContext;

enum class EditorBox { KeyDown, KeyUp };

// Makes the entry of the key for these selectors current (made when the key has none) and
// returns it; null when no key record has that id.
MacroEntry* SelectMacroEntry(MacroContext& context, int keyId, KeyEvent event, LayerColour colour,
                             std::string_view program);

// The program-layer token of the programming window's layer index: 0 and 1 the default layer,
// n >= 2 the (n - 2)-th layer name ("Pnr" when there is no such name).
std::string ProgramLayerOfIndex(const MacroContext& context, int index);

// What OK's checks find in the Key Down steps followed by the Key Up steps.
enum class MacroCheck {
  Passed,
  SymbolFirst,         // a macro begins with a Key Down or Key Up symbol
  SymbolAfterCommand,  // a symbol follows a step that begins with "["
  KeysLeftHeld,        // a key held with "[↓]" is never released with "[↑]"
};
MacroCheck CheckHeldKeys(const std::vector<MacroItem>& keyDown, const std::vector<MacroItem>& keyUp);

// A step that a menu command inserts: its display text and its code (none: the step sends its
// own text).
struct EditorStep {
  std::wstring text;
  std::optional<std::wstring> code;
};
// The step of a command with a fixed step (symbols, delays, auto repeat, backlights, mouse and
// multimedia); none for any other id.
std::optional<EditorStep> CommandStep(int id, int repeatDelayMs, int repeatRateMs);
// "[Open: name]" / "[Open name]" steps: the code opens the path with the shell.
std::wstring OpenPathCode(std::string_view path);

// The Auto Repeat submenu: the values of its items (0: not one of them) and the captions of its
// two popups for the current values.
int RepeatDelayOfItem(int id);
int RepeatRateOfItem(int id);
std::string RepeatDelayCaption(int delayMs);
std::string RepeatRateCaption(int rateMs);

// The note a toggle or shift key shows in place of a macro.
extern const wchar_t kToggleKeyNote[];
extern const wchar_t kShiftKeyNote[];

// What the window shows.
struct MacroEditorState {
  std::wstring keyDownText;
  std::wstring keyUpText;
  bool layerNote = false;  // the Key Down box shows a toggle or shift key's note, in grey
  bool onRelease = false;  // the Key Up box and its label are shown, the item checked
  bool toggleKey = false;
  bool shiftKey = false;
  int repeatDelay = 500;
  int repeatRate = 50;
  EditorBox current = EditorBox::KeyDown;
  MacroSelection selection;
};

// What the window does after a command.
enum class EditorAction { NotMine, Done, CloseAccepted, CloseCancelled };

class MacroEditorController {
 public:
  // The key by id, over a context that has its device. The colour layer of the device and the
  // program layer of the programming window are taken now and kept. The key's entries are made
  // anew from its key functions, and On Release mode is on when it has a Key Up entry for those
  // layers. The platform's calls and the folder that the folder dialog starts in (which it
  // leaves where the user ended) belong to the caller.
  MacroEditorController(MacroContext& context, int keyId, SystemCalls& calls, std::string& lastFolder);
  ~MacroEditorController();
  MacroEditorController(const MacroEditorController&) = delete;
  MacroEditorController& operator=(const MacroEditorController&) = delete;

  // The window the platform's boxes and dialogs belong to.
  void SetOwner(void* window) { owner_ = window; }
  // Once the window is there: the layer LEDs blink faster, the Key Up and Key Down entries are
  // selected, the whole macro selected, a toggle or shift key shows its note, and the custom
  // commands' count and includes are kept for Cancel.
  void Open();

  EditorAction Command(int id);
  // The focus went into a box: it becomes the current one, with the box's selection.
  void FocusBox(EditorBox box, MacroSelection selection);
  // The box's selection moved: it is kept on step boundaries. True when it had to move, and the
  // box is to show State().selection.
  bool SelectionChanged(EditorBox box, MacroSelection selection);
  // Files dropped on the current box: one "[Open name]" step each; a shortcut (".lnk") opens
  // its target when resolve finds one.
  void DropFiles(const std::vector<std::wstring>& paths,
                 const std::function<std::optional<std::wstring>(const std::wstring&)>& resolve);
  // A step typed or recorded into the current box. False while one of the editor's own boxes
  // or dialogs is up, for a toggle or shift key, or when nothing was inserted.
  bool InsertStep(std::wstring_view step, const std::wstring* code = nullptr);
  // An editing key on the current box: Return inserts a "<Return>" step; Delete and Backspace
  // remove the selection, or a character of typed text or a whole step at the caret; Copy puts
  // the typed text of the selection on the clipboard, Cut as well and then removes the
  // selection; Paste inserts the clipboard's text. False when nothing changed or went out
  // (nothing acts for a toggle or shift key, or while a box or dialog of the editor is up).
  bool EditKey(EditingKey key);
  // Stores the edit (accepted) or puts everything back as it was at opening, once; the layer
  // LEDs blink slowly again and the key is drawn as a plain key.
  void Close(bool accepted);
  // The window goes without OK or Cancel (its programming window went first): the edit is
  // stored, as a hidden editor's keys must be, unless the keypad was unplugged, whose user
  // confirmed nothing.
  void CloseUnanswered();

  MacroEditorState State() const;
  EditorBox Current() const { return current_; }
  const MacroSelection& Selection() const { return selection_; }
  bool Opened() const { return opened_; }
  bool Closed() const { return closed_; }
  bool Busy() const { return busy_; }
  int KeyId() const { return keyId_; }
  MacroContext& Context() { return context_; }
  LayerColour Colour() const { return colour_; }
  const std::string& Program() const { return program_; }

  // The checks of OK with their boxes; false keeps the editor open.
  bool CheckMacroKeyUpDown();

 private:
  const MacroEntry* FindEntry(KeyEvent event) const;
  MacroEntry* Select(KeyEvent event);
  MacroEntry* Select(KeyEvent event, LayerColour colour, std::string_view program);
  KeyEvent CurrentEvent() const;
  int KeyIndex() const;
  bool IsToggleKey() const;
  bool IsShiftKey() const;

  void Insert(const std::wstring& step, const std::optional<std::wstring>& code);
  bool CopyToClipboard(bool cut);
  bool PasteFromClipboard();
  // Layer Toggle (false) and Layer Shift (true): the key becomes that kind of layer key, or a
  // plain key again.
  void LayerKey(bool shift);
  void OnRelease();
  void Clear();
  void SelectFile();
  void SelectFolder();
  void OpenHelp(bool webPage);
  void InsertOpenStep(const std::wstring& display, const std::wstring& path);

  // The key's entries: none, or the "Pni" ones of a toggle or shift key.
  void ClearKeyEntries();
  void MakeLayerEntries(bool shift);
  void StoreKey();
  void RemoveKeyFunctions();
  void SetBlinkPeriod(int ms);
  BoxAnswer Box(const char* text, const char* caption, BoxButtons buttons, BoxIcon icon = BoxIcon::None);

  MacroContext& context_;
  MacroDevice& device_;
  SystemCalls& calls_;
  std::string& lastFolder_;
  const int keyId_;
  LayerColour colour_ = LayerColour::Green;
  std::string program_;
  void* owner_ = nullptr;
  EditorBox current_ = EditorBox::KeyDown;
  MacroSelection selection_;
  bool onRelease_ = false;
  bool wasToggle_ = false;
  bool wasShift_ = false;
  int savedCommandCount_ = 0;
  std::map<int, std::string> savedIncludes_;
  bool opened_ = false;
  bool closed_ = false;
  bool busy_ = false;
};
