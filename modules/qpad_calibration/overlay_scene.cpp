#include "modules/qpad_calibration/overlay_scene.h"

#include <algorithm>

#include "modules/qpad_calibration/data_folder.h"

namespace qpadcal {

namespace {

// The first record with the id, or a new one at the end with the next id of the counter.
template <typename Record>
Record& FindOrAppend(std::vector<Record>& records, int id, int& nextId) {
  auto it =
      std::find_if(records.begin(), records.end(), [id](const Record& r) { return r.id == id; });
  if (it != records.end()) return *it;
  Record& added = records.emplace_back();
  added.id = nextId++;
  return added;
}

// Frees the first record with the id, keeping the others in their order.
template <typename Record>
bool EraseFirst(std::vector<Record>& records, int id) {
  auto it =
      std::find_if(records.begin(), records.end(), [id](const Record& r) { return r.id == id; });
  if (it == records.end()) return false;
  records.erase(it);
  return true;
}

std::uint8_t LowByte(int value) { return static_cast<std::uint8_t>(value & 0xFF); }

}  // namespace

OverlayScene::OverlayScene(std::string dataFolder, OverlayPlatform& platform, IdCounters& ids)
    : dataFolder_(std::move(dataFolder)), platform_(platform), ids_(ids) {}

std::unique_ptr<OverlayPicture> OverlayScene::Load(std::string_view file) {
  return platform_.LoadPicture(platform_.Widen(PicturePath(dataFolder_, file)));
}

int OverlayScene::AddBackgroundAndControlImages(std::string_view background,
                                                std::string_view control, int x, int y) {
  background_ = Load(background);
  const IntRect client = platform_.FitClientArea(background_->Width(), background_->Height());
  // The picture keeps its own size: a window cannot be made as narrow as any picture, and a
  // wider client area would stretch it.
  backgroundRect_ = {client.x, client.y, background_->Width(), background_->Height()};
  control_ = Load(control);
  controlRect_ = {backgroundRect_.x + x, backgroundRect_.y + y, control_->Width(),
                  control_->Height()};
  platform_.Show();
  platform_.InvalidateAll(true);
  return 1;
}

int OverlayScene::MoveControlImage(int x, int y) {
  // Only the old and the new place are redrawn, so the control moves without flicker.
  platform_.Invalidate(controlRect_, false);
  controlRect_.x = backgroundRect_.x + x;
  controlRect_.y = backgroundRect_.y + y;
  platform_.Invalidate(controlRect_, false);
  return 1;
}

int OverlayScene::ModifyImage(int id, std::string_view file, int x, int y) {
  std::unique_ptr<OverlayPicture> picture = Load(file);
  OverlayImage& image = FindOrAppend(images_, id, ids_.nextImage);
  image.picture = std::move(picture);
  image.rect = {backgroundRect_.x + x, backgroundRect_.y + y, image.picture->Width(),
                image.picture->Height()};
  platform_.InvalidateAll(true);
  return image.id;
}

int OverlayScene::DeleteImage(int id) {
  if (!EraseFirst(images_, id)) return kNotFound;
  platform_.InvalidateAll(true);
  return id;
}

int OverlayScene::ModifyTextBlock(int id, std::string_view text, int x, int y, int width,
                                  int height, int red, int green, int blue,
                                  std::string_view fontName, int size) {
  std::wstring wide = platform_.Widen(text);
  std::unique_ptr<OverlayTextStyle> style =
      platform_.MakeTextStyle(platform_.Widen(fontName), static_cast<float>(size),
                              {LowByte(red), LowByte(green), LowByte(blue)});
  TextBlock& block = FindOrAppend(textBlocks_, id, ids_.nextTextBlock);
  block.text = std::move(wide);
  block.layout = {static_cast<float>(backgroundRect_.x + x),
                  static_cast<float>(backgroundRect_.y + y), static_cast<float>(width),
                  static_cast<float>(height)};
  block.style = std::move(style);
  platform_.InvalidateAll(true);
  return block.id;
}

int OverlayScene::DeleteTextBlock(int id) {
  if (!EraseFirst(textBlocks_, id)) return kNotFound;
  platform_.InvalidateAll(true);
  return id;
}

void OverlayScene::Draw(OverlayCanvas& canvas) const {
  if (background_) canvas.DrawPicture(*background_, backgroundRect_);
  if (control_) canvas.DrawPicture(*control_, controlRect_);
  for (const OverlayImage& image : images_)
    if (image.picture) canvas.DrawPicture(*image.picture, image.rect);
  for (const TextBlock& block : textBlocks_)
    if (block.style) canvas.DrawText(block.text, *block.style, block.layout);
}

}  // namespace qpadcal
