#pragma once
// The "Macro Input" editors of the program as the programming window opens and closes them:
// one at a time, over the platform, the keystroke recorder and the plug-in windows that they
// are given. The program makes one set, on the thread of the programming windows.

#include <memory>
#include <string>
#include <vector>

class CustomKeyWindows;
class MacroEditorWindow;
class MacroRecorder;
class SystemCalls;
struct MacroContext;

class MacroEditors {
 public:
  MacroEditors(SystemCalls& calls, MacroRecorder& recorder, CustomKeyWindows& customKeys);
  ~MacroEditors();
  MacroEditors(const MacroEditors&) = delete;
  MacroEditors& operator=(const MacroEditors&) = delete;

  // Opens the editor of the key (an index into the context's key records), owned by the
  // device's programming window and hidden in hidden mode (a context without its device opens
  // none); or, when an editor is open, presses its OK (which leaves it open when its checks
  // refuse the macro). A key that its plug-in window takes opens no editor. When the window
  // cannot be made, the system's reason is shown.
  void Toggle(MacroContext& context, int keyIndex);
  // Closes the editor open over the context as its Cancel does: nothing of it is stored.
  // Nothing when no editor is open over it.
  void Cancel(MacroContext& context);
  // Registers the editor's window class "basicInputClass", whose plug-in windows then find
  // these editors; true when it is registered now or was already.
  bool RegisterEditorClass();

  // The open editor, or null.
  MacroEditorWindow* Current();
  // The editor windows are theirs from their making (a plug-in's from its WM_INITDIALOG) until
  // they are finished, and let go then.
  MacroEditorWindow& Adopt(std::unique_ptr<MacroEditorWindow> window);
  void Release(MacroEditorWindow& window);

  SystemCalls& Calls() { return calls_; }
  MacroRecorder& Recorder() { return recorder_; }
  // The folder dialog of every editor starts where the last one ended.
  std::string& LastFolder() { return lastFolder_; }

 private:
  SystemCalls& calls_;
  MacroRecorder& recorder_;
  CustomKeyWindows& customKeys_;
  std::string lastFolder_;
  std::vector<std::unique_ptr<MacroEditorWindow>> windows_;
};
