#include "tests/support/win_test.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "platform/wingui/gdi.h"
#include "tests/support/png_writer.h"

namespace testsupport {

bool RunWithTimeout(const std::function<void()>& fn, unsigned timeoutMs) {
  struct Shared {
    std::function<void()> fn;
    HANDLE done;
  };
  auto shared = std::make_shared<Shared>(Shared{fn, CreateEventA(nullptr, TRUE, FALSE, nullptr)});
  std::thread([shared] {
    shared->fn();
    SetEvent(shared->done);
  }).detach();
  const bool finished = WaitForSingleObject(shared->done, timeoutMs) == WAIT_OBJECT_0;
  if (finished) CloseHandle(shared->done);
  return finished;
}

void PumpMessages(unsigned ms) {
  const DWORD end = GetTickCount() + ms;
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(1);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

bool WaitUntil(const std::function<bool()>& pred, unsigned timeoutMs, unsigned stepMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (pred()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    PumpMessages(stepMs);
  }
}

HWND WaitForWindow(const char* className, const char* caption, unsigned timeoutMs) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindWindowA(className, caption)) != nullptr; }, timeoutMs);
  return found;
}

namespace {
struct ProcessWindowSearch {
  DWORD pid;
  const char* caption;
  HWND found;
};

BOOL CALLBACK ProcessWindowProc(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<ProcessWindowSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != s->pid) return TRUE;
  if (s->caption ? WindowText(hwnd) == s->caption : IsWindowVisible(hwnd) != 0) {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

struct ChildSearch {
  int id;
  const char* cls;
  const char* text;
  HWND found;
};

BOOL CALLBACK ChildProc(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<ChildSearch*>(lp);
  bool match;
  if (s->cls || s->text) {
    match = (!s->cls || ClassName(hwnd) == s->cls) && (!s->text || WindowText(hwnd) == s->text);
  } else {
    match = GetDlgCtrlID(hwnd) == s->id;
  }
  if (match) {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND WaitForProcessWindow(DWORD processId, const char* caption, unsigned timeoutMs) {
  ProcessWindowSearch s{processId, caption, nullptr};
  WaitUntil([&] {
    EnumWindows(ProcessWindowProc, reinterpret_cast<LPARAM>(&s));
    return s.found != nullptr;
  }, timeoutMs);
  return s.found;
}

namespace {

struct OwnWindowSearch {
  const char* className;
  HWND found;
};

BOOL CALLBACK OwnWindowProc(HWND hwnd, LPARAM lp) {
  auto* search = reinterpret_cast<OwnWindowSearch*>(lp);
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  char name[128] = "";
  GetClassNameA(hwnd, name, sizeof name);
  if (process != GetCurrentProcessId() || std::strcmp(name, search->className) != 0) return TRUE;
  search->found = hwnd;
  return FALSE;
}

}  // namespace

HWND FindOwnWindow(const char* className) {
  OwnWindowSearch s{className, nullptr};
  EnumWindows(OwnWindowProc, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND FindChildById(HWND parent, int id) {
  ChildSearch s{id, nullptr, nullptr, nullptr};
  EnumChildWindows(parent, ChildProc, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND FindChildByText(HWND parent, const char* className, const char* text) {
  ChildSearch s{0, className, text, nullptr};
  EnumChildWindows(parent, ChildProc, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND FileDialogNameBox(HWND dialog) {
  if (HWND name = FindChildById(dialog, 0x480)) return name;
  const HWND combo = FindChildById(dialog, 0x47c);
  return combo ? FindChildByText(combo, "Edit", nullptr) : nullptr;
}

std::string WindowText(HWND hwnd) {
  DWORD_PTR len = 0;
  if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &len)) return {};
  std::vector<char> buf(len + 1);
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()),
                           SMTO_ABORTIFHUNG, 2000, &got))
    return {};
  return std::string(buf.data(), std::min<std::size_t>(got, len));
}

std::string ClassName(HWND hwnd) {
  char buf[256] = {};
  GetClassNameA(hwnd, buf, sizeof buf);
  return buf;
}

bool ClickButton(HWND button) {
  if (!button) return false;
  PostMessageA(button, BM_CLICK, 0, 0);
  PumpMessages(20);
  return true;
}

COLORREF WindowPicture::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
  return RGB(rgb[i], rgb[i + 1], rgb[i + 2]);
}

namespace {

RECT Intersection(const RECT& a, const RECT& b) {
  RECT r{};
  IntersectRect(&r, &a, &b);
  return r;
}

// Paints a window and its visible children into picture (a DC of the top-level window's outer
// size, whose corner is at top on the screen) as the screen would show them, each cut to clip
// and then to its own client area. Each client area paints itself (WM_ERASEBKGND,
// WM_PRINTCLIENT) into a bitmap of its own first: Wine's WM_PRINT draws neither children nor
// frames, and Wine's buttons clip wrongly in a DC whose origin is moved. A child with a border
// gets a simple frame.
void PrintWindowTree(HWND hwnd, HDC picture, POINT top, const RECT& clip, bool frame) {
  RECT outer;
  GetWindowRect(hwnd, &outer);
  OffsetRect(&outer, -top.x, -top.y);
  const int saved = SaveDC(picture);
  const RECT visible = Intersection(clip, outer);
  IntersectClipRect(picture, visible.left, visible.top, visible.right, visible.bottom);
  if (frame) {
    if (GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)
      DrawEdge(picture, &outer, EDGE_SUNKEN, BF_RECT);
    else if (GetWindowLongA(hwnd, GWL_STYLE) & WS_BORDER)
      FrameRect(picture, &outer, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  RestoreDC(picture, saved);

  RECT area;
  GetClientRect(hwnd, &area);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  RECT client = area;
  OffsetRect(&client, origin.x - top.x, origin.y - top.y);
  const RECT inner = Intersection(clip, client);
  if (IsRectEmpty(&inner)) return;
  HDC own = CreateCompatibleDC(picture);
  HBITMAP bitmap = CreateCompatibleBitmap(picture, area.right, area.bottom);
  if (bitmap) {
    HGDIOBJ old = SelectObject(own, bitmap);
    FillRect(own, &area, GetSysColorBrush(COLOR_3DFACE));
    SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(own), 0);
    SendMessageA(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(own), PRF_CLIENT);
    BitBlt(picture, inner.left, inner.top, inner.right - inner.left, inner.bottom - inner.top, own,
           inner.left - client.left, inner.top - client.top, SRCCOPY);
    SelectObject(own, old);
    DeleteObject(bitmap);
  }
  DeleteDC(own);
  // Bottom of the z-order first, so that the top one ends up in front.
  const HWND first = GetWindow(hwnd, GW_CHILD);
  for (HWND child = first ? GetWindow(first, GW_HWNDLAST) : nullptr; child;
       child = GetWindow(child, GW_HWNDPREV)) {
    if (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) PrintWindowTree(child, picture, top, inner, true);
  }
}

// The canvas's pixels as RGB bytes.
WindowPicture PictureOf(wingui::DibBitmap& canvas, int w, int h) {
  GdiFlush();
  WindowPicture picture;
  picture.width = w;
  picture.height = h;
  picture.rgb.resize(static_cast<std::size_t>(w) * h * 3);
  for (std::size_t i = 0; i < static_cast<std::size_t>(w) * h; ++i) {
    const std::uint32_t pixel = canvas.bits()[i];
    picture.rgb[i * 3] = static_cast<std::uint8_t>(pixel >> 16);
    picture.rgb[i * 3 + 1] = static_cast<std::uint8_t>(pixel >> 8);
    picture.rgb[i * 3 + 2] = static_cast<std::uint8_t>(pixel);
  }
  return picture;
}

}  // namespace

WindowPicture CaptureWindow(HWND hwnd) {
  RECT r;
  if (!GetWindowRect(hwnd, &r)) return {};
  const int w = r.right - r.left, h = r.bottom - r.top;
  wingui::DibBitmap canvas(w, h);
  if (!canvas) return {};
  // The frame and caption are not drawn: the window's own face colour stands for them.
  const RECT all{0, 0, w, h};
  FillRect(canvas.dc(), &all, GetSysColorBrush(COLOR_3DFACE));
  PrintWindowTree(hwnd, canvas.dc(), POINT{r.left, r.top}, all, false);
  return PictureOf(canvas, w, h);
}

WindowPicture CaptureScreenArea(HWND hwnd) {
  RECT r;
  if (!GetWindowRect(hwnd, &r)) return {};
  const int w = r.right - r.left, h = r.bottom - r.top;
  wingui::DibBitmap canvas(w, h);
  if (!canvas) return {};
  const HDC screen = GetDC(nullptr);
  const bool copied = BitBlt(canvas.dc(), 0, 0, w, h, screen, r.left, r.top, SRCCOPY) != FALSE;
  ReleaseDC(nullptr, screen);
  return copied ? PictureOf(canvas, w, h) : WindowPicture{};
}

namespace {

bool SavePng(const WindowPicture& picture, const std::string& path) {
  return picture && WriteBinaryFile(path, EncodePngRgb(picture.width, picture.height, picture.rgb));
}

// build/pictures/<name>.png: tests run with ORVANE_BIN set to build\bin, the pictures go beside it.
std::string PicturePath(const std::string& name) {
  char bin[MAX_PATH] = "";
  const DWORD n = GetEnvironmentVariableA("ORVANE_BIN", bin, sizeof bin);
  std::string folder = n > 0 && n < sizeof bin ? std::string(bin) + "\\..\\pictures" : "pictures";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder + "\\" + name + ".png";
}

}  // namespace

bool SaveWindowPng(HWND hwnd, const std::string& path) { return SavePng(CaptureWindow(hwnd), path); }

std::string SavePicture(HWND hwnd, const std::string& name) {
  const std::string path = PicturePath(name);
  return SaveWindowPng(hwnd, path) ? path : std::string();
}

std::string SaveScreenPicture(HWND hwnd, const std::string& name) {
  const std::string path = PicturePath(name);
  return SavePng(CaptureScreenArea(hwnd), path) ? path : std::string();
}

ChildProcess::~ChildProcess() { Kill(); }

bool ChildProcess::Start(const std::string& commandLine, const std::string& workDir) {
  Kill();
  STARTUPINFOA si{};
  si.cb = sizeof si;
  std::vector<char> cmd(commandLine.begin(), commandLine.end());
  cmd.push_back('\0');
  return CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workDir.empty() ? nullptr : workDir.c_str(), &si, &pi_) != 0;
}

bool ChildProcess::Wait(unsigned timeoutMs) {
  return pi_.hProcess && WaitForSingleObject(pi_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

DWORD ChildProcess::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (pi_.hProcess) GetExitCodeProcess(pi_.hProcess, &code);
  return code;
}

void ChildProcess::Kill() {
  if (!pi_.hProcess) return;
  if (WaitForSingleObject(pi_.hProcess, 0) != WAIT_OBJECT_0) {
    TerminateProcess(pi_.hProcess, 1);
    WaitForSingleObject(pi_.hProcess, 5000);
  }
  CloseHandle(pi_.hProcess);
  CloseHandle(pi_.hThread);
  pi_ = {};
}

namespace {

// Reads a pipe to its end on a thread of its own, so that a child filling both pipes never
// blocks.
class PipeReader {
 public:
  bool Open(HANDLE& childEnd) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE read = nullptr;
    if (!CreatePipe(&read, &childEnd, &sa, 0)) return false;
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    read_ = read;
    return true;
  }
  void Start() {
    thread_ = std::thread([this] {
      char chunk[4096];
      DWORD n = 0;
      while (ReadFile(read_, chunk, sizeof chunk, &n, nullptr) && n > 0) text_.append(chunk, n);
    });
  }
  std::string Finish() {
    if (thread_.joinable()) thread_.join();
    return text_;
  }
  ~PipeReader() {
    if (thread_.joinable()) thread_.join();
    if (read_) CloseHandle(read_);
  }

 private:
  HANDLE read_ = nullptr;
  std::thread thread_;
  std::string text_;
};

}  // namespace

CapturedRun RunCaptured(const std::string& commandLine, unsigned timeoutMs) {
  CapturedRun run;
  PipeReader out, err;
  HANDLE outChild = nullptr, errChild = nullptr;
  if (!out.Open(outChild)) return run;
  if (!err.Open(errChild)) {
    CloseHandle(outChild);
    return run;
  }
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  si.hStdOutput = outChild;
  si.hStdError = errChild;
  std::vector<char> cmd(commandLine.begin(), commandLine.end());
  cmd.push_back('\0');
  PROCESS_INFORMATION pi{};
  BOOL started = CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                &si, &pi);
  // Only the child keeps the write ends, so the readers see the end when it exits.
  CloseHandle(outChild);
  CloseHandle(errChild);
  if (!started) return run;
  out.Start();
  err.Start();
  if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0) {
    run.finished = true;
    GetExitCodeProcess(pi.hProcess, &run.exitCode);
  } else {
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 5000);
  }
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  run.out = out.Finish();
  run.err = err.Finish();
  return run;
}

int OwnHandleCount() {
  // The system's handle table, one entry per handle of every process.
  struct HandleEntry {
    ULONG ownerPid;
    BYTE objectType;
    BYTE flags;
    USHORT value;
    PVOID object;
    ULONG access;
  };
  using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
  constexpr ULONG kSystemHandleInformation = 16;
  constexpr LONG kLengthMismatch = static_cast<LONG>(0xC0000004);
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return -1;
  std::vector<BYTE> buffer(1 << 16);
  for (;;) {
    ULONG needed = 0;
    const LONG status = query(kSystemHandleInformation, buffer.data(),
                              static_cast<ULONG>(buffer.size()), &needed);
    if (status == kLengthMismatch && buffer.size() < (64u << 20)) {
      buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed));
      continue;
    }
    if (status != 0) return -1;
    break;
  }
  const ULONG entries = *reinterpret_cast<const ULONG*>(buffer.data());
  const auto* entry = reinterpret_cast<const HandleEntry*>(buffer.data() + sizeof(ULONG_PTR));
  const DWORD self = GetCurrentProcessId();
  int count = 0;
  for (ULONG i = 0; i < entries; ++i)
    if (entry[i].ownerPid == self) ++count;
  return count;
}

}  // namespace testsupport
