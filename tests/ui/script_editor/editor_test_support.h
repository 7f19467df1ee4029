#pragma once
// A view that only remembers what the editor's controller showed, and a debug engine of the
// test's own with a save callback that records. Header-only: shared by the editor's and the
// debugger's tests.

#include <memory>
#include <string>
#include <vector>

#include "runtime/script/debug_engine.h"
#include "runtime/script/script_registrar.h"
#include "runtime/script/script_types.h"
#include "ui/script_editor/script_editor_controller.h"

class RecordingView : public EditorView {
 public:
  std::string EditText() override { return text; }
  void SetEditText(const std::string& t) override {
    text = t;
    ++textSets;
  }
  void GoToLine(int line, int column) override { wentTo.push_back({line, column}); }
  void ShowTree(const std::vector<EditorTreeRow>& rows) override { tree = rows; }
  void ShowMessages(const std::vector<MessageRow>& rows) override { messages = rows; }
  void RepaintMargin() override { ++marginPaints; }
  void ShowEditor(bool v) override { visible = v; }

  // What the user types: the new text and the change notice the control sends.
  void Type(ScriptEditorController& c, const std::string& t) {
    text = t;
    c.OnEditChanged();
  }
  // The section shown bold in the tree, or "".
  std::string BoldSection() const {
    for (const EditorTreeRow& r : tree)
      if (r.bold) return r.text;
    return "";
  }

  std::string text;
  int textSets = 0;
  std::vector<std::pair<int, int>> wentTo;
  std::vector<EditorTreeRow> tree;
  std::vector<MessageRow> messages;
  int marginPaints = 0;
  bool visible = false;
};

struct SavedScript {
  std::string module, section, text;
  int length = -1;
};
inline std::vector<SavedScript> savedScripts;
inline bool saveAnswer = true;
inline bool RecordSave(const char* module, const char* section, const char* text, int length) {
  savedScripts.push_back({module, section, std::string(text, static_cast<std::size_t>(length)), length});
  return saveAnswer;
}

// The program's script types on a debug engine of the test's own.
inline std::unique_ptr<asCDebugScriptEngine> MakeTestEngine(DebugBuildCallback build = nullptr) {
  std::unique_ptr<asCDebugScriptEngine> engine(asCreateDebugScriptEngine(20401, build, RecordSave));
  ScriptRegistrar registrar(engine->Library());
  RegisterScriptTypes(registrar);
  return engine;
}

// The editor's text split into lines as the edit control shows them.
inline std::vector<std::string> EditorLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  for (;;) {
    std::size_t end = text.find("\r\n", pos);
    std::string line = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    if (end != std::string::npos && !line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    if (end == std::string::npos) return lines;
    pos = end + 2;
  }
}
