#pragma once
// The script engine of the device thread: the library's engine with what the script debugger
// needs beside it. It keeps a copy of every script section with its module and section names,
// so that a module can be rebuilt from edited text; it hands module builds and prepared calls
// to a build callback; and it turns global variables into text and back.
//
// Every section goes to the library with the line offset (slot << 20), so a row in a build
// message carries the section's slot above the line within the section. The library drops the
// slot from the line numbers of running code; asCDebugContext::GetLineNumber puts it back.
//
// Registrations go straight to Library(). Contexts must be destroyed before their engine.

#include <angelscript.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "runtime/script/debug_context.h"
#include "runtime/script/script_output_stream.h"

class asCDebugScriptEngine;

// Called instead of building (context null, text the module name, null when the caller gave
// none) and instead of executing a prepared call (text the declaration of its function).
using DebugBuildCallback = int (*)(asCDebugScriptEngine* engine, asCDebugContext* context,
                                   const char* text);
// Kept for the debugger, which calls it to save an edited section.
using DebugSaveCallback = bool (*)(const char* module, const char* section, const char* text,
                                   int length);

class asCDebugScriptEngine {
 public:
  static constexpr int kFirstCapacity = 10;
  static constexpr int kGrowth = 10;
  // A slot shifted left by 20 must stay a positive int.
  static constexpr int kMaxSections = 2048;
  static constexpr int kSlotShift = 20;
  static constexpr int kLineMask = (1 << kSlotShift) - 1;

  // Takes over one reference to library.
  asCDebugScriptEngine(asIScriptEngine* library, DebugBuildCallback buildCallback,
                       DebugSaveCallback saveCallback);
  ~asCDebugScriptEngine();
  asCDebugScriptEngine(const asCDebugScriptEngine&) = delete;
  asCDebugScriptEngine& operator=(const asCDebugScriptEngine&) = delete;

  asIScriptEngine* Library() const { return library_; }
  DebugBuildCallback BuildCallback() const { return buildCallback_; }
  DebugSaveCallback SaveCallback() const { return saveCallback_; }

  // Build messages go here as "section (row, column) : Error : text\n" (or Warning, Info);
  // messages without a section as "Error : text\n". Null drops them.
  void SetMessageStream(ScriptOutputStream* stream) { messages_ = stream; }
  ScriptOutputStream* MessageStream() const { return messages_; }

  // Keeps a copy of the section in the lowest free slot and passes it to the library with
  // that slot's line offset (lineOffset and makeCopy are not used). Trailing zero bytes are
  // not part of the section. Null names are "unnamed". A library module that holds a build
  // is replaced by an empty one first. The library's result; -15 when the library module
  // cannot be made; -1 when no slot is free.
  int AddScriptSection(const char* module, const char* section, const char* code,
                       std::size_t length, int lineOffset = 0, bool makeCopy = true);
  // With a build callback: its result for (this, no context, module), nothing built.
  // Otherwise sets the built flag and builds what was added since. -15 for no such module.
  int Build(const char* module);
  // Forgets the module and frees its slots, and discards the library module. -1 when the
  // module is not held.
  int Discard(const char* module);
  std::unique_ptr<asCDebugContext> CreateContext();

  // With reAdd, makes the library module anew from the kept sections. Then 0 when the built
  // flag is set; otherwise sets it and builds: -15 no module, -17 invalid configuration
  // (with "Invalid configuration\n" in the message stream), else the library's result.
  int RebuildModule(const char* module, bool reAdd);

  // Global ids: module index << 16 | variable index. 0, -15 (no such module) or -16 (no such
  // variable).
  static int GlobalVarId(int moduleIndex, int varIndex) {
    return (moduleIndex & 0x3FF) << 16 | (varIndex & 0xFFFF);
  }
  int GetGlobalVarAsText(int varId, char* buffer, std::size_t length);
  // Primitive variables only; others are left alone (still 0).
  int SetGlobalVarFromText(int varId, const char* text);

  // The built flag: set when a build starts, cleared when sections are added or a module is
  // discarded or re-added.
  bool IsBuilt() const { return built_; }

  // The section table; slot indexes are stable while a section exists.
  int SectionCount() const { return sectionCount_; }
  int SectionCapacity() const { return static_cast<int>(sections_.size()); }
  // Null, -1 and 0 for a free or unknown slot.
  const char* SectionName(int slot) const;
  const char* SectionText(int slot) const;  // zero-terminated
  int SectionLength(int slot) const;
  int SectionModule(int slot) const;
  int SectionFlags(int slot) const;
  void SetSectionFlags(int slot, int flags);
  // Replaces the kept text (the debugger brings its edits in); trailing zeros are dropped.
  void SetSectionText(int slot, const char* text, std::size_t length);
  // The slot of the first section of that name in that module, or -1.
  int FindSection(const char* module, const char* section) const;

  // The module table.
  int ModuleCount() const { return moduleCount_; }
  int ModuleCapacity() const { return static_cast<int>(modules_.size()); }
  const char* ModuleName(int index) const;  // null for a free or unknown slot
  int FindModule(const char* module) const;  // exact name; -1 when not held
  asIScriptModule* LibraryModule(int index) const;

 private:
  struct Section {
    bool used = false;
    std::string name;
    std::string text;
    int flags = 0;
    int module = -1;
  };
  struct Module {
    bool used = false;
    std::string name;
    bool libraryBuilt = false;  // the library module holds a build
    // Kept: asking the library for a module takes its engine lock exclusively, which costs
    // a dozen kernel waits, on every key press.
    asIScriptModule* library = nullptr;
  };

  bool ValidSlot(int slot) const;
  int AddModule(const std::string& name);
  int TakeSectionSlot();
  int PassSection(asIScriptModule* library, int slot);
  int BuildLibraryModule(int index, asIScriptModule* library);
  void OnMessage(const asSMessageInfo* message);

  asIScriptEngine* library_;
  DebugBuildCallback buildCallback_;
  DebugSaveCallback saveCallback_;
  ScriptOutputStream* messages_ = nullptr;
  bool built_ = false;
  int sectionCount_ = 0;
  int moduleCount_ = 0;
  std::vector<Section> sections_;
  std::vector<Module> modules_;
};

// Accepts the versions of the script interface the program was written for (20400 and
// 20401) and returns null for others. The caller owns the engine (delete it).
extern "C" __declspec(dllexport) asCDebugScriptEngine* asCreateDebugScriptEngine(
    asDWORD version, DebugBuildCallback buildCallback, DebugSaveCallback saveCallback);
