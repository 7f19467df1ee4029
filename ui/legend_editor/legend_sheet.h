#pragma once
// The legend sheet on paper: where each caption's text, picture and outline go. The window's
// pixels are taken at the keypad picture's own resolution (H and V dots per inch) against the
// screen's (Lx, Ly), so that a caption prints at the size its key cap has. Text is placed in
// twips for the rich-edit control, pictures and outlines in points for GDI+.

#include "ui/legend_editor/caption_file.h"
#include "ui/legend_editor/legend_layout.h"

inline constexpr char kLegendDocumentName[] = "Orvane II Template";
// A die-cut sheet: statement paper (5.5 by 8.5 inches) across.
inline constexpr short kDieCutOrientation = 2;  // landscape
inline constexpr short kDieCutPaperSize = 6;    // statement

// a * b / c rounded to the nearest, as the platform's MulDiv; -1 when c is 0 or the result
// does not fit in an int.
int MulDivRound(int a, int b, int c);

struct SheetScale {
  int pictureDpiX = 96;  // H
  int pictureDpiY = 96;  // V
  int screenDpiX = 96;   // Lx
  int screenDpiY = 96;   // Ly
};
// The scale with every resolution that is not positive taken as 96.
SheetScale SaneScale(SheetScale scale);

struct TwipsRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const TwipsRect&) const = default;
};
struct PointRect {
  float x = 0, y = 0, w = 0, h = 0;
  bool operator==(const PointRect&) const = default;
};

struct CaptionOnSheet {
  TwipsRect text;     // the control's client area
  PointRect clip;     // the box: the picture is cut to it
  PointRect picture;  // where the picture goes, at the sheet's scale
  PointRect outline;  // the box's outline (none on a die-cut sheet)
};

// box: the caption box; clientW/H: its control's client size; image: the picture's rectangle
// in the box; pictureW/H: the picture's size in pixels.
CaptionOnSheet PlaceCaptionOnSheet(const CaptionBox& box, int clientW, int clientH, const ImageRect& image,
                                   int pictureW, int pictureH, SheetScale scale);

// The printer's whole page in twips, from its size in device pixels and its resolution.
TwipsRect PageInTwips(int physicalWidth, int physicalHeight, int dpiX, int dpiY);
