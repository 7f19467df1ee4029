#pragma once
// The on-board memory image of a keypad that plays its macros by itself: four directories (Key
// Down green, Key Up green, Key Down red, Key Up red) indexed by compact key index, each entry
// the offset of a key's macro divided by 16, then the macros, each on a 16-byte boundary. And
// the set of macros that is packed into it or unpacked from it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "runtime/keys/key_codes.h"

// One macro as the device keeps it, its end marker included; empty: no macro.
using DeviceCodes = std::vector<std::uint8_t>;

// The tables of a set, in the order of the image's directories.
enum DeviceMacroTable : int {
  kKeyDownGreen = 0,
  kKeyUpGreen = 1,
  kKeyDownRed = 2,
  kKeyUpRed = 3,
};
inline constexpr int kDeviceMacroTables = 4;

struct DeviceMacroSet {
  int tableSize = 0;               // entries of each table
  std::uint8_t highestKey = 0;     // the highest key code of the layout
  std::uint8_t highestCompact = 0;  // its compact index, filled by packing
  // The macros by key code.
  std::vector<DeviceCodes> keyDownGreen;
  std::vector<DeviceCodes> keyDownRed;
  std::vector<DeviceCodes> keyUpGreen;
  std::vector<DeviceCodes> keyUpRed;

  // A table by its DeviceMacroTable number; null for any other number.
  std::vector<DeviceCodes>* Table(int table);
  const std::vector<DeviceCodes>* Table(int table) const;
  // The four in the order of the image's directories (two sets compare by them).
  std::array<std::vector<DeviceCodes>, kDeviceMacroTables> Tables() const;
  // Empty tables of that many entries.
  void Resize(int size);
  // The key's macro in that table; null when it has none.
  const DeviceCodes* Find(int table, int key) const;
  DeviceCodes* Slot(int table, int key);
};

// The image's size, the bytes a read fetches (whole replies of 28 data bytes), and the
// directories' least size.
inline constexpr int kMemoryImageSize = 4080;
inline constexpr int kMemoryReadLength = 4088;
inline constexpr int kMinDirectorySize = 80;

// A byte holds 8 keys but 16 codes: the compact index counts only the keys, 8 a byte.
inline constexpr int CompactKeyIndex(int key) { return KeyCodeByte(key) * 8 + KeyCodeBit(key) % 8; }
inline constexpr int KeyOfCompactIndex(int index) { return KeyCode(index / 8, index % 8); }

// Entries of each table of a set: every key code up to the highest, rounded up to 16.
inline constexpr int MacroTableSize(std::uint8_t highestKey) { return (highestKey + 16) & ~15; }
// Bytes of each directory for a layout whose highest key code is that.
int DirectorySize(std::uint8_t highestKey);
// True when the highest key's entries fall past the end of their directory (onto the first
// entry of the next one): the keypad would read another key's macro for it.
bool DirectoryOverlaps(std::uint8_t highestKey);

// The bytes of a macro up to its end: below 0xF0 at first, a run ended by a 0 byte that counts
// (the byte after 0xEC is never an end); from 0xF0 on, two-byte units up to the unit that begins
// with 0, which does not count. None when the bytes end first.
std::optional<std::size_t> GetEncodedMacroLength(std::span<const std::uint8_t> bytes);
// The bytes the macro takes in the image: its length, and the closing unit of the second form
// (none when that unit is cut off).
std::optional<std::size_t> StoredMacroLength(std::span<const std::uint8_t> bytes);

enum class ImagePackResult {
  kPacked,
  kDoesNotFit,        // the macros need more than the image holds
  kDirectoryOverlap,  // DirectoryOverlaps(highestKey): refused rather than written
};

// Packs the set into a zeroed image of kMemoryImageSize bytes; usedLength is the end of the
// last macro rounded up to 16, or 0 when the set was refused (nothing is to be written then).
ImagePackResult EncodeDeviceMacroImage(DeviceMacroSet& set, std::vector<std::uint8_t>& image,
                                       int& usedLength);

// The set the image holds for a layout whose highest key code is that. Entries that point past
// the image, and macros that do not end inside it, read as none.
DeviceMacroSet DecodeDeviceMacroImage(std::span<const std::uint8_t> image, std::uint8_t highestKey);
