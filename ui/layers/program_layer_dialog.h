#pragma once
// The "Add Program Layer" dialog: a list of the running programs and a finder tool that is
// dragged onto a window; OK adds the layer chosen, "Recover Layer" brings one back from its
// backup.

#include <windows.h>

#include <vector>

#include "platform/wingui/dialog.h"
#include "ui/layers/exe_name_table.h"
#include "ui/layers/program_choice.h"

class ProgramLayers;

class ProgramLayerDialog : public wingui::Dialog {
 public:
  ProgramLayerDialog(ProgramLayers& layers, const ExeNameTable& table);
  ~ProgramLayerDialog() override;

  // The layer that OK would add.
  const ProgramLayerChoice& Choice() const { return choice_; }
  bool Dragging() const { return finder_.dragging; }

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool HandleMessage(wingui::Message& msg) override { return ProgramLayerDlgProc(msg); }

 private:
  // The dialog's own messages (the finder tool's mouse) before the dialog's common ones.
  bool ProgramLayerDlgProc(wingui::Message& msg);
  void Choose(const ProgramLayerChoice& choice);
  void ListSelectionChanged();
  bool StartDrag(POINT client);
  void Drag(POINT client);
  void EndDrag();

  ProgramLayers& layers_;
  const ExeNameTable& table_;
  std::vector<RunningProgramItem> items_;  // in the list's order
  ProgramLayerChoice choice_;
  // The finder tool while it is dragged: the cursor to give back, and the client origin on the
  // screen plus the finder cursor's offset to its cross-hair.
  struct FinderTool {
    bool dragging = false;
    HCURSOR restoreCursor = nullptr;
    POINT origin{};
  };
  FinderTool finder_;
};

// Shows the dialog modally, owned by the programming window.
void ShowProgramLayerDialog(ProgramLayers& layers, const ExeNameTable& table, HWND owner);
