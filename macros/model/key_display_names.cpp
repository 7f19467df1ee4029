#include "macros/model/key_display_names.h"

#include <array>
#include <map>

#include "runtime/keys/key_name_tables.h"

namespace {

struct Name {
  std::uint8_t code;
  const wchar_t* name;
};

// Named alike with and without Shift.
constexpr Name kSame[] = {
    {1, L"<Left Mouse>"}, {2, L"<Right Mouse>"}, {3, L"<Cancel>"}, {4, L"<Middle Mouse>"},
    {8, L"<Backspace>"}, {9, L"<Tab>"}, {12, L"<Clear>"}, {13, L"<Return>"}, {19, L"<Pause>"},
    {20, L"<CAPS>"}, {21, L"<Kana>"}, {23, L"<Junja>"}, {24, L"<Final>"}, {25, L"<Kanji>"},
    {28, L"<Convert>"}, {29, L"<Non-Convert>"}, {30, L"<Accept>"}, {31, L"<Mode Change>"},
    {32, L" "}, {35, L"<End>"}, {36, L"<Home>"}, {37, L"<Left>"}, {38, L"<Up>"}, {39, L"<Right>"},
    {40, L"<Down>"}, {41, L"<Select>"}, {42, L"<Print>"}, {43, L"<Execute>"}, {44, L"<Snapshot>"},
    {45, L"<Insert>"}, {46, L"<Delete>"}, {47, L"<Help>"}, {91, L"<WinKey (left)>"},
    {92, L"<WinKey (right)>"}, {93, L"<Applications>"}, {95, L"<Sleep>"}, {96, L"<#0>"},
    {97, L"<#1>"}, {98, L"<#2>"}, {99, L"<#3>"}, {100, L"<#4>"}, {101, L"<#5>"}, {102, L"<#6>"},
    {103, L"<#7>"}, {104, L"<#8>"}, {105, L"<#9>"}, {106, L"<# *>"}, {107, L"<# +>"},
    {108, L"<Seperator>"}, {109, L"<# ->"}, {110, L"<# .>"}, {111, L"<# />"}, {112, L"<F1>"},
    {113, L"<F2>"}, {114, L"<F3>"}, {115, L"<F4>"}, {116, L"<F5>"}, {117, L"<F6>"}, {118, L"<F7>"},
    {119, L"<F8>"}, {120, L"<F9>"}, {121, L"<F10>"}, {122, L"<F11>"}, {123, L"<F12>"},
    {124, L"<F13>"}, {125, L"<F14>"}, {126, L"<F15>"}, {127, L"<F16>"}, {128, L"<F17>"},
    {129, L"<F18>"}, {130, L"<F19>"}, {131, L"<F20>"}, {132, L"<F21>"}, {133, L"<F22>"},
    {134, L"<F23>"}, {135, L"<F24>"}, {144, L"<Num Lock>"}, {145, L"<Scroll Lock>"},
    {160, L"<Left Shift>"}, {161, L"<Right Shift>"}, {164, L"<Left Alt>"}, {165, L"<Right Alt>"},
    {166, L"<Browser Back>"}, {167, L"<Browser Forward>"}, {168, L"<Browser Refresh>"},
    {169, L"<Browser Stop>"}, {170, L"<Browser Search>"}, {171, L"<Browser Favorites>"},
    {172, L"<Browser Home>"}, {173, L"<Volume Mute>"}, {174, L"<Volume Down>"},
    {175, L"<Volume Up>"}, {176, L"<Next Track>"}, {177, L"<Prev Track>"}, {178, L"<Stop Media>"},
    {179, L"<Play/Pause Media>"}, {180, L"<Launch Mail>"}, {181, L"<Launch Media>"},
    {182, L"<Launch App 1>"}, {183, L"<Launch App 2>"}, {223, L"<Misc>"},
    {226, L"<Bracket/Backslash>"}, {229, L"<Process>"}, {231, L"<Packet>"}, {246, L"<Attn>"},
    {247, L"<Crsel>"}, {248, L"<Exsel>"}, {249, L"<Erase EOF>"}, {250, L"<Play>"}, {251, L"<Zoom>"},
    {253, L"<PA1>"}, {254, L"<Clear Key>"}, {255, L"<# Return>"},
};

struct NamePair {
  std::uint8_t code;
  const wchar_t* unshifted;
  const wchar_t* shifted;
};

// Named differently with Shift (the letters are added by code).
constexpr NamePair kDiffering[] = {
    {5, L"<X1 Mouse>", L"<XButton 1>"}, {6, L"<X2 Mouse>", L"<XButton 2>"}, {27, L"Esc", L"<Esc>"},
    {33, L"<Pg Up>", L"<PgUp>"}, {34, L"<Pg Dn>", L"<PgDn>"}, {48, L"0", L")"}, {49, L"1", L"!"},
    {50, L"2", L"@"}, {51, L"3", L"#"}, {52, L"4", L"$"}, {53, L"5", L"%"}, {54, L"6", L"^"},
    {55, L"7", L"&"}, {56, L"8", L"*"}, {57, L"9", L"("}, {162, L"<Left Ctrl>", L"<Left Control>"},
    {163, L"<Right Ctrl>", L"<Right Control>"}, {186, L";", L":"}, {187, L"=", L"+"},
    {188, L",", L"<"}, {189, L"-", L"_"}, {190, L".", L">"}, {191, L"/", L"?"}, {192, L"`", L"~"},
    {219, L"[", L"{"}, {220, L"\\", L"|"}, {221, L"]", L"}"}, {222, L"'", L"\""},
};

struct Tables {
  bool built = false;
  std::map<std::uint8_t, std::wstring> unshifted;
  std::map<std::uint8_t, std::wstring> shifted;
};

Tables& State() {
  static Tables tables;
  return tables;
}

}  // namespace

void BuildKeyDisplayNames() {
  Tables& t = State();
  if (t.built) return;
  for (const Name& n : kSame) t.unshifted[n.code] = t.shifted[n.code] = n.name;
  for (const NamePair& n : kDiffering) {
    t.unshifted[n.code] = n.unshifted;
    t.shifted[n.code] = n.shifted;
  }
  for (int letter = 0; letter < 26; ++letter) {
    t.unshifted[static_cast<std::uint8_t>(65 + letter)] = std::wstring(1, static_cast<wchar_t>(L'a' + letter));
    t.shifted[static_cast<std::uint8_t>(65 + letter)] = std::wstring(1, static_cast<wchar_t>(L'A' + letter));
  }
  t.built = true;
}

void ClearKeyDisplayNames() { State() = Tables{}; }

bool KeyDisplayNamesBuilt() { return State().built; }

std::optional<std::wstring> KeyDisplayName(std::uint8_t virtualKey, bool shifted) {
  BuildKeyDisplayNames();
  const auto& table = shifted ? State().shifted : State().unshifted;
  const auto it = table.find(virtualKey);
  if (it == table.end()) return std::nullopt;
  return it->second;
}

std::uint8_t VirtualKeyOfUsage(std::uint8_t usage) {
  static const std::array<std::uint8_t, 256> inverse = [] {
    std::array<std::uint8_t, 256> table{};
    for (int vk = 255; vk >= 1; --vk)
      if (const std::uint8_t u = UsageOfVirtualKey(static_cast<std::uint8_t>(vk))) table[u] = static_cast<std::uint8_t>(vk);
    return table;
  }();
  return usage ? inverse[usage] : 0;
}

std::optional<std::wstring> UsageDisplayName(std::uint8_t usage, bool shifted) {
  const std::uint8_t vk = VirtualKeyOfUsage(usage);
  if (!vk) return std::nullopt;
  return KeyDisplayName(vk, shifted);
}
