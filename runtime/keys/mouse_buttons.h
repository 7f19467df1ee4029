#pragma once
// Mouse button presses and releases through the platform's input injection. Buttons by number:
// 1 left, 2 right, 4 middle, 5 first extra button, 6 second extra button; any other number
// sends nothing and makes no pause.

#include <optional>

#include "platform/base/input_records.h"

// The mouse record of a press (down) or release of the button; none for an unknown number.
std::optional<InputRecord> MouseButtonRecord(int button, bool down);

void PressMouseButton(int button);
void ReleaseMouseButton(int button);
// Press, 40 ms pause, release.
void ClickButton(int button);
// ClickButton, half the platform's double-click time, ClickButton.
void DoubleClickButton(int button);
// The script function "void SendMouseMove(int dx,int dy,int dz)": one wheel record turning by
// dz (120 a notch); dx and dy go with it but carry no movement flag.
void SendMouseMove(int dx, int dy, int dz);
