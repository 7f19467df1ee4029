#pragma once
// The base of every window of ours: an object found from its window handle, whose virtual
// handlers turn messages into calls, so that a view only overrides what it answers.

#include <windows.h>

#include <string>

namespace wingui {

// One message on its way through HandleMessage; a handler that takes it sets result.
struct Message {
  UINT id;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT result = 0;
};

// A window class whose windows are routed to Window objects.
struct WindowClass {
  std::string name;
  UINT style = CS_HREDRAW | CS_VREDRAW;
  HICON icon = nullptr;
  HICON smallIcon = nullptr;
  HCURSOR cursor = nullptr;  // null: the arrow
  HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  int menuId = 0;  // a menu resource every window of the class gets; 0: none
  // The class a dialog template names: the dialog manager's procedure and its extra bytes, so
  // that the Dialog object answers its messages.
  bool forDialogs = false;
  HINSTANCE instance = nullptr;  // null: the program's module
};
// True when the class is registered now or was already.
bool RegisterWindowClass(const WindowClass& windowClass);

class Window {
 public:
  Window() = default;
  // A window still open is taken out of the map first and then destroyed, so no handler of the
  // half-destroyed object runs; a view that must see WM_DESTROY calls Destroy() itself.
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return hwnd_; }
  bool IsOpen() const { return hwnd_ != nullptr; }
  // The object of a window, or null when the window is not one of ours. Meant for the window's
  // own thread: on another, the object may go at any moment.
  static Window* FromHandle(HWND hwnd);
  template <class T>
  static T* FromHandleAs(HWND hwnd) {
    return dynamic_cast<T*>(FromHandle(hwnd));
  }

  struct CreateArgs {
    std::string className;  // one of RegisterWindowClass, or a system class (then subclassed)
    std::string title;
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    int width = CW_USEDEFAULT;
    int height = CW_USEDEFAULT;
    HWND parent = nullptr;
    HMENU menuOrId = nullptr;  // a menu bar the window then owns, or a child's control id
    HINSTANCE instance = nullptr;  // null: the program's module
  };
  // Creates the window on the calling thread; false when it could not be made (or when
  // OnCreate refused it). A window of a class of ours is in the map from its first message.
  bool Create(const CreateArgs& args);
  // Takes over an existing window (a control of a dialog template): one of our classes is only
  // mapped; any other is subclassed, its old procedure doing the default processing. The
  // window is not destroyed with the object.
  bool Attach(HWND hwnd);
  // Gives the window back (the old procedure again) without destroying it.
  void Detach();
  // DestroyWindow, with every handler running; the object stays, closed.
  void Destroy();

  // Small conveniences over the handle.
  std::string Text() const;
  void SetText(const std::string& text) const;
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
  RECT ClientRect() const;
  void Show(int command = SW_SHOW) const { ShowWindow(hwnd_, command); }
  void Invalidate(bool erase = false) const { InvalidateRect(hwnd_, nullptr, erase); }
  LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return SendMessageA(hwnd_, msg, wParam, lParam);
  }
  bool Post(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return PostMessageA(hwnd_, msg, wParam, lParam) != 0;
  }

 protected:
  // Every message comes here first. The default routes the common ones to the handlers below;
  // override it for any other message and call it for the rest. True when handled.
  virtual bool HandleMessage(Message& msg);
  // What a message nobody handled gets: DefWindowProc, or the old procedure of a subclassed
  // window.
  virtual LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam);

  // Handlers; each returns true when it handled the message.
  virtual bool OnCreate() { return true; }  // WM_CREATE: false makes creation fail
  virtual bool OnCommand(int /*id*/, int /*code*/, HWND /*control*/) { return false; }
  virtual bool OnNotify(const NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
  virtual bool OnTimer(UINT_PTR /*id*/) { return false; }
  virtual bool OnDrawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }
  virtual bool OnMeasureItem(MEASUREITEMSTRUCT& /*item*/) { return false; }
  virtual bool OnInitMenuPopup(HMENU /*menu*/, int /*position*/) { return false; }
  virtual bool OnSize(int /*width*/, int /*height*/) { return false; }
  virtual bool OnClose() { return false; }
  // WM_DESTROY; the default processing still follows.
  virtual void OnDestroy() {}

  // A view that draws itself calls DrawsItself() once (in its constructor) and overrides
  // Paint, which then gets WM_PAINT (between BeginPaint and EndPaint; area is the part to
  // paint) and WM_PRINTCLIENT (PrintWindow and the pictures of tests; area is the client).
  void DrawsItself() { drawsItself_ = true; }
  virtual void Paint(HDC /*dc*/, const RECT& /*area*/) {}

  // Used by Dialog, which fills the map from its own procedure.
  void AttachHandle(HWND hwnd);
  void DetachHandle();
  bool ownsHandle_ = false;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Route(UINT msg, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  WNDPROC oldProc_ = nullptr;
  bool drawsItself_ = false;  // set while a foreign window is subclassed

  friend bool RegisterWindowClass(const WindowClass& windowClass);
};

// The program's module: what a null instance means everywhere in this layer.
HINSTANCE ProgramInstance(HINSTANCE instance = nullptr);

}  // namespace wingui
