// The calibration file, the controller definition (read and written) and where the files go.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "calibration/calibration_files.h"
#include "calibration/language_texts.h"
#include "calibration/vcl/str.h"
#include "tests/calibration/fake_system.h"
#include "tests/support/held_open.h"
#include "tests/support/scratch_dir.h"

using namespace cal;
using testsupport::FolderNames;
using testsupport::HeldOpen;
using testsupport::ScratchDir;

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::stringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A plausible calibration: each position's readings spread over a few counts.
Ranges SampleRanges() {
  const int values[kPositionCount][2] = {
      {171, 173}, {120, 124}, {30, 34},   {200, 210}, {110, 120}, {40, 50},   {100, 110}, {200, 220},
      {90, 100},  {20, 30},   {150, 160}, {200, 210}, {40, 50},   {205, 215}, {10, 20},   {140, 150},
      {200, 210}, {60, 70},   {120, 130}, {180, 190}, {100, 110}, {90, 120}};
  Ranges r;
  for (int p = 0; p < kPositionCount; ++p) r[p] = {values[p][0], values[p][1]};
  return r;
}

LeverNames EnglishLevers() {
  LeverNames names;
  for (int p = 0; p < kPositionCount; ++p) names[p] = EnglishDefault(Position(p).leverKey);
  return names;
}

TEST(CalibrationFile, LeverBlocksWithEveryPositionAndTheMaxLinesInReadersOrder) {
  Ranges ranges;
  for (int p = 0; p < kPositionCount; ++p) ranges[p] = {p, 100 + p};
  const std::string text = CalibrationFileText(EnglishLevers(), ranges);
  const auto lines = Lines(text);
  ASSERT_EQ(lines.size(), 128u);
  EXPECT_EQ(text.find('\r'), std::string::npos);
  EXPECT_EQ(text.back(), '\n');
  EXPECT_EQ(lines[0], "Calibration");
  EXPECT_EQ(lines[1], "{");
  EXPECT_EQ(lines[2], " Lever   \"Reverser\"");
  EXPECT_EQ(lines[3], " {");
  EXPECT_EQ(lines[4], "  Position   \"Full Reversed\"");
  EXPECT_EQ(lines[5], "  {");
  EXPECT_EQ(lines[6], "   Min   0");
  EXPECT_EQ(lines[7], "   Max   100");
  EXPECT_EQ(lines[8], "  }");
  EXPECT_EQ(lines[127], "}");
  int levers = 0, positions = 0, open = 0, close = 0;
  std::vector<int> maxima;
  for (const auto& l : lines) {
    levers += l.rfind(" Lever   ", 0) == 0;
    positions += l.rfind("  Position   ", 0) == 0;
    open += vcl::Trim(l) == "{";
    close += vcl::Trim(l) == "}";
    if (l.rfind("   Max   ", 0) == 0) maxima.push_back(std::stoi(l.substr(9)) - 100);
  }
  EXPECT_EQ(levers, 5);
  EXPECT_EQ(positions, 22);
  EXPECT_EQ(open, close);
  // The n-th Max line: positions 0..13, then 20 and 21, then 14..19.
  const std::vector<int> order = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 20, 21, 14, 15, 16, 17, 18, 19};
  EXPECT_EQ(maxima, order);
  EXPECT_NE(text.find(" Lever   \"Independent Brake/Bail Off\"\n {\n  Position   \"Independent Brake Released\""),
            std::string::npos);
  EXPECT_NE(text.find("\"Bail Off Disengaged (in Full position)\""), std::string::npos);
}

TEST(CalibrationFile, LeverNamesComeFromTheTableButPositionNamesNeverChange) {
  LeverNames names = EnglishLevers();
  for (int p = 0; p < 3; ++p) names[p] = "Fahrtrichtungsschalter";
  const std::string text = CalibrationFileText(names, InitialRanges());
  EXPECT_NE(text.find(" Lever   \"Fahrtrichtungsschalter\"\n {\n  Position   \"Full Reversed\""), std::string::npos);
  // Nothing calibrated: 500/0, and 0/0 for the bail-off companions.
  EXPECT_NE(text.find("\"Neutral\"\n  {\n   Min   500\n   Max   0\n"), std::string::npos);
  EXPECT_NE(text.find("\"Bail Off Disengaged (in Released position)\"\n  {\n   Min   0\n   Max   0\n"),
            std::string::npos);
}

TEST(ControllerRanges, FollowTheFormulasInOrderWithTruncatingDivision) {
  const auto r = ComputeRowRanges(SampleRanges());
  const int expected[kRangedRows][2] = {
      {161, 131}, {130, 103}, {102, 44}, {190, 90}, {89, 35},  {140, 60}, {105, 55}, {124, 106}, {195, 125},
      {0, 177},   {178, 255}, {10, 75},  {76, 180}, {181, 210}, {60, 90}, {91, 160}, {161, 190}};
  for (int i = 0; i < kRangedRows; ++i) {
    EXPECT_EQ(r[i].min, expected[i][0]) << "MIN" << i;
    EXPECT_EQ(r[i].max, expected[i][1]) << "MAX" << i;
  }
  // (89 - 122) / 4 is -8 toward zero, not -9.
  Ranges low = SampleRanges();
  low[0].min = 99;
  EXPECT_EQ(ComputeRowRanges(low)[0].max, 114);
}

struct ParseCase {
  std::string text;
  std::vector<std::vector<std::string>> rows;  // a, b, name, min, max, err
};

TEST(ControllerFileReader, TakesTheByteLinesAndTheirColumns) {
  using namespace std::string_literals;
  const ParseCase cases[] = {
      {"byte1, range , reverser_reverse, min=5, max=10, err=2\n", {{"BYTE1", "RANGE", "REVERSER_REVERSE", "5", "10", "2"}}},
      {"  BYTE8,BIT0,HORN  \r\n", {{"BYTE8", "BIT0", "HORN", "0", "0", "0"}}},
      {"MODERN\nPID=00D2\nINPUT\n\n   \nOUTPUT\n86H,BYTE1,PCN=53\nEND", {}},
      {"BYTE2\n", {{"BYTE2", "", "", "0", "0", "0"}}},
      {"BYTE2,X\n", {{"BYTE2", "X", "", "0", "0", "0"}}},
      {"BYTE3,A,B,MIN=x,MAX=,ERR\n", {{"BYTE3", "A", "B", "0", "0", "0"}}},
      {"BYTE3,A,B,MIN=-4\n", {{"BYTE3", "A", "B", "-4", "0", "0"}}},
      {"BYTE4,A,B,C=1,D=2,E=3,4\n", {{"BYTE4", "A", "B", "1", "2", "3"}}},
      {"BYTE4,A,B,MIN=99999999999,MAX=1,ERR=1\n", {{"BYTE4", "A", "B", "2147483647", "1", "1"}}},
      {"BYTE1,A,B\rBYTE2,C,D", {{"BYTE1", "A", "B", "0", "0", "0"}, {"BYTE2", "C", "D", "0", "0", "0"}}},
      {"BYTE1,A,B\0BYTE2,C,D\n"s, {{"BYTE1", "A", "B", "0", "0", "0"}}},
      {"XBYTE1,A,B\nbytes,a\n", {{"BYTES", "A", "", "0", "0", "0"}}},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(c.text);
    const auto rows = ParseControllerText(c.text);
    ASSERT_EQ(rows.size(), c.rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
      EXPECT_EQ(rows[i].a, c.rows[i][0]);
      EXPECT_EQ(rows[i].b, c.rows[i][1]);
      EXPECT_EQ(rows[i].name, c.rows[i][2]);
      EXPECT_EQ(std::to_string(rows[i].min), c.rows[i][3]);
      EXPECT_EQ(std::to_string(rows[i].max), c.rows[i][4]);
      EXPECT_EQ(std::to_string(rows[i].err), c.rows[i][5]);
    }
  }
}

TEST(ControllerFileReader, KeepsAtMost65RowsAndReadsLongLinesInPieces) {
  std::string text;
  for (int i = 0; i < 70; ++i) text += "BYTE" + std::to_string(i) + ",A,N" + std::to_string(i) + "\n";
  const auto rows = ParseControllerText(text);
  ASSERT_EQ(rows.size(), 65u);
  EXPECT_EQ(rows.back().a, "BYTE64");

  // A line longer than the 255 characters of the line buffer comes in two pieces; the second
  // counts as a line of its own.
  const std::string longLine = "BYTE1,A," + std::string(247, 'x') + "BYTE9,B,C\n";
  const auto pieces = ParseControllerText(longLine);
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[1].a, "BYTE9");
  EXPECT_EQ(pieces[1].name, "C");
}

TEST(ControllerFile, WrittenWith61InputRowsAndRangesOnTheFirst17) {
  auto rows = ParseControllerText("BYTE1,RANGE,REV\nBYTE2,RANGE,B\nBYTE3,R,C\nBYTE4,R,D\nBYTE5,R,E\n"
                                  "BYTE6,R,F\nBYTE7,R,G\nBYTE8,R,H\nBYTE9,R,I\nBYTE10,BIT0,HORN,MIN=1,MAX=2,ERR=3\n");
  ASSERT_EQ(rows.size(), 10u);
  for (bool marked : {true, false}) {
    const std::string text = ControllerFileText(rows, SampleRanges(), marked);
    const auto lines = Lines(text);
    ASSERT_EQ(lines.size(), 4u + 61u + 6u);
    EXPECT_EQ(lines[0], "MODERN");
    EXPECT_EQ(lines[1], "PID=00D2");
    EXPECT_EQ(lines[2], "Name=\"MODERN DESKTOP\"");
    EXPECT_EQ(lines[3], "INPUT");
    EXPECT_EQ(lines[4], std::string("BYTE1,RANGE,REV,MIN=161,MAX=131,") + (marked ? "ERR=2" : "ERR=0"));
    EXPECT_EQ(lines[13], std::string("BYTE10,BIT0,HORN,MIN=0,MAX=177,") + (marked ? "ERR=2" : "ERR=0"));
    EXPECT_EQ(lines[14], std::string(",,,MIN=178,MAX=255,") + (marked ? "ERR=2" : "ERR=0"));
    for (int i = 17; i < 61; ++i) EXPECT_EQ(lines[4 + i], ",,") << i;
    EXPECT_EQ(lines[65], "OUTPUT");
    EXPECT_EQ(lines[66], "86H,BYTE1,PCN=53");
    EXPECT_EQ(lines[69], "85H,BYTE7,BIT0,PCN=186");
    EXPECT_EQ(lines[70], "END");
    EXPECT_EQ(text.substr(text.size() - 4), "\nEND");
  }
  // Rows past the 61st are read but not written.
  std::vector<ControllerRow> many(65);
  for (int i = 0; i < 65; ++i) many[i].name = "N" + std::to_string(i);
  const std::string text = ControllerFileText(many, SampleRanges(), false);
  EXPECT_NE(text.find(",,N60\n"), std::string::npos);
  EXPECT_EQ(text.find("N61"), std::string::npos);
}

TEST(Destinations, FolderOfAnOpenCommandAndOfAnAppPath) {
  const std::pair<const char*, const char*> commands[] = {
      {"\"C:\\Games\\Train Sim\\train.exe\" \"%1\"", "C:\\Games\\Train Sim"},
      {"C:\\TS\\train.exe %1 -x\\y", "C:\\TS"},
      {"  \"C:\\a\\b.exe", "C:\\a"},
      {"train.exe", ""},
      {"", ""},
  };
  for (auto [command, folder] : commands) EXPECT_EQ(CommandFolder(command), folder) << command;
  const std::pair<const char*, const char*> paths[] = {
      {"C:\\Trainz\\", "C:\\Trainz"},
      {"C:\\Trainz", "C:\\Trainz"},
      {"C:\\Trainz;C:\\Other", "C:\\Trainz"},
      {"\"C:\\Program Files\\Trainz\"", "C:\\Program Files\\Trainz"},
      {" \"C:\\Program Files\\Trainz\\\" ;C:\\Other", "C:\\Program Files\\Trainz"},
      {"\"C:\\Odd;Name\";C:\\Other", "C:\\Odd;Name"},
      {"\"\";C:\\Other", ""},
      {"", ""},
  };
  for (auto [value, folder] : paths) EXPECT_EQ(AppPathFolder(value), folder) << value;
}

TEST(Destinations, ARegistryFolderIsUsedWithoutItsQuotes) {
  const std::pair<const char*, const char*> values[] = {
      {"C:\\Program Files\\Orvane", "C:\\Program Files\\Orvane"},
      {"\"C:\\Program Files\\Orvane\"", "C:\\Program Files\\Orvane"},
      {"\"C:\\Program Files\\Orvane\\\"", "C:\\Program Files\\Orvane"},
      {"  \"C:\\Program Files\\Orvane\"\t", "C:\\Program Files\\Orvane"},
      {"C:\\Orvane\\\\", "C:\\Orvane"},
      {"\"\"", ""},
      {"  ", ""},
  };
  for (auto [value, folder] : values) EXPECT_EQ(RegistryFolder(value), folder) << value;

  // The main program's value as installers write it: the file lands in its device folder.
  ScratchDir dir("cal");
  ASSERT_TRUE(testsupport::MakeDirs(dir / "prog\\controller"));
  const std::string orvx = dir / "Orvane II";
  const std::string target = orvx + "\\QpadDevices\\Vid0a7cPid00d2\\ModernCalibration.lcm";
  ASSERT_TRUE(testsupport::MakeDirs(orvx + "\\QpadDevices\\Vid0a7cPid00d2"));
  for (const std::string& value : {"\"" + orvx + "\"", "\"" + orvx + "\\\"", orvx + "\\", " " + orvx}) {
    SCOPED_TRACE(value);
    DeleteFileA(target.c_str());
    FakeSystem system;
    system.registry[{vcl::RegistryRoot::LocalMachine, kMainProgramKey, ""}] = value;
    WriteCalibrationFiles(dir / "prog", CalibrationResult{}, system);
    EXPECT_TRUE(testsupport::FileExists(target));
  }
}

TEST(Destinations, EveryInstalledDestinationGetsItsFileAndMissingOnesAreSkipped) {
  ScratchDir dir("cal");
  const std::string program = dir / "prog";
  ASSERT_TRUE(testsupport::MakeDirs(program + "\\controller"));
  ASSERT_TRUE(testsupport::MakeDirs(dir / "tm4"));
  ASSERT_TRUE(testsupport::MakeDirs(dir / "trainz"));
  ASSERT_TRUE(testsupport::MakeDirs(dir / "tc\\controllers"));
  ASSERT_TRUE(testsupport::MakeDirs(dir / "orvx\\QpadDevices\\Vid0a7cPid00d2"));
  FakeSystem system;
  using vcl::RegistryRoot;
  system.registry[{RegistryRoot::ClassesRoot, kSimulatorDocumentCommand, ""}] =
      "\"" + (dir / "tm4\\train.exe") + "\" \"%1\"";
  system.registry[{RegistryRoot::LocalMachine, kSimulatorKeys[0], "Path"}] = (dir / "trainz") + "\\";
  system.registry[{RegistryRoot::LocalMachine, kSimulatorKeys[3], "Path"}] = (dir / "tc") + ";C:\\Windows";
  system.registry[{RegistryRoot::LocalMachine, kMainProgramKey, ""}] = dir / "orvx";

  CalibrationResult result;
  result.ranges = SampleRanges();
  result.leverNames = EnglishLevers();
  result.marked = true;
  result.rows = ParseControllerText("BYTE1,RANGE,REV\n");
  WriteCalibrationFiles(program, result, system);

  const std::string calibration = CalibrationFileText(result.leverNames, result.ranges);
  const std::string controller = ControllerFileText(result.rows, result.ranges, true);
  EXPECT_EQ(testsupport::ReadFileOr(program + "\\controller\\ModernController.lcm"), controller);
  EXPECT_EQ(testsupport::ReadFileOr(program + "\\controller\\ModernCalibration.lcm"), calibration);
  EXPECT_EQ(testsupport::ReadFileOr(dir / "tm4\\controller\\ModernController.lcm"), controller);
  EXPECT_EQ(testsupport::ReadFileOr(dir / "trainz\\controllers\\modern.lcm"), calibration);
  EXPECT_EQ(testsupport::ReadFileOr(dir / "tc\\controllers\\modern.lcm"), calibration);
  EXPECT_EQ(testsupport::ReadFileOr(dir / "orvx\\QpadDevices\\Vid0a7cPid00d2\\ModernCalibration.lcm"),
            calibration);
  const std::vector<std::string> order = {kSimulatorDocumentCommand, kSimulatorKeys[0], kSimulatorKeys[1],
                                          kSimulatorKeys[2], kSimulatorKeys[3], kMainProgramKey};
  EXPECT_EQ(system.registryReads, order);

  // The main program's device folder is never created.
  ASSERT_TRUE(testsupport::RemoveTree(dir / "orvx\\QpadDevices"));
  WriteCalibrationFiles(program, result, system);
  EXPECT_FALSE(testsupport::DirExists(dir / "orvx\\QpadDevices"));
}

TEST(Destinations, OnlyTheProgramsOwnFilesWithoutSimulatorsOrMainProgram) {
  ScratchDir dir("cal");
  const std::string program = dir / "prog";
  ASSERT_TRUE(testsupport::MakeDirs(program + "\\controller"));
  FakeSystem system;
  WriteCalibrationFiles(program, CalibrationResult{}, system);
  EXPECT_TRUE(testsupport::FileExists(program + "\\controller\\ModernController.lcm"));
  EXPECT_TRUE(testsupport::FileExists(program + "\\controller\\ModernCalibration.lcm"));
  EXPECT_EQ(system.registryReads.size(), 6u);
  // A controller folder that cannot be written to is skipped without a word.
  EXPECT_FALSE(WriteWholeFile(dir / "missing\\x.lcm", "x"));
}

std::string GoldenPath(const std::string& name) {
  return testsupport::EnvOr("ORVANE_TEST_DATA") + "\\calibration\\" + name;
}

// What the program writes at the end for the shipped controller definition and a plausible
// calibration, byte for byte. ORVANE_UPDATE_GOLDEN=1 writes the files anew (look at the
// difference before committing it).
TEST(GoldenFiles, TheControllerDefinitionAndTheCalibrationFileAsWritten) {
  ScratchDir dir("cal");
  const std::string controller = dir / "controller";
  ASSERT_TRUE(testsupport::MakeDirs(controller));
  CalibrationResult result;
  ASSERT_TRUE(ReadControllerFile(testsupport::EnvOr("ORVANE_BIN") + "\\controller\\" + kControllerFileName,
                                 result.rows));
  result.ranges = SampleRanges();
  result.leverNames = EnglishLevers();
  result.marked = true;
  FakeSystem system;
  WriteCalibrationFiles(dir.path(), result, system);

  const bool update = std::getenv("ORVANE_UPDATE_GOLDEN") != nullptr;
  for (const char* name : {kControllerFileName, kCalibrationFileName}) {
    SCOPED_TRACE(name);
    const std::string written = testsupport::ReadFileOr(controller + "\\" + name);
    if (update) {
      ASSERT_TRUE(testsupport::WriteTextFile(GoldenPath(name), written));
    }
    std::string golden;
    ASSERT_TRUE(testsupport::ReadTextFile(GoldenPath(name), golden));
    EXPECT_EQ(written, golden);
  }
}

TEST(Destinations, ADestinationHeldOpenKeepsItsOldFileAndTheOthersAreStillWritten) {
  ScratchDir dir("cal");
  const std::string program = dir / "prog";
  ASSERT_TRUE(testsupport::MakeDirs(program + "\\controller"));
  ASSERT_TRUE(testsupport::WriteTextFile(dir / "trainz\\controllers\\modern.lcm", "old"));
  ASSERT_TRUE(testsupport::MakeDirs(dir / "orvx\\QpadDevices\\Vid0a7cPid00d2"));
  FakeSystem system;
  using vcl::RegistryRoot;
  system.registry[{RegistryRoot::LocalMachine, kSimulatorKeys[0], "Path"}] = dir / "trainz";
  system.registry[{RegistryRoot::LocalMachine, kMainProgramKey, ""}] = dir / "orvx";
  CalibrationResult result;
  result.leverNames = EnglishLevers();

  HeldOpen simulator(dir / "trainz\\controllers\\modern.lcm");
  ASSERT_TRUE(simulator.ok());
  const WriteOutcome outcome = WriteCalibrationFiles(program, result, system);
  simulator.Release();
  EXPECT_EQ(outcome.unwritten, std::vector<std::string>{dir / "trainz\\controllers\\modern.lcm"});
  EXPECT_TRUE(outcome.calibrationWritten);
  EXPECT_EQ(testsupport::ReadFileOr(dir / "trainz\\controllers\\modern.lcm"), "old");
  EXPECT_EQ(FolderNames(dir / "trainz\\controllers"), std::vector<std::string>{"modern.lcm"});
  EXPECT_EQ(testsupport::ReadFileOr(dir / "orvx\\QpadDevices\\Vid0a7cPid00d2\\ModernCalibration.lcm"),
            CalibrationFileText(result.leverNames, result.ranges));
}

// Every destination that cannot be written (a folder stands where its file goes) is named, in
// the order tried; the calibration counts as written when any calibration file was.
struct BlockedCase {
  const char* what;
  std::vector<std::string> blocked;  // relative to the scratch folder
  bool calibrationWritten;
};

TEST(Destinations, TheFilesThatCouldNotBeWrittenAreNamed) {
  const std::string controller = "prog\\controller\\ModernController.lcm";
  const std::string calibration = "prog\\controller\\ModernCalibration.lcm";
  const std::string tm4 = "tm4\\controller\\ModernController.lcm";
  const std::string trainz = "trainz\\controllers\\modern.lcm";
  const std::string device = "orvx\\QpadDevices\\Vid0a7cPid00d2\\ModernCalibration.lcm";
  const BlockedCase cases[] = {
      {"nothing blocked", {}, true},
      {"the program's calibration file", {calibration}, true},
      {"the program's and the device folder's: a simulator's still", {calibration, device}, true},
      {"every calibration file", {calibration, trainz, device}, false},
      {"the controller definitions only", {controller, tm4}, true},
      {"everything", {controller, calibration, tm4, trainz, device}, false},
  };
  for (const BlockedCase& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir("cal");
    for (const char* folder : {"prog\\controller", "tm4\\controller", "trainz\\controllers", "orvx\\QpadDevices\\Vid0a7cPid00d2"})
      ASSERT_TRUE(testsupport::MakeDirs(dir / folder));
    for (const std::string& place : c.blocked) ASSERT_TRUE(testsupport::MakeDirs(dir / place));
    FakeSystem system;
    using vcl::RegistryRoot;
    system.registry[{RegistryRoot::ClassesRoot, kSimulatorDocumentCommand, ""}] = "\"" + (dir / "tm4\\train.exe") + "\"";
    system.registry[{RegistryRoot::LocalMachine, kSimulatorKeys[0], "Path"}] = dir / "trainz";
    system.registry[{RegistryRoot::LocalMachine, kMainProgramKey, ""}] = dir / "orvx";
    const WriteOutcome outcome = WriteCalibrationFiles(dir / "prog", CalibrationResult{}, system);
    std::vector<std::string> expected;
    for (const std::string& place : c.blocked) expected.push_back(dir / place);
    EXPECT_EQ(outcome.unwritten, expected);
    EXPECT_EQ(outcome.calibrationWritten, c.calibrationWritten);
    for (const std::string& place : {controller, calibration, tm4, trainz, device})
      if (std::find(c.blocked.begin(), c.blocked.end(), place) == c.blocked.end()) {
        EXPECT_TRUE(testsupport::FileExists(dir / place)) << place << " is still written";
      }
  }
}

}  // namespace
