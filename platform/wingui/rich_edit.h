#pragma once
// RichEdit 2.0 boxes ("RichEdit20A"): text in the ANSI code page or in wide characters,
// selection, character formats and plain-text streaming.

#include <windows.h>
#include <richedit.h>

#include <string>

#include "platform/wingui/controls.h"

namespace wingui {

inline constexpr char kRichEditClass[] = "RichEdit20A";

// Loads the RichEdit 2.0 library once per process; a template with a rich-edit box needs it
// before the dialog is made.
bool LoadRichEdit();

enum class FormatScope { Selection, All, Default };

// A character format in plain fields; mask (CFM_*) says which of them count.
struct CharFormat {
  DWORD mask = 0;
  DWORD effects = 0;  // CFE_BOLD, CFE_ITALIC, CFE_UNDERLINE, CFE_AUTOCOLOR...
  COLORREF color = 0;
  int heightTwips = 0;
  std::string face;
};

class RichEdit : public Edit {
 public:
  using Edit::Edit;

  // Characters in the box as its positions count them (a paragraph end is one).
  int TextLength() const;
  // The text as wide characters, each paragraph ending in "\r" as the positions count it.
  std::wstring TextWide() const;
  void SetTextWide(const std::wstring& text) const;
  void ReplaceSelectionWide(const std::wstring& text, bool undoable = true) const;
  // The characters of [start, end) in the ANSI code page.
  std::string TextOfRange(int start, int end) const;

  CharFormat GetCharFormat(FormatScope scope = FormatScope::Selection) const;
  bool SetCharFormat(const CharFormat& format, FormatScope scope = FormatScope::Selection) const;
  void SetBackground(COLORREF color) const { Send(EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(color)); }
  // ENM_* notifications the parent gets (EN_SELCHANGE, EN_CHANGE, EN_MSGFILTER...).
  void SetEventMask(DWORD mask) const { Send(EM_SETEVENTMASK, 0, static_cast<LPARAM>(mask)); }
  DWORD EventMask() const { return static_cast<DWORD>(Send(EM_GETEVENTMASK)); }

  // Plain text through EM_STREAMIN and EM_STREAMOUT (ANSI, lines ending in "\r\n"): the whole
  // box, or only the selection.
  bool StreamInText(const std::string& text, bool selectionOnly = false) const;
  std::string StreamOutText(bool selectionOnly = false) const;
};

}  // namespace wingui
