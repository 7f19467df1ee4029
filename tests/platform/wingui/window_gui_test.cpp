// Windows and dialogs found from their handles: made from code and from templates, attached,
// destroyed, and gone from the map afterwards.
#include "platform/wingui/window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <thread>
#include <vector>

#include "platform/wingui/controls.h"
#include "platform/wingui/dialog.h"
#include "platform/wingui/message_pump.h"
#include "platform/wingui/rich_edit.h"
#include "platform/wingui/timer.h"
#include "platform/wingui/window_map.h"
#include "tests/platform/wingui/wingui_test_resources.h"
#include "tests/support/win_test.h"

using namespace wingui;

namespace {

constexpr char kProbeClass[] = "WinguiProbeClass";
constexpr char kProbeDialogClass[] = "WinguiProbeDialogClass";
constexpr int kEndWith42 = 77;

// Index of the first msg in seen, or -1.
int IndexOf(const std::vector<UINT>& seen, UINT msg) {
  const auto it = std::find(seen.begin(), seen.end(), msg);
  return it == seen.end() ? -1 : static_cast<int>(it - seen.begin());
}

class ProbeWindow : public Window {
 public:
  std::vector<UINT> seen;
  int lastCommand = 0;
  int ticks = 0;
  bool refuseCreation = false;
  bool* destroyed = nullptr;

 protected:
  bool HandleMessage(Message& m) override {
    seen.push_back(m.id);
    return Window::HandleMessage(m);
  }
  bool OnCreate() override { return !refuseCreation; }
  bool OnCommand(int id, int, HWND) override {
    lastCommand = id;
    return true;
  }
  bool OnTimer(UINT_PTR) override {
    ++ticks;
    return true;
  }
  void OnDestroy() override {
    if (destroyed) *destroyed = true;
  }
};

class ProbeDialog : public Dialog {
 public:
  explicit ProbeDialog(int templateId = IDD_PROBE) : Dialog(templateId) {}
  std::vector<UINT> seen;
  int measuredControl = 0;
  bool endAtOnce = false;

 protected:
  bool HandleMessage(Message& m) override {
    seen.push_back(m.id);
    return Dialog::HandleMessage(m);
  }
  bool OnInitDialog() override {
    if (endAtOnce) Post(WM_COMMAND, kEndWith42);
    return true;
  }
  bool OnMeasureItem(MEASUREITEMSTRUCT& item) override {
    measuredControl = static_cast<int>(item.CtlID);
    item.itemHeight = 14;
    return true;
  }
  bool OnCommand(int id, int code, HWND control) override {
    if (id == kEndWith42) {
      End(42);
      return true;
    }
    return Dialog::OnCommand(id, code, control);
  }
  bool OnNotify(const NMHDR& header, LRESULT& result) override {
    if (header.code != 0x1234u) return false;
    result = 5678;
    return true;
  }
};

class WindowLayer : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(RegisterWindowClass({kProbeClass}));
    WindowClass dialogClass;
    dialogClass.name = kProbeDialogClass;
    dialogClass.forDialogs = true;
    dialogClass.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    ASSERT_TRUE(RegisterWindowClass(dialogClass));
    ASSERT_TRUE(LoadRichEdit());
    ASSERT_TRUE(InitCommonControls(ICC_LISTVIEW_CLASSES));
  }
  void SetUp() override { mapped_ = window_map::Size(); }
  // Every test leaves the map as it found it.
  void TearDown() override { EXPECT_EQ(window_map::Size(), mapped_); }

  static Window::CreateArgs Probe() {
    Window::CreateArgs args;
    args.className = kProbeClass;
    args.title = "Probe";
    args.width = 200;
    args.height = 120;
    return args;
  }

  std::size_t mapped_ = 0;
};

TEST_F(WindowLayer, AWindowMadeFromCodeIsFoundFromItsHandleAndLeavesTheMapWhenDestroyed) {
  ProbeWindow window;
  bool destroyed = false;
  window.destroyed = &destroyed;
  ASSERT_TRUE(window.Create(Probe()));
  const HWND hwnd = window.hwnd();
  EXPECT_EQ(Window::FromHandle(hwnd), &window);
  EXPECT_EQ(Window::FromHandleAs<ProbeWindow>(hwnd), &window);
  EXPECT_EQ(Window::FromHandleAs<Dialog>(hwnd), nullptr);
  EXPECT_EQ(window_map::Size(), mapped_ + 1);
  // The object answers from the first message on, creation included.
  const int ncCreate = IndexOf(window.seen, WM_NCCREATE);
  ASSERT_GE(ncCreate, 0);
  EXPECT_GT(IndexOf(window.seen, WM_CREATE), ncCreate);

  SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(321, 0), 0);
  EXPECT_EQ(window.lastCommand, 321);
  window.SetText("Renamed");
  EXPECT_EQ(window.Text(), "Renamed");

  window.Destroy();
  EXPECT_TRUE(destroyed);
  EXPECT_FALSE(window.IsOpen());
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(Window::FromHandle(hwnd), nullptr);
}

TEST_F(WindowLayer, ARefusedCreationLeavesNothingBehind) {
  ProbeWindow window;
  window.refuseCreation = true;
  EXPECT_FALSE(window.Create(Probe()));
  EXPECT_FALSE(window.IsOpen());
  // The object can try again.
  window.refuseCreation = false;
  EXPECT_TRUE(window.Create(Probe()));
}

TEST_F(WindowLayer, TheObjectGoingDestroysItsWindowWithoutCallingIntoItself) {
  bool destroyed = false;
  auto window = std::make_unique<ProbeWindow>();
  window->destroyed = &destroyed;
  ASSERT_TRUE(window->Create(Probe()));
  const HWND hwnd = window->hwnd();
  window.reset();
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_FALSE(destroyed);  // no handler of a half-destroyed object ran
}

TEST_F(WindowLayer, SystemControlsAreSubclassedAndGivenBackOnDetach) {
  ProbeWindow parent;
  ASSERT_TRUE(parent.Create(Probe()));
  ProbeWindow edit;
  Window::CreateArgs args;
  args.className = "EDIT";
  args.style = WS_CHILD | WS_VISIBLE;
  args.x = args.y = 0;
  args.width = 100;
  args.height = 20;
  args.parent = parent.hwnd();
  args.menuOrId = reinterpret_cast<HMENU>(55);
  ASSERT_TRUE(edit.Create(args));
  EXPECT_EQ(Window::FromHandle(edit.hwnd()), &edit);
  EXPECT_EQ(parent.Item(55), edit.hwnd());

  // Seen by the object, then done by the edit control's own procedure.
  edit.SetText("typed");
  EXPECT_GE(IndexOf(edit.seen, WM_SETTEXT), 0);
  EXPECT_EQ(Control(edit.hwnd()).Text(), "typed");

  const HWND hwnd = edit.hwnd();
  edit.Detach();
  EXPECT_EQ(Window::FromHandle(hwnd), nullptr);
  const std::size_t seenBefore = edit.seen.size();
  SetWindowTextA(hwnd, "again");
  EXPECT_EQ(edit.seen.size(), seenBefore);
  EXPECT_EQ(Control(hwnd).Text(), "again");
  EXPECT_TRUE(IsWindow(hwnd));  // a detached window lives on with its parent

  // Attaching an existing control of a template or of code.
  ProbeWindow attached;
  ASSERT_TRUE(attached.Attach(hwnd));
  EXPECT_FALSE(ProbeWindow().Attach(hwnd));  // one object per window
  SetWindowTextA(hwnd, "third");
  EXPECT_GE(IndexOf(attached.seen, WM_SETTEXT), 0);
  parent.Destroy();
  EXPECT_FALSE(attached.IsOpen());
}

TEST_F(WindowLayer, ATemplateDialogIsMappedBeforeItsControlsAreMeasured) {
  ProbeDialog dialog;
  dialog.endAtOnce = true;
  EXPECT_EQ(dialog.ShowModal(nullptr), 42);
  EXPECT_FALSE(dialog.IsOpen());
  EXPECT_TRUE(dialog.IsModal());
  // The owner-drawn list box is measured while the dialog makes its controls, before
  // WM_INITDIALOG: the object already answered.
  EXPECT_EQ(dialog.measuredControl, IDC_OWNER_LIST);
  const int measured = IndexOf(dialog.seen, WM_MEASUREITEM);
  ASSERT_GE(measured, 0);
  EXPECT_LT(measured, IndexOf(dialog.seen, WM_INITDIALOG));
  EXPECT_GE(IndexOf(dialog.seen, WM_NCDESTROY), 0);
}

TEST_F(WindowLayer, OkAndCancelEndAModalDialogWithTheirIds) {
  for (const int id : {IDOK, IDCANCEL}) {
    ProbeDialog dialog;
    std::thread presser([id] {
      const HWND box = testsupport::WaitForProcessWindow(GetCurrentProcessId(), "Wingui Probe", 10000);
      if (box) PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(id), 0);
    });
    EXPECT_EQ(dialog.ShowModal(nullptr), id);
    presser.join();
  }
}

TEST_F(WindowLayer, AModelessDialogIsInThePumpUntilItGoes) {
  MessagePump& pump = MessagePump::ForThisThread();
  ProbeDialog dialog;
  ASSERT_TRUE(dialog.CreateModeless(nullptr));
  const HWND hwnd = dialog.hwnd();
  EXPECT_FALSE(dialog.IsModal());
  EXPECT_EQ(Window::FromHandleAs<ProbeDialog>(hwnd), &dialog);
  EXPECT_TRUE(pump.HasDialog(hwnd));
  EXPECT_TRUE(IsWindowVisible(hwnd));

  // A notification's answer goes back through the dialog's result slot.
  NMHDR header{hwnd, 1, 0x1234u};
  EXPECT_EQ(SendMessageA(hwnd, WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&header)), 5678);

  SendMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);  // a modeless dialog is destroyed
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_FALSE(dialog.IsOpen());
  EXPECT_FALSE(pump.HasDialog(hwnd));

  // The object going takes its open dialog out of the pump too.
  HWND second;
  {
    ProbeDialog other;
    ASSERT_TRUE(other.CreateModeless(nullptr));
    second = other.hwnd();
    EXPECT_TRUE(pump.HasDialog(second));
  }
  EXPECT_FALSE(IsWindow(second));
  EXPECT_FALSE(pump.HasDialog(second));
}

TEST_F(WindowLayer, AnUnpumpedDialogIsAnsweredByItsObjectOutsideThePump) {
  MessagePump& pump = MessagePump::ForThisThread();
  ProbeDialog dialog;
  ASSERT_TRUE(dialog.CreateModeless(nullptr, nullptr, wingui::Dialog::Keys::ToControls));
  const HWND hwnd = dialog.hwnd();
  EXPECT_EQ(Window::FromHandleAs<ProbeDialog>(hwnd), &dialog);
  EXPECT_FALSE(pump.HasDialog(hwnd));  // its keys are no dialog keys
  EXPECT_FALSE(dialog.CreateModeless(nullptr, nullptr, wingui::Dialog::Keys::ToControls));  // once only
  NMHDR header{hwnd, 1, 0x1234u};
  EXPECT_EQ(SendMessageA(hwnd, WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&header)), 5678);
  dialog.Destroy();
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_FALSE(dialog.IsOpen());
}

TEST_F(WindowLayer, ADialogOfAClassOfOursIsAnsweredByItsObject) {
  std::string className;
  struct Capture : ProbeDialog {
    using ProbeDialog::ProbeDialog;
    std::string* className = nullptr;
    bool OnInitDialog() override {
      *className = testsupport::ClassName(hwnd());
      return ProbeDialog::OnInitDialog();
    }
  } capture(IDD_CLASS_PROBE);
  capture.endAtOnce = true;
  capture.className = &className;
  EXPECT_EQ(capture.ShowModal(nullptr), 42);
  EXPECT_EQ(className, kProbeDialogClass);
}

TEST_F(WindowLayer, ATimerTicksUntilStopped) {
  ProbeWindow window;
  ASSERT_TRUE(window.Create(Probe()));
  Timer timer(window.hwnd(), 7, 10);
  EXPECT_TRUE(timer.IsRunning());
  ASSERT_TRUE(testsupport::WaitUntil([&] { return window.ticks >= 2; }, 5000));
  timer.Stop();
  testsupport::PumpMessages(30);  // a tick already queued may still come
  const int ticks = window.ticks;
  testsupport::PumpMessages(60);
  EXPECT_EQ(window.ticks, ticks);
}

}  // namespace
