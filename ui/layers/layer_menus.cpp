#include "ui/layers/layer_menus.h"

#include "platform/wingui/menu.h"
#include "ui/programming_window/layer_choice.h"
#include "ui/programming_window/programming_menu.h"
#include "ui/programming_window/programming_window_ids.h"

namespace {

// With n layers, "Remove Layer" follows the layers and the further item.
int RemovePopupPosition(int layerCount) { return kFirstProgramLayerPosition + layerCount + 1; }
UINT RemoveLayerCommand(int layer) { return IDM_PW_FIRST_REMOVE_LAYER + layer; }

}  // namespace

bool InsertLayerMenus(HMENU layerMenu, int layer, const std::string& name, bool hasColourLayers) {
  const wingui::Menu menu(layerMenu);
  const std::string text = wingui::MenuItemText(name);
  if (layer == 0 && !menu.InsertPopupAt(RemovePopupPosition(0), "Remove Layer", wingui::OwnedMenu::Popup()))
    return false;
  if (!menu.SubMenu(RemovePopupPosition(layer)).InsertAt(layer, RemoveLayerCommand(layer), text)) return false;
  const int position = kFirstProgramLayerPosition + layer;
  if (!hasColourLayers) return menu.InsertAt(position, ProgramLayerCommand(layer, false, false), text);
  wingui::OwnedMenu colours = wingui::OwnedMenu::Popup();
  colours.get().Append(ProgramLayerCommand(layer, false, true), "Green Layer");
  colours.get().Append(ProgramLayerCommand(layer, true, true), "Red Layer");
  return menu.InsertPopupAt(position, text, std::move(colours));
}

void RemoveLayerMenus(HMENU layerMenu, int layer, int count) {
  const wingui::Menu menu(layerMenu);
  const wingui::Menu remove = menu.SubMenu(RemovePopupPosition(count));
  if (remove) {
    remove.DeleteAt(layer);
    // The text as stored (its "&&" kept), under the id one lower.
    for (int later = layer; later < remove.Count(); ++later)
      remove.SetItemAt(later, RemoveLayerCommand(later), remove.TextAt(later));
  }
  menu.DeleteAt(kFirstProgramLayerPosition + layer);
  if (count == 1 && remove) menu.DeleteAt(RemovePopupPosition(0));
}

void RemoveAllLayerMenus(HMENU layerMenu, int count) {
  for (int left = count; left > 0; --left) RemoveLayerMenus(layerMenu, 0, left);
}
