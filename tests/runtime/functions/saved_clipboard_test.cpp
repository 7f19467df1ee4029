// Saved clipboards: the file layout, and a save and a restore made by two other processes (this
// test's own executable started again as a helper).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/system_calls.h"
#include "runtime/functions/saved_clipboard.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/win_test.h"

using namespace testsupport;

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr char kActionVariable[] = "ORVANE_CLIP_ACTION";
constexpr char kElsewhereVariable[] = "ORVANE_CLIP_ELSEWHERE";

HWND OwnWindow() {
  static HWND window =
      CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  return window;
}

bool OpenOwnClipboard() {
  return WaitUntil([] { return OpenClipboard(OwnWindow()) != 0; }, 2000);
}

// Empties the clipboard and puts the bytes on it under the format (nothing for no bytes).
void PutOnClipboard(UINT format, const void* data, std::size_t size) {
  ASSERT_TRUE(OpenOwnClipboard());
  EmptyClipboard();
  if (size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(block), data, size);
    GlobalUnlock(block);
    EXPECT_NE(SetClipboardData(format, block), nullptr);
  }
  CloseClipboard();
}

void PutText(const std::string& text) { PutOnClipboard(CF_TEXT, text.c_str(), text.size() + 1); }

// The clipboard's data in that format, up to its first zero character; "<none>" without.
std::string ClipboardText(UINT format) {
  if (!OpenOwnClipboard()) return "<not open>";
  std::string text = "<none>";
  if (HANDLE data = GetClipboardData(format)) {
    if (const void* p = GlobalLock(data)) {
      if (format == CF_UNICODETEXT) {
        const std::wstring wide(static_cast<const wchar_t*>(p));
        text.assign(wide.begin(), wide.end());
      } else {
        text = static_cast<const char*>(p);
      }
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

std::string OwnExe() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, sizeof path);
  return path;
}

// Runs this executable's helper with the action in the folder; true when it succeeded.
bool RunHelper(const std::string& action, const std::string& folder,
               const std::string& elsewhere) {
  SetEnvironmentVariableA(kActionVariable, action.c_str());
  SetEnvironmentVariableA(kElsewhereVariable, elsewhere.c_str());
  ChildProcess child;
  const bool started =
      child.Start("\"" + OwnExe() + "\" --gtest_filter=ClipboardHelper.Act", folder);
  SetEnvironmentVariableA(kActionVariable, nullptr);
  SetEnvironmentVariableA(kElsewhereVariable, nullptr);
  // Pumps while it waits: this process owns the clipboard, and a save asks the owner to
  // render what it holds.
  return started && WaitUntil([&] { return child.Wait(0); }, 20000) && child.ExitCode() == 0;
}

// The helper: captures its start folder, moves away from it as a file dialog would, then
// saves or restores the clipboard of key 10.
TEST(ClipboardHelper, Act) {
  const std::string action = EnvOr(kActionVariable);
  if (action.empty()) GTEST_SKIP() << "runs only as the helper";
  SystemCalls platform;
  CaptureClipboardFolder();
  ASSERT_TRUE(SetCurrentDirectoryA(EnvOr(kElsewhereVariable).c_str()));
  if (action == "save") {
    SaveClipboard(platform, nullptr, 10);
  } else if (action == "paste") {
    PasteScrap(platform, nullptr, 10);
  } else {
    FAIL() << action;
  }
}

// Makes the folder the saved clipboards' one, as start-up in it would.
void CaptureFolder(const ScratchDir& dir) {
  char before[MAX_PATH];
  GetCurrentDirectoryA(sizeof before, before);
  ASSERT_TRUE(SetCurrentDirectoryA(dir.path().c_str()));
  CaptureClipboardFolder();
  ASSERT_TRUE(SetCurrentDirectoryA(before));
}

TEST(SavedClipboard, FileNamesAndLayout) {
  EXPECT_EQ(ClipDataFileName(10), "ClipData000a.bin");
  EXPECT_EQ(ClipDataFileName(0x12345), "ClipData12345.bin");
  EXPECT_EQ(EncodeClipData(0x0D, "hi", 2), (Bytes{0x0D, 0, 0, 0, 'h', 'i'}));
  const Bytes file{0x01, 0xC0, 0, 0, 'x'};
  std::uint32_t format = 0;
  std::size_t length = 0;
  ASSERT_TRUE(ClipDataLayout(file.data(), file.size(), format, length));
  EXPECT_EQ(format, 0xC001u);
  EXPECT_EQ(length, 1u);
  // Nothing to restore in a file of the id alone, or shorter.
  EXPECT_FALSE(ClipDataLayout(file.data(), 4, format, length));
  EXPECT_FALSE(ClipDataLayout(file.data(), 0, format, length));
}

TEST(SavedClipboard, SaveAndRestoreInTwoOtherProcesses) {
  ScratchDir start("clipstart"), elsewhere("clipelse");
  PutText("saved text");
  ASSERT_TRUE(RunHelper("save", start.path(), elsewhere.path()));
  std::string file;
  ASSERT_TRUE(ReadTextFile(start / "ClipData000a.bin", file));
  ASSERT_GE(file.size(), 15u);
  EXPECT_EQ(file.substr(0, 15), std::string("\x01\0\0\0saved text\0", 15));
  EXPECT_FALSE(FileExists(elsewhere / "ClipData000a.bin"));

  // Another program's text, in a format the saved one does not replace by itself.
  const std::wstring other = L"other text";
  PutOnClipboard(CF_UNICODETEXT, other.c_str(), (other.size() + 1) * sizeof(wchar_t));
  ASSERT_TRUE(RunHelper("paste", start.path(), elsewhere.path()));
  EXPECT_EQ(ClipboardText(CF_TEXT), "saved text");
  EXPECT_EQ(ClipboardText(CF_UNICODETEXT), "saved text");
}

TEST(SavedClipboard, EmptyAndBrokenFilesRestoreNothing) {
  SystemCalls platform;
  ScratchDir dir("clipfiles");
  ASSERT_NO_FATAL_FAILURE(CaptureFolder(dir));
  EXPECT_EQ(ClipDataFilePath(3), dir / "ClipData0003.bin");

  PutOnClipboard(CF_TEXT, nullptr, 0);  // empty
  SaveClipboard(platform, nullptr, 3);
  std::string file = "<missing>";
  ASSERT_TRUE(ReadTextFile(dir / "ClipData0003.bin", file));
  EXPECT_EQ(file, "");

  ASSERT_TRUE(WriteTextFile(dir / "ClipData0004.bin", std::string("\x01\0\0", 3)));
  ASSERT_TRUE(WriteTextFile(dir / "ClipData0005.bin", std::string("\x01\0\0\0", 4)));
  PutText("stays");
  for (int key : {3, 4, 5, 6}) {
    SCOPED_TRACE(key);
    PasteScrap(platform, nullptr, key);
    EXPECT_EQ(ClipboardText(CF_TEXT), "stays");
  }
  // A file of this process restores too, and replaces every format that was there.
  ASSERT_TRUE(WriteTextFile(dir / "ClipData0007.bin", std::string("\x01\0\0\0back\0", 9)));
  PasteScrap(platform, nullptr, 7);
  EXPECT_EQ(ClipboardText(CF_TEXT), "back");
  EXPECT_EQ(ClipboardText(CF_UNICODETEXT), "back");
}

// A clipboard in memory: what the functions ask of it, and what they put on it.
class MemoryClipboard : public SystemCalls {
 public:
  struct Held {
    std::uint32_t format = 0;
    Bytes bytes;
  };
  void RenderClipboardFormats() override { asked.push_back("render"); }
  std::unique_ptr<ClipboardAccess> OpenClipboardFor(void*) override {
    asked.push_back("open");
    if (!free) return nullptr;
    return std::make_unique<Access>(*this);
  }
  std::vector<std::string> asked;
  bool free = true;
  std::vector<Held> held;  // in format order

 private:
  class Access : public ClipboardAccess {
   public:
    explicit Access(MemoryClipboard& c) : c_(c) {}
    ~Access() override { c_.asked.push_back("close"); }
    std::uint32_t FirstFormat() override { return c_.held.empty() ? 0 : c_.held.front().format; }
    std::optional<Bytes> Data(std::uint32_t format) override {
      c_.asked.push_back("data " + std::to_string(format));
      for (const Held& h : c_.held)
        if (h.format == format) return h.bytes;
      return std::nullopt;
    }
    bool Replace(std::uint32_t format, const Bytes& bytes) override {
      c_.asked.push_back("replace " + std::to_string(format));
      c_.held = {{format, bytes}};
      return true;
    }

   private:
    MemoryClipboard& c_;
  };
};

std::string Joined(const std::vector<std::string>& parts) {
  std::string out;
  for (const std::string& p : parts) out += (out.empty() ? "" : ", ") + p;
  return out;
}

TEST(SavedClipboard, GoesThroughTheSeamAndSkipsTheUnsavedFormat) {
  ScratchDir dir("clipseam");
  ASSERT_NO_FATAL_FAILURE(CaptureFolder(dir));
  MemoryClipboard clipboard;

  // The first format only, with its data as it is.
  clipboard.held = {{0xC123, Bytes{'a', 0, 'b'}}, {CF_TEXT, Bytes{'x', 0}}};
  SaveClipboard(clipboard, nullptr, 1);
  EXPECT_EQ(Joined(clipboard.asked), "render, open, data 49443, close");
  std::string file;
  ASSERT_TRUE(ReadTextFile(dir / "ClipData0001.bin", file));
  EXPECT_EQ(file, std::string("\x23\xC1\0\0a\0b", 7));

  // The unsaved format's data is never asked for (its owner may not answer): an empty file.
  clipboard.asked.clear();
  clipboard.held = {{kUnsavedClipboardFormat, Bytes{1}}};
  SaveClipboard(clipboard, nullptr, 2);
  EXPECT_EQ(Joined(clipboard.asked), "render, open, close");
  ASSERT_TRUE(ReadTextFile(dir / "ClipData0002.bin", file));
  EXPECT_EQ(file, "");

  // Held by another program: no file at all.
  clipboard.asked.clear();
  clipboard.free = false;
  SaveClipboard(clipboard, nullptr, 3);
  EXPECT_EQ(Joined(clipboard.asked), "render, open");
  EXPECT_FALSE(FileExists(dir / "ClipData0003.bin"));
  PasteScrap(clipboard, nullptr, 1);
  EXPECT_EQ(clipboard.held.size(), 1u);

  // The file's format and data replace everything; an empty file changes nothing.
  clipboard.free = true;
  clipboard.asked.clear();
  PasteScrap(clipboard, nullptr, 1);
  EXPECT_EQ(Joined(clipboard.asked), "open, replace 49443, close");
  ASSERT_EQ(clipboard.held.size(), 1u);
  EXPECT_EQ(clipboard.held[0].format, 0xC123u);
  EXPECT_EQ(clipboard.held[0].bytes, (Bytes{'a', 0, 'b'}));
  clipboard.asked.clear();
  PasteScrap(clipboard, nullptr, 2);
  EXPECT_EQ(Joined(clipboard.asked), "open, close");
}

}  // namespace
