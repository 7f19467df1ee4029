#pragma once
// One preprocessing run over in-memory files with its own pragma table, module registry and
// command defines, so that tests do not share the program's. Header-only.

#include <map>
#include <string>
#include <vector>

#include "platform/base/memory_file_access.h"
#include "runtime/preprocessor/preprocessor_pragmas.h"
#include "runtime/preprocessor/script_preprocessor.h"
#include "runtime/script/library_loader.h"

// Libraries by path, each with its exports; records every load.
class FakeLibraries : public LibraryLoader {
 public:
  void Add(const std::string& path, std::vector<std::string> exports) {
    libraries_[path] = std::move(exports);
  }
  void* Load(const std::string& path) override {
    loads.push_back(path);
    auto it = libraries_.find(path);
    return it == libraries_.end() ? nullptr : &it->second;
  }
  void* FindExport(void* library, const std::string& name) override {
    if (!library) return nullptr;
    for (const std::string& e : *static_cast<std::vector<std::string>*>(library))
      if (e == name) return reinterpret_cast<void*>(&Stub);
    return nullptr;
  }
  static int Stub(int a, int b) { return a * 100 + b; }
  std::vector<std::string> loads;

 private:
  std::map<std::string, std::vector<std::string>> libraries_;
};

struct PreprocessResult {
  std::string out;
  std::string messages;
  int errors = 0;
  LineMap lineMap;
};

class PreprocessorFixture {
 public:
  explicit PreprocessorFixture(LibraryLoader* libraries = nullptr, FileAccess* files = nullptr)
      : files_(files ? *files : memory), modules(libraries ? *libraries : fakeLibraries, files_) {}

  // The root text asked for as "Root" with base folder kBase.
  PreprocessResult Preprocess(const std::string& root, asIScriptEngine* engine = nullptr,
                              const std::string& base = kBase) {
    PreprocessorSetup setup{&files_, &pragmas, &modules, &commandDefines, extraFolders, rootFile};
    BufferOutputStream out, messages;
    PreprocessResult r;
    r.errors = PreprocessScriptFile("Root", root, engine, base, out, messages, &r.lineMap, setup);
    r.out = out.Text();
    r.messages = messages.Text();
    return r;
  }

  static inline const std::string kBase = "C:\\s";
  MemoryFileAccess memory;
  FakeLibraries fakeLibraries;
  PragmaTable pragmas;
  DefineTable commandDefines;
  std::vector<std::string> extraFolders;
  std::string rootFile;  // the file the root text stands for ("": none)

 private:
  FileAccess& files_;

 public:
  ModulePragmaRegistry modules;
};
