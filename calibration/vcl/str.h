// The string helpers of the class library that the calibration program leans on: trimming,
// upper case, number texts and the integer conversion that refuses what is not a number.
#pragma once
#include <stdexcept>
#include <string>
#include <string_view>

namespace vcl {

// Thrown by StrToInt for a text that is not an integer; what() is the text the user sees.
class ConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Without every character up to and including the blank (control characters too) at both ends.
std::string Trim(std::string_view s);
// ASCII letters only; other bytes stay as they are.
std::string UpperCase(std::string_view s);
std::string IntToStr(long long n);
// At least `digits` upper-case hex digits: IntToHex(210, 4) == "00D2".
std::string IntToHex(unsigned long long n, int digits);
// A decimal integer with an optional sign, or hex after "$" or "0x", blanks around allowed;
// anything else, or a value beyond 32 bits, throws ConvertError "'s' is not a valid integer value".
int StrToInt(std::string_view s);
// As StrToInt, but fallback instead of the exception.
int StrToIntDef(std::string_view s, int fallback);

}  // namespace vcl
