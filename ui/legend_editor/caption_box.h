#pragma once
// One caption of the legend editor: a rich-edit box over a key's label, and the one picture it
// may hold, which the mouse drags about inside the box.

#include <windows.h>
#include <objidl.h>  // gdiplus needs it with the lean headers
#include <gdiplus.h>
#include <richedit.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/wingui/rich_edit.h"
#include "ui/legend_editor/caption_file.h"
#include "ui/legend_editor/legend_layout.h"

class ViewImage;

// The control ids of the boxes: this plus the caption's index.
inline constexpr int kCaptionBoxIdBase = 0x5000;
inline constexpr char kCaptionFace[] = "Arial";
inline constexpr int kCaptionTwips = 160;  // 8 points

class CaptionRecord {
 public:
  // Called when the user starts dragging the picture (the set counts as changed).
  using Changed = void (*)(void* owner);

  // The box as a child of parent, id kCaptionBoxIdBase + index, its text zoomed by 72 over
  // zoomDpi (the keypad picture's resolution; 0: not zoomed) in Arial 8. Null when the
  // control cannot be made.
  static std::unique_ptr<CaptionRecord> Create(HWND parent, int index, const CaptionBox& box, int zoomDpi,
                                               Changed changed, void* owner);
  ~CaptionRecord();
  CaptionRecord(const CaptionRecord&) = delete;
  CaptionRecord& operator=(const CaptionRecord&) = delete;

  HWND Box() const { return edit_.hwnd(); }
  const wingui::RichEdit& Edit() const { return edit_; }
  const CaptionBox& Rect() const { return box_; }

  // The text, set as plain text (its format is the box's), without undo.
  void SetPlainText(const std::wstring& text);
  std::wstring PlainText() const { return edit_.TextWide(); }
  std::string RtfText() const;
  void SetRtfText(const std::string& rtf);
  bool CanUndo() const;
  void ForgetUndo();

  // The picture.
  bool HasPicture() const { return picture_ != nullptr; }
  Gdiplus::Bitmap* Picture() const;
  const ImageRect& PictureRect() const { return image_; }
  const std::wstring& PicturePath() const { return imagePath_; }
  // Drops the picture and takes the file's, at (0, 0) in its own size; false (and no picture)
  // when it cannot be loaded.
  bool TakePicture(const std::wstring& path);
  // As a caption file gives it: path and rectangle (none when the path is empty or the file
  // cannot be loaded).
  void TakePictureAt(const std::wstring& path, const ImageRect& rect);
  // Gives the picture to another caption (as Load Layout carries captions over).
  void MovePictureTo(CaptionRecord& other);
  void DropPicture();
  // Dragging and hovering stop (ClearCaption's flags).
  void StopMouse();

  // The box's colour: the control's background and the text's background, which the RTF keeps.
  void SetColour(COLORREF colour);
  std::optional<COLORREF> Colour() const { return colour_; }
  // The character format of the whole text (fields that differ are out of its mask).
  CHARFORMAT2W WholeTextFormat() const;

  // The picture (and while hovering its outline) over what the control drew on dc.
  void DrawPicture(HDC dc) const;
  void Repaint() const { InvalidateRect(Box(), nullptr, TRUE); }

 private:
  CaptionRecord(HWND box, const CaptionBox& rect, Changed changed, void* owner);
  static LRESULT CALLBACK LegendCanvasProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                           DWORD_PTR data);
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  void TakeColourFromText();

  wingui::RichEdit edit_;
  CaptionBox box_;
  Changed changed_;
  void* owner_;
  bool dragging_ = false;
  POINT last_{};
  ImageRect image_;
  bool hover_ = false;
  std::shared_ptr<ViewImage> picture_;
  std::wstring imagePath_;
  HCURSOR savedCursor_ = nullptr;
  std::optional<COLORREF> colour_;
};
