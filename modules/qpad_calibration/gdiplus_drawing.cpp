#include "modules/qpad_calibration/gdiplus_drawing.h"

namespace qpadcal {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

GdipPicture::GdipPicture(GdipImagePtr image) : image_(std::move(image)) {
  UINT width = 0, height = 0;
  if (image_ && GdipGetImageWidth(image_.get(), &width) == Ok &&
      GdipGetImageHeight(image_.get(), &height) == Ok) {
    width_ = static_cast<int>(width);
    height_ = static_cast<int>(height);
  }
}

std::unique_ptr<OverlayPicture> LoadGdipPicture(const std::wstring& path) {
  GpImage* image = nullptr;
  if (GdipLoadImageFromFile(path.c_str(), &image) != Ok) image = nullptr;
  return std::make_unique<GdipPicture>(GdipImagePtr(image));
}

namespace {

// The family of text whose own family does not exist: the generic sans-serif family, or
// where the system has none (as a bare Wine), the first installed family. Kept for the life
// of the process, as GDI+ keeps its generic families; asked again while there is none.
GpFontFamily* FallbackFamily() {
  static GpFontFamily* family = nullptr;
  if (family) return family;
  if (GdipGetGenericFontFamilySansSerif(&family) == Ok && family) return family;
  family = nullptr;
  GpFontCollection* installed = nullptr;  // the system's, never freed
  GpFontFamily* first = nullptr;
  INT found = 0;
  if (GdipNewInstalledFontCollection(&installed) == Ok &&
      GdipGetFontCollectionFamilyList(installed, 1, &first, &found) == Ok && found == 1 &&
      GdipCloneFontFamily(first, &family) != Ok)
    family = nullptr;
  return family;
}

GdipFontPtr MakeFont(const std::wstring& familyName, float points) {
  GpFontFamily* named = nullptr;
  if (GdipCreateFontFamilyFromName(familyName.c_str(), nullptr, &named) != Ok) named = nullptr;
  GpFontFamily* family = named ? named : FallbackFamily();
  GpFont* font = nullptr;
  if (!family || GdipCreateFont(family, points, FontStyleRegular, UnitPoint, &font) != Ok)
    font = nullptr;
  if (named) GdipDeleteFontFamily(named);  // the font keeps what it needs
  return GdipFontPtr(font);
}

}  // namespace

std::unique_ptr<OverlayTextStyle> MakeGdipTextStyle(const std::wstring& familyName, float points,
                                                    Rgb colour) {
  GdipFontPtr font = MakeFont(familyName, points);
  GpSolidFill* brush = nullptr;
  const ARGB argb = 0xFF000000u | static_cast<ARGB>(colour.red) << 16 |
                    static_cast<ARGB>(colour.green) << 8 | colour.blue;
  if (GdipCreateSolidFill(argb, &brush) != Ok) brush = nullptr;
  return std::make_unique<GdipTextStyle>(std::move(font), GdipBrushPtr(brush));
}

GdipCanvas::GdipCanvas(HDC dc) {
  if (GdipCreateFromHDC(dc, &graphics_) != Ok) graphics_ = nullptr;
  if (GdipCreateStringFormat(0, LANG_NEUTRAL, &format_) == Ok)
    GdipSetStringFormatAlign(format_, StringAlignmentNear);
  else
    format_ = nullptr;
}

GdipCanvas::~GdipCanvas() {
  if (format_) GdipDeleteStringFormat(format_);
  if (graphics_) GdipDeleteGraphics(graphics_);
}

void GdipCanvas::DrawPicture(const OverlayPicture& picture, const IntRect& rect) {
  auto& p = static_cast<const GdipPicture&>(picture);
  if (graphics_ && p.image())
    GdipDrawImageRectI(graphics_, p.image(), rect.x, rect.y, rect.width, rect.height);
}

void GdipCanvas::DrawText(const std::wstring& text, const OverlayTextStyle& style,
                          const FloatRect& layout) {
  auto& s = static_cast<const GdipTextStyle&>(style);
  if (!graphics_ || !format_ || !s.font() || !s.brush()) return;
  const RectF rect(layout.x, layout.y, layout.width, layout.height);
  GdipDrawString(graphics_, text.c_str(), static_cast<INT>(text.size()), s.font(), &rect, format_,
                 s.brush());
}

}  // namespace qpadcal
