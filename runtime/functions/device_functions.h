#pragma once
// The script functions that work on a device. Most act on the current device (the one whose
// input, periodic or init function runs); SendOutputReport and RetrieveData act on the device
// whose module the running script function belongs to. With no such device they do nothing.
// None raises a script exception; results are small integers.

#include <cstdint>
#include <string>
#include <vector>

struct DeviceRecord;
class ScriptRegistrar;
class SystemCalls;
struct ScriptPlatform;

// Results of RetrieveData.
constexpr int kRetrieveDone = 0;
constexpr int kRetrieveNoDevice = -1;
constexpr int kRetrieveNoReport = -5;  // no such output report, or a script global missing
constexpr int kRetrieveTimedOut = 252;
constexpr int kRetrieveWriteFailed = 254;

// The device whose moduleName equals the first 270 characters of name; failing that, the one
// whose moduleName equals name past both first characters. Null for a null or empty name.
DeviceRecord* FindDeviceByModule(const char* name);
// The device of the module of the script function that is running on this thread, or null.
DeviceRecord* DeviceOfRunningModule();

// --- Registered by the device thread, in this order --------------------------------------

// "void SendOutputReport(string &in)"
void SendOutputReport(const std::string& name);
// "void PassAVector(int[] &inout)"
void PassAVector(std::vector<std::int32_t>& values);
// "void DisableKey(uint8 scanCode)"
void DisableKey(std::uint8_t scanCode);
// "void EnableKey(uint8 scanCode)"
void EnableKey(std::uint8_t scanCode);
// "void RecordSingleKey(uint8 scanCode)"
void RecordSingleKey(std::uint8_t scanCode);
// "void GetScriptPath(string &out)"
void GetScriptPath(std::string& path);
// "void ResetInterface()"
void ResetInterface();
// "int RetrieveData(string &in,uint8[] &inout,uint DataLen,uint timeout)": its pauses through the
// platform.
int RetrieveData(SystemCalls& calls, const std::string& outputName, std::vector<std::uint8_t>& data,
                 unsigned dataLength, unsigned timeoutMs);

// Registers the eight above with cdecl in that order, and gives the engine the platform they
// use. 0, or the first refusal's code.
int RegisterDeviceFunctions(ScriptRegistrar& reg, const ScriptPlatform& platform);

// --- Registered by the system registration -----------------------------------------------

// "void AutoRepeatThisKey(uint initialRepeatDelay,uint repeatDelay)"
void AutoRepeatThisKey(unsigned initialRepeatDelay, unsigned repeatDelay);
// "void EnableProgramming(uint enable)"
void EnableProgramming(unsigned enable);
// "void RequestProgrammingMode()"
void RequestProgrammingMode();
// "int ExecuteMemoryTest()": 0 when the on-board memory's signature reads back, else -1. Its
// pauses through the platform.
int ExecuteMemoryTest(SystemCalls& calls);
// "void SetQpadLayer(bool red)"
void SetQpadLayer(bool red);
// "void ToggleBacklights()"
void ToggleBacklights();
// "void SetBacklights(bool on)"
void SetBacklights(bool on);
// "void repeatFunction(string &in,int repeatTime)"
void RepeatFunction(const std::string& name, int repeatTime);

// The memory test's request (read command, first and end address) and the signature it
// expects in the device's replies (reply id, byte count, address, data).
constexpr std::uint8_t kMemoryReadRequest = 0xBF;
constexpr std::uint8_t kMemoryReadReply = 3;
constexpr std::uint16_t kMemoryTestStart = 0x0FF8;
constexpr std::uint16_t kMemoryTestLength = 28;
inline constexpr char kMemorySignature[] = "KN Sig";
