// Child controls of the stand-in: labels, buttons, list boxes and the status bar, each a real
// window (so that a tester can read its text) that remembers what it shows.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace vcl {

// The face colour of the program's forms, pages and labels.
constexpr COLORREF kFaceColour = RGB(0xBF, 0xBF, 0xBF);

struct Bounds {
  int left = 0, top = 0, width = 0, height = 0;
};

class Control {
 public:
  Control(HWND parent, int id, const char* windowClass, DWORD style, const Bounds& bounds,
          const std::string& text, HFONT font);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  HWND Handle() const { return hwnd_; }
  int Id() const { return id_; }
  const std::string& Caption() const { return caption_; }
  virtual void SetCaption(const std::string& caption);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  const Bounds& GetBounds() const { return bounds_; }
  void SetBounds(const Bounds& bounds);
  void SetLeft(int left) { SetBounds({left, bounds_.top, bounds_.width, bounds_.height}); }
  void SetPosition(int left, int top) { SetBounds({left, top, bounds_.width, bounds_.height}); }
  void Focus();
  void SetFont(HFONT font);

 protected:
  HWND hwnd_ = nullptr;
  int id_;
  std::string caption_;
  bool visible_;
  bool enabled_ = true;
  Bounds bounds_;
  HFONT font_;
};

class Label : public Control {
 public:
  enum class Sizing { Fixed, AutoSize };
  Label(HWND parent, int id, const Bounds& bounds, const std::string& text, HFONT font,
        Sizing sizing, bool clickable);
  void SetCaption(const std::string& caption) override;
  std::function<void()> onClick;

 private:
  void Measure();
  Sizing sizing_;
};

class Button : public Control {
 public:
  Button(HWND parent, int id, const Bounds& bounds, const std::string& text, HFONT font, int tag);
  int Tag() const { return tag_; }
  // Runs the handler as a click would, when the button is enabled and shown.
  void Click();
  std::function<void(Button&)> onClick;

 private:
  int tag_;
};

class ListBox : public Control {
 public:
  ListBox(HWND parent, int id, const Bounds& bounds, HFONT font);
  void SetItems(const std::vector<std::string>& items);
  void SetSelection(int index);
  const std::vector<std::string>& Items() const { return items_; }

 private:
  std::vector<std::string> items_;
  int selection_ = -1;
};

// One full-width part: it looks like simple mode and its text stays readable by WM_GETTEXT.
class StatusBar : public Control {
 public:
  StatusBar(HWND parent, int id, HFONT font);
  void SetCaption(const std::string& caption) override;
};

}  // namespace vcl
