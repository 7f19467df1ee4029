#pragma once
// The text the script editor shows for a script: each file's own characters, the root file's
// with every file it includes between the include markers (nested), as the include loader
// writes them. The editor never shows the preprocessor's output: that is what is built, and
// its lines are mapped back to this text through the preprocessor's line map.

#include <string>
#include <string_view>
#include <vector>

#include "platform/base/file_access.h"
#include "runtime/preprocessor/include_loader.h"
#include "runtime/preprocessor/script_preprocessor.h"

class asIScriptEngine;

// Where a script's files come from.
struct ScriptSourceOrigin {
  std::string rootName;    // asked for as this (the module name of a device, or a path)
  std::string baseFolder;  // includes are searched from here
  std::vector<std::string> extraIncludeFolders;
  // The file the root text is read from, when rootName is not its path: an include of it is
  // the root included again ("" for none).
  std::string scriptPath;
};

// The root text (include blocks of an earlier run dropped, trailing zero bytes too, lone line
// feeds made CR LF so that the edit control shows them as lines) with the own text of each
// included file inserted after its #include line, nested includes likewise. A missing file
// gets the loader's "not found" marker pair; a file kept out (already included) nothing.
std::string ComposeScriptSource(const ScriptSourceOrigin& origin, std::string_view rootText,
                                FileAccess& files);

// One file's stretch of a source text: the root (file "") or an include block.
struct SourcePiece {
  std::string file;    // the path in the marker
  int occurrence = 0;  // how many blocks of the same file come before it
  std::vector<int> lineStartBreaks;  // per own line: CR and LF characters before it in the file
};
// Per line of the text (lines end in CR LF; a CR before one belongs to the break): the piece
// it belongs to and its line within that piece's file; marker lines belong to none (-1).
struct SourceLine {
  int piece = -1;
  int ownLine = 0;
};
struct SourceLayout {
  std::vector<SourcePiece> pieces;  // pieces[0] is the root
  std::vector<SourceLine> lines;
};
SourceLayout ParseSourceLayout(std::string_view text);

// The line (0-based) of the text that shows the line of file that begins after breakCount CR
// and LF characters of it, in the given block of that file (the first one when there are
// fewer); rootFile names the root. -1 when the text has no such line.
int SourceLineOfFileLine(const SourceLayout& layout, const std::string& rootFile,
                         const std::string& file, int breakCount, int occurrence = 0);

// The text split for writing: the root's own text, and the blocks that differ from their
// files (see SplitIncludes). With writeTo, those blocks are written.
struct SplitSource {
  std::string rootText;
  SplitReport report;
};
SplitSource SplitScriptSource(std::string_view text, FileAccess* writeTo);

// A source text preprocessed as it stands: include blocks the user changed are read from the
// text, not from their files. Keeps what maps the output back to the text.
class PreprocessedSource {
 public:
  PreprocessedSource() = default;
  // messages receives the preprocessor's messages; engine the functions of module pragmas.
  PreprocessedSource(const ScriptSourceOrigin& origin, std::string_view text, FileAccess& files,
                     asIScriptEngine* engine, TextOutputStream& messages);
  // A text that is built as it is (no files behind it): output and text are the same.
  static PreprocessedSource Plain(std::string_view text);

  const std::string& Output() const { return output_; }
  int Errors() const { return errors_; }
  // The line (0-based) of the text that output row (1-based, as the script compiler counts)
  // comes from; -1 when none is known.
  int SourceLineOfRow(int row) const;
  // The line of the text that a preprocessor message's file and line (CR and LF counted)
  // names; -1 when none.
  int SourceLineOfMessage(const std::string& file, int line) const;

 private:
  std::string output_;
  int errors_ = 0;
  bool plain_ = false;
  LineMap map_;
  std::string rootFile_;
  SourceLayout layout_;
  std::vector<int> rowStartBreaks_;  // per output row: CR and LF characters before it
};

// A file access that keeps what is written to it in memory and reads that back, over the
// real files for everything else.
class OverlayFiles : public FileAccess {
 public:
  explicit OverlayFiles(FileAccess& base) : base_(base) {}
  bool CanRead(const std::string& path) override;
  ReadResult Read(const std::string& path, std::string& bytes, std::size_t maxBytes) override;
  bool Write(const std::string& path, std::string_view bytes) override;

 private:
  FileAccess& base_;
  std::vector<std::pair<std::string, std::string>> written_;
};
