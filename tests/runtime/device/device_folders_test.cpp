#include "runtime/device/device_folders.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <thread>
#include <vector>

#include "tests/support/scratch_dir.h"

using namespace testsupport;

namespace {

TEST(ProgramFolderFromCommandLine, TakesTheFolderOfTheFirstToken) {
  const struct {
    const char* line;
    const char* folder;
  } cases[] = {
      {"\"C:\\Program Files\\Orvane\\Orvane.exe\" \"D:\\data root\\\\\"", "C:\\Program Files\\Orvane\\"},
      {"\"C:\\Program Files\\Orvane\\Orvane.exe\"", "C:\\Program Files\\Orvane\\"},
      {"C:\\Orvane\\Orvane.exe D:\\root", "C:\\Orvane\\"},
      {"C:\\Orvane\\Orvane.exe\tD:\\root", "C:\\Orvane\\"},
      {"C:Orvane.exe", "C:"},
      {"Orvane.exe", ""},
      {"", ""},
      {"\"C:\\no close\\Orvane.exe", "C:\\no close\\"},
      {"\"\" C:\\later\\x.exe", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ProgramFolderFromCommandLine(c.line), c.folder) << c.line;
}

TEST(DeviceFolderName, UsesLowerCaseUnderTheProgramAndUpperCaseUnderTheRoot) {
  EXPECT_EQ(DeviceFolderName("C:\\Q", 0xabc, 0x1F, 0, false), "C:\\Q\\Vid0abcPid001f");
  EXPECT_EQ(DeviceFolderName("C:\\Q", 0xabc, 0x1F, 0x2b, false), "C:\\Q\\Vid0abcPid001fv002b");
  EXPECT_EQ(DeviceFolderName("D:\\R", 0xabc, 0x1F, 0x2b, true), "D:\\R\\Vid0ABCPid001Fv002B");
  EXPECT_EQ(DeviceFolderName("", 1, 2, 3, true), "");
}

TEST(JoinPath, NeverBuildsFromAnEmptyFolderOrCutsALongName) {
  EXPECT_EQ(JoinPath("", "Script.oxs"), "");
  EXPECT_EQ(JoinPath("C:\\a", "b"), "C:\\a\\b");
  const std::string longFolder = "C:\\" + std::string(251, 'x');
  EXPECT_EQ(JoinPath(longFolder, "abcd"), longFolder + "\\abcd");  // 259 characters
  EXPECT_EQ(JoinPath(longFolder, "abcde"), "");
  EXPECT_EQ(CutAtLastBackslash("C:\\a\\b.oxs"), "C:\\a");
  EXPECT_EQ(CutAfterLastBackslash("C:\\a\\b"), "C:\\a\\");
}

class Folders : public ::testing::Test {
 protected:
  void SetUp() override {
    FreeDeviceFolders();
    SetDataRootFromHost("");
    InitProgramFolders("\"" + dir_.path() + "\\Orvane.exe\" arg");
  }
  void TearDown() override { FreeDeviceFolders(); }

  std::string Qpad(const std::string& rel) const { return dir_ / ("QpadDevices\\" + rel); }
  std::string Root(const std::string& rel) const { return dir_ / ("root\\" + rel); }
  void UseRoot() {
    MakeDirs(dir_ / "root");
    SetDataRootFromHost(dir_ / "root");
  }

  ScratchDir dir_{"folders"};
};

TEST_F(Folders, ProgramFoldersComeFromTheCommandLine) {
  EXPECT_EQ(GetProgramFolder(), dir_.path() + "\\");
  EXPECT_EQ(GetQpadDevicesFolder(), dir_ / "QpadDevices");
  EXPECT_TRUE(DirExists(dir_ / "QpadDevices"));  // made when missing
  EXPECT_EQ(GetCabFilesFolder(), dir_ / "CabFiles");
  EXPECT_EQ(GetCustomCommandsFolder(), "");  // no such folder
  EXPECT_EQ(GetProgramIncludeFolders(), std::vector<std::string>{});

  MakeDirs(dir_ / "Custom Commands");
  InitProgramFolders(dir_ / "Orvane.exe");  // unquoted first token
  EXPECT_EQ(GetCustomCommandsFolder(), dir_ / "Custom Commands");
  EXPECT_EQ(GetProgramIncludeFolders(), std::vector<std::string>{dir_ / "Custom Commands"});
}

TEST_F(Folders, DataRootFromTheArgumentDropsOneTrailingBackslash) {
  SetDataRootFromArg(L"C:\\data root\\");
  EXPECT_EQ(GetDataRoot(), "C:\\data root");
  SetDataRootFromArg(L"C:\\data root");
  EXPECT_EQ(GetDataRoot(), "C:\\data root");
  SetDataRootFromArg(L"C:\\My Data\"");  // a quoted root ending in a backslash, as argv gives it
  EXPECT_EQ(GetDataRoot(), "C:\\My Data");
  SetDataRootFromArg(L"C:\\r\\\\");
  EXPECT_EQ(GetDataRoot(), "C:\\r\\");
  SetDataRootFromArg(L"C:\\Donn\u00e9es");
  EXPECT_EQ(GetDataRoot(), "C:\\Donn\xe9""es");  // the ANSI code page, not a low-byte cut
  SetDataRootFromHost("C:\\host\\");
  EXPECT_EQ(GetDataRoot(), "C:\\host\\");
}

TEST_F(Folders, RootGivenWithTrailingBackslashFindsItsFolders) {
  MakeDirs(Root("Vid1234Pid00AB"));
  SetDataRootFromArg(std::wstring(L"") + std::wstring(dir_.path().begin(), dir_.path().end()) +
                     L"\\root\\");
  const DeviceFolderEntry* e = FindDeviceFolder(0x1234, 0xab, 0);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->alternativeFolder, Root("Vid1234Pid00AB"));
}

TEST_F(Folders, VersionsAreTriedDownwardsThenWithout) {
  const struct {
    std::vector<std::string> present;
    int version;
    std::string expected;  // "" for no entry
  } cases[] = {
      {{"Vid1234Pid5678v0001"}, 3, "Vid1234Pid5678v0001"},
      {{"Vid1234Pid5678v0001", "Vid1234Pid5678v0003"}, 3, "Vid1234Pid5678v0003"},
      {{"Vid1234Pid5678v0001", "Vid1234Pid5678v0003"}, 2, "Vid1234Pid5678v0001"},
      {{"Vid1234Pid5678"}, 3, "Vid1234Pid5678"},
      {{"Vid1234Pid5678v0004"}, 3, ""},
      {{"Vid1234Pid5678v0000"}, 2, ""},  // a version-0 name is never tried
      {{"Vid1234Pid5678v0000"}, 0, ""},
      {{"Vid1234Pid5678", "Vid1234Pid5678v0001"}, 0, "Vid1234Pid5678"},
  };
  for (const auto& c : cases) {
    ScratchDir prog("ver");
    FreeDeviceFolders();
    InitProgramFolders(prog / "Orvane.exe");
    for (const auto& p : c.present) MakeDirs(prog / ("QpadDevices\\" + p));
    const DeviceFolderEntry* e = FindDeviceFolder(0x1234, 0x5678, c.version);
    if (c.expected.empty()) {
      EXPECT_EQ(e, nullptr) << c.version;
    } else {
      ASSERT_NE(e, nullptr) << c.expected;
      EXPECT_EQ(e->defaultFolder, prog / ("QpadDevices\\" + c.expected));
      EXPECT_EQ(e->alternativeFolder, "");
    }
  }
  FreeDeviceFolders();
}

TEST_F(Folders, AFileWithTheFolderNameEndsThatRootsSearch) {
  WriteTextFile(Qpad("Vid0001Pid0002v0002"), "not a folder");
  MakeDirs(Qpad("Vid0001Pid0002v0001"));
  EXPECT_EQ(FindDeviceFolder(1, 2, 2), nullptr);

  UseRoot();
  MakeDirs(Root("Vid0001Pid0002"));
  const DeviceFolderEntry* e = FindDeviceFolder(1, 2, 2);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->alternativeFolder, Root("Vid0001Pid0002"));
  EXPECT_EQ(e->defaultFolder, "");
}

TEST_F(Folders, EntriesAreMadeOnceAndOnlyListedOnesAnswer) {
  MakeDirs(Qpad("Vid0001Pid0002"));
  DeviceFolderEntry* a = FindDeviceFolder(1, 2, 0);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(FindDeviceFolder(1, 2, 0), a);
  DeviceFolderEntry* b = FindDeviceFolder(1, 2, 5);  // same folder, another version: own entry
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a, b);
  EXPECT_EQ(b->version, 5);

  std::string path;
  EXPECT_EQ(GetDeviceFolderPath(a, path), 0);
  EXPECT_EQ(path, Qpad("Vid0001Pid0002"));
  DeviceFolderEntry stranger = *a;
  EXPECT_EQ(GetDeviceFolderPath(&stranger, path), -1);
  EXPECT_EQ(GetDeviceScriptPath(&stranger, 1, path), -1);
  EXPECT_EQ(GetDeviceFolderPath(nullptr, path), -1);
}

TEST_F(Folders, ConcurrentLookupsMakeOneEntry) {
  MakeDirs(Qpad("Vid0001Pid0002"));
  std::vector<DeviceFolderEntry*> got(8);
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < got.size(); ++i)
    threads.emplace_back([&, i] { got[i] = FindDeviceFolder(1, 2, 0); });
  for (auto& t : threads) t.join();
  for (auto* e : got) EXPECT_EQ(e, got[0]);
}

TEST_F(Folders, FilesComeFromTheAlternativeFolderFirst) {
  UseRoot();
  MakeDirs(Qpad("Vid0001Pid0002"));
  MakeDirs(Root("Vid0001Pid0002"));
  WriteTextFile(Qpad("Vid0001Pid0002\\ReportConfig.txt"), "default config\n");
  WriteTextFile(Qpad("Vid0001Pid0002\\layout.kll"), "default layout");
  WriteTextFile(Root("Vid0001Pid0002\\layout.kll"), "alt layout");
  const DeviceFolderEntry* e = FindDeviceFolder(1, 2, 0);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->defaultFolder, Qpad("Vid0001Pid0002"));
  EXPECT_EQ(e->alternativeFolder, Root("Vid0001Pid0002"));

  std::string path;
  ASSERT_TRUE(ResolveDeviceFile(e, "layout.kll", path));
  EXPECT_EQ(path, Root("Vid0001Pid0002\\layout.kll"));
  ASSERT_TRUE(ResolveDeviceFile(e, "ReportConfig.txt", path));
  EXPECT_EQ(path, Qpad("Vid0001Pid0002\\ReportConfig.txt"));
  EXPECT_FALSE(ResolveDeviceFile(e, "missing.txt", path));

  std::wstring wide;
  ASSERT_TRUE(ResolveDeviceFileW(e, "layout.kll", wide));
  const std::string alt = Root("Vid0001Pid0002\\layout.kll");
  EXPECT_EQ(wide, std::wstring(alt.begin(), alt.end()));

  FilePtr f = OpenReportConfig(e);
  ASSERT_NE(f, nullptr);
  char line[64] = {};
  ASSERT_NE(std::fgets(line, sizeof line, f.get()), nullptr);
  EXPECT_STREQ(line, "default config\n");
  EXPECT_EQ(OpenDeviceFile(e, "missing.txt"), nullptr);

  EXPECT_EQ(GetDeviceFolderPath(e, path), 0);
  EXPECT_EQ(path, Root("Vid0001Pid0002"));
}

TEST_F(Folders, EmptyFoldersAreNeverProbedAtTheDriveRoot) {
  // A stray file at the root of the current drive must not be taken for a device file.
  char cwd[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, cwd);
  SetCurrentDirectoryA(dir_.path().c_str());
  const std::string drive = dir_.path().substr(0, 2);
  const std::string stray = drive + "\\ReportConfig.txt";
  const bool madeStray = !FileExists(stray) && WriteTextFile(stray, "stray");

  UseRoot();
  MakeDirs(Root("Vid0001Pid0002"));  // no default folder: it stays empty
  const DeviceFolderEntry* e = FindDeviceFolder(1, 2, 0);
  ASSERT_NE(e, nullptr);
  ASSERT_EQ(e->defaultFolder, "");
  std::string path;
  EXPECT_FALSE(ResolveDeviceFile(e, "ReportConfig.txt", path));
  EXPECT_EQ(OpenReportConfig(e), nullptr);
  if (madeStray) DeleteFileA(stray.c_str());
  SetCurrentDirectoryA(cwd);
}

TEST_F(Folders, ProgramFilesAreLookedUpInTheProgramFolder) {
  WriteTextFile(dir_ / "EXE Name Table.csv", "x");
  std::string path;
  ASSERT_TRUE(ResolveProgramFile("EXE Name Table.csv", path));
  EXPECT_EQ(path, dir_ / "EXE Name Table.csv");
  EXPECT_FALSE(ResolveProgramFile("none.csv", path));
}

TEST_F(Folders, ScriptPathTakesTheFirstExistingInItsOrder) {
  const struct {
    std::vector<std::string> present;  // "A:" alternative folder, "D:" default folder
    std::string expected;
  } cases[] = {
      {{"A:Script_7.oxs", "A:Script.oxs", "D:Script_7.oxs", "D:Script.oxs"}, "A:Script_7.oxs"},
      {{"A:Script.oxs", "D:Script_7.oxs", "D:Script.oxs"}, "A:Script.oxs"},
      {{"A:Script_8.oxs", "D:Script_7.oxs", "D:Script.oxs"}, "D:Script_7.oxs"},
      {{"D:Script.oxs"}, "D:Script.oxs"},
      {{}, "D:Script.oxs"},  // given whether it exists or not
  };
  for (const auto& c : cases) {
    ScratchDir prog("script");
    FreeDeviceFolders();
    InitProgramFolders(prog / "Orvane.exe");
    MakeDirs(prog / "QpadDevices\\Vid0001Pid0002");
    MakeDirs(prog / "root\\Vid0001Pid0002");
    SetDataRootFromHost(prog / "root");
    auto full = [&](const std::string& tagged) {
      return prog / ((tagged[0] == 'A' ? "root\\Vid0001Pid0002\\" : "QpadDevices\\Vid0001Pid0002\\") +
                     tagged.substr(2));
    };
    for (const auto& p : c.present) WriteTextFile(full(p), p);
    const DeviceFolderEntry* e = FindDeviceFolder(1, 2, 0);
    ASSERT_NE(e, nullptr);
    std::string path;
    ASSERT_EQ(GetDeviceScriptPath(e, 7, path), 0);
    EXPECT_EQ(path, full(c.expected));
    EXPECT_EQ(GetDeviceScriptFolder(e, 7), CutAtLastBackslash(full(c.expected)));
    FilePtr f = OpenDeviceScript(e, 7);
    EXPECT_EQ(f != nullptr, !c.present.empty());
  }
  FreeDeviceFolders();
  SetDataRootFromHost("");
}

TEST_F(Folders, SharedScriptServesEveryUnitUntilItsFirstSave) {
  MakeDirs(Qpad("Vid0001Pid0002"));
  WriteTextFile(Qpad("Vid0001Pid0002\\Script.oxs"), "shared");
  const DeviceFolderEntry* e = FindDeviceFolder(1, 2, 0);
  ASSERT_NE(e, nullptr);
  std::string path;
  for (int unit : {0, 1, 42}) {
    GetDeviceScriptPath(e, unit, path);
    EXPECT_EQ(path, Qpad("Vid0001Pid0002\\Script.oxs"));
  }
  const std::string text = "void KeyDown() {}\r\n";
  ASSERT_EQ(WriteDeviceScriptFile(e, 42, text.data(), text.size()), 0);
  GetDeviceScriptPath(e, 42, path);
  EXPECT_EQ(path, Qpad("Vid0001Pid0002\\Script_42.oxs"));
  EXPECT_EQ(ReadFileOr(path), text);
  EXPECT_EQ(ReadFileOr(Qpad("Vid0001Pid0002\\Script.oxs")), "shared");
  GetDeviceScriptPath(e, 1, path);
  EXPECT_EQ(path, Qpad("Vid0001Pid0002\\Script.oxs"));
}

TEST_F(Folders, ScriptWritesKeepEveryByteAndLeaveNoTemporaryFile) {
  UseRoot();
  MakeDirs(Qpad("Vid0001Pid0002"));
  MakeDirs(Root("Vid0001Pid0002"));
  const DeviceFolderEntry* e = FindDeviceFolder(1, 2, 0);
  ASSERT_NE(e, nullptr);
  const std::string bytes("a\r\nb\nc\r\0\x1b\xff end", 15);
  ASSERT_EQ(WriteDeviceScriptFile(e, 3, bytes.data(), bytes.size()), 0);
  EXPECT_EQ(GetDeviceScriptFileName(e, 3), Root("Vid0001Pid0002\\Script_3.oxs"));
  EXPECT_EQ(ReadFileOr(Root("Vid0001Pid0002\\Script_3.oxs")), bytes);
  EXPECT_FALSE(FileExists(Root("Vid0001Pid0002\\Script_3_temp.oxs")));
  EXPECT_FALSE(FileExists(Qpad("Vid0001Pid0002\\Script_3_temp.oxs")));

  ASSERT_EQ(WriteDeviceScriptFile(e, 3, "", 0), 0);  // an empty script replaces the old one
  EXPECT_EQ(ReadFileOr(Root("Vid0001Pid0002\\Script_3.oxs")), "");
}

TEST_F(Folders, AFailedScriptWriteLeavesTheOldFileWhole) {
  MakeDirs(Qpad("Vid0001Pid0002"));
  const DeviceFolderEntry* e = FindDeviceFolder(1, 2, 0);
  ASSERT_NE(e, nullptr);
  const std::string target = Qpad("Vid0001Pid0002\\Script_5.oxs");
  WriteTextFile(target, "old script");

  // The temporary file beside the script cannot be made.
  MakeDirs(Qpad("Vid0001Pid0002\\Script_5_temp.oxs"));
  EXPECT_EQ(WriteDeviceScriptFile(e, 5, "new", 3), -1);
  EXPECT_EQ(ReadFileOr(target), "old script");
  RemoveDirectoryA(Qpad("Vid0001Pid0002\\Script_5_temp.oxs").c_str());

  EXPECT_EQ(WriteDeviceScriptFile(e, 5, "new", 3), 0);
  EXPECT_EQ(ReadFileOr(target), "new");
}

TEST_F(Folders, BackupAndRestoreWalkTheScriptPairs) {
  UseRoot();
  MakeDirs(Qpad("Vid0001Pid0002"));
  MakeDirs(Root("Vid0001Pid0002"));
  const DeviceFolderEntry* e = FindDeviceFolder(1, 2, 0);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(BackupDeviceScript(e, 1), -1);  // no script anywhere
  EXPECT_EQ(RestoreDeviceScript(e, 1), -1);

  WriteTextFile(Qpad("Vid0001Pid0002\\Script.oxs"), "default shared");
  WriteTextFile(Root("Vid0001Pid0002\\Script.oxs"), "alt shared");
  ASSERT_EQ(BackupDeviceScript(e, 1), 0);
  EXPECT_EQ(ReadFileOr(Root("Vid0001Pid0002\\Script_backup.oxs")), "alt shared");
  EXPECT_FALSE(FileExists(Qpad("Vid0001Pid0002\\Script_backup.oxs")));

  WriteTextFile(Root("Vid0001Pid0002\\Script.oxs"), "broken");
  ASSERT_EQ(RestoreDeviceScript(e, 1), 0);
  EXPECT_EQ(ReadFileOr(Root("Vid0001Pid0002\\Script.oxs")), "alt shared");

  WriteTextFile(Root("Vid0001Pid0002\\Script_1.oxs"), "unit one");
  ASSERT_EQ(BackupDeviceScript(e, 1), 0);
  EXPECT_EQ(ReadFileOr(Root("Vid0001Pid0002\\Script_1_backup.oxs")), "unit one");
  EXPECT_FALSE(FileExists(Root("Vid0001Pid0002\\Script_1_backup_temp.oxs")));
}

TEST_F(Folders, AReadOnlyScriptIsBackedUpAndRestoredAgainAndAgain) {
  MakeDirs(Qpad("Vid0001Pid0002"));
  const DeviceFolderEntry* e = FindDeviceFolder(1, 2, 0);
  ASSERT_NE(e, nullptr);
  const std::string script = Qpad("Vid0001Pid0002\\Script_1.oxs");
  const std::string backup = Qpad("Vid0001Pid0002\\Script_1_backup.oxs");
  WriteTextFile(script, "protected");
  ASSERT_TRUE(SetFileAttributesA(script.c_str(), FILE_ATTRIBUTE_READONLY));
  // The backup is no read-only copy, so the next backup replaces it.
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(BackupDeviceScript(e, 1), 0) << i;
    EXPECT_EQ(GetFileAttributesA(backup.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  }
  SetFileAttributesA(script.c_str(), FILE_ATTRIBUTE_NORMAL);
  WriteTextFile(script, "broken");
  ASSERT_EQ(RestoreDeviceScript(e, 1), 0);
  EXPECT_EQ(ReadFileOr(script), "protected");
  EXPECT_EQ(FolderNames(Qpad("Vid0001Pid0002")),
            (std::vector<std::string>{"Script_1.oxs", "Script_1_backup.oxs"}));
}

TEST_F(Folders, RestoreMendsTheScriptThatIsBuilt) {
  MakeDirs(Qpad("Vid0001Pid0002"));
  const DeviceFolderEntry* e = FindDeviceFolder(1, 2, 0);
  ASSERT_NE(e, nullptr);
  WriteTextFile(Qpad("Vid0001Pid0002\\Script.oxs"), "shared");
  WriteTextFile(Qpad("Vid0001Pid0002\\Script_backup.oxs"), "shared good");
  WriteTextFile(Qpad("Vid0001Pid0002\\Script_2.oxs"), "unit broken");
  WriteTextFile(Qpad("Vid0001Pid0002\\Script_2_backup.oxs"), "unit good");
  ASSERT_EQ(RestoreDeviceScript(e, 2), 0);
  EXPECT_EQ(ReadFileOr(Qpad("Vid0001Pid0002\\Script_2.oxs")), "unit good");
  EXPECT_EQ(ReadFileOr(Qpad("Vid0001Pid0002\\Script.oxs")), "shared");

  // The unit's script has no backup yet: the walk goes on to the next pair.
  WriteTextFile(Qpad("Vid0001Pid0002\\Script_3.oxs"), "three broken");
  ASSERT_EQ(RestoreDeviceScript(e, 3), 0);
  EXPECT_EQ(ReadFileOr(Qpad("Vid0001Pid0002\\Script.oxs")), "shared good");
  EXPECT_EQ(ReadFileOr(Qpad("Vid0001Pid0002\\Script_3.oxs")), "three broken");
}

TEST_F(Folders, ButtonImagesAreFoundBesideTheDeviceFolders) {
  MakeDirs(Qpad("Vid0001Pid0002"));
  MakeDirs(dir_ / "layouts");
  WriteTextFile(Qpad("Vid0001Pid0002\\own.bmp"), "x");
  WriteTextFile(dir_ / "layouts\\layout.bmp", "x");
  WriteTextFile(Qpad("Button Images\\shared.bmp"), "x");
  const DeviceFolderEntry* e = FindDeviceFolder(1, 2, 0);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(GetButtonImagesFolder(e), Qpad("Button Images\\"));

  auto narrow = [](const std::wstring& w) { return std::string(w.begin(), w.end()); };
  std::wstring out;
  ASSERT_TRUE(ResolveButtonImagePath(e, dir_ / "layouts", "own.bmp", out));
  EXPECT_EQ(narrow(out), Qpad("Vid0001Pid0002\\own.bmp"));
  ASSERT_TRUE(ResolveButtonImagePath(e, dir_ / "layouts", "layout.bmp", out));
  EXPECT_EQ(narrow(out), dir_ / "layouts\\layout.bmp");
  ASSERT_TRUE(ResolveButtonImagePath(e, dir_ / "layouts", "shared.bmp", out));
  EXPECT_EQ(narrow(out), Qpad("Button Images\\shared.bmp"));
  EXPECT_FALSE(ResolveButtonImagePath(e, dir_ / "layouts", "none.bmp", out));
  EXPECT_FALSE(ResolveButtonImagePath(e, "", "none.bmp", out));
  EXPECT_EQ(narrow(GetButtonImagesFolderW(e)), Qpad("Button Images\\"));
}

TEST_F(Folders, NamesTooLongForThePlatformCountAsMissing) {
  // A device folder of 245 characters: its folder is usable, its script names are too long.
  const std::string base = Qpad("");
  const std::string deep = base + std::string(245 - 15 - base.size(), 'd');
  ASSERT_TRUE(MakeDirs(deep + "\\Vid0001Pid0002"));
  SetDataRootFromHost(deep);
  const DeviceFolderEntry* e = FindDeviceFolder(1, 2, 0);
  ASSERT_NE(e, nullptr);
  ASSERT_GT(e->alternativeFolder.size() + std::string("\\Script_12345.oxs").size(), kMaxPathChars);
  EXPECT_EQ(GetDeviceScriptFileName(e, 12345), "");
  EXPECT_EQ(WriteDeviceScriptFile(e, 12345, "x", 1), -1);
  std::string path;
  EXPECT_EQ(GetDeviceScriptPath(e, 12345, path), 0);
  EXPECT_EQ(path, "");  // no default folder, and the long names are missing
  SetDataRootFromHost("");
}

}  // namespace
