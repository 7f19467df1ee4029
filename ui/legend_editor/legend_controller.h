#pragma once
// What the legend editor decides apart from its window: the file dialogs it asks, reading and
// writing caption files, whether there are changes to keep, and whether it may end. The
// caption boxes are reached through LegendCaptions; files, dialogs and questions through the
// platform's seams.

#include <optional>
#include <string>

#include "ui/legend_editor/caption_file.h"

class FileAccess;
class SystemCalls;

// The caption boxes as the caption file sees them.
class LegendCaptions {
 public:
  virtual ~LegendCaptions() = default;
  virtual int CaptionCount() const = 0;
  // What the file keeps of a caption (its picture stops hovering first).
  virtual CaptionContent CaptionContentOf(int index) = 0;
  // The caption takes a record of a file: its old picture dropped and dragging stopped, the
  // record's picture loaded (none when that fails), its text streamed in.
  virtual void ApplyCaptionContent(int index, const CaptionContent& content) = 0;
  virtual bool CaptionCanUndo(int index) = 0;
  virtual void ForgetCaptionUndo(int index) = 0;
};

inline constexpr char kExitQuestion[] = "Would you like to save your changes before exiting Caption Editor?";
inline constexpr char kExitCaption[] = "Exit Caption Editor";
inline constexpr char kOpenCaptionTitle[] = "Open Caption File";
inline constexpr char kSaveCaptionTitle[] = "Save Caption File";

class LegendController {
 public:
  // files: where caption files are read and written (the program's own replace a file through
  // a temporary one beside it); calls: the file dialogs and boxes.
  LegendController(SystemCalls& calls, LegendCaptions& captions, FileAccess& files);

  void SetOwner(void* window) { owner_ = window; }
  // The device's layout file: the file dialogs start in its folder, the layout dialog on the
  // file itself.
  void SetDeviceLayout(std::string path);

  // A picture was moved or chosen, or captions were carried to a new layout.
  void MarkModified() { modified_ = true; }
  // Changed since the last read or write: marked, or a caption that can undo.
  bool Modified();
  const std::string& CaptionFile() const { return captionFile_; }

  // The dialogs; nothing for Cancel.
  std::optional<std::string> ChoosePicture();
  std::optional<std::string> ChooseLayout();

  // Open Captions File...: the dialog, then the file.
  void OpenCaptions();
  // Save Captions File: to the known file, else as Save As. True when written.
  bool SaveCaptions();
  // Save Captions File As...: the dialog (offering the known file), then the file. True when
  // written.
  bool SaveCaptionsAs();

  // Reads a caption file into the captions: as many as it has records, the rest stay. A file
  // that cannot be opened changes nothing; a damaged one is refused, with the user told, and
  // changes nothing either. True when read.
  bool ReadCaptionFile(const std::string& path);
  // Writes every caption; on success nothing counts as changed any more. A failure is told
  // and leaves the changes marked. True when written.
  bool WriteCaptionFile(const std::string& path);

  // Exit and the close box: with changes, asks whether to save them first. True when the
  // editor may end: No, or Yes and the captions were saved.
  bool ConfirmExit();

 private:
  void Tell(const std::string& text, const char* caption);

  SystemCalls& calls_;
  LegendCaptions& captions_;
  FileAccess& files_;
  void* owner_ = nullptr;
  std::string deviceLayout_;
  std::string deviceFolder_;
  std::string captionFile_;
  bool modified_ = false;
};
