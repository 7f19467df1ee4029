#pragma once
// The "AngelScript IDE" window: dialog 130 of class "AngelScriptIDE" with the script text, the
// margin beside it, the module tree and the message list, two splitters between them, and its
// placement kept in the user's registry. A thin view over ScriptEditorController; the run
// commands, breakpoints and the variable view are left to a debugger that plugs in.

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/wingui/dialog.h"
#include "platform/wingui/gdi.h"
#include "platform/wingui/message_pump.h"
#include "platform/wingui/window.h"
#include "ui/script_editor/editor_layout.h"
#include "ui/script_editor/script_editor_controller.h"

class asCDebugScriptEngine;
class asCDebugContext;
class SystemCalls;

// Messages of the editor window and of its margin (wParam of the margin's is the edit control).
constexpr UINT kShowBuildResultMessage = WM_USER + 1;     // 1025
constexpr UINT kMarginCurrentLineMessage = WM_USER + 2;   // 1026, lParam line or -1
constexpr UINT kMarginAddBreakpointMessage = WM_USER + 3;     // 1027
constexpr UINT kMarginRemoveBreakpointMessage = WM_USER + 4;  // 1028
constexpr UINT kMarginClearBreakpointsMessage = WM_USER + 5;  // 1029
constexpr UINT kVariableViewMessage = WM_USER + 6;        // 1030
constexpr UINT kLineReachedMessage = WM_USER + 7;         // 1031
constexpr UINT kMarginHasBreakpointMessage = WM_USER + 8;     // 1032
constexpr UINT kMarginSectionMessage = WM_USER + 9;       // 1033
constexpr UINT kDiscardModuleMessage = WM_USER + 16;      // 1040, lParam the module name

// The placement's registry key (the user's) and values.
inline constexpr char kEditorPlacementKey[] = "Software\\Kestrion\\AngelScriptDebugger";

// The breakpoint and current-line margin (class "ASDebuggerSideBar") over the editor's marks.
class EditorMargin : public wingui::Window {
 public:
  explicit EditorMargin(MarginMarks& marks);
  ~EditorMargin() override;
  // Ties the margin to the edit control whose lines it marks.
  void SetEdit(HWND edit) { edit_ = edit; }
  // The client y of a line's first character, or nothing when the line is not shown.
  std::optional<int> LineTop(int line) const;

 protected:
  bool HandleMessage(wingui::Message& msg) override;
  void Paint(HDC dc, const RECT& area) override;

 private:
  MarginMarks& marks_;
  HWND edit_ = nullptr;
  wingui::Pen pen_;
  HICON breakpointIcon_ = nullptr;
  HICON currentLineIcon_ = nullptr;
};

// The script text's edit control, which takes the Tab key for itself.
class ScriptTextControl : public wingui::Window {
 protected:
  bool HandleMessage(wingui::Message& msg) override;
};

class ScriptEditorWindow : public wingui::Dialog, public EditorView {
 public:
  // What the debugger adds: the commands it answers (true when taken), the messages it
  // answers (1030, 1031, list label edits), and the window being closed by the user.
  struct Debugger {
    std::function<bool(int command)> command;
    std::function<bool(wingui::Message& msg)> message;
    std::function<void()> closing;
  };

  // Its controller's boxes and dialogs and its placement in the user's registry go through `calls`.
  ScriptEditorWindow(SystemCalls& calls, FileAccess& files, ModuleScriptLocator locator);
  ~ScriptEditorWindow() override;

  // Registers the classes, loads the accelerators and makes the window, hidden, on the calling
  // thread; its keys go through that thread's pump. False when it could not be made.
  bool Create();
  ScriptEditorController& Controller() { return controller_; }
  EditorMargin& Margin() { return margin_; }
  void SetDebugger(Debugger debugger) { debugger_ = std::move(debugger); }
  // Where the engine comes from before each command (null: only what is set on the
  // controller), and the context that a build must make let go of the module.
  void SetScriptSources(std::function<asCDebugScriptEngine*()> engine,
                        std::function<asCDebugContext*()> context) {
    engineSource_ = std::move(engine);
    contextSource_ = std::move(context);
  }
  asCDebugContext* SourceContext() const { return contextSource_ ? contextSource_() : nullptr; }
  // Brings the controller's engine up to date with the source.
  void RefreshEngine();

  // Message 1025 for the module, posted: the result shows once the loop gets to it.
  void PostBuildResult(const std::string& module);

  HWND EditControl() const { return edit_; }
  HWND ListControl() const { return list_; }
  HWND TreeControl() const { return tree_; }
  const EditorSizes& Sizes() const { return sizes_; }
  // The line under the caret while the text has the focus, else -1.
  int CaretLine() const;
  // A fresh column set for the list (texts, widths, and for each its sub-item and order).
  struct Column {
    std::string title;
    int width;
    int subItem;
    int order;
  };
  void SetListColumns(const std::vector<Column>& columns, DWORD extendedStyle);
  bool ListShowsMessages() const { return listShowsMessages_; }

  // EditorView
  std::string EditText() override;
  void SetEditText(const std::string& text) override;
  void GoToLine(int line, int column) override;
  void ShowTree(const std::vector<EditorTreeRow>& rows) override;
  void ShowMessages(const std::vector<MessageRow>& rows) override;
  void RepaintMargin() override;
  void ShowEditor(bool visible) override;

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(const NMHDR& header, LRESULT& result) override;
  bool OnSize(int width, int height) override;
  bool OnClose() override;
  void OnDestroy() override;
  bool HandleMessage(wingui::Message& msg) override;

 private:
  void Place();
  void ReadPlacement();
  void WritePlacement();
  void EndDrag();
  void EditCommand(int id);
  bool TranslateKeys(MSG& msg);

  SystemCalls& calls_;
  ScriptEditorController controller_;
  MarginMarks& marks_;
  EditorMargin margin_;
  ScriptTextControl text_;
  HWND edit_ = nullptr;
  HWND tree_ = nullptr;
  HWND list_ = nullptr;
  wingui::Font font_;
  EditorSizes sizes_;
  Splitter dragging_ = Splitter::None;
  HWND captureBefore_ = nullptr;
  HCURSOR sizeWE_ = nullptr;
  HCURSOR sizeNS_ = nullptr;
  HACCEL accelerators_ = nullptr;
  wingui::MessagePump::HookRegistration keys_;
  bool settingText_ = false;
  bool listShowsMessages_ = false;
  std::string pendingBuildResult_;
  Debugger debugger_;
  std::function<asCDebugScriptEngine*()> engineSource_;
  std::function<asCDebugContext*()> contextSource_;
};
