#pragma once
#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/file_access.h"

// Marker lines that frame each included file in a combined script text, so that the text can
// be split back into its files after it has been edited.
inline constexpr std::string_view kIncludeBeginMarker = "#including_file: ";
inline constexpr std::string_view kIncludeEndMarker = "#end_include: ";
inline constexpr std::string_view kIncludeNotFoundName = "Error: file not found";

// Bounds of one preprocessing run, so that a bad script cannot take unbounded memory.
inline constexpr std::size_t kMaxIncludeFileBytes = 4u << 20;   // one included file
inline constexpr std::size_t kMaxIncludeRunBytes = 16u << 20;   // all loads of a run together
inline constexpr int kMaxIncludeLoads = 4096;                   // loads of a run
// How deep the preprocessor may nest includes; the loader cannot see its recursion.
inline constexpr int kMaxIncludeNesting = 64;

// True when the file can be opened for reading.
bool FileExists(FileAccess& files, const std::string& path);

// Collapses doubled backslashes (drive paths only) and removes "segment\..\" pairs.
std::string NormalizePath(std::string path);

// One text for every name the platform reads as the same file: '/' as '\', runs of
// separators as one (a leading "\\" stays), no "\.\" segments, "segment\..\" pairs removed,
// lower case.
std::string SameFileKey(std::string_view path);

// The first readable of: name itself, then prefix + each search entry + name; normalised.
// When none can be read, the normalised name. An empty prefix tries only the name itself.
std::string FindIncludeFile(FileAccess& files, const std::string& name, const std::string& prefix);
std::string FindIncludeFileInEither(FileAccess& files, const std::string& name,
                                    const std::string& firstPrefix,
                                    const std::string& secondPrefix);

// Puts a CR before every LF that has none, as reading a file in text mode and writing its
// lines with CR LF ends does. A lone CR stays.
std::string AddCarriageReturns(std::string_view text);

// False for a name that no file can have and that would break the marker lines: control
// characters, " < > | ? *, or a ':' other than a drive letter's.
bool IsUsableFileName(std::string_view name);

struct SplitReport {
  // False when an include block had no end marker or an end marker had no block; the
  // unterminated blocks are not written, and the main text then lacks their rest.
  bool wellFormed = true;
  std::vector<std::string> written;  // files written back, in order
  std::vector<std::string> failed;   // files that could not be written
};

// Removes every marked include block from text and appends the rest to mainOut (no terminator
// is added). A block inserted before its #include line's own line end gives that line end
// back, so load-then-split returns the root text unchanged; a block followed by other text
// leaves the CR LF that began its opening marker. With files, writes each block whose marker
// names a "..." file back into that file (nested blocks into their own files), lone LFs
// written as CR LF; a file that appears in several blocks is written once, from the first
// copy that differs from it, and not at all when no copy does. The error marker pair of a
// missing file and unusable names are never written.
SplitReport SplitIncludes(std::string_view text, std::string& mainOut, FileAccess* files);

// The normalised paths that are not to be read again in one run; also what the "once"
// pragma adds to.
class IncludedFileSet {
 public:
  IncludedFileSet(FileAccess& files, std::string baseFolder);

  void Add(const std::string& normalisedPath) { paths_.insert(normalisedPath); }
  bool Contains(const std::string& normalisedPath) const { return paths_.count(normalisedPath) > 0; }
  const std::set<std::string>& Paths() const { return paths_; }
  // The "once" pragma in currentFile: later includes of that file append nothing.
  void OnPragmaOnce(const std::string& currentFile);

 private:
  FileAccess& files_;
  std::string baseFolder_;
  std::set<std::string> paths_;
};

enum class IncludeStatus {
  Loaded,
  NotFound,         // no readable file (or an unusable name)
  AlreadyIncluded,  // in the IncludedFileSet
  TooLarge,         // the file, or the run's loads together, exceed their bound
  TooManyIncludes,  // the run has made kMaxIncludeLoads loads already
};

// The file side of one preprocessing run.
class IncludeLoader {
 public:
  // rootText is the root script in memory (it is copied); extraFolders are searched after
  // the usual places (for example the program's custom-command folder under another data root).
  IncludeLoader(FileAccess& files, std::string baseFolder, std::string rootName,
                std::string_view rootText, std::vector<std::string> extraFolders = {});
  virtual ~IncludeLoader() = default;

  // Appends the named file to out: the root text without its include blocks, or an included
  // file between its marker lines. True when something was loaded.
  virtual bool LoadWithIncludes(const std::string& name, std::string& out);
  // The path that LoadWithIncludes would read for name, given the current file.
  virtual std::string ResolveIncludePath(const std::string& name);
  // The file that holds the #include being served (its folder is searched too).
  virtual void SetCurrentFile(const std::string& path) { currentFile_ = path; }

  // LoadWithIncludes with the reason of a failure.
  IncludeStatus Load(const std::string& name, std::string& out);

  IncludedFileSet& IncludedFiles() { return included_; }
  const std::string& BaseFolder() const { return baseFolder_; }
  const std::string& RootName() const { return rootName_; }
  const std::string& CurrentFile() const { return currentFile_; }

  // The run's include counters: every include, and those made from the root file.
  void CountInclude(bool fromRoot) { ++(fromRoot ? rootIncludeCount_ : includeCount_); }
  int IncludeCount() const { return includeCount_; }
  int RootIncludeCount() const { return rootIncludeCount_; }

 private:
  std::string Resolve(std::string name, bool* angle);

  FileAccess& files_;
  int includeCount_ = 1;
  int rootIncludeCount_ = 100001;
  std::string baseFolder_;
  std::string rootName_;
  std::string rootText_;
  IncludedFileSet included_;
  std::string currentFile_;
  std::vector<std::string> extraFolders_;
  int loads_ = 0;
  std::size_t loadedBytes_ = 0;
};
