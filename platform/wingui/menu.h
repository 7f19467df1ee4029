#pragma once
// Menus: a non-owning Menu to read and change items by command id or by position, and an
// OwnedMenu for a menu that no window holds yet.

#include <windows.h>

#include <string>
#include <string_view>

namespace wingui {

// A name as a menu item shows it: a single "&" would underline the next letter instead.
std::string MenuItemText(std::string_view name);

class OwnedMenu;

class Menu {
 public:
  Menu() = default;
  explicit Menu(HMENU menu) : menu_(menu) {}
  // The menu bar of a window.
  static Menu OfWindow(HWND window) { return Menu(GetMenu(window)); }

  HMENU handle() const { return menu_; }
  explicit operator bool() const { return menu_ != nullptr; }
  int Count() const { return GetMenuItemCount(menu_); }

  bool Append(UINT id, const std::string& text, UINT flags = 0) const;
  bool AppendSeparator() const;
  // The menu goes into this one, which destroys it with itself.
  bool AppendPopup(const std::string& text, OwnedMenu&& popup) const;
  bool InsertAt(int position, UINT id, const std::string& text) const;
  bool InsertPopupAt(int position, const std::string& text, OwnedMenu&& popup) const;
  // Removes the item (a popup is destroyed with it).
  bool DeleteAt(int position) const { return DeleteMenu(menu_, static_cast<UINT>(position), MF_BYPOSITION) != 0; }
  bool Delete(UINT id) const { return DeleteMenu(menu_, id, MF_BYCOMMAND) != 0; }

  // The popup at a position (empty when the item has none).
  Menu SubMenu(int position) const { return Menu(GetSubMenu(menu_, position)); }
  UINT IdAt(int position) const { return GetMenuItemID(menu_, position); }

  bool Check(UINT id, bool checked) const;
  bool CheckAt(int position, bool checked) const;
  bool IsChecked(UINT id) const;
  bool IsCheckedAt(int position) const;
  // Greyed when not enabled.
  bool Enable(UINT id, bool enabled) const;
  bool EnableAt(int position, bool enabled) const;
  bool IsEnabled(UINT id) const;
  bool IsEnabledAt(int position) const;

  std::string Text(UINT id) const;
  std::string TextAt(int position) const;
  bool SetText(UINT id, const std::string& text) const;
  // A plain item at a position gets a new id and text (its check mark is cleared).
  bool SetItemAt(int position, UINT id, const std::string& text) const;

  // Shows the popup at a screen point and returns the chosen command (0: none); the owner
  // gets no WM_COMMAND for it.
  UINT Track(HWND owner, POINT screen, UINT flags = TPM_RIGHTBUTTON) const;

 private:
  std::string TextOf(UINT item, UINT by) const;
  bool CheckItem(UINT item, UINT by, bool checked) const;
  bool EnableItem(UINT item, UINT by, bool enabled) const;
  bool HasState(UINT item, UINT by, UINT flags) const;

  HMENU menu_ = nullptr;
};

class OwnedMenu {
 public:
  OwnedMenu() = default;
  explicit OwnedMenu(HMENU menu) : menu_(menu) {}
  ~OwnedMenu() { Reset(); }
  OwnedMenu(OwnedMenu&& other) noexcept : menu_(other.Release()) {}
  OwnedMenu& operator=(OwnedMenu&& other) noexcept;
  OwnedMenu(const OwnedMenu&) = delete;
  OwnedMenu& operator=(const OwnedMenu&) = delete;

  static OwnedMenu Popup() { return OwnedMenu(CreatePopupMenu()); }
  static OwnedMenu Bar() { return OwnedMenu(CreateMenu()); }
  // A menu resource (null instance: the program's module).
  static OwnedMenu Load(int id, HINSTANCE instance = nullptr);

  Menu get() const { return Menu(menu_); }
  Menu operator*() const { return get(); }
  explicit operator bool() const { return menu_ != nullptr; }
  // Hands the menu over (to a window's SetMenu, or to another menu).
  HMENU Release();
  void Reset();

 private:
  HMENU menu_ = nullptr;
};

// Makes the menu the window's menu bar; the window destroys it with itself (and the bar it
// had before is destroyed now).
bool SetWindowMenu(HWND window, OwnedMenu&& menu);

}  // namespace wingui
