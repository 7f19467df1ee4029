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
};

// The platform's loader (LoadLibraryA / GetProcAddress). Libraries stay loaded.
LibraryLoader& SystemLibraries();
