// The form's menu bar: drop-down menus of items with captions, check marks, tags and one click
// handler each. A hidden item is kept but never put into the bar.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vcl {

class MenuItem {
 public:
  int Id() const { return id_; }
  int Tag() const { return tag_; }
  bool Checked() const { return checked_; }
  bool Visible() const { return visible_; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  void SetChecked(bool checked);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  std::function<void(MenuItem&)> onClick;

 private:
  friend class MainMenu;
  HMENU parent_ = nullptr;
  int id_ = 0;
  int tag_ = 0;
  bool checked_ = false;
  bool visible_ = true;
  bool enabled_ = true;
  std::string caption_;
  HWND owner_ = nullptr;  // redrawn when a top-level caption changes
};

class MainMenu {
 public:
  MainMenu();
  ~MainMenu();
  MainMenu(const MainMenu&) = delete;
  MainMenu& operator=(const MainMenu&) = delete;

  HMENU Handle() const { return bar_; }
  // A drop-down of the bar, itself an item whose caption can change.
  MenuItem& AddMenu(const std::string& caption);
  MenuItem& AddItem(MenuItem& menu, const std::string& caption, int tag = 0, bool visible = true);
  // The item of a command id, or null.
  MenuItem* Find(int id);
  void AttachTo(HWND owner);

 private:
  HMENU bar_;
  std::vector<HMENU> dropDowns_;
  std::vector<std::unique_ptr<MenuItem>> items_;
  int nextId_ = 40001;
  bool attached_ = false;
};

}  // namespace vcl
