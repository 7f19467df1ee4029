#include "ui/legend_editor/caption_box.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "macros/gdiplus_view_images.h"
#include "platform/wingui/gdi.h"
#include "platform/wingui/window.h"
#include "ui/legend_editor/caption_picture.h"

namespace {

constexpr UINT_PTR kSubclassId = 1;

// The text of a stream in or out: the EDITSTREAM cookie.
struct CaptionStream {
  std::string* out = nullptr;
  const std::string* in = nullptr;
  std::size_t offset = 0;
};

// Takes every byte the control streams out.
DWORD CALLBACK CaptionStreamOut(DWORD_PTR file, LPBYTE buffer, LONG count, LONG* written) {
  auto* s = reinterpret_cast<CaptionStream*>(file);
  s->out->append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(std::max<LONG>(count, 0)));
  *written = count;
  return 0;
}

// Gives the control up to count bytes of the caption's text.
DWORD CALLBACK CaptionStreamIn(DWORD_PTR file, LPBYTE buffer, LONG count, LONG* read) {
  auto* s = reinterpret_cast<CaptionStream*>(file);
  const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(std::max<LONG>(count, 0)), s->in->size() - s->offset);
  std::memcpy(buffer, s->in->data() + s->offset, n);
  s->offset += n;
  *read = static_cast<LONG>(n);
  return 0;
}

bool IsMouseMessage(UINT msg) { return (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || msg == WM_SETCURSOR; }

}  // namespace

CaptionRecord::CaptionRecord(HWND box, const CaptionBox& rect, Changed changed, void* owner)
    : edit_(box), box_(rect), changed_(changed), owner_(owner) {}

std::unique_ptr<CaptionRecord> CaptionRecord::Create(HWND parent, int index, const CaptionBox& box, int zoomDpi,
                                                     Changed changed, void* owner) {
  wingui::LoadRichEdit();
  const HWND h = CreateWindowExA(0, wingui::kRichEditClass, "",
                                 WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_CENTER | ES_AUTOVSCROLL | ES_WANTRETURN,
                                 box.x, box.y, std::max(box.w, 0), std::max(box.h, 0), parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCaptionBoxIdBase + index)),
                                 wingui::ProgramInstance(), nullptr);
  if (!h) return nullptr;
  std::unique_ptr<CaptionRecord> record(new CaptionRecord(h, box, changed, owner));
  if (zoomDpi > 0) SendMessageA(h, EM_SETZOOM, 72, zoomDpi);
  record->SetPlainText(L"");
  SetFocus(h);
  SetWindowSubclass(h, &CaptionRecord::LegendCanvasProc, kSubclassId, reinterpret_cast<DWORD_PTR>(record.get()));
  return record;
}

CaptionRecord::~CaptionRecord() {
  if (IsWindow(Box())) {
    RemoveWindowSubclass(Box(), &CaptionRecord::LegendCanvasProc, kSubclassId);
    DestroyWindow(Box());
  }
}

void CaptionRecord::SetPlainText(const std::wstring& text) {
  edit_.SetTextWide(text);
  wingui::CharFormat format;
  format.mask = CFM_FACE | CFM_SIZE;
  format.face = kCaptionFace;
  format.heightTwips = kCaptionTwips;
  edit_.SetCharFormat(format, wingui::FormatScope::All);
  if (colour_) SetColour(*colour_);
  ForgetUndo();
}

std::string CaptionRecord::RtfText() const {
  std::string rtf;
  CaptionStream stream{&rtf};
  EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&stream), 0, &CaptionStreamOut};
  edit_.Send(EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&es));
  return rtf;
}

void CaptionRecord::SetRtfText(const std::string& rtf) {
  if (rtf.empty()) {
    colour_.reset();
    edit_.Send(EM_SETBKGNDCOLOR, 1, 0);
    SetPlainText(L"");
    return;
  }
  CaptionStream stream{nullptr, &rtf};
  EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&stream), 0, &CaptionStreamIn};
  edit_.Send(EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es));
  TakeColourFromText();
}

bool CaptionRecord::CanUndo() const { return edit_.Send(EM_CANUNDO) != 0; }
void CaptionRecord::ForgetUndo() { edit_.Send(EM_EMPTYUNDOBUFFER); }

Gdiplus::Bitmap* CaptionRecord::Picture() const {
  return picture_ ? &static_cast<GdiplusImage*>(picture_.get())->Bitmap() : nullptr;
}

bool CaptionRecord::TakePicture(const std::wstring& path) {
  TakePictureAt(path, {});
  if (!picture_) return false;
  image_ = {0, 0, static_cast<float>(picture_->Width()), static_cast<float>(picture_->Height())};
  return true;
}

void CaptionRecord::TakePictureAt(const std::wstring& path, const ImageRect& rect) {
  DropPicture();
  // A path whose file is missing here is kept, so that saving again does not lose it.
  imagePath_ = path;
  image_ = rect;
  if (!path.empty()) picture_ = GdiplusImageLoader().LoadImage(path, nullptr);
  Repaint();
}

void CaptionRecord::MovePictureTo(CaptionRecord& other) {
  other.DropPicture();
  other.picture_ = std::move(picture_);
  other.image_ = image_;
  other.imagePath_ = std::move(imagePath_);
  DropPicture();
  other.Repaint();
}

void CaptionRecord::DropPicture() {
  StopMouse();
  picture_.reset();
  imagePath_.clear();
  image_ = {};
}

void CaptionRecord::StopMouse() {
  if (dragging_ && GetCapture() == Box()) {
    dragging_ = false;
    ReleaseCapture();
  }
  dragging_ = false;
  hover_ = false;
}

void CaptionRecord::SetColour(COLORREF colour) {
  colour_ = colour;
  edit_.SetBackground(colour);
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  cf.dwMask = CFM_BACKCOLOR;
  cf.crBackColor = colour;
  edit_.Send(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
}

CHARFORMAT2W CaptionRecord::WholeTextFormat() const {
  CHARRANGE kept{};
  edit_.Send(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&kept));
  edit_.Send(EM_SETSEL, 0, -1);
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  edit_.Send(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  edit_.Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&kept));
  return cf;
}

void CaptionRecord::TakeColourFromText() {
  const CHARFORMAT2W cf = WholeTextFormat();
  if ((cf.dwMask & CFM_BACKCOLOR) && !(cf.dwEffects & CFE_AUTOBACKCOLOR)) {
    colour_ = cf.crBackColor;
    edit_.SetBackground(cf.crBackColor);
  } else {
    colour_.reset();
    edit_.Send(EM_SETBKGNDCOLOR, 1, 0);
  }
}

void CaptionRecord::DrawPicture(HDC dc) const {
  Gdiplus::Bitmap* picture = Picture();
  if (!picture) return;
  Gdiplus::Graphics g(dc);
  g.DrawImage(picture, static_cast<INT>(image_.x), static_cast<INT>(image_.y), static_cast<INT>(picture->GetWidth()),
              static_cast<INT>(picture->GetHeight()));
  if (hover_) {
    Gdiplus::Pen pen(Gdiplus::Color(0xFF000000), 1.0f);
    g.DrawRectangle(&pen, image_.x, image_.y, image_.w, image_.h);
  }
}

LRESULT CALLBACK CaptionRecord::LegendCanvasProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                 DWORD_PTR data) {
  auto* record = reinterpret_cast<CaptionRecord*>(data);
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, &CaptionRecord::LegendCanvasProc, kSubclassId);
    return DefSubclassProc(hwnd, msg, wParam, lParam);
  }
  bool handled = false;
  const LRESULT result = record->OnMessage(msg, wParam, lParam, handled);
  if (handled) return result;
  // While the mouse is over the picture, the text does not see it (no selecting by dragging
  // the picture); everything else always reaches the control.
  if (record->hover_ && IsMouseMessage(msg)) return DefWindowProcA(hwnd, msg, wParam, lParam);
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

LRESULT CaptionRecord::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
  const HWND hwnd = Box();
  switch (msg) {
    case WM_PAINT: {
      handled = true;
      const LRESULT r = DefSubclassProc(hwnd, msg, wParam, lParam);
      if (picture_) {
        const wingui::WindowDc dc(hwnd);
        if (dc) DrawPicture(dc.get());
      }
      return r;
    }
    case WM_PRINTCLIENT: {
      handled = true;
      const LRESULT r = DefSubclassProc(hwnd, msg, wParam, lParam);
      DrawPicture(reinterpret_cast<HDC>(wParam));
      return r;
    }
    case WM_MOUSEMOVE: {
      const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (dragging_) {
        RECT client{};
        GetClientRect(hwnd, &client);
        image_ = DragPicture(image_, p.x - last_.x, p.y - last_.y, client.right, client.bottom);
        last_ = p;
        Repaint();
        handled = true;
        return 0;
      }
      const bool over = picture_ && PictureContains(image_, p.x, p.y);
      if (over && !hover_) {
        hover_ = true;
        savedCursor_ = SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        Repaint();
      } else if (!over && hover_) {
        hover_ = false;
        SetCursor(savedCursor_);
        Repaint();
      }
      return 0;
    }
    case WM_SETCURSOR:
      if (hover_) {
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        handled = true;
        return TRUE;
      }
      return 0;
    case WM_LBUTTONDOWN: {
      const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (dragging_ || !picture_ || !PictureContains(image_, p.x, p.y)) return 0;
      hover_ = true;
      dragging_ = true;
      if (changed_) changed_(owner_);
      last_ = p;
      SetCapture(hwnd);
      Repaint();
      handled = true;
      return 0;
    }
    case WM_LBUTTONUP:
      if (!dragging_) return 0;
      hover_ = false;
      dragging_ = false;
      ReleaseCapture();
      Repaint();
      handled = true;
      return 0;
    case WM_CAPTURECHANGED:
      // Capture taken away in the middle of a drag (another window, a dialog) ends the drag.
      if (dragging_ && reinterpret_cast<HWND>(lParam) != hwnd) {
        dragging_ = false;
        hover_ = false;
        Repaint();
      }
      return 0;
    default:
      return 0;
  }
}
