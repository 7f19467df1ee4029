#include "ui/setup_wizard/user_details_registry.h"

#include <algorithm>

#include "platform/base/ansi_text.h"
#include "platform/base/registry_values.h"
#include "platform/base/system_calls.h"

namespace {

std::wstring ReadText(SystemCalls& calls, const char* name) {
  const auto value = calls.ReadMachineValue(kOrvaneRegistryKey, name);
  if (!value || value->type != kRegistryText) return {};
  return UserTextOfValue(value->bytes);
}

bool WriteText(SystemCalls& calls, const char* name, const std::wstring& text) {
  return calls.WriteMachineValue(kOrvaneRegistryKey, name, {kRegistryText, UserTextValueBytes(text)});
}

}  // namespace

std::vector<std::uint8_t> UserTextValueBytes(const std::wstring& text) {
  // Cut by whole characters, so that no double-byte character loses its second byte.
  std::wstring kept = text;
  std::string ansi = NarrowAnsi(kept);
  while (ansi.size() >= kUserTextBytes) {
    kept.resize(std::min(kept.size() - 1, kUserTextBytes - 1));
    ansi = NarrowAnsi(kept);
  }
  std::vector<std::uint8_t> bytes(kUserTextBytes, 0);
  std::copy(ansi.begin(), ansi.end(), bytes.begin());
  return bytes;
}

std::wstring UserTextOfValue(const std::vector<std::uint8_t>& bytes) {
  const std::size_t limit = std::min(bytes.size(), kUserTextBytes);
  const auto end = std::find(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(limit), 0);
  return WidenAnsi(std::string(bytes.begin(), end));
}

UserDetails ReadUserDetails(SystemCalls& calls) {
  return {ReadText(calls, kUserNameValue), ReadText(calls, kUserAddressValue), ReadText(calls, kUserEmailValue)};
}

bool WriteUserDetails(SystemCalls& calls, const UserDetails& details) {
  const bool name = WriteText(calls, kUserNameValue, details.name);
  const bool address = WriteText(calls, kUserAddressValue, details.address);
  const bool email = WriteText(calls, kUserEmailValue, details.email);
  return name && address && email;
}
