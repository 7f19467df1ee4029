// Menus over HMENU.
#include "calibration/vcl/menu.h"

namespace vcl {

void MenuItem::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  if (!visible_) return;
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  info.dwTypeData = const_cast<char*>(caption_.c_str());
  SetMenuItemInfoA(parent_, static_cast<UINT>(id_), FALSE, &info);
  if (owner_) DrawMenuBar(owner_);
}

void MenuItem::SetChecked(bool checked) {
  checked_ = checked;
  if (visible_)
    CheckMenuItem(parent_, static_cast<UINT>(id_), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void MenuItem::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (visible_)
    EnableMenuItem(parent_, static_cast<UINT>(id_), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

MainMenu::MainMenu() : bar_(CreateMenu()) {}

MainMenu::~MainMenu() {
  // A menu attached to a window goes with the window.
  if (!attached_) DestroyMenu(bar_);
}

MenuItem& MainMenu::AddMenu(const std::string& caption) {
  HMENU dropDown = CreatePopupMenu();
  dropDowns_.push_back(dropDown);
  auto item = std::make_unique<MenuItem>();
  item->parent_ = bar_;
  item->id_ = nextId_++;
  item->caption_ = caption;
  // A drop-down is found by its id too, so that its caption can change like any item's.
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING | MIIM_SUBMENU | MIIM_ID;
  info.wID = static_cast<UINT>(item->id_);
  info.hSubMenu = dropDown;
  info.dwTypeData = const_cast<char*>(item->caption_.c_str());
  InsertMenuItemA(bar_, GetMenuItemCount(bar_), TRUE, &info);
  items_.push_back(std::move(item));
  return *items_.back();
}

MenuItem& MainMenu::AddItem(MenuItem& menu, const std::string& caption, int tag, bool visible) {
  HMENU dropDown = nullptr;
  for (size_t i = 0, d = 0; i < items_.size(); ++i) {
    if (items_[i]->parent_ == bar_) {
      if (items_[i].get() == &menu) dropDown = dropDowns_[d];
      ++d;
    }
  }
  auto item = std::make_unique<MenuItem>();
  item->parent_ = dropDown;
  item->id_ = nextId_++;
  item->tag_ = tag;
  item->visible_ = visible;
  item->caption_ = caption;
  if (visible) AppendMenuA(dropDown, MF_STRING, static_cast<UINT_PTR>(item->id_), caption.c_str());
  items_.push_back(std::move(item));
  return *items_.back();
}

MenuItem* MainMenu::Find(int id) {
  for (auto& item : items_)
    if (item->id_ == id) return item.get();
  return nullptr;
}

void MainMenu::AttachTo(HWND owner) {
  SetMenu(owner, bar_);
  attached_ = true;
  for (auto& item : items_) item->owner_ = owner;
}

}  // namespace vcl
