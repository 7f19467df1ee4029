#pragma once
// Printing the legend sheet: the page drawn on any device context (a printer's, or a
// metafile's or a bitmap's to look at), and the printer the user chooses.

#include <windows.h>

#include <vector>

#include "ui/legend_editor/legend_sheet.h"

class CaptionRecord;

struct LegendPage {
  std::vector<const CaptionRecord*> captions;
  SheetScale scale;  // the keypad picture's resolution and the screen's
  bool dieCut = false;
};

// Every caption in order: its colour, its text, its picture cut to its box and, unless the
// sheet is die-cut, its outline. The keypad picture itself is not printed. Text the rich-edit
// control does not print itself (Wine's control formats nothing for a printer) is drawn here
// from its plain text in the font of its first character.
void RenderLegendPage(HDC dc, const LegendPage& page);

// The sheet as one page of the document "Orvane II Template" on the printer the user chooses
// in the print dialog; a die-cut sheet starts from the default printer set to statement
// paper across, and is not printed when there is none. False when nothing was printed.
bool PrintLegendSheet(HWND owner, const LegendPage& page);
