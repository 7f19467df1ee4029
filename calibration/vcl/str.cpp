// String helpers of the class-library stand-in.
#include "calibration/vcl/str.h"

#include <cstdint>

namespace vcl {

std::string Trim(std::string_view s) {
  size_t begin = 0, end = s.size();
  while (begin < end && static_cast<unsigned char>(s[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(s[end - 1]) <= ' ') --end;
  return std::string(s.substr(begin, end - begin));
}

std::string UpperCase(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::string IntToStr(long long n) { return std::to_string(n); }

std::string IntToHex(unsigned long long n, int digits) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  do {
    out.insert(out.begin(), kDigits[n & 15]);
    n >>= 4;
  } while (n != 0);
  while (static_cast<int>(out.size()) < digits) out.insert(out.begin(), '0');
  return out;
}

namespace {

bool ParseInt(std::string_view text, int& value) {
  std::string s = Trim(text);
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  int base = 10;
  if (i < s.size() && s[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= s.size()) return false;
  std::uint64_t magnitude = 0;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return false;
    magnitude = magnitude * base + digit;
    if (magnitude > 0xFFFFFFFFull) return false;
  }
  if (base == 16 && !negative) {
    // Hex texts name the 32 bits, as "$FFFFFFFF" gives -1.
    value = static_cast<int>(static_cast<std::uint32_t>(magnitude));
    return true;
  }
  if (negative ? magnitude > 0x80000000ull : magnitude > 0x7FFFFFFFull) return false;
  value = negative ? static_cast<int>(-static_cast<std::int64_t>(magnitude))
                   : static_cast<int>(magnitude);
  return true;
}

}  // namespace

int StrToInt(std::string_view s) {
  int value = 0;
  if (!ParseInt(s, value)) throw ConvertError("'" + std::string(s) + "' is not a valid integer value");
  return value;
}

int StrToIntDef(std::string_view s, int fallback) {
  int value = 0;
  return ParseInt(s, value) ? value : fallback;
}

}  // namespace vcl
