// Where the editor finds a module's script, and that its builds search the program's include
// folder as the device builds do.
#include "ui/script_editor/module_script_locator.h"

#include <gtest/gtest.h>

#include "platform/base/memory_file_access.h"
#include "runtime/device/device_folders.h"
#include "runtime/preprocessor/text_streams.h"
#include "tests/support/scratch_dir.h"
#include "ui/script_editor/script_source.h"

using namespace testsupport;

namespace {

const std::string kScript = "D:\\scripts\\main.oxs";

TEST(ModuleScriptLocator, AScriptByItsPathBuildsWithTheProgramsCustomCommands) {
  ScratchDir dir{"locator"};
  ASSERT_TRUE(MakeDirs(dir / "Custom Commands"));
  InitProgramFolders("\"" + dir.path() + "\\Orvane.exe\"");
  MemoryFileAccess files;
  files.Put(kScript, "");
  files.Put(dir / "Custom Commands\\Greet.oxc", "void Greet() {}");
  const std::optional<ModuleScriptFile> file = ProgramModuleScriptLocator(files)(kScript);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->path, kScript);
  EXPECT_EQ(file->origin.baseFolder, "D:\\scripts");
  EXPECT_EQ(file->origin.extraIncludeFolders, std::vector<std::string>{dir / "Custom Commands"});

  BufferOutputStream messages;
  PreprocessedSource built(file->origin, "#include \"Greet.oxc\"\r\n", files, nullptr, messages);
  EXPECT_EQ(messages.Text(), "");
  EXPECT_NE(built.Output().find("void Greet() {}"), std::string::npos) << built.Output();

  // Without the folder the program has none, and a name that is neither a module nor a file
  // is not found.
  InitProgramFolders("\"" + (dir / "elsewhere") + "\\Orvane.exe\"");
  EXPECT_EQ(ProgramModuleScriptLocator(files)(kScript)->origin.extraIncludeFolders,
            std::vector<std::string>{});
  EXPECT_FALSE(ProgramModuleScriptLocator(files)("Vid0a7cPid0019v0100Uid0009"));
}

}  // namespace
