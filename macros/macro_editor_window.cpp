#include "macros/macro_editor_window.h"

#include <richedit.h>
#include <shellapi.h>

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
  auto* editor = wingui::Window::FromHandleAs<MacroEditorWindow>(window);
  if (!editor && message == WM_INITDIALOG) editor = MacroEditorWindow::AdoptPluginWindow(window);
  // Ours gets its messages through the dialog manager, which calls its dialog procedure.
  if (!editor) return DefaultFor(window, message, wParam, lParam);
  MacroEditors& editors = editor->editors_;
  ++editor->depth_;
  const LRESULT result = editor->plugin_ ? editor->RoutePluginMessage(message, wParam, lParam)
                                         : DefaultFor(window, message, wParam, lParam);
  --editor->depth_;
  if (editor->Finished()) editors.Release(*editor);
  return result;
}

MacroEditorWindow* MacroEditorWindow::AdoptPluginWindow(HWND window) {
  // The key is the context's current one, handed to the plug-in.
  auto* context = reinterpret_cast<MacroContext*>(GetWindowLongPtrA(GetParent(window), GWLP_USERDATA));
  MacroEditors* editors = ClassEditors();
  if (!editors || !context || !context->device || FindKeyIndex(context->keys, context->currentKey) < 0)
    return nullptr;
  auto made = std::make_unique<MacroEditorWindow>(
      *editors, std::make_unique<MacroEditorController>(*context, context->currentKey, editors->Calls(),
                                                        editors->LastFolder()));
  made->owner_ = GetParent(window);
  made->plugin_ = true;
  made->AttachHandle(window);
  return &editors->Adopt(std::move(made));
}

LRESULT MacroEditorWindow::RoutePluginMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND window = hwnd();
  wingui::Message m{message, wParam, lParam};
  const LRESULT result = HandleMessage(m) ? m.result : DefaultFor(window, message, wParam, lParam);
  if (message == WM_NCDESTROY && hwnd()) DetachHandle();
  return result;
}

MacroEditorWindow* MacroEditorWindow::OfBox(HWND box) {
  auto* editor = wingui::Window::FromHandleAs<MacroEditorWindow>(GetParent(box));
  return editor && (editor->Box(EditorBox::KeyDown) == box || editor->Box(EditorBox::KeyUp) == box) ? editor
                                                                                                     : nullptr;
}

MacroEditorWindow* MacroEditorWindow::Create(MacroEditors& editors, std::unique_ptr<MacroEditorController> controller,
                                             HWND owner, bool hidden) {
  wingui::LoadRichEdit();
  if (!editors.RegisterEditorClass()) return nullptr;
  auto made = std::make_unique<MacroEditorWindow>(editors, std::move(controller));
  made->owner_ = owner;
  MacroEditorWindow& editor = editors.Adopt(std::move(made));
  // Its keys reach the boxes as typed: the recorder, not the dialog keys, decides what they do.
  if (!editor.CreateModeless(owner, nullptr, Keys::ToControls)) {
    const DWORD error = GetLastError();
    editors.Release(editor);
    SetLastError(error);
    return nullptr;
  }
  editor.AfterCreate(hidden);
  return &editor;
}

MacroEditorWindow::MacroEditorWindow(MacroEditors& editors, std::unique_ptr<MacroEditorController> controller)
    : Dialog(IDD_MACRO_INPUT), editors_(editors), controller_(std::move(controller)) {}

MacroEditorWindow::~MacroEditorWindow() = default;

HWND MacroEditorWindow::Box(EditorBox box) const {
  return GetDlgItem(hwnd(), box == EditorBox::KeyDown ? IDC_MACRO_KEY_DOWN : IDC_MACRO_KEY_UP);
}

bool MacroEditorWindow::HandleMessage(wingui::Message& m) {
  if (started_ && !destroyed_ && m.id != WM_DESTROY && m.id != WM_NCDESTROY) CheckFocus();
  if (m.id == WM_NCDESTROY) destroyed_ = true;
  // While recording, keys reach the boxes only through the recorder.
  if (m.id >= WM_KEYFIRST && m.id <= WM_KEYLAST && EditState() == PauseEditState::Recording) {
    m.result = 0;
    return true;
  }
  return Dialog::HandleMessage(m);
}

bool MacroEditorWindow::OnInitDialog() {
  controller_->SetOwner(hwnd());
  Start();
  if (plugin_) {
    controller_->Open();
    Render();
  }
  // The focus is set already when the programming window shows.
  return !OwnerVisible();
}

bool MacroEditorWindow::OnCommand(int id, int code, HWND control) {
  // Notifications of the boxes are not commands.
  if (control && code != BN_CLICKED) return false;
  return Command(id);
}

bool MacroEditorWindow::OnClose() {
  Close(false);
  return true;
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
  SetWindowTextA(hwnd(), "Record/Edit Macro");
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
  SetEditState(PauseEditState::Editing);
  PauseEdit();
  const wingui::Menu insert = wingui::Menu::OfWindow(hwnd()).SubMenu(MACRO_MENU_INSERT_POSITION);
  if (insert) AddCustomCommandMenu(controller_->Context(), insert.handle());
  BuildAutoRepeatMenu();
  if (OwnerVisible()) SetFocus(Box(controller_->Current()));
  shownCurrent_ = controller_->Current();
  started_ = true;
}

void MacroEditorWindow::AfterCreate(bool hidden) {
  if (!hidden) ShowWindow(hwnd(), SW_SHOW);
  MacroContext& context = controller_->Context();
  if (!context.device || !context.device->Settings().backlightsAvailable) {
    const wingui::Menu insert = wingui::Menu::OfWindow(hwnd()).SubMenu(MACRO_MENU_INSERT_POSITION);
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
  const HWND button = GetDlgItem(hwnd(), IDC_MACRO_PAUSE_EDIT);
  if (EditState() == PauseEditState::Recording) {
    SetEditState(PauseEditState::Editing);
    SendMessageA(button, BM_SETSTATE, TRUE, 0);
  } else {
    SetEditState(PauseEditState::Recording);
    recorder.Start(current);
    SendMessageA(button, BM_SETSTATE, FALSE, 0);
  }
}

PauseEditState MacroEditorWindow::EditState() const {
  return static_cast<PauseEditState>(GetWindowLongPtrA(hwnd(), GWLP_USERDATA));
}

void MacroEditorWindow::SetEditState(PauseEditState state) {
  SetWindowLongPtrA(hwnd(), GWLP_USERDATA, static_cast<LONG_PTR>(state));
}

void MacroEditorWindow::Close(bool accepted) {
  controller_->Close(accepted);
  Destroy();
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
  Place(hwnd(), Box(EditorBox::KeyDown), onRelease ? kKeyDownAbove : kKeyDownAlone);
  Place(hwnd(), GetDlgItem(hwnd(), IDC_MACRO_KEY_UP_LABEL), kKeyUpLabel);
  Place(hwnd(), Box(EditorBox::KeyUp), kKeyUpBelow);
  ShowWindow(GetDlgItem(hwnd(), IDC_MACRO_KEY_UP_LABEL), onRelease ? SW_SHOW : SW_HIDE);
  ShowWindow(Box(EditorBox::KeyUp), onRelease ? SW_SHOW : SW_HIDE);
  wingui::Menu::OfWindow(hwnd()).Check(IDM_MACRO_ON_RELEASE, onRelease);
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
  if (destroyed_ || !hwnd()) return;
  rendering_ = true;
  const MacroEditorState s = controller_->State();
  if (!shownTextValid_ || s.keyDownText != shownText_[0] || s.layerNote != shownNote_)
    RefreshMacroBox(EditorBox::KeyDown, s.keyDownText, s.layerNote);
  if (!shownTextValid_ || s.keyUpText != shownText_[1]) RefreshMacroBox(EditorBox::KeyUp, s.keyUpText, false);
  shownNote_ = s.layerNote;
  shownTextValid_ = true;
  if (shownLayout_ != (s.onRelease ? 1 : 0)) LayOut(s.onRelease);
  const wingui::Menu menu = wingui::Menu::OfWindow(hwnd());
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
  const wingui::Menu insert = wingui::Menu::OfWindow(hwnd()).SubMenu(MACRO_MENU_INSERT_POSITION);
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
