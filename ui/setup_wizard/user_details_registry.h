#pragma once
// The user's name, address and e-mail address under the program's key of the machine, as the
// desktop setup wizard keeps them for the next time: REG_SZ values of 512 bytes, the text in
// the ANSI code page padded with zero bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/setup_wizard/starter_script.h"

inline constexpr char kUserNameValue[] = "User Name";
inline constexpr char kUserAddressValue[] = "User Address";
inline constexpr char kUserEmailValue[] = "User Email";
constexpr std::size_t kUserTextBytes = 512;

class SystemCalls;

// The texts that can be read; the others (and all of them without the key) stay empty.
UserDetails ReadUserDetails(SystemCalls& calls);
// Writes the three values, creating the key when missing; false when any was refused.
bool WriteUserDetails(SystemCalls& calls, const UserDetails& details);

// A value's bytes as stored: the text cut to 511 bytes, then zeros up to 512.
std::vector<std::uint8_t> UserTextValueBytes(const std::wstring& text);
// The text of a value's bytes: up to the first zero byte, and never past 512 bytes.
std::wstring UserTextOfValue(const std::vector<std::uint8_t>& bytes);
