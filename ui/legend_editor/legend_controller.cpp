#include "ui/legend_editor/legend_controller.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/base/file_access.h"
#include "platform/base/path_text.h"
#include "platform/base/system_calls.h"

LegendController::LegendController(SystemCalls& calls, LegendCaptions& captions, FileAccess& files)
    : calls_(calls), captions_(captions), files_(files) {}

void LegendController::SetDeviceLayout(std::string path) {
  deviceFolder_ = CutAtLastBackslash(path);
  deviceLayout_ = std::move(path);
}

bool LegendController::Modified() {
  if (modified_) return true;
  for (int i = 0; i < captions_.CaptionCount(); ++i)
    if (captions_.CaptionCanUndo(i)) return true;
  return false;
}

std::optional<std::string> LegendController::ChoosePicture() {
  OpenFileQuestion q;
  q.owner = owner_;
  q.title = "Select an image file to open.";
  q.filterName = "Bitmaps";
  // Icons are listed too ("ico" alone would only match a file of that very name).
  q.filterPattern = "*.bmp;*.png;*.ico";
  q.moreFilters = {{"JPEGs", "*.jpg;*.jpeg"}, {"GIFFs", "*.gif"}};
  q.initialFolder = deviceFolder_;
  return calls_.ChooseFileToOpen(q);
}

std::optional<std::string> LegendController::ChooseLayout() {
  OpenFileQuestion q;
  q.owner = owner_;
  q.title = "Select a layout file to open.";
  q.filterName = "Layout Files";
  q.filterPattern = "*.kll";
  q.initialFolder = deviceFolder_;
  q.initialFile = deviceLayout_;
  return calls_.ChooseFileToOpen(q);
}

namespace {

OpenFileQuestion CaptionFileQuestion(void* owner, const char* title, const std::string& folder) {
  OpenFileQuestion q;
  q.owner = owner;
  q.title = title;
  q.filterName = "Caption Files";
  q.filterPattern = "*.klc";
  q.defaultExtension = "klc";
  q.initialFolder = folder;
  return q;
}

}  // namespace

void LegendController::OpenCaptions() {
  const std::optional<std::string> path =
      calls_.ChooseFileToOpen(CaptionFileQuestion(owner_, kOpenCaptionTitle, deviceFolder_));
  if (path) ReadCaptionFile(*path);
}

bool LegendController::SaveCaptions() {
  if (captionFile_.empty()) return SaveCaptionsAs();
  return WriteCaptionFile(captionFile_);
}

bool LegendController::SaveCaptionsAs() {
  const std::optional<std::string> path =
      calls_.ChooseFileToSave(CaptionFileQuestion(owner_, kSaveCaptionTitle, deviceFolder_), captionFile_);
  return path && WriteCaptionFile(*path);
}

bool LegendController::ReadCaptionFile(const std::string& path) {
  std::string bytes;
  const FileAccess::ReadResult result = files_.Read(path, bytes, kMaxCaptionFileBytes);
  if (result == FileAccess::ReadResult::CannotOpen) return false;
  const CaptionFileRead read = result == FileAccess::ReadResult::TooLarge
                                   ? CaptionFileRead{{}, "it is too large"}
                                   : DecodeCaptionFile(bytes);
  if (!read.Ok()) {
    Tell("The caption file \"" + path + "\" cannot be read: " + read.error +
             ". The captions were left as they were.",
         kOpenCaptionTitle);
    return false;
  }
  const int count = std::min<int>(captions_.CaptionCount(), static_cast<int>(read.captions.size()));
  for (int i = 0; i < count; ++i) {
    captions_.ApplyCaptionContent(i, read.captions[static_cast<std::size_t>(i)]);
    captions_.ForgetCaptionUndo(i);
  }
  captionFile_ = path;
  modified_ = false;
  return true;
}

bool LegendController::WriteCaptionFile(const std::string& path) {
  std::vector<CaptionContent> contents;
  for (int i = 0; i < captions_.CaptionCount(); ++i) contents.push_back(captions_.CaptionContentOf(i));
  const std::optional<std::string> bytes = EncodeCaptionFile(contents);
  if (!bytes || !files_.Write(path, *bytes)) {
    Tell("The caption file \"" + path + "\" could not be written. Your captions have not been saved.",
         kSaveCaptionTitle);
    return false;
  }
  captionFile_ = path;
  modified_ = false;
  for (int i = 0; i < captions_.CaptionCount(); ++i) captions_.ForgetCaptionUndo(i);
  return true;
}

bool LegendController::ConfirmExit() {
  if (!Modified()) return true;
  switch (calls_.ShowMessageBox(owner_, kExitQuestion, kExitCaption, BoxButtons::YesNoCancel, BoxIcon::Question)) {
    case BoxAnswer::Yes: return SaveCaptions();
    case BoxAnswer::No: return true;
    default: return false;
  }
}

void LegendController::Tell(const std::string& text, const char* caption) {
  calls_.ShowMessageBox(owner_, text.c_str(), caption, BoxButtons::Ok, BoxIcon::Warning);
}
