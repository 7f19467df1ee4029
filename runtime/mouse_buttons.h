#pragma once
// Mouse buttons and the wheel through input injection. Buttons: 1 left, 2 right, 4 middle,
// 5 and 6 the first and second extra button; any other number sends nothing.

// One press or release record of the button.
void PressMouseButton(int button);
void ReleaseMouseButton(int button);
// Press, 40 ms, release.
void ClickButton(int button);
// Two clicks half the platform's double-click time apart (nothing for an unknown button).
void DoubleClickButton(int button);
// The script function "void SendMouseMove(int dx,int dy,int dz)": one wheel record turning by
// dz (120 a notch); dx and dy go with it but carry no movement flag.
void SendMouseMove(int dx, int dy, int dz);
