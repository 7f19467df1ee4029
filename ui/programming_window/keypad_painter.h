#pragma once
// Paints the keypad view into its canvas with GDI+: the background, the LEDs, every key in its
// state and colour, and the labels with the keys' Key Down macros. The canvas is the picture
// the window shows; painting never touches the window.

#include <windows.h>
#include <objidl.h>  // gdiplus needs it with the lean headers
#include <gdiplus.h>

#include <memory>
#include <string>

struct MacroContext;

// The label font: the named family in points, or the platform's generic sans-serif family when
// that one is missing (without a family no label would be drawn at all).
inline constexpr wchar_t kLabelFontFamily[] = L"Arial";
inline constexpr float kLabelFontPoints = 7.0f;
// Texts of toggle and shift keys, in the colour of the layer shown.
inline constexpr Gdiplus::ARGB kRedLayerLabelColour = 0xFFEA1004;
inline constexpr Gdiplus::ARGB kGreenLayerLabelColour = 0xFF29AA29;

// The family of that name; else the platform's generic sans-serif family; else a common
// sans-serif family of free systems (Wine has no generic one of its own). Null when none is.
std::unique_ptr<Gdiplus::FontFamily> FindLabelFontFamily(const wchar_t* name);

class KeypadPainter {
 public:
  // Needs GDI+ started; everything is released with the painter (before GDI+ ends).
  KeypadPainter();
  ~KeypadPainter();
  KeypadPainter(const KeypadPainter&) = delete;
  KeypadPainter& operator=(const KeypadPainter&) = delete;

  // Repaints the whole canvas of the context for the colour layer shown; false when the context
  // has no canvas.
  bool Paint(MacroContext& context, bool red);
  // The family the labels are drawn in ("" when none could be had).
  std::wstring FontFamilyName() const;

 private:
  std::unique_ptr<Gdiplus::FontFamily> family_;
  std::unique_ptr<Gdiplus::Font> font_;
  std::unique_ptr<Gdiplus::SolidBrush> white_;
  std::unique_ptr<Gdiplus::SolidBrush> black_;
  std::unique_ptr<Gdiplus::SolidBrush> redText_;
  std::unique_ptr<Gdiplus::SolidBrush> greenText_;
  std::unique_ptr<Gdiplus::StringFormat> format_;
};
