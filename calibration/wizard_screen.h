// What the wizard's main window shows, as plain data: the wizard changes it, the window copies
// it into its controls. Static captions (page titles, position labels, menus) come from the
// language texts whenever textsSerial changes.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "calibration/language_texts.h"
#include "calibration/positions.h"

namespace cal {

struct ButtonView {
  std::string caption;
  bool visible = true;
  bool enabled = true;
};

struct OutlineView {
  bool visible = true;
  bool solid = false;
};

struct MarkerView {
  bool visible = false;
  int left = 0;
  int top = 0;
};

enum class Focus { None, Back, Next, Calibrate };

// Calibrate's left edge with the diagnostics hidden and shown.
constexpr int kCalibrateLeft = 144;
constexpr int kCalibrateLeftWithDiagnostics = 288;

struct WizardScreen {
  int page = kWelcomePage;
  ButtonView back, next, calibrate;
  int calibrateLeft = kCalibrateLeft;
  // The focus moves to `focus` whenever focusSerial changes.
  Focus focus = Focus::None;
  unsigned focusSerial = 0;

  std::string welcome;
  std::string guidance;  // the label above the pages
  bool guidanceVisible = false;
  // The instruction label of each section page (3 to 7) and the text of the finish page (8).
  std::array<std::string, kPageCount + 1> pageText;
  // Outlines of the positions on their section pages, and of the sections on page 2.
  std::array<OutlineView, kUserPositionCount> outlines;
  std::array<OutlineView, kPageCount + 1> sectionOutlines;
  // The three rotary switch markers of page 7.
  std::array<MarkerView, 3> markers;

  std::vector<std::string> devices;
  int deviceSelection = -1;
  std::vector<std::string> diagnostics;
  int diagnosticsSelection = -1;
  // The diagnostics list, the device list and the hint beside them.
  bool diagnosticsShown = false;
  std::string status;
  bool busy = false;

  bool sampling = false;  // the 20 ms sampling timer
  bool blinking = false;  // the 100 ms blink timer
  bool boxShown = false;  // a message box is up: neither timer runs

  int language = kEnglish;  // the checked Language menu item
  unsigned textsSerial = 0;
  // The window closes (asking the close query) whenever closeSerial changes.
  unsigned closeSerial = 0;
};

}  // namespace cal
