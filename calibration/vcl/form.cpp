// Forms over plain Win32.
#include "calibration/vcl/form.h"

#include <commctrl.h>

#include "calibration/vcl/application.h"

namespace vcl {

namespace {

void RegisterFormClass(const char* name) {
  wingui::WindowClass form;
  form.name = name;
  form.style = 0;
  form.icon = LoadIconA(wingui::ProgramInstance(), MAKEINTRESOURCEA(1));
  form.background = FaceBrush();
  wingui::RegisterWindowClass(form);
}

HFONT MakeFont(int height, int weight) {
  return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_SWISS, "Tahoma");
}

}  // namespace

Form::Form(System& system, const FormStyle& style, HWND owner)
    : system_(system), owner_(owner), font_(MakeFont(-11, FW_NORMAL)),
      boldFont_(MakeFont(-11, FW_BOLD)), titleFont_(MakeFont(-16, FW_BOLD)) {
  static bool commonControls = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)commonControls;
  RegisterFormClass(style.className);
  const DWORD windowStyle = style.dialogFrame
                                ? WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME
                                : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  const DWORD exStyle = WS_EX_CONTROLPARENT | (style.dialogFrame ? WS_EX_DLGMODALFRAME : 0);
  RECT r{0, 0, style.clientWidth, style.clientHeight};
  AdjustWindowRectEx(&r, windowStyle, FALSE, exStyle);
  CreateArgs args;
  args.className = style.className;
  args.title = style.caption;
  args.style = windowStyle | WS_CLIPCHILDREN;
  args.exStyle = exStyle;
  args.width = r.right - r.left;
  args.height = r.bottom - r.top;
  args.parent = owner;
  Create(args);
}

Form::~Form() {
  // Out of the map first, so that no handler runs on the half-destroyed form; its controls and
  // pages go with the window, while their objects are still whole.
  if (const HWND hwnd = Handle()) {
    Detach();
    DestroyWindow(hwnd);
  }
  DeleteObject(font_);
  DeleteObject(boldFont_);
  DeleteObject(titleFont_);
}

void Form::Show() {
  ShowWindow(hwnd(), SW_SHOW);
  UpdateWindow(hwnd());
}

void Form::Close() { SendMessageA(hwnd(), WM_CLOSE, 0, 0); }

int Form::ShowModal() {
  modalResult_ = 0;
  modal_ = true;
  if (owner_) {
    RECT o, m;
    GetWindowRect(owner_, &o);
    GetWindowRect(hwnd(), &m);
    SetWindowPos(hwnd(), nullptr, o.left + ((o.right - o.left) - (m.right - m.left)) / 2,
                 o.top + ((o.bottom - o.top) - (m.bottom - m.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    EnableWindow(owner_, FALSE);
  }
  ShowWindow(hwnd(), SW_SHOW);
  MSG msg;
  bool quit = false;
  while (modalResult_ == 0 && IsWindow(hwnd())) {
    if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
      quit = true;
      break;
    }
    if (IsDialogMessageA(hwnd(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (owner_) EnableWindow(owner_, TRUE);
  if (IsWindow(hwnd())) ShowWindow(hwnd(), SW_HIDE);
  if (owner_) SetActiveWindow(owner_);
  modal_ = false;
  if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
  return modalResult_;
}

Page& Form::AddPage(int number, const Bounds& bounds) {
  pages_.push_back(std::make_unique<Page>(hwnd(), number, bounds));
  return *pages_.back();
}

Label& Form::AddLabel(HWND parent, const Bounds& bounds, const std::string& text,
                      Label::Sizing sizing, bool clickable, HFONT font) {
  auto label = std::make_unique<Label>(parent, NextId(), bounds, text, font ? font : font_, sizing,
                                       clickable);
  Label& ref = *label;
  controls_.push_back(std::move(label));
  return ref;
}

Button& Form::AddButton(HWND parent, const Bounds& bounds, const std::string& text, int tag) {
  auto button = std::make_unique<Button>(parent, NextId(), bounds, text, font_, tag);
  Button& ref = *button;
  controls_.push_back(std::move(button));
  return ref;
}

ListBox& Form::AddListBox(HWND parent, const Bounds& bounds) {
  auto list = std::make_unique<ListBox>(parent, NextId(), bounds, font_);
  ListBox& ref = *list;
  controls_.push_back(std::move(list));
  return ref;
}

StatusBar& Form::AddStatusBar() {
  auto bar = std::make_unique<StatusBar>(hwnd(), NextId(), font_);
  StatusBar& ref = *bar;
  controls_.push_back(std::move(bar));
  return ref;
}

MainMenu& Form::Menu() {
  if (!menu_) {
    menu_ = std::make_unique<MainMenu>();
    menu_->AttachTo(hwnd());
  }
  return *menu_;
}

void Form::SetTimer(int id, unsigned intervalMs, bool enabled) {
  TimerState& t = timers_[id];
  if (t.enabled == enabled && t.interval == intervalMs) return;
  t.enabled = enabled;
  t.interval = intervalMs;
  if (enabled) ::SetTimer(hwnd(), static_cast<UINT_PTR>(id), intervalMs, nullptr);
  else KillTimer(hwnd(), static_cast<UINT_PTR>(id));
}

bool Form::TimerEnabled(int id) const {
  auto it = timers_.find(id);
  return it != timers_.end() && it->second.enabled;
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      SetBkColor(dc, kFaceColour);
      SetTextColor(dc, RGB(0, 0, 0));
      return reinterpret_cast<LRESULT>(FaceBrush());
    }
    case WM_SETCURSOR:
      if (Application::Busy()) {
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
  }
  wingui::Message m{msg, wp, lp};
  return wingui::Window::HandleMessage(m) ? m.result : DefaultProc(msg, wp, lp);
}

bool Form::HandleMessage(wingui::Message& m) {
  try {
    m.result = HandleMessage(m.id, m.wParam, m.lParam);
  } catch (const std::exception& e) {
    Application::ShowException(system_, e);
    m.result = 0;
  }
  return true;
}

bool Form::OnCommand(int id, int code, HWND control) {
  if (!control) {  // a menu item
    if (menu_)
      if (MenuItem* item = menu_->Find(id); item && item->Enabled() && item->onClick) item->onClick(*item);
    return true;
  }
  for (auto& c : controls_) {
    if (c->Id() != id || c->Handle() != control) continue;
    if (auto* button = dynamic_cast<Button*>(c.get()); button && code == BN_CLICKED) {
      // A click posted to a disabled or hidden button (BM_CLICK still clicks it) is none
      // a user could make.
      button->Click();
    } else if (auto* label = dynamic_cast<Label*>(c.get()); label && code == STN_CLICKED) {
      if (label->onClick) label->onClick();
    }
    break;
  }
  return true;
}

bool Form::OnTimer(UINT_PTR id) {
  auto it = timers_.find(static_cast<int>(id));
  if (it == timers_.end() || !it->second.enabled || it->second.running) return true;
  it->second.running = true;
  struct Reset {
    std::map<int, TimerState>& timers;
    int id;
    ~Reset() {
      auto found = timers.find(id);
      if (found != timers.end()) found->second.running = false;
    }
  } reset{timers_, static_cast<int>(id)};
  OnTimer(static_cast<int>(id));
  return true;
}

bool Form::OnSize(int /*width*/, int /*height*/) {
  for (auto& c : controls_)
    if (dynamic_cast<StatusBar*>(c.get())) SendMessageA(c->Handle(), WM_SIZE, 0, 0);
  return false;
}

bool Form::OnClose() {
  if (CanClose()) {
    if (modal_) modalResult_ = IDCANCEL;
    else DestroyWindow(hwnd());
  }
  return true;
}

void Form::OnDestroy() {
  if (quitOnDestroy_) PostQuitMessage(0);
}

}  // namespace vcl
