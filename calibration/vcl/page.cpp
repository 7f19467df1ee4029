// Pages with their windowless pictures and shapes.
#include "calibration/vcl/page.h"

#include "calibration/vcl/application.h"

namespace vcl {

namespace {
constexpr const char* kPageClass = "TTabSheet";
constexpr COLORREF kOutlineColour = RGB(0xD0, 0x10, 0x10);

void RegisterPageClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;  // replaced per window below
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kPageClass;
  RegisterClassA(&wc);
  registered = true;
}
}  // namespace

HBRUSH FaceBrush() {
  static HBRUSH brush = CreateSolidBrush(kFaceColour);
  return brush;
}

Bitmap::Bitmap(const PixelImage& image) : width_(image.width), height_(image.height) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = image.width;
  bi.bmiHeader.biHeight = -image.height;  // rows top to bottom
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap_ && bits) memcpy(bits, image.bgr.data(), image.bgr.size());
}

Bitmap::~Bitmap() {
  if (bitmap_) DeleteObject(bitmap_);
}

std::unique_ptr<Bitmap> Bitmap::FromJpegResource(HINSTANCE module, int id) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!found) return nullptr;
  HGLOBAL loaded = LoadResource(module, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  PixelImage image;
  if (!data || !DecodeJpeg(static_cast<const std::uint8_t*>(data), SizeofResource(module, found), image))
    return nullptr;
  return std::make_unique<Bitmap>(image);
}

void Bitmap::Draw(HDC dc, int left, int top) const {
  if (!bitmap_) return;
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, bitmap_);
  BitBlt(dc, left, top, width_, height_, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
}

Picture::Picture(Page& page, const Bitmap* bitmap, int left, int top, bool visible)
    : page_(page), bitmap_(bitmap), left_(left), top_(top), visible_(visible) {}

RECT Picture::Rect() const {
  const int w = bitmap_ ? bitmap_->Width() : 0, h = bitmap_ ? bitmap_->Height() : 0;
  return RECT{left_, top_, left_ + w, top_ + h};
}

void Picture::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  page_.InvalidateRect(Rect());
}

void Picture::SetPosition(int left, int top) {
  if (left == left_ && top == top_) return;
  page_.InvalidateRect(Rect());
  left_ = left;
  top_ = top;
  page_.InvalidateRect(Rect());
}

void Picture::Paint(HDC dc) const {
  if (visible_ && bitmap_) bitmap_->Draw(dc, left_, top_);
}

Shape::Shape(Page& page, const Bounds& bounds, int tag) : page_(page), bounds_(bounds), tag_(tag) {}

void Shape::Invalidate() const {
  page_.InvalidateRect(RECT{bounds_.left - 2, bounds_.top - 2, bounds_.left + bounds_.width + 2,
                            bounds_.top + bounds_.height + 2});
}

void Shape::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Invalidate();
}

void Shape::SetSolid(bool solid) {
  if (solid == solid_) return;
  solid_ = solid;
  Invalidate();
}

void Shape::SetBounds(const Bounds& b) {
  if (b.left == bounds_.left && b.top == bounds_.top && b.width == bounds_.width &&
      b.height == bounds_.height)
    return;
  Invalidate();
  bounds_ = b;
  Invalidate();
}

void Shape::Paint(HDC dc) const {
  if (!visible_ || !solid_) return;
  HPEN pen = CreatePen(PS_SOLID, 3, kOutlineColour);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  // The pen is centred on the rectangle's edge, as the shape's bounds are its outer edge.
  RoundRect(dc, bounds_.left + 1, bounds_.top + 1, bounds_.left + bounds_.width - 1,
            bounds_.top + bounds_.height - 1, 12, 12);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

Page::Page(HWND parent, int number, const Bounds& b) : number_(number) {
  RegisterPageClass();
  hwnd_ = CreateWindowExA(WS_EX_CONTROLPARENT, kPageClass, "", WS_CHILD | WS_CLIPCHILDREN, b.left,
                          b.top, b.width, b.height, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Page::Proc));
}

Page::~Page() {
  if (IsWindow(hwnd_)) SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
}

void Page::SetVisible(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }

Picture& Page::AddPicture(const Bitmap* bitmap, int left, int top, bool visible) {
  pictures_.push_back(std::make_unique<Picture>(*this, bitmap, left, top, visible));
  return *pictures_.back();
}

Shape& Page::AddShape(const Bounds& bounds, int tag) {
  shapes_.push_back(std::make_unique<Shape>(*this, bounds, tag));
  return *shapes_.back();
}

void Page::InvalidateRect(const RECT& r) const { ::InvalidateRect(hwnd_, &r, FALSE); }

void Page::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  PaintTo(dc, ps.rcPaint);
  EndPaint(hwnd_, &ps);
}

void Page::PaintTo(HDC dc, const RECT& area) {
  RECT client;
  GetClientRect(hwnd_, &client);
  // Drawn off screen first, so that a blinking outline does not flicker.
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP canvas = CreateCompatibleBitmap(dc, client.right, client.bottom);
  HGDIOBJ old = SelectObject(mem, canvas);
  FillRect(mem, &client, FaceBrush());
  for (const auto& p : pictures_) p->Paint(mem);
  for (const auto& s : shapes_) s->Paint(mem);
  BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, mem, area.left,
         area.top, SRCCOPY);
  SelectObject(mem, old);
  DeleteObject(canvas);
  DeleteDC(mem);
}

LRESULT CALLBACK Page::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* page = reinterpret_cast<Page*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_PAINT:
      if (page) {
        page->Paint();
        return 0;
      }
      break;
    case WM_PRINTCLIENT:
      if (page) {
        RECT client;
        GetClientRect(hwnd, &client);
        page->PaintTo(reinterpret_cast<HDC>(wp), client);
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      // The form answers for every control, wherever it sits.
      return SendMessageA(GetParent(hwnd), msg, wp, lp);
    case WM_SETCURSOR:
      if (Application::Busy()) {
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace vcl
