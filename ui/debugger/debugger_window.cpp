#include "ui/debugger/debugger_window.h"

#include <commctrl.h>

#include "platform/wingui/list_view.h"
#include "platform/wingui/message_pump.h"
#include "runtime/device/device_table.h"

namespace {

// How often a wait looks at whether the program ends, when no message comes.
constexpr DWORD kStopCheckMs = 50;

}  // namespace

WindowDebuggerView::WindowDebuggerView(ScriptEditorWindow& window) : window_(window) {}

WindowDebuggerView::~WindowDebuggerView() { window_.SetDebugger({}); }

void WindowDebuggerView::Attach(RunControl& control) {
  control_ = &control;
  ScriptEditorWindow::Debugger debugger;
  debugger.command = [this](int id) { return control_->Command(id); };
  debugger.message = [this](wingui::Message& msg) { return OnMessage(msg); };
  debugger.closing = [this] { control_->OnEditorClosed(); };
  window_.SetDebugger(std::move(debugger));
}

bool WindowDebuggerView::RunMessagesUntil(const std::function<bool()>& done) {
  wingui::MessagePump& pump = wingui::MessagePump::ForThisThread();
  for (;;) {
    if (done()) return true;
    // The device thread is asked to end: no wait of the debugger may hold it.
    if (IsDeviceThreadStopping()) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kStopCheckMs, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop outside
        return false;
      }
      pump.Dispatch(msg);
      if (done()) return true;
    }
  }
}

void WindowDebuggerView::ShowVariables(const std::vector<VariableRow>& rows) {
  RECT client{};
  GetClientRect(window_.ListControl(), &client);
  const VariableColumns w = VariableColumnWidths(client.right);
  // The value is the item's own text (the one label editing changes); it shows last.
  window_.SetListColumns({{"Name", w.name, 2, 0}, {"Type", w.type, 1, 1}, {"Value", w.value, 0, 2}},
                         LVS_EX_GRIDLINES);
  const wingui::ListView list(window_.ListControl());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int row = list.AddRow(rows[i].value, static_cast<LPARAM>(i));
    list.SetCell(row, 1, rows[i].type);
    list.SetCell(row, 2, rows[i].name);
  }
}

bool WindowDebuggerView::OnMessage(wingui::Message& msg) {
  if (msg.id != WM_NOTIFY || !control_) return false;
  const auto* info = reinterpret_cast<const NMLVDISPINFOA*>(msg.lParam);
  if (info->hdr.code == LVN_BEGINLABELEDITA) {
    msg.result = FALSE;  // values may be edited
    return true;
  }
  if (info->hdr.code != LVN_ENDLABELEDITA) return false;
  msg.result = FALSE;
  if (!info->item.pszText) return true;  // cancelled
  const wingui::ListView list(window_.ListControl());
  std::string shown;
  if (control_->EditVariableRow(static_cast<int>(list.RowData(info->item.iItem)), info->item.pszText, shown))
    list.SetCell(info->item.iItem, 0, shown);  // what the variable holds now
  return true;
}
