#include <gtest/gtest.h>

#include "tests/support/png_writer.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/win_test.h"

using namespace testsupport;

namespace {

std::uint32_t Be32(const std::vector<std::uint8_t>& v, std::size_t at) {
  return (std::uint32_t(v[at]) << 24) | (v[at + 1] << 16) | (v[at + 2] << 8) | v[at + 3];
}

TEST(PngWriter, WritesSignatureHeaderAndKnownEndChunk) {
  const std::vector<std::uint8_t> rgb(3 * 2 * 3, 0x7F);
  const auto png = EncodePngRgb(3, 2, rgb);
  ASSERT_GT(png.size(), 57u);
  EXPECT_EQ(std::vector<std::uint8_t>(png.begin(), png.begin() + 8),
            (std::vector<std::uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
  EXPECT_EQ(Be32(png, 8), 13u);
  EXPECT_EQ(Be32(png, 16), 3u);  // width
  EXPECT_EQ(Be32(png, 20), 2u);  // height
  // IEND with its fixed CRC closes the file.
  EXPECT_EQ(Be32(png, png.size() - 4), 0xAE426082u);
}

TEST(PngWriter, SplitsLargeImagesIntoStoredBlocks) {
  const int w = 200, h = 200;  // 120,200 raw bytes: two stored blocks
  const auto png = EncodePngRgb(w, h, std::vector<std::uint8_t>(w * h * 3, 1));
  const std::uint32_t idatLen = Be32(png, 33);
  EXPECT_EQ(idatLen, 2u + (w * 3 + 1) * h + 2 * 5 + 4);
}

TEST(ScratchDir, IsCreatedAndRemovedWithItsContents) {
  std::string where;
  {
    ScratchDir dir("sd");
    where = dir.path();
    ASSERT_TRUE(DirExists(where));
    ASSERT_TRUE(WriteTextFile(dir / "a\\b\\c.txt", "x\r\ny"));
    EXPECT_EQ(ReadFileOr(dir / "a\\b\\c.txt"), "x\r\ny");
  }
  EXPECT_FALSE(DirExists(where));
}

TEST(RunWithTimeout, ReportsFinishAndTimeout) {
  int ran = 0;
  EXPECT_TRUE(RunWithTimeout([&] { ran = 1; }, 2000));
  EXPECT_EQ(ran, 1);
  EXPECT_FALSE(RunWithTimeout([] { Sleep(3000); }, 100));
}

TEST(ChildProcess, GivesTheExitCode) {
  ChildProcess p;
  ASSERT_TRUE(p.Start("cmd.exe /c exit 3"));
  ASSERT_TRUE(p.Wait(20000));
  EXPECT_EQ(p.ExitCode(), 3u);
}

TEST(Windows, FindsReadsClicksAndPicturesAWindow) {
  HWND top = CreateWindowExA(0, "#32770", "Harness Probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                             300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(top, nullptr);
  HWND edit = CreateWindowExA(0, "EDIT", "typed text", WS_CHILD | WS_VISIBLE, 5, 5, 200, 24, top,
                              reinterpret_cast<HMENU>(101), nullptr, nullptr);
  HWND button = CreateWindowExA(0, "BUTTON", "Press", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 5, 40,
                                100, 24, top, reinterpret_cast<HMENU>(102), nullptr, nullptr);
  PumpMessages(50);

  EXPECT_EQ(WaitForWindow(nullptr, "Harness Probe", 2000), top);
  EXPECT_EQ(WaitForProcessWindow(GetCurrentProcessId(), "Harness Probe", 2000), top);
  EXPECT_EQ(FindChildById(top, 101), edit);
  EXPECT_EQ(FindChildByText(top, "Button", "Press"), button);
  EXPECT_EQ(WindowText(edit), "typed text");

  ClickButton(button);
  EXPECT_TRUE(WaitUntil([&] { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 2000));

  ScratchDir dir("png");
  ASSERT_TRUE(SaveWindowPng(top, dir / "probe.png"));
  std::string bytes;
  ASSERT_TRUE(ReadTextFile(dir / "probe.png", bytes));
  EXPECT_EQ(bytes.substr(1, 3), "PNG");
  DestroyWindow(top);
}

}  // namespace
