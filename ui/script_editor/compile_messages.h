#pragma once
// The build messages of the script editor: the sink the script engine and the preprocessor
// write into, and the reading of one message line into its parts.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/preprocessor/text_streams.h"
#include "runtime/script/script_output_stream.h"

// What one message line says. A line of the script engine names its section by the row's
// upper bits (row >> 20) and its line by the lower ones; a preprocessor line names a file and
// a line in it (CR and LF counted).
struct CompileMessage {
  std::string severity;  // "Error", "Warning", "Info"; "" for a line without position
  std::string place;     // the text before the position: a section or a file
  int section = -1;      // the engine's section slot, or -1
  int line = 0;          // engine: 1-based row within the section; preprocessor: breaks before
  int column = 0;        // 0 when the line gives none
  bool hasPosition = false;
  std::string message;
};

// Reads "place (row, column) : Severity : text" or "place (line) Severity : text". The
// position is taken at the first "(" that opens one: digits (a separator and digits may
// follow), ")", then a colon or a severity. A "(" of a path ("Program Files (x86)") opens
// none, and one in the message comes after the position. A line without a position is the
// message whole.
CompileMessage ParseCompileMessageLine(std::string_view line, bool fromEngine);

// Up to 100 message lines, each kept with whether the engine (rather than the preprocessor)
// wrote it; empty texts are ignored and later lines dropped.
class CompileMessageStream : public ScriptOutputStream {
 public:
  static constexpr std::size_t kMaxLines = 100;

  // The engine's lines.
  void Write(const char* text) override;
  // A sink for the preprocessor's messages (one line per write).
  TextOutputStream& PreprocessorSink() { return preprocessor_; }

  void ClearCompileMessages() { lines_.clear(); }
  std::size_t Count() const { return lines_.size(); }
  const std::string& Line(std::size_t index) const { return lines_[index].text; }
  // False when index is not below the count.
  bool ParseCompileMessage(std::size_t index, CompileMessage& out) const;

 private:
  struct StoredLine {
    std::string text;
    bool fromEngine = true;
  };
  class PreprocessorWriter : public TextOutputStream {
   public:
    explicit PreprocessorWriter(CompileMessageStream& owner) : owner_(owner) {}
    using TextOutputStream::Write;
    void Write(const char* text, std::size_t length) override;

   private:
    CompileMessageStream& owner_;
  };
  void Add(std::string_view text, bool fromEngine);

  std::vector<StoredLine> lines_;
  PreprocessorWriter preprocessor_{*this};
};
