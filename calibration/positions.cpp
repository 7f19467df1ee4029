// Tables of the controller's positions and sections.
#include "calibration/positions.h"

namespace cal {

namespace {

constexpr PositionInfo kPositions[kPositionCount] = {
    {1, 1001, "Full Reversed", 160, 255, 255, 1051, 3, 1073},
    {1, 1001, "Neutral", 80, 160, 160, 1052, 3, 1072},
    {1, 1001, "Full Forward", 0, 80, 90, 1053, 3, 1071},
    {2, 1002, "Full Throttle", 130, 255, 255, 1054, 4, 1074},
    {2, 1002, "Throttle Idle", 80, 160, 180, 1055, 4, 1076},
    {2, 1002, "Dynamic Brake", 0, 80, 90, 1056, 4, 1077},
    {2, 1002, "Dynamic Brake Setup", 70, 140, 150, 1057, 4, 1075},
    {3, 1003, "Auto Brake Released", 130, 255, 255, 1058, 5, 1078},
    {3, 1003, "Full Auto Brake (CS)", 53, 130, 130, 1059, 5, 1079},
    {3, 1003, "Emergency Brake (EMG)", 0, 95, 105, 1060, 5, 1080},
    {4, 1004, "Independent Brake Released", 104, 255, 255, 1061, 6, 1081},
    {5, 1004, "Bail Off Engaged (in Released position)", 145, 255, 255, 1063, 6, 1083},
    {4, 1004, "Independent Brake Full", 0, 104, 104, 1062, 6, 1082},
    {5, 1004, "Bail Off Engaged (in Full position)", 160, 255, 255, 1064, 6, 1083},
    {6, 1005, "Rotary Switch 1-Position 1(OFF)", 0, 130, 130, 1065, 7, 1084},
    {6, 1005, "Rotary Switch 1-Position 2(SLOW)", 110, 175, 175, 1066, 7, 1085},
    {6, 1005, "Rotary Switch 1-Position 3(FULL)", 150, 255, 255, 1067, 7, 1086},
    {7, 1005, "Rotary Switch 2-Position 1(OFF)", 50, 120, 120, 1068, 7, 1084},
    {7, 1005, "Rotary Switch 2-Position 2(DIM)", 100, 165, 165, 1069, 7, 1089},
    {7, 1005, "Rotary Switch 2-Position 3(FULL)", 140, 255, 255, 1070, 7, 1090},
    {5, 1004, "Bail Off Disengaged (in Released position)", 0, 160, 160, 0, 6, 0},
    {5, 1004, "Bail Off Disengaged (in Full position)", 0, 160, 160, 0, 6, 0},
};

constexpr SectionInfo kSections[5] = {
    {3, 1001, 0, 2, 1},
    {4, 1002, 3, 6, 4},
    {5, 1003, 7, 9, 8},
    {6, 1004, 10, 13, 10},
    {7, 1005, 14, 19, 14},
};

constexpr std::array<LeverBlock, 5> kLeverBlocks = {{
    {0, {0, 1, 2}, 3},
    {4, {3, 4, 5, 6}, 4},
    {7, {7, 8, 9}, 3},
    {10, {10, 11, 12, 13, 20, 21}, 6},
    {14, {14, 15, 16, 17, 18, 19}, 6},
}};

}  // namespace

const PositionInfo& Position(int p) { return kPositions[p]; }

const SectionInfo& Section(int page) { return kSections[page - kFirstSectionPage]; }

const std::array<LeverBlock, 5>& LeverBlocks() { return kLeverBlocks; }

}  // namespace cal
