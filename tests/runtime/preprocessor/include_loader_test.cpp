#include "runtime/preprocessor/include_loader.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/base/memory_file_access.h"
#include "tests/fuzz/preprocessor_fuzz.h"
#include "tests/support/random_text.h"
#include "tests/support/scratch_dir.h"

namespace {

const std::string kBase = "C:\\Orvane\\QpadDevices\\Vid0A7CPid0019";

// const: keeps "text" + Begin(...) off a GCC 12 -Wrestrict false alarm.
const std::string Begin(const std::string& path, char open = '"', char close = '"') {
  return "\r\n#including_file: " + std::string(1, open) + path + std::string(1, close) + "\r\n";
}
const std::string End(const std::string& path, char open = '"', char close = '"') {
  return "\r\n#end_include: " + std::string(1, open) + path + std::string(1, close) + "\r";
}

TEST(NormalizePath, Cases) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"C:\\dir\\\\sub\\..\\x.oxs", "C:\\dir\\x.oxs"},
      {"C:\\a\\b\\..\\c", "C:\\a\\c"},
      {"C:\\a\\b\\..\\..\\c", "C:\\c"},
      {"C:\\a\\..\\..\\c", "C:\\..\\c"},          // nothing above the drive to remove
      {"C:\\\\\\\\a\\\\\\b", "C:\\a\\b"},          // doubled backslashes, repeatedly
      {"\\\\server\\share\\x", "\\\\server\\share\\x"},  // network paths keep theirs
      {"a\\..\\b", "a\\..\\b"},                     // no backslash at a position >= 1 before
      {"x\\a\\..\\b", "x\\b"},
      {"C:\\", "C:\\"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(NormalizePath(c.in), c.out) << c.in;
}

TEST(SameFileKey, NamesOfOneFileGiveOneKey) {
  for (const char* name : {"C:\\S\\A.oxs", "C:/s/a.oxs", "C:\\s\\\\//a.oxs", "C:\\s\\.\\a.oxs",
                           "C:\\s\\x\\..\\a.oxs", "c:\\s/./x/../a.OXS"})
    EXPECT_EQ(SameFileKey(name), "c:\\s\\a.oxs") << name;
  EXPECT_EQ(SameFileKey("\\\\server\\share\\x"), "\\\\server\\share\\x");  // a network path keeps its two
  EXPECT_EQ(SameFileKey("./a.oxs"), SameFileKey("a.oxs"));
  EXPECT_NE(SameFileKey("C:\\s\\a.oxs"), SameFileKey("C:\\s\\b\\a.oxs"));
  EXPECT_EQ(SameFileKey(""), "");
}

TEST(FindIncludeFile, TriesTheNameThenEachSearchEntry) {
  MemoryFileAccess files;
  files.Put("C:\\Orvane\\Custom Commands\\lib.oxc", "cc");
  files.Put("C:\\Orvane\\DLLs\\x.dll", "dll");
  files.Put(kBase + "\\local.oxs", "l");
  files.Put("C:\\Orvane\\QpadDevices\\up.oxs", "u");
  files.Put("C:\\abs\\a.oxs", "a");
  EXPECT_EQ(FindIncludeFile(files, "lib.oxc", kBase), "C:\\Orvane\\Custom Commands\\lib.oxc");
  EXPECT_EQ(FindIncludeFile(files, "x.dll", kBase), "C:\\Orvane\\DLLs\\x.dll");
  EXPECT_EQ(FindIncludeFile(files, "local.oxs", kBase), kBase + "\\local.oxs");
  EXPECT_EQ(FindIncludeFile(files, "up.oxs", kBase), "C:\\Orvane\\QpadDevices\\up.oxs");
  EXPECT_EQ(FindIncludeFile(files, "C:\\abs\\x\\..\\a.oxs", kBase), "C:\\abs\\a.oxs");
  EXPECT_EQ(FindIncludeFile(files, "C:\\x\\..\\none.oxs", kBase), "C:\\none.oxs");
  // An empty prefix tries only the name: no probing of the drive's root.
  files.Put("\\root.oxs", "r");
  EXPECT_EQ(FindIncludeFile(files, "root.oxs", ""), "root.oxs");
  EXPECT_EQ(FindIncludeFileInEither(files, "lib.oxc", "C:\\elsewhere", kBase),
            "C:\\Orvane\\Custom Commands\\lib.oxc");
}

class LoaderTest : public ::testing::Test {
 protected:
  MemoryFileAccess files;
  IncludeLoader loader{files, kBase, "Vid0a7cPid0019v0001Uid0001", "root\r\n"};
};

TEST_F(LoaderTest, IncludedFileGoesBetweenMarkersWithCrLfLineEnds) {
  files.Put(kBase + "\\a.oxs", "one\ntwo\r\nthree\rfour\n");
  std::string out = "x";
  EXPECT_EQ(loader.Load("a.oxs", out), IncludeStatus::Loaded);
  std::string path = kBase + "\\a.oxs";
  EXPECT_EQ(out, "x" + Begin(path) + "one\r\ntwo\r\nthree\rfour\r\n" + End(path));

  files.Put(kBase + "\\sys.oxs", "s");
  out.clear();
  EXPECT_TRUE(loader.LoadWithIncludes("<sys.oxs>", out));
  path = kBase + "\\sys.oxs";
  EXPECT_EQ(out, Begin(path, '<', '>') + "s" + End(path, '<', '>'));
}

TEST_F(LoaderTest, MissingFileAppendsTheErrorMarkers) {
  std::string out;
  EXPECT_FALSE(loader.LoadWithIncludes("nothere.oxs", out));
  EXPECT_EQ(out,
            "\r\n#including_file: \"Error: file not found\""
            "\r\n#end_include: \"Error: file not found\"\r");
  // Names no file can have are missing too (and cannot break the marker lines).
  for (const char* bad : {"a\r\nb.oxs", "a\"b.oxs", "a?.oxs", "x.oxs:stream", "a\x01.oxs"}) {
    out.clear();
    files.Put(kBase + "\\" + bad, "bad");
    EXPECT_EQ(loader.Load(bad, out), IncludeStatus::NotFound) << bad;
  }
}

TEST_F(LoaderTest, RootComesFromMemoryWithoutItsOldBlocks) {
  IncludeLoader withBlocks(files, kBase, "Root",
                           "A\r\n#include \"x\"" + Begin("C:\\x") + "old" + End("C:\\x") + "\r\nC");
  std::string out;
  EXPECT_TRUE(withBlocks.LoadWithIncludes("Root", out));
  EXPECT_EQ(out, "A\r\n#include \"x\"\r\nC");
  EXPECT_TRUE(withBlocks.IncludedFiles().Contains("Root"));
}

TEST_F(LoaderTest, AFileInTheSetIsNotReadAgain) {
  files.Put(kBase + "\\once.oxs", "body");
  loader.IncludedFiles().OnPragmaOnce(kBase + "\\once.oxs");
  std::string out;
  EXPECT_EQ(loader.Load("once.oxs", out), IncludeStatus::AlreadyIncluded);
  EXPECT_EQ(out, "");
  // Without "once" a file may be included again.
  files.Put(kBase + "\\twice.oxs", "t");
  EXPECT_EQ(loader.Load("twice.oxs", out), IncludeStatus::Loaded);
  EXPECT_EQ(loader.Load("twice.oxs", out), IncludeStatus::Loaded);
}

TEST_F(LoaderTest, IncludingFilesFolderAndExtraFoldersAreSearched) {
  files.Put("D:\\libs\\sub\\inner.oxs", "inner");
  loader.SetCurrentFile("D:\\libs\\sub\\outer.oxs");
  EXPECT_EQ(loader.ResolveIncludePath("inner.oxs"), "D:\\libs\\sub\\inner.oxs");
  std::string out;
  EXPECT_TRUE(loader.LoadWithIncludes("inner.oxs", out));

  files.Put("E:\\Data\\Custom Commands\\cc.oxc", "cc");
  IncludeLoader other(files, "E:\\Data\\Vid1Pid2", "Root", "", {"E:\\Data\\Custom Commands"});
  EXPECT_EQ(other.ResolveIncludePath("cc.oxc"), "E:\\Data\\Custom Commands\\cc.oxc");
  EXPECT_EQ(loader.ResolveIncludePath("cc.oxc"), "cc.oxc");  // not without the extra folder
}

TEST_F(LoaderTest, SelfIncludeAndOversizedFilesEnd) {
  files.Put(kBase + "\\self.oxs", "#include \"self.oxs\"\r\n");
  std::string out;
  int loads = 0;
  while (loader.Load("self.oxs", out) == IncludeStatus::Loaded) ++loads;
  EXPECT_EQ(loads, kMaxIncludeLoads);
  EXPECT_EQ(loader.Load("self.oxs", out), IncludeStatus::TooManyIncludes);

  IncludeLoader fresh(files, kBase, "Root", "");
  files.Put(kBase + "\\big.oxs", std::string(kMaxIncludeFileBytes + 1, 'x'));
  std::string big;
  EXPECT_EQ(fresh.Load("big.oxs", big), IncludeStatus::TooLarge);
  EXPECT_EQ(big, "");
  files.Put(kBase + "\\half.oxs", std::string(kMaxIncludeFileBytes, 'x'));
  int loaded = 0;
  while (fresh.Load("half.oxs", big) == IncludeStatus::Loaded) ++loaded;
  EXPECT_EQ(loaded, int(kMaxIncludeRunBytes / kMaxIncludeFileBytes));
}

TEST(SplitIncludes, BlockIsWrittenBackAndRemovedFromTheMainText) {
  MemoryFileAccess files;
  files.Put("x.oxs", "old");
  std::string text = "A" + Begin("x.oxs") + "B" + End("x.oxs") + "C";
  std::string main;
  SplitReport report = SplitIncludes(text, main, &files);
  EXPECT_TRUE(report.wellFormed);
  EXPECT_EQ(main, "A\r\nC");
  EXPECT_EQ(*files.Get("x.oxs"), "B");
  EXPECT_EQ(report.written, std::vector<std::string>{"x.oxs"});

  // Without writing, the text comes out the same and no file is touched.
  main.clear();
  SplitIncludes(text, main, nullptr);
  EXPECT_EQ(main, "A\r\nC");
}

TEST(SplitIncludes, WhatIsNotWritten) {
  MemoryFileAccess files;
  files.Put("same.oxs", "S\r\n");
  files.Put("ro.oxs", "R");
  files.MakeReadOnly("ro.oxs");
  std::string text = "m" + Begin("sys.oxs", '<', '>') + "changed" + End("sys.oxs", '<', '>') +
                     "\r\n#including_file: \"Error: file not found\"" +
                     "\r\n#end_include: \"Error: file not found\"\r" + Begin("same.oxs") +
                     "S\r\n" + End("same.oxs") + Begin("ro.oxs") + "new" + End("ro.oxs") + "\r\n";
  std::string main;
  SplitReport report = SplitIncludes(text, main, &files);
  EXPECT_EQ(main, "m\r\n");
  EXPECT_TRUE(report.written.empty());
  EXPECT_EQ(report.failed, std::vector<std::string>{"ro.oxs"});
  EXPECT_EQ(files.WriteLog(), std::vector<std::string>{"ro.oxs"});
  EXPECT_EQ(files.Get("sys.oxs"), nullptr);
}

TEST(SplitIncludes, NestedAndRepeatedBlocks) {
  MemoryFileAccess files;
  files.Put("cc.oxc", "orig\r\n");
  // outer holds an include of inner; cc.oxc appears twice, edited only in its second copy.
  std::string text = "#include \"o\"" + Begin("outer.oxs") + "o1\r\n#include \"i\"" +
                     Begin("inner.oxs") + "i1" + End("inner.oxs") + "\r\no2" + End("outer.oxs") +
                     "\r\n#include \"cc\"" + Begin("cc.oxc") + "orig\r\n" + End("cc.oxc") +
                     "\r\n#include \"cc\"" + Begin("cc.oxc") + "edited\r\n" + End("cc.oxc") +
                     "\r\nend";
  std::string main;
  SplitReport report = SplitIncludes(text, main, &files);
  EXPECT_TRUE(report.wellFormed);
  EXPECT_EQ(main, "#include \"o\"\r\n#include \"cc\"\r\n#include \"cc\"\r\nend");
  EXPECT_EQ(*files.Get("outer.oxs"), "o1\r\n#include \"i\"\r\no2");
  EXPECT_EQ(*files.Get("inner.oxs"), "i1");
  EXPECT_EQ(*files.Get("cc.oxc"), "edited\r\n");
  EXPECT_EQ(files.WriteLog(), (std::vector<std::string>{"inner.oxs", "outer.oxs", "cc.oxc"}));
}

TEST(SplitIncludes, DamagedMarkersAreReportedAndWriteNothingPartial) {
  MemoryFileAccess files;
  struct Case {
    std::string text;
    std::string main;
  } cases[] = {
      {"A" + Begin("x.oxs") + "no end", "A"},
      {"A" + End("x.oxs") + "\r\nB", "A\r\nB"},
      {"A\r\n#including_file: \"x.oxs", "A"},  // marker cut short, no line end
      {"A\r\n#including_file: ", "A"},
  };
  for (const Case& c : cases) {
    std::string main;
    SplitReport report = SplitIncludes(c.text, main, &files);
    EXPECT_FALSE(report.wellFormed);
    EXPECT_EQ(main, c.main);
  }
  EXPECT_TRUE(files.WriteLog().empty());
}

// Load every file of a small tree the way the preprocessor does, then split the combined
// text: every file and the root come back byte for byte.
TEST(IncludeRoundTrip, LoadThenSplitGivesEveryFileBack) {
  MemoryFileAccess files;
  const std::string dir = "C:\\s";
  const std::string files_[][2] = {
      {"crlf.oxs", "int a;\r\n// c\r\n\r\nint b;\r\n"},
      {"cr.oxs", "mac\rlines\r\rend\r"},
      {"mixed.oxs", "a\r\nb\rc\r\r\nd"},
      {"noend.oxs", "x = 1;"},
      {"empty.oxs", ""},
      {"binary.oxs", std::string("\0\x01\xff\x1a\r\n\x7f", 7)},
  };
  std::string root = "// root\r\n";
  for (const auto& f : files_) {
    files.Put(dir + "\\" + f[0], f[1]);
    root += "#include \"" + f[0] + "\"\r\n";
  }
  root += "#include \"last.oxs\"";  // at the end, without a line end
  files.Put(dir + "\\last.oxs", "L\r\n");

  IncludeLoader loader(files, dir, "Root", root);
  std::string combined;
  ASSERT_TRUE(loader.LoadWithIncludes("Root", combined));
  // Splice each include's text in after its directive, before the line end.
  std::string withIncludes;
  std::size_t p = 0;
  for (;;) {
    std::size_t d = combined.find("#include \"", p);
    if (d == std::string::npos) break;
    std::size_t close = combined.find('"', d + 10);
    withIncludes += combined.substr(p, close + 1 - p);
    std::string name = combined.substr(d + 10, close - d - 10);
    ASSERT_TRUE(loader.LoadWithIncludes(name, withIncludes)) << name;
    p = close + 1;
  }
  withIncludes += combined.substr(p);

  for (const auto& f : files_) files.Put(dir + "\\" + f[0], "stale");
  files.Put(dir + "\\last.oxs", "stale");
  std::string main;
  SplitReport report = SplitIncludes(withIncludes, main, &files);
  EXPECT_TRUE(report.wellFormed);
  EXPECT_EQ(main, root);
  for (const auto& f : files_) EXPECT_EQ(*files.Get(dir + "\\" + f[0]), f[1]) << f[0];
  EXPECT_EQ(*files.Get(dir + "\\last.oxs"), "L\r\n");
}

TEST(IncludeRoundTrip, LfOnlyFileComesBackWithCrLfOnce) {
  MemoryFileAccess files;
  files.Put("C:\\s\\lf.oxs", "a\nb\n");
  IncludeLoader loader(files, "C:\\s", "Root", "");
  std::string combined;
  ASSERT_TRUE(loader.LoadWithIncludes("lf.oxs", combined));
  files.Put("C:\\s\\lf.oxs", "stale");
  std::string main;
  SplitIncludes(combined, main, &files);
  EXPECT_EQ(*files.Get("C:\\s\\lf.oxs"), "a\r\nb\r\n");
  // An unedited LF file is left alone.
  files.Put("C:\\s\\lf.oxs", "a\nb\n");
  main.clear();
  SplitIncludes(combined, main, &files);
  EXPECT_EQ(*files.Get("C:\\s\\lf.oxs"), "a\nb\n");
}

TEST(IncludeRoundTrip, RealFiles) {
  testsupport::ScratchDir dir("inc");
  const std::string bytes = "first\r\nsecond\rthird\r\n";
  ASSERT_TRUE(testsupport::WriteTextFile(dir / "real.oxs", bytes));
  IncludeLoader loader(RealFiles(), dir.path(), "Root", "");
  std::string combined;
  ASSERT_TRUE(loader.LoadWithIncludes("real.oxs", combined));
  EXPECT_NE(combined.find(bytes), std::string::npos);
  ASSERT_TRUE(testsupport::WriteTextFile(dir / "real.oxs", "stale"));
  std::string main;
  SplitReport report = SplitIncludes(combined, main, &RealFiles());
  EXPECT_EQ(report.written.size(), 1u);
  EXPECT_EQ(testsupport::ReadFileOr(dir / "real.oxs"), bytes);
  EXPECT_FALSE(FileExists(RealFiles(), dir / "missing.oxs"));
  EXPECT_FALSE(FileExists(RealFiles(), dir.path()));  // a folder is not a readable file
}

TEST(IncludeFuzz, RandomAndMarkerHeavyInputs) {
  std::mt19937 rng(42);
  const std::vector<std::string> pieces = {Begin("a.oxs"), End("a.oxs"), Begin("<s>", '<', '>'),
                                           "\r", "\n", "#end_include: ", "#including_file: ",
                                           "x", "\""};
  for (int i = 0; i < 3000; ++i) {
    std::string input = testsupport::RandomText(rng, pieces, 40);
    FuzzIncludeSplit(reinterpret_cast<const unsigned char*>(input.data()), input.size());
  }
}

}  // namespace
