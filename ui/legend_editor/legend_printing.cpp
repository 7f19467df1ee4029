#include "ui/legend_editor/legend_printing.h"

#include <objidl.h>  // gdiplus needs it with the lean headers
#include <gdiplus.h>
#include <commdlg.h>
#include <richedit.h>

#include <string>
#include <utility>

#include "platform/base/global_memory.h"
#include "ui/legend_editor/caption_box.h"

namespace {

RECT DeviceRect(HDC dc, const TwipsRect& t) {
  const int dx = GetDeviceCaps(dc, LOGPIXELSX), dy = GetDeviceCaps(dc, LOGPIXELSY);
  return {MulDivRound(t.left, dx, 1440), MulDivRound(t.top, dy, 1440), MulDivRound(t.right, dx, 1440),
          MulDivRound(t.bottom, dy, 1440)};
}

UINT Alignment(const CaptionRecord& caption) {
  PARAFORMAT pf{};
  pf.cbSize = sizeof pf;
  caption.Edit().Send(EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf));
  if (!(pf.dwMask & PFM_ALIGNMENT)) return DT_CENTER;
  switch (pf.wAlignment) {
    case PFA_LEFT: return DT_LEFT;
    case PFA_RIGHT: return DT_RIGHT;
    default: return DT_CENTER;
  }
}

// The caption's plain text in the format of its text, in the target rectangle.
void DrawCaptionText(HDC dc, const CaptionRecord& caption, const TwipsRect& target) {
  std::wstring text;
  for (wchar_t c : caption.PlainText()) {
    if (c == L'\r') text += L"\r\n";
    else if (c != L'\n') text += c;
  }
  const CHARFORMAT2W cf = caption.WholeTextFormat();
  const int twips = (cf.dwMask & CFM_SIZE) && cf.yHeight > 0 ? static_cast<int>(cf.yHeight) : kCaptionTwips;
  LOGFONTW lf{};
  lf.lfHeight = -MulDivRound(twips, GetDeviceCaps(dc, LOGPIXELSY), 1440);
  lf.lfWeight = (cf.dwMask & CFM_BOLD) && (cf.dwEffects & CFE_BOLD) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (cf.dwMask & CFM_ITALIC) && (cf.dwEffects & CFE_ITALIC);
  lf.lfUnderline = (cf.dwMask & CFM_UNDERLINE) && (cf.dwEffects & CFE_UNDERLINE);
  lf.lfStrikeOut = (cf.dwMask & CFM_STRIKEOUT) && (cf.dwEffects & CFE_STRIKEOUT);
  lf.lfCharSet = DEFAULT_CHARSET;
  if ((cf.dwMask & CFM_FACE) && cf.szFaceName[0]) {
    lstrcpynW(lf.lfFaceName, cf.szFaceName, LF_FACESIZE);
  } else {
    MultiByteToWideChar(CP_ACP, 0, kCaptionFace, -1, lf.lfFaceName, LF_FACESIZE);
  }
  const HFONT font = CreateFontIndirectW(&lf);
  const HGDIOBJ oldFont = SelectObject(dc, font);
  const bool autoColour = !(cf.dwMask & CFM_COLOR) || (cf.dwEffects & CFE_AUTOCOLOR);
  const COLORREF oldColour = SetTextColor(dc, autoColour ? RGB(0, 0, 0) : cf.crTextColor);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  RECT r = DeviceRect(dc, target);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, Alignment(caption) | DT_WORDBREAK | DT_NOPREFIX);
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColour);
  SelectObject(dc, oldFont);
  DeleteObject(font);
}

void PrintCaptionText(HDC dc, const CaptionRecord& caption, const CaptionOnSheet& on) {
  FORMATRANGE range{};
  range.hdc = dc;
  range.hdcTarget = dc;
  const TwipsRect page = PageInTwips(GetDeviceCaps(dc, PHYSICALWIDTH), GetDeviceCaps(dc, PHYSICALHEIGHT),
                                     GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY));
  range.rcPage = {page.left, page.top, page.right, page.bottom};
  range.rc = {on.text.left, on.text.top, on.text.right, on.text.bottom};
  range.chrg = {0, -1};
  const LRESULT printed = caption.Edit().Send(EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
  caption.Edit().Send(EM_FORMATRANGE, FALSE, 0);  // the control's format cache goes
  if (printed == 0 && caption.Edit().TextLength() > 0) DrawCaptionText(dc, caption, on.text);
}

Gdiplus::RectF ToRectF(const PointRect& r) { return {r.x, r.y, r.w, r.h}; }

}  // namespace

void RenderLegendPage(HDC dc, const LegendPage& page) {
  Gdiplus::Graphics g(dc);
  g.SetPageUnit(Gdiplus::UnitPoint);
  const Gdiplus::Pen outline(Gdiplus::Color(0xFF000000), 1.0f);
  for (const CaptionRecord* caption : page.captions) {
    RECT client{};
    GetClientRect(caption->Box(), &client);
    Gdiplus::Bitmap* picture = caption->Picture();
    const int pictureW = picture ? static_cast<int>(picture->GetWidth()) : 0;
    const int pictureH = picture ? static_cast<int>(picture->GetHeight()) : 0;
    const CaptionOnSheet on =
        PlaceCaptionOnSheet(caption->Rect(), client.right, client.bottom, caption->PictureRect(), pictureW, pictureH, page.scale);
    if (const std::optional<COLORREF> colour = caption->Colour()) {
      const Gdiplus::SolidBrush brush(Gdiplus::Color(255, GetRValue(*colour), GetGValue(*colour), GetBValue(*colour)));
      g.FillRectangle(&brush, ToRectF(on.clip));
    }
    {
      const HDC text = g.GetHDC();
      PrintCaptionText(text, *caption, on);
      g.ReleaseHDC(text);
    }
    if (picture) {
      g.SetClip(ToRectF(on.clip));
      g.DrawImage(picture, ToRectF(on.picture));
      g.ResetClip();
    }
    if (!page.dieCut) g.DrawRectangle(&outline, ToRectF(on.outline));
  }
}

namespace {

// The print dialog and what it hands out: the printer's settings blocks and its DC, each
// freed by its owner. The dialog may free the blocks it is given and hand out others, so they
// are lent to it for each call and taken back after.
class PrintDialog {
 public:
  explicit PrintDialog(HWND owner) {
    pd_.lStructSize = sizeof pd_;
    pd_.hwndOwner = owner;
  }
  ~PrintDialog() {
    if (dc_) DeleteDC(dc_);
  }
  PrintDialog(const PrintDialog&) = delete;
  PrintDialog& operator=(const PrintDialog&) = delete;

  bool Ask(DWORD flags) {
    pd_.Flags = flags;
    pd_.hDevMode = devMode_.release();
    pd_.hDevNames = devNames_.release();
    const bool chosen = PrintDlgA(&pd_) != 0;
    devMode_.reset(std::exchange(pd_.hDevMode, nullptr));
    devNames_.reset(std::exchange(pd_.hDevNames, nullptr));
    if (HDC dc = std::exchange(pd_.hDC, nullptr)) {
      if (dc_) DeleteDC(dc_);
      dc_ = dc;
    }
    return chosen;
  }
  HGLOBAL devMode() const { return devMode_.get(); }
  HDC dc() const { return dc_; }

 private:
  PRINTDLGA pd_{};
  UniqueGlobal devMode_;
  UniqueGlobal devNames_;
  HDC dc_ = nullptr;
};

}  // namespace

bool PrintLegendSheet(HWND owner, const LegendPage& page) {
  PrintDialog dialog(owner);
  if (page.dieCut) {
    if (!dialog.Ask(PD_RETURNDEFAULT) || !dialog.devMode()) return false;
    const GlobalLockScope lock(dialog.devMode());
    auto* mode = static_cast<DEVMODEA*>(lock.data());
    if (!mode) return false;
    mode->dmOrientation = kDieCutOrientation;
    mode->dmPaperSize = kDieCutPaperSize;
    mode->dmFields |= DM_ORIENTATION | DM_PAPERSIZE;
  }
  if (!dialog.Ask(PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION) || !dialog.dc()) return false;
  const HDC dc = dialog.dc();

  DOCINFOA doc{};
  doc.cbSize = sizeof doc;
  doc.lpszDocName = kLegendDocumentName;
  if (StartDocA(dc, &doc) <= 0) return false;
  bool ok = StartPage(dc) > 0;
  if (ok) {
    RenderLegendPage(dc, page);
    ok = EndPage(dc) > 0;
  }
  if (!ok) {
    AbortDoc(dc);
    return false;
  }
  return EndDoc(dc) > 0;
}
