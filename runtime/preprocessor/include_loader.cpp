#include "runtime/preprocessor/include_loader.h"

#include <cctype>
#include <map>
#include <utility>

namespace {

// Removes each "segment\..\" pair.
void RemoveParentSegments(std::string& path) {
  for (;;) {
    const std::size_t p = path.find("\\..\\", 1);
    if (p == std::string::npos) break;
    const std::size_t slash = path.rfind('\\', p - 1);
    if (slash == std::string::npos || slash < 1) break;
    path.erase(slash + 1, p + 4 - (slash + 1));
  }
}

// Tried in this order after the name itself, each between the prefix and the name.
constexpr std::string_view kSearchList[] = {
    "", "\\", "\\..\\", "\\..\\..\\", "\\..\\..\\Custom Commands\\", "\\..\\..\\DLLs\\",
};

bool StartsAt(std::string_view text, std::size_t at, std::string_view s) {
  return at <= text.size() && text.substr(at).starts_with(s);
}

// Where a marker line begins at p: the length of its leading line end (0, 1 or 2),
// or npos when there is no such marker at p.
std::size_t MarkerLead(std::string_view text, std::size_t p, std::string_view marker,
                       bool bareAllowed) {
  if (p >= text.size()) return std::string_view::npos;
  if (text[p] == '\r' && StartsAt(text, p + 1, "\n") && StartsAt(text, p + 2, marker)) return 2;
  if (text[p] == '\n' && StartsAt(text, p + 1, marker)) return 1;
  if (bareAllowed && StartsAt(text, p, marker)) return 0;
  return std::string_view::npos;
}

std::size_t LineEnd(std::string_view text, std::size_t p) {
  while (p < text.size() && text[p] != '\r' && text[p] != '\n') ++p;
  return p;
}

std::string BeginMarker(const std::string& path, bool angle) {
  std::string open = angle ? "<" : "\"", close = angle ? ">" : "\"";
  return "\r\n" + std::string(kIncludeBeginMarker) + open + path + close + "\r\n";
}

std::string EndMarker(const std::string& path, bool angle) {
  std::string open = angle ? "<" : "\"", close = angle ? ">" : "\"";
  return "\r\n" + std::string(kIncludeEndMarker) + open + path + close + "\r";
}

}  // namespace

bool FileExists(FileAccess& files, const std::string& path) { return files.CanRead(path); }

std::string NormalizePath(std::string path) {
  if (path.size() > 3 && path[1] == ':') {
    std::string collapsed;
    for (char c : path)
      if (!(c == '\\' && !collapsed.empty() && collapsed.back() == '\\')) collapsed += c;
    path = std::move(collapsed);
  }
  RemoveParentSegments(path);
  return path;
}

std::string SameFileKey(std::string_view path) {
  std::string key;
  key.reserve(path.size());
  for (char c : path) {
    const char d = c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (d == '\\' && key.size() > 1 && key.back() == '\\') continue;
    key += d;
  }
  for (std::size_t p; (p = key.find("\\.\\")) != std::string::npos;) key.erase(p, 2);
  if (key.starts_with(".\\")) key.erase(0, 2);
  RemoveParentSegments(key);
  return key;
}

std::string FindIncludeFile(FileAccess& files, const std::string& name, const std::string& prefix) {
  if (FileExists(files, name)) return NormalizePath(name);
  if (!prefix.empty()) {
    for (std::string_view entry : kSearchList) {
      std::string candidate = prefix + std::string(entry) + name;
      if (FileExists(files, candidate)) return NormalizePath(candidate);
    }
  }
  return NormalizePath(name);
}

std::string FindIncludeFileInEither(FileAccess& files, const std::string& name,
                                    const std::string& firstPrefix,
                                    const std::string& secondPrefix) {
  std::string found = FindIncludeFile(files, name, firstPrefix);
  if (FileExists(files, found)) return found;
  return FindIncludeFile(files, name, secondPrefix);
}

std::string AddCarriageReturns(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  char previous = 0;
  for (char c : text) {
    if (c == '\n' && previous != '\r') out += '\r';
    out += c;
    previous = c;
  }
  return out;
}

bool IsUsableFileName(std::string_view name) {
  if (name.empty()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (c < 32 || c == '"' || c == '<' || c == '>' || c == '|' || c == '?' || c == '*') return false;
    if (c == ':' && i != 1) return false;
  }
  return true;
}

SplitReport SplitIncludes(std::string_view text, std::string& mainOut, FileAccess* files) {
  struct Block {
    std::string name;
    bool system = false;
    std::string lead;  // the line end that began the opening marker
    std::string content;
  };
  SplitReport report;
  std::vector<Block> open;
  std::vector<Block> closed;
  const std::size_t n = text.size();
  std::size_t p = 0;
  while (p < n) {
    if (std::size_t lead = MarkerLead(text, p, kIncludeBeginMarker, true);
        lead != std::string_view::npos) {
      std::size_t q = p + lead + kIncludeBeginMarker.size();
      std::size_t e = LineEnd(text, q);
      Block block;
      block.system = q < n && text[q] == '<';
      block.lead = std::string(text.substr(p, lead));
      if (e >= q + 2) block.name = std::string(text.substr(q + 1, e - q - 2));
      p = e;
      // The marker's line end, unless it is already the one that begins an end marker
      // (as in the pair written for a missing file).
      if (MarkerLead(text, p, kIncludeEndMarker, false) == std::string_view::npos) {
        if (p < n && text[p] == '\r') ++p;
        if (p < n && text[p] == '\n') ++p;
      }
      open.push_back(std::move(block));
      continue;
    }
    if (std::size_t lead = MarkerLead(text, p, kIncludeEndMarker, false);
        lead != std::string_view::npos) {
      p = LineEnd(text, p + lead + kIncludeEndMarker.size());
      if (p < n && text[p] == '\r') ++p;
      if (open.empty()) {
        report.wellFormed = false;
        continue;
      }
      closed.push_back(std::move(open.back()));
      open.pop_back();
      // The block stood in for a line end: the one after it when there is one (so an
      // include line keeps its own), else the one that began the block.
      if (p < n && text[p] != '\r' && text[p] != '\n')
        (open.empty() ? mainOut : open.back().content) += closed.back().lead;
      continue;
    }
    (open.empty() ? mainOut : open.back().content) += text[p];
    ++p;
  }
  if (!open.empty()) report.wellFormed = false;
  if (!files) return report;

  // One write per file: the first copy that differs from what the file holds now.
  std::vector<std::string> order;
  std::map<std::string, std::vector<const Block*>> copies;
  for (const Block& block : closed) {
    if (block.system || block.name == kIncludeNotFoundName || !IsUsableFileName(block.name))
      continue;
    auto& list = copies[block.name];
    if (list.empty()) order.push_back(block.name);
    list.push_back(&block);
  }
  for (const std::string& name : order) {
    std::string disk;
    bool haveDisk = files->Read(name, disk, kMaxIncludeFileBytes) == FileAccess::ReadResult::Ok;
    std::string current = AddCarriageReturns(disk);
    for (const Block* block : copies[name]) {
      std::string bytes = AddCarriageReturns(block->content);
      if (haveDisk && bytes == current) continue;
      (files->Write(name, bytes) ? report.written : report.failed).push_back(name);
      break;
    }
  }
  return report;
}

IncludedFileSet::IncludedFileSet(FileAccess& files, std::string baseFolder)
    : files_(files), baseFolder_(std::move(baseFolder)) {}

void IncludedFileSet::OnPragmaOnce(const std::string& currentFile) {
  Add(FindIncludeFile(files_, currentFile, baseFolder_));
}

IncludeLoader::IncludeLoader(FileAccess& files, std::string baseFolder, std::string rootName,
                             std::string_view rootText, std::vector<std::string> extraFolders)
    : files_(files),
      baseFolder_(std::move(baseFolder)),
      rootName_(std::move(rootName)),
      rootText_(rootText),
      included_(files, baseFolder_),
      extraFolders_(std::move(extraFolders)) {}

std::string IncludeLoader::Resolve(std::string name, bool* angle) {
  bool isAngle = name.size() >= 3 && name.front() == '<' && name.back() == '>';
  if (isAngle) name = name.substr(1, name.size() - 2);
  if (angle) *angle = isAngle;
  std::size_t slash = currentFile_.rfind('\\');
  std::string includingFolder = slash == std::string::npos ? "" : currentFile_.substr(0, slash);
  std::string found = FindIncludeFileInEither(files_, name, baseFolder_, includingFolder);
  if (!FileExists(files_, found)) {
    for (const std::string& folder : extraFolders_) {
      std::string candidate = folder + "\\" + name;
      if (!folder.empty() && FileExists(files_, candidate)) return NormalizePath(candidate);
    }
  }
  return found;
}

std::string IncludeLoader::ResolveIncludePath(const std::string& name) {
  if (name == rootName_) return FindIncludeFile(files_, name, baseFolder_);
  return Resolve(name, nullptr);
}

bool IncludeLoader::LoadWithIncludes(const std::string& name, std::string& out) {
  return Load(name, out) == IncludeStatus::Loaded;
}

IncludeStatus IncludeLoader::Load(const std::string& name, std::string& out) {
  if (++loads_ > kMaxIncludeLoads) return IncludeStatus::TooManyIncludes;
  if (name == rootName_) {
    if (loadedBytes_ + rootText_.size() > kMaxIncludeRunBytes) return IncludeStatus::TooLarge;
    loadedBytes_ += rootText_.size();
    SplitIncludes(rootText_, out, nullptr);
    included_.Add(FindIncludeFile(files_, name, baseFolder_));
    return IncludeStatus::Loaded;
  }
  bool angle = false;
  std::string resolved = Resolve(name, &angle);
  std::string bytes;
  FileAccess::ReadResult read = IsUsableFileName(resolved)
                                    ? files_.Read(resolved, bytes, kMaxIncludeFileBytes)
                                    : FileAccess::ReadResult::CannotOpen;
  if (read == FileAccess::ReadResult::TooLarge) return IncludeStatus::TooLarge;
  if (read != FileAccess::ReadResult::Ok) {
    std::string missing = "\"" + std::string(kIncludeNotFoundName) + "\"";
    out += "\r\n" + std::string(kIncludeBeginMarker) + missing;
    out += "\r\n" + std::string(kIncludeEndMarker) + missing + "\r";
    return IncludeStatus::NotFound;
  }
  resolved = NormalizePath(resolved);
  if (included_.Contains(resolved)) return IncludeStatus::AlreadyIncluded;
  if (loadedBytes_ + bytes.size() > kMaxIncludeRunBytes) return IncludeStatus::TooLarge;
  loadedBytes_ += bytes.size();
  out += BeginMarker(resolved, angle);
  out += AddCarriageReturns(bytes);
  out += EndMarker(resolved, angle);
  return IncludeStatus::Loaded;
}
