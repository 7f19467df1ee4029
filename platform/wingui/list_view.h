#pragma once
// Report-view list views: columns, rows of texts with a data value, the selected row.
// InitCommonControls(ICC_LISTVIEW_CLASSES) comes first.

#include <windows.h>

#include <string>

#include "platform/wingui/controls.h"

namespace wingui {

class ListView : public Control {
 public:
  using Control::Control;

  // LVS_EX_* styles, such as LVS_EX_FULLROWSELECT.
  void SetExtendedStyle(DWORD styles) const;
  int AddColumn(const std::string& title, int width) const;
  int ColumnCount() const;
  // The new row's index, or -1; its first column holds text.
  int InsertRow(int row, const std::string& text, LPARAM data = 0) const;
  int AddRow(const std::string& text, LPARAM data = 0) const { return InsertRow(RowCount(), text, data); }
  bool SetCell(int row, int column, const std::string& text) const;
  std::string Cell(int row, int column) const;
  LPARAM RowData(int row) const;
  int RowCount() const;
  bool RemoveRow(int row) const;
  void Clear() const;
  // The first selected row, or -1.
  int SelectedRow() const;
  // Selects and focuses the row alone (-1: none) and scrolls it into view.
  void SelectRow(int row) const;
};

}  // namespace wingui
