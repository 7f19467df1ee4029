#pragma once
// Script functions that act on the current device and are registered with the system
// functions: auto-repeat, programming mode, the memory test, backlights, the LED layer and
// the periodic script function.

#include <string>

// "void AutoRepeatThisKey(uint initialRepeatDelay,uint repeatDelay)".
void AutoRepeatThisKey(unsigned initialRepeatDelay, unsigned repeatDelay);
// "void EnableProgramming(uint enable)".
void EnableProgramming(unsigned enable);
// "void RequestProgrammingMode()".
void RequestProgrammingMode();
// "int ExecuteMemoryTest()": 0 passed, -1 failed.
int ExecuteMemoryTest();
// "void SetBacklights(bool on)".
void SetBacklights(bool on);
// "void ToggleBacklights()".
void ToggleBacklights();
// "void SetQpadLayer(bool red)".
void SetQpadLayer(bool red);
// "void repeatFunction(string &in,int repeatTime)".
void RepeatFunction(const std::string& name, int repeatTime);
