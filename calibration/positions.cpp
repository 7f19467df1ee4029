// Tables of the controller's positions and sections.
#include "calibration/positions.h"

namespace cal {

namespace {

using enum TextKey;

constexpr PositionInfo kPositions[kPositionCount] = {
    {1, Reverser, "Full Reversed", 160, 255, 255, MoveReverserToReversed, 3, FullReversed},
    {1, Reverser, "Neutral", 80, 160, 160, MoveReverserToNeutral, 3, Neutral},
    {1, Reverser, "Full Forward", 0, 80, 90, MoveReverserToForward, 3, FullForward},
    {2, DynamicBrakeThrottle, "Full Throttle", 130, 255, 255, MoveThrottleToFullThrottle, 4, FullThrottle},
    {2, DynamicBrakeThrottle, "Throttle Idle", 80, 160, 180, MoveThrottleToIdle, 4, ThrottleIdle},
    {2, DynamicBrakeThrottle, "Dynamic Brake", 0, 80, 90, MoveThrottleToDynamicBrake, 4, DynamicBrake},
    {2, DynamicBrakeThrottle, "Dynamic Brake Setup", 70, 140, 150, MoveThrottleToBrakeSetup, 4, DynamicBrakeSetup},
    {3, AutoBrakeEmergencyBrake, "Auto Brake Released", 130, 255, 255, MoveAutoBrakeToReleased, 5, AutoBrakeReleased},
    {3, AutoBrakeEmergencyBrake, "Full Auto Brake (CS)", 53, 130, 130, MoveAutoBrakeToFull, 5, FullAutoBrake},
    {3, AutoBrakeEmergencyBrake, "Emergency Brake (EMG)", 0, 95, 105, MoveAutoBrakeToEmergency, 5, EmergencyBrake},
    {4, IndependentBrakeBailOff, "Independent Brake Released", 104, 255, 255, MoveIndependentToReleased, 6, IndependentBrakeReleased},
    {5, IndependentBrakeBailOff, "Bail Off Engaged (in Released position)", 145, 255, 255, MoveIndependentToReleasedBailOff, 6, BailOffEngaged},
    {4, IndependentBrakeBailOff, "Independent Brake Full", 0, 104, 104, MoveIndependentToFull, 6, IndependentBrakeFull},
    {5, IndependentBrakeBailOff, "Bail Off Engaged (in Full position)", 160, 255, 255, MoveIndependentToFullBailOff, 6, BailOffEngaged},
    {6, RotarySwitches, "Rotary Switch 1-Position 1(OFF)", 0, 130, 130, MoveSwitch1ToPosition1, 7, PositionOff},
    {6, RotarySwitches, "Rotary Switch 1-Position 2(SLOW)", 110, 175, 175, MoveSwitch1ToPosition2, 7, Switch1PositionSlow},
    {6, RotarySwitches, "Rotary Switch 1-Position 3(FULL)", 150, 255, 255, MoveSwitch1ToPosition3, 7, Switch1PositionFull},
    {7, RotarySwitches, "Rotary Switch 2-Position 1(OFF)", 50, 120, 120, MoveSwitch2ToPosition1, 7, PositionOff},
    {7, RotarySwitches, "Rotary Switch 2-Position 2(DIM)", 100, 165, 165, MoveSwitch2ToPosition2, 7, Switch2PositionDim},
    {7, RotarySwitches, "Rotary Switch 2-Position 3(FULL)", 140, 255, 255, MoveSwitch2ToPosition3, 7, Switch2PositionFull},
    {5, IndependentBrakeBailOff, "Bail Off Disengaged (in Released position)", 0, 160, 160, kNoText, 6, kNoText},
    {5, IndependentBrakeBailOff, "Bail Off Disengaged (in Full position)", 0, 160, 160, kNoText, 6, kNoText},
};

constexpr SectionInfo kSections[5] = {
    {3, Reverser, 0, 2, 1},
    {4, DynamicBrakeThrottle, 3, 6, 4},
    {5, AutoBrakeEmergencyBrake, 7, 9, 8},
    {6, IndependentBrakeBailOff, 10, 13, 10},
    {7, RotarySwitches, 14, 19, 14},
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
