#pragma once
// Menus of the programming window as text, and program layers put in as their own code does.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/wingui/menu.h"
#include "ui/programming_window/layer_choice.h"
#include "ui/programming_window/programming_menu.h"
#include "ui/programming_window/programming_window_ids.h"

namespace testsupport {

// The items of a popup as "text=id", checked ones marked with "*", greyed ones with "-",
// popups with their items in brackets.
inline std::string Items(wingui::Menu menu) {
  std::string out;
  for (int i = 0; i < menu.Count(); ++i) {
    if (i) out += " | ";
    out += menu.TextAt(i);
    if (wingui::Menu sub = menu.SubMenu(i))
      out += "[" + Items(sub) + "]";
    else
      out += "=" + std::to_string(menu.IdAt(i));
    if (menu.IsCheckedAt(i)) out += "*";
    if (!menu.IsEnabledAt(i)) out += "-";
  }
  return out;
}

inline std::string Popups(wingui::Menu bar) {
  std::string out;
  for (int i = 0; i < bar.Count(); ++i) out += (i ? "," : "") + bar.TextAt(i);
  return out;
}

// Program layers as their own code puts them in: popups (or items) from Layer position 2, the
// "Remove Layer" popup after the further item.
inline void AddProgramLayers(wingui::Menu bar, const std::vector<std::string>& names, bool colours) {
  wingui::Menu layers = bar.SubMenu(kLayerPopup);
  wingui::OwnedMenu remove = wingui::OwnedMenu::Popup();
  for (int n = 0; n < static_cast<int>(names.size()); ++n) {
    remove.get().Append(IDM_PW_FIRST_REMOVE_LAYER + n, names[n]);
    if (colours) {
      wingui::OwnedMenu popup = wingui::OwnedMenu::Popup();
      popup.get().Append(ProgramLayerCommand(n, false, true), "Green Layer");
      popup.get().Append(ProgramLayerCommand(n, true, true), "Red Layer");
      layers.InsertPopupAt(kFirstProgramLayerPosition + n, names[n], std::move(popup));
    } else {
      layers.InsertAt(kFirstProgramLayerPosition + n, ProgramLayerCommand(n, false, false), names[n]);
    }
  }
  layers.InsertPopupAt(static_cast<int>(names.size()) + 3, "Remove Layer", std::move(remove));
}

}  // namespace testsupport
