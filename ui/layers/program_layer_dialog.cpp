#include "ui/layers/program_layer_dialog.h"

#include <windowsx.h>

#include "platform/wingui/controls.h"
#include "ui/layers/program_layer_ids.h"
#include "ui/layers/program_layers.h"
#include "ui/layers/running_programs.h"

namespace {

// The finder cursor's cross-hair lies this far right of and below its hot spot, so the cursor
// is moved up and left by it when a drag starts: the cross-hair then stays where it was.
constexpr int kCrossHairOffset = 14;

}  // namespace

ProgramLayerDialog::ProgramLayerDialog(ProgramLayers& layers, const ExeNameTable& table)
    : wingui::Dialog(IDD_PROGRAM_LAYER), layers_(layers), table_(table) {}

ProgramLayerDialog::~ProgramLayerDialog() {
  if (finder_.dragging) EndDrag();
}

bool ProgramLayerDialog::OnInitDialog() {
  ShowWindow(Item(IDC_FINDER_TOOL), SW_SHOW);
  ShowWindow(Item(IDC_FINDER_EMPTY), SW_HIDE);
  items_ = RunningProgramList(VisibleWindowPrograms(), table_, LowerCaseName);
  const wingui::ComboBox list(hwnd(), IDC_RUNNING_PROGRAMS);
  for (const RunningProgramItem& item : items_) list.Add(item.text);
  list.Select(items_.empty() ? -1 : 0);
  ListSelectionChanged();
  return true;
}

void ProgramLayerDialog::Choose(const ProgramLayerChoice& choice) {
  choice_ = choice;
  SetItemText(IDC_CHOSEN_PROGRAM, choice_.name);
}

void ProgramLayerDialog::ListSelectionChanged() {
  const int selected = wingui::ComboBox(hwnd(), IDC_RUNNING_PROGRAMS).Selection();
  if (selected >= 0 && selected < static_cast<int>(items_.size())) Choose(ChoiceOfItem(items_[selected]));
}

bool ProgramLayerDialog::OnCommand(int id, int code, HWND control) {
  switch (id) {
    case IDC_RUNNING_PROGRAMS:
      if (code == CBN_SELCHANGE) ListSelectionChanged();
      return true;
    case IDOK:
      if (!choice_.name.empty()) {
        const LayerRefusal refusal = layers_.BuildLayerMenu(choice_.name, choice_.exe);
        if (refusal == LayerRefusal::Reserved || refusal == LayerRefusal::TooMany) {
          layers_.TellRefusal(refusal, choice_.name);
          return true;  // another program may be chosen
        }
      }
      End(IDOK);
      return true;
    case IDC_RECOVER_LAYER:
      if (code == BN_CLICKED && layers_.RecoverChosenFile()) End(IDC_RECOVER_LAYER);
      return true;
  }
  return wingui::Dialog::OnCommand(id, code, control);
}

bool ProgramLayerDialog::ProgramLayerDlgProc(wingui::Message& m) {
  const POINT client{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
  switch (m.id) {
    case WM_LBUTTONDOWN:
      if (!finder_.dragging && StartDrag(client)) return true;
      break;
    case WM_MOUSEMOVE:
      if (finder_.dragging) {
        Drag(client);
        return true;
      }
      break;
    case WM_LBUTTONUP:
      if (finder_.dragging) {
        ReleaseCapture();  // WM_CAPTURECHANGED ends the drag
        EndDrag();
        return true;
      }
      break;
    case WM_CAPTURECHANGED:
      if (finder_.dragging) EndDrag();
      return true;
  }
  return wingui::Dialog::HandleMessage(m);
}

bool ProgramLayerDialog::StartDrag(POINT client) {
  HWND finder = Item(IDC_FINDER_TOOL);
  RECT r{};
  if (!finder || !IsWindowVisible(finder) || !GetWindowRect(finder, &r)) return false;
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
  if (!PtInRect(&r, client)) return false;
  finder_.dragging = true;
  HCURSOR cursor = LoadCursorA(wingui::ProgramInstance(), MAKEINTRESOURCEA(IDC_FINDER_CURSOR));
  finder_.restoreCursor = SetCursor(cursor);
  SetCapture(hwnd());
  ShowWindow(finder, SW_HIDE);
  ShowWindow(Item(IDC_FINDER_EMPTY), SW_SHOW);
  finder_.origin = POINT{0, 0};
  ClientToScreen(hwnd(), &finder_.origin);
  finder_.origin.x += kCrossHairOffset;
  finder_.origin.y += kCrossHairOffset;
  POINT at{};
  if (GetCursorPos(&at)) SetCursorPos(at.x - kCrossHairOffset, at.y - kCrossHairOffset);
  return true;
}

void ProgramLayerDialog::Drag(POINT client) {
  const POINT screen{finder_.origin.x + client.x, finder_.origin.y + client.y};
  Choose(ChoiceOfExe(ProgramAtPoint(screen), table_, LowerCaseName));
}

void ProgramLayerDialog::EndDrag() {
  if (!finder_.dragging) return;
  finder_.dragging = false;
  if (GetCapture() == hwnd()) ReleaseCapture();
  SetCursor(finder_.restoreCursor);
  ShowWindow(Item(IDC_FINDER_TOOL), SW_SHOW);
  ShowWindow(Item(IDC_FINDER_EMPTY), SW_HIDE);
}

void ShowProgramLayerDialog(ProgramLayers& layers, const ExeNameTable& table, HWND owner) {
  ProgramLayerDialog dialog(layers, table);
  dialog.ShowModal(owner);
}
