#include "ui/setup_wizard/user_details_registry.h"

#include <windows.h>

#include <algorithm>

#include "platform/base/registry_values.h"
#include "platform/base/system_calls.h"

namespace {

std::string ToAnsi(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(std::max(n, 0)), '\0');
  if (n > 0)
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
  return out;
}

std::wstring FromAnsi(const std::string& text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(std::max(n, 0)), L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::wstring ReadText(const char* name) {
  const auto value = GetSystemCalls().ReadMachineValue(kOrvaneRegistryKey, name);
  if (!value || value->type != kRegistryText) return {};
  return UserTextOfValue(value->bytes);
}

bool WriteText(const char* name, const std::wstring& text) {
  return GetSystemCalls().WriteMachineValue(kOrvaneRegistryKey, name,
                                            {kRegistryText, UserTextValueBytes(text)});
}

}  // namespace

std::vector<std::uint8_t> UserTextValueBytes(const std::wstring& text) {
  // Cut by whole characters, so that no double-byte character loses its second byte.
  std::wstring kept = text;
  std::string ansi = ToAnsi(kept);
  while (ansi.size() >= kUserTextBytes) {
    kept.resize(std::min(kept.size() - 1, kUserTextBytes - 1));
    ansi = ToAnsi(kept);
  }
  std::vector<std::uint8_t> bytes(kUserTextBytes, 0);
  std::copy(ansi.begin(), ansi.end(), bytes.begin());
  return bytes;
}

std::wstring UserTextOfValue(const std::vector<std::uint8_t>& bytes) {
  const std::size_t limit = std::min(bytes.size(), kUserTextBytes);
  const auto end = std::find(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(limit), 0);
  return FromAnsi(std::string(bytes.begin(), end));
}

UserDetails ReadUserDetails() {
  return {ReadText(kUserNameValue), ReadText(kUserAddressValue), ReadText(kUserEmailValue)};
}

bool WriteUserDetails(const UserDetails& details) {
  const bool name = WriteText(kUserNameValue, details.name);
  const bool address = WriteText(kUserAddressValue, details.address);
  const bool email = WriteText(kUserEmailValue, details.email);
  return name && address && email;
}
