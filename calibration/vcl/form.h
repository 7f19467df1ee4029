// Top-level forms of the stand-in, on the window layer's base: a window of its own class with
// the face colour, child controls and pages it owns, a menu, window timers, a close query and a
// modal run. Every message's handling is guarded: an exception is reported in a box and the
// program goes on.
#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "calibration/vcl/controls.h"
#include "calibration/vcl/menu.h"
#include "calibration/vcl/page.h"
#include "calibration/vcl/system.h"
#include "platform/wingui/window.h"

namespace vcl {

struct FormStyle {
  const char* className;
  std::string caption;
  int clientWidth;
  int clientHeight;
  bool dialogFrame = false;  // a fixed dialog frame (about boxes) instead of a main window's
};

class Form : public wingui::Window {
 public:
  Form(System& system, const FormStyle& style, HWND owner = nullptr);
  ~Form() override;

  HWND Handle() const { return hwnd(); }
  System& GetSystem() const { return system_; }
  void Show();
  // Asks the close query and closes when it allows.
  void Close();
  // Shows the form over its disabled owner until a modal result is set or it is closed.
  int ShowModal();
  void SetModalResult(int result) { modalResult_ = result; }
  // Ends the program's loop when the window goes.
  void SetQuitOnDestroy(bool quit) { quitOnDestroy_ = quit; }

  Page& AddPage(int number, const Bounds& bounds);
  Label& AddLabel(HWND parent, const Bounds& bounds, const std::string& text,
                  Label::Sizing sizing = Label::Sizing::Fixed, bool clickable = false,
                  HFONT font = nullptr);
  Button& AddButton(HWND parent, const Bounds& bounds, const std::string& text, int tag = 0);
  ListBox& AddListBox(HWND parent, const Bounds& bounds);
  StatusBar& AddStatusBar();
  MainMenu& Menu();

  // A window timer; enabling an enabled timer changes nothing. A tick never re-enters its
  // handler (a message box shown from it lets further ticks in).
  void SetTimer(int id, unsigned intervalMs, bool enabled);
  bool TimerEnabled(int id) const;

  HFONT Font() const { return font_; }
  HFONT BoldFont() const { return boldFont_; }
  HFONT TitleFont() const { return titleFont_; }

 protected:
  virtual bool CanClose() { return true; }
  virtual void OnTimer(int /*id*/) {}
  // Every message of the form. The default answers the form's colours and cursor and hands the
  // rest to the window's handlers below.
  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  // The window's side: every message goes through the form's HandleMessage, guarded.
  bool HandleMessage(wingui::Message& m) final;
  bool OnCommand(int id, int code, HWND control) final;
  bool OnTimer(UINT_PTR id) final;  // the guarded tick, which calls OnTimer(int)
  bool OnSize(int width, int height) final;
  bool OnClose() final;
  void OnDestroy() final;
  int NextId() { return nextControlId_++; }

  struct TimerState {
    unsigned interval = 0;
    bool enabled = false;
    bool running = false;
  };

  System& system_;
  HWND owner_;
  HFONT font_, boldFont_, titleFont_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<std::unique_ptr<Page>> pages_;
  std::unique_ptr<MainMenu> menu_;
  std::map<int, TimerState> timers_;
  int nextControlId_ = 100;
  int modalResult_ = 0;
  bool modal_ = false;
  bool quitOnDestroy_ = false;
};

}  // namespace vcl
