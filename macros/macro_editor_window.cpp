#include "macros/macro_editor_window.h"

#include <richedit.h>
#include <shellapi.h>

#include <map>
#include <utility>
#include <vector>

#include "macros/custom_command_menu.h"
#include "macros/macro_editor_ids.h"
#include "macros/macro_editor.h"
#include "macros/macro_recorder.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_device.h"
#include "macros/shortcut_target.h"
#include "platform/wingui/drop_handle.h"
#include "platform/wingui/menu.h"
#include "platform/wingui/rich_edit.h"
#include "platform/wingui/window.h"

namespace {

// The controller's show command and clipboard formats are the platform's own numbers.
static_assert(SW_SHOWNORMAL == 1 && CF_TEXT == 1 && CF_UNICODETEXT == 13);
// So are the editing keys.
static_assert(static_cast<int>(EditingKey::Backspace) == VK_BACK &&
              static_cast<int>(EditingKey::Return) == VK_RETURN &&
              static_cast<int>(EditingKey::Delete) == VK_DELETE && static_cast<int>(EditingKey::Copy) == 'C' &&
              static_cast<int>(EditingKey::Paste) == 'V' && static_cast<int>(EditingKey::Cut) == 'X');

constexpr char kClassName[] = "basicInputClass";
constexpr int kProgramIcon = 107;
constexpr COLORREF kNoteColour = RGB(125, 125, 125);
constexpr char kNoteFace[] = "Arial Unicode MS";
constexpr int kBoxTextTwips = 200;

// Places in dialog units: the Key Down box alone takes both boxes' room.
constexpr RECT kKeyDownAlone = {0, 7, 277, 131};
constexpr RECT kKeyDownAbove = {0, 7, 277, 63};
constexpr RECT kKeyUpLabel = {0, 63, 277, 75};
constexpr RECT kKeyUpBelow = {0, 75, 277, 131};

constexpr const char* kRepeatDelayItems[] = {"0.2 Seconds", "0.5 Seconds", "1 Second", "2 Seconds",
                                             "3 Seconds",   "4 Seconds",   "5 Seconds"};
constexpr const char* kRepeatRateItems[] = {"1 Per Second", "2 Per Second", "3 Per Second", "4 Per Second",
                                            "5 Per Second", "10 Per Second", "20 Per Second"};
constexpr int kRepeatDelayPosition = 2;
constexpr int kRepeatRatePosition = 3;

// The editors by window; the one being made waits here for its first message.
std::map<HWND, std::unique_ptr<MacroEditorWindow>>& Windows() {
  static std::map<HWND, std::unique_ptr<MacroEditorWindow>> windows;
  return windows;
}
std::unique_ptr<MacroEditorWindow>& Pending() {
  static std::unique_ptr<MacroEditorWindow> pending;
  return pending;
}

// The editors that registered the class: a plug-in's window of it has nothing but its handle
// to find them by.
MacroEditors*& ClassEditors() {
  static MacroEditors* editors = nullptr;
  return editors;
}

// A window made from a dialog template has the dialog manager's extra bytes; a plug-in's own
// window may not, and then gets the plain default.
LRESULT DefaultFor(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (GetClassLongPtrA(window, GCL_CBWNDEXTRA) >= DLGWINDOWEXTRA)
    return DefDlgProcA(window, message, wParam, lParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

// The dialog manager sends WM_INITDIALOG only to a dialog that has a dialog procedure; the
// class procedure answers everything, so this one leaves every message to the default.
INT_PTR CALLBACK NoDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

MacroSelection SelectionOf(HWND box) {
  CHARRANGE range{};
  SendMessageA(box, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  return {static_cast<int>(range.cpMin), static_cast<int>(range.cpMax)};
}

void SetSelectionOf(HWND box, MacroSelection selection) {
  CHARRANGE range{selection.start, selection.end};
  SendMessageA(box, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void SetLineSpacing(HWND box) {
  PARAFORMAT2 format{};
  format.cbSize = sizeof format;
  format.dwMask = PFM_LINESPACING;
  format.bLineSpacingRule = 1;  // one and a half lines
  SendMessageA(box, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
}

RECT InPixels(HWND dialog, RECT units) {
  MapDialogRect(dialog, &units);
  return units;
}

void Place(HWND dialog, HWND control, const RECT& units) {
  const RECT r = InPixels(dialog, units);
  SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

// A box subclassed for the files dropped on it: the rich edit's own notification of drops does
// not come everywhere (not under Wine).
class MacroEditorWindow::DropTarget : public wingui::Window {
 public:
  DropTarget(MacroEditorWindow& editor, EditorBox box) : editor_(editor), box_(box) {}

 protected:
  bool HandleMessage(wingui::Message& m) override {
    if (m.id != WM_DROPFILES) return false;
    editor_.OnDrop(box_, reinterpret_cast<HDROP>(m.wParam));
    m.result = 0;
    return true;
  }

 private:
  MacroEditorWindow& editor_;
  EditorBox box_;
};

bool RegisterMacroEditorWindowClass(MacroEditors& editors) {
  ClassEditors() = &editors;
  const HINSTANCE instance = wingui::ProgramInstance();
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &MacroEditorWindowProc;
  wc.cbWndExtra = DLGWINDOWEXTRA;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kProgramIcon));
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszMenuName = MAKEINTRESOURCEA(IDR_MACRO_INPUT_MENU);
  wc.lpszClassName = kClassName;
  return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void ForgetMacroEditorWindowClass(MacroEditors& editors) {
  if (ClassEditors() == &editors) ClassEditors() = nullptr;
}

LRESULT CALLBACK MacroEditorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MacroEditorWindow* editor = MacroEditorWindow::FromHandle(window);
  if (!editor && Pending()) {
    editor = Pending().get();
    editor->hwnd_ = window;
    editor->controller_->SetOwner(window);
    Windows()[window] = std::move(Pending());
  }
  // A plug-in's dialog: the key is the context's current one, handed to the plug-in.
  if (!editor && message == WM_INITDIALOG) {
    auto* context = reinterpret_cast<MacroContext*>(GetWindowLongPtrA(GetParent(window), GWLP_USERDATA));
    MacroEditors* editors = ClassEditors();
    if (editors && context && context->device && FindKeyIndex(context->keys, context->currentKey) >= 0) {
      std::unique_ptr<MacroEditorWindow> made(new MacroEditorWindow(
          *editors, std::make_unique<MacroEditorController>(*context, context->currentKey, editors->Calls(),
                                                            editors->LastFolder())));
      editor = made.get();
      editor->hwnd_ = window;
      editor->owner_ = GetParent(window);
      editor->plugin_ = true;
      editor->controller_->SetOwner(window);
      Windows()[window] = std::move(made);
    }
  }
  if (!editor) return DefaultFor(window, message, wParam, lParam);
  ++editor->depth_;
  const LRESULT result = editor->Handle(message, wParam, lParam);
  if (--editor->depth_ == 0 && editor->destroyed_) Windows().erase(window);
  return result;
}

MacroEditorWindow* MacroEditorWindow::Current() {
  for (auto& [window, editor] : Windows())
    if (!editor->destroyed_ && !editor->controller_->Closed()) return editor.get();
  return nullptr;
}

MacroEditorWindow* MacroEditorWindow::FromHandle(HWND window) {
  const auto it = Windows().find(window);
  return it == Windows().end() ? nullptr : it->second.get();
}

MacroEditorWindow* MacroEditorWindow::OfBox(HWND box) {
  MacroEditorWindow* editor = FromHandle(GetParent(box));
  return editor && (editor->Box(EditorBox::KeyDown) == box || editor->Box(EditorBox::KeyUp) == box) ? editor
                                                                                                     : nullptr;
}

MacroEditorWindow* MacroEditorWindow::Create(MacroEditors& editors, std::unique_ptr<MacroEditorController> controller,
                                             HWND owner, bool hidden) {
  wingui::LoadRichEdit();
  if (!editors.RegisterEditorClass()) return nullptr;
  Pending().reset(new MacroEditorWindow(editors, std::move(controller)));
  Pending()->owner_ = owner;
  const HWND window = CreateDialogParamA(wingui::ProgramInstance(), MAKEINTRESOURCEA(IDD_MACRO_INPUT), owner,
                                         NoDialogProc, 0);
  const DWORD error = GetLastError();
  Pending().reset();
  MacroEditorWindow* editor = window ? FromHandle(window) : nullptr;
  if (!editor) {
    if (window) DestroyWindow(window);
    SetLastError(error);
    return nullptr;
  }
  editor->AfterCreate(hidden);
  return editor;
}

MacroEditorWindow::MacroEditorWindow(MacroEditors& editors, std::unique_ptr<MacroEditorController> controller)
    : editors_(editors), controller_(std::move(controller)) {}

MacroEditorWindow::~MacroEditorWindow() = default;

HWND MacroEditorWindow::Box(EditorBox box) const {
  return GetDlgItem(hwnd_, box == EditorBox::KeyDown ? IDC_MACRO_KEY_DOWN : IDC_MACRO_KEY_UP);
}

LRESULT MacroEditorWindow::Default(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefaultFor(hwnd_, message, wParam, lParam);
}

LRESULT MacroEditorWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (started_ && !destroyed_ && message != WM_DESTROY && message != WM_NCDESTROY) CheckFocus();
  switch (message) {
    case WM_INITDIALOG:
      Start();
      if (plugin_) {
        controller_->Open();
        Render();
      }
      // The focus is set already when the programming window shows.
      return OwnerVisible() ? FALSE : TRUE;
    case WM_COMMAND:
      // Notifications of the boxes are not commands.
      if (lParam && HIWORD(wParam) != BN_CLICKED) break;
      if (Command(LOWORD(wParam))) return 0;
      break;
    case WM_CLOSE:
      Close(false);
      return 0;
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) return result;
      break;
    }
    case WM_DESTROY:
      OnDestroy();
      break;
    case WM_NCDESTROY:
      destroyed_ = true;
      break;
    default:
      // While recording, keys reach the boxes only through the recorder.
      if (message >= WM_KEYFIRST && message <= WM_KEYLAST && GetWindowLongPtrA(hwnd_, GWLP_USERDATA) == 1)
        return 0;
      break;
  }
  return Default(message, wParam, lParam);
}

bool MacroEditorWindow::Command(int id) {
  if (destroyed_ || controller_->Closed()) return false;
  if (id == IDC_MACRO_PAUSE_EDIT) {
    PauseEdit();
    return true;
  }
  switch (controller_->Command(id)) {
    case EditorAction::NotMine:
      return false;
    case EditorAction::Done:
      Render();
      return true;
    case EditorAction::CloseAccepted:
      Close(true);
      return true;
    case EditorAction::CloseCancelled:
      Close(false);
      return true;
  }
  return false;
}

void MacroEditorWindow::Start() {
  SetWindowTextA(hwnd_, "Record/Edit Macro");
  wingui::CharFormat format;
  format.mask = CFM_FACE | CFM_SIZE | CFM_COLOR;
  format.face = kNoteFace;
  format.heightTwips = kBoxTextTwips;
  for (EditorBox box : {EditorBox::KeyDown, EditorBox::KeyUp}) {
    const wingui::RichEdit edit(Box(box));
    if (!edit) continue;
    edit.SetCharFormat(format, wingui::FormatScope::Default);
    SetLineSpacing(edit.hwnd());
    // The boxes show the steps; what is typed reaches them as steps, never as text of its own.
    edit.SetReadOnly(true);
    DragAcceptFiles(edit.hwnd(), TRUE);
    edit.SetEventMask(ENM_SELCHANGE | ENM_DROPFILES);
    auto& target = box == EditorBox::KeyDown ? dropDown_ : dropUp_;
    target = std::make_unique<DropTarget>(*this, box);
    target->Attach(edit.hwnd());
  }
  LayOut(controller_->State().onRelease);
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
  PauseEdit();
  const wingui::Menu insert = wingui::Menu::OfWindow(hwnd_).SubMenu(MACRO_MENU_INSERT_POSITION);
  if (insert) AddCustomCommandMenu(controller_->Context(), insert.handle());
  BuildAutoRepeatMenu();
  if (OwnerVisible()) SetFocus(Box(controller_->Current()));
  shownCurrent_ = controller_->Current();
  started_ = true;
}

void MacroEditorWindow::AfterCreate(bool hidden) {
  if (!hidden) ShowWindow(hwnd_, SW_SHOW);
  MacroContext& context = controller_->Context();
  if (!context.device || !context.device->Settings().backlightsAvailable) {
    const wingui::Menu insert = wingui::Menu::OfWindow(hwnd_).SubMenu(MACRO_MENU_INSERT_POSITION);
    if (insert.IdAt(MACRO_MENU_BACKLIGHT_POSITION) == IDM_MACRO_BACKLIGHT_TOGGLE)
      insert.DeleteAt(MACRO_MENU_BACKLIGHT_POSITION);
  }
  controller_->Open();
  Render();
}

void MacroEditorWindow::CheckFocus() {
  const HWND focus = GetFocus();
  for (EditorBox box : {EditorBox::KeyDown, EditorBox::KeyUp}) {
    const HWND edit = Box(box);
    if (!focus || focus != edit || controller_->Current() == box) continue;
    controller_->FocusBox(box, SelectionOf(edit));
    shownCurrent_ = box;
    editors_.Recorder().SetTarget(edit);
  }
}

void MacroEditorWindow::PauseEdit() {
  MacroRecorder& recorder = editors_.Recorder();
  recorder.ToggleRecording();
  const HWND current = Box(controller_->Current());
  if (OwnerVisible()) SetFocus(current);
  const HWND button = GetDlgItem(hwnd_, IDC_MACRO_PAUSE_EDIT);
  if (GetWindowLongPtrA(hwnd_, GWLP_USERDATA) == 1) {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    SendMessageA(button, BM_SETSTATE, TRUE, 0);
  } else {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 1);
    recorder.Start(current);
    SendMessageA(button, BM_SETSTATE, FALSE, 0);
  }
}

void MacroEditorWindow::Close(bool accepted) {
  controller_->Close(accepted);
  DestroyWindow(hwnd_);
}

void MacroEditorWindow::OnDestroy() {
  if (controller_->Opened() && !controller_->Closed()) controller_->CloseUnanswered();
  if (owner_ && IsWindow(owner_) && !plugin_) DragAcceptFiles(owner_, TRUE);
  controller_->Context().editingEntry = false;
  dropDown_.reset();
  dropUp_.reset();
  editors_.Recorder().Stop();
}

bool MacroEditorWindow::OnNotify(const NMHDR& header, LRESULT& result) {
  EditorBox box;
  if (header.hwndFrom == Box(EditorBox::KeyDown))
    box = EditorBox::KeyDown;
  else if (header.hwndFrom == Box(EditorBox::KeyUp))
    box = EditorBox::KeyUp;
  else
    return false;
  if (header.code == EN_SELCHANGE) {
    if (!rendering_) {
      const CHARRANGE range = reinterpret_cast<const SELCHANGE&>(header).chrg;
      // A caret or range that ends inside a step is put on its boundary.
      if (controller_->SelectionChanged(box, {static_cast<int>(range.cpMin), static_cast<int>(range.cpMax)})) {
        rendering_ = true;
        SetSelectionOf(header.hwndFrom, controller_->Selection());
        rendering_ = false;
      }
    }
    result = 0;
    return true;
  }
  if (header.code == EN_DROPFILES) {
    OnDrop(box, static_cast<HDROP>(reinterpret_cast<const ENDROPFILES&>(header).hDrop));
    result = 0;  // the box itself takes nothing
    return true;
  }
  return false;
}

void MacroEditorWindow::OnDrop(EditorBox box, HDROP drop) {
  const std::vector<std::wstring> paths = wingui::DropHandle(drop).Paths();  // finished at once
  if (destroyed_ || controller_->Closed()) return;
  controller_->FocusBox(box, SelectionOf(Box(box)));
  controller_->DropFiles(paths, ResolveShortcutTarget);
  Render();
}

void MacroEditorWindow::LayOut(bool onRelease) {
  Place(hwnd_, Box(EditorBox::KeyDown), onRelease ? kKeyDownAbove : kKeyDownAlone);
  Place(hwnd_, GetDlgItem(hwnd_, IDC_MACRO_KEY_UP_LABEL), kKeyUpLabel);
  Place(hwnd_, Box(EditorBox::KeyUp), kKeyUpBelow);
  ShowWindow(GetDlgItem(hwnd_, IDC_MACRO_KEY_UP_LABEL), onRelease ? SW_SHOW : SW_HIDE);
  ShowWindow(Box(EditorBox::KeyUp), onRelease ? SW_SHOW : SW_HIDE);
  wingui::Menu::OfWindow(hwnd_).Check(IDM_MACRO_ON_RELEASE, onRelease);
  shownLayout_ = onRelease ? 1 : 0;
}

void MacroEditorWindow::RefreshMacroBox(EditorBox box, const std::wstring& text, bool grey) {
  const wingui::RichEdit edit(Box(box));
  edit.SetTextWide(text);
  wingui::CharFormat format;
  format.mask = CFM_COLOR;
  format.color = grey ? kNoteColour : RGB(0, 0, 0);
  edit.SetCharFormat(format, wingui::FormatScope::All);
  SetSelectionOf(edit.hwnd(), {0, -1});
  SetLineSpacing(edit.hwnd());
  // A box that the focus reaches later starts with its caret at the end of the macro.
  const int end = static_cast<int>(text.size());
  SetSelectionOf(edit.hwnd(), {end, end});
  shownText_[box == EditorBox::KeyDown ? 0 : 1] = text;
}

void MacroEditorWindow::Render() {
  if (destroyed_ || !hwnd_) return;
  rendering_ = true;
  const MacroEditorState s = controller_->State();
  if (!shownTextValid_ || s.keyDownText != shownText_[0] || s.layerNote != shownNote_)
    RefreshMacroBox(EditorBox::KeyDown, s.keyDownText, s.layerNote);
  if (!shownTextValid_ || s.keyUpText != shownText_[1]) RefreshMacroBox(EditorBox::KeyUp, s.keyUpText, false);
  shownNote_ = s.layerNote;
  shownTextValid_ = true;
  if (shownLayout_ != (s.onRelease ? 1 : 0)) LayOut(s.onRelease);
  const wingui::Menu menu = wingui::Menu::OfWindow(hwnd_);
  menu.Check(IDM_MACRO_LAYER_TOGGLE, s.toggleKey);
  menu.Check(IDM_MACRO_LAYER_SHIFT, s.shiftKey);
  UpdateAutoRepeatMenu(s.repeatDelay, s.repeatRate);
  const HWND current = Box(s.current);
  const MacroSelection shown = SelectionOf(current);
  if (shown.start != s.selection.start || shown.end != s.selection.end) SetSelectionOf(current, s.selection);
  if (s.current != shownCurrent_) {
    shownCurrent_ = s.current;
    if (OwnerVisible()) SetFocus(current);
    editors_.Recorder().SetTarget(current);
  }
  rendering_ = false;
}

void MacroEditorWindow::BuildAutoRepeatMenu() {
  const wingui::Menu insert = wingui::Menu::OfWindow(hwnd_).SubMenu(MACRO_MENU_INSERT_POSITION);
  if (!insert) return;
  wingui::OwnedMenu repeat = wingui::OwnedMenu::Popup();
  wingui::OwnedMenu delays = wingui::OwnedMenu::Popup();
  wingui::OwnedMenu rates = wingui::OwnedMenu::Popup();
  for (int i = 0; i <= IDM_MACRO_REPEAT_DELAY_LAST - IDM_MACRO_REPEAT_DELAY_FIRST; ++i)
    delays.get().Append(IDM_MACRO_REPEAT_DELAY_FIRST + i, kRepeatDelayItems[i]);
  for (int i = 0; i <= IDM_MACRO_REPEAT_RATE_LAST - IDM_MACRO_REPEAT_RATE_FIRST; ++i)
    rates.get().Append(IDM_MACRO_REPEAT_RATE_FIRST + i, kRepeatRateItems[i]);
  repeat.get().Append(IDM_MACRO_AUTO_REPEAT, "Insert");
  repeat.get().AppendSeparator();
  repeat.get().AppendPopup("Auto Repeat Initial Delay", std::move(delays));
  repeat.get().AppendPopup("Auto Repeat Rate", std::move(rates));
  const HMENU handle = repeat.get().handle();
  if (insert.AppendPopup("Auto Repeat", std::move(repeat))) autoRepeat_ = handle;
  const MacroEditorState s = controller_->State();
  UpdateAutoRepeatMenu(s.repeatDelay, s.repeatRate);
}

void MacroEditorWindow::UpdateAutoRepeatMenu(int delay, int rate) {
  if (!autoRepeat_) return;
  const auto rename = [&](int position, const std::string& caption) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<char*>(caption.c_str());
    SetMenuItemInfoA(autoRepeat_, static_cast<UINT>(position), TRUE, &info);
  };
  rename(kRepeatDelayPosition, RepeatDelayCaption(delay));
  rename(kRepeatRatePosition, RepeatRateCaption(rate));
  const wingui::Menu menu(autoRepeat_);
  for (int id = IDM_MACRO_REPEAT_DELAY_FIRST; id <= IDM_MACRO_REPEAT_DELAY_LAST; ++id)
    menu.Check(id, RepeatDelayOfItem(id) == delay);
  for (int id = IDM_MACRO_REPEAT_RATE_FIRST; id <= IDM_MACRO_REPEAT_RATE_LAST; ++id)
    menu.Check(id, RepeatRateOfItem(id) == rate);
}

bool MacroEditorWindow::OwnerVisible() const { return owner_ && IsWindowVisible(owner_); }

bool EditRecordedKey(HWND box, EditingKey key) {
  MacroEditorWindow* editor = MacroEditorWindow::OfBox(box);
  if (!editor || !editor->IsEditing() || editor->Box(editor->Controller().Current()) != box) return false;
  if (!editor->Controller().EditKey(key)) return false;
  editor->Render();
  return true;
}

bool InsertRecordedStep(HWND box, std::wstring_view step, const std::wstring* code) {
  MacroEditorWindow* editor = MacroEditorWindow::OfBox(box);
  if (!editor || !editor->IsEditing() || editor->Box(editor->Controller().Current()) != box) return false;
  if (!editor->Controller().InsertStep(step, code)) return false;
  editor->Render();
  return true;
}
