// The cab controller's calibrated positions and the wizard's sections: which report byte each
// position reads, its lever, its name in the calibration file, its bounds and its instruction.
#pragma once
#include <array>
#include <optional>

#include "calibration/language_texts.h"

namespace cal {

constexpr int kPositionCount = 22;
// Positions 0 to 19 are set by the user; 20 and 21 (bail-off disengaged) are sampled alongside
// 10 and 12.
constexpr int kUserPositionCount = 20;
constexpr int kBailOffReleased = 20;
constexpr int kBailOffFull = 21;
// The independent brake's two positions, each sampled with its bail-off companion.
constexpr int kIndependentReleased = 10;
constexpr int kIndependentFull = 12;

// The companion sampled alongside a position, if it has one.
constexpr std::optional<int> CompanionOf(int position) {
  if (position == kIndependentReleased) return kBailOffReleased;
  if (position == kIndependentFull) return kBailOffFull;
  return std::nullopt;
}

constexpr int kCabVendorId = 0x0A7C;
constexpr int kCabProductId = 0xD2;
constexpr int kCabUsagePage = 0x000C;
// Report byte 14 tells the two builds of the controller apart (their bounds differ).
constexpr int kVariantByte = 14;
constexpr int kVariantMark = 0xD2;

// Wizard pages: 1 welcome, 2 controller picture, 3 to 7 one section each, 8 finish.
constexpr int kWelcomePage = 1;
constexpr int kOverviewPage = 2;
constexpr int kFirstSectionPage = 3;
constexpr int kRotarySectionPage = 7;
constexpr int kFinishPage = 8;
constexpr int kPageCount = 8;

struct PositionInfo {
  int reportByte;
  TextKey leverKey;        // the lever (section) name
  const char* name;        // position name in the calibration file, never translated
  int lowerBound;
  int upperBoundMarked;    // when report byte 14 is 0xD2
  int upperBoundOther;
  TextKey instructionKey;  // kNoText for the companions 20 and 21
  int page;                // the section page it is calibrated on
  TextKey labelKey;        // caption of its label on the section page (kNoText: none)
};

const PositionInfo& Position(int p);
inline int UpperBound(int p, bool marked) {
  return marked ? Position(p).upperBoundMarked : Position(p).upperBoundOther;
}

struct SectionInfo {
  int page;
  TextKey leverKey;
  int first;  // smallest and largest outline tag on the page
  int last;
  int restPosition;  // the parked state listed on the finish page
};

// For pages 3 to 7.
const SectionInfo& Section(int page);

// The lever blocks of the calibration file in order, each with its positions in order.
struct LeverBlock {
  int namePosition;  // the position whose lever name the block carries
  std::array<int, 6> positions;
  int count;
};
const std::array<LeverBlock, 5>& LeverBlocks();

// Outline geometry around a position label, as the labels are measured in the current language.
struct Span {
  int left;
  int width;
};
constexpr Span OutlineAroundLabel(int labelLeft, int labelWidth) {
  return {labelLeft - 8, labelWidth + 17};
}
// The two bail-off positions: the outline spans the label and the arrow label beside it.
constexpr int ArrowLeft(int labelLeft, int labelWidth) { return labelLeft + labelWidth + 8; }
constexpr Span OutlineAroundBailOff(int labelLeft, int labelWidth, int arrowWidth) {
  return {labelLeft - 8, labelWidth + arrowWidth + 25};
}

}  // namespace cal
