#include "platform/wingui/rich_edit.h"

#include <algorithm>
#include <cstring>

namespace wingui {
namespace {

constexpr UINT kUtf16CodePage = 1200;

struct StreamState {
  const std::string* in = nullptr;
  std::size_t offset = 0;
  std::string* out = nullptr;
};

DWORD CALLBACK StreamInCallback(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
  auto* s = reinterpret_cast<StreamState*>(cookie);
  const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(size), s->in->size() - s->offset);
  std::memcpy(buffer, s->in->data() + s->offset, n);
  s->offset += n;
  *done = static_cast<LONG>(n);
  return 0;
}

DWORD CALLBACK StreamOutCallback(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
  auto* s = reinterpret_cast<StreamState*>(cookie);
  s->out->append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(size));
  *done = size;
  return 0;
}

UINT ScopeFlag(FormatScope scope) {
  switch (scope) {
    case FormatScope::All:
      return SCF_ALL;
    case FormatScope::Default:
      return SCF_DEFAULT;
    case FormatScope::Selection:
      break;
  }
  return SCF_SELECTION;
}

}  // namespace

bool LoadRichEdit() {
  static const bool loaded = LoadLibraryA("Riched20.dll") != nullptr;
  return loaded;
}

int RichEdit::TextLength() const {
  GETTEXTLENGTHEX length{GTL_NUMCHARS | GTL_PRECISE, kUtf16CodePage};
  return static_cast<int>(Send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length)));
}

std::wstring RichEdit::TextWide() const {
  const int length = TextLength();
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GETTEXTEX get{};
  get.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  get.flags = GT_DEFAULT;
  get.codepage = kUtf16CodePage;
  const auto got = static_cast<int>(
      Send(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(text.data())));
  text.resize(static_cast<std::size_t>(std::clamp(got, 0, length)));
  return text;
}

void RichEdit::SetTextWide(const std::wstring& text) const {
  SETTEXTEX set{ST_DEFAULT, kUtf16CodePage};
  Send(EM_SETTEXTEX, reinterpret_cast<WPARAM>(&set), reinterpret_cast<LPARAM>(text.c_str()));
}

void RichEdit::ReplaceSelectionWide(const std::wstring& text, bool undoable) const {
  SETTEXTEX set{static_cast<DWORD>(ST_SELECTION | (undoable ? ST_KEEPUNDO : 0)), kUtf16CodePage};
  Send(EM_SETTEXTEX, reinterpret_cast<WPARAM>(&set), reinterpret_cast<LPARAM>(text.c_str()));
}

std::string RichEdit::TextOfRange(int start, int end) const {
  if (end < 0) end = TextLength();
  if (end <= start) return {};
  // A character may take two bytes in a double-byte code page.
  std::string text(static_cast<std::size_t>(end - start) * 2 + 1, '\0');
  TEXTRANGEA range{{start, end}, text.data()};
  const auto got = static_cast<int>(Send(EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range)));
  text.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
  return text;
}

CharFormat RichEdit::GetCharFormat(FormatScope scope) const {
  CHARFORMAT2A cf{};
  cf.cbSize = sizeof cf;
  Send(EM_GETCHARFORMAT, scope == FormatScope::Default ? SCF_DEFAULT : SCF_SELECTION,
       reinterpret_cast<LPARAM>(&cf));
  CharFormat format;
  format.mask = cf.dwMask;
  format.effects = cf.dwEffects;
  format.color = cf.crTextColor;
  format.heightTwips = static_cast<int>(cf.yHeight);
  format.face = cf.szFaceName;
  return format;
}

bool RichEdit::SetCharFormat(const CharFormat& format, FormatScope scope) const {
  CHARFORMAT2A cf{};
  cf.cbSize = sizeof cf;
  cf.dwMask = format.mask;
  cf.dwEffects = format.effects;
  cf.crTextColor = format.color;
  cf.yHeight = format.heightTwips;
  // The face is cut to the format's field rather than overrun it.
  const std::size_t faceLength = std::min(format.face.size(), sizeof cf.szFaceName - 1);
  std::memcpy(cf.szFaceName, format.face.data(), faceLength);
  return Send(EM_SETCHARFORMAT, ScopeFlag(scope), reinterpret_cast<LPARAM>(&cf)) != 0;
}

bool RichEdit::StreamInText(const std::string& text, bool selectionOnly) const {
  StreamState state{&text};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&state), 0, &StreamInCallback};
  Send(EM_STREAMIN, SF_TEXT | (selectionOnly ? SFF_SELECTION : 0), reinterpret_cast<LPARAM>(&stream));
  return stream.dwError == 0;
}

std::string RichEdit::StreamOutText(bool selectionOnly) const {
  std::string text;
  StreamState state{nullptr, 0, &text};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&state), 0, &StreamOutCallback};
  Send(EM_STREAMOUT, SF_TEXT | (selectionOnly ? SFF_SELECTION : 0), reinterpret_cast<LPARAM>(&stream));
  return text;
}

}  // namespace wingui
