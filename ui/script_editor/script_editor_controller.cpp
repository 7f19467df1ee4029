#include "ui/script_editor/script_editor_controller.h"

#include <windows.h>
#include <angelscript.h>

#include <cstdio>
#include <cstring>

#include "platform/base/path_text.h"
#include "platform/base/system_calls.h"
#include "runtime/device/device_record.h"
#include "runtime/device/device_table.h"
#include "runtime/preprocessor/include_loader.h"
#include "runtime/script/debug_engine.h"
#include "runtime/script/script_engine_lock.h"
#include "runtime/service/device_module_build.h"
#include "runtime/service/device_thread.h"
#include "ui/script_editor/script_file_choice.h"

namespace {

constexpr char kEditorCaption[] = "AngelScript IDE";
constexpr char kDeviceIdGlobal[] = "QpadDeviceID";
constexpr char kMarkerLostText[] =
    "The script was not saved.\n\n"
    "An included file's text is missing its \"#including_file:\" line or its \"#end_include:\" "
    "line. Put the line back where it was, or choose Reload to read the files again.";

// The first number of a text, and the number after its comma (and blanks), as "%d,%d" wrote
// them; missing numbers give 0.
void ReadPosition(const std::string& text, int& line, int& column) {
  line = 0;
  column = 0;
  std::sscanf(text.c_str(), "%d", &line);
  std::size_t comma = text.find(',');
  if (comma != std::string::npos) std::sscanf(text.c_str() + comma + 1, " %d", &column);
}

// The value of a global of an integer type, whatever its width.
std::optional<int> IntegerGlobal(asIScriptModule* module, const char* name) {
  if (!module) return std::nullopt;
  const int index = module->GetGlobalVarIndexByName(name);
  if (index < 0) return std::nullopt;
  int typeId = 0;
  module->GetGlobalVar(static_cast<asUINT>(index), nullptr, nullptr, &typeId);
  const void* address = module->GetAddressOfGlobalVar(static_cast<asUINT>(index));
  if (!address) return std::nullopt;
  switch (typeId) {
    case asTYPEID_INT8: return *static_cast<const signed char*>(address);
    case asTYPEID_UINT8: return *static_cast<const unsigned char*>(address);
    case asTYPEID_INT16: return *static_cast<const short*>(address);
    case asTYPEID_UINT16: return *static_cast<const unsigned short*>(address);
    case asTYPEID_INT32:
    case asTYPEID_UINT32: return *static_cast<const int*>(address);
    default: return std::nullopt;
  }
}

}  // namespace

ScriptEditorController::ScriptEditorController(SystemCalls& calls, EditorView& view, FileAccess& files,
                                               ModuleScriptLocator locator)
    : calls_(calls),
      view_(view),
      files_(files),
      locator_(std::move(locator)),
      sharedContext_(GetDeviceScriptContext) {}

ScriptEditorController::~ScriptEditorController() {
  if (engine_ && engine_->MessageStream() == &messages_) engine_->SetMessageStream(nullptr);
}

void ScriptEditorController::SetEngine(asCDebugScriptEngine* engine) {
  if (engine == engine_) return;
  if (engine_ && engine_->MessageStream() == &messages_) engine_->SetMessageStream(nullptr);
  BringEditIntoSource();
  current_ = -1;
  for (SectionSource& s : sources_) s.hasBuilt = false;
  engine_ = engine;
  if (engine_) engine_->SetMessageStream(&messages_);
}

void ScriptEditorController::Reveal() {
  hidden_ = false;
  view_.ShowEditor(true);
}

int ScriptEditorController::FindSource(const std::string& module, const std::string& section) const {
  for (std::size_t i = 0; i < sources_.size(); ++i)
    if (sources_[i].module == module && sources_[i].section == section) return static_cast<int>(i);
  return -1;
}

const SectionSource* ScriptEditorController::Source(int id) const {
  return id >= 0 && id < static_cast<int>(sources_.size()) ? &sources_[id] : nullptr;
}

int ScriptEditorController::CurrentSlot() const {
  if (!engine_ || current_ < 0) return -1;
  return engine_->FindSection(sources_[current_].module.c_str(), sources_[current_].section.c_str());
}

std::string ScriptEditorController::CurrentModule() const {
  return current_ >= 0 ? sources_[current_].module : std::string();
}

void ScriptEditorController::ComposeSource(SectionSource& source) {
  source.hasBuilt = false;
  source.file.reset();
  int sections = 0;
  const int moduleIndex = engine_ ? engine_->FindModule(source.module.c_str()) : -1;
  for (int slot = 0; engine_ && slot < engine_->SectionCapacity(); ++slot)
    if (engine_->SectionModule(slot) == moduleIndex && moduleIndex >= 0) ++sections;
  // A module's file is its one section's text.
  if (std::optional<ModuleScriptFile> file = sections <= 1 ? locator_(source.module) : std::nullopt) {
    std::string bytes;
    if (files_.Read(file->path, bytes, kMaxIncludeRunBytes) == FileAccess::ReadResult::Ok) {
      source.text = ComposeScriptSource(file->origin, bytes, files_);
      source.file = std::move(file);
      return;
    }
  }
  const int slot = engine_ ? engine_->FindSection(source.module.c_str(), source.section.c_str()) : -1;
  const char* kept = engine_ ? engine_->SectionText(slot) : nullptr;
  source.text = AddCarriageReturns(kept ? kept : "");
}

int ScriptEditorController::SourceOfSlot(int slot) {
  if (!engine_) return -1;
  const char* section = engine_->SectionName(slot);
  const char* module = engine_->ModuleName(engine_->SectionModule(slot));
  if (!section || !module) return -1;
  int id = FindSource(module, section);
  if (id >= 0) return id;
  SectionSource source;
  source.module = module;
  source.section = section;
  ComposeSource(source);
  sources_.push_back(std::move(source));
  return static_cast<int>(sources_.size()) - 1;
}

void ScriptEditorController::RefreshModuleSources(const std::string& module) {
  for (int id = 0; id < static_cast<int>(sources_.size()); ++id) {
    SectionSource& s = sources_[id];
    if (s.module != module) continue;
    if (id == current_) BringEditIntoSource();
    if (s.unsaved) continue;
    ComposeSource(s);
    if (id == current_) view_.SetEditText(s.text);
  }
}

void ScriptEditorController::FillModuleTree(const std::string& module) {
  if (engine_ && current_ < 0) {
    const int index = engine_->FindModule(module.c_str());
    for (int slot = 0; index >= 0 && slot < engine_->SectionCapacity(); ++slot) {
      if (engine_->SectionModule(slot) != index) continue;
      const int id = SourceOfSlot(slot);
      if (id >= 0) {
        SelectSource(id);
        return;  // SelectSource shows the tree
      }
    }
  }
  MarkTree();
}

void ScriptEditorController::MarkTree() {
  std::vector<EditorTreeRow> rows;
  rows.push_back({0, "AngelScript", kTreeRootData, false});
  const int currentSlot = CurrentSlot();
  for (int i = 0; engine_ && i < engine_->ModuleCapacity(); ++i) {
    const char* name = engine_->ModuleName(i);
    if (!name) continue;
    rows.push_back({1, name, -1 - i, false});
    for (int slot = 0; slot < engine_->SectionCapacity(); ++slot)
      if (engine_->SectionModule(slot) == i)
        rows.push_back({2, engine_->SectionName(slot), slot, slot == currentSlot});
  }
  view_.ShowTree(rows);
}

void ScriptEditorController::SelectSection(int slot) {
  const int id = SourceOfSlot(slot);
  if (id >= 0) SelectSource(id);
}

void ScriptEditorController::SelectSource(int id) {
  if (current_ >= 0) BringEditIntoSource();
  if (id == current_ || !Source(id)) return;
  current_ = id;
  view_.SetEditText(sources_[id].text);
  margin_.SetSectionKey(id);
  MarkTree();
  view_.RepaintMargin();
}

void ScriptEditorController::ClearCurrentSection() {
  BringEditIntoSource();
  current_ = -1;
}

void ScriptEditorController::OnEditChanged() {
  built_ = false;
  if (current_ >= 0) {
    sources_[current_].editNewer = true;
    sources_[current_].unsaved = true;
  }
  margin_.SetCurrentLine(-1);
  view_.RepaintMargin();
}

void ScriptEditorController::BringEditIntoSource() {
  if (current_ < 0 || !sources_[current_].editNewer) return;
  sources_[current_].text = view_.EditText();
  sources_[current_].editNewer = false;
}

bool ScriptEditorController::Save() {
  if (current_ < 0) return false;
  BringEditIntoSource();
  SectionSource& s = sources_[current_];
  if (!s.unsaved) return true;
  // A block without its end marker would swallow the rest of the root text, and an end
  // marker without its block cut the text short: nothing is written until both are back.
  if (!SplitScriptSource(s.text, nullptr).report.wellFormed) {
    calls_.ShowMessageBox(nullptr, kMarkerLostText, kEditorCaption, BoxButtons::Ok, BoxIcon::Error);
    return false;
  }
  // A text without files behind it holds preprocessed blocks: those are never written back.
  SplitSource split = SplitScriptSource(s.text, s.file ? &files_ : nullptr);
  DebugSaveCallback save = engine_ ? engine_->SaveCallback() : nullptr;
  bool saved = save && save(s.module.c_str(), s.section.c_str(), split.rootText.data(),
                            static_cast<int>(split.rootText.size()));
  // A script opened from a file, or a device that is gone: the file it was read from.
  if (!saved && s.file) saved = files_.Write(s.file->path, split.rootText);
  if (saved && split.report.failed.empty()) {
    s.unsaved = false;
    return true;
  }
  std::string text = "The script could not be saved.";
  for (const std::string& f : split.report.failed) text += "\n" + f;
  calls_.ShowMessageBox(nullptr, text.c_str(), kEditorCaption, BoxButtons::Ok, BoxIcon::Error);
  return false;
}

bool ScriptEditorController::Reload() {
  if (current_ < 0) return false;
  BringEditIntoSource();
  SectionSource& s = sources_[current_];
  std::optional<ModuleScriptFile> file = locator_(s.module);
  std::string bytes;
  if (!file || files_.Read(file->path, bytes, kMaxIncludeRunBytes) != FileAccess::ReadResult::Ok)
    return false;
  s.text = ComposeScriptSource(file->origin, bytes, files_);
  s.file = std::move(file);
  s.editNewer = false;
  s.unsaved = false;
  built_ = false;  // the text may differ from what was built
  view_.SetEditText(s.text);
  return true;
}

int ScriptEditorController::RebuildModule(const std::string& module, asCDebugContext* context) {
  return BuildModule(module, context, true);
}

int ScriptEditorController::BuildAddedModule(const std::string& module) {
  return BuildModule(module, nullptr, false);
}

PreprocessedSource ScriptEditorController::MapOfAddedSection(const SectionSource& s, int slot) {
  if (s.file) {
    if (!s.unsaved)
      return PreprocessedSource(s.file->origin, s.text, files_, engine_->Library(),
                                messages_.PreprocessorSink());
    // The text shown holds edits that were not built: the lines are those of the files.
    std::string bytes;
    if (files_.Read(s.file->path, bytes, kMaxIncludeRunBytes) == FileAccess::ReadResult::Ok)
      return PreprocessedSource(s.file->origin, ComposeScriptSource(s.file->origin, bytes, files_),
                                files_, engine_->Library(), messages_.PreprocessorSink());
  }
  const char* kept = engine_->SectionText(slot);
  return PreprocessedSource::Plain(kept ? kept : "");
}

int ScriptEditorController::BuildModule(const std::string& module, asCDebugContext* context,
                                        bool editorText) {
  if (!engine_) return asERROR;
  const int index = engine_->FindModule(module.c_str());
  if (index < 0) return asNO_MODULE;
  if (context) {
    const asEContextState state = context->Library()->GetState();
    if (state == asEXECUTION_ACTIVE || state == asEXECUTION_SUSPENDED) return asCONTEXT_ACTIVE;
    context->Detach();
  }
  ReleaseModuleUses(module, *engine_);
  BringEditIntoSource();
  messages_.ClearCompileMessages();
  engine_->SetMessageStream(&messages_);
  bool editsLeft = false;  // edits the build did not take
  for (int slot = 0; slot < engine_->SectionCapacity(); ++slot) {
    if (engine_->SectionModule(slot) != index) continue;
    const int id = SourceOfSlot(slot);
    if (id < 0) continue;
    SectionSource& s = sources_[id];
    if (editorText) {
      s.built = s.file ? PreprocessedSource(s.file->origin, s.text, files_, engine_->Library(),
                                            messages_.PreprocessorSink())
                       : PreprocessedSource::Plain(s.text);
      engine_->SetSectionText(slot, s.built.Output().data(), s.built.Output().size());
    } else {
      s.built = MapOfAddedSection(s, slot);
      editsLeft = editsLeft || s.unsaved;
    }
    s.hasBuilt = true;
    lastBuilt_ = id;
  }
  const int result = engine_->RebuildModule(module.c_str(), true);
  built_ = !editsLeft;
  errorCount_ = 0;
  if (result < 0) {
    CompileMessage m;
    for (std::size_t i = 0; messages_.ParseCompileMessage(i, m); ++i)
      if (m.severity == "Error") ++errorCount_;
    if (errorCount_ == 0) errorCount_ = 1;
    if (errorCount_ == kBuildRestoreBackup) ++errorCount_;
  }
  return result;
}

void ScriptEditorController::ShowBuildResult(const std::string& module) {
  FillModuleTree(module);
  if (current_ >= 0) {
    BringEditIntoSource();
    if (view_.EditText() != sources_[current_].text) view_.SetEditText(sources_[current_].text);
    margin_.SetSectionKey(current_);
    view_.RepaintMargin();
  }
  view_.ShowMessages(MessageRows());
}

std::vector<MessageRow> ScriptEditorController::MessageRows() {
  std::vector<MessageRow> rows;
  CompileMessage m;
  for (std::size_t i = 0; messages_.ParseCompileMessage(i, m); ++i) {
    MessageRow row;
    row.severity = m.severity;
    row.message = m.message;
    if (m.hasPosition) {
      int id = -1;
      int line = -1;
      if (m.section >= 0) {
        id = SourceOfSlot(m.section);
        const SectionSource* s = Source(id);
        if (s && s->hasBuilt) line = s->built.SourceLineOfRow(m.line);
        if (line < 0) line = m.line - 1;
      } else if (const SectionSource* s = Source(lastBuilt_)) {
        id = lastBuilt_;
        if (s->hasBuilt) line = s->built.SourceLineOfMessage(m.place, m.line);
      }
      if (const SectionSource* s = Source(id)) {
        row.data = id;
        row.section = s->section;
        if (line >= 0) row.position = std::to_string(line + 1) + "," + std::to_string(m.column);
      }
    }
    rows.push_back(std::move(row));
  }
  if (rows.empty()) rows.push_back({"", "", "", kNoErrorsText, -1});
  return rows;
}

void ScriptEditorController::ActivateMessage(int data, const std::string& position) {
  if (data >= 0 && data != current_) SelectSource(data);
  int line = 0, column = 0;
  ReadPosition(position.substr(0, 40), line, column);
  line = line > 0 ? line - 1 : 0;
  column = column > 0 ? column - 1 : 0;
  view_.GoToLine(line, column);
  margin_.SetCurrentLine(line);
  view_.RepaintMargin();
}

ScriptEditorController::SourceLine ScriptEditorController::SourceLineOfRow(int slot, int row) {
  SourceLine at;
  at.source = SourceOfSlot(slot);
  const SectionSource* s = Source(at.source);
  if (!s) return {};
  at.line = s->hasBuilt ? s->built.SourceLineOfRow(row) : row - 1;
  return at;
}

void ScriptEditorController::ShowStopLine(int line) {
  if (line >= 0) view_.GoToLine(line, 0);
  margin_.SetCurrentLine(line);
  view_.RepaintMargin();
}

bool ScriptEditorController::DiscardModule(const std::string& module) {
  if (!engine_) return false;
  const bool shown = current_ >= 0 && sources_[current_].module == module;
  if (shown) ClearCurrentSection();
  engine_->Discard(module.c_str());
  if (shown) {
    view_.SetEditText("");
    margin_.SetCurrentLine(-1);
    MarkTree();
  }
  return true;
}

void ScriptEditorController::OpenScriptFile() {
  if (opening_) return;
  struct Opening {
    bool& flag;
    explicit Opening(bool& f) : flag(f) { flag = true; }
    ~Opening() { flag = false; }
  } opening(opening_);
  OpenFileQuestion question;
  question.title = "Open Orvane Script";
  question.filterName = "Orvane II Script (*.oxs)";
  question.filterPattern = "*.oxs";
  question.moreFilters = {{"Keyloom Layout (*.qp*, *.q11)", "*.qp*;*.q11"}, {"All Files", "*.*"}};
  const std::optional<std::string> chosen = calls_.ChooseFileToOpen(question);
  if (!chosen) return;
  switch (ClassifyChosenFile(*chosen)) {
    case ChosenFileKind::OldLayout: {
      // Nothing is converted: the temporary file it would go to is only looked for, not made.
      const std::optional<std::string> name =
          FreeTempScriptName(calls_.TempFolder(), [&](const std::string& p) { return files_.CanRead(p); });
      if (name && files_.CanRead(*chosen))
        calls_.ShowMessageBox(nullptr, "Need to convert this QP1 file to an OXS file.", "Not Done", BoxButtons::Ok,
                              BoxIcon::Information);
      break;
    }
    case ChosenFileKind::Script:
      OpenScript(*chosen);
      break;
    case ChosenFileKind::Other:
      calls_.ShowMessageBox(nullptr, "Not an Qpad layout or script file.", "Invalid File Type", BoxButtons::Ok,
                            BoxIcon::Error);
      break;
  }
}

void ScriptEditorController::OpenScript(const std::string& path) {
  std::string bytes;
  if (!engine_ || files_.Read(path, bytes, kMaxIncludeRunBytes) != FileAccess::ReadResult::Ok)
    return;
  ScriptEngineGuard lock;
  // The module is made anew: its text comes from the file.
  for (SectionSource& s : sources_)
    if (s.module == path && !s.unsaved) s.hasBuilt = false;
  if (current_ >= 0 && sources_[current_].module == path) ClearCurrentSection();
  messages_.ClearCompileMessages();
  engine_->SetMessageStream(&messages_);
  int result = BuildScriptModule(path, bytes.data(), bytes.size(), CutAtLastBackslash(path),
                                 *engine_, &messages_.PreprocessorSink());
  const bool callbackAnswered = engine_->BuildCallback() != nullptr;
  RefreshModuleSources(path);
  if (result != 0 && !callbackAnswered) {
    // Built again, so that the messages find their lines in the text the editor shows.
    BuildAddedModule(path);
  }
  if (result == 0) {
    const int index = engine_->FindModule(path.c_str());
    const std::optional<int> productId = IntegerGlobal(engine_->LibraryModule(index), kDeviceIdGlobal);
    auto device = std::make_unique<DeviceRecord>();
    if (!productId || !InitDeviceRecord(*device, kVendorId, *productId, 0)) {
      DiscardModule(path);
      return;
    }
    device->moduleName = path;
    DeviceRecord* const previous = GetCurrentDevice();
    asCDebugContext* context = sharedContext_ ? sharedContext_() : nullptr;
    // Opened while the debugger holds a call stopped: that call is left alone.
    std::unique_ptr<asCDebugContext> own;
    if (context && (context->Library()->GetState() == asEXECUTION_ACTIVE ||
                    context->Library()->GetState() == asEXECUTION_SUSPENDED)) {
      own = engine_->CreateContext();
      context = own.get();
    }
    if (context) RunDeviceInit(*device, *engine_, *context);
    if (openProgramming_) openProgramming_(std::move(device));
    SetCurrentDevice(previous);
  } else if (callbackAnswered) {
    return;  // the build callback has shown the result and asked the user
  }
  if (engine_->FindModule(path.c_str()) < 0) return;
  ClearCurrentSection();
  ShowBuildResult(path);
  Reveal();
}
