#pragma once
// The script preprocessor: follows #include through the include loader, keeps the run's
// defines, removes directives from the text (each directive line stays in the output as a
// comment line that the script compiler skips) and adds the program's own directives for
// custom-command files (#instance, #global, #define_cc, #delta_cc, #define_delta).
//
// Messages have the form file + " (" + line + ") Error : " + message, or ") Warning : ", where
// line counts the CR and LF characters before the line (so the third line of a CR LF file
// is line 4).

#include <angelscript.h>

#include <string>
#include <string_view>
#include <vector>

#include "runtime/preprocessor/define_table.h"
#include "runtime/preprocessor/text_streams.h"

class FileAccess;
class PragmaTable;
class ModulePragmaRegistry;

// A stretch of output lines from one file: output line L (counted like the message lines)
// from firstLine on is line L - offset of file, up to the next entry's firstLine.
struct LineMapEntry {
  std::string file;
  int firstLine = 0;
  int offset = 0;
  bool operator==(const LineMapEntry&) const = default;
};
using LineMap = std::vector<LineMapEntry>;

// What a run works with besides its inputs; null members mean the program's own.
struct PreprocessorSetup {
  FileAccess* files = nullptr;                   // the real files
  PragmaTable* pragmas = nullptr;                // ProgramPragmas()
  ModulePragmaRegistry* modules = nullptr;       // ProgramModulePragmas()
  DefineTable* commandDefines = nullptr;         // ProgramCommandDefines()
  std::vector<std::string> extraIncludeFolders;  // searched after the usual places
  // The file the root text was read from, when the root is asked for by another name (a
  // device's module name): an include of that file is an include of the root.
  std::string rootFile;
};

// The program-wide defines copied into every run (RUN_COMMAND and CUSTOM_COMMAND_ID are put
// in at the start of each run).
DefineTable& ProgramCommandDefines();

// Preprocesses the root script rootText, asked for as rootName (the module name in device
// builds; include blocks that the text holds from an earlier run are dropped), with includes
// searched from baseFolder (the device's script folder). The text goes to out (without a
// terminating zero), errors and warnings to messages; lineMap, when given, is replaced by
// the run's line map. engine receives the functions that "moduleFunction" pragmas declare
// (null: none are registered). Returns the number of errors. Runs must not overlap.
int PreprocessScriptFile(const std::string& rootName, std::string_view rootText,
                         asIScriptEngine* engine, const std::string& baseFolder,
                         TextOutputStream& out, TextOutputStream& messages, LineMap* lineMap,
                         const PreprocessorSetup& setup);
// The same with the program's files and tables, and no further include folders.
int PreprocessScriptFile(const std::string& rootName, std::string_view rootText,
                         asIScriptEngine* engine, const std::string& baseFolder,
                         TextOutputStream& out, TextOutputStream& messages,
                         LineMap* lineMap = nullptr);

// The text and the messages of one run, collected.
struct PreprocessedScript {
  std::string text;  // without a terminating zero (the script compiler refuses one)
  std::string messages;
  int errors = 0;
};
PreprocessedScript PreprocessScript(const std::string& rootName, std::string_view rootText,
                                    asIScriptEngine* engine, const std::string& baseFolder,
                                    const PreprocessorSetup& setup = {});
// A script file asked for by its path, with includes searched from its folder (as the script
// editor opens one). A file that cannot be read gives one error and no text.
PreprocessedScript PreprocessScriptAtPath(
    const std::string& path, asIScriptEngine* engine,
    const PreprocessorSetup& setup = {});

// Messages of the preprocessor's own (the define parser and the pragma table add theirs).
inline constexpr std::string_view kCouldNotOpenFile = "Could not open file ";
inline constexpr std::string_view kExpectedArgument = "Expected argument.";
inline constexpr std::string_view kTooManyArguments = "Too many arguments.";
inline constexpr std::string_view kUnexpectedEndOfFile = "0x0FA4 Unexpected end of file.";
inline constexpr std::string_view kPragmasNeedArguments = "Pragmas need arguments.";
inline constexpr std::string_view kPragmaParameterNotString =
    "Pragma parameter should be a string literal.";
inline constexpr std::string_view kTooManyPragmaParameters = "Too many parameters to pragma.";
// A warning: the named file is one of its own includers; the text goes on with the chain.
inline constexpr std::string_view kIncludeCycleNotFollowed = "Include cycle not followed: ";
