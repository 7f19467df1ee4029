#include "ui/legend_editor/legend_editor.h"

#include <objidl.h>  // gdiplus needs it with the lean headers
#include <gdiplus.h>
#include <richedit.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "macros/gdiplus_view_images.h"
#include "macros/model/layout_file.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_device.h"
#include "macros/model/text_code_page.h"
#include "platform/base/file_replace.h"
#include "platform/base/path_text.h"
#include "platform/base/system_calls.h"
#include "platform/wingui/gdi.h"
#include "platform/wingui/message_pump.h"
#include "platform/wingui/window.h"
#include "platform/wingui/window_text.h"
#include "ui/legend_editor/caption_box.h"
#include "ui/legend_editor/legend_controller.h"
#include "ui/legend_editor/legend_editor_ids.h"
#include "ui/legend_editor/legend_layout.h"
#include "ui/legend_editor/legend_printing.h"
#include "ui/programming_window/programming_window.h"

namespace {

constexpr char kLegendTitle[] = "Legend Maker";
// Text carried over to a new layout, as UTF-16 bytes.
constexpr std::size_t kMovedTextBytes = 10240;
constexpr std::size_t kLayoutFileBytes = 1u << 20;
constexpr int kFileMenu = 0;
constexpr int kEditMenu = 1;

std::wstring Wide(const std::u16string& s) { return std::wstring(s.begin(), s.end()); }
std::u16string Utf16(const std::wstring& s) { return std::u16string(s.begin(), s.end()); }

Gdiplus::Bitmap* BitmapOf(const std::shared_ptr<ViewImage>& image) {
  return image ? &static_cast<GdiplusImage*>(image.get())->Bitmap() : nullptr;
}

INT_PTR CALLBACK LegendAboutDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      break;
  }
  return FALSE;
}

// The editor's state while the window is the legend editor: its caption boxes, its background
// and what it took from the programming window (menu, title, size), to give back at the end.
// As the window's mode it sees every message first; the window's own messages (its redraws,
// its LED blinking) and its ending stay the window's.
class CaptionSet : public LegendCaptions {
 public:
  CaptionSet(SystemCalls& calls, MacroContext& context, HWND window)
      : calls_(calls), context_(context), window_(window), controller_(calls, *this, files_) {}
  ~CaptionSet() override { captions_.clear(); }
  CaptionSet(const CaptionSet&) = delete;
  CaptionSet& operator=(const CaptionSet&) = delete;

  // Takes the window over; false (and the window untouched) when it is not the context's
  // programming window, or without a layout file or the editor's menu.
  bool Open();
  bool Ended() const { return ended_; }
  bool TranslateKeys(MSG& msg);

  // A message of the window; false leaves it to the programming window.
  bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // LegendCaptions
  int CaptionCount() const override { return static_cast<int>(captions_.size()); }
  CaptionContent CaptionContentOf(int index) override;
  void ApplyCaptionContent(int index, const CaptionContent& content) override;
  bool CaptionCanUndo(int index) override { return captions_[static_cast<std::size_t>(index)]->CanUndo(); }
  void ForgetCaptionUndo(int index) override { captions_[static_cast<std::size_t>(index)]->ForgetUndo(); }

 private:
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id);
  void OnInitMenuPopup(HMENU popup);
  CaptionRecord* Current() const;
  int IndexOfBox(HWND box) const;

  Gdiplus::Bitmap* KeypadPicture() const;
  // The picture whose resolution scales the captions: the keypad's background or the own one.
  Gdiplus::Bitmap* ScalePicture() const;
  bool HasBackground() const { return ownBackground_ || KeypadPicture(); }
  void Paint(HDC dc) const;
  void FitClientTo(int width, int height);

  void LoadLegendBackground();
  void LoadChosenLayout(const std::string& path);
  void LoadLegendLayout(const std::vector<CaptionBox>& boxes, const std::vector<std::wstring>& texts);
  bool MoveCaptions(std::vector<std::unique_ptr<CaptionRecord>>& from);

  void GetImage();
  void SelectFont();
  void SelectColour();
  void Print();
  void Exit();
  // Gives the window back to the programming window (at its own size again, unless it is
  // going); the set goes when its last message is handled.
  void End(bool windowStays = true);
  void Tell(const std::string& text) const;

  static void OnPictureDragged(void* self) { static_cast<CaptionSet*>(self)->controller_.MarkModified(); }

  SystemCalls& calls_;
  MacroContext& context_;
  HWND window_;
  // Caption files replace their old selves through a temporary file beside them.
  AtomicFileAccess files_;
  LegendController controller_;
  // The programming window's keypad picture is the background until a layout file is loaded.
  bool keypadBackground_ = true;
  std::shared_ptr<ViewImage> ownBackground_;
  RECT canvas_{};
  bool dieCut_ = false;
  std::string layoutPath_;
  std::vector<std::unique_ptr<CaptionRecord>> captions_;
  int current_ = -1;

  // What the programming window calls with its messages while the editor is on.
  class Mode : public ProgrammingWindowMode {
   public:
    explicit Mode(CaptionSet& set) : set_(set) {}
    bool HandleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

   private:
    CaptionSet& set_;
  };
  Mode mode_{*this};
  HMENU savedMenu_ = nullptr;
  std::string savedTitle_;
  RECT savedRect_{};
  HMENU menu_ = nullptr;
  HACCEL accelerators_ = nullptr;
  bool windowActive_ = false;
  wingui::MessagePump::HookRegistration keys_;

  // The font dialog starts from the last font chosen, the colour dialog from the last colour.
  FontChoice font_;
  std::uint32_t colour_ = RGB(255, 255, 255);
  CustomColours customColours_{};
  bool ending_ = false;
  bool ended_ = false;  // the window is the programming window's again
};

// The editors of this thread, by window. An editor that has ended is kept until no message of
// any editor is being handled, for its handler may still be on the stack.
struct LegendEditors {
  std::map<HWND, std::unique_ptr<CaptionSet>> open;
  std::vector<std::unique_ptr<CaptionSet>> closed;
  int depth = 0;

  void FreeClosed() {
    if (depth == 0) closed.clear();
  }
  void Retire(HWND window) {
    const auto it = open.find(window);
    if (it == open.end()) return;
    closed.push_back(std::move(it->second));
    open.erase(it);
  }
};
LegendEditors& Editors() {
  static thread_local LegendEditors editors;
  return editors;
}

// The window's procedure while the editor is on: its messages before the window's own.
bool LegendWndProc(CaptionSet& set, HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  LegendEditors& editors = Editors();
  editors.FreeClosed();
  ++editors.depth;
  const bool handled = set.HandleMessage(msg, wParam, lParam, result);
  --editors.depth;
  if (set.Ended()) editors.Retire(window);
  return handled;
}

bool CaptionSet::Mode::HandleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return LegendWndProc(set_, window, msg, wParam, lParam, result);
}

bool CaptionSet::Open() {
  if (ProgrammingContextOf(window_) != &context_) return false;
  MacroDevice* device = context_.device;
  std::string layoutText;
  if (!device || !device->ReadDeviceFile(kLayoutFileName, layoutText, layoutPath_)) return false;
  wingui::LoadRichEdit();
  const HINSTANCE instance = wingui::ProgramInstance();
  menu_ = LoadMenuA(instance, MAKEINTRESOURCEA(IDR_LEGEND_EDITOR));
  if (!menu_) return false;
  accelerators_ = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_LEGEND_EDITOR));

  controller_.SetOwner(window_);
  controller_.SetDeviceLayout(layoutPath_);
  // The device's own layout tells its paper too, not only one loaded later.
  dieCut_ = ReadLegendLayout(layoutText).dieCut;

  savedMenu_ = GetMenu(window_);
  savedTitle_ = wingui::WindowTextOf(window_);
  GetWindowRect(window_, &savedRect_);

  SetMenu(window_, menu_);
  SetProgrammingWindowMode(window_, &mode_);
  SetWindowTextA(window_, kLegendTitle);
  DrawMenuBar(window_);
  windowActive_ = GetActiveWindow() == window_;
  keys_ = wingui::MessagePump::ForThisThread().AddHook([this](MSG& msg) { return TranslateKeys(msg); });

  LoadLegendBackground();
  return true;
}

bool CaptionSet::TranslateKeys(MSG& msg) {
  if (ended_ || !accelerators_ || !windowActive_) return false;
  if (msg.hwnd != window_ && !IsChild(window_, msg.hwnd)) return false;
  return TranslateAcceleratorA(window_, accelerators_, &msg) != 0;
}

Gdiplus::Bitmap* CaptionSet::KeypadPicture() const {
  auto* canvas = dynamic_cast<GdiplusCanvas*>(context_.view.canvas.get());
  return canvas ? &canvas->Bitmap() : nullptr;
}

Gdiplus::Bitmap* CaptionSet::ScalePicture() const {
  if (!keypadBackground_) return BitmapOf(ownBackground_);
  auto* canvas = dynamic_cast<GdiplusCanvas*>(context_.view.canvas.get());
  return canvas ? &canvas->Background() : nullptr;
}

void CaptionSet::Paint(HDC dc) const {
  Gdiplus::Graphics g(dc);
  if (Gdiplus::Bitmap* own = BitmapOf(ownBackground_)) {
    g.DrawImage(own, Gdiplus::Rect(canvas_.left, canvas_.top, canvas_.right - canvas_.left, canvas_.bottom - canvas_.top));
  } else if (Gdiplus::Bitmap* keypad = keypadBackground_ ? KeypadPicture() : nullptr) {
    g.DrawImage(keypad, 0, 0, static_cast<INT>(keypad->GetWidth()), static_cast<INT>(keypad->GetHeight()));
  }
}

void CaptionSet::FitClientTo(int width, int height) {
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_EXSTYLE));
  RECT r{0, 0, width, height};
  AdjustWindowRectEx(&r, style, GetMenu(window_) != nullptr, exStyle);
  int outerW = r.right - r.left, outerH = r.bottom - r.top;
  SetWindowPos(window_, nullptr, 0, 0, outerW, outerH, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // A menu bar that wraps onto a second line takes more than one line's height.
  RECT client{};
  GetClientRect(window_, &client);
  if (client.bottom != height) {
    outerH += height - client.bottom;
    SetWindowPos(window_, nullptr, 0, 0, outerW, outerH, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void CaptionSet::LoadLegendBackground() {
  EnableMenuItem(menu_, kEditMenu, MF_BYPOSITION | MF_GRAYED);
  if (Gdiplus::Bitmap* keypad = KeypadPicture()) {
    FitClientTo(static_cast<int>(keypad->GetWidth()), static_cast<int>(keypad->GetHeight()));
    InvalidateRect(window_, nullptr, TRUE);
    std::vector<CaptionBox> boxes;
    std::vector<std::wstring> texts;
    for (KeyCaption& c : KeyCaptions(context_.keys)) {
      boxes.push_back(c.box);
      texts.push_back(std::move(c.text));
    }
    LoadLegendLayout(boxes, texts);
  } else {
    // A context without its keypad picture: the device's layout as a chosen one.
    keypadBackground_ = false;
    EnableMenuItem(menu_, kEditMenu, MF_BYPOSITION | MF_ENABLED);
    LoadChosenLayout(layoutPath_);
    return;
  }
  EnableMenuItem(menu_, kEditMenu, MF_BYPOSITION | MF_ENABLED);
  DrawMenuBar(window_);
}

void CaptionSet::LoadChosenLayout(const std::string& path) {
  // Everything is checked before the captions there are now give way to new ones.
  std::string text;
  if (files_.Read(path, text, kLayoutFileBytes) != FileAccess::ReadResult::Ok) {
    Tell("The layout file \"" + path + "\" cannot be read. The captions were left as they were.");
    return;
  }
  const LegendLayout layout = ReadLegendLayout(text);
  const std::string backgroundPath = CutAfterLastBackslash(path) + kBackgroundImageName;
  std::shared_ptr<ViewImage> background = GdiplusImageLoader().LoadImage(WidenText(backgroundPath), nullptr);
  if (!background) {
    Tell("The layout file \"" + path + "\" has no picture \"" + backgroundPath +
         "\" beside it. The captions were left as they were.");
    return;
  }
  if (layout.boxes.empty()) {
    Tell("The layout file \"" + path + "\" places no captions. The captions were left as they were.");
    return;
  }

  EnableMenuItem(menu_, kEditMenu, MF_BYPOSITION | MF_GRAYED);
  std::vector<std::unique_ptr<CaptionRecord>> old = std::move(captions_);
  captions_.clear();
  current_ = -1;
  keypadBackground_ = false;
  ownBackground_ = std::move(background);
  dieCut_ = layout.dieCut;
  FitClientTo(ownBackground_->Width(), ownBackground_->Height());
  GetClientRect(window_, &canvas_);
  InvalidateRect(window_, nullptr, TRUE);
  LoadLegendLayout(layout.boxes, {});
  EnableMenuItem(menu_, kEditMenu, MF_BYPOSITION | MF_ENABLED);
  DrawMenuBar(window_);
  // What the user made is not dropped without a question at Exit.
  if (MoveCaptions(old)) controller_.MarkModified();
}

void CaptionSet::LoadLegendLayout(const std::vector<CaptionBox>& boxes, const std::vector<std::wstring>& texts) {
  Gdiplus::Bitmap* scale = ScalePicture();
  const int zoomDpi = scale ? static_cast<int>(scale->GetVerticalResolution()) : 0;
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    std::unique_ptr<CaptionRecord> record =
        CaptionRecord::Create(window_, static_cast<int>(i), boxes[i], zoomDpi, &CaptionSet::OnPictureDragged, this);
    if (!record) break;
    if (i < texts.size()) record->SetPlainText(texts[i]);
    captions_.push_back(std::move(record));
    current_ = static_cast<int>(i);
  }
}

bool CaptionSet::MoveCaptions(std::vector<std::unique_ptr<CaptionRecord>>& from) {
  bool moved = false;
  for (std::size_t i = 0; i < from.size() && i < captions_.size(); ++i) {
    CaptionRecord& old = *from[i];
    if (old.HasPicture() || !old.PicturePath().empty()) {
      old.MovePictureTo(*captions_[i]);
      moved = true;
    }
    std::wstring text = old.PlainText();
    if (text.size() > kMovedTextBytes / sizeof(wchar_t)) text.resize(kMovedTextBytes / sizeof(wchar_t));
    if (!text.empty()) {
      captions_[i]->SetPlainText(text);
      moved = true;
    }
  }
  from.clear();
  return moved;
}

CaptionContent CaptionSet::CaptionContentOf(int index) {
  CaptionRecord& c = *captions_[static_cast<std::size_t>(index)];
  c.StopMouse();
  return {c.PictureRect(), Utf16(c.PicturePath()), c.RtfText()};
}

void CaptionSet::ApplyCaptionContent(int index, const CaptionContent& content) {
  CaptionRecord& c = *captions_[static_cast<std::size_t>(index)];
  c.TakePictureAt(Wide(content.imagePath), content.image);
  c.SetRtfText(content.rtf);
}

CaptionRecord* CaptionSet::Current() const {
  return current_ >= 0 && current_ < CaptionCount() ? captions_[static_cast<std::size_t>(current_)].get() : nullptr;
}

int CaptionSet::IndexOfBox(HWND box) const {
  for (std::size_t i = 0; i < captions_.size(); ++i)
    if (captions_[i]->Box() == box) return static_cast<int>(i);
  return -1;
}

bool CaptionSet::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (ended_) return false;
  // The programming window's own messages (its redraws, its LED blinking) go on reaching it.
  if (msg >= WM_USER && msg < 0xC000) return false;
  if (msg == WM_DESTROY) {
    // The window goes while the editor is on (the switch, the device, the program): the
    // editor lets go, and the programming window's own ending follows.
    End(false);
    return false;
  }
  result = OnMessage(msg, wParam, lParam);
  return true;
}

LRESULT CaptionSet::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      if (lParam) {
        // Of the boxes' notifications only the focus counts: that box is the current caption.
        if (HIWORD(wParam) == EN_SETFOCUS) {
          const int index = IndexOfBox(reinterpret_cast<HWND>(lParam));
          if (index >= 0) current_ = index;
        }
        return 0;
      }
      OnCommand(LOWORD(wParam));
      return 0;
    case WM_INITMENUPOPUP:
      OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
      return 0;
    case WM_ACTIVATE:
      windowActive_ = LOWORD(wParam) != WA_INACTIVE;
      if (windowActive_ && Current() && !HIWORD(wParam)) {
        SetFocus(Current()->Box());
        return 0;
      }
      break;
    case WM_SETFOCUS:
      if (Current()) {
        SetFocus(Current()->Box());
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      if (HasBackground()) return 1;
      break;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      const HDC dc = BeginPaint(window_, &ps);
      Paint(dc);
      EndPaint(window_, &ps);
      // The boxes paint themselves over the background again.
      for (const auto& c : captions_) InvalidateRect(c->Box(), nullptr, FALSE);
      return 0;
    }
    case WM_PRINTCLIENT:
      if (HasBackground()) Paint(reinterpret_cast<HDC>(wParam));
      else DefWindowProcA(window_, WM_ERASEBKGND, wParam, 0);
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_MAXIMIZE) return 0;  // the window keeps its picture's size
      break;
    case WM_CLOSE:
      Exit();
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      return 0;
  }
  return DefWindowProcA(window_, msg, wParam, lParam);
}

void CaptionSet::OnCommand(int id) {
  CaptionRecord* current = Current();
  switch (id) {
    case IDM_LEGEND_LOAD_LAYOUT:
      if (const auto path = controller_.ChooseLayout()) LoadChosenLayout(*path);
      break;
    case IDM_LEGEND_OPEN:
      controller_.OpenCaptions();
      break;
    case IDM_LEGEND_SAVE:
      controller_.SaveCaptions();
      break;
    case IDM_LEGEND_SAVE_AS:
      controller_.SaveCaptionsAs();
      break;
    case IDM_LEGEND_GET_IMAGE:
      GetImage();
      break;
    case IDM_LEGEND_PRINT:
      Print();
      break;
    case IDM_LEGEND_EXIT:
      Exit();
      break;
    case IDM_LEGEND_UNDO:
      if (current) current->Edit().Send(EM_UNDO);
      break;
    case IDM_LEGEND_REDO:
      if (current) current->Edit().Send(EM_REDO);
      break;
    case IDM_LEGEND_CUT:
      if (current) current->Edit().Send(WM_CUT);
      break;
    case IDM_LEGEND_COPY:
      if (current) current->Edit().Send(WM_COPY);
      break;
    case IDM_LEGEND_PASTE:
      if (current) current->Edit().Send(WM_PASTE);
      break;
    case IDM_LEGEND_DELETE:
      if (current) current->Edit().Send(WM_CLEAR);
      break;
    case IDM_LEGEND_SELECT_FONT:
      SelectFont();
      break;
    case IDM_LEGEND_SELECT_COLOR:
      SelectColour();
      break;
    case IDM_LEGEND_ABOUT:
      DialogBoxParamA(wingui::ProgramInstance(), MAKEINTRESOURCEA(IDD_LEGEND_ABOUT), window_, &LegendAboutDlgProc, 0);
      break;
  }
}

void CaptionSet::OnInitMenuPopup(HMENU popup) {
  auto enable = [popup](UINT id, bool on) { EnableMenuItem(popup, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
  if (popup == GetSubMenu(menu_, kFileMenu)) {
    const bool any = !captions_.empty();
    for (UINT id : {IDM_LEGEND_GET_IMAGE, IDM_LEGEND_PRINT, IDM_LEGEND_SAVE_AS, IDM_LEGEND_SAVE, IDM_LEGEND_OPEN})
      enable(id, any);
  } else if (popup == GetSubMenu(menu_, kEditMenu)) {
    const CaptionRecord* c = Current();
    CHARRANGE selection{};
    if (c) c->Edit().Send(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    enable(IDM_LEGEND_PASTE, c && c->Edit().Send(EM_CANPASTE, 0) != 0);
    enable(IDM_LEGEND_UNDO, c && c->Edit().Send(EM_CANUNDO) != 0);
    enable(IDM_LEGEND_REDO, c && c->Edit().Send(EM_CANREDO) != 0);
    enable(IDM_LEGEND_CUT, c && selection.cpMin != selection.cpMax);
    enable(IDM_LEGEND_COPY, c && selection.cpMin != selection.cpMax);
  }
}

void CaptionSet::GetImage() {
  CaptionRecord* current = Current();
  if (!current) return;
  const std::optional<std::string> path = controller_.ChoosePicture();
  if (!path) return;
  current->TakePicture(WidenText(*path));
  controller_.MarkModified();
}

void CaptionSet::SelectFont() {
  CaptionRecord* current = Current();
  if (!current) return;
  const wingui::CharFormat now = current->Edit().GetCharFormat();
  int screenDpiY = 96;
  if (const wingui::WindowDc dc(current->Box()); dc) screenDpiY = GetDeviceCaps(dc.get(), LOGPIXELSY);
  // The selection's face and character height; the effects of the last font chosen.
  font_.face = now.face;
  font_.height = -MulDiv(now.heightTwips, screenDpiY, 1440);
  font_.colour = (now.effects & CFE_AUTOCOLOR) ? RGB(0, 0, 0) : now.color;
  const std::optional<FontChoice> font = calls_.ChooseTextFont(window_, font_);
  if (!font) return;
  font_ = *font;
  wingui::CharFormat chosen;
  chosen.mask = CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
  chosen.face = font_.face;
  // The dialog's point size in tenths: the size whatever the sign of the font's height.
  chosen.heightTwips = font_.pointTenths > 0 ? font_.pointTenths * 2 : MulDiv(std::abs(font_.height), 1440, screenDpiY);
  chosen.color = font_.colour;
  chosen.effects = (font_.weight >= FW_BOLD ? CFE_BOLD : 0) | (font_.italic ? CFE_ITALIC : 0) |
                   (font_.underline ? CFE_UNDERLINE : 0) | (font_.strikeOut ? CFE_STRIKEOUT : 0);
  current->Edit().SetCharFormat(chosen);
  SetFocus(current->Box());
}

void CaptionSet::SelectColour() {
  CaptionRecord* current = Current();
  if (!current) return;
  const std::optional<std::uint32_t> colour = calls_.ChooseColour(window_, colour_, customColours_);
  if (!colour) return;
  colour_ = *colour;
  current->SetColour(colour_);
  current->Repaint();
}

void CaptionSet::Print() {
  if (captions_.empty()) return;
  LegendPage page;
  page.dieCut = dieCut_;
  if (Gdiplus::Bitmap* picture = ScalePicture()) {
    page.scale.pictureDpiX = static_cast<int>(picture->GetHorizontalResolution());
    page.scale.pictureDpiY = static_cast<int>(picture->GetVerticalResolution());
  }
  if (const wingui::WindowDc dc(captions_.front()->Box()); dc) {
    page.scale.screenDpiX = GetDeviceCaps(dc.get(), LOGPIXELSX);
    page.scale.screenDpiY = GetDeviceCaps(dc.get(), LOGPIXELSY);
  }
  for (const auto& c : captions_) {
    c->StopMouse();
    page.captions.push_back(c.get());
  }
  PrintLegendSheet(window_, page);
}

void CaptionSet::Exit() {
  if (!controller_.ConfirmExit()) return;
  End();
}

void CaptionSet::End(bool windowStays) {
  if (ended_ || ending_) return;
  ending_ = true;
  keys_.Reset();
  // The boxes go first, and the focus leaves them before: their last notifications are the
  // editor's, not the programming window's.
  current_ = -1;
  if (IsChild(window_, GetFocus())) SetFocus(window_);
  captions_.clear();
  // Nothing of GDI+ outlives the editor's end (the set itself may stay a while).
  ownBackground_.reset();
  SetProgrammingWindowMode(window_, nullptr);
  ended_ = true;
  SetMenu(window_, savedMenu_);
  DestroyMenu(menu_);
  menu_ = nullptr;
  SetWindowTextA(window_, savedTitle_.c_str());
  if (!windowStays) return;
  // The programming window had fitted itself to its keypad picture.
  RECT now{};
  GetWindowRect(window_, &now);
  const int w = savedRect_.right - savedRect_.left, h = savedRect_.bottom - savedRect_.top;
  if (now.right - now.left != w || now.bottom - now.top != h)
    SetWindowPos(window_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  DrawMenuBar(window_);
  InvalidateRect(window_, nullptr, TRUE);
}

void CaptionSet::Tell(const std::string& text) const {
  calls_.ShowMessageBox(window_, text.c_str(), kLegendTitle, BoxButtons::Ok, BoxIcon::Warning);
}

}  // namespace

void OpenLegendMaker(MacroContext& context, HWND window) {
  LegendEditors& editors = Editors();
  editors.FreeClosed();
  if (!IsWindow(window) || IsLegendMakerActive(window)) return;
  // A mode of the programming window asks the user through the window's own platform.
  auto set = std::make_unique<CaptionSet>(ProgrammingCallsOf(window), context, window);
  CaptionSet* opened = set.get();
  editors.open[window] = std::move(set);
  if (!opened->Open()) editors.open.erase(window);
}

bool LegendTranslateAccelerator(MSG& msg) {
  for (auto& [window, set] : Editors().open)
    if (set->TranslateKeys(msg)) return true;
  return false;
}

bool IsLegendMakerActive(HWND window) {
  const LegendEditors& editors = Editors();
  const auto it = editors.open.find(window);
  return it != editors.open.end() && !it->second->Ended();
}
