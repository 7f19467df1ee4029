// Replacing a whole file: every byte as given, the old file whole on every failure and no
// temporary file left, with either naming of the temporary file; then what each naming means.
#include "platform/base/file_replace.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "tests/support/held_open.h"
#include "tests/support/scratch_dir.h"

using namespace testsupport;

namespace {

class BothNamings : public ::testing::TestWithParam<TemporaryName> {
 protected:
  bool Replace(const std::string& target, std::string_view bytes) {
    return ReplaceFileWith(target, bytes, GetParam());
  }
  bool Copy(const std::string& from, const std::string& to) { return CopyFileOver(from, to, GetParam()); }

  ScratchDir dir_{"replace"};
};

INSTANTIATE_TEST_SUITE_P(Temporary, BothNamings,
                         ::testing::Values(TemporaryName::kAfterTarget, TemporaryName::kUnique),
                         [](const auto& info) {
                           return info.param == TemporaryName::kAfterTarget ? "AfterTarget" : "Unique";
                         });

TEST_P(BothNamings, EveryByteAsGivenAndNothingBeside) {
  const std::string folder = dir_ / "dest";
  ASSERT_TRUE(MakeDirs(folder));
  const std::string target = folder + "\\Script_3.oxs";
  const std::vector<std::string> onlyTarget = {"Script_3.oxs"};

  const std::string bytes("a\r\nb\nc\r\0\x1b\xff end", 15);
  ASSERT_TRUE(Replace(target, bytes));  // made when missing
  EXPECT_EQ(ReadFileOr(target), bytes);
  EXPECT_EQ(FolderNames(folder), onlyTarget);

  // More than one piece of the writes, and an empty file in place of a full one.
  std::string large(3 * (1 << 20) + 17, '\0');
  for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 7 + i / 4096);
  ASSERT_TRUE(Replace(target, large));
  EXPECT_EQ(ReadFileOr(target), large);
  ASSERT_TRUE(Replace(target, ""));
  EXPECT_EQ(ReadFileOr(target), "");
  EXPECT_EQ(FolderNames(folder), onlyTarget);
}

TEST_P(BothNamings, AFileThatCannotBeReplacedStaysWholeAndNoTemporaryIsLeft) {
  const std::string folder = dir_ / "dest";
  const std::string target = folder + "\\ModernCalibration.lcm";
  const std::string source = dir_ / "ModernController.lcm";
  ASSERT_TRUE(WriteTextFile(target, "old\n"));
  ASSERT_TRUE(WriteTextFile(source, "copied\n"));
  const std::vector<std::string> onlyTarget = {"ModernCalibration.lcm"};

  HeldOpen reader(target);
  ASSERT_TRUE(reader.ok());
  EXPECT_FALSE(Replace(target, "new\n"));
  EXPECT_FALSE(Copy(source, target));
  reader.Release();
  EXPECT_EQ(ReadFileOr(target), "old\n");
  EXPECT_EQ(FolderNames(folder), onlyTarget);

  // A folder where the file should be, a folder that is not there, a source that is not there.
  ASSERT_TRUE(MakeDirs(folder + "\\modern.lcm"));
  EXPECT_FALSE(Replace(folder + "\\modern.lcm", "new\n"));
  EXPECT_FALSE(Copy(source, folder + "\\modern.lcm"));
  EXPECT_FALSE(Replace(dir_ / "missing\\x.lcm", "x"));
  EXPECT_FALSE(Copy(source, dir_ / "missing\\x.lcm"));
  EXPECT_FALSE(Copy(dir_ / "none.lcm", target));
  EXPECT_EQ(ReadFileOr(target), "old\n");
  EXPECT_EQ(FolderNames(folder), (std::vector<std::string>{"ModernCalibration.lcm", "modern.lcm"}));
  EXPECT_EQ(FolderNames(dir_.path()), (std::vector<std::string>{"ModernController.lcm", "dest"}));

  // Free again: replaced byte for byte, the line feeds as they are.
  ASSERT_TRUE(RemoveDirectoryA((folder + "\\modern.lcm").c_str()));
  EXPECT_TRUE(Replace(target, "new\nlines\n"));
  EXPECT_EQ(ReadFileOr(target), "new\nlines\n");
  EXPECT_TRUE(Copy(source, target));
  EXPECT_EQ(ReadFileOr(target), "copied\n");
  EXPECT_EQ(FolderNames(folder), onlyTarget);

  // A read-only source (installed from read-only media): its copy is not read-only, so a copy
  // that cannot be put in place is still taken away and the next one replaces it.
  ASSERT_TRUE(SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_READONLY));
  HeldOpen again(target);
  ASSERT_TRUE(again.ok());
  EXPECT_FALSE(Copy(source, target));
  again.Release();
  EXPECT_EQ(FolderNames(folder), onlyTarget);
  EXPECT_TRUE(Copy(source, target));
  EXPECT_EQ(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_TRUE(Copy(source, target));  // the copy in place is replaced again
  SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_P(BothNamings, AFileHeldOpenOnlyForAMomentIsReplacedOnceFree) {
  const std::string target = dir_ / "Script_5.oxs";
  const std::string source = dir_ / "source.oxs";
  ASSERT_TRUE(WriteTextFile(target, "old script"));
  ASSERT_TRUE(WriteTextFile(source, "copied"));
  for (bool copy : {false, true}) {
    SCOPED_TRACE(copy ? "copy" : "bytes");
    // A reader, a virus scanner: the write waits for it.
    HeldOpen held(target);
    ASSERT_TRUE(held.ok());
    std::thread reader([&held] {
      Sleep(100);
      held.Release();
    });
    EXPECT_TRUE(copy ? Copy(source, target) : Replace(target, "newer"));
    reader.join();
    EXPECT_EQ(ReadFileOr(target), copy ? "copied" : "newer");
  }
  EXPECT_EQ(FolderNames(dir_.path()), (std::vector<std::string>{"Script_5.oxs", "source.oxs"}));
}

TEST_P(BothNamings, ANameWithAZeroByteOrNoNameIsRefused) {
  const std::string target = dir_ / "a.txt";
  ASSERT_TRUE(WriteTextFile(target, "old"));
  const std::string cut = target + std::string("\0.bak", 5);  // would write a.txt
  EXPECT_FALSE(Replace(cut, "new"));
  EXPECT_FALSE(Copy(target, cut));
  EXPECT_FALSE(Copy(cut, dir_ / "b.txt"));
  EXPECT_FALSE(Replace("", "new"));
  EXPECT_EQ(ReadFileOr(target), "old");
  EXPECT_EQ(FolderNames(dir_.path()), std::vector<std::string>{"a.txt"});
}

// The temporary file named after the target: beside it, with "_temp" before the extension of
// the file's own name. A folder of that name keeps the replace from being made.
TEST(TemporaryNamedAfterTheTarget, StandsBesideItWithTempBeforeTheExtension) {
  const struct {
    const char* target;
    const char* temporary;
  } cases[] = {
      {"Script_5.oxs", "Script_5_temp.oxs"},
      {"layout.tar.kll", "layout.tar_temp.kll"},
      {"README", "README_temp"},
      {"dot.folder\\captions", "dot.folder\\captions_temp"},
      {".hidden", "_temp.hidden"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target);
    ScratchDir dir("named");
    const std::string target = dir / c.target;
    ASSERT_TRUE(WriteTextFile(target, "old"));
    ASSERT_TRUE(MakeDirs(dir / c.temporary));
    EXPECT_FALSE(ReplaceFileWith(target, "new"));
    EXPECT_FALSE(CopyFileOver(target, target));
    EXPECT_EQ(ReadFileOr(target), "old");
    EXPECT_TRUE(DirExists(dir / c.temporary));

    ASSERT_TRUE(RemoveDirectoryA((dir / c.temporary).c_str()));
    EXPECT_TRUE(ReplaceFileWith(target, "new"));
    EXPECT_EQ(ReadFileOr(target), "new");
    EXPECT_FALSE(FileExists(dir / c.temporary));
  }
}

TEST(TemporaryNamedAfterTheTarget, ANameTooLongForThePlatformIsNotWritten) {
  ScratchDir dir("named");
  // The target fits the platform's 259 characters, its temporary file's name does not.
  const std::string target = dir / (std::string(259 - dir.path().size() - 1 - 4, 'n') + ".oxs");
  ASSERT_EQ(target.size(), 259u);
  ASSERT_TRUE(WriteTextFile(target, "old"));
  EXPECT_FALSE(ReplaceFileWith(target, "new"));
  EXPECT_EQ(ReadFileOr(target), "old");
  EXPECT_TRUE(ReplaceFileWith(target, "new", TemporaryName::kUnique));
  EXPECT_EQ(ReadFileOr(target), "new");
}

// A unique temporary file: never a name the folder's readers look for, never one that is there.
TEST(UniqueTemporary, TakesANameNoFileHasAndNeverTheTargetsPattern) {
  ScratchDir dir("unique");
  const std::string target = dir / "modern.lcm";
  ASSERT_TRUE(WriteTextFile(target, "old"));
  ASSERT_TRUE(WriteTextFile(dir / "modern_temp.lcm", "someone else's"));
  HeldOpen held(target);
  ASSERT_TRUE(held.ok());
  // While the write waits, its temporary file is there: not a *.lcm one.
  std::vector<std::string> whileWaiting, lcmWhileWaiting;
  std::thread reader([&] {
    Sleep(100);
    whileWaiting = FolderNames(dir.path());
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((dir / "*.lcm").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
      do lcmWhileWaiting.push_back(found.cFileName);
      while (FindNextFileA(h, &found));
      FindClose(h);
    }
    held.Release();
  });
  EXPECT_TRUE(ReplaceFileWith(target, "new", TemporaryName::kUnique));
  reader.join();
  ASSERT_EQ(whileWaiting.size(), 3u);
  EXPECT_EQ(whileWaiting[2].substr(whileWaiting[2].size() - 4), ".tmp");
  EXPECT_EQ(lcmWhileWaiting.size(), 2u);
  EXPECT_EQ(ReadFileOr(target), "new");
  EXPECT_EQ(ReadFileOr(dir / "modern_temp.lcm"), "someone else's");
  EXPECT_EQ(FolderNames(dir.path()), (std::vector<std::string>{"modern.lcm", "modern_temp.lcm"}));
}

TEST(UniqueTemporary, AFolderTooLongForANewNameIsNotWritten) {
  ScratchDir dir("unique");
  // The system makes unique names only in a folder of fewer than 246 characters.
  const std::string folder = dir / std::string(246 - dir.path().size() - 1, 'f');
  ASSERT_EQ(folder.size(), 246u);
  ASSERT_TRUE(MakeDirs(folder));
  const std::string target = folder + "\\a.lcm";
  ASSERT_TRUE(WriteTextFile(target, "old"));
  EXPECT_FALSE(ReplaceFileWith(target, "new", TemporaryName::kUnique));
  EXPECT_EQ(ReadFileOr(target), "old");
  EXPECT_EQ(FolderNames(folder), std::vector<std::string>{"a.lcm"});
  EXPECT_TRUE(ReplaceFileWith(target, "new"));  // its own name still fits
  EXPECT_EQ(ReadFileOr(target), "new");
}

TEST(AtomicFileAccess, WritesThroughTheReplaceAndReadsAsTheRealFiles) {
  ScratchDir dir("access");
  const std::string target = dir / "Macros.txt";
  ASSERT_TRUE(WriteTextFile(target, "old"));
  ASSERT_TRUE(MakeDirs(dir / "Macros_temp.txt"));
  AtomicFileAccess files;
  EXPECT_FALSE(files.Write(target, "new"));  // its temporary file cannot be made
  ASSERT_TRUE(RemoveDirectoryA((dir / "Macros_temp.txt").c_str()));
  EXPECT_TRUE(files.Write(target, std::string("n\0w\r\n", 5)));
  std::string bytes;
  EXPECT_EQ(files.Read(target, bytes, 100), FileAccess::ReadResult::Ok);
  EXPECT_EQ(bytes, std::string("n\0w\r\n", 5));
  EXPECT_EQ(FolderNames(dir.path()), std::vector<std::string>{"Macros.txt"});
}

}  // namespace
