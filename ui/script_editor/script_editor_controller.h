#pragma once
// The script editor's decisions, without a window: which section is shown, what the tree and
// the message list hold, what Save, Reload and a build do, where a message leads, and the
// opening of a script file. The view turns its calls into controls (script_editor_window.h).
//
// The editor keeps its own copy of each section's text: the files' own characters between
// the include markers (script_source.h), kept by module and section name so that edits
// survive the engine's rebuilds. The engine's kept section holds what is built from it.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/file_access.h"
#include "ui/script_editor/compile_messages.h"
#include "ui/script_editor/margin_marks.h"
#include "ui/script_editor/script_source.h"

class asCDebugScriptEngine;
class asCDebugContext;
class SystemCalls;
struct DeviceRecord;

// Where a module's script file lies and how its includes are found.
struct ModuleScriptFile {
  std::string path;
  ScriptSourceOrigin origin;
};
using ModuleScriptLocator = std::function<std::optional<ModuleScriptFile>(const std::string& module)>;

// Item data of the tree's rows: the root, a module (-1 - module index) or a section (its slot).
constexpr int kTreeRootData = -100000;
struct EditorTreeRow {
  int depth = 0;  // 0 root, 1 module, 2 section
  std::string text;
  int data = 0;
  bool bold = false;
};

// A row of the message list: severity, "line,column", section and message; data is the
// editor's source id of the section, or -1.
struct MessageRow {
  std::string severity, position, section, message;
  int data = -1;
  bool operator==(const MessageRow&) const = default;
};
inline constexpr char kNoErrorsText[] = "No Errors !";

// What the controller asks of the window.
class EditorView {
 public:
  virtual ~EditorView() = default;
  virtual std::string EditText() = 0;
  // Replaces the text (no change notice follows) with the limit lifted.
  virtual void SetEditText(const std::string& text) = 0;
  // Caret to the line's first character plus column, scrolled into view, focus to the text.
  virtual void GoToLine(int line, int column) = 0;
  virtual void ShowTree(const std::vector<EditorTreeRow>& rows) = 0;
  virtual void ShowMessages(const std::vector<MessageRow>& rows) = 0;
  virtual void RepaintMargin() = 0;
  virtual void ShowEditor(bool visible) = 0;
};

// One section as the editor holds it.
struct SectionSource {
  std::string module;
  std::string section;
  std::string text;                      // the files' own text between include markers
  std::optional<ModuleScriptFile> file;  // none: built as it stands
  bool editNewer = false;                // the edit control holds newer text
  bool unsaved = false;                  // edits not saved to the files
  PreprocessedSource built;              // of the last build: maps built rows to text lines
  bool hasBuilt = false;
};

class ScriptEditorController {
 public:
  // Boxes, the file dialog and the temporary folder through `calls`.
  ScriptEditorController(SystemCalls& calls, EditorView& view, FileAccess& files, ModuleScriptLocator locator);
  ~ScriptEditorController();
  ScriptEditorController(const ScriptEditorController&) = delete;
  ScriptEditorController& operator=(const ScriptEditorController&) = delete;

  // The engine worked on (its message stream becomes the editor's); null forgets it and every
  // slot of it (the store of texts stays).
  void SetEngine(asCDebugScriptEngine* engine);
  asCDebugScriptEngine* Engine() const { return engine_; }
  CompileMessageStream& Messages() { return messages_; }
  MarginMarks& Margin() { return margin_; }

  // The editor's hidden flag: set at start and whenever the window is closed.
  bool Hidden() const { return hidden_; }
  void SetHidden(bool hidden) { hidden_ = hidden; }
  // Clears the hidden flag and shows the window.
  void Reveal();

  // --- Tree and sections -------------------------------------------------------------------
  // Fills the tree; while no section is current, the first section of module becomes current.
  void FillModuleTree(const std::string& module);
  // A section by its engine slot (a double click in the tree).
  void SelectSection(int slot);
  void SelectSource(int id);
  // Forgets the current section without touching the edit control's text.
  void ClearCurrentSection();
  int CurrentSource() const { return current_; }
  int CurrentSlot() const;
  std::string CurrentModule() const;
  const SectionSource* Source(int id) const;
  // The editor's source of an engine slot (made on first use), or -1.
  int SourceOfSlot(int slot);
  // The sources of a module are read again from its files, unless they hold unsaved edits.
  void RefreshModuleSources(const std::string& module);

  // --- Text --------------------------------------------------------------------------------
  void OnEditChanged();
  // The edit control's text into the current source when it is newer.
  void BringEditIntoSource();
  // Writes the include blocks the user changed and hands the root text to the engine's save
  // callback; true when saved (also when there was nothing to save).
  bool Save();
  // Reads the current section's files again; false (nothing changed) when they cannot be read.
  bool Reload();

  // --- Builds --------------------------------------------------------------------------------
  // Builds module from the texts the editor holds, the preprocessor's and the engine's messages
  // going to the list's stream; the engine's result. context, when given and idle, lets go
  // of the module first.
  int RebuildModule(const std::string& module, asCDebugContext* context = nullptr);
  // Builds module from the sections its caller added (a device's build, a script opened from
  // a file); the editor's texts only give the messages their lines. Edits not saved stay in
  // the editor, not built, until the editor's own build.
  int BuildAddedModule(const std::string& module);
  // Error count of the last build (never 8, which callers read as "restore the backup").
  int ErrorCount() const { return errorCount_; }
  bool Built() const { return built_; }
  void SetBuilt(bool built) { built_ = built; }
  // Message 1025: the tree for module, the current text, the message list.
  void ShowBuildResult(const std::string& module);
  std::vector<MessageRow> MessageRows();
  // A double click on a message row.
  void ActivateMessage(int data, const std::string& position);

  // --- Debugging -----------------------------------------------------------------------------
  // The text line (0-based) and source id that a built row (1-based) of a slot comes from.
  struct SourceLine {
    int source = -1;
    int line = -1;
  };
  SourceLine SourceLineOfRow(int slot, int row);
  // A line the script stopped at: the caret at its start, marked in the margin (-1: no mark).
  void ShowStopLine(int line);
  void RepaintMargin() { view_.RepaintMargin(); }

  // --- Modules and files -----------------------------------------------------------------
  // Message 1040: the engine forgets the module, and the editor every pointer into it.
  bool DiscardModule(const std::string& module);
  // Command 32830.
  void OpenScriptFile();

  // What opens the programming window for a script opened from a file; it takes the device
  // record. Null: the record goes once its init function has run.
  using OpenProgrammingHook = std::function<void(std::unique_ptr<DeviceRecord> device)>;
  void SetOpenProgrammingHook(OpenProgrammingHook hook) { openProgramming_ = std::move(hook); }
  // The context the device thread makes its calls with (the thread's own unless set); an
  // opened script's init runs there, or on a context of its own while that one holds a call.
  void SetSharedContextSource(std::function<asCDebugContext*()> source) {
    sharedContext_ = std::move(source);
  }

 private:
  int FindSource(const std::string& module, const std::string& section) const;
  void ComposeSource(SectionSource& source);
  int BuildModule(const std::string& module, asCDebugContext* context, bool editorText);
  // What maps the rows of a slot's added text back to the lines the editor shows.
  PreprocessedSource MapOfAddedSection(const SectionSource& source, int slot);
  void MarkTree();
  void OpenScript(const std::string& path);

  SystemCalls& calls_;
  EditorView& view_;
  FileAccess& files_;
  ModuleScriptLocator locator_;
  asCDebugScriptEngine* engine_ = nullptr;
  CompileMessageStream messages_;
  MarginMarks margin_;
  std::vector<SectionSource> sources_;
  int current_ = -1;
  int lastBuilt_ = -1;  // the source whose preprocessor messages the list holds
  int errorCount_ = 0;
  bool built_ = false;
  bool hidden_ = true;
  bool opening_ = false;  // the file dialog's own loop may dispatch the command again
  OpenProgrammingHook openProgramming_;
  std::function<asCDebugContext*()> sharedContext_;
};
