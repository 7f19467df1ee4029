#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// The file side of script loading, so that the loader and the include splitter can be run
// over an in-memory tree in tests.
class FileAccess {
 public:
  enum class ReadResult { Ok, CannotOpen, TooLarge };

  virtual ~FileAccess() = default;
  // True when the file can be opened for reading.
  virtual bool CanRead(const std::string& path) = 0;
  // The whole file as bytes (no line-end translation); TooLarge leaves bytes empty.
  virtual ReadResult Read(const std::string& path, std::string& bytes, std::size_t maxBytes) = 0;
  // Creates or replaces the file with exactly these bytes.
  virtual bool Write(const std::string& path, std::string_view bytes) = 0;
};

// The real files, through the C runtime (paths in the ANSI code page).
class StdioFileAccess : public FileAccess {
 public:
  bool CanRead(const std::string& path) override;
  ReadResult Read(const std::string& path, std::string& bytes, std::size_t maxBytes) override;
  bool Write(const std::string& path, std::string_view bytes) override;
};

// A process-wide instance of the real file access (it holds no state).
FileAccess& RealFiles();
