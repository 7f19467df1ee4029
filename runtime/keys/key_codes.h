#pragma once
// A keypad key's code from where its report shows it: 16 codes a byte, counted from the
// device's first key byte, the bit's number within the byte. Only bits 0 to 7 exist, so codes
// 8 to 15 of each byte name no key. The scripts' scan codes, the layouts' key ids and the
// on-board memory's tables all count so.

inline constexpr int KeyCode(int byte, int bit) { return byte * 16 + bit; }
// The byte (from the first key byte) and the bit of a code, for codes from 0.
inline constexpr int KeyCodeByte(int code) { return code / 16; }
inline constexpr int KeyCodeBit(int code) { return code % 16; }
// True for a code whose bit is one of its byte's.
inline constexpr bool IsKeyCode(int code) { return KeyCodeBit(code) < 8; }
