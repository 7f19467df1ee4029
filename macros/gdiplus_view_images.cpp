#include "macros/gdiplus_view_images.h"

namespace {

// A decoded file, or null (a missing or undecodable file gives a bitmap in an error state).
std::unique_ptr<Gdiplus::Bitmap> Decode(const std::wstring& path) {
  if (path.empty()) return nullptr;
  std::unique_ptr<Gdiplus::Bitmap> bitmap(Gdiplus::Bitmap::FromFile(path.c_str()));
  if (!bitmap || bitmap->GetLastStatus() != Gdiplus::Ok || bitmap->GetWidth() == 0) return nullptr;
  return bitmap;
}

std::unique_ptr<Gdiplus::CachedBitmap> CacheFor(Gdiplus::Bitmap& bitmap, Gdiplus::Graphics& graphics) {
  auto cached = std::make_unique<Gdiplus::CachedBitmap>(&bitmap, &graphics);
  if (cached->GetLastStatus() != Gdiplus::Ok) return nullptr;
  return cached;
}

}  // namespace

GdiplusCanvas::GdiplusCanvas(std::unique_ptr<Gdiplus::Bitmap> background, int width, int height)
    : width_(width), height_(height), background_(std::move(background)) {
  bitmap_ = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
  graphics_ = std::make_unique<Gdiplus::Graphics>(bitmap_.get());
  graphics_->SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
  cachedBackground_ = CacheFor(*background_, *graphics_);
}

GdiplusImage::GdiplusImage(std::unique_ptr<Gdiplus::Bitmap> bitmap, GdiplusCanvas* canvas)
    : bitmap_(std::move(bitmap)) {
  if (canvas) cached_ = CacheFor(*bitmap_, canvas->Graphics());
}

int GdiplusImage::Width() const { return static_cast<int>(bitmap_->GetWidth()); }
int GdiplusImage::Height() const { return static_cast<int>(bitmap_->GetHeight()); }

std::shared_ptr<ViewCanvas> GdiplusImageLoader::CreateCanvas(const std::wstring& backgroundPath) {
  std::unique_ptr<Gdiplus::Bitmap> background = Decode(backgroundPath);
  if (!background) return nullptr;
  const int width = static_cast<int>(background->GetWidth());
  const int height = static_cast<int>(background->GetHeight());
  auto canvas = std::make_shared<GdiplusCanvas>(std::move(background), width, height);
  if (canvas->Bitmap().GetLastStatus() != Gdiplus::Ok) return nullptr;
  return canvas;
}

std::shared_ptr<ViewImage> GdiplusImageLoader::LoadImage(const std::wstring& path, ViewCanvas* canvas) {
  std::unique_ptr<Gdiplus::Bitmap> bitmap = Decode(path);
  if (!bitmap) return nullptr;
  return std::make_shared<GdiplusImage>(std::move(bitmap), static_cast<GdiplusCanvas*>(canvas));
}

GdiplusSession::GdiplusSession() {
  Gdiplus::GdiplusStartupInput input;
  if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) token_ = 0;
}

GdiplusSession::~GdiplusSession() {
  if (token_) Gdiplus::GdiplusShutdown(token_);
}
