#include "ui/script_editor/script_source.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/base/memory_file_access.h"

namespace {

const std::string kBase = "C:\\Dev";
const std::string kLib = kBase + "\\lib.oxs";
const std::string kCc = kBase + "\\cc.oxc";
const std::string kScript = kBase + "\\Script_1.oxs";

std::string Begin(const std::string& path) { return "\r\n#including_file: \"" + path + "\"\r\n"; }
std::string End(const std::string& path) { return "\r\n#end_include: \"" + path + "\"\r"; }

ScriptSourceOrigin Origin() { return {"Mod", kBase, {}, ""}; }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  for (;;) {
    std::size_t end = text.find("\r\n", pos);
    std::string line = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    if (end != std::string::npos && !line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    if (end == std::string::npos) return lines;
    pos = end + 2;
  }
}

TEST(ComposeScriptSource, EachFileShowsItsOwnTextBetweenMarkers) {
  MemoryFileAccess files;
  files.Put(kLib, "B\n#include \"inner.oxs\"\n");  // line feeds only, as a file may have
  files.Put(kBase + "\\inner.oxs", "I");
  const std::string root = "A\r\n#include \"lib.oxs\"\r\nC";
  EXPECT_EQ(ComposeScriptSource(Origin(), root, files),
            "A\r\n#include \"lib.oxs\"" + Begin(kLib) + "B\r\n#include \"inner.oxs\"" +
                Begin(kBase + "\\inner.oxs") + "I" + End(kBase + "\\inner.oxs") + "\r\n" +
                End(kLib) + "\r\nC");
}

TEST(ComposeScriptSource, Cases) {
  struct Case {
    const char* name;
    std::string root;
    std::string composed;
  } cases[] = {
      {"a missing file gets the loader's marker pair", "#include \"none.oxs\"\r\nX",
       "#include \"none.oxs\"\r\n#including_file: \"Error: file not found\"\r\n#end_include: "
       "\"Error: file not found\"\r\r\nX"},
      {"blocks of an earlier run are dropped", "A\r\n#include \"lib.oxs\"" + Begin(kLib) + "old" + End(kLib) + "\r\nC",
       "A\r\n#include \"lib.oxs\"" + Begin(kLib) + "L" + End(kLib) + "\r\nC"},
      {"an include in a block comment is not expanded", "/*\r\n#include \"lib.oxs\"\r\n*/", "/*\r\n#include \"lib.oxs\"\r\n*/"},
      {"directive words ignore case, blanks may lead", "  #Include \"lib.oxs\"", "  #Include \"lib.oxs\"" + Begin(kLib) + "L" + End(kLib)},
      {"trailing zero bytes go, lone line feeds become lines", std::string("a\nb\0\0", 5), "a\r\nb"},
      {"the root including itself adds nothing", "#include \"Mod\"", "#include \"Mod\""},
      {"a carriage return at the very end stays", "a\r\nb\r", "a\r\nb\r"},
  };
  MemoryFileAccess files;
  files.Put(kLib, "L");
  for (const Case& c : cases) EXPECT_EQ(ComposeScriptSource(Origin(), c.root, files), c.composed) << c.name;
}

TEST(ComposeScriptSource, AFileThatIncludesItselfStopsAtOneLevel) {
  MemoryFileAccess files;
  files.Put(kLib, "#include \"lib.oxs\"");
  const std::string composed = ComposeScriptSource(Origin(), "#include \"lib.oxs\"", files);
  EXPECT_EQ(composed, "#include \"lib.oxs\"" + Begin(kLib) + "#include \"lib.oxs\"" + Begin(kLib) +
                          "#include \"lib.oxs\"" + End(kLib) + End(kLib));
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(ComposeScriptSource, AFileThatIncludesItselfByAnotherNameStopsAtOneLevelToo) {
  // Each name read from inside it would give the next a longer one: "/lib.oxs", "//lib.oxs"...
  MemoryFileAccess files;
  files.Put(kLib, "#include \"/lib.oxs\"\r\n#include \"/lib.oxs\"");
  const std::string composed = ComposeScriptSource(Origin(), "#include \"lib.oxs\"", files);
  EXPECT_EQ(Count(composed, std::string(kIncludeBeginMarker)), 3u) << composed;
}

TEST(ComposeScriptSource, TheRootsFileIncludedAgainByItsPathIsNotShownOrBuiltTwice) {
  MemoryFileAccess files;
  const std::string root = "int g;\r\n#include \"lib.oxs\"\r\n";
  files.Put(kScript, root);
  files.Put(kLib, "int l;\n#include \"SCRIPT_1.OXS\"\n");  // names compare as the platform's do
  ScriptSourceOrigin origin = Origin();
  origin.scriptPath = kScript;
  const std::string text = ComposeScriptSource(origin, root, files);
  EXPECT_EQ(Count(text, "int g;"), 1u) << text;
  EXPECT_EQ(Count(text, std::string(kIncludeBeginMarker)), 1u) << text;
  EXPECT_EQ(SplitScriptSource(text, nullptr).rootText, root);

  BufferOutputStream messages;
  const PreprocessedSource built(origin, text, files, nullptr, messages);
  EXPECT_EQ(Count(built.Output(), "int g;"), 1u) << built.Output();
  EXPECT_EQ(Count(built.Output(), "int l;"), 1u) << built.Output();
  EXPECT_NE(messages.Text().find("Warning"), std::string::npos) << "the cycle is told, as in a device build";
}

TEST(SplitScriptSource, WritesOnlyWhatTheUserChangedAndNeverTheMissingMarker) {
  MemoryFileAccess files;
  files.Put(kLib, "B\nB2\n");  // line feeds: an untouched block must leave them as they are
  files.Put(kCc, "C\r\n");
  const std::string root = "A\r\n#include \"lib.oxs\"\r\n#include \"cc.oxc\"\r\n#include \"gone.oxs\"\r\nZ";
  std::string text = ComposeScriptSource(Origin(), root, files);

  SplitSource unchanged = SplitScriptSource(text, &files);
  EXPECT_EQ(unchanged.rootText, root);
  EXPECT_TRUE(files.WriteLog().empty());
  EXPECT_EQ(*files.Get(kLib), "B\nB2\n");

  text.replace(text.find("C\r\n"), 3, "C changed\r\n");
  SplitSource changed = SplitScriptSource(text, &files);
  EXPECT_EQ(changed.rootText, root);
  EXPECT_EQ(files.WriteLog(), std::vector<std::string>{kCc});
  EXPECT_EQ(*files.Get(kCc), "C changed\r\n");
  EXPECT_EQ(*files.Get(kLib), "B\nB2\n");
  EXPECT_EQ(changed.rootText.find('\0'), std::string::npos);
}

TEST(ParseSourceLayout, LinesBelongToTheirFilesAndMarkersToNone) {
  MemoryFileAccess files;
  files.Put(kLib, "B\r\nB2");
  const std::string text = ComposeScriptSource(Origin(), "A\r\n#include \"lib.oxs\"\r\nC", files);
  const SourceLayout layout = ParseSourceLayout(text);
  ASSERT_EQ(Lines(text), (std::vector<std::string>{"A", "#include \"lib.oxs\"",
                                                   "#including_file: \"" + kLib + "\"", "B", "B2",
                                                   "#end_include: \"" + kLib + "\"", "C"}));
  const std::vector<std::pair<int, int>> expected = {{0, 0}, {0, 1}, {-1, 0}, {1, 0}, {1, 1}, {-1, 0}, {0, 2}};
  ASSERT_EQ(layout.lines.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(layout.lines[i].piece, expected[i].first) << i;
    if (expected[i].first >= 0) {
      EXPECT_EQ(layout.lines[i].ownLine, expected[i].second) << i;
    }
  }
  EXPECT_EQ(SourceLineOfFileLine(layout, "Mod", "Mod", 4), 6);  // "C": after two CR LF
  EXPECT_EQ(SourceLineOfFileLine(layout, "Mod", kLib, 2), 4);
  EXPECT_EQ(SourceLineOfFileLine(layout, "Mod", "C:\\other.oxs", 0), -1);
}

// A script whose lines each carry a tag in a comment: every output row that carries a tag
// must map back to a line of the text that carries the same tag, through defines, a skipped
// block, a file of line feeds, and a custom-command file included twice with #instance.
TEST(PreprocessedSource, EveryBuiltRowMapsToTheLineItCameFrom) {
  MemoryFileAccess files;
  files.Put(kLib, "int l1; // M1\nint l2; // M2\n");
  files.Put(kCc, "#instance int hits = 0\r\nvoid c() { hits++; } // C1\r\n");
  const std::string root =
      "// R0\r\n#define GREEN 1\r\nint a = GREEN; // R2\r\n#ifdef NOTDEFINED\r\nint s; // R4\r\n"
      "#endif\r\n#include \"lib.oxs\"\r\nint b = 2; // R7\r\n#define __CMD_ID__ 7\r\n"
      "#include \"cc.oxc\"\r\n#define __CMD_ID__ 8\r\n#include \"cc.oxc\"\r\nvoid f() { // R12\r\n"
      "  a = 3; // R13\r\n}\r\n";
  const std::string text = ComposeScriptSource(Origin(), root, files);
  BufferOutputStream messages;
  const PreprocessedSource built(Origin(), text, files, nullptr, messages);
  EXPECT_EQ(built.Errors(), 0) << messages.Text();
  EXPECT_NE(built.Output().find("hits_INSTVAR_7"), std::string::npos);

  const std::vector<std::string> outputRows = [&] {
    std::vector<std::string> rows;
    std::size_t pos = 0;
    for (std::size_t lf; (lf = built.Output().find('\n', pos)) != std::string::npos; pos = lf + 1)
      rows.push_back(built.Output().substr(pos, lf - pos));
    rows.push_back(built.Output().substr(pos));
    return rows;
  }();
  const std::vector<std::string> lines = Lines(text);
  std::map<std::string, std::vector<int>> linesOfTag;
  int tagged = 0;
  for (std::size_t r = 0; r < outputRows.size(); ++r) {
    const std::size_t at = outputRows[r].find("// ");
    if (at == std::string::npos || outputRows[r][0] == '#') continue;
    std::string tag = outputRows[r].substr(at + 3);
    while (!tag.empty() && (tag.back() == '\r' || tag.back() == ' ')) tag.pop_back();
    const int line = built.SourceLineOfRow(static_cast<int>(r) + 1);
    ASSERT_GE(line, 0) << "row " << r + 1 << ": " << outputRows[r];
    ASSERT_LT(line, static_cast<int>(lines.size()));
    EXPECT_NE(lines[line].find("// " + tag), std::string::npos)
        << "row " << r + 1 << " (" << tag << ") mapped to line " << line + 1 << ": " << lines[line];
    linesOfTag[tag].push_back(line);
    ++tagged;
  }
  EXPECT_EQ(tagged, 9);  // R4 is skipped
  ASSERT_EQ(linesOfTag["C1"].size(), 2u);
  EXPECT_NE(linesOfTag["C1"][0], linesOfTag["C1"][1]) << "each copy maps to its own block";
  EXPECT_EQ(built.SourceLineOfRow(0), -1);
  EXPECT_EQ(built.SourceLineOfRow(static_cast<int>(outputRows.size()) + 1), -1);
}

TEST(PreprocessedSource, BuildsFromTheTextNotFromTheFilesAndMapsItsMessages) {
  MemoryFileAccess files;
  files.Put(kLib, "int old;\r\n");
  std::string text = ComposeScriptSource(Origin(), "int a;\r\n#include \"lib.oxs\"\r\n#include \"x.oxs\"\r\n", files);
  text.replace(text.find("int old;"), 8, "#warning \"edited\"\r\nint edited;");
  BufferOutputStream messages;
  const PreprocessedSource built(Origin(), text, files, nullptr, messages);
  EXPECT_NE(built.Output().find("int edited;"), std::string::npos);
  EXPECT_EQ(*files.Get(kLib), "int old;\r\n");  // nothing written
  // "lib (0) Warning" and "Mod (4) Error : Could not open file x.oxs".
  const std::vector<std::string> lines = Lines(text);
  const int warning = built.SourceLineOfMessage(kLib, 0);
  ASSERT_GE(warning, 0);
  EXPECT_EQ(lines[warning], "#warning \"edited\"");
  const int missing = built.SourceLineOfMessage("Mod", 4);
  ASSERT_GE(missing, 0);
  EXPECT_EQ(lines[missing], "#include \"x.oxs\"");
  EXPECT_NE(messages.Text().find("Mod (4) Error : Could not open file x.oxs"), std::string::npos)
      << messages.Text();
}

TEST(PreprocessedSource, APlainTextMapsRowsToLines) {
  const PreprocessedSource plain = PreprocessedSource::Plain("a\r\nb\r\nc");
  EXPECT_EQ(plain.Output(), "a\r\nb\r\nc");
  EXPECT_EQ(plain.SourceLineOfRow(3), 2);
  EXPECT_EQ(plain.SourceLineOfRow(4), -1);
}

}  // namespace
