#include "ui/legend_editor/caption_picture.h"

bool PictureContains(const ImageRect& p, int x, int y) {
  const auto fx = static_cast<float>(x), fy = static_cast<float>(y);
  return fx >= p.x && fx < p.x + p.w && fy >= p.y && fy < p.y + p.h;
}

ImageRect DragPicture(const ImageRect& p, int dx, int dy, int clientW, int clientH) {
  ImageRect moved = p;
  moved.x += static_cast<float>(dx);
  moved.y += static_cast<float>(dy);
  const bool overlaps = moved.x < static_cast<float>(clientW) && moved.x + moved.w > 0 &&
                        moved.y < static_cast<float>(clientH) && moved.y + moved.h > 0;
  return overlaps ? moved : p;
}
