#include "macros/model/onboard_image.h"

#include <algorithm>

namespace {

constexpr std::uint8_t kModifierCode = 0xEC;
constexpr std::uint8_t kUnitForm = 0xF0;
constexpr int kAlignment = 16;

int NextFreeOffset(int offset, std::size_t length) {
  return (offset + static_cast<int>(length) + kAlignment - 1) & ~(kAlignment - 1);
}

}  // namespace

std::vector<DeviceCodes>* DeviceMacroSet::Table(int table) {
  switch (table) {
    case kKeyDownGreen:
      return &keyDownGreen;
    case kKeyUpGreen:
      return &keyUpGreen;
    case kKeyDownRed:
      return &keyDownRed;
    case kKeyUpRed:
      return &keyUpRed;
  }
  return nullptr;
}

const std::vector<DeviceCodes>* DeviceMacroSet::Table(int table) const {
  return const_cast<DeviceMacroSet*>(this)->Table(table);
}

std::array<std::vector<DeviceCodes>, kDeviceMacroTables> DeviceMacroSet::Tables() const {
  return {keyDownGreen, keyUpGreen, keyDownRed, keyUpRed};
}

void DeviceMacroSet::Resize(int size) {
  tableSize = std::max(size, 0);
  for (int table = 0; table < kDeviceMacroTables; ++table)
    Table(table)->assign(static_cast<std::size_t>(tableSize), DeviceCodes{});
}

const DeviceCodes* DeviceMacroSet::Find(int table, int key) const {
  const std::vector<DeviceCodes>* t = Table(table);
  if (!t || key < 0 || static_cast<std::size_t>(key) >= t->size() || (*t)[static_cast<std::size_t>(key)].empty())
    return nullptr;
  return &(*t)[static_cast<std::size_t>(key)];
}

DeviceCodes* DeviceMacroSet::Slot(int table, int key) {
  std::vector<DeviceCodes>* t = Table(table);
  if (!t || key < 0) return nullptr;
  return static_cast<std::size_t>(key) < t->size() ? &(*t)[static_cast<std::size_t>(key)] : nullptr;
}

int DirectorySize(std::uint8_t highestKey) {
  return std::max((CompactKeyIndex(highestKey) + 15) & 0xFF0, kMinDirectorySize);
}

bool DirectoryOverlaps(std::uint8_t highestKey) {
  return CompactKeyIndex(highestKey) >= DirectorySize(highestKey);
}

std::optional<std::size_t> GetEncodedMacroLength(std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return std::nullopt;
  if (bytes[0] < kUnitForm) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] == 0) return i + 1;
      if (bytes[i] == kModifierCode) ++i;  // its value may be 0
    }
    return std::nullopt;
  }
  for (std::size_t i = 0; i < bytes.size(); i += 2)
    if (bytes[i] == 0) return i;
  return std::nullopt;
}

std::optional<std::size_t> StoredMacroLength(std::span<const std::uint8_t> bytes) {
  const std::optional<std::size_t> length = GetEncodedMacroLength(bytes);
  if (!length || bytes[0] < kUnitForm) return length;
  // The closing unit goes along, so that a macro packed right behind cannot stand in for it.
  if (*length + 2 > bytes.size()) return std::nullopt;
  return *length + 2;
}

ImagePackResult EncodeDeviceMacroImage(DeviceMacroSet& set, std::vector<std::uint8_t>& image,
                                       int& usedLength) {
  set.highestCompact = static_cast<std::uint8_t>(CompactKeyIndex(set.highestKey));
  const int directory = DirectorySize(set.highestKey);
  image.assign(kMemoryImageSize, 0);
  usedLength = 0;
  if (DirectoryOverlaps(set.highestKey)) return ImagePackResult::kDirectoryOverlap;

  int next = kDeviceMacroTables * directory;
  for (int table = 0; table < kDeviceMacroTables; ++table) {
    for (int key = 0; key <= set.highestKey; ++key) {
      const DeviceCodes* codes = IsKeyCode(key) ? set.Find(table, key) : nullptr;
      if (!codes) continue;
      // A macro without its end gets a zero byte (or unit) of the cleared image behind it.
      const std::size_t length = StoredMacroLength(*codes).value_or(codes->size() + 2);
      if (next + length > static_cast<std::size_t>(kMemoryImageSize)) {
        image.assign(kMemoryImageSize, 0);
        return ImagePackResult::kDoesNotFit;
      }
      std::copy_n(codes->begin(), std::min(length, codes->size()), image.begin() + next);
      image[static_cast<std::size_t>(table * directory + CompactKeyIndex(key))] =
          static_cast<std::uint8_t>(next / kAlignment);
      next = NextFreeOffset(next, length);
    }
  }
  usedLength = next;
  return ImagePackResult::kPacked;
}

DeviceMacroSet DecodeDeviceMacroImage(std::span<const std::uint8_t> image, std::uint8_t highestKey) {
  DeviceMacroSet set;
  set.highestKey = highestKey;
  set.highestCompact = static_cast<std::uint8_t>(CompactKeyIndex(highestKey));
  set.Resize(MacroTableSize(highestKey));
  const int directory = DirectorySize(highestKey);
  for (int table = 0; table < kDeviceMacroTables; ++table) {
    for (int index = 0; index <= set.highestCompact; ++index) {
      const std::size_t at = static_cast<std::size_t>(table * directory + index);
      const std::size_t offset = at < image.size() ? image[at] * std::size_t{kAlignment} : 0;
      if (offset == 0 || offset >= image.size()) continue;
      const auto rest = image.subspan(offset);
      const std::optional<std::size_t> length = StoredMacroLength(rest);
      DeviceCodes* slot = set.Slot(table, KeyOfCompactIndex(index));
      if (length && slot) slot->assign(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(*length));
    }
  }
  return set;
}
