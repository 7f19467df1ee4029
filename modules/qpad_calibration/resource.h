#pragma once
// Resource ids of the library (read by the resource compiler too).
#define IDI_CALIBRATION_OVERLAY 101
