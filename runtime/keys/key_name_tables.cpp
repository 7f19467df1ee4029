#include "runtime/keys/key_name_tables.h"

#include <array>

namespace {

enum KeySets : std::uint8_t {
  kV = 1,  // virtual-key key set
  kE = 2,  // extended key set
  kN = 4,  // number-pad key set
  kG = 8,  // navigation key set
};
constexpr int kNoScanCode = -1;

struct KeyName {
  const char* name;
  int scan;
  std::uint8_t vk;
  std::uint8_t sets;
};

// The named keys; digits, their shifted symbols and the letters are added in a loop.
constexpr KeyName kKeyNames[] = {
    {"<Tab>", 15, 0x09, 0},
    {"\t", 15, 0x09, 0},
    {"<Return>", 28, 0x0D, kG},
    {"\n", 28, 0x0D, 0},
    {"<Backspace>", 14, 0x08, 0},
    {"\b", 14, 0x08, 0},
    {"<Space>", 57, 0x20, 0},
    {" ", 57, 0x20, 0},
    {"0", 11, 0x30, 0},
    {")", 11, 0x30, 0},
    {"<#0>", 82, 0x60, kN},
    {"<#1>", 79, 0x61, kN},
    {"<#2>", 80, 0x62, kN},
    {"<#3>", 81, 0x63, kN},
    {"<#4>", 75, 0x64, kN},
    {"<#5>", 76, 0x65, kN},
    {"<#6>", 77, 0x66, kN},
    {"<#7>", 71, 0x67, kN},
    {"<#8>", 72, 0x68, kN},
    {"<#9>", 73, 0x69, kN},
    {"<# *>", 55, 0x6A, 0},
    {"<# +>", 78, 0x6B, 0},
    {"<# ->", 74, 0x6D, 0},
    {"<# .>", 83, 0x6E, kN},
    {"<# />", 181, 0x6F, 0},
    {"<# Return>", 156, 0x0D, kE | kN},
    {",", 51, 0xBC, 0},
    {"<", 51, 0xBC, 0},
    {".", 52, 0xBE, 0},
    {">", 52, 0xBE, 0},
    {"/", 53, 0xBF, 0},
    {"?", 53, 0xBF, 0},
    {";", 39, 0xBA, 0},
    {":", 39, 0xBA, 0},
    {"'", 40, 0xDE, 0},
    {"\"", 40, 0xDE, 0},
    {"\\", 43, 0xDC, 0},
    {"|", 43, 0xDC, 0},
    {"[", 26, 0xDB, 0},
    {"{", 26, 0xDB, 0},
    {"]", 27, 0xDD, 0},
    {"}", 27, 0xDD, 0},
    {"=", 13, 0xBB, 0},
    {"+", 13, 0xBB, 0},
    {"-", 12, 0xBD, 0},
    {"_", 12, 0xBD, 0},
    {"`", 41, 0xC0, 0},
    {"~", 41, 0xC0, 0},
    {"<Esc>", 1, 0x1B, 0},
    {"Esc", kNoScanCode, 0x1B, 0},
    {"<Mouse Click>", 1, 0x01, 0},
    {"<Mouse Right Click>", 2, 0x02, 0},
    {"<Mouse Center Click>", 4, 0x04, 0},
    {"<Mouse Button 4 Click>", 5, 0x05, 0},
    {"<Mouse Button 5 Click>", 6, 0x06, 0},
    {"<Cancel>", 197, 0x13, 0},
    {"<Pause>", 197, 0x13, kV},
    {"<Clear>", 12, 0x0C, kV},
    {"Shift", 42, 0xA0, 0},
    {"<Shift (left)>", 42, 0xA0, 0},
    {"<Left Shift>", 42, 0xA0, 0},
    {"<Shift (right)>", 54, 0xA1, 0},
    {"<Right Shift>", 54, 0xA1, 0},
    {"Ctrl", 29, 0xA2, 0},
    {"<Ctrl (left)>", 29, 0xA2, 0},
    {"<Left Ctrl>", 29, 0xA2, 0},
    {"<Ctrl (right)>", 157, 0xA3, 0},
    {"<Right Ctrl>", 157, 0xA3, kE},
    {"Alt", 56, 0xA4, 0},
    {"<Alt (left)>", 56, 0xA4, 0},
    {"<Left Alt>", 56, 0xA4, 0},
    {"<Alt (right)>", 184, 0xA5, 0},
    {"<Right Alt>", 184, 0xA5, kE},
    {"WinKey", 91, 0x5B, kV},
    {"<WinKey (left)>", 91, 0x5B, kV},
    {"<WinKey (right)>", 92, 0x5C, kV},
    {"<Windows Key (left)>", 219, 0x5B, 0},
    {"<Left WinKey>", 219, 0x5B, 0},
    {"<Left Windows Key>", 219, 0x5B, 0},
    {"<Windows Key (right)>", 220, 0x5C, 0},
    {"<Right WinKey>", 220, 0x5C, 0},
    {"<Right Windows Key>", 220, 0x5C, 0},
    {"<Applications>", 221, 0x5D, kE},
    {"<Sleep>", 223, 0x5F, 0},
    {"<CAPS>", 58, 0x14, 0},
    {"<Num Lock>", 69, 0x90, 0},
    {"<Scroll Lock>", 70, 0x91, 0},
    {"<Kana>", 112, 0x15, 0},
    {"<Hangul>", 21, 0x15, kV},
    {"<Junja>", 23, 0x17, kV},
    {"<Final>", 24, 0x18, kV},
    {"<Hanja>", 25, 0x19, kV},
    {"<Kanji>", 148, 0x19, 0},
    {"<Convert>", 121, 0x1C, 0},
    {"<Non-Convert>", 123, 0x1D, kE},
    {"<Accept>", 30, 0x1E, kV},
    {"<Mode Change>", 31, 0x1F, kV},
    {"<Pg Up>", 201, 0x21, kG},
    {"<Pg Dn>", 209, 0x22, kG},
    {"<End>", 207, 0x23, kG},
    {"<Home>", 199, 0x24, kG},
    {"<Left>", 203, 0x25, kG},
    {"<Up>", 200, 0x26, kG},
    {"<Right>", 205, 0x27, kG},
    {"<Down>", 208, 0x28, kG},
    {"<Insert>", 210, 0x2D, kG},
    {"<Delete>", 211, 0x2E, kG},
    {"<Select>", 41, 0x29, kV},
    {"<Print>", 42, 0x2A, kV},
    {"<Execute>", 43, 0x2B, kV},
    {"<Snapshot>", 183, 0x2C, kE},
    {"<Help>", 47, 0x2F, kV},
    {"<Seperator>", 108, 0x6C, kV},
    {"<F1>", 59, 0x70, 0},
    {"<F2>", 60, 0x71, 0},
    {"<F3>", 61, 0x72, 0},
    {"<F4>", 62, 0x73, 0},
    {"<F5>", 63, 0x74, 0},
    {"<F6>", 64, 0x75, 0},
    {"<F7>", 65, 0x76, 0},
    {"<F8>", 66, 0x77, 0},
    {"<F9>", 67, 0x78, 0},
    {"<F10>", 68, 0x79, 0},
    {"<F11>", 87, 0x7A, 0},
    {"<F12>", 88, 0x7B, 0},
    {"<F13>", 100, 0x7C, 0},
    {"<F14>", 101, 0x7D, 0},
    {"<F15>", 102, 0x7E, 0},
    {"<F16>", 127, 0x7F, kV},
    {"<F17>", 128, 0x80, kV},
    {"<F18>", 129, 0x81, kV},
    {"<F19>", 130, 0x82, kV},
    {"<F20>", 131, 0x83, kV},
    {"<F21>", 132, 0x84, kV},
    {"<F22>", 133, 0x85, kV},
    {"<F23>", 134, 0x86, kV},
    {"<F24>", 135, 0x87, kV},
    {"<Browser Back>", 234, 0xA6, kE},
    {"<Browser Forward>", 233, 0xA7, kE},
    {"<Browser Refresh>", 231, 0xA8, kE},
    {"<Browser Stop>", 232, 0xA9, kE},
    {"<Browser Search>", 229, 0xAA, kE},
    {"<Browser Favorites>", 230, 0xAB, kE},
    {"<Browser Home>", 178, 0xAC, kE},
    {"<Volume Mute>", 160, 0xAD, kE},
    {"<Volume Down>", 174, 0xAE, kE},
    {"<Volume Up>", 176, 0xAF, kE},
    {"<Next Track>", 153, 0xB0, kE},
    {"<Prev Track>", 144, 0xB1, kE},
    {"<Stop Media>", 164, 0xB2, kE},
    {"<Play/Pause Media>", 162, 0xB3, kE},
    {"<Launch Mail>", 236, 0xB4, kE},
    {"<Launch Media>", 237, 0xB5, kE},
    {"<Launch App 1>", 182, 0xB6, kV},
    {"<Launch App 2>", 183, 0xB7, kV},
    {"<Misc>", 223, 0xDF, kV},
    {"<Bracket/Backslash>", 86, 0xE2, 0},
    {"<Process>", 229, 0xE5, kV},
    {"<Packet>", 231, 0xE7, kV},
    {"<Attn>", 246, 0xF6, kV},
    {"<Crsel>", 247, 0xF7, kV},
    {"<Exsel>", 248, 0xF8, kV},
    {"<Erase EOF>", 249, 0xF9, kV},
    {"<Play>", 19, 0xFA, kV},
    {"<Zoom>", 251, 0xFB, kV},
    {"<PA1>", 253, 0xFD, kV},
    {"<Clear Key>", 254, 0xFE, kV},
};

// Digits 1 to 9 with the symbols above them on a US keyboard: scan codes 2 to 10.
constexpr char kShiftedDigits[] = "!@#$%^&*(";
// Set-1 make codes of the letter keys A to Z.
constexpr std::uint8_t kLetterScanCodes[26] = {30, 48, 46, 32, 18, 33, 34, 35, 23,
                                               36, 37, 38, 50, 49, 24, 25, 16, 19,
                                               31, 20, 22, 47, 17, 45, 21, 44};

struct KeyNameTables {
  KeyCodeTable scanCodes;
  KeyCodeTable virtualKeys;
  KeyNameSet vkOnly;
  KeyNameSet numPad;
  KeyNameSet navigation;
  KeyNameSet extended;
};

KeyNameTables& Tables() {
  static KeyNameTables tables;
  return tables;
}

// Calls add(name, scan, vk, sets) for every key name.
template <typename Add>
void ForEachKeyName(Add add) {
  for (int digit = 1; digit <= 9; ++digit) {
    const auto scan = digit + 1;
    const auto vk = static_cast<std::uint8_t>('0' + digit);
    add(std::string(1, static_cast<char>('0' + digit)), scan, vk, 0);
    add(std::string(1, kShiftedDigits[digit - 1]), scan, vk, 0);
  }
  for (int i = 0; i < 26; ++i) {
    const auto vk = static_cast<std::uint8_t>('A' + i);
    add(std::string(1, static_cast<char>('a' + i)), kLetterScanCodes[i], vk, 0);
    add(std::string(1, static_cast<char>('A' + i)), kLetterScanCodes[i], vk, 0);
  }
  for (const KeyName& k : kKeyNames) add(std::string(k.name), k.scan, k.vk, k.sets);
}

void InitScanCodeTable() {
  ForEachKeyName([](std::string name, int scan, std::uint8_t, std::uint8_t) {
    if (scan != kNoScanCode) Tables().scanCodes.emplace(std::move(name), scan);
  });
}
void InitVirtualKeyTable() {
  ForEachKeyName([](std::string name, int, std::uint8_t vk, std::uint8_t) {
    Tables().virtualKeys.emplace(std::move(name), vk);
  });
}
void InitNameSet(KeyNameSet& set, std::uint8_t member) {
  ForEachKeyName([&](std::string name, int, std::uint8_t, std::uint8_t sets) {
    if (sets & member) set.insert(std::move(name));
  });
}

std::uint8_t Find(const KeyCodeTable& table, std::string_view name) {
  auto it = table.find(name);
  return it == table.end() ? 0 : it->second;
}

constexpr std::array<std::uint8_t, 256> MakeUsageTable() {
  std::array<std::uint8_t, 256> u{};
  const std::uint8_t pairs[][2] = {
      {0x08, 0x2A}, {0x09, 0x2B}, {0x0D, 0x28}, {0x10, 0xE1}, {0x11, 0xE0}, {0x12, 0xE2},
      {0x13, 0x48}, {0x14, 0x39}, {0x1B, 0x29}, {0x20, 0x2C}, {0x21, 0x4B}, {0x22, 0x4E},
      {0x23, 0x4D}, {0x24, 0x4A}, {0x25, 0x50}, {0x26, 0x52}, {0x27, 0x4F}, {0x28, 0x51},
      {0x2D, 0x49}, {0x2E, 0x4C}, {0x30, 0x27}, {0x5B, 0xE3}, {0x5C, 0xE7}, {0x60, 0x62},
      {0x6A, 0x55}, {0x6B, 0x57}, {0x6D, 0x56}, {0x6E, 0x63}, {0x6F, 0x54}, {0x90, 0x53},
      {0x91, 0x47}, {0xBA, 0x33}, {0xBB, 0x2E}, {0xBC, 0x36}, {0xBD, 0x2D}, {0xBE, 0x37},
      {0xBF, 0x38}, {0xC0, 0x35}, {0xDB, 0x2F}, {0xDC, 0x31}, {0xDD, 0x30}, {0xDE, 0x34},
  };
  for (const auto& p : pairs) u[p[0]] = p[1];
  for (int i = 0; i < 9; ++i) u[0x31 + i] = static_cast<std::uint8_t>(0x1E + i);    // 1 to 9
  for (int i = 0; i < 26; ++i) u[0x41 + i] = static_cast<std::uint8_t>(0x04 + i);   // A to Z
  for (int i = 0; i < 9; ++i) u[0x61 + i] = static_cast<std::uint8_t>(0x59 + i);    // pad 1-9
  for (int i = 0; i < 12; ++i) u[0x70 + i] = static_cast<std::uint8_t>(0x3A + i);   // F1-F12
  return u;
}
constexpr std::array<std::uint8_t, 256> kUsageTable = MakeUsageTable();

}  // namespace

void InitKeyNameTables() {
  KeyNameTables& t = Tables();
  if (t.scanCodes.empty()) InitScanCodeTable();
  if (t.virtualKeys.empty()) InitVirtualKeyTable();
  if (t.vkOnly.empty()) InitNameSet(t.vkOnly, kV);
  if (t.numPad.empty()) InitNameSet(t.numPad, kN);
  if (t.navigation.empty()) InitNameSet(t.navigation, kG);
  if (t.extended.empty()) InitNameSet(t.extended, kE);
}

void ClearKeyNameTables() { Tables() = KeyNameTables{}; }

const KeyCodeTable& ScanCodeTable() { return Tables().scanCodes; }
const KeyCodeTable& VirtualKeyTable() { return Tables().virtualKeys; }
const KeyNameSet& VkOnlyKeyNames() { return Tables().vkOnly; }
const KeyNameSet& ExtendedKeyNames() { return Tables().extended; }
const KeyNameSet& NumPadKeyNames() { return Tables().numPad; }
const KeyNameSet& NavigationKeyNames() { return Tables().navigation; }

bool HasScanCode(std::string_view name) { return Tables().scanCodes.contains(name); }
std::uint8_t ScanCodeOf(std::string_view name) { return Find(Tables().scanCodes, name); }
std::uint8_t VirtualKeyOf(std::string_view name) { return Find(Tables().virtualKeys, name); }
bool IsVkOnlyKey(std::string_view name) { return Tables().vkOnly.contains(name); }
bool IsExtendedKey(std::string_view name) { return Tables().extended.contains(name); }
bool IsNumPadKey(std::string_view name) { return Tables().numPad.contains(name); }
bool IsNavigationKey(std::string_view name) { return Tables().navigation.contains(name); }

std::uint8_t UsageOfVirtualKey(std::uint8_t virtualKey) { return kUsageTable[virtualKey]; }
