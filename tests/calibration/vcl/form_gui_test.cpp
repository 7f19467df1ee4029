// The stand-in's forms and pages under real messages: a handler that throws is reported in a
// box and the form goes on, a tick never re-enters its handler, a page hands its controls'
// clicks to the form, and the close query decides whether the form closes.
#include "calibration/vcl/form.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "tests/calibration/fake_system.h"
#include "tests/support/win_test.h"

using testsupport::PumpMessages;
using testsupport::WaitUntil;

namespace {

constexpr int kTick = 1;

class ProbeForm : public vcl::Form {
 public:
  explicit ProbeForm(FakeSystem& system) : vcl::Form(system, {"TProbeForm", "Probe", 240, 160}) {}
  std::function<void()> onTick;
  int ticks = 0;
  bool canClose = true;

 protected:
  bool CanClose() override { return canClose; }
  void OnTimer(int id) override {
    if (id != kTick) return;
    ++ticks;
    if (onTick) onTick();
  }
};

class Form : public ::testing::Test {
 protected:
  // Never shown (but by the modal run), so that it takes the focus from no other test's window.
  void Click(vcl::Button& button) { SendMessageA(button.Handle(), BM_CLICK, 0, 0); }

  FakeSystem system_;
  ProbeForm form_{system_};
};

TEST_F(Form, AHandlerThatThrowsIsReportedInABoxAndTheFormGoesOn) {
  vcl::Page& page = form_.AddPage(1, {0, 0, 240, 100});
  page.SetVisible(true);
  int clicks = 0;
  vcl::Button& onForm = form_.AddButton(form_.Handle(), {10, 110, 80, 24}, "Form");
  vcl::Button& onPage = form_.AddButton(page.Handle(), {10, 10, 80, 24}, "Page");
  onForm.onClick = [](vcl::Button&) { throw std::runtime_error("the form's button broke"); };
  onPage.onClick = [&](vcl::Button&) {
    ++clicks;
    throw std::runtime_error("the page's button broke");
  };
  vcl::MenuItem& menu = form_.Menu().AddMenu("&File");
  vcl::MenuItem& item = form_.Menu().AddItem(menu, "&Open");
  item.onClick = [](vcl::MenuItem&) { throw std::runtime_error("the menu broke"); };

  Click(onForm);
  Click(onPage);
  SendMessageA(form_.Handle(), WM_COMMAND, static_cast<WPARAM>(item.Id()), 0);
  Click(onPage);
  EXPECT_EQ(system_.TakeTexts(), (std::vector<std::string>{"the form's button broke", "the page's button broke",
                                                           "the menu broke", "the page's button broke"}));
  EXPECT_EQ(clicks, 2) << "the page passes its button's clicks to the form";
  EXPECT_TRUE(IsWindow(form_.Handle()));
}

TEST_F(Form, ATickNeverReentersItsHandler) {
  int ticksSeenUnderTheBox = -1;
  form_.onTick = [&] {
    if (form_.ticks != 1) return;
    // A box's own message loop, which delivers the timer's further ticks.
    PumpMessages(150);
    ticksSeenUnderTheBox = form_.ticks;
  };
  form_.SetTimer(kTick, 10, true);
  EXPECT_TRUE(form_.TimerEnabled(kTick));
  ASSERT_TRUE(WaitUntil([&] { return form_.ticks >= 3; }, 5000));
  EXPECT_EQ(ticksSeenUnderTheBox, 1);
  form_.SetTimer(kTick, 10, false);
  EXPECT_FALSE(form_.TimerEnabled(kTick));
  PumpMessages(30);
  const int ticks = form_.ticks;
  PumpMessages(60);
  EXPECT_EQ(form_.ticks, ticks) << "a stopped timer ticks no more";
}

TEST_F(Form, TheCloseQueryDecidesAndAModalRunEndsCancelled) {
  HWND hwnd = form_.Handle();
  form_.canClose = false;
  form_.Close();
  EXPECT_TRUE(IsWindow(hwnd));

  form_.canClose = true;
  PostMessageA(hwnd, WM_CLOSE, 0, 0);
  EXPECT_EQ(form_.ShowModal(), IDCANCEL);
  EXPECT_TRUE(IsWindow(hwnd)) << "a modal form is only hidden";
  EXPECT_FALSE(IsWindowVisible(hwnd));

  form_.Close();
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(form_.Handle(), nullptr);
}

}  // namespace
