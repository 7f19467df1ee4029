#include "platform/wingui/menu.h"

#include <utility>

#include "platform/wingui/window.h"

namespace wingui {

std::string MenuItemText(std::string_view name) {
  std::string text;
  for (char c : name) {
    text += c;
    if (c == '&') text += '&';
  }
  return text;
}

bool Menu::Append(UINT id, const std::string& text, UINT flags) const {
  return AppendMenuA(menu_, MF_STRING | flags, id, text.c_str()) != 0;
}

bool Menu::AppendSeparator() const { return AppendMenuA(menu_, MF_SEPARATOR, 0, nullptr) != 0; }

bool Menu::AppendPopup(const std::string& text, OwnedMenu&& popup) const {
  const HMENU sub = popup.get().handle();
  if (!AppendMenuA(menu_, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), text.c_str())) return false;
  popup.Release();
  return true;
}

bool Menu::InsertAt(int position, UINT id, const std::string& text) const {
  return InsertMenuA(menu_, static_cast<UINT>(position), MF_BYPOSITION | MF_STRING, id, text.c_str()) != 0;
}

bool Menu::InsertPopupAt(int position, const std::string& text, OwnedMenu&& popup) const {
  const HMENU sub = popup.get().handle();
  if (!InsertMenuA(menu_, static_cast<UINT>(position), MF_BYPOSITION | MF_STRING | MF_POPUP,
                   reinterpret_cast<UINT_PTR>(sub), text.c_str()))
    return false;
  popup.Release();
  return true;
}

bool Menu::CheckItem(UINT item, UINT by, bool checked) const {
  return CheckMenuItem(menu_, item, by | (checked ? MF_CHECKED : MF_UNCHECKED)) != static_cast<DWORD>(-1);
}

bool Menu::EnableItem(UINT item, UINT by, bool enabled) const {
  return EnableMenuItem(menu_, item, by | (enabled ? MF_ENABLED : MF_GRAYED)) != -1;
}

bool Menu::HasState(UINT item, UINT by, UINT flags) const {
  const UINT state = GetMenuState(menu_, item, by);
  return state != static_cast<UINT>(-1) && (state & flags) != 0;
}

bool Menu::Check(UINT id, bool checked) const { return CheckItem(id, MF_BYCOMMAND, checked); }
bool Menu::CheckAt(int position, bool checked) const {
  return CheckItem(static_cast<UINT>(position), MF_BYPOSITION, checked);
}
bool Menu::IsChecked(UINT id) const { return HasState(id, MF_BYCOMMAND, MF_CHECKED); }
bool Menu::IsCheckedAt(int position) const {
  return HasState(static_cast<UINT>(position), MF_BYPOSITION, MF_CHECKED);
}
bool Menu::Enable(UINT id, bool enabled) const { return EnableItem(id, MF_BYCOMMAND, enabled); }
bool Menu::EnableAt(int position, bool enabled) const {
  return EnableItem(static_cast<UINT>(position), MF_BYPOSITION, enabled);
}
// A missing item is not enabled either.
bool Menu::IsEnabled(UINT id) const {
  return GetMenuState(menu_, id, MF_BYCOMMAND) != static_cast<UINT>(-1) &&
         !HasState(id, MF_BYCOMMAND, MF_GRAYED | MF_DISABLED);
}
bool Menu::IsEnabledAt(int position) const {
  const auto item = static_cast<UINT>(position);
  return GetMenuState(menu_, item, MF_BYPOSITION) != static_cast<UINT>(-1) &&
         !HasState(item, MF_BYPOSITION, MF_GRAYED | MF_DISABLED);
}

std::string Menu::TextOf(UINT item, UINT by) const {
  const int length = GetMenuStringA(menu_, item, nullptr, 0, by);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetMenuStringA(menu_, item, text.data(), length + 1, by)));
  return text;
}

std::string Menu::Text(UINT id) const { return TextOf(id, MF_BYCOMMAND); }
std::string Menu::TextAt(int position) const { return TextOf(static_cast<UINT>(position), MF_BYPOSITION); }

bool Menu::SetText(UINT id, const std::string& text) const {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  info.dwTypeData = const_cast<char*>(text.c_str());
  return SetMenuItemInfoA(menu_, id, FALSE, &info) != 0;
}

bool Menu::SetItemAt(int position, UINT id, const std::string& text) const {
  return ModifyMenuA(menu_, static_cast<UINT>(position), MF_BYPOSITION | MF_STRING, id, text.c_str()) != 0;
}

UINT Menu::Track(HWND owner, POINT screen, UINT flags) const {
  return static_cast<UINT>(TrackPopupMenu(menu_, flags | TPM_RETURNCMD | TPM_NONOTIFY, screen.x, screen.y, 0, owner, nullptr));
}

OwnedMenu& OwnedMenu::operator=(OwnedMenu&& other) noexcept {
  if (this != &other) {
    Reset();
    menu_ = other.Release();
  }
  return *this;
}

OwnedMenu OwnedMenu::Load(int id, HINSTANCE instance) {
  return OwnedMenu(LoadMenuA(ProgramInstance(instance), MAKEINTRESOURCEA(id)));
}

HMENU OwnedMenu::Release() { return std::exchange(menu_, nullptr); }

void OwnedMenu::Reset() {
  if (menu_) DestroyMenu(std::exchange(menu_, nullptr));
}

bool SetWindowMenu(HWND window, OwnedMenu&& menu) {
  const HMENU old = GetMenu(window);
  if (!SetMenu(window, menu.get().handle())) return false;
  menu.Release();
  if (old) DestroyMenu(old);
  return true;
}

}  // namespace wingui
