// Orvane.exe driven by a host process: our sample host loads it as a library from a folder of
// its own and runs it over simulated keypads. The program runs on the host's thread with its
// own folders and resources, the claimed keypad's reports reach the host and not its script,
// the host's write reaches the keypad, and Exit ends the program and the host cleanly.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <future>
#include <string>
#include <vector>

#include "app/host_exports.h"
#include "tests/runtime/device/sim_keypad.h"
#include "tests/runtime/service/device_thread_fixture.h"

using namespace testsupport;

namespace {

constexpr char kHostReport[] = "02c15a000000000000";

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
  for (const auto& l : lines)
    if (l == line) return true;
  return false;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : text) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else if (c != '\r') {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

class HostProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    // Binding the imports of an image loaded as a library is the 32-bit program's.
    if (sizeof(void*) == 8) GTEST_SKIP() << "a host loads the 32-bit program only";
    const std::string bin = EnvOr("ORVANE_BIN");
    ASSERT_TRUE(MakeDirs(dir_ / "program") && MakeDirs(dir_ / "host"));
    ASSERT_TRUE(CopyFileA((bin + "\\Orvane.exe").c_str(), program_.c_str(), FALSE));
    const std::string library = dir_ / "program\\VHXHID.dll";
    ASSERT_TRUE(CopyFileA((bin + "\\VHXHID.dll").c_str(), library.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((bin + "\\OrvaneHost.exe").c_str(), host_.c_str(), FALSE));
    ASSERT_TRUE(CopyTree(bin + "\\QpadDevices", dir_ / "program\\QpadDevices"));
    sim_ = VhxSimOpen(nullptr);  // VHXHID_SIM of this test, which the host inherits
    ASSERT_NE(sim_, nullptr);
    VhxSimReset(sim_);
  }
  void TearDown() override {
    VhxSimReset(sim_);
    VhxSimClose(sim_);
  }

  ScratchDir dir_{"hostproc"};
  const std::string program_ = dir_ / "program\\Orvane.exe";
  const std::string host_ = dir_ / "host\\OrvaneHost.exe";
  VhxSim* sim_ = nullptr;
};

TEST_F(HostProcess, RunsTheProgramOnItsThreadAndTakesTheClaimedKeypad) {
  // The claimed keypad's script sits in the program's folder, the other's under the data root.
  const std::string programScript = dir_ / "program\\QpadDevices\\Vid0a7cPid0019\\Script_1.oxs";
  ASSERT_TRUE(WriteTextFile(programScript, kKeyPressScript));
  ASSERT_TRUE(WriteTextFile(dir_ / "data\\Vid0A7CPid0019\\Script_2.oxs", kKeyPressScript));
  const int claimed = AddSimKeypad(sim_, 1);
  const int other = AddSimKeypad(sim_, 2);

  // Claims the first keypad of product 19 and ends after two of its reports.
  auto host = std::async(std::launch::async, [&] {
    return RunCaptured("\"" + host_ + "\" \"" + program_ + "\" 19 2 " + kHostReport + " \"" +
                           (dir_ / "data") + "\"",
                       60000);
  });
  std::vector<std::string> claimedOutputs;
  auto collect = [&] {
    for (auto& o : TakeOutputs(sim_, claimed)) claimedOutputs.push_back(o);
  };
  // The host writes once its claim has bound.
  EXPECT_TRUE(WaitUntil([&] { return collect(), Contains(claimedOutputs, kHostReport); }, 30000));
  const uint8_t down[9] = {0, 1, 0, 0, 0, 0, 0, 1, 0};
  const uint8_t up[9] = {0, 0, 0, 0, 0, 0, 0, 1, 0};
  for (int id : {claimed, other}) {
    VhxSimQueueInput(sim_, id, down, 9);
    VhxSimQueueInput(sim_, id, up, 9);
  }
  EXPECT_TRUE(
      WaitUntil([&] { return Contains(TakeOutputs(sim_, other), kKeyPressScriptRan); }, 10000));

  const CapturedRun run = host.get();
  const std::vector<std::string> out = Lines(run.out);
  ASSERT_TRUE(run.finished) << run.out << run.err;
  EXPECT_EQ(run.exitCode, 0u) << run.out << run.err;
  for (const char* line : {"device list changed", "write: 0", "report 1: 000100000000000100",
                           "report 1: 000000000000000100", "program ended: 0"})
    EXPECT_TRUE(Contains(out, line)) << line << " in\n" << run.out << run.err;

  // The program's loop and main dialog ran on the thread it started, not the host's own.
  unsigned long hostThread = 0, programThread = 0, dialogThread = 0;
  ASSERT_FALSE(out.empty());
  ASSERT_EQ(std::sscanf(out.front().c_str(),
                        "host thread %lu, program thread %lu, main dialog thread %lu", &hostThread,
                        &programThread, &dialogThread),
            3)
      << run.out;
  EXPECT_EQ(dialogThread, programThread);
  EXPECT_NE(programThread, hostThread);

  collect();
  EXPECT_FALSE(Contains(claimedOutputs, kKeyPressScriptRan));  // its script never ran
}

// Wine maps an .exe loaded as a library where it finds room and does not relocate it: with
// its own address taken the program must refuse every call rather than run at a wrong one.
TEST(HostProcessImage, AProgramThatCannotSitAtItsOwnAddressRefusesToRun) {
  if (sizeof(void*) == 8) GTEST_SKIP() << "a host loads the 32-bit program only";
  ScratchDir dir("hostimage");
  const std::string file = dir / "Orvane.exe";
  ASSERT_TRUE(CopyFileA((EnvOr("ORVANE_BIN") + "\\Orvane.exe").c_str(), file.c_str(), FALSE));
  std::string bytes;
  ASSERT_TRUE(ReadTextFile(file, bytes));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(bytes.data() + dos->e_lfanew);
  void* own = reinterpret_cast<void*>(static_cast<ULONG_PTR>(nt->OptionalHeader.ImageBase));
  void* taken = VirtualAlloc(own, 0x10000, MEM_RESERVE, PAGE_NOACCESS);
  ASSERT_EQ(taken, own);

  HMODULE program = LoadLibraryA(file.c_str());
  ASSERT_NE(program, nullptr);
  EXPECT_NE(static_cast<void*>(program), own);
  auto find = [&](const char* name) {
    return reinterpret_cast<void (*)()>(GetProcAddress(program, name));
  };
  auto launch = reinterpret_cast<OXLaunchMainThreadFunction>(find("OXLaunchMainThread"));
  auto claim = reinterpret_cast<OXRegisterDeviceFunction>(find("OXRegisterDevice"));
  auto write = reinterpret_cast<OXWriteToDeviceFunction>(find("OXWriteToDevice"));
  auto mainDialog = reinterpret_cast<GetOrvaneHWNDFunction>(find("GetOrvaneHWND"));
  auto instance = reinterpret_cast<GetHInstOrvaneFunction>(find("GetHInstOrvane"));
  ASSERT_TRUE(launch && claim && write && mainDialog && instance);
  unsigned char report[9] = {};
  EXPECT_EQ(launch(true, nullptr, nullptr), 0);
  EXPECT_EQ(claim(1, 0x0A7C, 0x19, 1), -1);
  EXPECT_EQ(write(1, report, 9), 101);
  EXPECT_EQ(mainDialog(), nullptr);
  EXPECT_EQ(instance(), nullptr);
  FreeLibrary(program);
  VirtualFree(taken, 0, MEM_RELEASE);
}

}  // namespace
