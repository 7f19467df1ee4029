#include "ui/script_editor/script_source.h"

#include <algorithm>
#include <utility>

#include "platform/base/memory_file_access.h"
#include "runtime/preprocessor/include_loader.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsIdentifierChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// The name an #include line asks for, as the preprocessor reads it ("<x>" for angle brackets);
// "" when the line is no #include.
std::string IncludeNameOf(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  if (i >= line.size() || line[i] != '#') return {};
  std::size_t word = ++i;
  while (i < line.size() && IsIdentifierChar(line[i])) ++i;
  if (!EqualNoCase(line.substr(word, i - word), "include")) return {};
  while (i < line.size() && IsBlank(line[i])) ++i;
  if (i >= line.size()) return {};
  if (line[i] == '"') {
    std::size_t close = line.find('"', i + 1);
    if (close == std::string_view::npos) return {};
    return std::string(line.substr(i + 1, close - i - 1));
  }
  if (line[i] == '<') {
    std::string joined;
    for (++i; i < line.size() && line[i] != '>'; ++i)
      if (!IsBlank(line[i])) joined += line[i];
    if (i >= line.size()) return {};
    return "<" + joined + ">";
  }
  return {};
}

// Whether a block comment is open at the end of the line, given whether one was at its start.
bool BlockCommentOpenAfter(std::string_view line, bool open) {
  char quote = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    char next = i + 1 < line.size() ? line[i + 1] : '\0';
    if (open) {
      if (c == '*' && next == '/') {
        open = false;
        ++i;
      }
    } else if (quote) {
      if (c == '\\') ++i;
      else if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '/' && next == '/') {
      break;
    } else if (c == '/' && next == '*') {
      open = true;
      ++i;
    }
  }
  return open;
}

class Composer {
 public:
  Composer(IncludeLoader& loader, const std::string& rootFile)
      : loader_(loader), rootAlias_(rootFile.empty() ? std::string() : NormalizePath(rootFile)) {}

  // text with the block of each of its #include lines after that line.
  std::string Expand(std::string_view text, const std::string& currentFile) {
    std::string out;
    out.reserve(text.size());
    bool inComment = false;
    std::size_t pos = 0;
    while (pos <= text.size()) {
      std::size_t lf = text.find('\n', pos);
      std::size_t end = lf == std::string_view::npos ? text.size() : lf;
      std::size_t contentEnd = lf != std::string_view::npos && end > pos && text[end - 1] == '\r' ? end - 1 : end;
      std::string_view line = text.substr(pos, contentEnd - pos);
      out += line;
      if (!inComment) {
        std::string name = IncludeNameOf(line);
        if (!name.empty()) out += Block(name, currentFile);
      }
      inComment = BlockCommentOpenAfter(line, inComment);
      if (lf == std::string_view::npos) break;
      out += text.substr(contentEnd, lf + 1 - contentEnd);
      pos = lf + 1;
    }
    return out;
  }

 private:
  std::string Block(std::string name, const std::string& currentFile) {
    std::size_t slash = currentFile.rfind('/');
    if (slash != std::string::npos && !name.starts_with("<"))
      name = currentFile.substr(0, slash + 1) + name;
    loader_.SetCurrentFile(currentFile);
    const std::string resolved = loader_.ResolveIncludePath(name);
    // The root's own file, asked for by its path: as a build does, it is not included again.
    const std::string key = SameFileKey(resolved);
    if (!rootAlias_.empty() && key == SameFileKey(rootAlias_)) return {};
    std::string block;
    if (loader_.Load(name, block) != IncludeStatus::Loaded) return block;
    // The root asked for by its own name comes back whole, without markers: not a block.
    if (!block.starts_with("\r\n" + std::string(kIncludeBeginMarker))) return {};
    // The loader's block: the opening marker line, the file's text, the closing marker.
    std::size_t contentStart = block.find("\r\n", 2);
    std::size_t contentEnd = block.rfind("\r\n" + std::string(kIncludeEndMarker));
    if (contentStart == std::string::npos || contentEnd == std::string::npos ||
        contentEnd < contentStart + 2)
      return block;
    contentStart += 2;
    // A file open further out, by any of its names: its block stays as the loader gave it.
    const bool recursive = std::find(openKeys_.begin(), openKeys_.end(), key) != openKeys_.end();
    if (recursive || static_cast<int>(openKeys_.size()) >= kMaxIncludeNesting) return block;
    openKeys_.push_back(key);
    std::string content =
        Expand(std::string_view(block).substr(contentStart, contentEnd - contentStart), resolved);
    openKeys_.pop_back();
    return block.substr(0, contentStart) + content + block.substr(contentEnd);
  }

  IncludeLoader& loader_;
  std::string rootAlias_;
  std::vector<std::string> openKeys_;  // SameFileKey of each file being expanded
};

int CountCarriageReturns(std::string_view text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\r'));
}

std::string MarkerFile(std::string_view line, std::string_view marker) {
  std::string_view rest = line.substr(marker.size());
  return rest.size() >= 2 ? std::string(rest.substr(1, rest.size() - 2)) : std::string();
}

}  // namespace

std::string ComposeScriptSource(const ScriptSourceOrigin& origin, std::string_view rootText,
                                FileAccess& files) {
  while (!rootText.empty() && rootText.back() == '\0') rootText.remove_suffix(1);
  IncludeLoader loader(files, origin.baseFolder, origin.rootName, rootText,
                       origin.extraIncludeFolders);
  std::string root;
  loader.Load(origin.rootName, root);  // drops old blocks; keeps the root out of later loads
  Composer composer(loader, origin.scriptPath);
  return composer.Expand(AddCarriageReturns(root), loader.ResolveIncludePath(origin.rootName));
}

SourceLayout ParseSourceLayout(std::string_view text) {
  SourceLayout layout;
  layout.pieces.push_back(SourcePiece{});
  std::vector<int> open{0};
  std::vector<int> nextBreaks{0};  // per piece: breaks before its next own line
  auto addOwnLine = [&](std::string_view line) {
    const int piece = open.back();
    SourcePiece& p = layout.pieces[piece];
    layout.lines.push_back({piece, static_cast<int>(p.lineStartBreaks.size())});
    p.lineStartBreaks.push_back(nextBreaks[piece]);
    nextBreaks[piece] += CountCarriageReturns(line) + 2;
  };
  std::size_t pos = 0;
  for (;;) {
    std::size_t end = text.find("\r\n", pos);
    std::string_view line = text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
    if (end != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.starts_with(kIncludeBeginMarker)) {
      SourcePiece piece;
      piece.file = MarkerFile(line, kIncludeBeginMarker);
      for (const SourcePiece& p : layout.pieces)
        if (EqualNoCase(p.file, piece.file)) ++piece.occurrence;
      layout.pieces.push_back(std::move(piece));
      nextBreaks.push_back(0);
      open.push_back(static_cast<int>(layout.pieces.size()) - 1);
      layout.lines.push_back({-1, 0});
    } else if (line.starts_with(kIncludeEndMarker) && open.size() > 1) {
      open.pop_back();
      layout.lines.push_back({-1, 0});
    } else {
      addOwnLine(line);
    }
    if (end == std::string_view::npos) break;
    pos = end + 2;
  }
  return layout;
}

int SourceLineOfFileLine(const SourceLayout& layout, const std::string& rootFile,
                         const std::string& file, int breakCount, int occurrence) {
  int piece = -1;
  if (EqualNoCase(file, rootFile)) {
    piece = 0;
  } else {
    for (std::size_t i = 1; i < layout.pieces.size(); ++i) {
      if (!EqualNoCase(layout.pieces[i].file, file)) continue;
      if (piece < 0) piece = static_cast<int>(i);
      if (layout.pieces[i].occurrence == occurrence) {
        piece = static_cast<int>(i);
        break;
      }
    }
  }
  if (piece < 0 || layout.pieces[piece].lineStartBreaks.empty()) return -1;
  const std::vector<int>& starts = layout.pieces[piece].lineStartBreaks;
  auto after = std::upper_bound(starts.begin(), starts.end(), std::max(breakCount, 0));
  const int own = static_cast<int>(after - starts.begin()) - 1;
  for (std::size_t i = 0; i < layout.lines.size(); ++i)
    if (layout.lines[i].piece == piece && layout.lines[i].ownLine == own) return static_cast<int>(i);
  return -1;
}

SplitSource SplitScriptSource(std::string_view text, FileAccess* writeTo) {
  SplitSource split;
  split.report = SplitIncludes(text, split.rootText, writeTo);
  return split;
}

PreprocessedSource::PreprocessedSource(const ScriptSourceOrigin& origin, std::string_view text,
                                       FileAccess& files, asIScriptEngine* engine,
                                       TextOutputStream& messages) {
  OverlayFiles overlay(files);
  SplitSource split = SplitScriptSource(text, &overlay);
  PreprocessorSetup setup;
  setup.files = &overlay;
  setup.extraIncludeFolders = origin.extraIncludeFolders;
  setup.rootFile = origin.scriptPath;
  BufferOutputStream out;
  errors_ = PreprocessScriptFile(origin.rootName, split.rootText, engine, origin.baseFolder, out,
                                 messages, &map_, setup);
  output_ = out.Take();
  if (!map_.empty()) rootFile_ = map_.front().file;
  layout_ = ParseSourceLayout(text);
  int breaks = 0;
  rowStartBreaks_.push_back(0);
  for (char c : output_) {
    if (c == '\r' || c == '\n') ++breaks;
    if (c == '\n') rowStartBreaks_.push_back(breaks);
  }
}

PreprocessedSource PreprocessedSource::Plain(std::string_view text) {
  PreprocessedSource plain;
  plain.plain_ = true;
  plain.output_ = std::string(text);
  plain.layout_ = ParseSourceLayout(text);
  return plain;
}

int PreprocessedSource::SourceLineOfRow(int row) const {
  if (plain_) return row >= 1 && row <= static_cast<int>(layout_.lines.size()) ? row - 1 : -1;
  if (row < 1 || row > static_cast<int>(rowStartBreaks_.size()) || map_.empty()) return -1;
  const int combined = rowStartBreaks_[row - 1];
  int found = -1;
  for (std::size_t i = 0; i < map_.size(); ++i)
    if (map_[i].firstLine <= combined) found = static_cast<int>(i);
  if (found < 0) return -1;
  // Which block of its file the stretch lies in: follow the entries as includes open and close.
  std::vector<std::pair<std::string, int>> stack;
  std::vector<std::pair<std::string, int>> seen;  // file, blocks entered
  for (int i = 0; i <= found; ++i) {
    const std::string& f = map_[i].file;
    if (!stack.empty() && stack.back().first == f) continue;
    if (stack.size() >= 2 && stack[stack.size() - 2].first == f) {
      stack.pop_back();
      continue;
    }
    int occurrence = 0;
    auto it = std::find_if(seen.begin(), seen.end(), [&](const auto& s) { return s.first == f; });
    if (it == seen.end()) {
      seen.emplace_back(f, 1);
    } else {
      occurrence = it->second++;
    }
    stack.emplace_back(f, occurrence);
  }
  const LineMapEntry& entry = map_[found];
  return SourceLineOfFileLine(layout_, rootFile_, entry.file, combined - entry.offset,
                              stack.empty() ? 0 : stack.back().second);
}

int PreprocessedSource::SourceLineOfMessage(const std::string& file, int line) const {
  if (plain_) return line >= 0 && line < static_cast<int>(layout_.lines.size()) ? line : -1;
  return SourceLineOfFileLine(layout_, rootFile_, file, line);
}

bool OverlayFiles::CanRead(const std::string& path) {
  const std::string key = MemoryFileAccess::Key(path);
  for (const auto& [p, bytes] : written_)
    if (p == key) return true;
  return base_.CanRead(path);
}

FileAccess::ReadResult OverlayFiles::Read(const std::string& path, std::string& bytes,
                                          std::size_t maxBytes) {
  const std::string key = MemoryFileAccess::Key(path);
  for (const auto& [p, held] : written_) {
    if (p != key) continue;
    if (held.size() > maxBytes) {
      bytes.clear();
      return ReadResult::TooLarge;
    }
    bytes = held;
    return ReadResult::Ok;
  }
  return base_.Read(path, bytes, maxBytes);
}

bool OverlayFiles::Write(const std::string& path, std::string_view bytes) {
  const std::string key = MemoryFileAccess::Key(path);
  for (auto& [p, held] : written_) {
    if (p == key) {
      held = std::string(bytes);
      return true;
    }
  }
  written_.emplace_back(key, std::string(bytes));
  return true;
}
