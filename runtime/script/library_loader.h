#pragma once
#include <string>

// Loading a library by path and finding an export by name, behind a seam so that the code
// that decides what to load can be tested without real libraries.
class LibraryLoader {
 public:
  virtual ~LibraryLoader() = default;
  // The library's handle, or null when it cannot be loaded.
  virtual void* Load(const std::string& path) = 0;
  // The address of the export, or null (also for a null library).
  virtual void* FindExport(void* library, const std::string& name) = 0;
  // Gives back one load of the library. A loader whose libraries stay loaded ignores it.
  virtual void Free(void* /*library*/) {}
};

// The platform's loader (LoadLibraryA / GetProcAddress / FreeLibrary). Module libraries are
// never given back; per-key plug-ins are, when their programming window closes.
LibraryLoader& SystemLibraries();
