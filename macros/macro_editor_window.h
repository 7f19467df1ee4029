#pragma once
// The "Macro Input" editor's window: a modeless dialog of class "basicInputClass" owned by the
// programming window (a popup: a child cannot have a menu bar), which shows its controller's
// state and hands it the menus, buttons, focus, selections and dropped files. One editor at a
// time, owned by the editors that made it. The class procedure also serves the windows of
// per-key plug-ins that run the standard editor in a window of their own: it finds their
// context through their parent's user data.

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <string_view>

#include "macros/macro_editor_controller.h"
#include "platform/wingui/dialog.h"

class MacroEditors;
struct MacroContext;

// The class "basicInputClass": dialog extra bytes, the program's icon, the arrow, the button
// face and the editor's menu; the plug-in windows of the class get their editors from the
// editors that registered it, until those go. True when it is registered now or was already.
bool RegisterMacroEditorWindowClass(MacroEditors& editors);
void ForgetMacroEditorWindowClass(MacroEditors& editors);
// Its procedure, which the program also exports for plug-ins as BasicInputDialogCallback.
LRESULT CALLBACK MacroEditorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The editor's Pause/Edit state, kept in the window's user-data slot where the plug-ins' windows
// of the class keep it too.
enum class PauseEditState : LONG_PTR { Editing = 0, Recording = 1 };

class MacroEditorWindow : public wingui::Dialog {
 public:
  // The editor whose Key Down or Key Up box this is, or null.
  static MacroEditorWindow* OfBox(HWND box);
  // Makes the dialog for the controller, owned by `owner`, shown unless hidden, and hands it to
  // the editors; null when it could not be made (the platform's last error tells why).
  static MacroEditorWindow* Create(MacroEditors& editors, std::unique_ptr<MacroEditorController> controller,
                                   HWND owner, bool hidden);

  MacroEditorController& Controller() { return *controller_; }
  HWND Box(EditorBox box) const;
  // Open and not yet closed by OK or Cancel.
  bool IsEditing() const { return !destroyed_ && !controller_->Closed(); }
  // Gone, and no message of it on its way: its editors may let it go.
  bool Finished() const { return destroyed_ && depth_ == 0; }
  // Shows the controller's state.
  void Render();
  // Runs a command as its menu item or button would; false for an id that is not the editor's.
  bool Command(int id);

  MacroEditorWindow(MacroEditors& editors, std::unique_ptr<MacroEditorController> controller);
  ~MacroEditorWindow() override;

 protected:
  bool HandleMessage(wingui::Message& m) override;
  bool OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(const NMHDR& header, LRESULT& result) override;
  bool OnClose() override;
  void OnDestroy() override;

 private:
  friend LRESULT CALLBACK MacroEditorWindowProc(HWND, UINT, WPARAM, LPARAM);
  class DropTarget;

  // A plug-in's window of the class, made into an editor at its WM_INITDIALOG; null when its
  // parent holds no context with the key, or no editors registered the class.
  static MacroEditorWindow* AdoptPluginWindow(HWND window);
  // A message of a plug-in's window, which has no dialog procedure of ours.
  LRESULT RoutePluginMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Start();
  void AfterCreate(bool hidden);
  void CheckFocus();
  void PauseEdit();
  PauseEditState EditState() const;
  void SetEditState(PauseEditState state);
  void Close(bool accepted);
  void OnDrop(EditorBox box, HDROP drop);
  void LayOut(bool onRelease);
  // The box shows the entry's text (grey: a note in place of a macro), caret at its end.
  void RefreshMacroBox(EditorBox box, const std::wstring& text, bool grey);
  void BuildAutoRepeatMenu();
  void UpdateAutoRepeatMenu(int delay, int rate);
  bool OwnerVisible() const;

  MacroEditors& editors_;
  std::unique_ptr<MacroEditorController> controller_;
  HWND owner_ = nullptr;
  std::unique_ptr<DropTarget> dropDown_;
  std::unique_ptr<DropTarget> dropUp_;
  HMENU autoRepeat_ = nullptr;  // the Auto Repeat popup, with its two popups at 2 and 3
  bool plugin_ = false;  // a plug-in's own dialog, opened without the editors' Toggle
  bool started_ = false;
  bool rendering_ = false;
  bool destroyed_ = false;
  int depth_ = 0;  // messages of this window on their way (it goes when the last returns)
  std::wstring shownText_[2];
  bool shownNote_ = false;
  bool shownTextValid_ = false;
  int shownLayout_ = -1;  // -1: not laid out yet
  EditorBox shownCurrent_ = EditorBox::KeyDown;
};

// A step typed or recorded into an editor box (the recorder's way in): inserted at the box's
// selection when the box is the current one of an open editor, and shown. False otherwise, and
// while one of the editor's own boxes or dialogs is up.
bool InsertRecordedStep(HWND box, std::wstring_view step, const std::wstring* code = nullptr);
// An editing key on an editor box (the recorder's way in while editing): run when the box is
// the current one of an open editor, and shown. False otherwise, or when nothing changed.
bool EditRecordedKey(HWND box, EditingKey key);
