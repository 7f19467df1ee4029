#include "ui/programming_window/programming_menu.h"

#include "platform/wingui/menu.h"
#include "ui/programming_window/layer_choice.h"
#include "ui/programming_window/programming_window_ids.h"

namespace {

const char kGreenText[] = "Green Layer";
const char kRedText[] = "Red Layer";

wingui::Menu LayerMenu(HMENU bar) { return wingui::Menu(bar).SubMenu(kLayerPopup); }

}  // namespace

void AdjustProgrammingMenu(HMENU bar, const ProgrammingMenuFacts& f) {
  const wingui::Menu menu(bar);
  if (!f.backlightsAvailable)
    menu.Delete(IDM_PW_BACKLIGHTS);
  else
    menu.Check(IDM_PW_BACKLIGHTS, f.backlightsOn);
  if (!f.keyswitchAvailable)
    menu.Delete(IDM_PW_KEYSWITCH_MODE);
  else
    menu.Check(IDM_PW_KEYSWITCH_MODE, f.keyswitchOn);
  if (f.hiddenMode) {
    menu.SubMenu(kViewPopup).SetItemAt(kHiddenModePosition, IDM_PW_HIDDEN_MODE, "Hidden Mode");
    menu.Check(IDM_PW_HIDDEN_MODE, true);
  }
  CheckColourLayer(bar, f.red);
  // Only the Key Caps popup itself goes, whatever stands at its place.
  if (f.noKeyCap && menu.SubMenu(kKeyCapsPopup).IdAt(0) == IDM_PW_KEY_CAPS_ADD) menu.DeleteAt(kKeyCapsPopup);
}

void SetLayerMenuTexts(HMENU bar, bool hasColourLayers, const std::vector<std::string>& layerNames) {
  const wingui::Menu layers = LayerMenu(bar);
  layers.SetItemAt(kGreenLayerPosition, IDM_PW_GREEN_LAYER, kGreenText);
  if (hasColourLayers) layers.SetItemAt(kRedLayerPosition, IDM_PW_RED_LAYER, kRedText);
  for (int n = 0; n < static_cast<int>(layerNames.size()); ++n) {
    const int position = kFirstProgramLayerPosition + n;
    if (hasColourLayers) {
      const wingui::Menu popup = layers.SubMenu(position);
      if (!popup) continue;
      popup.SetItemAt(0, ProgramLayerCommand(n, false, true), kGreenText);
      popup.SetItemAt(1, ProgramLayerCommand(n, true, true), kRedText);
    } else if (!layers.SubMenu(position)) {
      layers.SetItemAt(position, ProgramLayerCommand(n, false, false), wingui::MenuItemText(layerNames[n]));
    }
  }
}

void CheckColourLayer(HMENU bar, bool red) {
  const wingui::Menu layers = LayerMenu(bar);
  const int position = red ? kRedLayerPosition : kGreenLayerPosition;
  layers.SetItemAt(position, red ? IDM_PW_RED_LAYER : IDM_PW_GREEN_LAYER, red ? kRedText : kGreenText);
  layers.CheckAt(position, true);
}

void CheckProgramLayer(HMENU bar, int layer, bool red, bool hasColourLayers) {
  const wingui::Menu layers = LayerMenu(bar);
  const int position = kFirstProgramLayerPosition + layer;
  if (hasColourLayers) {
    if (const wingui::Menu popup = layers.SubMenu(position)) popup.CheckAt(red ? 1 : 0, true);
  } else if (!layers.SubMenu(position)) {
    layers.CheckAt(position, true);
  }
}

void CheckViewItem(HMENU bar, UINT command, bool checked) { wingui::Menu(bar).Check(command, checked); }

void UpdateProgrammingPopups(HMENU bar, const ProgrammingPopupFacts& f) {
  const wingui::Menu file = wingui::Menu(bar).SubMenu(kFilePopup);
  file.EnableAt(kAdvancedPosition, f.onboardProgramming);
  const wingui::Menu advanced = file.SubMenu(kAdvancedPosition);
  advanced.Enable(IDM_PW_WRITE_TO_DEVICE, !f.bootMode && f.onboardProgramming);
  advanced.Enable(IDM_PW_QUORL_MODE, f.bootMode);
  LayerMenu(bar).Enable(IDM_PW_RED_LAYER, f.hasColourLayers);
}
