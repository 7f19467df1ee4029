#pragma once
// Mouse button presses and releases through the platform's input injection. Buttons by number:
// 1 left, 2 right, 4 middle, 5 first extra button, 6 second extra button; any other number
// sends nothing and makes no pause. The records and pauses go through the platform given.

#include <optional>

#include "platform/base/input_records.h"

class SystemCalls;

// The mouse record of a press (down) or release of the button; none for an unknown number.
std::optional<InputRecord> MouseButtonRecord(int button, bool down);

void PressMouseButton(SystemCalls& calls, int button);
void ReleaseMouseButton(SystemCalls& calls, int button);
// Press, 40 ms pause, release.
void ClickButton(SystemCalls& calls, int button);
// ClickButton, half the platform's double-click time, ClickButton.
void DoubleClickButton(SystemCalls& calls, int button);
// The script function "void SendMouseMove(int dx,int dy,int dz)": one wheel record turning by
// dz (120 a notch); dx and dy go with it but carry no movement flag.
void SendMouseMove(SystemCalls& calls, int dx, int dy, int dz);
