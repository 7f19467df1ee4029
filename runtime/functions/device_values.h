#pragma once
// Script functions that read values of the current device: a byte of its latest input report
// and the calibrated ranges that the calibration program leaves in the device folder.

// The calibration program's file in the device folder.
extern const char kCalibrationFileName[];

class SystemCalls;

// "int GetByteValueFromDevice(int byteNum)": 0 to 255, or -1 (with a message when the byte
// lies outside the report; without one when there is no current device).
int GetByteValueFromDevice(SystemCalls& calls, int byteNum);
// "int GetCalibratedValue(int pos)": the pos-th calibrated maximum, or -1 (with a message when
// the file cannot be opened).
int GetCalibratedValue(SystemCalls& calls, int pos);
