#include "ui/script_editor/script_editor_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdint>

#include "platform/base/registry_values.h"
#include "platform/base/system_calls.h"
#include "platform/wingui/controls.h"
#include "platform/wingui/list_view.h"
#include "platform/wingui/window_text.h"
#include "runtime/script/script_engine_lock.h"
#include "ui/script_editor/script_editor_resources.h"

namespace {

constexpr char kEditorClass[] = "AngelScriptIDE";
constexpr char kMarginClass[] = "ASDebuggerSideBar";
constexpr int kMarkSize = 16;

HICON LoadIconSized(int id, int size) {
  return static_cast<HICON>(LoadImageA(wingui::ProgramInstance(), MAKEINTRESOURCEA(id), IMAGE_ICON,
                                       size, size, 0));
}

RECT WindowRectOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

std::optional<int> ReadDword(SystemCalls& calls, const char* name) {
  const std::optional<RegistryValue> v = calls.ReadUserValue(kEditorPlacementKey, name);
  if (!v || v->type != kRegistryDword || v->bytes.size() != 4) return std::nullopt;
  std::int32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | v->bytes[i];
  return value;
}

void WriteDword(SystemCalls& calls, const char* name, int value) {
  RegistryValue v;
  v.type = kRegistryDword;
  for (int i = 0; i < 4; ++i) v.bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i)));
  calls.WriteUserValue(kEditorPlacementKey, name, v);
}

void Move(HWND control, const LayoutRect& r) {
  MoveWindow(control, r.x, r.y, r.width < 0 ? 0 : r.width, r.height < 0 ? 0 : r.height, TRUE);
}

}  // namespace

// --- Margin ------------------------------------------------------------------------------------

EditorMargin::EditorMargin(MarginMarks& marks) : marks_(marks) {
  DrawsItself();
  pen_ = wingui::MakePen(GetSysColor(COLOR_3DDKSHADOW));
  breakpointIcon_ = LoadIconSized(IDI_BREAKPOINT, kMarkSize);
  currentLineIcon_ = LoadIconSized(IDI_CURRENT_LINE, kMarkSize);
}

EditorMargin::~EditorMargin() {
  if (breakpointIcon_) DestroyIcon(breakpointIcon_);
  if (currentLineIcon_) DestroyIcon(currentLineIcon_);
}

std::optional<int> EditorMargin::LineTop(int line) const {
  if (!edit_ || line < 0) return std::nullopt;
  const LRESULT index = SendMessageA(edit_, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
  if (index < 0) return std::nullopt;
  LRESULT at = SendMessageA(edit_, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
  int extra = 0;
  // The end of the text has no character: take the one before it, a line further down when
  // that one is a line end.
  if (at == -1 && index > 0) {
    at = SendMessageA(edit_, EM_POSFROMCHAR, static_cast<WPARAM>(index - 1), 0);
    if (SendMessageA(edit_, EM_LINEFROMCHAR, static_cast<WPARAM>(index - 1), 0) < line) {
      TEXTMETRICA tm{};
      wingui::WindowDc dc(edit_);
      wingui::SelectScope font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(edit_, WM_GETFONT, 0, 0)));
      GetTextMetricsA(dc.get(), &tm);
      extra = tm.tmHeight;
    }
  }
  if (at == -1) return std::nullopt;
  POINT p{0, static_cast<short>(HIWORD(at)) + extra};
  MapWindowPoints(edit_, hwnd(), &p, 1);
  const RECT client = ClientRect();
  if (p.y <= 0 || p.y >= client.bottom) return std::nullopt;
  return p.y;
}

bool EditorMargin::HandleMessage(wingui::Message& m) {
  switch (m.id) {
    case kMarginCurrentLineMessage:
    case kMarginAddBreakpointMessage:
    case kMarginRemoveBreakpointMessage:
    case kMarginClearBreakpointsMessage:
    case kMarginHasBreakpointMessage:
    case kMarginSectionMessage: {
      if (m.wParam) edit_ = reinterpret_cast<HWND>(m.wParam);
      const int id = static_cast<int>(m.lParam);
      m.result = 0;
      if (m.id == kMarginCurrentLineMessage) marks_.SetCurrentLine(id);
      if (m.id == kMarginAddBreakpointMessage) marks_.AddBreakpoint(id);
      if (m.id == kMarginRemoveBreakpointMessage) marks_.RemoveBreakpoint(id);
      if (m.id == kMarginClearBreakpointsMessage) marks_.ClearBreakpoints();
      if (m.id == kMarginHasBreakpointMessage) m.result = marks_.HasBreakpoint(id) ? 1 : 0;
      if (m.id == kMarginSectionMessage) marks_.SetSectionKey(id);
      return true;
    }
    case WM_ERASEBKGND:
      m.result = 1;  // Paint covers it all
      return true;
  }
  return Window::HandleMessage(m);
}

void EditorMargin::Paint(HDC dc, const RECT&) {
  const RECT client = ClientRect();
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  {
    wingui::SelectScope pen(dc, pen_.get());
    wingui::SelectScope brush(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, client.left, client.top, client.right, client.bottom);
  }
  auto mark = [&](int line, HICON icon) {
    if (const std::optional<int> top = LineTop(line); top && icon)
      DrawIconEx(dc, 0, *top, icon, kMarkSize, kMarkSize, 0, nullptr, DI_NORMAL);
  };
  for (int line : marks_.BreakpointLinesShown()) mark(line, breakpointIcon_);
  mark(marks_.CurrentLine(), currentLineIcon_);
}

bool ScriptTextControl::HandleMessage(wingui::Message& m) {
  if (m.id == WM_GETDLGCODE) {
    m.result = DefaultProc(m.id, m.wParam, m.lParam) | DLGC_WANTTAB;
    return true;
  }
  return Window::HandleMessage(m);
}

// --- Window ------------------------------------------------------------------------------------

ScriptEditorWindow::ScriptEditorWindow(SystemCalls& calls, FileAccess& files, ModuleScriptLocator locator)
    : Dialog(IDD_SCRIPT_EDITOR),
      calls_(calls),
      controller_(calls, *this, files, std::move(locator)),
      marks_(controller_.Margin()),
      margin_(marks_) {}

ScriptEditorWindow::~ScriptEditorWindow() {
  keys_.Reset();
  if (hwnd()) Destroy();
}

bool ScriptEditorWindow::Create() {
  wingui::InitCommonControls(ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES);
  wingui::WindowClass editor;
  editor.name = kEditorClass;
  editor.forDialogs = true;
  editor.menuId = IDM_SCRIPT_EDITOR;
  editor.icon = LoadIconSized(IDI_SCRIPT_EDITOR, 32);
  editor.smallIcon = LoadIconSized(IDI_SCRIPT_EDITOR_SMALL, 16);
  editor.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wingui::WindowClass margin;
  margin.name = kMarginClass;
  margin.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  if (!wingui::RegisterWindowClass(editor) || !wingui::RegisterWindowClass(margin)) return false;
  accelerators_ = LoadAcceleratorsA(wingui::ProgramInstance(), MAKEINTRESOURCEA(IDA_SCRIPT_EDITOR));
  // Before the dialog's own entry, which would take the keys of its controls.
  keys_ = wingui::MessagePump::ForThisThread().AddHook([this](MSG& msg) { return TranslateKeys(msg); });
  if (!CreateModeless(nullptr)) {
    keys_.Reset();
    return false;
  }
  return true;
}

bool ScriptEditorWindow::TranslateKeys(MSG& msg) {
  // Only the editor's own windows: the same keys mean other things in the thread's other
  // windows (the macro editor, the legend editor).
  if (!accelerators_ || !hwnd() || (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd))) return false;
  if (GetParent(msg.hwnd) == list_) return false;  // a label being edited keeps its keys
  return TranslateAcceleratorA(hwnd(), accelerators_, &msg) != 0;
}

void ScriptEditorWindow::RefreshEngine() {
  if (engineSource_) controller_.SetEngine(engineSource_());
}

bool ScriptEditorWindow::OnInitDialog() {
  edit_ = Item(IDC_SCRIPT_TEXT);
  tree_ = Item(IDC_SCRIPT_TREE);
  list_ = Item(IDC_SCRIPT_LIST);
  text_.Attach(edit_);
  margin_.Attach(Item(IDC_SCRIPT_MARGIN));
  margin_.SetEdit(edit_);
  SendMessageA(edit_, EM_LIMITTEXT, 0, 0);
  font_ = wingui::MakeFont("Courier New", 9);
  SendMessageA(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
  const RECT window = WindowRectOf(hwnd());
  const RECT client = ClientRect();
  sizes_.frameBorder = ((window.right - window.left) - client.right) / 2;
  const RECT list = WindowRectOf(list_), tree = WindowRectOf(tree_),
             margin = WindowRectOf(margin_.hwnd());
  sizes_.statusHeight = list.bottom - list.top;
  sizes_.browserWidth = tree.right - tree.left;
  sizes_.sideBarWidth = margin.right - margin.left;
  sizeWE_ = LoadCursorA(nullptr, IDC_SIZEWE);
  sizeNS_ = LoadCursorA(nullptr, IDC_SIZENS);
  ReadPlacement();
  Place();
  ShowMessages({});
  return true;
}

void ScriptEditorWindow::ReadPlacement() {
  StoredPlacement stored{ReadDword(calls_, "WindowX"),      ReadDword(calls_, "WindowY"),
                         ReadDword(calls_, "WindowDX"),     ReadDword(calls_, "WindowDY"),
                         ReadDword(calls_, "StatusHeight"), ReadDword(calls_, "BrowserWidth")};
  if (!stored.x && !stored.y && !stored.width && !stored.height && !stored.statusHeight &&
      !stored.browserWidth) {
    WritePlacement();  // a new key starts with the template's placement
    return;
  }
  const RECT w = WindowRectOf(hwnd());
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const EditorPlacement p = ResolvePlacement(
      {w.left, w.top, w.right - w.left, w.bottom - w.top, sizes_.statusHeight, sizes_.browserWidth},
      stored, {work.left, work.top, work.right - work.left, work.bottom - work.top});
  sizes_.statusHeight = p.statusHeight;
  sizes_.browserWidth = p.browserWidth;
  MoveWindow(hwnd(), p.x, p.y, p.width, p.height, FALSE);
}

void ScriptEditorWindow::WritePlacement() {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(hwnd(), &placement);
  const RECT& r = placement.rcNormalPosition;
  WriteDword(calls_, "WindowX", r.left);
  WriteDword(calls_, "WindowY", r.top);
  WriteDword(calls_, "WindowDX", r.right - r.left);
  WriteDword(calls_, "WindowDY", r.bottom - r.top);
  WriteDword(calls_, "StatusHeight", sizes_.statusHeight);
  WriteDword(calls_, "BrowserWidth", sizes_.browserWidth);
}

void ScriptEditorWindow::Place() {
  if (!edit_) return;
  const RECT client = ClientRect();
  sizes_.clientWidth = client.right;
  sizes_.clientHeight = client.bottom;
  const EditorLayout l = LayOutEditor(sizes_);
  Move(list_, l.list);
  Move(margin_.hwnd(), l.sideBar);
  Move(edit_, l.edit);
  Move(tree_, l.tree);
}

bool ScriptEditorWindow::OnSize(int, int) {
  Place();
  return true;
}

void ScriptEditorWindow::EndDrag() {
  dragging_ = Splitter::None;
  if (GetCapture() == hwnd()) ReleaseCapture();
}

bool ScriptEditorWindow::HandleMessage(wingui::Message& m) {
  switch (m.id) {
    case WM_LBUTTONDOWN:
      if (m.wParam != MK_LBUTTON) return false;
      dragging_ = SplitterAt(sizes_, GET_Y_LPARAM(m.lParam));
      captureBefore_ = GetCapture();
      SetCapture(hwnd());
      SetCursor(dragging_ == Splitter::TreeEdge ? sizeWE_ : sizeNS_);
      return true;
    case WM_MOUSEMOVE: {
      const int x = GET_X_LPARAM(m.lParam), y = GET_Y_LPARAM(m.lParam);
      if (dragging_ == Splitter::None) {
        SetCursor(SplitterAt(sizes_, y) == Splitter::TreeEdge ? sizeWE_ : sizeNS_);
        return true;
      }
      if (const std::optional<int> size = DraggedSize(sizes_, dragging_, x, y)) {
        (dragging_ == Splitter::TreeEdge ? sizes_.browserWidth : sizes_.statusHeight) = *size;
        Place();
      } else {
        EndDrag();
      }
      return true;
    }
    case WM_LBUTTONUP:
      if (dragging_ != Splitter::None) EndDrag();
      return true;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(m.lParam) != hwnd()) dragging_ = Splitter::None;
      return false;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(m.wParam) == hwnd() && LOWORD(m.lParam) == HTCLIENT) {
        POINT p{};
        GetCursorPos(&p);
        ScreenToClient(hwnd(), &p);
        SetCursor(SplitterAt(sizes_, p.y) == Splitter::TreeEdge ? sizeWE_ : sizeNS_);
        m.result = TRUE;
        return true;
      }
      return false;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      // The marks follow the text as it scrolls.
      if (reinterpret_cast<HWND>(m.lParam) == edit_) margin_.Invalidate();
      return false;
    case kShowBuildResultMessage:
      RefreshEngine();
      controller_.ShowBuildResult(pendingBuildResult_);
      return true;
    case kDiscardModuleMessage:
      RefreshEngine();
      controller_.DiscardModule(m.lParam ? reinterpret_cast<const char*>(m.lParam) : "");
      m.result = 1;
      return true;
    case kVariableViewMessage:
    case kLineReachedMessage:
      return debugger_.message && debugger_.message(m);
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(m.lParam);
      if (header->hwndFrom == list_ &&
          (header->code == LVN_BEGINLABELEDITA || header->code == LVN_ENDLABELEDITA)) {
        // Messages are not edited; the variable view's values are.
        if (!listShowsMessages_ && debugger_.message && debugger_.message(m)) return true;
        m.result = header->code == LVN_BEGINLABELEDITA ? TRUE : FALSE;
        return true;
      }
      break;
    }
  }
  return Dialog::HandleMessage(m);
}

void ScriptEditorWindow::PostBuildResult(const std::string& module) {
  pendingBuildResult_ = module;
  Post(kShowBuildResultMessage);
}

void ScriptEditorWindow::EditCommand(int id) {
  switch (id) {
    case IDM_SCRIPT_UNDO:
      if (SendMessageA(edit_, EM_CANUNDO, 0, 0)) SendMessageA(edit_, EM_UNDO, 0, 0);
      break;
    case IDM_SCRIPT_CUT: SendMessageA(edit_, WM_CUT, 0, 0); break;
    case IDM_SCRIPT_COPY: SendMessageA(edit_, WM_COPY, 0, 0); break;
    case IDM_SCRIPT_PASTE: SendMessageA(edit_, WM_PASTE, 0, 0); break;
    case IDM_SCRIPT_SELECT_ALL: SendMessageA(edit_, EM_SETSEL, 0, -1); break;
    case IDM_SCRIPT_DELETE: SendMessageA(edit_, WM_CLEAR, 0, 0); break;
  }
}

bool ScriptEditorWindow::OnCommand(int id, int code, HWND control) {
  if (control) {
    if (control == edit_ && code == EN_CHANGE && !settingText_) controller_.OnEditChanged();
    return true;
  }
  RefreshEngine();
  switch (id) {
    case IDOK:
    case IDCANCEL:
      return true;  // Enter and Escape do not end the editor
    case IDM_SCRIPT_SAVE:
      controller_.Save();
      return true;
    case IDM_SCRIPT_RELOAD:
      controller_.Reload();
      return true;
    case IDM_SCRIPT_UNDO:
    case IDM_SCRIPT_CUT:
    case IDM_SCRIPT_COPY:
    case IDM_SCRIPT_PASTE:
    case IDM_SCRIPT_SELECT_ALL:
    case IDM_SCRIPT_DELETE:
      EditCommand(id);
      return true;
    case IDM_SCRIPT_OPEN_FILE:
      controller_.OpenScriptFile();
      return true;
    case IDM_SCRIPT_BUILD:
    case IDM_SCRIPT_RUN:
    case IDM_SCRIPT_STEP_IN:
    case IDM_SCRIPT_STEP_OVER:
    case IDM_SCRIPT_STEP_OUT:
    case IDM_SCRIPT_TOGGLE_BREAKPOINT:
    case IDM_SCRIPT_CLEAR_BREAKPOINTS:
      if (debugger_.command && debugger_.command(id)) return true;
      if (id == IDM_SCRIPT_BUILD && !controller_.CurrentModule().empty()) {
        const std::string module = controller_.CurrentModule();
        ScriptEngineGuard lock;
        controller_.RebuildModule(module, SourceContext());
        controller_.ShowBuildResult(module);
      }
      return true;
  }
  return false;
}

bool ScriptEditorWindow::OnNotify(const NMHDR& header, LRESULT& result) {
  result = 0;
  if (header.hwndFrom == tree_ && header.code == NM_DBLCLK) {
    // The first click of the double click has selected the item.
    HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_CARET, 0));
    TVITEMA data{};
    data.mask = TVIF_PARAM | TVIF_HANDLE;
    data.hItem = item;
    if (item && SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data)) && data.lParam >= 0) {
      RefreshEngine();
      controller_.SelectSection(static_cast<int>(data.lParam));
    }
    return true;
  }
  if (header.hwndFrom == list_ && (header.code == LVN_ITEMACTIVATE || header.code == NM_DBLCLK)) {
    if (!listShowsMessages_) return false;
    const wingui::ListView list(list_);
    int row = reinterpret_cast<const NMITEMACTIVATE&>(header).iItem;
    if (row < 0) row = list.SelectedRow();
    if (row < 0) return true;
    RefreshEngine();
    controller_.ActivateMessage(static_cast<int>(list.RowData(row)), list.Cell(row, 1));
    return true;
  }
  return false;
}

bool ScriptEditorWindow::OnClose() {
  controller_.SetHidden(true);
  Show(SW_HIDE);
  if (debugger_.closing) debugger_.closing();
  return true;
}

void ScriptEditorWindow::OnDestroy() {
  EndDrag();
  WritePlacement();
  keys_.Reset();
}

int ScriptEditorWindow::CaretLine() const {
  if (!edit_ || GetFocus() != edit_) return -1;
  DWORD start = 0;
  SendMessageA(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  return static_cast<int>(SendMessageA(edit_, EM_LINEFROMCHAR, start, 0));
}

void ScriptEditorWindow::SetListColumns(const std::vector<Column>& columns, DWORD extendedStyle) {
  listShowsMessages_ = false;
  SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
  while (SendMessageA(list_, LVM_DELETECOLUMN, 0, 0)) {
  }
  // A column shows the sub-item of its index: each goes in at its sub-item, and the order
  // in which they show is set apart.
  std::vector<Column> bySubItem = columns;
  std::sort(bySubItem.begin(), bySubItem.end(), [](const Column& a, const Column& b) { return a.subItem < b.subItem; });
  std::vector<int> order(columns.size());
  for (std::size_t i = 0; i < bySubItem.size(); ++i) {
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.pszText = const_cast<char*>(bySubItem[i].title.c_str());
    column.cx = bySubItem[i].width;
    column.iSubItem = bySubItem[i].subItem;
    SendMessageA(list_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    if (bySubItem[i].order >= 0 && bySubItem[i].order < static_cast<int>(order.size()))
      order[bySubItem[i].order] = static_cast<int>(i);
  }
  SendMessageA(list_, LVM_SETCOLUMNORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data()));
  SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, ~0u, extendedStyle);
}

// --- EditorView --------------------------------------------------------------------------------

std::string ScriptEditorWindow::EditText() { return wingui::WindowTextOf(edit_); }

void ScriptEditorWindow::SetEditText(const std::string& text) {
  settingText_ = true;
  SendMessageA(edit_, EM_LIMITTEXT, 0, 0);
  SetWindowTextA(edit_, text.c_str());
  settingText_ = false;
  margin_.Invalidate();
}

void ScriptEditorWindow::GoToLine(int line, int column) {
  const int lines = static_cast<int>(SendMessageA(edit_, EM_GETLINECOUNT, 0, 0));
  if (line >= lines) line = lines > 0 ? lines - 1 : 0;
  const LRESULT first = SendMessageA(edit_, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
  if (first < 0) return;
  const LRESULT length = SendMessageA(edit_, EM_LINELENGTH, static_cast<WPARAM>(first), 0);
  const LRESULT at = first + (column < length ? column : length);
  SendMessageA(edit_, EM_SETSEL, static_cast<WPARAM>(at), at);
  SendMessageA(edit_, EM_SCROLLCARET, 0, 0);
  SetFocus(edit_);
  margin_.Invalidate();
}

void ScriptEditorWindow::ShowTree(const std::vector<EditorTreeRow>& rows) {
  SendMessageA(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  std::vector<HTREEITEM> parents;
  HTREEITEM selected = nullptr;
  std::vector<HTREEITEM> expand;
  for (const EditorTreeRow& row : rows) {
    parents.resize(static_cast<std::size_t>(row.depth));
    TVINSERTSTRUCTA insert{};
    insert.hParent = parents.empty() ? TVI_ROOT : parents.back();
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE | TVIF_CHILDREN;
    insert.item.pszText = const_cast<char*>(row.text.c_str());
    insert.item.lParam = row.data;
    insert.item.stateMask = TVIS_BOLD;
    insert.item.state = row.bold ? TVIS_BOLD : 0;
    insert.item.cChildren = row.depth < 2 ? 1 : 0;
    HTREEITEM item = reinterpret_cast<HTREEITEM>(
        SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    if (row.depth < 2) expand.push_back(item);
    if (row.bold) selected = item;
    parents.push_back(item);
  }
  for (HTREEITEM item : expand) SendMessageA(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
  if (selected) {
    SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(selected));
    SendMessageA(tree_, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(selected));
  }
}

void ScriptEditorWindow::ShowMessages(const std::vector<MessageRow>& rows) {
  const RECT client = [&] {
    RECT r{};
    GetClientRect(list_, &r);
    return r;
  }();
  const MessageColumns w = MessageColumnWidths(client.right);
  SetListColumns({{"Severity", w.severity, 0, 0},
                  {"Line, Column", w.position, 1, 1},
                  {"Section", w.section, 2, 2},
                  {"Message", w.message, 3, 3}},
                 LVS_EX_FULLROWSELECT | LVS_EX_TWOCLICKACTIVATE);
  listShowsMessages_ = true;
  const wingui::ListView list(list_);
  for (const MessageRow& r : rows) {
    const int row = list.AddRow(r.severity, r.data);
    list.SetCell(row, 1, r.position);
    list.SetCell(row, 2, r.section);
    list.SetCell(row, 3, r.message);
  }
}

void ScriptEditorWindow::RepaintMargin() { margin_.Invalidate(); }

void ScriptEditorWindow::ShowEditor(bool visible) {
  Show(visible ? SW_SHOW : SW_HIDE);
  if (visible) UpdateWindow(hwnd());
}
