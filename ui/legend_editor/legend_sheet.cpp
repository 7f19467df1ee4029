#include "ui/legend_editor/legend_sheet.h"

#include <climits>
#include <cstdint>

int MulDivRound(int a, int b, int c) {
  if (c == 0) return -1;
  std::int64_t product = static_cast<std::int64_t>(a) * b;
  std::int64_t divisor = c;
  if (divisor < 0) {
    product = -product;
    divisor = -divisor;
  }
  // Halves go away from zero.
  const std::int64_t result = (product >= 0 ? product + divisor / 2 : product - divisor / 2) / divisor;
  if (result > INT_MAX || result < INT_MIN) return -1;
  return static_cast<int>(result);
}

SheetScale SaneScale(SheetScale s) {
  auto sane = [](int dpi) { return dpi > 0 ? dpi : 96; };
  return {sane(s.pictureDpiX), sane(s.pictureDpiY), sane(s.screenDpiX), sane(s.screenDpiY)};
}

CaptionOnSheet PlaceCaptionOnSheet(const CaptionBox& box, int clientW, int clientH, const ImageRect& image,
                                   int pictureW, int pictureH, SheetScale scale) {
  const SheetScale s = SaneScale(scale);
  CaptionOnSheet on;
  on.text.left = MulDivRound(box.x, 20 * s.pictureDpiX, s.screenDpiX);
  on.text.right = on.text.left + MulDivRound(clientW, 20 * s.pictureDpiX, s.screenDpiX);
  on.text.top = MulDivRound(box.y, 20 * s.pictureDpiY, s.screenDpiY);
  on.text.bottom = on.text.top + MulDivRound(clientH, 20 * s.pictureDpiY, s.screenDpiY);

  const float kx = static_cast<float>(s.pictureDpiX) / static_cast<float>(s.screenDpiX);
  const float ky = static_cast<float>(s.pictureDpiY) / static_cast<float>(s.screenDpiY);
  on.clip = {box.x * kx, box.y * ky, box.w * kx, box.h * ky};
  on.outline = on.clip;
  // At the sheet's scale, like the box around it, so the picture keeps its place in the box.
  on.picture = {(box.x + image.x) * kx, (box.y + image.y) * ky, pictureW * kx, pictureH * ky};
  return on;
}

TwipsRect PageInTwips(int physicalWidth, int physicalHeight, int dpiX, int dpiY) {
  return {0, 0, MulDivRound(physicalWidth, 1440, dpiX), MulDivRound(physicalHeight, 1440, dpiY)};
}
